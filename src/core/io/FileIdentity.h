// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

namespace wendaro {

// What tells one state of a file on disk from another: a file replaced
// (a new inode, as a save by rename makes), rewritten in place (size or
// modification time) or put on another device no longer has the identity
// it had.
struct FileIdentity
{
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedSeconds = 0;
    qint64 modifiedNanoseconds = 0;

    friend bool operator==(const FileIdentity &, const FileIdentity &) = default;
};

// The identity of the regular file at path, a symbolic link followed, or
// nullopt when there is none there (nothing, a folder, a device; or it cannot
// be looked at): no document another program could have changed.
std::optional<FileIdentity> fileIdentity(const QString &path);

} // namespace wendaro
