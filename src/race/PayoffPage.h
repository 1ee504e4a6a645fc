// The layout of the results page "成績結果" as data: one block per bet type from top to bottom
// (win first, trio last), each a heading over three rows of boxes captioned "結果：", "人気："
// and "配当：", one column of three boxes per entry of the bet type. The window only creates
// labels at these places in these looks and puts PayoffBoxTexts into the boxes.
//
// Positions and sizes are pixels from the page's top left corner. Colours are 0xRRGGBB.
#pragma once

#include "race/PayoffTable.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace race::PayoffPage {

// The three rows of boxes of a bet type, top to bottom.
enum class TPayoffLine {
    Result,     // "結果：" horse number or combination
    Popularity, // "人気：" popularity rank
    Payout,     // "配当：" payout
};
inline constexpr std::array<TPayoffLine, 3> kLines = {TPayoffLine::Result, TPayoffLine::Popularity,
                                                      TPayoffLine::Payout};

// ---- Colours and fonts ----------------------------------------------------------------------

inline constexpr std::uint32_t kBlue = 0x0000FF;   // headings and captions
inline constexpr std::uint32_t kBlack = 0x000000;  // background of every box
inline constexpr std::uint32_t kAqua = 0x00FFFF;   // text of the result and payout boxes
inline constexpr std::uint32_t kYellow = 0xFFFF00; // text of the popularity boxes

// Character height of headings, captions and boxes alike.
inline constexpr int kFontPixels = 12;
// Face of the box text, "ＭＳ ゴシック" in Shift-JIS; headings and captions use the window's font.
inline constexpr std::string_view kBoxFontFace =
    "\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E";

// How one kind of label looks. Headings and captions are 3-D labels with engraved (recessed)
// text on the page's own background, left-aligned; boxes are 3-D labels with a one-pixel sunk
// border, plain text centred on their background.
struct TLabelLook {
    std::uint32_t textColour = kBlue; // 0xRRGGBB
    bool filled = false;              // true: background drawn in `background`
    std::uint32_t background = kBlack;
    bool bold = false;
    bool underline = false;
    bool box = false;            // sunk border and centred plain text, else engraved caption
    std::string_view fontFace{}; // Shift-JIS face name; empty for the window's font
};

inline constexpr TLabelLook kHeadingLook{kBlue, false, kBlack, true, true, false, {}};
inline constexpr TLabelLook kCaptionLook{kBlue, false, kBlack, false, false, false, {}};
// The boxes of a row: aqua on black for results and payouts, yellow on black for popularity.
constexpr TLabelLook BoxLook(TPayoffLine line) noexcept {
    return TLabelLook{line == TPayoffLine::Popularity ? kYellow : kAqua,
                      true,
                      kBlack,
                      true,
                      false,
                      true,
                      kBoxFontFace};
}

// ---- Horizontal places ----------------------------------------------------------------------

inline constexpr int kHeadingLeft = 4;      // heading of a bet type
inline constexpr int kCaptionLeft = 4;      // captions of the three rows
inline constexpr int kCaptionWidth = 44;    // ends before the first column
inline constexpr int kFirstColumnLeft = 49; // entry 0's boxes
inline constexpr int kColumnPitch = 64;     // from one entry's boxes to the next
inline constexpr int kBoxWidth = 60;

// Left edge of the boxes of entry e (0-based): 49, 113, 177 ...
constexpr int ColumnLeft(int entry) noexcept {
    return kFirstColumnLeft + kColumnPitch * entry;
}

// ---- Vertical places ------------------------------------------------------------------------

inline constexpr int kPageTop = 4;        // above the first heading
inline constexpr int kHeadingHeight = 14; // heading line, the rows follow directly
inline constexpr int kLineGap = 1;        // between two rows of boxes
inline constexpr int kBlockGap = 3;       // after the last row of a bet type

// Height of the boxes (and captions) of a bet type: 15 for exacta and trio, 14 for the rest.
constexpr int BoxHeight(TBetType bet) noexcept {
    return bet == TBetType::Exacta || bet == TBetType::Trio ? 15 : 14;
}
// Height of a bet type's block: heading, three rows and the gap after them.
constexpr int BlockHeight(TBetType bet) noexcept {
    return kHeadingHeight + 3 * (BoxHeight(bet) + kLineGap) + kBlockGap;
}
// Top of a bet type's block, where its heading stands.
constexpr int BlockTop(TBetType bet) noexcept {
    int top = kPageTop;
    for (const TBetType above : kBetTypes) {
        if (above == bet) {
            break;
        }
        top += BlockHeight(above);
    }
    return top;
}
// Top of a row of boxes and of its caption.
constexpr int LineTop(TBetType bet, TPayoffLine line) noexcept {
    return BlockTop(bet) + kHeadingHeight + static_cast<int>(line) * (BoxHeight(bet) + kLineGap);
}
// Height of all seven blocks, the page's least height.
constexpr int PageHeight() noexcept {
    return BlockTop(TBetType::Trio) + BlockHeight(TBetType::Trio);
}

// ---- Texts ----------------------------------------------------------------------------------

// Heading of a bet type, Shift-JIS: "単勝", "複勝", "枠連", "馬連", "ﾜｲﾄﾞ", "馬単", "三連複".
std::string BetTypeHeading(TBetType bet);
// Caption of a row, Shift-JIS: "結果：", "人気：", "配当：".
std::string LineCaption(TPayoffLine line);
// The text of one box of a column.
const std::string& BoxText(const TPayoffBoxTexts& column, TPayoffLine line) noexcept;

} // namespace race::PayoffPage
