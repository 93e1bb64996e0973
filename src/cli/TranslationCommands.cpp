// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/TranslationCommands.h"

#include "cli/CommandFiles.h"
#include "cli/Console.h"
#include "cli/ExitCode.h"
#include "cli/SuggestCommand.h"

#include "core/text/CodePage.h"
#include "core/document/DocumentFile.h"
#include "core/io/MemoryShortage.h"
#include "core/io/SaveFile.h"
#include "core/io/ShownPath.h"
#include "core/formats/FormatRegistry.h"
#include "core/translation/TranslationCatalog.h"
#include "core/translation/TableExport.h"
#include "core/translation/TableImport.h"
#include "core/translation/TableIndexes.h"

#include <QFile>
#include <QFileInfo>

namespace wendaro::cli {

namespace {

QString shown(const QByteArray &path)
{
    return wendaro::shown(QFile::decodeName(path));
}

// The translation format that path's suffix names, able to do what is
// needed, or null after the usage error was reported; role is how the usage
// text calls the path.
const FileFormat *formatOf(const QByteArray &path, FileFormat::Capability needed, const char *role)
{
    if (const FileFormat *format = FormatRegistry::bySuffix(QFile::decodeName(path), needed))
        return format;
    QStringList suffixes = FormatRegistry::suffixes(needed);
    for (QString &suffix : suffixes)
        suffix.prepend(QLatin1Char('.'));
    printUsageError(QStringLiteral("%1 \"%2\" must end in one of %3")
                        .arg(QLatin1String(role), QFile::decodeName(path), suffixes.join(QStringLiteral(", "))));
    return nullptr;
}

// Loads the original, when there is one, into document; false after its
// read error was reported.
bool loadOriginal(const std::optional<QByteArray> &original, const CodePage &codePage,
                  std::optional<LoadedDocument> &document)
{
    if (original)
        document = load(*original, codePage);
    return !original || document;
}

// Each unit still to translate takes its suggestions from the memories.
void addSuggestions(TranslationCatalog &catalog, std::vector<SuggestionMemory> memories, int minMatch)
{
    // Set once every lookup is done: the workers read the units meanwhile.
    std::vector<std::pair<qsizetype, QList<UnitSuggestion>>> found;
    const CatalogSuggestions suggestions(catalog, std::move(memories), minMatch, SuggestionLimit);
    suggestInOrder(catalog.units, suggestions, [&](qsizetype position, std::vector<Suggestion> &some) {
        if (!some.empty())
            found.emplace_back(position, unitSuggestions(some));
        return true;
    });
    for (auto &[position, some] : found)
        catalog.units[position].suggestions = std::move(some);
}

} // namespace

int exportTable(const QByteArray &table, const QByteArray &out, const std::optional<QByteArray> &original,
                const Languages &languages, const ExportSuggesting &suggesting, const CodePage &codePage)
{
    const bool suggested = !suggesting.memories.isEmpty();
    if (suggesting.minMatch && !suggested) {
        printUsageError(QStringLiteral("export takes --min-match only with --memory"));
        return UsageError;
    }
    const FileFormat *const format = suggested ? formatOf(out, FileFormat::WritesSuggestions, "OUT with --memory")
                                               : formatOf(out, FileFormat::WritesCatalogs, "OUT");
    if (!format)
        return UsageError;
    const std::optional<LoadedDocument> document = load(table, codePage);
    if (!document)
        return ReadFailed;
    std::optional<LoadedDocument> source;
    if (!loadOriginal(original, codePage, source))
        return ReadFailed;
    int exitCode = Done;
    std::optional<std::vector<SuggestionMemory>> memories;
    if (suggested && !(memories = readMemories(suggesting.memories, languages, "export", &exitCode)))
        return exitCode;
    const std::optional<QString> outName = outputName(out);
    if (!outName)
        return WriteFailed;

    // Memory running out at any step is told as a write error.
    const auto shortage = [&] {
        return QStringLiteral("メモリが足りないため、%1 件の項目を%2に書き出せませんでした。")
            .arg(document->rows.count())
            .arg(shown(out));
    };
    QString error;
    std::optional<ExportResult> result;
    const QString tableLabel = QStringLiteral("表") + shown(table);
    const QString originalLabel = original ? QStringLiteral("原文") + shown(*original) : QString();
    // Fails only for want of memory: a table that cannot be exported gives no result.
    const auto gather = [&] {
        result = exportCatalog(document->rows, tableLabel, source ? &source->rows : nullptr, originalLabel, &error);
        return true;
    };
    if (!withinMemory(gather, shortage, &error)) {
        printFileError(escapedPath(out), WriteErrorMessage, error);
        return WriteFailed;
    }
    if (!result) {
        const QByteArray refused = fileRefused(error,
                                               {{tableLabel, table}, {originalLabel, original.value_or(QByteArray())}});
        printFileError(escapedPath(refused), ReadErrorMessage, error);
        return ReadFailed;
    }
    if (memories)
        addSuggestions(result->catalog, std::move(*memories), suggesting.minMatch.value_or(DefaultMinMatch));
    const auto write = [&] {
        TranslationCatalog catalog = result->catalog;
        catalog.original = QFileInfo(QFile::decodeName(original ? *original : table)).fileName();
        catalog.sourceLanguage = languages.source;
        catalog.targetLanguage = languages.target;
        QByteArray image;
        if (!format->writeCatalog(catalog, image, &error) || !SaveFile::write(*outName, image, &error))
            return false;
        if (!result->notInOriginal.isEmpty())
            printErrorLine(QStringLiteral("原文%1にないインデックス %2 の %3 件は書き出していません。")
                               .arg(shown(*original), indexListText(result->notInOriginal))
                               .arg(result->notInOriginal.size()));
        return true;
    };
    if (!withinMemory(write, shortage, &error)) {
        printFileError(escapedPath(out), WriteErrorMessage, error);
        return WriteFailed;
    }
    return Done;
}

int importTable(const QByteArray &table, const QByteArray &in, const QByteArray &out,
                const std::optional<QByteArray> &original, ImportFlags flags, const CodePage &codePage)
{
    const FileFormat *const format = formatOf(in, FileFormat::ReadsCatalogs, "IN");
    if (!format)
        return UsageError;
    std::optional<LoadedDocument> document = load(table, codePage);
    if (!document)
        return ReadFailed;
    std::optional<LoadedDocument> source;
    if (!loadOriginal(original, codePage, source))
        return ReadFailed;
    const std::optional<QString> inName = fileName(in, ReadErrorMessage, QStringLiteral("読み込めません"));
    if (!inName)
        return ReadFailed;

    ImportReport report;
    QString error;
    QByteArray failed = in; // the file the error is about
    const auto take = [&] {
        const std::optional<QByteArray> data = readWholeFile(*inName, &error);
        if (!data)
            return false;
        TranslationCatalog catalog;
        if (!format->readCatalog(*data, catalog, &error)) {
            error.prepend(QStringLiteral("ファイル%1の").arg(shown(in)));
            return false;
        }
        ImportOptions options;
        options.takeFuzzy = flags.fuzzy;
        options.ignoreExtra = flags.ignoreExtra;
        const QString tableLabel = QStringLiteral("表") + shown(table);
        const QString inLabel = QStringLiteral("翻訳ファイル") + shown(in);
        const QString originalLabel = original ? QStringLiteral("原文") + shown(*original) : QString();
        if (!importCatalog(document->rows, tableLabel, catalog, inLabel, source ? &source->rows : nullptr,
                           originalLabel, options, report, &error)) {
            failed = fileRefused(error, {{inLabel, in},
                                         {tableLabel, table},
                                         {originalLabel, original.value_or(QByteArray())}});
            if (!report.extra.isEmpty() && !flags.ignoreExtra)
                error += QStringLiteral("--ignore-extra を付けると、それらを飛ばして取り込みます。");
            return false;
        }
        return true;
    };
    const auto shortage = [&] {
        return QStringLiteral("メモリが足りないため、ファイル%1を読み込めませんでした。").arg(shown(in));
    };
    if (!withinMemory(take, shortage, &error)) {
        printFileError(escapedPath(failed), ReadErrorMessage, error);
        return ReadFailed;
    }

    const std::optional<QString> outName = outputName(out);
    if (!outName)
        return WriteFailed;
    if (const int saved = saveTable(*outName, document->rows, document->fields, codePage); saved != Done)
        return saved;
    printErrorLine(QStringLiteral("更新 %1 件、変更なし %2 件、未翻訳 %3 件、あいまい（スキップ） %4 件")
                       .arg(report.updated)
                       .arg(report.unchanged)
                       .arg(report.untranslated)
                       .arg(report.fuzzySkipped));
    if (!report.sourceChanged.isEmpty())
        printErrorLine(
            QStringLiteral("原文%1の今の値とは違う原文から訳されたもの（あいまいとして扱いました）: インデックス %2")
                .arg(shown(*original), indexListText(report.sourceChanged)));
    if (!report.extra.isEmpty())
        printErrorLine(QStringLiteral("表%1にないため飛ばしたもの: インデックス %2")
                           .arg(shown(table), indexListText(report.extra)));
    return Done;
}

} // namespace wendaro::cli
