// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlFixture.h"

#include <QSet>

using namespace wendaro;

namespace {

// Every command, in groups as the window shows them: the Files menu (Close,
// Save, SaveAs), the Edit menu and the list's popup menu (Add, Edit, Remove
// each), the toolbar (Save, Close, Add, Edit, Remove), and cmdFile, txtFile,
// txtMemo.
const QList<QList<Command>> CommandGroups = {
    {Command::FilesClose, Command::FilesSave, Command::FilesSaveAs},
    {Command::EditAdd, Command::EditEdit, Command::EditRemove},
    {Command::PopupAdd, Command::PopupEdit, Command::PopupRemove},
    {Command::ButtonSave, Command::ButtonClose, Command::ButtonAdd, Command::ButtonEdit, Command::ButtonRemove},
    {Command::CmdFile, Command::TxtFile, Command::TxtMemo},
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
    return groups.join(u' ');
}

qsizetype commandCount()
{
    qsizetype count = 0;
    for (const QList<Command> &group : CommandGroups)
        count += group.size();
    return count;
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
            f.controller.entries().select(1);

        f.controller.setUiState(UiState(code));

        QCOMPARE(commandCount(), qsizetype(AllCommands.size()));
        QCOMPARE(enabledCommands(f.controller), enabled);
    }

    void everyCommandHasANameOfItsOwn()
    {
        QSet<QString> names;
        for (Command command : AllCommands)
            names.insert(commandName(command));
        QCOMPARE(names.size(), qsizetype(AllCommands.size()));
        QCOMPARE(commandName(Command::FilesSaveAs), QStringLiteral("mFiles_SaveAs"));
        QCOMPARE(commandName(Command::ButtonRemove), QStringLiteral("Remove"));
    }

    void onlyRealChangesAreNotified()
    {
        ControlFixture f;
        f.controller.setUiState(UiState::NoFile);
        f.ui.commandChanges.clear();
        f.controller.setUiState(UiState::NoFile);
        QVERIFY(f.ui.commandChanges.isEmpty());
        f.controller.setUiState(UiState::FileClean);
        QVERIFY(f.ui.commandChanges.contains(qMakePair(Command::FilesClose, true)));
        QVERIFY(!f.ui.commandChanges.contains(qMakePair(Command::FilesSave, false)));
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
        QCOMPARE(f.controller.isEnabled(Command::ButtonSave), modified);
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
        f.controller.entries().select(1);
        f.controller.itemClicked();
        QVERIFY(f.controller.isEnabled(Command::ButtonEdit));

        f.controller.fieldFocused();
        // Edit and Remove go off everywhere; the rest stays as the open file left it.
        QCOMPARE(enabledCommands(f.controller), QStringLiteral("101 100 100 01100 111"));
        QVERIFY(f.controller.isEnabled(Command::EditAdd));
        QVERIFY(!f.controller.isModified());

        if (typed)
            f.controller.setFieldText(Field::Memo, "m");
        else
            f.controller.itemClicked();
        QVERIFY(f.controller.isEnabled(Command::EditEdit));
        QVERIFY(f.controller.isEnabled(Command::ButtonRemove));
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
        QVERIFY(!f.controller.isEnabled(Command::ButtonSave));
    }
};

QTEST_GUILESS_MAIN(TestCommandStates)
#include "tst_commandstates.moc"
