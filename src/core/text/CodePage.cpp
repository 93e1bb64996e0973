// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/CodePage.h"

#include "core/text/AsciiRuns.h"
#include "core/text/CodePageTables.h"
#include "core/text/StandIn.h"
#include "core/text/Utf8.h"
#include "core/io/MemoryAdvice.h"

#include <QSysInfo>
#include <QtEndian>

#include <cstring>

namespace wendaro {

namespace {

constexpr int ByteCount = CodePageTables::ByteCount;

bool isUtf8Name(const QByteArray &name)
{
    QByteArray folded = name.toLower();
    folded.replace('-', QByteArray()).replace('_', QByteArray());
    return folded == "utf8";
}

// The default code page from the tables the build wrote, so that a start
// converts nothing; other names are built from the converters when opened.
std::shared_ptr<const CodePageTables> builtInTables(const QByteArray &name)
{
    const BuiltInCodePage *const builtIn = builtInDefaultCodePage();
    if (!builtIn || name != builtIn->name)
        return nullptr;
    static const std::shared_ptr<const CodePageTables> tables = tablesFromBuiltIn(*builtIn);
    return tables;
}

// Whether the bytes of TAB, LF, CR and "<br>" can be found in a text file
// without reading its characters, and a line of spaces told: each of them
// is read as itself, none begins a pair, TAB, LF, CR and "<" never end
// one, and no pair reads as an ASCII character. The bytes between them
// then read as they read in the whole file.
bool marksInBytes(const CodePageTables &t)
{
    for (const char mark : {'\t', '\n', '\r', ' ', '<', 'b', 'r', '>'}) {
        const auto byte = static_cast<unsigned char>(mark);
        if (t.single[byte] != byte || t.pairRow[byte] != 0)
            return false;
    }
    for (qsizetype i = 0; i < t.pairsSize; ++i) {
        const char16_t pair = t.pairs[i];
        const qsizetype next = i % ByteCount;
        if ((pair != 0 && pair < 0x80) || (pair != 0 && (next == '\t' || next == '\n' || next == '\r' || next == '<')))
            return false;
    }
    return true;
}

} // namespace

CodePage::CodePage(std::shared_ptr<const CodePageTables> tables) : m_tables(std::move(tables))
{
    m_asciiAsIs = !m_tables->utf8;
    for (int byte = 0; byte < 0x80 && m_asciiAsIs; ++byte)
        m_asciiAsIs = m_tables->single[byte] == byte && m_tables->pairRow[byte] == 0;
    m_marksFieldsInBytes = m_tables->utf8 || marksInBytes(*m_tables);
}

std::optional<CodePage> CodePage::open(const QByteArray &name, QString *error)
{
    if (isUtf8Name(name)) {
        auto tables = std::make_shared<CodePageTables>();
        tables->name = name;
        tables->utf8 = true;
        return CodePage(std::move(tables));
    }
    if (std::shared_ptr<const CodePageTables> tables = builtInTables(name))
        return CodePage(std::move(tables));
    if (std::shared_ptr<const CodePageTables> tables = tablesFromConverters(name, error))
        return CodePage(std::move(tables));
    return std::nullopt;
}

std::optional<CodePage> CodePage::fromEnvironment(QString *error)
{
    const QByteArray name = qgetenv(EnvironmentVariable);
    if (name.isEmpty())
        return open(DefaultName, error);
    std::optional<CodePage> codePage = open(name, error);
    if (!codePage && error)
        *error = QStringLiteral("環境変数 %1: %2").arg(QLatin1String(EnvironmentVariable), *error);
    return codePage;
}

QString CodePage::name() const
{
    return QString::fromLatin1(m_tables->name);
}

namespace {

// The length of the UTF-8 sequence at in[i] that is read as a character,
// or 0 when its bytes are read as stand-ins: an ill-formed one, and one in
// the stand-in range itself (EF 9C..9F xx), so that all of them are written
// back as they were.
int utf8CharacterAt(const unsigned char *in, qsizetype i, qsizetype size)
{
    const int length = utf8SequenceAt(in, i, size);
    if (length == 3 && in[i] == 0xEF && in[i + 1] >= 0x9C && in[i + 1] <= 0x9F)
        return 0;
    return length;
}

// Reads bytes as UTF-8, telling each code unit to put in turn.
template<typename Put>
void decodeUtf8With(QByteArrayView bytes, Put put)
{
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    while (i < size) {
        const unsigned char lead = in[i];
        if (lead < 0x80) {
            put(lead);
            ++i;
            continue;
        }
        switch (utf8CharacterAt(in, i, size)) {
        case 2:
            put(char16_t((lead & 0x1F) << 6 | (in[i + 1] & 0x3F)));
            i += 2;
            break;
        case 3:
            put(char16_t((lead & 0x0F) << 12 | (in[i + 1] & 0x3F) << 6 | (in[i + 2] & 0x3F)));
            i += 3;
            break;
        case 4: {
            const char32_t c = char32_t(lead & 0x07) << 18 | char32_t(in[i + 1] & 0x3F) << 12
                               | char32_t(in[i + 2] & 0x3F) << 6 | char32_t(in[i + 3] & 0x3F);
            put(QChar::highSurrogate(c));
            put(QChar::lowSurrogate(c));
            i += 4;
            break;
        }
        default: put(standIn(lead)); ++i;
        }
    }
}

QString decodeUtf8(QByteArrayView bytes)
{
    // Never more code units than bytes.
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *const begin = reinterpret_cast<char16_t *>(text.data());
    char16_t *out = begin;
    decodeUtf8With(bytes, [&out](char16_t unit) { *out++ = unit; });
    text.truncate(out - begin);
    return text;
}

// The character the pair at in[i] stands for: 0 where the byte begins no
// pair there (or is the last), PairWithoutCharacter for two bytes of a pair
// that stand for none.
char16_t pairAt(const CodePageTables &t, const unsigned char *in, qsizetype i, qsizetype size)
{
    const quint16 row = t.pairRow[in[i]];
    return row == 0 || i + 1 == size ? 0 : t.pairs[qsizetype(row) * ByteCount + in[i + 1]];
}

// Gives put the code units of the character at in[i] as the code page reads
// it; returns how many bytes it took.
template<typename Put>
qsizetype readCharacterAt(const CodePageTables &t, const unsigned char *in, qsizetype i, qsizetype size, Put put)
{
    const unsigned char byte = in[i];
    const char16_t pair = pairAt(t, in, i, size);
    if (pair == 0) {
        put(t.single[byte]);
        return 1;
    }
    if (pair == CodePageTables::PairWithoutCharacter) {
        put(standIn(byte));
        put(standIn(in[i + 1]));
    } else {
        put(pair);
    }
    return 2;
}

// Reads bytes of a code page of one- and two-byte characters, telling each
// code unit to put in turn.
template<typename Put>
void decodeTablesWith(const CodePageTables &t, QByteArrayView bytes, Put put)
{
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size;)
        i += readCharacterAt(t, in, i, size, put);
}

// What decodeTablesWith gives, in the host's byte order at out (any
// address, room for 2 * bytes.size() bytes), for a code page that reads
// ASCII as itself: a run of ASCII is widened a block at a time, the bytes
// above it looked up one character at a time. Returns the end.
char *decodeAsciiTables(const CodePageTables &t, QByteArrayView bytes, char *out)
{
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    const auto put = [&out](char16_t unit) {
        std::memcpy(out, &unit, sizeof unit);
        out += sizeof unit;
    };
    qsizetype i = 0;
    while (i < size) {
        if (size - i >= ascii::Block) {
            // Never more code units than bytes: the block's room is there.
            const qsizetype run = ascii::leadingAscii(ascii::highBytes(in + i));
            ascii::widen(in + i, out);
            i += run;
            out += 2 * run;
            if (run == ascii::Block)
                continue;
        } else {
            for (; i < size && in[i] < 0x80; ++i)
                put(in[i]);
            if (i == size)
                break;
        }
        // Japanese text comes in runs of characters of two bytes.
        do
            i += readCharacterAt(t, in, i, size, put);
        while (i < size && in[i] >= 0x80);
    }
    return out;
}

// How many code units decodeAsciiTables gives: one a byte, less one for
// each pair read as one character.
qsizetype decodedAsciiTablesSize(const CodePageTables &t, QByteArrayView bytes)
{
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    qsizetype characterPairs = 0;
    qsizetype i = 0;
    while (i < size) {
        if (size - i >= ascii::Block) {
            const qsizetype run = ascii::leadingAscii(ascii::highBytes(in + i));
            i += run;
            if (run == ascii::Block)
                continue;
        } else {
            while (i < size && in[i] < 0x80)
                ++i;
            if (i == size)
                break;
        }
        do {
            const char16_t pair = pairAt(t, in, i, size);
            characterPairs += pair != 0 && pair != CodePageTables::PairWithoutCharacter ? 1 : 0;
            i += pair == 0 ? 1 : 2;
        } while (i < size && in[i] >= 0x80);
    }
    return size - characterPairs;
}

struct Encoded
{
    qsizetype unwritable = -1; // offset of the first character with no bytes at all
    bool standIns = false;
};

Encoded encodeUtf8(QStringView text, QByteArray &out)
{
    Encoded result;
    const qsizetype start = out.size();
    out.resize(start + 3 * text.size());
    auto *write = reinterpret_cast<unsigned char *>(out.data() + start);
    const char16_t *const units = text.utf16();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = units[i];
        if (c < 0x80) {
            *write++ = static_cast<unsigned char>(c);
        } else if (c < 0x800) {
            *write++ = static_cast<unsigned char>(0xC0 | c >> 6);
            *write++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else if (isStandIn(c)) {
            *write++ = static_cast<unsigned char>(c - CodePage::EscapeBase);
            result.standIns = true;
        } else if (QChar::isHighSurrogate(c) && i + 1 < size && QChar::isLowSurrogate(units[i + 1])) {
            const char32_t u = QChar::surrogateToUcs4(c, units[i + 1]);
            *write++ = static_cast<unsigned char>(0xF0 | u >> 18);
            *write++ = static_cast<unsigned char>(0x80 | (u >> 12 & 0x3F));
            *write++ = static_cast<unsigned char>(0x80 | (u >> 6 & 0x3F));
            *write++ = static_cast<unsigned char>(0x80 | (u & 0x3F));
            ++i;
        } else if (QChar::isSurrogate(c)) {
            result.unwritable = i;
            break;
        } else {
            *write++ = static_cast<unsigned char>(0xE0 | c >> 12);
            *write++ = static_cast<unsigned char>(0x80 | (c >> 6 & 0x3F));
            *write++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        }
    }
    out.truncate(reinterpret_cast<char *>(write) - out.constData());
    return result;
}

} // namespace

