// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlFixture.h"

#include "control/document/RowClipboard.h"

#include <QAbstractItemModelTester>
#include <QFile>

using namespace wendaro;

namespace {

// Runs one action of a script: "select 2", "remove", "add 9 n v", "edit 7 n v"
// (the selected row), "sort 2" (a click on the second header), "paste TEXT",
// "memo TEXT", "save", "hide" (the selected row shown unselected), "reload",
// "undo", "redo". Rows and headers count from 1 here,
// as a person counts them.
void act(ControlFixture &f, const QString &action)
{
    const QStringList words = action.split(u' ');
    const QString verb = words.first();
    MainWindowController &c = f.controller;
    if (verb == u"select")
        f.select(words[1].toInt());
    else if (verb == u"remove")
        c.removeEntry();
    else if (verb == u"add" || verb == u"edit")
        QVERIFY(c.acceptEditor(verb == u"add" ? EditMode::Add : EditMode::Edit, words[1], words[2], words[3]));
    else if (verb == u"sort")
        c.columnClicked(words[1].toInt() - 1);
    else if (verb == u"paste") {
        f.ui.clipboard = action.mid(6)
                             .replace(QStringLiteral("\\t"), QStringLiteral("\t"))
                             .replace(QStringLiteral("\\n"), QStringLiteral("\n"));
        c.pasteRows();
    } else if (verb == u"memo")
        c.setFieldText(Field::Memo, words.value(1));
    else if (verb == u"save")
        QVERIFY(c.saveFile(true));
    else if (verb == u"hide")
        c.selection().setShown(false);
    else if (verb == u"reload")
        c.startUp(f.path("a.stf"));
    else if (verb == u"undo")
        c.undo();
    else if (verb == u"redo")
        c.redo();
    else
        QFAIL(qPrintable(action));
}

// The rows as "index:name:value", with "*" after an index whose row has its key.
QString shown(const EntryList &rows)
{
    QStringList out;
    for (qsizetype p = 0; p < rows.count(); ++p) {
        const Entry &e = rows.at(p);
        out << e.indexText.trimmed() + (e.key ? QStringLiteral("*") : QString()) + u':' + e.name + u':'
                   + e.value.toString();
    }
    return out.join(u' ');
}

const QList<TestRow> ThreeRows = {{1, "a", "A"}, {2, "b", "B"}, {3, "c", "C"}};

// Opens a.stf with ThreeRows and runs the script on it.
void play(ControlFixture &f, const QStringList &script)
{
    f.open("a.stf", ThreeRows);
    for (const QString &action : script)
        act(f, action);
}

} // namespace

class TestRowHistory : public QObject
{
    Q_OBJECT

private slots:
    void undoRedo_data()
    {
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<int>("selected");
        QTest::newRow("removal undone: back at its place, key and selection")
            << QStringList{"select 2", "remove", "undo"} << "1*:a:A 2*:b:B 3*:c:C" << 2;
        QTest::newRow("removal redone") << QStringList{"select 2", "remove", "undo", "redo"} << "1*:a:A 3*:c:C" << 0;
        QTest::newRow("add undone") << QStringList{"add 9 n v", "undo"} << "1*:a:A 2*:b:B 3*:c:C" << 0;
        QTest::newRow("add redone") << QStringList{"add 9 n v", "undo", "redo"} << "1*:a:A 2*:b:B 3*:c:C 9:n:v" << 4;
        QTest::newRow("edit undone: all three fields")
            << QStringList{"select 3", "edit 007 n v", "select 1", "undo"} << "1*:a:A 2*:b:B 3*:c:C" << 3;
        QTest::newRow("edit redone keeps the typed index")
            << QStringList{"select 3", "edit 007 n v", "undo", "redo"} << "1*:a:A 2*:b:B 007*:n:v" << 3;
        QTest::newRow("edit found again after a sort")
            << QStringList{"select 1", "edit 5 z Z", "sort 2", "undo"} << "2*:b:B 3*:c:C 1*:a:A" << 3;
        QTest::newRow("add found again after a sort")
            << QStringList{"add 0 z Z", "sort 1", "undo"} << "1*:a:A 2*:b:B 3*:c:C" << 0;
        QTest::newRow("sorting is no step")
            << QStringList{"select 1", "remove", "sort 2", "sort 2", "undo"} << "1*:a:A 3*:c:C 2*:b:B" << 1;
        QTest::newRow("paste after the selected row, undone in one step")
            << QStringList{"select 1", "paste 5\\tp\\tP\\n6\\tq\\tQ", "undo"} << "1*:a:A 2*:b:B 3*:c:C" << 1;
        QTest::newRow("paste redone") << QStringList{"select 1", "paste 5\\tp\\tP\\n6\\tq\\tQ", "undo", "redo"}
                                      << "1*:a:A 5:p:P 6:q:Q 2*:b:B 3*:c:C" << 1;
        QTest::newRow("paste scattered by a sort, undone")
            << QStringList{"paste 0\\tp\\tP\\n9\\tq\\tQ", "sort 1", "undo"} << "1*:a:A 2*:b:B 3*:c:C" << 0;
        QTest::newRow("a new change drops what could be redone")
            << QStringList{"select 1", "remove", "undo", "select 3", "remove", "redo"} << "1*:a:A 2*:b:B" << 0;
        QTest::newRow("steps undone in turn")
            << QStringList{"select 1", "remove", "select 1", "remove", "add 8 n v", "undo", "undo", "undo"}
            << "1*:a:A 2*:b:B 3*:c:C" << 1;
        QTest::newRow("nothing to undo") << QStringList{"undo", "redo"} << "1*:a:A 2*:b:B 3*:c:C" << 0;
    }

