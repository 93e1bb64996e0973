// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/MainWindowController.h"

#include "control/FileDialogSetup.h"
#include "control/IndexCheck.h"
#include "control/LoadAhead.h"
#include "control/MessageBoxes.h"
#include "control/ReadmeViewer.h"

#include "core/io/DocumentFile.h"
#include "core/model/IndexText.h"
#include "core/text/LineBreaks.h"
#include "core/text/Number.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <limits>

namespace wendaro {

namespace {

// What a state code does to one command. FollowSelection commands are set by
// the selection refresh, after every other command of the state.
enum class Effect { Keep, Off, On, FollowSelection };

bool needsSelection(Command command)
{
    switch (command) {
    case Command::EditEdit:
    case Command::EditRemove:
    case Command::PopupEdit:
    case Command::PopupRemove:
    case Command::ButtonEdit:
    case Command::ButtonRemove:
        return true;
    default:
        return false;
    }
}

bool isSaveCommand(Command command)
{
    return command == Command::FilesSave || command == Command::ButtonSave;
}

Effect effectOf(UiState state, Command command)
{
    switch (state) {
    case UiState::NoFile:
        return Effect::Off;
    case UiState::FieldFocus:
        return needsSelection(command) ? Effect::Off : Effect::Keep;
    case UiState::FileClean:
        if (needsSelection(command))
            return Effect::FollowSelection;
        return isSaveCommand(command) ? Effect::Off : Effect::On;
    case UiState::Modified:
        if (needsSelection(command))
            return Effect::FollowSelection;
        return isSaveCommand(command) ? Effect::On : Effect::Keep;
    case UiState::SelectionChanged:
    default: // any other code acts as a selection change
        return needsSelection(command) ? Effect::FollowSelection : Effect::Keep;
    }
}

bool isBlank(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c == QLatin1Char(' '); });
}

// The index field shows the index text without its padding.
QString withoutSurroundingSpaces(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.sliced(begin, end - begin);
}

constexpr qint16 LargestIndex = std::numeric_limits<qint16>::max();
// Tables with fewer rows sort within a frame, whatever their values.
constexpr qsizetype SortAsideRows = 4096;

} // namespace

MainWindowController::MainWindowController(UserInterface &ui, CodePage codePage)
    : m_ui(ui), m_codePage(std::move(codePage))
{
    m_enabled.fill(true);
    // A first click on the index column reverses the order it finds; starting
    // from descending makes that click sort ascending, as people expect.
    m_entries.setSortOrder(SortOrder::Descending);
}

QString MainWindowController::fieldText(Field field) const
{
    return field == Field::File ? m_fields.outputFile : m_fields.memo;
}

bool MainWindowController::isEnabled(Command command) const
{
    return m_enabled[std::size_t(command)];
}

void MainWindowController::setEnabled(Command command, bool enabled)
{
    bool &slot = m_enabled[std::size_t(command)];
    if (slot == enabled)
        return;
    slot = enabled;
    m_ui.commandEnabledChanged(command, enabled);
}

void MainWindowController::setCurrentPath(const QString &path)
{
    if (m_currentPath == path)
        return;
    m_currentPath = path;
    m_ui.currentPathChanged(path);
}

void MainWindowController::setFieldText(Field field, const QString &text)
{
    QString &slot = field == Field::File ? m_fields.outputFile : m_fields.memo;
    if (slot == text)
        return;
    slot = text;
    m_ui.fieldTextChanged(field, text);
    setUiState(UiState::Modified);
}

void MainWindowController::setUiState(UiState state)
{
    // The fields are emptied before the commands go off, so that the change
    // they raise cannot leave Save switched on in the no-file state.
    if (state == UiState::NoFile) {
        setFieldText(Field::File, QString());
        setFieldText(Field::Memo, QString());
    }
    bool followsSelection = false;
    for (Command command : AllCommands) {
        switch (effectOf(state, command)) {
        case Effect::Keep: break;
        case Effect::Off: setEnabled(command, false); break;
        case Effect::On: setEnabled(command, true); break;
        case Effect::FollowSelection: followsSelection = true; break;
        }
    }
    if (followsSelection)
        refreshSelectionCommands();
}

void MainWindowController::refreshSelectionCommands()
{
    const bool selected = m_entries.selectedPosition() != 0;
    for (Command command : AllCommands) {
        if (needsSelection(command))
            setEnabled(command, selected);
    }
}

bool MainWindowController::confirmSave()
{
    if (!isModified())
        return false;
    switch (m_ui.showMessage(savePromptBox(m_currentPath))) {
    case MessageAnswer::Yes:
        // A failed save keeps the changes only if the caller stops.
        return !saveFile(true);
    case MessageAnswer::No:
        return false;
    default:
        return true;
    }
}

