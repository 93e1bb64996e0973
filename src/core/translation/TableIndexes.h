// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

namespace wendaro {

class EntryList;

// A table's rows by the index each is saved as. An exchange file names an
// entry by its index alone, so a table in which two rows share one cannot
// be matched against it.
struct TableIndexes
{
    QList<qint16> byPosition;            // the index of position p at p
    QHash<qint16, qsizetype> positionOf; // the position of each index
};

// Nullopt, with *error beginning with tableName, when a row's index text is
// no index or when indexes repeat; every repeated index is named with its rows.
std::optional<TableIndexes> tableIndexes(const EntryList &rows, const QString &tableName, QString *error);

// Indexes for a message, in the order given: "3, 7, 12", cut after a
// screenful with the count of the others.
QString indexListText(const QList<qint16> &indexes);

} // namespace wendaro
