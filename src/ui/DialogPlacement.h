// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace wendaro {

// Where a dialog of the given outer size goes so that it is centred on the
// owner's outer rectangle (frames and title bars included); computed in twips
// in single precision, as the window's geometry is. Nothing keeps the dialog
// on the screen.
QPoint centredTopLeft(const QRect &ownerOuter, const QSize &dialogOuter);

} // namespace wendaro
