// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/io/ByteSink.h"

#include <QByteArrayView>
#include <QString>

namespace wendaro::cli {

// stdout and stderr, in UTF-8 with LF line ends as a terminal expects.
// The error report is two lines: the program's message, then the description.
void printError(const QString &message, const QString &description);
void printErrorLine(const QString &line);
// A usage error: "wendaro-cli: what" and the hint to the help text.
void printUsageError(const QString &what);
// The same, giving the exit status of a usage error to return.
int usage(const QString &what);
// Writes bytes to stdout and flushes; false when they did not all get out.
bool writeOut(QByteArrayView bytes);

// stdout as a sink, for output written in pieces (SinkBuffer).
class StdoutSink final : public ByteSink
{
public:
    bool append(QByteArrayView bytes) override { return writeOut(bytes); }
};

} // namespace wendaro::cli
