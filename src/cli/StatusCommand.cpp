// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/StatusCommand.h"

#include "cli/CommandFiles.h"
#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/ExitCode.h"
#include "cli/InOrder.h"
#include "cli/TextQuoting.h"

#include "core/checks/RowPlaces.h"
#include "core/checks/TranslationStates.h"
#include "core/document/ProjectTables.h"
#include "core/io/MemoryShortage.h"

#include <QFile>
#include <QSet>

namespace wendaro::cli {

namespace {

// Keys a script can rely on, in the order of the text's lines, as the
// members of an object: "\"translated\": 1, ...".
QByteArray jsonMembers(const StateCounts &counts)
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
    QByteArray json;
    for (const auto &[key, count] : fields) {
        if (!json.isEmpty())
            json += ", ";
        json += '"' + QByteArray(key) + "\": " + QByteArray::number(count);
    }
    return json;
}

// With a glossary, how many rows lack a term's translation; -1 without one.
QByteArray jsonCounts(const StateCounts &counts, qsizetype lackingTerms)
{
    QByteArray json = '{' + jsonMembers(counts);
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

// One table's line of status --pairs-from: its path, then its counts as
// the one table's lines give them, a tab between; a table found in one
// folder only ends with "訳なし" or "原文なし".
QByteArray tableLine(const QString &path, const StateCounts &counts, const ProjectTable *table = nullptr)
{
    QStringList fields{path, counts.progressLine()};
    for (const auto &[word, count] : counts.words())
        fields << QStringLiteral("%1 %2").arg(word).arg(count);
    if (table && !table->hasTranslation)
        fields << QStringLiteral("訳なし");
    if (table && !table->hasOriginal)
        fields << QStringLiteral("原文なし");
    return fields.join(u'\t').toUtf8() + '\n';
}

QByteArray tableJson(const ProjectTable &table, const TableProgress &progress)
{
    QByteArray json = "{\"path\": " + jsonString(table.path)
                      + ", \"original\": " + (table.hasOriginal ? "true" : "false")
                      + ", \"translation\": " + (table.hasTranslation ? "true" : "false") + ", ";
    if (!progress.failedFile.isEmpty())
        return json + "\"error\": " + jsonString(progress.error) + '}';
    return json + jsonMembers(progress.counts) + '}';
}

} // namespace

int projectStatus(const QByteArrayList &operands, const QList<QRegularExpression> &includes, bool json,
                  const CodePage &codePage)
{
    const std::optional<std::pair<QString, QString>> folders = pairsFromFolders(operands);
    if (!folders)
        return ReadFailed;
    const std::vector<ProjectTable> tables = projectTables(folders->first, folders->second, includes);
    const QString shown[2] = {QFile::decodeName(operands[0]), QFile::decodeName(operands[1])};

    // The tables are counted on every core and printed in the order of
    // their paths, each as soon as those before it are.
    StateCounts total;
    int exit = Done;
    QByteArrayList jsonTables;
    bool written = true;
    runInOrder<TableProgress>(
        tables.size(),
        [&](size_t i) { return countProjectTable(folders->first, folders->second, tables[i], codePage); },
        [&](size_t i, TableProgress &progress) {
            const ProjectTable &table = tables[i];
            if (!progress.failedFile.isEmpty()) {
                const bool inOriginals = progress.failedFile == pathInFolder(folders->first, table.path);
                printFileError(pathInFolder(shown[inOriginals ? 0 : 1], table.path), ReadErrorMessage, progress.error,
                               progress.place);
                exit = ReadFailed;
            } else {
                addCounts(total, progress.counts);
            }
            if (json)
                jsonTables << tableJson(table, progress);
            else if (progress.failedFile.isEmpty())
                written = writeOut(tableLine(table.path, progress.counts, &table));
            return written;
        });
    if (written) {
        written = json ? writeOut("{\"tables\": [" + jsonTables.join(", ") + "], \"total\": {" + jsonMembers(total)
                                  + ", \"tables\": " + QByteArray::number(qsizetype(tables.size())) + "}}\n")
                       : writeOut(tableLine(QStringLiteral("合計"), total));
    }
    if (!written) {
        printError(WriteErrorMessage, QStringLiteral("標準出力に書き込めませんでした。"));
        return WriteFailed;
    }
    return exit;
}

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
