// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace wendaro::cli {

// What wendaro-cli's exit status tells a script; the usage text lists them.
enum ExitCode : int {
    Done = 0,
    ReadFailed = 1,     // the input could not be loaded (check: or a problem was found)
    WriteFailed = 2,    // the output could not be written
    UsageError = 64,    // wrong arguments
    CodePageError = 78, // WENDARO_CODEPAGE names no known code page
};

} // namespace wendaro::cli
