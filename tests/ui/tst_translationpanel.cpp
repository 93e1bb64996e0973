// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowFixture.h"

#include "ui/ValueEdit.h"

#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QTextBrowser>

using namespace wendaro;

class TestTranslationPanel : public QObject
{
    Q_OBJECT

private slots:
    // The panel and the columns show only while an original is open; the
    // keys work on the list and in 訳.
    void panelFollowsTheOriginal()
    {
        WindowFixture f;
        f.open(QStringLiteral("ja.stf"), {{1, "a", "開く"}, {2, "b", ""}, {3, "c", "閉じる"}});
        QVERIFY(writeTable(f.path("en.stf"), {{1, "a", "Open"}, {2, "b", "Save<br>all"}, {3, "c", "Close"}}));
        f.showActive();
        auto *panel = child<QWidget>(f.window, QStringLiteral("TranslationPanel"));
        QVERIFY(panel->isHidden());
        QCOMPARE(f.list().header()->count(), 3);

        QVERIFY(f.controller().translation().openOriginal(f.path("en.stf"), false));
        QVERIFY(panel->isVisible());
        QHeaderView &header = *f.list().header();
        QStringList shown;
        for (int visual = 0; visual < header.count(); ++visual)
            shown << f.list().model()->headerData(header.logicalIndex(visual), Qt::Horizontal).toString();
        QCOMPARE(shown, (QStringList{"Index", "Name", "原文", "Value", "状態"}));
        QVERIFY(f.list().geometry().bottom() < panel->geometry().top());

        // Alt+Down on the list goes to the untranslated row, the focus in 訳.
        f.select(1);
        f.list().setFocus();
        QTest::keyClick(&f.list(), Qt::Key_Down, Qt::AltModifier);
        QCOMPARE(f.selectedPosition(), 2);
        auto *original = child<ValueEdit>(*panel, QStringLiteral("txtOriginal"));
        auto *translation = child<ValueEdit>(*panel, QStringLiteral("txtTranslation"));
        QCOMPARE(original->accessibleName(), QStringLiteral("原文"));
        QCOMPARE(translation->accessibleName(), QStringLiteral("訳"));
        QCOMPARE(original->toPlainText(), QStringLiteral("Save\nall"));
        QTRY_VERIFY(translation->hasFocus());

        // Typing changes the row, Enter types a line break, Ctrl+Z on the
        // list takes the whole visit back.
        QTest::keyClicks(translation, QStringLiteral("hozon"));
        QTest::keyClick(translation, Qt::Key_Return);
        QTest::keyClicks(translation, QStringLiteral("zenbu"));
        QCOMPARE(f.controller().entries().at(1).value.toString(), QStringLiteral("hozon<br>zenbu"));
        QCOMPARE(f.controller().translationStatus().state(1), RowState::Translated);
        QVERIFY(f.controller().isModified());
        f.list().setFocus();
        QTest::keyClick(&f.list(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.controller().entries().at(1).value.toString(), QString());
        QCOMPARE(translation->toPlainText(), QString());
        QVERIFY(!f.controller().isModified());

        // Ctrl+B in 訳 copies the original.
        translation->setFocus();
        QTest::keyClick(translation, Qt::Key_B, Qt::ControlModifier);
        QCOMPARE(translation->toPlainText(), QStringLiteral("Save\nall"));
        // Ctrl+Z in 訳 takes back the typing first, then the copy.
        QTest::keyClicks(translation, QStringLiteral("x"));
        QCOMPARE(f.controller().entries().at(1).value.toString(), QStringLiteral("Save<br>allx"));
        QTest::keyClick(translation, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(translation->toPlainText(), QStringLiteral("Save\nall"));
        QTest::keyClick(translation, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(translation->toPlainText(), QString());
        QCOMPARE(f.controller().entries().at(1).value.toString(), QString());
        QVERIFY(!f.controller().isModified());
        QTest::keyClick(translation, Qt::Key_B, Qt::ControlModifier);
        // Ctrl+Enter onto that copy selects it in 訳: typing replaces it.
        f.select(1);
        QTest::keyClick(&f.list(), Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(f.selectedPosition(), 2);
        QTest::keyClicks(translation, QStringLiteral("owari"));
        QCOMPARE(f.controller().entries().at(1).value.toString(), QStringLiteral("owari"));

        f.services.steps << answer(QMessageBox::No);
        f.controller().closeFile();
        QVERIFY(panel->isHidden());
        QCOMPARE(f.list().header()->count(), 3);
    }

    // With an original open, the original's and the value's columns share
    // the width the others leave at each width of the window, but for a
    // column the person sized (to 150 pixels); with none, all keep theirs.
    void columnsFillTheWidth_data()
    {
        QTest::addColumn<bool>("original");
        QTest::addColumn<QList<int>>("sized");
        QTest::newRow("no original") << false << QList<int>{};
        QTest::newRow("original") << true << QList<int>{};
        QTest::newRow("index sized") << true << QList<int>{0};
        QTest::newRow("original sized") << true << QList<int>{3};
        QTest::newRow("both sized") << true << QList<int>{3, 2};
    }
    void columnsFillTheWidth()
    {
        QFETCH(bool, original);
        QFETCH(QList<int>, sized);
        WindowFixture f;
        f.open(QStringLiteral("ja.stf"), {{1, "a", "開く"}});
        QVERIFY(writeTable(f.path("en.stf"), {{1, "a", "Open"}}));
        f.showActive();
        if (original)
            QVERIFY(f.controller().translation().openOriginal(f.path("en.stf"), false));
        QHeaderView &header = *f.list().header();
        for (const int section : sized)
            header.resizeSection(section, 150);
        QList<int> before;
        for (int section = 0; section < header.count(); ++section)
            before << header.sectionSize(section);
        for (const int width : {900, 1400, 700}) {
            f.window.resize(width, f.window.height());
            QTRY_COMPARE(f.list().width(), width);
            QList<int> filling;
            for (int section = 0; section < header.count(); ++section) {
                if (original && (section == 2 || section == 3) && !sized.contains(section))
                    filling << header.sectionSize(section);
                else
                    QCOMPARE(header.sectionSize(section), before[section]);
            }
            QCOMPARE(header.length() == f.list().viewport()->width(), !filling.isEmpty());
            QVERIFY(filling.size() < 2 || qAbs(filling[0] - filling[1]) <= 1);
        }
    }

    void oldOriginalShowsWhatChanged()
    {
        WindowFixture f;
        f.open(QStringLiteral("ja.stf"), {{1, "a", "開く"}});
        QVERIFY(writeTable(f.path("en.stf"), {{1, "a", "Open file"}}));
        QVERIFY(writeTable(f.path("old.stf"), {{1, "a", "Open"}}));
        f.showActive();
        QVERIFY(f.controller().translation().openOriginal(f.path("en.stf"), false));
        auto *old = child<QTextBrowser>(f.window, QStringLiteral("txtOldOriginal"));
        QVERIFY(old->isHidden());
        QVERIFY(f.controller().translation().openOriginal(f.path("old.stf"), true));
        f.select(1);
        QVERIFY(old->isVisible());
        QCOMPARE(old->accessibleName(), QStringLiteral("旧原文"));
        QVERIFY(old->toHtml().contains(QStringLiteral("file")));
        QVERIFY(child<QLabel>(f.window, QStringLiteral("lblFindings"))
                    ->text()
                    .contains(QStringLiteral("原文が変わりました")));
        QCOMPARE(f.list().model()->index(0, 4).data().toString(), QStringLiteral("要確認"));
    }

    // Under 訳 the suggestions, read as they show; Ctrl+1 takes the first
    // and the person goes on in 訳.
    void suggestionsUnderTheTranslation()
    {
        WindowFixture f;
        f.open(QStringLiteral("ja.stf"), {{1, "a", "セーブしますか？"}, {2, "b", ""}, {3, "c", ""}});
        QVERIFY(writeTable(f.path("en.stf"),
                           {{1, "a", "Save the game?"}, {2, "b", "Save the game now?"}, {3, "c", "Quit"}}));
        f.showActive();
        QVERIFY(f.controller().translation().openOriginal(f.path("en.stf"), false));
        auto *panel = child<QWidget>(f.window, QStringLiteral("TranslationPanel"));
        auto *list = child<QListWidget>(*panel, QStringLiteral("lstSuggestions"));
        QCOMPARE(list->accessibleName(), QStringLiteral("候補"));
        QCOMPARE(child<QLabel>(*panel, QStringLiteral("lblMemoryCount"))->text(), QStringLiteral("翻訳メモリ: 0 件"));
        const auto shown = [&] {
            QStringList items;
            for (int i = 0; i < list->count(); ++i) {
                const QVariant spoken = list->item(i)->data(Qt::AccessibleTextRole);
                items << (spoken.isValid() ? spoken.toString() : list->item(i)->text());
            }
            return items.join(u'|');
        };
        f.select(3);
        QTRY_COMPARE(shown(), QStringLiteral("候補なし"));
        f.select(2);
        QTRY_COMPARE(shown(), QStringLiteral("1: 80 %、セーブしますか？（この表 #1）"));
        f.list().setFocus();
        QTest::keyClick(&f.list(), Qt::Key_1, Qt::ControlModifier);
        QCOMPARE(f.controller().entries().at(1).value.toString(), QStringLiteral("セーブしますか？"));
        auto *translation = child<ValueEdit>(*panel, QStringLiteral("txtTranslation"));
        QTRY_VERIFY(translation->hasFocus());
        // Ctrl+Z where Ctrl+1 left the focus takes the suggestion back.
        QTest::keyClick(translation, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.controller().entries().at(1).value.toString(), QString());
        QCOMPARE(translation->toPlainText(), QString());
    }
};

QTEST_MAIN(TestTranslationPanel)
#include "tst_translationpanel.moc"
