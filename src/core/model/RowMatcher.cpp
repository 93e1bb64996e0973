// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/RowMatcher.h"

#include "core/text/FindFolding.h"
#include "core/text/Spaces.h"

#include <algorithm>

namespace wendaro {

namespace {

constexpr char16_t FullWidthFirst = 0xFF01;
constexpr char16_t FullWidthLast = 0xFF5E;

const char16_t *folding(bool caseSensitive)
{
    return caseSensitive ? widthFolding() : widthAndCaseFolding();
}

bool containsFolded(QStringView text, QStringView needle, const char16_t *fold)
{
    const qsizetype m = needle.size();
    if (m == 0 || m > text.size())
        return m == 0;
    const char16_t *h = text.utf16();
    const char16_t *n = needle.utf16();
    const char16_t first = n[0];
    for (qsizetype i = 0, last = text.size() - m; i <= last; ++i) {
        if (fold[h[i]] != first)
            continue;
        qsizetype k = 1;
        while (k < m && fold[h[i + k]] == n[k])
            ++k;
        if (k == m)
            return true;
    }
    return false;
}

bool hasFullWidth(QStringView text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() >= FullWidthFirst && c.unicode() <= FullWidthLast; });
}

QString narrowedText(QStringView text)
{
    QString result(text.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(result.data());
    for (const QChar c : text)
        *out++ = narrowedWidth(c.unicode());
    return result;
}

// A full-width character of a pattern stands for itself: its ASCII twin,
// escaped where the twin would be a metacharacter.
QString narrowedPattern(QStringView pattern)
{
    QString result;
    result.reserve(pattern.size());
    for (const QChar c : pattern) {
        const char16_t narrow = narrowedWidth(c.unicode());
        if (narrow == c.unicode())
            result += c;
        else
            result += QRegularExpression::escape(QString(QChar(narrow)));
    }
    return result;
}

} // namespace

std::optional<RowMatcher> RowMatcher::create(const FindQuery &query, QString *error)
{
    if (query.text.isEmpty())
        return std::nullopt;
    RowMatcher matcher;
    matcher.m_columns = query.columns;
    matcher.m_caseSensitive = query.caseSensitive;
    if (!query.regularExpression) {
        const char16_t *fold = folding(query.caseSensitive);
        matcher.m_needle = query.text;
        for (QChar &c : matcher.m_needle)
            c = QChar(fold[c.unicode()]);
        return matcher;
    }
    const QRegularExpression::PatternOptions options = query.caseSensitive ? QRegularExpression::NoPatternOption
                                                                           : QRegularExpression::CaseInsensitiveOption;
    // The person's own pattern tells where it goes wrong.
    const QRegularExpression asTyped(query.text, options);
    QRegularExpression pattern(narrowedPattern(query.text), options);
    const QRegularExpression &faulty = asTyped.isValid() ? pattern : asTyped;
    if (!faulty.isValid()) {
        if (error) {
            *error = faulty.patternErrorOffset() >= 0 && &faulty == &asTyped
                         ? QStringLiteral("正規表現の誤り（%1 文字目）: %2")
                               .arg(faulty.patternErrorOffset() + 1)
                               .arg(faulty.errorString())
                         : QStringLiteral("正規表現の誤り: %1").arg(faulty.errorString());
        }
        return std::nullopt;
    }
    pattern.optimize();
    matcher.m_pattern = std::move(pattern);
    return matcher;
}

bool RowMatcher::matchesText(QStringView text) const
{
    if (m_pattern) {
        if (!hasFullWidth(text))
            return m_pattern->match(text).hasMatch();
        const QString narrow = narrowedText(text);
        return m_pattern->match(QStringView(narrow)).hasMatch();
    }
    return containsFolded(text, m_needle, folding(m_caseSensitive));
}

