// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/compare/TableUpdate.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace wendaro {

namespace {

// Each index's position, or the repeated indexes when there are any.
QHash<RowIndex, qsizetype> positionsOf(const EntryList &rows, QList<RowIndex> &repeated)
{
    QHash<RowIndex, qsizetype> positions;
    positions.reserve(rows.count());
    QSet<RowIndex> twice;
    for (qsizetype p = 0; p < rows.count(); ++p) {
        RowIndex index = RowIndex::of(rows.at(p).indexText);
        if (positions.contains(index))
            twice.insert(index);
        else
            positions.insert(index, p);
    }
    repeated = twice.values();
    std::sort(repeated.begin(), repeated.end());
    return positions;
}

} // namespace

UpdateResult updateTranslation(const EntryList &oldOriginal, const EntryList &newOriginal, const EntryList &translation)
{
    UpdateResult result;
    const std::pair<const EntryList *, UpdateResult::Table> tables[] = {
        {&oldOriginal, UpdateResult::Table::OldOriginal},
        {&newOriginal, UpdateResult::Table::NewOriginal},
        {&translation, UpdateResult::Table::Translation},
    };
    QHash<RowIndex, qsizetype> positions[3];
    for (int t = 0; t < 3; ++t) {
        positions[t] = positionsOf(*tables[t].first, result.repeated);
        if (!result.repeated.isEmpty()) {
            result.refused = tables[t].second;
            return result;
        }
    }
    const QHash<RowIndex, qsizetype> &inOld = positions[0];
    const QHash<RowIndex, qsizetype> &inNew = positions[1];
    const QHash<RowIndex, qsizetype> &inTranslation = positions[2];

    for (qsizetype p = 0; p < newOriginal.count(); ++p) {
        Entry row = newOriginal.at(p);
        const RowIndex index = RowIndex::of(row.indexText);
        const qsizetype old = inOld.value(index, -1);
        const qsizetype translated = inTranslation.value(index, -1);
        UpdateItem item{index, row.name, row.value.toString(), {}, p};
        if (old < 0) {
            result.added.append(item);
        } else if (oldOriginal.at(old).value != row.value) {
            item.oldValue = oldOriginal.at(old).value.toString();
            result.changed.append(item);
        } else if (translated < 0) {
            result.untranslated.append(item);
        } else {
            row.name = translation.at(translated).name;
            row.value = translation.at(translated).value;
            ++result.carried;
        }
        // The new original's row key goes along; its keys are unique already.
        result.rows.append(std::move(row));
    }

    // A row of the translation whose index the old original holds too was
    // reported with the old original's row.
    for (const EntryList *rows : {&oldOriginal, &translation}) {
        for (qsizetype p = 0; p < rows->count(); ++p) {
            const Entry &row = rows->at(p);
            const RowIndex index = RowIndex::of(row.indexText);
            if (inNew.contains(index) || (rows == &translation && inOld.contains(index)))
                continue;
            result.removed.append({index, row.name, row.value.toString(), {}, p});
        }
    }
    return result;
}

} // namespace wendaro
