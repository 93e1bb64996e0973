// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "control/UserInterface.h"

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
// A refused index in the entry editor.
MessageBox indexErrorBox(const QString &text);

} // namespace wendaro
