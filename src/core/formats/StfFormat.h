// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/formats/TableFormat.h"

#include <functional>

namespace wendaro {

class StfReader;

// The binary string-table format. It has no room for the output file and
// the memo: they are not written and read back empty.
class StfFormat final : public TableFormat
{
public:
    QString shortName() const override;
    QString nameFilter() const override;
    QStringList suffixes() const override;
    bool read(QByteArrayView data, const CodePage &codePage, Table &table) override;
    // Values without line breaks stay in data's bytes, which the rows keep.
    bool readTaking(QByteArray data, const CodePage &codePage, Table &table) override;
    bool write(const EntryList &rows, const TextFields &fields, const CodePage &codePage, ByteSink &out) override;

private:
    bool readWith(Table &table, const std::function<bool(StfReader &)> &read);
};

} // namespace wendaro
