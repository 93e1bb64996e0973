// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/CodePage.h"
#include "TestTables.h"
#include "core/model/EntryList.h"
#include "core/text/LineBreaks.h"
#include "core/formats/StfReader.h"
#include "core/formats/StfWriter.h"

#include <QTest>
#include <QtEndian>

#include <cstring>

using namespace wendaro;

namespace {

// File images built byte by byte, apart from the writer, so that the writer
// and the reader are each measured against the layout itself.
QByteArray field(quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    return QByteArray(bytes, 4);
}

QByteArray header(quint32 count, quint32 nextIndex)
{
    return field(0xABCD) + char(1) + field(nextIndex) + field(count);
}

QByteArray header(quint32 count)
{
    return header(count, count + 1);
}

QByteArray utf16(const QString &text)
{
    QByteArray bytes(2 * text.size(), Qt::Uninitialized);
    qToLittleEndian<char16_t>(text.utf16(), text.size(), bytes.data());
    return bytes;
}

QByteArray valueRecord(quint32 index, const QString &text, quint32 key = 0xFFFFFFFF)
{
    return field(index) + field(key) + field(quint32(text.size())) + utf16(text);
}

QByteArray valueRecordWithLength(quint32 index, quint32 length, const QByteArray &text = {})
{
    return field(index) + field(0xFFFFFFFF) + field(length) + text;
}

QByteArray nameRecord(quint32 index, const QByteArray &name)
{
    return field(index) + field(quint32(name.size())) + name;
}

QByteArray nameRecordWithLength(quint32 index, quint32 length, const QByteArray &name = {})
{
    return field(index) + field(length) + name;
}

QString visible(QString text)
{
    return text.replace(QLatin1Char('\r'), QLatin1String("\\r")).replace(QLatin1Char('\n'), QLatin1String("\\n"));
}

// One row as "index text|name|value|key", line ends made visible.
QString row(const QString &indexText, const QString &name, const QString &value, std::optional<qint16> key)
{
    return QStringLiteral("%1|%2|%3|%4")
        .arg(indexText, visible(name), visible(value), key ? QString::number(*key) : QStringLiteral("-"));
}

QStringList rowsOf(const EntryList &rows)
{
    QStringList out;
    for (qsizetype p = 0; p < rows.count(); ++p) {
        const Entry &e = rows.at(p);
        out << row(e.indexText, e.name, e.value.toString(), e.key);
    }
    return out;
}

// A table for the writer: index text, name and value of each row in turn.
using Table = QStringList;

void fill(EntryList &rows, const Table &table)
{
    for (qsizetype i = 0; i + 2 < table.size(); i += 3) {
        const qsizetype p = rows.append(table[i]);
        rows.setName(p, table[i + 1]);
        rows.setValue(p, table[i + 2]);
    }
}

Table manyRows(int count)
{
    Table table;
    table.reserve(3 * count);
    for (int i = 1; i <= count; ++i)
        table << QString::number(i) << QStringLiteral("n") << QStringLiteral("v");
    return table;
}

struct ReadOutcome
{
    bool ok;
    EntryList rows;
    qint16 largestIndex;
    QString error;
};

ReadOutcome readStf(const QByteArray &file, const CodePage &page = testCodePage())
{
    ReadOutcome outcome{false, {}, 1, {}};
    qint64 errorOffset = -1;
    outcome.ok = StfReader().read(file, page, outcome.rows, outcome.largestIndex, &errorOffset, &outcome.error);
    return outcome;
}

void checkErrorNames(const QString &error, const QStringList &parts)
{
    QVERIFY(!error.isEmpty());
    for (const QString &part : parts)
        QVERIFY2(error.contains(part), qPrintable(QStringLiteral("「%1」 not in: %2").arg(part, error)));
}

// Two entries, 5 "ab" = "xy" and 9 "c" = "", as the writer lays them out:
// records start at 13, 29 and 41; names at 41 and 51; the file ends at 60.
QByteArray twoEntries()
{
    return header(2) + valueRecord(5, QStringLiteral("xy")) + valueRecord(9, QString()) + nameRecord(5, "ab")
           + nameRecord(9, "c");
}

} // namespace

