// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/recovery/FoundJournals.h"

#include "control/recovery/JournalLocations.h"

#include "core/io/JournalRecordCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace wendaro {

namespace {

// The changes as the person counts them: each change one, and the fields
// one however often they changed.
int changesIn(const JournalContents &contents)
{
    int changes = 0;
    bool fields = false;
    for (const QByteArray &record : contents.records) {
        const std::optional<JournalRecordData> decoded = decodeJournalRecord(record);
        if (decoded && decoded->kind == JournalRecord::Change)
            ++changes;
        fields = fields || (decoded && decoded->kind == JournalRecord::Fields);
    }
    return changes + int(fields);
}

} // namespace

void FoundJournal::remove() const
{
    QFile::remove(filePath);
    if (lock)
        lock->unlock();
}

std::vector<FoundJournal> findJournals(const QString &path, QStringList *bad)
{
    std::vector<FoundJournal> found;
    const QDir folder(recoveryFolder());
    const QString prefix = path.isEmpty() ? QString() : journalPrefix(path);
    const QStringList names = folder.entryList({prefix + u'*' + JournalSuffix}, QDir::Files,
                                               QDir::Time | QDir::Reversed);
    for (const QString &name : names) {
        const QString filePath = folder.filePath(name);
        std::shared_ptr<QLockFile> lock = journalLock(filePath);
        if (!lock->tryLock(0))
            continue;
        QString error;
        std::optional<JournalContents> contents = readJournal(filePath, &error);
        if (!contents) {
            // Kept aside, not removed: someone may want to look at it.
            QFile::remove(filePath + QStringLiteral(".bad"));
            QFile::rename(filePath, filePath + QStringLiteral(".bad"));
            lock->unlock();
            if (bad)
                bad->append(error);
            continue;
        }
        if (!path.isEmpty() && contents->header.path != journalledPath(path))
            continue;
        const int changes = changesIn(*contents);
        found.push_back({filePath, lock, std::move(*contents), QFileInfo(filePath).lastModified(), changes});
    }
    return found;
}

} // namespace wendaro
