// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/EntryList.h"
#include "core/model/EntryListObserver.h"
#include "core/model/IndexText.h"
#include "core/text/FileUnitsLook.h"
#include "core/text/LineBreaks.h"

#include <QRandomGenerator>
#include <QTest>
#include <QtEndian>

#include <algorithm>
#include <numeric>

using namespace wendaro;

namespace {

// Records the notifications in order, as a view would receive them.
class RecordingObserver : public EntryListObserver
{
public:
    QStringList calls;
    QList<qsizetype> lastPermutation;

    void rowsAboutToBeReset() override { calls << QStringLiteral("aboutToReset"); }
    void rowsReset() override { calls << QStringLiteral("reset"); }
    void rowAboutToBeAppended(qsizetype p) override { calls << QStringLiteral("aboutToAppend %1").arg(p); }
    void rowAppended(qsizetype p) override { calls << QStringLiteral("appended %1").arg(p); }
    void rowChanged(qsizetype p) override { calls << QStringLiteral("changed %1").arg(p); }
    void rowsAboutToBeRemoved(qsizetype p, qsizetype n) override { calls << removal("aboutToRemove", p, n); }
    void rowsRemoved(qsizetype p, qsizetype n) override { calls << removal("removed", p, n); }
    static QString removal(const char *what, qsizetype p, qsizetype n)
    {
        return n == 1 ? QStringLiteral("%1 %2").arg(QLatin1String(what)).arg(p)
                      : QStringLiteral("%1 %2+%3").arg(QLatin1String(what)).arg(p).arg(n);
    }
    void rowsAboutToBeReordered() override { calls << QStringLiteral("aboutToReorder"); }
    void rowsReordered(const QList<qsizetype> &p) override
    {
        calls << QStringLiteral("reordered");
        lastPermutation = p;
    }
};

void fill(EntryList &list, const QStringList &texts, SortColumn column)
{
    for (const QString &text : texts) {
        const qsizetype p = list.append(column == SortColumn::IndexText ? text : QStringLiteral("    1"));
        if (column == SortColumn::Name)
            list.setName(p, text);
        if (column == SortColumn::Value)
            list.setValue(p, text);
    }
}

QStringList column(const EntryList &list, SortColumn c)
{
    QStringList out;
    for (qsizetype p = 0; p < list.count(); ++p) {
        const Entry &e = list.at(p);
        out << (c == SortColumn::IndexText ? e.indexText : c == SortColumn::Name ? e.name : e.value.toString());
    }
    return out;
}

// The order the list has always sorted in: each text folded whole, then
// compared unit by unit, stable.
QStringList referenceOrder(const QStringList &texts, bool descending)
{
    std::vector<QString> folded;
    for (const QString &text : texts)
        folded.push_back(text.toCaseFolded());
    std::vector<qsizetype> order(size_t(texts.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const int c = QStringView(folded[size_t(a)]).compare(QStringView(folded[size_t(b)]));
        return descending ? c > 0 : c < 0;
    });
    QStringList out;
    for (qsizetype i : order)
        out << texts[i];
    return out;
}

// Texts that share long starts and differ in case, in characters whose
// folding is not ASCII's, in surrogate pairs, lone surrogates and U+0000.
QStringList randomTexts(quint32 seed, int count)
{
    static const QString alphabet = QStringLiteral("aAbB zZ\u00DF\u1E9E\u03A3\u03C3\u03C2\u0130\u0131\uFF21\uFF41")
                                    + QChar(0xD801) + QChar(0xDC00) + QChar(0xD801) + QChar(0xDC28) + QChar(0xDC00)
                                    + QChar(0) + QStringLiteral("<br>");
    QRandomGenerator random(seed);
    QStringList texts;
    for (int i = 0; i < count; ++i) {
        QString text = random.bounded(3) == 0 ? QString() : QStringLiteral("aaaaaAAA").left(random.bounded(9));
        const int length = random.bounded(14);
        for (int j = 0; j < length; ++j)
            text += alphabet.at(random.bounded(alphabet.size()));
        texts << text;
    }
    return texts;
}

} // namespace

