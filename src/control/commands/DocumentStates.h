// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace wendaro {

// The state codes that decide which commands are enabled.
enum class UiState : qint16 {
    SelectionChanged = 0, // only the commands that need a selected row follow the selection
    NoFile = 1,           // no document is open
    FieldFocus = 2,       // txtFile or txtMemo received the input focus
    FileClean = 3,        // a document is open and equals its file
    Modified = 4,         // the open document has unsaved changes
};

// What the file dialog is opened for.
enum class ChooseMode : qint16 {
    New = 0,    // create an empty file and make it the current file
    Open = 1,   // open a file
    SaveAs = 2, // write the document to a new path, which becomes the current file
    Output = 3, // choose the output-file path held in txtFile
};

} // namespace wendaro
