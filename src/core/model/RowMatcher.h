// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/Entry.h"

#include <QRegularExpression>
#include <QString>
#include <QStringView>
#include <optional>

namespace wendaro {

enum class FindColumns { All, Index, Name, Value };

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
    // nullopt for an empty text, or with *error saying what is wrong with a
    // regular expression that cannot be compiled (and where).
    static std::optional<RowMatcher> create(const FindQuery &query, QString *error);

    bool matches(const Entry &row) const;
    bool matchesText(QStringView text) const;

private:
    RowMatcher() = default;

    FindColumns m_columns = FindColumns::All;
    bool m_caseSensitive = false;
    QString m_needle; // folded; a plain text's
    std::optional<QRegularExpression> m_pattern;
};

} // namespace wendaro
