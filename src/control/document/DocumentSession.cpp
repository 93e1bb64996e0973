// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/document/DocumentSession.h"

#include "control/window/FileDialogSetup.h"
#include "control/document/LoadAhead.h"
#include "control/window/MessageBoxes.h"
#include "control/window/UserInterface.h"
#include "control/document/Document.h"

#include "core/document/DocumentFile.h"
#include "core/text/Spaces.h"

#include <QDir>
#include <QFileInfo>

namespace wendaro {

namespace {

// Two names of one file: the same absolute path, or links to one file.
bool isSameFile(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    const QFileInfo first(a);
    const QFileInfo second(b);
    if (QDir::cleanPath(first.absoluteFilePath()) == QDir::cleanPath(second.absoluteFilePath()))
        return true;
    const QString canonical = first.canonicalFilePath();
    return !canonical.isEmpty() && canonical == second.canonicalFilePath();
}

} // namespace

DocumentSession::DocumentSession(Document &state, UserInterface &ui, CodePage codePage)
    : m_state(state), m_ui(ui), m_codePage(std::move(codePage))
{
}

bool DocumentSession::confirmSave()
{
    if (!m_state.isModified())
        return false;
    switch (m_ui.showMessage(savePromptBox(m_state.currentPath()))) {
    case MessageAnswer::Yes:
        // A failed save, or one declined over another program's change,
        // keeps the changes only if the caller stops.
        return !saveFile(true);
    case MessageAnswer::No: return false;
    default: return true;
    }
}

void DocumentSession::closeFile()
{
    if (confirmSave())
        return;
    m_state.clearDocument();
    m_state.setCurrentPath(QString());
    m_state.setUiState(UiState::NoFile);
}

bool DocumentSession::queryClose()
{
    if (confirmSave())
        return false;
    // Saved, thrown away or unchanged: nothing is left to recover.
    m_state.journal().stop();
    return true;
}

void DocumentSession::showError(const QString &message, const QString &description)
{
    m_ui.showMessage(fileErrorBox(errorBoxText(message, description)));
}

bool DocumentSession::loadFile(LoadAhead *ahead)
{
    m_state.clearDocument();
    // The reader works on copies: nothing it touches is shown meanwhile.
    const QString path = m_state.currentPath();
    const CodePage &codePage = m_codePage;
    if (ahead && !ahead->reads(path, codePage))
        ahead = nullptr;
    LoadedDocument loaded;
    bool ok = false;
    QString error;
    m_ui.runLongTask(QStringLiteral("ファイル「%1」を読み込んでいます…").arg(QDir::toNativeSeparators(path)),
                     [&loaded, &ok, &error, &path, &codePage, ahead](LoadProgress &progress) {
                         ok = ahead ? ahead->wait(progress, loaded, &error)
                                    : loadDocument(path, codePage, loaded, &error, nullptr, &progress);
                     });
    // A person who chose to stop needs no error box: the window stays as a
    // load that could not open its file leaves it, the list and fields empty.
    // Nothing after a cancelled read: a save there asks before it writes
    // over the file that was not read.
    m_fileOnDisk = loaded.identity;
    if (loaded.cancelled)
        return false;
    // What was read stays shown, also when the file ended in an error.
    m_state.entries().replaceRows(std::move(loaded.rows));
    m_state.setFieldText(Field::File, loaded.fields.outputFile);
    m_state.setFieldText(Field::Memo, loaded.fields.memo);
    if (!ok) {
        showError(ReadErrorMessage, error);
        return false;
    }
    m_state.setNextIndex(loaded.nextIndex);
    m_state.journal().follow(path, loaded.identity);
    m_state.markSaved();
    return true;
}

bool DocumentSession::mayWriteOver()
{
    const std::optional<FileIdentity> now = fileIdentity(m_state.currentPath());
    // A file deleted meanwhile holds nothing to lose.
    if (!now || now == m_fileOnDisk)
        return true;
    return m_ui.showMessage(changedOnDiskBox(m_state.currentPath())) == MessageAnswer::Yes;
}

bool DocumentSession::saveFile(bool writeEntries)
{
    return mayWriteOver() && writeFile(writeEntries);
}

bool DocumentSession::writeFile(bool writeEntries)
{
    QString error;
    // A project's new table goes where its original's path says, in folders
    // that may not exist yet.
    const QString folder = QFileInfo(m_state.currentPath()).absolutePath();
    if (m_state.currentPath() == m_newTablePath && !QFileInfo::exists(folder) && !QDir().mkpath(folder)) {
        showError(WriteErrorMessage,
                  QStringLiteral("フォルダー「%1」を作れません。").arg(QDir::toNativeSeparators(folder)));
        return false;
    }
    if (!saveDocument(m_state.currentPath(), m_state.entries(), m_state.fields(), writeEntries, m_codePage, &error)) {
        showError(WriteErrorMessage, error);
        return false;
    }
    m_fileOnDisk = fileIdentity(m_state.currentPath());
    m_state.journal().follow(m_state.currentPath(), m_fileOnDisk);
    m_state.markSaved();
    return true;
}

void DocumentSession::chooseFile(ChooseMode mode)
{
    if ((mode == ChooseMode::New || mode == ChooseMode::Open) && confirmSave())
        return;
    const FileDialogRequest request = fileDialogSetup(mode, m_state.currentPath(), m_dialogFileName);
    m_dialogFileName = request.fileName;
    const std::optional<QString> chosen = m_ui.showFileDialog(request);
    if (!chosen)
        return;
    m_dialogFileName = *chosen;
    switch (mode) {
    case ChooseMode::New:
        m_state.setCurrentPath(*chosen);
        // The document shown is the empty file about to be made.
        m_state.clearDocument();
        writeFile(false);
        m_state.setNextIndex(1);
        break;
    case ChooseMode::Open: openPath(*chosen); break;
    case ChooseMode::SaveAs: {
        // Onto the open file itself it is a Save, and asks as one.
        const bool sameFile = isSameFile(*chosen, m_state.currentPath());
        m_state.setCurrentPath(*chosen);
        if (sameFile)
            saveFile(true);
        else
            writeFile(true);
        break;
    }
    case ChooseMode::Output: m_state.setFieldText(Field::File, *chosen); break;
    }
}

void DocumentSession::startUp(const QString &path, bool pathBytesValid, LoadAhead *ahead)
{
    m_state.setUiState(UiState::NoFile);
    if (trimSpaces(path).isEmpty()) {
        m_recovery.offerAll([this](const QString &chosen) { return readPath(chosen, nullptr, true); });
        return;
    }
    if (!pathBytesValid) {
        refuseUndecodableName(path);
        return;
    }
    openPath(path, ahead, true);
}

void DocumentSession::openPath(const QString &path, LoadAhead *ahead, bool markSaved)
{
    m_recovery.openOffering(path, [this, ahead, markSaved](const QString &chosen) {
        return readPath(chosen, ahead, markSaved);
    });
}

std::optional<FileIdentity> DocumentSession::readPath(const QString &path, LoadAhead *ahead, bool markSaved)
{
    m_state.setCurrentPath(path);
    const bool loaded = loadFile(ahead);
    if (markSaved)
        m_state.markSaved();
    return loaded ? m_fileOnDisk : std::nullopt;
}

void DocumentSession::refuseUndecodableName(const QString &path)
{
    // The decoded name lost bytes: opening it could read or, on the next
    // save, write a different file.
    showError(ReadErrorMessage, QStringLiteral("ファイル名「%1」には、システムのファイル名の文字コード (UTF-8) として"
                                               "正しくないバイトが含まれているため、開けません。"
                                               "ファイル名を UTF-8 で表せる名前に変更してから開いてください。")
                                    .arg(QDir::toNativeSeparators(path)));
}

bool DocumentSession::openFile(const QString &path)
{
    if (confirmSave())
        return false;
    bool read = false;
    m_recovery.openOffering(path, [this, &read](const QString &chosen) {
        const std::optional<FileIdentity> identity = readPath(chosen, nullptr, false);
        read = identity.has_value();
        return identity;
    });
    return read;
}

bool DocumentSession::startNewFile(const QString &path)
{
    if (confirmSave())
        return false;
    m_state.clearDocument();
    m_state.setCurrentPath(path);
    m_state.setNextIndex(1);
    m_fileOnDisk.reset();
    m_newTablePath = path;
    m_state.journal().follow(path, std::nullopt);
    m_state.markSaved();
    return true;
}

void DocumentSession::dropFiles(const QStringList &paths, bool firstPathBytesValid)
{
    if (paths.isEmpty())
        return;
    if (confirmSave())
        return;
    if (!firstPathBytesValid) {
        refuseUndecodableName(paths.first());
        return;
    }
    openPath(paths.first());
}

} // namespace wendaro
