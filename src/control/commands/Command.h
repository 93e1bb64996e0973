// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <array>

namespace wendaro {

// The window's commands, one QAction each (see CommandActions). A menu item,
// its twin in the list's context menu and its toolbar button raise the same
// command, and the state table switches the command, not its places.
//
// The list is stated once, here: the enum, AllCommands and each action's
// object name ("commandSave") are made from it.
#define WENDARO_COMMANDS(X)                                                                                            \
    X(New)                                                                                                             \
    X(Open)                                                                                                            \
    X(Close)                                                                                                           \
    X(Save)                                                                                                            \
    X(SaveAs)                                                                                                          \
    X(Exit)                                                                                                            \
    X(Add)                                                                                                             \
    X(Edit)                                                                                                            \
    X(Remove)                                                                                                          \
    X(Version)                                                                                                         \
    X(ChooseOutput) /* cmdFile */                                                                                      \
    /* Keys of the list (see ListKeys) */                                                                              \
    X(Undo)                                                                                                            \
    X(Redo)                                                                                                            \
    X(CopyRow)                                                                                                         \
    X(CopyShownRows)                                                                                                   \
    X(Paste)                                                                                                           \
    /* Keys of the find bar */                                                                                         \
    X(Find)                                                                                                            \
    X(FindNext)                                                                                                        \
    X(FindPrevious)                                                                                                    \
    X(CloseFind)                                                                                                       \
    X(Replace) /* the find bar with its replace row */                                                                 \
    /* Keys of translation: they act while an original is open (the first two open one) */                             \
    X(OpenOriginal)                                                                                                    \
    X(OpenOldOriginal)                                                                                                 \
    X(AcceptAndNext)                                                                                                   \
    X(NextToDo)                                                                                                        \
    X(PreviousToDo)                                                                                                    \
    X(CopyOriginal)                                                                                                    \
    X(AddMissing)                                                                                                      \
    X(OpenMemory)                                                                                                      \
    X(UseSuggestion1)                                                                                                  \
    X(UseSuggestion2)                                                                                                  \
    X(UseSuggestion3)                                                                                                  \
    X(UseSuggestion4)                                                                                                  \
    X(UseSuggestion5)                                                                                                  \
    X(OpenGlossary)                                                                                                    \
    /* Keys of a project: they act while one is open (the first opens one) */                                          \
    X(OpenProject)                                                                                                     \
    X(NextTable)                                                                                                       \
    X(PreviousTable)

#define WENDARO_COMMAND_ENUMERATOR(name) name,
enum class Command { WENDARO_COMMANDS(WENDARO_COMMAND_ENUMERATOR) };
#undef WENDARO_COMMAND_ENUMERATOR

#define WENDARO_COMMAND_ELEMENT(name) Command::name,
inline constexpr std::array AllCommands = {WENDARO_COMMANDS(WENDARO_COMMAND_ELEMENT)};
#undef WENDARO_COMMAND_ELEMENT

// The command's action's object name: "commandSave".
QString commandName(Command command);

// The two text fields of the window: the output-file path and the memo.
enum class Field { File, Memo };

} // namespace wendaro
