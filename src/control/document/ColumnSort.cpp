// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/document/ColumnSort.h"

#include "control/window/UserInterface.h"

#include "core/model/EntryList.h"

#include <vector>

namespace wendaro {

namespace {

// Tables with fewer rows sort within a frame, whatever their values.
constexpr qsizetype SortAsideRows = 4096;

} // namespace

void sortByHeaderClick(EntryList &entries, UserInterface &ui, int clicked,
                       const std::function<QString(qsizetype position)> &otherText)
{
    const int columns = otherText ? int(SortColumn::State) : int(SortColumn::Value);
    if (clicked < 0 || clicked > columns)
        return;
    const auto column = SortColumn(clicked);
    const SortColumn keyBefore = entries.sortKey();
    const SortOrder orderBefore = entries.sortOrder();
    if (entries.sortKey() == column) {
        entries.setSortOrder(entries.sortOrder() == SortOrder::Ascending ? SortOrder::Descending
                                                                         : SortOrder::Ascending);
    } else {
        entries.setSortKey(column);
        entries.setSortOrder(SortOrder::Ascending);
    }
    if (entries.count() < SortAsideRows) {
        entries.applySortedOrder(entries.sortedOrder(otherText));
        return;
    }
    // Comparing long values of a large table takes longer than a frame: the
    // order is found on a worker thread while the window keeps painting the
    // rows, which nothing changes meanwhile, and only put in place here.
    std::vector<qsizetype> order;
    const EntryList &rows = entries;
    ui.runLongTask(QStringLiteral("並べ替えています…"), [&order, &rows, &otherText](LoadProgress &progress) {
        order = rows.sortedOrder(otherText);
        if (progress.isCancelled())
            order.clear();
    });
    if (order.empty()) {
        // Stopped by the person: the rows and the header stay as they were.
        entries.setSortKey(keyBefore);
        entries.setSortOrder(orderBefore);
        return;
    }
    entries.applySortedOrder(order);
}

} // namespace wendaro
