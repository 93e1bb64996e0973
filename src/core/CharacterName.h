#pragma once

#include <QString>

namespace wendaro {

// The character at i of text as U+XXXX, for error descriptions; a surrogate
// pair is named as the one character it stands for.
QString characterName(const QString &text, qsizetype i);

} // namespace wendaro
