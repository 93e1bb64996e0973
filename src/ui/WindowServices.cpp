// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/WindowServices.h"

#include <QDesktopServices>
#include <QDialog>
#include <QProcess>
#include <QUrl>

namespace wendaro {

int WindowServices::runModal(QDialog &dialog)
{
    return dialog.exec();
}

bool WindowServices::startDetached(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments);
}

bool WindowServices::openWithDefaultViewer(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace wendaro
