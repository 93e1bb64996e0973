// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/recovery/JournalReplay.h"

#include "control/document/Document.h"
#include "control/document/RowCommands.h"

#include "core/io/JournalRecordCodec.h"

#include <algorithm>
#include <utility>

namespace wendaro {

namespace {

bool ascending(const std::vector<JournalRow> &rows)
{
    return std::is_sorted(rows.begin(), rows.end(),
                          [](const auto &a, const auto &b) { return a.position <= b.position; })
           && (rows.empty() || rows.front().position >= 0);
}

bool isPermutation(std::vector<qsizetype> order)
{
    std::sort(order.begin(), order.end());
    for (size_t i = 0; i < order.size(); ++i) {
        if (order[i] != qsizetype(i))
            return false;
    }
    return true;
}

// Whether op can be made on count rows: a damaged record must not reach the list.
bool fits(const JournalOp &op, qsizetype count)
{
    switch (op.kind) {
    case JournalOpKind::Put:
        return !op.rows.empty() && ascending(op.rows) && op.rows.back().position < count + qsizetype(op.rows.size());
    case JournalOpKind::Take: return !op.rows.empty() && ascending(op.rows) && op.rows.back().position < count;
    case JournalOpKind::Set:
        return op.rows.size() == 1 && op.rows.front().position >= 0 && op.rows.front().position < count;
    case JournalOpKind::Order: return qsizetype(op.order.size()) == count && isPermutation(op.order);
    }
    return false;
}

// Whether every op of a record fits, so that a record is made whole or not at all.
bool fitsWhole(const JournalRecordData &record, qsizetype count)
{
    for (const JournalOp &op : record.ops) {
        if (!fits(op, count))
            return false;
        if (op.kind == JournalOpKind::Put)
            count += qsizetype(op.rows.size());
        else if (op.kind == JournalOpKind::Take)
            count -= qsizetype(op.rows.size());
    }
    return true;
}

// The command of the history that makes op again (not an Order: a sort is no command).
QUndoCommand *commandOf(Document &state, const JournalOp &op)
{
    EntryList &rows = state.entries();
    switch (op.kind) {
    case JournalOpKind::Put: {
        std::vector<PlacedEntry> put;
        for (const JournalRow &row : op.rows)
            put.push_back({row.position, Entry{row.indexText, row.name, row.value, row.key, 0}});
        return RowsCommand::putIn(rows, state.selection(), std::move(put), QStringLiteral("追加"));
    }
    case JournalOpKind::Take: {
        std::vector<qsizetype> positions;
        for (const JournalRow &row : op.rows)
            positions.push_back(row.position);
        return RowsCommand::takeOut(rows, state.selection(), positions, QStringLiteral("削除"));
    }
    case JournalOpKind::Set: {
        const JournalRow &row = op.rows.front();
        return new EditCommand(rows, state.selection(), row.position,
                               Entry{row.indexText, row.name, row.value, std::nullopt, 0});
    }
    case JournalOpKind::Order: break;
    }
    return nullptr;
}

// Makes the ops of one record that fits; the history's one macro is begun
// at the first op that is a command.
void makeAgain(Document &state, const JournalRecordData &record, bool &inMacro)
{
    QUndoStack &history = state.history();
    for (const JournalOp &op : record.ops) {
        if (op.kind == JournalOpKind::Order) {
            state.entries().applySortedOrder(op.order);
            continue;
        }
        if (!std::exchange(inMacro, true))
            history.beginMacro(QStringLiteral("復元"));
        history.push(commandOf(state, op));
    }
}

} // namespace

Replayed replayJournal(Document &state, const JournalContents &contents)
{
    Replayed replayed;
    bool inMacro = false;
    std::optional<JournalRecordData> fields;
    for (const QByteArray &record : contents.records) {
        std::optional<JournalRecordData> decoded = decodeJournalRecord(record);
        if (!decoded || !fitsWhole(*decoded, state.entries().count())) {
            replayed.stopped = true;
            break;
        }
        if (decoded->kind == JournalRecord::Fields) {
            fields = std::move(decoded);
            continue;
        }
        makeAgain(state, *decoded, inMacro);
        replayed.changes += int(decoded->kind == JournalRecord::Change);
    }
    if (inMacro) {
        state.history().endMacro();
        state.journal().commit(JournalRecord::Change, true);
    } else {
        state.journal().commit(JournalRecord::Sort, state.isModified());
    }
    if (fields) {
        state.setFieldText(Field::File, fields->outputFile);
        state.setFieldText(Field::Memo, fields->memo);
        ++replayed.changes;
    }
    return replayed;
}

EntryList recoveredRows(const JournalContents &contents)
{
    EntryList rows;
    for (const QByteArray &record : contents.records) {
        const std::optional<JournalRecordData> decoded = decodeJournalRecord(record);
        if (!decoded)
            break;
        for (const JournalOp &op : decoded->ops) {
            for (const JournalRow &row : op.rows)
                rows.append(Entry{row.indexText, row.name, row.value, std::nullopt, 0});
        }
    }
    return rows;
}

} // namespace wendaro
