// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "control/Command.h"
#include "control/DocumentStates.h"

#include <array>

namespace wendaro {

class EntryList;
class UserInterface;

// The enabled state of every command that follows the document, switched by
// state codes; commands that need a selected row follow rows' selection.
// Every command starts enabled, and only real changes are told to ui.
class CommandStates
{
public:
    CommandStates(UserInterface &ui, const EntryList &rows);

    bool isEnabled(Command command) const { return m_enabled[std::size_t(command)]; }
    // Switches the commands for a state code.
    void apply(UiState state);

private:
    void setEnabled(Command command, bool enabled);
    void refreshSelectionCommands();

    UserInterface &m_ui;
    const EntryList &m_rows;
    std::array<bool, AllCommands.size()> m_enabled;
};

} // namespace wendaro
