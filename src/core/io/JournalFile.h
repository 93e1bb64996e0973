// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/io/FileIdentity.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

namespace wendaro {

// What a journal was begun from: the file at path, as it was then.
struct JournalHeader
{
    QString path;
    FileIdentity identity;
};

// A file of records appended one at a time, each whole or detectably not:
//
//   "WDRJRNL\n", the version (u32, little-endian), then frames; the first
//   frame is the header (the path as UTF-8, then device, inode, size and the
//   modification time's seconds and nanoseconds, each u64 little-endian),
//   every later one a record. A frame is its payload's length (u32), the
//   payload's CRC-32 (u32) and the payload.
//
// A record cut off by a crash or a power cut, or with a byte changed, fails
// its length or its checksum: reading stops at the last whole one.
class JournalFile
{
public:
    static constexpr quint32 Version = 1;

    JournalFile() = default;
    JournalFile(const JournalFile &) = delete;
    JournalFile &operator=(const JournalFile &) = delete;
    ~JournalFile() { close(); }

    // Makes the file at path, which must not exist, with mode 0600, and
    // writes the header. *error says what failed and where.
    bool create(const QString &path, const JournalHeader &header, QString *error);
    bool isOpen() const { return m_fd >= 0; }
    // Writes the framed record in one write, not synced.
    bool append(QByteArrayView record, QString *error);
    // Writes framed records that are already framed (frame()) in one write.
    bool appendFramed(QByteArrayView frames, QString *error);
    // What was written reaches the disk.
    bool sync(QString *error);
    void close();

    // The frame around one record, as append writes it.
    static QByteArray frame(QByteArrayView record);

private:
    bool writeAll(QByteArrayView bytes, QString *error);

    int m_fd = -1;
    QString m_path;
    qint64 m_size = 0;
};

// What a journal holds.
struct JournalContents
{
    JournalHeader header;
    std::vector<QByteArray> records;
    // Bytes after the last whole record that make no whole record: it was
    // cut short (or damaged) there.
    bool cutShort = false;
};

// Reads the journal at path; nullopt when it is none (another file, another
// version, a damaged header), with *error saying why and at which byte.
std::optional<JournalContents> readJournal(const QString &path, QString *error);

} // namespace wendaro
