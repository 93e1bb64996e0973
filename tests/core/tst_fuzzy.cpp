// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzy matches: the tokens, the score, the index against a plain scan, the
// order of suggestions, and a memory file read for them.
#include "core/document/MemoryFile.h"
#include "core/translation/FuzzyIndex.h"
#include "core/translation/FuzzyScore.h"
#include "core/translation/MatchTokens.h"
#include "core/translation/Suggestions.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace wendaro;

namespace {

QString joinedTokens(const QString &text)
{
    const MatchTokens tokens = matchTokens(text);
    QStringList parts;
    for (qsizetype i = 0; i < tokens.count(); ++i)
        parts << tokens.token(i).toString();
    return parts.join(u'|');
}

std::vector<std::pair<quint32, int>> sorted(const std::vector<FuzzyHit> &hits)
{
    std::vector<std::pair<quint32, int>> pairs;
    for (const FuzzyHit &hit : hits)
        pairs.emplace_back(hit.unit, hit.score);
    std::sort(pairs.begin(), pairs.end());
    return pairs;
}

Suggestion suggestion(int score, const QString &target, qint32 places, quint64 date, bool fromTable)
{
    Suggestion made;
    made.score = score;
    made.target = target;
    made.places = places;
    made.changeDate = date;
    made.fromTable = fromTable;
    return made;
}

} // namespace

