// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/text/CodePage.h"
#include "core/document/DocumentFile.h"
#include "core/model/EntryList.h"
#include "core/model/IndexText.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>
#include <utility>

// Tables that the window and control tests open, written by the program's
// own writer in the format of their path. The rows carry no keys, so a table
// may hold one index twice (which only the text format can store).

namespace wendaro {

// The code page the tables are written in, or another one by name. A test
// cannot go on without it, so a code page the machine lacks stops it at once.
inline CodePage testCodePage(const QByteArray &name = "windows-932")
{
    QString error;
    std::optional<CodePage> codePage = CodePage::open(name, &error);
    if (!codePage)
        qFatal("cannot open the code page %s: %s", name.constData(), qPrintable(error));
    return *std::move(codePage);
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
