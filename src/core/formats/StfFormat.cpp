// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/formats/StfFormat.h"

#include "core/io/ByteSink.h"
#include "core/formats/StfLayout.h"
#include "core/formats/StfReader.h"
#include "core/formats/StfWriter.h"
#include "core/model/Table.h"

#include <QtEndian>

namespace wendaro {

StfFormat::StfFormat()
    : FileFormat({.shortName = QStringLiteral("stf"),
                  .nameFilter = QStringLiteral("STF ファイル (*.stf)"),
                  .suffixes = {QStringLiteral("stf")},
                  .capabilities = ReadsTables | WritesTables})
{
}

bool StfFormat::beginsWithMark(QByteArrayView bytes) const
{
    return bytes.size() >= stf::FieldSize && qFromLittleEndian<quint32>(bytes.data()) == stf::Magic;
}

bool StfFormat::readTable(QByteArrayView data, const CodePage &codePage, Table &table, qint64 *errorPlace,
                          QString *error) const
{
    StfReader reader;
    reader.setProgress(table.progress);
    return reader.read(data, codePage, table.rows, table.largestIndex, errorPlace, error);
}

bool StfFormat::readTableTaking(QByteArray data, const CodePage &codePage, Table &table, qint64 *errorPlace,
                                QString *error) const
{
    StfReader reader;
    reader.setProgress(table.progress);
    return reader.readKeeping(data, codePage, table.rows, table.largestIndex, errorPlace, error);
}

bool StfFormat::writeTable(const EntryList &rows, const TextFields &, const CodePage &codePage, ByteSink &out,
                           QString *error) const
{
    return StfWriter().write(rows, codePage, out, error);
}

} // namespace wendaro
