// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/translation/TranslationSpelling.h"

#include "control/document/Document.h"
#include "control/window/UserInterface.h"

#include "core/translation/LanguageCode.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace wendaro {

TranslationSpelling::TranslationSpelling(Document &state, UserInterface &ui) : m_state(state), m_ui(ui)
{
    connect(&m_state.translationStatus(), &TranslationStatus::openChanged, this, &TranslationSpelling::originalOpened);
}

TranslationSpelling::~TranslationSpelling() = default;

void TranslationSpelling::setMemoryLanguage(const QString &language)
{
    m_fromMemory = language;
    if (m_state.translationStatus().isOpen())
        choose();
}

void TranslationSpelling::originalOpened(bool open)
{
    if (open) {
        choose();
        return;
    }
    m_speller.reset();
    m_language.clear();
    m_fromMemory.clear();
    emit spellerChanged();
}

void TranslationSpelling::choose()
{
    const QString language = !m_given.isEmpty()        ? m_given
                             : !m_fromMemory.isEmpty() ? m_fromMemory
                                                       : languageOfPath(m_state.currentPath());
    if (language == m_language && (m_speller || language.isEmpty()))
        return;
    m_language = language;
    m_speller = Speller::forLanguage(language);
    if (!m_speller && !language.isEmpty() && !m_toldMissing.contains(language)) {
        m_toldMissing.insert(language);
        m_ui.showStatus(QStringLiteral("訳の言語 %1 のスペル辞書がないため、つづりは調べません。").arg(language));
    }
    if (m_speller) {
        QFile words(wordsFile());
        if (words.open(QIODevice::ReadOnly | QIODevice::Text)) {
            for (const QByteArray &line : words.readAll().split('\n')) {
                if (!line.trimmed().isEmpty())
                    m_speller->addWord(QString::fromUtf8(line.trimmed()));
            }
        }
    }
    emit spellerChanged();
}

QString TranslationSpelling::wordsFile() const
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("wendaro/words-%1.txt").arg(m_speller ? m_speller->dictionary() : QString()));
}

void TranslationSpelling::addWord(const QString &word)
{
    if (!m_speller || word.trimmed().isEmpty())
        return;
    m_speller->addWord(word);
    const QString path = wordsFile();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile words(path);
    if (!words.open(QIODevice::Append | QIODevice::Text) || words.write(word.toUtf8() + '\n') < 0)
        m_ui.showStatus(QStringLiteral("「%1」を %2 に書き込めませんでした: %3").arg(word, path, words.errorString()));
    emit spellerChanged();
}

} // namespace wendaro
