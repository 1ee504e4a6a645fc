// The two time tables of a race: "走破ﾀｲﾑ計算表" (StringGrid3, seconds per 100 m over the whole
// race) and "上3ﾊﾛﾝﾀｲﾑ計算表" (StringGrid2, seconds per 100 m over the last 600 m), one row per
// runner, with the average of the last five runs and the marks ◎ ○ × for the three best.
//
// The tables are cell texts (Shift-JIS), exactly as the grids hold them: the averages are
// taken back from the two-decimal texts of the run cells, so a cell text is the figure of
// record. Columns: 0 mark, 1 frame number, 2 horse number, 3-7 the runs 前１走 .. 前５走, 8 the
// average.
#pragma once

#include "race/TRaceDayData.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace analysis {

inline constexpr int kTableColumns = 9;
inline constexpr int kMarkColumn = 0;
inline constexpr int kFrameColumn = 1;
inline constexpr int kHorseColumn = 2;
inline constexpr int kFirstRunColumn = 3; // 前１走; past-run entry i is column 3 + i
inline constexpr int kAverageColumn = 8;

using TTableRow = std::array<std::string, kTableColumns>;
using TTableRows = std::vector<TTableRow>;

// Both tables of the open race: row k is horse number k + 1.
struct TTimeTables {
    TTableRows times;  // StringGrid3, 走破タイム
    TTableRows last3f; // StringGrid2, 上3ハロン
};

// A figure as a cell shows it, pattern "#0.00": at least one integer digit, two decimals,
// rounded half away from zero ("5.91" for 5.90625); empty for no figure.
std::string FigureText(std::optional<double> figure);

// A cell text read as a decimal number in hundredths ("5.91" is 591); nothing for a text that
// is blank or not a plain decimal number. A third decimal rounds half away from zero.
std::optional<long long> CellHundredths(std::string_view text) noexcept;

// Hundredths as the pattern "0.00" writes them: 595 is "5.95", 1050 is "10.50".
std::string HundredthsText(long long hundredths);

// Starts both tables of race slot s: one row per registered runner, columns 0 to 7 empty,
// column 2 the horse number, column 1 the frame number (SE 28) when it is above 0. Column 8 is
// left as it was; FillAveragesAndMarks writes it in every row.
void ResetTimeTables(TTimeTables& tables, const race::TRaceDayData& day, int slot);

// Column 3 + entry of both tables, rows 0 to runners - 1: the time figure and the
// last-three-furlong figure of each runner's past-run entry (0 the most recent run).
void FillTimeTableColumn(TTimeTables& tables, const race::TRaceDayData& day, int slot, int runners,
                         int entry);

// The average of a row: the mean of the run cells (columns 3-7) that are not blank, from their
// texts, pattern "0.00" (rounded half away from zero on the exact mean); empty when none
// counts.
std::string AverageText(const TTableRow& row);

// The ranking of a table whose averages are written: one entry per row with an average, the
// average text, "-" and the horse number in two digits ("5.91-03"), best first. Lower averages
// rank first, equal averages by the lower horse number; averages of 10.00 or more rank after
// every one below 10.00, in numeric order.
std::vector<std::string> RankingEntries(const TTableRows& rows);

// Column 8 of every row, then the marks: ◎ to the first row of the ranking, ○ to the second,
// × to the third; other rows keep their mark column. Each table is ranked by itself.
void FillAveragesAndMarks(TTableRows& rows);
void FillAveragesAndMarks(TTimeTables& tables);

// Both tables of race slot s as a race opening fills them: the rows, the five run columns in
// order, the averages and the marks. Reuses the tables' storage.
void BuildTimeTables(TTimeTables& tables, const race::TRaceDayData& day, int slot);

// The marks, Shift-JIS: "◎", "○", "×".
std::string_view MarkText(int place) noexcept;

} // namespace analysis
