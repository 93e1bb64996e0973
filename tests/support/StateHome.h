// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTemporaryDir>

namespace wendaro {

// The journals of unsaved changes, and the settings, in a folder of the
// test's own: no window is offered the journal another test left behind,
// nor writes into $HOME. (Qt reads the settings' folder once a process:
// the first test's stays, and each test's tables have paths of their own.)
inline bool useStateHome(const QTemporaryDir &dir)
{
    return qputenv("XDG_STATE_HOME", dir.filePath(QStringLiteral("state")).toLocal8Bit())
           && qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toLocal8Bit());
}

} // namespace wendaro
