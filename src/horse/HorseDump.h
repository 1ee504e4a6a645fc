// The horse pages of one runner as text lines for scripts: one line per control in the order
// of horse::HorseLabels (StaticText1, "　馬情報１　", "　馬情報２　", "前走－１" to "前走－５"),
// each the control's name, a tab and the text exactly as the label holds it.
#pragma once

#include "horse/HorsePages.h"
#include "race/DayLoad.h"
#include "race/TRaceDayData.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace horse {

// Why the pages could not be given.
enum class THorseDumpStatus {
    Shown,        // lines hold the pages
    UnknownDay,   // the store has no complete race day of that entry
    ReadFailed,   // the day's files are there but could not be read
    UnknownRace,  // the day has no race of that number
    UnknownHorse, // the race has no horse tab of that number
};

struct THorseDumpResult {
    THorseDumpStatus status = THorseDumpStatus::Shown;
    std::string message;            // Shift-JIS text of a failure, empty when Shown
    int raceNumber = 0;             // the race shown (its tab's number), when known
    int horseTabs = 0;              // the race's horse tabs, when the race is known
    std::vector<std::string> lines; // Shift-JIS lines, when Shown

    bool shown() const noexcept { return status == THorseDumpStatus::Shown; }
};

// The dump lines of texts in HorseLabels order: name, tab, text.
std::vector<std::string> HorseDumpLines(const THorseTexts& texts);

// Loads the day of entry (a date-list entry, Shift-JIS) from the store under dataRoot into day
// and gives the horse pages of horse tab horseTab (1 for the first) of the race numbered
// raceNumber, or of the day's first race when none is given. day is working space.
THorseDumpResult HorsePageDump(const std::filesystem::path& dataRoot, std::string_view entry,
                               std::optional<int> raceNumber, int horseTab, race::TRaceDayData& day,
                               const race::TDayRunnersHint& runners = {});

} // namespace horse
