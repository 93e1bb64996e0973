// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace wendaro {

// Where journals are kept and how they are named, for the journal that
// records and for finding the ones left behind, which must agree.

// The folder of the journals: $XDG_STATE_HOME/wendaro/recovery, or
// ~/.local/state/wendaro/recovery.
QString recoveryFolder();

// The name every journal ends with.
inline const QString JournalSuffix = QStringLiteral(".journal");

// The path as a journal's header holds it, and as journals are matched with
// their file by.
QString journalledPath(const QString &path);

// The start of the name of every journal of the file at path.
QString journalPrefix(const QString &path);

// The lock beside the journal at journalPath, not yet taken; only a dead
// holder makes it stale.
std::unique_ptr<QLockFile> journalLock(const QString &journalPath);

} // namespace wendaro
