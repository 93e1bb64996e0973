// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "control/recovery/JournalLocations.h"

#include "core/io/FileIdentity.h"
#include "core/io/JournalFile.h"
#include "core/io/JournalRecordCodec.h"
#include "core/model/EntryList.h"
#include "core/model/RowChangeRecorder.h"
#include "core/model/TextFields.h"

#include <QLockFile>
#include <QString>
#include <QTimer>

#include <memory>
#include <optional>
#include <vector>

namespace wendaro {

class UserInterface;

// The unsaved changes of the open document, kept in a file of its own in
// recoveryFolder() so that a crash, a kill or a power cut loses none. Every
// change of the rows is taken as the list makes it (the rows a command put in,
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

private:
    void write(const QByteArray &frame, bool modified);
    void removeFile();
    bool openFile(QString *error);
    void fail(const QString &error);
    static JournalRow rowAt(const EntryList &rows, qsizetype position);

    UserInterface &m_ui;
    bool m_following = false;
    bool m_failed = false;
    bool m_toldFailure = false;
    JournalHeader m_header;
    std::vector<JournalOp> m_pending;
    QByteArray m_log; // framed records since the document equalled its file
    JournalFile m_file;
    QString m_filePath;
    std::unique_ptr<QLockFile> m_lock;
    QTimer m_syncTimer;
};

} // namespace wendaro
