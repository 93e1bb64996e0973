// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/compare/TableDiff.h"
#include "core/compare/TableMerge.h"
#include "core/compare/TableUpdate.h"
#include "core/compare/TextChanges.h"

#include <QTest>

using namespace wendaro;

namespace {

// Rows written "index|name|value"; the index text is kept as written.
EntryList table(const QStringList &rows)
{
    EntryList list;
    for (const QString &row : rows) {
        const QStringList fields = row.split(QLatin1Char('|'));
        list.append(Entry{fields.value(0), fields.value(1), fields.value(2), std::nullopt});
    }
    return list;
}

QString described(const TableChange &c)
{
    const QString at = c.index.shown() + QLatin1Char('#') + QString::number(c.occurrence);
    switch (c.kind) {
    case TableChange::Kind::Added: return QStringLiteral("+ %1 %2=%3").arg(at, c.name, c.value);
    case TableChange::Kind::Removed: return QStringLiteral("- %1 %2=%3").arg(at, c.oldName, c.oldValue);
    case TableChange::Kind::Changed:
        return QStringLiteral("~ %1 %2%3 %4=%5 -> %6=%7")
            .arg(at, c.nameChanged ? QStringLiteral("N") : QString(), c.valueChanged ? QStringLiteral("V") : QString(),
                 c.oldName, c.oldValue, c.name, c.value);
    case TableChange::Kind::Moved: return QStringLiteral("> %1 @%2->@%3").arg(at).arg(c.oldPosition).arg(c.position);
    }
    return {};
}

} // namespace

class TestCompare : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void diff_data();
    void diff();
    void update_data();
    void update();
    void merge_data();
    void merge();
    void textChanges_data();
    void textChanges();
    void textChangesHtml();
};

void TestCompare::diff_data()
{
    QTest::addColumn<QStringList>("a");
    QTest::addColumn<QStringList>("b");
    QTest::addColumn<bool>("order");
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<QStringList>("repeated"); // "index:countA/countB"

    const QStringList abc{"    1|a|x", "    2|b|y", "    3|c|z"};
    QTest::newRow("same") << abc << abc << true << QStringList{} << QStringList{};
    QTest::newRow("order alone is no difference")
        << abc << QStringList{"    3|c|z", "    1|a|x", "    2|b|y"} << false << QStringList{} << QStringList{};
    QTest::newRow("one row moved to the front") << abc << QStringList{"    3|c|z", "    1|a|x", "    2|b|y"} << true
                                                << QStringList{"> 3#1 @2->@0"} << QStringList{};
    QTest::newRow("added and removed rows move nothing")
        << abc << QStringList{"    0|n|w", "    1|a|x", "    3|c|z"} << true << QStringList{"+ 0#1 n=w", "- 2#1 b=y"}
        << QStringList{};
    QTest::newRow("name, value, both, sorted by index")
        << abc << QStringList{"    3|C|Z", "    2|b|y<br>", "    1|A|x"} << false
        << QStringList{"~ 1#1 N a=x -> A=x", "~ 2#1 V b=y -> b=y<br>", "~ 3#1 NV c=z -> C=Z"} << QStringList{};
    QTest::newRow("changed and moved") << abc << QStringList{"    2|b|y", "    3|c|z", "    1|a|X"} << true
                                       << QStringList{"~ 1#1 V a=x -> a=X", "> 1#1 @0->@2"} << QStringList{};
    QTest::newRow("repeated index paired in order")
        << QStringList{"5|a|x", "5|b|y"} << QStringList{"5|a|x", "5|c|y", "5|d|w"} << false
        << QStringList{"~ 5#2 N b=y -> c=y", "+ 5#3 d=w"} << QStringList{"5:2/3"};
    QTest::newRow("index by number, whatever its text")
        << QStringList{"007|a|x", "1e1|b|y"} << QStringList{"    7|a|x", "   10|b|y"} << false << QStringList{}
        << QStringList{};
    QTest::newRow("index text that is no number")
        << QStringList{"abc|a|x", "    1|b|y"} << QStringList{" abc |a|z", "  xyz|c|w", "1|b|y"} << false
        << QStringList{"~ abc#1 V a=x -> a=z", "+ xyz#1 c=w"} << QStringList{};
    QTest::newRow("out of range is text") << QStringList{"32768|a|x"} << QStringList{"-32768|a|x"} << false
                                          << QStringList{"+ -32768#1 a=x", "- 32768#1 a=x"} << QStringList{};
}

