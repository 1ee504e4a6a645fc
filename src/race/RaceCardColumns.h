// The columns of the race card grid (出馬表): header text and width of each, left to right.
// The header row is written when the main window is made; the card rows fill the same columns.
#pragma once

#include <array>
#include <string>

namespace race {

// One column of the race card grid.
struct TRaceCardColumn {
    std::string header; // text of the fixed header row, CP932
    int width = 0;      // column width in pixels
};

// Number of columns of the race card grid.
inline constexpr int kRaceCardColumnCount = 11;
// Height in pixels of every row of the race card grid, the header row included.
inline constexpr int kRaceCardRowHeight = 16;

// The eleven columns: 枠, 馬, 連闘, 馬名, 騎手, 性齢, 斤量, ﾌﾞﾘﾝｶ, 見習区分, 調教師, 画数.
const std::array<TRaceCardColumn, kRaceCardColumnCount>& RaceCardColumns();

} // namespace race
