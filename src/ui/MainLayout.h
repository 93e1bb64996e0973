// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace wendaro {

// Where the main window's controls lie, in twips from the top-left corner of
// the client area below the menu bar (the client area holds the toolbar and
// the status bar).
namespace MainGeometry {
inline constexpr float ClientWidth = 8295;
inline constexpr float ClientHeight = 5325;

inline constexpr float ToolbarHeight = 795;
inline constexpr float ToolButtonWidth = 825;
inline constexpr float ToolButtonHeight = 765;

inline constexpr float FieldColumnLeft = 120; // cmdFile and Label1
inline constexpr float FieldColumnWidth = 615;
inline constexpr float FieldLeft = 840; // txtFile and txtMemo
inline constexpr float FileRowTop = 840;
inline constexpr float MemoRowTop = 1200;
inline constexpr float FieldHeight = 285;
inline constexpr float ButtonHeight = 315;
inline constexpr float LabelHeight = 255;

inline constexpr float ListTop = 1560;
inline constexpr float StatusBarHeight = 255;
inline constexpr float ListBottomGap = 15;
// The list's top, the status bar and the gap between them.
inline constexpr float ListHeightReserve = ListTop + StatusBarHeight + ListBottomGap; // 1830

inline constexpr float IndexColumnWidth = 830;
inline constexpr float NameColumnWidth = 1239;
inline constexpr float ValueColumnWidth = 5782;
} // namespace MainGeometry

// The sizes that the resize pass gives, in twips.
struct MainLayout
{
    float fieldWidth; // txtFile and txtMemo
    float listWidth;
    float listHeight;
};

// The resize pass for a client area of width w and height h in twips: the text
// fields reach the right edge, the list takes the full width and the height
// down to 15 twips above the status bar; widths and heights never go below 0.
MainLayout mainLayoutFor(float w, float h);

// Where the find bar goes while it shows: the list gives up the bar's height
// at its bottom, and the bar lies there, above the gap and the status bar.
struct FindBarPlace
{
    float listHeight;
    float barTop;
    float barHeight;
};
FindBarPlace findBarPlaceFor(const MainLayout &layout, float barHeight);

} // namespace wendaro
