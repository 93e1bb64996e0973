// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/document/RowClipboard.h"

#include "control/window/MessageBoxes.h"
#include "control/document/RowCommands.h"
#include "control/window/UserInterface.h"
#include "control/document/Document.h"

#include "core/checks/SaveRefusals.h"
#include "core/formats/TextReader.h"
#include "core/text/Spaces.h"

#include <limits>
#include <optional>

namespace wendaro {

namespace {

constexpr QChar LineEnd = u'\n';

// Why a field of the row at position cannot travel as a line: a TAB, CR or
// LF in it would split the line or its fields when pasted.
std::optional<QString> separatorIn(qsizetype position, const Entry &row, const QString &part, QStringView text)
{
    const qsizetype at = refusal::firstOf(text, refusal::TextFieldSeparators);
    if (at < 0)
        return std::nullopt;
    return refusal::rowPart(position, trimSpaces(row.indexText), part)
           + QStringLiteral("の %1 文字目に %2 があります。行や項目の区切りになるため、コピーできません。")
                 .arg(at + 1)
                 .arg(refusal::separatorName(text[at]));
}

} // namespace

RowClipboard::RowClipboard(Document &state, UserInterface &ui) : m_state(state), m_ui(ui) {}

void RowClipboard::copySelectedRow()
{
    const RowSelection &selection = m_state.selection();
    if (selection.hasRow())
        copyPositions({selection.row()});
}

void RowClipboard::copyRows(const std::function<bool(qsizetype)> &isShown)
{
    std::vector<qsizetype> positions;
    for (qsizetype position = 0; position < m_state.entries().count(); ++position) {
        if (isShown(position))
            positions.push_back(position);
    }
    if (!positions.empty())
        copyPositions(positions);
}

void RowClipboard::copyPositions(const std::vector<qsizetype> &positions)
{
    const EntryList &entries = m_state.entries();
    QString lines;
    for (const qsizetype position : positions) {
        const Entry &row = entries.at(position);
        const QString value = row.value.toString();
        std::optional<QString> refused = separatorIn(position, row, QStringLiteral("名前"), row.name);
        if (!refused)
            refused = separatorIn(position, row, QStringLiteral("値"), value);
        if (refused) {
            // Half the rows on the clipboard would be worse than none.
            m_ui.showMessage(noticeBox(*refused));
            return;
        }
        lines += trimSpaces(row.indexText);
        lines += u'\t' + row.name + u'\t' + value + LineEnd;
    }
    m_ui.setClipboardText(lines);
}

void RowClipboard::paste()
{
    // Rows are added only where the Add command could add them.
    if (!m_state.isEnabled(Command::Add))
        return;
    EntryList read;
    qint16 largest = std::numeric_limits<qint16>::min();
    QString error;
    TextReader reader;
    if (!reader.readRows(m_ui.clipboardText(), read, largest, &error)) {
        m_ui.showMessage(noticeBox(PasteRefusedMessage + QStringLiteral("\r\n") + error));
        return;
    }
    if (read.isEmpty())
        return;
    EntryList &entries = m_state.entries();
    RowSelection &selection = m_state.selection();
    const qsizetype first = selection.hasRow() ? selection.row() + 1 : entries.count();
    std::vector<PlacedEntry> rows;
    for (qsizetype p = 0; p < read.count(); ++p)
        rows.push_back({first + p, read.at(p)});
    m_state.change(RowsCommand::putIn(entries, selection, std::move(rows), QStringLiteral("貼り付け")));
    // The proposal for the next add stays clear of every pasted index; a
    // paste of 32767 leaves it at the last index there is, as a load does.
    if (largest >= m_state.nextIndex())
        m_state.setNextIndex(largest == std::numeric_limits<qint16>::max() ? largest : qint16(largest + 1));
}

} // namespace wendaro
