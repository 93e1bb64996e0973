#include "ApplicationSetup.h"

#include "WindowFonts.h"

#include <UserInterface.h>

#include <QApplication>

namespace wendaro {

void setUpApplication()
{
    QApplication::setApplicationName(ApplicationTitle);
    QApplication::setFont(applicationFont());
}

} // namespace wendaro
