// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QMenu;
class QMenuBar;
class QWidget;

namespace wendaro {

class CommandActions;

// The menus of the main window, every item a QAction named after its control
// ("mFiles_New", "mSep00", ...), captions with their access keys and no
// shortcuts of their own, each item a place of its command (see
// CommandPlace.h). mFiles, mEdit and mHelp go into the menu bar; mPopup, the
// list's context menu, never does and is returned. The File menu's commands
// also go into owner, whose keys they answer (Ctrl+S and the like).
QMenu *buildMenuTree(QMenuBar &bar, QWidget &owner, const CommandActions &commands);

} // namespace wendaro
