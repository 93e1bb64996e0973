// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/SaveFile.h"

#include "core/io/ByteSink.h"
#include "core/io/ShownPath.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace wendaro {

namespace {

// Why a device refused bytes: a full disk in the program's words, anything
// else as the system words it.
QString reasonOf(const QIODevice &device)
{
    const auto *file = qobject_cast<const QFileDevice *>(&device);
    if (file && file->error() == QFileDevice::ResourceError)
        return QStringLiteral("ディスクの空きが足りません");
    return device.errorString();
}

// The temporary file could not be created beside the target; find out which
// part of the path is to blame, nearest first.
QString describeOpenFailure(const QString &path, const QSaveFile &file)
{
    const QFileInfo target(path);
    if (target.isDir())
        return QStringLiteral("%1はフォルダーなので、ファイルとして保存できません。").arg(shown(path));

    QFileInfo folder(target.absolutePath());
    if (!folder.exists()) {
        QString missing = folder.absoluteFilePath();
        QFileInfo above(folder.absolutePath());
        while (!above.exists() && above.absolutePath() != above.absoluteFilePath()) {
            missing = above.absoluteFilePath();
            above = QFileInfo(above.absolutePath());
        }
        if (above.exists() && !above.isDir())
            return QStringLiteral("%1はフォルダーではなくファイルなので、その中に保存できません。")
                .arg(shown(above.absoluteFilePath()));
        return QStringLiteral("保存先のフォルダー%1がありません。").arg(shown(missing));
    }
    if (!folder.isDir())
        return QStringLiteral("%1はフォルダーではなくファイルなので、その中に保存できません。")
            .arg(shown(folder.absoluteFilePath()));
    if (target.exists() && !target.isWritable())
        return QStringLiteral("%1は書き込みが禁止されています。").arg(shown(path));
    if (!folder.isWritable())
        return QStringLiteral("フォルダー%1にファイルを作る権限がありません。").arg(shown(folder.absoluteFilePath()));
    return QStringLiteral("%1を保存のために開けません（%2）。").arg(shown(path), file.errorString());
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// What the target is now, through any symbolic links; nullopt when there is
// nothing there yet (or nothing that can be looked at, which the opening
// then explains).
std::optional<struct stat> statusOf(const QString &path)
{
    struct stat status = {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return status;
}

// Renaming over a device, a FIFO or a socket would not write into it but
// throw it away and leave a regular file in its place.
QString kindOfSpecialFile(mode_t mode)
{
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("デバイス");
    if (S_ISFIFO(mode))
        return QStringLiteral("FIFO");
    if (S_ISSOCK(mode))
        return QStringLiteral("ソケット");
    return QStringLiteral("特殊なファイル");
}

// The new file takes the old one's place, so it must also take its owner,
// group and mode: otherwise saving as root would hand another user's file
// to root, and a read-only file would come back writable. An owner that
// cannot be kept refuses the save rather than quietly changing hands.
bool keepOwnerAndMode(const QString &path, QSaveFile &file, const struct stat &old, QString *error)
{
    const int fd = file.handle();
    struct stat now = {};
    if (::fstat(fd, &now) != 0) {
        *error = QStringLiteral("%1の一時ファイルを調べられません（%2）。").arg(shown(path), systemReason(errno));
        return false;
    }
    if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) && ::fchown(fd, old.st_uid, old.st_gid) != 0) {
        *error = QStringLiteral("%1の所有者（ユーザー %2、グループ %3）を保てないので、保存しませんでした（%4）。")
                     .arg(shown(path))
                     .arg(old.st_uid)
                     .arg(old.st_gid)
                     .arg(systemReason(errno));
        return false;
    }
    // After fchown, which may clear the set-user-ID and set-group-ID bits.
    // Some file systems refuse any chmod, so one that changes nothing is left out.
    const mode_t mode = old.st_mode & 07777;
    if (::fstat(fd, &now) != 0 || ((now.st_mode & 07777) != mode && ::fchmod(fd, mode) != 0)) {
        *error = QStringLiteral("%1のアクセス権（%2）を保てないので、保存しませんでした（%3）。")
                     .arg(shown(path))
                     .arg(QString::number(mode, 8).rightJustified(4, QLatin1Char('0')))
                     .arg(systemReason(errno));
        return false;
    }
    return true;
}

} // namespace

