// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/ListKeys.h"

#include <QSet>
#include <QTreeView>

namespace wendaro {

class EntryList;
class EntryTableModel;
class RowSelection;

// ListView1: the entry list in report view, one row per entry, three columns.
//
// The list's "selected item" is the view's current row and its "shown
// selected" state is whether that row is in the view's selection: the view
// shows the controller's model and shares its selection model (see
// RowSelection), so there is one selection. A press on empty space takes the
// selection away and keeps the selected item, as the report-style list
// control does. The right button presses like the left one
// and opens the context menu on release. The header shows the sort key and
// order from a column click until the rows are next replaced (load, close).
class EntryListView : public QTreeView
{
    Q_OBJECT
public:
    // entries is what the model shows, for its sort state.
    EntryListView(const EntryList &entries, EntryTableModel &model, RowSelection &selection, QWidget *parent = nullptr);

signals:
    // A click on a row (or a keyboard move to another row).
    void itemClicked();
    // A double click with the left button, over a row or not.
    void listDoubleClicked();
    // The right button was released at globalPosition.
    void contextMenuRequested(const QPoint &globalPosition);
    // A column header was clicked: 0 index, 1 name, 2 value.
    void columnClicked(int column);
    // Local files were dropped on the list, in the order dropped.
    // firstPathBytesValid: the first file's name decoded to the same bytes.
    void filesDropped(const QStringList &paths, bool firstPathBytesValid);
    // A key that acts on the rows (undo, redo, copy, paste) was pressed.
    void listKeyPressed(ListKey key);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void showSortState();
    // Tells the model how much of a value the value column can show.
    void fitValuesToColumn();
    // While an original is open: the original's and the value's columns share
    // the width the other columns leave, but for one the person has sized.
    void fitTextColumns();
    const EntryList &m_entries;
    EntryTableModel &m_model;
    RowSelection &m_selection;
    QSet<int> m_sizedByPerson; // sections, since the original opened
    bool m_fitting = false;    // the view itself sizes the columns
};

} // namespace wendaro
