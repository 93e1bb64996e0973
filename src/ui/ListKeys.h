// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "control/commands/Command.h"

#include <optional>

class QKeyEvent;

namespace wendaro {

// The keys that act on the rows while the list (or a button beside it) has
// the focus; a text field keeps these keys for its own undo and clipboard.
enum class ListKey {
    Undo,          // Ctrl+Z
    Redo,          // Ctrl+Y, Ctrl+Shift+Z
    CopyRow,       // Ctrl+C: the selected row
    CopyShownRows, // Ctrl+Shift+C: every row the list shows
    Paste,         // Ctrl+V
};

std::optional<ListKey> listKeyOf(const QKeyEvent &event);
// The command a list key raises.
Command commandOf(ListKey key);

} // namespace wendaro
