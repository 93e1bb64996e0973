// SPDX-License-Identifier: GPL-3.0-or-later
// How fast a glossary finds a row's terms: 100,000 terms (phrases of one to
// three words of the suggestion bench's vocabulary, and CJK ones), looked
// up in 1,000 of the table's originals, beside the goal of 10 ms a row.

#include "SuggestTexts.h"

#include "core/translation/Glossary.h"

#include <QElapsedTimer>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace wendaro;
using namespace wendaro::bench;

namespace {

constexpr int TermCount = 100000;
constexpr int Rows = 1000;

// The first one to three words of fresh texts: a glossary's terms are short.
Glossary makeGlossary(SuggestTexts &texts, int count)
{
    // A glossary names each term once; CJK texts have no spaces, so their
    // terms are their first two to seven characters.
    Glossary glossary;
    QSet<QString> named;
    for (int i = 0; glossary.size() < count && i < count * 20; ++i) {
        const QString text = texts.fresh();
        const QString source = text.contains(u' ') ? text.split(u' ', Qt::SkipEmptyParts).mid(0, 1 + i % 3).join(u' ')
                                                   : text.left(2 + i % 6);
        if (!named.contains(source)) {
            named.insert(source);
            glossary.add({source, texts.translation(source), QString()});
        }
    }
    return glossary;
}

void measure(const char *name, Script script)
{
    SuggestTexts texts(script, 5);
    QElapsedTimer timer;
    timer.start();
    const Glossary glossary = makeGlossary(texts, TermCount);
    const double built = double(timer.nsecsElapsed()) / 1e6;
    const SuggestData data = makeSuggestData(script, Rows, 0);
    std::vector<double> times;
    size_t found = 0;
    for (const QString &original : data.originals) {
        timer.restart();
        found += glossary.termsIn(original).size();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    const double p99 = times[times.size() * 99 / 100];
    std::printf("%s glossary: %lld terms, built in %.0f ms; %zu rows, %zu terms found\n", name,
                qlonglong(glossary.size()), built, times.size(), found);
    std::printf("  terms of a row, median             %8.3f ms\n", median);
    std::printf("  terms of a row, 99th percentile    %8.3f ms   goal <= 10     %s\n", p99,
                p99 <= 10 ? "ok" : "MISSED");
}

} // namespace

int main()
{
    measure("word", Script::Words);
    measure("CJK", Script::Cjk);
    return 0;
}
