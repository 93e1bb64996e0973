// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace wendaro {

class ByteSink;
class CodePage;
class EntryList;
struct Entry;
struct TextFields;

// Writes the rows and the two fields as tab-separated text, CR LF after
// every line.
class TextWriter
{
public:
    // Builds the whole file in out. Refused, with false and *error naming
    // the row or the field: a character that the code page cannot
    // represent (named as U+XXXX); a TAB, CR or LF inside an index, a name or
    // a value, or a CR or LF in the output file or the memo, which the text
    // form cannot carry: read back, they would split the line; an index that
    // is not a number of -32768..32767, which would not read back as a row.
    bool write(const EntryList &rows, const TextFields &fields, const CodePage &codePage, QByteArray &out,
               QString *error);
    // Streams the file to out. The separators and indexes are checked before
    // the first byte is handed to out; a character that the code page cannot
    // represent is found on the way, possibly after bytes went out. False
    // with an empty description when out refused bytes: its owner knows why.
    bool write(const EntryList &rows, const TextFields &fields, const CodePage &codePage, ByteSink &out,
               QString *error);

    // The lines of the text form as text, before the code page.
    static QString layout(const EntryList &rows, const TextFields &fields);

private:
    // The write itself; its steps keep a refusal in m_error, which write
    // hands out.
    bool stream(const EntryList &rows, const TextFields &fields, const CodePage &codePage, ByteSink &out);
    static void appendFieldLines(QString &text, const TextFields &fields);
    static void appendRow(QString &text, const Entry &entry);
    static qsizetype rowSize(const Entry &entry);
    // Appends the row's line when every character of it has bytes of its
    // own; false otherwise, with bytes to be cut back.
    static bool appendRowPlainly(QByteArray &bytes, const Entry &entry, const CodePage &codePage, const QByteArray &tab,
                                 const QByteArray &lineEnd);
    QString describeUnrepresentable(QStringView text, qsizetype at, qsizetype linesBefore, qsizetype headerLines,
                                    const EntryList &rows, const CodePage &codePage) const;

    QString m_error;
};

} // namespace wendaro
