// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/translation/FuzzyIndex.h"
#include "core/translation/FuzzyScore.h"

#include <QTest>

#include <algorithm>

using namespace wendaro;

class FuzzyIndexTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void findsWhatEveryUnitScores_data();
    void findsWhatEveryUnitScores();

private:
    QStringList m_sources;
    FuzzyIndex m_index;
    FuzzyIndex m_small; // shares a scratch with m_index
};

void FuzzyIndexTest::initTestCase()
{
    m_sources = QStringList{"Iron Sword",           "Iron Sword of Fire", "IRON  SWORD", "Sword Iron",
                            "ああああああああああ", "ああああ",           "炎の剣",      "剣の炎だ",
                            "the the the the",      "%d gold<br>pieces"};
    // Enough tokens that the common ones take one byte and the rarest three.
    for (int i = 0; i < 20000; ++i)
        m_sources << QStringLiteral("w%1 item of fire").arg(i);
    for (qsizetype i = 0; i < m_sources.size(); ++i)
        m_index.add(m_sources[i], QStringLiteral("訳"), 1, {}, qint32(i));
    m_index.finish();
    m_small.add(u"Iron Sword", u"訳", 1, {}, 0);
    m_small.finish();
}

void FuzzyIndexTest::findsWhatEveryUnitScores_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("minScore");
    QTest::addColumn<int>("expected"); // units scoring minScore or more
    QTest::newRow("alike") << "Iron Sword" << 70 << 2;
    QTest::newRow("only the same characters") << "Iron Sword" << 100 << 1;
    QTest::newRow("same tokens") << "iron sword" << 99 << 2;
    QTest::newRow("a longer source") << "Iron Sword" << 50 << 3;
    QTest::newRow("sharing no token") << "Iron Sword" << 0 << 20010;
    QTest::newRow("a token repeated") << "ああああああああ" << 70 << 1;
    QTest::newRow("a token repeated, lower") << "ああああああああ" << 50 << 2;
    QTest::newRow("moved") << "炎の剣" << 25 << 2;
    QTest::newRow("a token no source has") << "nowhere Iron Sword of Fire" << 70 << 1;
    QTest::newRow("rare tokens") << "w19999 item" << 50 << 1;
    QTest::newRow("rare tokens, higher") << "w19999 w7 item of fire" << 70 << 2;
    QTest::newRow("marks") << "%d gold pieces" << 70 << 1;
}

void FuzzyIndexTest::findsWhatEveryUnitScores()
{
    QFETCH(QString, text);
    QFETCH(int, minScore);
    QFETCH(int, expected);
    // What every unit scores, by the score alone; odd keys taken only.
    QList<QPair<qint32, int>> scored;
    QList<QPair<qint32, int>> odd;
    for (qsizetype i = 0; i < m_sources.size(); ++i) {
        if (const int score = fuzzyScore(text, m_sources[i]); score >= minScore) {
            scored.append({qint32(i), score});
            if (i % 2 == 1)
                odd.append({qint32(i), score});
        }
    }
    QCOMPARE(scored.size(), expected);
    const auto keyed = [&](const std::vector<FuzzyHit> &hits) {
        QList<QPair<qint32, int>> made;
        for (const FuzzyHit &hit : hits)
            made.append({m_index.key(hit.unit), hit.score});
        std::sort(made.begin(), made.end());
        return made;
    };
    const MatchTokens tokens = matchTokens(text);
    FuzzyIndex::Scratch scratch;
    QCOMPARE(keyed(m_index.scan(text, tokens, minScore)), scored);
    m_small.find(text, tokens, minScore, scratch);
    QCOMPARE(keyed(m_index.find(text, tokens, minScore, scratch)), scored);
    m_small.find(text, tokens, minScore, scratch);
    QCOMPARE(keyed(m_index.find(text, tokens, minScore, scratch, [](qint32 key) { return key % 2 == 1; })), odd);
}

QTEST_GUILESS_MAIN(FuzzyIndexTest)
#include "tst_fuzzyindex.moc"
