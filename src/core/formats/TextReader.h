// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/ValueText.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <memory>

namespace wendaro {

class CodePage;
class EntryList;
struct LoadProgress;
struct TextFields;

// Reads the tab-separated text format: a header line, ">file" and ">//"
// directives, one line per entry.
class TextReader
{
public:
    // Appends the entries to rows, sets fields from the directives and raises
    // largestIndex. On an error returns false; what was read before it stays,
    // *error names the line and *errorLine is it, counting every CR LF, CR
    // and LF as one line end as editors do (-1 for none). The rows keep a
    // copy of data.
    bool read(QByteArrayView data, const CodePage &codePage, EntryList &rows, TextFields &fields, qint16 &largestIndex,
              qint64 *errorLine, QString *error);
    // The same, for a file that the rows may keep: their values stay in its
    // bytes, to be decoded when they are needed, where the code page lets
    // the fields be told apart among its bytes; otherwise the file is
    // decoded whole first, and the values stay in that text.
    bool readKeeping(const QByteArray &file, const CodePage &codePage, EntryList &rows, TextFields &fields,
                     qint16 &largestIndex, qint64 *errorLine, QString *error);
    // The same for the file's text, already decoded.
    bool read(QStringView text, EntryList &rows, TextFields &fields, qint16 &largestIndex, qint64 *errorLine,
              QString *error);
    // The same, for a text that the rows may keep: their values point into
    // it instead of being copied.
    bool readKeeping(const QString &text, EntryList &rows, TextFields &fields, qint16 &largestIndex, qint64 *errorLine,
                     QString *error);
    // Reads rows alone, as a clipboard holds them: every line an entry
    // (CR LF, LF or CR ends a line), with no header and no directives; a
    // line whose first field is no number is skipped. On an error returns
    // false, what was read before it staying in rows, *error naming the line.
    bool readRows(QStringView text, EntryList &rows, qint16 &largestIndex, QString *error);
    // Reported to at every record; when it asks to stop, read returns false
    // with an empty description.
    void setProgress(LoadProgress *progress) { m_progress = progress; }

    // Whether a line (after the header) holds an entry: its first field is a
    // number. Every other line is a directive, a blank or ignored.
    static bool holdsEntry(QStringView line);

private:
    // Where a piece stands, for error descriptions: its line as the reader
    // counts lines, and which of the line's LF-separated pieces it is.
    struct Place
    {
        qsizetype lineNumber = 0;
        qsizetype pieceNumber = 0;
        bool lineHasSeveralPieces = false;
        QString text() const;
    };
    // Where a piece's first three TABs are, -1 for each it lacks.
    struct Tabs
    {
        qsizetype first = -1;
        qsizetype second = -1;
        qsizetype third = -1;
        void add(qsizetype tab);
        template<typename View>
        static Tabs in(View piece);
    };
    // Reads one piece of a line: a row, a directive or nothing. View is
    // QStringView for a decoded text, QByteArrayView for a file's bytes.
    template<typename View>
    bool readPiece(View all, View piece, const Tabs &tabs, const Place &place, EntryList &rows, TextFields &fields,
                   qint16 &largestIndex);
    // The read itself; its steps keep the failure in m_error and
    // m_errorLine (0 for none), which read hands out.
    template<typename View>
    bool readLines(View all, EntryList &rows, TextFields &fields, qint16 &largestIndex);
    // After this many lines the rows' room for the rest of the file is
    // taken at once (reserveRows), read bytes of all size.
    static constexpr qsizetype RowsBeforeReserving = 64;
    static void reserveRows(EntryList &rows, qsizetype read, qsizetype size);
    template<typename View>
    bool fail(View all, View piece, QString description);
    template<typename View>
    bool readAll(View all, EntryList &rows, TextFields &fields, qint16 &largestIndex, qint64 *errorLine,
                 QString *error);
    // A field as characters: the piece of the text itself, or its bytes
    // decoded, which stay until the next call.
    QStringView characters(QStringView field) { return field; }
    QStringView characters(QByteArrayView field);
    QString nameOf(QStringView field) const { return field.toString(); }
    QString nameOf(QByteArrayView field) const;
    ValueText valueOf(QStringView field) const;
    ValueText valueOf(QByteArrayView field) const;

    QString m_error;
    QString m_text;
    // The file whose bytes are read, and the decoding of the last field
    // asked for as characters.
    std::shared_ptr<const ValueSource> m_file;
    QString m_decoded;
    LoadProgress *m_progress = nullptr;
    qsizetype m_errorLine = 0;
};

} // namespace wendaro
