// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlFixture.h"

#include <QAction>
#include <QAction>
#include <QSet>
#include <QSignalSpy>
#include <QSignalSpy>

using namespace wendaro;

namespace {

// Every command of the state table, in groups as the window shows them: the
// Files menu (Close, Save, SaveAs), the Edit menu and the list's popup menu
// (Add, Edit, Remove each: one command each), the toolbar (Save, Close, Add,
// Edit, Remove), and cmdFile; txtFile and txtMemo follow it.
const QList<QList<Command>> CommandGroups = {
    {Command::Close, Command::Save, Command::SaveAs},
    {Command::Add, Command::Edit, Command::Remove},
    {Command::Add, Command::Edit, Command::Remove},
    {Command::Save, Command::Close, Command::Add, Command::Edit, Command::Remove},
    {Command::ChooseOutput},
};

// Which commands are enabled, "1" or "0" for each in CommandGroups's order,
// a space between groups: "101 100 100 01100 111".
QString enabledCommands(const MainWindowController &controller)
{
    QStringList groups;
    for (const QList<Command> &group : CommandGroups) {
        QString flags;
        for (Command command : group)
            flags += controller.isEnabled(command) ? u'1' : u'0';
        groups << flags;
    }
    for (Field field : {Field::File, Field::Memo})
        groups.last() += controller.isFieldEnabled(field) ? u'1' : u'0';
    return groups.join(u' ');
}

} // namespace

