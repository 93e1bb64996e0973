// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/translation/TranslationEditing.h"

#include "control/find/RowFinder.h"
#include "control/window/FileDialogSetup.h"
#include "control/window/MessageBoxes.h"
#include "control/document/RowCommands.h"
#include "control/document/Document.h"

#include "core/document/DocumentFile.h"
#include "core/model/IndexText.h"

#include <QDir>

#include <algorithm>
#include <limits>

namespace wendaro {

TranslationEditing::TranslationEditing(Document &state, UserInterface &ui, CodePage codePage)
    : m_state(state), m_ui(ui), m_codePage(std::move(codePage))
{
}

void TranslationEditing::chooseOriginal(bool old)
{
    // Close is enabled exactly while a table is open.
    if (!m_state.isEnabled(Command::Close) || (old && !m_state.translationStatus().isOpen()))
        return;
    FileDialogRequest request = fileDialogSetup(ChooseMode::Open, m_state.currentPath(), m_dialogFileName);
    request.title = old ? QStringLiteral("旧原文を開く") : QStringLiteral("原文を開く");
    request.fileName = m_dialogFileName;
    const std::optional<QString> chosen = m_ui.showFileDialog(request);
    if (!chosen)
        return;
    m_dialogFileName = *chosen;
    openOriginal(*chosen, old);
}

bool TranslationEditing::openOriginal(const QString &path, bool old)
{
    LoadedDocument loaded;
    bool ok = false;
    QString error;
    const CodePage &codePage = m_codePage;
    m_ui.runLongTask(QStringLiteral("ファイル「%1」を読み込んでいます…").arg(QDir::toNativeSeparators(path)),
                     [&](LoadProgress &progress) {
                         ok = loadDocument(path, codePage, loaded, &error, nullptr, &progress);
                     });
    if (loaded.cancelled)
        return false;
    if (!ok) {
        m_ui.showMessage(fileErrorBox(errorBoxText(ReadErrorMessage, error)));
        return false;
    }
    TranslationStatus &status = m_state.translationStatus();
    if (old)
        status.openOld(std::move(loaded.rows));
    else
        status.openOriginal(std::move(loaded.rows));
    return true;
}

void TranslationEditing::typeTranslation(const QString &value)
{
    const qsizetype position = m_state.selection().row();
    if (!m_state.isTranslating() || position < 0 || m_state.entries().at(position).value == value)
        return;
    TranslationStatus &status = m_state.translationStatus();
    m_state.change(new ValueCommand(m_state.entries(), m_state.selection(), position, value, m_visit,
                                    [&status] { status.expectTypedValue(); }));
}

qsizetype TranslationEditing::nextToWork(int step, bool *wrapped) const
{
    const TranslationStatus &status = m_state.translationStatus();
    const qsizetype count = m_state.entries().count();
    const qsizetype from = m_state.selection().row();
    *wrapped = false;
    for (qsizetype i = 1; i <= count; ++i) {
        qsizetype position = from + step * i;
        if (position >= count || position < 0) {
            *wrapped = true;
            position = (position % count + count) % count;
        }
        if (status.needsWork(position) && (!m_isShown || m_isShown(position)))
            return position;
    }
    return -1;
}

void TranslationEditing::goToWork(int step)
{
    if (!m_state.isTranslating() || m_state.entries().isEmpty())
        return;
    bool wrapped = false;
    const qsizetype next = nextToWork(step, &wrapped);
    if (next < 0) {
        emit noteChanged(FindNothingStatus);
        return;
    }
    emit noteChanged(!wrapped ? QString() : step > 0 ? FindWrappedForwardNote : FindWrappedBackwardNote);
    m_state.selection().select(next);
    m_state.setUiState(UiState::SelectionChanged);
    // A row left as its original (Ctrl+Shift+A's rows, a copy) is typed over,
    // not added to.
    emit translationWanted(m_state.translationStatus().state(next) == RowState::Untranslated
                           && !m_state.entries().at(next).value.isEmpty());
}

void TranslationEditing::acceptAndNext()
{
    if (!m_state.isTranslating())
        return;
    if (m_state.selection().hasRow())
        m_state.translationStatus().accept(m_state.selection().row());
    goToWork(+1);
}

void TranslationEditing::copyOriginal()
{
    const qsizetype position = m_state.selection().row();
    if (!m_state.isTranslating() || position < 0)
        return;
    const Entry *original = m_state.translationStatus().originalOf(position);
    if (!original || m_state.entries().at(position).value == original->value)
        return;
    m_state.change(new ValueCommand(m_state.entries(), m_state.selection(), position, original->value, 0));
    emit translationWanted(false);
}

bool TranslationEditing::undoFill()
{
    const qsizetype position = m_state.selection().row();
    QUndoStack &history = m_state.history();
    const auto *last = dynamic_cast<const ValueCommand *>(history.command(history.index() - 1));
    if (!m_state.isTranslating() || position < 0 || !last || !last->isFill()
        || last->rowId() != m_state.entries().identify(position))
        return false;
    m_state.undo();
    return true;
}

void TranslationEditing::addMissingRows()
{
    if (!m_state.isTranslating())
        return;
    const TranslationStatus &status = m_state.translationStatus();
    const std::vector<qint16> missing = status.missingIndexes();
    if (missing.empty())
        return;
    // At the end, in the original's order, as the original names them:
    // the table stays whole for the program that reads it.
    std::vector<PlacedEntry> rows;
    rows.reserve(missing.size());
    qsizetype position = m_state.entries().count();
    qint16 largest = std::numeric_limits<qint16>::min();
    for (const qint16 index : missing) {
        const Entry &original = *status.originalRow(index);
        rows.push_back({position++, Entry{indexText(index), original.name, original.value, std::nullopt}});
        largest = std::max(largest, index);
    }
    m_state.change(RowsCommand::putIn(m_state.entries(), m_state.selection(), std::move(rows),
                                      QStringLiteral("原文にある項目の追加")));
    if (largest >= m_state.nextIndex())
        m_state.setNextIndex(largest == std::numeric_limits<qint16>::max() ? largest : qint16(largest + 1));
}

} // namespace wendaro
