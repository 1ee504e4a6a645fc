// The looks of the race card page "出馬表" as data: the header panel's colour and fonts, the
// grid's columns, widths and fonts, and how each cell is painted (background and alignment).
// The window creates the grid and the labels with these values and only paints what CellLook
// says; the texts come from race/RaceCard.h.
//
// Colours are 0xRRGGBB. Sizes are pixels.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace race::CardLook {

// ---- Header panel ---------------------------------------------------------------------------

inline constexpr std::uint32_t kPanelGreen = 0x008000;       // every race but the two below
inline constexpr std::uint32_t kPanelMaroon = 0x800000;      // dirt left- and right-handed (23, 24)
inline constexpr std::uint32_t kHeaderTextColour = 0xFFFFFF; // all six lines, white
inline constexpr int kHeaderFontPixels = 12;
inline constexpr int kPanelHeight = 76;

// The panel's colour for a track code (RA 706-707): maroon for 23 and 24, green for anything
// else, other dirt tracks (25 to 29), jump races and a blank or damaged code included. The code
// counts only when it reads whole as a number; anything else counts as 0.
std::uint32_t PanelColour(std::string_view trackCode) noexcept;

// ---- Grid -----------------------------------------------------------------------------------

// The eleven columns, left to right.
enum class TCardColumn {
    Frame,         // 枠: frame number
    HorseNumber,   // 馬: horse number
    BackToBack,    // 連闘: ran within the last 8 days
    HorseName,     // 馬名
    Jockey,        // 騎手
    SexAge,        // 性齢
    WeightCarried, // 斤量
    Blinker,       // ﾌﾞﾘﾝｶ
    Apprentice,    // 見習区分
    Trainer,       // 調教師
    Strokes,       // 画数: stroke count of the name
};
inline constexpr int kColumnCount = 11;
inline constexpr std::array<int, kColumnCount> kColumnWidths = {25, 25, 35, 198, 64, 43,
                                                                43, 49, 65, 64,  64};
inline constexpr int kFixedRows = 1;   // the header row; no fixed column
inline constexpr int kRowHeight = 16;  // every row, the header row included
inline constexpr int kFontPixels = 15; // grid font, bold, black, in every cell
inline constexpr bool kFontBold = true;
inline constexpr std::uint32_t kTextColour = 0x000000;
inline constexpr std::uint32_t kGridBackground = 0x000000; // behind and between the cells
// Face of the grid font, "ＭＳ ゴシック" in Shift-JIS.
inline constexpr std::string_view kFontFace = "\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E";

// Header text of column 0..10, Shift-JIS ("枠", "馬", "連闘" ... "画数"); empty outside.
std::string ColumnHeader(int column);

// ---- Painting a cell ------------------------------------------------------------------------

inline constexpr std::uint32_t kHeaderRowBackground = 0x008080; // teal
inline constexpr std::uint32_t kCellBackground = 0xFFFFFF;      // columns 2 to 10, white
// Pale yellow for column 1 where the platform has no tooltip background colour.
inline constexpr std::uint32_t kToolTipFallback = 0xFFFFE1;

// Background of the frame column by frame number 1..8 (white, gray, red, blue, yellow, green,
// orange, pink); nothing for any other number.
std::optional<std::uint32_t> FrameColour(int frame) noexcept;

// Where a cell's background comes from.
enum class TCellFill {
    Colour,  // the look's colour
    ToolTip, // the platform's tooltip background; the look's colour where it has none
    GridOwn, // what the grid would paint itself: its normal or its selection colour
};
enum class TCellAlign { Left, Centre };

// How one cell is painted: the rectangle filled with the background, then the text drawn in the
// grid font from the top of the cell, on one line, aligned as given.
struct TCellLook {
    TCellFill fill = TCellFill::Colour;
    std::uint32_t colour = kCellBackground; // 0xRRGGBB; unused for GridOwn
    TCellAlign align = TCellAlign::Centre;

    friend constexpr bool operator==(const TCellLook&, const TCellLook&) = default;
};

// The look of the cell at column and row (row 0 is the header row) holding text. The header row
// is teal and centred; in the other rows column 0 takes the colour of its frame number (the text
// read whole as a number, anything else 0; no colour for numbers outside 1..8), column 1 the
// tooltip background and the rest white; columns 3 and 4 are left-aligned, all else centred.
TCellLook CellLook(int column, int row, std::string_view text) noexcept;

} // namespace race::CardLook
