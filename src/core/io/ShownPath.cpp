// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/ShownPath.h"

#include <QDir>

namespace wendaro {

QString shown(const QString &path)
{
    return QStringLiteral("「%1」").arg(QDir::toNativeSeparators(path));
}

} // namespace wendaro
