// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/TranslationCommands.h"

#include "core/translation/CatalogSuggestions.h"

#include <QByteArrayList>
#include <QList>

#include <functional>
#include <optional>
#include <vector>

namespace wendaro {
class CodePage;
}

namespace wendaro::cli {

struct Arguments;

// suggest ORIGINAL TRANSLATION MEMORY...: prints on stdout the suggestions
// for each untranslated entry of TRANSLATION, from the TMX memories and from
// TRANSLATION's translated entries; reports on stderr and returns the exit
// code, as the other commands do.
int suggest(const Arguments &arguments, const Languages &languages, const CodePage &codePage);

// What suggest and export --memory share.

// The TMX memories at paths, read on every core, each named by its file
// name without its folders, as the window names it. Nullopt after the
// error was reported, *exitCode saying which: a memory that cannot be read,
// or (a usage error, command naming the command) one that holds several
// translation languages while languages names none.
std::optional<std::vector<SuggestionMemory>> readMemories(const QByteArrayList &paths, const Languages &languages,
                                                          const char *command, int *exitCode);

// Looks up the suggestions of each unit that suggestions wants, on every
// core, and hands them on in the units' order: take(position, found), which
// returns false to stop.
void suggestInOrder(const QList<TranslationUnit> &units, const CatalogSuggestions &suggestions,
                    const std::function<bool(qsizetype position, std::vector<Suggestion> &found)> &take);

} // namespace wendaro::cli
