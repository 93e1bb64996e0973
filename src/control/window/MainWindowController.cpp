// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/window/MainWindowController.h"

#include "control/document/ColumnSort.h"
#include "control/window/ReadmeViewer.h"

#include <QCoreApplication>

namespace wendaro {

MainWindowController::MainWindowController(UserInterface &ui, CodePage codePage)
    : m_ui(ui), m_state(ui, codePage), m_session(m_state, ui, codePage), m_editing(m_state, ui),
      m_clipboard(m_state, ui), m_replacer(m_state, ui, m_finder, codePage), m_translation(m_state, ui, codePage),
      m_suggestions(m_state, ui), m_glossary(m_state, ui), m_spelling(m_state, ui), m_skippedChecks(m_state),
      m_project(m_state, m_session, m_translation, m_suggestions, ui, std::move(codePage))
{
    connectActions();
    // The count's place follows the selected row; typing after a move is a
    // visit of its own.
    QObject::connect(&m_state.selection().model(), &QItemSelectionModel::currentChanged, &m_state.model(), [this] {
        m_finder.selectionChanged();
        m_translation.rowVisited();
    });
    // The memories say what language the translation is in, for its spelling.
    QObject::connect(&m_suggestions, &MemorySuggestions::memoriesChanged, &m_spelling,
                     [this] { m_spelling.setMemoryLanguage(m_suggestions.translationLanguage()); });
    m_translation.setRowShown([this](qsizetype position) { return m_finder.isRowShown(position); });
}

void MainWindowController::connectActions()
{
    CommandActions &actions = m_state.actions();
    actions.whenTriggered(Command::New, [this] { chooseFile(ChooseMode::New); });
    actions.whenTriggered(Command::Open, [this] { chooseFile(ChooseMode::Open); });
    actions.whenTriggered(Command::Close, [this] { closeFile(); });
    actions.whenTriggered(Command::Save, [this] { saveFile(true); });
    actions.whenTriggered(Command::SaveAs, [this] { chooseFile(ChooseMode::SaveAs); });
    actions.whenTriggered(Command::Add, [this] { addEntry(); });
    actions.whenTriggered(Command::Edit, [this] { editEntry(); });
    actions.whenTriggered(Command::Remove, [this] { removeEntry(); });
    actions.whenTriggered(Command::Version, [this] { openReadme(m_ui, QCoreApplication::applicationDirPath()); });
    actions.whenTriggered(Command::ChooseOutput, [this] { chooseFile(ChooseMode::Output); });
    actions.whenTriggered(Command::Undo, [this] { undo(); });
    actions.whenTriggered(Command::Redo, [this] { redo(); });
    actions.whenTriggered(Command::CopyRow, [this] { copySelectedRow(); });
    actions.whenTriggered(Command::CopyShownRows, [this] {
        copyShownRows([this](qsizetype position) { return m_finder.isRowShown(position); });
    });
    actions.whenTriggered(Command::Paste, [this] { pasteRows(); });
    actions.whenTriggered(Command::OpenOriginal, [this] { m_translation.chooseOriginal(false); });
    actions.whenTriggered(Command::OpenOldOriginal, [this] { m_translation.chooseOriginal(true); });
    actions.whenTriggered(Command::AcceptAndNext, [this] { m_translation.acceptAndNext(); });
    actions.whenTriggered(Command::NextToDo, [this] { m_translation.goToWork(+1); });
    actions.whenTriggered(Command::PreviousToDo, [this] { m_translation.goToWork(-1); });
    actions.whenTriggered(Command::CopyOriginal, [this] { m_translation.copyOriginal(); });
    actions.whenTriggered(Command::AddMissing, [this] { m_translation.addMissingRows(); });
    actions.whenTriggered(Command::OpenMemory, [this] { m_suggestions.chooseMemories(); });
    actions.whenTriggered(Command::OpenGlossary, [this] { m_glossary.chooseGlossaries(); });
    actions.whenTriggered(Command::OpenProject, [this] { m_project.choose(); });
    actions.whenTriggered(Command::NextTable, [this] { m_project.goToTable(+1); });
    actions.whenTriggered(Command::PreviousTable, [this] { m_project.goToTable(-1); });
    for (const Command command : {Command::UseSuggestion1, Command::UseSuggestion2, Command::UseSuggestion3,
                                  Command::UseSuggestion4, Command::UseSuggestion5}) {
        const qsizetype number = qsizetype(command) - qsizetype(Command::UseSuggestion1);
        actions.whenTriggered(command, [this, number] { useSuggestion(number); });
    }
    // Exit closes the window, and the find bar's keys act on the bar: the
    // window connects those.
}

void MainWindowController::fieldFocused()
{
    m_state.setUiState(UiState::FieldFocus);
}

void MainWindowController::itemClicked()
{
    m_state.setUiState(UiState::SelectionChanged);
}

void MainWindowController::itemDoubleClicked()
{
    if (m_state.selection().isShown())
        m_editing.editEntry();
}

void MainWindowController::windowActivated()
{
    // Without a selected row nothing changes.
    m_state.selection().setShown(true);
}

void MainWindowController::columnClicked(int column)
{
    const TranslationStatus &status = m_state.translationStatus();
    if (!status.isOpen()) {
        sortByHeaderClick(m_state.entries(), m_ui, column);
        return;
    }
    // The sort may run on a worker, which reads the rows and the states
    // as they stand: nothing changes them meanwhile.
    sortByHeaderClick(m_state.entries(), m_ui, column, [&status, column](qsizetype position) {
        if (column == int(SortColumn::State))
            return rowStateWord(status.state(position));
        const Entry *original = status.originalOf(position);
        return original ? original->value.toString() : QString();
    });
}

} // namespace wendaro
