// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CompareCommands.h"

#include "cli/Arguments.h"
#include "cli/Console.h"
#include "cli/ExitCode.h"
#include "cli/CommandFiles.h"
#include "cli/ProblemReport.h"
#include "cli/TextQuoting.h"

#include "core/text/CodePage.h"
#include "core/document/DocumentFile.h"
#include "core/io/MemoryShortage.h"
#include "core/compare/TableDiff.h"
#include "core/compare/TableUpdate.h"

#include <QSet>

#include <algorithm>

namespace wendaro::cli {

namespace {

QString times(qsizetype count)
{
    return count == 1 ? QStringLiteral("once") : QStringLiteral("%1 times").arg(count);
}

// The index as the line shows it: a number, or a text that is none in quotes;
// "#2" for the second of an index that a table repeats.
QString shownIndex(const RowIndex &index, int occurrence, bool repeated)
{
    QString shown = index.number ? QString::number(*index.number) : quotedText(index.text);
    if (repeated)
        shown += QLatin1Char('#') + QString::number(occurrence);
    return shown;
}

QString fromTo(const QString &before, const QString &after, bool changed)
{
    return changed ? quotedText(before) + QStringLiteral(" -> ") + quotedText(after) : quotedText(after);
}

QByteArray peopleText(const TableDiff &diff, bool order)
{
    QSet<RowIndex> repeated;
    QString text;
    for (const RepeatedIndex &r : diff.repeated) {
        repeated.insert(r.index);
        text += QStringLiteral("# index %1 appears %2 in A, %3 in B; its rows are paired in order\n")
                    .arg(shownIndex(r.index, 0, false), times(r.countA), times(r.countB));
    }
    for (const TableChange &c : diff.changes) {
        const QString index = shownIndex(c.index, c.occurrence, repeated.contains(c.index));
        switch (c.kind) {
        case TableChange::Kind::Added:
            text += QStringLiteral("+ %1 %2: %3\n").arg(index, quotedText(c.name), quotedText(c.value));
            break;
        case TableChange::Kind::Removed:
            text += QStringLiteral("- %1 %2: %3\n").arg(index, quotedText(c.oldName), quotedText(c.oldValue));
            break;
        case TableChange::Kind::Changed:
            text += QStringLiteral("~ %1 %2: %3\n")
                        .arg(index, fromTo(c.oldName, c.name, c.nameChanged),
                             fromTo(c.oldValue, c.value, c.valueChanged));
            break;
        case TableChange::Kind::Moved:
            text += QStringLiteral("> %1 %2: row %3 -> row %4\n")
                        .arg(index, quotedText(c.name))
                        .arg(c.oldPosition + 1)
                        .arg(c.position + 1);
            break;
        }
    }
    text += QStringLiteral("%1 added, %2 removed, %3 changed").arg(diff.added).arg(diff.removed).arg(diff.changed);
    if (order)
        text += QStringLiteral(", %1 moved").arg(diff.moved);
    text += QLatin1Char('\n');
    return text.toUtf8();
}

QByteArray jsonIndex(const RowIndex &index)
{
    return index.number ? QByteArray::number(*index.number) : jsonString(index.text);
}

QByteArray jsonText(const TableDiff &diff)
{
    static const char *const kinds[] = {"added", "removed", "changed", "moved"};
    // One change or repeated index a line, so that a person can read it too.
    QByteArray json = "{\n\"changes\": [";
    for (const TableChange &c : diff.changes) {
        json += &c == &diff.changes.constFirst() ? "\n" : ",\n";
        json += "{\"change\": \"" + QByteArray(kinds[int(c.kind)]) + "\", \"index\": " + jsonIndex(c.index)
                + ", \"occurrence\": " + QByteArray::number(c.occurrence);
        // The report counts rows from 1, as the text form does.
        if (c.oldPosition >= 0)
            json += ", \"oldPosition\": " + QByteArray::number(c.oldPosition + 1);
        if (c.position >= 0)
            json += ", \"position\": " + QByteArray::number(c.position + 1);
        if (c.kind == TableChange::Kind::Changed) {
            json += ", \"fields\": [";
            json += c.nameChanged ? (c.valueChanged ? "\"name\", \"value\"" : "\"name\"") : "\"value\"";
            json += "]";
        }
        if (c.kind == TableChange::Kind::Removed || c.kind == TableChange::Kind::Changed)
            json += ", \"oldName\": " + jsonString(c.oldName) + ", \"oldValue\": " + jsonString(c.oldValue);
        if (c.kind != TableChange::Kind::Removed)
            json += ", \"name\": " + jsonString(c.name) + ", \"value\": " + jsonString(c.value);
        json += "}";
    }
    json += diff.changes.isEmpty() ? "],\n\"repeated\": [" : "\n],\n\"repeated\": [";
    for (const RepeatedIndex &r : diff.repeated) {
        json += &r == &diff.repeated.constFirst() ? "\n" : ",\n";
        json += "{\"index\": " + jsonIndex(r.index) + ", \"countA\": " + QByteArray::number(r.countA)
                + ", \"countB\": " + QByteArray::number(r.countB) + "}";
    }
    json += diff.repeated.isEmpty() ? "],\n" : "\n],\n";
    json += "\"added\": " + QByteArray::number(diff.added) + ", \"removed\": " + QByteArray::number(diff.removed)
            + ", \"changed\": " + QByteArray::number(diff.changed) + ", \"moved\": " + QByteArray::number(diff.moved)
            + "\n}\n";
    return json;
}

// The text of one index that update leaves to the translator.
QString updateLine(const char *what, const UpdateItem &item, bool changed)
{
    return QStringLiteral("%1 %2 %3: %4")
        .arg(QLatin1String(what), shownIndex(item.index, 1, false), quotedText(item.name),
             fromTo(item.oldValue, item.value, changed));
}

QString repeatedProblem(const QList<RowIndex> &repeated)
{
    constexpr qsizetype Shown = 10;
    QStringList indexes;
    for (qsizetype i = 0; i < std::min(repeated.size(), Shown); ++i)
        indexes << repeated[i].shown();
    QString list = indexes.join(QStringLiteral("、"));
    if (repeated.size() > Shown)
        list += QStringLiteral(" ほか %1 個").arg(repeated.size() - Shown);
    return QStringLiteral("インデックス %1 の項目が 2 個以上あります。update は項目をインデックスで対応させるので、"
                          "インデックスが重複する表は扱えません。")
        .arg(list);
}

} // namespace

int diff(const Arguments &arguments, const CodePage &codePage)
{
    const bool json = arguments.get(Options::Format) == OutputFormat::Json;
    const bool order = arguments.has(Options::Order);
    const std::optional<LoadedDocument> a = load(arguments.operands[0], codePage);
    if (!a)
        return Trouble;
    const std::optional<LoadedDocument> b = load(arguments.operands[1], codePage);
    if (!b)
        return Trouble;

    QByteArray text;
    bool same = false;
    QString error;
    const auto compare = [&] {
        const TableDiff found = compareTables(a->rows, b->rows, order);
        same = found.changes.isEmpty();
        text = json ? jsonText(found) : peopleText(found, order);
        return true;
    };
    const auto shortage = [&] {
        return QStringLiteral("メモリが足りないため、%1 件と %2 件の項目を比べられませんでした。")
            .arg(a->rows.count())
            .arg(b->rows.count());
    };
    if (!withinMemory(compare, shortage, &error)) {
        printError(WriteErrorMessage, error);
        return Trouble;
    }
    if (!writeOut(text)) {
        printError(WriteErrorMessage, QStringLiteral("標準出力に書き込めませんでした。"));
        return Trouble;
    }
    return same ? Done : Differ;
}

int update(const QByteArray &oldOriginal, const QByteArray &newOriginal, const QByteArray &translation,
           const QByteArray &out, const CodePage &codePage)
{
    const QByteArray paths[] = {oldOriginal, newOriginal, translation};
    std::optional<LoadedDocument> tables[3];
    for (int t = 0; t < 3; ++t) {
        tables[t] = load(paths[t], codePage);
        if (!tables[t])
            return ReadFailed;
    }
    const std::optional<QString> outName = outputName(out);
    if (!outName)
        return WriteFailed;

    UpdateResult result;
    QString error;
    const auto match = [&] {
        result = updateTranslation(tables[0]->rows, tables[1]->rows, tables[2]->rows);
        return true;
    };
    const auto shortage = [] {
        return QStringLiteral("メモリが足りないため、翻訳を新しい原文に合わせられませんでした。");
    };
    if (!withinMemory(match, shortage, &error)) {
        printError(ReadErrorMessage, error);
        return ReadFailed;
    }
    if (result.refused != UpdateResult::Table::None) {
        // Not the file's fault as a file: told as a finding about it, as check does.
        const QByteArray &path = paths[int(result.refused) - 1];
        printErrorLine(fileLine(escapedPath(path), -1, repeatedProblem(result.repeated)));
        return ReadFailed;
    }

    // The translation's output-file and memo lines are the translation's own.
    if (const int saved = saveTable(*outName, result.rows, tables[2]->fields, codePage); saved != Done)
        return saved;

    struct Line
    {
        RowIndex index;
        QString text;
    };
    QList<Line> lines;
    for (const UpdateItem &item : result.added)
        lines.append({item.index, updateLine("new", item, false)});
    for (const UpdateItem &item : result.changed)
        lines.append({item.index, updateLine("changed", item, true)});
    for (const UpdateItem &item : result.untranslated)
        lines.append({item.index, updateLine("untranslated", item, false)});
    for (const UpdateItem &item : result.removed)
        lines.append({item.index, updateLine("removed", item, false)});
    std::stable_sort(lines.begin(), lines.end(), [](const Line &x, const Line &y) { return x.index < y.index; });
    for (const Line &line : lines)
        printErrorLine(line.text);
    printErrorLine(QStringLiteral("%1 new, %2 changed, %3 untranslated, %4 removed, %5 carried")
                       .arg(result.added.size())
                       .arg(result.changed.size())
                       .arg(result.untranslated.size())
                       .arg(result.removed.size())
                       .arg(result.carried));
    return Done;
}

} // namespace wendaro::cli
