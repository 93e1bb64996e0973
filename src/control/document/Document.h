// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "control/commands/CommandActions.h"
#include "control/commands/CommandStates.h"
#include "control/document/EntryTableModel.h"
#include "control/recovery/RecoveryJournal.h"
#include "control/document/RowSelection.h"
#include "control/translation/TranslationStatus.h"
#include "control/window/UserInterface.h"

#include "core/model/EntryList.h"
#include "core/model/TextFields.h"

#include <QItemSelectionModel>
#include <QString>
#include <QUndoStack>

namespace wendaro {

// What the main window shows: the entry list (through its one model), the
// selected row, the texts of txtFile and txtMemo, the current path of the
// status bar, the commands and their enabled state, and the index proposed
// for the next new entry. Each change of the fields and the path is told to
// ui as it happens; the rows and the selection are the model's and the
// selection model's, and the commands are actions.
//
// The document is modified exactly while Save is enabled: after a change of
// rows that the history has not taken back to the saved state, or a change of
// a text field since the document was last read or written. The flag follows
// the history's own signals: each change of rows (a command done, undone,
// done again or merged) is a modified document, and reaching the saved state
// with no field changed is a clean one, as after a load.
class Document : public QObject
{
    Q_OBJECT
public:
    Document(UserInterface &ui, const CodePage &codePage);
    // The stack's destructor says it is clean again; the commands it would
    // switch are gone by then.
    ~Document() override { QObject::disconnect(&m_history, nullptr, this, nullptr); }

    EntryList &entries() { return m_entries; }
    const EntryList &entries() const { return m_entries; }
    EntryTableModel &model() { return m_model; }
    RowSelection &selection() { return m_selection; }
    const RowSelection &selection() const { return m_selection; }
    CommandActions &actions() { return m_actions; }
    // The table as a translation of an original, while one is open.
    TranslationStatus &translationStatus() { return m_translationStatus; }
    const TranslationStatus &translationStatus() const { return m_translationStatus; }
    const TextFields &fields() const { return m_fields; }
    // Undo and redo of the rows' changes; emptied with the document.
    QUndoStack &history() { return m_history; }
    // The unsaved changes on disk, for a crash to leave behind.
    RecoveryJournal &journal() { return m_journal; }

    // Makes a change of rows as a command of the history, so that it can be
    // taken back; the document is modified, unless typing merged into the
    // command before ends where the saved state began.
    void change(QUndoCommand *command);
    // Takes back the last command, or makes the next again; the document is
    // unmodified when that leads back to what was read or written.
    void undo();
    void redo();

    QString fieldText(Field field) const;
    // Sets the field's text; a real change marks the document modified at once.
    void setFieldText(Field field, const QString &text);
    QString currentPath() const { return m_currentPath; }
    void setCurrentPath(const QString &path);
    bool isEnabled(Command command) const { return m_actions.isEnabled(command); }
    bool isFieldEnabled(Field field) const { return m_commands.isFieldEnabled(field); }
    bool isModified() const { return isEnabled(Command::Save); }
    // A table is open with its original: the translation's commands act.
    // (Close is enabled exactly while a table is open.)
    bool isTranslating() const { return m_translationStatus.isOpen() && isEnabled(Command::Close); }
    qint16 nextIndex() const { return m_nextIndex; }
    void setNextIndex(qint16 index) { m_nextIndex = index; }

    // Switches the commands for a state code.
    void setUiState(UiState state);
    // The document equals its file now (read or written): the history's
    // saved state is here, and the state is UiFileClean.
    void markSaved();
    // Empties both fields, the list, which then keeps rows in the order they
    // come, and the history, and closes the originals. The journal goes.
    void clearDocument();

signals:
    // The document's file is another one now (or none).
    void pathChanged(const QString &path);
    // The rows were written to the file or read from it: the file holds them.
    void saved();

private:
    // The history moved: a change of rows, or back at the saved state.
    void historyMoved();
    void cleanChanged(bool clean);

    // The history keeps this many commands. A command holds only the rows it
    // changed: one row for an add, an edit or a removal, the ids of its rows
    // for a paste while it is done. A thousand commands is more than a person
    // takes back, and bounds the history to a thousand rows' worth (a few
    // hundred kilobytes for rows of ordinary length) besides pastes, whose
    // rows are ids while pasted.
    static constexpr int CommandLimit = 1000;

    UserInterface &m_ui;
    RecoveryJournal m_journal{m_ui};
    EntryList m_entries;
    TranslationStatus m_translationStatus;
    EntryTableModel m_model{m_entries};
    QItemSelectionModel m_selectionModel{&m_model};
    RowSelection m_selection{m_selectionModel};
    QUndoStack m_history;
    CommandActions m_actions;
    TextFields m_fields;
    // A field was changed since the document was last read or written; its
    // own undo in the field does not count as going back.
    bool m_fieldsChanged = false;
    // The history is being emptied with the document: its signals then say
    // nothing of the document's state, which the caller sets.
    bool m_clearing = false;
    QString m_currentPath;
    CommandStates m_commands{m_actions, m_ui, m_selection};
    qint16 m_nextIndex = 0;
};

} // namespace wendaro
