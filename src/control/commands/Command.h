// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <array>

namespace wendaro {

// The window's commands, one QAction each (see CommandActions). A menu item,
// its twin in the list's context menu and its toolbar button raise the same
// command, and the state table switches the command, not its places.
enum class Command {
    New,
    Open,
    Close,
    Save,
    SaveAs,
    Exit,
    Add,
    Edit,
    Remove,
    Version,
    ChooseOutput, // cmdFile
    // Keys of the list (see ListKeys)
    Undo,
    Redo,
    CopyRow,
    CopyShownRows,
    Paste,
    // Keys of the find bar
    Find,
    FindNext,
    FindPrevious,
    CloseFind,
    Replace, // the find bar with its replace row
    // Keys of translation: they act while an original is open (the first
    // two open one)
    OpenOriginal,
    OpenOldOriginal,
    AcceptAndNext,
    NextToDo,
    PreviousToDo,
    CopyOriginal,
    AddMissing,
};

inline constexpr std::array AllCommands = {
    Command::New,
    Command::Open,
    Command::Close,
    Command::Save,
    Command::SaveAs,
    Command::Exit,
    Command::Add,
    Command::Edit,
    Command::Remove,
    Command::Version,
    Command::ChooseOutput,
    Command::Undo,
    Command::Redo,
    Command::CopyRow,
    Command::CopyShownRows,
    Command::Paste,
    Command::Find,
    Command::FindNext,
    Command::FindPrevious,
    Command::CloseFind,
    Command::Replace,
    Command::OpenOriginal,
    Command::OpenOldOriginal,
    Command::AcceptAndNext,
    Command::NextToDo,
    Command::PreviousToDo,
    Command::CopyOriginal,
    Command::AddMissing,
};

// The command's action's object name: "commandSave".
QString commandName(Command command);

// The two text fields of the window: the output-file path and the memo.
enum class Field { File, Memo };

} // namespace wendaro
