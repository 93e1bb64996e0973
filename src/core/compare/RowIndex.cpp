// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/compare/RowIndex.h"

#include "core/text/Number.h"
#include "core/text/Spaces.h"

namespace wendaro {

RowIndex RowIndex::of(const QString &indexText)
{
    const Int16Conversion number = toInt16(indexText);
    if (number.ok())
        return {number.value, {}};
    return {std::nullopt, trimSpaces(indexText).toString()};
}

QString RowIndex::shown() const
{
    return number ? QString::number(*number) : text;
}

} // namespace wendaro