    void undoRedo()
    {
        QFETCH(QStringList, script);
        QFETCH(QString, rows);
        QFETCH(int, selected);
        ControlFixture f;
        play(f, script);
        QCOMPARE(shown(f.controller.entries()), rows);
        QCOMPARE(f.selectedPosition(), qsizetype(selected));
        QCOMPARE(f.controller.isEnabled(Command::Remove), selected != 0);
        QVERIFY(f.ui.messages.isEmpty());
        // A key comes back with its row, and is found there.
        for (qsizetype p = 0; p < f.controller.entries().count(); ++p) {
            const Entry &e = f.controller.entries().at(p);
            if (e.key)
                QCOMPARE(f.controller.entries().positionOfKey(*e.key), p);
        }
    }

    void undoIsAChange()
    {
        ControlFixture f;
        f.open("a.stf", ThreeRows);
        act(f, "add 4 n v");
        QCOMPARE(f.controller.nextIndex(), qint16(5));
        QVERIFY(f.controller.saveFile(true));
        QVERIFY(!f.controller.isModified());
        act(f, "undo");
        // The document now differs from its file again, and the proposal
        // for the next index stays where the add took it.
        QVERIFY(f.controller.isModified());
        QCOMPARE(f.controller.nextIndex(), qint16(5));
        QVERIFY(f.controller.saveFile(true));
        act(f, "redo");
        QVERIFY(f.controller.isModified());
    }

    // The history knows the state last read or written: going back to it
    // turns Save off, as after a load, unless a text field changed since.
    void savedStateFollowsHistory_data()
    {
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<bool>("modified");
        QTest::newRow("add undone") << QStringList{"add 4 n v", "undo"} << false;
        QTest::newRow("add undone and redone") << QStringList{"add 4 n v", "undo", "redo"} << true;
        QTest::newRow("two steps, both undone")
            << QStringList{"select 1", "remove", "add 4 n v", "undo", "undo"} << false;
        QTest::newRow("two steps, one undone") << QStringList{"select 1", "remove", "add 4 n v", "undo"} << true;
        QTest::newRow("back to a save in the middle") << QStringList{"add 4 n v", "save", "add 5 n v", "undo"} << false;
        QTest::newRow("undone past a save, then redone to it")
            << QStringList{"add 4 n v", "save", "undo", "redo"} << false;
        QTest::newRow("memo changed, rows undone") << QStringList{"add 4 n v", "memo m", "undo"} << true;
        QTest::newRow("memo changed and saved, rows undone")
            << QStringList{"memo m", "save", "add 4 n v", "undo"} << false;
        QTest::newRow("memo changed after a save, redone to it")
            << QStringList{"add 4 n v", "save", "undo", "memo m", "redo"} << true;
        QTest::newRow("a new step after an undo cannot come back")
            << QStringList{"add 4 n v", "save", "undo", "add 5 n v", "undo"} << true;
    }

