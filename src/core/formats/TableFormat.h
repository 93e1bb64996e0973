// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace wendaro {

class ByteSink;
class CodePage;
class EntryList;
struct Table;
struct TextFields;

// One file format that a table is read from and written to. A format object
// keeps the description of its last failure, so each user takes its own.
class TableFormat
{
public:
    virtual ~TableFormat() = default;

    // The name a script uses for the format: "stf", "text".
    virtual QString shortName() const = 0;
    // A file dialog's filter, e.g. "STF (*.stf)".
    virtual QString nameFilter() const = 0;
    // The suffixes, lower-case and without the dot, that mark a file of this format.
    virtual QStringList suffixes() const = 0;

    // Appends what the file image holds to table. On failure returns false;
    // what was read before the error stays in table, and errorString() says
    // what and where.
    virtual bool read(QByteArrayView data, const CodePage &codePage, Table &table) = 0;
    // The same, for a caller that needs the bytes no more: a format that
    // turns them into something else first may let them go early.
    virtual bool readTaking(QByteArray data, const CodePage &codePage, Table &table)
    {
        return read(data, codePage, table);
    }
    // Streams the file to out. The rows and fields are passed apart, not as
    // a Table, because the window's list cannot be copied. On a refusal
    // returns false and errorString() says why; the writers say how much may
    // have gone to out before. False with an empty errorString() when out
    // refused bytes: its owner knows why.
    virtual bool write(const EntryList &rows, const TextFields &fields, const CodePage &codePage,
                       ByteSink &out) = 0;

    QString errorString() const { return m_error; }
    // Where the last read failed, when the format knows: the byte offset of
    // an STF record, the line of a text file (see TextReader); -1 otherwise.
    qint64 errorPlace() const { return m_errorPlace; }

protected:
    QString m_error;
    qint64 m_errorPlace = -1;
};

} // namespace wendaro
