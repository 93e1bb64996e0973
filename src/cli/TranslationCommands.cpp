// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/TranslationCommands.h"

#include "cli/CommandFiles.h"
#include "cli/Console.h"
#include "cli/ExitCode.h"

#include "core/text/CodePage.h"
#include "core/io/DocumentFile.h"
#include "core/io/SaveFile.h"
#include "core/io/ShownPath.h"
#include "core/formats/FormatRegistry.h"
#include "core/translation/TranslationCatalog.h"
#include "core/translation/TableExport.h"
#include "core/translation/TableImport.h"
#include "core/translation/TableIndexes.h"

#include <QFile>
#include <QFileInfo>

#include <memory>
#include <new>

namespace wendaro::cli {

namespace {

QString shown(const QByteArray &path)
{
    return wendaro::shown(QFile::decodeName(path));
}

// The translation format that path's suffix names, or null after the usage
// error was reported; role is how the usage text calls the path.
std::unique_ptr<TranslationFormat> formatOf(const QByteArray &path, const char *role)
{
    std::unique_ptr<TranslationFormat> format = FormatRegistry::translationBySuffix(QFile::decodeName(path));
    if (format)
        return format;
    QStringList suffixes = FormatRegistry::translationSuffixes();
    for (QString &suffix : suffixes)
        suffix.prepend(QLatin1Char('.'));
    printUsageError(QStringLiteral("%1 \"%2\" must end in one of %3")
                        .arg(QLatin1String(role), QFile::decodeName(path), suffixes.join(QStringLiteral(", "))));
    return nullptr;
}

// The original's rows, or nullopt after the read error was reported; an
// absent original is an empty optional inside a successful result.
std::optional<std::optional<LoadResult>> loadOriginal(const std::optional<QByteArray> &original,
                                                      const CodePage &codePage)
{
    if (!original)
        return std::optional<LoadResult>();
    std::optional<LoadResult> document = load(*original, codePage);
    if (!document)
        return std::nullopt;
    return document;
}

} // namespace

int exportTable(const QByteArray &table, const QByteArray &out, const std::optional<QByteArray> &original,
                const CodePage &codePage)
{
    const std::unique_ptr<TranslationFormat> format = formatOf(out, "OUT");
    if (!format)
        return UsageError;
    const std::optional<LoadResult> document = load(table, codePage);
    if (!document)
        return ReadFailed;
    const std::optional<std::optional<LoadResult>> source = loadOriginal(original, codePage);
    if (!source)
        return ReadFailed;
    const std::optional<QString> outName = outputName(out);
    if (!outName)
        return WriteFailed;

    try {
        QString error;
        const std::optional<ExportResult> result =
            exportCatalog(document->rows, QStringLiteral("表") + shown(table), *source ? &(*source)->rows : nullptr,
                          original ? QStringLiteral("原文") + shown(*original) : QString(), &error);
        if (!result) {
            printError(ReadErrorMessage, error);
            return ReadFailed;
        }
        TranslationCatalog catalog = result->catalog;
        catalog.original = QFileInfo(QFile::decodeName(original ? *original : table)).fileName();
        QByteArray image;
        if (!format->write(catalog, image)) {
            printError(WriteErrorMessage, format->errorString());
            return WriteFailed;
        }
        if (!SaveFile::write(*outName, image, &error)) {
            printError(WriteErrorMessage, error);
            return WriteFailed;
        }
        if (!result->notInOriginal.isEmpty())
            printErrorLine(QStringLiteral("原文%1にないインデックス %2 の %3 件は書き出していません。")
                               .arg(shown(*original), indexListText(result->notInOriginal))
                               .arg(result->notInOriginal.size()));
    } catch (const std::bad_alloc &) {
        printError(WriteErrorMessage, QStringLiteral("メモリが足りないため、%1 件の項目を%2に書き出せませんでした。")
                                          .arg(document->rows.count())
                                          .arg(shown(out)));
        return WriteFailed;
    }
    return Done;
}

int importTable(const QByteArray &table, const QByteArray &in, const QByteArray &out,
                const std::optional<QByteArray> &original, ImportFlags flags, const CodePage &codePage)
{
    const std::unique_ptr<TranslationFormat> format = formatOf(in, "IN");
    if (!format)
        return UsageError;
    std::optional<LoadResult> document = load(table, codePage);
    if (!document)
        return ReadFailed;
    const std::optional<std::optional<LoadResult>> source = loadOriginal(original, codePage);
    if (!source)
        return ReadFailed;
    const std::optional<QString> inName = fileName(in, ReadErrorMessage, QStringLiteral("読み込めません"));
    if (!inName)
        return ReadFailed;

    ImportReport report;
    try {
        QString error;
        const std::optional<QByteArray> data = readWholeFile(*inName, &error);
        if (!data) {
            printError(ReadErrorMessage, error);
            return ReadFailed;
        }
        TranslationCatalog catalog;
        if (!format->read(*data, catalog)) {
            printError(ReadErrorMessage, QStringLiteral("ファイル%1の").arg(shown(in)) + format->errorString());
            return ReadFailed;
        }
        ImportOptions options;
        options.takeFuzzy = flags.fuzzy;
        options.ignoreExtra = flags.ignoreExtra;
        if (!importCatalog(document->rows, QStringLiteral("表") + shown(table), catalog,
                           QStringLiteral("翻訳ファイル") + shown(in), *source ? &(*source)->rows : nullptr,
                           original ? QStringLiteral("原文") + shown(*original) : QString(), options, report,
                           &error)) {
            if (!report.extra.isEmpty() && !flags.ignoreExtra)
                error += QStringLiteral("--ignore-extra を付けると、それらを飛ばして取り込みます。");
            printError(ReadErrorMessage, error);
            return ReadFailed;
        }
    } catch (const std::bad_alloc &) {
        printError(ReadErrorMessage, QStringLiteral("メモリが足りないため、ファイル%1を読み込めませんでした。").arg(shown(in)));
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
        printErrorLine(QStringLiteral("原文%1の今の値とは違う原文から訳されたもの（あいまいとして扱いました）: インデックス %2")
                           .arg(shown(*original), indexListText(report.sourceChanged)));
    if (!report.extra.isEmpty())
        printErrorLine(QStringLiteral("表%1にないため飛ばしたもの: インデックス %2").arg(shown(table), indexListText(report.extra)));
    return Done;
}

} // namespace wendaro::cli
