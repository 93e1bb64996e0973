// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowFixture.h"

#include "control/document/EntryTableModel.h"

#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QTextDocument>
#include <QUrl>

using namespace wendaro;
using namespace Qt::StringLiterals;

namespace {

QStringList column(const QAbstractItemModel &model, int c)
{
    QStringList texts;
    for (int r = 0; r < model.rowCount(); ++r)
        texts << model.index(r, c).data().toString();
    return texts;
}

} // namespace

class EntryListViewTest : public QObject
{
    Q_OBJECT
private slots:
    void modelFollowsEveryChange();
    void sortKeepsPersistentRows();
    void clickSelectsAndRefreshesCommands();
    void pressOnEmptySpaceKeepsSelectedItem();
    void doubleClick_data();
    void doubleClick();
    void rightButton_data();
    void rightButton();
    void leftReleaseShowsNoMenu();
    void keyboardMoveRefreshesCommands();
    void headerClickSorts();
    void typingFindsRow_data();
    void typingFindsRow();
    void valueTooltip_data();
    void valueTooltip();
    void longValueShownCut_data();
    void longValueShownCut();
    void removeLeavesNothingSelected();
    void dropOpensFirstFile();
    void dropWithoutFilesIsIgnored();
    void dropOfUndecodableNameIsRefused();
    void focusRuleOnStart();
    void focusRuleAfterEditor();
    void rowKeys_data();
    void rowKeys();

private:
    void fill(WindowFixture &f)
    {
        f.open(QStringLiteral("a.stf"), {{10, "ten", "x"}, {9, "nine", "b"}, {100, "hundred", "a"}});
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    }
};

void EntryListViewTest::modelFollowsEveryChange()
{
    EntryList entries;
    EntryTableModel model(entries);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model.columnCount(), 3);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Index"));
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Name"));
    QCOMPARE(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Value"));
    for (int i = 0; i < 5; ++i) {
        const qsizetype p = entries.append(indexText(qint16(5 - i)), qint16(5 - i));
        entries.setName(p, QStringLiteral("n%1").arg(i));
    }
    QCOMPARE(model.rowCount(), 5);
    entries.setValue(1, QStringLiteral("a<br>b"));
    QCOMPARE(model.index(1, 2).data().toString(), QStringLiteral("a<br>b"));
    entries.takeRows({2});
    QCOMPARE(model.rowCount(), 4);
    entries.setSorted(true);
    QCOMPARE(column(model, 0), (QStringList{"    1", "    2", "    4", "    5"}));
    std::vector<PlacedEntry> put;
    put.push_back({1, Entry{QStringLiteral("    8"), {}, {}, {}}});
    put.push_back({2, Entry{QStringLiteral("    9"), {}, {}, {}}});
    entries.insertRows(std::move(put));
    QCOMPARE(column(model, 0), (QStringList{"    1", "    8", "    9", "    2", "    4", "    5"}));
    QCOMPARE(entries.takeRows({0, 2, 5}).size(), size_t(3));
    QCOMPARE(column(model, 0), (QStringList{"    8", "    2", "    4"}));
    EntryList other;
    other.append(QStringLiteral("    7"));
    entries.replaceRows(std::move(other));
    QCOMPARE(column(model, 0), QStringList{"    7"});
    entries.clear();
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));
}

void EntryListViewTest::sortKeepsPersistentRows()
{
    EntryList entries;
    EntryTableModel model(entries);
    for (const char *name : {"c", "a", "b"}) {
        const qsizetype p = entries.append(QStringLiteral("    1"));
        entries.setName(p, QString::fromLatin1(name));
    }
    const QPersistentModelIndex c = model.index(0, 1);
    const QPersistentModelIndex a = model.index(1, 2);
    entries.setSortKey(SortColumn::Name);
    entries.setSorted(true);
    QCOMPARE(column(model, 1), (QStringList{"a", "b", "c"}));
    QCOMPARE(c.row(), 2);
    QCOMPARE(c.column(), 1);
    QCOMPARE(a.row(), 0);
    QCOMPARE(a.column(), 2);
}

