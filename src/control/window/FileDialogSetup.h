// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "control/commands/DocumentStates.h"
#include "control/window/UserInterface.h"

#include "core/formats/FormatRegistry.h"

namespace wendaro {

// The formats the dialog offers, from the format list: every table format
// (STF, then the text form), or the STF format alone, which the output file
// names.
QList<const FileFormat *> tableFormats();
inline const QList<const FileFormat *> TableFormats = tableFormats();
inline const QList<const FileFormat *> StfOnly = {&FormatRegistry::stf()};

// The file dialog of a command. The dialog keeps its file name between uses:
// dialogFileName is the name it holds now, the last one set or chosen, which
// Save As and the output-file choice keep when the current path is too short
// to lose its extension.
FileDialogRequest fileDialogSetup(ChooseMode mode, const QString &currentPath, const QString &dialogFileName);

// The dialog that opens files to use beside the table (memories,
// glossaries), several at once: titled title, filtered by filter then all
// files, starting at the last file chosen or in the table's folder.
FileDialogRequest besideTableDialog(const QString &title, const QString &filter, const QString &currentPath,
                                    const QString &lastChosen);

} // namespace wendaro
