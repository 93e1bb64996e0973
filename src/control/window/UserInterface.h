// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "control/commands/Command.h"

#include "core/io/LoadProgress.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace wendaro {

class FileFormat;

inline const QString ApplicationTitle = QStringLiteral("Wendaro");

enum class MessageIcon { Critical, Question, Exclamation };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// One modal message box. The box returns escapeAnswer when the person presses
// Esc or closes it with the window's close button.
struct MessageBox
{
    QString text;
    QString title;
    MessageIcon icon = MessageIcon::Critical;
    MessageButtons buttons = MessageButtons::Ok;
    MessageAnswer defaultAnswer = MessageAnswer::Ok;
    MessageAnswer escapeAnswer = MessageAnswer::Ok;
};

enum class FileDialogKind { Open, Save, Folder }; // Folder: an existing folder is chosen

// How the file dialog is set up for one command.
struct FileDialogRequest
{
    FileDialogKind kind = FileDialogKind::Open;
    QString title;
    QString fileName;                  // the name the dialog starts with
    QList<const FileFormat *> formats; // one filter each, in order
    QStringList nameFilters;           // filters of files that are no table ("TMX ファイル (*.tmx)"), after them
    QString defaultExtension;          // as "*.stf"
    bool overwritePrompt = false;      // ask before a chosen file that exists is replaced
    bool hideReadOnly = false;         // no read-only check box
    bool pathMustExist = false;        // the chosen file's folder must exist
    bool fileMustExist = false;        // the chosen file itself must exist

    // The default extension without "*." ("stf"), as suffix-completing dialogs take it.
    QString defaultSuffix() const;
};

enum class EditMode { Add, Edit };

// What the entry editor shows when it opens.
struct EditorFill
{
    EditMode mode = EditMode::Add;
    QString title; // "追加" or "編集"
    QString index; // the index field, without surrounding spaces
    QString name;
    QString value; // line breaks as CR LF
};

// Everything through which the document control reaches the person. The
// window implements it with real dialogs; every call is modal unless said
// otherwise, and runs on the one user-interface thread.
class UserInterface
{
public:
    virtual ~UserInterface() = default;

    // Shows the box and returns the button chosen.
    virtual MessageAnswer showMessage(const MessageBox &box) = 0;

    // Shows the file dialog; the chosen full path, or nullopt when cancelled.
    virtual std::optional<QString> showFileDialog(const FileDialogRequest &request) = 0;

    // Shows the file dialog for opening several existing files at once; the
    // chosen full paths, none when cancelled.
    virtual QStringList showOpenFilesDialog(const FileDialogRequest &request) = 0;

    // Asks the person to pick one of items (a list in a box titled title,
    // with label above it); the item chosen, or nullopt when cancelled.
    virtual std::optional<QString> chooseItem(const QString &title, const QString &label, const QStringList &items) = 0;

    // Shows the entry editor filled as given and returns when it has closed.
    // Its OK button calls MainWindowController::acceptEditor with the fill's
    // mode and the fields' texts; the editor closes only when that returns true.
    // Cancel, or closing it otherwise, applies nothing.
    virtual void showEntryEditor(const EditorFill &fill) = 0;

    // Starts another program without waiting and without a shell. False
    // when it could not be started.
    virtual bool startDetached(const QString &program, const QStringList &arguments) = 0;
    // Opens the file in the desktop's default viewer for it, without waiting.
    // False when no viewer could be started.
    virtual bool openWithDefaultViewer(const QString &path) = 0;

    // Runs task to its end and returns then, as a plain call would; the
    // window meanwhile keeps painting and, when the task takes a while, shows
    // label with the progress the task reports and a Cancel button that asks
    // the task to stop. The task may run on another thread: it must not touch
    // anything the window shows.
    virtual void runLongTask(const QString &label, const std::function<void(LoadProgress &)> &task) = 0;

    // The desktop's clipboard, as plain text: what it holds (empty when it
    // holds no text), and putting text there.
    virtual QString clipboardText() = 0;
    virtual void setClipboardText(const QString &text) = 0;

    // Change notifications, raised only for a real change, so that the view
    // follows the state; a view reads the states it starts from from the
    // controller (every field starts enabled, the texts and the path empty).
    // The rows are the controller's model's, the commands its actions.
    virtual void fieldEnabledChanged(Field field, bool enabled) = 0;
    // Also raised when the change came from the view itself (typing): a view
    // compares before it replaces its widget's text.
    virtual void fieldTextChanged(Field field, const QString &text) = 0;
    // The current file path shown in the status bar.
    virtual void currentPathChanged(const QString &path) = 0;
    // A notice in the status bar that asks for nothing (what went wrong
    // beside the person's work, which goes on).
    virtual void showStatus(const QString &text) = 0;
};

} // namespace wendaro
