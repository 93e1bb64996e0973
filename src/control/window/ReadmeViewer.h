// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace wendaro {

class UserInterface;

// Help's readme command: opens readme.txt, found beside the program in
// programFolder or in the installed documentation folder, in a plain-text
// viewer. A box says where it was looked for when it is missing, and where
// it is when no viewer could be started.
void openReadme(UserInterface &ui, const QString &programFolder);

} // namespace wendaro
