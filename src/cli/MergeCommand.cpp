// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/MergeCommand.h"

#include "cli/Arguments.h"
#include "cli/CommandFiles.h"
#include "cli/Console.h"
#include "cli/ExitCode.h"
#include "cli/TextQuoting.h"

#include "core/checks/Problem.h"
#include "core/compare/TableMerge.h"
#include "core/formats/FormatRegistry.h"
#include "core/document/DocumentFile.h"
#include "core/io/MemoryShortage.h"
#include "core/io/ShownPath.h"
#include "core/text/CodePage.h"

#include <QFile>

namespace wendaro::cli {

namespace {

struct MergeOptions
{
    MergeSide preferred = MergeSide::Ours;
    bool resolve = false; // --prefer given: conflicts are resolved, not left
    bool json = false;
    std::optional<QByteArray> out;
};

MergeOptions optionsOf(const Arguments &arguments)
{
    MergeOptions options;
    options.preferred = arguments.get(Options::Prefer).value_or(MergeSide::Ours);
    options.resolve = arguments.has(Options::Prefer);
    options.json = arguments.get(Options::Format) == OutputFormat::Json;
    options.out = arguments.get(Options::Output);
    return options;
}

struct Side
{
    const char *role; // as the usage text calls it
    QByteArray path;
    LoadedDocument document;
    const FileFormat *format = nullptr;

