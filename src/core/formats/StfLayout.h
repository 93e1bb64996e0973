// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace wendaro::stf {

// The byte layout of the binary string-table format, shared by its reader and
// writer. All integers are little-endian; nothing is padded or aligned.
//
// Header:        magic (4) · flag (1) · next index (4) · entry count (4)
// Value record:  index (4) · key (4) · length (4) · length UTF-16 code units
// Name record:   index (4) · length (4) · length bytes of the narrow code page
//
// Every 4-byte field but the key carries a signed 16-bit number in its lower
// two bytes; the upper two are written as zero and ignored when read.

constexpr qsizetype HeaderSize = 13;
constexpr qsizetype EntryCountOffset = 9;
constexpr quint32 Magic = 0x0000ABCD;
constexpr quint8 Flag = 1;

constexpr qsizetype FieldSize = 4;

constexpr qsizetype ValueFixedSize = 12;
constexpr qsizetype ValueLengthOffset = 8;
constexpr quint32 ValueKey = 0xFFFFFFFF;

constexpr qsizetype NameFixedSize = 8;
constexpr qsizetype NameLengthOffset = 4;

// What these fields let a file hold, the entry count and the lengths, is
// kept by the save rules: core/checks/StfLimits.h.

} // namespace wendaro::stf
