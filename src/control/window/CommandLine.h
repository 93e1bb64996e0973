// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace wendaro {

enum class StartAction { Window, Help, Version, Refused };

// What the window program's arguments ask for. The shell or the desktop has
// already split and unquoted them, so the first argument is the file's path
// exactly as it stands: spaces, quotes and ";" are part of the name.
struct StartArguments
{
    StartAction action = StartAction::Window;
    QString path;               // the first argument decoded; empty without one
    bool pathBytesValid = true; // false: the bytes are no name in the file-name encoding
    QString reference;          // --reference=ORIGINAL: opened as the file's original
    QString oldReference;       // --old-reference=OLD: the original the translation was made from
    QStringList memories;       // --memory=FILE, each: translation memories opened with the original
    QStringList glossaries;     // --glossary=FILE, each: glossaries opened with the original
    QString targetLanguage;     // --target-lang=CODE: the translation's language, for its spelling
    int minMatch = -1;          // --min-match=N: the least score of a suggestion; -1 when not given
    int maxLength = 0;          // --max-length=N: longer values are problems; 0 when not given
    bool project = false;       // --project [ORIGINALS_DIR TRANSLATIONS_DIR]: a project opened
    QString projectOriginals;   // its two folders; both empty: the project opened last
    QString projectTranslations;
    QString refusal; // with Refused: what is wrong with the arguments
};

// The arguments after the program's name, as the raw bytes the program was
// given. Only a first argument of exactly "--help" or "--version" is an option,
// besides "--reference=ORIGINAL", "--old-reference=OLD", "--memory=FILE",
// "--min-match=N", "--glossary=FILE", "--target-lang=CODE", "--max-length=N"
// and "--project" with its two folders, or alone, before the file.
StartArguments startArguments(const QList<QByteArray> &arguments);

} // namespace wendaro
