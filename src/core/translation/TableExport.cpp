// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/translation/TableExport.h"

#include "core/model/EntryList.h"
#include "core/translation/TableIndexes.h"

namespace wendaro {

std::optional<ExportResult> exportCatalog(const EntryList &table, const QString &tableName, const EntryList *original,
                                          const QString &originalName, QString *error)
{
    const std::optional<TableIndexes> indexes = tableIndexes(table, tableName, error);
    if (!indexes)
        return std::nullopt;
    std::optional<TableIndexes> originalIndexes;
    if (original) {
        originalIndexes = tableIndexes(*original, originalName, error);
        if (!originalIndexes)
            return std::nullopt;
    }

    ExportResult result;
    result.catalog.isTemplate = original == nullptr;
    for (qsizetype p = 0; p < table.count(); ++p) {
        const Entry &entry = table.at(p);
        TranslationUnit unit;
        unit.index = indexes->byPosition[p];
        unit.name = entry.name;
        unit.hasName = true;
        if (original) {
            const qsizetype at = originalIndexes->positionOf.value(unit.index, -1);
            if (at < 0) {
                result.notInOriginal.append(unit.index);
                continue;
            }
            unit.source = original->at(at).value.toString();
            unit.target = entry.value.toString();
            unit.translated = !entry.value.isEmpty();
        } else {
            unit.source = entry.value.toString();
        }
        result.catalog.units.append(unit);
    }
    return result;
}

} // namespace wendaro
