// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/CodePage.h"
#include "core/document/DocumentFile.h"
#include "core/model/IndexText.h"
#include "TestFiles.h"
#include "TestTables.h"
#include "core/formats/FormatRegistry.h"
#include "core/model/Table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace wendaro;

namespace {

struct StfRecord
{
    qint16 index;
    QByteArray name;
    QString value;
};

void appendInt32(QByteArray &out, quint32 value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.append(char((value >> shift) & 0xFF));
}

// The file image of a table, laid out by hand so that a fault of the writer
// cannot hide one of the reader.
QByteArray stfImage(const QList<StfRecord> &records)
{
    QByteArray out = QByteArray::fromHex("cdab000001");
    appendInt32(out, quint32(records.size() + 1));
    appendInt32(out, quint32(records.size()));
    for (const StfRecord &r : records) {
        appendInt32(out, quint16(r.index));
        appendInt32(out, 0xFFFFFFFF);
        appendInt32(out, quint32(r.value.size()));
        for (const QChar c : r.value) {
            out.append(char(c.unicode() & 0xFF));
            out.append(char(c.unicode() >> 8));
        }
    }
    for (const StfRecord &r : records) {
        appendInt32(out, quint16(r.index));
        appendInt32(out, quint32(r.name.size()));
        out.append(r.name);
    }
    return out;
}

QByteArray textFile(const QList<int> &indexes)
{
    QByteArray out = "Index\tName\tValue\r\n";
    for (const int index : indexes)
        out += QByteArray::number(index) + "\tname\tvalue\r\n";
    return out;
}

QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

EntryList tableOf(const QList<Entry> &rows)
{
    EntryList list;
    for (const Entry &row : rows)
        list.append(row);
    return list;
}

} // namespace

class TestDocumentFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void formatByPath_data();
    void formatByPath();
    void unreadableFile_data();
    void unreadableFile();
    void nextIndex_data();
    void nextIndex();
    void rowsBeforeFormatErrorStay_data();
    void rowsBeforeFormatErrorStay();
    void readerStopsWhenAsked_data();
    void readerStopsWhenAsked();
    void savedEmptyWithoutEntries_data();
    void savedEmptyWithoutEntries();
    void refusedTableLeavesOldFile_data();
    void refusedTableLeavesOldFile();

private:
    QTemporaryDir m_dir;
};

void TestDocumentFile::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void TestDocumentFile::formatByPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("stf");

    QTest::newRow("upper case") << "C:/data/TABLE.STF" << true;
    QTest::newRow("mixed case") << "table.Stf" << true;
    QTest::newRow("extension alone") << ".stf" << true;
    QTest::newRow("folder with dots") << "/a.txt/b.stf" << true;
    QTest::newRow("stf then txt") << "table.stf.txt" << false;
    QTest::newRow("tsv") << "table.tsv" << false;
    QTest::newRow("no extension") << "table" << false;
    QTest::newRow("shorter than four") << "stf" << false;
    QTest::newRow("no dot") << "tablestf" << false;
    QTest::newRow("empty") << "" << false;
    // Case folding would turn the long s into an s; lower-casing does not.
    QTest::newRow("long s") << QStringLiteral("x.\u017Ftf") << false;
}

void TestDocumentFile::formatByPath()
{
    QFETCH(QString, path);
    QFETCH(bool, stf);
    QCOMPARE(FormatRegistry::forPath(path).shortName() == QLatin1String("stf"), stf);
}

void TestDocumentFile::unreadableFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("needsPermissions");
    QTest::addColumn<QString>("hint"); // more that the description says

    QTest::newRow("missing file") << "missing.stf" << false << "";
    QTest::newRow("missing folder") << "nowhere/t.txt" << false << "";
    QTest::newRow("folder") << "folder.stf" << false << "";
    QTest::newRow("through a file") << "plain.txt/t.stf" << false << "";
    QTest::newRow("no read permission") << "locked.stf" << true << "";
    QTest::newRow("name decoded from bytes that are not UTF-8") << QStringLiteral("a\uFFFD.stf") << false << "UTF-8";
}

void TestDocumentFile::unreadableFile()
{
    QFETCH(QString, name);
    QFETCH(bool, needsPermissions);
    QFETCH(QString, hint);
    if (needsPermissions && ::geteuid() == 0)
        QSKIP("permissions do not bind root");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.stf")));
    putFile(dir.filePath(QStringLiteral("plain.txt")), textFile({1}));
    putFile(dir.filePath(QStringLiteral("locked.stf")), stfImage({{1, "a", "b"}}));
    QVERIFY(QFile::setPermissions(dir.filePath(QStringLiteral("locked.stf")), {}));

    const QString path = dir.filePath(name);
    LoadedDocument result;
    QString error;
    QVERIFY(!loadDocument(path, testCodePage(), result, &error));
    QVERIFY(result.rows.isEmpty());
    QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
    QVERIFY2(error.contains(hint), qPrintable(error));
}

