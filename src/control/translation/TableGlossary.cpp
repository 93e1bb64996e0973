// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/translation/TableGlossary.h"

#include "control/document/Document.h"
#include "control/translation/TableSettings.h"
#include "control/window/FileDialogSetup.h"
#include "control/window/MessageBoxes.h"

#include "core/document/DocumentFile.h"
#include "core/formats/GlossaryReader.h"

#include <QDir>
#include <QFileInfo>

namespace wendaro {

namespace {

const QString SettingsGroup = QStringLiteral("glossaries");

} // namespace

TableGlossary::TableGlossary(Document &state, UserInterface &ui) : m_state(state), m_ui(ui)
{
    connect(&m_state.translationStatus(), &TranslationStatus::openChanged, this, &TableGlossary::originalOpened);
}

void TableGlossary::chooseGlossaries()
{
    if (!m_state.isTranslating())
        return;
    const QStringList chosen = m_ui.showOpenFilesDialog(
        besideTableDialog(QStringLiteral("用語集を開く"), QStringLiteral("用語集 (*.txt *.tsv *.utf8 *.csv *.tbx)"),
                          m_state.currentPath(), m_dialogFileName));
    if (chosen.isEmpty())
        return;
    m_dialogFileName = chosen.first();
    openGlossaries(chosen);
}

void TableGlossary::openGlossaries(const QStringList &paths)
{
    if (!m_state.isTranslating())
        return;
    bool opened = false;
    for (const QString &path : paths)
        opened = openGlossary(path, true) || opened;
    if (!opened)
        return;
    if (!m_tablePath.isEmpty())
        rememberFor(SettingsGroup, m_tablePath, m_paths);
    emit glossariesChanged();
}

bool TableGlossary::openGlossary(const QString &path, bool boxOnError)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (m_paths.contains(absolute))
        return false;
    const QString shown = QDir::toNativeSeparators(path);
    QString error;
    qint64 line = -1;
    const std::optional<QByteArray> bytes = readWholeFile(absolute, &error);
    Glossary read;
    if (bytes && readGlossary(absolute, *bytes, QString(), QString(), read, &line, &error)) {
        for (qsizetype i = 0; i < read.size(); ++i)
            m_glossary.add(read.term(i));
        m_paths << absolute;
        return true;
    }
    const QString place = line > 0 ? QStringLiteral("%1:%2: ").arg(shown).arg(line)
                          : bytes  ? shown + QStringLiteral(": ")
                                   : QString();
    const QString text = errorBoxText(ReadErrorMessage, place + error);
    if (boxOnError)
        m_ui.showMessage(fileErrorBox(text));
    else
        m_ui.showStatus(text.simplified());
    return false;
}

void TableGlossary::originalOpened(bool open)
{
    m_glossary = Glossary();
    m_paths.clear();
    m_tablePath.clear();
    if (open) {
        const QString path = m_state.currentPath();
        m_tablePath = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
        if (!m_tablePath.isEmpty()) {
            for (const QString &file : rememberedFor(SettingsGroup, m_tablePath))
                openGlossary(file, false);
        }
        if (!m_pending.isEmpty()) {
            for (const QString &file : std::exchange(m_pending, {}))
                openGlossary(file, true);
            if (!m_tablePath.isEmpty())
                rememberFor(SettingsGroup, m_tablePath, m_paths);
        }
    }
    emit glossariesChanged();
}

std::vector<GlossaryTerm> TableGlossary::termsOf(qsizetype position) const
{
    std::vector<GlossaryTerm> terms;
    const Entry *original = position >= 0 ? m_state.translationStatus().originalOf(position) : nullptr;
    if (!original || m_glossary.size() == 0)
        return terms;
    for (const qsizetype i : m_glossary.termsIn(original->value.toString()))
        terms.push_back(m_glossary.term(i));
    return terms;
}

QStringList TableGlossary::findingsOf(qsizetype position) const
{
    const Entry *original = position >= 0 ? m_state.translationStatus().originalOf(position) : nullptr;
    if (!original || m_glossary.size() == 0 || position >= m_state.entries().count())
        return {};
    const QString translation = m_state.entries().at(position).value.toString();
    // An untranslated row has its own finding; every term would be missing.
    if (translation.isEmpty())
        return {};
    return m_glossary.missingTerms(original->value.toString(), translation);
}

} // namespace wendaro
