// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace wendaro {

// What the window remembers for one table, by the table's absolute path,
// in the user's settings ($XDG_CONFIG_HOME/wendaro/wendaro.conf): the files
// opened beside it (memories, glossaries), under a group for each kind.
QStringList rememberedFor(const QString &group, const QString &tablePath);
void rememberFor(const QString &group, const QString &tablePath, const QStringList &values);

} // namespace wendaro
