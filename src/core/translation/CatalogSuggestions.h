// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/translation/FuzzyIndex.h"
#include "core/translation/Suggestions.h"
#include "core/translation/TranslationCatalog.h"

#include <QString>

#include <memory>
#include <vector>

namespace wendaro {

// A memory the suggestions come from, and the name they show for it.
struct SuggestionMemory
{
    std::shared_ptr<const FuzzyIndex> index;
    QString origin;
};

// The suggestions for the units of a catalog that are still to translate
// (suggest, export --memory): the memories' units and the catalog's own
// translated units whose sources are like the unit's source. The catalog
// is one table's against its original, as exportCatalog makes it, or a
// template, whose units are all still to translate.
//
// Built once, it only reads: any number of threads may look up at once,
// each with its own scratch.
class CatalogSuggestions
{
public:
    CatalogSuggestions(const TranslationCatalog &catalog, std::vector<SuggestionMemory> memories, int minScore,
                       qsizetype limit);

    // Whether unit is still to translate, as check --against tells it
    // (isUntranslated): those alone are looked up.
    bool wants(const TranslationUnit &unit) const;
    // The best suggestions for unit, ranked (rankSuggestions), at most
    // limit; a unit never suggests its own translation.
    std::vector<Suggestion> find(const TranslationUnit &unit, FuzzyIndex::Scratch &scratch) const;

private:
    std::vector<SuggestionMemory> m_memories;
    FuzzyIndex m_table; // the translated units, each keyed by its index
    bool m_template = false;
    int m_minScore = DefaultMinMatch;
    qsizetype m_limit = SuggestionLimit;
};

// The suggestions as a catalog carries them.
QList<UnitSuggestion> unitSuggestions(const std::vector<Suggestion> &suggestions);

} // namespace wendaro
