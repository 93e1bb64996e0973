// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/translation/FuzzyIndex.h"

#include <QString>

#include <vector>

namespace wendaro {

// A translation offered for a row: a unit of a memory whose source is
// like the row's original.
struct Suggestion
{
    int score = 0;
    QString target;
    QString source;
    QString origin;         // the memory file's name, or "この表 #INDEX"
    qint32 places = 1;      // how many places the memory says use it
    quint64 changeDate = 0; // FuzzyIndex::changeDate's number, 0 for none
    bool fromTable = false; // a translated row of the table itself
    qint16 index = 0;       // that row's index
};

// The default least score a suggestion has, and how many a row shows.
constexpr int DefaultMinMatch = 70;
constexpr qsizetype SuggestionLimit = 5;
// The longest source the window's own memories hold (a table's rows, a
// project's pairs): a paragraph of help is no string a memory repeats, and
// the largest tables hold a gigabyte of them, which an index would copy.
constexpr qsizetype LongestMemoryText = 2000;

// The origin a row of the table itself is shown with.
QString tableOrigin(qint16 index);

// The best hits of index as suggestions named origin, appended to found:
// at most limit of them, by the order rankSuggestions gives.
void appendSuggestions(const FuzzyIndex &index, std::vector<FuzzyHit> hits, const QString &origin, qsizetype limit,
                       std::vector<Suggestion> &found);

// Best first: the higher score, then more places, then the later change,
// then the table's own rows, then the order found. A translation that a
// better suggestion already gives is dropped; at most limit stay.
void rankSuggestions(std::vector<Suggestion> &suggestions, qsizetype limit);

} // namespace wendaro