void EntryListViewTest::clickSelectsAndRefreshesCommands()
{
    WindowFixture f;
    fill(f);
    QVERIFY(!f.action(QStringLiteral("mEdit_Edit")).isEnabled());
    QTest::mouseClick(f.list().viewport(), Qt::LeftButton, {}, f.rowCentre(1, 2));
    QCOMPARE(f.selectedPosition(), 2);
    QVERIFY(f.controller().selection().isShown());
    QVERIFY(f.action(QStringLiteral("mEdit_Edit")).isEnabled());
    QVERIFY(f.action(QStringLiteral("Remove")).isEnabled());
    QVERIFY2(f.mismatch().isEmpty(), qPrintable(f.mismatch()));
}

void EntryListViewTest::pressOnEmptySpaceKeepsSelectedItem()
{
    WindowFixture f;
    fill(f);
    QTest::mouseClick(f.list().viewport(), Qt::LeftButton, {}, f.rowCentre(0));
    QTest::mouseClick(f.list().viewport(), Qt::LeftButton, {}, QPoint(20, f.list().viewport()->height() - 5));
    QCOMPARE(f.selectedPosition(), 1);
    QVERIFY(!f.controller().selection().isShown());
    QVERIFY(f.list().selectionModel()->selectedRows().isEmpty());
    QVERIFY2(f.mismatch().isEmpty(), qPrintable(f.mismatch()));
}

void EntryListViewTest::doubleClick_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("onRow");
    QTest::addColumn<bool>("opens");
    QTest::newRow("on a row") << "none" << true << true;
    QTest::newRow("empty space, row shown selected") << "shown" << false << true;
    QTest::newRow("empty space, selected item not shown selected") << "unshown" << false << false;
    QTest::newRow("empty space, nothing selected") << "none" << false << false;
}

// The editor opens only when the list has a selected item that is shown
// selected. A double click on empty space is two presses there, which take
// the selection away first, as the list control does.
void EntryListViewTest::doubleClick()
{
    QFETCH(QString, before);
    QFETCH(bool, onRow);
    QFETCH(bool, opens);
    WindowFixture f;
    fill(f);
    if (before == u"shown") {
        f.select(3);
    } else if (before == u"unshown") {
        f.select(3);
        f.controller().selection().setShown(false);
    }
    f.services.steps = {[](QDialog &dialog) {
        QCOMPARE(dialog.windowTitle(), QStringLiteral("編集"));
        child<QPushButton>(dialog, QStringLiteral("cmdCancel"))->click();
    }};
    const QPoint where = onRow ? f.rowCentre(1) : QPoint(20, f.list().viewport()->height() - 5);
    // Only the double-click event itself is sent, as the list sees it after a press.
    if (onRow)
        QTest::mousePress(f.list().viewport(), Qt::LeftButton, {}, where);
    QTest::mouseDClick(f.list().viewport(), Qt::LeftButton, {}, where);
    QCOMPARE(f.services.titles.size(), opens ? 1 : 0);
}

void EntryListViewTest::rightButton_data()
{
    QTest::addColumn<bool>("overRow");
    QTest::newRow("over a row") << true;
    QTest::newRow("over empty space") << false;
}

void EntryListViewTest::rightButton()
{
    QFETCH(bool, overRow);
    WindowFixture f;
    fill(f);
    f.select(1);
    f.controller().itemClicked();
    auto *popup = child<QMenu>(f.window, QStringLiteral("mPopup"));
    const QPoint where = overRow ? f.rowCentre(2, 1) : QPoint(20, f.list().viewport()->height() - 5);
    QTest::mousePress(f.list().viewport(), Qt::RightButton, {}, where);
    // The press selects as a left press would.
    QCOMPARE(f.selectedPosition(), overRow ? 3 : 1);
    QCOMPARE(f.controller().selection().isShown(), overRow);
    QVERIFY(!popup->isVisible());
    QTest::mouseRelease(f.list().viewport(), Qt::RightButton, {}, where);
    QTRY_VERIFY(popup->isVisible());
    QCOMPARE(popup->geometry().topLeft(), f.list().viewport()->mapToGlobal(where));
    // Its items follow the selected item as the Edit menu's do.
    QVERIFY(f.action(QStringLiteral("mPopup_Edit")).isEnabled());
    QVERIFY(f.action(QStringLiteral("mPopup_Add")).isEnabled());
    popup->hide();
    QVERIFY2(f.mismatch().isEmpty(), qPrintable(f.mismatch()));
}

