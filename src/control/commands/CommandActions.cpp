// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/commands/CommandActions.h"

#include <QAction>

namespace wendaro {

CommandActions::CommandActions()
{
    for (Command command : AllCommands) {
        auto *action = new QAction(&m_owner);
        action->setObjectName(commandName(command));
        m_actions[std::size_t(command)] = action;
    }
    // The keys every editor has, for the File menu's commands. The menu items
    // are places of their own and show no key; a disabled command ignores it.
    action(Command::New).setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    action(Command::Open).setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    action(Command::Close).setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    action(Command::Save).setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    action(Command::SaveAs).setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    action(Command::Exit).setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    // The find bar's keys work anywhere in the window; the list's keys are
    // handed on by the list and the controls beside it (a text field keeps
    // Ctrl+Z and the clipboard keys for itself).
    action(Command::Find).setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    action(Command::FindNext).setShortcut(QKeySequence(Qt::Key_F3));
    action(Command::FindPrevious).setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
    action(Command::CloseFind).setShortcut(QKeySequence(Qt::Key_Escape));
    action(Command::Replace).setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    // Translation's keys, also anywhere in the window. Ctrl+Enter is the
    // Return key and the keypad's Enter.
    action(Command::OpenOriginal).setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    action(Command::OpenOldOriginal).setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R));
    action(Command::AcceptAndNext)
        .setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    action(Command::NextToDo).setShortcut(QKeySequence(Qt::ALT | Qt::Key_Down));
    action(Command::PreviousToDo).setShortcut(QKeySequence(Qt::ALT | Qt::Key_Up));
    action(Command::CopyOriginal).setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    action(Command::AddMissing).setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    action(Command::OpenMemory).setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    action(Command::OpenGlossary).setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    // The keys that go to the next document in most editors; Ctrl+Alt and
    // the arrows belong to the window manager on many desktops.
    action(Command::OpenProject).setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    action(Command::NextTable).setShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown));
    action(Command::PreviousTable).setShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp));
    const Command suggestions[] = {Command::UseSuggestion1, Command::UseSuggestion2, Command::UseSuggestion3,
                                   Command::UseSuggestion4, Command::UseSuggestion5};
    for (int i = 0; i < 5; ++i)
        action(suggestions[i]).setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + i)));
}

CommandActions::~CommandActions() = default;

bool CommandActions::isEnabled(Command command) const
{
    return action(command).isEnabled();
}

void CommandActions::whenTriggered(Command command, const std::function<void()> &procedure)
{
    QObject::connect(&action(command), &QAction::triggered, &m_owner, procedure);
}

} // namespace wendaro
