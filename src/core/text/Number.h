// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringView>
#include <optional>

namespace wendaro {

// The one numeric test and conversion for every number that is typed or read.
//
// Numeric: optional spaces, an optional sign, decimal digits with an optional
// fraction (".5" and "5." count), an optional exponent (1e3, 2.5E-1), optional
// spaces. Nothing else: no TAB or other blank, no hexadecimal, no thousands
// separators. A number too small for a double is zero, one too large is an
// infinity.
std::optional<double> parseNumber(QStringView text);
bool isNumeric(QStringView text);

// Rounds to the nearest integer, halves to the even neighbour (2.5 -> 2).
double roundHalfToEven(double value);
// The nearest integer to the number that text writes, rounded as above; what
// is a half is decided on the text's digits, not on the double nearest to
// them. nullopt when the text is not numeric.
std::optional<double> parseRounded(QStringView text);

struct Int16Conversion
{
    enum class Status { Ok, NotNumeric, Overflow };
    Status status = Status::NotNumeric;
    qint16 value = 0;
    bool ok() const { return status == Status::Ok; }
};

// Converts a numeric text to a signed 16-bit integer, rounding as above;
// a rounded value outside -32768..32767 is an overflow.
Int16Conversion toInt16(QStringView text);

// The index that a translation file names a unit by: an optional minus and
// one to six decimal digits, nothing around them, within -32768..32767;
// nullopt for anything else. Stricter than the numeric test above, since
// these texts are written by our own exporter, never typed.
std::optional<qint16> parseIndexDigits(QStringView text);

} // namespace wendaro