class TestStf : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void read_data();
    void read();
    void readError_data();
    void readError();
    void readCutShort_data();
    void readCutShort();
    void write_data();
    void write();
    void writeRefusal_data();
    void writeRefusal();
    void rewrite_data();
    void rewrite();
    void namesByteExact_data();
    void namesByteExact();
    void roundTrip_data();
    void roundTrip();
    void keptInFile_data();
    void keptInFile();
};

void TestStf::read_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("largestIndex");

    QTest::newRow("one entry of 37 bytes")
        << QByteArray::fromHex("CDAB0000 01 02000000 01000000 03000000 FFFFFFFF 01000000 7800 03000000 02000000 6162")
        << QStringList{row("    3", "ab", "x", 3)} << 3;
    QTest::newRow("empty table") << header(0) << QStringList{} << 1;
    QTest::newRow("no file bytes") << QByteArray() << QStringList{} << 1;
    QTest::newRow("shorter than the header") << header(3).left(12) << QStringList{} << 1;
    QTest::newRow("entry count without records") << header(5) << QStringList{} << 1;
    QTest::newRow("ends after the value records")
        << header(2) + valueRecord(1, "a") + valueRecord(2, "b")
        << QStringList{row("    1", "", "a", 1), row("    2", "", "b", 2)} << 2;
    QTest::newRow("CR LF becomes <br>") << header(1) + valueRecord(1, "a\r\nb") + nameRecord(1, "n")
                                        << QStringList{row("    1", "n", "a<br>b", 1)} << 1;
    QTest::newRow("lone LF and lone CR stay")
        << header(1) + valueRecord(1, "a\nb\rc\n\r") << QStringList{row("    1", "", "a\nb\rc\n\r", 1)} << 1;
    QTest::newRow("<BR> in the file is text")
        << header(1) + valueRecord(1, "a<BR>b") << QStringList{row("    1", "", "a<BR>b", 1)} << 1;
    QTest::newRow("names matched by index in another order")
        << header(3) + valueRecord(1, "a") + valueRecord(2, "b") + valueRecord(3, "c") + nameRecord(3, "three")
               + nameRecord(1, "one") + nameRecord(2, "two")
        << QStringList{row("    1", "one", "a", 1), row("    2", "two", "b", 2), row("    3", "three", "c", 3)} << 3;
    QTest::newRow("a later name record replaces the name")
        << header(1) + valueRecord(4, "v") + nameRecord(4, "old") + nameRecord(4, "new")
        << QStringList{row("    4", "new", "v", 4)} << 4;
    QTest::newRow("double-byte name") << header(1) + valueRecord(1, "v") + nameRecord(1, "\x96\xBC\x91\x4F")
                                      << QStringList{row("    1", "名前", "v", 1)} << 1;
    QTest::newRow("empty name needs no row")
        << header(1) + valueRecord(1, "a") + nameRecord(77, "") << QStringList{row("    1", "", "a", 1)} << 77;
    QTest::newRow("empty value") << header(1) + valueRecord(1, QString()) + nameRecord(1, "n")
                                 << QStringList{row("    1", "n", "", 1)} << 1;
    QTest::newRow("40000 is -25536") << header(1) + valueRecord(40000, "v") + nameRecord(40000, "n")
                                     << QStringList{row("-25536", "n", "v", -25536)} << 1;
    QTest::newRow("negative index") << header(1) + valueRecord(quint32(-5), "v")
                                    << QStringList{row("   -5", "", "v", -5)} << 1;
    QTest::newRow("upper bytes of the fields ignored")
        << header(0xFFFF0001) + field(0xABCD0007) + field(0) + field(0x12340001) + utf16("q")
               + nameRecordWithLength(0x00010007, 0xFFFF0001, "z")
        << QStringList{row("    7", "z", "q", 7)} << 7;
    QTest::newRow("magic, flag, next index and key unchecked")
        << QByteArray("\x01\x02\x03\x04\x05", 5) + field(1234) + field(1) + valueRecord(2, "v", 0x12345678)
        << QStringList{row("    2", "", "v", 2)} << 2;
    QTest::newRow("negative entry count: every record a name record")
        << header(0xFFFF) + nameRecord(3, "") + nameRecord(4, "") << QStringList{} << 4;
    QTest::newRow("largest index from name records too")
        << header(1) + valueRecord(2, "v") + nameRecord(2, "n") + nameRecord(300, "")
        << QStringList{row("    2", "n", "v", 2)} << 300;
    QTest::newRow("largest index 32767") << header(1) + valueRecord(32767, "v")
                                         << QStringList{row("32767", "", "v", 32767)} << 32767;
    QTest::newRow("lone surrogates kept")
        << header(1) + valueRecord(1, QString(QChar(0xD800)) + QChar(0xDFFF))
        << QStringList{row("    1", "", QString(QChar(0xD800)) + QChar(0xDFFF), 1)} << 1;
    const QString longValue(32767, QLatin1Char('w'));
    QTest::newRow("value of 32767 code units")
        << header(1) + valueRecord(1, longValue) << QStringList{row("    1", "", longValue, 1)} << 1;
}

