// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowFixture.h"

#include "ui/DialogPlacement.h"
#include "ui/EntryEditor.h"
#include "ui/Twips.h"
#include "ui/ValueEdit.h"
#include "ui/WindowFonts.h"

#include <QClipboard>
#include <QGuiApplication>

using namespace wendaro;

namespace {

QWidget *focused()
{
    return QApplication::focusWidget();
}

// Types into the field that has the focus, then moves on with Tab.
void typeAndTab(const QString &text)
{
    QTest::keyClicks(focused(), text);
    QTest::keyClick(focused(), Qt::Key_Tab);
}

QPushButton *button(QDialog &dialog, const char *name)
{
    return child<QPushButton>(dialog, QString::fromLatin1(name));
}

} // namespace

class EntryEditorTest : public QObject
{
    Q_OBJECT
private slots:
    void geometry_data();
    void geometry();
    void fieldsAndTabOrder();
    void addTypedEntry();
    void okWithoutChangeKeepsValue_data();
    void okWithoutChangeKeepsValue();
    void editedValueKeepsOtherLineEnds();
    void enterAndEscapeDoNotClose();
    void cancelAppliesNothing_data();
    void cancelAppliesNothing();
    void refusedIndexKeepsEditorOpen_data();
    void refusedIndexKeepsEditorOpen();
    void indexTypingLimit();
    void longIndexTextKeptWhole();
    void valueTypingLimit();
    void placement_data();
    void placement();
    void placedOverMovedWindow();
};

void EntryEditorTest::geometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::newRow("txtIndex") << "txtIndex" << QRect(840, 120, 1095, 285);
    QTest::newRow("txtName") << "txtName" << QRect(840, 480, 5055, 285);
    QTest::newRow("txtValue") << "txtValue" << QRect(840, 840, 5055, 765);
    QTest::newRow("cmdOK") << "cmdOK" << QRect(840, 1800, 2415, 420);
    QTest::newRow("cmdCancel") << "cmdCancel" << QRect(3480, 1800, 2415, 420);
    QTest::newRow("Label1") << "Label1" << QRect(120, 120, 615, 255);
    QTest::newRow("Label2") << "Label2" << QRect(120, 480, 615, 255);
    QTest::newRow("Label3") << "Label3" << QRect(120, 840, 615, 255);
}

void EntryEditorTest::geometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    EntryEditor editor({}, [](auto...) { return true; });
    QCOMPARE(editor.size(), pixelSize(6015, 2325));
    QCOMPARE(editor.minimumSize(), editor.maximumSize()); // a fixed border
    auto *control = child<QWidget>(editor, name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), pixelRect(twips.x(), twips.y(), twips.width(), twips.height()));
    if (name.startsWith(u"txt") || name.startsWith(u"Label")) {
        QCOMPARE(control->font().family(), japaneseGothicFamily());
        QCOMPARE(control->font().pixelSize(), 13);
    }
    if (auto *pushButton = qobject_cast<QPushButton *>(control)) {
        QVERIFY(!pushButton->autoDefault());
        QVERIFY(!pushButton->isDefault());
    }
}

void EntryEditorTest::fieldsAndTabOrder()
{
    WindowFixture f;
    f.open(QStringLiteral("a.stf"), {{12, "twelve", "x<br>y"}});
    f.showActive();
    f.select(1);
    f.services.steps = {[](QDialog &dialog) {
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("編集"));
        QCOMPARE(child<QLineEdit>(dialog, QStringLiteral("txtIndex"))->text(), QStringLiteral("12"));
        QCOMPARE(child<QLineEdit>(dialog, QStringLiteral("txtName"))->text(), QStringLiteral("twelve"));
        QCOMPARE(child<ValueEdit>(dialog, QStringLiteral("txtValue"))->toPlainText(), QStringLiteral("x\ny"));
        QStringList order{focused()->objectName()};
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(focused(), Qt::Key_Tab);
            order << focused()->objectName();
        }
        QCOMPARE(order, (QStringList{"txtIndex", "txtName", "txtValue", "cmdOK", "cmdCancel", "txtIndex"}));
        button(dialog, "cmdCancel")->click();
    }};
    f.action(QStringLiteral("mEdit_Edit")).trigger();
    QCOMPARE(f.services.unanswered, 0);
}

