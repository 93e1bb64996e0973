// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/ValueText.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <memory>

namespace wendaro {

class CodePage;
class EntryList;
struct LoadProgress;
struct StfRecordShape;

// Reads the binary string-table format: a 13-byte header, one value record
// per entry, then name records matched to the rows by their row key.
class StfReader
{
public:
    // Appends the rows of the file image to rows and raises largestIndex to
    // the largest index read. On a format error returns false; the rows read
    // before it stay in rows, *error says what and where and *errorOffset
    // is the byte offset of the record where it was found (-1 for none).
    bool read(QByteArrayView data, const CodePage &codePage, EntryList &rows, qint16 &largestIndex, qint64 *errorOffset,
              QString *error);
    // The same, for a file that the rows may keep: values without line
    // breaks stay in its bytes instead of being copied.
    bool readKeeping(const QByteArray &file, const CodePage &codePage, EntryList &rows, qint16 &largestIndex,
                     qint64 *errorOffset, QString *error);
    // Reported to at every record; when it asks to stop, read returns false
    // with an empty description.
    void setProgress(LoadProgress *progress) { m_progress = progress; }

private:
    // The read itself; its steps keep the failure in m_error and
    // m_errorOffset, which read hands out.
    bool readRecords(QByteArrayView data, const CodePage &codePage, EntryList &rows, qint16 &largestIndex);
    // Each returns the size of the record at offset p, or -1 after an error.
    qsizetype readValueRecord(QByteArrayView data, qsizetype p, qint16 index, EntryList &rows);
    qsizetype readNameRecord(QByteArrayView data, qsizetype p, qint16 index, const CodePage &codePage, EntryList &rows);
    // The checks that both kinds begin with, up to the whole record's size;
    // length receives the length field.
    qsizetype measureRecord(QByteArrayView data, qsizetype p, qint16 index, const StfRecordShape &shape,
                            qint16 &length);
    ValueText valueOf(const char *units, qsizetype length) const;
    qsizetype cutShort(qsizetype offset, qsizetype needed, qsizetype left);
    qsizetype fail(qsizetype offset, QString description);

    QString m_error;
    std::shared_ptr<const ValueSource> m_file;
    LoadProgress *m_progress = nullptr;
    qint64 m_errorOffset = -1;
};

} // namespace wendaro
