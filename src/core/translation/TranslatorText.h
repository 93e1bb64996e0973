// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace wendaro {

// How a value's line breaks are shown in a translation tool. In the list a
// line break is "<br>" (CR LF in the file); a translator should see and type
// a plain line break, LF, as PO and XLIFF tools do. That is the plain form:
// "<br>" <-> LF, every other character as it is, a lone CR included.
//
// A value that itself holds an LF (a lone LF, which the table keeps as a
// character and not as a line break) would come back as "<br>" from the
// plain form. Such a text is written in the CR LF form instead: "<br>" <->
// CR LF, LF as it is. The file marks the texts written so, and reading takes
// the same form back, so that every value survives the round trip exactly.
enum class LineBreakForm { Plain, CrLf };

// The form a value of the list must be written in.
LineBreakForm lineBreakFormFor(const QString &listValue);
QString toTranslatorText(const QString &listValue, LineBreakForm form);
QString fromTranslatorText(const QString &text, LineBreakForm form);

} // namespace wendaro