bool RowMatcher::matchesValue(const ValueText &value) const
{
    if (const std::optional<QStringView> held = value.held())
        return matchesText(*held);
    // A plain text without the characters of "<br>" cannot meet a line
    // break: it is looked for in the file's code units, where the value
    // still lies, without decoding it.
    if (!m_pattern && !m_needle.contains(u'<') && !m_needle.contains(u'b') && !m_needle.contains(u'r')
        && !m_needle.contains(u'>') && !m_needle.contains(u'\r') && !m_needle.contains(u'\n')) {
        if (const std::optional<QStringView> units = value.fileUnits())
            return matchesText(*units);
    }
    return value.withView([this](QStringView text) { return matchesText(text); });
}

bool RowMatcher::matches(const Entry &row, const Review *review) const
{
    const bool all = m_columns == FindColumns::All;
    if ((all || m_columns == FindColumns::Index) && matchesText(trimSpaces(row.indexText)))
        return true;
    if ((all || m_columns == FindColumns::Name) && matchesText(row.name))
        return true;
    if ((all || m_columns == FindColumns::Value) && matchesValue(row.value))
        return true;
    if (!review)
        return false;
    if ((all || m_columns == FindColumns::Original) && review->original && matchesValue(*review->original))
        return true;
    return (all || m_columns == FindColumns::State) && !review->state.isEmpty() && matchesText(review->state);
}

std::vector<RowMatcher::Span> RowMatcher::spans(QStringView text) const
{
    std::vector<Span> found;
    if (m_pattern) {
        // The narrowed text has the same length: its places are the text's.
        const QString narrow = hasFullWidth(text) ? narrowedText(text) : QString();
        const QStringView subject = narrow.isNull() ? text : QStringView(narrow);
        QRegularExpressionMatchIterator it = m_pattern->globalMatch(subject);
        while (it.hasNext()) {
            const QRegularExpressionMatch match = it.next();
            Span span{match.capturedStart(), match.capturedLength(), {}};
            for (int group = 1; group <= match.lastCapturedIndex(); ++group)
                span.groups.emplace_back(match.capturedStart(group), match.capturedLength(group));
            found.push_back(std::move(span));
        }
        return found;
    }
    const char16_t *fold = folding(m_caseSensitive);
    const qsizetype m = m_needle.size();
    const char16_t *h = text.utf16();
    const char16_t *n = QStringView(m_needle).utf16();
    for (qsizetype i = 0, last = text.size() - m; i <= last;) {
        qsizetype k = 0;
        while (k < m && fold[h[i + k]] == n[k])
            ++k;
        if (k == m) {
            found.push_back({i, m, {}});
            i += m;
        } else {
            ++i;
        }
    }
    return found;
}

qsizetype RowMatcher::replaceIn(QString &text, QStringView replacement) const
{
    const std::vector<Span> found = spans(text);
    if (found.empty())
        return 0;
    QString result;
    result.reserve(text.size() + qsizetype(found.size()) * replacement.size());
    qsizetype from = 0;
    for (const Span &span : found) {
        result += QStringView(text).sliced(from, span.start - from);
        from = span.start + span.length;
        if (!m_pattern) {
            result += replacement;
            continue;
        }
        for (qsizetype i = 0; i < replacement.size(); ++i) {
            const QChar c = replacement[i];
            const QChar next = i + 1 < replacement.size() ? replacement[i + 1] : QChar();
            if (c != u'\\' || !(next == u'\\' || (next >= u'1' && next <= u'9'))) {
                result += c;
                continue;
            }
            ++i;
            if (next == u'\\') {
                result += next;
                continue;
            }
            // A group the pattern does not have, or one that took no part, is empty.
            const size_t group = size_t(next.unicode() - u'1');
            if (group < span.groups.size() && span.groups[group].first >= 0)
                result += QStringView(text).sliced(span.groups[group].first, span.groups[group].second);
        }
    }
    result += QStringView(text).sliced(from);
    text = std::move(result);
    return qsizetype(found.size());
}

} // namespace wendaro
