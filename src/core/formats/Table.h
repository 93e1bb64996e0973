#pragma once

#include "EntryList.h"
#include "TextFields.h"

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
};

} // namespace wendaro