class TestEntryList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void indexTextAlignment_data();
    void indexTextAlignment();
    void lineBreaks_data();
    void lineBreaks();
    void fileUnitsLookAgreesWithCounting();
    void keysAreUniqueAndFollowRemoval();
    void removeKeepsOrder();
    void sorting_data();
    void sorting();
    void sortIsStableBothWays();
    void sortKeepsTheFoldedOrder_data();
    void sortKeepsTheFoldedOrder();
    void sortReportsPermutation();
    void replaceRowsTakesKeysAndKeepsSortState();
};

void TestEntryList::indexTextAlignment_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << QStringLiteral("    0");
    QTest::newRow("7") << 7 << QStringLiteral("    7");
    QTest::newRow("12") << 12 << QStringLiteral("   12");
    QTest::newRow("32767") << 32767 << QStringLiteral("32767");
    QTest::newRow("-5") << -5 << QStringLiteral("   -5");
    QTest::newRow("-9999") << -9999 << QStringLiteral("-9999");
    // Below -9999 the text is six characters; it keeps its sign.
    QTest::newRow("-25536") << -25536 << QStringLiteral("-25536");
    QTest::newRow("-32768") << -32768 << QStringLiteral("-32768");
}

void TestEntryList::indexTextAlignment()
{
    QFETCH(int, index);
    QFETCH(QString, text);
    QCOMPARE(indexText(qint16(index)), text);
}

void TestEntryList::lineBreaks_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("backToFile");
    QTest::newRow("one break") << QStringLiteral("a\r\nb") << QStringLiteral("a<br>b") << QStringLiteral("a\r\nb");
    QTest::newRow("several") << QStringLiteral("\r\n\r\nx\r\n") << QStringLiteral("<br><br>x<br>")
                             << QStringLiteral("\r\n\r\nx\r\n");
    QTest::newRow("lone LF stays") << QStringLiteral("a\nb") << QStringLiteral("a\nb") << QStringLiteral("a\nb");
    QTest::newRow("lone CR stays") << QStringLiteral("a\rb") << QStringLiteral("a\rb") << QStringLiteral("a\rb");
    QTest::newRow("LF CR is no break") << QStringLiteral("a\n\rb") << QStringLiteral("a\n\rb")
                                       << QStringLiteral("a\n\rb");
    QTest::newRow("CR CR LF") << QStringLiteral("\r\r\n") << QStringLiteral("\r<br>") << QStringLiteral("\r\r\n");
    // The literal text <br> cannot be told from a break: it becomes one.
    QTest::newRow("literal br") << QStringLiteral("<br>") << QStringLiteral("<br>") << QStringLiteral("\r\n");
    // Bytes 0D 00 0A 00 inside other characters are no break of the file.
    QTest::newRow("CR byte in characters")
        << QStringLiteral("\u0D41\u0A00\u4100\u0D0A\r\n") << QStringLiteral("\u0D41\u0A00\u4100\u0D0A<br>")
        << QStringLiteral("\u0D41\u0A00\u4100\u0D0A\r\n");
    QTest::newRow("upper case is text") << QStringLiteral("<BR>") << QStringLiteral("<BR>") << QStringLiteral("<BR>");
}

void TestEntryList::lineBreaks()
{
    QFETCH(QString, file);
    QFETCH(QString, list);
    QFETCH(QString, backToFile);
    QCOMPARE(lineBreaksToList(file), list);
    QCOMPARE(lineBreaksFromList(list), backToFile);

    // The conversions fused with the file's little-endian UTF-16 agree.
    QByteArray bytes(2 * file.size(), '\0');
    qToLittleEndian<char16_t>(file.utf16(), file.size(), bytes.data());
    QCOMPARE(listValueFromUtf16(bytes.constData(), file.size()), list);
    QCOMPARE(fileLengthOfListValue(list), backToFile.size());
    QByteArray written(2 * list.size(), '\0');
    written.truncate(utf16FromListValue(list, written.data()) - written.constData());
    QCOMPARE(written.size(), 2 * backToFile.size());
    qToLittleEndian<char16_t>(backToFile.utf16(), backToFile.size(), bytes.data());
    QCOMPARE(written, bytes.first(written.size()));
}

