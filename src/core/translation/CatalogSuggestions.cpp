// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/translation/CatalogSuggestions.h"

#include "core/checks/TranslationChecks.h"
#include "core/translation/MatchTokens.h"

namespace wendaro {

CatalogSuggestions::CatalogSuggestions(const TranslationCatalog &catalog, std::vector<SuggestionMemory> memories,
                                       int minScore, qsizetype limit)
    : m_memories(std::move(memories)), m_template(catalog.isTemplate), m_minScore(minScore), m_limit(limit)
{
    if (!m_template) {
        for (const TranslationUnit &unit : catalog.units) {
            if (!unit.target.isEmpty() && !isUntranslated(unit.source, unit.target))
                m_table.add(unit.source, unit.target, 1, {}, unit.index);
        }
    }
    m_table.finish();
}

bool CatalogSuggestions::wants(const TranslationUnit &unit) const
{
    return m_template || isUntranslated(unit.source, unit.target);
}

std::vector<Suggestion> CatalogSuggestions::find(const TranslationUnit &unit, FuzzyIndex::Scratch &scratch) const
{
    std::vector<Suggestion> found;
    const MatchTokens tokens = matchTokens(unit.source);
    for (const SuggestionMemory &memory : m_memories) {
        const FuzzyIndex &index = *memory.index;
        appendSuggestions(index, index.find(unit.source, tokens, m_minScore, scratch), memory.origin, m_limit, found);
    }
    const size_t fromTable = found.size();
    const auto others = [&](qint32 key) { return key != unit.index; };
    appendSuggestions(m_table, m_table.find(unit.source, tokens, m_minScore, scratch, others), QString(), m_limit,
                      found);
    for (size_t i = fromTable; i < found.size(); ++i) {
        found[i].fromTable = true;
        found[i].origin = tableOrigin(found[i].index);
    }
    rankSuggestions(found, m_limit);
    return found;
}

QList<UnitSuggestion> unitSuggestions(const std::vector<Suggestion> &suggestions)
{
    QList<UnitSuggestion> units;
    units.reserve(qsizetype(suggestions.size()));
    for (const Suggestion &suggestion : suggestions)
        units.append({suggestion.score, suggestion.origin, suggestion.source, suggestion.target});
    return units;
}

} // namespace wendaro
