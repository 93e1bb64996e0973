// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/TextMatch.h"

#include <algorithm>

namespace wendaro::cli {

std::optional<TextMatch> TextMatch::make(const QString &pattern, bool regularExpression, bool ignoreCase,
                                         QString *error)
{
    TextMatch match;
    match.m_case = ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive;
    if (!regularExpression) {
        match.m_fixed = pattern;
        match.m_matcher = QStringMatcher(pattern, match.m_case);
        match.m_sameInFileForm = !QStringView(u"br").contains(pattern, match.m_case)
                                 && !std::any_of(pattern.cbegin(), pattern.cend(), [](QChar c) {
                                        return c == u'\r' || c == u'\n' || c == u'<' || c == u'>';
                                    });
        return match;
    }
    match.m_sameInFileForm = false;
    QRegularExpression expression(pattern, ignoreCase ? QRegularExpression::CaseInsensitiveOption
                                                      : QRegularExpression::NoPatternOption);
    if (!expression.isValid()) {
        *error = QStringLiteral("the regular expression \"%1\" is not valid: %2 at offset %3")
                     .arg(pattern, expression.errorString())
                     .arg(expression.patternErrorOffset());
        return std::nullopt;
    }
    // Compiled now, once, rather than by the first thread that uses it.
    expression.optimize();
    match.m_expression = std::move(expression);
    return match;
}

bool TextMatch::matches(QStringView text) const
{
    if (m_expression)
        return m_expression->match(text).hasMatch();
    return m_matcher.indexIn(text) >= 0;
}

QList<std::pair<qsizetype, qsizetype>> TextMatch::spans(QStringView text) const
{
    QList<std::pair<qsizetype, qsizetype>> found;
    if (m_expression) {
        for (QRegularExpressionMatchIterator it = m_expression->globalMatch(text); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            if (match.capturedLength() > 0)
                found.append({match.capturedStart(), match.capturedLength()});
        }
        return found;
    }
    if (m_fixed.isEmpty())
        return found;
    for (qsizetype at = text.indexOf(m_fixed, 0, m_case); at >= 0;
         at = text.indexOf(m_fixed, at + m_fixed.size(), m_case))
        found.append({at, m_fixed.size()});
    return found;
}

} // namespace wendaro::cli
