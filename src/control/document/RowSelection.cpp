// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/document/RowSelection.h"

#include <QItemSelectionModel>

namespace wendaro {

qsizetype RowSelection::row() const
{
    const QModelIndex current = m_model.currentIndex();
    return current.isValid() ? current.row() : -1;
}

bool RowSelection::isShown() const
{
    const QModelIndex current = m_model.currentIndex();
    return current.isValid() && m_model.isRowSelected(current.row());
}

void RowSelection::select(qsizetype row)
{
    if (row == this->row() && isShown())
        return;
    m_model.setCurrentIndex(m_model.model()->index(int(row), 0),
                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void RowSelection::setShown(bool shown)
{
    const QModelIndex current = m_model.currentIndex();
    if (!current.isValid() || isShown() == shown)
        return;
    if (shown)
        m_model.select(current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    else
        m_model.clearSelection();
}

void RowSelection::clear()
{
    if (m_model.currentIndex().isValid() || m_model.hasSelection())
        m_model.clear();
}

} // namespace wendaro
