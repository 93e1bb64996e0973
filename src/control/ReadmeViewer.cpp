#include "ReadmeViewer.h"

#include <QDir>

namespace wendaro {

ReadmeLaunch readmeLaunch(const QString &programFolder, bool notepadOnPath)
{
    const QString path = QDir::toNativeSeparators(programFolder + QStringLiteral("/readme.txt"));
    if (notepadOnPath)
        return {path, false, QStringLiteral("notepad"), {path}};
    return {path, true, QString(), {}};
}

} // namespace wendaro
