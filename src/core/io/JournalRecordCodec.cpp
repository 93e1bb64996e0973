// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/JournalRecordCodec.h"

#include <QDataStream>
#include <QIODevice>

namespace wendaro {

namespace {

// Fixed, not the newest: a newer Qt must not change the bytes of a record.
constexpr QDataStream::Version StreamVersion = QDataStream::Qt_6_0;

void writeRow(QDataStream &out, const JournalRow &row)
{
    out << qint64(row.position) << row.indexText << row.name << row.value << bool(row.key)
        << qint16(row.key.value_or(0));
}

bool readRow(QDataStream &in, JournalRow &row)
{
    qint64 position = 0;
    bool hasKey = false;
    qint16 key = 0;
    in >> position >> row.indexText >> row.name >> row.value >> hasKey >> key;
    row.position = qsizetype(position);
    if (hasKey)
        row.key = key;
    return in.status() == QDataStream::Ok;
}

void writeOp(QDataStream &out, const JournalOp &op)
{
    out << quint8(op.kind);
    if (op.kind == JournalOpKind::Order) {
        out << quint32(op.order.size());
        for (const qsizetype position : op.order)
            out << quint32(position);
        return;
    }
    out << quint32(op.rows.size());
    for (const JournalRow &row : op.rows)
        writeRow(out, row);
}

std::optional<JournalOp> readOp(QDataStream &in, qsizetype recordSize)
{
    quint8 kind = 0;
    quint32 count = 0;
    in >> kind >> count;
    // Each row or position takes bytes: a count beyond what is left is damage.
    if (in.status() != QDataStream::Ok || kind > quint8(JournalOpKind::Order) || count > quint32(recordSize))
        return std::nullopt;
    JournalOp op{JournalOpKind(kind), {}, {}};
    for (quint32 n = 0; n < count; ++n) {
        if (op.kind == JournalOpKind::Order) {
            quint32 position = 0;
            in >> position;
            op.order.push_back(qsizetype(position));
        } else {
            JournalRow row;
            if (!readRow(in, row))
                return std::nullopt;
            op.rows.push_back(std::move(row));
        }
    }
    if (in.status() != QDataStream::Ok)
        return std::nullopt;
    return op;
}

} // namespace

QByteArray encodeJournalRecord(const JournalRecordData &record)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(StreamVersion);
    out << quint8(record.kind);
    if (record.kind == JournalRecord::Fields) {
        out << quint32(0) << record.outputFile << record.memo;
        return bytes;
    }
    out << quint32(record.ops.size());
    for (const JournalOp &op : record.ops)
        writeOp(out, op);
    return bytes;
}

std::optional<JournalRecordData> decodeJournalRecord(const QByteArray &record)
{
    QDataStream in(record);
    in.setVersion(StreamVersion);
    JournalRecordData decoded;
    quint8 kind = 0;
    quint32 ops = 0;
    in >> kind >> ops;
    if (in.status() != QDataStream::Ok || kind > quint8(JournalRecord::Fields))
        return std::nullopt;
    decoded.kind = JournalRecord(kind);
    if (decoded.kind == JournalRecord::Fields) {
        in >> decoded.outputFile >> decoded.memo;
        return in.status() == QDataStream::Ok ? std::optional(decoded) : std::nullopt;
    }
    for (quint32 i = 0; i < ops; ++i) {
        std::optional<JournalOp> op = readOp(in, record.size());
        if (!op)
            return std::nullopt;
        decoded.ops.push_back(std::move(*op));
    }
    return decoded;
}

} // namespace wendaro
