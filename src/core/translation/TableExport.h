// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/translation/TranslationCatalog.h"

#include <QList>
#include <QString>

#include <optional>

namespace wendaro {

class EntryList;

struct ExportResult
{
    TranslationCatalog catalog;
    // Entries of the table whose index the original lacks: with no source
    // to translate from they are left out of the catalog (and stay in the
    // table as they are on import).
    QList<qint16> notInOriginal;
};

// The catalog of a table, in the table's row order. Without an original it
// is a template: the table's values are the sources and no unit is
// translated. With one, the source of each entry is the original's value
// of the same index and the table's value is the translation; an empty
// value counts as not translated. Nullopt with *error when either table
// holds an index text that is no index or a repeated index; the names are
// how the messages call the two tables.
std::optional<ExportResult> exportCatalog(const EntryList &table, const QString &tableName, const EntryList *original,
                                          const QString &originalName, QString *error);

} // namespace wendaro
