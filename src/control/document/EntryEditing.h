// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "control/window/UserInterface.h"

#include <QString>

namespace wendaro {

class Document;

// Changes to the rows: Add and Edit through the entry editor, Remove, and
// the editor's OK that applies what it holds.
class EntryEditing
{
public:
    EntryEditing(Document &state, UserInterface &ui);

    void addEntry();
    // Edits the selected row; nothing without one.
    void editEntry();
    void removeEntry();
    // The entry editor's OK: checks the index field and applies the entry.
    // True when the editor may close; false after an error box, the editor
    // staying open as it is.
    bool acceptEditor(EditMode mode, const QString &indexField, const QString &name, const QString &valueField);

private:
    void formReturn(EditMode mode, const QString &index, const QString &name, const QString &value);

    Document &m_state;
    UserInterface &m_ui;
};

} // namespace wendaro
