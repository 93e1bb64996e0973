// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/compare/TableMerge.h"

#include "core/translation/TableIndexes.h"

#include <QHash>

#include <algorithm>
#include <array>

namespace wendaro {

namespace {

enum class Pick { Ours, Theirs, Conflict };

// The three-way rule for one field; a null base is a field that both added.
template<typename Text>
Pick pick(const Text *base, const Text &ours, const Text &theirs)
{
    if (ours == theirs)
        return Pick::Ours;
    if (base && ours == *base)
        return Pick::Theirs;
    if (base && theirs == *base)
        return Pick::Ours;
    return Pick::Conflict;
}

// The three rows of one index, null where a table lacks it.
struct Rows
{
    qint16 index = 0;
    const Entry *base = nullptr;
    const Entry *ours = nullptr;
    const Entry *theirs = nullptr;
};

std::optional<QString> nameOf(const Entry *row)
{
    return row ? std::optional<QString>(row->name) : std::nullopt;
}

std::optional<QString> valueOf(const Entry *row)
{
    return row ? std::optional<QString>(row->value.toString()) : std::nullopt;
}

class Merger
{
public:
    Merger(MergeSide preferred, QList<MergeConflict> &conflicts) : m_preferred(preferred), m_conflicts(conflicts) {}

    QString field(MergeConflict::Field which, const QString &base, const QString &ours, const QString &theirs);
    std::optional<Entry> row(const Rows &rows);

private:
    Entry keptByBoth(const Rows &rows);
    std::optional<Entry> keptByOne(const Rows &rows, const Entry *kept, MergeSide keeper);
    void conflict(const Rows &rows, MergeConflict::Field field, MergeConflict::Kind kind);

