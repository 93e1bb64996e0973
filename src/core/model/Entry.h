// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/ValueText.h"

#include <QString>
#include <optional>

namespace wendaro {

// One row of the string table as the list shows it.
struct Entry
{
    QString indexText;         // the index right-aligned in five characters (see IndexText.h)
    QString name;              // shown and stored unchanged
    ValueText value;           // line breaks held as "<br>" (see LineBreaks.h)
    std::optional<qint16> key; // row key "idx<index>"; only rows read from an STF file have one
    quint32 id = 0;            // names the row while it moves (EntryList::identify); 0 until asked
};

} // namespace wendaro
