// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlFixture.h"

#include <QSet>

using namespace wendaro;

namespace {

// The command table, one word per state in code order 0 SelectionChanged,
// 1 NoFile, 2 FieldFocus, 3 FileClean, 4 Modified: "on", "off", "-"
// (untouched) or "sel" (follows whether a row is selected).
const QList<QPair<Command, QStringList>> CommandTable = {
    {Command::FilesClose, {"-", "off", "-", "on", "-"}},
    {Command::FilesSave, {"-", "off", "-", "off", "on"}},
    {Command::FilesSaveAs, {"-", "off", "-", "on", "-"}},
    {Command::EditAdd, {"-", "off", "-", "on", "-"}},
    {Command::EditEdit, {"sel", "off", "off", "sel", "sel"}},
    {Command::EditRemove, {"sel", "off", "off", "sel", "sel"}},
    {Command::PopupAdd, {"-", "off", "-", "on", "-"}},
    {Command::PopupEdit, {"sel", "off", "off", "sel", "sel"}},
    {Command::PopupRemove, {"sel", "off", "off", "sel", "sel"}},
    {Command::ButtonSave, {"-", "off", "-", "off", "on"}},
    {Command::ButtonClose, {"-", "off", "-", "on", "-"}},
    {Command::ButtonAdd, {"-", "off", "-", "on", "-"}},
    {Command::ButtonEdit, {"sel", "off", "off", "sel", "sel"}},
    {Command::ButtonRemove, {"sel", "off", "off", "sel", "sel"}},
    {Command::CmdFile, {"-", "off", "-", "on", "-"}},
    {Command::TxtFile, {"-", "off", "-", "on", "-"}},
    {Command::TxtMemo, {"-", "off", "-", "on", "-"}},
};

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
        const char *names[] = {"SelectionChanged", "NoFile", "FieldFocus", "FileClean", "Modified"};
        for (int code = 0; code <= 4; ++code) {
            for (bool selected : {false, true}) {
                for (bool before : {false, true}) {
                    QTest::addRow("%s, %s, from all %s", names[code], selected ? "selected" : "no selection",
                                  before ? "on" : "off")
                        << code << selected << before;
                }
            }
        }
        QTest::newRow("unknown code acts as a selection change") << 7 << true << false;
    }

    void stateTable()
    {
        QFETCH(int, code);
        QFETCH(bool, selected);
        QFETCH(bool, before);
        ControlFixture f;
        if (!before)
            f.controller.setUiState(UiState::NoFile);
        f.controller.entries().append(indexText(1));
        if (selected)
            f.controller.entries().select(1);

        f.controller.setUiState(UiState(code));

        const int column = code >= 0 && code <= 4 ? code : 0;
        QCOMPARE(CommandTable.size(), qsizetype(AllCommands.size()));
        for (const auto &[command, row] : CommandTable) {
            const QString effect = row.at(column);
            const bool expected = effect == "on" || (effect == "-" && before) || (effect == "sel" && selected);
            QVERIFY2(f.controller.isEnabled(command) == expected, qPrintable(commandName(command)));
        }
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
        const int fieldFocus = int(UiState::FieldFocus);
        for (const auto &[command, row] : CommandTable) {
            if (row.at(fieldFocus) == "off")
                QVERIFY2(!f.controller.isEnabled(command), qPrintable(commandName(command)));
        }
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
