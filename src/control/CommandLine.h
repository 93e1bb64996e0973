#pragma once

#include <QString>
#include <QStringList>

namespace wendaro {

// The program's arguments as the one command-line string that start-up reads.
QString commandLineFromArguments(const QStringList &arguments);

// The file path that a command line names: a list of quoted paths separated
// by single spaces gives its first path, a quoted path loses its quotes, an
// unquoted path passes unchanged (a ";" ends it). The path is not trimmed.
QString pathFromCommandLine(const QString &commandLine);

} // namespace wendaro
