// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/recovery/JournalLocations.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace wendaro {

QString recoveryFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/wendaro/recovery");
}

QString journalledPath(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QString journalPrefix(const QString &path)
{
    const QByteArray hash = QCryptographicHash::hash(journalledPath(path).toUtf8(), QCryptographicHash::Sha1);
    return QString::fromLatin1(hash.toHex().left(16)) + u'-';
}

std::unique_ptr<QLockFile> journalLock(const QString &journalPath)
{
    auto lock = std::make_unique<QLockFile>(journalPath + QStringLiteral(".lock"));
    // Only a dead holder makes a lock stale, however old it is.
    lock->setStaleLockTime(0);
    return lock;
}

} // namespace wendaro
