// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/window/CommandLine.h"

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
    qsizetype next = 0;
    for (; next < arguments.size(); ++next) {
        const QByteArray &argument = arguments[next];
        if (argument.startsWith("--reference="))
            start.reference = QFile::decodeName(argument.sliced(12));
        else if (argument.startsWith("--old-reference="))
            start.oldReference = QFile::decodeName(argument.sliced(16));
        else if (argument.startsWith("--memory="))
            start.memories << QFile::decodeName(argument.sliced(9));
        else if (argument.startsWith("--glossary="))
            start.glossaries << QFile::decodeName(argument.sliced(11));
        else if (argument.startsWith("--target-lang="))
            start.targetLanguage = QString::fromUtf8(argument.sliced(14));
        else if (argument.startsWith("--min-match=")) {
            bool ok = false;
            const QByteArray given = argument.sliced(12);
            const int percent = given.toInt(&ok);
            if (ok && percent >= 0 && percent <= 100) {
                start.minMatch = percent;
            } else {
                start.action = StartAction::Refused;
                start.refusal = QStringLiteral("--min-match takes a whole number from 0 to 100, not \"%1\"")
                                    .arg(QString::fromLocal8Bit(given));
                return start;
            }
        } else
            break;
    }
    if (next == arguments.size())
        return start;
    const QByteArray &file = arguments[next];
    start.path = QFile::decodeName(file);
    // Bytes that do not decode become U+FFFD, which names another file (or none).
    start.pathBytesValid = QFile::encodeName(start.path) == file;
    return start;
}

} // namespace wendaro
