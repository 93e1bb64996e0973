// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/CodePage.h"
#include "TestTables.h"
#include "core/model/EntryList.h"
#include "core/model/IndexText.h"
#include "core/model/TextFields.h"
#include "core/formats/TextReader.h"
#include "core/formats/TextWriter.h"

#include <QTest>

using namespace wendaro;

namespace {

// Rows as "index text|name|value", for comparing whole tables at once.
QStringList rowsOf(const EntryList &rows)
{
    QStringList out;
    for (qsizetype p = 0; p < rows.count(); ++p)
        out << rows.at(p).indexText + u'|' + rows.at(p).name + u'|' + rows.at(p).value.toString();
    return out;
}

void appendRow(EntryList &rows, qint16 index, const QString &name, const QString &value)
{
    const qsizetype p = rows.append(indexText(index));
    rows.setName(p, name);
    rows.setValue(p, value);
}

} // namespace

class TestText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void read_data();
    void read();
    void write_data();
    void write();
    void refusals_data();
    void refusals();
    void valuesInTheFileActAsDecoded_data();
    void valuesInTheFileActAsDecoded();
    void undecodableBytesSurvive();
    void longTableWrittenAsOneText();
};

void TestText::read_data()
{
    // clang-format off
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("outputFile");
    QTest::addColumn<QString>("memo");
    QTest::addColumn<int>("largest");
    QTest::addColumn<QString>("errorPart");

    const QByteArray h = "Index\tName\tValue\r\n";
    QTest::newRow("empty file") << QByteArray() << true << QStringList() << "" << "" << 1 << "";
    QTest::newRow("header only") << h << true << QStringList() << "" << "" << 1 << "";
    QTest::newRow("entries, no final line end")
        << h + "1\tgreeting\tHello<br>World\r\n12\tfarewell\tBye" << true
        << QStringList{"    1|greeting|Hello<br>World", "   12|farewell|Bye"} << "" << "" << 12 << "";
    QTest::newRow("without header the first entry is lost")
        << QByteArray("5\ta\tb\r\n6\tc\td\r\n") << true << QStringList{"    6|c|d"} << "" << "" << 6 << "";
    QTest::newRow("blank and space lines skipped")
        << h + "\r\n   \r\n7\ta\tb\r\n" << true << QStringList{"    7|a|b"} << "" << "" << 7 << "";
    QTest::newRow("fields after the third dropped")
        << h + "5\ta\tb\tc\r\n" << true << QStringList{"    5|a|b"} << "" << "" << 5 << "";
    QTest::newRow("empty name and value")
        << h + "5\t\t\r\n" << true << QStringList{"    5||"} << "" << "" << 5 << "";
    QTest::newRow("007 and spaces around the index")
        << h + "007\ta\tb\r\n  8 \tc\td\r\n" << true << QStringList{"    7|a|b", "    8|c|d"} << "" << "" << 8
        << "";
    QTest::newRow("fractions round halves to even")
        << h + "2.5\ta\tb\r\n" << true << QStringList{"    2|a|b"} << "" << "" << 2 << "";
    QTest::newRow("repeated indexes give a row each")
        << h + "5\ta\tb\r\n5\tc\td\r\n" << true << QStringList{"    5|a|b", "    5|c|d"} << "" << "" << 5 << "";
    QTest::newRow("negative and six-character index")
        << h + "-5\ta\tb\r\n-25536\tc\td\r\n" << true << QStringList{"   -5|a|b", "-25536|c|d"} << "" << ""
        << 1 << "";
    QTest::newRow("directives, last wins, case of >file")
        << h + ">file  a.stf  \r\n>FILE x.stf\r\n>//  two spaces\r\n" << true << QStringList() << "x.stf"
        << "  two spaces" << 1 << "";
    QTest::newRow(">file without the space")
        << h + ">filex.stf\r\n" << true << QStringList() << "x.stf" << "" << 1 << "";
    QTest::newRow("directive after leading spaces")
        << h + "   >//memo\r\n" << true << QStringList() << "" << "memo" << 1 << "";
    QTest::newRow("other text ignored")
        << h + "Index\tName\tValue\r\n# note\r\n>/ not a memo\r\n" << true << QStringList() << "" << "" << 1
        << "";
    QTest::newRow("a lone CR ends a line")
        << QByteArray("Index\tName\tValue\r3\ta\tb\r") << true << QStringList{"    3|a|b"} << "" << "" << 3 << "";
    QTest::newRow("LF-only file keeps its directives")
        << QByteArray("Index\tName\tValue\n>file  x.stf \n  >// memo \n1\ta\tb\n2\tc\td\n") << true
        << QStringList{"    1|a|b", "    2|c|d"} << "x.stf" << " memo " << 2 << "";
    QTest::newRow("directive in an LF piece of a CR LF file")
        << h + "1\ta\tb\n>FILE y.stf\r\n" << true << QStringList{"    1|a|b"} << "y.stf" << "" << 1 << "";
    QTest::newRow("Japanese in the code page")
        << h + "1\t\xb1\xb2\t\x82\xa0\x82\xa2\r\n" << true << QStringList{QStringLiteral("    1|ｱｲ|あい")} << ""
        << "" << 1 << "";

    QTest::newRow("two fields: row kept with its name, then error")
        << h + "4\tok\tv\r\n5\ta\r\n6\tb\tc\r\n" << false << QStringList{"    4|ok|v", "    5|a|"} << "" << ""
        << 5 << "3 行目";
    QTest::newRow("one field") << h + "5\r\n" << false << QStringList{"    5||"} << "" << "" << 5 << "2 行目";
    QTest::newRow("index out of range") << h + "1\ta\tb\r\n40000\ta\tb\r\n" << false << QStringList{"    1|a|b"}
                                        << "" << "" << 1 << "3 行目のインデックス「40000」";
    QTest::newRow("error in an LF piece names the piece")
        << QByteArray("Index\tName\tValue\n1\ta\n") << false << QStringList{"    1|a|"} << "" << "" << 1
        << "2 番目";
    // clang-format on
}

