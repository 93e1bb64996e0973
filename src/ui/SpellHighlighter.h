// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSyntaxHighlighter>

#include <functional>

namespace wendaro {

class Speller;

// Misspelled words of a text field underlined with a wavy red line, as
// editors draw them. The speller is asked anew at each rehighlight, so that
// another language, or a word added to the person's list, shows at once;
// without one nothing is underlined.
class SpellHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT
public:
    SpellHighlighter(QTextDocument *document, std::function<const Speller *()> speller);

protected:
    void highlightBlock(const QString &text) override;

private:
    std::function<const Speller *()> m_speller;
};

} // namespace wendaro
