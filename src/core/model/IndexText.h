// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

namespace wendaro {

// The index text of a row: the index right-aligned in five characters,
// padded on the left with spaces. Text longer than five characters (an index
// below -9999) is kept whole, so that it is saved as it was read.
QString indexText(qint16 index);
// The same alignment for an index as the person typed it (007, 1e3, ...).
QString indexTextFromTyped(const QString &typed);
// The 16-bit index that the index text of the item at position is saved as,
// or nullopt with *error saying why it cannot be: not a number, or out of
// the signed 16-bit range. The message counts items from 1, as a person does.
std::optional<qint16> indexToSave(qsizetype position, const QString &indexText, QString *error);

} // namespace wendaro
