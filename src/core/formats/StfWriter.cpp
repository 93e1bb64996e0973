// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/formats/StfWriter.h"

#include "core/io/ByteSink.h"
#include "core/text/CodePage.h"
#include "core/model/EntryList.h"
#include "core/model/IndexText.h"
#include "core/text/LineBreaks.h"
#include "core/checks/SaveRefusals.h"
#include "core/formats/StfLayout.h"

#include <QtEndian>
#include <vector>

namespace wendaro {

namespace {

// A 4-byte field holding a 16-bit number: its two bytes, then two zeros.
void appendField(QByteArray &image, quint16 value)
{
    const char field[stf::FieldSize] = {char(value & 0xFF), char(value >> 8), 0, 0};
    image.append(field, stf::FieldSize);
}

void appendField32(QByteArray &image, quint32 value)
{
    char field[stf::FieldSize];
    qToLittleEndian(value, field);
    image.append(field, stf::FieldSize);
}

} // namespace

bool StfWriter::fail(QString description)
{
    m_error = std::move(description);
    return false;
}

bool StfWriter::write(const EntryList &rows, const CodePage &codePage, QByteArray &out, QString *error)
{
    QByteArray image;
    ArraySink sink(image);
    if (!write(rows, codePage, sink, error))
        return false;
    out = std::move(image);
    return true;
}

bool StfWriter::write(const EntryList &rows, const CodePage &codePage, ByteSink &out, QString *error)
{
    if (stream(rows, codePage, out))
        return true;
    *error = m_error;
    return false;
}

bool StfWriter::stream(const EntryList &rows, const CodePage &codePage, ByteSink &out)
{
    m_error.clear();
    const qsizetype count = rows.count();
    if (const std::optional<QString> refused = refusal::stfEntryCount(count))
        return fail(*refused);

    // Every limit is checked before the first byte goes out, so a table that
    // cannot be saved never reaches the disk: the indexes first (a file with
    // two rows of one index could not be read back), then the values, then
    // the names, in the order in which the file holds them.
    std::vector<qint16> indexes;
    indexes.reserve(size_t(count));
    std::vector<quint16> rowOfIndex(0x10000, 0);
    for (qsizetype position = 1; position <= count; ++position) {
        const Entry &entry = rows.at(position);
        const std::optional<qint16> index = indexToSave(position, entry.indexText, &m_error);
        if (!index)
            return false;
        quint16 &firstRow = rowOfIndex[quint16(*index)];
        if (firstRow != 0)
            return fail(refusal::stfSharedIndex(firstRow, position, *index));
        firstRow = quint16(position);
        indexes.push_back(*index);
    }
    std::vector<quint16> valueLengths;
    valueLengths.reserve(size_t(count));
    for (qsizetype position = 1; position <= count; ++position) {
        const qint16 index = indexes[size_t(position - 1)];
        const qsizetype length = rows.at(position).value.fileLength();
        if (const std::optional<QString> refused = refusal::stfValueLength(position, index, length))
            return fail(*refused);
        valueLengths.push_back(quint16(length));
    }
    // Names are encoded twice, here and when written, rather than kept:
    // kept, they could take as much memory as the values.
    QByteArray scratch;
    for (qsizetype position = 1; position <= count; ++position) {
        const qint16 index = indexes[size_t(position - 1)];
        const QString &name = rows.at(position).name;
        scratch.resize(0);
        const qsizetype bad = codePage.encode(name, scratch);
        if (bad >= 0)
            return fail(refusal::unrepresentable(
                refusal::rowPart(position, QString::number(index), QStringLiteral("名前")), name, bad, codePage));
        // The reader takes the length as a byte count.
        if (const std::optional<QString> refused = refusal::stfNameLength(position, index, scratch.size(), codePage))
            return fail(*refused);
    }
    scratch = QByteArray();

    SinkBuffer buffer(out);
    QByteArray &image = buffer.bytes();
    appendField32(image, stf::Magic);
    image.append(char(stf::Flag));
    appendField(image, quint16(count + 1));
    appendField(image, quint16(count));

    for (qsizetype position = 1; position <= count; ++position) {
        const qint16 index = indexes[size_t(position - 1)];
        const quint16 length = valueLengths[size_t(position - 1)];
        appendField(image, quint16(index));
        appendField32(image, stf::ValueKey);
        appendField(image, length);
        const qsizetype at = image.size();
        image.resize(at + 2 * qsizetype(length));
        rows.at(position).value.writeUtf16(image.data() + at);
        if (!buffer.handOnIfFull())
            return false;
    }

    for (qsizetype position = 1; position <= count; ++position) {
        const qint16 index = indexes[size_t(position - 1)];
        appendField(image, quint16(index));
        const qsizetype lengthAt = image.size();
        appendField(image, 0);
        const qsizetype at = image.size();
        codePage.encode(rows.at(position).name, image);
        qToLittleEndian<quint16>(quint16(image.size() - at), image.data() + lengthAt);
        if (!buffer.handOnIfFull())
            return false;
    }
    return buffer.finish();
}

} // namespace wendaro
