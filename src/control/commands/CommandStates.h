// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "control/commands/Command.h"
#include "control/commands/DocumentStates.h"

#include <array>

namespace wendaro {

class CommandActions;
class RowSelection;
class UserInterface;

// The state table: the enabled state of every command that follows the
// document (Close, Save, Save As, Add, Edit, Remove, the output-file button)
// and of the two text fields, switched by state codes; Edit and Remove follow
// the selected row. A command is switched once for all its places. Every
// command and field starts enabled, and only real changes of a field are
// told to ui (an action tells its own).
class CommandStates
{
public:
    CommandStates(CommandActions &actions, UserInterface &ui, const RowSelection &selection);

    bool isFieldEnabled(Field field) const { return m_fieldEnabled[std::size_t(field)]; }
    // Switches the commands for a state code.
    void apply(UiState state);

private:
    void setFieldEnabled(Field field, bool enabled);
    void refreshSelectionCommands();

    CommandActions &m_actions;
    UserInterface &m_ui;
    const RowSelection &m_selection;
    std::array<bool, 2> m_fieldEnabled{true, true};
};

} // namespace wendaro
