// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/window/UserInterface.h"

namespace wendaro {

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
