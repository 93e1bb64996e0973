// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/MemoryCommands.h"

#include "cli/Arguments.h"
#include "cli/CommandFiles.h"
#include "cli/Console.h"
#include "cli/ExitCode.h"
#include "cli/InOrder.h"

#include "core/checks/StfLimits.h"
#include "core/document/DocumentFile.h"
#include "core/document/ProjectTables.h"
#include "core/formats/TmxReader.h"
#include "core/formats/TmxWriter.h"
#include "core/io/MemoryShortage.h"
#include "core/io/SaveFile.h"
#include "core/io/ShownPath.h"
#include "core/translation/TableIndexes.h"
#include "core/translation/TranslationMemory.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace wendaro::cli {

namespace {

// One pair of tables: an original and its translation, as paths Qt opens
// and as the person named them.
struct TablePair
{
    QString original;
    QString translation;
    QString originalShown;
    QString translationShown;
};

// What a worker makes of one pair: its pairs of texts, or the error of the
// file that failed.
struct PairRead
{
    std::optional<TablePairs> pairs;
    QString file;
    qint64 place = -1;
    QString error;
};

PairRead readPair(const TablePair &pair, const CodePage &codePage)
{
    PairRead read;
    const auto step = [&] {
        LoadedDocument original;
        LoadedDocument translation;
        if (!loadDocument(pair.original, codePage, original, &read.error)) {
            read.file = pair.originalShown;
            read.place = original.place;
            return false;
        }
        if (!loadDocument(pair.translation, codePage, translation, &read.error)) {
            read.file = pair.translationShown;
            read.place = translation.place;
            return false;
        }
        const QString originalLabel = QStringLiteral("原文") + shown(pair.originalShown);
        read.pairs = memoryPairs(original.rows, originalLabel, translation.rows,
                                 QStringLiteral("訳") + shown(pair.translationShown), &read.error);
        read.file = read.error.startsWith(originalLabel) ? pair.originalShown : pair.translationShown;
        return read.pairs.has_value();
    };
    const auto shortage = [&] {
        read.file = pair.translationShown;
        return QStringLiteral("メモリが足りないため、表%1と%2を読みきれませんでした。")
            .arg(shown(pair.originalShown), shown(pair.translationShown));
    };
    if (withinMemory(step, shortage, &read.error))
        read.error.clear();
    else
        read.pairs.reset();
    return read;
}

// The pairs of the tables of two folders by their relative paths; those
// without a partner are listed on stderr. Nullopt after an error.
std::optional<std::vector<TablePair>> folderPairs(const Arguments &arguments)
{
    const std::optional<std::pair<QString, QString>> found = pairsFromFolders(arguments.operands);
    if (!found)
        return std::nullopt;
    const QString folders[2] = {found->first, found->second};
    const QList<QRegularExpression> includes = includeGlobs(arguments.values(Options::Include));
    const QStringList tables[2] = {tablesUnder(folders[0], includes), tablesUnder(folders[1], includes)};
    const QString shownFolders[2] = {QFile::decodeName(arguments.operands[0]),
                                     QFile::decodeName(arguments.operands[1])};
    const QSet<QString> translations(tables[1].cbegin(), tables[1].cend());
    const QSet<QString> originals(tables[0].cbegin(), tables[0].cend());
    std::vector<TablePair> pairs;
    for (const QString &table : tables[0]) {
        if (!translations.contains(table)) {
            printErrorLine(QStringLiteral("%1: 対になる表 %2 がありません。")
                               .arg(pathInFolder(shownFolders[0], table), pathInFolder(shownFolders[1], table)));
            continue;
        }
        pairs.push_back({QDir(folders[0]).filePath(table), QDir(folders[1]).filePath(table),
                         pathInFolder(shownFolders[0], table), pathInFolder(shownFolders[1], table)});
    }
    for (const QString &table : tables[1]) {
        if (!originals.contains(table))
            printErrorLine(QStringLiteral("%1: 対になる表 %2 がありません。")
                               .arg(pathInFolder(shownFolders[1], table), pathInFolder(shownFolders[0], table)));
    }
    return pairs;
}

std::optional<std::vector<TablePair>> operandPairs(const Arguments &arguments)
{
    std::vector<TablePair> pairs;
    for (qsizetype i = 0; i + 1 < arguments.operands.size(); i += 2) {
        TablePair pair;
        for (const bool translation : {false, true}) {
            const QByteArray &path = arguments.operands[i + (translation ? 1 : 0)];
            const std::optional<QString> name = fileName(path, ReadErrorMessage, QStringLiteral("読み込めません"));
            if (!name)
                return std::nullopt;
            (translation ? pair.translation : pair.original) = *name;
            (translation ? pair.translationShown : pair.originalShown) = QFile::decodeName(path);
        }
        pairs.push_back(pair);
    }
    return pairs;
}

} // namespace

