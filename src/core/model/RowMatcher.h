// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/Entry.h"

#include <QRegularExpression>
#include <QString>
#include <QStringView>
#include <optional>
#include <utility>
#include <vector>

namespace wendaro {

// Original and State are a translation's columns, there while an original is open.
enum class FindColumns { All, Index, Name, Value, Original, State };

// What the person asks to find.
struct FindQuery
{
    QString text;
    bool caseSensitive = false;
    bool regularExpression = false;
    FindColumns columns = FindColumns::All;

    friend bool operator==(const FindQuery &, const FindQuery &) = default;
};

// Whether a row matches a query, judged on what the list shows of it: the
// index text without its padding, the name, the value with "<br>" for its
// line breaks. Full-width Latin letters, digits and signs (U+FF01 to U+FF5E)
// are their ASCII twins, so that either form finds both; letter case is
// folded unless the query asks otherwise. A row matches when one of the
// chosen columns does; a text never matches across two columns.
//
// Matching only reads: one matcher may be used by one thread at a time, and a
// worker thread may hold its own.
class RowMatcher
{
public:
    // What a translation shows beside a row: its original's value (null
    // where the original has no row of its index) and the word of its state.
    struct Review
    {
        const ValueText *original = nullptr;
        QStringView state;
    };

    // One match in a text: where it starts and how long it is, and for a
    // regular expression where each group from 1 on is (start -1 for a
    // group that took no part).
    struct Span
    {
        qsizetype start = 0;
        qsizetype length = 0;
        std::vector<std::pair<qsizetype, qsizetype>> groups;
    };

    // nullopt for an empty text, or with *error saying what is wrong with a
    // regular expression that cannot be compiled (and where).
    static std::optional<RowMatcher> create(const FindQuery &query, QString *error);

    // review: the translation's texts while an original is open; without
    // them the translation's columns match nothing.
    bool matches(const Entry &row, const Review *review = nullptr) const;
    bool matchesText(QStringView text) const;
    // Every match in text, left to right, none overlapping another: what a
    // replace puts its text in place of.
    std::vector<Span> spans(QStringView text) const;
    // Puts replacement in place of each match in text and returns how many
    // it replaced. With a regular expression \1 to \9 in replacement stand
    // for the match's groups and \\ for one backslash; any other character
    // stands for itself, a plain text's backslashes too.
    qsizetype replaceIn(QString &text, QStringView replacement) const;

private:
    RowMatcher() = default;
    bool matchesValue(const ValueText &value) const;

    FindColumns m_columns = FindColumns::All;
    bool m_caseSensitive = false;
    QString m_needle; // folded; a plain text's
    std::optional<QRegularExpression> m_pattern;
};

} // namespace wendaro
