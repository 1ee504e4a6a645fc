#include "race/TRaceDayData.h"

#include "jvdata/RecordLayout.h"

#include <algorithm>
#include <cstdio>

namespace race {

void TRaceDayData::Clear() {
    // Slot by slot: a whole blank TRaceDayData as a temporary would take 2.5 MB of stack.
    Races.fill(jvdata::TRecordRA{});
    CourseRecords.fill(jvdata::TRecordRC{});
    Payoffs.fill(jvdata::TRecordHR{});
    for (int s = 0; s < kRaceSlots; ++s) {
        Runners[s].fill(jvdata::TRecordSE{});
        Horses[s].fill(jvdata::TRecordUM{});
        for (int k = 0; k < kRunnerSlots; ++k) {
            PastRuns[s][k].fill(jvdata::TRecordSE{});
            PastRaces[s][k].fill(jvdata::TRecordRA{});
        }
    }
    RaceCount = 0;
    PayoffTable = TPayoffTable{};
}

int RunnerCount(const jvdata::TRecordRA& race) noexcept {
    return std::clamp(race.Int(jvdata::RA::kRegisteredRunners), 0, kRunnerSlots);
}

bool HoldsRace(const jvdata::TRecordRA& race) noexcept {
    const std::string_view year = race.Year();
    return year.find_first_not_of(' ') != std::string_view::npos && year != "0000";
}

std::vector<TRaceTab> RaceTabs(const TRaceDayData& day) {
    std::vector<TRaceTab> tabs;
    for (int s = 0; s < kRaceSlots; ++s) {
        const jvdata::TRecordRA& race = day.Races[s];
        if (!HoldsRace(race)) {
            continue;
        }
        char label[16];
        const int n = std::snprintf(label, sizeof label, "%2dR", race.Int(jvdata::RA::kRaceNumber));
        tabs.push_back({s, std::string(label, static_cast<std::size_t>(n > 0 ? n : 0))});
    }
    return tabs;
}

} // namespace race
