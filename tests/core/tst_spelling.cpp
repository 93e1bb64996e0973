// SPDX-License-Identifier: GPL-3.0-or-later
// Spelling: which words of a translation are looked at, and the dictionary
// a language finds.
#include "core/text/Spelling.h"
#include "core/translation/LanguageCode.h"

#include <QTest>

using namespace wendaro;

class TestSpelling : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<Speller> m_english;

private slots:
    // Where a translation's language is read from when nobody names it.
    void languageOfPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("language");
        QTest::newRow("suffix") << "/game/menu_de.stf"
                                << "de";
        QTest::newRow("suffix with a region") << "menu.pt-BR.txt"
                                              << "pt-BR";
        QTest::newRow("folder") << "/mods/ja/menu.stf"
                                << "ja";
        QTest::newRow("gettext's folder") << "/locale/pt_BR/LC/menu.stf"
                                          << "pt-BR";
        QTest::newRow("the nearest wins") << "/fr/menu_de.stf"
                                          << "de";
        QTest::newRow("words are no code") << "/game/strings/main_menu.stf"
                                           << "";
        QTest::newRow("capitals are no code") << "/DATA/MENU.STF"
                                              << "";
        QTest::newRow("nor words of three letters") << "/usr/lib/game/main_map.stf"
                                                    << "";
    }
    void languageOfPath()
    {
        QFETCH(QString, path);
        QFETCH(QString, language);
        QCOMPARE(wendaro::languageOfPath(path), language);
    }

    void initTestCase()
    {
        m_english = Speller::forLanguage(QStringLiteral("en"));
        if (!m_english)
            QSKIP("no English dictionary (hunspell-en-us) in /usr/share/hunspell");
    }

    void misspelled_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("words");
        QTest::newRow("a typo") << "Teh sword is heavy."
                                << "Teh";
        QTest::newRow("an apostrophe inside") << "Don't leave"
                                              << "";
        QTest::newRow("placeholders") << "Save %s in {name} as %1$d"
                                      << "";
        QTest::newRow("markup and line breaks") << "<b>Boldd</b><br>text"
                                                << "Boldd";
        QTest::newRow("URLs and addresses") << "See https://exmaple.org/qwzx or mial@exmaple.org"
                                            << "";
        QTest::newRow("digits") << "Level v2 x86"
                                << "";
        QTest::newRow("Japanese") << "剣を装備しますか？"
                                  << "";
    }
    void misspelled()
    {
        QFETCH(QString, text);
        QFETCH(QString, words);
        QStringList found;
        for (const WordSpan &span : m_english->misspelled(text))
            found << text.mid(span.start, span.length);
        QCOMPARE(found.join(u'|'), words);
    }

    void suggestionsAndOwnWords()
    {
        QVERIFY(m_english->suggestions(u"teh").contains(u"the"_qs));
        QVERIFY(!m_english->isCorrect(u"Wendaro"));
        m_english->addWord(u"Wendaro"_qs);
        QVERIFY(m_english->isCorrect(u"Wendaro"));
        QVERIFY(m_english->dictionary().startsWith(u"en_"_qs));
        QCOMPARE(Speller::forLanguage(u"en-US"_qs)->dictionary(), u"en_US"_qs);
        QVERIFY(!Speller::forLanguage(u"ja"_qs));
        QVERIFY(!Speller::forLanguage(QString()));
    }
};

QTEST_GUILESS_MAIN(TestSpelling)
#include "tst_spelling.moc"
