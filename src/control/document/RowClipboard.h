// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>
#include <vector>

namespace wendaro {

class UserInterface;
class Document;

inline const QString PasteRefusedMessage = QStringLiteral("クリップボードの行を貼り付けられません。");

// Rows to and from the clipboard as lines of the text form: the index
// without its padding, TAB, the name, TAB, the value with "<br>" for its
// line breaks, each line ended by LF; a spreadsheet takes a line as three
// cells. Pasted lines are read as the text reader reads them, so that rows
// copied in one window paste into another as they were.
class RowClipboard
{
public:
    RowClipboard(Document &state, UserInterface &ui);

    // The selected row; nothing without one.
    void copySelectedRow();
    // Every row that isShown takes (a position), in display order.
    void copyRows(const std::function<bool(qsizetype position)> &isShown);
    // Adds the clipboard's rows after the selected row, or at the end: all
    // of them as one command, or none with a box that names the first line
    // that is no row. Nothing without a document.
    void paste();

private:
    // Puts the lines of the rows at positions on the clipboard; when a name
    // or value would not come back as it is, only a box that names it.
    void copyPositions(const std::vector<qsizetype> &positions);

    Document &m_state;
    UserInterface &m_ui;
};

} // namespace wendaro
