// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/formats/TableFormat.h"

namespace wendaro {

// The tab-separated text form, with the output file and the memo.
class TextFormat final : public TableFormat
{
public:
    QString shortName() const override;
    QString nameFilter() const override;
    QStringList suffixes() const override;
    bool read(QByteArrayView data, const CodePage &codePage, Table &table) override;
    bool readTaking(QByteArray data, const CodePage &codePage, Table &table) override;
    bool write(const EntryList &rows, const TextFields &fields, const CodePage &codePage, ByteSink &out) override;

private:
    bool readText(const QString &text, Table &table);
};

} // namespace wendaro
