// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/JournalFile.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace wendaro {

namespace {

constexpr QByteArrayView Magic("WDRJRNL\n");
constexpr qsizetype FrameHead = 8;

constexpr std::array<quint32, 256> crcTable()
{
    std::array<quint32, 256> table{};
    for (quint32 n = 0; n < 256; ++n) {
        quint32 c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

quint32 crc32(QByteArrayView bytes)
{
    static constexpr std::array<quint32, 256> Table = crcTable();
    quint32 c = 0xFFFFFFFFu;
    for (const char byte : bytes)
        c = Table[(c ^ quint8(byte)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void putU32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void putU64(QByteArray &out, quint64 value)
{
    char bytes[8];
    qToLittleEndian(value, bytes);
    out.append(bytes, 8);
}

QString systemError(const QString &path, const QString &what)
{
    return QStringLiteral("%1: %2: %3")
        .arg(QDir::toNativeSeparators(path), what, QString::fromLocal8Bit(std::strerror(errno)));
}

QByteArray headerPayload(const JournalHeader &header)
{
    QByteArray out;
    const QByteArray path = header.path.toUtf8();
    putU32(out, quint32(path.size()));
    out.append(path);
    putU64(out, header.identity.device);
    putU64(out, header.identity.inode);
    putU64(out, quint64(header.identity.size));
    putU64(out, quint64(header.identity.modifiedSeconds));
    putU64(out, quint64(header.identity.modifiedNanoseconds));
    return out;
}

std::optional<JournalHeader> parseHeader(QByteArrayView payload)
{
    if (payload.size() < 4)
        return std::nullopt;
    const quint32 pathSize = qFromLittleEndian<quint32>(payload.data());
    if (qsizetype(pathSize) != payload.size() - 4 - 5 * 8)
        return std::nullopt;
    JournalHeader header;
    header.path = QString::fromUtf8(payload.sliced(4, pathSize));
    const char *at = payload.data() + 4 + pathSize;
    const auto next = [&at] {
        const quint64 value = qFromLittleEndian<quint64>(at);
        at += 8;
        return value;
    };
    header.identity.device = next();
    header.identity.inode = next();
    header.identity.size = qint64(next());
    header.identity.modifiedSeconds = qint64(next());
    header.identity.modifiedNanoseconds = qint64(next());
    return header;
}

// The payload of the whole frame at offset, or nullopt.
std::optional<QByteArrayView> frameAt(QByteArrayView bytes, qsizetype offset)
{
    if (bytes.size() - offset < FrameHead)
        return std::nullopt;
    const quint32 length = qFromLittleEndian<quint32>(bytes.data() + offset);
    const quint32 sum = qFromLittleEndian<quint32>(bytes.data() + offset + 4);
    if (qint64(length) > bytes.size() - offset - FrameHead)
        return std::nullopt;
    const QByteArrayView payload = bytes.sliced(offset + FrameHead, length);
    if (crc32(payload) != sum)
        return std::nullopt;
    return payload;
}

} // namespace

QByteArray JournalFile::frame(QByteArrayView record)
{
    QByteArray out;
    out.reserve(FrameHead + record.size());
    putU32(out, quint32(record.size()));
    putU32(out, crc32(record));
    out.append(record);
    return out;
}

bool JournalFile::create(const QString &path, const JournalHeader &header, QString *error)
{
    close();
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        *error = systemError(path, QStringLiteral("作成できません"));
        return false;
    }
    m_fd = fd;
    m_path = path;
    m_size = 0;
    QByteArray start(Magic.data(), Magic.size());
    putU32(start, Version);
    start.append(frame(headerPayload(header)));
    if (!writeAll(start, error)) {
        close();
        ::unlink(QFile::encodeName(path).constData());
        return false;
    }
    return true;
}

bool JournalFile::append(QByteArrayView record, QString *error)
{
    return appendFramed(frame(record), error);
}

bool JournalFile::appendFramed(QByteArrayView frames, QString *error)
{
    if (!writeAll(frames, error)) {
        // A part written would be taken for a cut-short record; the
        // records before it stay readable.
        if (::ftruncate(m_fd, m_size) == 0)
            ::lseek(m_fd, m_size, SEEK_SET);
        return false;
    }
    return true;
}

bool JournalFile::writeAll(QByteArrayView bytes, QString *error)
{
    const char *at = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(m_fd, at, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            *error = systemError(m_path,
                                 QStringLiteral("バイト %1 に書き込めません").arg(m_size + (at - bytes.data())));
            return false;
        }
        at += written;
        left -= written;
    }
    m_size += bytes.size();
    return true;
}

bool JournalFile::sync(QString *error)
{
    if (m_fd < 0)
        return true;
    if (::fdatasync(m_fd) != 0) {
        *error = systemError(m_path, QStringLiteral("ディスクに書き出せません"));
        return false;
    }
    return true;
}

void JournalFile::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

std::optional<JournalContents> readJournal(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    const auto refuse = [&](qsizetype offset, const QString &why) {
        *error = QStringLiteral("%1:%2: %3").arg(QDir::toNativeSeparators(path)).arg(offset).arg(why);
        return std::nullopt;
    };
    if (!bytes.startsWith(Magic))
        return refuse(0, QStringLiteral("Wendaro の変更の記録ではありません"));
    if (bytes.size() < Magic.size() + 4)
        return refuse(Magic.size(), QStringLiteral("版の番号がありません"));
    const quint32 version = qFromLittleEndian<quint32>(bytes.constData() + Magic.size());
    if (version != JournalFile::Version)
        return refuse(Magic.size(), QStringLiteral("この版 (%1) の記録は読めません").arg(version));
    qsizetype offset = Magic.size() + 4;
    const std::optional<QByteArrayView> head = frameAt(bytes, offset);
    std::optional<JournalHeader> header;
    if (head)
        header = parseHeader(*head);
    if (!header)
        return refuse(offset, QStringLiteral("記録の見出しが壊れています"));
    JournalContents contents;
    contents.header = *header;
    offset += FrameHead + head->size();
    while (offset < bytes.size()) {
        const std::optional<QByteArrayView> record = frameAt(bytes, offset);
        if (!record) {
            contents.cutShort = true;
            break;
        }
        contents.records.emplace_back(record->toByteArray());
        offset += FrameHead + record->size();
    }
    return contents;
}

} // namespace wendaro