void TestCompare::diff()
{
    QFETCH(QStringList, a);
    QFETCH(QStringList, b);
    QFETCH(bool, order);
    QFETCH(QStringList, changes);
    QFETCH(QStringList, repeated);

    const TableDiff found = compareTables(table(a), table(b), order);
    QStringList got;
    for (const TableChange &c : found.changes)
        got << described(c);
    QCOMPARE(got, changes);
    QStringList gotRepeated;
    for (const RepeatedIndex &r : found.repeated)
        gotRepeated << QStringLiteral("%1:%2/%3").arg(r.index.shown()).arg(r.countA).arg(r.countB);
    QCOMPARE(gotRepeated, repeated);
    QCOMPARE(found.added + found.removed + found.changed + found.moved, found.changes.size());
}

void TestCompare::update_data()
{
    QTest::addColumn<QStringList>("oldOriginal");
    QTest::addColumn<QStringList>("newOriginal");
    QTest::addColumn<QStringList>("translation");
    QTest::addColumn<QStringList>("rows"); // the result, or "refused N: indexes" (N: 1 old, 2 new, 3 translation)
    QTest::addColumn<QStringList>(
        "report"); // "new 4", "changed 2 old->new", "untranslated 3", "removed 9", "carried N"

    const QStringList old{"1|a|one", "2|b|two", "3|c|three", "9|z|nine"};
    QTest::newRow("carried, changed, new, untranslated, removed")
        << old << QStringList{"4|d|four", "3|c|three", "2|b|TWO", "1|A|one"}
        << QStringList{"1|a|ichi", "2|b|ni", "9|z|kyu", "8|y|hachi"}
        << QStringList{"4|d|four", "3|c|three", "2|b|TWO", "1|a|ichi"}
        << QStringList{"new 4", "changed 2 two->TWO", "untranslated 3", "removed 9", "removed 8", "carried 1"};
    QTest::newRow("repeated index refused") << old << old << QStringList{"1|a|x", "2|b|y", "1|a|z", "2|b|w", "7|q|r"}
                                            << QStringList{"refused 3: 1 2"} << QStringList{};
    QTest::newRow("repeated in the old original first")
        << QStringList{"5|a|x", "5|a|y"} << QStringList{"6|a|x", "6|a|y"} << QStringList{}
        << QStringList{"refused 1: 5"} << QStringList{};
}

void TestCompare::update()
{
    QFETCH(QStringList, oldOriginal);
    QFETCH(QStringList, newOriginal);
    QFETCH(QStringList, translation);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, report);

    const UpdateResult result = updateTranslation(table(oldOriginal), table(newOriginal), table(translation));
    QStringList gotRows;
    QStringList gotReport;
    if (result.refused != UpdateResult::Table::None) {
        QStringList indexes;
        for (const RowIndex &index : result.repeated)
            indexes << index.shown();
        gotRows << QStringLiteral("refused %1: %2").arg(int(result.refused)).arg(indexes.join(QLatin1Char(' ')));
    } else {
        for (qsizetype p = 0; p < result.rows.count(); ++p) {
            const Entry &e = result.rows.at(p);
            gotRows << e.indexText + QLatin1Char('|') + e.name + QLatin1Char('|') + e.value.toString();
        }
        for (const UpdateItem &i : result.added)
            gotReport << QStringLiteral("new ") + i.index.shown();
        for (const UpdateItem &i : result.changed)
            gotReport << QStringLiteral("changed %1 %2->%3").arg(i.index.shown(), i.oldValue, i.value);
        for (const UpdateItem &i : result.untranslated)
            gotReport << QStringLiteral("untranslated ") + i.index.shown();
        for (const UpdateItem &i : result.removed)
            gotReport << QStringLiteral("removed ") + i.index.shown();
        gotReport << QStringLiteral("carried %1").arg(result.carried);
    }
    QCOMPARE(gotRows, rows);
    QCOMPARE(gotReport, report);
}

