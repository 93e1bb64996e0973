// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/StatusCommand.h"

#include "cli/CommandFiles.h"
#include "cli/Console.h"
#include "cli/ExitCode.h"

#include "core/checks/TranslationStates.h"
#include "core/io/MemoryShortage.h"

namespace wendaro::cli {

namespace {

// Keys a script can rely on, in the order of the text's lines.
QByteArray jsonCounts(const StateCounts &counts)
{
    const std::pair<const char *, qsizetype> fields[] = {
        {"translated", counts.translated},
        {"originals", counts.originals},
        {"percent", counts.percent()},
        {"untranslated", counts.of(RowState::Untranslated)},
        {"review", counts.of(RowState::NeedsReview)},
        {"problems", counts.of(RowState::Problem)},
        {"noOriginal", counts.of(RowState::NoOriginal)},
        {"missing", counts.missing},
    };
    QByteArray json = "{";
    for (const auto &[key, count] : fields) {
        if (json.size() > 1)
            json += ", ";
        json += '"' + QByteArray(key) + "\": " + QByteArray::number(count);
    }
    return json + "}\n";
}

QByteArray textCounts(const StateCounts &counts)
{
    QString text = counts.progressLine() + u'\n';
    for (const auto &[word, count] : counts.words())
        text += QStringLiteral("%1 %2\n").arg(word).arg(count);
    return text.toUtf8();
}

} // namespace

int status(const QByteArray &table, const StatusOptions &options, const CodePage &codePage)
{
    // Each file is read even after another failed, so that one run tells
    // every file to mend.
    const std::optional<LoadedDocument> translation = load(table, codePage);
    const std::optional<LoadedDocument> original = load(options.against, codePage);
    std::optional<LoadedDocument> old;
    if (options.oldOriginal)
        old = load(*options.oldOriginal, codePage);
    if (!translation || !original || (options.oldOriginal && !old))
        return ReadFailed;

    StateCounts counts;
    QString error;
    const auto count = [&] {
        const FirstRows current(original->rows);
        const FirstRows before = old ? FirstRows(old->rows) : FirstRows();
        counts = countStates(translation->rows, Originals{current, before}, codePage);
        return true;
    };
    const auto shortage = [&] {
        return QStringLiteral("メモリが足りないため、%1 件の項目を数えきれませんでした。")
            .arg(translation->rows.count());
    };
    if (!withinMemory(count, shortage, &error)) {
        printFileError(escapedPath(table), ReadErrorMessage, error);
        return ReadFailed;
    }
    if (!writeOut(options.json ? jsonCounts(counts) : textCounts(counts))) {
        printError(WriteErrorMessage, QStringLiteral("標準出力に書き込めませんでした。"));
        return WriteFailed;
    }
    return Done;
}

} // namespace wendaro::cli
