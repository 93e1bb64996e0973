// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>
#include <vector>

namespace wendaro {

// What the finder needs of the list and of the find bar: which rows the
// list shows, and a place for the count. Positions count from 0, in display
// order, as in EntryList.
class FindView
{
public:
    virtual ~FindView() = default;

    // Whether the list shows the row (the filter may hide it).
    virtual bool isRowShown(qsizetype position) const = 0;
    // Shows exactly the rows whose flag is set, flag i for position i;
    // an empty list of flags shows every row. The list then keeps what it
    // shows of each row as rows come, change, go or move, until told again.
    virtual void showRows(const std::vector<bool> &shown) = 0;
    // Shows the row if the filter hides it, and scrolls it into view.
    virtual void revealRow(qsizetype position) = 0;
    // The count, a note or what is wrong with the text to find.
    virtual void findStatusChanged(const QString &status) = 0;
};

} // namespace wendaro
