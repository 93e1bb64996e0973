// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

namespace wendaro {

// How the find bar makes texts alike: full-width Latin letters, digits and
// signs (U+FF01 to U+FF5E) are their ASCII twins, and letter case is folded
// unless asked otherwise. Each code unit folds to one code unit, so a folded
// text is as long as the text and its places are the text's.

// The folding of every code unit, looked up once per unit in search loops:
// widths alone, or widths then case.
const char16_t *widthFolding();
const char16_t *widthAndCaseFolding();

// The full-width twin's ASCII character, or c itself.
constexpr char16_t narrowedWidth(char16_t c)
{
    constexpr char16_t first = 0xFF01;
    constexpr char16_t last = 0xFF5E;
    constexpr char16_t offset = 0xFEE0; // U+FF01 - '!'
    return c >= first && c <= last ? char16_t(c - offset) : c;
}

// text folded in width and case.
QString foldedForFind(QStringView text);

} // namespace wendaro