void TestEntryList::fileUnitsLookAgreesWithCounting()
{
    // Random values of the characters the look cares about, at every
    // length and place around its blocks, and long ones past its counters'
    // chunks, against counting them plainly.
    const QStringList pieces = {QStringLiteral("a"),
                                QStringLiteral("\t"),
                                QStringLiteral("\r"),
                                QStringLiteral("\n"),
                                QStringLiteral("<"),
                                QStringLiteral("b"),
                                QStringLiteral("r"),
                                QStringLiteral(">"),
                                QStringLiteral("<br>"),
                                QStringLiteral("\r\n"),
                                QStringLiteral("\u007f\u0080"),
                                QStringLiteral("\u3042\uff21")};
    QRandomGenerator random(36);
    QList<QString> values;
    for (int n = 0; n < 4000; ++n) {
        QString value;
        const int length = n < 3990 ? int(random.bounded(80)) : 40000 + int(random.bounded(40000));
        const bool fewMarks = random.bounded(2) == 0;
        while (value.size() < length)
            value += fewMarks && random.bounded(8) != 0 ? QStringLiteral("x") : pieces[random.bounded(pieces.size())];
        values << value.first(length);
    }
    values << QString(70000, u'\r').replace(QStringLiteral("\r"), QStringLiteral("\r\n")) << QString();
    for (const QString &value : std::as_const(values)) {
        // The same values as a text file holds them, one byte a character.
        const QByteArray bytes = value.toLatin1();
        QCOMPARE(listLineBreakCount(bytes), bytes.count("<br>"));
        const FileUnitsLook look = lookAtFileUnits(reinterpret_cast<const char16_t *>(value.utf16()), value.size());
        QCOMPARE(look.listBreak, value.contains(QStringLiteral("<br>")));
        if (look.listBreak)
            continue;
        const qsizetype pairs = value.count(QStringLiteral("\r\n"));
        QCOMPARE(look.lineBreaks, pairs);
        QCOMPARE(look.separators, value.contains(u'\t') || value.count(u'\r') != pairs || value.count(u'\n') != pairs);
        QCOMPARE(look.ascii, std::all_of(value.cbegin(), value.cend(), [](QChar c) { return c.unicode() < 0x80; }));
    }
}

void TestEntryList::keysAreUniqueAndFollowRemoval()
{
    EntryList list;
    QCOMPARE(list.positionOfKey(12), -1); // no block of keys made yet
    QCOMPARE(list.append(indexText(12), qint16(12)), 0);
    QCOMPARE(list.append(indexText(0), qint16(0)), 1);
    QCOMPARE(list.append(indexText(12), qint16(12)), -1);
    QCOMPARE(list.count(), 2);
    QCOMPARE(list.append(indexText(12)), 2); // rows without a key may repeat an index

    QCOMPARE(list.positionOfKey(0), 1);
    list.takeRows({0});
    QCOMPARE(list.positionOfKey(12), -1);
    QCOMPARE(list.positionOfKey(0), 0);
    // The key of a removed row is free again.
    QCOMPARE(list.append(indexText(12), qint16(12)), 2);
    QCOMPARE(list.positionOfKey(12), 2);
}

void TestEntryList::removeKeepsOrder()
{
    EntryList list;
    fill(list, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")}, SortColumn::Name);
    list.takeRows({0});
    QCOMPARE(column(list, SortColumn::Name), QStringList({"b", "c", "d"}));

    RecordingObserver observer;
    list.setObserver(&observer);
    list.takeRows({1});
    QCOMPARE(observer.calls, QStringList({"aboutToRemove 1", "removed 1"}));
    list.setObserver(nullptr);
}

void TestEntryList::sorting_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("ascending");

    QTest::newRow("index texts are numeric for 0..32767")
        << int(SortColumn::IndexText) << QStringList{"  100", "   10", "    9", "32767", "    0"}
        << QStringList{"    0", "    9", "   10", "  100", "32767"};
    // A typed 007 (two spaces) sorts after every one- and two-digit index.
    QTest::newRow("typed form sorts by its characters")
        << int(SortColumn::IndexText) << QStringList{"  007", "   99", "  100", "    8"}
        << QStringList{"    8", "   99", "  007", "  100"};
    QTest::newRow("names ignore case") << int(SortColumn::Name) << QStringList{"beta", "Alpha", "alpha2", "ALPHA1"}
                                       << QStringList{"Alpha", "ALPHA1", "alpha2", "beta"};
    QTest::newRow("space before digit in values")
        << int(SortColumn::Value) << QStringList{"a1", "a 2", "a", "<br>x"} << QStringList{"<br>x", "a", "a 2", "a1"};
}

