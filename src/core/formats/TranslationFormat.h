// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace wendaro {

struct TranslationCatalog;

// A file format of translation tools (PO, XLIFF, CSV) that a table is
// exported to and imported from. Like TableFormat, a format object keeps
// the description of its last failure, so each user takes its own.
class TranslationFormat
{
public:
    virtual ~TranslationFormat() = default;

    // The name a script uses for the format: "po", "xliff", "csv".
    virtual QString shortName() const = 0;
    // A file dialog's filter, e.g. "PO (*.po *.pot)".
    virtual QString nameFilter() const = 0;
    // The suffixes, lower-case and without the dot, that mark a file of this format.
    virtual QStringList suffixes() const = 0;

    // Appends the units of the file image to catalog. On failure returns
    // false and errorString() says what and where (line, unit, character).
    virtual bool read(QByteArrayView data, TranslationCatalog &catalog) = 0;
    // Builds the whole file image in out. A text the format cannot carry
    // is refused (out stays as it was) rather than written altered.
    virtual bool write(const TranslationCatalog &catalog, QByteArray &out) = 0;

    QString errorString() const { return m_error; }

protected:
    QString m_error;
};

} // namespace wendaro
