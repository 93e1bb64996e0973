// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/translation/TableImport.h"

#include "core/model/EntryList.h"
#include "core/translation/TableIndexes.h"
#include "core/translation/TranslationCatalog.h"

#include <QMap>

#include <optional>

namespace wendaro {

namespace {

// Every index that more than one unit carries, with the places of its units.
QString repeatedUnits(const TranslationCatalog &catalog)
{
    QHash<qint16, qsizetype> first;
    QMap<qint16, QStringList> places;
    for (qsizetype u = 0; u < catalog.units.size(); ++u) {
        const TranslationUnit &unit = catalog.units[u];
        const auto earlier = first.constFind(unit.index);
        if (earlier == first.cend()) {
            first.insert(unit.index, u);
            continue;
        }
        QStringList &list = places[unit.index];
        if (list.isEmpty())
            list << catalog.units[*earlier].place;
        list << unit.place;
    }
    QStringList parts;
    for (auto it = places.cbegin(); it != places.cend(); ++it)
        parts << QStringLiteral("%1（%2）").arg(it.key()).arg(it.value().join(QStringLiteral("、")));
    return parts.join(QStringLiteral("、"));
}

} // namespace

bool importCatalog(EntryList &table, const QString &tableName, const TranslationCatalog &catalog,
                   const QString &catalogName, const EntryList *original, const QString &originalName,
                   const ImportOptions &options, ImportReport &report, QString *error)
{
    report = ImportReport();
    const std::optional<TableIndexes> indexes = tableIndexes(table, tableName, error);
    if (!indexes)
        return false;
    std::optional<TableIndexes> originalIndexes;
    if (original) {
        originalIndexes = tableIndexes(*original, originalName, error);
        if (!originalIndexes)
            return false;
    }
    const QString repeated = repeatedUnits(catalog);
    if (!repeated.isEmpty()) {
        *error = QStringLiteral("%1で同じインデックスが複数の項目にあります: %2。どれを取り込むか決められません。")
                     .arg(catalogName, repeated);
        return false;
    }
    for (const TranslationUnit &unit : catalog.units) {
        if (!indexes->positionOf.contains(unit.index))
            report.extra.append(unit.index);
    }
    if (!report.extra.isEmpty() && !options.ignoreExtra) {
        *error = QStringLiteral("%1のインデックス %2 の項目は%3にありません。")
                     .arg(catalogName, indexListText(report.extra), tableName);
        return false;
    }

    for (const TranslationUnit &unit : catalog.units) {
        const qsizetype position = indexes->positionOf.value(unit.index, -1);
        if (position < 0)
            continue;
        if (!unit.translated) {
            ++report.untranslated;
            continue;
        }
        bool fuzzy = unit.fuzzy;
        if (original && catalog.hasSource) {
            const qsizetype at = originalIndexes->positionOf.value(unit.index, -1);
            if (at < 0 || original->at(at).value != unit.source) {
                report.sourceChanged.append(unit.index);
                fuzzy = true;
            }
        }
        if (fuzzy && !options.takeFuzzy) {
            ++report.fuzzySkipped;
            continue;
        }
        const Entry &entry = table.at(position);
        const bool newValue = entry.value != unit.target;
        const bool newName = unit.hasName && entry.name != unit.name;
        if (newValue)
            table.setValue(position, unit.target);
        if (newName)
            table.setName(position, unit.name);
        ++(newValue || newName ? report.updated : report.unchanged);
    }
    return true;
}

} // namespace wendaro
