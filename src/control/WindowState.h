// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "control/CommandStates.h"
#include "control/EditHistory.h"
#include "control/UserInterface.h"

#include "core/model/EntryList.h"
#include "core/model/TextFields.h"

#include <QString>

namespace wendaro {

// What the main window shows: the entry list, the texts of txtFile and
// txtMemo, the current path of the status bar, the enabled state of every
// command that follows the document, and the index proposed for the next new
// entry. Each change but the rows' is told to ui as it happens; the rows have
// their EntryListObserver.
//
// The document is modified exactly while mFiles_Save is enabled.
class WindowState
{
public:
    explicit WindowState(UserInterface &ui);

    EntryList &entries() { return m_entries; }
    const EntryList &entries() const { return m_entries; }
    const TextFields &fields() const { return m_fields; }
    // Undo and redo of the rows' changes; emptied with the document.
    EditHistory &history() { return m_history; }

    QString fieldText(Field field) const;
    // Sets the field's text; a real change marks the document modified at once.
    void setFieldText(Field field, const QString &text);
    QString currentPath() const { return m_currentPath; }
    void setCurrentPath(const QString &path);
    bool isEnabled(Command command) const { return m_commands.isEnabled(command); }
    bool isModified() const { return isEnabled(Command::FilesSave); }
    qint16 nextIndex() const { return m_nextIndex; }
    void setNextIndex(qint16 index) { m_nextIndex = index; }

    // Switches the commands for a state code.
    void setUiState(UiState state);
    // Empties both fields, the list, which then keeps rows in the order they
    // come, and the history.
    void clearDocument();

private:
    UserInterface &m_ui;
    EntryList m_entries;
    EditHistory m_history{m_entries};
    TextFields m_fields;
    QString m_currentPath;
    CommandStates m_commands{m_ui, m_entries};
    qint16 m_nextIndex = 0;
};

} // namespace wendaro
