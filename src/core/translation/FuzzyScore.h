// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringView>
#include <QtGlobal>

namespace wendaro {

// How alike two texts are, from 0 to 100, as the suggestions of a memory
// show it: 100 × (1 − d / max(n, m)) rounded down, where n and m count the
// texts' tokens (MatchTokens.h) and d is the Levenshtein distance between
// the two sequences of tokens. Identical texts score 100; texts whose tokens
// are equal while their characters differ (case, width, spaces) score 99.
int fuzzyScore(QStringView a, QStringView b);

// The score of a distance between sequences of n and m tokens, before the
// rule of 99; 100 for two empty sequences.
int scoreOfDistance(qsizetype distance, qsizetype n, qsizetype m);
// The largest distance between sequences of n and m tokens that still
// scores minScore.
qsizetype distanceWithin(qsizetype n, qsizetype m, int minScore);

// The Levenshtein distance between two sequences of token ids, or a number
// above bound as soon as the distance is known to be larger: only the band
// of the table within bound of its diagonal is computed.
qsizetype tokenDistance(const quint32 *a, qsizetype n, const quint32 *b, qsizetype m, qsizetype bound);

} // namespace wendaro