    MergeInput input() const
    {
        // A side whose format has no room for the output-file line and the
        // memo has no say in them: its empty ones would read as removed.
        const bool fields = format->capabilities().testFlag(FileFormat::KeepsTextFields);
        return {&document.rows, fields ? &document.fields : nullptr,
                QStringLiteral("%1 の表%2").arg(QLatin1String(role), shown(QFile::decodeName(path)))};
    }
};

// Reads the table, in the format its content shows when its name has no
// suffix of one (git's temporary files); false after the error was reported.
bool loadSide(Side &side, const CodePage &codePage)
{
    const std::optional<QString> name = fileName(side.path, ReadErrorMessage, QStringLiteral("読み込めません"));
    if (!name)
        return false;
    QString error;
    if (!loadDocumentOfAnyName(*name, codePage, side.document, &side.format, &error)) {
        printFileError(escapedPath(side.path), ReadErrorMessage, error, side.document.place);
        return false;
    }
    return true;
}

QString sideText(const std::optional<QString> &text)
{
    return text ? quotedText(*text) : QStringLiteral("なし");
}

QString fieldWord(MergeConflict::Field field)
{
    switch (field) {
    case MergeConflict::Field::OutputFile: return QStringLiteral("出力先ファイル");
    case MergeConflict::Field::Memo: return QStringLiteral("メモ");
    case MergeConflict::Field::Name: return QStringLiteral("名前");
    case MergeConflict::Field::Value: break;
    }
    return QStringLiteral("値");
}

// "OUT: インデックス 12（name）: 値が両方で違うように変更されています（BASE "a"、OURS "b"、THEIRS "c"）。"
QString conflictLine(const QString &out, const MergeConflict &c)
{
    const QString field = fieldWord(c.field);
    QString what;
    switch (c.kind) {
    case MergeConflict::Kind::Changed: what = QStringLiteral("%1が両方で違うように変更されています").arg(field); break;
    case MergeConflict::Kind::Added: what = QStringLiteral("両方で追加された項目の%1が違います").arg(field); break;
    case MergeConflict::Kind::RemovedInOurs:
        what = QStringLiteral("OURS で削除された項目の%1が THEIRS で変更されています").arg(field);
        break;
    case MergeConflict::Kind::RemovedInTheirs:
        what = QStringLiteral("THEIRS で削除された項目の%1が OURS で変更されています").arg(field);
        break;
    }
    // The name stands unquoted in the label, so it is escaped as a quoted text is.
    const QString label = c.index ? entryLabel(*c.index, quotedText(c.name).chopped(1).mid(1))
                                  : field + QStringLiteral("行");
    return QStringLiteral("%1: %2: %3（BASE %4、OURS %5、THEIRS %6）。")
        .arg(out, label, what, sideText(c.base), sideText(c.ours), sideText(c.theirs));
}

QString takenLine(const QString &out, qsizetype count, const MergeOptions &options)
{
    if (!options.resolve)
        return QStringLiteral("%1: 食い違いが %2 件あります。それぞれ OURS の側を書き込みました。").arg(out).arg(count);
    return QStringLiteral("%1: 食い違いが %2 件あります。--prefer=%3 により、それぞれ %4 の側を書き込みました。")
        .arg(out)
        .arg(count)
        .arg(options.preferred == MergeSide::Theirs ? QStringLiteral("theirs") : QStringLiteral("ours"),
             options.preferred == MergeSide::Theirs ? QStringLiteral("THEIRS") : QStringLiteral("OURS"));
}

QByteArray jsonOptional(const std::optional<QString> &text)
{
    return text ? jsonString(*text) : QByteArray("null");
}

QByteArray conflictsJson(const QString &out, const QList<MergeConflict> &conflicts, const MergeOptions &options)
{
    static const char *const fields[] = {"outputFile", "memo", "name", "value"};
    static const char *const kinds[] = {"changed", "added", "removedInOurs", "removedInTheirs"};
    // One conflict a line, so that a person can read it too.
    QByteArray json = "{\n\"out\": " + jsonString(out) + ",\n\"conflicts\": [";
    for (const MergeConflict &c : conflicts) {
        json += &c == &conflicts.constFirst() ? "\n" : ",\n";
        json += "{\"conflict\": \"" + QByteArray(kinds[int(c.kind)]) + "\", \"field\": \"" + fields[int(c.field)]
                + "\", \"index\": " + (c.index ? QByteArray::number(*c.index) : QByteArray("null"))
                + ", \"name\": " + (c.index ? jsonString(c.name) : QByteArray("null"));
        json += ", \"base\": " + jsonOptional(c.base) + ", \"ours\": " + jsonOptional(c.ours)
                + ", \"theirs\": " + jsonOptional(c.theirs) + "}";
    }
    json += conflicts.isEmpty() ? "],\n" : "\n],\n";
    json += QByteArray("\"taken\": ") + (options.preferred == MergeSide::Theirs ? "\"theirs\"" : "\"ours\"")
            + ", \"resolved\": " + (options.resolve ? "true" : "false") + "\n}\n";
    return json;
}

// Lists the conflicts; false when stdout did not take the JSON.
bool report(const QString &out, const QList<MergeConflict> &conflicts, const MergeOptions &options)
{
    if (options.json)
        return writeOut(conflictsJson(out, conflicts, options));
    for (const MergeConflict &c : conflicts)
        printErrorLine(conflictLine(out, c));
    if (!conflicts.isEmpty())
        printErrorLine(takenLine(out, conflicts.size(), options));
    return true;
}

} // namespace

int merge(const Arguments &arguments, const CodePage &codePage)
{
    const MergeOptions options = optionsOf(arguments);
    Side sides[] = {{"BASE", arguments.operands[0], {}, nullptr},
                    {"OURS", arguments.operands[1], {}, nullptr},
                    {"THEIRS", arguments.operands[2], {}, nullptr}};
    for (Side &side : sides) {
        if (!loadSide(side, codePage))
            return Trouble;
    }
    // OUT given keeps to its path's format, as convert does; OURS keeps its own.
    const QByteArray outPath = options.out.value_or(sides[1].path);
    const std::optional<QString> outName = outputName(outPath);
    if (!outName)
        return Trouble;
    const FileFormat &outFormat = options.out ? FormatRegistry::forPath(*outName) : *sides[1].format;

    std::optional<MergeResult> merged;
    QString error;
    const auto run = [&] {
        merged = mergeTables(sides[0].input(), sides[1].input(), sides[2].input(), options.preferred, &error);
        return true;
    };
    const auto shortage = [] { return QStringLiteral("メモリが足りないため、表をマージできませんでした。"); };
    // Memory running short is no one table's fault.
    if (!withinMemory(run, shortage, &error)) {
        printError(ReadErrorMessage, error);
        return Trouble;
    }
    if (!merged) {
        const QByteArray refused = fileRefused(error, {{sides[0].input().name, sides[0].path},
                                                       {sides[1].input().name, sides[1].path},
                                                       {sides[2].input().name, sides[2].path}});
        printFileError(escapedPath(refused), ReadErrorMessage, error);
        return Trouble;
    }
    if (!saveDocumentAs(*outName, outFormat, merged->rows, merged->fields, codePage, &error)) {
        printFileError(escapedPath(outPath), WriteErrorMessage, error);
        return Trouble;
    }
    if (!report(escapedPath(outPath), merged->conflicts, options)) {
        printError(WriteErrorMessage, QStringLiteral("標準出力に書き込めませんでした。"));
        return Trouble;
    }
    return merged->conflicts.isEmpty() || options.resolve ? Done : ConflictsLeft;
}

} // namespace wendaro::cli
