// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/translation/FuzzyScore.h"

#include "core/translation/MatchTokens.h"

#include <QHash>

#include <algorithm>
#include <vector>

namespace wendaro {

int scoreOfDistance(qsizetype distance, qsizetype n, qsizetype m)
{
    const qsizetype longest = std::max(n, m);
    if (longest == 0)
        return 100;
    return int(100 * (longest - std::min(distance, longest)) / longest);
}

qsizetype distanceWithin(qsizetype n, qsizetype m, int minScore)
{
    // score >= s  <=>  100 (L - d) >= s L  <=>  d <= L (100 - s) / 100
    const qsizetype longest = std::max(n, m);
    return longest * (100 - std::clamp(minScore, 0, 100)) / 100;
}

qsizetype tokenDistance(const quint32 *a, qsizetype n, const quint32 *b, qsizetype m, qsizetype bound)
{
    if (n > m) {
        std::swap(a, b);
        std::swap(n, m);
    }
    if (m - n > bound)
        return bound + 1;
    if (n == 0)
        return m;
    // One row of the table over a, for each token of b; cells further than
    // bound from the diagonal stay above bound.
    const qsizetype over = bound + 1;
    thread_local std::vector<qsizetype> row;
    row.assign(size_t(n + 1), over);
    for (qsizetype i = 0; i <= std::min(n, bound); ++i)
        row[size_t(i)] = i;
    for (qsizetype j = 1; j <= m; ++j) {
        const qsizetype from = std::max<qsizetype>(1, j - bound);
        const qsizetype to = std::min(n, j + bound);
        qsizetype diagonal = row[size_t(from - 1)];
        row[size_t(from - 1)] = from == 1 && j <= bound ? j : over;
        qsizetype best = row[size_t(from - 1)];
        for (qsizetype i = from; i <= to; ++i) {
            const qsizetype above = row[size_t(i)];
            const qsizetype cell = std::min(
                {above + 1, row[size_t(i - 1)] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
            row[size_t(i)] = std::min(cell, over);
            best = std::min(best, row[size_t(i)]);
        }
        if (to < n)
            row[size_t(to + 1)] = over;
        if (best > bound)
            return over;
    }
    return row[size_t(n)];
}

int fuzzyScore(QStringView a, QStringView b)
{
    const MatchTokens first = matchTokens(a);
    const MatchTokens second = matchTokens(b);
    QHash<QStringView, quint32> ids;
    const auto idsOf = [&](const MatchTokens &tokens) {
        std::vector<quint32> made;
        made.reserve(size_t(tokens.count()));
        for (qsizetype i = 0; i < tokens.count(); ++i) {
            auto id = ids.constFind(tokens.token(i));
            if (id == ids.cend())
                id = ids.insert(tokens.token(i), quint32(ids.size()));
            made.push_back(*id);
        }
        return made;
    };
    const std::vector<quint32> x = idsOf(first);
    const std::vector<quint32> y = idsOf(second);
    const qsizetype n = qsizetype(x.size());
    const qsizetype m = qsizetype(y.size());
    const qsizetype distance = tokenDistance(x.data(), n, y.data(), m, std::max(n, m));
    if (distance == 0 && a != b)
        return 99;
    return scoreOfDistance(distance, n, m);
}

} // namespace wendaro
