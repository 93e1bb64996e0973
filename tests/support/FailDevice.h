// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIODevice>

namespace wendaro::test {

// A write-only device that accepts the first `capacity` bytes and then fails,
// as a disk fills up: the write that crosses the limit takes what still fits,
// the next one fails. With Stall it reports no progress (0) instead of an error.
class FailDevice : public QIODevice
{
public:
    enum class Failure { Error, Stall };

    explicit FailDevice(qint64 capacity, Failure failure = Failure::Error) : m_capacity(capacity), m_failure(failure)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }

    const QByteArray &written() const { return m_written; }

protected:
    qint64 readData(char *, qint64) override { return -1; }

    qint64 writeData(const char *data, qint64 size) override
    {
        const qint64 room = m_capacity - m_written.size();
        if (room <= 0) {
            if (m_failure == Failure::Stall)
                return 0;
            setErrorString(QStringLiteral("device full"));
            return -1;
        }
        const qint64 taken = qMin(size, room);
        m_written.append(data, taken);
        return taken;
    }

private:
    qint64 m_capacity;
    Failure m_failure;
    QByteArray m_written;
};

} // namespace wendaro::test
