// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlFixture.h"

#include <QAction>
#include <QSignalSpy>

using namespace wendaro;

namespace {

// Rows 1..5 of a translation and its original; index 6 is only in the
// original, 9 only in the translation.
const QList<TestRow> Original = {{1, "a", "Open"},         {2, "b", "Save %1"}, {3, "c", "Close"},
                                 {4, "d", "Find<br>next"}, {5, "e", "42"},      {6, "f", "Quit"}};
const QList<TestRow> Old = {{1, "a", "Open"}, {2, "b", "Save %1"}, {3, "c", "Shut"}, {4, "d", "Find<br>next"}};
const QList<TestRow> Translation = {{1, "a", "開く"},         {2, "b", "保存"}, {3, "c", "閉じる"},
                                    {4, "d", "Find<br>next"}, {5, "e", "42"},   {9, "z", "余り"}};

QString states(MainWindowController &c)
{
    QStringList words;
    for (qsizetype p = 0; p < c.entries().count(); ++p)
        words << rowStateWord(c.translationStatus().state(p));
    return words.join(u'|');
}

QString values(const MainWindowController &c)
{
    QStringList out;
    for (qsizetype p = 0; p < c.entries().count(); ++p)
        out << c.entries().at(p).indexText.trimmed() + u'=' + c.entries().at(p).value.toString();
    return out.join(u'|');
}

} // namespace

class TestTranslating : public QObject
{
    Q_OBJECT

private:
    void openAll(ControlFixture &f, bool withOld)
    {
        f.open(QStringLiteral("ja.stf"), Translation);
        QVERIFY(writeTable(f.path("en.stf"), Original));
        QVERIFY(writeTable(f.path("old.stf"), Old));
        QVERIFY(f.controller.translation().openOriginal(f.path("en.stf"), false));
        if (withOld)
            QVERIFY(f.controller.translation().openOriginal(f.path("old.stf"), true));
    }

private slots:
    void statesAndCounts_data()
    {
        QTest::addColumn<bool>("withOld");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<QString>("states");
        QTest::addColumn<QString>("progress");
        // 2 loses its placeholder; 4 is the original unchanged; 5 holds no
        // letter, so it needs no translation; 9 has no original; 6 is missing.
        QTest::newRow("original") << false << 0 << "|問題||未訳||原文なし"
                                  << "翻訳済み 3 / 6（50 %）";
        // 3 changed since the old original, and 5 is new.
        QTest::newRow("old original") << true << 0 << "|問題|要確認|未訳|要確認|原文なし"
                                      << "翻訳済み 1 / 6（16 %）";
        // 3's three characters are one too many, given after the original opened.
        QTest::newRow("longest value") << false << 2 << "|問題|問題|未訳||原文なし"
                                       << "翻訳済み 2 / 6（33 %）";
    }
    void statesAndCounts()
    {
        QFETCH(bool, withOld);
        QFETCH(int, maxLength);
        QFETCH(QString, states);
        QFETCH(QString, progress);
        ControlFixture f;
        openAll(f, withOld);
        f.controller.translationStatus().setMaxLength(maxLength);
        QCOMPARE(::states(f.controller), states);
        QCOMPARE(f.controller.translationStatus().counts().progressLine(), progress);
        QCOMPARE(f.controller.translationStatus().counts().missing, 1);
        QCOMPARE(f.controller.model().columnCount(), 5);
        QCOMPARE(f.controller.model().headerData(3, Qt::Horizontal).toString(), QStringLiteral("原文"));
        QCOMPARE(f.controller.model().index(3, 3).data().toString(), QStringLiteral("Find<br>next"));
    }

