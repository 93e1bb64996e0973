#include "CodePage.h"

#include "CharacterName.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>
#include <vector>

namespace wendaro {

namespace {

constexpr int ByteCount = 256;
constexpr int PairCount = ByteCount * ByteCount;

// In the pair table: the second byte is a trail byte of the code page, but the
// two bytes stand for no character (or for one whose canonical bytes differ):
// both are read as stand-ins so that they survive.
constexpr char16_t PairWithoutCharacter = CodePage::EscapeBase;
// While the tables are built: no character found for the bytes. Real
// characters in the stand-in range are never taken, so it cannot clash.
constexpr char16_t NoCharacter = CodePage::EscapeBase;

// In the reverse table: how a character is written, as the byte count in
// bits 24 and up, then the first byte and the second byte (of a pair).
// Unmapped characters and stand-ins carry Special: the writer's loop tests
// one bit for both.
constexpr quint32 Special = 1 << 16;
constexpr quint32 Unmapped = Special;
constexpr quint32 OneByte = 1 << 24;
constexpr quint32 TwoBytes = 2 << 24;

bool isStandIn(char16_t c)
{
    return c >= CodePage::EscapeBase && c < CodePage::EscapeBase + ByteCount;
}

char16_t standIn(unsigned char byte)
{
    return char16_t(CodePage::EscapeBase + byte);
}

bool isUtf8Name(const QByteArray &name)
{
    QByteArray folded = name.toLower();
    folded.replace('-', QByteArray()).replace('_', QByteArray());
    return folded == "utf8";
}

bool isAsciiControl(char16_t c)
{
    return c < 0x20 || c == 0x7F;
}

// Converts each piece on its own, but in one call: the pieces are joined with
// a line feed, which ends any sequence before it in the code pages that this
// program reads. When the result does not split back into as many parts (a
// converter that took the line feed into a sequence), and for a piece that
// holds a line feed itself, each piece is converted with a fresh converter.
template<typename Converted, typename Piece, typename Convert>
std::vector<Converted> convertEach(const std::vector<Piece> &pieces, Convert convert)
{
    Piece batch;
    std::vector<size_t> batched;
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (!pieces[i].contains('\n')) {
            batch += pieces[i];
            batch += '\n';
            batched.push_back(i);
        }
    }
    const auto parts = convert(batch).split('\n');
    std::vector<Converted> result(pieces.size());
    std::vector<bool> done(pieces.size(), false);
    if (qsizetype(parts.size()) == qsizetype(batched.size()) + 1) {
        for (size_t k = 0; k < batched.size(); ++k) {
            result[batched[k]] = parts[qsizetype(k)];
            done[batched[k]] = true;
        }
    }
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (!done[i])
            result[i] = convert(pieces[i]);
    }
    return result;
}

} // namespace

struct CodePage::Tables
{
    QByteArray name;
    // UTF-8 is converted by rule; the tables below stay empty.
    bool utf8 = false;
    // What a byte stands for on its own: its character or its stand-in.
    std::array<char16_t, ByteCount> single{};
    // The row of pairs for a byte that begins two-byte characters; row 0,
    // all zeros, for every other byte.
    std::array<quint16, ByteCount> pairRow{};
    // [row * 256 + next]: the character of the pair, PairWithoutCharacter,
    // or 0 when next is no trail byte (the lead byte then stands alone).
    std::vector<char16_t> pairs;
    // [character]: Unmapped, or OneByte or TwoBytes with the bytes; a
    // stand-in is its byte.
    std::vector<quint32> bytesOf;
};

