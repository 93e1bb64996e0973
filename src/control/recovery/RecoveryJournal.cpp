// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/recovery/RecoveryJournal.h"

#include "control/window/UserInterface.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <utility>

namespace wendaro {

namespace {

// Syncs come at most this long after the change they follow.
constexpr int SyncDelayMs = 2000;

} // namespace

RecoveryJournal::RecoveryJournal(UserInterface &ui) : m_ui(ui)
{
    m_syncTimer.setSingleShot(true);
    m_syncTimer.setInterval(SyncDelayMs);
    QObject::connect(&m_syncTimer, &QTimer::timeout, [this] { sync(); });
}

RecoveryJournal::~RecoveryJournal()
{
    // The window goes without its document being left: a crash of what
    // follows, or the end of the session, finds the journal whole on disk.
    sync();
}

void RecoveryJournal::follow(const QString &path, const std::optional<FileIdentity> &identity)
{
    stop();
    m_following = !path.isEmpty();
    m_failed = false;
    m_header = {journalledPath(path), identity.value_or(FileIdentity{})};
}

void RecoveryJournal::stop()
{
    removeFile();
    m_following = false;
    m_pending.clear();
    m_log.clear();
}

JournalRow RecoveryJournal::rowAt(const EntryList &rows, qsizetype position)
{
    const Entry &entry = rows.at(position);
    return {position, entry.indexText, entry.name, entry.value.toString(), entry.key};
}

void RecoveryJournal::rowsPut(const EntryList &rows, const std::vector<qsizetype> &positions)
{
    if (!m_following || m_failed)
        return;
    JournalOp op{JournalOpKind::Put, {}, {}};
    op.rows.reserve(positions.size());
    for (const qsizetype position : positions)
        op.rows.push_back(rowAt(rows, position));
    m_pending.push_back(std::move(op));
}

void RecoveryJournal::rowsTaken(const std::vector<PlacedEntry> &taken)
{
    if (!m_following || m_failed)
        return;
    JournalOp op{JournalOpKind::Take, {}, {}};
    op.rows.reserve(taken.size());
    for (const PlacedEntry &row : taken)
        op.rows.push_back(
            {row.position, row.entry.indexText, row.entry.name, row.entry.value.toString(), row.entry.key});
    m_pending.push_back(std::move(op));
}

void RecoveryJournal::rowChanged(const EntryList &rows, qsizetype position)
{
    if (!m_following || m_failed)
        return;
    // An edit sets three fields of one row: one record of the row will do.
    if (!m_pending.empty() && m_pending.back().kind == JournalOpKind::Set
        && m_pending.back().rows.front().position == position)
        m_pending.back().rows.front() = rowAt(rows, position);
    else
        m_pending.push_back({JournalOpKind::Set, {rowAt(rows, position)}, {}});
}

void RecoveryJournal::rowsReordered(const std::vector<qsizetype> &order)
{
    if (!m_following || m_failed)
        return;
    // A sort is no command: it is written as it happens, unless a change is
    // under way, whose record it then joins in its place.
    const bool alone = m_pending.empty();
    m_pending.push_back({JournalOpKind::Order, {}, order});
    if (alone)
        commit(JournalRecord::Sort, m_file.isOpen());
}

void RecoveryJournal::commit(JournalRecord kind, bool modified)
{
    if (!m_following || m_failed) {
        m_pending.clear();
        return;
    }
    QByteArray frame;
    if (!m_pending.empty()) {
        frame = JournalFile::frame(encodeJournalRecord({kind, std::move(m_pending), {}, {}}));
        m_pending.clear();
    }
    write(frame, modified);
}

void RecoveryJournal::fieldsChanged(const TextFields &fields)
{
    if (!m_following || m_failed)
        return;
    write(JournalFile::frame(encodeJournalRecord({JournalRecord::Fields, {}, fields.outputFile, fields.memo})), true);
}

void RecoveryJournal::write(const QByteArray &frame, bool modified)
{
    m_log.append(frame);
    if (!modified) {
        removeFile();
        return;
    }
    QString error;
    if (!m_file.isOpen()) {
        if (!openFile(&error) || !m_file.appendFramed(m_log, &error)) {
            fail(error);
            return;
        }
    } else if (!frame.isEmpty() && !m_file.appendFramed(frame, &error)) {
        fail(error);
        return;
    }
    if (!m_syncTimer.isActive())
        m_syncTimer.start();
}

bool RecoveryJournal::openFile(QString *error)
{
    const QString folder = recoveryFolder();
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("%1: フォルダーを作成できません").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString prefix = folder + u'/' + journalPrefix(m_header.path);
    // Another Wendaro may hold a journal of the same file, and a dead one may
    // have left one to offer: each takes a number of its own.
    for (int number = 0; number < 1000; ++number) {
        const QString path = prefix + QString::number(number) + JournalSuffix;
        std::unique_ptr<QLockFile> lock = journalLock(path);
        if (!lock->tryLock(0)) {
            if (lock->error() == QLockFile::LockFailedError)
                continue;
            *error = QStringLiteral("%1.lock: ロックを作成できません").arg(QDir::toNativeSeparators(path));
            return false;
        }
        if (QFileInfo::exists(path))
            continue;
        if (!m_file.create(path, m_header, error))
            return false;
        m_filePath = path;
        m_lock = std::move(lock);
        return true;
    }
    *error = QStringLiteral("%1: 空いている名前がありません").arg(QDir::toNativeSeparators(prefix));
    return false;
}

void RecoveryJournal::removeFile()
{
    m_syncTimer.stop();
    if (!m_file.isOpen())
        return;
    m_file.close();
    QFile::remove(m_filePath);
    m_lock.reset();
}

void RecoveryJournal::fail(const QString &error)
{
    removeFile();
    m_failed = true;
    m_pending.clear();
    m_log.clear();
    if (!std::exchange(m_toldFailure, true))
        m_ui.showStatus(
            QStringLiteral("保存されていない変更を保護できません (%1)。保存は今までどおりできます。").arg(error));
}

void RecoveryJournal::sync()
{
    m_syncTimer.stop();
    QString error;
    if (m_file.isOpen() && !m_file.sync(&error))
        fail(error);
}

} // namespace wendaro
