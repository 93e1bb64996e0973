// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

#include <functional>

class QIODevice;

namespace wendaro {

class ByteSink;

// Replaces a file as a whole or not at all: the bytes go to a temporary file
// beside the target, which takes the target's place only when every write,
// the flush and the commit succeeded. A failed save leaves the old file as it
// was and no temporary file behind. The new file keeps the old one's owner,
// group and mode, or the save is refused. A symbolic link is followed: the
// file it points to is replaced and the link stays a link. Only a regular
// file is replaced; a device, FIFO or socket is refused and left as it is.
// Another hard link to the old file keeps the old contents.
class SaveFile
{
public:
    // On failure *error says, in Japanese, what went wrong and where.
    static bool write(const QString &path, QByteArrayView data, QString *error);

    // Streams the new file: produce hands its bytes to the sink, a piece at a
    // time, and returns false to abandon the save, with *refusal saying why
    // unless the sink refused bytes. The temporary file is created only when
    // the first bytes arrive (or at the end, for an empty file), so a
    // producer that refuses before its first byte never touches the disk.
    // On failure *error is the sink's failure, or else the refusal.
    using Producer = std::function<bool(ByteSink &sink, QString *refusal)>;
    static bool stream(const QString &path, const Producer &produce, QString *error);

    // Writes all of data to an open device, checking every write; a write
    // that fails or makes no progress ends it with the byte offset in *error,
    // counted from offset, where data begins in the file.
    static bool writeAll(QIODevice &device, QByteArrayView data, QString *error, qint64 offset = 0);
};

} // namespace wendaro
