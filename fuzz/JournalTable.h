// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "control/window/UserInterface.h"

#include "core/model/EntryList.h"
#include "core/model/IndexText.h"

namespace wendaro::fuzz {

// The table every journal seed was begun from, and every input is replayed
// onto: the seeds' positions name its rows.
inline void fillJournalTable(EntryList &rows)
{
    const struct
    {
        qint16 index;
        const char *name;
        const char *value;
    } table[] = {{1, "a", "A"}, {2, "b", "B"}, {3, "c", "C"}, {10, "k", "K<br>k"}, {5, "e", ""}};
    for (const auto &row : table) {
        const qsizetype p = rows.append(indexText(row.index));
        rows.setName(p, QString::fromUtf8(row.name));
        rows.setValue(p, QString::fromUtf8(row.value));
    }
}

// A person who is never asked anything: the journal's writer and its replay
// show nothing but a status when the disk fails.
class QuietInterface : public UserInterface
{
public:
    MessageAnswer showMessage(const MessageBox &box) override { return box.escapeAnswer; }
    std::optional<QString> showFileDialog(const FileDialogRequest &) override { return std::nullopt; }
    QStringList showOpenFilesDialog(const FileDialogRequest &) override { return {}; }
    std::optional<QString> chooseItem(const QString &, const QString &, const QStringList &) override
    {
        return std::nullopt;
    }
    void showEntryEditor(const EditorFill &) override {}
    bool startDetached(const QString &, const QStringList &) override { return false; }
    bool openWithDefaultViewer(const QString &) override { return false; }
    void runLongTask(const QString &, const std::function<void(LoadProgress &)> &task) override
    {
        LoadProgress progress;
        task(progress);
    }
    QString clipboardText() override { return {}; }
    void setClipboardText(const QString &) override {}
    void fieldEnabledChanged(Field, bool) override {}
    void fieldTextChanged(Field, const QString &) override {}
    void currentPathChanged(const QString &) override {}
    void showStatus(const QString &text) override { status = text; }

    QString status;
};

} // namespace wendaro::fuzz
