// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowFixture.h"

#include "ui/MainLayout.h"
#include "ui/Twips.h"

#include "core/model/IndexText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>

using namespace wendaro;

class FindBarTest : public QObject
{
    Q_OBJECT
private slots:
    void place_data();
    void place();
    void ctrlFNeedsAFile();
    void openAndEscape();
    void keys_data();
    void keys();
    void filterHidesRowsInTheList();
    void undoFromTheBarsButtons();
    void ctrlHShowsTheReplaceRow();
    void reviewColumnsComeAndGo();
};

namespace {

struct BarFixture : WindowFixture
{
    bool searching = false;

    BarFixture()
    {
        QObject::connect(&controller().finder(), &RowFinder::searchesChanged,
                         [this](bool finding, bool counting) { searching = finding || counting; });
        open(QStringLiteral("a.txt"), {{1, "alpha", "x"}, {2, "beta", "Alpha"}, {3, "gamma", "z"}});
        showActive();
    }
    QWidget &bar() { return *child<QWidget>(window, QStringLiteral("findBar")); }
    QLineEdit &text() { return *child<QLineEdit>(window, QStringLiteral("txtFind")); }
    QString count() { return child<QLabel>(window, QStringLiteral("lblFindCount"))->text(); }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) const
    {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        QTRY_VERIFY(!searching);
    }
    QString hiddenRows()
    {
        QString flags;
        for (int r = 0; r < list().model()->rowCount(); ++r)
            flags += list().isRowHidden(r, {}) ? u'0' : u'1';
        return flags;
    }
};

} // namespace

void FindBarTest::place_data()
{
    QTest::addColumn<float>("listHeight");
    QTest::addColumn<float>("barHeight");
    QTest::addColumn<float>("expectedList");
    QTest::addColumn<float>("expectedTop");
    QTest::addColumn<float>("expectedBar");
    QTest::newRow("at rest size") << 3495.f << 780.f << 2715.f << 4275.f << 780.f;
    QTest::newRow("list lower than the bar") << 300.f << 780.f << 0.f << 1560.f << 300.f;
    QTest::newRow("no list left") << 0.f << 780.f << 0.f << 1560.f << 0.f;
}

void FindBarTest::place()
{
    QFETCH(float, listHeight);
    QFETCH(float, barHeight);
    const FindBarPlace place = findBarPlaceFor({0, 8295, listHeight}, barHeight);
    QTEST(place.listHeight, "expectedList");
    QTEST(place.barTop, "expectedTop");
    QTEST(place.barHeight, "expectedBar");
}

void FindBarTest::ctrlFNeedsAFile()
{
    WindowFixture f;
    f.showActive();
    QTest::keyClick(&f.list(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(child<QWidget>(f.window, QStringLiteral("findBar"))->isHidden());
}

void FindBarTest::openAndEscape()
{
    BarFixture f;
    const QRect atRest = f.list().geometry();
    QCOMPARE(atRest, pixelRect(0, MainGeometry::ListTop, 8295, 3495));
    f.select(3);
    f.press(Qt::Key_F, Qt::ControlModifier);
    QVERIFY(f.bar().isVisible());
    QCOMPARE(QApplication::focusWidget(), &f.text());
    // The bar takes the list's bottom, above the status bar's gap.
    QCOMPARE(f.list().geometry().bottom() + 1, f.bar().geometry().top());
    QCOMPARE(f.bar().geometry().bottom(), atRest.bottom());
    // Each key supersedes the last's search: the third finds from row 3 on.
    QTest::keyClicks(&f.text(), QStringLiteral("ALP"));
    QTRY_COMPARE(f.count(), QStringLiteral("1 / 2 件（先頭から検索しました）"));
    QCOMPARE(f.selectedPosition(), 1);
    f.press(Qt::Key_Escape);
    QVERIFY(f.bar().isHidden());
    QCOMPARE(f.list().geometry(), atRest);
    QCOMPARE(QApplication::focusWidget(), &f.list());
    QCOMPARE(f.selectedPosition(), 1);
    QCOMPARE(f.mismatch(), QString());
    // Closing the file closes the bar.
    f.press(Qt::Key_F3);
    QVERIFY(f.bar().isVisible());
    f.controller().closeFile();
    QVERIFY(f.bar().isHidden());
}

void FindBarTest::keys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("onList"); // the key works with the focus on the list too
    const Qt::KeyboardModifiers shift(Qt::ShiftModifier);
    QTest::newRow("Enter") << int(Qt::Key_Return) << Qt::KeyboardModifiers() << false;
    QTest::newRow("Shift+Enter") << int(Qt::Key_Return) << shift << false;
    QTest::newRow("F3") << int(Qt::Key_F3) << Qt::KeyboardModifiers() << true;
    QTest::newRow("Shift+F3") << int(Qt::Key_F3) << shift << true;
}

// Two matches, the first selected: each key goes to the other, and back.
void FindBarTest::keys()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, onList);
    BarFixture f;
    f.press(Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(&f.text(), QStringLiteral("alpha"));
    QTRY_COMPARE(f.count(), QStringLiteral("1 / 2 件"));
    f.press(Qt::Key(key), modifiers);
    QCOMPARE(f.selectedPosition(), 2);
    QVERIFY(f.controller().isEnabled(Command::Edit));
    if (!onList)
        return;
    f.list().setFocus();
    f.press(Qt::Key(key), modifiers);
    QCOMPARE(f.selectedPosition(), 1);
}

