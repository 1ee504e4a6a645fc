// The looks of the two time table pages as data: the caption bars, the grids' columns, fonts
// and hint, and how each cell is painted. The window makes its controls with these values and
// paints what CellLook says; the texts come from TimeTables.h.
//
// Colours are 0xRRGGBB. Sizes are pixels. Texts are Shift-JIS.
#pragma once

#include "analysis/TimeTables.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace analysis::TableLook {

// ---- Caption bars StaticText3 and StaticText4 -----------------------------------------------

// "　走破タイム計算表（100m当たり秒数）" (StringGrid3's page) and
// "　上３ハロンタイム計算表（100m当たり秒数）" (StringGrid2's page); both begin with a
// full-width blank.
std::string TimesCaption();
std::string Last3fCaption();

inline constexpr int kCaptionHeight = 16;                     // across the top of the page, sunken
inline constexpr std::uint32_t kCaptionBackground = 0x00FFFF; // aqua
inline constexpr std::uint32_t kCaptionTextColour = 0x0000FF; // blue, bold
inline constexpr int kCaptionFontPixels = 15;
// "ＭＳ Ｐゴシック".
inline constexpr std::string_view kCaptionFontFace =
    "\x82\x6C\x82\x72 \x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E";

// ---- Grids StringGrid3 and StringGrid2 ------------------------------------------------------

inline constexpr std::array<int, kTableColumns> kColumnWidths = {30, 25, 25, 60, 60,
                                                                 60, 60, 64, 64};
inline constexpr int kRowHeight = 15;  // no fixed row or column
inline constexpr int kFontPixels = 15; // bold, black
inline constexpr std::uint32_t kTextColour = 0x000000;
// "ＭＳ ゴシック".
inline constexpr std::string_view kFontFace = "\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E";
// The grids' hint: "表示は印、枠番、馬番、前１走、前２走、前３走、前４走、前５走、平均値の順です".
std::string GridHint();

// ---- Painting a cell ------------------------------------------------------------------------

inline constexpr std::uint32_t kWhite = 0xFFFFFF;
inline constexpr std::uint32_t kAverageBackground = 0x00FFFF; // aqua
// Pale yellow for the horse-number column where the platform has no tooltip colour.
inline constexpr std::uint32_t kToolTipFallback = 0xFFFFE1;

enum class TCellFill {
    Colour,  // the look's colour
    ToolTip, // the platform's tooltip background (info background)
};
enum class TCellAlign { Centre, Right };

// How one cell is painted: the rectangle filled, then the text in the grid font at the top of
// the cell without margin, on one line. Selection and focus change nothing.
struct TCellLook {
    TCellFill fill = TCellFill::Colour;
    std::uint32_t colour = kWhite;
    TCellAlign align = TCellAlign::Centre;

    friend constexpr bool operator==(const TCellLook&, const TCellLook&) = default;
};

// Columns 0, 3-7 white; column 1 the colour of the frame number in it (a text that is not a
// frame number 1-8, an empty frame cell included, is white); column 2 the tooltip colour;
// column 8 aqua. Columns 0-2 centred, 3-8 right-aligned.
TCellLook CellLook(int column, std::string_view text) noexcept;

} // namespace analysis::TableLook
