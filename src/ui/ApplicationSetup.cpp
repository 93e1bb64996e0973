// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ApplicationSetup.h"

#include "ui/WindowFonts.h"

#include "control/window/UserInterface.h"

#include <QApplication>

namespace wendaro {

void setUpApplication()
{
    QApplication::setApplicationName(ApplicationTitle);
    QApplication::setFont(applicationFont());
}

} // namespace wendaro
