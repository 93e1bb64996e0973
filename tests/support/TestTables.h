// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/text/CodePage.h"
#include "core/io/DocumentFile.h"
#include "core/model/EntryList.h"
#include "core/model/IndexText.h"

#include <QList>
#include <QString>

// Tables that the window and control tests open, written by the program's
// own writer in the format of their path. The rows carry no keys, so a table
// may hold one index twice (which only the text format can store).

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

inline bool writeTable(const QString &path, const QList<TestRow> &rows, const TextFields &fields = {})
{
    EntryList list;
    for (const TestRow &row : rows) {
        const qsizetype position = list.append(indexText(row.index));
        list.setName(position, row.name);
        list.setValue(position, row.value);
    }
    QString error;
    return saveDocument(path, list, fields, true, testCodePage(), &error);
}

} // namespace wendaro
