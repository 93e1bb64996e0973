// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/formats/StfReader.h"

#include "core/io/LoadProgress.h"

#include "core/text/CodePage.h"
#include "core/model/EntryList.h"
#include "core/model/IndexText.h"
#include "core/text/LineBreaks.h"
#include "core/formats/StfLayout.h"

#include <QtEndian>

namespace wendaro {

// Where the two kinds of record differ before their contents.
struct StfRecordShape
{
    qsizetype fixedSize;            // the bytes before the contents
    qsizetype lengthOffset;         // where the length field lies among them
    qsizetype unitSize;             // the bytes of one unit that the length counts
    const char16_t *negativeLength; // the error for a length below zero
};

namespace {

constexpr StfRecordShape ValueRecord{stf::ValueFixedSize, stf::ValueLengthOffset, 2,
                                     u"オフセット %1 の値レコード（インデックス %2）の長さ %3 が負の数です。"};
constexpr StfRecordShape NameRecord{stf::NameFixedSize, stf::NameLengthOffset, 1,
                                    u"オフセット %1 の名前レコード（インデックス %2）の長さ %3 が負の数です。"};

// Only the lower two bytes of a 4-byte field count, as a signed number.
qint16 lower16(const char *field)
{
    return qFromLittleEndian<qint16>(field);
}

} // namespace

qsizetype StfReader::fail(qsizetype offset, QString description)
{
    m_error = std::move(description);
    m_errorOffset = offset;
    return -1;
}

qsizetype StfReader::cutShort(qsizetype offset, qsizetype needed, qsizetype left)
{
    return fail(offset, QStringLiteral("オフセット %1 のレコードがファイルの終わりで途切れています"
                                       "（%2 バイト必要ですが、残りは %3 バイトです）。")
                            .arg(offset)
                            .arg(needed)
                            .arg(left));
}

ValueText StfReader::valueOf(const char *units, qsizetype length) const
{
    // Where the rows may keep the file, a value stays in it.
    if (m_file)
        return ValueText::inFile(m_file, units, length);
    return listValueFromUtf16(units, length);
}

qsizetype StfReader::measureRecord(QByteArrayView data, qsizetype p, qint16 index, const StfRecordShape &shape,
                                   qint16 &length)
{
    const qsizetype left = data.size() - p;
    if (left < shape.fixedSize)
        return cutShort(p, shape.fixedSize, left);
    length = lower16(data.data() + p + shape.lengthOffset);
    if (length < 0)
        return fail(p, QStringView(shape.negativeLength).toString().arg(p).arg(index).arg(length));
    const qsizetype recordSize = shape.fixedSize + shape.unitSize * qsizetype(length);
    if (left < recordSize)
        return cutShort(p, recordSize, left);
    return recordSize;
}

qsizetype StfReader::readValueRecord(QByteArrayView data, qsizetype p, qint16 index, EntryList &rows)
{
    qint16 length = 0;
    const qsizetype recordSize = measureRecord(data, p, index, ValueRecord, length);
    if (recordSize < 0)
        return -1;
    const char *const record = data.data() + p;
    if (rows.append(Entry{indexText(index), QString(), valueOf(record + stf::ValueFixedSize, length), index}) < 0)
        return fail(p, QStringLiteral(
                           "オフセット %1 の値レコードのインデックス %2 は、%3 番目の値レコードと重複しています。")
                           .arg(p)
                           .arg(index)
                           .arg(rows.positionOfKey(index) + 1));
    return recordSize;
}

qsizetype StfReader::readNameRecord(QByteArrayView data, qsizetype p, qint16 index, const CodePage &codePage,
                                    EntryList &rows)
{
    qint16 length = 0;
    const qsizetype recordSize = measureRecord(data, p, index, NameRecord, length);
    if (recordSize < 0)
        return -1;
    const char *const record = data.data() + p;
    // An empty name needs no row: there is nothing to fill in.
    if (length > 0) {
        const qsizetype position = rows.positionOfKey(index);
        if (position < 0)
            return fail(p, QStringLiteral(
                               "オフセット %1 の名前レコードのインデックス %2 には、対応する値レコードがありません。")
                               .arg(p)
                               .arg(index));
        rows.setName(position, codePage.decode(QByteArrayView(record + stf::NameFixedSize, length)));
    }
    return recordSize;
}

bool StfReader::readKeeping(const QByteArray &file, const CodePage &codePage, EntryList &rows, qint16 &largestIndex,
                            qint64 *errorOffset, QString *error)
{
    m_file = std::make_shared<const ValueSource>(ValueSource{file, std::nullopt});
    const bool ok = read(file, codePage, rows, largestIndex, errorOffset, error);
    m_file.reset();
    return ok;
}

bool StfReader::read(QByteArrayView data, const CodePage &codePage, EntryList &rows, qint16 &largestIndex,
                     qint64 *errorOffset, QString *error)
{
    if (readRecords(data, codePage, rows, largestIndex))
        return true;
    *errorOffset = m_errorOffset;
    *error = m_error;
    return false;
}

bool StfReader::readRecords(QByteArrayView data, const CodePage &codePage, EntryList &rows, qint16 &largestIndex)
{
    m_error.clear();
    m_errorOffset = -1;
    // A file too short for its header has no records: it is an empty table.
    if (data.size() < stf::HeaderSize)
        return true;
    const qint16 entryCount = lower16(data.data() + stf::EntryCountOffset);
    // Only a hint, since the count may not match the records that follow:
    // never more rows than the file has room for.
    const qsizetype roomFor = (data.size() - stf::HeaderSize) / stf::ValueFixedSize;
    rows.reserve(rows.count() + qMin<qsizetype>(qMax<qint16>(entryCount, 0), roomFor));

    // The first entryCount records are value records, every later one is a
    // name record. No byte at all left at a record start is the end of the
    // table; a record that begins but does not fit is an error.
    qint64 recordNumber = 0;
    qsizetype p = stf::HeaderSize;
    while (p < data.size()) {
        const qsizetype left = data.size() - p;
        if (left < stf::FieldSize) {
            cutShort(p, stf::FieldSize, left);
            return false;
        }
        if (m_progress && !m_progress->reached(p, data.size()))
            return false;
        const qint16 index = lower16(data.data() + p);
        ++recordNumber;
        largestIndex = qMax(largestIndex, index);

        const qsizetype recordSize = recordNumber <= entryCount ? readValueRecord(data, p, index, rows)
                                                                : readNameRecord(data, p, index, codePage, rows);
        if (recordSize < 0)
            return false;
        p += recordSize;
    }
    return true;
}

} // namespace wendaro
