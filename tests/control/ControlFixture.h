// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FakeUserInterface.h"
#include "StateHome.h"
#include "TestFiles.h"
#include "TestTables.h"

#include "control/window/MainWindowController.h"

#include <QTemporaryDir>
#include <QTest>

namespace wendaro {

// A controller with a scripted person and a folder for its files.
struct ControlFixture
{
    QTemporaryDir dir;
    bool stateHome = useStateHome(dir);
    FakeUserInterface ui;
    MainWindowController controller{ui, testCodePage()};

    QString path(const QString &name) const { return dir.filePath(name); }
    // The selected row by its position from 1, as the tests' tables count rows; 0 is none.
    void select(qsizetype position) { controller.selection().select(position - 1); }
    qsizetype selectedPosition() const { return controller.selection().row() + 1; }

    // Opens a table of the given rows as the window's start-up would.
    void open(const QString &name, const QList<TestRow> &rows, const TextFields &fields = {})
    {
        QVERIFY(writeTable(path(name), rows, fields));
        controller.startUp(path(name));
        QVERIFY(ui.messages.isEmpty());
    }

    QStringList indexTexts() const
    {
        QStringList texts;
        for (qsizetype p = 0; p < controller.entries().count(); ++p)
            texts << controller.entries().at(p).indexText;
        return texts;
    }
};

} // namespace wendaro
