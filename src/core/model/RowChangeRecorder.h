// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/Entry.h"

#include <vector>

namespace wendaro {

class EntryList;
struct PlacedEntry;

// Told of each change of an EntryList with the very rows and positions it
// touched, so that the change can be written down and made again on the same
// rows later. The observer cannot serve: a view hears of scattered rows as a
// reset, which says nothing of what changed.
class RowChangeRecorder
{
public:
    virtual ~RowChangeRecorder() = default;

    // The rows now at these positions (ascending) were put in.
    virtual void rowsPut(const EntryList &rows, const std::vector<qsizetype> &positions) = 0;
    // These rows were taken out, from the positions they name (ascending).
    virtual void rowsTaken(const std::vector<PlacedEntry> &taken) = 0;
    // A field of the row at position changed.
    virtual void rowChanged(const EntryList &rows, qsizetype position) = 0;
    // order[i] is the position the row now at i had before.
    virtual void rowsReordered(const std::vector<qsizetype> &order) = 0;
    // Every row went at once (a load, a close): nothing before can be followed.
    virtual void rowsReset() = 0;
};

} // namespace wendaro
