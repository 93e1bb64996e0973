// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/formats/FileFormat.h"

namespace wendaro {

// The tab-separated text form, with the output file and the memo.
class TextFormat final : public FileFormat
{
public:
    TextFormat();
    bool readTable(QByteArrayView data, const CodePage &codePage, Table &table, qint64 *errorPlace,
                   QString *error) const override;
    bool readTableTaking(QByteArray data, const CodePage &codePage, Table &table, qint64 *errorPlace,
                         QString *error) const override;
    bool writeTable(const EntryList &rows, const TextFields &fields, const CodePage &codePage, ByteSink &out,
                    QString *error) const override;

private:
    static bool readText(const QString &text, Table &table, qint64 *errorPlace, QString *error);
};

} // namespace wendaro