void TestEntryList::sorting()
{
    QFETCH(int, column);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, ascending);
    const auto c = SortColumn(column);

    EntryList list;
    fill(list, texts, c);
    list.setSortKey(c);
    list.setSortOrder(SortOrder::Ascending);
    list.setSorted(true);
    QCOMPARE(::column(list, c), ascending);

    QStringList descending(ascending.rbegin(), ascending.rend());
    list.setSortOrder(SortOrder::Descending);
    list.setSorted(true);
    QCOMPARE(::column(list, c), descending);
}

void TestEntryList::sortIsStableBothWays()
{
    EntryList list;
    const QStringList names{"x", "X", "y", "x"};
    for (int i = 0; i < names.size(); ++i) {
        const qsizetype p = list.append(indexText(qint16(i)));
        list.setName(p, names[i]);
    }
    list.setSortKey(SortColumn::Name);
    list.setSorted(true);
    QCOMPARE(::column(list, SortColumn::IndexText), QStringList({"    0", "    1", "    3", "    2"}));
    list.setSortOrder(SortOrder::Descending);
    list.setSorted(true);
    // Equal names keep the order they had: that of the ascending sort.
    QCOMPARE(::column(list, SortColumn::IndexText), QStringList({"    2", "    0", "    1", "    3"}));
}

void TestEntryList::sortKeepsTheFoldedOrder_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<bool>("descending");
    for (quint32 seed = 1; seed <= 20; ++seed) {
        QTest::addRow("seed %u ascending", seed) << seed << false;
        QTest::addRow("seed %u descending", seed) << seed << true;
    }
}

void TestEntryList::sortKeepsTheFoldedOrder()
{
    QFETCH(quint32, seed);
    QFETCH(bool, descending);
    const QStringList texts = randomTexts(seed, 300);
    EntryList list;
    fill(list, texts, SortColumn::Value);
    list.setSortKey(SortColumn::Value);
    list.setSortOrder(descending ? SortOrder::Descending : SortOrder::Ascending);
    list.setSorted(true);
    QCOMPARE(::column(list, SortColumn::Value), referenceOrder(texts, descending));
}

void TestEntryList::sortReportsPermutation()
{
    EntryList list;
    for (int i : {30, 10, 20})
        list.append(indexText(qint16(i)), qint16(i));
    RecordingObserver observer;
    list.setObserver(&observer);
    list.setSortKey(SortColumn::IndexText);
    list.setSorted(true);
    QCOMPARE(observer.lastPermutation, QList<qsizetype>({2, 0, 1}));
    QCOMPARE(list.positionOfKey(30), 2);
    QCOMPARE(list.positionOfKey(10), 0);

    // Switching sorted off leaves the rows where they are.
    list.setSorted(false);
    QVERIFY(!list.isSorted());
    QCOMPARE(::column(list, SortColumn::IndexText), QStringList({"   10", "   20", "   30"}));
    list.setObserver(nullptr);
}

void TestEntryList::replaceRowsTakesKeysAndKeepsSortState()
{
    EntryList shown;
    shown.setSortKey(SortColumn::Value);
    shown.setSortOrder(SortOrder::Descending);
    shown.append(indexText(1));
    RecordingObserver observer;
    shown.setObserver(&observer);

    EntryList read;
    read.append(indexText(5), qint16(5));
    read.append(indexText(6), qint16(6));
    shown.replaceRows(std::move(read));

    QCOMPARE(shown.count(), 2);
    QCOMPARE(shown.positionOfKey(6), 1);
    QCOMPARE(shown.sortKey(), SortColumn::Value);
    QCOMPARE(shown.sortOrder(), SortOrder::Descending);
    QCOMPARE(observer.calls, QStringList({"aboutToReset", "reset"}));
    shown.setObserver(nullptr);
}

QTEST_GUILESS_MAIN(TestEntryList)
#include "tst_entrylist.moc"
