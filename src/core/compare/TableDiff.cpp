// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/compare/TableDiff.h"

#include <QHash>

#include <algorithm>
#include <vector>

namespace wendaro {

namespace {

// The rows of one index in both tables. B's rows are chained in order so
// that the n-th row of A finds the n-th of B without a search.
struct Rows
{
    qsizetype countA = 0;
    qsizetype countB = 0;
    qsizetype lastB = -1;
    qsizetype nextB = -1; // the first row of B not yet paired
};

std::vector<RowIndex> indexesOf(const EntryList &rows)
{
    std::vector<RowIndex> indexes;
    indexes.reserve(size_t(rows.count()));
    for (qsizetype p = 0; p < rows.count(); ++p)
        indexes.push_back(RowIndex::of(rows.at(p).indexText));
    return indexes;
}

// The positions in pairs (as B's positions, in A's order) that lie on one
// longest increasing run; the others are the rows that moved.
std::vector<bool> longestRun(const std::vector<qsizetype> &positions)
{
    std::vector<size_t> tails;                              // tails[k]: the item ending the best run of length k + 1
    std::vector<size_t> before(positions.size(), SIZE_MAX); // the item before each in its run
    for (size_t i = 0; i < positions.size(); ++i) {
        const auto at = std::lower_bound(tails.begin(), tails.end(), positions[i],
                                         [&](size_t t, qsizetype p) { return positions[t] < p; });
        if (at != tails.begin())
            before[i] = *(at - 1);
        if (at == tails.end())
            tails.push_back(i);
        else
            *at = i;
    }
    std::vector<bool> onRun(positions.size(), false);
    for (size_t i = tails.empty() ? SIZE_MAX : tails.back(); i != SIZE_MAX; i = before[i])
        onRun[i] = true;
    return onRun;
}

// Each index with its rows in both tables, B's rows chained in order.
struct IndexedRows
{
    QHash<RowIndex, Rows> byIndex;
    std::vector<qsizetype> nextOfB; // the next row of B with the same index, or -1
    std::vector<int> occurrenceInB; // which row of its index each row of B is, from 1
};

IndexedRows chainRowsOfB(const std::vector<RowIndex> &indexesB, size_t rowsOfA)
{
    IndexedRows indexed;
    // One entry for each index of either table: all of B's, and those of A
    // that B lacks. Two versions of one table share most of their indexes,
    // so an eighth of A is the guess for those; a wrong guess costs one
    // rehash, and reserving all of A would double the table for nothing.
    indexed.byIndex.reserve(qsizetype(indexesB.size() + rowsOfA / 8));
    indexed.nextOfB.assign(indexesB.size(), -1);
    indexed.occurrenceInB.assign(indexesB.size(), 0);
    for (size_t j = 0; j < indexesB.size(); ++j) {
        Rows &rows = indexed.byIndex[indexesB[j]];
        if (rows.countB == 0)
            rows.nextB = qsizetype(j);
        else
            indexed.nextOfB[size_t(rows.lastB)] = qsizetype(j);
        rows.lastB = qsizetype(j);
        indexed.occurrenceInB[j] = int(++rows.countB);
    }
    return indexed;
}

// The rows of A that found their row in B.
struct Pairs
{
    std::vector<bool> pairedB;        // for each row of B
    std::vector<qsizetype> positions; // B's row for each paired row of A, in A's order
    std::vector<size_t> rowsOfA;      // the row of A of each pair
    std::vector<int> occurrences;     // the occurrence of each pair's index
};

// Pairs the n-th row of A of an index with the n-th of B, and appends the
// rows of A that B lacks as removed and the pairs that differ as changed.
Pairs pairRows(const EntryList &a, const EntryList &b, const std::vector<RowIndex> &indexesA, IndexedRows &indexed,
               TableDiff &diff)
{
    Pairs pairs;
    pairs.pairedB.assign(indexed.nextOfB.size(), false);
    pairs.positions.reserve(std::min(indexesA.size(), indexed.nextOfB.size()));
    for (size_t i = 0; i < indexesA.size(); ++i) {
        Rows &rows = indexed.byIndex[indexesA[i]];
        const int occurrence = int(++rows.countA);
        const Entry &old = a.at(qsizetype(i));
        TableChange change;
        change.index = indexesA[i];
        change.occurrence = occurrence;
        change.oldName = old.name;
        change.oldValue = old.value.toString();
        change.oldPosition = qsizetype(i);
        if (rows.nextB < 0) {
            change.kind = TableChange::Kind::Removed;
            diff.changes.append(std::move(change));
            ++diff.removed;
            continue;
        }
        const qsizetype j = rows.nextB;
        rows.nextB = indexed.nextOfB[size_t(j)];
        pairs.pairedB[size_t(j)] = true;
        pairs.positions.push_back(j);
        pairs.rowsOfA.push_back(i);
        pairs.occurrences.push_back(occurrence);
        const Entry &now = b.at(j);
        change.nameChanged = old.name != now.name;
        change.valueChanged = old.value != now.value;
        if (change.nameChanged || change.valueChanged) {
            change.kind = TableChange::Kind::Changed;
            change.name = now.name;
            change.value = now.value.toString();
            change.position = j;
            diff.changes.append(std::move(change));
            ++diff.changed;
        }
    }
    return pairs;
}

// The rows of B that no row of A paired with.
void appendAdded(const EntryList &b, const std::vector<RowIndex> &indexesB, const IndexedRows &indexed,
                 const Pairs &pairs, TableDiff &diff)
{
    for (size_t j = 0; j < indexesB.size(); ++j) {
        if (pairs.pairedB[j])
            continue;
        const Entry &now = b.at(qsizetype(j));
        TableChange change;
        change.kind = TableChange::Kind::Added;
        change.index = indexesB[j];
        change.occurrence = indexed.occurrenceInB[j];
        change.name = now.name;
        change.value = now.value.toString();
        change.position = qsizetype(j);
        diff.changes.append(std::move(change));
        ++diff.added;
    }
}

// The pairs that lie off one longest run of B's positions in A's order:
// the fewest rows whose moving gives B's order.
void appendMoved(const EntryList &a, const EntryList &b, const std::vector<RowIndex> &indexesA, const Pairs &pairs,
                 TableDiff &diff)
{
    const std::vector<bool> kept = longestRun(pairs.positions);
    for (size_t k = 0; k < kept.size(); ++k) {
        if (kept[k])
            continue;
        const size_t i = pairs.rowsOfA[k];
        const qsizetype j = pairs.positions[k];
        TableChange change;
        change.kind = TableChange::Kind::Moved;
        change.index = indexesA[i];
        change.occurrence = pairs.occurrences[k];
        change.oldName = a.at(qsizetype(i)).name;
        change.oldValue = a.at(qsizetype(i)).value.toString();
        change.name = b.at(j).name;
        change.value = b.at(j).value.toString();
        change.oldPosition = qsizetype(i);
        change.position = j;
        diff.changes.append(std::move(change));
        ++diff.moved;
    }
}

// The indexes that either table holds more than once, in their order.
QList<RepeatedIndex> repeatedIndexes(const QHash<RowIndex, Rows> &byIndex)
{
    QList<RepeatedIndex> repeated;
    for (auto it = byIndex.cbegin(); it != byIndex.cend(); ++it) {
        if (it->countA > 1 || it->countB > 1)
            repeated.append({it.key(), it->countA, it->countB});
    }
    std::sort(repeated.begin(), repeated.end(),
              [](const RepeatedIndex &x, const RepeatedIndex &y) { return x.index < y.index; });
    return repeated;
}

} // namespace

TableDiff compareTables(const EntryList &a, const EntryList &b, bool order)
{
    const std::vector<RowIndex> indexesA = indexesOf(a);
    const std::vector<RowIndex> indexesB = indexesOf(b);
    IndexedRows indexed = chainRowsOfB(indexesB, indexesA.size());

    TableDiff diff;
    const Pairs pairs = pairRows(a, b, indexesA, indexed, diff);
    appendAdded(b, indexesB, indexed, pairs, diff);
    if (order)
        appendMoved(a, b, indexesA, pairs, diff);

    // Kind decides only between a row's Changed and its Moved: one row is
    // never both added and removed.
    std::stable_sort(diff.changes.begin(), diff.changes.end(), [](const TableChange &x, const TableChange &y) {
        if (!(x.index == y.index))
            return x.index < y.index;
        if (x.occurrence != y.occurrence)
            return x.occurrence < y.occurrence;
        return x.kind < y.kind;
    });
    diff.repeated = repeatedIndexes(indexed.byIndex);
    return diff;
}

} // namespace wendaro
