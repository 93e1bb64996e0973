// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace wendaro {

// Inside the list a line break of a value, CR LF, is held as "<br>". Both
// conversions replace every occurrence, left to right, case-sensitively; a
// lone CR or LF is not a line break and stays as it is.
inline constexpr QStringView ListLineBreakText = u"<br>";
// Its bytes in a text file, in every code page that marksFieldsInBytes().
inline constexpr QByteArrayView ListLineBreakBytes = "<br>";
// Where the first of them is in bytes from from on, or -1.
qsizetype nextListLineBreak(QByteArrayView bytes, qsizetype from);
// How many of them bytes hold.
qsizetype listLineBreakCount(QByteArrayView bytes);
QString lineBreaksToList(QString value);   // CR LF -> "<br>"
QString lineBreaksFromList(QString value); // "<br>" -> CR LF

// The same conversions fused with the little-endian UTF-16 of a binary
// file, so that a long value is copied once into a string of its final size.
// The list value of codeUnits UTF-16 code units at bytes.
QString listValueFromUtf16(const char *bytes, qsizetype codeUnits);
// How many CR LF those code units hold: the list value is longer by two
// code units for each.
qsizetype utf16LineBreakCount(const char *bytes, qsizetype codeUnits);
// The same count, or -1 when they hold "<br>", which a list value cannot
// tell from a line break; for units at any address, read byte by byte (those
// that can be read in place are looked at by lookAtFileUnits, FileUnitsLook.h).
qsizetype utf16LineBreakCountUnlessListBreak(const char *bytes, qsizetype codeUnits);
// Writes their list value at out, which has room for it.
void listValueFromUtf16Into(const char *bytes, qsizetype codeUnits, char16_t *out);
// How many code units the value takes in a file, with its breaks as CR LF.
qsizetype fileLengthOfListValue(QStringView value);
// Writes the value's fileLengthOfListValue() code units at out; returns
// their end.
char *utf16FromListValue(QStringView value, char *out);

// The little-endian UTF-16 code units at bytes as characters, where they
// can be read so in place: aligned, and in this machine's byte order, which
// is a file's. Null otherwise.
const char16_t *alignedUnits(const char *bytes);

} // namespace wendaro
