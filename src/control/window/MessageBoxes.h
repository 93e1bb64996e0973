// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "control/window/UserInterface.h"

#include <QDateTime>

namespace wendaro {

// A read or write error: the text under the critical icon with one OK button.
MessageBox fileErrorBox(const QString &text);
// Whether the changes to the file at path are to be saved: Yes, No or Cancel.
MessageBox savePromptBox(const QString &path);
// Whether to write over the file at path, which another program changed
// since it was opened or saved: Yes or No, No unless chosen.
MessageBox changedOnDiskBox(const QString &path);
// A notice under the exclamation icon with one OK button.
MessageBox noticeBox(const QString &text);
// Whether to make again the unsaved changes a journal of the file at path
// holds: Yes, No or Cancel. fileChanged: the file is no longer the one they
// were made on, and Yes saves the rows they touched instead.
MessageBox recoveryBox(const QString &path, int changes, const QDateTime &lastChange, bool fileChanged);
// Whether the unsaved changes of a journal are to be thrown away: Yes or No.
MessageBox discardChangesBox();
// A refused index in the entry editor.
MessageBox indexErrorBox(const QString &text);

} // namespace wendaro