QString CodePage::decode(QByteArrayView bytes) const
{
    if (m_tables->utf8)
        return decodeUtf8(bytes);
    QString text;
    decodeAppending(bytes, text);
    return text;
}

bool CodePage::writesPlainly(QStringView text) const
{
    if (m_tables->utf8)
        return false;
    const quint32 *const bytesOf = m_tables->bytesOf;
    quint32 special = 0;
    for (const QChar c : text)
        special |= bytesOf[c.unicode()];
    return (special & CodePageTables::Special) == 0;
}

bool CodePage::endsCharacters(char byte) const
{
    if (m_tables->utf8)
        return (byte & 0x80) == 0;
    return m_tables->pairRow[static_cast<unsigned char>(byte)] == 0;
}

void CodePage::decodeAppending(QByteArrayView bytes, QString &text) const
{
    if (m_tables->utf8) {
        text += decodeUtf8(bytes);
        return;
    }
    const qsizetype start = text.size();
    // Never more characters than bytes: a pair gives one character or two
    // stand-ins.
    text.resize(start + bytes.size());
    adviseLargePages(text.data() + start, 2 * bytes.size());
    char16_t *const begin = reinterpret_cast<char16_t *>(text.data());
    if (m_asciiAsIs) {
        const char *const end = decodeAsciiTables(*m_tables, bytes, reinterpret_cast<char *>(begin + start));
        text.truncate(reinterpret_cast<const char16_t *>(end) - begin);
        return;
    }
    char16_t *out = begin + start;
    decodeTablesWith(*m_tables, bytes, [&out](char16_t unit) { *out++ = unit; });
    text.truncate(out - begin);
}

