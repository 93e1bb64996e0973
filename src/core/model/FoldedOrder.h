// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringView>
#include <QtGlobal>

namespace wendaro {

// The order in which the list sorts texts: code-unit order of the texts
// folded with QString::toCaseFolded, computed without folding copies, so that
// sorting long values costs no more memory than the rows themselves.

// Three-way comparison of the folded texts: negative, zero or positive.
int compareFolded(QStringView a, QStringView b);

// Where the first character that folds to another starts, or the text's size
// when none does. Folding treats lone surrogates after it differently.
qsizetype firstFoldedChange(QStringView text);
// compareFolded for texts whose first changes are known: the start the two
// texts share is skipped without folding it, so that texts alike for most of
// their length compare about as fast as plain memory.
int compareFolded(QStringView a, qsizetype aFirstChange, QStringView b, qsizetype bFirstChange);

// The first eight code units of the folded text, packed so that comparing two
// keys as numbers compares those units. Keys that differ order their texts
// exactly as compareFolded does; equal keys leave the order to compareFolded.
struct FoldedKey
{
    quint64 high = 0; // units 0 to 3, the first one in the top bits
    quint64 low = 0;  // units 4 to 7

    static FoldedKey of(QStringView text);
    friend bool operator==(const FoldedKey &, const FoldedKey &) = default;
    friend bool operator<(const FoldedKey &a, const FoldedKey &b)
    {
        return a.high != b.high ? a.high < b.high : a.low < b.low;
    }
};

} // namespace wendaro
