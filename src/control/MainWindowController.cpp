// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/MainWindowController.h"

#include "control/ColumnSort.h"

namespace wendaro {

MainWindowController::MainWindowController(UserInterface &ui, CodePage codePage)
    : m_ui(ui), m_state(ui), m_session(m_state, ui, std::move(codePage)), m_editing(m_state, ui),
      m_clipboard(m_state, ui)
{
}

void MainWindowController::undo()
{
    if (m_state.history().undo())
        m_state.setUiState(UiState::Modified);
}

void MainWindowController::redo()
{
    if (m_state.history().redo())
        m_state.setUiState(UiState::Modified);
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
    if (m_state.entries().isSelectedShown())
        m_editing.editEntry();
}

void MainWindowController::windowActivated()
{
    // Without a selected row nothing changes.
    m_state.entries().setSelectedShown(true);
}

void MainWindowController::columnClicked(int headerPosition)
{
    sortByHeaderClick(m_state.entries(), m_ui, headerPosition);
}

} // namespace wendaro
