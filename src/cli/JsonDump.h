// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

namespace wendaro {
class CodePage;
}

namespace wendaro::cli {

// Prints file's table on stdout as one JSON document for scripts:
//   {"outputFile": "...", "memo": "...",
//    "entries": [{"index": 1, "name": "...", "value": "..."}, ...]}
// in row order. A value is as a file holds it, line breaks as CR LF. A name
// holding bytes that are no character of the code page has, beside "name"
// (which holds each such byte as U+F700 + byte), "nameBytes": the name's
// bytes in lower-case hexadecimal. A value holding a lone half of a
// surrogate pair has U+FFFD in its place, and beside it "valueUtf16", its
// exact code units in hexadecimal, four digits each. The document is written entry by entry,
// so that it costs no memory beyond the loaded table. Returns the exit code.
int dumpJson(const QByteArray &file, const CodePage &codePage);

} // namespace wendaro::cli
