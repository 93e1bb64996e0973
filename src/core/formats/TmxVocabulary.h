// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace wendaro::tmx {

// The names the TMX reader and writer share.

inline const QString ToolName = QStringLiteral("Wendaro");
// A prop of a tu: one place the pair occurs, "PATH:INDEX".
inline const QString EntryProp = QStringLiteral("x-wendaro-entry");
// A prop of a tuv whose text is in the CR LF line-break form, where LF is a
// character of the value and CR LF its line break: its content is CrLfForm.
inline const QString LineBreaksProp = QStringLiteral("x-wendaro-breaks");
inline const QString CrLfForm = QStringLiteral("crlf");

} // namespace wendaro::tmx
