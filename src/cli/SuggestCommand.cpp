// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SuggestCommand.h"

#include "cli/Arguments.h"
#include "cli/CommandFiles.h"
#include "cli/Console.h"
#include "cli/ExitCode.h"
#include "cli/InOrder.h"
#include "cli/TextQuoting.h"

#include "core/document/MemoryFile.h"
#include "core/io/ByteSink.h"
#include "core/io/MemoryShortage.h"
#include "core/io/ShownPath.h"
#include "core/translation/TableExport.h"
#include "core/translation/TranslationMemory.h"

#include <QFile>
#include <QFileInfo>

namespace wendaro::cli {

namespace {

// One line a suggestion, "INDEX<TAB>SCORE<TAB>ORIGIN<TAB>TRANSLATION".
void appendLines(QByteArray &out, const TranslationUnit &unit, const std::vector<Suggestion> &found)
{
    for (const Suggestion &suggestion : found) {
        out += QByteArray::number(unit.index) + '\t' + QByteArray::number(suggestion.score) + '\t'
               + suggestion.origin.toUtf8() + '\t' + suggestion.target.toUtf8() + '\n';
    }
}

// One JSON object on one line, as JSON Lines has it.
void appendJsonLine(QByteArray &out, const TranslationUnit &unit, const std::vector<Suggestion> &found)
{
    out += "{\"index\": " + QByteArray::number(unit.index) + ", \"original\": " + jsonString(unit.source)
           + ", \"suggestions\": [";
    for (const Suggestion &suggestion : found) {
        if (&suggestion != &found.front())
            out += ", ";
        out += "{\"score\": " + QByteArray::number(suggestion.score) + ", \"origin\": " + jsonString(suggestion.origin)
               + ", \"source\": " + jsonString(suggestion.source) + ", \"target\": " + jsonString(suggestion.target)
               + '}';
    }
    out += "]}\n";
}

} // namespace

std::optional<std::vector<SuggestionMemory>> readMemories(const QByteArrayList &paths, const Languages &languages,
                                                          const char *command, int *exitCode)
{
    QStringList names;
    for (const QByteArray &path : paths) {
        const std::optional<QString> name = fileName(path, ReadErrorMessage, QStringLiteral("読み込めません"));
        if (!name) {
            *exitCode = ReadFailed;
            return std::nullopt;
        }
        names << *name;
    }
    struct Read
    {
        bool ok = false;
        MemoryFileRead read;
        QString error;
    };
    std::vector<SuggestionMemory> memories;
    *exitCode = Done;
    runInOrder<Read>(
        size_t(names.size()),
        [&](size_t i) {
            Read done;
            done.ok = readMemoryFile(names[qsizetype(i)], languages.source, languages.target, done.read, &done.error);
            return done;
        },
        [&](size_t i, Read &done) {
            const QByteArray &path = paths[qsizetype(i)];
            if (!done.ok) {
                printFileError(escapedPath(path), ReadErrorMessage, done.error, done.read.line);
                *exitCode = ReadFailed;
                return false;
            }
            if (!done.read.index) {
                printUsageError(
                    QStringLiteral("%1: %2: %3")
                        .arg(QLatin1String(command), escapedPath(path), targetLanguageToChoose(done.read.languages)));
                *exitCode = UsageError;
                return false;
            }
            memories.push_back({std::move(done.read.index), QFileInfo(names[qsizetype(i)]).fileName()});
            return true;
        });
    if (*exitCode != Done)
        return std::nullopt;
    return memories;
}

void suggestInOrder(const QList<TranslationUnit> &units, const CatalogSuggestions &suggestions,
                    const std::function<bool(qsizetype position, std::vector<Suggestion> &found)> &take)
{
    std::vector<qsizetype> wanted;
    for (qsizetype p = 0; p < units.size(); ++p) {
        if (suggestions.wants(units[p]))
            wanted.push_back(p);
    }
    // Rows go to the workers in batches, so that handing them on costs
    // little beside a lookup, and few enough that every core stays busy.
    constexpr size_t Batch = 16;
    using Found = std::vector<std::vector<Suggestion>>;
    runInOrder<Found>((wanted.size() + Batch - 1) / Batch,
                      [&](size_t b) {
                          // What a worker thread's lookups reuse, whatever the index.
                          thread_local FuzzyIndex::Scratch scratch;
                          Found found;
                          for (size_t i = b * Batch; i < std::min(wanted.size(), (b + 1) * Batch); ++i)
                              found.push_back(suggestions.find(units[wanted[i]], scratch));
                          return found;
                      },
                      [&](size_t b, Found &found) {
                          for (size_t i = 0; i < found.size(); ++i) {
                              if (!take(wanted[b * Batch + i], found[i]))
                                  return false;
                          }
                          return true;
                      });
}

int suggest(const Arguments &arguments, const Languages &languages, const CodePage &codePage)
{
    const QByteArray &originalPath = arguments.operands[0];
    const QByteArray &translationPath = arguments.operands[1];
    const std::optional<LoadedDocument> original = load(originalPath, codePage);
    if (!original)
        return ReadFailed;
    const std::optional<LoadedDocument> translation = load(translationPath, codePage);
    if (!translation)
        return ReadFailed;

    // The rows matched by index as export matches them, the original's
    // values as the sources.
    const QString originalLabel = QStringLiteral("原文") + shown(QFile::decodeName(originalPath));
    const QString translationLabel = QStringLiteral("訳") + shown(QFile::decodeName(translationPath));
    QString error;
    std::optional<ExportResult> rows;
    const auto match = [&] {
        rows = exportCatalog(translation->rows, translationLabel, &original->rows, originalLabel, &error);
        return true;
    };
    const auto shortage = [&] { return QStringLiteral("メモリが足りないため、表を突き合わせられませんでした。"); };
    if (!withinMemory(match, shortage, &error) || !rows) {
        const QByteArray refused = fileRefused(error,
                                               {{translationLabel, translationPath}, {originalLabel, originalPath}});
        printFileError(escapedPath(refused), ReadErrorMessage, error);
        return ReadFailed;
    }

    int exitCode = Done;
    std::optional<std::vector<SuggestionMemory>> memories = readMemories(arguments.operands.mid(2), languages,
                                                                         "suggest", &exitCode);
    if (!memories)
        return exitCode;
    const CatalogSuggestions suggestions(rows->catalog, std::move(*memories),
                                         arguments.get(Options::MinMatch).value_or(DefaultMinMatch),
                                         arguments.get(Options::Limit).value_or(int(SuggestionLimit)));

    const bool json = arguments.get(Options::Format) == OutputFormat::Json;
    StdoutSink out;
    SinkBuffer buffer(out);
    bool written = true;
    suggestInOrder(rows->catalog.units, suggestions, [&](qsizetype position, std::vector<Suggestion> &found) {
        const TranslationUnit &unit = rows->catalog.units[position];
        (json ? appendJsonLine : appendLines)(buffer.bytes(), unit, found);
        written = buffer.handOnIfFull();
        return written;
    });
    if (!written || !buffer.finish()) {
        printError(WriteErrorMessage, QStringLiteral("標準出力に書き込めませんでした。"));
        return WriteFailed;
    }
    return Done;
}

} // namespace wendaro::cli
