// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace wendaro {
class CodePage;
}

namespace wendaro::cli {

struct Arguments;

// Finds the entries of the tables named after PATTERN (operand 0) whose
// name or value (--field) holds it, and prints "FILE:INDEX:NAME:VALUE" for
// each, the value as dump shows it; -l the files only, -c their counts.
// Files are searched on every core, the output in the order of the files
// given. Exits as grep does: 0 something matched, 1 nothing did, 2 a file
// could not be read (told on stderr; the others are still searched) or
// stdout not written; 64 for a pattern or option that is not valid.
int grep(const Arguments &arguments, const CodePage &codePage);

} // namespace wendaro::cli