    void script_data()
    {
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QString>("values");
        QTest::addColumn<int>("selected"); // from 1; 0 none
        QTest::addColumn<QString>("note");
        // Where the last move left the cursor in 訳: at the end, over the
        // whole text, or "" when the focus was not sent there.
        QTest::addColumn<QString>("cursor");

        const QString start = QStringLiteral("1=開く|2=保存|3=閉じる|4=Find<br>next|5=42|9=余り");
        QTest::newRow("next stops at work, wraps with a note")
            << QStringList{"select 4", "next"} << start << 2 << QString("先頭から検索しました") << "end";
        QTest::newRow("previous") << QStringList{"select 2", "previous"} << start << 4
                                  << QString("末尾から検索しました") << "all";
        QTest::newRow("typing one visit is one step")
            << QStringList{"select 4", "type 探", "type 探す", "undo"} << start << 4 << QString() << "";
        QTest::newRow("two visits are two steps")
            << QStringList{"select 4", "type 探す", "select 1", "select 4", "type 探すX", "undo"}
            << QString(start).replace("Find<br>next", "探す") << 4 << QString() << "";
        QTest::newRow("typing that ends where it began leaves no step")
            << QStringList{"select 2", "type 保存X", "select 1", "type 開", "type 開く", "undo"} << start << 2
            << QString() << "";
        QTest::newRow("copy the original")
            << QStringList{"select 3", "copy"} << QString(start).replace("閉じる", "Close") << 3 << QString() << "end";
        QTest::newRow("missing rows at the end, one step")
            << QStringList{"missing"} << start + "|6=Quit" << 0 << QString() << "";
        QTest::newRow("missing rows undone") << QStringList{"missing", "undo"} << start << 0 << QString() << "";
        QTest::newRow("accept and next") << QStringList{"select 1", "accept"} << start << 2 << QString() << "end";
        // A row still holding its original's text is typed over.
        QTest::newRow("accept and next onto a copy")
            << QStringList{"select 3", "accept"} << start << 4 << QString() << "all";
        QTest::newRow("accept and next onto an empty row")
            << QStringList{"select 3", "type", "select 2", "accept"} << QString(start).replace("閉じる", "") << 3
            << QString() << "end";
        QTest::newRow("next onto a missing row added")
            << QStringList{"missing", "select 5", "next"} << start + "|6=Quit" << 7 << QString() << "all";
        // Ctrl+Z in 訳 with nothing of the field's own to undo.
        QTest::newRow("field undo takes the copy back")
            << QStringList{"select 3", "copy", "field undo"} << start << 3 << QString() << "end";
        QTest::newRow("field undo after typing that ended where it began")
            << QStringList{"select 3", "copy", "type X", "type Close", "field undo"} << start << 3 << QString()
            << "end";
        QTest::newRow("field undo leaves typing to the field")
            << QStringList{"select 3", "copy", "type X", "field undo"} << QString(start).replace("閉じる", "X") << 3
            << QString() << "end";
        QTest::newRow("field undo leaves another row's copy")
            << QStringList{"select 3", "copy", "select 1", "field undo"} << QString(start).replace("閉じる", "Close")
            << 1 << QString() << "end";
    }
    void script()
    {
        QFETCH(QStringList, script);
        QFETCH(QString, values);
        QFETCH(int, selected);
        QFETCH(QString, note);
        QFETCH(QString, cursor);
        ControlFixture f;
        openAll(f, false);
        MainWindowController &c = f.controller;
        TranslationEditing &work = c.translation();
        QString lastNote;
        connect(&work, &TranslationEditing::noteChanged, this, [&lastNote](const QString &text) { lastNote = text; });
        QString lastCursor;
        connect(&work, &TranslationEditing::translationWanted, this,
                [&lastCursor](bool typeOver) { lastCursor = typeOver ? "all" : "end"; });
        for (const QString &action : script) {
            const QString verb = action.section(u' ', 0, 0);
            const QString rest = action.section(u' ', 1);
            if (verb == u"select")
                f.select(rest.toInt());
            else if (verb == u"next")
                work.goToWork(+1);
            else if (verb == u"previous")
                work.goToWork(-1);
            else if (verb == u"accept")
                work.acceptAndNext();
            else if (verb == u"type")
                work.typeTranslation(rest);
            else if (verb == u"copy")
                work.copyOriginal();
            else if (verb == u"missing")
                work.addMissingRows();
            else if (verb == u"undo")
                c.undo();
            else if (action == u"field undo")
                work.undoFill();
            else
                QFAIL(qPrintable(action));
        }
        QCOMPARE(::values(c), values);
        QCOMPARE(f.selectedPosition(), selected);
        QCOMPARE(lastNote, note);
        QCOMPARE(lastCursor, cursor);
        QVERIFY(c.nextIndex() >= 7 || !values.contains("6=Quit"));
    }

    void typingBackIsTheSavedState()
    {
        ControlFixture f;
        openAll(f, false);
        f.select(1);
        f.controller.translation().typeTranslation(QStringLiteral("開"));
        QVERIFY(f.controller.isModified());
        f.controller.translation().typeTranslation(QStringLiteral("開く"));
        QVERIFY(!f.controller.isModified());
        QVERIFY(!f.controller.action(Command::Undo).isEnabled());
    }

