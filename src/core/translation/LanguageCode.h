// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

namespace wendaro {

// Languages as translation tools name them: BCP 47 tags ("en", "ja",
// "pt-BR", "zh-Hant-TW", "es-419"). A table does not know its languages;
// the person says them (export's and memory's --source-lang, --target-lang).

// Whether code is a well-formed BCP 47 tag: a language of 2 or 3 letters
// (with up to three extended subtags), then a script, a region,
// variants, extensions and a private part, each in its form. "pt_BR" is not.
bool isLanguageCode(QStringView code);

// The tag in BCP 47's conventional case: the language lower-case, a script
// title-case, a region upper-case ("pt-BR", "zh-Hant-TW"); tags name the
// same language in any case, but tools compare them as written.
QString conventionalLanguage(QStringView code);

// The form gettext's Language header takes: the subtags joined by "_", the
// language lower-case, a script title-case, a region upper-case ("pt_BR",
// "zh_Hant_TW").
QString gettextLanguage(QStringView code);

// The primary language of a tag, lower-case: "pt" of "pt-BR" and of "PT".
QString primaryLanguage(QStringView code);

// The language a file's path names, as translators lay tables out: a
// suffix of the name ("menu_de.stf", "menu.pt-BR.txt") or a folder
// ("ja/menu.stf", "locale/pt_BR/menu.stf"); the nearest wins. Empty when
// none of them is a language code of two or three letters (and a region).
QString languageOfPath(const QString &path);

// Tags compare without regard to case ("pt-br" is "pt-BR").
inline bool sameLanguage(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace wendaro
