// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/window/CommandLine.h"

#include <QFile>

#include <limits>
#include <optional>

namespace wendaro {

namespace {

// The whole number after prefix in argument, when it is one from least to most.
std::optional<int> numberAfter(const QByteArray &argument, qsizetype prefix, int least, int most)
{
    bool ok = false;
    const int number = argument.sliced(prefix).toInt(&ok);
    return ok && number >= least && number <= most ? std::optional<int>(number) : std::nullopt;
}

StartArguments refused(const QString &refusal)
{
    StartArguments start;
    start.action = StartAction::Refused;
    start.refusal = refusal;
    return start;
}

} // namespace

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
            const std::optional<int> percent = numberAfter(argument, 12, 0, 100);
            if (!percent)
                return refused(QStringLiteral("--min-match takes a whole number from 0 to 100, not \"%1\"")
                                   .arg(QString::fromLocal8Bit(argument.sliced(12))));
            start.minMatch = *percent;
        } else if (argument.startsWith("--max-length=")) {
            const std::optional<int> length = numberAfter(argument, 13, 1, std::numeric_limits<int>::max());
            if (!length)
                return refused(QStringLiteral("--max-length takes a whole number from 1 up, not \"%1\"")
                                   .arg(QString::fromLocal8Bit(argument.sliced(13))));
            start.maxLength = *length;
        } else if (argument == "--project") {
            start.project = true;
            // Two folders follow, or none: the last project again.
            const auto isFolder = [&](qsizetype at) {
                return at < arguments.size() && !arguments[at].startsWith("--");
            };
            if (isFolder(next + 1) != isFolder(next + 2))
                return refused(QStringLiteral("--project takes two folders, ORIGINALS_DIR and TRANSLATIONS_DIR, "
                                              "or none for the project opened last"));
            if (isFolder(next + 1)) {
                start.projectOriginals = QFile::decodeName(arguments[next + 1]);
                start.projectTranslations = QFile::decodeName(arguments[next + 2]);
                next += 2;
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
