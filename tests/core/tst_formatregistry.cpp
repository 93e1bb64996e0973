// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/formats/FormatRegistry.h"

#include <QTest>

using namespace wendaro;

namespace {

QString nameOf(const std::unique_ptr<TableFormat> &format)
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
    void byShortName_data();
    void byShortName();
};

void TestFormatRegistry::byPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("bySuffix"); // empty: no format claims the suffix
    QTest::addColumn<QString>("forPath");

    QTest::newRow("stf") << "a/table.stf" << "stf" << "stf";
    QTest::newRow("upper case") << "TABLE.STF" << "stf" << "stf";
    QTest::newRow("txt") << "table.txt" << "text" << "text";
    QTest::newRow("last suffix counts") << "table.stf.txt" << "text" << "text";
    QTest::newRow("unknown suffix") << "table.tsv" << "" << "text";
    QTest::newRow("no suffix") << "table" << "" << "text";
    QTest::newRow("dot only in a folder") << "old.stf/table" << "" << "text";
    QTest::newRow("trailing dot") << "table.stf." << "" << "text";
    QTest::newRow("bare suffix") << ".stf" << "stf" << "stf";
    QTest::newRow("no dot before stf") << "tablestf" << "" << "text";
    QTest::newRow("empty") << "" << "" << "text";
}

void TestFormatRegistry::byPath()
{
    QFETCH(QString, path);
    QFETCH(QString, bySuffix);
    QFETCH(QString, forPath);
    QCOMPARE(nameOf(FormatRegistry::bySuffix(path)), bySuffix);
    QCOMPARE(nameOf(FormatRegistry::forPath(path)), forPath);
}

void TestFormatRegistry::byShortName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("found");

    for (const QString &known : FormatRegistry::shortNames())
        QTest::newRow(qPrintable(known)) << known << known;
    QTest::newRow("any case") << "STF" << "stf";
    QTest::newRow("unknown") << "po" << "";
    QTest::newRow("suffix is no short name") << "txt" << "";
    QTest::newRow("empty") << "" << "";
}

void TestFormatRegistry::byShortName()
{
    QFETCH(QString, name);
    QFETCH(QString, found);
    QCOMPARE(nameOf(FormatRegistry::byShortName(name)), found);
}

QTEST_GUILESS_MAIN(TestFormatRegistry)
#include "tst_formatregistry.moc"
