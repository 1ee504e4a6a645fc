// The race day in memory: the records of one date and racecourse that every race view reads,
// copied from the store by the day load (DayLoad.h) and left unchanged until the next load.
//
// Every member holds whole JV-Data records (CR LF included) in fixed-size blocks; a slot that
// received no record holds a blank record (blanks and CR LF). Race slot s (0 to 11) is the
// s-th race record of the day's race file, normally race number s + 1; runner slot k (0 to 17)
// is horse number k + 1; past-run entry p (0 to 4) is the p-th most recent earlier run of the
// runner, entry 0 the latest. The value is about 2.5 MB: hold it in one long-lived allocation
// (the main window owns one) and let each load overwrite it; nothing in it grows.
#pragma once

#include "jvdata/Records.h"
#include "race/PayoffTable.h"

#include <array>
#include <string>
#include <vector>

namespace race {

// Capacities of a race day: races a day (kRaceSlots, PayoffTable.h), runners a race, earlier
// runs kept per runner. Records beyond them are not read.
inline constexpr int kRunnerSlots = 18;
inline constexpr int kPastRunSlots = 5;

template <class T, int N>
using TSlots = std::array<T, static_cast<std::size_t>(N)>;

// Runners of one race, by runner slot (horse number - 1).
using TRaceRunners = TSlots<jvdata::TRecordSE, kRunnerSlots>;
// Horse masters of one race's runners, by runner slot.
using TRaceHorses = TSlots<jvdata::TRecordUM, kRunnerSlots>;
// Earlier runs of one runner (SE), entry 0 the most recent.
using TRunnerPastRuns = TSlots<jvdata::TRecordSE, kPastRunSlots>;
// Race records (RA) of one runner's earlier runs, entry by entry as TRunnerPastRuns.
using TRunnerPastRaces = TSlots<jvdata::TRecordRA, kPastRunSlots>;

// The records of the chosen date and racecourse.
struct TRaceDayData {
    // RA: the day's race records in the order of the day's race file.
    TSlots<jvdata::TRecordRA, kRaceSlots> Races;
    // RC: the course record for each race's racecourse, race type, distance and track.
    TSlots<jvdata::TRecordRC, kRaceSlots> CourseRecords;
    // HR: the payoff record of each race, matched by the race key.
    TSlots<jvdata::TRecordHR, kRaceSlots> Payoffs;
    // SE: the runners of each race, [race slot][runner slot].
    TSlots<TRaceRunners, kRaceSlots> Runners;
    // UM: the horse master of each runner, [race slot][runner slot].
    TSlots<TRaceHorses, kRaceSlots> Horses;
    // SE: each runner's five most recent runs before the race, [race][runner][entry].
    TSlots<TSlots<TRunnerPastRuns, kRunnerSlots>, kRaceSlots> PastRuns;
    // RA: the race record of each entry of PastRuns, [race][runner][entry].
    TSlots<TSlots<TRunnerPastRaces, kRunnerSlots>, kRaceSlots> PastRaces;
    // Race records read from the day's race file, 0 to 12.
    int RaceCount = 0;
    // The parsed payoffs of each race slot, from Payoffs.
    TPayoffTable PayoffTable;

    // Every record slot blank, RaceCount 0, no payoff entries: the state before a first load.
    void Clear();
};

// The registered runners (RA 882-883) of a race as the day's runner slots hold them: the
// record's count limited to 0..18, so that a damaged or oversized count never reaches into
// the next race's runner slots. Every view counts a race's runners with this.
int RunnerCount(const jvdata::TRecordRA& race) noexcept;

// True when a race slot holds a race: its year (RA 12-15) is neither blank nor "0000".
bool HoldsRace(const jvdata::TRecordRA& race) noexcept;

// One race tab: the race slot it shows and its label.
struct TRaceTab {
    int slot = 0;      // race slot 0..11 of TRaceDayData
    std::string label; // race number "%2d" followed by "R" (" 1R" .. "12R"), Shift-JIS

    friend bool operator==(const TRaceTab&, const TRaceTab&) = default;
};

// The race tabs of a loaded day, in slot order: one for each race slot that HoldsRace. The load
// fills the race slots from slot 0 without gaps, so tab i shows slot i; a value filled some
// other way may leave slots out, and then a tab's `slot` names the slot it shows.
std::vector<TRaceTab> RaceTabs(const TRaceDayData& day);

} // namespace race
