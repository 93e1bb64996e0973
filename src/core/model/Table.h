// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/EntryList.h"
#include "core/io/LoadProgress.h"
#include "core/model/TextFields.h"

namespace wendaro {

// What a reader fills in: the rows, the two texts only some formats carry,
// and the largest index seen, from which the next index is proposed.
struct Table
{
    EntryList rows;
    TextFields fields;
    // Starts at 1, so that the proposal after a table without a larger
    // index is still 2.
    qint16 largestIndex = 1;
    // Where the reader reports how far it got and learns that it is to stop
    // (it then returns false with no error); none when nobody waits.
    LoadProgress *progress = nullptr;
};

} // namespace wendaro
