// SPDX-License-Identifier: GPL-3.0-or-later
// Glossaries: their three forms, where a term is found, and the check of
// a term's translation.
#include "core/formats/GlossaryReader.h"
#include "core/translation/Glossary.h"

#include <QTest>

using namespace wendaro;

namespace {

Glossary glossaryOf(const QList<GlossaryTerm> &terms)
{
    Glossary glossary;
    for (const GlossaryTerm &term : terms)
        glossary.add(term);
    return glossary;
}

QString found(const Glossary &glossary, const QString &text)
{
    QStringList sources;
    for (const qsizetype i : glossary.termsIn(text))
        sources << glossary.term(i).source + u'→' + glossary.term(i).target;
    return sources.join(u'|');
}

const QList<GlossaryTerm> Terms = {{u"Iron Sword"_qs, u"鉄の剣"_qs, u"武器"_qs},
                                   {u"sword"_qs, u"剣"_qs, {}},
                                   {u"HP"_qs, u"HP"_qs, {}},
                                   {u"剣"_qs, u"sword"_qs, {}},
                                   {u"save"_qs, u"セーブ"_qs, {}},
                                   {u"save"_qs, u"保存"_qs, {}}};

} // namespace

class TestGlossary : public QObject
{
    Q_OBJECT
private slots:
    void termsIn_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("terms");
        QTest::newRow("words, case folded, in the text's order") << "Equip the IRON SWORD, then the sword."
                                                                 << "Iron Sword→鉄の剣|sword→剣";
        QTest::newRow("whole words only") << "Two swords"
                                          << "";
        QTest::newRow("width folded") << "Restore ＨＰ"
                                      << "HP→HP";
        QTest::newRow("CJK anywhere") << "鉄の剣士"
                                      << "剣→sword";
        QTest::newRow("one source, two targets") << "Save now"
                                                 << "save→セーブ|save→保存";
        QTest::newRow("nothing") << "Quit"
                                 << "";
    }
    void termsIn()
    {
        QFETCH(QString, text);
        QFETCH(QString, terms);
        QCOMPARE(found(glossaryOf(Terms), text), terms);
    }

    void missingTerms_data()
    {
        QTest::addColumn<QString>("original");
        QTest::addColumn<QString>("translation");
        QTest::addColumn<QStringList>("missing");
        QTest::newRow("given") << "Equip the Iron Sword"
                               << "鉄の剣を装備する" << QStringList();
        QTest::newRow("missing, its longer term and the shorter one")
            << "Iron Sword"
            << "鉄のつるぎ"
            << QStringList{u"用語「Iron Sword」の訳「鉄の剣」がありません。"_qs,
                           u"用語「sword」の訳「剣」がありません。"_qs};
        QTest::newRow("either target will do") << "Save the game"
                                               << "ゲームを保存" << QStringList();
        QTest::newRow("neither target") << "Save the game"
                                        << "ゲームを記録"
                                        << QStringList{u"用語「save」の訳「セーブ」「保存」がありません。"_qs};
    }
    void missingTerms()
    {
        QFETCH(QString, original);
        QFETCH(QString, translation);
        QFETCH(QStringList, missing);
        QCOMPARE(glossaryOf(Terms).missingTerms(original, translation), missing);
    }

    void forms_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("terms"); // source→target(comment), or the error's line and words
        QTest::newRow("tabs, OmegaT's form")
            << "g.txt" << QByteArray("\xEF\xBB\xBF# ours\nsword\t剣\t武器\r\n\nshield\t盾\n")
            << "sword→剣(武器)|shield→盾()";
        QTest::newRow("tabs, no target") << "g.txt" << QByteArray("sword\t剣\nshield\n")
                                         << "2: 原文と訳がタブで区切られていません。";
        QTest::newRow("CSV with a header")
            << "g.csv" << QByteArray("source,target,comment\nsword,剣,\"a, weapon\"\n") << "sword→剣(a, weapon)";
        QTest::newRow("CSV without") << "g.CSV" << QByteArray("sword,剣\n") << "sword→剣()";
        QTest::newRow("TBX-Basic")
            << "g.tbx"
            << QByteArray("<?xml version=\"1.0\"?><martif type=\"TBX-Basic\" xml:lang=\"en\"><text><body>"
                          "<termEntry><descrip type=\"definition\">a weapon</descrip>"
                          "<langSet xml:lang=\"fr\"><tig><term>épée</term></tig></langSet>"
                          "<langSet xml:lang=\"en-US\"><tig><term>sword</term></tig></langSet>"
                          "<langSet xml:lang=\"ja\"><ntig><termGrp><term>剣</term></termGrp></ntig></langSet>"
                          "</termEntry></body></text></martif>")
            << "sword→剣(a weapon)";
        QTest::newRow("TBX of 2019") << "g.tbx"
                                     << QByteArray(
                                            "<tbx xml:lang=\"en\"><text><body><conceptEntry>"
                                            "<langSec xml:lang=\"en\"><termSec><term>shield</term></termSec></langSec>"
                                            "<langSec xml:lang=\"ja\"><termSec><term>盾</term></termSec></langSec>"
                                            "</conceptEntry></body></text></tbx>")
                                     << "shield→盾()";
        QTest::newRow("TBX declaring entities")
            << "g.tbx" << QByteArray("<?xml version=\"1.0\"?>\n<!DOCTYPE martif [<!ENTITY a \"b\">]>\n<martif/>")
            << "2: DOCTYPE で実体が宣言されています。実体は展開しないので、このファイルは読めません。";
    }
    void forms()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, terms);
        Glossary glossary;
        qint64 line = 0;
        QString error;
        QStringList read;
        if (!readGlossary(name, bytes, QString(), u"ja"_qs, glossary, &line, &error))
            read << QStringLiteral("%1: %2").arg(line).arg(error);
        for (qsizetype i = 0; i < glossary.size(); ++i)
            read << glossary.term(i).source + u'→' + glossary.term(i).target + u'(' + glossary.term(i).comment + u')';
        QCOMPARE(read.join(u'|'), terms);
    }
};

QTEST_GUILESS_MAIN(TestGlossary)
#include "tst_glossary.moc"
