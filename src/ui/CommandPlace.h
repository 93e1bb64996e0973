// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QAbstractButton;
class QAction;

namespace wendaro {

// Makes place (a menu item, a context-menu item or a toolbar button) a place
// of command: triggering the place raises the command's one action, and the
// place is enabled exactly while the command is. The place keeps its own
// name, caption, image and tooltip, since a menu item and a toolbar button of
// one command are captioned differently.
void placeCommand(QAction &place, QAction &command);
// The same for a push button (cmdFile).
void placeCommand(QAbstractButton &place, QAction &command);

} // namespace wendaro
