// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/formats/TextReader.h"

#include "core/io/LoadProgress.h"

#include "core/text/CodePage.h"
#include "core/model/EntryList.h"
#include "core/model/IndexText.h"
#include "core/text/Number.h"
#include "core/text/Spaces.h"
#include "core/model/TextFields.h"
#include "core/checks/SaveRefusals.h"

#include <algorithm>

namespace wendaro {

namespace {

// The field that follows the TAB at tab, up to the next TAB (nextTab, or -1
// for the end of the piece).
template<typename View>
View fieldBetween(View piece, qsizetype tab, qsizetype nextTab)
{
    const qsizetype end = nextTab < 0 ? piece.size() : nextTab;
    return piece.sliced(tab + 1, end - tab - 1);
}

char16_t unitAt(QStringView text, qsizetype i)
{
    return text[i].unicode();
}

char16_t unitAt(QByteArrayView bytes, qsizetype i)
{
    return static_cast<unsigned char>(bytes[i]);
}

qsizetype indexOfUnit(QStringView text, char16_t unit, qsizetype from)
{
    return text.indexOf(QChar(unit), from);
}

qsizetype indexOfUnit(QByteArrayView bytes, char16_t unit, qsizetype from)
{
    return bytes.indexOf(char(unit), from);
}

// The first TAB, LF or CR from from on, or -1.
qsizetype nextSeparator(QStringView text, qsizetype from)
{
    const qsizetype found = refusal::firstOf(text.sliced(from), refusal::TextFieldSeparators);
    return found < 0 ? -1 : from + found;
}

qsizetype nextSeparator(QByteArrayView bytes, qsizetype from)
{
    // A block with no byte below 14 holds none of them: told without a
    // branch a byte, which the compiler does many bytes at a time. Only a
    // block that may hold one is looked at byte by byte.
    constexpr qsizetype Block = 64;
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    for (qsizetype i = from; i < size;) {
        if (i + Block <= size) {
            unsigned char low = 0;
            for (qsizetype k = 0; k < Block; ++k)
                low |= static_cast<unsigned char>(in[i + k] <= '\r');
            if (low == 0) {
                i += Block;
                continue;
            }
        }
        for (const qsizetype end = qMin(size, i + Block); i < end; ++i) {
            if (in[i] == '\t' || in[i] == '\n' || in[i] == '\r')
                return i;
        }
    }
    return -1;
}

template<typename View>
bool onlySpaces(View piece)
{
    for (qsizetype i = 0; i < piece.size(); ++i) {
        if (unitAt(piece, i) != u' ')
            return false;
    }
    return true;
}

} // namespace

QString TextReader::Place::text() const
{
    if (!lineHasSeveralPieces)
        return QStringLiteral("%1 行目").arg(lineNumber);
    return QStringLiteral("%1 行目の LF で区切られた %2 番目の部分").arg(lineNumber).arg(pieceNumber);
}

void TextReader::Tabs::add(qsizetype tab)
{
    if (first < 0)
        first = tab;
    else if (second < 0)
        second = tab;
    else if (third < 0)
        third = tab;
}

template<typename View>
TextReader::Tabs TextReader::Tabs::in(View piece)
{
    Tabs tabs;
    for (qsizetype tab = indexOfUnit(piece, u'\t', 0); tab >= 0 && tabs.third < 0;
         tab = indexOfUnit(piece, u'\t', tab + 1))
        tabs.add(tab);
    return tabs;
}

namespace {

// The first field of a line, up to its first TAB.
QStringView firstField(QStringView line)
{
    const qsizetype tab = line.indexOf(u'\t');
    return tab < 0 ? line : line.first(tab);
}

} // namespace

bool TextReader::holdsEntry(QStringView line)
{
    return isNumeric(firstField(line));
}

template<typename View>
bool TextReader::fail(View all, View piece, QString description)
{
    m_error = std::move(description);
    // Counted only now: the lines the reader counts end at CR alone, and a
    // file of LF line ends is one of them.
    const qsizetype before = piece.data() - all.data();
    qsizetype lineEnds = 0;
    for (qsizetype i = 0; i < before; ++i) {
        const char16_t unit = unitAt(all, i);
        lineEnds += unit == u'\r' || (unit == u'\n' && (i == 0 || unitAt(all, i - 1) != u'\r')) ? 1 : 0;
    }
    m_errorLine = 1 + lineEnds;
    return false;
}

bool TextReader::read(QByteArrayView data, const CodePage &codePage, EntryList &rows, TextFields &fields,
                      qint16 &largestIndex, qint64 *errorLine, QString *error)
{
    return readKeeping(data.toByteArray(), codePage, rows, fields, largestIndex, errorLine, error);
}

bool TextReader::readKeeping(const QByteArray &file, const CodePage &codePage, EntryList &rows, TextFields &fields,
                             qint16 &largestIndex, qint64 *errorLine, QString *error)
{
    if (!codePage.marksFieldsInBytes())
        return readKeeping(codePage.decode(file), rows, fields, largestIndex, errorLine, error);
    m_file = std::make_shared<const ValueSource>(ValueSource{file, codePage});
    const bool ok = readAll(QByteArrayView(file), rows, fields, largestIndex, errorLine, error);
    m_file.reset();
    m_decoded = QString();
    return ok;
}

bool TextReader::readKeeping(const QString &text, EntryList &rows, TextFields &fields, qint16 &largestIndex,
                             qint64 *errorLine, QString *error)
{
    m_text = text;
    const bool ok = read(text, rows, fields, largestIndex, errorLine, error);
    m_text.clear();
    return ok;
}

bool TextReader::read(QStringView all, EntryList &rows, TextFields &fields, qint16 &largestIndex, qint64 *errorLine,
                      QString *error)
{
    return readAll(all, rows, fields, largestIndex, errorLine, error);
}

template<typename View>
bool TextReader::readAll(View all, EntryList &rows, TextFields &fields, qint16 &largestIndex, qint64 *errorLine,
                         QString *error)
{
    if (readLines(all, rows, fields, largestIndex))
        return true;
    *errorLine = m_errorLine > 0 ? qint64(m_errorLine) : -1;
    *error = m_error;
    return false;
}

QStringView TextReader::characters(QByteArrayView field)
{
    m_decoded.resize(0);
    m_file->codePage->decodeAppending(field, m_decoded);
    return m_decoded;
}

QString TextReader::nameOf(QByteArrayView field) const
{
    return m_file->codePage->decode(field);
}

ValueText TextReader::valueOf(QStringView field) const
{
    if (m_text.isNull())
        return field.toString();
    return ValueText::inText(m_text, field);
}

ValueText TextReader::valueOf(QByteArrayView field) const
{
    return ValueText::inTextFile(m_file, field);
}

template<typename View>
bool TextReader::readLines(View all, EntryList &rows, TextFields &fields, qint16 &largestIndex)
{
    m_error.clear();
    m_errorLine = 0;

    qsizetype lineNumber = 0;
    qsizetype lineStart = 0;
    while (lineStart < all.size()) {
        // A line ends at CR or CR LF; a lone LF stays inside the line. One
        // pass over the line finds its end, its first TABs and whether it
        // holds an LF.
        Tabs tabs;
        bool holdsLf = false;
        qsizetype lineEnd = lineStart;
        for (;; ++lineEnd) {
            const qsizetype next = nextSeparator(all, lineEnd);
            lineEnd = next < 0 ? all.size() : next;
            if (lineEnd == all.size() || unitAt(all, lineEnd) == u'\r')
                break;
            if (unitAt(all, lineEnd) == u'\n')
                holdsLf = true;
            else
                tabs.add(lineEnd - lineStart);
        }
        const View line = all.sliced(lineStart, lineEnd - lineStart);
        lineStart = lineEnd;
        if (lineStart < all.size()) {
            ++lineStart;
            if (lineStart < all.size() && unitAt(all, lineStart) == u'\n')
                ++lineStart;
        }
        ++lineNumber;
        if (m_progress && !m_progress->reached(lineStart, all.size()))
            return false;
        if (lineNumber == RowsBeforeReserving)
            reserveRows(rows, lineStart, all.size());

        if (!holdsLf) {
            // The first line of the file is the header, whatever it holds.
            if (lineNumber > 1 && !readPiece(all, line, tabs, Place{lineNumber, 1, false}, rows, fields, largestIndex))
                return false;
            continue;
        }
        qsizetype pieceNumber = 0;
        for (qsizetype pieceStart = 0; pieceStart <= line.size();) {
            const qsizetype lf = indexOfUnit(line, u'\n', pieceStart);
            const qsizetype pieceEnd = lf < 0 ? line.size() : lf;
            const View piece = line.sliced(pieceStart, pieceEnd - pieceStart);
            pieceStart = pieceEnd + 1;
            ++pieceNumber;
            // The first piece of the file is the header, whatever it holds.
            if (lineNumber == 1 && pieceNumber == 1)
                continue;
            if (!readPiece(all, piece, Tabs::in(piece), Place{lineNumber, pieceNumber, true}, rows, fields,
                           largestIndex))
                return false;
        }
    }
    return true;
}

void TextReader::reserveRows(EntryList &rows, qsizetype read, qsizetype size)
{
    // The rows' list grows by copying itself into fresh memory, again and
    // again for a large table: room for the rest is taken at once, as many
    // rows as the lines read so far would make of the bytes left, and a
    // little more. A guess too high costs only room never touched; one too
    // low, the growth there would have been. No row takes under 4 bytes,
    // and no more is taken than twice the rows an STF file holds: short
    // first lines before long ones must not ask for gigabytes.
    constexpr qsizetype MostReserved = 65536;
    const qsizetype left = size - read;
    const qsizetype guess = left / qMax<qsizetype>(1, read / RowsBeforeReserving) * 9 / 8;
    rows.reserve(rows.count() + std::min({guess, left / 4, MostReserved}) + 1);
}

bool TextReader::readRows(QStringView text, EntryList &rows, qint16 &largestIndex, QString *error)
{
    m_error.clear();
    m_errorLine = 0;
    // A directive has no field of its own here: it is read as any other
    // line that holds no entry, and dropped.
    TextFields ignored;
    qsizetype lineNumber = 0;
    qsizetype lineStart = 0;
    while (lineStart < text.size()) {
        const qsizetype found = refusal::firstOf(text.sliced(lineStart), refusal::TextLineBreaks);
        const qsizetype lineEnd = found < 0 ? text.size() : lineStart + found;
        const QStringView line = text.sliced(lineStart, lineEnd - lineStart);
        ++lineNumber;
        if (!readPiece(text, line, Tabs::in(line), Place{lineNumber, 1, false}, rows, ignored, largestIndex)) {
            *error = m_error;
            return false;
        }
        lineStart = lineEnd + 1;
        if (lineEnd < text.size() && text[lineEnd] == u'\r' && lineStart < text.size() && text[lineStart] == u'\n')
            ++lineStart;
    }
    return true;
}

template<typename View>
bool TextReader::readPiece(View all, View piece, const Tabs &tabs, const Place &place, EntryList &rows,
                           TextFields &fields, qint16 &largestIndex)
{
    if (onlySpaces(piece))
        return true;

    // Fields after the third are ignored.
    const QStringView first = characters(tabs.first < 0 ? piece : piece.first(tabs.first));
    // One conversion both tells an entry (holdsEntry) and gives its index.
    const Int16Conversion index = toInt16(first);
    if (index.status != Int16Conversion::Status::NotNumeric) {
        if (!index.ok()) {
            return fail(all, piece,
                        QStringLiteral("%1のインデックス「%2」は -32768 から 32767 の範囲を超えています。")
                            .arg(place.text(), trimSpaces(first)));
        }
        largestIndex = qMax(largestIndex, index.value);
        const qsizetype position = rows.append(indexText(index.value));
        if (tabs.first >= 0)
            rows.setName(position, nameOf(fieldBetween(piece, tabs.first, tabs.second)));
        if (tabs.second < 0) {
            return fail(all, piece,
                        QStringLiteral("%1（インデックス %2）には TAB で区切られた項目が %3 個しかありません。"
                                       "インデックス、名前、値の 3 個が必要です。")
                            .arg(place.text())
                            .arg(index.value)
                            .arg(tabs.first < 0 ? 1 : 2));
        }
        rows.setValue(position, valueOf(fieldBetween(piece, tabs.second, tabs.third)));
        return true;
    }

    // Each piece may be a directive: a file with LF line ends is one line of
    // pieces, and its ">file" and ">//" lines must count.
    const QStringView directive = trimLeadingSpaces(characters(piece));
    if (directive.left(5).compare(u">file", Qt::CaseInsensitive) == 0)
        fields.outputFile = trimSpaces(directive.sliced(5)).toString();
    else if (directive.startsWith(u">//"))
        fields.memo = directive.sliced(3).toString();
    return true;
}

} // namespace wendaro
