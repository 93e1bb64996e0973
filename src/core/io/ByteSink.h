// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace wendaro {

// Where a writer puts a file's bytes, a piece at a time, so that a large file
// is never built whole in memory before it goes to disk.
class ByteSink
{
public:
    virtual ~ByteSink() = default;
    // False when the bytes could not be taken; the writer then stops, and
    // whoever owns the sink knows and tells why.
    virtual bool append(QByteArrayView bytes) = 0;
};

// Collects every byte in one array, for a file built in memory.
class ArraySink final : public ByteSink
{
public:
    explicit ArraySink(QByteArray &bytes) : m_bytes(bytes) {}
    bool append(QByteArrayView bytes) override
    {
        m_bytes.append(bytes);
        return true;
    }

private:
    QByteArray &m_bytes;
};

// A writer's piece under construction: bytes are appended to bytes() (and
// may be patched there) and handed to the sink at record boundaries once
// about a mebibyte has gathered, so few large writes go to the sink and the
// memory held stays that small.
class SinkBuffer
{
public:
    static constexpr qsizetype PieceSize = qsizetype(1) << 20;

    // Room for a piece and the record that passes it, taken at once: grown
    // a record at a time, the buffer would be moved to fresh pages again and
    // again before the first piece is full.
    explicit SinkBuffer(ByteSink &sink) : m_sink(sink) { m_bytes.reserve(PieceSize + PieceSize / 4); }
    QByteArray &bytes() { return m_bytes; }
    // Between records, where nothing before is patched any more.
    bool handOnIfFull() { return m_bytes.size() < PieceSize || handOn(); }
    bool finish() { return m_bytes.isEmpty() || handOn(); }

private:
    bool handOn()
    {
        const bool taken = m_sink.append(m_bytes);
        m_bytes.resize(0); // keeps the capacity for the next piece
        return taken;
    }

    ByteSink &m_sink;
    QByteArray m_bytes;
};

} // namespace wendaro
