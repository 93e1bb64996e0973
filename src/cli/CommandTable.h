// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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

// How an option takes a value, and how the usage text shows it.
enum class ValueForm : unsigned char {
    None,     // a flag: "--strict"
    Apart,    // shown "--source ORIGINAL"; "--source=ORIGINAL" is taken too
    Joined,   // shown "--format=text|json"; "--format json" is taken too
    Optional, // shown "--color[=WHEN]": "=VALUE" or nothing, never the next argument
};

struct Option
{
    const char *name; // without the leading "--"
    char letter = 0;  // also "-x"; letters combine, "-ri", a value's letter last ("-o OUT")
    ValueForm value = ValueForm::None;
    const char *valueName = nullptr; // how the usage names the value; null: by its choices, "text|json"
    const char *choices = nullptr;   // the words the value may be, "text json"; null: any text
    bool repeats = false;            // may be given more than once
    bool orNext = false;             // the usage shows it and the next one as "[-l | -c]"
    bool required = false;           // the command cannot run without it; the usage shows no brackets

    bool takesValue() const { return value != ValueForm::None; }
    bool valueOptional() const { return value == ValueForm::Optional; }
};

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
