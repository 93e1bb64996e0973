// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/io/FileIdentity.h"
#include "core/text/CodePage.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace wendaro {

class Document;
class UserInterface;
struct FoundJournal;

// The questions about the unsaved changes a dead window left in its
// journals: replay them onto their file, save the rows aside when the file
// changed since, or throw them away. Asked where a file is opened and at a
// start-up without a file.
class RecoveryPrompts
{
public:
    // Opens the file at path for the prompts: it becomes the document's,
    // read as the caller opens files. The file as read; nullopt when it was
    // not read without error.
    using Open = std::function<std::optional<FileIdentity>(const QString &path)>;

    RecoveryPrompts(Document &state, UserInterface &ui, const CodePage &codePage);

    // Offers the journals of the file at path in turn, until the person
    // chooses one or stops, opens the file whatever was chosen, and replays
    // the chosen journal onto what was read.
    void openOffering(const QString &path, const Open &open);
    // Offers every journal in turn, until one is replayed (its file opened)
    // or the person stops.
    void offerAll(const Open &open);

private:
    // What the person chose for a journal of unsaved changes.
    enum class Recovery { Replay, Settled, Stop };

    Recovery offerRecovery(const FoundJournal &journal);
    // Replays the journal onto its file as read (nullopt: not read); it goes
    // once its changes are journalled again here.
    void replay(const FoundJournal &journal, const std::optional<FileIdentity> &read);
    // Saves the rows a journal touched as a text table the person names.
    bool saveRecoveredRows(const FoundJournal &journal);
    void reportBadJournals(const QStringList &bad);

    Document &m_state;
    UserInterface &m_ui;
    const CodePage &m_codePage;
};

} // namespace wendaro