template<typename Put>
void CodePage::decodeWith(QByteArrayView bytes, Put put) const
{
    if (m_tables->utf8)
        decodeUtf8With(bytes, put);
    else
        decodeTablesWith(*m_tables, bytes, put);
}

qsizetype CodePage::decodedSize(QByteArrayView bytes) const
{
    if (m_asciiAsIs)
        return decodedAsciiTablesSize(*m_tables, bytes);
    qsizetype size = 0;
    decodeWith(bytes, [&size](char16_t) { ++size; });
    return size;
}

char *CodePage::decodeUtf16(QByteArrayView bytes, char *out) const
{
    // out is any byte of a file being written, often at an odd address.
    if (m_asciiAsIs && QSysInfo::ByteOrder == QSysInfo::LittleEndian)
        return decodeAsciiTables(*m_tables, bytes, out);
    decodeWith(bytes, [&out](char16_t unit) {
        qToLittleEndian(unit, out);
        out += 2;
    });
    return out;
}

bool CodePage::marksFieldsInBytes() const
{
    return m_marksFieldsInBytes;
}

bool CodePage::sameAs(const CodePage &other) const
{
    return m_tables == other.m_tables || m_tables->name == other.m_tables->name;
}

bool CodePage::encodePlainly(QStringView text, QByteArray &out, QStringView crLfAs) const
{
    if (m_tables->utf8)
        return false;
    const quint32 *const bytesOf = m_tables->bytesOf;
    const qsizetype start = out.size();
    // At most two bytes a character; a CR LF pair of two units may become
    // more characters than that.
    const qsizetype most = crLfAs.isEmpty() ? 2 * text.size() : qMax<qsizetype>(2, crLfAs.size()) * text.size();
    out.resize(start + most);
    char *write = out.data() + start;
    const char16_t *units = text.utf16();
    const char16_t *const end = units + text.size();
    quint32 special = 0;
    const auto put = [&](char16_t unit) {
        const quint32 bytes = bytesOf[unit];
        special |= bytes;
        write[0] = char(bytes >> 8);
        write[1] = char(bytes);
        write += bytes >> 24;
    };
    const bool crLf = !crLfAs.isEmpty();
    while (units != end) {
        // A block of ASCII, which the code page writes as itself, is
        // narrowed whole; any other block is looked up unit by unit with no
        // branch on the kind of character, which mixed text would
        // mispredict at every change.
        const char16_t *stop = end;
        // The block is looked at only when its ends are ASCII: in mixed
        // text most blocks are not, and the look would be wasted on them.
        if (m_asciiAsIs && end - units >= ascii::Block && (units[0] | units[ascii::Block - 1]) < 0x80) {
            unsigned cr = 0;
            if ((ascii::nonAsciiUnits(units, &cr) | (crLf ? cr : 0)) == 0) {
                ascii::narrow(units, write);
                units += ascii::Block;
                write += ascii::Block;
                continue;
            }
            stop = units + ascii::Block;
        }
        if (!crLf) {
            for (; units < stop; ++units)
                put(*units);
            continue;
        }
        // A CR LF pair may end past the block.
        while (units < stop) {
            if (*units == u'\r' && units + 1 != end && units[1] == u'\n') {
                for (const QChar c : crLfAs)
                    put(c.unicode());
                units += 2;
            } else {
                put(*units++);
            }
        }
    }
    out.truncate(write - out.constData());
    return (special & CodePageTables::Special) == 0;
}

