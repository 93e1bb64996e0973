// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/text/Spelling.h"

#include <QObject>
#include <QSet>
#include <QString>

#include <memory>

namespace wendaro {

class Document;
class UserInterface;

// The spelling of the translation typed, while an original is open: the
// translation's language is the one given (--target-lang), else the one a
// memory's translations are in, else the one the table's path names. The
// person's own words are kept, for each dictionary, in
// $XDG_DATA_HOME/wendaro/words-DICTIONARY.txt.
class TranslationSpelling : public QObject
{
    Q_OBJECT
public:
    TranslationSpelling(Document &state, UserInterface &ui);
    ~TranslationSpelling() override;

    void setLanguage(const QString &language) { m_given = language; }
    // The memories' language, when none was given.
    void setMemoryLanguage(const QString &language);

    // Null without an original or without a dictionary for the language.
    const Speller *speller() const { return m_speller.get(); }
    // "辞書に追加": the word is correct from now on, here and next time.
    void addWord(const QString &word);

signals:
    // Another speller, or none: what is underlined changes.
    void spellerChanged();

private:
    void originalOpened(bool open);
    void choose();
    QString wordsFile() const;

    Document &m_state;
    UserInterface &m_ui;
    QString m_given;
    QString m_fromMemory;
    QString m_language; // the speller's
    std::unique_ptr<Speller> m_speller;
    QSet<QString> m_toldMissing; // languages the status bar said have no dictionary
};

} // namespace wendaro