class TestCommandStates : public QObject
{
    Q_OBJECT

private slots:
    void stateTable_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<bool>("before");
        QTest::addColumn<QString>("enabled");
        // A state code changes what it names and keeps the rest as it was:
        // every command on, or every command off, beforehand.
        const auto row = [](const char *name, const char *selected, const char *before) -> QTestData & {
            return QTest::addRow("%s, %s, from all %s", name, selected, before);
        };
        row("SelectionChanged", "no selection", "off") << 0 << false << false << "000 000 000 00000 000";
        row("SelectionChanged", "no selection", "on") << 0 << false << true << "111 100 100 11100 111";
        row("SelectionChanged", "selected", "off") << 0 << true << false << "000 011 011 00011 000";
        row("SelectionChanged", "selected", "on") << 0 << true << true << "111 111 111 11111 111";
        row("NoFile", "no selection", "off") << 1 << false << false << "000 000 000 00000 000";
        row("NoFile", "no selection", "on") << 1 << false << true << "000 000 000 00000 000";
        row("NoFile", "selected", "off") << 1 << true << false << "000 000 000 00000 000";
        row("NoFile", "selected", "on") << 1 << true << true << "000 000 000 00000 000";
        row("FieldFocus", "no selection", "off") << 2 << false << false << "000 000 000 00000 000";
        row("FieldFocus", "no selection", "on") << 2 << false << true << "111 100 100 11100 111";
        row("FieldFocus", "selected", "off") << 2 << true << false << "000 000 000 00000 000";
        row("FieldFocus", "selected", "on") << 2 << true << true << "111 100 100 11100 111";
        row("FileClean", "no selection", "off") << 3 << false << false << "101 100 100 01100 111";
        row("FileClean", "no selection", "on") << 3 << false << true << "101 100 100 01100 111";
        row("FileClean", "selected", "off") << 3 << true << false << "101 111 111 01111 111";
        row("FileClean", "selected", "on") << 3 << true << true << "101 111 111 01111 111";
        row("Modified", "no selection", "off") << 4 << false << false << "010 000 000 10000 000";
        row("Modified", "no selection", "on") << 4 << false << true << "111 100 100 11100 111";
        row("Modified", "selected", "off") << 4 << true << false << "010 011 011 10011 000";
        row("Modified", "selected", "on") << 4 << true << true << "111 111 111 11111 111";
        QTest::newRow("unknown code acts as a selection change") << 7 << true << false << "000 011 011 00011 000";
    }

    void stateTable()
    {
        QFETCH(int, code);
        QFETCH(bool, selected);
        QFETCH(bool, before);
        QFETCH(QString, enabled);
        ControlFixture f;
        if (!before)
            f.controller.setUiState(UiState::NoFile);
        f.controller.entries().append(indexText(1));
        if (selected)
            f.select(1);

        f.controller.setUiState(UiState(code));

        QCOMPARE(enabledCommands(f.controller), enabled);
    }

    void everyCommandHasANameOfItsOwn()
    {
        QSet<QString> names;
        for (Command command : AllCommands)
            names.insert(commandName(command));
        QCOMPARE(names.size(), qsizetype(AllCommands.size()));
        QCOMPARE(commandName(Command::SaveAs), QStringLiteral("commandSaveAs"));
        QCOMPARE(commandName(Command::Remove), QStringLiteral("commandRemove"));
    }

    void onlyRealChangesAreNotified()
    {
        ControlFixture f;
        f.controller.setUiState(UiState::NoFile);
        f.ui.fieldEnabledChanges.clear();
        QSignalSpy close(&f.controller.action(Command::Close), &QAction::enabledChanged);
        QSignalSpy save(&f.controller.action(Command::Save), &QAction::enabledChanged);
        f.controller.setUiState(UiState::NoFile);
        QVERIFY(f.ui.fieldEnabledChanges.isEmpty());
        QCOMPARE(close.size(), 0);
        f.controller.setUiState(UiState::FileClean);
        QVERIFY(f.ui.fieldEnabledChanges.contains(qMakePair(Field::File, true)));
        QCOMPARE(close.size(), 1);
        QCOMPARE(save.size(), 0);
    }

    void fieldText_data()
    {
        // clang-format off
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("modified");
        QTest::newRow("typed into txtFile") << int(Field::File) << "" << "a" << true;
        QTest::newRow("memo changed") << int(Field::Memo) << "x" << "y" << true;
        QTest::newRow("memo cleared") << int(Field::Memo) << "x" << "" << true;
        QTest::newRow("same output file") << int(Field::File) << "out.stf" << "out.stf" << false;
        QTest::newRow("empty stays empty") << int(Field::Memo) << "" << "" << false;
        // clang-format on
    }

    void fieldText()
    {
        QFETCH(int, field);
        QFETCH(QString, before);
        QFETCH(QString, text);
        QFETCH(bool, modified);
        ControlFixture f;
        f.controller.setUiState(UiState::NoFile);
        f.controller.setUiState(UiState::FileClean);
        f.controller.setFieldText(Field(field), before);
        f.controller.setUiState(UiState::FileClean);
        f.ui.fieldChanges.clear();

        f.controller.setFieldText(Field(field), text);

        QCOMPARE(f.controller.fieldText(Field(field)), text);
        QCOMPARE(f.controller.isModified(), modified);
        QCOMPARE(f.controller.isEnabled(Command::Save), modified);
        QCOMPARE(f.ui.fieldChanges.size(), modified ? 1 : 0);
    }

    void focusSwitchesEditOffUntilClickOrTyping_data()
    {
        QTest::addColumn<bool>("typed");
        QTest::newRow("click on the list") << false;
        QTest::newRow("typing in the field") << true;
    }

    void focusSwitchesEditOffUntilClickOrTyping()
    {
        QFETCH(bool, typed);
        ControlFixture f;
        f.open("a.stf", {{3, "n", "v"}});
        f.select(1);
        f.controller.itemClicked();
        QVERIFY(f.controller.isEnabled(Command::Edit));

        f.controller.fieldFocused();
        // Edit and Remove go off everywhere; the rest stays as the open file left it.
        QCOMPARE(enabledCommands(f.controller), QStringLiteral("101 100 100 01100 111"));
        QVERIFY(f.controller.isEnabled(Command::Add));
        QVERIFY(!f.controller.isModified());

        if (typed)
            f.controller.setFieldText(Field::Memo, "m");
        else
            f.controller.itemClicked();
        QVERIFY(f.controller.isEnabled(Command::Edit));
        QVERIFY(f.controller.isEnabled(Command::Remove));
        QCOMPARE(f.controller.isModified(), typed);
    }

    void noFileEmptiesTheFieldsAndEndsUnmodified()
    {
        ControlFixture f;
        f.open("a.txt", {}, {"out.stf", "memo"});
        f.controller.setUiState(UiState::NoFile);
        QCOMPARE(f.controller.fieldText(Field::File), QString());
        QCOMPARE(f.controller.fieldText(Field::Memo), QString());
        QVERIFY(!f.controller.isModified());
        QVERIFY(!f.controller.isEnabled(Command::Save));
    }
};

QTEST_MAIN(TestCommandStates)
#include "tst_commandstates.moc"
