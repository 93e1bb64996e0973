// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/WindowFonts.h"

#include <QFontDatabase>

namespace wendaro {

namespace {

// Sizes in pixels, so that the text keeps its proportion to the geometry,
// which is laid out at 15 twips a pixel.
constexpr int WindowFontPixels = 13;    // 9.75 pt
constexpr int StatusBarFontPixels = 12; // 9 pt

QFont gothicFont(int pixels)
{
    QFont font(japaneseGothicFamily());
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace

QString japaneseGothicFamily()
{
    for (const QString &family :
         {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic")}) {
        if (QFontDatabase::hasFamily(family))
            return family;
    }
    return QStringLiteral("IPAPGothic");
}

QFont windowFont()
{
    return gothicFont(WindowFontPixels);
}

QFont statusBarFont()
{
    return gothicFont(StatusBarFontPixels);
}

QFont applicationFont()
{
    return gothicFont(StatusBarFontPixels);
}

} // namespace wendaro
