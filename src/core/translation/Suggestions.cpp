// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/translation/Suggestions.h"

#include <QSet>

#include <algorithm>
#include <tuple>

namespace wendaro {

QString tableOrigin(qint16 index)
{
    return QStringLiteral("この表 #%1").arg(index);
}

void appendSuggestions(const FuzzyIndex &index, std::vector<FuzzyHit> hits, const QString &origin, qsizetype limit,
                       std::vector<Suggestion> &found)
{
    // Identical translations may fill the first places: a few more than
    // limit are decoded, so that the ranking can drop them.
    const size_t keep = std::min(hits.size(), size_t(limit) * 4 + 16);
    const auto better = [&](const FuzzyHit &a, const FuzzyHit &b) {
        return std::tuple(a.score, index.places(a.unit), index.changeDate(a.unit), b.unit)
               > std::tuple(b.score, index.places(b.unit), index.changeDate(b.unit), a.unit);
    };
    std::partial_sort(hits.begin(), hits.begin() + qsizetype(keep), hits.end(), better);
    hits.resize(keep);
    for (const FuzzyHit &hit : hits) {
        found.push_back({hit.score, index.target(hit.unit), index.source(hit.unit), origin, index.places(hit.unit),
                         index.changeDate(hit.unit), false, qint16(index.key(hit.unit))});
    }
}

void rankSuggestions(std::vector<Suggestion> &suggestions, qsizetype limit)
{
    std::stable_sort(suggestions.begin(), suggestions.end(), [](const Suggestion &a, const Suggestion &b) {
        return std::tuple(a.score, a.places, a.changeDate, a.fromTable)
               > std::tuple(b.score, b.places, b.changeDate, b.fromTable);
    });
    QSet<QString> given;
    std::vector<Suggestion> kept;
    for (Suggestion &suggestion : suggestions) {
        if (qsizetype(kept.size()) == limit)
            break;
        if (given.contains(suggestion.target))
            continue;
        given.insert(suggestion.target);
        kept.push_back(std::move(suggestion));
    }
    suggestions = std::move(kept);
}

} // namespace wendaro