void TestStf::read()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, rows);
    QFETCH(int, largestIndex);

    const ReadOutcome outcome = readStf(file);
    QVERIFY2(outcome.ok, qPrintable(outcome.error));
    QCOMPARE(rowsOf(outcome.rows), rows);
    QCOMPARE(outcome.largestIndex, largestIndex);
}

void TestStf::readError_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("errorParts");
    QTest::addColumn<int>("rowsKept");

    QTest::newRow("duplicate index") << header(3) + valueRecord(1, "a") + valueRecord(5, "b") + valueRecord(5, "c")
                                     << QStringList{"オフセット 41 の", "インデックス 5 ", "2 番目の値レコード"} << 2;
    // The first row stands at position 0: it is a row all the same.
    QTest::newRow("duplicate of the first record") << header(2) + valueRecord(5, "a") + valueRecord(5, "b")
                                                   << QStringList{"オフセット 27 の", "1 番目の値レコード"} << 1;
    QTest::newRow("name record without row")
        << header(1) + valueRecord(1, "a") + nameRecord(1, "one") + nameRecord(2, "two")
        << QStringList{"オフセット 38 の", "インデックス 2 ", "値レコードがありません"} << 1;
    QTest::newRow("negative value length") << header(2) + valueRecord(1, "a") + valueRecordWithLength(2, 0xFFFF, "zz")
                                           << QStringList{"オフセット 27 の", "インデックス 2", "長さ -1 "} << 1;
    QTest::newRow("value length -32768") << header(1) + valueRecordWithLength(3, 0x8000)
                                         << QStringList{"オフセット 13 の", "長さ -32768 "} << 0;
    QTest::newRow("negative name length") << header(1) + valueRecord(1, "a") + nameRecordWithLength(1, 0xFFFE, "zz")
                                          << QStringList{"オフセット 27 の名前レコード", "長さ -2 "} << 1;
    QTest::newRow("value longer than the file")
        << header(1) + valueRecordWithLength(1, 16384, QByteArray(100, 'x'))
        << QStringList{"オフセット 13 の", "途切れ", "32780 バイト", "112 バイト"} << 0;
}

void TestStf::readError()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, errorParts);
    QFETCH(int, rowsKept);

    const ReadOutcome outcome = readStf(file);
    QVERIFY(!outcome.ok);
    checkErrorNames(outcome.error, errorParts);
    QCOMPARE(outcome.rows.count(), rowsKept);
}

void TestStf::readCutShort_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("errorOffset");
    QTest::addColumn<int>("rowsKept");

    // Every cut of the file: at a record start it is the end of the table,
    // anywhere else the record that it cuts is named.
    const QByteArray whole = twoEntries();
    const QList<int> recordStarts{13, 29, 41, 51, int(whole.size())};
    for (int cut = 0; cut <= whole.size(); ++cut) {
        int errorOffset = -1;
        if (cut > 13 && !recordStarts.contains(cut)) {
            for (int start : recordStarts) {
                if (start < cut)
                    errorOffset = start;
            }
        }
        const int rowsKept = cut >= 41 ? 2 : cut >= 29 ? 1 : 0;
        QTest::addRow("cut at %d", cut) << whole.left(cut) << errorOffset << rowsKept;
    }
}

