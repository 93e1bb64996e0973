// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QtGlobal>

namespace wendaro {

// Told of every change of an EntryList, so that a view can follow it without a
// second copy of the rows. Positions count from 0, as everywhere in EntryList.
class EntryListObserver
{
public:
    virtual ~EntryListObserver() = default;

    virtual void rowsAboutToBeReset() {}
    virtual void rowsReset() {}
    virtual void rowAboutToBeAppended(qsizetype position) { Q_UNUSED(position) }
    virtual void rowAppended(qsizetype position) { Q_UNUSED(position) }
    virtual void rowChanged(qsizetype position) { Q_UNUSED(position) }
    // Rows put in or taken out together: count rows from position on.
    virtual void rowsAboutToBeInserted(qsizetype position, qsizetype count)
    {
        Q_UNUSED(position)
        Q_UNUSED(count)
    }
    virtual void rowsInserted(qsizetype position, qsizetype count)
    {
        Q_UNUSED(position)
        Q_UNUSED(count)
    }
    virtual void rowsAboutToBeRemoved(qsizetype position, qsizetype count)
    {
        Q_UNUSED(position)
        Q_UNUSED(count)
    }
    virtual void rowsRemoved(qsizetype position, qsizetype count)
    {
        Q_UNUSED(position)
        Q_UNUSED(count)
    }
    virtual void rowsAboutToBeReordered() {}
    // newPositionOf[p] is the new position of the row that was at position p.
    virtual void rowsReordered(const QList<qsizetype> &newPositionOf) { Q_UNUSED(newPositionOf) }
};

} // namespace wendaro
