// One page of one race of a stored race day as text lines, for the command-line tool and for
// scripts: the day is loaded from the store as the main window loads it, the race is chosen by
// its number as the race tabs name it, and the page is the race card or the results.
#pragma once

#include "race/DayLoad.h"
#include "race/TRaceDayData.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace race {

// The pages a race shows as text.
enum class TDayPage {
    Card,    // 出馬表: header lines, grid header, one line per runner (CardPageLines)
    Results, // 成績結果: bet types with their boxes (ResultsPageLines)
};

// Why a page could not be given.
enum class TDayPageStatus {
    Shown,       // lines hold the page
    UnknownDay,  // the store has no complete race day of that entry
    ReadFailed,  // the day's files are there but could not be read
    UnknownRace, // the day has no race of that number
};

struct TDayPageResult {
    TDayPageStatus status = TDayPageStatus::Shown;
    std::string message;            // Shift-JIS text of a failure, empty when Shown
    int raceNumber = 0;             // the race shown (its tab's number)
    std::vector<std::string> lines; // Shift-JIS lines of the page, when Shown

    bool shown() const noexcept { return status == TDayPageStatus::Shown; }
};

// The race slot of the race tab numbered raceNumber (" 1R" is 1); nothing when no tab of the
// loaded day carries that number.
std::optional<int> SlotOfRaceNumber(const TRaceDayData& day, int raceNumber);

// The race a text page is asked of: its day loaded and the race found.
struct TDayRace {
    TDayPageStatus status = TDayPageStatus::Shown;
    std::string message; // Shift-JIS text of a failed load
    int slot = -1;       // the race's slot, when Shown
    int raceNumber = 0;  // its number as its tab shows it, when Shown

    bool shown() const noexcept { return status == TDayPageStatus::Shown; }
};

// Loads the day of entry (a date-list entry, Shift-JIS) from the store under dataRoot into day
// and finds the race numbered raceNumber, or the day's first race when none is given. day is
// working space (about 2.5 MB): the caller keeps one. runners, when given, tells a day shown
// from results where to find its horses first (see LoadRaceDay).
TDayRace LoadDayRace(const std::filesystem::path& dataRoot, std::string_view entry,
                     std::optional<int> raceNumber, TRaceDayData& day,
                     const TDayRunnersHint& runners = {});

// Loads the day of entry (a date-list entry, Shift-JIS) from the store under dataRoot into day
// and gives the page of the race numbered raceNumber, or of the day's first race when none is
// given. day is working space (about 2.5 MB): the caller keeps one.
TDayPageResult DayPageLines(const std::filesystem::path& dataRoot, std::string_view entry,
                            std::optional<int> raceNumber, TDayPage page, TRaceDayData& day,
                            const TDayRunnersHint& runners = {});

} // namespace race