bool SaveFile::writeAll(QIODevice &device, QByteArrayView data, QString *error, qint64 offset)
{
    qsizetype done = 0;
    while (done < data.size()) {
        const qint64 written = device.write(data.data() + done, data.size() - done);
        if (written <= 0) {
            *error = QStringLiteral("先頭から %1 バイトの位置で書き込みに失敗しました（%2）。")
                         .arg(offset + done)
                         .arg(reasonOf(device));
            return false;
        }
        done += qsizetype(written);
    }
    return true;
}

namespace {

// The temporary file, created only when the first bytes arrive: a writer
// that refuses the table before its first byte leaves the disk untouched,
// and its refusal comes before any complaint about the target, as when the
// whole file was built first.
class FileSink final : public ByteSink
{
public:
    explicit FileSink(const QString &path) : m_path(path), m_file(path) {}

    bool append(QByteArrayView bytes) override
    {
        if (failed() || (!m_opened && !open()))
            return false;
        QString detail;
        if (!SaveFile::writeAll(m_file, bytes, &detail, m_written)) {
            m_error = QStringLiteral("%1の%2").arg(shown(m_path), detail);
            return false;
        }
        m_written += bytes.size();
        return true;
    }

    bool failed() const { return !m_error.isEmpty(); }
    QString errorString() const { return m_error; }

    // Returning without commit() removes the temporary file.
    bool commit()
    {
        if (failed() || (!m_opened && !open()))
            return false;
        if (!m_file.flush()) {
            m_error =
                QStringLiteral("%1への書き込みを終えられませんでした（%2）。").arg(shown(m_path), reasonOf(m_file));
            return false;
        }
        if (!m_file.commit()) {
            m_error =
                QStringLiteral("%1を新しい内容に置き換えられませんでした（%2）。").arg(shown(m_path), reasonOf(m_file));
            return false;
        }
        return true;
    }

private:
    bool open()
    {
        m_opened = true;
        const std::optional<struct stat> old = statusOf(m_path);
        if (old && !S_ISREG(old->st_mode) && !S_ISDIR(old->st_mode)) {
            m_error = QStringLiteral("%1は通常のファイルではない（%2）ので、保存で置き換えられません。")
                          .arg(shown(m_path), kindOfSpecialFile(old->st_mode));
            return false;
        }
        // QSaveFile follows a symbolic link to the file it names, so the link
        // stays and the file behind it is replaced. Writing in place when no
        // temporary file can be created would destroy the old file on a
        // failure, so that is refused.
        m_file.setDirectWriteFallback(false);
        if (!m_file.open(QIODevice::WriteOnly)) {
            m_error = describeOpenFailure(m_path, m_file);
            return false;
        }
        return !(old && S_ISREG(old->st_mode) && !keepOwnerAndMode(m_path, m_file, *old, &m_error));
    }

    QString m_path;
    QSaveFile m_file;
    bool m_opened = false;
    qint64 m_written = 0;
    QString m_error;
};

} // namespace

bool SaveFile::write(const QString &path, QByteArrayView data, QString *error)
{
    return stream(
        path, [data](ByteSink &sink, QString *) { return sink.append(data); }, error);
}

bool SaveFile::stream(const QString &path, const Producer &produce, QString *error)
{
    FileSink sink(path);
    QString refusal;
    if (!produce(sink, &refusal)) {
        *error = sink.failed() ? sink.errorString() : refusal;
        return false;
    }
    if (!sink.commit()) {
        *error = sink.errorString();
        return false;
    }
    return true;
}

} // namespace wendaro
