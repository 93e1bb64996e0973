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

} // namespace wendaro
