#pragma once

#include <QString>
#include <QStringList>

namespace wendaro {

// How readme.txt beside the program is opened: in notepad when a program of
// that name is on the PATH, otherwise in the desktop's default viewer.
struct ReadmeLaunch
{
    QString readmePath;
    bool useDefaultViewer = false;
    QString program;       // when not the default viewer
    QStringList arguments; // the readme's path alone, unquoted: no shell runs it
};

ReadmeLaunch readmeLaunch(const QString &programFolder, bool notepadOnPath);

} // namespace wendaro
