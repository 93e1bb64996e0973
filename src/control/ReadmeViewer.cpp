// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/ReadmeViewer.h"

#include <QDir>

namespace wendaro {

QStringList readmeLocations(const QString &programFolder)
{
    const QString beside = programFolder + QStringLiteral("/readme.txt");
    const QString installed = programFolder + QStringLiteral("/../share/doc/wendaro/readme.txt");
    return {QDir::toNativeSeparators(QDir::cleanPath(beside)), QDir::toNativeSeparators(QDir::cleanPath(installed))};
}

ReadmeLaunch readmeLaunch(const QString &readmePath, bool notepadOnPath)
{
    if (notepadOnPath)
        return {false, QStringLiteral("notepad"), {readmePath}};
    return {true, QString(), {}};
}

} // namespace wendaro
