// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "control/document/DocumentSession.h"
#include "control/project/Project.h"
#include "control/document/EntryEditing.h"
#include "control/find/RowFinder.h"
#include "control/find/RowReplacer.h"
#include "control/document/RowClipboard.h"
#include "control/translation/MemorySuggestions.h"
#include "control/translation/SkippedChecks.h"
#include "control/translation/TableGlossary.h"
#include "control/translation/TranslationSpelling.h"
#include "control/translation/TranslationEditing.h"
#include "control/document/Document.h"

#include <QString>
#include <QStringList>

namespace wendaro {

class LoadAhead;

// What the main window talks to: one action for each command, whose
// procedure is handed on to the part that does it, the model of the rows
// and the selection model that the list shows, and the state that the window
// shows (see Document), which the window follows through the notifications
// of UserInterface.
class MainWindowController
{
public:
    MainWindowController(UserInterface &ui, CodePage codePage);

    // The rows; every change goes through the procedures.
    EntryList &entries() { return m_state.entries(); }
    const EntryList &entries() const { return m_state.entries(); }
    // The rows as the list shows them, and the selected row, which the list
    // and the procedures share.
    EntryTableModel &model() { return m_state.model(); }
    RowSelection &selection() { return m_state.selection(); }
    const RowSelection &selection() const { return m_state.selection(); }
    // One action for each command, for every place that raises it.
    const CommandActions &actions() { return m_state.actions(); }
    QAction &action(Command command) { return m_state.actions().action(command); }

    QString fieldText(Field field) const { return m_state.fieldText(field); }
    QString currentPath() const { return m_state.currentPath(); }
    bool isEnabled(Command command) const { return m_state.isEnabled(command); }
    bool isFieldEnabled(Field field) const { return m_state.isFieldEnabled(field); }
    bool isModified() const { return m_state.isModified(); }
    qint16 nextIndex() const { return m_state.nextIndex(); }
    // Find and filter, for the find bar.
    RowFinder &finder() { return m_finder; }
    // The table as a translation: its original's rows and each row's state,
    // and the procedures of translating.
    TranslationStatus &translationStatus() { return m_state.translationStatus(); }
    TranslationEditing &translation() { return m_translation; }
    // The translation memories and the selected row's suggestions.
    MemorySuggestions &suggestions() { return m_suggestions; }
    // The glossaries and the selected row's terms.
    TableGlossary &glossary() { return m_glossary; }
    // The spelling of the translation typed.
    TranslationSpelling &spelling() { return m_spelling; }
    // The two folders of a translation of many tables, when one is open.
    Project &project() { return m_project; }
    // The checks turned off for the table.
    SkippedChecks &skippedChecks() { return m_skippedChecks; }
    // Ctrl+1 to Ctrl+5 and a double click (number from 0): the suggestion's
    // translation becomes the row's, and the person goes on typing it.
    void useSuggestion(qsizetype number)
    {
        if (m_suggestions.useSuggestion(number))
            m_translation.continueTyping();
    }
    // Replace, for the find bar.
    RowReplacer &replacer() { return m_replacer; }

    // The document (see DocumentSession).
    void startUp(const QString &path, bool pathBytesValid = true, LoadAhead *ahead = nullptr)
    {
        m_session.startUp(path, pathBytesValid, ahead);
    }
    void dropFiles(const QStringList &paths, bool firstPathBytesValid = true)
    {
        m_session.dropFiles(paths, firstPathBytesValid);
    }
    void chooseFile(ChooseMode mode) { m_session.chooseFile(mode); }
    bool saveFile(bool writeEntries) { return m_session.saveFile(writeEntries); }
    void closeFile() { m_session.closeFile(); }
    bool queryClose() { return m_session.queryClose(); }
    bool confirmSave() { return m_session.confirmSave(); }
    // The journal of unsaved changes reaches the disk now: the window may
    // be ended without a question (a signal, the end of the session).
    void syncJournal() { m_state.journal().sync(); }

    // The rows (see EntryEditing).
    void addEntry() { m_editing.addEntry(); }
    void editEntry() { m_editing.editEntry(); }
    void removeEntry() { m_editing.removeEntry(); }
    bool acceptEditor(EditMode mode, const QString &indexField, const QString &name, const QString &valueField)
    {
        return m_editing.acceptEditor(mode, indexField, name, valueField);
    }

    // Undo and redo of the rows' changes: back at the state last read or
    // written, the document is unmodified again.
    void undo() { m_state.undo(); }
    void redo() { m_state.redo(); }
    // The rows and the clipboard (see RowClipboard). isShown tells which
    // positions the list shows.
    void copySelectedRow() { m_clipboard.copySelectedRow(); }
    void copyShownRows(const std::function<bool(qsizetype position)> &isShown) { m_clipboard.copyRows(isShown); }
    void pasteRows() { m_clipboard.paste(); }

    // Sets the field's text, as typed or by a procedure; a real change marks
    // the document modified at once.
    void setFieldText(Field field, const QString &text) { m_state.setFieldText(field, text); }
    // Switches the commands for a state code.
    void setUiState(UiState state) { m_state.setUiState(state); }
    // txtFile or txtMemo received the focus (the view selects the text itself).
    void fieldFocused();
    // A click on a row of the list, after the view made it the selected row.
    void itemClicked();
    // A double click on the list: edits the selected row when it is shown selected.
    void itemDoubleClicked();
    // The window became the active window: the selected row is shown selected.
    void windowActivated();
    // A click on a column header: 0 index, 1 name, 2 value, and while an
    // original is open 3 the original, 4 the state.
    void columnClicked(int column);

private:
    void connectActions();

    UserInterface &m_ui;
    Document m_state;
    DocumentSession m_session;
    EntryEditing m_editing;
    RowClipboard m_clipboard;
    RowFinder m_finder{m_state};
    RowReplacer m_replacer;
    TranslationEditing m_translation;
    MemorySuggestions m_suggestions;
    TableGlossary m_glossary;
    TranslationSpelling m_spelling;
    SkippedChecks m_skippedChecks;
    Project m_project;
};

} // namespace wendaro
