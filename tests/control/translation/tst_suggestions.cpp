// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlFixture.h"

#include <QAction>
#include <QFile>

using namespace wendaro;

namespace {

const QList<TestRow> Original = {{1, "a", "Save the game?"},
                                 {2, "b", "Save the game now?"},
                                 {3, "c", "Iron Sword"},
                                 {4, "d", "Open the door"}};
const QList<TestRow> Translation = {{1, "a", "ゲームをセーブしますか？"}, {2, "b", ""}, {3, "c", ""}, {4, "d", ""}};

bool writeMemory(const QString &path, const QByteArray &units)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly)
           && file.write("<?xml version=\"1.0\"?>\n<tmx version=\"1.4\"><header srclang=\"en\"/><body>\n" + units
                         + "</body></tmx>\n")
                  > 0;
}

QByteArray unit(const char *source, const char *target, const char *language = "ja")
{
    return QByteArray("<tu><tuv xml:lang=\"en\"><seg>") + source + "</seg></tuv><tuv xml:lang=\"" + language
           + "\"><seg>" + target + "</seg></tuv></tu>\n";
}

// The selected row's suggestions once every lookup has ended, as "score origin target".
QStringList suggestionsOf(ControlFixture &f, qsizetype position)
{
    f.select(position);
    MemorySuggestions &suggestions = f.controller.suggestions();
    [&] { QTRY_VERIFY(!suggestions.isIndexing() && !suggestions.isLookingUp()); }();
    QStringList shown;
    for (const Suggestion &s : suggestions.suggestions())
        shown << QStringLiteral("%1 %2 %3").arg(s.score).arg(s.origin, s.target);
    return shown;
}

} // namespace

class TestSuggestions : public QObject
{
    Q_OBJECT

private:
    void openAll(ControlFixture &f)
    {
        f.open(QStringLiteral("ja.stf"), Translation);
        QVERIFY(writeTable(f.path("en.stf"), Original));
        QVERIFY(f.controller.translation().openOriginal(f.path("en.stf"), false));
    }

private slots:
    // The table is a memory of its translated rows, as they are now; a row
    // never suggests itself.
    void tableRowsAsMemory()
    {
        ControlFixture f;
        openAll(f);
        QCOMPARE(suggestionsOf(f, 2), QStringList({"80 この表 #1 ゲームをセーブしますか？"}));
        QCOMPARE(suggestionsOf(f, 1), QStringList());
        f.select(2);
        f.controller.translation().typeTranslation(QStringLiteral("今すぐセーブしますか？"));
        QCOMPARE(suggestionsOf(f, 1), QStringList({"80 この表 #2 今すぐセーブしますか？"}));
    }

    // Ctrl+1 puts the suggestion in as one step of the history.
    void memoryFileAndTaking()
    {
        ControlFixture f;
        openAll(f);
        QVERIFY(
            writeMemory(f.path("tm.tmx"), unit("Iron Sword", "鉄の剣") + unit("Open the red door", "赤い扉を開ける")));
        f.ui.filesDialogResults = {{f.path("tm.tmx")}};
        f.controller.action(Command::OpenMemory).trigger();
        QCOMPARE(f.ui.dialogs.last().title, QStringLiteral("翻訳メモリを開く"));
        QCOMPARE(f.controller.suggestions().unitCount(), 2);
        QCOMPARE(suggestionsOf(f, 4), QStringList({"75 tm.tmx 赤い扉を開ける"}));
        QCOMPARE(suggestionsOf(f, 3), QStringList({"100 tm.tmx 鉄の剣"}));
        f.controller.action(Command::UseSuggestion1).trigger();
        QCOMPARE(f.controller.entries().at(2).value.toString(), QStringLiteral("鉄の剣"));
        QCOMPARE(f.controller.translationStatus().state(2), RowState::Translated);
        f.controller.action(Command::UseSuggestion2).trigger(); // there is no second
        f.controller.undo();
        QCOMPARE(f.controller.entries().at(2).value.toString(), QString());
        // Taken again, Ctrl+Z in 訳 takes it back; then nothing is left to.
        f.controller.action(Command::UseSuggestion1).trigger();
        QVERIFY(f.controller.translation().undoFill());
        QCOMPARE(f.controller.entries().at(2).value.toString(), QString());
        QVERIFY(!f.controller.translation().undoFill());

        // Remembered for the table: opened again with it, no question asked.
        f.controller.closeFile();
        QCOMPARE(f.controller.suggestions().unitCount(), 0);
        openAll(f);
        QCOMPARE(f.controller.suggestions().unitCount(), 2);
        QCOMPARE(f.ui.dialogs.size(), 1);
    }

    void languagesAndFailures_data()
    {
        QTest::addColumn<QByteArray>("units");
        QTest::addColumn<QList<std::optional<QString>>>("choices");
        QTest::addColumn<int>("units_loaded");
        QTest::addColumn<int>("boxes");
        const QByteArray two = unit("Iron Sword", "鉄の剣") + unit("Iron Sword", "Épée de fer", "fr");
        QTest::newRow("one language asked for") << two << QList<std::optional<QString>>{u"fr"_qs} << 1 << 0;
        QTest::newRow("question cancelled") << two << QList<std::optional<QString>>{std::nullopt} << 0 << 0;
        QTest::newRow("no TMX") << QByteArray("<tu>&undeclared;</tu>") << QList<std::optional<QString>>{} << 0 << 1;
    }
    void languagesAndFailures()
    {
        QFETCH(QByteArray, units);
        QFETCH(QList<std::optional<QString>>, choices);
        QFETCH(int, units_loaded);
        QFETCH(int, boxes);
        ControlFixture f;
        openAll(f);
        QVERIFY(writeMemory(f.path("tm.tmx"), units));
        f.ui.itemChoices = choices;
        f.controller.suggestions().openMemories({f.path("tm.tmx")});
        QCOMPARE(f.controller.suggestions().unitCount(), units_loaded);
        QCOMPARE(f.ui.messages.size(), boxes);
        if (boxes > 0)
            QVERIFY(f.ui.messages.last().text.contains(f.path("tm.tmx") + QStringLiteral(":3: ")));
        if (!choices.isEmpty())
            QCOMPARE(f.ui.itemLists.last(), QStringList({u"fr"_qs, u"ja"_qs}));
        if (units_loaded > 0)
            QCOMPARE(suggestionsOf(f, 3), QStringList({"100 tm.tmx Épée de fer"}));
    }

    // Moving on drops the lookup of the row left.
    void latestRowWins()
    {
        ControlFixture f;
        openAll(f);
        f.select(2);
        QCOMPARE(suggestionsOf(f, 3), QStringList());
        QCOMPARE(f.controller.suggestions().suggestions().size(), size_t(0));
    }
};

QTEST_MAIN(TestSuggestions)
#include "tst_suggestions.moc"
