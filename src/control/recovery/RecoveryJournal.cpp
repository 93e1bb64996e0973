// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/recovery/RecoveryJournal.h"

#include "control/document/RowCommands.h"
#include "control/window/UserInterface.h"
#include "control/document/Document.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>

#include <algorithm>

namespace wendaro {

namespace {

// Syncs come at most this long after the change they follow.
constexpr int SyncDelayMs = 2000;
constexpr QDataStream::Version StreamVersion = QDataStream::Qt_6_0;
const QString JournalSuffix = QStringLiteral(".journal");

QString absolutePath(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// The start of the name of every journal of the file at path.
QString journalPrefix(const QString &path)
{
    const QByteArray hash = QCryptographicHash::hash(absolutePath(path).toUtf8(), QCryptographicHash::Sha1);
    return QString::fromLatin1(hash.toHex().left(16)) + u'-';
}

std::unique_ptr<QLockFile> lockOf(const QString &journalPath)
{
    auto lock = std::make_unique<QLockFile>(journalPath + QStringLiteral(".lock"));
    // Only a dead holder makes a lock stale, however old it is.
    lock->setStaleLockTime(0);
    return lock;
}

void writeRow(QDataStream &out, const RecoveryJournal::Row &row)
{
    out << qint64(row.position) << row.indexText << row.name << row.value << bool(row.key)
        << qint16(row.key.value_or(0));
}

bool readRow(QDataStream &in, RecoveryJournal::Row &row)
{
    qint64 position = 0;
    bool hasKey = false;
    qint16 key = 0;
    in >> position >> row.indexText >> row.name >> row.value >> hasKey >> key;
    row.position = qsizetype(position);
    if (hasKey)
        row.key = key;
    return in.status() == QDataStream::Ok;
}

} // namespace

QString recoveryFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/wendaro/recovery");
}

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
    m_header = {absolutePath(path), identity.value_or(FileIdentity{})};
}

void RecoveryJournal::stop()
{
    removeFile();
    m_following = false;
    m_pending.clear();
    m_log.clear();
}

RecoveryJournal::Row RecoveryJournal::rowAt(const EntryList &rows, qsizetype position)
{
    const Entry &entry = rows.at(position);
    return {position, entry.indexText, entry.name, entry.value.toString(), entry.key};
}

void RecoveryJournal::rowsPut(const EntryList &rows, const std::vector<qsizetype> &positions)
{
    if (!m_following || m_failed)
        return;
    Op op{OpKind::Put, {}, {}};
    op.rows.reserve(positions.size());
    for (const qsizetype position : positions)
        op.rows.push_back(rowAt(rows, position));
    m_pending.push_back(std::move(op));
}

void RecoveryJournal::rowsTaken(const std::vector<PlacedEntry> &taken)
{
    if (!m_following || m_failed)
        return;
    Op op{OpKind::Take, {}, {}};
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
    if (!m_pending.empty() && m_pending.back().kind == OpKind::Set
        && m_pending.back().rows.front().position == position)
        m_pending.back().rows.front() = rowAt(rows, position);
    else
        m_pending.push_back({OpKind::Set, {rowAt(rows, position)}, {}});
}

void RecoveryJournal::rowsReordered(const std::vector<qsizetype> &order)
{
    if (!m_following || m_failed)
        return;
    // A sort is no step: it is written as it happens, unless a change is
    // under way, whose record it then joins in its place.
    const bool alone = m_pending.empty();
    m_pending.push_back({OpKind::Order, {}, order});
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
        QByteArray record;
        QDataStream out(&record, QIODevice::WriteOnly);
        out.setVersion(StreamVersion);
        out << quint8(kind) << quint32(m_pending.size());
        for (const Op &op : m_pending) {
            out << quint8(op.kind);
            if (op.kind == OpKind::Order) {
                out << quint32(op.order.size());
                for (const qsizetype position : op.order)
                    out << quint32(position);
                continue;
            }
            out << quint32(op.rows.size());
            for (const Row &row : op.rows)
                writeRow(out, row);
        }
        m_pending.clear();
        frame = JournalFile::frame(record);
    }
    write(frame, modified);
}

