// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/EntryList.h"
#include "core/translation/TranslationCatalog.h"
#include "core/translation/TableExport.h"
#include "core/translation/TableImport.h"

#include <QTest>

using namespace wendaro;

namespace {

// Rows as "index text|name|value", separated by ";".
void fill(EntryList &list, const QString &rows)
{
    for (const QString &row : rows.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QStringList f = row.split(QLatin1Char('|'));
        const qsizetype p = list.append(f[0]);
        list.setName(p, f[1]);
        list.setValue(p, f[2]);
    }
}

QString rowsText(const EntryList &list)
{
    QStringList rows;
    for (qsizetype p = 0; p < list.count(); ++p)
        rows << QStringList{list.at(p).indexText, list.at(p).name, list.at(p).value.toString()}.join(QLatin1Char('|'));
    return rows.join(QLatin1Char(';'));
}

// Units as "index|name|source|target|flags", flags from t (translated),
// f (fuzzy), n (carries the name).
TranslationCatalog catalogOf(const QString &units, bool hasSource)
{
    TranslationCatalog catalog;
    catalog.hasSource = hasSource;
    int line = 0;
    for (const QString &text : units.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QStringList f = text.split(QLatin1Char('|'));
        catalog.units.append({qint16(f[0].toInt()), f[1], f[2], f[3], f[4].contains(u't'), f[4].contains(u'f'),
                              f[4].contains(u'n'), QStringLiteral("行 %1").arg(++line)});
    }
    return catalog;
}

QString unitsText(const TranslationCatalog &catalog)
{
    QStringList units;
    for (const TranslationUnit &u : catalog.units)
        units << QStringLiteral("%1|%2|%3|%4|%5")
                     .arg(u.index)
                     .arg(u.name, u.source, u.target, u.translated ? QStringLiteral("t") : QString());
    return units.join(QLatin1Char(';'));
}

QString listText(const QList<qint16> &indexes)
{
    QStringList parts;
    for (const qint16 i : indexes)
        parts << QString::number(i);
    return parts.join(QLatin1Char(','));
}

} // namespace

class TestTranslation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void exportTable_data();
    void exportTable();
    void importTable_data();
    void importTable();
};

void TestTranslation::exportTable_data()
{
    // clang-format off
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("original"); // "" for none
    QTest::addColumn<QString>("expected"); // the units
    QTest::addColumn<QString>("notInOriginal");

    QTest::newRow("template") << "  007|a|x<br>y;   -2|b|" << "" << "7|a|x<br>y||;-2|b|||" << "";
    QTest::newRow("with original") << "1|a|訳;2|b|;3|c|z" << "2|B|two;1|A|one" << "1|a|one|訳|t;2|b|two||"
                                   << "3";
    // clang-format on
}

void TestTranslation::exportTable()
{
    QFETCH(QString, table);
    QFETCH(QString, original);
    QFETCH(QString, expected);
    QFETCH(QString, notInOriginal);
    EntryList rows;
    EntryList originalRows;
    fill(rows, table);
    fill(originalRows, original);
    QString error;
    const auto result = exportCatalog(rows, QStringLiteral("表"), original.isEmpty() ? nullptr : &originalRows,
                                      QStringLiteral("原文"), &error);
    QVERIFY2(result, qPrintable(error));
    QCOMPARE(unitsText(result->catalog), expected);
    QCOMPARE(listText(result->notInOriginal), notInOriginal);
}