int memory(const Arguments &arguments, const Languages &languages, const CodePage &codePage)
{
    const std::optional<QByteArray> out = arguments.get(Options::Output); // required: the parser saw to it
    const bool fromFolders = arguments.has(Options::PairsFrom);
    if (fromFolders && arguments.operands.size() != 2)
        return usage(QStringLiteral("memory --pairs-from takes two folders, ORIGINAL_DIR and TRANSLATION_DIR"));
    if (!fromFolders && arguments.operands.size() % 2 != 0)
        return usage(QStringLiteral("memory takes pairs of paths, ORIGINAL TRANSLATION, and got an odd number"));
    if (!fromFolders && arguments.has(Options::Include))
        return usage(QStringLiteral("memory takes --include only with --pairs-from"));

    const std::optional<std::vector<TablePair>> pairs = fromFolders ? folderPairs(arguments) : operandPairs(arguments);
    if (!pairs)
        return ReadFailed;
    const std::optional<QString> outName = outputName(*out);
    if (!outName)
        return WriteFailed;

    TranslationMemory memory;
    memory.sourceLanguage = languages.source;
    memory.targetLanguage = languages.target;
    memory.toolVersion = QStringLiteral(WENDARO_VERSION);
    if (arguments.has(Options::Date))
        memory.creationDate = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    for (const TablePair &pair : *pairs)
        memory.tables << pair.translationShown;

    // The tables are read on every core, gathered in the order given.
    MemoryGathering gathering;
    int failed = Done;
    qsizetype places = 0;
    runInOrder<PairRead>(
        pairs->size(), [&](size_t i) { return readPair((*pairs)[i], codePage); },
        [&](size_t i, PairRead &read) {
            if (!read.pairs) {
                printFileError(read.file, ReadErrorMessage, read.error, read.place);
                failed = ReadFailed;
                return false;
            }
            places += qsizetype(read.pairs->pairs.size());
            const auto gather = [&] {
                gathering.add(std::move(*read.pairs), qint32(i));
                return true;
            };
            const auto shortage = [] {
                return QStringLiteral("メモリが足りないため、メモリを組み立てられませんでした。");
            };
            if (QString error; !withinMemory(gather, shortage, &error)) {
                printFileError(escapedPath(*out), WriteErrorMessage, error);
                failed = WriteFailed;
                return false;
            }
            return true;
        });
    if (failed != Done)
        return failed;
    memory.units = gathering.takeUnits();

    QString error;
    const auto write = [&] {
        return SaveFile::stream(
            *outName, [&](ByteSink &sink, QString *refusal) { return writeTmx(memory, sink, refusal); }, &error);
    };
    const auto shortage = [&] { return QStringLiteral("メモリが足りないため、TMX を書き出せませんでした。"); };
    if (!withinMemory(write, shortage, &error)) {
        printFileError(escapedPath(*out), WriteErrorMessage, error);
        return WriteFailed;
    }
    printErrorLine(QStringLiteral("表 %1 組から、訳 %2 件（%3 か所）を書き出しました。")
                       .arg(pairs->size())
                       .arg(memory.units.size())
                       .arg(places));
    return Done;
}

int pretranslate(const Arguments &arguments, const Languages &languages, const CodePage &codePage)
{
    const QByteArrayList &operands = arguments.operands;
    const QByteArray &originalPath = operands.first();
    const QByteArray &translationPath = operands.at(1);
    const QByteArray &out = operands.last();
    std::optional<LoadedDocument> original = load(originalPath, codePage);
    if (!original)
        return ReadFailed;
    std::optional<LoadedDocument> translation = load(translationPath, codePage);
    if (!translation)
        return ReadFailed;

    const QString originalLabel = QStringLiteral("原文") + shown(QFile::decodeName(originalPath));
    QString error;
    std::optional<Pretranslation> work = Pretranslation::prepare(original->rows, originalLabel, translation->rows,
                                                                 QStringLiteral("訳")
                                                                     + shown(QFile::decodeName(translationPath)),
                                                                 languages.source, languages.target, &error);
    if (!work) {
        printFileError(escapedPath(error.startsWith(originalLabel) ? originalPath : translationPath), ReadErrorMessage,
                       error);
        return ReadFailed;
    }

    for (qsizetype m = 2; m + 1 < operands.size(); ++m) {
        const std::optional<QString> name = fileName(operands[m], ReadErrorMessage, QStringLiteral("読み込めません"));
        if (!name)
            return ReadFailed;
        qint64 line = -1;
        const auto read = [&] {
            QFile file(*name);
            if (QFileInfo(*name).isDir() || !file.open(QIODevice::ReadOnly)) {
                error = QFileInfo(*name).isDir() ? QStringLiteral("フォルダです。") : file.errorString();
                return false;
            }
            TmxReader reader;
            return reader.read(
                file, !languages.source.isEmpty(), [&](const ReadUnit &unit) { work->offer(unit); }, &line, &error);
        };
        const auto shortage = [&] {
            line = -1;
            return QStringLiteral("メモリが足りないため、読みきれませんでした。");
        };
        if (!withinMemory(read, shortage, &error)) {
            printFileError(escapedPath(operands[m]), ReadErrorMessage, error, line);
            return ReadFailed;
        }
    }

    PretranslateReport report;
    if (!work->fill(translation->rows, report, &error))
        return usage(QStringLiteral("pretranslate: ") + error);
    const std::optional<QString> outName = outputName(out);
    if (!outName)
        return WriteFailed;
    if (const int saved = saveTable(*outName, translation->rows, translation->fields, codePage); saved != Done)
        return saved;
    printErrorLine(QStringLiteral("訳を入れた %1 件、翻訳済み %2 件、一致なし %3 件、あいまい %4 件")
                       .arg(report.filled)
                       .arg(report.translated)
                       .arg(report.noMatch)
                       .arg(report.ambiguous.size()));
    if (!report.ambiguous.isEmpty())
        printErrorLine(QStringLiteral("メモリに訳が複数あったもの（使われた場所の多い訳を入れました）: インデックス %1")
                           .arg(indexListText(report.ambiguous)));
    if (report.tooLong > 0)
        printErrorLine(QStringLiteral("値に入りきらない（%1 コード単位を超える）訳 %2 件は飛ばしました。")
                           .arg(stf::MaxLength)
                           .arg(report.tooLong));
    if (!report.notInOriginal.isEmpty())
        printErrorLine(QStringLiteral("原文%1にないインデックス %2 の %3 件はそのままです。")
                           .arg(shown(QFile::decodeName(originalPath)), indexListText(report.notInOriginal))
                           .arg(report.notInOriginal.size()));
    return Done;
}

} // namespace wendaro::cli
