// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace wendaro {

class EntryList;
class UserInterface;

// A click on a column header: 0 index, 1 name, 2 value, as SortColumn counts.
// The clicked column's order is reversed, another column sorts ascending. A
// large table is sorted as ui's long task, which the person may stop: the
// rows and the header then stay as they were.
void sortByHeaderClick(EntryList &entries, UserInterface &ui, int clicked);

} // namespace wendaro