void MainWindowController::clearDocument()
{
    setFieldText(Field::File, QString());
    setFieldText(Field::Memo, QString());
    m_entries.clear();
    m_entries.setSorted(false);
}

void MainWindowController::closeFile()
{
    if (confirmSave())
        return;
    clearDocument();
    setCurrentPath(QString());
    setUiState(UiState::NoFile);
}

bool MainWindowController::queryClose()
{
    return !confirmSave();
}

void MainWindowController::showError(const QString &message, const QString &description)
{
    m_ui.showMessage(fileErrorBox(errorBoxText(message, description)));
}

bool MainWindowController::loadFile(LoadAhead *ahead)
{
    clearDocument();
    // The reader works on copies: nothing it touches is shown meanwhile.
    const QString path = m_currentPath;
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
    if (loaded.cancelled)
        return false;
    // What was read stays shown, also when the file ended in an error.
    m_entries.replaceRows(std::move(loaded.rows));
    setFieldText(Field::File, loaded.fields.outputFile);
    setFieldText(Field::Memo, loaded.fields.memo);
    if (!ok) {
        showError(ReadErrorMessage, error);
        return false;
    }
    m_nextIndex = loaded.nextIndex;
    setUiState(UiState::FileClean);
    return true;
}

bool MainWindowController::saveFile(bool writeEntries)
{
    QString error;
    if (!saveDocument(m_currentPath, m_entries, m_fields, writeEntries, m_codePage, &error)) {
        showError(WriteErrorMessage, error);
        return false;
    }
    setUiState(UiState::FileClean);
    return true;
}

void MainWindowController::chooseFile(ChooseMode mode)
{
    if ((mode == ChooseMode::New || mode == ChooseMode::Open) && confirmSave())
        return;
    const FileDialogRequest request = fileDialogSetup(mode, m_currentPath, m_dialogFileName);
    m_dialogFileName = request.fileName;
    const std::optional<QString> chosen = m_ui.showFileDialog(request);
    if (!chosen)
        return;
    m_dialogFileName = *chosen;
    switch (mode) {
    case ChooseMode::New:
        setCurrentPath(*chosen);
        // The document shown is the empty file about to be made.
        clearDocument();
        saveFile(false);
        m_nextIndex = 1;
        break;
    case ChooseMode::Open:
        setCurrentPath(*chosen);
        loadFile();
        break;
    case ChooseMode::SaveAs:
        setCurrentPath(*chosen);
        saveFile(true);
        break;
    case ChooseMode::Output:
        setFieldText(Field::File, *chosen);
        break;
    }
}

void MainWindowController::startUp(const QString &path, bool pathBytesValid, LoadAhead *ahead)
{
    setUiState(UiState::NoFile);
    if (isBlank(path))
        return;
    if (!pathBytesValid) {
        refuseUndecodableName(path);
        return;
    }
    setCurrentPath(path);
    loadFile(ahead);
    setUiState(UiState::FileClean);
}

void MainWindowController::refuseUndecodableName(const QString &path)
{
    // The decoded name lost bytes: opening it could read or, on the next
    // save, write a different file.
    showError(ReadErrorMessage,
              QStringLiteral("ファイル名「%1」には、システムのファイル名の文字コード (UTF-8) として"
                             "正しくないバイトが含まれているため、開けません。"
                             "ファイル名を UTF-8 で表せる名前に変更してから開いてください。")
                  .arg(QDir::toNativeSeparators(path)));
}

void MainWindowController::dropFiles(const QStringList &paths, bool firstPathBytesValid)
{
    if (paths.isEmpty())
        return;
    if (confirmSave())
        return;
    if (!firstPathBytesValid) {
        refuseUndecodableName(paths.first());
        return;
    }
    setCurrentPath(paths.first());
    loadFile();
}

void MainWindowController::fieldFocused()
{
    setUiState(UiState::FieldFocus);
}

void MainWindowController::itemClicked()
{
    setUiState(UiState::SelectionChanged);
}

void MainWindowController::itemDoubleClicked()
{
    if (m_entries.isSelectedShown())
        editEntry();
}

void MainWindowController::windowActivated()
{
    // Without a selected row nothing changes.
    m_entries.setSelectedShown(true);
}