void TestStf::readCutShort()
{
    QFETCH(QByteArray, file);
    QFETCH(int, errorOffset);
    QFETCH(int, rowsKept);

    const ReadOutcome outcome = readStf(file);
    QCOMPARE(outcome.ok, errorOffset < 0);
    if (errorOffset >= 0)
        checkErrorNames(outcome.error, {QStringLiteral("オフセット %1 の").arg(errorOffset), "途切れ"});
    QCOMPARE(outcome.rows.count(), rowsKept);
}

void TestStf::write_data()
{
    QTest::addColumn<Table>("table");
    QTest::addColumn<QByteArray>("file");

    QTest::newRow("one entry of 37 bytes")
        << Table{"    3", "ab", "x"}
        << QByteArray::fromHex("CDAB0000 01 02000000 01000000 03000000 FFFFFFFF 01000000 7800 03000000 02000000 6162");
    QTest::newRow("empty table") << Table{} << QByteArray::fromHex("CDAB0000 01 01000000 00000000");
    QTest::newRow("next index is the count + 1")
        << Table{"   10", "a", "", "   20", "b", "", "   30", "c", ""}
        << header(3, 4) + valueRecord(10, "") + valueRecord(20, "") + valueRecord(30, "") + nameRecord(10, "a")
               + nameRecord(20, "b") + nameRecord(30, "c");
    QTest::newRow("<br> becomes CR LF") << Table{"    1", "", "a<br>b"}
                                        << header(1) + valueRecord(1, "a\r\nb") + nameRecord(1, "");
    QTest::newRow("<BR> stays text") << Table{"    1", "", "a<BR>b"}
                                     << header(1) + valueRecord(1, "a<BR>b") + nameRecord(1, "");
    QTest::newRow("lone LF stays") << Table{"    1", "", "a\nb"}
                                   << header(1) + valueRecord(1, "a\nb") + nameRecord(1, "");
    QTest::newRow("negative index") << Table{"   -5", "n", "v"}
                                    << header(1) + valueRecord(0xFFFB, "v") + nameRecord(0xFFFB, "n");
    QTest::newRow("-25536 as read") << Table{"-25536", "n", "v"}
                                    << header(1) + valueRecord(40000, "v") + nameRecord(40000, "n");
    QTest::newRow("typed forms of the index")
        << Table{"  007", "", "", "  1e3", "", "", "  2.5", "", "", "+12", "", ""}
        << header(4) + valueRecord(7, "") + valueRecord(1000, "") + valueRecord(2, "") + valueRecord(12, "")
               + nameRecord(7, "") + nameRecord(1000, "") + nameRecord(2, "") + nameRecord(12, "");
    QTest::newRow("display order, not index order")
        << Table{"    9", "", "", "    1", "", ""}
        << header(2) + valueRecord(9, "") + valueRecord(1, "") + nameRecord(9, "") + nameRecord(1, "");
    QTest::newRow("name length counts bytes") << Table{"    1", QStringLiteral("名前ｱ"), ""}
                                              << header(1) + valueRecord(1, "") + nameRecord(1, "\x96\xBC\x91\x4F\xB1");
    QTest::newRow("half-width katakana is one byte in 932")
        << Table{"    1", QStringLiteral("ｱｲ"), ""} << header(1) + valueRecord(1, "") + nameRecord(1, "\xB1\xB2");
}

void TestStf::write()
{
    QFETCH(Table, table);
    QFETCH(QByteArray, file);

    EntryList rows;
    fill(rows, table);
    StfWriter writer;
    QByteArray out;
    QString error;
    QVERIFY2(writer.write(rows, testCodePage(), out, &error), qPrintable(error));
    QCOMPARE(out.toHex(' '), file.toHex(' '));
}