void EntryEditorTest::addTypedEntry()
{
    WindowFixture f;
    f.open(QStringLiteral("a.stf"), {{41, "last", "v"}});
    f.showActive();
    f.services.steps = {[](QDialog &dialog) {
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("追加"));
        QCOMPARE(focused()->objectName(), QStringLiteral("txtIndex"));
        QCOMPARE(child<QLineEdit>(dialog, QStringLiteral("txtIndex"))->text(), QStringLiteral("42"));
        QTest::keyClick(focused(), Qt::Key_Tab);
        typeAndTab(QStringLiteral("greeting"));
        QTest::keyClicks(focused(), QStringLiteral("line1"));
        QTest::keyClick(focused(), Qt::Key_Return);
        QTest::keyClicks(focused(), QStringLiteral("line2"));
        QTest::keyClick(focused(), Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(focused(), QStringLiteral("line3"));
        QTest::keyClick(focused(), Qt::Key_Tab);
        QCOMPARE(focused()->objectName(), QStringLiteral("cmdOK"));
        QTest::keyClick(focused(), Qt::Key_Space);
    }};
    f.action(QStringLiteral("Add")).trigger();
    QCOMPARE(f.services.unanswered, 0);
    const EntryList &rows = f.controller().entries();
    QCOMPARE(rows.count(), 2);
    QCOMPARE(rows.at(1).indexText, QStringLiteral("   42"));
    QCOMPARE(rows.at(1).name, QStringLiteral("greeting"));
    QCOMPARE(rows.at(1).value, QStringLiteral("line1<br>line2<br>line3"));
    QCOMPARE(f.controller().nextIndex(), 43);
    QVERIFY(f.controller().isModified());
}

void EntryEditorTest::okWithoutChangeKeepsValue_data()
{
    // clang-format off
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::newRow("lone CR") << "n" << "a\rb";
    QTest::newRow("lone LF") << "n" << "a\nb";
    QTest::newRow("lone LF at the end") << "n" << "a\n";
    QTest::newRow("lone CR alone") << "n" << "\r";
    QTest::newRow("LF CR") << "n" << "a\n\rb";
    QTest::newRow("CR before a line break") << "n" << "a\r<br>b";
    QTest::newRow("line breaks") << "n" << "<br>a<br><br>b<br>";
    QTest::newRow("paragraph and line separators") << "n" << QString::fromUtf16(u"x\u2029y\u2028z");
    QTest::newRow("no-break space") << "n" << QString::fromUtf16(u"a\u00a0b");
    QTest::newRow("name with CR and tab") << "a\rb\tc" << "v";
    QTest::newRow("empty") << "" << "";
    // clang-format on
}

// Opening an entry and pressing OK without a change leaves it as it was.
void EntryEditorTest::okWithoutChangeKeepsValue()
{
    QFETCH(QString, name);
    QFETCH(QString, value);
    WindowFixture f;
    f.open(QStringLiteral("a.stf"), {{7, "first", "x"}});
    EntryList &rows = f.controller().entries();
    rows.setName(0, name);
    rows.setValue(0, value);
    f.select(1);
    f.services.steps = {[](QDialog &dialog) { button(dialog, "cmdOK")->click(); }};
    f.controller().itemDoubleClicked();
    QCOMPARE(f.services.unanswered, 0);
    QCOMPARE(rows.at(0).name, name);
    QCOMPARE(rows.at(0).value, value);
    QCOMPARE(rows.at(0).indexText, QStringLiteral("    7"));
}

void EntryEditorTest::editedValueKeepsOtherLineEnds()
{
    ValueEdit edit(32767);
    edit.setValue(QStringLiteral("one\rtwo\nthree<x>\r\nfour"));
    QTextCursor cursor = edit.textCursor();
    cursor.movePosition(QTextCursor::End);
    edit.setTextCursor(cursor);
    QTest::keyClicks(&edit, QStringLiteral("!"));
    QCOMPARE(edit.value(), QStringLiteral("one\rtwo\nthree<x>\r\nfour!"));
    // A break typed in the second line is CR LF; the others keep theirs.
    cursor.setPosition(5); // after "t" of "two"
    edit.setTextCursor(cursor);
    QTest::keyClick(&edit, Qt::Key_Return);
    QCOMPARE(edit.value(), QStringLiteral("one\rt\r\nwo\nthree<x>\r\nfour!"));
    // Joining two lines removes the break between them only.
    cursor = edit.textCursor();
    cursor.movePosition(QTextCursor::StartOfBlock);
    edit.setTextCursor(cursor);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.value(), QStringLiteral("one\rtwo\nthree<x>\r\nfour!"));
    cursor.setPosition(3);
    cursor.setPosition(9, QTextCursor::KeepAnchor); // "\rtwo\nth" across two breaks
    edit.setTextCursor(cursor);
    QTest::keyClicks(&edit, QStringLiteral("-"));
    QCOMPARE(edit.value(), QStringLiteral("one-hree<x>\r\nfour!"));
    edit.undo();
    QCOMPARE(edit.toPlainText(), QStringLiteral("one\ntwo\nthree<x>\nfour!"));
}

