// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class QDialog;

namespace wendaro {

// What the window hands to the desktop: running its modal dialogs (message
// boxes, the file dialog, the entry editor) and starting other programs.
// Tests put a scripted one in its place, which answers the real dialogs.
class WindowServices
{
public:
    virtual ~WindowServices() = default;

    // Runs the dialog modally and returns its result code.
    virtual int runModal(QDialog &dialog);
    // Starts program with arguments, without a shell and without waiting.
    // False when it could not be started.
    virtual bool startDetached(const QString &program, const QStringList &arguments);
    // Opens the file in the desktop's default viewer for its kind, without
    // waiting. False when no viewer could be started.
    virtual bool openWithDefaultViewer(const QString &path);
};

} // namespace wendaro
