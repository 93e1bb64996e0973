// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "control/UserInterface.h"

#include <QFileDialog>

namespace wendaro {

class WindowServices;

// Dialog1: the file dialog set up as a command asks. Open dialogs that must
// find the file accept only existing files; the others also accept a new name,
// and refuse one whose folder does not exist when the folder must exist. Save
// dialogs ask before replacing a file when the command wants that. A name
// typed without an extension takes the extension of the filter chosen.
class FileDialog : public QFileDialog
{
    Q_OBJECT
public:
    FileDialog(const FileDialogRequest &request, WindowServices &services, QWidget *parent);

    // The chosen full path; empty until a file was accepted.
    QString chosenPath() const;

    // "STF ファイル (*.stf)" and "*.stf" as Qt's filter text.
    static QString nameFilter(const FileFilter &filter);
    // "txt" for "*.txt"; empty for a pattern that names no single extension.
    static QString suffixOf(const QString &pattern);

public slots:
    void accept() override;

private:
    FileDialogRequest m_request;
    WindowServices &m_services;
};

} // namespace wendaro
