// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace wendaro {

// A path as a message shows it: in the system's separators, in corner
// brackets, so that spaces at its ends stay visible.
QString shown(const QString &path);

} // namespace wendaro
