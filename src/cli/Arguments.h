// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/CommandTable.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QString>

#include <optional>

namespace wendaro::cli {

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
// command (as commands() has them) may stand anywhere before "--"; one that
// takes a value takes "=VALUE" or the next argument, unless its value is
// optional. An option the command does not know is a usage error, but a
// help option wins over every error.
Arguments parseArguments(int argc, char **argv, std::span<const Command> commands);

} // namespace wendaro::cli
