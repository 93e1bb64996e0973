#include "Commands.h"

#include "Console.h"
#include "ExitCode.h"
#include "ProblemReport.h"

#include <CodePage.h>
#include <DocumentFile.h>
#include <checks/RowPlaces.h>
#include <checks/TableProblems.h>
#include <checks/TranslationChecks.h>
#include <formats/FormatRegistry.h>
#include <formats/TextWriter.h>

#include <QFile>

#include <memory>
#include <new>
#include <optional>

namespace wendaro::cli {

namespace {

// The path for a message: what decodes as UTF-8 as it is, every other byte
// as \xNN, so that the user can tell which file is meant.
QString escapedPath(const QByteArray &bytes)
{
    QString shown;
    qsizetype at = 0;
    while (at < bytes.size()) {
        const uchar lead = uchar(bytes[at]);
        const qsizetype length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        if (length > 0) {
            const QByteArray sequence = bytes.mid(at, length);
            const QString decoded = QString::fromUtf8(sequence);
            if (sequence.size() == length && decoded.toUtf8() == sequence) {
                shown += decoded;
                at += length;
                continue;
            }
        }
        shown += QStringLiteral("\\x") + QString::number(lead, 16).toUpper().rightJustified(2, QLatin1Char('0'));
        ++at;
    }
    return shown;
}

// The name under which Qt opens exactly the file that the bytes name, or
// nullopt after the error was reported. Qt turns bytes that are not UTF-8
// into U+FFFD, and that name would read a missing file or write a new one
// beside the one meant.
std::optional<QString> fileName(const QByteArray &bytes, const QString &message, const QString &action)
{
    const QString name = QFile::decodeName(bytes);
    if (QFile::encodeName(name) == bytes)
        return name;
    printError(message, QStringLiteral("パス「%1」のバイト列はこのシステムのファイル名の文字コード（UTF-8）として"
                                       "正しくないので、%2。ファイルの名前を変えてください。")
                            .arg(escapedPath(bytes), action));
    return std::nullopt;
}

// The document at path, or nullopt after the read error was reported.
std::optional<LoadResult> load(const QByteArray &path, const CodePage &codePage)
{
    const std::optional<QString> name = fileName(path, ReadErrorMessage, QStringLiteral("読み込めません"));
    if (!name)
        return std::nullopt;
    LoadResult document = loadDocument(*name, codePage);
    if (!document.ok) {
        printError(ReadErrorMessage, document.errorString);
        return std::nullopt;
    }
    return document;
}

} // namespace

int convert(const QByteArray &in, const QByteArray &out, const CodePage &codePage)
{
    const std::optional<LoadResult> document = load(in, codePage);
    if (!document)
        return ReadFailed;
    const std::optional<QString> outName = fileName(out, WriteErrorMessage, QStringLiteral("その名前では保存できません"));
    if (!outName)
        return WriteFailed;
    QString error;
    if (!saveDocument(*outName, document->rows, document->fields, true, codePage, &error)) {
        printError(WriteErrorMessage, error);
        return WriteFailed;
    }
    return Done;
}

int dump(const QByteArray &file, const CodePage &codePage)
{
    const std::optional<LoadResult> document = load(file, codePage);
    if (!document)
        return ReadFailed;
    // The text form is the one the text writer lays out, only in UTF-8.
    QByteArray text;
    try {
        text = TextWriter::layout(document->rows, document->fields).toUtf8();
    } catch (const std::bad_alloc &) {
        printError(WriteErrorMessage, QStringLiteral("メモリが足りないため、%1 件の項目のテキストを作れませんでした。")
                                          .arg(document->rows.count()));
        return WriteFailed;
    }
    if (!writeOut(text)) {
        printError(WriteErrorMessage, QStringLiteral("標準出力に書き込めませんでした。"));
        return WriteFailed;
    }
    return Done;
}

namespace {

// A table as check reads it: its rows and where each came from.
struct CheckedTable
{
    QString file; // as the report names it
    PlaceKind placeKind = PlaceKind::Line;
    LoadResult document;
    std::vector<qint64> places;
};

// The table at path, or nullopt after its read error went into the report
// (a name that is no UTF-8 is told at once, as every command tells it).
std::optional<CheckedTable> loadChecked(const QByteArray &path, const CodePage &codePage, ProblemReport &report,
                                        bool *refusedName)
{
    const std::optional<QString> name = fileName(path, ReadErrorMessage, QStringLiteral("読み込めません"));
    if (!name) {
        *refusedName = true;
        return std::nullopt;
    }
    CheckedTable table;
    table.file = QFile::decodeName(path);
    const bool stf = FormatRegistry::forPath(*name)->shortName() == QLatin1String("stf");
    table.placeKind = stf ? PlaceKind::Offset : PlaceKind::Line;
    try {
        QByteArray bytes;
        table.document = loadDocument(*name, codePage, &bytes);
        if (table.document.ok)
            table.places = stf ? stfRowOffsets(bytes) : textRowLines(bytes, codePage);
    } catch (const std::bad_alloc &) {
        table.document.ok = false;
        table.document.errorString = QStringLiteral("メモリが足りないため、ファイル「%1」の項目の位置を調べられませんでした。")
                                         .arg(table.file);
    }
    if (!table.document.ok) {
        Problem problem;
        problem.kind = Problem::Kind::Read;
        problem.place = table.document.errorPlace;
        problem.message = ReadErrorMessage + QStringLiteral(": ") + table.document.errorString;
        report.add(table.file, table.placeKind, problem);
        return std::nullopt;
    }
    return table;
}

} // namespace

int check(const QByteArray &file, const CheckOptions &options, const CodePage &codePage)
{
    ProblemReport report;
    bool refusedName = false;
    std::optional<CheckedTable> table = loadChecked(file, codePage, report, &refusedName);
    std::optional<CheckedTable> original;
    if (table && options.against)
        original = loadChecked(*options.against, codePage, report, &refusedName);
    if (refusedName)
        return ReadFailed;
    // Nothing is written, so a table that cannot be saved is no write error:
    // it is told as findings about the file.
    if (table && (original || !options.against)) {
        try {
            const EntryList &rows = table->document.rows;
            for (const Problem &problem :
                 tableProblems(rows, table->document.fields, codePage, table->places, table->placeKind))
                report.add(table->file, table->placeKind, problem);
            if (original) {
                for (const Problem &problem : translationProblems(rows, table->places, original->document.rows))
                    report.add(table->file, table->placeKind, problem);
            }
        } catch (const std::bad_alloc &) {
            Problem problem;
            problem.kind = Problem::Kind::Read;
            problem.message = QStringLiteral("メモリが足りないため、%1 件の項目を調べきれませんでした。")
                                  .arg(table->document.rows.count());
            report.add(table->file, table->placeKind, problem);
        }
    }
    if (options.json) {
        if (!report.printJson()) {
            printError(WriteErrorMessage, QStringLiteral("標準出力に書き込めませんでした。"));
            return WriteFailed;
        }
    } else {
        report.printLines();
    }
    return report.fails(options.strict) ? ReadFailed : Done;
}

} // namespace wendaro::cli
