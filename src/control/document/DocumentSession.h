// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "control/commands/DocumentStates.h"
#include "control/recovery/RecoveryPrompts.h"

#include "core/io/FileIdentity.h"
#include "core/text/CodePage.h"

#include <QString>
#include <QStringList>

namespace wendaro {

class LoadAhead;
class UserInterface;
class Document;

// The document's life in the window: the file it comes from and goes to.
// Start-up, New, Open, a drop, Save, Save As, Close and the window's close,
// with the prompt that asks to save unsaved changes first and the boxes of
// read and write errors.
class DocumentSession
{
public:
    DocumentSession(Document &state, UserInterface &ui, CodePage codePage);

    // The window's load: no file, then the file at path as it stands (none
    // when it is empty or only spaces). A path decoded from bytes that are no
    // valid file name is refused with the read error, and no file is open.
    // A load of the same path started ahead is waited for instead of reading
    // the file again.
    void startUp(const QString &path, bool pathBytesValid = true, LoadAhead *ahead = nullptr);
    // Files dropped on the list; the first is opened. firstPathBytesValid is
    // false when the first name's bytes did not decode exactly: it is refused.
    void dropFiles(const QStringList &paths, bool firstPathBytesValid = true);
    void chooseFile(ChooseMode mode);
    // Opens the file at path after the save prompt, as Open does once the
    // dialog chose it. True when it was read whole.
    bool openFile(const QString &path);
    // After the save prompt, a table at path that is not on disk yet: no
    // rows, and nothing written until the first save makes the file (and
    // its folders). False when the person cancelled at the prompt.
    bool startNewFile(const QString &path);
    // Writes the document to the current path (false: creates the file empty).
    // True when written. A file there that another program changed since it
    // was read or written here is written over only when the person says so.
    bool saveFile(bool writeEntries);
    void closeFile();
    // The window is about to close: true when it may.
    bool queryClose();

    // Asks whether the unsaved changes are to be saved first. True when the
    // person cancelled, or chose to save and the save failed: the caller stops.
    bool confirmSave();

private:
    // Opens the file at path, first offering the unsaved changes a journal
    // of it holds; markSaved: the loaded state is the saved one even after
    // an error, as at start-up.
    void openPath(const QString &path, LoadAhead *ahead = nullptr, bool markSaved = false);
    // Makes path the current path and reads it, for the recovery prompts:
    // the file as read, nullopt when it was not read without error.
    std::optional<FileIdentity> readPath(const QString &path, LoadAhead *ahead, bool markSaved);
    // Reads the file of the current path, or takes what ahead read of it.
    // True when read without error.
    bool loadFile(LoadAhead *ahead = nullptr);
    // saveFile without asking.
    bool writeFile(bool writeEntries);
    // False when the file at the current path is no longer the one read or
    // written here and the person chose not to write over it.
    bool mayWriteOver();
    void refuseUndecodableName(const QString &path);
    void showError(const QString &message, const QString &description);

    Document &m_state;
    UserInterface &m_ui;
    CodePage m_codePage;
    // What the file dialog holds between uses: the last name set or chosen.
    QString m_dialogFileName;
    // The file at the current path as it was last read or written here.
    std::optional<FileIdentity> m_fileOnDisk;
    // The table startNewFile began, whose folders its save makes.
    QString m_newTablePath;
    // The questions about the journals a dead window left, asked where a
    // file is opened and at a start-up without one.
    RecoveryPrompts m_recovery{m_state, m_ui, m_codePage};
};

} // namespace wendaro
