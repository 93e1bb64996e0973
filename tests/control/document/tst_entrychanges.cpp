// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlFixture.h"

#include "control/document/IndexCheck.h"
#include "control/window/ReadmeViewer.h"

#include <QDir>

using namespace wendaro;

class TestEntryChanges : public QObject
{
    Q_OBJECT

private slots:
    void indexCheck_data()
    {
        // clang-format off
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message"); // empty: accepted
        QTest::addColumn<QString>("addedIndexText");
        QTest::addColumn<QString>("editedIndexText");
        const QString notNumeric = IndexNotNumericMessage;
        const QString range = IndexOutOfRangeMessage;
        QTest::newRow("empty") << "" << notNumeric << "" << "";
        QTest::newRow("abc") << "abc" << notNumeric << "" << "";
        QTest::newRow("32768") << "32768" << range << "" << "";
        QTest::newRow("99999") << "99999" << range << "" << "";
        QTest::newRow("-1") << "-1" << range << "" << "";
        QTest::newRow("-0.6") << "-0.6" << range << "" << "";
        QTest::newRow("beyond 32 bits") << "1e10" << range << "" << "";
        QTest::newRow("0") << "0" << "" << "    0" << "    0";
        QTest::newRow("32767") << "32767" << "" << "32767" << "32767";
        QTest::newRow("1.5") << "1.5" << "" << "    2" << "  1.5";
        QTest::newRow("2.5") << "2.5" << "" << "    2" << "  2.5";
        QTest::newRow("3.5") << "3.5" << "" << "    4" << "  3.5";
        QTest::newRow("-0.5") << "-0.5" << "" << "    0" << " -0.5";
        QTest::newRow("007") << "007" << "" << "    7" << "  007";
        QTest::newRow("1e3") << "1e3" << "" << " 1000" << "  1e3";
        // clang-format on
    }

