// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/document/IndexCheck.h"

#include "core/text/Number.h"

namespace wendaro {

IndexCheck checkIndexField(QStringView text)
{
    const std::optional<double> rounded = parseRounded(text);
    if (!rounded)
        return IndexCheck::NotNumeric;
    if (!(*rounded >= 0.0 && *rounded <= 32767.0))
        return IndexCheck::OutOfRange;
    return IndexCheck::Ok;
}

} // namespace wendaro
