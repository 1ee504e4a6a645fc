// The race card, and the results of a race with its payoffs, as text tables for export: one
// heading line and rows of the texts the card grid and the results show.
//
// A cell is the view's text without the blanks (half-width and full-width) that pad it at
// either end for the grid's alignment, so that a spreadsheet reads " 3" as 3 and an absent
// apprentice code "　" as an empty cell. Texts are Shift-JIS. A race slot without a race gives
// the headings and no rows.
#pragma once

#include "files/TextTable.h"
#include "race/TRaceDayData.h"

#include <string>
#include <string_view>

namespace race {

// A text as a table cell: half-width and full-width blanks at both ends removed.
std::string TableCellText(std::string_view shown);

// The card of race slot s: the grid's eleven headings ("枠", "馬", "連闘" ... "画数") and one
// row per card row in horse-number order, the cells of CardRow.
files::TTextTable CardTable(const TRaceDayData& day, int raceSlot);

// The results of race slot s in one table of twelve columns:
//   区分 着順 枠番 馬番 馬名 騎手 タイム 着差 単勝オッズ 人気 組番 配当
// First one row per runner, 区分 "成績", in finishing order (SE 335-336; dead heats by horse
// number), then the runners without a final position in horse-number order, their 着順 the
// abnormality ("出走取消", "競争中止" ...) or empty. タイム as the past-run lines write it
// ("1.33.5"), 着差 with its unit ("1_1/2馬身", "ハナ"), 単勝オッズ "%.1f" and 人気 the win
// popularity, each empty when the record has none. Then one row per payoff entry that is there,
// bet type by bet type from win to trio: 区分 the bet type's heading ("単勝" ... "三連複"), 人気
// its popularity, 組番 the result box (horse number or combination "3- 5"), 配当 the payout in
// yen; the runner columns empty.
files::TTextTable ResultsTable(const TRaceDayData& day, int raceSlot);

// A file name for a table of race slot s: the race date, the racecourse, the race number and
// what the table is, "20261206東京11R出馬表.csv" (what: Shift-JIS, e.g. "出馬表"). Only digits of
// the date and the racecourse table's names come from the record, so that no record text can
// put a separator or a drive into the name.
std::string RaceCsvFileName(const TRaceDayData& day, int raceSlot, std::string_view what);

} // namespace race
