// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace wendaro {

// What reading a value of a binary file needs to know of its code units,
// and what the writers and check would otherwise each look for again: one
// pass over them, made as the value is read, instead of three.
struct FileUnitsLook
{
    qsizetype lineBreaks = 0; // CR LF pairs, each "<br>" in the list
    bool listBreak = false;   // "<br>" typed among them: the look stopped there
    bool separators = false;  // a TAB, or a CR or LF that is no part of a CR LF
    bool ascii = true;        // every unit below 0x80
};

// The look at size code units in the host's order at units.
FileUnitsLook lookAtFileUnits(const char16_t *units, qsizetype size);

} // namespace wendaro
