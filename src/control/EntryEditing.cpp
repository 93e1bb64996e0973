// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/EntryEditing.h"

#include "control/IndexCheck.h"
#include "control/MessageBoxes.h"
#include "control/WindowState.h"

#include "core/model/IndexText.h"
#include "core/text/LineBreaks.h"
#include "core/text/Number.h"
#include "core/text/Spaces.h"

#include <limits>

namespace wendaro {

namespace {

constexpr qint16 LargestIndex = std::numeric_limits<qint16>::max();

} // namespace

EntryEditing::EntryEditing(WindowState &state, UserInterface &ui) : m_state(state), m_ui(ui) {}

void EntryEditing::addEntry()
{
    m_ui.showEntryEditor(
        {EditMode::Add, QStringLiteral("追加"), QString::number(m_state.nextIndex()), QString(), QString()});
}

void EntryEditing::editEntry()
{
    const EntryList &entries = m_state.entries();
    const qsizetype position = entries.selectedPosition();
    if (position == 0)
        return;
    const Entry &row = entries.at(position);
    // The index field shows the index text without its padding.
    m_ui.showEntryEditor({EditMode::Edit, QStringLiteral("編集"), trimSpaces(row.indexText).toString(), row.name,
                          lineBreaksFromList(row.value.toString())});
}

void EntryEditing::removeEntry()
{
    EntryList &entries = m_state.entries();
    const qsizetype position = entries.selectedPosition();
    if (position == 0)
        return;
    Entry removed = entries.at(position);
    entries.removeAt(position);
    entries.clearSelection();
    m_state.history().recordRemoved(position, std::move(removed));
    m_state.setUiState(UiState::Modified);
}

bool EntryEditing::acceptEditor(EditMode mode, const QString &indexField, const QString &name,
                                const QString &valueField)
{
    switch (checkIndexField(indexField)) {
    case IndexCheck::NotNumeric: m_ui.showMessage(indexErrorBox(IndexNotNumericMessage)); return false;
    case IndexCheck::OutOfRange: m_ui.showMessage(indexErrorBox(IndexOutOfRangeMessage)); return false;
    case IndexCheck::Ok: break;
    }
    formReturn(mode, indexField, name, lineBreaksToList(valueField));
    return true;
}

void EntryEditing::formReturn(EditMode mode, const QString &index, const QString &name, const QString &value)
{
    EntryList &entries = m_state.entries();
    if (mode == EditMode::Add) {
        const qsizetype added = entries.append(Entry{indexText(toInt16(index).value), name, value, std::nullopt});
        entries.clearSelection();
        m_state.history().recordInserted({added});
    } else {
        const qsizetype position = entries.selectedPosition();
        if (position == 0)
            return;
        Entry before = entries.at(position);
        entries.setIndexText(position, indexTextFromTyped(index));
        entries.setName(position, name);
        entries.setValue(position, value);
        m_state.history().recordEdited(position, std::move(before));
    }
    // The proposed index moves on when it was taken as proposed; 32767 is the last one.
    const qint16 next = m_state.nextIndex();
    if (index == QString::number(next) && next < LargestIndex)
        m_state.setNextIndex(qint16(next + 1));
    m_state.setUiState(UiState::Modified);
}

} // namespace wendaro
