// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/formats/CsvFormat.h"
#include "core/translation/TranslationCatalog.h"

#include <QTest>

using namespace wendaro;

class TestCsv : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void layout();
    void read_data();
    void read();
};

void TestCsv::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    const QStringList texts = {QString(),
                               QStringLiteral("a\tb"),
                               QStringLiteral("lone\rcr"),
                               QStringLiteral("lone\nlf"),
                               QStringLiteral("\n\r\r<br>\n"),
                               QStringLiteral("x<br>y<BR>"),
                               QStringLiteral("say \"hi\", \"\""),
                               QStringLiteral("007"),
                               QStringLiteral("=1+1"),
                               QStringLiteral("  lead "),
                               QStringLiteral("日本語,テキスト"),
                               QStringLiteral("\U0001F600 𠀋"),
                               QStringLiteral("\xFEFF"
                                              "bom"),
                               QStringLiteral("\"")};
    for (const QString &text : texts)
        QTest::newRow(qPrintable(text.toUtf8().toHex())) << text;
}

// Every value a table holds comes back exactly, as a template's value and
// as a translation beside its source.
void TestCsv::roundTrip()
{
    QFETCH(QString, text);
    for (const bool isTemplate : {true, false}) {
        TranslationCatalog catalog;
        catalog.isTemplate = isTemplate;
        catalog.units.append({-32768, text, text, text, true, false, true, {}});
        catalog.units.append(
            {32767, QStringLiteral("n"), QStringLiteral("s"), QStringLiteral("v"), true, false, true, {}});
        QByteArray image;
        CsvFormat format;
        QString failure;
        QVERIFY(format.writeCatalog(catalog, image, &failure));
        TranslationCatalog back;
        QVERIFY2(format.readCatalog(image, back, &failure), qPrintable(failure));
        QStringList got;
        for (const TranslationUnit &u : back.units)
            got << QString::number(u.index) << u.name << u.source << u.target;
        const QString none;
        const QStringList expected = isTemplate ? QStringList{"-32768", text, none, text, "32767", "n", none, "s"}
                                                : QStringList{"-32768", text, text, text, "32767", "n", "s", "v"};
        QCOMPARE(got, expected);
    }
}

void TestCsv::layout()
{
    TranslationCatalog catalog;
    catalog.isTemplate = false;
    catalog.units.append(
        {7, QStringLiteral("n"), QStringLiteral("a,\"b\""), QStringLiteral("ignored"), false, false, true, {}});
    QByteArray image;
    CsvFormat format;
    QString failure;
    QVERIFY(format.writeCatalog(catalog, image, &failure));
    QCOMPARE(image, QByteArray("\xEF\xBB\xBFIndex,Name,Source,Value\r\n7,\"n\",\"a,\"\"b\"\"\",\"\"\r\n"));

    catalog.units[0].name = QString(QChar(0xD800)) + QStringLiteral("x");
    QVERIFY(!format.writeCatalog(catalog, image, &failure));
    QVERIFY2(failure.contains(QLatin1String("U+D800")), qPrintable(failure));
}

void TestCsv::read_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("expected"); // index=value|name per unit, or "!" and a part of the error

    QTest::newRow("no BOM, LF, any case and order")
        << QByteArray("value,extra,INDEX\n\"a\r\nb\",x, 5\n\nc,,-3\n") << "5=a<br>b|-;-3=c|-";
    QTest::newRow("last record without end") << QByteArray("\xEF\xBB\xBFIndex,Name,Value\r\n1,n,\"\"") << "1=|n";
    QTest::newRow("empty trailing fields") << QByteArray("Index,Value\r\n1,v,,\r\n") << "1=v|-";
    QTest::newRow("unterminated quote") << QByteArray("Index,Value\r\n1,v\r\n2,\"w\r\n\r\n")
                                        << "!3 行目 3 文字目で始まる 2 番目のフィールドの引用符が閉じられない";
    QTest::newRow("quote in unquoted field")
        << QByteArray("Index,Value\r\n1,a\"b\r\n") << "!2 行目 4 文字目: 引用符で囲まれていない 2 番目";
    QTest::newRow("text after closing quote") << QByteArray("Index,Value\r\n1,\"a\"b\r\n")
                                              << "!2 行目 6 文字目: 2 番目のフィールドの閉じる引用符の後に U+0062";
    QTest::newRow("lone CR outside quotes") << QByteArray("Index,Value\r1,a\r\n") << "!1 行目 12 文字目";
    QTest::newRow("no Value column") << QByteArray("Index,Name\r\n1,a\r\n")
                                     << "!見出しの行（1 行目）に Value の列がありません";
    QTest::newRow("Value twice") << QByteArray("Index,Value,value\r\n")
                                 << "!Value の列が 2 つあります（2 番目と 3 番目）";
    QTest::newRow("short row") << QByteArray("Index,Name,Value\r\n1,a,b\r\n2,a\r\n")
                               << "!3 行目にはフィールドが 2 個しかなく、Value の列（3 番目）がありません";
    QTest::newRow("unquoted comma") << QByteArray("Index,Value\r\n1,a,b\r\n")
                                    << "!2 行目の 3 番目のフィールドには見出しがありません";
    QTest::newRow("index too large") << QByteArray("Index,Value\r\n32768,a\r\n")
                                     << "!2 行目の Index「32768」は -32768 から 32767";
    QTest::newRow("index no number") << QByteArray("Index,Value\r\n\"\r\n\",a\r\n")
                                     << "!2 行目の Index「\r\n」は数値ではありません";
    QTest::newRow("not UTF-8") << QByteArray("\xEF\xBB\xBFIndex,Value\r\n1,\x82\xA0\r\n")
                               << "!先頭から 18 バイトの位置";
    QTest::newRow("empty file") << QByteArray("\xEF\xBB\xBF") << "!見出しの行がありません";
}

void TestCsv::read()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, expected);
    TranslationCatalog catalog;
    CsvFormat format;
    QString failure;
    const bool ok = format.readCatalog(data, catalog, &failure);
    if (expected.startsWith(QLatin1Char('!'))) {
        QVERIFY(!ok);
        QVERIFY2(failure.contains(expected.mid(1)), qPrintable(failure));
        return;
    }
    QVERIFY2(ok, qPrintable(failure));
    // What was read is written again and reads back the same.
    QByteArray image;
    QVERIFY(format.writeCatalog(catalog, image, &failure));
    TranslationCatalog again;
    QVERIFY2(format.readCatalog(image, again, &failure), qPrintable(failure));
    for (const TranslationCatalog *c : {&catalog, &again}) {
        QStringList units;
        for (const TranslationUnit &unit : c->units) {
            QVERIFY(unit.translated);
            units << QStringLiteral("%1=%2|%3%4")
                         .arg(unit.index)
                         .arg(unit.target, unit.name, unit.hasName ? QString() : QStringLiteral("-"));
        }
        QCOMPARE(units.join(QLatin1Char(';')), expected);
    }
}

QTEST_GUILESS_MAIN(TestCsv)
#include "tst_csv.moc"
