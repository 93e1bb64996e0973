// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <cmath>

namespace wendaro {

// The window's geometry is given in twips, 1/1440 inch; at 96 dots per inch
// one pixel is 15 twips. Widgets work in (logical) pixels.
inline constexpr int TwipsPerPixel = 15;

inline int pixelsFromTwips(float twips)
{
    return int(std::lround(twips / float(TwipsPerPixel)));
}

inline float twipsFromPixels(int pixels)
{
    return float(pixels) * float(TwipsPerPixel);
}

inline QRect pixelRect(float left, float top, float width, float height)
{
    return {pixelsFromTwips(left), pixelsFromTwips(top), pixelsFromTwips(width), pixelsFromTwips(height)};
}

inline QSize pixelSize(float width, float height)
{
    return {pixelsFromTwips(width), pixelsFromTwips(height)};
}

} // namespace wendaro
