// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace wendaro::xliff {

// The names the XLIFF reader and writer share.

inline const QString Namespace = QStringLiteral("urn:oasis:names:tc:xliff:document:1.2");

// Our own attributes, which XLIFF allows on its elements beside its own.
// A tool that does not know them keeps them and ignores them.
inline const QString OwnNamespace = QStringLiteral("https://wendaro.github.io/xliff");
inline const QString OwnPrefix = QStringLiteral("wendaro");
// On a source or a target: "crlf" when the text is in the CR LF line-break
// form, where LF is a character of the value and CR LF its line break.
inline const QString LineBreaksAttribute = QStringLiteral("line-breaks");
inline const QString CrLfForm = QStringLiteral("crlf");

// A character that XML cannot hold (a C0 control other than TAB, LF and CR,
// U+FFFE, U+FFFF, a lone surrogate) travels as a placeholder,
// <x id="N" ctype="x-wendaro-char-XXXX"/>, XXXX its UTF-16 code unit in hex.
// The code sits in ctype because tools copy an inline element's XLIFF
// attributes into the translation with it.
inline const QString CharacterCtypePrefix = QStringLiteral("x-wendaro-char-");

// The language of the texts is not known to a table. Unless export is told
// it, the source's is "und", the language tag for "undetermined", and the
// translation tool's project sets the real ones.
inline const QString UnknownLanguage = QStringLiteral("und");

inline const QString TranslatedState = QStringLiteral("translated");
inline const QString FuzzyState = QStringLiteral("needs-review-translation");

// Whether XML 1.0 can carry the UTF-16 code unit at i of text: the writer
// escapes TAB, LF and CR where needed, a surrogate counts only within a pair.
inline bool xmlCanHold(const QString &text, qsizetype i)
{
    const QChar c = text.at(i);
    if (c.isHighSurrogate())
        return i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
    if (c.isLowSurrogate())
        return i > 0 && text.at(i - 1).isHighSurrogate();
    const char16_t u = c.unicode();
    if (u < 0x20)
        return u == u'\t' || u == u'\n' || u == u'\r';
    return u != 0xFFFE && u != 0xFFFF;
}

// text with U+FFFD for each character XML cannot hold: for a text that only
// labels something (a file name, a path), which is no reason to refuse the
// whole file.
inline QString holdable(const QString &text)
{
    QString out = text;
    for (qsizetype i = 0; i < out.size(); ++i) {
        if (!xmlCanHold(text, i))
            out[i] = QChar::ReplacementCharacter;
    }
    return out;
}

} // namespace wendaro::xliff
