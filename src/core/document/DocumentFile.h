// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/EntryList.h"
#include "core/io/FileIdentity.h"
#include "core/io/LoadProgress.h"
#include "core/model/TextFields.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace wendaro {

class CodePage;
class FileFormat;

inline const QString ReadErrorMessage = QStringLiteral("ファイル読み込みエラー");
inline const QString WriteErrorMessage = QStringLiteral("ファイル書き込みエラー");

// The text of an error box: the message, CR LF, the error's description.
QString errorBoxText(const QString &message, const QString &description);

// The whole file at path, or nullopt with the reason in *error, which names
// the path. Only regular files are read: a folder, a pipe or a device is
// refused before it is opened. With progress, the bytes read so far are
// told as the file comes in, and a request to stop ends the read (nullopt).
std::optional<QByteArray> readWholeFile(const QString &path, QString *error, LoadProgress *progress = nullptr);

// What a load read: a document, or the part of it before the error.
struct LoadedDocument
{
    EntryList rows;         // also after an error: what was read before it
    TextFields fields;      // set by the directives read, also before an error
    qint16 nextIndex = 0;   // after a load: 1 + the larger of 1 and the largest index, at most 32767
    qint64 place = -1;      // after a format error: where in the file, as FileFormat's reads tell it, or -1
    bool cancelled = false; // the load failed because progress asked to stop; rows then holds nothing
    std::optional<FileIdentity> identity; // the file as it was when its read began; nullopt: none there
};

// Reads the whole file at path into into, which is filled anew, in the
// format that FormatRegistry::forPath picks. A file that cannot be read
// (missing, a folder, no permission) and a format error are both failures:
// false, with the description for the error box in *error, which names the
// path or the place in the file. Running out of memory is a failure too,
// with no rows. A caller that looks at the file again (to tell where each
// row came from) gets its bytes as they were read in *bytes, without
// another read. With progress, the reader reports to it and stops when it
// asks to.
bool loadDocument(const QString &path, const CodePage &codePage, LoadedDocument &into, QString *error,
                  QByteArray *bytes = nullptr, LoadProgress *progress = nullptr);

// As loadDocument, for a file whose name may say nothing of its format:
// FormatRegistry::forPathOrContent picks it, and *format tells which it was.
bool loadDocumentOfAnyName(const QString &path, const CodePage &codePage, LoadedDocument &into,
                           const FileFormat **format, QString *error);

// Writes the document to path in the format that FormatRegistry::forPath
// picks; with writeEntries false the file is created empty. The file is
// streamed to a temporary file beside it, which replaces the old file only
// when every byte was written. A table that breaks a limit of the format is
// refused before the temporary file is created; only a character that the
// code page cannot hold, found past the first mebibyte of a text file, is
// refused after, and the temporary file is then removed. Either way, and
// when memory runs out, the old file stays as it was.
bool saveDocument(const QString &path, const EntryList &rows, const TextFields &fields, bool writeEntries,
                  const CodePage &codePage, QString *error);
// As saveDocument, in the format given whatever the path's suffix says.
bool saveDocumentAs(const QString &path, const FileFormat &format, const EntryList &rows, const TextFields &fields,
                    const CodePage &codePage, QString *error);

} // namespace wendaro
