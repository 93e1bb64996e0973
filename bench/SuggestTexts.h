// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The texts the suggestion bench looks up and the memories it looks them up
// in, the same on every run. A memory of made-up texts finds nothing alike
// unless it is made so: its sources are drawn, as a real one's, from a
// vocabulary in which a few words are very common and most are rare, and
// many of them are near copies of the table's originals and of each other
// ("Iron Sword", "Iron Sword of Fire"), so that a lookup meets long lists
// of common tokens and finds hits among them.

#include "core/translation/TranslationMemory.h"

#include <QString>

#include <random>
#include <vector>

namespace wendaro::bench {

// Words written with spaces (English-like sources, Japanese-like targets),
// or kana and kanji (each character a token; English-like targets).
enum class Script { Words, Cjk };

class SuggestTexts
{
public:
    SuggestTexts(Script script, quint32 seed);

    // A new text: 2 to 30 words, or 5 to 60 characters.
    QString fresh();
    // A near copy of text: a word or two added, taken out or changed, a
    // phrase appended, a case or a stop changed.
    QString variant(const QString &text);
    // A made-up translation of source in the other script; the same source
    // gives the same translation.
    QString translation(const QString &source) const;

private:
    QString freshWords();
    QString freshCjk();
    QString variantOfWords(const QString &text);
    QString variantOfCjk(const QString &text);
    // A word of the vocabulary, the common ones more often.
    const QString &word();
    size_t pick(size_t count) { return size_t(m_random() % count); }

    Script m_script;
    std::mt19937 m_random;
    std::vector<QString> m_vocabulary; // most common first
    std::vector<double> m_weights;     // Zipf-like, summed: rank r weighs 1 / (r + 1)
};

// A table's originals and a memory made around them: some originals are in
// the memory as they are, some as near copies, most not at all; the rest of
// the memory is new texts and near copies of its own units.
struct SuggestData
{
    std::vector<QString> originals;
    TranslationMemory memory;
};

SuggestData makeSuggestData(Script script, int originals, int units);

} // namespace wendaro::bench
