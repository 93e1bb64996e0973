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
    for (qsizetype p = 1; p <= rows.count(); ++p)
        indexes.push_back(RowIndex::of(rows.at(p).indexText));
    return indexes;
}

// The positions in pairs (as B's positions, in A's order) that lie on one
// longest increasing run; the others are the rows that moved.
std::vector<bool> longestRun(const std::vector<qsizetype> &positions)
{
    std::vector<size_t> tails;                          // tails[k]: the item ending the best run of length k + 1
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

} // namespace

TableDiff compareTables(const EntryList &a, const EntryList &b, bool order)
{
    const std::vector<RowIndex> indexesA = indexesOf(a);
    const std::vector<RowIndex> indexesB = indexesOf(b);

    QHash<RowIndex, Rows> byIndex;
    byIndex.reserve(qsizetype(indexesB.size() + indexesA.size() / 8));
    std::vector<qsizetype> nextOfB(indexesB.size(), -1);
    std::vector<int> occurrenceInB(indexesB.size(), 0);
    for (size_t j = 0; j < indexesB.size(); ++j) {
        Rows &rows = byIndex[indexesB[j]];
        if (rows.countB == 0)
            rows.nextB = qsizetype(j);
        else
            nextOfB[size_t(rows.lastB)] = qsizetype(j);
        rows.lastB = qsizetype(j);
        occurrenceInB[j] = int(++rows.countB);
    }

    TableDiff diff;
    std::vector<bool> pairedB(indexesB.size(), false);
    std::vector<qsizetype> pairedPositions;  // B's row for each paired row of A, in A's order
    std::vector<size_t> pairedRowsOfA;       // the row of A of each pair
    std::vector<int> pairedOccurrence;
    pairedPositions.reserve(std::min(indexesA.size(), indexesB.size()));
    for (size_t i = 0; i < indexesA.size(); ++i) {
        Rows &rows = byIndex[indexesA[i]];
        const int occurrence = int(++rows.countA);
        const Entry &old = a.at(qsizetype(i) + 1);
        TableChange change;
        change.index = indexesA[i];
        change.occurrence = occurrence;
        change.oldName = old.name;
        change.oldValue = old.value.toString();
        change.oldPosition = qsizetype(i) + 1;
        if (rows.nextB < 0) {
            change.kind = TableChange::Kind::Removed;
            diff.changes.append(std::move(change));
            ++diff.removed;
            continue;
        }
        const qsizetype j = rows.nextB;
        rows.nextB = nextOfB[size_t(j)];
        pairedB[size_t(j)] = true;
        pairedPositions.push_back(j);
        pairedRowsOfA.push_back(i);
        pairedOccurrence.push_back(occurrence);
        const Entry &now = b.at(j + 1);
        change.nameChanged = old.name != now.name;
        change.valueChanged = old.value != now.value;
        if (change.nameChanged || change.valueChanged) {
            change.kind = TableChange::Kind::Changed;
            change.name = now.name;
            change.value = now.value.toString();
            change.position = j + 1;
            diff.changes.append(std::move(change));
            ++diff.changed;
        }
    }
    for (size_t j = 0; j < indexesB.size(); ++j) {
        if (pairedB[j])
            continue;
        const Entry &now = b.at(qsizetype(j) + 1);
        TableChange change;
        change.kind = TableChange::Kind::Added;
        change.index = indexesB[j];
        change.occurrence = occurrenceInB[j];
        change.name = now.name;
        change.value = now.value.toString();
        change.position = qsizetype(j) + 1;
        diff.changes.append(std::move(change));
        ++diff.added;
    }

    if (order) {
        const std::vector<bool> kept = longestRun(pairedPositions);
        for (size_t k = 0; k < kept.size(); ++k) {
            if (kept[k])
                continue;
            const size_t i = pairedRowsOfA[k];
            const qsizetype j = pairedPositions[k];
            TableChange change;
            change.kind = TableChange::Kind::Moved;
            change.index = indexesA[i];
            change.occurrence = pairedOccurrence[k];
            change.oldName = a.at(qsizetype(i) + 1).name;
            change.oldValue = a.at(qsizetype(i) + 1).value.toString();
            change.name = b.at(j + 1).name;
            change.value = b.at(j + 1).value.toString();
            change.oldPosition = qsizetype(i) + 1;
            change.position = j + 1;
            diff.changes.append(std::move(change));
            ++diff.moved;
        }
    }

    // Kind decides only between a row's Changed and its Moved: one row is
    // never both added and removed.
    std::stable_sort(diff.changes.begin(), diff.changes.end(), [](const TableChange &x, const TableChange &y) {
        if (!(x.index == y.index))
            return x.index < y.index;
        if (x.occurrence != y.occurrence)
            return x.occurrence < y.occurrence;
        return x.kind < y.kind;
    });

    for (auto it = byIndex.cbegin(); it != byIndex.cend(); ++it) {
        if (it->countA > 1 || it->countB > 1)
            diff.repeated.append({it.key(), it->countA, it->countB});
    }
    std::sort(diff.repeated.begin(), diff.repeated.end(),
              [](const RepeatedIndex &x, const RepeatedIndex &y) { return x.index < y.index; });
    return diff;
}

} // namespace wendaro