    MergeSide m_preferred;
    QList<MergeConflict> &m_conflicts;
};

QString Merger::field(MergeConflict::Field which, const QString &base, const QString &ours, const QString &theirs)
{
    const Pick picked = pick(&base, ours, theirs);
    if (picked == Pick::Conflict)
        m_conflicts.append({which, MergeConflict::Kind::Changed, std::nullopt, {}, base, ours, theirs});
    const bool takeTheirs = picked == Pick::Theirs || (picked == Pick::Conflict && m_preferred == MergeSide::Theirs);
    return takeTheirs ? theirs : ours;
}

void Merger::conflict(const Rows &rows, MergeConflict::Field field, MergeConflict::Kind kind)
{
    const bool name = field == MergeConflict::Field::Name;
    const auto text = name ? nameOf : valueOf;
    const Entry *named = rows.ours ? rows.ours : rows.theirs;
    m_conflicts.append({field, kind, rows.index, named->name, text(rows.base), text(rows.ours), text(rows.theirs)});
}

Entry Merger::keptByBoth(const Rows &rows)
{
    Entry merged = *rows.ours;
    const auto kind = rows.base ? MergeConflict::Kind::Changed : MergeConflict::Kind::Added;
    const bool theirsWins = m_preferred == MergeSide::Theirs;
    const Pick name = pick(rows.base ? &rows.base->name : nullptr, rows.ours->name, rows.theirs->name);
    if (name == Pick::Conflict)
        conflict(rows, MergeConflict::Field::Name, kind);
    if (name == Pick::Theirs || (name == Pick::Conflict && theirsWins))
        merged.name = rows.theirs->name;
    const Pick value = pick(rows.base ? &rows.base->value : nullptr, rows.ours->value, rows.theirs->value);
    if (value == Pick::Conflict)
        conflict(rows, MergeConflict::Field::Value, kind);
    if (value == Pick::Theirs || (value == Pick::Conflict && theirsWins))
        merged.value = rows.theirs->value;
    return merged;
}

// An entry that one side holds and the other has not: added, removed as
// the base had it, or removed on one side and changed on the other.
std::optional<Entry> Merger::keptByOne(const Rows &rows, const Entry *kept, MergeSide keeper)
{
    if (!rows.base)
        return *kept;
    const bool nameChanged = kept->name != rows.base->name;
    const bool valueChanged = !(kept->value == rows.base->value);
    if (!nameChanged && !valueChanged)
        return std::nullopt;
    const auto kind = keeper == MergeSide::Ours ? MergeConflict::Kind::RemovedInTheirs
                                                : MergeConflict::Kind::RemovedInOurs;
    if (nameChanged)
        conflict(rows, MergeConflict::Field::Name, kind);
    if (valueChanged)
        conflict(rows, MergeConflict::Field::Value, kind);
    return keeper == m_preferred ? std::optional<Entry>(*kept) : std::nullopt;
}

std::optional<Entry> Merger::row(const Rows &rows)
{
    if (rows.ours && rows.theirs)
        return keptByBoth(rows);
    if (rows.ours)
        return keptByOne(rows, rows.ours, MergeSide::Ours);
    if (rows.theirs)
        return keptByOne(rows, rows.theirs, MergeSide::Theirs);
    return std::nullopt;
}

const Entry *rowOf(const MergeInput &table, const TableIndexes &indexes, qint16 index)
{
    const qsizetype position = indexes.positionOf.value(index, -1);
    return position < 0 ? nullptr : &table.rows->at(position);
}

TextFields mergeFields(const MergeInput &base, const MergeInput &ours, const MergeInput &theirs, Merger &merger)
{
    const TextFields none;
    const TextFields &inBase = base.fields ? *base.fields : none;
    const TextFields &inOurs = ours.fields ? *ours.fields : inBase;
    const TextFields &inTheirs = theirs.fields ? *theirs.fields : inBase;
    TextFields merged;
    merged.outputFile = merger.field(MergeConflict::Field::OutputFile, inBase.outputFile, inOurs.outputFile,
                                     inTheirs.outputFile);
    merged.memo = merger.field(MergeConflict::Field::Memo, inBase.memo, inOurs.memo, inTheirs.memo);
    return merged;
}

// Every index of the three tables, sorted.
QList<qint16> allIndexes(const std::array<TableIndexes, 3> &indexes)
{
    QList<qint16> all;
    for (const TableIndexes &table : indexes)
        all += table.byPosition;
    std::sort(all.begin(), all.end());
    all.erase(std::unique(all.begin(), all.end()), all.end());
    return all;
}

// Lays the merged rows out: OURS' order, and each row OURS has not after
// the nearest row before it in THEIRS that is laid out by OURS.
EntryList ordered(QHash<qint16, Entry> &merged, const TableIndexes &ours, const TableIndexes &theirs)
{
    QList<qint16> atStart;
    QHash<qint16, QList<qint16>> after;
    std::optional<qint16> anchor;
    for (const qint16 index : theirs.byPosition) {
        if (!merged.contains(index))
            continue;
        if (ours.positionOf.contains(index))
            anchor = index;
        else
            (anchor ? after[*anchor] : atStart).append(index);
    }
    EntryList rows;
    rows.reserve(merged.size());
    const auto put = [&](qint16 index) { rows.append(std::move(merged[index])); };
    std::for_each(atStart.cbegin(), atStart.cend(), put);
    for (const qint16 index : ours.byPosition) {
        if (!merged.contains(index))
            continue;
        put(index);
        const QList<qint16> following = after.value(index);
        std::for_each(following.cbegin(), following.cend(), put);
    }
    return rows;
}

} // namespace

std::optional<MergeResult> mergeTables(const MergeInput &base, const MergeInput &ours, const MergeInput &theirs,
                                       MergeSide preferred, QString *error)
{
    std::array<TableIndexes, 3> indexes;
    const MergeInput *tables[] = {&base, &ours, &theirs};
    for (int t = 0; t < 3; ++t) {
        std::optional<TableIndexes> found = tableIndexes(*tables[t]->rows, tables[t]->name, error);
        if (!found)
            return std::nullopt;
        indexes[t] = std::move(*found);
    }

    MergeResult result;
    Merger merger(preferred, result.conflicts);
    result.fields = mergeFields(base, ours, theirs, merger);
    QHash<qint16, Entry> merged;
    merged.reserve(ours.rows->count() + theirs.rows->count());
    for (const qint16 index : allIndexes(indexes)) {
        const Rows rows{index, rowOf(base, indexes[0], index), rowOf(ours, indexes[1], index),
                        rowOf(theirs, indexes[2], index)};
        if (std::optional<Entry> row = merger.row(rows))
            merged.emplace(index, std::move(*row));
    }
    result.rows = ordered(merged, indexes[1], indexes[2]);
    return result;
}

} // namespace wendaro
