// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/StatusCommand.h"

#include "cli/CommandFiles.h"
#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/ExitCode.h"

#include "core/checks/RowPlaces.h"
#include "core/checks/TranslationStates.h"
#include "core/io/MemoryShortage.h"

#include <QSet>

namespace wendaro::cli {

namespace {

// Keys a script can rely on, in the order of the text's lines.
// With a glossary, how many rows lack a term's translation; -1 without one.
QByteArray jsonCounts(const StateCounts &counts, qsizetype lackingTerms)
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
    if (lackingTerms >= 0)
        json += ", \"glossary\": " + QByteArray::number(lackingTerms);
    return json + "}\n";
}

QByteArray textCounts(const StateCounts &counts, qsizetype lackingTerms)
{
    QString text = counts.progressLine() + u'\n';
    for (const auto &[word, count] : counts.words())
        text += QStringLiteral("%1 %2\n").arg(word).arg(count);
    if (lackingTerms >= 0)
        text += QStringLiteral("用語 %1\n").arg(lackingTerms);
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
    std::optional<Glossary> glossary;
    if (options.glossary && !(glossary = readGlossaryFile(*options.glossary)))
        return ReadFailed;
    if (!translation || !original || (options.oldOriginal && !old))
        return ReadFailed;

    StateCounts counts;
    qsizetype lackingTerms = -1;
    QString error;
    const auto count = [&] {
        const FirstRows current(original->rows);
        const FirstRows before = old ? FirstRows(old->rows) : FirstRows();
        counts = countStates(translation->rows, Originals{current, before}, codePage);
        if (glossary) {
            QSet<qint16> lacking;
            for (const Problem &problem :
                 termAndSpellingProblems(translation->rows, RowPlaces(), &original->rows, &*glossary, nullptr))
                lacking.insert(*problem.index);
            lackingTerms = lacking.size();
        }
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
    if (!writeOut(options.json ? jsonCounts(counts, lackingTerms) : textCounts(counts, lackingTerms))) {
        printError(WriteErrorMessage, QStringLiteral("標準出力に書き込めませんでした。"));
        return WriteFailed;
    }
    return Done;
}

} // namespace wendaro::cli