    // A large table is counted on a worker; what is typed meanwhile counts.
    void largeTableCountedAside()
    {
        ControlFixture f;
        QList<TestRow> translation;
        QList<TestRow> original;
        const QString longText(30000, u'x');
        for (qint16 index = 1; index <= 300; ++index) {
            translation.append({index, "n", longText});
            original.append({index, "n", longText + QStringLiteral("y")});
        }
        translation[1].value.clear();
        f.open(QStringLiteral("ja.stf"), translation);
        QVERIFY(writeTable(f.path("en.stf"), original));
        TranslationStatus &review = f.controller.translationStatus();
        QVERIFY(f.controller.translation().openOriginal(f.path("en.stf"), false));
        QVERIFY(review.isCounting());
        f.select(1);
        f.controller.translation().typeTranslation(QString());
        // A wait, not a measure: under the sanitizers, on a busy machine,
        // counting 9 million characters through every check takes seconds.
        QTRY_VERIFY_WITH_TIMEOUT(!review.isCounting(), 60000);
        QCOMPARE(review.state(0), RowState::Untranslated);
        QCOMPARE(review.state(1), RowState::Untranslated);
        QCOMPARE(review.counts().of(RowState::Untranslated), 2);
        QCOMPARE(review.counts().translated, 298);
    }

    void acceptClearsReview()
    {
        ControlFixture f;
        openAll(f, true);
        f.select(3);
        QCOMPARE(f.controller.translationStatus().state(2), RowState::NeedsReview);
        f.controller.translation().acceptAndNext();
        QCOMPARE(f.controller.translationStatus().state(2), RowState::Translated);
        QCOMPARE(f.selectedPosition(), 4);
    }

    void originalsCloseWithTheTable()
    {
        ControlFixture f;
        openAll(f, true);
        QSignalSpy columns(&f.controller.model(), &QAbstractItemModel::columnsRemoved);
        f.controller.closeFile();
        QVERIFY(!f.controller.translationStatus().isOpen());
        QCOMPARE(columns.size(), 1);
        QCOMPARE(f.controller.model().columnCount(), 3);
    }

    void unreadableOriginalChangesNothing()
    {
        ControlFixture f;
        f.open(QStringLiteral("ja.stf"), Translation);
        QVERIFY(!f.controller.translation().openOriginal(f.path("missing.stf"), false));
        QCOMPARE(f.ui.messages.size(), 1);
        QVERIFY(!f.controller.translationStatus().isOpen());
        QCOMPARE(f.controller.model().columnCount(), 3);
    }

    void dialogOnlyWithATable()
    {
        ControlFixture f;
        f.controller.startUp(QString());
        f.controller.action(Command::OpenOriginal).trigger();
        QVERIFY(f.ui.dialogs.isEmpty());
        f.open(QStringLiteral("ja.stf"), Translation);
        f.controller.action(Command::OpenOriginal).trigger();
        QCOMPARE(f.ui.dialogs.size(), 1);
        QCOMPARE(f.ui.dialogs.first().title, QStringLiteral("原文を開く"));
    }

    // A check turned off for the table no longer makes its rows 問題, and
    // stays off when the table is opened again; turned back on, it does.
    void checkTurnedOffForTheTable()
    {
        ControlFixture f;
        f.open(QStringLiteral("ja.stf"), {{1, "a", "開く"}});
        QVERIFY(writeTable(f.path("en.stf"), {{1, "a", "Open."}}));
        QVERIFY(f.controller.translation().openOriginal(f.path("en.stf"), false));
        const TranslationStatus &status = f.controller.translationStatus();
        QCOMPARE(status.state(0), RowState::Problem);
        QCOMPARE(status.findingChecks(0), std::vector<TranslationCheck>{TranslationCheck::EndPunctuation});
        f.controller.skippedChecks().skip(TranslationCheck::EndPunctuation);
        QCOMPARE(status.state(0), RowState::Translated);
        f.controller.closeFile();
        f.open(QStringLiteral("ja.stf"), {{1, "a", "開く"}});
        QVERIFY(f.controller.translation().openOriginal(f.path("en.stf"), false));
        QCOMPARE(status.state(0), RowState::Translated);
        f.controller.skippedChecks().restore(TranslationCheck::EndPunctuation);
        QCOMPARE(status.state(0), RowState::Problem);
    }
};

QTEST_MAIN(TestTranslating)
#include "tst_translating.moc"
