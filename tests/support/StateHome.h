// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTemporaryDir>

namespace wendaro {

// The journals of unsaved changes in a folder of the test's own: no window
// is offered the journal another test left behind, nor writes into $HOME.
inline bool useStateHome(const QTemporaryDir &dir)
{
    return qputenv("XDG_STATE_HOME", dir.filePath(QStringLiteral("state")).toLocal8Bit());
}

} // namespace wendaro
