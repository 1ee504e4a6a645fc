// The race-day load: one date-list entry (a date and racecourse, such as "2004年05月01日東京")
// read from the store into TRaceDayData.
//
// The load reads the day's race file (.jvRA) and runner slot file (.jvSEr); for each race the
// course record (.jvRC), the runners, their horse masters (.jvUM2, converting an old .jvUMA
// master when the current one is missing) and their last five earlier runs (.jvSEI); then the
// payoffs (.jvHR), matched to the races by key, and the race record of every earlier run from
// the result files (.jvSERA); finally it parses the payoffs and lists the race tabs. Files are
// read whole, once each, and their records taken by position (record k at k times the record
// length); a record that is cut short or damaged reads as blank.
//
// The load fails, leaving TRaceDayData as it was, when the day's race file or runner slot file
// is missing or holds no race: the day's data are not complete yet.
//
// A results-day entry (the base name followed by the date list's mark "（成績）") names a day
// whose cards never came: its races are the final race records of its result file
// (SEIR\yyyy\yyyymmddJJ.jvSERA) and its runners the final runner records of that day in the
// horses' history files (.jvSEI), each in the slot of its horse number. Everything else (horse
// masters, earlier runs and their races, course records, payoffs from the day's .jvHR file if
// there is one) is read as for a card day. Such a load fails like a card day's when the result
// file is missing, unreadable or holds no race of the day. The store has no link from a day to
// its horses, so the history files are looked through crop by crop; a runners hint (the
// store's index knows who ran) names the horses to read first, and the crops are looked
// through only for the runners it did not give.
#pragma once

#include "race/TRaceDayData.h"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace race {

// The progress bar's maximum during a load: one step per race read (at most 12) and one per
// race slot while the earlier runs' races are read (always 12), so a 12-race day reaches the
// end and an 8-race day stops at 20.
inline constexpr int kDayLoadProgressMaximum = 24;

// Told the bar's new position, 1 to kDayLoadProgressMaximum, each time the load advances it by
// one step. The bar starts at 0 before the load begins.
using TDayLoadProgress = std::function<void(int position)>;

// The registration numbers of the horses that ran on a day (date and racecourse code, RA
// 12-21, such as "2004050105"), as something quicker than the history folders knows them. Only
// a hint: each horse's runs are still taken from its own history file, a horse named wrongly
// gives nothing, and the runners it leaves out are still looked for.
using TDayRunnersHint = std::function<std::vector<std::string>(std::string_view dateAndCourse)>;

// How a load ended.
enum class TDayLoadStatus {
    Loaded,     // TRaceDayData holds the day; tabs lists its races
    Incomplete, // the day's race file or runner slot file (or, for a results day, its result
                // file) is missing or holds no race
    ReadFailed, // one of those files is there but could not be read
};

// The outcome of a load. On any status but Loaded, TRaceDayData is untouched.
struct TDayLoadResult {
    TDayLoadStatus status = TDayLoadStatus::Incomplete; // what happened
    std::string message;        // Shift-JIS text for the user, empty when Loaded
    std::error_code system;     // the system's reason for ReadFailed
    std::vector<TRaceTab> tabs; // the race tabs, in slot order, when Loaded
    int progress = 0;           // the bar's last position (RaceCount + 12 when Loaded)

    bool loaded() const noexcept { return status == TDayLoadStatus::Loaded; }
};

// The message of an incomplete day: "データ作成が未完了のようです。", Shift-JIS.
const std::string& IncompleteDayMessage();

// Loads the day named by entry (a date-list entry, Shift-JIS: the base name of the day's
// files under the store's Data folder) from the store under dataRoot into day.
//
// Race slots take the race records of the day's race file in file order (at most 12; blank or
// damaged lines take no slot). The runners of a race are read from the runner slot file by the
// race's own number (slots (number - 1) x 18 onward), at most RunnerCount(race) of them, and a
// slot whose record names another race is left blank: the runners of a slot always belong to
// the race in it, even when the file's race numbers have a gap. A horse master conversion that
// fails, and any secondary file that is missing or unreadable, leave their slots blank.
TDayLoadResult LoadRaceDay(const std::filesystem::path& dataRoot, std::string_view entry,
                           TRaceDayData& day, const TDayLoadProgress& progress = {},
                           const TDayRunnersHint& runners = {});

} // namespace race
