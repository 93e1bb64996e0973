// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QString>

namespace wendaro {

// The face of the window's text: "ＭＳ Ｐゴシック" where the system has it,
// otherwise a proportional Japanese Gothic face that every caption renders in.
QString japaneseGothicFamily();

// 9.75 points at 96 dots per inch: the window's fields, button, label and list,
// and the editor's fields and labels.
QFont windowFont();
// 9 points: the status bar, and the program's default (menus, buttons,
// dialogs), so that every Japanese caption has its glyphs.
QFont statusBarFont();
QFont applicationFont();

} // namespace wendaro
