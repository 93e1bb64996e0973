// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/translation/LanguageCode.h"

#include <QDir>
#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

namespace wendaro {

bool isLanguageCode(QStringView code)
{
    // RFC 5646's langtag, without the grandfathered tags and the primary
    // subtags of 4 to 8 letters, reserved and registered for none.
    static const QRegularExpression tag(QStringLiteral("^[A-Za-z]{2,3}(?:-[A-Za-z]{3}){0,3}"
                                                       "(?:-[A-Za-z]{4})?"
                                                       "(?:-(?:[A-Za-z]{2}|[0-9]{3}))?"
                                                       "(?:-(?:[A-Za-z0-9]{5,8}|[0-9][A-Za-z0-9]{3}))*"
                                                       "(?:-[0-9A-WYZa-wyz](?:-[A-Za-z0-9]{2,8})+)*"
                                                       "(?:-[Xx](?:-[A-Za-z0-9]{1,8})+)?$"));
    return tag.match(code.toString()).hasMatch();
}

namespace {

// Subtags after a singleton (an extension's "u", the private "x") and
// variants stay lower-case.
QStringList conventionalSubtags(QStringView code)
{
    QStringList parts;
    bool extension = false;
    for (const QStringView subtag : code.split(u'-')) {
        const QString lower = subtag.toString().toLower();
        extension = extension || subtag.size() == 1;
        const bool script = subtag.size() == 4 && subtag.front().isLetter();
        const bool region = subtag.size() == 2 || (subtag.size() == 3 && subtag.front().isDigit());
        // The language, an extension and a variant stay lower-case.
        if (parts.isEmpty() || extension || (!script && !region))
            parts << lower;
        else if (script)
            parts << lower.first(1).toUpper() + lower.sliced(1);
        else
            parts << lower.toUpper();
    }
    return parts;
}

} // namespace

QString conventionalLanguage(QStringView code)
{
    return conventionalSubtags(code).join(u'-');
}

QString gettextLanguage(QStringView code)
{
    return conventionalSubtags(code).join(u'_');
}

QString primaryLanguage(QStringView code)
{
    const qsizetype end = code.indexOf(u'-');
    return (end < 0 ? code : code.first(end)).toString().toLower();
}

QString languageOfPath(const QString &path)
{
    // Two or three letters, then perhaps a region of two letters or three
    // digits: enough to tell "de" and "pt_BR" from the words of a name.
    static const QRegularExpression code(QStringLiteral("^([a-z]{2,3})(?:[-_]([A-Z]{2}|[0-9]{3}))?$"));
    // "lib" and "map" have the form: only a language ISO 639 knows counts.
    const auto tagOf = [](const QRegularExpressionMatch &match) {
        if (QLocale::codeToLanguage(match.captured(1)) == QLocale::AnyLanguage)
            return QString();
        return match.captured(2).isEmpty() ? match.captured(1) : match.captured(1) + u'-' + match.captured(2);
    };
    QStringList parts = QDir::fromNativeSeparators(path).split(u'/', Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return QString();
    const QString name = parts.takeLast();
    const QString stem = name.section(u'.', 0, -2).isEmpty() ? name : name.section(u'.', 0, -2);
    static const QRegularExpression suffix(QStringLiteral("[._]([a-z]{2,3}(?:[-_](?:[A-Z]{2}|[0-9]{3}))?)$"));
    if (const QRegularExpressionMatch found = suffix.match(stem); found.hasMatch()) {
        if (const QRegularExpressionMatch tag = code.match(found.captured(1)); tag.hasMatch() && !tagOf(tag).isEmpty())
            return tagOf(tag);
    }
    for (qsizetype folder = parts.size() - 1; folder >= 0; --folder) {
        if (const QRegularExpressionMatch tag = code.match(parts[folder]); tag.hasMatch() && !tagOf(tag).isEmpty())
            return tagOf(tag);
    }
    return QString();
}

} // namespace wendaro
