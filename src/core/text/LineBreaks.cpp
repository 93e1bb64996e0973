// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/LineBreaks.h"

#include "core/text/AsciiRuns.h"

#include <QtEndian>

#include <algorithm>
#include <bit>
#include <cstring>

namespace wendaro {

namespace {
const QString ListLineBreak = ListLineBreakText.toString();
const QString FileLineBreak = QStringLiteral("\r\n");

constexpr char FileLineBreakBytes[] = {'\r', 0, '\n', 0};

// The next CR LF in the UTF-16 from `from` to end, on a code unit boundary,
// or end. memchr finds the CR bytes far faster than a loop over code units;
// one that is the high byte of another character is passed over.
const char *nextFileLineBreak(const char *begin, const char *from, const char *end)
{
    while (from < end) {
        const auto *cr = static_cast<const char *>(std::memchr(from, '\r', size_t(end - from)));
        if (!cr)
            return end;
        if ((cr - begin) % 2 == 0 && end - cr >= 4 && std::memcmp(cr, FileLineBreakBytes, 4) == 0)
            return cr;
        from = cr + 1;
    }
    return end;
}

// Values are copied a block at a time where a block holds nothing to replace.
constexpr qsizetype Block = 32;

// Whether the Block units at block hold unit: compared with no branch, in
// flags as wide as the units, which the compiler does many at a time.
bool blockHolds(const char16_t *block, char16_t unit)
{
    quint16 found = 0;
    for (qsizetype k = 0; k < Block; ++k)
        found |= quint16(block[k] == unit);
    return found != 0;
}

// Counters as wide as the code units let the compiler compare and count
// eight or more units at a time; a chunk never overflows one.
constexpr qsizetype CountChunk = 4096;

// How many places in units hold first followed by second.
qsizetype pairsIn(const char16_t *units, qsizetype size, char16_t first, char16_t second)
{
    qsizetype pairs = 0;
    for (qsizetype from = 0; from + 1 < size; from += CountChunk) {
        const qsizetype end = qMin(size - 1, from + CountChunk);
        quint16 found = 0;
        for (qsizetype i = from; i < end; ++i)
            found += quint16(units[i] == first) & quint16(units[i + 1] == second);
        pairs += found;
    }
    return pairs;
}

} // namespace

const char16_t *alignedUnits(const char *bytes)
{
    if (Q_BYTE_ORDER == Q_LITTLE_ENDIAN && quintptr(bytes) % alignof(char16_t) == 0)
        return reinterpret_cast<const char16_t *>(bytes);
    return nullptr;
}

QString lineBreaksToList(QString value)
{
    return value.replace(FileLineBreak, ListLineBreak, Qt::CaseSensitive);
}

QString lineBreaksFromList(QString value)
{
    return value.replace(ListLineBreak, FileLineBreak, Qt::CaseSensitive);
}

qsizetype utf16LineBreakCount(const char *bytes, qsizetype codeUnits)
{
    // Where the units can be read as characters, every pair of neighbours
    // is compared, with no branch: the compiler does many at a time, however
    // close together the line breaks are.
    if (const char16_t *units = alignedUnits(bytes))
        return pairsIn(units, codeUnits, u'\r', u'\n');
    const char *const end = bytes + 2 * codeUnits;
    qsizetype breaks = 0;
    for (const char *at = nextFileLineBreak(bytes, bytes, end); at != end; at = nextFileLineBreak(bytes, at + 4, end))
        ++breaks;
    return breaks;
}

qsizetype utf16LineBreakCountUnlessListBreak(const char *bytes, qsizetype codeUnits)
{
    const auto unitAt = [bytes](qsizetype i) { return qFromLittleEndian<char16_t>(bytes + 2 * i); };
    for (qsizetype i = 0; i + ListLineBreak.size() <= codeUnits; ++i) {
        if (unitAt(i) == u'<' && unitAt(i + 1) == u'b' && unitAt(i + 2) == u'r' && unitAt(i + 3) == u'>')
            return -1;
    }
    return utf16LineBreakCount(bytes, codeUnits);
}

void listValueFromUtf16Into(const char *bytes, qsizetype codeUnits, char16_t *out)
{
    if (const char16_t *units = alignedUnits(bytes)) {
        // A block without a CR is copied whole; only one with a CR is looked
        // at unit by unit.
        qsizetype i = 0;
        while (i < codeUnits) {
            if (i + Block <= codeUnits && !blockHolds(units + i, u'\r')) {
                out = std::copy_n(units + i, Block, out);
                i += Block;
                continue;
            }
            for (const qsizetype end = qMin(codeUnits, i + Block); i < end;) {
                if (units[i] == u'\r' && i + 1 < codeUnits && units[i + 1] == u'\n') {
                    out = std::copy_n(ListLineBreakText.utf16(), ListLineBreakText.size(), out);
                    i += 2;
                } else {
                    *out++ = units[i++];
                }
            }
        }
        return;
    }
    const char *const end = bytes + 2 * codeUnits;
    const char *from = bytes;
    for (;;) {
        const char *const to = nextFileLineBreak(bytes, from, end);
        const qsizetype units = (to - from) / 2;
        if (units > 0) // an empty value may have no characters at all to point at
            qFromLittleEndian<char16_t>(from, units, out);
        out += units;
        if (to == end)
            return;
        out = std::copy_n(ListLineBreakText.utf16(), ListLineBreakText.size(), out);
        from = to + 4;
    }
}

QString listValueFromUtf16(const char *bytes, qsizetype codeUnits)
{
    if (codeUnits == 0)
        return QString();
    QString value(codeUnits + 2 * utf16LineBreakCount(bytes, codeUnits), Qt::Uninitialized);
    listValueFromUtf16Into(bytes, codeUnits, reinterpret_cast<char16_t *>(value.data()));
    return value;
}

qsizetype fileLengthOfListValue(QStringView value)
{
    // "<br>" cannot begin inside another, so each place where it begins is
    // counted, with no branch: the compiler compares many at a time, in
    // counters as wide as the units.
    const char16_t *const units = value.utf16();
    const qsizetype places = value.size() - 3;
    qsizetype breaks = 0;
    for (qsizetype from = 0; from < places; from += CountChunk) {
        const qsizetype end = qMin(places, from + CountChunk);
        quint16 found = 0;
        for (qsizetype i = from; i < end; ++i)
            found += quint16(units[i] == u'<') & quint16(units[i + 1] == u'b') & quint16(units[i + 2] == u'r')
                     & quint16(units[i + 3] == u'>');
        breaks += found;
    }
    return value.size() - 2 * breaks;
}

char *utf16FromListValue(QStringView value, char *out)
{
    // A block without a '<' is copied whole; only one with a '<' is looked
    // at unit by unit.
    const char16_t *const units = value.utf16();
    const qsizetype size = value.size();
    const auto copy = [&out](const char16_t *from, qsizetype count) {
        qToLittleEndian<char16_t>(from, count, out);
        out += 2 * count;
    };
    qsizetype i = 0;
    while (i < size) {
        if (i + Block <= size && !blockHolds(units + i, u'<')) {
            copy(units + i, Block);
            i += Block;
            continue;
        }
        for (const qsizetype end = qMin(size, i + Block); i < end;) {
            if (units[i] == u'<' && value.sliced(i).startsWith(ListLineBreak)) {
                out = std::copy_n(FileLineBreakBytes, 4, out);
                i += ListLineBreak.size();
            } else {
                copy(units + i, 1);
                ++i;
            }
        }
    }
    return out;
}

qsizetype nextListLineBreak(QByteArrayView bytes, qsizetype from)
{
    // "<" is rare in a value but for its breaks, and memchr passes over the
    // rest many bytes at a time.
    const char *const begin = bytes.data();
    const char *const end = begin + bytes.size();
    for (const char *at = begin + from; at < end;) {
        at = static_cast<const char *>(std::memchr(at, '<', size_t(end - at)));
        if (!at)
            return -1;
        if (end - at >= ListLineBreakBytes.size() && std::memcmp(at, ListLineBreakBytes.data(), 4) == 0)
            return at - begin;
        ++at;
    }
    return -1;
}

qsizetype listLineBreakCount(QByteArrayView bytes)
{
    // "<br>" cannot overlap itself: every '<' that begins one counts. '<'
    // is rare but for the breaks, so sixteen bytes are looked at for it at
    // a time, and only the bytes after each one found are compared.
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    const auto beginsBreak = [in, size](qsizetype at) {
        return size - at >= 4 && in[at + 1] == 'b' && in[at + 2] == 'r' && in[at + 3] == '>';
    };
    qsizetype count = 0;
    qsizetype i = 0;
    for (; size - i >= ascii::Block; i += ascii::Block) {
        for (unsigned opens = ascii::bytesEqualTo(in + i, '<'); opens != 0; opens &= opens - 1)
            count += beginsBreak(i + std::countr_zero(opens)) ? 1 : 0;
    }
    for (; i < size; ++i)
        count += in[i] == '<' && beginsBreak(i) ? 1 : 0;
    return count;
}

} // namespace wendaro
