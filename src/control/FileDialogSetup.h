// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "control/DocumentStates.h"
#include "control/UserInterface.h"

namespace wendaro {

// The dialog's filters, description and pattern pairs made from the format
// list: every table format ("STF ファイル (*.stf)|*.stf|テキスト (タブ区切り)
// (*.txt)|*.txt"), or the STF format alone, which the output file names.
QString tableFormatsFilter();
QString stfFormatFilter();
inline const QString BothFormatsFilter = tableFormatsFilter();
inline const QString StfOnlyFilter = stfFormatFilter();

// The file dialog of a command. The dialog keeps its file name between uses:
// dialogFileName is the name it holds now, the last one set or chosen, which
// Save As and the output-file choice keep when the current path is too short
// to lose its extension.
FileDialogRequest fileDialogSetup(ChooseMode mode, const QString &currentPath, const QString &dialogFileName);

} // namespace wendaro
