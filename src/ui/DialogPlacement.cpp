// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DialogPlacement.h"

#include "ui/Twips.h"

namespace wendaro {

QPoint centredTopLeft(const QRect &ownerOuter, const QSize &dialogOuter)
{
    const float top = twipsFromPixels(ownerOuter.height()) / 2 + twipsFromPixels(ownerOuter.top())
                      - twipsFromPixels(dialogOuter.height()) / 2;
    const float left = twipsFromPixels(ownerOuter.width()) / 2 + twipsFromPixels(ownerOuter.left())
                       - twipsFromPixels(dialogOuter.width()) / 2;
    return {pixelsFromTwips(left), pixelsFromTwips(top)};
}

} // namespace wendaro
