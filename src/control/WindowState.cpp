// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/WindowState.h"

namespace wendaro {

WindowState::WindowState(UserInterface &ui) : m_ui(ui)
{
    // A first click on the index column reverses the order it finds; starting
    // from descending makes that click sort ascending, as people expect.
    m_entries.setSortOrder(SortOrder::Descending);
}

QString WindowState::fieldText(Field field) const
{
    return field == Field::File ? m_fields.outputFile : m_fields.memo;
}

void WindowState::setCurrentPath(const QString &path)
{
    if (m_currentPath == path)
        return;
    m_currentPath = path;
    m_ui.currentPathChanged(path);
}

void WindowState::setFieldText(Field field, const QString &text)
{
    QString &slot = field == Field::File ? m_fields.outputFile : m_fields.memo;
    if (slot == text)
        return;
    slot = text;
    m_ui.fieldTextChanged(field, text);
    setUiState(UiState::Modified);
}

void WindowState::setUiState(UiState state)
{
    // The fields are emptied before the commands go off, so that the change
    // they raise cannot leave Save switched on in the no-file state.
    if (state == UiState::NoFile) {
        setFieldText(Field::File, QString());
        setFieldText(Field::Memo, QString());
    }
    m_commands.apply(state);
}

void WindowState::clearDocument()
{
    setFieldText(Field::File, QString());
    setFieldText(Field::Memo, QString());
    m_entries.clear();
    m_entries.setSorted(false);
    m_history.clear();
}

} // namespace wendaro