void TestText::read()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, ok);
    QFETCH(QStringList, rows);
    QFETCH(QString, outputFile);
    QFETCH(QString, memo);
    QFETCH(int, largest);
    QFETCH(QString, errorPart);

    EntryList list;
    TextFields fields;
    qint16 largestIndex = 1;
    qint64 errorLine = -1;
    QString error;
    QCOMPARE(TextReader().read(file, testCodePage(), list, fields, largestIndex, &errorLine, &error), ok);
    QCOMPARE(rowsOf(list), rows);
    QCOMPARE(fields.outputFile, outputFile);
    QCOMPARE(fields.memo, memo);
    QCOMPARE(int(largestIndex), largest);
    QVERIFY2(error.contains(errorPart), qPrintable(error));
    QCOMPARE(error.isEmpty(), ok);
    for (qsizetype p = 0; p < list.count(); ++p)
        QVERIFY(!list.at(p).key);

    // The file's decoded text reads the same, to the line of an error.
    EntryList fromText;
    TextFields textFields;
    qint64 textErrorLine = -1;
    QString textError;
    QCOMPARE(TextReader().read(testCodePage().decode(file), fromText, textFields, largestIndex, &textErrorLine,
                               &textError),
             ok);
    QCOMPARE(rowsOf(fromText), rows);
    QCOMPARE(textErrorLine, errorLine);
    QCOMPARE(textError, error);
}

void TestText::valuesInTheFileActAsDecoded_data()
{
    QTest::addColumn<QByteArray>("codePage");
    QTest::addColumn<QByteArray>("value");

    QTest::newRow("breaks at both ends and side by side") << QByteArray("windows-932") << QByteArray("<br>a<br><br>");
    QTest::newRow("almost breaks") << QByteArray("windows-932") << QByteArray("<b<br>r><BR><br");
    QTest::newRow("pairs around a break") << QByteArray("windows-932") << QByteArray("\x82\xa0<br>\x88\x9f");
    QTest::newRow("trail bytes that are letters") << QByteArray("windows-932") << QByteArray("\x83\x62\x83\x72r>");
    QTest::newRow("stand-ins, a lone lead byte last") << QByteArray("windows-932") << QByteArray("\x80\xa0\xfd\x82");
    QTest::newRow("non-canonical pair") << QByteArray("windows-932") << QByteArray("\xed\x40<br>");
    QTest::newRow("UTF-8 of four bytes") << QByteArray("UTF-8") << QByteArray("a\xf0\x9f\x98\x80<br>\xe3\x81\x82");
    QTest::newRow("UTF-8 broken") << QByteArray("UTF-8") << QByteArray("\xe3\x81<br>\xff\xc3");
}