void RecoveryJournal::fieldsChanged(const TextFields &fields)
{
    if (!m_following || m_failed)
        return;
    QByteArray record;
    QDataStream out(&record, QIODevice::WriteOnly);
    out.setVersion(StreamVersion);
    out << quint8(JournalRecord::Fields) << quint32(0) << fields.outputFile << fields.memo;
    write(JournalFile::frame(record), true);
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
        std::unique_ptr<QLockFile> lock = lockOf(path);
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

std::optional<RecoveryJournal::Decoded> RecoveryJournal::decode(const QByteArray &record)
{
    QDataStream in(record);
    in.setVersion(StreamVersion);
    Decoded decoded;
    quint8 kind = 0;
    quint32 ops = 0;
    in >> kind >> ops;
    if (in.status() != QDataStream::Ok || kind > quint8(JournalRecord::Fields))
        return std::nullopt;
    decoded.kind = JournalRecord(kind);
    if (decoded.kind == JournalRecord::Fields) {
        in >> decoded.fields.outputFile >> decoded.fields.memo;
        return in.status() == QDataStream::Ok ? std::optional(decoded) : std::nullopt;
    }
    for (quint32 i = 0; i < ops; ++i) {
        quint8 opKind = 0;
        quint32 count = 0;
        in >> opKind >> count;
        // Each row or position takes bytes: a count beyond what is left is damage.
        if (in.status() != QDataStream::Ok || opKind > quint8(OpKind::Order) || count > quint32(record.size()))
            return std::nullopt;
        Op op{OpKind(opKind), {}, {}};
        for (quint32 n = 0; n < count; ++n) {
            if (op.kind == OpKind::Order) {
                quint32 position = 0;
                in >> position;
                op.order.push_back(qsizetype(position));
            } else {
                Row row;
                if (!readRow(in, row))
                    return std::nullopt;
                op.rows.push_back(std::move(row));
            }
        }
        if (in.status() != QDataStream::Ok)
            return std::nullopt;
        decoded.ops.push_back(std::move(op));
    }
    return decoded;
}

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
        std::shared_ptr<QLockFile> lock = lockOf(filePath);
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
        if (!path.isEmpty() && contents->header.path != absolutePath(path))
            continue;
        FoundJournal journal{filePath, lock, std::move(*contents), QFileInfo(filePath).lastModified(), 0};
        bool fields = false;
        for (const QByteArray &record : journal.contents.records) {
            const std::optional<RecoveryJournal::Decoded> decoded = RecoveryJournal::decode(record);
            if (decoded && decoded->kind == JournalRecord::Change)
                ++journal.changes;
            fields = fields || (decoded && decoded->kind == JournalRecord::Fields);
        }
        journal.changes += int(fields);
        found.push_back(std::move(journal));
    }
    return found;
}

namespace {

bool ascending(const std::vector<RecoveryJournal::Row> &rows)
{
    return std::is_sorted(rows.begin(), rows.end(),
                          [](const auto &a, const auto &b) { return a.position <= b.position; })
           && (rows.empty() || rows.front().position >= 0);
}

bool isPermutation(std::vector<qsizetype> order)
{
    std::sort(order.begin(), order.end());
    for (size_t i = 0; i < order.size(); ++i) {
        if (order[i] != qsizetype(i))
            return false;
    }
    return true;
}

// Whether op can be made on count rows: a damaged record must not reach the list.
bool fits(const RecoveryJournal::Op &op, qsizetype count)
{
    using Kind = RecoveryJournal::OpKind;
    switch (op.kind) {
    case Kind::Put:
        return !op.rows.empty() && ascending(op.rows) && op.rows.back().position < count + qsizetype(op.rows.size());
    case Kind::Take: return !op.rows.empty() && ascending(op.rows) && op.rows.back().position < count;
    case Kind::Set: return op.rows.size() == 1 && op.rows.front().position >= 0 && op.rows.front().position < count;
    case Kind::Order: return qsizetype(op.order.size()) == count && isPermutation(op.order);
    }
    return false;
}

// Whether every op of a record fits, so that a record is made whole or not at all.
bool fitsWhole(const RecoveryJournal::Decoded &record, qsizetype count)
{
    for (const RecoveryJournal::Op &op : record.ops) {
        if (!fits(op, count))
            return false;
        if (op.kind == RecoveryJournal::OpKind::Put)
            count += qsizetype(op.rows.size());
        else if (op.kind == RecoveryJournal::OpKind::Take)
            count -= qsizetype(op.rows.size());
    }
    return true;
}

} // namespace

