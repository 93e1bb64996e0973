#pragma once

#include <QString>

namespace wendaro {
class CodePage;
}

namespace wendaro::cli {

// Each command reports its own failure on stderr and returns the exit code.

// Loads in and saves it as out, each in the format its path selects.
int convert(const QString &in, const QString &out, const CodePage &codePage);
// Prints the text form of file on stdout, in UTF-8.
int dump(const QString &file, const CodePage &codePage);
// Loads file and builds its STF image in memory, without writing anything.
int check(const QString &file, const CodePage &codePage);

} // namespace wendaro::cli