void TestCompare::merge_data()
{
    QTest::addColumn<QStringList>("base");
    QTest::addColumn<QStringList>("ours");
    QTest::addColumn<QStringList>("theirs");
    QTest::addColumn<QStringList>("memos"); // base, ours, theirs; "~": a table with no room for it
    QTest::addColumn<bool>("preferTheirs");
    QTest::addColumn<QStringList>("merged");    // the rows and last "memo:..."; or "refused"
    QTest::addColumn<QStringList>("conflicts"); // "INDEX|FIELD KIND base/ours/theirs", "-" where absent

    const QStringList base{"1|a|x", "2|b|y", "3|c|z"};
    const QStringList memos{"m", "m", "m"};
    QTest::newRow("name on one side, value on the other, another row")
        << base << QStringList{"1|A|x", "2|b|y", "3|c|z"} << QStringList{"1|a|X", "2|b|y", "3|c|Z"} << memos << false
        << QStringList{"1|A|X", "2|b|y", "3|c|Z", "memo:m"} << QStringList{};
    QTest::newRow("same change twice is taken once")
        << base << QStringList{"1|a|q", "2|b|y", "3|c|z"} << QStringList{"1|a|q", "2|b|y", "3|c|z"} << memos << false
        << QStringList{"1|a|q", "2|b|y", "3|c|z", "memo:m"} << QStringList{};
    QTest::newRow("value changed two ways: ours")
        << base << QStringList{"1|a|o", "2|b|y", "3|c|z"} << QStringList{"1|a|t", "2|B|y", "3|c|z"} << memos << false
        << QStringList{"1|a|o", "2|B|y", "3|c|z", "memo:m"} << QStringList{"1|value changed x/o/t"};
    QTest::newRow("value changed two ways: theirs preferred")
        << base << QStringList{"1|a|o", "2|b|y", "3|c|z"} << QStringList{"1|a|t", "2|b|y", "3|c|z"} << memos << true
        << QStringList{"1|a|t", "2|b|y", "3|c|z", "memo:m"} << QStringList{"1|value changed x/o/t"};
    QTest::newRow("theirs' new rows follow their predecessor, in ours' order")
        << base << QStringList{"3|c|z", "1|a|x", "2|b|y"}
        << QStringList{"7|s|s", "1|a|x", "5|e|e", "6|f|f", "2|b|y", "3|c|z"} << memos << false
        << QStringList{"7|s|s", "3|c|z", "1|a|x", "5|e|e", "6|f|f", "2|b|y", "memo:m"} << QStringList{};
    QTest::newRow("added on both: same once, different conflicts")
        << base << QStringList{"1|a|x", "2|b|y", "3|c|z", "8|h|h", "9|i|o"}
        << QStringList{"1|a|x", "2|b|y", "3|c|z", "9|I|t", "8|h|h"} << memos << false
        << QStringList{"1|a|x", "2|b|y", "3|c|z", "8|h|h", "9|i|o", "memo:m"}
        << QStringList{"9|name added -/i/I", "9|value added -/o/t"};
    QTest::newRow("removed on one side, unchanged on the other")
        << base << QStringList{"2|b|y", "3|c|Z"} << QStringList{"3|c|z", "1|a|x"} << memos << false
        << QStringList{"3|c|Z", "memo:m"} << QStringList{};
    QTest::newRow("removed in ours, changed in theirs: ours removes")
        << base << QStringList{"2|b|y", "3|c|z"} << QStringList{"1|a|X", "2|b|y", "3|c|z"} << memos << false
        << QStringList{"2|b|y", "3|c|z", "memo:m"} << QStringList{"1|value removedInOurs x/-/X"};
    QTest::newRow("removed in ours, changed in theirs: theirs keeps it in place")
        << base << QStringList{"3|c|z", "2|b|y"} << QStringList{"2|b|y", "1|A|x", "3|c|z"} << memos << true
        << QStringList{"3|c|z", "2|b|y", "1|A|x", "memo:m"} << QStringList{"1|name removedInOurs a/-/A"};
    QTest::newRow("removed in theirs, changed in ours: ours keeps it")
        << base << QStringList{"1|a|x", "2|b|Y", "3|c|z"} << QStringList{"1|a|x", "3|c|z"} << memos << false
        << QStringList{"1|a|x", "2|b|Y", "3|c|z", "memo:m"} << QStringList{"2|value removedInTheirs y/Y/-"};
    QTest::newRow("memo from the side that can hold it")
        << base << base << base << QStringList{"m", "~", "new"} << false
        << QStringList{"1|a|x", "2|b|y", "3|c|z", "memo:new"} << QStringList{};
    QTest::newRow("memo changed two ways")
        << base << base << base << QStringList{"m", "o", "t"} << false
        << QStringList{"1|a|x", "2|b|y", "3|c|z", "memo:o"} << QStringList{"memo changed m/o/t"};
    QTest::newRow("repeated index refused")
        << base << QStringList{"1|a|x", "1|b|y"} << base << memos << false << QStringList{"refused"} << QStringList{};
}

