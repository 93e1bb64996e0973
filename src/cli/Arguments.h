// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

namespace wendaro::cli {

// An option a command accepts: "--name" alone, or "--name VALUE" /
// "--name=VALUE" when it takes a value; with a letter also "-l" (and
// "-l VALUE"), as a shorter spelling of the same option.
struct OptionRule
{
    const char *name; // without the leading "--"
    bool takesValue;
    char letter = 0;            // also "-x"; letters combine, "-ri", a value's letter last ("-o OUT")
    bool valueOptional = false; // "--name" alone or "--name=VALUE", never the next argument
    bool repeats = false;       // may be given more than once
};

// The command line after its options were sorted out. Arguments stay bytes:
// a path is turned into a name only where it is used, so that one Qt cannot
// carry unchanged is refused there.
struct Arguments
{
    bool help = false;
    bool version = false;
    QByteArray command;                           // empty when none was given
    QByteArrayList operands;                      // after the command, in order
    QList<QPair<QByteArray, QByteArray>> options; // name without "--", value (empty for a flag)
    QString error;                                // a usage error, when not empty

    bool has(const char *name) const;
    std::optional<QByteArray> value(const char *name) const;
    QByteArrayList values(const char *name) const; // of an option that repeats, in order
};

// Options count only before "--"; after it every argument is the command or
// an operand. "-" alone is an operand. The first argument that is not an
// option is the command, the others are its operands. The options of the
// command (optionsByCommand) may stand anywhere before "--"; one that takes
// a value takes "=VALUE" or the next argument. An option the command does
// not know is a usage error, but a help option wins over every error.
Arguments parseArguments(int argc, char **argv, const QHash<QByteArray, QList<OptionRule>> &optionsByCommand);

} // namespace wendaro::cli