void TestText::valuesInTheFileActAsDecoded()
{
    // A value kept in the file's bytes answers as the decoded value would,
    // and is written into a binary file as it would be.
    QFETCH(QByteArray, codePage);
    QFETCH(QByteArray, value);
    QString error;
    const std::optional<CodePage> page = CodePage::open(codePage, &error);
    QVERIFY2(page, qPrintable(error));
    EntryList list;
    TextFields fields;
    qint16 largest = 1;
    qint64 errorLine = -1;
    QVERIFY(TextReader().read("Index\tName\tValue\r\n1\tn\t" + value + "\r\n", *page, list, fields, largest, &errorLine,
                              &error));
    const ValueText &inFile = list.at(0).value;
    const ValueText decoded(page->decode(value));
    QCOMPARE(inFile.toString(), decoded.toString());
    QCOMPARE(inFile.size(), decoded.size());
    QCOMPARE(inFile.fileLength(), decoded.fileLength());
    QVERIFY(inFile.fileLengthAtMost() >= inFile.fileLength());
    QVERIFY(inFile == decoded && decoded == inFile);
    for (qsizetype count = 0; count <= decoded.size(); ++count)
        QCOMPARE(inFile.left(count), decoded.left(count));
    // At an odd address, as in a file being written.
    QByteArray a(1 + 2 * inFile.fileLengthAtMost(), '\0');
    QByteArray b(1 + 2 * decoded.fileLength(), '\0');
    a.truncate(inFile.writeUtf16(a.data() + 1) - a.constData());
    b.truncate(decoded.writeUtf16(b.data() + 1) - b.constData());
    QCOMPARE(a, b);
    const std::optional<QByteArrayView> stands = inFile.bytesIn(*page);
    QVERIFY(stands && *stands == value);
}

void TestText::write_data()
{
    // clang-format off
    QTest::addColumn<QString>("outputFile");
    QTest::addColumn<QString>("memo");
    QTest::addColumn<QByteArray>("file");

    const QByteArray rows = "1\tgreeting\tHello<br>World\r\n12\tfarewell\tBye\r\n";
    QTest::newRow("no fields") << "" << "" << "Index\tName\tValue\r\n" + rows;
    QTest::newRow("spaces only: no lines") << "   " << "  " << "Index\tName\tValue\r\n" + rows;
    QTest::newRow("output file trimmed, memo kept whole")
        << " C:\\out\\table.stf " << "  notes of 2 May"
        << "Index\tName\tValue\r\n>file C:\\out\\table.stf\r\n>//  notes of 2 May\r\n" + rows;
    // clang-format on
}

void TestText::write()
{
    QFETCH(QString, outputFile);
    QFETCH(QString, memo);
    QFETCH(QByteArray, file);

    EntryList list;
    appendRow(list, 1, QStringLiteral("greeting"), QStringLiteral("Hello<br>World"));
    appendRow(list, 12, QStringLiteral("farewell"), QStringLiteral("Bye"));
    QByteArray out;
    TextWriter writer;
    QString error;
    QVERIFY2(writer.write(list, {outputFile, memo}, testCodePage(), out, &error), qPrintable(error));
    QCOMPARE(out, file);

    // What was written reads back as it was.
    EntryList back;
    TextFields fields;
    qint16 largest = 1;
    qint64 errorLine = -1;
    QVERIFY(TextReader().read(out, testCodePage(), back, fields, largest, &errorLine, &error));
    QCOMPARE(rowsOf(back), rowsOf(list));
    QCOMPARE(fields.outputFile, QString(outputFile).trimmed());
    QCOMPARE(fields.memo, memo.trimmed().isEmpty() ? QString() : memo);
}

