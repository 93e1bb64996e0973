// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/formats/TextWriter.h"

#include "core/io/ByteSink.h"
#include "core/text/CodePage.h"
#include "core/model/EntryList.h"
#include "core/text/LineBreaks.h"
#include "core/checks/SaveRefusals.h"
#include "core/checks/SaveRules.h"
#include "core/text/Spaces.h"
#include "core/model/TextFields.h"

namespace wendaro {

namespace {

const QString Header = QStringLiteral("Index\tName\tValue");
const QString LineEnd = QStringLiteral("\r\n");

bool hasOutputFileLine(const TextFields &fields)
{
    return !trimSpaces(fields.outputFile).isEmpty();
}

bool hasMemoLine(const TextFields &fields)
{
    return !trimSpaces(fields.memo).isEmpty();
}

} // namespace

void TextWriter::appendFieldLines(QString &text, const TextFields &fields)
{
    text += Header + LineEnd;
    if (hasOutputFileLine(fields))
        text += QStringLiteral(">file ") + trimSpaces(fields.outputFile).toString() + LineEnd;
    if (hasMemoLine(fields))
        text += QStringLiteral(">//") + fields.memo + LineEnd;
}

void TextWriter::appendRow(QString &text, const Entry &entry)
{
    text += trimSpaces(entry.indexText);
    text += u'\t';
    text += entry.name;
    text += u'\t';
    entry.value.appendTo(text);
    text += LineEnd;
}

bool TextWriter::appendRowPlainly(QByteArray &bytes, const Entry &entry, const CodePage &codePage,
                                  const QByteArray &tab, const QByteArray &lineEnd)
{
    if (!codePage.encodePlainly(trimSpaces(entry.indexText), bytes))
        return false;
    bytes += tab;
    if (!codePage.encodePlainly(entry.name, bytes))
        return false;
    bytes += tab;
    // A value still in a text file of this code page is written as it
    // stands there.
    if (const std::optional<QByteArrayView> stands = entry.value.bytesIn(codePage)) {
        bytes += *stands;
        bytes += lineEnd;
        return true;
    }
    // A value still in its binary file is encoded from there, CR LF as "<br>".
    const std::optional<QStringView> units = entry.value.fileUnits();
    const bool plain = units ? codePage.encodePlainly(*units, bytes, ListLineBreakText)
                             : entry.value.withView(
                                 [&](QStringView value) { return codePage.encodePlainly(value, bytes); });
    if (!plain)
        return false;
    bytes += lineEnd;
    return true;
}

qsizetype TextWriter::rowSize(const Entry &entry)
{
    return trimSpaces(entry.indexText).size() + entry.name.size() + entry.value.size() + 4;
}

QString TextWriter::layout(const EntryList &rows, const TextFields &fields)
{
    // Sized once: growing a string of hundreds of megabytes a row at a time
    // copies it again and again.
    qsizetype size = Header.size() + fields.outputFile.size() + fields.memo.size() + 16;
    for (qsizetype position = 0; position < rows.count(); ++position)
        size += rowSize(rows.at(position));
    QString text;
    text.reserve(size);
    appendFieldLines(text, fields);
    for (qsizetype position = 0; position < rows.count(); ++position)
        appendRow(text, rows.at(position));
    return text;
}

QString TextWriter::describeUnrepresentable(QStringView text, qsizetype at, qsizetype linesBefore,
                                            qsizetype headerLines, const EntryList &rows,
                                            const CodePage &codePage) const
{
    // No index, name, value or field holds a line break (the save rules saw
    // to it), so the line and the field follow from the separators before
    // the character.
    // The text begins at the start of line linesBefore (counted from 0).
    const QStringView before = text.first(at);
    const qsizetype lastLineEnd = before.lastIndexOf(LineEnd);
    const qsizetype lineStart = lastLineEnd < 0 ? 0 : lastLineEnd + LineEnd.size();
    const qsizetype line = linesBefore + before.count(LineEnd);
    const QStringView inLine = before.sliced(lineStart);

    QString what;
    qsizetype fieldStart = lineStart;
    if (line == 0) {
        what = QStringLiteral("見出し行");
    } else if (line < headerLines) {
        const bool outputFileLine = inLine.startsWith(u">file ");
        what = outputFileLine ? QStringLiteral("出力先ファイル") : QStringLiteral("メモ");
        fieldStart += outputFileLine ? 6 : 3;
    } else {
        const qsizetype position = line - headerLines;
        const qsizetype tabs = inLine.count(u'\t');
        const QString part = tabs == 0   ? QStringLiteral("インデックス")
                             : tabs == 1 ? QStringLiteral("名前")
                                         : QStringLiteral("値");
        what = refusal::rowPart(position, trimSpaces(rows.at(position).indexText), part);
        if (tabs > 0)
            fieldStart += inLine.lastIndexOf(u'\t') + 1;
    }
    return refusal::unrepresentable(what, text.sliced(fieldStart), at - fieldStart, codePage);
}

bool TextWriter::write(const EntryList &rows, const TextFields &fields, const CodePage &codePage, QByteArray &out,
                       QString *error)
{
    QByteArray bytes;
    ArraySink sink(bytes);
    if (!write(rows, fields, codePage, sink, error))
        return false;
    out = std::move(bytes);
    return true;
}

bool TextWriter::write(const EntryList &rows, const TextFields &fields, const CodePage &codePage, ByteSink &out,
                       QString *error)
{
    if (stream(rows, fields, codePage, out))
        return true;
    *error = m_error;
    return false;
}

bool TextWriter::stream(const EntryList &rows, const TextFields &fields, const CodePage &codePage, ByteSink &out)
{
    m_error.clear();
    // The separators and indexes; a character that the code page cannot
    // represent is met while encoding, without a look of its own.
    FirstSaveRefusal refused;
    if (!walkSaveRules(rows, fields, codePage, SaveForms::Text, refused)) {
        m_error = refused.message();
        return false;
    }

    // Encoded a line at a time. A line ends in LF, which every code page
    // reads as itself and never joins to the next byte, so encoding line by
    // line gives the very bytes and the very refusals of encoding the whole
    // text at once.
    SinkBuffer buffer(out);
    QString line;
    appendFieldLines(line, fields);
    // No row holds a line end (the save rules): after the field lines, each
    // row is one line.
    const qsizetype headerLines = line.count(LineEnd);
    if (const qsizetype bad = codePage.encode(line, buffer.bytes()); bad >= 0) {
        m_error = describeUnrepresentable(line, bad, 0, headerLines, rows, codePage);
        return false;
    }
    // Most rows go straight from the list into bytes. A row with a
    // character the code page lacks, or one written as a stand-in, is laid
    // out as text and encoded whole, to be refused or checked as read back.
    QByteArray tab;
    QByteArray lineEnd;
    const bool plainSeparators = codePage.encodePlainly(u"\t", tab) && codePage.encodePlainly(LineEnd, lineEnd);
    for (qsizetype position = 0; position < rows.count(); ++position) {
        const Entry &entry = rows.at(position);
        QByteArray &bytes = buffer.bytes();
        const qsizetype rowStart = bytes.size();
        if (!plainSeparators || !appendRowPlainly(bytes, entry, codePage, tab, lineEnd)) {
            bytes.truncate(rowStart);
            line.resize(0);
            appendRow(line, entry);
            if (const qsizetype bad = codePage.encode(line, bytes); bad >= 0) {
                m_error = describeUnrepresentable(line, bad, headerLines + position, headerLines, rows, codePage);
                return false;
            }
        }
        if (!buffer.handOnIfFull())
            return false;
    }
    return buffer.finish();
}

} // namespace wendaro
