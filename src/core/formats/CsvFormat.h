// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/formats/FileFormat.h"

#include <QList>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace wendaro {

// One record of a CSV text: its fields, unquoted.
struct CsvRecord
{
    QStringList fields;
    qsizetype line = 0; // where the record starts, counting LFs
    bool blank = false; // an empty line: one unquoted empty field
};

// Splits a CSV text into records. Inside quotes every character is data,
// CR and LF included; outside them a record ends at CR LF or LF. A lone CR
// outside quotes is refused (*error says where).
std::optional<QList<CsvRecord>> parseCsvRecords(QStringView text, QString *error);

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
