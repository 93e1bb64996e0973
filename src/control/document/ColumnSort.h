// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

namespace wendaro {

class EntryList;
class UserInterface;

// A click on a column header: 0 index, 1 name, 2 value, as SortColumn counts,
// and while a translation's columns show, 3 its original and 4 its state,
// whose texts otherText gives (it may be called on a worker thread).
// The clicked column's order is reversed, another column sorts ascending. A
// large table is sorted as ui's long task, which the person may stop: the
// rows and the header then stay as they were.
void sortByHeaderClick(EntryList &entries, UserInterface &ui, int clicked,
                       const std::function<QString(qsizetype position)> &otherText = {});

} // namespace wendaro