void TestTranslation::importTable_data()
{
    // clang-format off
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("units");
    QTest::addColumn<QString>("original"); // "" for none; with one the units carry sources
    QTest::addColumn<bool>("fuzzy");
    QTest::addColumn<bool>("ignoreExtra");
    QTest::addColumn<QString>("expected"); // the table after, or "!" and a part of the error
    QTest::addColumn<QString>("report");   // updated unchanged untranslated fuzzy /extra/source changed

    const QString table = QStringLiteral("1|a|x;2|b|y;3|c|z");
    QTest::newRow("each kind") << table << "3|C||Z|tn;2|B||Y|tf;1|A||X|" << "" << false << false
                               << "1|a|x;2|b|y;3|C|Z" << "1 0 1 1 //";
    QTest::newRow("fuzzy taken") << table << "2|B||Y|tf" << "" << true << false << "1|a|x;2|b|Y;3|c|z"
                                 << "1 0 0 0 //";
    QTest::newRow("name only where carried") << table << "1|A||X|t;2|B||y|tn" << "" << false << false
                                             << "1|a|X;2|B|y;3|c|z" << "2 0 0 0 //";
    QTest::newRow("same again, empty value") << table << "1|a||x|tn;3|c|||tn" << "" << false << false
                                             << "1|a|x;2|b|y;3|c|" << "1 1 0 0 //";
    QTest::newRow("extra refused") << table << "1|a||X|t;9|q||Q|t" << "" << false << false
                                   << "!翻訳ファイルのインデックス 9 の項目は表にありません" << "";
    QTest::newRow("extra ignored") << table << "9|q||Q|t;1|a||X|t;-4|q||Q|t" << "" << false << true
                                   << "1|a|X;2|b|y;3|c|z" << "1 0 0 0 /9,-4/";
    QTest::newRow("repeated unit") << table << "1|a||X|t;2|a||X|t;1|a||Y|t" << "" << false << true
                                   << "!翻訳ファイルで同じインデックスが複数の項目にあります: 1（行 1、行 3）" << "";
    QTest::newRow("repeated in table") << "5|a|x;6|b|y;   05|c|z;6|d|w" << "5|a||X|t" << "" << false << false
                                       << "!表で同じインデックスが複数の項目にあります: 5（1、3 番目の項目）、6（2、4 番目の項目）" << "";
    QTest::newRow("other original skipped") << table << "1|a|one|X|t;2|b|old|Y|t;3|c|new|Z|t;4|d||W|"
                                            << "1|a|one;2|b|two;4|d|" << false << true << "1|a|X;2|b|y;3|c|z"
                                            << "1 0 0 2 /4/2,3";
    QTest::newRow("other original taken") << table << "2|b|old|Y|t" << "2|b|two" << true << false
                                          << "1|a|x;2|b|Y;3|c|z" << "1 0 0 0 //2";
    // clang-format on
}

void TestTranslation::importTable()
{
    QFETCH(QString, table);
    QFETCH(QString, units);
    QFETCH(QString, original);
    QFETCH(bool, fuzzy);
    QFETCH(bool, ignoreExtra);
    QFETCH(QString, expected);
    QFETCH(QString, report);
    EntryList rows;
    EntryList originalRows;
    fill(rows, table);
    fill(originalRows, original);
    const bool withOriginal = !original.isEmpty();
    const QString before = rowsText(rows);
    ImportReport got;
    QString error;
    const bool ok = importCatalog(rows, QStringLiteral("表"), catalogOf(units, withOriginal),
                                  QStringLiteral("翻訳ファイル"), withOriginal ? &originalRows : nullptr,
                                  QStringLiteral("原文"), ImportOptions{fuzzy, ignoreExtra}, got, &error);
    if (expected.startsWith(QLatin1Char('!'))) {
        QVERIFY(!ok);
        QVERIFY2(error.contains(expected.mid(1)), qPrintable(error));
        QCOMPARE(rowsText(rows), before);
        return;
    }
    QVERIFY2(ok, qPrintable(error));
    QCOMPARE(rowsText(rows), expected);
    QCOMPARE(QString::asprintf("%lld %lld %lld %lld /", qlonglong(got.updated), qlonglong(got.unchanged),
                               qlonglong(got.untranslated), qlonglong(got.fuzzySkipped))
                 + listText(got.extra) + QLatin1Char('/') + listText(got.sourceChanged),
             report);
}

QTEST_GUILESS_MAIN(TestTranslation)
#include "tst_translation.moc"
