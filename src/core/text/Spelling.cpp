// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/Spelling.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTextBoundaryFinder>

#include <hunspell/hunspell.h>

namespace wendaro {

struct Speller::Handle
{
    Hunhandle *hunspell = nullptr;
    ~Handle() { Hunspell_destroy(hunspell); }
};

namespace {

// The dictionary for language in folder: "en_US" for "en-US", else the
// first of its primary language ("en_GB" for "en").
QString dictionaryIn(const QString &folder, const QString &language)
{
    QString tag = language;
    tag.replace(u'-', u'_');
    const QDir dir(folder);
    const QStringList dictionaries = dir.entryList({QStringLiteral("*.dic")}, QDir::Files, QDir::Name);
    QStringList names;
    for (const QString &file : dictionaries)
        names << file.chopped(4);
    for (const QString &name : names) {
        if (name.compare(tag, Qt::CaseInsensitive) == 0 && dir.exists(name + QStringLiteral(".aff")))
            return name;
    }
    const QString primary = tag.section(u'_', 0, 0);
    for (const QString &name : names) {
        if (name.section(u'_', 0, 0).compare(primary, Qt::CaseInsensitive) == 0
            && dir.exists(name + QStringLiteral(".aff")))
            return name;
    }
    return QString();
}

QString encodingOf(const QString &affix)
{
    QFile file(affix);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("UTF-8");
    for (int i = 0; i < 200 && !file.atEnd(); ++i) {
        const QByteArray line = file.readLine().trimmed();
        if (line.startsWith("SET "))
            return QString::fromLatin1(line.sliced(4).trimmed());
    }
    return QStringLiteral("ISO-8859-1"); // Hunspell's own default
}

bool isSpacedLetter(QChar c)
{
    if (!c.isLetter())
        return false;
    switch (c.script()) {
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
    case QChar::Script_Hangul:
    case QChar::Script_Bopomofo: return false;
    default: return true;
    }
}

// The places of text never checked: URLs, e-mail addresses, markup tags
// and "<br>", placeholders.
std::vector<WordSpan> skippedSpans(const QString &text)
{
    static const QRegularExpression skipped(QStringLiteral(
        R"([A-Za-z][A-Za-z0-9+.-]*://\S+|www\.\S+|[\w.+-]+@[\w-]+\.[\w.-]+|</?[A-Za-z][^<>]*>|%[0-9]*\$?[-+#0 ]*[0-9]*(?:\.[0-9]+)?[a-zA-Z]|\{[^{}]*\})"));
    std::vector<WordSpan> spans;
    for (const QRegularExpressionMatch &match : skipped.globalMatch(text))
        spans.push_back({match.capturedStart(), match.capturedLength()});
    return spans;
}

} // namespace

Speller::~Speller() = default;

std::unique_ptr<Speller> Speller::forLanguage(const QString &language, const QStringList &folders)
{
    if (language.isEmpty())
        return nullptr;
    for (const QString &folder : folders) {
        const QString name = dictionaryIn(folder, language);
        if (name.isEmpty())
            continue;
        const QString base = QDir(folder).filePath(name);
        std::unique_ptr<Speller> speller(new Speller);
        speller->m_handle = std::make_unique<Handle>();
        speller->m_handle->hunspell = Hunspell_create(QFile::encodeName(base + QStringLiteral(".aff")).constData(),
                                                      QFile::encodeName(base + QStringLiteral(".dic")).constData());
        if (!speller->m_handle->hunspell)
            continue;
        speller->m_name = name;
        speller->m_encoding = encodingOf(base + QStringLiteral(".aff"));
        return speller;
    }
    return nullptr;
}

QByteArray Speller::encoded(QStringView word) const
{
    QStringEncoder encoder(m_encoding.toLatin1().constData());
    return encoder.isValid() ? QByteArray(encoder(word)) : word.toUtf8();
}

QString Speller::decoded(const char *word) const
{
    QStringDecoder decoder(m_encoding.toLatin1().constData());
    return decoder.isValid() ? QString(decoder(QByteArrayView(word))) : QString::fromUtf8(word);
}

bool Speller::isCorrect(QStringView word) const
{
    return Hunspell_spell(m_handle->hunspell, encoded(word).constData()) != 0;
}

QStringList Speller::suggestions(QStringView word) const
{
    char **list = nullptr;
    const int count = Hunspell_suggest(m_handle->hunspell, &list, encoded(word).constData());
    QStringList found;
    for (int i = 0; i < count; ++i)
        found << decoded(list[i]);
    Hunspell_free_list(m_handle->hunspell, &list, count);
    return found;
}

void Speller::addWord(const QString &word)
{
    Hunspell_add(m_handle->hunspell, encoded(word).constData());
}

std::vector<WordSpan> Speller::misspelled(const QString &text) const
{
    std::vector<WordSpan> found;
    const std::vector<WordSpan> skipped = skippedSpans(text);
    QTextBoundaryFinder words(QTextBoundaryFinder::Word, text);
    qsizetype start = 0;
    while (words.toNextBoundary() >= 0) {
        const qsizetype end = words.position();
        const QStringView word = QStringView(text).sliced(start, end - start);
        const qsizetype from = start;
        start = end;
        if (word.isEmpty() || !std::all_of(word.begin(), word.end(), [](QChar c) {
                return isSpacedLetter(c) || c == u'\'' || c == u'’' || c.isMark();
            }))
            continue;
        const bool inSkipped = std::any_of(skipped.cbegin(), skipped.cend(), [&](const WordSpan &span) {
            return from < span.start + span.length && span.start < end;
        });
        if (!inSkipped && !isCorrect(word))
            found.push_back({from, end - from});
    }
    return found;
}

} // namespace wendaro
