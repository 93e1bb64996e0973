// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "RecordedLaunches.h"

#include "control/window/UserInterface.h"

#include <QList>
#include <QPair>
#include <QStringList>
#include <functional>

namespace wendaro {

// A scripted person: answers message boxes and file dialogs from queues,
// runs a script when the entry editor opens, and records everything shown.
class FakeUserInterface : public RecordedLaunches<UserInterface>
{
public:
    // Answers for boxes with Yes/No/Cancel, in order; when none is left the
    // box is answered by its escape answer and counted as unscripted.
    QList<MessageAnswer> answers;
    // Results of the file dialog, in order; when none is left it is cancelled.
    QList<std::optional<QString>> dialogResults;
    // Results of the dialog that opens several files, in order; when none is left it is cancelled.
    QList<QStringList> filesDialogResults;
    // The person's picks from lists, in order; when none is left the list is cancelled.
    QList<std::optional<QString>> itemChoices;
    QList<QStringList> itemLists;
    // Run while the entry editor is open, like the person pressing its buttons.
    std::function<void(const EditorFill &)> editorScript;
    // Whether the person presses Cancel as soon as a long task shows.
    bool cancelLongTasks = false;
    // The desktop's clipboard.
    QString clipboard;

    QList<MessageBox> messages;
    int unscriptedMessages = 0;
    QList<FileDialogRequest> dialogs;
    QList<EditorFill> editors;
    QList<QPair<Field, bool>> fieldEnabledChanges;
    QList<QPair<Field, QString>> fieldChanges;
    QStringList pathChanges;
    QStringList longTasks;
    QStringList statuses;

    MessageAnswer showMessage(const MessageBox &box) override
    {
        messages.append(box);
        if (box.buttons == MessageButtons::Ok)
            return MessageAnswer::Ok;
        if (answers.isEmpty()) {
            ++unscriptedMessages;
            return box.escapeAnswer;
        }
        return answers.takeFirst();
    }

    std::optional<QString> showFileDialog(const FileDialogRequest &request) override
    {
        dialogs.append(request);
        return dialogResults.isEmpty() ? std::nullopt : dialogResults.takeFirst();
    }

    QStringList showOpenFilesDialog(const FileDialogRequest &request) override
    {
        dialogs.append(request);
        return filesDialogResults.isEmpty() ? QStringList() : filesDialogResults.takeFirst();
    }

    std::optional<QString> chooseItem(const QString &, const QString &, const QStringList &items) override
    {
        itemLists.append(items);
        return itemChoices.isEmpty() ? std::nullopt : itemChoices.takeFirst();
    }

    void showEntryEditor(const EditorFill &fill) override
    {
        editors.append(fill);
        if (editorScript)
            editorScript(fill);
    }

    void runLongTask(const QString &label, const std::function<void(LoadProgress &)> &task) override
    {
        longTasks.append(label);
        LoadProgress progress;
        if (cancelLongTasks)
            progress.cancel();
        task(progress);
    }

    QString clipboardText() override { return clipboard; }
    void setClipboardText(const QString &text) override { clipboard = text; }

    void fieldEnabledChanged(Field field, bool enabled) override { fieldEnabledChanges.append({field, enabled}); }
    void fieldTextChanged(Field field, const QString &text) override { fieldChanges.append({field, text}); }
    void currentPathChanged(const QString &path) override { pathChanges.append(path); }
    void showStatus(const QString &text) override { statuses.append(text); }
};

} // namespace wendaro