void TestStf::writeRefusal_data()
{
    QTest::addColumn<Table>("table");
    QTest::addColumn<QByteArray>("codePageName");
    QTest::addColumn<QStringList>("errorParts");

    QTest::newRow("32767 entries") << manyRows(32767) << QByteArray("windows-932")
                                   << QStringList{"32767 件", "32766 件"};
    QTest::newRow("value of 32768 code units")
        << Table{"    1", "", "", "    2", "", QString(32768, QLatin1Char('v'))} << QByteArray("windows-932")
        << QStringList{"2 番目の項目", "インデックス 2", "32768 文字"};
    QTest::newRow("value of 32768 code units after <br>")
        << Table{"    1", "", QStringLiteral("<br>").repeated(16384)} << QByteArray("windows-932")
        << QStringList{"1 番目の項目", "32768 文字"};
    QTest::newRow("name of 32768 characters")
        << Table{"    1", QString(32768, QLatin1Char('n')), ""} << QByteArray("windows-932")
        << QStringList{"1 番目の項目", "32768 バイト"};
    QTest::newRow("name of 16384 double-byte characters")
        << Table{"    1", QStringLiteral("名").repeated(16384), ""} << QByteArray("windows-932")
        << QStringList{"1 番目の項目", "32768 バイト"};
    QTest::newRow("Hangul in 932") << Table{"    1", "ok", "", "   12", QStringLiteral("a가"), ""}
                                   << QByteArray("windows-932")
                                   << QStringList{"2 番目の項目（インデックス 12）の名前の 2 文字目 U+AC00",
                                                  "windows-932"};
    QTest::newRow("stand-in that would read back as a character")
        << Table{"    1", QString(QChar(0xF781)) + u'@', ""} << QByteArray("windows-932")
        << QStringList{"1 番目の項目", "1 文字目 U+F781"};
    QTest::newRow("Japanese in 1252") << Table{"    1", QStringLiteral("é€あ"), ""} << QByteArray("windows-1252")
                                      << QStringList{"3 文字目", "U+3042", "windows-1252"};
    QTest::newRow("character beyond 16 bits")
        << Table{"    1", QStringLiteral("x\U0001F600"), ""} << QByteArray("windows-932") << QStringList{"U+1F600"};
    QTest::newRow("index text not a number") << Table{"    1", "", "", "abc", "", ""} << QByteArray("windows-932")
                                             << QStringList{"2 番目の項目", "「abc」", "数値ではありません"};
    QTest::newRow("empty index text") << Table{"", "", ""} << QByteArray("windows-932")
                                      << QStringList{"1 番目の項目", "数値ではありません"};
    QTest::newRow("index 32768") << Table{"32768", "", ""} << QByteArray("windows-932")
                                 << QStringList{"「32768」", "範囲"};
    QTest::newRow("index 1e5") << Table{"  1e5", "", ""} << QByteArray("windows-932") << QStringList{"「1e5」", "範囲"};
    QTest::newRow("same index twice") << Table{"    1", "", "", "    7", "", "", "    7", "", ""}
                                      << QByteArray("windows-932") << QStringList{"2 番目と 3 番目", "どちらも 7 "};
    QTest::newRow("7 and 007") << Table{"    7", "", "", "  007", "", ""} << QByteArray("windows-932")
                               << QStringList{"1 番目と 2 番目", "どちらも 7 "};
    QTest::newRow("7 unpadded and padded") << Table{"7", "", "", "    7", "", ""} << QByteArray("windows-932")
                                           << QStringList{"1 番目と 2 番目", "どちらも 7 "};
    QTest::newRow("2.5 rounds to 2") << Table{"    2", "", "", "    5", "", "", "  2.5", "", ""}
                                     << QByteArray("windows-932") << QStringList{"1 番目と 3 番目", "どちらも 2 "};
}

void TestStf::writeRefusal()
{
    QFETCH(Table, table);
    QFETCH(QByteArray, codePageName);
    QFETCH(QStringList, errorParts);

    EntryList rows;
    fill(rows, table);
    StfWriter writer;
    QByteArray out("untouched");
    QString error;
    QVERIFY(!writer.write(rows, testCodePage(codePageName), out, &error));
    checkErrorNames(error, errorParts);
    QCOMPARE(out, QByteArray("untouched"));
}

