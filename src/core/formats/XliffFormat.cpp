// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/formats/XliffFormat.h"

#include "core/formats/XliffReader.h"
#include "core/formats/XliffWriter.h"

namespace wendaro {

QString XliffFormat::shortName() const
{
    return QStringLiteral("xliff");
}

QString XliffFormat::nameFilter() const
{
    return QStringLiteral("XLIFF (*.xlf *.xliff)");
}

QStringList XliffFormat::suffixes() const
{
    return {QStringLiteral("xlf"), QStringLiteral("xliff")};
}

FileFormat::Capabilities XliffFormat::capabilities() const
{
    return ReadsCatalogs | WritesCatalogs;
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
