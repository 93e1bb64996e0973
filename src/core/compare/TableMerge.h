// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/EntryList.h"
#include "core/model/TextFields.h"

#include <QList>
#include <QString>

#include <optional>

namespace wendaro {

// A three-way merge of two tables that both grew from a common one, by index.
//
// Each index's name and value, and the table's output-file line and memo,
// merge each on its own: a field changed on one side only takes that side's
// text, one changed the same way on both takes it once, and one changed two
// ways is a conflict. An entry added on one side is added; added on both,
// each field merges as if the base held nothing. An entry removed on one side
// is removed when the other left it as the base had it, and is a conflict
// when the other changed it.
//
// The rows come in OURS' order. A row the result holds that OURS has not
// (added by THEIRS, or kept from THEIRS in a conflict) goes after the row
// before it in THEIRS that the result holds too, or at the start when none
// does. Every conflict is resolved to the preferred side and reported.

// One table to merge. A file whose format has no room for the output-file
// line and the memo (STF) has no say in them: its fields are null, and they
// count as unchanged from the base (for the base itself: empty).
struct MergeInput
{
    const EntryList *rows = nullptr;
    const TextFields *fields = nullptr;
    QString name; // how a refusal names the table, e.g. "BASE の表「a.stf」"
};

enum class MergeSide { Ours, Theirs };

struct MergeConflict
{
    enum class Field { OutputFile, Memo, Name, Value };
    enum class Kind {
        Changed,         // changed on both sides, differently
        Added,           // added on both sides, differently
        RemovedInOurs,   // removed in OURS, changed in THEIRS
        RemovedInTheirs, // removed in THEIRS, changed in OURS
    };
    Field field = Field::Value;
    Kind kind = Kind::Changed;
    std::optional<qint16> index; // the entry's; none for the output-file line and the memo
    QString name;                // the entry's name as OURS has it, else as THEIRS has it
    // The field's text in each table, nullopt where the table lacks the entry.
    std::optional<QString> base;
    std::optional<QString> ours;
    std::optional<QString> theirs;
};

struct MergeResult
{
    EntryList rows;
    TextFields fields;
    // The output-file line's and the memo's first, then the entries' by
    // index, name before value.
    QList<MergeConflict> conflicts;
};

// The merge, or nullopt when a table holds an index more than once (or an
// index text that is no index): *error then begins with that table's name
// and names every repeated index with its rows. Time is linear in the rows.
std::optional<MergeResult> mergeTables(const MergeInput &base, const MergeInput &ours, const MergeInput &theirs,
                                       MergeSide preferred, QString *error);

} // namespace wendaro
