// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/commands/Command.h"

namespace wendaro {

QString commandName(Command command)
{
    const auto name = [](const char *word) { return QStringLiteral("command") + QLatin1String(word); };
    switch (command) {
    case Command::New: return name("New");
    case Command::Open: return name("Open");
    case Command::Close: return name("Close");
    case Command::Save: return name("Save");
    case Command::SaveAs: return name("SaveAs");
    case Command::Exit: return name("Exit");
    case Command::Add: return name("Add");
    case Command::Edit: return name("Edit");
    case Command::Remove: return name("Remove");
    case Command::Version: return name("Version");
    case Command::ChooseOutput: return name("ChooseOutput");
    case Command::Undo: return name("Undo");
    case Command::Redo: return name("Redo");
    case Command::CopyRow: return name("CopyRow");
    case Command::CopyShownRows: return name("CopyShownRows");
    case Command::Paste: return name("Paste");
    case Command::Find: return name("Find");
    case Command::FindNext: return name("FindNext");
    case Command::FindPrevious: return name("FindPrevious");
    case Command::CloseFind: return name("CloseFind");
    case Command::Replace: return name("Replace");
    case Command::OpenOriginal: return name("OpenOriginal");
    case Command::OpenOldOriginal: return name("OpenOldOriginal");
    case Command::AcceptAndNext: return name("AcceptAndNext");
    case Command::NextToDo: return name("NextToDo");
    case Command::PreviousToDo: return name("PreviousToDo");
    case Command::CopyOriginal: return name("CopyOriginal");
    case Command::AddMissing: return name("AddMissing");
    }
    Q_UNREACHABLE();
    return {};
}

} // namespace wendaro
