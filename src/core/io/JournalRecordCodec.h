// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace wendaro {

// How a record of the journal counts for the person: a change (a command
// done, undone or done again), typing merged into the change before, a sort
// (no change), or the two text fields.
enum class JournalRecord : quint8 { Change = 0, Continued = 1, Sort = 2, Fields = 3 };

// One row as a record holds it: its position then and its texts. The codec
// knows nothing of the list the rows come from, so that it can be read, and
// fuzzed, below everything that holds rows.
struct JournalRow
{
    qsizetype position = 0;
    QString indexText;
    QString name;
    QString value;
    std::optional<qint16> key;

    bool operator==(const JournalRow &) const = default;
};

// What one change of the list did: rows put in or taken out (positions
// ascending), one row's fields set, or every row moved (order[i] is the
// position the row now at i had before).
enum class JournalOpKind : quint8 { Put = 0, Take = 1, Set = 2, Order = 3 };

struct JournalOp
{
    JournalOpKind kind = JournalOpKind::Put;
    std::vector<JournalRow> rows;
    std::vector<qsizetype> order;

    bool operator==(const JournalOp &) const = default;
};

// One record of the journal: the ops of a change or a sort, or (Fields) the
// two text fields and no ops.
struct JournalRecordData
{
    JournalRecord kind = JournalRecord::Change;
    std::vector<JournalOp> ops;
    QString outputFile;
    QString memo;

    bool operator==(const JournalRecordData &) const = default;
};

// The payload of one record, as JournalFile frames it. The bytes are a
// QDataStream of Qt 6.0: journals written by any build since read the same.
QByteArray encodeJournalRecord(const JournalRecordData &record);

// The record the payload holds; nullopt when it is damaged (cut short, an
// unknown kind, a count beyond the bytes left). A payload comes from a file
// another program or a failing disk may have changed: nothing in it is
// trusted.
std::optional<JournalRecordData> decodeJournalRecord(const QByteArray &record);

} // namespace wendaro
