// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/CommandLine.h"

#include <QFile>

namespace wendaro {

StartArguments startArguments(const QList<QByteArray> &arguments)
{
    StartArguments start;
    if (arguments.isEmpty())
        return start;
    const QByteArray &first = arguments.first();
    if (first == "--help") {
        start.action = StartAction::Help;
        return start;
    }
    if (first == "--version") {
        start.action = StartAction::Version;
        return start;
    }
    start.path = QFile::decodeName(first);
    // Bytes that do not decode become U+FFFD, which names another file (or none).
    start.pathBytesValid = QFile::encodeName(start.path) == first;
    return start;
}

} // namespace wendaro
