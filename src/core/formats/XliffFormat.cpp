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

bool XliffFormat::read(QByteArrayView data, TranslationCatalog &catalog)
{
    XliffReader reader;
    const bool ok = reader.read(data, catalog);
    m_error = reader.errorString();
    return ok;
}

bool XliffFormat::write(const TranslationCatalog &catalog, QByteArray &out)
{
    XliffWriter writer;
    const bool ok = writer.write(catalog, out);
    m_error = writer.errorString();
    return ok;
}

} // namespace wendaro
