// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/TranslationCommands.h"

namespace wendaro {
class CodePage;
}

namespace wendaro::cli {

struct Arguments;

// Translation memory in TMX. Each command reports on stderr and returns the
// exit code, as the other commands do.

// memory: writes the TMX of the pairs of tables (the operands, ORIGINAL
// TRANSLATION..., or with --pairs-from the tables of two folders paired by
// their relative paths) to -o OUT; languages are both given.
int memory(const Arguments &arguments, const Languages &languages, const CodePage &codePage);

// pretranslate ORIGINAL TRANSLATION MEMORY... OUT: fills TRANSLATION's
// untranslated entries from the memories and saves the result as OUT.
int pretranslate(const Arguments &arguments, const Languages &languages, const CodePage &codePage);

} // namespace wendaro::cli
