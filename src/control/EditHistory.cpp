// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/EditHistory.h"

namespace wendaro {

EditHistory::EditHistory(EntryList &entries) : m_entries(entries) {}

void EditHistory::clear()
{
    m_undo.clear();
    m_redo.clear();
}

void EditHistory::record(Step step)
{
    m_undo.push_back(std::move(step));
    m_redo.clear();
}

void EditHistory::recordInserted(const std::vector<qsizetype> &positions)
{
    if (positions.empty())
        return;
    Step step;
    step.ids.reserve(positions.size());
    for (const qsizetype position : positions)
        step.ids.push_back(m_entries.identify(position));
    record(std::move(step));
}

void EditHistory::recordEdited(qsizetype position, Entry before)
{
    Step step;
    step.editsFields = true;
    step.ids.push_back(m_entries.identify(position));
    step.otherFields = std::move(before);
    record(std::move(step));
}

void EditHistory::recordRemoved(qsizetype position, Entry row)
{
    Step step;
    step.out.push_back({position, std::move(row)});
    record(std::move(step));
}

bool EditHistory::undo()
{
    if (m_undo.empty())
        return false;
    Step step = std::move(m_undo.back());
    m_undo.pop_back();
    swap(step);
    m_redo.push_back(std::move(step));
    return true;
}

bool EditHistory::redo()
{
    if (m_redo.empty())
        return false;
    Step step = std::move(m_redo.back());
    m_redo.pop_back();
    swap(step);
    m_undo.push_back(std::move(step));
    return true;
}

void EditHistory::swap(Step &step)
{
    if (step.editsFields)
        swapFields(step);
    else
        swapRows(step);
}

void EditHistory::swapFields(Step &step)
{
    const std::vector<qsizetype> found = m_entries.positionsOf(step.ids);
    if (found.empty())
        return;
    const qsizetype position = found.front();
    Entry now = m_entries.at(position);
    m_entries.setIndexText(position, step.otherFields.indexText);
    m_entries.setName(position, step.otherFields.name);
    m_entries.setValue(position, step.otherFields.value);
    step.otherFields = std::move(now);
    m_entries.select(position);
}

void EditHistory::swapRows(Step &step)
{
    if (step.out.empty()) {
        step.out = m_entries.takeRows(m_entries.positionsOf(step.ids));
        step.ids.clear();
        return;
    }
    // A position past the end (rows removed since, by steps undone) puts
    // the row at the end.
    qsizetype last = m_entries.count();
    for (PlacedEntry &row : step.out)
        row.position = qMin(row.position, ++last);
    std::vector<qsizetype> positions;
    for (const PlacedEntry &row : step.out)
        positions.push_back(row.position);
    m_entries.insertRows(std::move(step.out));
    step.out.clear();
    for (const qsizetype position : positions)
        step.ids.push_back(m_entries.identify(position));
    if (positions.size() == 1)
        m_entries.select(positions.front());
}

} // namespace wendaro