Replayed replayJournal(Document &state, const JournalContents &contents)
{
    Replayed replayed;
    EntryList &rows = state.entries();
    QUndoStack &history = state.history();
    bool inStep = false;
    bool fieldsChanged = false;
    TextFields fields;
    for (const QByteArray &record : contents.records) {
        const std::optional<RecoveryJournal::Decoded> decoded = RecoveryJournal::decode(record);
        if (!decoded || !fitsWhole(*decoded, rows.count())) {
            replayed.stopped = true;
            break;
        }
        if (decoded->kind == JournalRecord::Fields) {
            fields = decoded->fields;
            fieldsChanged = true;
            continue;
        }
        for (const RecoveryJournal::Op &op : decoded->ops) {
            if (op.kind == RecoveryJournal::OpKind::Order) {
                rows.applySortedOrder(op.order);
                continue;
            }
            if (!std::exchange(inStep, true))
                history.beginMacro(QStringLiteral("復元"));
            switch (op.kind) {
            case RecoveryJournal::OpKind::Put: {
                std::vector<PlacedEntry> put;
                for (const RecoveryJournal::Row &row : op.rows)
                    put.push_back({row.position, Entry{row.indexText, row.name, row.value, row.key, 0}});
                history.push(RowsCommand::putIn(rows, state.selection(), std::move(put), QStringLiteral("追加")));
                break;
            }
            case RecoveryJournal::OpKind::Take: {
                std::vector<qsizetype> positions;
                for (const RecoveryJournal::Row &row : op.rows)
                    positions.push_back(row.position);
                history.push(RowsCommand::takeOut(rows, state.selection(), positions, QStringLiteral("削除")));
                break;
            }
            case RecoveryJournal::OpKind::Set: {
                const RecoveryJournal::Row &row = op.rows.front();
                history.push(new EditCommand(rows, state.selection(), row.position,
                                          Entry{row.indexText, row.name, row.value, std::nullopt, 0}));
                break;
            }
            case RecoveryJournal::OpKind::Order: break;
            }
        }
        replayed.changes += int(decoded->kind == JournalRecord::Change);
    }
    if (inStep) {
        history.endMacro();
        state.journal().commit(JournalRecord::Change, true);
        state.setUiState(UiState::Modified);
    } else {
        state.journal().commit(JournalRecord::Sort, state.isModified());
    }
    if (fieldsChanged) {
        state.setFieldText(Field::File, fields.outputFile);
        state.setFieldText(Field::Memo, fields.memo);
        ++replayed.changes;
    }
    return replayed;
}

EntryList recoveredRows(const JournalContents &contents)
{
    EntryList rows;
    for (const QByteArray &record : contents.records) {
        const std::optional<RecoveryJournal::Decoded> decoded = RecoveryJournal::decode(record);
        if (!decoded)
            break;
        for (const RecoveryJournal::Op &op : decoded->ops) {
            for (const RecoveryJournal::Row &row : op.rows)
                rows.append(Entry{row.indexText, row.name, row.value, std::nullopt, 0});
        }
    }
    return rows;
}

} // namespace wendaro
