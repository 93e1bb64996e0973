// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/formats/XliffFormat.h"

#include "core/formats/XliffReader.h"
#include "core/formats/XliffWriter.h"

namespace wendaro {

XliffFormat::XliffFormat()
    : FileFormat({.shortName = QStringLiteral("xliff"),
                  .nameFilter = QStringLiteral("XLIFF (*.xlf *.xliff)"),
                  .suffixes = {QStringLiteral("xlf"), QStringLiteral("xliff")},
                  .capabilities = ReadsCatalogs | WritesCatalogs | WritesSuggestions})
{
}

bool XliffFormat::readCatalog(QByteArrayView data, TranslationCatalog &catalog, QString *error) const
{
    return XliffReader().read(data, catalog, error);
}

bool XliffFormat::writeCatalog(const TranslationCatalog &catalog, QByteArray &out, QString *error) const
{
    return XliffWriter().write(catalog, out, error);
}

} // namespace wendaro
