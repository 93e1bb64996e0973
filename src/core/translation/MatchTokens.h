// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/checks/TranslationChecks.h"

#include <QString>
#include <QStringView>

#include <vector>

namespace wendaro {

// A text as a fuzzy match compares it: folded as the find bar folds it
// (width and case), then cut into tokens. A run of letters or digits of a
// script written with spaces is one token; so is each kana, kanji and
// Hangul character, each "<br>" line break, each placeholder and access key
// marker (as the translation checks find them) and every other character
// that is no space. Spaces are no token. A combining mark stays with the
// token before it, a surrogate pair is one character.
struct MatchTokens
{
    QString folded;
    std::vector<TextSpan> spans; // each token's place in folded, left to right

    qsizetype count() const { return qsizetype(spans.size()); }
    QStringView token(qsizetype i) const
    {
        return QStringView(folded).sliced(spans[size_t(i)].start, spans[size_t(i)].length);
    }
};

MatchTokens matchTokens(QStringView text);

} // namespace wendaro