void EntryListViewTest::leftReleaseShowsNoMenu()
{
    WindowFixture f;
    fill(f);
    QTest::mouseClick(f.list().viewport(), Qt::LeftButton, {}, f.rowCentre(0));
    QTest::mouseClick(f.list().viewport(), Qt::MiddleButton, {}, f.rowCentre(1));
    QTest::qWait(20);
    QVERIFY(!child<QMenu>(f.window, QStringLiteral("mPopup"))->isVisible());
    QCOMPARE(f.selectedPosition(), 1);
}

void EntryListViewTest::keyboardMoveRefreshesCommands()
{
    WindowFixture f;
    fill(f);
    f.showActive();
    QTest::mouseClick(f.list().viewport(), Qt::LeftButton, {}, f.rowCentre(0));
    f.controller().setUiState(UiState::FieldFocus); // Edit and Remove off
    QTest::keyClick(&f.list(), Qt::Key_Down);
    QCOMPARE(f.selectedPosition(), 2);
    QVERIFY(f.action(QStringLiteral("Edit")).isEnabled());
}

void EntryListViewTest::headerClickSorts()
{
    WindowFixture f;
    fill(f);
    f.select(1); // "ten"
    QHeaderView *header = f.list().header();
    const auto click = [&](int section) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(section) + 10, header->height() / 2));
    };
    const auto indicator = [header] {
        return header->isSortIndicatorShown() ? header->sortIndicatorSection() * 2 + header->sortIndicatorOrder() : -1;
    };
    QCOMPARE(indicator(), -1); // not before the first click
    click(1);
    QCOMPARE(column(*f.list().model(), 1), (QStringList{"hundred", "nine", "ten"}));
    click(1);
    QCOMPARE(column(*f.list().model(), 1), (QStringList{"ten", "nine", "hundred"}));
    QCOMPARE(indicator(), 2 * 1 + Qt::DescendingOrder);
    click(0);
    QCOMPARE(column(*f.list().model(), 0), (QStringList{"    9", "   10", "  100"}));
    click(2);
    QCOMPARE(column(*f.list().model(), 2), (QStringList{"a", "b", "x"}));
    // The selected row moved with its entry.
    QCOMPARE(f.controller().entries().at(f.controller().selection().row()).name, QStringLiteral("ten"));
    QVERIFY2(f.mismatch().isEmpty(), qPrintable(f.mismatch()));
    QVERIFY(!f.controller().isModified());
    f.action(QStringLiteral("mFiles_Close")).trigger();
    QCOMPARE(indicator(), -1);
}

void EntryListViewTest::typingFindsRow_data()
{
    // clang-format off
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("found");
    QTest::newRow("digit, padding ignored") << "9" << "nine";
    QTest::newRow("digits typed in a row") << "100" << "hundred";
    QTest::newRow("letter, either case") << "N" << "nine";
    // clang-format on
}

void EntryListViewTest::typingFindsRow()
{
    QFETCH(QString, typed);
    QFETCH(QString, found);
    WindowFixture f;
    fill(f);
    QTest::keyClicks(&f.list(), typed);
    QCOMPARE(f.list().currentIndex().siblingAtColumn(1).data().toString(), found);
}

void EntryListViewTest::valueTooltip_data()
{
    // clang-format off
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("line breaks") << "a<br>b  c" << "a\nb  c";
    QTest::newRow("markup is text") << "<b>x</b> <img src=y>" << "<b>x</b> <img src=y>";
    QTest::newRow("41 lines") << QStringList(41, "l").join("<br>") << QStringList(40, "l").join('\n') + u'\u2026';
    QTest::newRow("long") << QString(2100, u'x') << QString(2000, u'x') + u'\u2026';
    // clang-format on
}

