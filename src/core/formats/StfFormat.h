// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/formats/FileFormat.h"

namespace wendaro {

// The binary string-table format. It has no room for the output file and
// the memo: they are not written and read back empty.
class StfFormat final : public FileFormat
{
public:
    StfFormat();
    // A record's byte offset: an STF file has no lines.
    PlaceUnit placeUnit() const override { return PlaceUnit::ByteOffset; }
    // The magic number, CD AB 00 00.
    bool beginsWithMark(QByteArrayView bytes) const override;
    bool readTable(QByteArrayView data, const CodePage &codePage, Table &table, qint64 *errorPlace,
                   QString *error) const override;
    // Values without line breaks stay in data's bytes, which the rows keep.
    bool readTableTaking(QByteArray data, const CodePage &codePage, Table &table, qint64 *errorPlace,
                         QString *error) const override;
    bool writeTable(const EntryList &rows, const TextFields &fields, const CodePage &codePage, ByteSink &out,
                    QString *error) const override;
};

} // namespace wendaro
