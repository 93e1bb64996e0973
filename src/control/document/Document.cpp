// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/document/Document.h"

#include <QAction>

namespace wendaro {

Document::Document(UserInterface &ui, const CodePage &codePage) : m_ui(ui), m_translationStatus(m_entries, codePage)
{
    m_model.setTranslationStatus(&m_translationStatus);
    m_entries.setRecorder(&m_journal);
    // A first click on the index column reverses the order it finds; starting
    // from descending makes that click sort ascending, as people expect.
    m_entries.setSortOrder(SortOrder::Descending);
    m_history.setUndoLimit(CommandLimit);
    QAction &undo = m_actions.action(Command::Undo);
    QAction &redo = m_actions.action(Command::Redo);
    undo.setEnabled(false);
    redo.setEnabled(false);
    QObject::connect(&m_history, &QUndoStack::canUndoChanged, &undo, &QAction::setEnabled);
    QObject::connect(&m_history, &QUndoStack::canRedoChanged, &redo, &QAction::setEnabled);
    // The stack says when it moves (before it says whether it is clean).
    connect(&m_history, &QUndoStack::indexChanged, this, &Document::historyMoved);
    connect(&m_history, &QUndoStack::cleanChanged, this, &Document::cleanChanged);
}

QString Document::fieldText(Field field) const
{
    return field == Field::File ? m_fields.outputFile : m_fields.memo;
}

void Document::setCurrentPath(const QString &path)
{
    if (m_currentPath == path)
        return;
    m_currentPath = path;
    m_ui.currentPathChanged(path);
    emit pathChanged(path);
}

void Document::setFieldText(Field field, const QString &text)
{
    QString &slot = field == Field::File ? m_fields.outputFile : m_fields.memo;
    if (slot == text)
        return;
    slot = text;
    m_fieldsChanged = true;
    m_journal.fieldsChanged(m_fields);
    m_ui.fieldTextChanged(field, text);
    setUiState(UiState::Modified);
}

void Document::change(QUndoCommand *command)
{
    // A command merged into the one before leaves that one on top: the
    // journal counts the typing of one visit as one change, as the history
    // does.
    const QUndoCommand *top = m_history.index() > 0 ? m_history.command(m_history.index() - 1) : nullptr;
    m_history.push(command);
    const bool merged = top && m_history.index() > 0 && m_history.command(m_history.index() - 1) == top;
    m_journal.commit(merged ? JournalRecord::Continued : JournalRecord::Change, isModified());
}

void Document::undo()
{
    if (!m_history.canUndo())
        return;
    m_history.undo();
    m_journal.commit(JournalRecord::Change, isModified());
}

void Document::redo()
{
    if (!m_history.canRedo())
        return;
    m_history.redo();
    m_journal.commit(JournalRecord::Change, isModified());
}

void Document::historyMoved()
{
    // Every change of rows switches to UiModified, which also brings the
    // commands of the selected row up to date; reaching the saved state
    // with the fields as they were read is cleanChanged's.
    if (!m_clearing && (!m_history.isClean() || m_fieldsChanged))
        setUiState(UiState::Modified);
}

void Document::cleanChanged(bool clean)
{
    // Back at the saved state, Save goes off as after a load; nothing else
    // of the document is touched.
    if (!m_clearing && clean && !m_fieldsChanged)
        setUiState(UiState::FileClean);
}

void Document::setUiState(UiState state)
{
    // The fields are emptied before the commands go off, so that the change
    // they raise cannot leave Save switched on in the no-file state.
    if (state == UiState::NoFile) {
        setFieldText(Field::File, QString());
        setFieldText(Field::Memo, QString());
    }
    m_commands.apply(state);
}

void Document::markSaved()
{
    m_history.setClean();
    m_fieldsChanged = false;
    setUiState(UiState::FileClean);
    emit saved();
}

void Document::clearDocument()
{
    m_journal.stop();
    setFieldText(Field::File, QString());
    setFieldText(Field::Memo, QString());
    m_translationStatus.close();
    m_entries.clear();
    m_entries.setSorted(false);
    m_clearing = true;
    m_history.clear();
    m_clearing = false;
}

} // namespace wendaro
