// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SpellHighlighter.h"

#include "core/text/Spelling.h"

namespace wendaro {

SpellHighlighter::SpellHighlighter(QTextDocument *document, std::function<const Speller *()> speller)
    : QSyntaxHighlighter(document), m_speller(std::move(speller))
{
}

void SpellHighlighter::highlightBlock(const QString &text)
{
    const Speller *speller = m_speller();
    if (!speller)
        return;
    QTextCharFormat misspelled;
    misspelled.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    misspelled.setUnderlineColor(Qt::red);
    for (const WordSpan &word : speller->misspelled(text))
        setFormat(int(word.start), int(word.length), misspelled);
}

} // namespace wendaro
