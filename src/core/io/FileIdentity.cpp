// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/FileIdentity.h"

#include <QFile>

#include <sys/stat.h>

namespace wendaro {

std::optional<FileIdentity> fileIdentity(const QString &path)
{
    struct stat status
    {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return FileIdentity{quint64(status.st_dev), quint64(status.st_ino), qint64(status.st_size),
                        qint64(status.st_mtim.tv_sec), qint64(status.st_mtim.tv_nsec)};
}

} // namespace wendaro
