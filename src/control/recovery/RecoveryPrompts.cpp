// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/recovery/RecoveryPrompts.h"

#include "control/document/Document.h"
#include "control/recovery/FoundJournals.h"
#include "control/recovery/JournalReplay.h"
#include "control/recovery/RecoveryJournal.h"
#include "control/window/MessageBoxes.h"
#include "control/window/UserInterface.h"

#include "core/document/DocumentFile.h"
#include "core/formats/FormatRegistry.h"

#include <QDir>

namespace wendaro {

RecoveryPrompts::RecoveryPrompts(Document &state, UserInterface &ui, const CodePage &codePage)
    : m_state(state), m_ui(ui), m_codePage(codePage)
{
}

void RecoveryPrompts::openOffering(const QString &path, const Open &open)
{
    QStringList bad;
    const std::vector<FoundJournal> found = findJournals(path, &bad);
    reportBadJournals(bad);
    const FoundJournal *chosen = nullptr;
    for (const FoundJournal &journal : found) {
        const Recovery recovery = offerRecovery(journal);
        if (recovery == Recovery::Replay)
            chosen = &journal;
        if (recovery != Recovery::Settled)
            break;
    }
    const std::optional<FileIdentity> read = open(path);
    if (chosen)
        replay(*chosen, read);
}

void RecoveryPrompts::offerAll(const Open &open)
{
    QStringList bad;
    const std::vector<FoundJournal> found = findJournals(QString(), &bad);
    reportBadJournals(bad);
    for (const FoundJournal &journal : found) {
        const Recovery recovery = offerRecovery(journal);
        if (recovery == Recovery::Replay)
            replay(journal, open(journal.contents.header.path));
        if (recovery != Recovery::Settled)
            return;
    }
}

RecoveryPrompts::Recovery RecoveryPrompts::offerRecovery(const FoundJournal &journal)
{
    const JournalHeader &header = journal.contents.header;
    const bool fileChanged = fileIdentity(header.path) != header.identity;
    switch (m_ui.showMessage(
        recoveryBox(QDir::toNativeSeparators(header.path), journal.changes, journal.lastChange, fileChanged))) {
    case MessageAnswer::Yes:
        if (!fileChanged)
            return Recovery::Replay;
        // The journal stays until its rows are safe elsewhere.
        if (saveRecoveredRows(journal))
            journal.remove();
        return Recovery::Settled;
    case MessageAnswer::No:
        if (m_ui.showMessage(discardChangesBox()) == MessageAnswer::Yes)
            journal.remove();
        return Recovery::Settled;
    default: return Recovery::Stop;
    }
}

void RecoveryPrompts::replay(const FoundJournal &journal, const std::optional<FileIdentity> &read)
{
    const JournalHeader &header = journal.contents.header;
    if (!read || *read != header.identity) {
        // Changed between the question and the read: the journal waits for
        // the next time, when the question says so.
        m_ui.showMessage(
            noticeBox(QStringLiteral("「%1」は変更の記録の後に変更されたため、変更を復元できませんでした。")
                          .arg(QDir::toNativeSeparators(header.path))));
        return;
    }
    const Replayed replayed = replayJournal(m_state, journal.contents);
    RecoveryJournal &ours = m_state.journal();
    ours.sync();
    // Gone only once its changes are in this window's own journal (or
    // nothing is unsaved); should that fail, it stays for the next start.
    if (!ours.filePath().isEmpty() || !m_state.isModified())
        journal.remove();
    if (journal.contents.cutShort || replayed.stopped)
        m_ui.showMessage(
            noticeBox(QStringLiteral("「%1」の変更の記録は途中で切れていたため、%2 件の変更を復元しました。")
                          .arg(QDir::toNativeSeparators(header.path))
                          .arg(replayed.changes)));
}

bool RecoveryPrompts::saveRecoveredRows(const FoundJournal &journal)
{
    const FileFormat *text = &FormatRegistry::text();
    FileDialogRequest request;
    request.kind = FileDialogKind::Save;
    request.title = QStringLiteral("変更した行の保存");
    request.fileName = journal.contents.header.path + QStringLiteral(".recovered.txt");
    request.formats = {text};
    request.defaultExtension = QStringLiteral("*.txt");
    request.overwritePrompt = true;
    request.hideReadOnly = true;
    request.pathMustExist = true;
    const std::optional<QString> chosen = m_ui.showFileDialog(request);
    if (!chosen)
        return false;
    QString error;
    if (!saveDocumentAs(*chosen, *text, recoveredRows(journal.contents), {}, m_codePage, &error)) {
        m_ui.showMessage(fileErrorBox(errorBoxText(WriteErrorMessage, error)));
        return false;
    }
    return true;
}

void RecoveryPrompts::reportBadJournals(const QStringList &bad)
{
    if (bad.isEmpty())
        return;
    m_ui.showMessage(fileErrorBox(QStringLiteral("保存されていない変更の記録として読めないファイルがあります。"
                                                 "名前の末尾に .bad を付けて残しました。\r\n")
                                  + bad.join(QStringLiteral("\r\n"))));
}

} // namespace wendaro
