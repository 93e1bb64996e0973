// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QRegularExpression>
#include <QStringMatcher>
#include <QString>
#include <QStringView>

#include <optional>
#include <utility>

namespace wendaro::cli {

// What grep looks for in a text: a fixed string, as grep -F (values are full
// of dots and brackets), or a regular expression in QRegularExpression's
// syntax; either may ignore case. Shared by the threads that search files.
class TextMatch
{
public:
    TextMatch() = default; // the empty string, found in every text, as grep's ""
    // nullopt with *error saying what is wrong when the expression is not valid.
    static std::optional<TextMatch> make(const QString &pattern, bool regularExpression, bool ignoreCase,
                                         QString *error);

    bool matches(QStringView text) const;
    // Whether it matches a value exactly where it matches the value's file
    // form, each "<br>" there a CR LF: so a value need not be decoded to be
    // searched. True for a fixed string without CR, LF, "<" or ">" that is
    // no part of "br": only such a string could match in or across "<br>".
    bool sameInFileForm() const { return m_sameInFileForm; }
    // Where it matches, as (start, length), left to right without overlap;
    // empty matches left out, since there is nothing to show of them.
    QList<std::pair<qsizetype, qsizetype>> spans(QStringView text) const;

private:
    QString m_fixed;
    QStringMatcher m_matcher; // m_fixed, its skip table made once
    bool m_sameInFileForm = true;
    std::optional<QRegularExpression> m_expression;
    Qt::CaseSensitivity m_case = Qt::CaseSensitive;
};

} // namespace wendaro::cli
