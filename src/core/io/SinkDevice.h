// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/io/ByteSink.h"

#include <QIODevice>

namespace wendaro {

// A write-only device over a ByteSink, for a writer that speaks to devices
// (QXmlStreamWriter): its many small writes gather in a SinkBuffer and go to
// the sink a mebibyte at a time. finish() hands on the rest; a refusal of
// the sink fails that write, and the device stays failed.
class SinkDevice final : public QIODevice
{
public:
    explicit SinkDevice(ByteSink &sink) : m_buffer(sink) { open(QIODevice::WriteOnly); }

    bool finish() { return !m_failed && m_buffer.finish(); }
    bool failed() const { return m_failed; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        if (m_failed)
            return -1;
        m_buffer.bytes().append(data, qsizetype(size));
        m_failed = !m_buffer.handOnIfFull();
        return m_failed ? -1 : size;
    }

private:
    SinkBuffer m_buffer;
    bool m_failed = false;
};

} // namespace wendaro
