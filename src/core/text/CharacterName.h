// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

namespace wendaro {

// The character at i of text as U+XXXX, for error descriptions; a surrogate
// pair is named as the one character it stands for.
QString characterName(const QString &text, qsizetype i);

// The position of the first half of a surrogate pair that stands alone, or
// -1. Such a unit has no UTF-8 form.
qsizetype firstLoneSurrogate(QStringView text);

} // namespace wendaro
