// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace wendaro {

// Where readme.txt is looked for, in this order: beside the program (the
// build, or a copy kept in one folder), then the documentation folder of the
// installation, share/doc/wendaro beside the program's bin folder.
QStringList readmeLocations(const QString &programFolder);

// How readme.txt is opened: in notepad when a program of that name is on the
// PATH, otherwise in the desktop's default viewer.
struct ReadmeLaunch
{
    bool useDefaultViewer = false;
    QString program;       // when not the default viewer
    QStringList arguments; // the readme's path alone, unquoted: no shell runs it
};

ReadmeLaunch readmeLaunch(const QString &readmePath, bool notepadOnPath);

} // namespace wendaro
