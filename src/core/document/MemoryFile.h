// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/io/LoadProgress.h"
#include "core/translation/FuzzyIndex.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace wendaro {

// What reading a TMX file for suggestions gave.
struct MemoryFileRead
{
    std::shared_ptr<FuzzyIndex> index; // its units, finished; null when a language must be chosen first
    QStringList languages;             // the file's target languages when it holds several and none was named
    QString language;                  // the one its translations are in, as the file names it
    qint64 line = -1;                  // where the file is wrong, from 1, or -1
    bool cancelled = false;            // progress asked to stop
};

// Reads the TMX file at path into a fuzzy index, choosing each unit's
// variants as pretranslate does: the source in sourceLanguage (empty: the
// file's srclang), the translation in targetLanguage. Without a target
// language every other language of the file is one, and there must be
// only one: with several, read.languages lists them, sorted, for the
// person to choose and read again. A translation that no value could hold,
// an empty one and one equal to its source are left out.
//
// False, with *error saying what is wrong (and read.line where; the caller
// names the file), when the
// file cannot be opened or read as TMX, or when progress asked to stop.
bool readMemoryFile(const QString &path, const QString &sourceLanguage, const QString &targetLanguage,
                    MemoryFileRead &read, QString *error, LoadProgress *progress = nullptr);

} // namespace wendaro
