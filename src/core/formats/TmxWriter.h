// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace wendaro {

class ByteSink;
struct TranslationMemory;

// Writes memory as one TMX 1.4b document, UTF-8, to out: a header naming
// Wendaro, its version, segtype "block" and the source language (and the
// creation date, when the memory has one), then one tu per unit with a
// prop "x-wendaro-entry" "PATH:INDEX" for each place, and a tuv for each
// language. A text is written as a translator sees it (TranslatorText.h):
// a line break as LF; a text holding an LF of its own in the CR LF form,
// its tuv marked by a prop "x-wendaro-breaks" "crlf"; a CR as "&#13;".
// The same memory gives the same bytes.
//
// A text with a character XML cannot hold is refused before any byte is
// written, *error naming its table and index. False with an empty *error
// when out refused bytes.
bool writeTmx(const TranslationMemory &memory, ByteSink &out, QString *error);

} // namespace wendaro
