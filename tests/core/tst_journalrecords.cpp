// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/JournalRecordCodec.h"

#include <QTest>

using namespace wendaro;

Q_DECLARE_METATYPE(wendaro::JournalRecordData)

namespace {

JournalRow row(qsizetype position, const char *index, const char *name, const char *value,
               std::optional<qint16> key = std::nullopt)
{
    return {position, QString::fromUtf8(index), QString::fromUtf8(name), QString::fromUtf8(value), key};
}

} // namespace

class TestJournalRecords : public QObject
{
    Q_OBJECT

private slots:
    // The bytes of journals already on disk: a change here would leave them
    // unreadable after an update, with the changes they hold.
    void bytesOnDisk_data()
    {
        QTest::addColumn<JournalRecordData>("record");
        QTest::addColumn<QByteArray>("hex");
        QTest::newRow("a row put in, with its key")
            << JournalRecordData{JournalRecord::Change, {{JournalOpKind::Put, {row(2, "7", "n", "v", 7)}, {}}}, {}, {}}
            << QByteArray("00 00000001 00 00000001 0000000000000002 00000002 0037 00000002 006e 00000002 0076 01 0007");
        QTest::newRow("typing merged, no key")
            << JournalRecordData{JournalRecord::Continued, {{JournalOpKind::Set, {row(0, "", "", "x")}, {}}}, {}, {}}
            << QByteArray("01 00000001 02 00000001 0000000000000000 00000000 00000000 00000002 0078 00 0000");
        QTest::newRow("a row taken out, then a sort")
            << JournalRecordData{JournalRecord::Change,
                                 {{JournalOpKind::Take, {row(1, "1", "a", "A", 1)}, {}},
                                  {JournalOpKind::Order, {}, {1, 0}}},
                                 {},
                                 {}}
            << QByteArray("00 00000002 01 00000001 0000000000000001 00000002 0031 00000002 0061 00000002 0041 01 0001"
                          " 03 00000002 00000001 00000000");
        QTest::newRow("a sort alone") << JournalRecordData{JournalRecord::Sort,
                                                           {{JournalOpKind::Order, {}, {2, 0, 1}}},
                                                           {},
                                                           {}}
                                      << QByteArray("02 00000001 03 00000003 00000002 00000000 00000001");
        QTest::newRow("the fields, one empty")
            << JournalRecordData{JournalRecord::Fields, {}, QStringLiteral("o"), QString()}
            << QByteArray("03 00000000 00000002 006f ffffffff");
    }

    void bytesOnDisk()
    {
        QFETCH(JournalRecordData, record);
        QFETCH(QByteArray, hex);
        const QByteArray bytes = QByteArray::fromHex(hex.replace(' ', ""));
        QCOMPARE(encodeJournalRecord(record).toHex(' '), bytes.toHex(' '));
        const std::optional<JournalRecordData> decoded = decodeJournalRecord(bytes);
        QVERIFY(decoded);
        QVERIFY(*decoded == record);
        // A record cut anywhere, as a full disk leaves it, is refused whole.
        for (qsizetype cut = 0; cut < bytes.size(); ++cut)
            QVERIFY2(!decodeJournalRecord(bytes.left(cut)), qPrintable(QString::number(cut)));
    }

    void damage_data()
    {
        QTest::addColumn<QByteArray>("hex");
        QTest::newRow("unknown kind") << QByteArray("04 00000000");
        QTest::newRow("unknown op") << QByteArray("00 00000001 04 00000000");
        QTest::newRow("more rows than bytes") << QByteArray("00 00000001 00 ffffffff");
        QTest::newRow("more positions than bytes") << QByteArray("02 00000001 03 00000100 00000000");
        QTest::newRow("a name of odd length") << QByteArray("00 00000001 02 00000001 0000000000000000 00000000"
                                                            " 00000003 006100 00000000 00 0000");
    }

    void damage()
    {
        QFETCH(QByteArray, hex);
        QVERIFY(!decodeJournalRecord(QByteArray::fromHex(hex.replace(' ', ""))));
    }
};

QTEST_GUILESS_MAIN(TestJournalRecords)
#include "tst_journalrecords.moc"
