// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/checks/Problem.h"
#include "core/checks/RowPlaces.h"

#include <QList>

#include <vector>

namespace wendaro {

class CodePage;
class EntryList;
struct TextFields;

// Every reason the table cannot be saved as STF or as the text form, not
// only the first one a writer stops at, each at its row's place. places
// gives the place of each row (none for a table from no file; messages
// then name the row's position).
QList<Problem> tableProblems(const EntryList &rows, const TextFields &fields, const CodePage &codePage,
                             const RowPlaces &places, PlaceKind placeKind);

// How much a refusal weighs in a check of a file. The table must be saved in
// its file's own form, and as STF, which the text form exists to build: a
// refusal of either is an error. Only a refusal of the text form alone, for
// an STF file, is a warning: that file is whole as it is.
Problem::Severity refusalSeverity(Problem::Kind kind, bool stfFile);

} // namespace wendaro