void EntryEditorTest::enterAndEscapeDoNotClose()
{
    WindowFixture f;
    f.open(QStringLiteral("a.stf"), {{1, "one", "v"}});
    f.showActive();
    f.services.steps = {[](QDialog &dialog) {
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        for (const char *name : {"txtIndex", "txtName", "cmdOK", "cmdCancel"}) {
            auto *control = child<QWidget>(dialog, QString::fromLatin1(name));
            control->setFocus();
            QTest::keyClick(control, Qt::Key_Return);
            QTest::keyClick(control, Qt::Key_Enter);
            QTest::keyClick(control, Qt::Key_Escape);
            QVERIFY2(dialog.isVisible(), name);
        }
        button(dialog, "cmdCancel")->click();
    }};
    f.controller().addEntry();
    QCOMPARE(f.services.unanswered, 0);
    QCOMPARE(f.controller().entries().count(), 1);
}

void EntryEditorTest::cancelAppliesNothing_data()
{
    QTest::addColumn<bool>("byCloseButton");
    QTest::newRow("Cancel") << false;
    QTest::newRow("window's close") << true;
}

void EntryEditorTest::cancelAppliesNothing()
{
    QFETCH(bool, byCloseButton);
    WindowFixture f;
    f.open(QStringLiteral("a.stf"), {{1, "one", "v"}});
    f.showActive();
    f.select(1);
    const qint16 next = f.controller().nextIndex();
    f.services.steps = {[byCloseButton](QDialog &dialog) {
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTest::keyClicks(focused(), QStringLiteral("3"));
        typeAndTab(QString());
        typeAndTab(QStringLiteral("changed"));
        QTest::keyClicks(focused(), QStringLiteral("changed"));
        if (byCloseButton)
            dialog.close();
        else
            button(dialog, "cmdCancel")->click();
    }};
    f.controller().editEntry();
    QCOMPARE(f.services.unanswered, 0);
    const Entry &row = f.controller().entries().at(0);
    QCOMPARE(row.indexText, QStringLiteral("    1"));
    QCOMPARE(row.name, QStringLiteral("one"));
    QCOMPARE(row.value, QStringLiteral("v"));
    QCOMPARE(f.controller().nextIndex(), next);
    QVERIFY(!f.controller().isModified());
}

void EntryEditorTest::refusedIndexKeepsEditorOpen_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    const QString notNumeric = QStringLiteral("Indexは数字で入力して下さい。");
    const QString outOfRange = QStringLiteral("Indexは0～32767の範囲で入力して下さい。");
    QTest::newRow("empty") << "" << notNumeric;
    QTest::newRow("abc") << "abc" << notNumeric;
    QTest::newRow("32768") << "32768" << outOfRange;
    QTest::newRow("-1") << "-1" << outOfRange;
}

void EntryEditorTest::refusedIndexKeepsEditorOpen()
{
    QFETCH(QString, typed);
    QFETCH(QString, message);
    WindowFixture f;
    f.open(QStringLiteral("a.stf"), {{1, "one", "v"}});
    f.services.steps = {[&](QDialog &dialog) {
                            auto *index = child<QLineEdit>(dialog, QStringLiteral("txtIndex"));
                            index->clear();
                            QTest::keyClicks(index, typed);
                            QTest::keyClicks(child<QLineEdit>(dialog, QStringLiteral("txtName")), "kept");
                            button(dialog, "cmdOK")->click(); // the box comes, then:
                            QVERIFY(dialog.isVisible());
                            QCOMPARE(index->text(), typed);
                            QCOMPARE(child<QLineEdit>(dialog, QStringLiteral("txtName"))->text(), "kept");
                            index->setText(QStringLiteral("5"));
                            button(dialog, "cmdOK")->click();
                        },
                        [&](QDialog &dialog) {
                            auto &box = static_cast<QMessageBox &>(dialog);
                            QCOMPARE(box.windowTitle(), QStringLiteral("エラー"));
                            QCOMPARE(box.icon(), QMessageBox::Warning);
                            QCOMPARE(box.text(), message);
                            QCOMPARE(box.standardButtons(), QMessageBox::Ok);
                            QTest::keyClick(&box, Qt::Key_Escape);
                        }};
    f.controller().addEntry();
    QCOMPARE(f.services.unanswered, 0);
    QCOMPARE(f.controller().entries().count(), 2);
    QCOMPARE(f.controller().entries().at(1).name, QStringLiteral("kept"));
}

