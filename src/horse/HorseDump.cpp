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
                               std::optional<int> raceNumber, int horseTab, race::TRaceDayData& day,
                               const race::TDayRunnersHint& runners) {
    THorseDumpResult result;
    const race::TDayRace shown = race::LoadDayRace(dataRoot, entry, raceNumber, day, runners);
    switch (shown.status) {
    case race::TDayPageStatus::Shown:
        break;
    case race::TDayPageStatus::UnknownDay:
        result.status = THorseDumpStatus::UnknownDay;
        break;
    case race::TDayPageStatus::ReadFailed:
        result.status = THorseDumpStatus::ReadFailed;
        break;
    case race::TDayPageStatus::UnknownRace:
        result.status = THorseDumpStatus::UnknownRace;
        break;
    }
    result.message = shown.message;
    if (!shown.shown()) {
        return result;
    }
    const jvdata::TRecordRA& race = day.Races[static_cast<std::size_t>(shown.slot)];
    result.raceNumber = shown.raceNumber;
    // One horse tab per registered runner, as the race card makes them.
    result.horseTabs = race::RunnerCount(race);
    if (horseTab < 1 || horseTab > result.horseTabs) {
        result.status = THorseDumpStatus::UnknownHorse;
        return result;
    }
    result.lines = HorseDumpLines(HorseTexts(day, shown.slot, horseTab - 1));
    return result;
}

} // namespace horse
