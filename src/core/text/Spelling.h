// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>
#include <vector>

namespace wendaro {

// One word of a text: where it starts and how many code units it takes.
struct WordSpan
{
    qsizetype start = 0;
    qsizetype length = 0;

    bool operator==(const WordSpan &) const = default;
};

// A language's spelling by Hunspell, with a dictionary the system has
// (Debian's hunspell-* packages put them in /usr/share/hunspell). Only the
// words of scripts written with spaces are checked: a word of kana, kanji
// or Hangul, a word with a digit, placeholders, markup, line breaks, URLs
// and e-mail addresses are never misspelled.
class Speller
{
public:
    ~Speller();
    Speller(const Speller &) = delete;
    Speller &operator=(const Speller &) = delete;

    // The speller of a BCP 47 language ("en", "en-GB", "de_DE"), from the
    // first of folders that has a dictionary of the tag itself or, failing
    // that, of its primary language; nullptr when none has one.
    static std::unique_ptr<Speller> forLanguage(const QString &language,
                                                const QStringList &folders = {QStringLiteral("/usr/share/hunspell")});
    // The dictionary's own name, "en_US".
    QString dictionary() const { return m_name; }

    bool isCorrect(QStringView word) const;
    QStringList suggestions(QStringView word) const;
    // The word is correct from now on (the person's own words).
    void addWord(const QString &word);
    // The misspelled words of text, left to right.
    std::vector<WordSpan> misspelled(const QString &text) const;

private:
    Speller() = default;
    QByteArray encoded(QStringView word) const;
    QString decoded(const char *word) const;

    struct Handle;
    std::unique_ptr<Handle> m_handle;
    QString m_name;
    QString m_encoding; // the dictionary's SET
};

} // namespace wendaro
