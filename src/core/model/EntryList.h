// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/Entry.h"

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace wendaro {

class EntryListObserver;
class RowChangeRecorder;

// Row positions by row key, -1 for a key without one: a slot for every
// 16-bit key, in blocks of 256 keys made as keys arrive, so that reading a
// table costs no hashing and no allocation per row, and a small table no
// more than a few blocks.
class KeyPositions
{
public:
    qsizetype value(qint16 key) const
    {
        const auto &block = m_blocks[quint16(key) >> 8];
        return block ? (*block)[quint16(key) & 0xFF] : -1;
    }
    void insert(qint16 key, qsizetype position)
    {
        auto &block = m_blocks[quint16(key) >> 8];
        if (!block) {
            block = std::make_unique_for_overwrite<std::array<qint32, 256>>();
            block->fill(-1);
        }
        (*block)[quint16(key) & 0xFF] = qint32(position);
    }
    void clear()
    {
        for (auto &block : m_blocks)
            block.reset();
    }

private:
    std::array<std::unique_ptr<std::array<qint32, 256>>, 256> m_blocks;
};

// A row and the position it is to have.
struct PlacedEntry
{
    qsizetype position = 0;
    Entry entry;
};

// The row's own columns, and two that a translation shows beside them (the
// original's value and the row's state), whose texts the sort is given.
enum class SortColumn { IndexText = 0, Name = 1, Value = 2, Original = 3, State = 4 };
enum class SortOrder { Ascending = 0, Descending = 1 };

// The string table being edited: rows in display order, as the list control
// holds them. Positions count from 0 up to count() - 1; -1 stands for "no
// row". Only what a person reads (a message, a line number) counts from 1.
//
// The list keeps what the list control keeps besides the rows: the unique row
// keys and the sort state (the selected row is the window's). Setting sorted
// to true orders the rows now; rows appended or changed afterwards stay where
// they are until the next sort.
class EntryList
{
public:
    EntryList() = default;
    EntryList(const EntryList &) = delete;
    EntryList &operator=(const EntryList &) = delete;
    EntryList(EntryList &&other) noexcept;
    EntryList &operator=(EntryList &&other) noexcept;
    ~EntryList() = default;

    void setObserver(EntryListObserver *observer) { m_observer = observer; }
    // Told of every change besides the observer; it stays with this list
    // when another is moved into it.
    void setRecorder(RowChangeRecorder *recorder) { m_recorder = recorder; }

    qsizetype count() const { return qsizetype(m_rows.size()); }
    bool isEmpty() const { return m_rows.empty(); }
    const Entry &at(qsizetype position) const;

    // Appends a row with empty name and value. Returns its position, or -1
    // when another row already has the key (nothing is appended then).
    qsizetype append(const QString &indexText, std::optional<qint16> key = std::nullopt);
    // Appends a whole row; returns -1 when its key is already taken.
    qsizetype append(Entry entry);

    // Makes room for this many rows in all, so that appending them moves none.
    void reserve(qsizetype rows) { m_rows.reserve(size_t(rows)); }

    // Changes with every change of the rows (added, changed, removed, moved):
    // work done on the rows as they were can tell
    // that it is out of date.
    quint64 revision() const { return m_revision; }

    // The position of the row with this key, or -1. Constant time.
    qsizetype positionOfKey(qint16 key) const;

    void setIndexText(qsizetype position, const QString &text);
    void setName(qsizetype position, const QString &name);
    void setValue(qsizetype position, ValueText value);

    // The row's id, given now if it has none: it stays with the row through
    // sorts, inserts and removals, so that a row can be found again.
    quint32 identify(qsizetype position);
    // The positions of the rows with these ids, ascending; ids no row has
    // are left out. One pass over the rows.
    std::vector<qsizetype> positionsOf(const std::vector<quint32> &ids) const;
    // Puts rows in, each at the position it names in the list they make;
    // positions ascending. Rows keep their ids and keys, but a key that
    // another row holds by now is dropped.
    void insertRows(std::vector<PlacedEntry> rows);
    // Takes out the rows at these positions (ascending) and hands them back
    // with their positions; the others keep their order.
    std::vector<PlacedEntry> takeRows(const std::vector<qsizetype> &positions);
    // Removes every row; the sort state stays.
    void clear();
    // Takes over every row of source (its keys included) in one change;
    // this list's sort state and observer stay.
    void replaceRows(EntryList &&source);

    SortColumn sortKey() const { return m_sortKey; }
    void setSortKey(SortColumn column) { m_sortKey = column; }
    SortOrder sortOrder() const { return m_sortOrder; }
    void setSortOrder(SortOrder order) { m_sortOrder = order; }
    bool isSorted() const { return m_sorted; }
    // True sorts the rows now by the sort key's text, stable and ignoring case.
    void setSorted(bool sorted);
    // The order setSorted(true) would put the rows in, as the present
    // position of each row in turn. It only reads the rows, so it
    // may run on another thread while this one shows them unchanged.
    // otherText gives a row's text for a column that is not the row's own.
    std::vector<qsizetype> sortedOrder(const std::function<QString(qsizetype position)> &otherText = {}) const;
    // Puts the rows in an order sortedOrder() gave for them and marks the
    // list sorted; an order of another row count is ignored.
    void applySortedOrder(const std::vector<qsizetype> &order);

private:
    void rebuildKeyIndex() const;
    void checkPosition(qsizetype position) const;
    // Tells the observer of rows put in or taken out: one run as such, more
    // as a reset.
    void aboutToChange(const std::vector<qsizetype> &positions, bool inserting);
    void changed(const std::vector<qsizetype> &positions, bool inserting);

    std::vector<Entry> m_rows;
    mutable KeyPositions m_positionOfKey;
    mutable bool m_keyIndexStale = false;
    SortColumn m_sortKey = SortColumn::IndexText;
    SortOrder m_sortOrder = SortOrder::Ascending;
    bool m_sorted = false;
    quint32 m_lastId = 0;
    quint64 m_revision = 0;
    EntryListObserver *m_observer = nullptr;
    RowChangeRecorder *m_recorder = nullptr;
};

} // namespace wendaro