void TestCompare::merge()
{
    QFETCH(QStringList, base);
    QFETCH(QStringList, ours);
    QFETCH(QStringList, theirs);
    QFETCH(QStringList, memos);
    QFETCH(bool, preferTheirs);
    QFETCH(QStringList, merged);
    QFETCH(QStringList, conflicts);

    const EntryList tables[] = {table(base), table(ours), table(theirs)};
    TextFields fields[3];
    MergeInput inputs[3];
    for (int t = 0; t < 3; ++t) {
        fields[t].memo = memos[t];
        inputs[t] = {&tables[t], memos[t] == QLatin1String("~") ? nullptr : &fields[t], QStringLiteral("T%1").arg(t)};
    }
    QString error;
    const std::optional<MergeResult> result = mergeTables(inputs[0], inputs[1], inputs[2],
                                                          preferTheirs ? MergeSide::Theirs : MergeSide::Ours, &error);
    QStringList gotRows;
    QStringList gotConflicts;
    if (!result) {
        QVERIFY2(error.startsWith(QLatin1String("T1")) && error.contains(QStringLiteral("1（1、2")), qPrintable(error));
        gotRows << QStringLiteral("refused");
    } else {
        for (qsizetype p = 0; p < result->rows.count(); ++p) {
            const Entry &e = result->rows.at(p);
            gotRows << e.indexText + QLatin1Char('|') + e.name + QLatin1Char('|') + e.value.toString();
        }
        gotRows << QStringLiteral("memo:") + result->fields.memo;
        static const char *const fieldNames[] = {"outputFile", "memo", "name", "value"};
        static const char *const kinds[] = {"changed", "added", "removedInOurs", "removedInTheirs"};
        for (const MergeConflict &c : result->conflicts)
            gotConflicts << QStringLiteral("%1%2 %3 %4/%5/%6")
                                .arg(c.index ? QString::number(*c.index) + QLatin1Char('|') : QString(),
                                     QLatin1String(fieldNames[int(c.field)]), QLatin1String(kinds[int(c.kind)]),
                                     c.base.value_or(QStringLiteral("-")), c.ours.value_or(QStringLiteral("-")),
                                     c.theirs.value_or(QStringLiteral("-")));
    }
    QCOMPARE(gotRows, merged);
    QCOMPARE(gotConflicts, conflicts);
}

void TestCompare::textChanges_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("pieces"); // "=same", "-removed", "+inserted", joined by "|"

    QTest::newRow("identical") << "Open the file"
                               << "Open the file"
                               << "=Open the file";
    QTest::newRow("a word, not its letters") << "Open files"
                                             << "Open file"
                                             << "=Open |-files|+file";
    QTest::newRow("two words changed, old first") << "Open the file now"
                                                  << "Open a file later"
                                                  << "=Open |-the|+a|= file |-now|+later";
    QTest::newRow("words added and removed") << "Save the file"
                                             << "Save file now"
                                             << "=Save |-the |=file|+ now";
    QTest::newRow("kana and kanji by character") << "ファイルを開く"
                                                 << "ファイルを閉じる"
                                                 << "=ファイルを|-開く|+閉じる";
    QTest::newRow("blanks are a word") << "a b"
                                       << "a  b"
                                       << "=a|- |+  |=b";
    QTest::newRow("a line break") << "Open<br>file"
                                  << "Open file"
                                  << "=Open|-<br>|+ |=file";
    QTest::newRow("empty before") << ""
                                  << "New text"
                                  << "+New text";
    QTest::newRow("empty after") << "Old"
                                 << ""
                                 << "-Old";
    QTest::newRow("both empty") << ""
                                << ""
                                << "";
    // Each pair shares its high surrogate.
    QTest::newRow("surrogate pairs whole")
        << QStringLiteral("𠀋𠀌 a😀") << QStringLiteral("𠀋𠀍 a😁") << QStringLiteral("=𠀋|-𠀌|+𠀍|= a|-😀|+😁");
    QTest::newRow("a combining mark with its letter")
        << QStringLiteral("cafe\u0301") << "cafe" << QStringLiteral("-cafe\u0301|+cafe");
}

void TestCompare::textChanges()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(QString, pieces);
    QStringList found;
    for (const TextChange &change : wendaro::textChanges(before, after))
        found << QString(u"=+-"[int(change.kind)]) + change.text;
    QCOMPARE(found.join(u'|'), pieces);
}

void TestCompare::textChangesHtml()
{
    QCOMPARE(wendaro::textChangesHtml(wendaro::textChanges(u"a<b & c> x<br>y", u"a<b & c> x z")),
             QStringLiteral("<span style=\"white-space:pre-wrap\">a&lt;b &amp; c&gt; x"
                            "<span style=\"background:#fdd;text-decoration:line-through\">↵<br>y</span>"
                            "<span style=\"background:#dfd\"> z</span></span>"));
}

QTEST_GUILESS_MAIN(TestCompare)
#include "tst_compare.moc"
