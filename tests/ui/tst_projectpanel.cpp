// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowFixture.h"

#include <QDir>
#include <QTableView>

using namespace wendaro;

class TestProjectPanel : public QObject
{
    Q_OBJECT

private slots:
    // No project, no panel; with one, the panel stands at the left of the
    // list, Ctrl+PageDown on the list and Enter on the panel open tables.
    void panelAndKeys()
    {
        WindowFixture f;
        f.showActive();
        auto *panel = child<QWidget>(f.window, QStringLiteral("projectPanel"));
        QVERIFY(panel->isHidden());
        QCOMPARE(f.list().x(), 0);

        QVERIFY(QDir(f.dir.path()).mkpath(QStringLiteral("en")) && QDir(f.dir.path()).mkpath(QStringLiteral("ja")));
        QVERIFY(writeTable(f.path("en/a.stf"), {{1, "a", "Open"}, {2, "b", "Close"}}));
        QVERIFY(writeTable(f.path("ja/a.stf"), {{1, "a", "開く"}, {2, "b", "Close"}}));
        QVERIFY(writeTable(f.path("en/b.stf"), {{1, "a", "Save"}}));
        QVERIFY(f.controller().project().open(f.path("en"), f.path("ja")));
        QTRY_VERIFY(!f.controller().project().isCounting());
        QVERIFY(panel->isVisible());
        QVERIFY(panel->geometry().right() < f.list().geometry().left());
        auto *view = child<QTableView>(*panel, QStringLiteral("lstProject"));
        QCOMPARE(view->accessibleName(), QStringLiteral("プロジェクト"));
        QCOMPARE(view->model()->rowCount(), 3); // two tables and the totals

        f.list().setFocus();
        QTest::keyClick(&f.list(), Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(f.controller().currentPath(), QDir::cleanPath(f.path("ja/a.stf")));
        QCOMPARE(f.selectedPosition(), 2);
        QTRY_VERIFY(view->selectionModel()->isRowSelected(0, {}));

        view->setFocus();
        view->setCurrentIndex(view->model()->index(1, 0));
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(f.controller().currentPath(), QDir::cleanPath(f.path("ja/b.stf")));
        QCOMPARE(f.controller().entries().count(), 1);
        QVERIFY(f.controller().isModified());
    }
};

QTEST_MAIN(TestProjectPanel)
#include "tst_projectpanel.moc"
