// The texts of the race card page "出馬表" for one race slot of the loaded race day: the horse
// tabs, the six header lines above the race tabs, the panel colour and the cells of the card
// grid; and the same page and the results page "成績結果" as plain text lines.
//
// Every text is Shift-JIS. A race slot is 0..11 of TRaceDayData, a runner slot 0..17 (horse
// number - 1). A slot outside its range, or a race slot that holds no race (year RA 12-15 blank
// or "0000"), gives empty texts and no rows; blank or damaged fields give the blank texts of
// their conversions, never a failure.
#pragma once

#include "race/RaceCardLook.h"
#include "race/TRaceDayData.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace race {

// True when race slot s is inside 0..11 and HoldsRace (year RA 12-15 neither blank nor
// "0000"): the races that have a race tab.
bool HasRace(const TRaceDayData& day, int raceSlot) noexcept;

// Rows of the card of slot s: its registered runners limited to 0..18 (RunnerCount); 0 for a
// slot without a race.
int CardRunnerCount(const TRaceDayData& day, int raceSlot) noexcept;

// The horse tabs of slot s: " 1番", " 2番" ... one per card row ("%2d番").
std::vector<std::string> HorseTabLabels(const TRaceDayData& day, int raceSlot);

// ---- Header lines -------------------------------------------------------------------------

// Label1: date, weekday, racecourse, meeting and day, race number and post time, as
// "2004年05月01日(土)東京02回03日11R  15.40発走" (always two blanks after the "R").
std::string RaceDateLine(const TRaceDayData& day, int raceSlot);
// Label2: "第" + graded-race count in three places + "回 " when the count is not 0, then the
// race name (RA 33-92) as stored, 60 bytes with its padding.
std::string RaceNameLine(const TRaceDayData& day, int raceSlot);
// Label3: runners, distance, track, grade, race kind, weight rule, conditions and race symbol,
// each from its conversion and separated as the card shows them.
std::string RaceConditionsLine(const TRaceDayData& day, int raceSlot);
// Label4: prize money of places 1 to 7 and added money of places 1 to 5 in thousand yen,
// "【賞金】1着:10,000  2着:4,000  ... 【付加賞金】1着:0  ... (単位:千円)".
std::string PrizeMoneyLine(const TRaceDayData& day, int raceSlot);
// Label5: the course record of the race's course, "ﾚｺｰﾄﾞ:" + the race it was set in, its
// kind, time and weather and the holder; empty when the course record has no year (RC 13-16
// blank or "0000").
std::string CourseRecordLine(const TRaceDayData& day, int raceSlot);
// Label51: "騎手:" + jockey + "  斤量:" + weight ("55.0kg", empty when absent) + "  調教師:" +
// trainer of the course record; empty as Label5.
std::string CourseRecordRiderLine(const TRaceDayData& day, int raceSlot);
// The same lines of one race record or course record, for the printed newspaper, whose
// header block shows them as the card does.
std::string RaceNameLine(const jvdata::TRecordRA& race);
std::string RaceConditionsLine(const jvdata::TRecordRA& race);
std::string CourseRecordLine(const jvdata::TRecordRC& record);

// Colour of the header panel Panel2 for the race's track code (CardLook::PanelColour); green
// for a slot without a race.
std::uint32_t HeaderPanelColour(const TRaceDayData& day, int raceSlot);

// The whole header of a race: the six lines top to bottom and the panel's colour.
struct TRaceHeader {
    std::string label1;  // bold: date and post time
    std::string label2;  // bold: race name
    std::string label3;  // conditions
    std::string label4;  // prize money
    std::string label5;  // course record
    std::string label51; // course record holder's jockey, weight and trainer
    std::uint32_t panelColour = CardLook::kPanelGreen;

    friend bool operator==(const TRaceHeader&, const TRaceHeader&) = default;
};
TRaceHeader RaceHeader(const TRaceDayData& day, int raceSlot);

// True for the header lines drawn bold (Label1, Label2): line 0..5 top to bottom.
constexpr bool HeaderLineBold(int line) noexcept {
    return line == 0 || line == 1;
}

// ---- Card rows ----------------------------------------------------------------------------

// True when the runner's most recent earlier race (PastRaces entry 0) was run 1 to 8 days
// before this race, by calendar dates. False without that race (blank year), and when either
// date is not a real calendar date.
bool RanWithinEightDays(const TRaceDayData& day, int raceSlot, int runnerSlot) noexcept;

// The text of one cell of runner slot k's row (the grid row k + 1):
//   Frame          SE 28 as stored
//   HorseNumber    ZeroSuppress of SE 29-30
//   BackToBack     "連闘" when RanWithinEightDays, else empty
//   HorseName      SE 41-76 trimmed, without full-width blanks
//   Jockey         SE 307-314 as stored
//   SexAge         SexName of SE 79 + ZeroSuppress of SE 83-84
//   WeightCarried  WeightText of SE 289-291
//   Blinker        BlinkerText of SE 295
//   Apprentice     ApprenticeText of SE 323
//   Trainer        SE 91-98 as stored
//   Strokes        NameStrokes of the shown name, "%3d"; empty below 1
// Empty for a slot outside its range.
std::string CardCellText(const TRaceDayData& day, int raceSlot, int runnerSlot,
                         CardLook::TCardColumn column);

// The eleven cells of one row, column 0 first.
using TCardRow = std::array<std::string, CardLook::kColumnCount>;
TCardRow CardRow(const TRaceDayData& day, int raceSlot, int runnerSlot);
// The rows of the card in runner-slot (horse-number) order, CardRunnerCount of them.
std::vector<TCardRow> CardRows(const TRaceDayData& day, int raceSlot);

// ---- Pages as text ------------------------------------------------------------------------

// What the card page shows: the six header lines, the grid's header row, then one line per
// card row; a grid line has its cells separated by tabs.
std::vector<std::string> CardPageLines(const TRaceDayData& day, int raceSlot);

// What the results page shows, bet type by bet type from win to trio: the heading line, then
// its three rows of boxes ("結果：", "人気：", "配当："), each the caption followed by its boxes
// in entry order, separated by tabs; a blank box is an empty cell.
std::vector<std::string> ResultsPageLines(const TRaceDayData& day, int raceSlot);

} // namespace race