void EntryListViewTest::valueTooltip()
{
    QFETCH(QString, value);
    QFETCH(QString, shown);
    EntryList entries;
    EntryTableModel model(entries);
    entries.setValue(entries.append(QStringLiteral("    1")), value);
    QTextDocument tip;
    tip.setHtml(model.index(0, 2).data(Qt::ToolTipRole).toString());
    QCOMPARE(tip.toPlainText(), shown);
}

void EntryListViewTest::longValueShownCut_data()
{
    // clang-format off
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("fits") << "abcd<br>" << "abcd<br>";
    QTest::newRow("one over") << "abcdefghij" << u"abcdefgh\u2026"_s;
    // Half a surrogate pair would paint as a replacement character.
    QTest::newRow("pair at the cut") << u"abcdefg\U0001F600xyz"_s << u"abcdefg\u2026"_s;
    // clang-format on
}

void EntryListViewTest::longValueShownCut()
{
    QFETCH(QString, value);
    QFETCH(QString, shown);
    EntryList entries;
    EntryTableModel model(entries);
    model.setValueShownLength(8);
    entries.setValue(entries.append(QStringLiteral("    1")), value);
    QCOMPARE(model.index(0, 2).data().toString(), shown);
    QCOMPARE(entries.at(0).value, value);
}

void EntryListViewTest::removeLeavesNothingSelected()
{
    WindowFixture f;
    fill(f);
    QTest::mouseClick(f.list().viewport(), Qt::LeftButton, {}, f.rowCentre(1));
    f.action(QStringLiteral("mEdit_Remove")).trigger();
    QCOMPARE(f.list().model()->rowCount(), 2);
    QVERIFY(!f.list().selectionModel()->currentIndex().isValid());
    QVERIFY(!f.action(QStringLiteral("mEdit_Remove")).isEnabled());
    QVERIFY2(f.mismatch().isEmpty(), qPrintable(f.mismatch()));
}

void EntryListViewTest::dropOpensFirstFile()
{
    WindowFixture f;
    fill(f);
    QVERIFY(writeTable(f.path("b.stf"), {{1, "dropped", "v"}}));
    QVERIFY(writeTable(f.path("c.stf"), {{2, "second", "v"}}));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(f.path("b.stf")), QUrl::fromLocalFile(f.path("c.stf"))});
    QWidget *target = f.list().viewport();
    const QPoint where = f.rowCentre(0);
    QDragEnterEvent enter(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    QVERIFY(drop.isAccepted());
    QTRY_COMPARE(f.controller().currentPath(), f.path("b.stf"));
    QCOMPARE(column(*f.list().model(), 1), QStringList{"dropped"});
    QVERIFY2(f.mismatch().isEmpty(), qPrintable(f.mismatch()));
}

void EntryListViewTest::dropWithoutFilesIsIgnored()
{
    WindowFixture f;
    fill(f);
    f.controller().setFieldText(Field::Memo, QStringLiteral("changed"));
    QMimeData data;
    data.setText(QStringLiteral("some text"));
    QDropEvent drop(f.rowCentre(0), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f.list().viewport(), &drop);
    QTest::qWait(20);
    QVERIFY(f.services.titles.isEmpty()); // not even the save prompt
    QCOMPARE(f.controller().currentPath(), f.path("a.stf"));
}

void EntryListViewTest::dropOfUndecodableNameIsRefused()
{
    WindowFixture f;
    fill(f);
    // Where the lossy decoding of the dropped name leads: it must not be opened.
    QVERIFY(writeTable(f.path(QString::fromUtf8("b\xef\xbf\xbd.stf")), {{1, "dropped", "v"}}));
    QMimeData data;
    data.setUrls({QUrl::fromEncoded("file://" + QFile::encodeName(f.path("b")) + "%E9.stf")});
    QDragEnterEvent enter(f.rowCentre(0), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f.list().viewport(), &enter);
    QDropEvent drop(f.rowCentre(0), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f.list().viewport(), &drop);
    QTRY_COMPARE(f.services.titles.size(), 1); // the read error
    QCOMPARE(f.controller().currentPath(), f.path("a.stf"));
    QVERIFY(!column(*f.list().model(), 1).contains("dropped"));
}

