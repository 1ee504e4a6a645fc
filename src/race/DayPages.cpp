#include "race/DayPages.h"

#include "jvdata/LenientInt.h"
#include "race/DayLoad.h"
#include "race/RaceCard.h"

namespace race {

std::optional<int> SlotOfRaceNumber(const TRaceDayData& day, int raceNumber) {
    for (const TRaceTab& tab : RaceTabs(day)) {
        // The tab's label is the race number in its first two characters, as the card reads it.
        if (jvdata::LenientInt(std::string_view(tab.label).substr(0, 2)) == raceNumber) {
            return tab.slot;
        }
    }
    return std::nullopt;
}

TDayRace LoadDayRace(const std::filesystem::path& dataRoot, std::string_view entry,
                     std::optional<int> raceNumber, TRaceDayData& day,
                     const TDayRunnersHint& runners) {
    TDayRace result;
    const TDayLoadResult load = LoadRaceDay(dataRoot, entry, day, {}, runners);
    if (!load.loaded()) {
        result.status = load.status == TDayLoadStatus::ReadFailed ? TDayPageStatus::ReadFailed
                                                                  : TDayPageStatus::UnknownDay;
        result.message = load.message;
        return result;
    }
    std::optional<int> slot;
    if (raceNumber) {
        slot = SlotOfRaceNumber(day, *raceNumber);
    } else if (!load.tabs.empty()) {
        slot = load.tabs.front().slot;
    }
    if (!slot) {
        result.status = TDayPageStatus::UnknownRace;
        return result;
    }
    result.slot = *slot;
    result.raceNumber = day.Races[static_cast<std::size_t>(*slot)].Int(jvdata::RA::kRaceNumber);
    return result;
}

TDayPageResult DayPageLines(const std::filesystem::path& dataRoot, std::string_view entry,
                            std::optional<int> raceNumber, TDayPage page, TRaceDayData& day,
                            const TDayRunnersHint& runners) {
    const TDayRace race = LoadDayRace(dataRoot, entry, raceNumber, day, runners);
    TDayPageResult result{race.status, race.message, race.raceNumber, {}};
    if (race.shown()) {
        result.lines = page == TDayPage::Card ? CardPageLines(day, race.slot)
                                              : ResultsPageLines(day, race.slot);
    }
    return result;
}

} // namespace race
