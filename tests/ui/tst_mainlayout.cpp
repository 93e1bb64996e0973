// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowFixture.h"

#include "ui/MainLayout.h"
#include "ui/Twips.h"

#include <QStatusBar>
#include <QStyle>
#include <QStyleFactory>
#include <QToolBar>
#include <memory>

using namespace wendaro;

class MainLayoutTest : public QObject
{
    Q_OBJECT
private slots:
    void resizePass_data();
    void resizePass();
    void initialGeometry_data();
    void initialGeometry();
    void resizedWindow_data();
    void resizedWindow();
    void toolbarButtonsFitInTheBar_data();
    void toolbarButtonsFitInTheBar();
};

void MainLayoutTest::resizePass_data()
{
    QTest::addColumn<float>("w");
    QTest::addColumn<float>("h");
    QTest::addColumn<float>("fieldWidth");
    QTest::addColumn<float>("listWidth");
    QTest::addColumn<float>("listHeight");
    QTest::newRow("initial size") << 8295.f << 5325.f << 7455.f << 8295.f << 3495.f;
    QTest::newRow("width exactly 840") << 840.f << 5325.f << 0.f << 840.f << 3495.f;
    QTest::newRow("width below 840") << 600.f << 5325.f << 0.f << 600.f << 3495.f;
    QTest::newRow("width 10000") << 10000.f << 5325.f << 9160.f << 10000.f << 3495.f;
    QTest::newRow("height 6000") << 8295.f << 6000.f << 7455.f << 8295.f << 4170.f;
    QTest::newRow("height exactly 1830") << 8295.f << 1830.f << 7455.f << 8295.f << 0.f;
    QTest::newRow("height below 1830") << 8295.f << 1815.f << 7455.f << 8295.f << 0.f;
    QTest::newRow("nothing left") << 0.f << 0.f << 0.f << 0.f << 0.f;
    QTest::newRow("negative") << -15.f << -15.f << 0.f << 0.f << 0.f;
}

void MainLayoutTest::resizePass()
{
    QFETCH(float, w);
    QFETCH(float, h);
    QFETCH(float, fieldWidth);
    QFETCH(float, listWidth);
    QFETCH(float, listHeight);
    const MainLayout layout = mainLayoutFor(w, h);
    QCOMPARE(layout.fieldWidth, fieldWidth);
    QCOMPARE(layout.listWidth, listWidth);
    QCOMPARE(layout.listHeight, listHeight);
}

void MainLayoutTest::initialGeometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::newRow("Toolbar1") << "Toolbar1" << QRect(0, 0, 8295, 795);
    QTest::newRow("ListView1") << "ListView1" << QRect(0, 1560, 8295, 3495);
    QTest::newRow("cmdFile") << "cmdFile" << QRect(120, 840, 615, 315);
    QTest::newRow("txtFile") << "txtFile" << QRect(840, 840, 7455, 285);
    QTest::newRow("txtMemo") << "txtMemo" << QRect(840, 1200, 7455, 285);
    QTest::newRow("StatusBar1") << "StatusBar1" << QRect(0, 5070, 8295, 255);
    QTest::newRow("Label1") << "Label1" << QRect(120, 1200, 615, 255);
}

// Every control lies where the layout table puts it, measured in the client
// area below the menu bar, once the window is shown at its first size.
void MainLayoutTest::initialGeometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    WindowFixture f;
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    QWidget *client = f.window.centralWidget();
    QCOMPARE(client->size(), QSize(553, 355));
    auto *control = child<QWidget>(f.window, name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget(), client);
    QCOMPARE(control->geometry(), pixelRect(twips.x(), twips.y(), twips.width(), twips.height()));
}

void MainLayoutTest::resizedWindow_data()
{
    QTest::addColumn<QSize>("client");
    QTest::newRow("wider and taller") << QSize(700, 500);
    QTest::newRow("narrower than the fields' left edge") << QSize(40, 300);
    QTest::newRow("lower than the list's top") << QSize(400, 100);
}

// The resize pass runs on every resize: fields to the right edge, the list
// across and down to one pixel above the docked status bar.
void MainLayoutTest::resizedWindow()
{
    QFETCH(QSize, client);
    WindowFixture f;
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    QWidget *area = f.window.centralWidget();
    f.window.resize(f.window.size() + client - area->size());
    QTRY_COMPARE(area->size(), client);

    const MainLayout expected = mainLayoutFor(twipsFromPixels(client.width()), twipsFromPixels(client.height()));
    QCOMPARE(f.txtFile().geometry(), QRect(56, 56, pixelsFromTwips(expected.fieldWidth), 19));
    QCOMPARE(f.txtMemo().geometry(), QRect(56, 80, pixelsFromTwips(expected.fieldWidth), 19));
    QCOMPARE(f.list().geometry(), QRect(0, 104, client.width(), pixelsFromTwips(expected.listHeight)));
    auto *statusBar = child<QStatusBar>(f.window, QStringLiteral("StatusBar1"));
    QCOMPARE(statusBar->geometry(), QRect(0, client.height() - 17, client.width(), 17));
    QCOMPARE(child<QToolBar>(f.window, QStringLiteral("Toolbar1"))->width(), client.width());
    if (expected.listHeight > 0)
        QCOMPARE(f.list().geometry().bottom() + 1 + 1, statusBar->geometry().top());
    // The button and the label keep their place and size.
    QCOMPARE(child<QWidget>(f.window, QStringLiteral("cmdFile"))->geometry(), QRect(8, 56, 41, 21));
    QCOMPARE(child<QWidget>(f.window, QStringLiteral("Label1"))->geometry(), QRect(8, 80, 41, 17));
}

void MainLayoutTest::toolbarButtonsFitInTheBar_data()
{
    QTest::addColumn<QString>("style"); // empty: the application's
    QTest::newRow("application style") << QString();
    QTest::newRow("changed to Fusion") << "Fusion";
}

// Each button, with the frame drawn inside it under the pointer, lies wholly
// inside the bar, also after a change of style.
void MainLayoutTest::toolbarButtonsFitInTheBar()
{
    QFETCH(QString, style);
    WindowFixture f;
    auto *toolbar = child<QToolBar>(f.window, QStringLiteral("Toolbar1"));
    const std::unique_ptr<QStyle> changed(style.isEmpty() ? nullptr : QStyleFactory::create(style));
    if (changed)
        toolbar->setStyle(changed.get());
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    for (const char *key : {"New", "Open", "Save", "Close", "Add", "Edit", "Remove"}) {
        const QWidget *button = toolbar->widgetForAction(&f.action(QString::fromLatin1(key)));
        QVERIFY2(button->isVisible() && toolbar->rect().contains(button->geometry()), key);
    }
}

QTEST_MAIN(MainLayoutTest)
#include "tst_mainlayout.moc"
