// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "control/Command.h"
#include "control/DocumentStates.h"
#include "control/UserInterface.h"

#include "core/text/CodePage.h"
#include "core/model/EntryList.h"
#include "core/model/TextFields.h"

#include <QString>
#include <QStringList>
#include <array>

namespace wendaro {

class LoadAhead;

// The main window's procedures and the state that the window shows: the entry
// list, the texts of txtFile and txtMemo, the current path of the status bar,
// the enabled state of every command that follows the document, and the index
// proposed for the next new entry. The window's handlers call one procedure
// each; the window shows the state and follows it through the notifications
// of UserInterface and the EntryListObserver of entries().
//
// The document is modified exactly while mFiles_Save is enabled.
class MainWindowController
{
public:
    MainWindowController(UserInterface &ui, CodePage codePage);

    // The rows. The view keeps the list's selected row and its shown-selected
    // state up to date here; every other change goes through the procedures.
    EntryList &entries() { return m_entries; }
    const EntryList &entries() const { return m_entries; }

    QString fieldText(Field field) const;
    QString currentPath() const { return m_currentPath; }
    bool isEnabled(Command command) const;
    bool isModified() const { return isEnabled(Command::FilesSave); }
    qint16 nextIndex() const { return m_nextIndex; }

    // The window's load: no file, then the file at path as it stands (none
    // when it is empty or only spaces). A path decoded from bytes that are no
    // valid file name is refused with the read error, and no file is open.
    // A load of the same path started ahead is waited for instead of reading
    // the file again.
    void startUp(const QString &path, bool pathBytesValid = true, LoadAhead *ahead = nullptr);

    // Sets the field's text, as typed or by a procedure; a real change marks
    // the document modified at once.
    void setFieldText(Field field, const QString &text);
    // txtFile or txtMemo received the focus (the view selects the text itself).
    void fieldFocused();
    // A click on a row of the list, after the view made it the selected row.
    void itemClicked();
    // A double click on the list: edits the selected row when it is shown selected.
    void itemDoubleClicked();
    // The window became the active window: the selected row is shown selected.
    void windowActivated();
    // A click on a column header; positions count from 1 (index, name, value).
    void columnClicked(int headerPosition);
    // Files dropped on the list; the first is opened. firstPathBytesValid is
    // false when the first name's bytes did not decode exactly: it is refused.
    void dropFiles(const QStringList &paths, bool firstPathBytesValid = true);

    // The commands.
    void chooseFile(ChooseMode mode);
    // Writes the document to the current path (false: creates the file empty).
    // True when written.
    bool saveFile(bool writeEntries);
    void closeFile();
    // The window is about to close: true when it may.
    bool queryClose();
    void addEntry();
    void editEntry();
    void removeEntry();
    // Opens readme.txt, found beside the program in programFolder or in the
    // installed documentation folder, in a plain-text viewer. A box says
    // where it was looked for when it is missing, and where it is when no
    // viewer could be started.
    void openReadme(const QString &programFolder);

    // The entry editor's OK: checks the index field and applies the entry.
    // True when the editor may close; false after an error box, the editor
    // staying open as it is.
    bool acceptEditor(EditMode mode, const QString &indexField, const QString &name, const QString &valueField);

    // Switches the commands for a state code.
    void setUiState(UiState state);
    // Asks whether the unsaved changes are to be saved first. True when the
    // person cancelled, or chose to save and the save failed: the caller stops.
    bool confirmSave();
    // Reads the file of the current path, or takes what ahead read of it.
    // True when read without error.
    bool loadFile(LoadAhead *ahead = nullptr);

private:
    void setEnabled(Command command, bool enabled);
    void refreshSelectionCommands();
    void setCurrentPath(const QString &path);
    void refuseUndecodableName(const QString &path);
    // Empties both fields and the list, which then keeps rows in the order they come.
    void clearDocument();
    void formReturn(EditMode mode, const QString &index, const QString &name, const QString &value);
    void showError(const QString &message, const QString &description);

    UserInterface &m_ui;
    CodePage m_codePage;
    EntryList m_entries;
    TextFields m_fields;
    QString m_currentPath;
    std::array<bool, AllCommands.size()> m_enabled;
    qint16 m_nextIndex = 0;
    // What the file dialog holds between uses: the last name set or chosen.
    QString m_dialogFileName;
};

} // namespace wendaro