void EntryEditorTest::indexTypingLimit()
{
    EntryEditor editor({EditMode::Add, "追加", "", "", ""}, [](auto...) { return true; });
    auto *index = child<QLineEdit>(editor, QStringLiteral("txtIndex"));
    QTest::keyClicks(index, QStringLiteral("000012"));
    QCOMPARE(index->text(), QStringLiteral("00001"));
    index->selectAll();
    QGuiApplication::clipboard()->setText(QStringLiteral("1234567"));
    index->paste();
    QCOMPARE(index->text(), QStringLiteral("12345"));
}

// An index text too long for the field's typing limit (only a loaded file
// brings one) is shown whole.
void EntryEditorTest::longIndexTextKeptWhole()
{
    QString received;
    EntryEditor editor({EditMode::Edit, "編集", "-25536", "n", "v"}, [&](EditMode, const QString &index, auto...) {
        received = index;
        return true;
    });
    auto *index = child<QLineEdit>(editor, QStringLiteral("txtIndex"));
    QCOMPARE(index->text(), QStringLiteral("-25536"));
    index->end(false);
    QTest::keyClicks(index, QStringLiteral("7"));
    QCOMPARE(index->text(), QStringLiteral("-25536"));
    button(editor, "cmdOK")->click();
    QCOMPARE(received, QStringLiteral("-25536"));
}

void EntryEditorTest::valueTypingLimit()
{
    ValueEdit edit(10);
    edit.setValue(QStringLiteral("0123456789ABCDEF"));
    QCOMPARE(edit.value(), QStringLiteral("0123456789ABCDEF"));
    edit.moveCursor(QTextCursor::End);
    QTest::keyClicks(&edit, QStringLiteral("x"));
    QTest::keyClick(&edit, Qt::Key_Return);
    QCOMPARE(edit.value(), QStringLiteral("0123456789ABCDEF"));
    edit.setValue(QStringLiteral("12345678"));
    edit.moveCursor(QTextCursor::End);
    QTest::keyClick(&edit, Qt::Key_Return); // CR LF: 10 characters
    QTest::keyClicks(&edit, QStringLiteral("x"));
    QCOMPARE(edit.value(), QStringLiteral("12345678\r\n"));
    edit.setValue(QStringLiteral("123"));
    edit.moveCursor(QTextCursor::End);
    QGuiApplication::clipboard()->setText(QStringLiteral("ab\ncdefgh"));
    edit.paste();
    QCOMPARE(edit.value(), QStringLiteral("123ab\r\ncde"));
}

void EntryEditorTest::placement_data()
{
    QTest::addColumn<QRect>("owner");
    QTest::addColumn<QSize>("dialog");
    QTest::addColumn<QPoint>("topLeft");
    QTest::newRow("even") << QRect(100, 50, 600, 400) << QSize(400, 150) << QPoint(200, 175);
    QTest::newRow("half pixels") << QRect(100, 50, 600, 400) << QSize(401, 155) << QPoint(200, 173);
    QTest::newRow("owner partly off the screen")
        << QRect(-500, -300, 300, 200) << QSize(400, 150) << QPoint(-550, -275);
}

void EntryEditorTest::placement()
{
    QFETCH(QRect, owner);
    QFETCH(QSize, dialog);
    QFETCH(QPoint, topLeft);
    QCOMPARE(centredTopLeft(owner, dialog), topLeft);
}

void EntryEditorTest::placedOverMovedWindow()
{
    WindowFixture f;
    f.open(QStringLiteral("a.stf"), {{1, "one", "v"}});
    f.window.show();
    f.window.move(300, 200);
    f.window.resize(700, 500);
    QTRY_COMPARE(f.window.frameGeometry().topLeft(), QPoint(300, 200));
    f.services.steps = {[&](QDialog &dialog) {
        const QRect outer = f.window.frameGeometry();
        const QSize frame = outer.size() - f.window.geometry().size();
        QCOMPARE(dialog.pos(), centredTopLeft(outer, dialog.size() + frame));
        dialog.close();
    }};
    f.controller().addEntry();
    QCOMPARE(f.services.unanswered, 0);
}

QTEST_MAIN(EntryEditorTest)
#include "tst_entryeditor.moc"
