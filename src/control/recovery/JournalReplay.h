// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/io/JournalFile.h"
#include "core/model/EntryList.h"

namespace wendaro {

class Document;

// What a replay made again.
struct Replayed
{
    int changes = 0;      // as FoundJournal counts them
    bool stopped = false; // a record did not fit the rows: the replay ended before it
};

// Makes the journal's changes again on the document as loaded, as one
// command of the history (one undo takes them all back), the fields as they were.
// A record that is damaged, or names rows the document does not have, ends
// the replay before it: the records before it stay made, none after.
Replayed replayJournal(Document &state, const JournalContents &contents);

// Every row the journal put in, took out or changed, as it holds them, in
// that order: what is left of the changes when they can no longer be made
// on their file.
EntryList recoveredRows(const JournalContents &contents);

} // namespace wendaro
