// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/formats/StfFormat.h"

#include "core/io/ByteSink.h"
#include "core/formats/StfReader.h"
#include "core/formats/StfWriter.h"
#include "core/model/Table.h"

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
    return readWith(table, [&](StfReader &reader) { return reader.read(data, codePage, table.rows, table.largestIndex); });
}

bool StfFormat::readTaking(QByteArray data, const CodePage &codePage, Table &table)
{
    return readWith(table,
                    [&](StfReader &reader) { return reader.readKeeping(data, codePage, table.rows, table.largestIndex); });
}

bool StfFormat::readWith(Table &table, const std::function<bool(StfReader &)> &read)
{
    StfReader reader;
    reader.setProgress(table.progress);
    const bool ok = read(reader);
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
