// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowFixture.h"

#include <QClipboard>
#include <QGuiApplication>

using namespace wendaro;

class TextFieldsTest : public QObject
{
    Q_OBJECT
private slots:
    void longTextReadFromFileIsKeptAndSaved();
    void typingLimit_data();
    void typingLimit();
    void pasteIsCutToTheRoomLeft();
    void typingMarksModified();
    void focusSelectsAndSwitchesEditOff_data();
    void focusSelectsAndSwitchesEditOff();
    void closeEmptiesAndDisablesFields();
};

// A memo or output path longer than the typing limit, read from a text
// file, stays whole in its field and in the next save.
void TextFieldsTest::longTextReadFromFileIsKeptAndSaved()
{
    WindowFixture f;
    const QString memo = QString(300, u'm');
    const QString output = QStringLiteral("C:\\") + QString(296, u'o');
    f.open(QStringLiteral("a.txt"), {{1, "one", "v"}}, {output, memo});
    QCOMPARE(f.txtMemo().text(), memo);
    QCOMPARE(f.txtFile().text(), output);
    QVERIFY(!f.controller().isModified());
    QVERIFY(f.controller().acceptEditor(EditMode::Add, QStringLiteral("2"), QStringLiteral("two"), {}));
    f.action(QStringLiteral("mFiles_Save")).trigger();
    const QByteArray saved = contents(f.path("a.txt"));
    QVERIFY(saved.contains(">//" + memo.toLatin1() + "\r\n"));
    QVERIFY(saved.contains(">file " + output.toLatin1() + "\r\n"));
}

void TextFieldsTest::typingLimit_data()
{
    // clang-format off
    QTest::addColumn<int>("startLength");
    QTest::addColumn<QString>("keys"); // "<" is a backspace
    QTest::addColumn<int>("endLength");
    QTest::newRow("up to the limit") << 250 << "abcdefgh" << 255;
    QTest::newRow("longer text: no typing adds") << 300 << "abc" << 300;
    QTest::newRow("longer text: deleting works") << 300 << "<<" << 298;
    QTest::newRow("longer text: deleting, then typing refused") << 300 << "<x" << 299;
    QTest::newRow("back below the limit") << 256 << "<<x" << 255;
    // clang-format on
}

void TextFieldsTest::typingLimit()
{
    QFETCH(int, startLength);
    QFETCH(QString, keys);
    QFETCH(int, endLength);
    WindowFixture f;
    f.open(QStringLiteral("a.txt"), {{1, "one", "v"}}, {QString(), QString(startLength, u'm')});
    LimitedLineEdit &memo = f.txtMemo();
    memo.end(false);
    for (QChar key : keys) {
        if (key == u'<')
            QTest::keyClick(&memo, Qt::Key_Backspace);
        else
            QTest::keyClicks(&memo, QString(key));
    }
    QCOMPARE(memo.text().size(), endLength);
    QCOMPARE(f.controller().fieldText(Field::Memo), memo.text());
}

void TextFieldsTest::pasteIsCutToTheRoomLeft()
{
    WindowFixture f;
    f.open(QStringLiteral("a.txt"), {{1, "one", "v"}}, {QString(), QStringLiteral("0123456789")});
    LimitedLineEdit &memo = f.txtMemo();
    memo.setCursorPosition(5);
    QGuiApplication::clipboard()->setText(QString(300, u'p'));
    memo.paste();
    QCOMPARE(memo.text(), QStringLiteral("01234") + QString(245, u'p') + QStringLiteral("56789"));
    QCOMPARE(memo.cursorPosition(), 250);
}

void TextFieldsTest::typingMarksModified()
{
    WindowFixture f;
    f.open(QStringLiteral("a.txt"), {{1, "one", "v"}});
    QVERIFY(!f.action(QStringLiteral("Save")).isEnabled());
    QTest::keyClicks(&f.txtFile(), QStringLiteral("x"));
    QVERIFY(f.action(QStringLiteral("Save")).isEnabled());
    QVERIFY(f.action(QStringLiteral("mFiles_Save")).isEnabled());
    QCOMPARE(f.controller().fieldText(Field::File), QStringLiteral("x"));
    QVERIFY2(f.mismatch().isEmpty(), qPrintable(f.mismatch()));
}

void TextFieldsTest::focusSelectsAndSwitchesEditOff_data()
{
    QTest::addColumn<int>("reason"); // Qt::FocusReason; -1: a click on the field
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("selected"); // 0: the focus only came back, nothing changes
    QTest::newRow("Tab, 12 characters") << int(Qt::TabFocusReason) << 12 << 12;
    QTest::newRow("Tab, longer than the maximum length") << int(Qt::TabFocusReason) << 300 << 255;
    QTest::newRow("Backtab") << int(Qt::BacktabFocusReason) << 12 << 12;
    QTest::newRow("click") << -1 << 12 << 12;
    QTest::newRow("back after a menu") << int(Qt::PopupFocusReason) << 12 << 0;
    QTest::newRow("back from another window") << int(Qt::ActiveWindowFocusReason) << 12 << 0;
    QTest::newRow("set by the program") << int(Qt::OtherFocusReason) << 12 << 0;
}

void TextFieldsTest::focusSelectsAndSwitchesEditOff()
{
    QFETCH(int, reason);
    QFETCH(int, length);
    QFETCH(int, selected);
    WindowFixture f;
    f.open(QStringLiteral("a.txt"), {{1, "one", "v"}}, {QString(), QString(length, u'm')});
    f.showActive();
    QTest::mouseClick(f.list().viewport(), Qt::LeftButton, {}, f.rowCentre(0));
    QVERIFY(f.action(QStringLiteral("mEdit_Remove")).isEnabled());
    LimitedLineEdit &memo = f.txtMemo();
    memo.setCursorPosition(5);
    if (reason < 0)
        QTest::mouseClick(&memo, Qt::LeftButton, {}, QPoint(2, memo.height() / 2));
    else
        memo.setFocus(Qt::FocusReason(reason));
    QCOMPARE(memo.selectionStart(), selected ? 0 : -1);
    QCOMPARE(memo.selectionLength(), selected);
    for (const char *name : {"mEdit_Edit", "mEdit_Remove", "mPopup_Edit", "mPopup_Remove", "Edit", "Remove"})
        QVERIFY2(f.action(QString::fromLatin1(name)).isEnabled() == !selected, name);
    QVERIFY(!f.controller().isModified());
    // The list kept its selected item: a change typed in the field brings them back.
    QTest::keyClick(&memo, Qt::Key_End);
    QTest::keyClick(&memo, Qt::Key_Backspace);
    QVERIFY(f.action(QStringLiteral("mEdit_Remove")).isEnabled());
}

void TextFieldsTest::closeEmptiesAndDisablesFields()
{
    WindowFixture f;
    f.open(QStringLiteral("a.txt"), {{1, "one", "v"}}, {QStringLiteral("out.stf"), QStringLiteral("memo")});
    QVERIFY(f.txtMemo().isEnabled());
    f.action(QStringLiteral("Close")).trigger();
    QVERIFY(f.txtFile().text().isEmpty());
    QVERIFY(f.txtMemo().text().isEmpty());
    QVERIFY(!f.txtFile().isEnabled());
    QVERIFY(!f.txtMemo().isEnabled());
    QVERIFY(!child<QPushButton>(f.window, QStringLiteral("cmdFile"))->isEnabled());
    QVERIFY(f.statusPath().isEmpty());
    QVERIFY2(f.mismatch().isEmpty(), qPrintable(f.mismatch()));
}

QTEST_MAIN(TextFieldsTest)
#include "tst_textfields.moc"
