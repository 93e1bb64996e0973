// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/window/ReadmeViewer.h"

#include "control/window/MessageBoxes.h"
#include "control/window/UserInterface.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>

namespace wendaro {

namespace {

// Where readme.txt is looked for, in this order: beside the program (the
// build, or a copy kept in one folder), then the documentation folder of the
// installation, share/doc/wendaro beside the program's bin folder.
QStringList readmeLocations(const QString &programFolder)
{
    const QString beside = programFolder + QStringLiteral("/readme.txt");
    const QString installed = programFolder + QStringLiteral("/../share/doc/wendaro/readme.txt");
    return {QDir::toNativeSeparators(QDir::cleanPath(beside)), QDir::toNativeSeparators(QDir::cleanPath(installed))};
}

// How readme.txt is opened: in notepad when a program of that name is on the
// PATH, otherwise in the desktop's default viewer.
struct ReadmeLaunch
{
    bool useDefaultViewer = false;
    QString program;       // when not the default viewer
    QStringList arguments; // the readme's path alone, unquoted: no shell runs it
};

ReadmeLaunch readmeLaunch(const QString &readmePath, bool notepadOnPath)
{
    if (notepadOnPath)
        return {false, QStringLiteral("notepad"), {readmePath}};
    return {true, QString(), {}};
}

} // namespace

void openReadme(UserInterface &ui, const QString &programFolder)
{
    const QStringList locations = readmeLocations(programFolder);
    const auto found = std::find_if(locations.cbegin(), locations.cend(),
                                    [](const QString &path) { return QFileInfo(path).isFile(); });
    if (found == locations.cend()) {
        ui.showMessage(noticeBox(QStringLiteral("readme.txt が見つかりません。次の場所を探しました。\r\n「%1」")
                                     .arg(locations.join(QStringLiteral("」\r\n「")))));
        return;
    }
    const bool notepadOnPath = !QStandardPaths::findExecutable(QStringLiteral("notepad")).isEmpty();
    const ReadmeLaunch launch = readmeLaunch(*found, notepadOnPath);
    const bool started = launch.useDefaultViewer ? ui.openWithDefaultViewer(*found)
                                                 : ui.startDetached(launch.program, launch.arguments);
    if (!started) {
        ui.showMessage(noticeBox(QStringLiteral("readme.txt を開くプログラムを起動できませんでした。"
                                                "readme.txt は次の場所にあります。\r\n「%1」")
                                     .arg(*found)));
    }
}

} // namespace wendaro
