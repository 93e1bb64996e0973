// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/formats/FormatRegistry.h"

#include <QTest>

using namespace wendaro;

namespace {

QString nameOf(const FileFormat *format)
{
    return format ? format->shortName() : QString();
}

} // namespace

class TestFormatRegistry : public QObject
{
    Q_OBJECT

private slots:
    void byPath_data();
    void byPath();
    void byContent_data();
    void byContent();
    void tableFormats();
};

void TestFormatRegistry::byPath_data()
{
    // clang-format off
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("bySuffix"); // the table format; empty: none claims the suffix
    QTest::addColumn<QString>("forPath");
    QTest::addColumn<QString>("catalog"); // the translation format; empty: none

    QTest::newRow("stf") << "a/table.stf" << "stf" << "stf" << "";
    QTest::newRow("upper case") << "TABLE.STF" << "stf" << "stf" << "";
    QTest::newRow("txt") << "table.txt" << "text" << "text" << "";
    QTest::newRow("last suffix counts") << "table.stf.txt" << "text" << "text" << "";
    QTest::newRow("unknown suffix") << "table.tsv" << "" << "text" << "";
    QTest::newRow("no suffix") << "table" << "" << "text" << "";
    QTest::newRow("dot only in a folder") << "old.stf/table" << "" << "text" << "";
    QTest::newRow("trailing dot") << "table.stf." << "" << "text" << "";
    QTest::newRow("bare suffix") << ".stf" << "stf" << "stf" << "";
    QTest::newRow("no dot before stf") << "tablestf" << "" << "text" << "";
    QTest::newRow("long s folds to s") << QStringLiteral("table.\u017Ftf") << "" << "text" << "";
    QTest::newRow("empty") << "" << "" << "text" << "";
    QTest::newRow("po") << "a/t.po" << "" << "text" << "po";
    QTest::newRow("pot, upper case") << "T.POT" << "" << "text" << "po";
    QTest::newRow("xliff after po") << "t.po.xliff" << "" << "text" << "xliff";
    QTest::newRow("csv") << "t.csv" << "" << "text" << "csv";
    QTest::newRow("po only in a folder") << "old.po/t" << "" << "text" << "";
    // clang-format on
}

void TestFormatRegistry::byPath()
{
    QFETCH(QString, path);
    QFETCH(QString, bySuffix);
    QFETCH(QString, forPath);
    QFETCH(QString, catalog);
    QCOMPARE(nameOf(FormatRegistry::bySuffix(path, FileFormat::ReadsTables)), bySuffix);
    QCOMPARE(FormatRegistry::forPath(path).shortName(), forPath);
    QCOMPARE(nameOf(FormatRegistry::bySuffix(path, FileFormat::ReadsCatalogs)), catalog);
    QCOMPARE(nameOf(FormatRegistry::bySuffix(path, FileFormat::WritesCatalogs)), catalog);
}

void TestFormatRegistry::tableFormats()
{
    // The formats named in code are the ones a table file's name picks.
    QCOMPARE(&FormatRegistry::stf(), &FormatRegistry::forPath(QStringLiteral("a.STF")));
    QCOMPARE(&FormatRegistry::text(), &FormatRegistry::forPath(QStringLiteral("a.txt")));
}

void TestFormatRegistry::byContent_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("format");

    const QByteArray stf = QByteArray::fromHex("cdab000001");
    QTest::newRow("git's temporary file, STF") << ".merge_file_a1B2c3" << stf << "stf";
    QTest::newRow("no suffix, text") << "table" << QByteArray("Index\tName\tValue\r\n") << "text";
    QTest::newRow("unknown suffix, STF") << "t.orig" << stf << "stf";
    QTest::newRow("mark cut short") << "t" << QByteArray::fromHex("cdab00") << "text";
    QTest::newRow("empty file") << "t" << QByteArray() << "text";
    QTest::newRow("the suffix wins over the bytes") << "t.txt" << stf << "text";
    QTest::newRow("stf suffix, text bytes") << "t.STF" << QByteArray("Index") << "stf";
}

void TestFormatRegistry::byContent()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, format);
    QCOMPARE(FormatRegistry::forPathOrContent(path, bytes).shortName(), format);
    // The window keeps to the name.
    QCOMPARE(FormatRegistry::forPath(path).shortName(), path.endsWith(QLatin1String(".STF")) ? "stf" : "text");
}

QTEST_GUILESS_MAIN(TestFormatRegistry)
#include "tst_formatregistry.moc"
