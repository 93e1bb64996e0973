// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/UserInterface.h"

namespace wendaro {

QList<FileFilter> FileDialogRequest::filters() const
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QList<FileFilter> pairs;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        pairs.append({parts[i], parts[i + 1]});
    return pairs;
}

QString FileDialogRequest::defaultSuffix() const
{
    QString suffix = defaultExtension;
    if (suffix.startsWith(QLatin1Char('*')))
        suffix.remove(0, 1);
    if (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    return suffix;
}

} // namespace wendaro
