// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace wendaro::stf {

// How much an STF file can hold. The save rules keep a table within these
// before the writer lays out a byte, so they live with the rules rather
// than with the byte layout (core/formats/StfLayout.h) that they follow
// from: the rules sit below the formats and know rows, not files.

// The next-index field holds the entry count + 1 in 16 signed bits.
constexpr qsizetype MaxEntryCount = 32766;
// A length field holds a signed 16-bit count: UTF-16 code units for a
// value, the code page's bytes for a name.
constexpr qsizetype MaxLength = 32767;

} // namespace wendaro::stf
