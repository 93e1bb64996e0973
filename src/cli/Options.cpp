// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Options.h"

#include "cli/CommandFiles.h"

#include "core/translation/LanguageCode.h"

#include <QByteArrayList>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace wendaro::cli {

namespace {

QByteArrayList choicesOf(const Option &option)
{
    return QByteArray(option.choices ? option.choices : "").split(' ');
}

// "a, b or c", each word in quotes if asked.
QString listed(const QByteArrayList &words, bool quoted)
{
    QStringList shown;
    for (const QByteArray &word : words)
        shown << (quoted ? QStringLiteral("\"%1\"") : QStringLiteral("%1")).arg(QString::fromLatin1(word));
    const QString last = shown.takeLast();
    return shown.isEmpty() ? last : shown.join(QLatin1String(", ")) + QLatin1String(" or ") + last;
}

} // namespace

bool Option::allows(const QByteArray &given) const
{
    if (valueOptional() && given.isEmpty())
        return true;
    if (accepts && !accepts(given))
        return false;
    if (!choices)
        return true;
    const QByteArrayList words = joinedBy ? given.split(joinedBy) : QByteArrayList{given};
    return std::all_of(words.cbegin(), words.cend(), [&](const QByteArray &word) { return choice(word) >= 0; });
}

qsizetype Option::choice(const QByteArray &word) const
{
    if (valueOptional() && word.isEmpty())
        return 0;
    return choicesOf(*this).indexOf(word);
}

QString formatRefused(const Option &option, const QByteArray &command, const QByteArray &value)
{
    // dump, check and status took --format first and say it in their own
    // way; diff and merge say it as the other choices are said.
    if (command == "diff" || command == "merge")
        return quotedChoicesRefused(option, command, value);
    return QStringLiteral("option \"--format\" takes json or text");
}

// merge's --prefer takes "ours" or "theirs", not "mine"
QString quotedChoicesRefused(const Option &option, const QByteArray &command, const QByteArray &value)
{
    return QStringLiteral("%1's --%2 takes %3, not \"%4\"")
        .arg(QString::fromLatin1(command), QLatin1String(option.name), listed(choicesOf(option), true),
             escapedPath(value));
}

// grep's --color takes auto, always or never
QString listedChoicesRefused(const Option &option, const QByteArray &command, const QByteArray &)
{
    QString text = QStringLiteral("%1's --%2 takes %3")
                       .arg(QString::fromLatin1(command), QLatin1String(option.name), listed(choicesOf(option), false));
    if (option.joinedBy)
        text += QStringLiteral(", or several of them joined by \"%1\"").arg(QLatin1Char(option.joinedBy));
    return text;
}

QString languageRefused(const Option &option, const QByteArray &, const QByteArray &value)
{
    return QStringLiteral("option \"--%1\" takes a BCP 47 language code such as en, ja or pt-BR, not \"%2\"")
        .arg(QLatin1String(option.name), QString::fromUtf8(value));
}

bool isLanguage(const QByteArray &value)
{
    return isLanguageCode(QString::fromUtf8(value));
}

namespace {

// Digits alone: toInt would also take a sign and spaces.
std::optional<int> wholeNumber(const QByteArray &value)
{
    if (value.isEmpty() || !std::all_of(value.cbegin(), value.cend(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    bool ok = false;
    const int number = value.toInt(&ok);
    return ok ? std::optional<int>(number) : std::nullopt;
}

} // namespace

// suggest's --min-match takes a whole number from 0 to 100, not "101"
QString percentRefused(const Option &option, const QByteArray &command, const QByteArray &value)
{
    return QStringLiteral("%1's --%2 takes a whole number from 0 to 100, not \"%3\"")
        .arg(QString::fromLatin1(command), QLatin1String(option.name), escapedPath(value));
}

bool isPercent(const QByteArray &value)
{
    const std::optional<int> number = wholeNumber(value);
    return number && *number <= 100;
}

QString countRefused(const Option &option, const QByteArray &command, const QByteArray &value)
{
    return QStringLiteral("%1's --%2 takes a whole number from 1 up, not \"%3\"")
        .arg(QString::fromLatin1(command), QLatin1String(option.name), escapedPath(value));
}

bool isCount(const QByteArray &value)
{
    const std::optional<int> number = wholeNumber(value);
    return number && *number >= 1;
}

} // namespace wendaro::cli
