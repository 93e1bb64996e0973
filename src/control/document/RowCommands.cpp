// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/document/RowCommands.h"

#include "control/document/RowSelection.h"
#include "control/translation/TranslationStatus.h"

#include <algorithm>

namespace wendaro {

namespace {

// The selected row as a row id, so that it is found again after rows went in
// or out (the selection model would move it to a neighbour of a removed row,
// and forgets it when the rows are put in as a whole).
struct HeldSelection
{
    quint32 id = 0;
    bool shown = false;

    static HeldSelection of(EntryList &entries, const RowSelection &selection)
    {
        if (!selection.hasRow())
            return {};
        return {entries.identify(selection.row()), selection.isShown()};
    }

    void restore(const EntryList &entries, RowSelection &selection) const
    {
        if (id == 0)
            return;
        const std::vector<qsizetype> found = entries.positionsOf({id});
        if (found.empty()) {
            selection.clear();
            return;
        }
        if (selection.row() != found.front() || selection.isShown() != shown) {
            selection.select(found.front());
            selection.setShown(shown);
        }
    }
};

} // namespace

RowsCommand::RowsCommand(EntryList &entries, RowSelection &selection, const QString &text)
    : QUndoCommand(text), m_entries(entries), m_selection(selection)
{
}

RowsCommand *RowsCommand::putIn(EntryList &entries, RowSelection &selection, std::vector<PlacedEntry> rows,
                                const QString &text)
{
    auto *command = new RowsCommand(entries, selection, text);
    command->m_out = std::move(rows);
    return command;
}

RowsCommand *RowsCommand::takeOut(EntryList &entries, RowSelection &selection, const std::vector<qsizetype> &positions,
                                  const QString &text)
{
    auto *command = new RowsCommand(entries, selection, text);
    command->m_ids.reserve(positions.size());
    for (const qsizetype position : positions)
        command->m_ids.push_back(entries.identify(position));
    return command;
}

void RowsCommand::swap()
{
    const bool again = std::exchange(m_done, true);
    const HeldSelection held = HeldSelection::of(m_entries, m_selection);
    if (m_out.empty()) {
        m_out = m_entries.takeRows(m_entries.positionsOf(m_ids));
        m_ids.clear();
        held.restore(m_entries, m_selection);
        return;
    }
    // A position past the end (rows removed since, by commands undone) puts
    // the row at the end.
    qsizetype end = m_entries.count();
    std::vector<qsizetype> positions;
    for (PlacedEntry &row : m_out) {
        row.position = qMin(row.position, end++);
        positions.push_back(row.position);
    }
    m_entries.insertRows(std::move(m_out));
    m_out.clear();
    for (const qsizetype position : positions)
        m_ids.push_back(m_entries.identify(position));
    if (again && positions.size() == 1)
        m_selection.select(positions.front());
    else
        held.restore(m_entries, m_selection);
}

RowCommand::RowCommand(EntryList &entries, RowSelection &selection, qsizetype position, const QString &text)
    : QUndoCommand(text), m_entries(entries), m_id(entries.identify(position)), m_selection(selection)
{
}

void RowCommand::swap()
{
    const bool again = std::exchange(m_done, true);
    const std::vector<qsizetype> found = m_entries.positionsOf({m_id});
    if (found.empty())
        return;
    swapAt(found.front());
    if (again)
        m_selection.select(found.front());
}

EditCommand::EditCommand(EntryList &entries, RowSelection &selection, qsizetype position, Entry fields)
    : RowCommand(entries, selection, position, QStringLiteral("編集")), m_otherFields(std::move(fields))
{
}

void EditCommand::swapAt(qsizetype position)
{
    Entry now = m_entries.at(position);
    m_entries.setIndexText(position, m_otherFields.indexText);
    m_entries.setName(position, m_otherFields.name);
    m_entries.setValue(position, m_otherFields.value);
    m_otherFields = std::move(now);
}

ValueCommand::ValueCommand(EntryList &entries, RowSelection &selection, qsizetype position, ValueText value,
                           quint64 visit, std::function<void()> beforeChange)
    : RowCommand(entries, selection, position, QStringLiteral("訳の入力")), m_visit(visit),
      m_otherValue(std::move(value)), m_beforeChange(std::move(beforeChange))
{
}

bool ValueCommand::mergeWith(const QUndoCommand *other)
{
    const auto *typed = dynamic_cast<const ValueCommand *>(other);
    // The value before this command stays; the newer command's change is
    // already made.
    if (!typed || typed->m_id != m_id || typed->m_visit != m_visit)
        return false;
    const std::vector<qsizetype> found = m_entries.positionsOf({m_id});
    setObsolete(!found.empty() && m_entries.at(found.front()).value == m_otherValue);
    return true;
}

void ValueCommand::swapAt(qsizetype position)
{
    ValueText now = m_entries.at(position).value;
    if (m_beforeChange)
        m_beforeChange();
    m_entries.setValue(position, std::move(m_otherValue));
    m_otherValue = std::move(now);
}

TextsCommand::TextsCommand(EntryList &entries, TranslationStatus &status, std::vector<Texts> rows, const QString &text)
    : QUndoCommand(text), m_entries(entries), m_translationStatus(status), m_rows(std::move(rows))
{
    for (Texts &row : m_rows)
        row.id = entries.identify(row.position);
    std::sort(m_rows.begin(), m_rows.end(), [](const Texts &a, const Texts &b) { return a.id < b.id; });
}

void TextsCommand::swap()
{
    std::vector<quint32> ids;
    ids.reserve(m_rows.size());
    for (const Texts &row : m_rows)
        ids.push_back(row.id);
    std::vector<std::pair<qsizetype, Texts *>> found;
    for (const qsizetype position : m_entries.positionsOf(ids)) {
        const auto row = std::lower_bound(m_rows.begin(), m_rows.end(), m_entries.at(position).id,
                                          [](const Texts &texts, quint32 id) { return texts.id < id; });
        found.emplace_back(position, &*row);
    }
    // The translation's states are counted once after the last change rather than after each.
    m_translationStatus.holdCounting(true);
    for (const auto &[position, row] : found) {
        if (row->name) {
            QString now = m_entries.at(position).name;
            m_entries.setName(position, *row->name);
            row->name = std::move(now);
        }
        if (row->value) {
            ValueText now = m_entries.at(position).value;
            m_entries.setValue(position, std::move(*row->value));
            row->value = std::move(now);
        }
    }
    m_translationStatus.holdCounting(false);
}

} // namespace wendaro
