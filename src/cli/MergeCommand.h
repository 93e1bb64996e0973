// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace wendaro {
class CodePage;
}

namespace wendaro::cli {

struct Arguments;

// Merges OURS and THEIRS (operands 1 and 2), which both grew from BASE
// (operand 0), into OUT (-o, else OURS itself, as git's merge driver wants
// it) and lists every conflict, on stderr or (--format=json) on stdout.
// Returns 0 when merged cleanly or every conflict was resolved by --prefer,
// 1 when conflicts were resolved to OURS, 2 when a table was refused or
// could not be read or OUT not written (then nothing is written), 64 for a
// wrong --prefer or --format.
int merge(const Arguments &arguments, const CodePage &codePage);

} // namespace wendaro::cli