void EntryListViewTest::focusRuleOnStart()
{
    QTemporaryDir dir;
    ScriptedServices services;
    MainWindow window(testCodePage(), services);
    QVERIFY(writeTable(dir.filePath("a.stf"), {{1, "one", "v"}}));
    window.startUp(dir.filePath("a.stf"));
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *list = child<EntryListView>(window, QStringLiteral("ListView1"));
    QTRY_COMPARE(QApplication::focusWidget(), list);
    // Nothing was selected, and the focus does not make a row the selected item.
    QVERIFY(!window.controller().selection().hasRow());
    QVERIFY(!list->selectionModel()->currentIndex().isValid());
}

void EntryListViewTest::focusRuleAfterEditor()
{
    WindowFixture f;
    fill(f);
    f.showActive();
    QTest::mouseClick(f.list().viewport(), Qt::LeftButton, {}, f.rowCentre(1));
    f.txtMemo().setFocus();
    f.controller().selection().setShown(false);
    f.services.steps = {[](QDialog &dialog) { dialog.close(); }};
    f.controller().editEntry();
    QCOMPARE(f.services.unanswered, 0);
    QTRY_COMPARE(f.window.focusWidget(), &f.list());
    QCOMPARE(f.selectedPosition(), 2);
    QVERIFY(f.controller().selection().isShown());
    QVERIFY(f.list().selectionModel()->isRowSelected(1));
}

void EntryListViewTest::rowKeys_data()
{
    QTest::addColumn<QString>("focus"); // the widget that gets the keys
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QStringList>("names"); // after Remove of "nine", then the keys
    QTest::addColumn<QString>("clipboard");
    const QStringList removed{"ten", "hundred"};
    QTest::newRow("Ctrl+Z") << "list" << QKeySequence("Ctrl+Z") << QStringList{"ten", "nine", "hundred"} << "";
    QTest::newRow("Ctrl+Y") << "list" << QKeySequence("Ctrl+Z, Ctrl+Y") << removed << "";
    QTest::newRow("Ctrl+Shift+Z") << "list" << QKeySequence("Ctrl+Z, Ctrl+Shift+Z") << removed << "";
    QTest::newRow("Ctrl+C") << "list" << QKeySequence("Ctrl+Z, Ctrl+C") << QStringList{"ten", "nine", "hundred"}
                            << "9\tnine\tb\n";
    QTest::newRow("Ctrl+Shift+C") << "list" << QKeySequence("Ctrl+Shift+C") << removed
                                  << "10\tten\tx\n100\thundred\ta\n";
    QTest::newRow("Ctrl+V") << "list" << QKeySequence("Ctrl+Shift+C, Ctrl+V")
                            << QStringList{"ten", "hundred", "ten", "hundred"} << "10\tten\tx\n100\thundred\ta\n";
    QTest::newRow("txtMemo keeps its own undo") << "txtMemo" << QKeySequence("Ctrl+Z, Ctrl+V") << removed << "";
}

void EntryListViewTest::rowKeys()
{
    QFETCH(QString, focus);
    QFETCH(QKeySequence, keys);
    QFETCH(QStringList, names);
    QFETCH(QString, clipboard);
    WindowFixture f;
    fill(f);
    QGuiApplication::clipboard()->clear();
    QTest::mouseClick(f.list().viewport(), Qt::LeftButton, {}, f.rowCentre(1));
    f.action(QStringLiteral("mEdit_Remove")).trigger();
    QWidget *target = &f.list();
    if (focus == u"txtMemo") {
        target = &f.txtMemo();
        QTest::keyClicks(target, QStringLiteral("memo"));
    }
    for (int i = 0; i < keys.count(); ++i)
        QTest::keySequence(target, QKeySequence(keys[i]));
    QCOMPARE(column(*f.list().model(), 1), names);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QString(clipboard).replace(u"\\t"_s, u"\t"_s).replace(u"\\n"_s, u"\n"_s));
    QVERIFY2(f.mismatch().isEmpty(), qPrintable(f.mismatch()));
    if (focus == u"txtMemo")
        QVERIFY(f.txtMemo().text() != u"memo");
}

QTEST_MAIN(EntryListViewTest)
#include "tst_entrylistview.moc"