qsizetype CodePage::encode(QStringView text, QByteArray &out) const
{
    const qsizetype start = out.size();
    Encoded encoded;
    if (m_tables->utf8) {
        encoded = encodeUtf8(text, out);
    } else {
        constexpr quint32 Special = CodePageTables::Special;
        constexpr quint32 Unmapped = CodePageTables::Unmapped;
        const quint32 *const bytesOf = m_tables->bytesOf;
        out.resize(start + 2 * text.size());
        char *write = out.data() + start;
        const char16_t *const units = text.utf16();
        const qsizetype size = text.size();
        // Two bytes are stored for every character and the end moves on by
        // its byte count: no branch on the kind of character, which mixed
        // text would mispredict at every change.
        qsizetype i = 0;
        for (; i < size; ++i) {
            const quint32 bytes = bytesOf[units[i]];
            if (bytes & Special)
                break;
            write[0] = char(bytes >> 8);
            write[1] = char(bytes);
            write += bytes >> 24;
        }
        if (i < size && bytesOf[units[i]] != Unmapped) {
            encoded.standIns = true;
            for (; i < size; ++i) {
                const quint32 bytes = bytesOf[units[i]];
                if (bytes == Unmapped)
                    break;
                write[0] = char(bytes >> 8);
                write[1] = char(bytes);
                write += bytes >> 24;
            }
        }
        if (i < size)
            encoded.unwritable = i;
        out.truncate(write - out.constData());
    }
    if (!encoded.standIns)
        return encoded.unwritable;

    // A stand-in is written as its byte, which may read back as a character
    // of its own or join a neighbour into one. Whatever does not read back is
    // refused at the stand-in that causes it: a character read differently
    // after a stand-in was taken into a sequence with it.
    const QStringView written = encoded.unwritable < 0 ? text : text.first(encoded.unwritable);
    const QString readBack = decode(QByteArrayView(out).sliced(start));
    qsizetype differs = 0;
    const qsizetype common = qMin(written.size(), readBack.size());
    while (differs < common && written[differs] == readBack[differs])
        ++differs;
    if (differs == written.size() && differs == readBack.size())
        return encoded.unwritable;
    if (differs == written.size())
        --differs; // more read back than written: the last one took part
    while (differs > 0 && !isStandIn(written[differs].unicode()))
        --differs;
    out.truncate(start);
    encode(text.first(differs), out);
    return differs;
}

} // namespace wendaro