    void savedStateFollowsHistory()
    {
        QFETCH(QStringList, script);
        QFETCH(bool, modified);
        ControlFixture f;
        play(f, script);
        const qint16 next = f.controller.nextIndex();
        const QString rows = shown(f.controller.entries());
        QCOMPARE(f.controller.isModified(), modified);
        QCOMPARE(f.controller.isEnabled(Command::Save), modified);
        // Save off or on, the close asks exactly while something is unsaved.
        f.ui.answers = {MessageAnswer::Cancel};
        f.controller.closeFile();
        QCOMPARE(f.ui.messages.size(), modified ? 1 : 0);
        QCOMPARE(f.controller.nextIndex(), next);
        if (modified)
            QCOMPARE(shown(f.controller.entries()), rows);
    }

    // The selected row is the selection model's: it follows its row through
    // sorts and the steps of others, and keeps whether it is shown selected.
    void selectionFollowsItsRow_data()
    {
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QString>("name"); // of the selected row, empty for none
        QTest::newRow("sorted") << QStringList{"select 1", "sort 2", "sort 2"} << true << "a";
        QTest::newRow("rows pasted before it") << QStringList{"select 3", "paste 5\tp\tP"} << true << "c";
        QTest::newRow("a paste scattered by a sort, undone around it")
            << QStringList{"paste 0\tp\tP\n9\tq\tQ", "sort 1", "select 3", "hide", "undo"} << false << "b";
        QTest::newRow("its own removal redone") << QStringList{"select 2", "remove", "undo", "redo"} << false << "";
        QTest::newRow("a load") << QStringList{"select 2", "reload"} << false << "";
    }

