// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

namespace wendaro {

// One term of a glossary: a source text, how it is translated, and what
// the team says of it.
struct GlossaryTerm
{
    QString source;
    QString target;
    QString comment;

    bool operator==(const GlossaryTerm &) const = default;
};

// A team's terms, found in a text as a translator means them: folded in
// case and width as the find bar folds, by whole words in a script written
// with spaces and anywhere in CJK text. A term and a text are compared as
// the fuzzy matches cut them into tokens (MatchTokens.h), so a term matches
// a run of the text's tokens: "sword" is not in "swords", "剣" is in "剣士".
// The terms are indexed by their first tokens, so that a text costs two
// look-ups per token, not a pass over every term.
class Glossary
{
public:
    // A term without a source or a target is left out.
    void add(GlossaryTerm term);
    qsizetype size() const { return qsizetype(m_terms.size()); }
    const GlossaryTerm &term(qsizetype i) const { return m_terms[size_t(i)]; }

    // The terms whose source text holds, each once, in the order of their
    // first place in text, then the glossary's.
    std::vector<qsizetype> termsIn(const QString &text) const;
    // Whether target (folded and cut as above) is in text.
    static bool holds(const QString &text, const QString &target);

    // What the glossary check finds in a translation: each term of the
    // original none of whose targets (a source may be given several) the
    // translation holds, as "用語「X」の訳「Y」がありません。".
    QStringList missingTerms(const QString &original, const QString &translation) const;

private:
    std::vector<GlossaryTerm> m_terms;
    std::vector<QStringList> m_tokens;                // each term's source tokens, folded
    QHash<QString, std::vector<qsizetype>> m_byStart; // a first token, or first two, -> the terms starting so
};

} // namespace wendaro
