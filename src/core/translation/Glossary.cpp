// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/translation/Glossary.h"

#include "core/translation/MatchTokens.h"

#include <QSet>

#include <algorithm>

namespace wendaro {

namespace {

QStringList tokensOf(const QString &text)
{
    const MatchTokens tokens = matchTokens(text);
    QStringList list;
    list.reserve(tokens.count());
    for (qsizetype i = 0; i < tokens.count(); ++i)
        list << tokens.token(i).toString();
    return list;
}

// A term is filed under its first token, or its first two: CJK terms start
// with a few thousand characters, so the first alone would file thousands
// of terms under the common ones.
QString startKey(const QStringList &tokens, qsizetype at, qsizetype count)
{
    return count == 1 ? tokens[at] : tokens[at] + u'\x1f' + tokens[at + 1];
}

bool runAt(const QStringList &text, qsizetype at, const QStringList &run)
{
    if (at + run.size() > text.size())
        return false;
    return std::equal(run.cbegin(), run.cend(), text.cbegin() + at);
}

} // namespace

void Glossary::add(GlossaryTerm term)
{
    if (term.source.trimmed().isEmpty() || term.target.trimmed().isEmpty())
        return;
    QStringList tokens = tokensOf(term.source);
    if (tokens.isEmpty())
        return;
    m_byStart[startKey(tokens, 0, std::min<qsizetype>(tokens.size(), 2))].push_back(qsizetype(m_terms.size()));
    m_tokens.push_back(std::move(tokens));
    m_terms.push_back(std::move(term));
}

std::vector<qsizetype> Glossary::termsIn(const QString &text) const
{
    std::vector<qsizetype> found;
    if (m_terms.empty())
        return found;
    const QStringList tokens = tokensOf(text);
    QSet<qsizetype> seen;
    for (qsizetype at = 0; at < tokens.size(); ++at) {
        std::vector<qsizetype> here;
        for (const qsizetype count : {1, 2}) {
            if (at + count > tokens.size())
                break;
            const auto filed = m_byStart.constFind(startKey(tokens, at, count));
            if (filed == m_byStart.cend())
                continue;
            for (const qsizetype term : *filed) {
                if (!seen.contains(term) && runAt(tokens, at, m_tokens[size_t(term)]))
                    here.push_back(term);
            }
        }
        // A hash keeps no order: the glossary's order within one place.
        std::sort(here.begin(), here.end());
        for (const qsizetype term : here) {
            seen.insert(term);
            found.push_back(term);
        }
    }
    return found;
}

bool Glossary::holds(const QString &text, const QString &target)
{
    const QStringList run = tokensOf(target);
    if (run.isEmpty())
        return true;
    const QStringList tokens = tokensOf(text);
    for (qsizetype at = 0; at + run.size() <= tokens.size(); ++at) {
        if (runAt(tokens, at, run))
            return true;
    }
    return false;
}

QStringList Glossary::missingTerms(const QString &original, const QString &translation) const
{
    QStringList missing;
    QSet<QString> reported; // a source told once, whatever its targets
    for (const qsizetype i : termsIn(original)) {
        const GlossaryTerm &term = m_terms[size_t(i)];
        if (reported.contains(term.source))
            continue;
        bool given = false;
        QStringList targets;
        for (const qsizetype j : termsIn(term.source)) {
            const GlossaryTerm &other = m_terms[size_t(j)];
            if (m_tokens[size_t(j)] != m_tokens[size_t(i)])
                continue;
            targets << other.target;
            given = given || holds(translation, other.target);
        }
        if (given)
            continue;
        reported.insert(term.source);
        missing << QStringLiteral("用語「%1」の訳「%2」がありません。")
                       .arg(term.source, targets.join(QStringLiteral("」「")));
    }
    return missing;
}

} // namespace wendaro