void TestDocumentFile::nextIndex_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("nextIndex");

    QTest::newRow("empty stf file") << "e.stf" << QByteArray() << 0 << 2;
    QTest::newRow("empty text file") << "e.txt" << QByteArray() << 0 << 2;
    QTest::newRow("header only") << "h.stf" << stfImage({}) << 0 << 2;
    QTest::newRow("index 0 only") << "z.stf" << stfImage({{0, "a", "b"}}) << 1 << 2;
    QTest::newRow("1, 7, 3") << "s.stf" << stfImage({{1, "", ""}, {7, "", ""}, {3, "", ""}}) << 3 << 8;
    QTest::newRow("negative only") << "n.stf" << stfImage({{-5, "", ""}, {-25536, "", ""}}) << 2 << 2;
    QTest::newRow("32766") << "a.stf" << stfImage({{32766, "", ""}}) << 1 << 32767;
    QTest::newRow("32767 stays") << "b.stf" << stfImage({{5, "", ""}, {32767, "x", "y"}}) << 2 << 32767;
    QTest::newRow("text 1, 7, 3") << "s.txt" << textFile({1, 7, 3}) << 3 << 8;
    QTest::newRow("text 32767 stays") << "b.txt" << textFile({32767, 2}) << 2 << 32767;
}

void TestDocumentFile::nextIndex()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, data);
    QFETCH(int, rows);
    QFETCH(int, nextIndex);

    const QString path = m_dir.filePath(name);
    putFile(path, data);
    LoadedDocument result;
    QString error;
    QVERIFY2(loadDocument(path, testCodePage(), result, &error), qPrintable(error));
    QCOMPARE(result.rows.count(), rows);
    QCOMPARE(int(result.nextIndex), nextIndex);
}

void TestDocumentFile::rowsBeforeFormatErrorStay_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("memo");

    QTest::newRow("stf duplicate index") << "d.stf" << stfImage({{4, "a", "b"}, {4, "c", "d"}}) << 1 << QString();
    QTest::newRow("stf cut short") << "c.stf" << stfImage({{1, "a", "bc"}, {2, "d", "ef"}}).chopped(5) << 2
                                   << QString();
    QTest::newRow("text with two fields")
        << "t.txt" << QByteArray("Index\tName\tValue\r\n>//kept\r\n1\ta\tb\r\n2\tc\r\n3\td\te\r\n") << 2 << "kept";
    QTest::newRow("text index overflow") << "o.txt" << QByteArray("h\r\n1\ta\tb\r\n32768\ta\tb\r\n") << 1 << QString();
}

void TestDocumentFile::rowsBeforeFormatErrorStay()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, data);
    QFETCH(int, rows);
    QFETCH(QString, memo);

    const QString path = m_dir.filePath(name);
    putFile(path, data);
    LoadedDocument result;
    QString error;
    QVERIFY(!loadDocument(path, testCodePage(), result, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(result.rows.count(), rows);
    QCOMPARE(result.fields.memo, memo);
}

void TestDocumentFile::readerStopsWhenAsked_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("stf") << "s.stf" << stfImage({{1, "a", "b"}, {2, "c", "d"}});
    QTest::newRow("text") << "t.txt" << QByteArray("h\r\n1\ta\tb\r\n2\tc\td\r\n");
}

void TestDocumentFile::readerStopsWhenAsked()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, data);
    LoadProgress progress;
    progress.cancel();
    Table table;
    table.progress = &progress;
    qint64 errorPlace = -1;
    QString error;
    QVERIFY(!FormatRegistry::forPath(name).readTable(data, testCodePage(), table, &errorPlace, &error));
    QCOMPARE(error, QString());
    QCOMPARE(errorPlace, -1);
    QCOMPARE(table.rows.count(), 0);
}

void TestDocumentFile::savedEmptyWithoutEntries_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("stf") << "new.stf";
    QTest::newRow("text") << "new.txt";
}

void TestDocumentFile::savedEmptyWithoutEntries()
{
    QFETCH(QString, name);
    const QString path = m_dir.filePath(name);
    putFile(path, "an old file that is replaced");
    QString error;
    const EntryList rows = tableOf({{indexText(1), QStringLiteral("a"), QStringLiteral("b"), {}}});
    QVERIFY2(saveDocument(path, rows, {QStringLiteral("out"), QStringLiteral("memo")}, false, testCodePage(), &error),
             qPrintable(error));
    QVERIFY(QFileInfo(path).isFile());
    QCOMPARE(QFileInfo(path).size(), 0);
}

void TestDocumentFile::refusedTableLeavesOldFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("codePageName");
    QTest::addColumn<QList<Entry>>("rows");

    QTest::newRow("stf duplicate index") << "dup.stf" << QByteArray("windows-932")
                                         << QList<Entry>{{indexText(1), "a", QString(), {}},
                                                         {indexTextFromTyped("001"), "b", QString(), {}}};
    QTest::newRow("stf index not numeric")
        << "num.stf" << QByteArray("windows-932") << QList<Entry>{{indexTextFromTyped("abc"), "a", QString(), {}}};
    QTest::newRow("stf name outside the code page")
        << "name.stf" << QByteArray("windows-932") << QList<Entry>{{indexText(1), QStringLiteral("가"), QString(), {}}};
    QTest::newRow("text character outside the code page")
        << "cp.txt" << QByteArray("windows-1252") << QList<Entry>{{indexText(1), "a", QStringLiteral("あ"), {}}};
}

void TestDocumentFile::refusedTableLeavesOldFile()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, codePageName);
    QFETCH(QList<Entry>, rows);

    const CodePage page = testCodePage(codePageName);
    QString error;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(name);
    const QByteArray old = stfImage({{9, "old", "file"}});
    putFile(path, old);

    QVERIFY(!saveDocument(path, tableOf(rows), {}, true, page, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(contents(path), old);
    QCOMPARE(namesIn(dir.path()), QStringList{name});
}

QTEST_GUILESS_MAIN(TestDocumentFile)
#include "tst_documentfile.moc"