void FindBarTest::filterHidesRowsInTheList()
{
    BarFixture f;
    f.press(Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(&f.text(), QStringLiteral("alpha"));
    auto *filter = child<QCheckBox>(f.window, QStringLiteral("chkFindFilter"));
    filter->click();
    QTRY_COMPARE(f.hiddenRows(), QStringLiteral("110"));
    // A column click sorts every row, shown or not.
    f.controller().columnClicked(1);
    QCOMPARE(f.controller().entries().at(0).name, QStringLiteral("alpha"));
    QCOMPARE(f.hiddenRows(), QStringLiteral("110"));
    f.controller().columnClicked(1);
    QCOMPARE(f.hiddenRows(), QStringLiteral("011"));
    filter->click();
    QCOMPARE(f.hiddenRows(), QStringLiteral("111"));
    filter->click();
    QTRY_COMPARE(f.hiddenRows(), QStringLiteral("011"));
    f.press(Qt::Key_Escape);
    QCOMPARE(f.hiddenRows(), QStringLiteral("111"));
}

// The bar's buttons pass undo and redo on; its field keeps its own undo.
void FindBarTest::undoFromTheBarsButtons()
{
    BarFixture f;
    f.select(2);
    f.controller().removeEntry();
    f.press(Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(&f.text(), QStringLiteral("gamma"));
    f.press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.controller().entries().count(), 2);
    QCOMPARE(f.text().text(), QString());
    auto *next = child<QWidget>(f.window, QStringLiteral("cmdFindNext"));
    next->setFocus();
    f.press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.controller().entries().count(), 3);
    QCOMPARE(f.controller().entries().at(1).name, QStringLiteral("beta"));
    f.press(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(f.controller().entries().count(), 2);
}

void FindBarTest::ctrlHShowsTheReplaceRow()
{
    BarFixture f;
    const QRect atRest = f.list().geometry();
    auto *row = child<QWidget>(f.window, QStringLiteral("findReplaceRow"));
    f.press(Qt::Key_F, Qt::ControlModifier);
    QVERIFY(row->isHidden());
    const int findOnly = f.bar().height();
    f.press(Qt::Key_H, Qt::ControlModifier);
    QVERIFY(row->isVisible());
    QVERIFY(f.bar().height() > findOnly);
    QCOMPARE(f.bar().geometry().bottom(), atRest.bottom());
    QCOMPARE(f.list().geometry().bottom() + 1, f.bar().geometry().top());
    QCOMPARE(child<QLineEdit>(*row, QStringLiteral("txtReplace"))->accessibleName(), QStringLiteral("置換後の文字列"));
    QCOMPARE(child<QToolButton>(*row, QStringLiteral("cmdReplace"))->accessibleName(), QStringLiteral("置換"));
    auto *all = child<QToolButton>(*row, QStringLiteral("cmdReplaceAll"));
    QCOMPARE(all->accessibleName(), QStringLiteral("すべて置換"));
    QTest::keyClicks(&f.text(), QStringLiteral("alpha"));
    QTest::keyClicks(child<QLineEdit>(*row, QStringLiteral("txtReplace")), QStringLiteral("omega"));
    all->click();
    QTRY_COMPARE(f.count(), QStringLiteral("2 件を置換しました"));
    QCOMPARE(f.controller().entries().at(1).value, QStringLiteral("omega"));
    f.press(Qt::Key_F, Qt::ControlModifier);
    QVERIFY(row->isHidden());
    QCOMPARE(f.bar().height(), findOnly);
}

void FindBarTest::reviewColumnsComeAndGo()
{
    BarFixture f;
    f.press(Qt::Key_F, Qt::ControlModifier);
    auto *columns = child<QComboBox>(f.window, QStringLiteral("cboFindColumns"));
    QCOMPARE(columns->count(), 4);
    EntryList original;
    original.setValue(original.append(indexText(1)), QStringLiteral("x"));
    f.controller().translationStatus().openOriginal(std::move(original));
    QCOMPARE(columns->itemText(4), QStringLiteral("原文"));
    QCOMPARE(columns->itemText(5), QStringLiteral("状態"));
    columns->setCurrentIndex(5);
    f.text().setText(QStringLiteral("未訳"));
    QTRY_COMPARE(f.count(), QStringLiteral("1 / 1 件"));
    QVERIFY(!child<QToolButton>(f.window, QStringLiteral("cmdReplaceAll"))->isEnabled());
    f.controller().translationStatus().close();
    QCOMPARE(columns->count(), 4);
    QCOMPARE(columns->currentIndex(), 0);
    QCOMPARE(f.controller().finder().query().columns, FindColumns::All);
}

QTEST_MAIN(FindBarTest)
#include "tst_findbar.moc"