void MainWindowController::columnClicked(int headerPosition)
{
    if (headerPosition < 1 || headerPosition > 3)
        return;
    const auto column = SortColumn(headerPosition - 1);
    const SortColumn keyBefore = m_entries.sortKey();
    const SortOrder orderBefore = m_entries.sortOrder();
    if (m_entries.sortKey() == column) {
        m_entries.setSortOrder(m_entries.sortOrder() == SortOrder::Ascending ? SortOrder::Descending
                                                                              : SortOrder::Ascending);
    } else {
        m_entries.setSortKey(column);
        m_entries.setSortOrder(SortOrder::Ascending);
    }
    if (m_entries.count() < SortAsideRows) {
        m_entries.setSorted(true);
        return;
    }
    // Comparing long values of a large table takes longer than a frame: the
    // order is found on a worker thread while the window keeps painting the
    // rows, which nothing changes meanwhile, and only put in place here.
    std::vector<qsizetype> order;
    const EntryList &entries = m_entries;
    m_ui.runLongTask(QStringLiteral("並べ替えています…"),
                     [&order, &entries](LoadProgress &progress) {
                         order = entries.sortedOrder();
                         if (progress.isCancelled())
                             order.clear();
                     });
    if (order.empty()) {
        // Stopped by the person: the rows and the header stay as they were.
        m_entries.setSortKey(keyBefore);
        m_entries.setSortOrder(orderBefore);
        return;
    }
    m_entries.applySortedOrder(order);
}

void MainWindowController::addEntry()
{
    m_ui.showEntryEditor({EditMode::Add, QStringLiteral("追加"), QString::number(m_nextIndex), QString(), QString()});
}

void MainWindowController::editEntry()
{
    const qsizetype position = m_entries.selectedPosition();
    if (position == 0)
        return;
    const Entry &row = m_entries.at(position);
    m_ui.showEntryEditor({EditMode::Edit, QStringLiteral("編集"), withoutSurroundingSpaces(row.indexText), row.name,
                          lineBreaksFromList(row.value.toString())});
}

void MainWindowController::removeEntry()
{
    const qsizetype position = m_entries.selectedPosition();
    if (position == 0)
        return;
    m_entries.removeAt(position);
    m_entries.clearSelection();
    setUiState(UiState::Modified);
}

bool MainWindowController::acceptEditor(EditMode mode, const QString &indexField, const QString &name,
                                        const QString &valueField)
{
    switch (checkIndexField(indexField)) {
    case IndexCheck::NotNumeric:
        m_ui.showMessage(indexErrorBox(IndexNotNumericMessage));
        return false;
    case IndexCheck::OutOfRange:
        m_ui.showMessage(indexErrorBox(IndexOutOfRangeMessage));
        return false;
    case IndexCheck::Ok:
        break;
    }
    formReturn(mode, indexField, name, lineBreaksToList(valueField));
    return true;
}

void MainWindowController::formReturn(EditMode mode, const QString &index, const QString &name, const QString &value)
{
    if (mode == EditMode::Add) {
        m_entries.append(Entry{indexText(toInt16(index).value), name, value, std::nullopt});
        m_entries.clearSelection();
    } else {
        const qsizetype position = m_entries.selectedPosition();
        if (position == 0)
            return;
        m_entries.setIndexText(position, indexTextFromTyped(index));
        m_entries.setName(position, name);
        m_entries.setValue(position, value);
    }
    // The proposed index moves on when it was taken as proposed; 32767 is the last one.
    if (index == QString::number(m_nextIndex) && m_nextIndex < LargestIndex)
        ++m_nextIndex;
    setUiState(UiState::Modified);
}

void MainWindowController::openReadme(const QString &programFolder)
{
    const QStringList locations = readmeLocations(programFolder);
    const auto found = std::find_if(locations.cbegin(), locations.cend(),
                                    [](const QString &path) { return QFileInfo(path).isFile(); });
    if (found == locations.cend()) {
        m_ui.showMessage(noticeBox(QStringLiteral("readme.txt が見つかりません。次の場所を探しました。\r\n「%1」")
                                       .arg(locations.join(QStringLiteral("」\r\n「")))));
        return;
    }
    const bool notepadOnPath = !QStandardPaths::findExecutable(QStringLiteral("notepad")).isEmpty();
    const ReadmeLaunch launch = readmeLaunch(*found, notepadOnPath);
    const bool started = launch.useDefaultViewer ? m_ui.openWithDefaultViewer(*found)
                                                 : m_ui.startDetached(launch.program, launch.arguments);
    if (!started) {
        m_ui.showMessage(noticeBox(QStringLiteral("readme.txt を開くプログラムを起動できませんでした。"
                                                  "readme.txt は次の場所にあります。\r\n「%1」")
                                       .arg(*found)));
    }
}

} // namespace wendaro
