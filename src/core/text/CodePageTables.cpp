// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/CodePageTables.h"

#include "core/text/CharacterName.h"
#include "core/text/StandIn.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>
#include <algorithm>

namespace wendaro {

namespace {

constexpr int ByteCount = CodePageTables::ByteCount;
constexpr quint32 Unmapped = CodePageTables::Unmapped;

// While the tables are built: no character found for the bytes. Real
// characters in the stand-in range are never taken, so it cannot clash.
constexpr char16_t NoCharacter = CodePage::EscapeBase;

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

// A character outside the tables that the converter writes as three bytes or
// more and reads back as itself, or 0. The characters are converted in one
// call, each followed by a line feed, and counted off at the line feeds.
template<typename Encode, typename Decode>
char16_t longCharacter(const quint32 *bytesOf, Encode encodeOne, Decode decodeOne)
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

// Fresh converters for each call, so that no state carries from one piece
// to the next.
QString decodeOne(const QByteArray &name, const QByteArray &bytes)
{
    QStringDecoder decoder(name.constData(), QStringDecoder::Flag::Stateless);
    return QString(decoder.decode(bytes));
}

QByteArray encodeOne(const QByteArray &name, const QString &text)
{
    QStringEncoder encoder(name.constData(), QStringEncoder::Flag::Stateless);
    return QByteArray(encoder.encode(text));
}

// The decoded text is only a candidate: converters put a substitute
// (U+001A, U+FFFD) where the bytes stand for nothing and say so only in a
// flag for the whole call. A candidate counts when it is one code unit
// outside the stand-ins and encodes back to exactly its bytes, which also
// keeps only the canonical bytes of a character that several byte
// sequences decode to.
std::vector<char16_t> charactersOf(const QByteArray &name, const std::vector<QByteArray> &pieces)
{
    const std::vector<QString> decoded = convertEach<QString>(pieces, [&name](const QByteArray &bytes) {
        return decodeOne(name, bytes);
    });
    std::vector<QString> candidates;
    std::vector<size_t> pieceOf;
    for (size_t i = 0; i < pieces.size(); ++i) {
        const QString &text = decoded[i];
        if (text.size() == 1 && !text.front().isSurrogate() && !isStandIn(text.front().unicode())) {
            candidates.push_back(text);
            pieceOf.push_back(i);
        }
    }
    const std::vector<QByteArray> encoded = convertEach<QByteArray>(candidates, [&name](const QString &text) {
        return encodeOne(name, text);
    });
    std::vector<char16_t> characters(pieces.size(), NoCharacter);
    for (size_t k = 0; k < candidates.size(); ++k) {
        if (encoded[k] == pieces[pieceOf[k]])
            characters[pieceOf[k]] = candidates[k].front().unicode();
    }
    return characters;
}

// What each byte reads as alone, NoCharacter where it reads as nothing.
void readSingles(const QByteArray &name, CodePageTables &tables)
{
    std::vector<QByteArray> singlePieces;
    for (int byte = 0; byte < ByteCount; ++byte)
        singlePieces.push_back(QByteArray(1, char(byte)));
    const std::vector<char16_t> singles = charactersOf(name, singlePieces);
    for (int byte = 0; byte < ByteCount; ++byte) {
        char16_t c = singles[size_t(byte)];
        // Some converters of Windows code pages follow the IBM host tables,
        // which swap the controls 1A, 1C and 7F; Windows reads each control
        // byte below 80 as that same control.
        if (byte < 0x80 && isAsciiControl(char16_t(byte)) && c != NoCharacter && isAsciiControl(c))
            c = char16_t(byte);
        tables.single[size_t(byte)] = c;
    }
}

// The text format splits at TAB, CR and LF and finds directives and
// numbers by their ASCII characters. Backslash and tilde may differ, as
// the yen sign and the overline of the Japanese ASCII variant.
bool isAsciiBased(const CodePageTables &tables)
{
    for (int byte = 0; byte < 0x7F; ++byte) {
        const bool needed = byte == '\t' || byte == '\n' || byte == '\r'
                            || (byte >= 0x20 && byte != '\\' && byte != '~');
        if (needed && tables.single[size_t(byte)] != byte)
            return false;
    }
    return true;
}

// Two-byte characters can only begin with a byte that is no character
// alone.
std::vector<int> leadCandidatesOf(const CodePageTables &tables)
{
    std::vector<int> leadCandidates;
    for (int first = 0; first < ByteCount; ++first) {
        if (tables.single[size_t(first)] == NoCharacter)
            leadCandidates.push_back(first);
    }
    return leadCandidates;
}

// What every pair that begins with one of the lead candidates reads as, row
// by row in their order.
std::vector<char16_t> readPairs(const QByteArray &name, const std::vector<int> &leadCandidates)
{
    std::vector<QByteArray> pairPieces;
    for (int first : leadCandidates) {
        for (int second = 0; second < ByteCount; ++second) {
            const char bytes[2] = {char(first), char(second)};
            pairPieces.push_back(QByteArray(bytes, 2));
        }
    }
    return charactersOf(name, pairPieces);
}

// Every character is written as the first bytes found for it, the single
// bytes first; a later duplicate is read as stand-ins, so that reading and
// writing stay each other's inverse.
void keepFirstSingles(CodePageTables &tables, std::vector<bool> &taken)
{
    for (int byte = 0; byte < ByteCount; ++byte) {
        char16_t &c = tables.single[size_t(byte)];
        if (c != NoCharacter && !taken[c])
            taken[c] = true;
        else
            c = standIn(static_cast<unsigned char>(byte));
    }
}

// The pair rows, after row 0 of zeros: one for each lead candidate that has
// a character not taken before.
void buildPairRows(CodePageTables &tables, const std::vector<int> &leadCandidates,
                   const std::vector<char16_t> &pairCharacters, std::vector<bool> &taken)
{
    std::vector<char16_t> &pairs = tables.ownPairs;
    pairs.assign(ByteCount, 0);
    std::array<bool, ByteCount> trail{};
    size_t piece = 0;
    for (int first : leadCandidates) {
        const size_t rowStart = pairs.size();
        pairs.resize(rowStart + ByteCount, 0);
        for (int second = 0; second < ByteCount; ++second) {
            const char16_t c = pairCharacters[piece++];
            if (c != NoCharacter && !taken[c]) {
                taken[c] = true;
                pairs[rowStart + size_t(second)] = c;
                tables.pairRow[size_t(first)] = quint16(rowStart / ByteCount);
                trail[size_t(second)] = true;
            }
        }
        if (tables.pairRow[size_t(first)] == 0)
            pairs.resize(rowStart);
    }
    // A lead byte followed by a trail byte is read as one unit, as Windows
    // reads it, also when the pair stands for no character: then both bytes
    // become stand-ins.
    for (size_t i = ByteCount; i < pairs.size(); ++i) {
        if (pairs[i] == 0 && trail[i % ByteCount])
            pairs[i] = CodePageTables::PairWithoutCharacter;
    }
    tables.pairs = pairs.data();
    tables.pairsSize = qsizetype(pairs.size());
}

// The tables hold characters of one and two bytes. A code page with longer
// ones (GB18030, EUC-JP, the ISO-2022 family) would have them read as
// stand-ins and typed ones refused: its files would seem to load fine and
// show garbage. Returns such a character, or 0.
char16_t firstLongCharacter(const QByteArray &name, const CodePageTables &tables)
{
    // A converter that writes no character in more than two bytes, by its
    // own word, needs no search; for the code pages of single bytes the
    // search would be most of the building.
    const bool mayHaveLong = QStringEncoder(name.constData(), QStringEncoder::Flag::Stateless).requiredSpace(1) > 2;
    if (!mayHaveLong)
        return 0;
    return longCharacter(
        tables.bytesOf, [&name](const QString &text) { return encodeOne(name, text); },
        [&name](const QByteArray &bytes) { return decodeOne(name, bytes); });
}

} // namespace

void CodePageTables::makeBytesOf()
{
    ownBytesOf.assign(PairCount, Unmapped);
    // The reading tables hold each character once, at its canonical bytes: a
    // later duplicate was made stand-ins when they were built.
    for (int byte = 0; byte < ByteCount; ++byte) {
        const char16_t c = single[size_t(byte)];
        if (!isStandIn(c))
            ownBytesOf[c] = OneByte | quint32(byte) << 8;
        ownBytesOf[standIn(static_cast<unsigned char>(byte))] = Special | OneByte | quint32(byte) << 8;
    }
    for (int first = 0; first < ByteCount; ++first) {
        const qsizetype rowStart = qsizetype(pairRow[size_t(first)]) * ByteCount;
        if (rowStart == 0)
            continue;
        for (int second = 0; second < ByteCount; ++second) {
            const char16_t c = pairs[rowStart + second];
            if (c != 0 && c != PairWithoutCharacter)
                ownBytesOf[c] = TwoBytes | quint32(first) << 8 | quint32(second);
        }
    }
    bytesOf = ownBytesOf.data();
}

std::shared_ptr<CodePageTables> tablesFromConverters(const QByteArray &name, QString *error)
{
    const QString shownName = QString::fromLatin1(name);
    const auto fail = [&](const QString &text) -> std::shared_ptr<CodePageTables> {
        if (error)
            *error = text;
        return nullptr;
    };
    if (name.isEmpty() || !QStringDecoder(name.constData()).isValid() || !QStringEncoder(name.constData()).isValid()) {
        return fail(QStringLiteral("コードページ「%1」はこのシステムの変換器にありません。").arg(shownName));
    }
    auto tables = std::make_shared<CodePageTables>();
    tables->name = name;

    readSingles(name, *tables);
    if (!isAsciiBased(*tables))
        return fail(QStringLiteral("コードページ「%1」は ASCII を基にしたコードページではありません。").arg(shownName));
    const std::vector<int> leadCandidates = leadCandidatesOf(*tables);
    const std::vector<char16_t> pairCharacters = readPairs(name, leadCandidates);

    // The characters given bytes so far.
    std::vector<bool> taken(CodePageTables::PairCount, false);
    keepFirstSingles(*tables, taken);
    buildPairRows(*tables, leadCandidates, pairCharacters, taken);
    tables->makeBytesOf();

    if (const char16_t c = firstLongCharacter(name, *tables))
        return fail(QStringLiteral("コードページ「%1」には 3 バイト以上の文字（%2 など）があり、"
                                   "このプログラムでは正しく読み書きできません。UTF-8 は使えます。")
                        .arg(shownName, characterName(QString(QChar(c)), 0)));
    return tables;
}

std::shared_ptr<const CodePageTables> tablesFromBuiltIn(const BuiltInCodePage &builtIn)
{
    auto tables = std::make_shared<CodePageTables>();
    tables->name = builtIn.name;
    std::copy_n(builtIn.single, ByteCount, tables->single.begin());
    std::copy_n(builtIn.pairRow, ByteCount, tables->pairRow.begin());
    tables->pairs = builtIn.pairs;
    tables->pairsSize = builtIn.pairsSize;
    tables->bytesOf = builtIn.bytesOf;
    return tables;
}

} // namespace wendaro
