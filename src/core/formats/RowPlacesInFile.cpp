// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/formats/RowPlacesInFile.h"

#include "core/text/CodePage.h"
#include "core/formats/StfLayout.h"
#include "core/formats/TextReader.h"

#include <QString>
#include <QtEndian>

namespace wendaro {

std::vector<qint64> stfRowOffsets(QByteArrayView data)
{
    std::vector<qint64> offsets;
    if (data.size() < stf::HeaderSize)
        return offsets;
    // The reader makes one row of each value record, the first entry-count
    // records; only the lower two bytes of a field count.
    const qint16 entryCount = qFromLittleEndian<qint16>(data.data() + stf::EntryCountOffset);
    qsizetype p = stf::HeaderSize;
    for (qint16 record = 0; record < entryCount && data.size() - p >= stf::ValueFixedSize; ++record) {
        const qint16 length = qFromLittleEndian<qint16>(data.data() + p + stf::ValueLengthOffset);
        if (length < 0)
            break;
        offsets.push_back(p);
        p += stf::ValueFixedSize + 2 * qsizetype(length);
    }
    return offsets;
}

std::vector<qint64> textRowLines(QByteArrayView data, const CodePage &codePage)
{
    std::vector<qint64> lines;
    const QString text = codePage.decode(data);
    const QStringView all(text);
    qint64 lineNumber = 0;
    qsizetype start = 0;
    while (start < all.size()) {
        qsizetype end = start;
        while (end < all.size() && all[end] != u'\r' && all[end] != u'\n')
            ++end;
        // The first line is the header, whatever it holds.
        if (++lineNumber > 1 && TextReader::holdsEntry(all.sliced(start, end - start)))
            lines.push_back(lineNumber);
        start = end;
        if (start < all.size() && all[start++] == u'\r' && start < all.size() && all[start] == u'\n')
            ++start;
    }
    return lines;
}

} // namespace wendaro
