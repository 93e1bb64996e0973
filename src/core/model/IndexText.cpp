// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/IndexText.h"

#include "core/text/Number.h"
#include "core/text/Spaces.h"

#include <algorithm>

namespace wendaro {

QString indexText(qint16 index)
{
    // Written straight into its one string: every row read gets one, and the
    // general number formatting and padding cost two more allocations.
    char16_t digits[6];
    qsizetype at = 6;
    int magnitude = index < 0 ? -int(index) : int(index);
    do {
        digits[--at] = char16_t(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0);
    if (index < 0)
        digits[--at] = u'-';
    const qsizetype length = 6 - at;
    const qsizetype width = qMax<qsizetype>(5, length);
    QString text(width, QLatin1Char(' '));
    std::copy(digits + at, digits + 6, reinterpret_cast<char16_t *>(text.data()) + width - length);
    return text;
}

QString indexTextFromTyped(const QString &typed)
{
    // rightJustified with truncate=false: a text of six characters (-25536)
    // stays whole instead of losing its sign.
    return typed.rightJustified(5, QLatin1Char(' '));
}

std::optional<qint16> indexToSave(qsizetype position, const QString &indexText, QString *error)
{
    const Int16Conversion index = toInt16(indexText);
    switch (index.status) {
    case Int16Conversion::Status::Ok: return index.value;
    case Int16Conversion::Status::NotNumeric:
        *error = QStringLiteral("%1 番目の項目のインデックス「%2」は数値ではありません。")
                     .arg(position + 1)
                     .arg(trimSpaces(indexText));
        break;
    case Int16Conversion::Status::Overflow:
        *error = QStringLiteral("%1 番目の項目のインデックス「%2」は -32768 から 32767 の範囲を超えています。")
                     .arg(position + 1)
                     .arg(trimSpaces(indexText));
        break;
    }
    return std::nullopt;
}

} // namespace wendaro
