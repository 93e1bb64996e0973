// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/compare/RowIndex.h"

#include "core/model/EntryList.h"
#include "core/model/TextFields.h"

#include <QList>
#include <QString>

namespace wendaro {

// Carrying a translation over to a new version of its original table.
//
// The result holds the rows of the new original in its order. Where the
// original's value is the same in the old and the new original, the row
// takes the translation's value and name: a change of name alone is no
// change of the text to translate. Everywhere else the row keeps the new
// original's name and value, to be translated:
// - new: the index is not in the old original;
// - changed: the old and the new original's values differ;
// - untranslated: the original did not change but the translation lacks
//   the index.
// An index of the old original or of the translation that the new original
// lacks is removed. Rows are matched by index (see RowIndex), so a table
// that holds an index twice cannot be matched and is refused.

struct UpdateItem
{
    RowIndex index;
    QString name;
    QString value;           // the new original's, or for a removed row what it held
    QString oldValue;        // changed: the old original's value
    qsizetype position = -1; // in the new original; for removed, in the table it came from
};

struct UpdateResult
{
    // Which table holds repeated indexes, or None when the update was made.
    enum class Table { None, OldOriginal, NewOriginal, Translation };
    Table refused = Table::None;
    QList<RowIndex> repeated; // the refused table's repeated indexes, sorted

    EntryList rows;
    QList<UpdateItem> added;        // in the new original's order
    QList<UpdateItem> changed;      // in the new original's order
    QList<UpdateItem> untranslated; // in the new original's order
    QList<UpdateItem> removed;      // the old original's first, then those only in the translation
    qsizetype carried = 0;
};

UpdateResult updateTranslation(const EntryList &oldOriginal, const EntryList &newOriginal,
                               const EntryList &translation);

} // namespace wendaro
