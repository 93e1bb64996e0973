// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "control/commands/Command.h"

#include <QObject>

#include <functional>

class QAction;

namespace wendaro {

// One QAction for each command, owned here below the widgets: the window
// puts each in its places (menu item, context-menu item, toolbar button,
// keys) and the state table switches it. Every action starts enabled; the
// find bar's keys carry their shortcuts, which work once the window holds
// the action.
class CommandActions
{
public:
    CommandActions();
    CommandActions(const CommandActions &) = delete;
    CommandActions &operator=(const CommandActions &) = delete;
    ~CommandActions();

    QAction &action(Command command) const { return *m_actions[std::size_t(command)]; }
    bool isEnabled(Command command) const;
    // What the command does when raised from any of its places.
    void whenTriggered(Command command, const std::function<void()> &procedure);

private:
    QObject m_owner;
    std::array<QAction *, AllCommands.size()> m_actions{};
};

} // namespace wendaro
