// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/CharacterName.h"

namespace wendaro {

QString characterName(const QString &text, qsizetype i)
{
    char32_t code = text.at(i).unicode();
    if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
        code = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
    return QStringLiteral("U+%1").arg(uint(code), 4, 16, QLatin1Char('0')).toUpper();
}

qsizetype firstLoneSurrogate(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            return i;
    }
    return -1;
}

} // namespace wendaro
