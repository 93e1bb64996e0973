// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

namespace wendaro {
class CodePage;
}

namespace wendaro::cli {

struct Arguments;

// Compares table A with table B (operands 0 and 1) by index and prints the
// differences on stdout, for people or (--format=json) for scripts; with
// --order the order of the rows counts too. Returns 0 when the tables hold
// the same entries, 1 when they differ, 2 when a table cannot be read or
// stdout not written, 64 for a --format other than text or json.
int diff(const Arguments &arguments, const CodePage &codePage);

// Writes out the translation updated to the new original (see
// TableUpdate.h) and reports each index that needs a translator on stderr.
int update(const QByteArray &oldOriginal, const QByteArray &newOriginal, const QByteArray &translation,
           const QByteArray &out, const CodePage &codePage);

} // namespace wendaro::cli
