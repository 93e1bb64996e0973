// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

class QItemSelectionModel;

namespace wendaro {

// The list's selected row (its "selected item") and whether that row is shown
// selected, kept where the view keeps them: the selected row is the selection
// model's current index, shown selected while its row is in the selection.
// The view and the controller share the one selection model, so there is
// nothing to copy either way. Rows count from 0; -1 is no row.
//
// The selection model follows the rows as they move (sorting) and forgets
// them when all are replaced; a command that takes rows out says itself what
// is selected afterwards, since the model would move the current index to a
// neighbour of a removed row.
class RowSelection
{
public:
    explicit RowSelection(QItemSelectionModel &model) : m_model(model) {}

    QItemSelectionModel &model() { return m_model; }

    qsizetype row() const;
    bool hasRow() const { return row() >= 0; }
    bool isShown() const;
    // Makes the row the selected row and shows it selected.
    void select(qsizetype row);
    // Shows the selected row selected or not; without a selected row nothing happens.
    void setShown(bool shown);
    // No selected row.
    void clear();

private:
    QItemSelectionModel &m_model;
};

} // namespace wendaro
