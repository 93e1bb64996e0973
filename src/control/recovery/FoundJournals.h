// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/io/JournalFile.h"

#include <QDateTime>
#include <QLockFile>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace wendaro {

// A journal that no living Wendaro holds, locked for this one while it is
// looked at.
struct FoundJournal
{
    QString filePath;
    std::shared_ptr<QLockFile> lock;
    JournalContents contents;
    QDateTime lastChange;
    int changes = 0; // as the person counts them: each change one, the fields one

    // Removes the journal and its lock.
    void remove() const;
};

// The journals no living Wendaro holds: of the file at path, or of every
// file when path is empty, the oldest first. A file that is no journal is
// renamed with a ".bad" suffix and told in *bad, one description each.
std::vector<FoundJournal> findJournals(const QString &path, QStringList *bad);

} // namespace wendaro
