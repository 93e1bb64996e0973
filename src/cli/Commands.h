#pragma once

#include <QByteArray>

namespace wendaro {
class CodePage;
}

namespace wendaro::cli {

// Each command reports its own failure on stderr and returns the exit code.
// Paths are the bytes given on the command line: a path whose bytes Qt
// cannot carry unchanged is refused rather than opened under another name.

// Loads in and saves it as out, each in the format its path selects.
int convert(const QByteArray &in, const QByteArray &out, const CodePage &codePage);
// Prints the text form of file on stdout, in UTF-8.
int dump(const QByteArray &file, const CodePage &codePage);
// Loads file and builds its STF image in memory, without writing anything.
int check(const QByteArray &file, const CodePage &codePage);

} // namespace wendaro::cli