    void indexCheck()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, addedIndexText);
        QFETCH(QString, editedIndexText);
        for (EditMode mode : {EditMode::Add, EditMode::Edit}) {
            ControlFixture f;
            f.open("a.stf", {{12, "n", "v"}});
            f.select(1);

            const bool accepted = f.controller.acceptEditor(mode, typed, "name", "value");

            QCOMPARE(accepted, message.isEmpty());
            if (!accepted) {
                QCOMPARE(f.ui.messages.size(), 1);
                const MessageBox box = f.ui.messages.first();
                QCOMPARE(box.text, message);
                QCOMPARE(box.title, QStringLiteral("エラー"));
                QCOMPARE(box.icon, MessageIcon::Exclamation);
                QCOMPARE(box.buttons, MessageButtons::Ok);
                QCOMPARE(f.indexTexts(), QStringList({"   12"}));
                QVERIFY(!f.controller.isModified());
                continue;
            }
            QVERIFY(f.ui.messages.isEmpty());
            QVERIFY(f.controller.isModified());
            if (mode == EditMode::Add)
                QCOMPARE(f.indexTexts(), QStringList({"   12", addedIndexText}));
            else
                QCOMPARE(f.indexTexts(), QStringList({editedIndexText}));
        }
    }

    void nextIndexRules_data()
    {
        QTest::addColumn<EditMode>("mode");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("nextIndex");
        QTest::newRow("add as proposed") << EditMode::Add << "7" << 8;
        QTest::newRow("add 007") << EditMode::Add << "007" << 7;
        QTest::newRow("add with a space") << EditMode::Add << " 7" << 7;
        QTest::newRow("add another index") << EditMode::Add << "3" << 7;
        QTest::newRow("edit to the proposed index") << EditMode::Edit << "7" << 8;
        QTest::newRow("edit to 07") << EditMode::Edit << "07" << 7;
    }

    void nextIndexRules()
    {
        QFETCH(EditMode, mode);
        QFETCH(QString, typed);
        QFETCH(int, nextIndex);
        ControlFixture f;
        f.open("a.stf", {{6, "n", "v"}});
        QCOMPARE(f.controller.nextIndex(), qint16(7));
        f.select(1);
        QVERIFY(f.controller.acceptEditor(mode, typed, "n", "v"));
        QCOMPARE(f.controller.nextIndex(), qint16(nextIndex));
    }

    void lastIndexStaysProposed()
    {
        ControlFixture f;
        f.open("a.stf", {{32767, "n", "v"}});
        QCOMPARE(f.controller.nextIndex(), qint16(32767));
        QVERIFY(f.controller.acceptEditor(EditMode::Add, "32767", "m", "w"));
        QCOMPARE(f.indexTexts(), QStringList({"32767", "32767"}));
        QVERIFY(f.controller.isModified());
        QCOMPARE(f.controller.nextIndex(), qint16(32767));
    }

    void addAppendsUnselectedWithoutKey()
    {
        ControlFixture f;
        f.open("a.stf", {{1, "a", "x"}, {2, "b", "y"}});
        f.select(1);
        QVERIFY(f.controller.acceptEditor(EditMode::Add, "3", "c", "line 1\r\nline 2"));
        const Entry &added = f.controller.entries().at(2);
        QCOMPARE(added.name, QStringLiteral("c"));
        QCOMPARE(added.value, QStringLiteral("line 1<br>line 2"));
        QCOMPARE(added.key, std::nullopt);
        QCOMPARE(f.selectedPosition(), 0);
        QVERIFY(!f.controller.isEnabled(Command::Edit));
    }

    void editKeepsKeyPositionAndSelection()
    {
        ControlFixture f;
        f.open("a.stf", {{5, "a", "x"}, {12, "b", "y"}});
        f.select(2);
        QVERIFY(f.controller.acceptEditor(EditMode::Edit, "40", "renamed", "one\r\ntwo\rthree"));
        const Entry &edited = f.controller.entries().at(1);
        QCOMPARE(edited.indexText, QStringLiteral("   40"));
        QCOMPARE(edited.name, QStringLiteral("renamed"));
        QCOMPARE(edited.value, QStringLiteral("one<br>two\rthree"));
        QCOMPARE(edited.key, std::optional<qint16>(12));
        QCOMPARE(f.selectedPosition(), 2);
        QVERIFY(f.controller.isEnabled(Command::Edit));
        QVERIFY(f.controller.isModified());
    }

    void removeLeavesNoSelection()
    {
        ControlFixture f;
        f.open("a.stf", {{1, "a", "x"}, {2, "b", "y"}, {3, "c", "z"}});
        f.select(2);
        f.controller.removeEntry();
        QCOMPARE(f.indexTexts(), QStringList({"    1", "    3"}));
        QCOMPARE(f.selectedPosition(), 0);
        QVERIFY(f.controller.isModified());
        QVERIFY(!f.controller.isEnabled(Command::Remove));
        QCOMPARE(f.controller.nextIndex(), qint16(4));

        f.select(1);
        f.controller.removeEntry();
        f.select(1);
        f.controller.removeEntry();
        QVERIFY(f.controller.entries().isEmpty());
        QVERIFY(f.controller.isModified());
    }

    void sorting_data()
    {
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("padding");
        // Padding rows sort after the three named ones by every column, so
        // that a large table, sorted on a worker thread, gives the same order.
        for (const int padding : {0, 5000}) {
            const QByteArray size = padding ? " (large table)" : "";
            QTest::newRow("index, first click ascends" + size)
                << QList<int>{0} << QStringList{"a", "b", "c"} << padding;
            QTest::newRow("index twice" + size) << QList<int>{0, 0} << QStringList{"c", "b", "a"} << padding;
            QTest::newRow("index, name, index" + size) << QList<int>{0, 1, 0} << QStringList{"a", "b", "c"} << padding;
            QTest::newRow("name" + size) << QList<int>{1} << QStringList{"a", "b", "c"} << padding;
            QTest::newRow("name twice" + size) << QList<int>{1, 1} << QStringList{"c", "b", "a"} << padding;
            QTest::newRow("name twice, then value" + size)
                << QList<int>{1, 1, 2} << QStringList{"b", "c", "a"} << padding;
            QTest::newRow("value, then index" + size) << QList<int>{2, 0} << QStringList{"a", "b", "c"} << padding;
        }
    }

    void sorting()
    {
        QFETCH(QList<int>, clicks);
        QFETCH(QStringList, names);
        QFETCH(int, padding);
        ControlFixture f;
        QList<TestRow> rows{{100, "c", "2"}, {9, "a", "3"}, {10, "b", "1"}};
        for (int i = 0; i < padding; ++i)
            rows.append({qint16(1000 + i), QStringLiteral("z%1").arg(i), QStringLiteral("9%1").arg(i)});
        f.open("a.stf", rows);
        for (int click : clicks)
            f.controller.columnClicked(click);
        QStringList shown;
        for (qsizetype p = 0; p < f.controller.entries().count(); ++p) {
            const QString &name = f.controller.entries().at(p).name;
            if (name.size() == 1)
                shown << name;
        }
        QCOMPARE(shown, names);
        QCOMPARE(f.controller.entries().count(), padding + 3);
        QVERIFY(f.controller.entries().isSorted());
        QVERIFY(!f.controller.isModified());
    }

    void stoppedSortKeepsOrder()
    {
        ControlFixture f;
        QList<TestRow> rows;
        for (int i = 0; i < 5000; ++i)
            rows.append({qint16(5000 - i), QStringLiteral("n%1").arg(i), QString()});
        f.open("a.stf", rows);
        f.controller.columnClicked(1);
        f.ui.cancelLongTasks = true;
        f.controller.columnClicked(0);
        QCOMPARE(f.controller.entries().at(0).name, QStringLiteral("n0"));
        QCOMPARE(f.controller.entries().sortKey(), SortColumn::Name);
        QCOMPARE(f.controller.entries().sortOrder(), SortOrder::Ascending);
        QCOMPARE(f.ui.longTasks.size(), 3);
    }

    void editorFill_data()
    {
        // clang-format off
        QTest::addColumn<EditMode>("mode");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("index");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::newRow("add") << EditMode::Add << "追加" << "42" << "" << "";
        QTest::newRow("edit") << EditMode::Edit << "編集" << "12" << "b" << "two\r\nlines";
        // clang-format on
    }

    void editorFill()
    {
        QFETCH(EditMode, mode);
        QFETCH(QString, title);
        QFETCH(QString, index);
        QFETCH(QString, name);
        QFETCH(QString, value);
        ControlFixture f;
        f.open("a.stf", {{41, "a", "x"}, {12, "b", "two\r\nlines"}});
        f.select(2);
        if (mode == EditMode::Add)
            f.controller.addEntry();
        else
            f.controller.editEntry();
        QCOMPARE(f.ui.editors.size(), 1);
        const EditorFill fill = f.ui.editors.first();
        QCOMPARE(fill.mode, mode);
        QCOMPARE(fill.title, title);
        QCOMPARE(fill.index, index);
        QCOMPARE(fill.name, name);
        QCOMPARE(fill.value, value);
    }

    void editorOkWithoutChangeKeepsTheRow()
    {
        ControlFixture f;
        f.open("a.stf", {{12, "b", "one\r\ntwo\nthree\r"}});
        const Entry before = f.controller.entries().at(0);
        f.select(1);
        f.ui.editorScript = [&](const EditorFill &fill) {
            QVERIFY(f.controller.acceptEditor(fill.mode, fill.index, fill.name, fill.value));
        };
        f.controller.editEntry();
        const Entry &after = f.controller.entries().at(0);
        QCOMPARE(after.value, before.value);
        QCOMPARE(after.name, before.name);
        QCOMPARE(after.indexText, before.indexText);
    }

    void editorCancelChangesNothing()
    {
        ControlFixture f;
        f.open("a.stf", {{1, "a", "x"}});
        f.controller.addEntry();
        f.select(1);
        f.controller.editEntry();
        QCOMPARE(f.ui.editors.size(), 2);
        QCOMPARE(f.controller.entries().count(), 1);
        QCOMPARE(f.controller.nextIndex(), qint16(2));
        QVERIFY(!f.controller.isModified());
    }

    void doubleClick_data()
    {
        QTest::addColumn<bool>("selected");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("edits");
        QTest::newRow("selected and shown") << true << true << true;
        QTest::newRow("selected, not shown") << true << false << false;
        QTest::newRow("nothing selected") << false << false << false;
    }

    void doubleClick()
    {
        QFETCH(bool, selected);
        QFETCH(bool, shown);
        QFETCH(bool, edits);
        ControlFixture f;
        f.open("a.stf", {{1, "a", "x"}});
        if (selected)
            f.select(1);
        f.controller.selection().setShown(shown);
        f.controller.itemDoubleClicked();
        QCOMPARE(f.ui.editors.size(), edits ? 1 : 0);
    }

    void activationShowsTheSelectedRowSelected()
    {
        ControlFixture f;
        f.open("a.stf", {{1, "a", "x"}});
        f.controller.windowActivated();
        QVERIFY(!f.controller.selection().isShown());
        f.select(1);
        f.controller.selection().setShown(false);
        f.controller.windowActivated();
        QVERIFY(f.controller.selection().isShown());
    }

    void readmeCommand_data()
    {
        // clang-format off
        QTest::addColumn<QString>("readmeAt"); // beside, installed, both, nowhere
        QTest::addColumn<bool>("notepadOnPath");
        QTest::addColumn<bool>("viewerStarts");
        QTest::addColumn<QString>("opened"); // "@" is the folder that holds bin/; empty: none
        QTest::addColumn<QString>("message"); // a part of the box's text; empty: no box
        const QString beside = QStringLiteral("@/bin/readme.txt");
        const QString installed = QStringLiteral("@/share/doc/wendaro/readme.txt");
        QTest::newRow("beside, notepad") << "beside" << true << true << beside << "";
        QTest::newRow("both: beside first") << "both" << false << true << beside << "";
        QTest::newRow("installed") << "installed" << false << true << installed << "";
        QTest::newRow("no viewer starts") << "installed" << false << false << installed << "「" + installed + "」";
        QTest::newRow("nowhere") << "nowhere" << true << true << "" << "「" + beside + "」\r\n「" + installed + "」";
        // clang-format on
    }

    void readmeCommand()
    {
        QFETCH(QString, readmeAt);
        QFETCH(bool, notepadOnPath);
        QFETCH(bool, viewerStarts);
        QFETCH(QString, opened);
        QFETCH(QString, message);
        ControlFixture f;
        opened = QDir::toNativeSeparators(opened.replace('@', f.dir.path()));
        message = QDir::toNativeSeparators(message.replace('@', f.dir.path()));
        QVERIFY(QDir(f.dir.path()).mkpath("bin") && QDir(f.dir.path()).mkpath("share/doc/wendaro"));
        if (readmeAt != u"installed" && readmeAt != u"nowhere")
            QVERIFY(writeTable(f.path("bin/readme.txt"), {}));
        if (readmeAt == u"installed" || readmeAt == u"both")
            QVERIFY(writeTable(f.path("share/doc/wendaro/readme.txt"), {}));
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), f.path("bin/notepad")));
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(f.path(notepadOnPath ? "bin" : "share")));
        f.ui.viewerStarts = viewerStarts;
        openReadme(f.ui, f.path("bin"));
        qputenv("PATH", oldPath);

        QCOMPARE(f.ui.openedWithDefaultViewer + (f.ui.started.isEmpty() ? QStringList() : f.ui.started[0].second),
                 opened.isEmpty() ? QStringList() : QStringList{opened});
        QCOMPARE(f.ui.started.size(), notepadOnPath && !opened.isEmpty() ? 1 : 0);
        QCOMPARE(f.ui.messages.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QVERIFY2(f.ui.messages[0].text.contains(message), qPrintable(f.ui.messages[0].text));
    }
};

QTEST_MAIN(TestEntryChanges)
#include "tst_entrychanges.moc"