void TestStf::rewrite_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("key, magic, flag and next index set anew")
        << QByteArray("\x01\x02\x03\x04\x05", 5) + field(1234) + field(1) + valueRecord(2, "v", 0x12345678)
               + nameRecord(2, "n")
        << header(1) + valueRecord(2, "v") + nameRecord(2, "n");
    QTest::newRow("upper bytes written as zero")
        << header(0x00010001) + valueRecord(0xFFFF0003, "") + nameRecordWithLength(0x12340003, 0x00020001, "z")
        << header(1) + valueRecord(3, "") + nameRecord(3, "z");
    QTest::newRow("40000 written back as 40000") << header(1) + valueRecord(40000, "v") + nameRecord(40000, "n")
                                                 << header(1) + valueRecord(40000, "v") + nameRecord(40000, "n");
    QTest::newRow("names in value order, missing ones empty")
        << header(3) + valueRecord(1, "") + valueRecord(2, "") + valueRecord(3, "") + nameRecord(3, "c")
               + nameRecord(1, "a")
        << header(3) + valueRecord(1, "") + valueRecord(2, "") + valueRecord(3, "") + nameRecord(1, "a")
               + nameRecord(2, "") + nameRecord(3, "c");
    QTest::newRow("CR LF and <br> both written as CR LF")
        << header(1) + valueRecord(1, "a\r\nb<br>c") << header(1) + valueRecord(1, "a\r\nb\r\nc") + nameRecord(1, "");
    const QString longValue(32767, QLatin1Char('w'));
    QTest::newRow("value of 32767 code units") << header(1) + valueRecord(1, longValue) + nameRecord(1, "")
                                               << header(1) + valueRecord(1, longValue) + nameRecord(1, "");
    const QByteArray longName(32767, 'n');
    QTest::newRow("name of 32767 bytes") << header(1) + valueRecord(1, "") + nameRecord(1, longName)
                                         << header(1) + valueRecord(1, "") + nameRecord(1, longName);
}

void TestStf::rewrite()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, written);

    const ReadOutcome outcome = readStf(file);
    QVERIFY2(outcome.ok, qPrintable(outcome.error));
    StfWriter writer;
    QByteArray out;
    QString error;
    QVERIFY2(writer.write(outcome.rows, testCodePage(), out, &error), qPrintable(error));
    QCOMPARE(out.toHex(' '), written.toHex(' '));
}

void TestStf::namesByteExact_data()
{
    QTest::addColumn<QByteArray>("codePageName");
    QTest::addColumn<QByteArray>("file");

    QByteArray everyByte;
    for (int byte = 0; byte < 256; ++byte)
        everyByte.append(char(byte));
    QByteArray eachAlone = header(256);
    for (int byte = 0; byte < 256; ++byte)
        eachAlone += valueRecord(quint32(byte), "");
    for (int byte = 0; byte < 256; ++byte)
        eachAlone += nameRecord(quint32(byte), QByteArray(1, char(byte)));
    // Lead and trail bytes of 932 in every order, also a lead byte last.
    const QByteArray pairs("\x82\xA0\xA0\x82\x81\x81\x81\x40\xE0\xFC\x81", 11);

    for (const QByteArray &name : {QByteArray("windows-932"), QByteArray("windows-1252"), QByteArray("UTF-8")}) {
        QTest::addRow("%s: every byte in one name", name.constData())
            << name << header(1) + valueRecord(1, "") + nameRecord(1, everyByte);
        QTest::addRow("%s: every byte as a name of its own", name.constData()) << name << eachAlone;
        QTest::addRow("%s: lead and trail bytes", name.constData())
            << name << header(1) + valueRecord(1, "") + nameRecord(1, pairs);
    }
}

void TestStf::namesByteExact()
{
    QFETCH(QByteArray, codePageName);
    QFETCH(QByteArray, file);

    const CodePage page = testCodePage(codePageName);
    const ReadOutcome outcome = readStf(file, page);
    QVERIFY2(outcome.ok, qPrintable(outcome.error));
    StfWriter writer;
    QByteArray out;
    QString error;
    QVERIFY2(writer.write(outcome.rows, page, out, &error), qPrintable(error));
    QCOMPARE(out.toHex(' '), file.toHex(' '));
}

