// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ListKeys.h"

#include <QKeyEvent>

namespace wendaro {

std::optional<ListKey> listKeyOf(const QKeyEvent &event)
{
    // Exactly these modifiers: Ctrl+Alt+Z and the like stay free. The keypad
    // flag says where a key is, not how it is pressed.
    const Qt::KeyboardModifiers held = event.modifiers()
                                       & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const bool shift = held == (Qt::ControlModifier | Qt::ShiftModifier);
    if (held != Qt::ControlModifier && !shift)
        return std::nullopt;
    switch (event.key()) {
    case Qt::Key_Z: return shift ? ListKey::Redo : ListKey::Undo;
    case Qt::Key_Y: return shift ? std::nullopt : std::optional(ListKey::Redo);
    case Qt::Key_C: return shift ? ListKey::CopyShownRows : ListKey::CopyRow;
    case Qt::Key_V: return shift ? std::nullopt : std::optional(ListKey::Paste);
    default: return std::nullopt;
    }
}

Command commandOf(ListKey key)
{
    switch (key) {
    case ListKey::Undo: return Command::Undo;
    case ListKey::Redo: return Command::Redo;
    case ListKey::CopyRow: return Command::CopyRow;
    case ListKey::CopyShownRows: return Command::CopyShownRows;
    case ListKey::Paste: return Command::Paste;
    }
    Q_UNREACHABLE();
    return Command::Undo;
}

} // namespace wendaro
