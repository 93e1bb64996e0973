// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

namespace wendaro {

class EntryList;
struct TranslationCatalog;

struct ImportOptions
{
    bool takeFuzzy = false;   // take units marked fuzzy (and those of another original) too
    bool ignoreExtra = false; // units whose index the table lacks are skipped, not an error
};

struct ImportReport
{
    qsizetype updated = 0;      // entries whose value or name changed
    qsizetype unchanged = 0;    // translations taken that the table already held
    qsizetype untranslated = 0; // units without a translation: the entry kept its value
    qsizetype fuzzySkipped = 0; // fuzzy units, and those of another original, left out
    QList<qint16> extra;        // indexes of the catalog that the table lacks
    // Translated units whose source is not the original's current value of
    // their index (or whose index the original lacks): translated from
    // another version, so they count as fuzzy.
    QList<qint16> sourceChanged;
};

// Puts the catalog's translations into the table. Only entries the table
// has change: the value becomes the unit's target when the unit is
// translated and not fuzzy (or takeFuzzy), and the name becomes the unit's
// when the file carries names. With an original, a unit carrying a source
// is checked against it (see sourceChanged).
//
// Refused, with the table untouched and *error saying why: a table or an
// original without unique indexes, an index repeated in the catalog, and,
// without ignoreExtra, catalog indexes the table lacks (listed in
// report.extra). The names are how the messages call the three inputs.
bool importCatalog(EntryList &table, const QString &tableName, const TranslationCatalog &catalog,
                   const QString &catalogName, const EntryList *original, const QString &originalName,
                   const ImportOptions &options, ImportReport &report, QString *error);

} // namespace wendaro
