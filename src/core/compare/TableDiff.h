// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/compare/RowIndex.h"

#include "core/model/EntryList.h"

#include <QList>
#include <QString>

namespace wendaro {

// One difference between table A (the old one) and table B (the new one).
struct TableChange
{
    enum class Kind {
        Added,   // a row of B that A has not
        Removed, // a row of A that B has not
        Changed, // the same row with another name, value or both
        Moved,   // the same row elsewhere in the order (only when order counts)
    };
    Kind kind = Kind::Changed;
    RowIndex index;
    // Which row of those with this index: 1 for the first. A table may hold
    // one index several times; the n-th of A pairs with the n-th of B.
    int occurrence = 1;
    bool nameChanged = false;  // Changed only
    bool valueChanged = false; // Changed only
    QString oldName;           // the row in A: Removed, Changed, Moved
    QString oldValue;
    QString name; // the row in B: Added, Changed, Moved
    QString value;
    qsizetype oldPosition = -1; // the row's position in A; -1 for Added
    qsizetype position = -1;    // the row's position in B; -1 for Removed
};

// An index that one of the tables holds more than once.
struct RepeatedIndex
{
    RowIndex index;
    qsizetype countA = 0;
    qsizetype countB = 0;
};

struct TableDiff
{
    // Sorted by index, then occurrence; a row both changed and moved gives
    // its Changed before its Moved.
    QList<TableChange> changes;
    QList<RepeatedIndex> repeated; // sorted by index
    qsizetype added = 0;
    qsizetype removed = 0;
    qsizetype changed = 0;
    qsizetype moved = 0;
};

// Compares the rows of a and b by index (see RowIndex), in time linear in
// the rows. With order, the rows that both tables hold must also stand in
// the same order: the fewest rows whose moving turns A's order into B's are
// reported as moved (the others keep their order, a longest common run),
// in n log n time. Rows added or removed move nothing.
TableDiff compareTables(const EntryList &a, const EntryList &b, bool order);

} // namespace wendaro
