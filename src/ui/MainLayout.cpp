// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainLayout.h"

namespace wendaro {

MainLayout mainLayoutFor(float w, float h)
{
    using namespace MainGeometry;
    const float fieldWidth = w - FieldLeft;
    const float listHeight = h - ListHeightReserve;
    return {fieldWidth >= 0 ? fieldWidth : 0, w >= 0 ? w : 0, listHeight >= 0 ? listHeight : 0};
}

} // namespace wendaro
