#include "StfWriter.h"

#include "CharacterName.h"
#include "CodePage.h"
#include "EntryList.h"
#include "LineBreaks.h"
#include "Number.h"
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
    if (count > stf::MaxEntryCount)
        return fail(QStringLiteral("項目が %1 件あります。STF ファイルに保存できるのは %2 件までです。")
                        .arg(count)
                        .arg(stf::MaxEntryCount));

    // Every index is converted and checked before anything is built: a file
    // with two rows of one index could not be read back.
    std::vector<qint16> indexes;
    indexes.reserve(size_t(count));
    std::vector<quint16> rowOfIndex(0x10000, 0);
    qsizetype sizeBound = stf::HeaderSize;
    for (qsizetype position = 1; position <= count; ++position) {
        const Entry &entry = rows.at(position);
        const Int16Conversion index = toInt16(entry.indexText);
        if (index.status == Int16Conversion::Status::NotNumeric)
            return fail(QStringLiteral("%1 行目のインデックス「%2」は数値ではありません。")
                            .arg(position)
                            .arg(entry.indexText.trimmed()));
        if (index.status == Int16Conversion::Status::Overflow)
            return fail(QStringLiteral("%1 行目のインデックス「%2」は -32768 から 32767 の範囲を超えています。")
                            .arg(position)
                            .arg(entry.indexText.trimmed()));
        quint16 &firstRow = rowOfIndex[quint16(index.value)];
        if (firstRow != 0)
            return fail(QStringLiteral("%1 行目と %2 行目のインデックスがどちらも %3 です。"
                                       "同じインデックスの項目が二つある表は STF ファイルに保存できません。")
                            .arg(firstRow)
                            .arg(position)
                            .arg(index.value));
        firstRow = quint16(position);
        indexes.push_back(index.value);
        // Turning "<br>" into CR LF only shortens a value.
        sizeBound += stf::ValueFixedSize + 2 * entry.value.size() + stf::NameFixedSize + entry.name.size();
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
        if (value.size() > stf::MaxLength)
            return fail(QStringLiteral("%1 行目（インデックス %2）の値は改行を CR LF にして %3 文字あります。"
                                       "保存できるのは %4 文字（UTF-16 単位）までです。")
                            .arg(position)
                            .arg(index)
                            .arg(value.size())
                            .arg(stf::MaxLength));
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
        if (name.size() > stf::MaxLength)
            return fail(QStringLiteral("%1 行目（インデックス %2）の名前は %3 文字あります。"
                                       "保存できるのは %4 文字までです。")
                            .arg(position)
                            .arg(index)
                            .arg(name.size())
                            .arg(stf::MaxLength));
        appendField(image, quint16(index));
        appendField(image, quint16(name.size()));
        const qsizetype at = image.size();
        image.resize(at + name.size());
        char *byte = image.data() + at;
        for (qsizetype i = 0; i < name.size(); ++i) {
            const std::optional<unsigned char> code = codePage.byteForChar(name.at(i));
            if (!code)
                return fail(QStringLiteral("%1 行目（インデックス %2）の名前の %3 文字目 %4 は、"
                                           "コードページ %5 の 1 バイトの文字ではありません。")
                                .arg(position)
                                .arg(index)
                                .arg(i + 1)
                                .arg(characterName(name, i), codePage.name()));
            *byte++ = char(*code);
        }
    }

    out = std::move(image);
    return true;
}

} // namespace wendaro
