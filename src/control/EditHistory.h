// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/EntryList.h"

#include <vector>

namespace wendaro {

// Undo and redo of the changes to rows: an add, an edit, a removal, a paste.
// A step holds only the rows it changed: the rows out of the list (removed,
// or put in and undone) with their positions, the ids of those in it, and an
// edited row's other fields. Rows are found again by their ids, so a sort in
// between (which is no step) moves nothing the wrong way. Undoing and redoing
// a step are the same swap; the row that comes back or changes, when it is
// one, is made the selected row. NextIndex and the modified flag are the
// caller's.
class EditHistory
{
public:
    explicit EditHistory(EntryList &entries);

    void clear();
    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }

    // Record a change just made: rows put in at these positions (ascending),
    void recordInserted(const std::vector<qsizetype> &positions);
    // the row at position, whose index text, name and value were before's,
    void recordEdited(qsizetype position, Entry before);
    // a row taken out of position.
    void recordRemoved(qsizetype position, Entry row);

    // False when there is nothing to undo or redo.
    bool undo();
    bool redo();

private:
    struct Step
    {
        bool editsFields = false;     // an edit; otherwise rows go in and out
        std::vector<quint32> ids;     // the step's rows in the list
        std::vector<PlacedEntry> out; // its rows out of the list, with their positions
        Entry otherFields;            // an edit: the fields the row does not hold now
    };
    void record(Step step);
    void swap(Step &step);
    void swapFields(Step &step);
    void swapRows(Step &step);

    EntryList &m_entries;
    std::vector<Step> m_undo;
    std::vector<Step> m_redo;
};

} // namespace wendaro
