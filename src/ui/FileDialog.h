// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "control/window/UserInterface.h"

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

    // The format's filter as Qt's filter text: "STF ファイル (*.stf)",
    // "PO (*.po *.pot)".
    static QString nameFilter(const FileFormat &format);
    // The extension a name typed under the format's filter gets: "txt";
    // empty for a format of several.
    static QString suffixOf(const FileFormat &format);

public slots:
    void accept() override;

private:
    FileDialogRequest m_request;
    WindowServices &m_services;
};

} // namespace wendaro
