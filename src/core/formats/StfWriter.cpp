// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/formats/StfWriter.h"

#include "core/io/ByteSink.h"
#include "core/text/CodePage.h"
#include "core/model/EntryList.h"
#include "core/model/TextFields.h"
#include "core/checks/SaveRules.h"
#include "core/formats/StfLayout.h"

#include <QtEndian>

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

void appendHeader(QByteArray &image, qsizetype count)
{
    appendField32(image, stf::Magic);
    image.append(char(stf::Flag));
    appendField(image, quint16(count + 1));
    appendField(image, quint16(count));
}

bool appendValueRecords(SinkBuffer &buffer, const EntryList &rows, const StfRowFields &fields)
{
    QByteArray &image = buffer.bytes();
    for (qsizetype position = 0; position < rows.count(); ++position) {
        const qint16 index = *fields.indexes[size_t(position)];
        const ValueText &value = rows.at(position).value;
        appendField(image, quint16(index));
        appendField32(image, stf::ValueKey);
        const qsizetype lengthAt = image.size();
        appendField(image, 0);
        // Written into room for the most it can take, then measured: a
        // value still in a text file is decoded only here, once.
        const qsizetype at = image.size();
        image.resize(at + 2 * value.fileLengthAtMost());
        const qsizetype written = value.writeUtf16(image.data() + at) - (image.data() + at);
        image.truncate(at + written);
        qToLittleEndian<quint16>(quint16(written / 2), image.data() + lengthAt);
        if (!buffer.handOnIfFull())
            return false;
    }
    return true;
}

bool appendNameRecords(SinkBuffer &buffer, const EntryList &rows, const StfRowFields &fields, const CodePage &codePage)
{
    QByteArray &image = buffer.bytes();
    for (qsizetype position = 0; position < rows.count(); ++position) {
        const qint16 index = *fields.indexes[size_t(position)];
        appendField(image, quint16(index));
        const qsizetype lengthAt = image.size();
        appendField(image, 0);
        const qsizetype at = image.size();
        codePage.encode(rows.at(position).name, image);
        qToLittleEndian<quint16>(quint16(image.size() - at), image.data() + lengthAt);
        if (!buffer.handOnIfFull())
            return false;
    }
    return true;
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
    // Every limit is checked before the first byte goes out, so a table that
    // cannot be saved never reaches the disk.
    FirstSaveRefusal refused;
    StfRowFields fields;
    if (!walkSaveRules(rows, TextFields(), codePage, SaveForms::Stf, refused, &fields))
        return fail(refused.message());

    SinkBuffer buffer(out);
    appendHeader(buffer.bytes(), rows.count());
    return appendValueRecords(buffer, rows, fields) && appendNameRecords(buffer, rows, fields, codePage)
           && buffer.finish();
}

} // namespace wendaro
