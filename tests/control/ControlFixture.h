#pragma once

#include "FakeUserInterface.h"

#include <CodePage.h>
#include <DocumentFile.h>
#include <EntryList.h>
#include <IndexText.h>
#include <MainWindowController.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace wendaro {

inline CodePage testCodePage()
{
    QString error;
    return *CodePage::open("windows-932", &error);
}

struct TestRow
{
    qint16 index;
    QString name;
    QString value;
};

// Writes a table through the program's own writer, in the format of its path.
inline bool writeTable(const QString &path, const QList<TestRow> &rows, const TextFields &fields = {})
{
    EntryList list;
    for (const TestRow &row : rows) {
        const qsizetype position = list.append(indexText(row.index), row.index);
        list.setName(position, row.name);
        list.setValue(position, row.value);
    }
    QString error;
    return saveDocument(path, list, fields, true, testCodePage(), &error);
}

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A controller with a scripted person and a folder for its files.
struct ControlFixture
{
    QTemporaryDir dir;
    FakeUserInterface ui;
    MainWindowController controller{ui, testCodePage()};

    QString path(const QString &name) const { return dir.filePath(name); }

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
        for (qsizetype p = 1; p <= controller.entries().count(); ++p)
            texts << controller.entries().at(p).indexText;
        return texts;
    }
};

} // namespace wendaro
