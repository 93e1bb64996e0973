// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/Options.h"

#include <QByteArray>
#include <QList>

#include <span>

namespace wendaro {
class CodePage;
}

namespace wendaro::cli {

struct Arguments;

// wendaro-cli's commands and their options, stated once: the argument
// parser takes the options from here, the usage text is laid out from here,
// and tests/cli holds the manual page and the bash completion to it.

using RunCommand = int (*)(const Arguments &arguments, const CodePage &codePage);

struct Command
{
    const char *name;
    // As the usage shows them, "IN OUT"; their number is how many the
    // command takes, at least that many when one ends in "..." (which may
    // stand before the last: "MEMORY... OUT").
    const char *operands;
    const char *operandsNamed; // as a usage error names them: "two paths, IN and OUT"
    QList<Option> options;
    bool operandsFirst; // the usage shows the operands before the options
    RunCommand run;     // called with the right number of operands and a code page
    const char *help;   // its paragraph of the usage text, lines without their indent

    qsizetype leastOperands() const;
    bool moreOperands() const; // an operand may repeat
};

// Every command, in the order the usage text lists them.
std::span<const Command> commands();
// The command of that name, or null.
const Command *findCommand(const QByteArray &name);
// The options of the program rather than of a command, "--help" and
// "--version", taken with any command or none. Arguments answers them
// itself: they end the run before a command is looked at.
std::span<const Option> programOptions();

// The text --help prints.
QByteArray usageText();

} // namespace wendaro::cli
