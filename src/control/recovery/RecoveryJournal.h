// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/io/FileIdentity.h"
#include "core/io/JournalFile.h"
#include "core/model/EntryList.h"
#include "core/model/RowChangeRecorder.h"
#include "core/model/TextFields.h"

#include <QDateTime>
#include <QLockFile>
#include <QString>
#include <QTimer>

#include <memory>
#include <optional>
#include <vector>

namespace wendaro {

class UserInterface;
class Document;

// The folder of the journals: $XDG_STATE_HOME/wendaro/recovery, or
// ~/.local/state/wendaro/recovery.
QString recoveryFolder();

// How a record of the journal counts for the person: a change (an undo step
// done, undone or done again), typing merged into the change before, a sort
// (no change), or the two text fields.
enum class JournalRecord : quint8 { Change = 0, Continued = 1, Sort = 2, Fields = 3 };

// The unsaved changes of the open document, kept in a file of its own in
// recoveryFolder() so that a crash, a kill or a power cut loses none. Every
// change of the rows is taken as the list makes it (the rows a step put in,
// took out or changed, and sorts, which move the positions later changes
// name) and written as one record when the change ends, before the window
// handles the next event; the disk is synced within two seconds.
//
// The file exists only while the document has unsaved changes; the records
// since the document last equalled its file are kept in memory too, so that
// a journal removed when undo led back there is written whole again at the
// next change. A failure to write turns the journal off until the next save
// or load, tells the person once, and never stops the editing.
class RecoveryJournal : public RowChangeRecorder
{
public:
    explicit RecoveryJournal(UserInterface &ui);
    ~RecoveryJournal() override;

    // The document now equals the file at path, as identity says (a load or
    // a save): changes from here on are journalled, and an earlier journal
    // goes.
    void follow(const QString &path, const std::optional<FileIdentity> &identity);
    // The document is left (closed, replaced, the window leaves): its
    // journal is removed and nothing more is journalled until follow().
    void stop();
    // Ends a change the rows went through: the record is written, and the
    // file made or removed as the document is modified or not.
    void commit(JournalRecord kind, bool modified);
    // The text fields changed (the document is then modified).
    void fieldsChanged(const TextFields &fields);
    // What was written reaches the disk now.
    void sync();
    // The file of the journal, empty while none is written.
    QString filePath() const { return m_file.isOpen() ? m_filePath : QString(); }

    void rowsPut(const EntryList &rows, const std::vector<qsizetype> &positions) override;
    void rowsTaken(const std::vector<PlacedEntry> &taken) override;
    void rowChanged(const EntryList &rows, qsizetype position) override;
    void rowsReordered(const std::vector<qsizetype> &order) override;
    void rowsReset() override {}

    // One change of rows as a record holds it.
    struct Row
    {
        qsizetype position = 0;
        QString indexText;
        QString name;
        QString value;
        std::optional<qint16> key;
    };
    enum class OpKind : quint8 { Put = 0, Take = 1, Set = 2, Order = 3 };
    struct Op
    {
        OpKind kind = OpKind::Put;
        std::vector<Row> rows;
        std::vector<qsizetype> order;
    };
    struct Decoded
    {
        JournalRecord kind = JournalRecord::Change;
        std::vector<Op> ops;
        TextFields fields;
    };
    static std::optional<Decoded> decode(const QByteArray &record);

private:
    void write(const QByteArray &frame, bool modified);
    void removeFile();
    bool openFile(QString *error);
    void fail(const QString &error);
    static Row rowAt(const EntryList &rows, qsizetype position);

    UserInterface &m_ui;
    bool m_following = false;
    bool m_failed = false;
    bool m_toldFailure = false;
    JournalHeader m_header;
    std::vector<Op> m_pending;
    QByteArray m_log; // framed records since the document equalled its file
    JournalFile m_file;
    QString m_filePath;
    std::unique_ptr<QLockFile> m_lock;
    QTimer m_syncTimer;
};

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
// file when path is empty. A file that is no journal is renamed with a
// ".bad" suffix and told in *bad, one description each.
std::vector<FoundJournal> findJournals(const QString &path, QStringList *bad);

// What a replay made again.
struct Replayed
{
    int changes = 0;      // as FoundJournal counts them
    bool stopped = false; // a record did not fit the rows: the replay ended before it
};

// Makes the journal's changes again on the document as loaded, as one step
// of the history (one undo takes them all back), the fields as they were.
Replayed replayJournal(Document &state, const JournalContents &contents);

// Every row the journal put in, took out or changed, as it holds them, in
// that order: what is left of the changes when they can no longer be made
// on their file.
EntryList recoveredRows(const JournalContents &contents);

} // namespace wendaro
