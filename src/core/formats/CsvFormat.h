// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/formats/FileFormat.h"

namespace wendaro {

// Comma-separated values for spreadsheets: UTF-8 with a byte-order mark,
// CR LF after every record, a header row naming the columns Index, Name,
// Value, and Source before Value when the catalog has translations. Text
// fields are always quoted, the index never. Unlike
// PO and XLIFF the file holds the table itself, not a translator's view: a
// value stands in it exactly as the list holds it, "<br>" included, and a
// lone CR or LF stays a character inside its quoted field.
class CsvFormat final : public FileFormat
{
public:
    CsvFormat();
    // Finds the columns by their header names, in any case and order, and
    // ignores columns it does not know. Every row is a translated unit; the
    // Name column, when there, gives every unit its name. A CR LF inside a
    // value or source reads as "<br>", as a table file's line break does.
    bool readCatalog(QByteArrayView data, TranslationCatalog &catalog, QString *error) const override;
    bool writeCatalog(const TranslationCatalog &catalog, QByteArray &out, QString *error) const override;
};

} // namespace wendaro
