// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace wendaro::cli {

// A name or value for a line that a person reads: in double quotes, so that
// an empty text and spaces at either end show, and on one line whatever it
// holds. Escaped are \ and " (with a backslash), TAB, CR and LF (\t, \r, \n),
// every other control character, DEL and U+0080..U+009F (\xNN), the line and
// paragraph separators and any half of a surrogate pair that stands alone
// (\uXXXX). Everything else, "<br>" included, is shown as it is.
QString quotedText(QStringView text);

// A JSON string in UTF-8, exact for any UTF-16 text: a half of a surrogate
// pair that stands alone is written as \uXXXX, which UTF-8 cannot carry.
QByteArray jsonString(QStringView text);

} // namespace wendaro::cli
