// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "RecordedLaunches.h"
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

    // Opens the file as start-up does with it on the command line.
    void open(const QString &name, const QList<TestRow> &rows, const TextFields &fields = {})
    {
        QVERIFY(writeTable(path(name), rows, fields));
        window.startUp(path(name));
        QVERIFY(controller().isEnabled(Command::FilesClose));
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
        for (Command command : AllCommands) {
            QObject *target = window.findChild<QAction *>(commandName(command));
            const bool shown = target ? static_cast<QAction *>(target)->isEnabled()
                                      : window.findChild<QWidget *>(commandName(command))->isEnabled();
            if (shown != c.isEnabled(command))
                return commandName(command) + QStringLiteral(" enabled differs");
        }
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
            const Entry &entry = rows.at(r + 1);
            if (model.index(r, 0).data() != entry.indexText || model.index(r, 1).data() != entry.name
                || model.index(r, 2).data() != entry.value.toString())
                return QStringLiteral("row %1 differs").arg(r + 1);
        }
        const QItemSelectionModel &selection = *list().selectionModel();
        const int current = selection.currentIndex().isValid() ? selection.currentIndex().row() + 1 : 0;
        if (current != rows.selectedPosition())
            return QStringLiteral("selected item differs");
        if (current != 0 && selection.isRowSelected(current - 1) != rows.isSelectedShown())
            return QStringLiteral("shown selected differs");
        return {};
    }
};

} // namespace wendaro