namespace {

// A character outside the tables that the converter writes as three bytes or
// more and reads back as itself, or 0. The characters are converted in one
// call, each followed by a line feed, and counted off at the line feeds.
template<typename Encode, typename Decode>
char16_t longCharacter(const std::vector<quint32> &bytesOf, Encode encodeOne, Decode decodeOne)
{
    QString batch(2 * 0x10000, Qt::Uninitialized);
    char16_t *next = reinterpret_cast<char16_t *>(batch.data());
    qsizetype count = 0;
    for (char32_t c = 0x80; c < 0x10000; ++c) {
        if (bytesOf[c] == Unmapped && !QChar::isSurrogate(c) && !isStandIn(char16_t(c))) {
            *next++ = char16_t(c);
            *next++ = u'\n';
            ++count;
        }
    }
    batch.truncate(2 * count);
    const QByteArray encoded = encodeOne(batch);
    std::vector<QByteArray> longPieces;
    QString longOnes;
    qsizetype at = 0;
    qsizetype piece = 0;
    while (at < encoded.size()) {
        qsizetype end = encoded.indexOf('\n', at);
        if (end < 0)
            end = encoded.size();
        if (end - at > 2 && piece < count) {
            longPieces.push_back(encoded.sliced(at, end - at));
            longOnes += batch.at(2 * piece);
        }
        at = end + 1;
        ++piece;
    }
    if (piece != count) {
        // A converter that took a line feed into a sequence: one by one.
        longPieces.clear();
        longOnes.clear();
        for (qsizetype i = 0; i < count; ++i) {
            const QByteArray bytes = encodeOne(QString(batch.at(2 * i)));
            if (bytes.size() > 2) {
                longPieces.push_back(bytes);
                longOnes += batch.at(2 * i);
            }
        }
    }
    const std::vector<QString> decoded = convertEach<QString>(longPieces, decodeOne);
    for (size_t k = 0; k < decoded.size(); ++k) {
        if (decoded[k].size() == 1 && decoded[k].front() == longOnes.at(qsizetype(k)))
            return longOnes.at(qsizetype(k)).unicode();
    }
    return 0;
}

} // namespace

CodePage::CodePage(std::shared_ptr<const Tables> tables)
    : m_tables(std::move(tables))
{
}

