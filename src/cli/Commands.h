// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/checks/Problem.h"
#include "core/checks/TranslationChecks.h"
#include "core/translation/Glossary.h"

#include <QByteArray>
#include <QList>

#include <optional>

namespace wendaro {
class CodePage;
class EntryList;
class RowPlaces;
class Speller;
} // namespace wendaro

namespace wendaro::cli {

// Each command reports its own failure on stderr and returns the exit code.
// Paths are the bytes given on the command line: a path whose bytes Qt
// cannot carry unchanged is refused rather than opened under another name.

// Loads in and saves it as out, each in the format its path selects.
int convert(const QByteArray &in, const QByteArray &out, const CodePage &codePage);
// Prints the text form of file on stdout, in UTF-8.
int dump(const QByteArray &file, const CodePage &codePage);
// The glossary at path, or nullopt after telling why it cannot be read.
std::optional<Glossary> readGlossaryFile(const QByteArray &path);
// The glossary and spelling findings of each row of rows (the first of each
// index), against original's row of its index when there is one.
QList<Problem> termAndSpellingProblems(const EntryList &rows, const RowPlaces &places, const EntryList *original,
                                       const Glossary *glossary, const Speller *speller);

struct CheckOptions
{
    std::optional<QByteArray> against;  // the original that file translates
    bool json = false;                  // the report as JSON on stdout
    bool strict = false;                // warnings fail too
    CheckSettings settings;             // the checks --skip and --only leave, and --max-length
    std::optional<QByteArray> glossary; // a glossary whose terms the translation must keep
    QString spelling;                   // the language whose dictionary checks the values
};
// Reports every reason file's table cannot be saved as STF or as the text
// form and, against an original, every translation finding; writes nothing.
// A reason it cannot be saved only as the text form, for an STF file, is a
// warning.
int check(const QByteArray &file, const CheckOptions &options, const CodePage &codePage);

} // namespace wendaro::cli
