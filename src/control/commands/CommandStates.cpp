// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/commands/CommandStates.h"

#include "control/commands/CommandActions.h"
#include "control/document/RowSelection.h"
#include "control/window/UserInterface.h"

#include <QAction>

#include <variant>

namespace wendaro {

namespace {

// What a state code does to one command. FollowSelection commands are set by
// the selection refresh, after every other command of the state.
enum class Effect { Keep, Off, On, FollowSelection };

// What the table switches, in the order it switches them: the commands of the
// menus, the context menu and the toolbar (each once: their places share it),
// then cmdFile, txtFile and txtMemo.
using Switched = std::variant<Command, Field>;
const Switched TableOrder[] = {Command::Close,  Command::Save,         Command::SaveAs, Command::Add, Command::Edit,
                               Command::Remove, Command::ChooseOutput, Field::File,     Field::Memo};

bool needsSelection(const Switched &switched)
{
    return switched == Switched(Command::Edit) || switched == Switched(Command::Remove);
}

Effect effectOf(UiState state, const Switched &switched)
{
    const bool save = switched == Switched(Command::Save);
    switch (state) {
    case UiState::NoFile: return Effect::Off;
    case UiState::FieldFocus: return needsSelection(switched) ? Effect::Off : Effect::Keep;
    case UiState::FileClean:
        if (needsSelection(switched))
            return Effect::FollowSelection;
        return save ? Effect::Off : Effect::On;
    case UiState::Modified:
        if (needsSelection(switched))
            return Effect::FollowSelection;
        return save ? Effect::On : Effect::Keep;
    case UiState::SelectionChanged:
    default: // any other code acts as a selection change
        return needsSelection(switched) ? Effect::FollowSelection : Effect::Keep;
    }
}

} // namespace

CommandStates::CommandStates(CommandActions &actions, UserInterface &ui, const RowSelection &selection)
    : m_actions(actions), m_ui(ui), m_selection(selection)
{
}

void CommandStates::setFieldEnabled(Field field, bool enabled)
{
    bool &slot = m_fieldEnabled[std::size_t(field)];
    if (slot == enabled)
        return;
    slot = enabled;
    m_ui.fieldEnabledChanged(field, enabled);
}

void CommandStates::apply(UiState state)
{
    bool followsSelection = false;
    for (const Switched &switched : TableOrder) {
        const Effect effect = effectOf(state, switched);
        if (effect == Effect::FollowSelection) {
            followsSelection = true;
        } else if (effect != Effect::Keep) {
            const bool on = effect == Effect::On;
            if (const auto *command = std::get_if<Command>(&switched))
                m_actions.action(*command).setEnabled(on);
            else
                setFieldEnabled(std::get<Field>(switched), on);
        }
    }
    if (followsSelection)
        refreshSelectionCommands();
}

void CommandStates::refreshSelectionCommands()
{
    const bool selected = m_selection.hasRow();
    m_actions.action(Command::Edit).setEnabled(selected);
    m_actions.action(Command::Remove).setEnabled(selected);
}

} // namespace wendaro
