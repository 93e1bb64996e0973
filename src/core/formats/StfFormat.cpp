#include "StfFormat.h"

#include "ByteSink.h"
#include "StfReader.h"
#include "StfWriter.h"
#include "Table.h"

namespace wendaro {

QString StfFormat::shortName() const
{
    return QStringLiteral("stf");
}

QString StfFormat::nameFilter() const
{
    return QStringLiteral("STF (*.stf)");
}

QStringList StfFormat::suffixes() const
{
    return {QStringLiteral("stf")};
}

bool StfFormat::read(QByteArrayView data, const CodePage &codePage, Table &table)
{
    StfReader reader;
    reader.setProgress(table.progress);
    const bool ok = reader.read(data, codePage, table.rows, table.largestIndex);
    m_error = reader.errorString();
    m_errorPlace = reader.errorOffset();
    return ok;
}

bool StfFormat::write(const EntryList &rows, const TextFields &, const CodePage &codePage, ByteSink &out)
{
    StfWriter writer;
    const bool ok = writer.write(rows, codePage, out);
    m_error = writer.errorString();
    return ok;
}

} // namespace wendaro
