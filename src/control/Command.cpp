// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/Command.h"

namespace wendaro {

QString commandName(Command command)
{
    switch (command) {
    case Command::FilesClose: return QStringLiteral("mFiles_Close");
    case Command::FilesSave: return QStringLiteral("mFiles_Save");
    case Command::FilesSaveAs: return QStringLiteral("mFiles_SaveAs");
    case Command::EditAdd: return QStringLiteral("mEdit_Add");
    case Command::EditEdit: return QStringLiteral("mEdit_Edit");
    case Command::EditRemove: return QStringLiteral("mEdit_Remove");
    case Command::PopupAdd: return QStringLiteral("mPopup_Add");
    case Command::PopupEdit: return QStringLiteral("mPopup_Edit");
    case Command::PopupRemove: return QStringLiteral("mPopup_Remove");
    case Command::ButtonSave: return QStringLiteral("Save");
    case Command::ButtonClose: return QStringLiteral("Close");
    case Command::ButtonAdd: return QStringLiteral("Add");
    case Command::ButtonEdit: return QStringLiteral("Edit");
    case Command::ButtonRemove: return QStringLiteral("Remove");
    case Command::CmdFile: return QStringLiteral("cmdFile");
    case Command::TxtFile: return QStringLiteral("txtFile");
    case Command::TxtMemo: return QStringLiteral("txtMemo");
    }
    Q_UNREACHABLE();
    return {};
}

} // namespace wendaro