    void selectionFollowsItsRow()
    {
        QFETCH(QStringList, script);
        QFETCH(bool, shown);
        QFETCH(QString, name);
        ControlFixture f;
        QAbstractItemModelTester tester(&f.controller.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        play(f, script);
        const RowSelection &selection = f.controller.selection();
        QCOMPARE(selection.hasRow() ? f.controller.entries().at(selection.row()).name : QString(), name);
        QCOMPARE(selection.isShown(), shown);
    }

    void historyEndsWithTheDocument_data()
    {
        QTest::addColumn<QString>("caller");
        QTest::newRow("New") << "New";
        QTest::newRow("Open") << "Open";
        QTest::newRow("drop") << "drop";
        QTest::newRow("start-up") << "start-up";
        QTest::newRow("Close") << "Close";
    }

    void historyEndsWithTheDocument()
    {
        QFETCH(QString, caller);
        ControlFixture f;
        QVERIFY(writeTable(f.path("b.stf"), ThreeRows));
        f.open("a.stf", ThreeRows);
        act(f, "select 1");
        act(f, "remove");
        f.ui.answers = {MessageAnswer::No};
        f.ui.dialogResults = {caller == u"New" ? f.path("new.stf") : f.path("b.stf")};
        if (caller == u"New")
            f.controller.chooseFile(ChooseMode::New);
        else if (caller == u"Open")
            f.controller.chooseFile(ChooseMode::Open);
        else if (caller == u"drop")
            f.controller.dropFiles({f.path("b.stf")});
        else if (caller == u"start-up")
            f.controller.startUp(f.path("b.stf"));
        else
            f.controller.closeFile();
        const QString before = shown(f.controller.entries());
        const bool modifiedBefore = f.controller.isModified();
        act(f, "undo");
        QCOMPARE(shown(f.controller.entries()), before);
        QCOMPARE(f.controller.isModified(), modifiedBefore);
    }

    void paste_data()
    {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("rows"); // after the table's one row 1
        QTest::addColumn<int>("nextIndex");
        QTest::addColumn<QString>("message"); // empty: none
        const QString refused = PasteRefusedMessage + QStringLiteral("\r\n");
        QTest::newRow("one line") << "5\tn\tv"
                                  << "1*:a:A 5:n:v" << 6 << "";
        QTest::newRow("header, blank lines, CR LF") << "Index\tName\tValue\r\n\r\n5\tn\tv\r\n  \r\n"
                                                    << "1*:a:A 5:n:v" << 6 << "";
        QTest::newRow("LF and CR end lines") << "5\tn\tv\n6\to\tw\r7\tp\tx"
                                             << "1*:a:A 5:n:v 6:o:w 7:p:x" << 8 << "";
        QTest::newRow("index formed as read") << "007\tn\tv<br>w"
                                              << "1*:a:A 7:n:v<br>w" << 8 << "";
        QTest::newRow("fields as they stand, fourth dropped") << "5\t n \t v \tx"
                                                              << "1*:a:A 5: n : v " << 6 << "";
        QTest::newRow("lower index leaves the proposal") << "-5\tn\tv"
                                                         << "1*:a:A -5:n:v" << 2 << "";
        QTest::newRow("a taken index is a second row, without key") << "1\tn\tv"
                                                                    << "1*:a:A 1:n:v" << 2 << "";
        QTest::newRow("32767 keeps the last index") << "32767\tn\tv"
                                                    << "1*:a:A 32767:n:v" << 32767 << "";
        QTest::newRow("nothing but a header") << "Index\tName\tValue"
                                              << "1*:a:A" << 2 << "";
        QTest::newRow("two fields refuse all")
            << "5\tn\tv\n6\to"
            << "1*:a:A" << 2
            << refused
                   + "2 行目（インデックス 6）には TAB で区切られた項目が 2 個しかありません。"
                     "インデックス、名前、値の 3 個が必要です。";
        QTest::newRow("index out of range refuses all")
            << "5\tn\tv\r\n40000\to\tw"
            << "1*:a:A" << 2 << refused + "2 行目のインデックス「40000」は -32768 から 32767 の範囲を超えています。";
    }

    void paste()
    {
        QFETCH(QString, clipboard);
        QFETCH(QString, rows);
        QFETCH(int, nextIndex);
        QFETCH(QString, message);
        ControlFixture f;
        f.open("a.stf", {{1, "a", "A"}});
        f.ui.clipboard = clipboard;
        f.controller.pasteRows();
        QCOMPARE(shown(f.controller.entries()), rows);
        QCOMPARE(f.controller.nextIndex(), qint16(nextIndex));
        QCOMPARE(f.controller.isModified(), rows != u"1*:a:A");
        QCOMPARE(f.ui.messages.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty()) {
            QCOMPARE(f.ui.messages.first().text, message);
            QCOMPARE(f.ui.messages.first().icon, MessageIcon::Exclamation);
            QCOMPARE(f.ui.messages.first().title, ApplicationTitle);
        }
    }

    void pasteNeedsADocument()
    {
        ControlFixture f;
        f.controller.startUp(QString());
        f.ui.clipboard = "5\tn\tv";
        f.controller.pasteRows();
        QCOMPARE(f.controller.entries().count(), qsizetype(0));
    }

    void copy_data()
    {
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<bool>("allShown"); // Ctrl+Shift+C with row 2 hidden, else Ctrl+C
        QTest::addColumn<QString>("clipboard");
        QTest::newRow("selected row, index without padding")
            << QStringList{"select 3", "edit 007 n v<br>w"} << false << "007\tn\tv<br>w\n";
        QTest::newRow("no selected row copies nothing") << QStringList{} << false << "old";
        QTest::newRow("shown rows in display order") << QStringList{"sort 2", "sort 2"} << true << "3\tc\tC\n1\ta\tA\n";
        QTest::newRow("a TAB in a value refuses the copy")
            << QStringList{"select 1", "edit 1 n a\tb"} << false << "old";
    }

    void copy()
    {
        QFETCH(QStringList, script);
        QFETCH(bool, allShown);
        QFETCH(QString, clipboard);
        ControlFixture f;
        play(f, script);
        f.ui.clipboard = "old";
        if (allShown)
            f.controller.copyShownRows([&f](qsizetype p) { return f.controller.entries().at(p).name != u"b"; });
        else
            f.controller.copySelectedRow();
        QCOMPARE(f.ui.clipboard, clipboard);
        QCOMPARE(f.ui.messages.size(), clipboard == u"old" && !script.isEmpty() ? 1 : 0);
    }

    void copiedRowsSaveAsTheyWere_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::newRow("STF") << "stf";
        QTest::newRow("text") << "txt";
    }

    void copiedRowsSaveAsTheyWere()
    {
        QFETCH(QString, suffix);
        const QList<TestRow> rows = {{-32768, "最小", "二行<br>目"}, {0, "", ""}, {32767, " sp ", "<BR>\x01"}};
        ControlFixture from;
        from.open("from." + suffix, rows);
        from.controller.copyShownRows([](qsizetype) { return true; });

        ControlFixture to;
        to.controller.startUp(QString());
        to.ui.dialogResults = {to.path("to." + suffix)};
        to.controller.chooseFile(ChooseMode::New);
        to.ui.clipboard = from.ui.clipboard;
        to.controller.pasteRows();
        QVERIFY2(to.controller.saveFile(true), qPrintable(to.ui.messages.value(0).text));
        QFile a(from.path("from." + suffix));
        QFile b(to.path("to." + suffix));
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        QCOMPARE(b.readAll(), a.readAll());
    }
};

QTEST_MAIN(TestRowHistory)
#include "tst_rowhistory.moc"