class TestFuzzy : public QObject
{
    Q_OBJECT
private slots:
    void tokens_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tokens");
        QTest::newRow("words and a sign") << "Save the game?"
                                          << "save|the|game|?";
        QTest::newRow("kana and kanji one by one") << "ファイルを開く"
                                                   << "フ|ァ|イ|ル|を|開|く";
        QTest::newRow("prolonged sound mark") << "セーブ"
                                              << "セ|ー|ブ";
        QTest::newRow("Hangul") << "이름 저장"
                                << "이|름|저|장";
        QTest::newRow("surrogate pair") << "𠮷野家"
                                        << "𠮷|野|家";
        QTest::newRow("placeholders whole") << "Delete %1 files{0} of %5.2f"
                                            << "delete|%1|files|{0}|of|%5.2f";
        QTest::newRow("line break one token") << "A<br>b"
                                              << "a|<br>|b";
        QTest::newRow("full width folded") << "ＯＫ！"
                                           << "ok|!";
        QTest::newRow("access key marker") << "&File && more"
                                           << "&|file|&|&|more";
        QTest::newRow("digits and separators") << "100,000 HP"
                                               << "100|,|000|hp";
        QTest::newRow("percent as text") << "50% off"
                                         << "50|%|off";
        QTest::newRow("combining mark stays") << u"cafe\u0301 x"_qs << u"cafe\u0301|x"_qs;
        QTest::newRow("only spaces") << " \t\u3000 "
                                     << "";
    }
    void tokens()
    {
        QFETCH(QString, text);
        QFETCH(QString, tokens);
        QCOMPARE(joinedTokens(text), tokens);
    }

    // Each figure worked by hand: d over the token sequences, 100 (L - d) / L rounded down.
    void score_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("score");
        QTest::newRow("identical") << "Open file"
                                   << "Open file" << 100;
        QTest::newRow("case only") << "Open File"
                                   << "open file" << 99;
        QTest::newRow("width only") << "ＯＫ"
                                    << "OK" << 99;
        QTest::newRow("spaces only") << "Open  file"
                                     << "Open file" << 99;
        QTest::newRow("one word added: 4/5") << "Save the game?"
                                             << "Save the game now?" << 80;
        QTest::newRow("two of four: 2/4") << "Iron Sword"
                                          << "Iron Sword of Fire" << 50;
        QTest::newRow("kana: 5/8") << "ファイルを開く"
                                   << "ファイルを閉じる" << 62;
        QTest::newRow("placeholder is one token: 2/3") << "Delete %1 files"
                                                       << "Delete %2 files" << 66;
        QTest::newRow("line break: 4/5") << "Line one<br>Line two"
                                         << "Line one Line two" << 80;
        QTest::newRow("access key: 2/3") << "Save &As"
                                         << "Save As" << 66;
        QTest::newRow("number changed: 1/2") << "Level 10"
                                             << "Level 12" << 50;
        QTest::newRow("nothing shared") << "abc"
                                        << "xyz" << 0;
        QTest::newRow("against empty") << "abc"
                                       << "" << 0;
        QTest::newRow("both empty") << ""
                                    << "" << 100;
        QTest::newRow("swap: 2 of 3") << "red green blue"
                                      << "green red blue" << 33;
    }
    void score()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, score);
        QCOMPARE(fuzzyScore(a, b), score);
        QCOMPARE(fuzzyScore(b, a), score);
    }

    // The index's filters (lengths, rarest tokens, bounded distance) must
    // find exactly what looking at every unit finds.
    void indexFindsWhatScanFinds()
    {
        const QStringList words = {u"iron"_qs, u"sword"_qs, u"of"_qs, u"fire"_qs, u"the"_qs, u"save"_qs,
                                   u"game"_qs, u"now"_qs,   u"?"_qs,  u"剣"_qs,   u"炎"_qs,  u"%1"_qs};
        QRandomGenerator random(7);
        const auto sentence = [&] {
            QStringList picked;
            const int length = 1 + int(random.bounded(9));
            for (int i = 0; i < length; ++i)
                picked << words[qsizetype(random.bounded(quint32(words.size())))];
            return picked.join(u' ');
        };
        FuzzyIndex index;
        for (int i = 0; i < 600; ++i)
            index.add(sentence(), QStringLiteral("訳%1").arg(i), 1, QString(), i);
        index.finish();
        FuzzyIndex::Scratch scratch;
        for (int q = 0; q < 150; ++q) {
            const QString text = sentence();
            const MatchTokens tokens = matchTokens(text);
            for (const int minScore : {34, 70, 90, 100}) {
                const auto found = sorted(index.find(text, tokens, minScore, scratch));
                QCOMPARE(found, sorted(index.scan(text, tokens, minScore)));
                for (const auto &[unit, score] : found)
                    QCOMPARE(score, fuzzyScore(text, index.source(unit)));
            }
        }
        const QString text = index.source(0);
        const auto others = index.find(text, matchTokens(text), 100, scratch, [](qint32 key) { return key != 0; });
        QVERIFY(std::none_of(others.cbegin(), others.cend(), [](const FuzzyHit &hit) { return hit.unit == 0; }));
    }

    void ranking()
    {
        std::vector<Suggestion> found = {
            suggestion(80, u"b"_qs, 1, 0, false),
            suggestion(90, u"a"_qs, 1, 0, false),
            suggestion(80, u"c"_qs, 3, 0, false),              // more places first
            suggestion(80, u"d"_qs, 1, 20240101000000, false), // then the later change
            suggestion(80, u"e"_qs, 1, 0, true),               // then the table's own row
            suggestion(80, u"a"_qs, 9, 0, false),              // a translation already given
        };
        rankSuggestions(found, 5);
        QStringList order;
        for (const Suggestion &s : found)
            order << s.target;
        QCOMPARE(order, QStringList({u"a"_qs, u"c"_qs, u"d"_qs, u"e"_qs, u"b"_qs}));
        rankSuggestions(found, 2);
        QCOMPARE(found.size(), size_t(2));
    }

    void memoryFileLanguages()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"tm.tmx"_qs);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(R"(<?xml version="1.0"?>
<tmx version="1.4"><header srclang="en" creationdate="20240101T000000Z"/><body>
<tu><tuv xml:lang="en"><seg>Iron Sword</seg></tuv><tuv xml:lang="ja"><seg>鉄の剣</seg></tuv><tuv xml:lang="fr"><seg>Épée de fer</seg></tuv></tu>
<tu><tuv xml:lang="en"><seg>Same</seg></tuv><tuv xml:lang="ja"><seg>Same</seg></tuv></tu>
</body></tmx>)");
        file.close();
        MemoryFileRead read;
        QString error;
        QVERIFY(readMemoryFile(path, QString(), QString(), read, &error));
        QCOMPARE(read.languages, QStringList({u"fr"_qs, u"ja"_qs}));
        QVERIFY(!read.index);
        QVERIFY(readMemoryFile(path, QString(), u"ja-JP"_qs, read, &error));
        QVERIFY(read.index);
        QCOMPARE(read.index->size(), 1); // a translation equal to its source is none
        QCOMPARE(read.index->target(0), u"鉄の剣"_qs);
        QCOMPARE(read.index->changeDate(0), 20240101000000ULL);

        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("<?xml version=\"1.0\"?>\n<tmx version=\"1.4\"><header srclang=\"en\"/><body>\n<tu>&bad;</tu>");
        file.close();
        QVERIFY(!readMemoryFile(path, QString(), QString(), read, &error));
        QCOMPARE(read.line, 3);
        QVERIFY(!read.index);
    }
};

QTEST_GUILESS_MAIN(TestFuzzy)
#include "tst_fuzzy.moc"
