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

FindBarPlace findBarPlaceFor(const MainLayout &layout, float barHeight)
{
    const float shown = barHeight < layout.listHeight ? barHeight : layout.listHeight;
    const float listHeight = layout.listHeight - shown;
    return {listHeight, MainGeometry::ListTop + listHeight, shown};
}

} // namespace wendaro
