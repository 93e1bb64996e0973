// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/document/EntryEditing.h"

#include "control/document/IndexCheck.h"
#include "control/window/MessageBoxes.h"
#include "control/document/RowCommands.h"
#include "control/document/Document.h"

#include "core/model/IndexText.h"
#include "core/text/LineBreaks.h"
#include "core/text/Number.h"
#include "core/text/Spaces.h"

#include <limits>

namespace wendaro {

namespace {

constexpr qint16 LargestIndex = std::numeric_limits<qint16>::max();

} // namespace

EntryEditing::EntryEditing(Document &state, UserInterface &ui) : m_state(state), m_ui(ui) {}

void EntryEditing::addEntry()
{
    m_ui.showEntryEditor(
        {EditMode::Add, QStringLiteral("追加"), QString::number(m_state.nextIndex()), QString(), QString()});
}

void EntryEditing::editEntry()
{
    const RowSelection &selection = m_state.selection();
    if (!selection.hasRow())
        return;
    const Entry &row = m_state.entries().at(selection.row());
    // The index field shows the index text without its padding.
    m_ui.showEntryEditor({EditMode::Edit, QStringLiteral("編集"), trimSpaces(row.indexText).toString(), row.name,
                          lineBreaksFromList(row.value.toString())});
}

void EntryEditing::removeEntry()
{
    RowSelection &selection = m_state.selection();
    if (!selection.hasRow())
        return;
    // The step takes the selection away with the row.
    m_state.change(RowsCommand::takeOut(m_state.entries(), selection, {selection.row()}, QStringLiteral("削除")));
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
    RowSelection &selection = m_state.selection();
    if (mode == EditMode::Add) {
        std::vector<PlacedEntry> added;
        added.push_back({entries.count(), Entry{indexText(toInt16(index).value), name, value, std::nullopt}});
        // The new row is not selected, and no other row stays selected.
        selection.clear();
        m_state.change(RowsCommand::putIn(entries, selection, std::move(added), QStringLiteral("追加")));
    } else {
        if (!selection.hasRow())
            return;
        m_state.change(new EditCommand(entries, selection, selection.row(),
                                       Entry{indexTextFromTyped(index), name, value, std::nullopt}));
    }
    // The proposed index moves on when it was taken as proposed; 32767 is the last one.
    const qint16 next = m_state.nextIndex();
    if (index == QString::number(next) && next < LargestIndex)
        m_state.setNextIndex(qint16(next + 1));
}

} // namespace wendaro
