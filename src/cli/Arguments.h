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
    // A value that an option of the command does not take, as the usage
    // error tells it. It is told only after the operands and the code page
    // were found good, the first in the order the command lists its options,
    // as each command used to find it when it began to run.
    QString refusal;

    bool has(const Option &option) const;
    std::optional<QByteArray> get(const TextOption &option) const;
    QByteArrayList values(const TextOption &option) const; // of an option that repeats, in order
    std::optional<QString> get(const LanguageOption &option) const;
    std::optional<int> get(const NumberOption &option) const;

    template<typename Value>
    std::optional<Value> get(const ChoiceOption<Value> &option) const
    {
        const std::optional<QByteArray> word = valueOf(option);
        const qsizetype at = word ? option.choice(*word) : -1;
        return at < 0 ? std::nullopt : std::optional<Value>(Value(at));
    }

    template<typename Value>
    std::optional<QList<Value>> get(const ChoiceListOption<Value> &option) const
    {
        const std::optional<QByteArray> given = valueOf(option);
        if (!given)
            return std::nullopt;
        QList<Value> chosen;
        for (const QByteArray &word : given->split(option.joinedBy)) {
            if (const qsizetype at = option.choice(word); at >= 0)
                chosen << Value(at);
        }
        return chosen;
    }

private:
    std::optional<QByteArray> valueOf(const Option &option) const;
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
