// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace wendaro::cli {

// What wendaro-cli's exit status tells a script; the usage text and the
// manual list them. Where a command answers as a tool it stands in for
// (diff and grep as diff(1) and grep(1), merge as git's merge driver), 1
// and 2 mean what they mean there, so those numbers have several names.
//
// The window's program exits with the same numbers for the failures it
// shares with this one (stdout not written, an unknown code page) and takes
// them from here: statuses belong to the programs, and core, the library
// both stand on, never ends one, so this header stays out of it.
enum ExitCode : int {
    Done = 0,
    ReadFailed = 1,     // the input could not be loaded (check: or a problem was found)
    Differ = 1,         // diff: the tables differ
    NoMatch = 1,        // grep: no entry matched
    ConflictsLeft = 1,  // merge: conflicts were left to OURS' side
    WriteFailed = 2,    // the output could not be written
    Trouble = 2,        // diff, grep, merge: an input could not be read, or the output not written
    UsageError = 64,    // wrong arguments
    CodePageError = 78, // WENDARO_CODEPAGE names no known code page
};

} // namespace wendaro::cli
