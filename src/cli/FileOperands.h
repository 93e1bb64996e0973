#pragma once

#include <DocumentFile.h>

#include <QByteArray>
#include <QString>

#include <optional>

namespace wendaro {
class CodePage;
}

namespace wendaro::cli {

// The path for a message: what decodes as UTF-8 as it is, every other byte
// as \xNN, so that the user can tell which file is meant.
QString escapedPath(const QByteArray &bytes);

// The name under which Qt opens exactly the file that the bytes name, or
// nullopt after the error was reported under message; action says what
// cannot be done with such a name.
std::optional<QString> fileName(const QByteArray &bytes, const QString &message, const QString &action);

// The document at path, or nullopt after the read error was reported.
std::optional<LoadResult> load(const QByteArray &path, const CodePage &codePage);

} // namespace wendaro::cli