void TestStf::roundTrip_data()
{
    QTest::addColumn<Table>("table");
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("empty") << Table{} << QStringList{};
    QTest::newRow("rows in display order with line breaks")
        << Table{"   30", "thirty", "a<br>b<br>", "    1", "one", "", "  200", "", "x\ny\rz"}
        << QStringList{row("   30", "thirty", "a<br>b<br>", 30), row("    1", "one", "", 1),
                       row("  200", "", "x\ny\rz", 200)};
    QTest::newRow("typed index texts come back canonical")
        << Table{"  007", "", "", "  1e3", "", "", "   -0", "", ""}
        << QStringList{row("    7", "", "", 7), row(" 1000", "", "", 1000), row("    0", "", "", 0)};
    QTest::newRow("extremes of the index")
        << Table{"-32768", "", "", "32767", "", "", "-25536", "", "", "-9999", "", ""}
        << QStringList{row("-32768", "", "", -32768), row("32767", "", "", 32767), row("-25536", "", "", -25536),
                       row("-9999", "", "", -9999)};
    QTest::newRow("characters beyond 16 bits in a value")
        << Table{"    1", "", QStringLiteral("\U0001F600<BR>")}
        << QStringList{row("    1", "", QStringLiteral("\U0001F600<BR>"), 1)};
    QStringList many;
    for (int i = 1; i <= 32766; ++i)
        many << row(QString::number(i).rightJustified(5), "n", "v", qint16(i));
    QTest::newRow("32766 entries") << manyRows(32766) << many;
}

void TestStf::roundTrip()
{
    QFETCH(Table, table);
    QFETCH(QStringList, rows);

    EntryList written;
    fill(written, table);
    StfWriter writer;
    QByteArray out;
    QString error;
    QVERIFY2(writer.write(written, testCodePage(), out, &error), qPrintable(error));
    const ReadOutcome outcome = readStf(out);
    QVERIFY2(outcome.ok, qPrintable(outcome.error));
    QCOMPARE(rowsOf(outcome.rows), rows);
}

void TestStf::keptInFile_data()
{
    QTest::addColumn<QString>("fileValue");
    QTest::newRow("plain") << QStringLiteral("plain text");
    QTest::newRow("line breaks") << QStringLiteral("a\r\nb\r\n\r\nc");
    QTest::newRow("only a line break") << QStringLiteral("\r\n");
    QTest::newRow("lone CR and LF") << QStringLiteral("\ra\nb\r");
    QTest::newRow("CR at the end after a break") << QStringLiteral("x\r\n\r");
    QTest::newRow("literal br") << QStringLiteral("<br>x");
    QTest::newRow("literal br at the end") << QStringLiteral("a\r\nb<br>");
    QTest::newRow("literal br far in") << QString(5000, u'x') + QStringLiteral("\r\n<br>\r\n");
    QTest::newRow("line breaks far in") << QString(5000, u'x') + QStringLiteral("\r\n<b\r\n");
    QTest::newRow("CR byte inside characters") << QStringLiteral("\u0D0D\u300D\r\n\U0001F600");
}

// A value that stays in the file's bytes, read where its characters are
// aligned and where they are not, is in every respect the value read as a
// copy, and is saved as that copy would be.
void TestStf::keptInFile()
{
    QFETCH(QString, fileValue);
    const QByteArray image = header(1) + valueRecord(1, fileValue);
    const QString expected = listValueFromUtf16(utf16(fileValue).constData(), fileValue.size());
    for (const qsizetype shift : {0, 1}) {
        QByteArray file(shift + image.size(), Qt::Uninitialized);
        std::memcpy(file.data() + shift, image.constData(), size_t(image.size()));
        file.remove(0, shift);
        StfReader reader;
        EntryList rows;
        qint16 largest = 1;
        qint64 errorOffset = -1;
        QString error;
        QVERIFY(reader.readKeeping(file, testCodePage(), rows, largest, &errorOffset, &error));
        const ValueText &value = rows.at(0).value;
        QCOMPARE(value.toString(), expected);
        QCOMPARE(value.size(), expected.size());
        QVERIFY(value == expected);
        for (qsizetype n = 0; n <= expected.size(); ++n)
            QCOMPARE(value.left(n), expected.first(n));
        QString appended = QStringLiteral(">");
        value.appendTo(appended);
        QCOMPARE(appended, QStringLiteral(">") + expected);
        // As saved: the file's own units, but "<br>" typed in it becomes CR LF.
        const QString saved = lineBreaksFromList(expected);
        QCOMPARE(value.fileLength(), saved.size());
        QByteArray written(2 * value.fileLength(), Qt::Uninitialized);
        value.writeUtf16(written.data());
        QCOMPARE(written, utf16(saved));
    }
}

QTEST_GUILESS_MAIN(TestStf)
#include "tst_stf.moc"