std::optional<CodePage> CodePage::open(const QByteArray &name, QString *error)
{
    const QString shownName = QString::fromLatin1(name);
    const auto fail = [&](const QString &text) -> std::optional<CodePage> {
        if (error)
            *error = text;
        return std::nullopt;
    };
    auto tables = std::make_shared<Tables>();
    tables->name = name;
    if (isUtf8Name(name)) {
        tables->utf8 = true;
        return CodePage(std::move(tables));
    }
    if (name.isEmpty() || !QStringDecoder(name.constData()).isValid()
        || !QStringEncoder(name.constData()).isValid()) {
        return fail(QStringLiteral("コードページ「%1」はこのシステムの変換器にありません。").arg(shownName));
    }

    const auto decodeOne = [&](const QByteArray &bytes) {
        QStringDecoder decoder(name.constData(), QStringDecoder::Flag::Stateless);
        return QString(decoder.decode(bytes));
    };
    const auto encodeOne = [&](const QString &text) {
        QStringEncoder encoder(name.constData(), QStringEncoder::Flag::Stateless);
        return QByteArray(encoder.encode(text));
    };
    // The decoded text is only a candidate: converters put a substitute
    // (U+001A, U+FFFD) where the bytes stand for nothing and say so only in a
    // flag for the whole call. A candidate counts when it is one code unit
    // outside the stand-ins and encodes back to exactly its bytes, which also
    // keeps only the canonical bytes of a character that several byte
    // sequences decode to.
    const auto charactersOf = [&](const std::vector<QByteArray> &pieces) {
        const std::vector<QString> decoded = convertEach<QString>(pieces, decodeOne);
        std::vector<QString> candidates;
        std::vector<size_t> pieceOf;
        for (size_t i = 0; i < pieces.size(); ++i) {
            const QString &text = decoded[i];
            if (text.size() == 1 && !text.front().isSurrogate() && !isStandIn(text.front().unicode())) {
                candidates.push_back(text);
                pieceOf.push_back(i);
            }
        }
        const std::vector<QByteArray> encoded = convertEach<QByteArray>(candidates, encodeOne);
        std::vector<char16_t> characters(pieces.size(), NoCharacter);
        for (size_t k = 0; k < candidates.size(); ++k) {
            if (encoded[k] == pieces[pieceOf[k]])
                characters[pieceOf[k]] = candidates[k].front().unicode();
        }
        return characters;
    };

    tables->pairs.assign(ByteCount, 0);
    tables->bytesOf.assign(PairCount, Unmapped);

    std::vector<QByteArray> singlePieces;
    for (int byte = 0; byte < ByteCount; ++byte)
        singlePieces.push_back(QByteArray(1, char(byte)));
    const std::vector<char16_t> singles = charactersOf(singlePieces);
    for (int byte = 0; byte < ByteCount; ++byte) {
        char16_t c = singles[size_t(byte)];
        // Some converters of Windows code pages follow the IBM host tables,
        // which swap the controls 1A, 1C and 7F; Windows reads each control
        // byte below 80 as that same control.
        if (byte < 0x80 && isAsciiControl(char16_t(byte)) && c != NoCharacter && isAsciiControl(c))
            c = char16_t(byte);
        tables->single[size_t(byte)] = c;
    }
    // The text format splits at TAB, CR and LF and finds directives and
    // numbers by their ASCII characters. Backslash and tilde may differ, as
    // the yen sign and the overline of the Japanese ASCII variant.
    for (int byte = 0; byte < 0x7F; ++byte) {
        const bool needed = byte == '\t' || byte == '\n' || byte == '\r' || (byte >= 0x20 && byte != '\\' && byte != '~');
        if (needed && tables->single[size_t(byte)] != byte)
            return fail(QStringLiteral("コードページ「%1」は ASCII を基にしたコードページではありません。").arg(shownName));
    }

    // Two-byte characters can only begin with a byte that is no character
    // alone.
    std::vector<int> leadCandidates;
    std::vector<QByteArray> pairPieces;
    for (int first = 0; first < ByteCount; ++first) {
        if (tables->single[size_t(first)] != NoCharacter)
            continue;
        leadCandidates.push_back(first);
        for (int second = 0; second < ByteCount; ++second) {
            const char bytes[2] = {char(first), char(second)};
            pairPieces.push_back(QByteArray(bytes, 2));
        }
    }
    const std::vector<char16_t> pairCharacters = charactersOf(pairPieces);

    // Every character is written as the first bytes found for it, the single
    // bytes first; a later duplicate is read as stand-ins, so that reading and
    // writing stay each other's inverse.
    for (int byte = 0; byte < ByteCount; ++byte) {
        char16_t &c = tables->single[size_t(byte)];
        if (c != NoCharacter && tables->bytesOf[c] == Unmapped)
            tables->bytesOf[c] = OneByte | quint32(byte) << 8;
        else
            c = standIn(static_cast<unsigned char>(byte));
        tables->bytesOf[standIn(static_cast<unsigned char>(byte))] = Special | OneByte | quint32(byte) << 8;
    }
    std::array<bool, ByteCount> trail{};
    size_t piece = 0;
    for (int first : leadCandidates) {
        const size_t rowStart = tables->pairs.size();
        tables->pairs.resize(rowStart + ByteCount, 0);
        for (int second = 0; second < ByteCount; ++second) {
            const char16_t c = pairCharacters[piece++];
            if (c != NoCharacter && tables->bytesOf[c] == Unmapped) {
                tables->bytesOf[c] = TwoBytes | quint32(first) << 8 | quint32(second);
                tables->pairs[rowStart + size_t(second)] = c;
                tables->pairRow[size_t(first)] = quint16(rowStart / ByteCount);
                trail[size_t(second)] = true;
            }
        }
        if (tables->pairRow[size_t(first)] == 0)
            tables->pairs.resize(rowStart);
    }
    // A lead byte followed by a trail byte is read as one unit, as Windows
    // reads it, also when the pair stands for no character: then both bytes
    // become stand-ins.
    for (size_t i = ByteCount; i < tables->pairs.size(); ++i) {
        if (tables->pairs[i] == 0 && trail[i % ByteCount])
            tables->pairs[i] = PairWithoutCharacter;
    }

    // The tables hold characters of one and two bytes. A code page with longer
    // ones (GB18030, EUC-JP, the ISO-2022 family) would have them read as
    // stand-ins and typed ones refused: its files would seem to load fine and
    // show garbage.
    if (const char16_t c = longCharacter(tables->bytesOf, encodeOne, decodeOne))
        return fail(QStringLiteral("コードページ「%1」には 3 バイト以上の文字（%2 など）があり、"
                                   "このプログラムでは正しく読み書きできません。UTF-8 は使えます。")
                        .arg(shownName, characterName(QString(QChar(c)), 0)));
    return CodePage(std::move(tables));
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

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 sequence at in[i], or 0 when the byte
// there begins none. Overlong forms, surrogates, values beyond U+10FFFF and
// the stand-in range (EF 9C..9F xx) are not well formed here: their bytes
// are read as stand-ins, so that they are written back as they were.
int utf8SequenceAt(const unsigned char *in, qsizetype i, qsizetype size)
{
    const unsigned char lead = in[i];
    int length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (size - i < length)
        return 0;
    const unsigned char second = in[i + 1];
    if (second < low || second > high || (lead == 0xEF && second >= 0x9C && second <= 0x9F))
        return 0;
    for (int k = 2; k < length; ++k) {
        if (!isContinuation(in[i + k]))
            return 0;
    }
    return length;
}

QString decodeUtf8(QByteArrayView bytes)
{
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    // Never more code units than bytes.
    QString text(size, Qt::Uninitialized);
    char16_t *const begin = reinterpret_cast<char16_t *>(text.data());
    char16_t *out = begin;
    qsizetype i = 0;
    while (i < size) {
        const unsigned char lead = in[i];
        if (lead < 0x80) {
            *out++ = lead;
            ++i;
            continue;
        }
        switch (utf8SequenceAt(in, i, size)) {
        case 2:
            *out++ = char16_t((lead & 0x1F) << 6 | (in[i + 1] & 0x3F));
            i += 2;
            break;
        case 3:
            *out++ = char16_t((lead & 0x0F) << 12 | (in[i + 1] & 0x3F) << 6 | (in[i + 2] & 0x3F));
            i += 3;
            break;
        case 4: {
            const char32_t c = char32_t(lead & 0x07) << 18 | char32_t(in[i + 1] & 0x3F) << 12
                               | char32_t(in[i + 2] & 0x3F) << 6 | char32_t(in[i + 3] & 0x3F);
            *out++ = QChar::highSurrogate(c);
            *out++ = QChar::lowSurrogate(c);
            i += 4;
            break;
        }
        default:
            *out++ = standIn(lead);
            ++i;
        }
    }
    text.truncate(out - begin);
    return text;
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
    const Tables &t = *m_tables;
    if (t.utf8)
        return decodeUtf8(bytes);
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    // Never more characters than bytes: a pair gives one character or two
    // stand-ins.
    QString text(size, Qt::Uninitialized);
    char16_t *const begin = reinterpret_cast<char16_t *>(text.data());
    char16_t *out = begin;
    qsizetype i = 0;
    while (i < size) {
        const unsigned char byte = in[i];
        const quint16 row = t.pairRow[byte];
        const char16_t pair = row == 0 || i + 1 == size ? 0 : t.pairs[size_t(row) * ByteCount + in[i + 1]];
        if (pair == 0) {
            *out++ = t.single[byte];
            ++i;
        } else if (pair == PairWithoutCharacter) {
            *out++ = standIn(byte);
            *out++ = standIn(in[i + 1]);
            i += 2;
        } else {
            *out++ = pair;
            i += 2;
        }
    }
    text.truncate(out - begin);
    return text;
}

qsizetype CodePage::encode(QStringView text, QByteArray &out) const
{
    const qsizetype start = out.size();
    Encoded encoded;
    if (m_tables->utf8) {
        encoded = encodeUtf8(text, out);
    } else {
        const quint32 *const bytesOf = m_tables->bytesOf.data();
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
