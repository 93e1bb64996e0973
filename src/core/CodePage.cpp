#include "CodePage.h"

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
// bits 16 and up, then the first byte and the second byte (of a pair).
constexpr quint32 Unmapped = 0;
constexpr quint32 OneByte = 1 << 16;
constexpr quint32 TwoBytes = 2 << 16;

bool isStandIn(char16_t c)
{
    return c >= CodePage::EscapeBase && c < CodePage::EscapeBase + ByteCount;
}

char16_t standIn(unsigned char byte)
{
    return char16_t(CodePage::EscapeBase + byte);
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
    // What a byte stands for on its own: its character or its stand-in.
    std::array<char16_t, ByteCount> single{};
    // The row of pairs for a byte that begins two-byte characters; row 0,
    // all zeros, for every other byte.
    std::array<quint16, ByteCount> pairRow{};
    // [row * 256 + next]: the character of the pair, PairWithoutCharacter,
    // or 0 when next is no trail byte (the lead byte then stands alone).
    std::vector<char16_t> pairs = std::vector<char16_t>(ByteCount, 0);
    // [character]: Unmapped, or OneByte or TwoBytes with the bytes; a
    // stand-in is its byte.
    std::vector<quint32> bytesOf = std::vector<quint32>(PairCount, Unmapped);
};

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

    auto tables = std::make_shared<Tables>();
    tables->name = name;

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
        tables->bytesOf[standIn(static_cast<unsigned char>(byte))] = OneByte | quint32(byte) << 8;
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

QChar CodePage::charForByte(unsigned char byte) const
{
    return QChar(m_tables->single[byte]);
}

QString CodePage::decodeBytewise(QByteArrayView bytes) const
{
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (const char byte : bytes)
        *out++ = m_tables->single[static_cast<unsigned char>(byte)];
    return text;
}

std::optional<unsigned char> CodePage::byteForChar(QChar c) const
{
    const quint32 bytes = m_tables->bytesOf[c.unicode()];
    if ((bytes & ~0xFFFFu) != OneByte)
        return std::nullopt;
    return static_cast<unsigned char>(bytes >> 8);
}

QString CodePage::decode(QByteArrayView bytes) const
{
    const Tables &t = *m_tables;
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
    const quint32 *const bytesOf = m_tables->bytesOf.data();
    const qsizetype start = out.size();
    out.resize(start + 2 * text.size());
    char *write = out.data() + start;
    const char16_t *const units = text.utf16();
    // Two bytes are stored for every character and the end moves on by its
    // byte count: no branch on the kind of character, which mixed text
    // would mispredict at every change.
    for (qsizetype i = 0; i < text.size(); ++i) {
        const quint32 bytes = bytesOf[units[i]];
        if (bytes == Unmapped) {
            out.truncate(write - out.constData());
            return i;
        }
        write[0] = char(bytes >> 8);
        write[1] = char(bytes);
        write += bytes >> 16;
    }
    out.truncate(write - out.constData());
    return -1;
}

} // namespace wendaro
