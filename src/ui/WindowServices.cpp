#include "WindowServices.h"

#include <QDesktopServices>
#include <QDialog>
#include <QProcess>
#include <QUrl>

namespace wendaro {

int WindowServices::runModal(QDialog &dialog)
{
    return dialog.exec();
}

void WindowServices::startDetached(const QString &program, const QStringList &arguments)
{
    // Whether the viewer could be started is not reported.
    QProcess::startDetached(program, arguments);
}

void WindowServices::openWithDefaultViewer(const QString &path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace wendaro
