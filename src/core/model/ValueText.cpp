// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/ValueText.h"

#include "core/text/LineBreaks.h"

#include <QtEndian>

#include <cstring>

namespace wendaro {

ValueText ValueText::inFile(const QByteArray &file, const char *bytes, qsizetype codeUnits)
{
    Q_ASSERT(bytes >= file.constData() && bytes + 2 * codeUnits <= file.constData() + file.size());
    ValueText value;
    // An empty value needs nothing of the file: not keeping it lets the
    // file go as soon as no value with characters is left in it.
    if (codeUnits == 0)
        return value;
    // "<br>" typed in the file is a line break once read, and is saved as
    // CR LF: such a value no longer has the file's code units, so it gets
    // its own text. Rare enough that the copy does not count.
    const qsizetype breaks = utf16LineBreakCountUnlessListBreak(bytes, codeUnits);
    if (breaks < 0)
        return ValueText(listValueFromUtf16(bytes, codeUnits));
    value.m_file = file;
    value.m_bytes = bytes;
    value.m_fileLength = codeUnits;
    value.m_size = codeUnits + 2 * breaks;
    if (breaks == 0)
        value.m_part = alignedUnits(bytes);
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
    if (const char16_t *units = m_bytes ? alignedUnits(m_bytes) : nullptr)
        return QStringView(units, m_fileLength);
    return std::nullopt;
}

QString ValueText::toString() const
{
    if (m_bytes && !m_part)
        return listValueFromUtf16(m_bytes, m_fileLength);
    if (m_part)
        return QString(reinterpret_cast<const QChar *>(m_part), m_size);
    return m_text;
}

QString ValueText::left(qsizetype count) const
{
    if (count >= m_size)
        return toString();
    if (const std::optional<QStringView> view = held())
        return view->first(count).toString();
    // A line break takes two code units in the file and four in the value,
    // so the value's first count units come from at most count + 1 in the
    // file (one more for a CR LF that the count would split).
    return listValueFromUtf16(m_bytes, qMin(count + 1, m_fileLength)).first(count);
}

void ValueText::appendTo(QString &text) const
{
    if (const std::optional<QStringView> view = held()) {
        text += *view;
        return;
    }
    const qsizetype at = text.size();
    text.resize(at + m_size);
    listValueFromUtf16Into(m_bytes, m_fileLength, reinterpret_cast<char16_t *>(text.data() + at));
}

qsizetype ValueText::fileLength() const
{
    return m_bytes ? m_fileLength : fileLengthOfListValue(*held());
}

char *ValueText::writeUtf16(char *out) const
{
    if (!m_bytes)
        return utf16FromListValue(*held(), out);
    std::memcpy(out, m_bytes, size_t(2 * m_fileLength));
    return out + 2 * m_fileLength;
}

bool operator==(const ValueText &a, const ValueText &b)
{
    if (a.m_size != b.m_size)
        return false;
    if (a.m_bytes && a.m_bytes == b.m_bytes)
        return a.m_fileLength == b.m_fileLength;
    return a.withView([&](QStringView x) { return b == x; });
}

bool operator==(const ValueText &a, QStringView b)
{
    return a.m_size == b.size() && a.withView([&](QStringView x) { return x == b; });
}

} // namespace wendaro
