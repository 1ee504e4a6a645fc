#include "horse/HorseDump.h"

#include "race/DayLoad.h"
#include "race/DayPages.h"

namespace horse {

std::vector<std::string> HorseDumpLines(const THorseTexts& texts) {
    std::vector<std::string> lines;
    lines.reserve(texts.size());
    const auto labels = HorseLabels();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        std::string line(labels[i].name);
        line += '\t';
        line += texts[i];
        lines.push_back(std::move(line));
    }
    return lines;
}

THorseDumpResult HorsePageDump(const std::filesystem::path& dataRoot, std::string_view entry,
                               std::optional<int> raceNumber, int horseTab,
                               race::TRaceDayData& day) {
    THorseDumpResult result;
    const race::TDayLoadResult load = race::LoadRaceDay(dataRoot, entry, day);
    if (!load.loaded()) {
        result.status = load.status == race::TDayLoadStatus::ReadFailed
                            ? THorseDumpStatus::ReadFailed
                            : THorseDumpStatus::UnknownDay;
        result.message = load.message;
        return result;
    }
    std::optional<int> slot;
    if (raceNumber) {
        slot = race::SlotOfRaceNumber(day, *raceNumber);
    } else if (!load.tabs.empty()) {
        slot = load.tabs.front().slot;
    }
    if (!slot) {
        result.status = THorseDumpStatus::UnknownRace;
        return result;
    }
    const jvdata::TRecordRA& race = day.Races[static_cast<std::size_t>(*slot)];
    result.raceNumber = race.Int(jvdata::RA::kRaceNumber);
    // One horse tab per registered runner, as the race card makes them.
    result.horseTabs = race::RunnerCount(race);
    if (horseTab < 1 || horseTab > result.horseTabs) {
        result.status = THorseDumpStatus::UnknownHorse;
        return result;
    }
    result.lines = HorseDumpLines(HorseTexts(day, *slot, horseTab - 1));
    return result;
}

} // namespace horse
