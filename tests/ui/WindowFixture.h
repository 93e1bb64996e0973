// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "RecordedLaunches.h"
#include "StateHome.h"
#include "TestFiles.h"
#include "TestTables.h"

#include "ui/EntryListView.h"
#include "ui/LimitedLineEdit.h"
#include "ui/MainWindow.h"
#include "ui/WindowServices.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

namespace wendaro {

// Every place in the window that raises a command: the menu items, the
// context-menu items and the toolbar buttons (by their keys).
inline const QList<QPair<const char *, Command>> CommandPlaces = {
    {"mFiles_New", Command::New},
    {"mFiles_Open", Command::Open},
    {"mFiles_Close", Command::Close},
    {"mFiles_Save", Command::Save},
    {"mFiles_SaveAs", Command::SaveAs},
    {"mFiles_Exit", Command::Exit},
    {"mEdit_Add", Command::Add},
    {"mEdit_Edit", Command::Edit},
    {"mEdit_Remove", Command::Remove},
    {"mHelp_Version", Command::Version},
    {"mPopup_Add", Command::Add},
    {"mPopup_Edit", Command::Edit},
    {"mPopup_Remove", Command::Remove},
    {"New", Command::New},
    {"Open", Command::Open},
    {"Save", Command::Save},
    {"Close", Command::Close},
    {"Add", Command::Add},
    {"Edit", Command::Edit},
    {"Remove", Command::Remove},
};

// A person at the desktop: each modal dialog is shown and handed to the next
// step, which answers it as the person would (typing, clicking, Esc); a dialog
// without a step, or left open by its step, is rejected and counted.
class ScriptedServices : public RecordedLaunches<WindowServices>
{
public:
    using Step = std::function<void(QDialog &)>;
    QList<Step> steps;
    int unanswered = 0;
    QStringList titles; // of every dialog run, in order

    int runModal(QDialog &dialog) override
    {
        titles.append(dialog.windowTitle());
        dialog.show();
        // The desktop makes a modal dialog the active window.
        dialog.activateWindow();
        if (!QTest::qWaitFor([&] { return QApplication::activeWindow() == &dialog; }, 2000))
            qWarning("the dialog did not become the active window");
        if (steps.isEmpty()) {
            ++unanswered;
        } else {
            const Step step = steps.takeFirst();
            step(dialog);
        }
        if (dialog.isVisible()) {
            ++unanswered;
            dialog.reject();
        }
        return dialog.result();
    }
};

template<class T>
T *child(QObject &parent, const QString &name)
{
    T *found = parent.findChild<T *>(name);
    if (!found)
        qWarning("no child %s", qPrintable(name));
    return found;
}

// Clicks the message box's button of that standard kind.
inline ScriptedServices::Step answer(QMessageBox::StandardButton button)
{
    return [button](QDialog &dialog) {
        auto &box = static_cast<QMessageBox &>(dialog);
        QVERIFY(box.button(button));
        box.button(button)->click();
    };
}

// The dialog is looked at and then closed as the person would by Esc.
inline ScriptedServices::Step pressEscape(std::function<void(QDialog &)> look = {})
{
    return [look](QDialog &dialog) {
        if (look)
            look(dialog);
        QTest::keyClick(&dialog, Qt::Key_Escape);
    };
}

// The main window with scripted services, a folder for its files, and the
// lookups of its widgets by their control names.
struct WindowFixture
{
    QTemporaryDir dir;
    bool stateHome = useStateHome(dir);
    ScriptedServices services;
    MainWindow window{testCodePage(), services};

    WindowFixture() { window.startUp(QString()); }

    QString path(const QString &name) const { return dir.filePath(name); }
    MainWindowController &controller() { return window.controller(); }
    EntryListView &list() { return *child<EntryListView>(window, QStringLiteral("ListView1")); }
    LimitedLineEdit &txtFile() { return *child<LimitedLineEdit>(window, QStringLiteral("txtFile")); }
    LimitedLineEdit &txtMemo() { return *child<LimitedLineEdit>(window, QStringLiteral("txtMemo")); }
    QAction &action(const QString &name) { return *child<QAction>(window, name); }
    QString statusPath() { return child<QLabel>(window, QStringLiteral("Panel1"))->text(); }
    // The selected row by its position from 1, as the tests' tables count rows; 0 is none.
    void select(qsizetype position) { controller().selection().select(position - 1); }
    qsizetype selectedPosition() { return controller().selection().row() + 1; }

    // Opens the file as start-up does with it on the command line.
    void open(const QString &name, const QList<TestRow> &rows, const TextFields &fields = {})
    {
        QVERIFY(writeTable(path(name), rows, fields));
        window.startUp(path(name));
        QVERIFY(controller().isEnabled(Command::Close));
    }

    void showActive()
    {
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }

    QPoint rowCentre(int row, int column = 0)
    {
        EntryListView &view = list();
        return view.visualRect(view.model()->index(row, column)).center();
    }

    // The first difference between what the window shows and the controller's
    // state, or an empty text when the view mirrors it exactly.
    QString mismatch()
    {
        MainWindowController &c = controller();
        for (const auto &[name, command] : CommandPlaces) {
            if (action(QString::fromLatin1(name)).isEnabled() != c.isEnabled(command))
                return QString::fromLatin1(name) + QStringLiteral(" enabled differs");
        }
        if (child<QWidget>(window, QStringLiteral("cmdFile"))->isEnabled() != c.isEnabled(Command::ChooseOutput))
            return QStringLiteral("cmdFile enabled differs");
        if (txtFile().isEnabled() != c.isFieldEnabled(Field::File)
            || txtMemo().isEnabled() != c.isFieldEnabled(Field::Memo))
            return QStringLiteral("a field's enabled state differs");
        if (txtFile().text() != c.fieldText(Field::File))
            return QStringLiteral("txtFile differs");
        if (txtMemo().text() != c.fieldText(Field::Memo))
            return QStringLiteral("txtMemo differs");
        if (statusPath() != c.currentPath())
            return QStringLiteral("status path differs");
        const EntryList &rows = c.entries();
        const QAbstractItemModel &model = *list().model();
        if (model.rowCount() != rows.count())
            return QStringLiteral("row count differs");
        for (int r = 0; r < model.rowCount(); ++r) {
            const Entry &entry = rows.at(r);
            if (model.index(r, 0).data() != entry.indexText || model.index(r, 1).data() != entry.name
                || model.index(r, 2).data() != entry.value.toString())
                return QStringLiteral("row %1 differs").arg(r + 1);
        }
        if (list().selectionModel() != &c.selection().model())
            return QStringLiteral("the list has a selection of its own");
        return {};
    }
};

} // namespace wendaro
