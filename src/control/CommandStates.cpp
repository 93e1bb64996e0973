// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/CommandStates.h"

#include "control/UserInterface.h"

#include "core/model/EntryList.h"

namespace wendaro {

namespace {

// What a state code does to one command. FollowSelection commands are set by
// the selection refresh, after every other command of the state.
enum class Effect { Keep, Off, On, FollowSelection };

bool needsSelection(Command command)
{
    switch (command) {
    case Command::EditEdit:
    case Command::EditRemove:
    case Command::PopupEdit:
    case Command::PopupRemove:
    case Command::ButtonEdit:
    case Command::ButtonRemove: return true;
    default: return false;
    }
}

bool isSaveCommand(Command command)
{
    return command == Command::FilesSave || command == Command::ButtonSave;
}

Effect effectOf(UiState state, Command command)
{
    switch (state) {
    case UiState::NoFile: return Effect::Off;
    case UiState::FieldFocus: return needsSelection(command) ? Effect::Off : Effect::Keep;
    case UiState::FileClean:
        if (needsSelection(command))
            return Effect::FollowSelection;
        return isSaveCommand(command) ? Effect::Off : Effect::On;
    case UiState::Modified:
        if (needsSelection(command))
            return Effect::FollowSelection;
        return isSaveCommand(command) ? Effect::On : Effect::Keep;
    case UiState::SelectionChanged:
    default: // any other code acts as a selection change
        return needsSelection(command) ? Effect::FollowSelection : Effect::Keep;
    }
}

} // namespace

CommandStates::CommandStates(UserInterface &ui, const EntryList &rows) : m_ui(ui), m_rows(rows)
{
    m_enabled.fill(true);
}

void CommandStates::setEnabled(Command command, bool enabled)
{
    bool &slot = m_enabled[std::size_t(command)];
    if (slot == enabled)
        return;
    slot = enabled;
    m_ui.commandEnabledChanged(command, enabled);
}

void CommandStates::apply(UiState state)
{
    bool followsSelection = false;
    for (Command command : AllCommands) {
        switch (effectOf(state, command)) {
        case Effect::Keep: break;
        case Effect::Off: setEnabled(command, false); break;
        case Effect::On: setEnabled(command, true); break;
        case Effect::FollowSelection: followsSelection = true; break;
        }
    }
    if (followsSelection)
        refreshSelectionCommands();
}

void CommandStates::refreshSelectionCommands()
{
    const bool selected = m_rows.selectedPosition() != 0;
    for (Command command : AllCommands) {
        if (needsSelection(command))
            setEnabled(command, selected);
    }
}

} // namespace wendaro
