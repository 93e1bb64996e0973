#include "StfWriter.h"

#include "CodePage.h"
#include "EntryList.h"
#include "IndexText.h"
#include "LineBreaks.h"
#include "SaveRefusals.h"
#include "StfLayout.h"

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

bool StfWriter::write(const EntryList &rows, const CodePage &codePage, QByteArray &out)
{
    m_error.clear();
    const qsizetype count = rows.count();
    if (const std::optional<QString> refused = refusal::stfEntryCount(count))
        return fail(*refused);

    // Every index is converted and checked before anything is built: a file
    // with two rows of one index could not be read back.
    std::vector<qint16> indexes;
    indexes.reserve(size_t(count));
    std::vector<quint16> rowOfIndex(0x10000, 0);
    qsizetype sizeBound = stf::HeaderSize;
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
        // Turning "<br>" into CR LF only shortens a value; a name takes at
        // most three bytes a character, and the encoder room for that.
        sizeBound += stf::ValueFixedSize + 2 * entry.value.size() + stf::NameFixedSize + 3 * entry.name.size();
    }

    QByteArray image;
    image.reserve(sizeBound);
    appendField32(image, stf::Magic);
    image.append(char(stf::Flag));
    appendField(image, quint16(count + 1));
    appendField(image, quint16(count));

    for (qsizetype position = 1; position <= count; ++position) {
        const qint16 index = indexes[size_t(position - 1)];
        const QString value = lineBreaksFromList(rows.at(position).value);
        if (const std::optional<QString> refused = refusal::stfValueLength(position, index, value))
            return fail(*refused);
        appendField(image, quint16(index));
        appendField32(image, stf::ValueKey);
        appendField(image, quint16(value.size()));
        const qsizetype at = image.size();
        image.resize(at + 2 * value.size());
        qToLittleEndian<char16_t>(value.utf16(), value.size(), image.data() + at);
    }

    for (qsizetype position = 1; position <= count; ++position) {
        const qint16 index = indexes[size_t(position - 1)];
        const QString &name = rows.at(position).name;
        appendField(image, quint16(index));
        const qsizetype lengthAt = image.size();
        appendField(image, 0);
        const qsizetype at = image.size();
        const qsizetype bad = codePage.encode(name, image);
        if (bad >= 0)
            return fail(refusal::unrepresentable(
                refusal::rowPart(position, QString::number(index), QStringLiteral("名前")), name, bad, codePage));
        // The reader takes the length as a byte count.
        const qsizetype length = image.size() - at;
        if (const std::optional<QString> refused = refusal::stfNameLength(position, index, length, codePage))
            return fail(*refused);
        qToLittleEndian<quint16>(quint16(length), image.data() + lengthAt);
    }

    out = std::move(image);
    return true;
}

} // namespace wendaro
