// The texts of the newspaper page: the lines of the race header block, the money and career
// lines of a runner row and the six lines of a past-run cell, each built from the records of
// the loaded race day with the code conversions of KeibaFunc. All texts are Shift-JIS.
//
// A blank or damaged field gives the blank text of its conversion (or 0 for a number), never
// a failure; the separators around it stay.
#pragma once

#include "jvdata/Records.h"

#include <array>
#include <cstdint>
#include <string>

namespace print {

// ---- Race header block ------------------------------------------------------------------

// "2004年05月30日(日)東京03回04日 1R 10.05発走": date, weekday, racecourse, meeting and day
// as stored, race number and post time.
std::string NewspaperDateLine(const jvdata::TRecordRA& race);
// "第" + running number + "回 " when the race has a running number, then the race name as
// stored (60 bytes with its padding).
std::string NewspaperRaceNameLine(const jvdata::TRecordRA& race);
// Runners, distance, track, grade, race kind, weight rule, age conditions and race symbol.
std::string NewspaperConditionsLine(const jvdata::TRecordRA& race);

// The working prize texts of one race: each "%7d" of the prize in thousands of yen, first
// prizes of places 1 to 7 and added prizes of places 1 to 5. Each drawing makes its own.
struct TPrizeTexts {
    std::array<std::string, 7> first;
    std::array<std::string, 5> added;
};
TPrizeTexts PrizeTexts(const jvdata::TRecordRA& race);
// "【 賞　金 】1着:12,000  2着:4,800  ... (単位:千円)"
std::string FirstPrizeLine(const TPrizeTexts& prizes);
// "【付加賞金】1着:0  2着:0  ... (単位:千円)"
std::string AddedPrizeLine(const TPrizeTexts& prizes);

// True when the course record has a year (RC 13-16 neither blank nor "0000"); only then are
// its two lines printed.
bool HasCourseRecordYear(const jvdata::TRecordRC& record);
// "ﾚｺｰﾄﾞ:" + where and when the record was set, its kind, time and weather, and the holder
// with sex, year of birth and horse symbol.
std::string NewspaperRecordLine(const jvdata::TRecordRC& record);
// "騎手:" + jockey + "  斤量:" + weight ("57.0kg", empty when absent) + "  調教師:" + trainer.
std::string NewspaperRecordRiderLine(const jvdata::TRecordRC& record);

// ---- Runner row ---------------------------------------------------------------------------

// Career money in hundreds of yen as "%9d千円" of thousands of yen ("        0千円").
std::string CareerMoneyText(std::int64_t hundredYen);
// Career first-prize money (flat plus jump) and added money (flat plus jump) of a horse.
std::string CareerPrizeMoneyText(const jvdata::TRecordUM& horse);
std::string CareerAddedMoneyText(const jvdata::TRecordUM& horse);

// The six career-count groups printed, top to bottom: turf up to 1600 m, up to 2200 m, over
// 2200 m, then the same of dirt.
inline constexpr int kCareerLines = 6;
// Line 0..5: wins-seconds-thirds-others ("2-0-1-5"), others being 4th, 5th and unplaced.
std::string CareerCountLine(const jvdata::TRecordUM& horse, int line);

// ---- Past-run cell ------------------------------------------------------------------------

inline constexpr int kPastRunLines = 6;

// The six lines of one earlier run and its finishing position ("%2d", "-" when none). A run
// whose race has no year (RA 12-15 blank) is not printed: `shown` is false and the texts are
// empty.
struct TPastRunCell {
    bool shown = false;
    std::array<std::string, kPastRunLines> lines;
    std::string finish;
};
TPastRunCell PastRunCell(const jvdata::TRecordSE& run, const jvdata::TRecordRA& race);

} // namespace print
