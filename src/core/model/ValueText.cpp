// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/ValueText.h"

#include "core/text/FileUnitsLook.h"
#include "core/text/LineBreaks.h"

#include <QtEndian>

#include <cstring>

namespace wendaro {

ValueText ValueText::inFile(const std::shared_ptr<const ValueSource> &file, const char *bytes, qsizetype codeUnits)
{
    Q_ASSERT(!file->codePage);
    Q_ASSERT(bytes >= file->bytes.constData() && bytes + 2 * codeUnits <= file->bytes.constData() + file->bytes.size());
    ValueText value;
    // An empty value needs nothing of the file: not keeping it lets the
    // file go as soon as no value with characters is left in it.
    if (codeUnits == 0)
        return value;
    // "<br>" typed in the file is a line break once read, and is saved as
    // CR LF: such a value no longer has the file's code units, so it gets
    // its own text. Rare enough that the copy does not count.
    qsizetype breaks = 0;
    if (const char16_t *units = alignedUnits(bytes)) {
        const FileUnitsLook look = lookAtFileUnits(units, codeUnits);
        breaks = look.listBreak ? -1 : look.lineBreaks;
        value.m_fileUnitsAscii = look.ascii;
        value.m_fileUnitsWithoutSeparators = !look.separators;
    } else {
        breaks = utf16LineBreakCountUnlessListBreak(bytes, codeUnits);
    }
    if (breaks < 0)
        return ValueText(listValueFromUtf16(bytes, codeUnits));
    value.m_file = file;
    value.m_bytes = bytes;
    value.m_stored = codeUnits;
    value.m_size = codeUnits + 2 * breaks;
    if (breaks == 0)
        value.m_part = alignedUnits(bytes);
    return value;
}

ValueText ValueText::inTextFile(const std::shared_ptr<const ValueSource> &file, QByteArrayView bytes)
{
    Q_ASSERT(file->codePage);
    Q_ASSERT(bytes.data() >= file->bytes.constData()
             && bytes.data() + bytes.size() <= file->bytes.constData() + file->bytes.size());
    ValueText value;
    if (bytes.isEmpty())
        return value;
    value.m_file = file;
    value.m_bytes = bytes.data();
    value.m_stored = bytes.size();
    return value;
}

ValueText ValueText::inText(const QString &text, QStringView part)
{
    Q_ASSERT(part.data() >= text.constData() && part.data() + part.size() <= text.constData() + text.size());
    ValueText value;
    if (part.isEmpty())
        return value;
    value.m_text = text;
    value.m_part = part.utf16();
    value.m_size = part.size();
    return value;
}

std::optional<QStringView> ValueText::held() const
{
    if (m_part)
        return QStringView(m_part, m_size);
    if (!m_bytes)
        return QStringView(m_text);
    return std::nullopt;
}

std::optional<QStringView> ValueText::fileUnits() const
{
    if (const char16_t *units = m_bytes && !inTextFile() ? alignedUnits(m_bytes) : nullptr)
        return QStringView(units, m_stored);
    return std::nullopt;
}

std::optional<QByteArrayView> ValueText::bytesIn(const CodePage &codePage) const
{
    if (inTextFile() && m_file->codePage->sameAs(codePage))
        return QByteArrayView(m_bytes, m_stored);
    return std::nullopt;
}

QString ValueText::toString() const
{
    if (inTextFile())
        return m_file->codePage->decode(QByteArrayView(m_bytes, m_stored));
    if (m_bytes && !m_part)
        return listValueFromUtf16(m_bytes, m_stored);
    if (m_part)
        return QString(reinterpret_cast<const QChar *>(m_part), m_size);
    return m_text;
}

QString ValueText::left(qsizetype count) const
{
    // No character of a code page takes more than three bytes for each of
    // its code units, so the first count units are decoded whole from the
    // first 3 * count + 3 bytes (a character of two units may take four).
    if (inTextFile()) {
        if (count >= m_stored)
            return toString(); // no more units than bytes
        return m_file->codePage->decode(QByteArrayView(m_bytes, qMin(3 * count + 3, m_stored))).left(count);
    }
    if (count >= m_size)
        return toString();
    if (const std::optional<QStringView> view = held())
        return view->first(count).toString();
    // A line break takes two code units in the file and four in the value,
    // so the value's first count units come from at most count + 1 in the
    // file (one more for a CR LF that the count would split).
    return listValueFromUtf16(m_bytes, qMin(count + 1, m_stored)).first(count);
}

void ValueText::appendTo(QString &text) const
{
    if (const std::optional<QStringView> view = held()) {
        text += *view;
        return;
    }
    if (inTextFile()) {
        m_file->codePage->decodeAppending(QByteArrayView(m_bytes, m_stored), text);
        return;
    }
    const qsizetype at = text.size();
    text.resize(at + m_size);
    listValueFromUtf16Into(m_bytes, m_stored, reinterpret_cast<char16_t *>(text.data() + at));
}

qsizetype ValueText::size() const
{
    // Counted each time: most values of a large text file are never asked,
    // and a count kept in the row would have to be made at reading, for
    // every value, or be written by readers on several threads.
    if (inTextFile())
        return m_file->codePage->decodedSize(QByteArrayView(m_bytes, m_stored));
    return m_size;
}

qsizetype ValueText::fileLength() const
{
    if (inTextFile()) {
        const QByteArrayView bytes(m_bytes, m_stored);
        // Each "<br>" of four units is CR LF in a binary file.
        return m_file->codePage->decodedSize(bytes) - 2 * listLineBreakCount(bytes);
    }
    return m_bytes ? m_stored : fileLengthOfListValue(*held());
}

qsizetype ValueText::fileLengthAtMost() const
{
    // A code page has no byte that decodes to two code units (a pair of
    // stand-ins comes from two bytes), and a "<br>" becomes shorter.
    return m_bytes ? m_stored : m_size;
}

char *ValueText::writeUtf16(char *out) const
{
    if (!m_bytes)
        return utf16FromListValue(*held(), out);
    if (inTextFile()) {
        // Decoded straight into the file being written, a piece between
        // two "<br>" at a time, each "<br>" as CR LF.
        const CodePage &codePage = *m_file->codePage;
        const QByteArrayView bytes(m_bytes, m_stored);
        qsizetype from = 0;
        for (qsizetype at = nextListLineBreak(bytes, 0); at >= 0;
             from = at + ListLineBreakBytes.size(), at = nextListLineBreak(bytes, from)) {
            out = codePage.decodeUtf16(bytes.sliced(from, at - from), out);
            constexpr char LineBreakUtf16[] = {'\r', 0, '\n', 0};
            std::memcpy(out, LineBreakUtf16, sizeof LineBreakUtf16);
            out += 4;
        }
        return codePage.decodeUtf16(bytes.sliced(from), out);
    }
    std::memcpy(out, m_bytes, size_t(2 * m_stored));
    return out + 2 * m_stored;
}

bool operator==(const ValueText &a, const ValueText &b)
{
    if (a.m_bytes && a.m_bytes == b.m_bytes)
        return a.m_stored == b.m_stored;
    // Two values in text files of one code page: a code page reads no two
    // byte sequences as the same characters, as it writes back every file
    // byte for byte.
    if (a.inTextFile() && b.inTextFile() && a.m_file->codePage->sameAs(*b.m_file->codePage))
        return QByteArrayView(a.m_bytes, a.m_stored) == QByteArrayView(b.m_bytes, b.m_stored);
    // Two values in binary files: their code units, CR LF and all, are the
    // value one for one (one with a typed "<br>" has a text of its own).
    if (a.m_bytes && b.m_bytes && !a.inTextFile() && !b.inTextFile())
        return QByteArrayView(a.m_bytes, 2 * a.m_stored) == QByteArrayView(b.m_bytes, 2 * b.m_stored);
    if (!a.inTextFile() && !b.inTextFile() && a.m_size != b.m_size)
        return false;
    return a.withView([&](QStringView x) { return b == x; });
}

bool operator==(const ValueText &a, QStringView b)
{
    if (!a.inTextFile() && a.m_size != b.size())
        return false;
    return a.withView([&](QStringView x) { return x == b; });
}

} // namespace wendaro