void TestText::refusals_data()
{
    // clang-format off
    QTest::addColumn<QString>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("memo");
    QTest::addColumn<QStringList>("errorParts");
    QTest::addColumn<int>("longRowsBefore"); // rows of 4000 characters before the row tested

    const QString seven = indexText(7);
    QTest::newRow("character outside the code page")
        << seven << "ok" << QStringLiteral("a\u00e9") << ""
        << QStringList{"2 番目の項目（インデックス 7）の値の 2 文字目", "U+00E9"} << 0;
    QTest::newRow("character outside the code page in the name")
        << seven << QStringLiteral("\U0001F600") << "" << "" << QStringList{"2 番目の項目", "名前", "U+1F600"} << 0;
    QTest::newRow("character outside the code page in the memo")
        << seven << "ok" << "" << QStringLiteral("x\u00e9") << QStringList{"メモ", "2 文字目", "U+00E9"} << 0;
    // Written a batch of lines at a time: the place is still counted from the file's start.
    QTest::newRow("character outside the code page after long rows")
        << seven << "ok" << QStringLiteral("a\u00e9") << "" << QStringList{"302 番目の項目（インデックス 7）の値の 2 文字目"} << 300;
    QTest::newRow("TAB in a name") << seven << "a\tb" << "" << "" << QStringList{"2 番目の項目", "名前", "TAB"} << 0;
    QTest::newRow("lone LF in a value") << seven << "" << "a\nb" << "" << QStringList{"値", "LF"} << 0;
    QTest::newRow("CR in the memo") << seven << "" << "" << "a\rb" << QStringList{"メモ", "CR"} << 0;
    QTest::newRow("TAB before the index")
        << "\t7" << "a" << "b" << "" << QStringList{"2 番目の項目のインデックスの 1 文字目に TAB"} << 0;
    QTest::newRow("TAB after the index")
        << " 8\t " << "a" << "b" << "" << QStringList{"2 番目の項目のインデックスの 2 文字目に TAB"} << 0;
    QTest::newRow("LF in the index") << "7\n8" << "a" << "b" << "" << QStringList{"インデックスの 2 文字目に LF"} << 0;
    QTest::newRow("index not a number") << "x7" << "a" << "b" << "" << QStringList{"インデックス「x7」は数値ではありません"} << 0;
    QTest::newRow("index out of range") << " 32768" << "a" << "b" << "" << QStringList{"「32768」", "範囲"} << 0;
    // clang-format on
}

void TestText::refusals()
{
    QFETCH(QString, index);
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(QString, memo);
    QFETCH(QStringList, errorParts);
    QFETCH(int, longRowsBefore);

    EntryList list;
    appendRow(list, 1, QStringLiteral("first"), QStringLiteral("fine"));
    for (int i = 0; i < longRowsBefore; ++i)
        appendRow(list, qint16(1000 + i), QStringLiteral("long"), QString(4000, u'x'));
    const qsizetype p = list.append(index);
    list.setName(p, name);
    list.setValue(p, value);
    QByteArray out = "untouched";
    TextWriter writer;
    QString error;
    QVERIFY(!writer.write(list, {QString(), memo}, testCodePage(), out, &error));
    QCOMPARE(out, QByteArray("untouched"));
    for (const QString &part : errorParts)
        QVERIFY2(error.contains(part), qPrintable(error));
    // Rows are not file lines: the header and the fields come before them.
    QVERIFY2(!error.contains(QStringLiteral("行目")), qPrintable(error));
}

void TestText::undecodableBytesSurvive()
{
    // A lead byte before a TAB, a lone lead byte at the end, bytes that stand
    // for nothing in code page 932, and a non-canonical pair.
    const QByteArray file = "Index\tName\tValue\r\n1\t\x82\tv\x80\xa0\xfd\xff\r\n2\t\xed\x40\t\x81";
    EntryList list;
    TextFields fields;
    qint16 largest = 1;
    qint64 errorLine = -1;
    QString error;
    QVERIFY(TextReader().read(file, testCodePage(), list, fields, largest, &errorLine, &error));
    QCOMPARE(list.count(), 2);
    QByteArray out;
    TextWriter writer;
    QVERIFY2(writer.write(list, fields, testCodePage(), out, &error), qPrintable(error));
    QCOMPARE(out, file + "\r\n");
}

void TestText::longTableWrittenAsOneText()
{
    // Several batches of lines, with characters of one and two bytes: the
    // bytes are those of the whole text encoded at once.
    EntryList list;
    for (int i = 0; i < 600; ++i)
        appendRow(list, qint16(i), QStringLiteral("名前%1").arg(i), QString(1500 + i, QChar(u"aあ\uFF61"[i % 3])));
    const TextFields fields{QStringLiteral("out.stf"), QStringLiteral("memo")};
    QByteArray whole;
    QCOMPARE(testCodePage().encode(TextWriter::layout(list, fields), whole), qsizetype(-1));
    QByteArray out;
    TextWriter writer;
    QString error;
    QVERIFY2(writer.write(list, fields, testCodePage(), out, &error), qPrintable(error));
    QCOMPARE(out.size(), whole.size());
    QVERIFY(out == whole);
}

QTEST_GUILESS_MAIN(TestText)
#include "tst_text.moc"
