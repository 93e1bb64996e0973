// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/commands/Command.h"

namespace wendaro {

QString commandName(Command command)
{
    switch (command) {
#define WENDARO_COMMAND_NAME(name)                                                                                     \
    case Command::name: return QStringLiteral("command" #name);
        WENDARO_COMMANDS(WENDARO_COMMAND_NAME)
#undef WENDARO_COMMAND_NAME
    }
    Q_UNREACHABLE();
    return {};
}

} // namespace wendaro
