// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/formats/FileFormat.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace wendaro {

// The formats the program knows. Formats hold no state: every caller,
// on any thread, shares the one object of each.
namespace FormatRegistry {

// Every format, in the order the file dialog lists them and usage texts
// name their suffixes.
const std::vector<const FileFormat *> &formats();

// The two formats of a table file, STF and the text form, for the places
// that always mean one of them.
const FileFormat &stf();
const FileFormat &text();

// The first format that can do what is needed and whose suffix ends the
// path's file name (after its last dot, compared without regard to case),
// or null when none matches.
const FileFormat *bySuffix(const QString &path, FileFormat::Capability needed);

// The suffixes, lower-case, of every format that can do what is needed.
QStringList suffixes(FileFormat::Capability needed);

// The window's rule for the format of a table file: the table format whose
// suffix ends the path, compared lower-cased character by character (".stf"
// is the last four characters), and the text form for every other path
// (also one without a suffix or with another one).
const FileFormat &forPath(const QString &path);

// For a file whose name may say nothing of its format (the temporary files
// a merge tool hands over): the table format whose suffix ends the path, as
// forPath finds it; for any other path the table format whose mark the
// bytes begin with, and the text form when none does. The window keeps to
// forPath: a file it opens is what its name says.
const FileFormat &forPathOrContent(const QString &path, QByteArrayView bytes);

} // namespace FormatRegistry

} // namespace wendaro
