// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <array>

namespace wendaro {

// The commands and controls whose enabled state follows the document's state,
// in the order in which a state change sets them. The window finds each of its
// actions and widgets by commandName(): the menu items and controls by their
// control name ("mFiles_Save", "cmdFile", "txtMemo"), the toolbar buttons by
// their key ("Save", "Close", "Add", "Edit", "Remove").
enum class Command {
    FilesClose,
    FilesSave,
    FilesSaveAs,
    EditAdd,
    EditEdit,
    EditRemove,
    PopupAdd,
    PopupEdit,
    PopupRemove,
    ButtonSave,
    ButtonClose,
    ButtonAdd,
    ButtonEdit,
    ButtonRemove,
    CmdFile,
    TxtFile,
    TxtMemo,
};

inline constexpr std::array AllCommands = {
    Command::FilesClose,  Command::FilesSave, Command::FilesSaveAs, Command::EditAdd,      Command::EditEdit,
    Command::EditRemove,  Command::PopupAdd,  Command::PopupEdit,   Command::PopupRemove,  Command::ButtonSave,
    Command::ButtonClose, Command::ButtonAdd, Command::ButtonEdit,  Command::ButtonRemove, Command::CmdFile,
    Command::TxtFile,     Command::TxtMemo,
};

QString commandName(Command command);

// The two text fields of the window: the output-file path and the memo.
enum class Field { File, Memo };

} // namespace wendaro
