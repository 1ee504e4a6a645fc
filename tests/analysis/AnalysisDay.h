// A race day built in memory for the speed figure tests: one race with runners and their
// earlier runs, each field written at the 1-based positions of the record layouts.
#pragma once

#include "race/TRaceDayData.h"
#include "support/TestSupport.h"

#include <memory>
#include <string>
#include <string_view>

namespace keiba::test {

// One earlier run: SE 339-342 race time, 391-393 last three furlongs, 335-336 final position,
// 364-365 win popularity; RA 698-701 distance and 882-883 registered runners of its race.
// An empty distance leaves the race record blank (not found).
struct PastRun {
    std::string time = "1345";
    std::string last3f = "345";
    std::string finish = "03";
    std::string popularity = "05";
    std::string distance = "1600";
    std::string runners = "16";
};

class AnalysisDay {
public:
    // Race slot 0 with the number of runners (RA 882-883) and a name per runner.
    explicit AnalysisDay(int runners) : day_(std::make_unique<race::TRaceDayData>()) {
        day_->RaceCount = 1;
        day_->Races[0].SetField(12, 19, "20040501");
        day_->Races[0].SetField(882, 883, std::to_string(runners));
        for (int k = 0; k < runners; ++k) {
            auto& se = day_->Runners[0][static_cast<std::size_t>(k)];
            se.SetField(28, 28, std::to_string(k / 2 + 1));
            se.SetField(29, 30, std::to_string(k + 1));
            se.SetField(41, 76, S("テストホース") + std::to_string(k + 1));
        }
    }

    // Writes earlier run `entry` (0 the most recent) of runner slot k.
    void Run(int k, int entry, const PastRun& run) {
        auto& se = day_->PastRuns[0][static_cast<std::size_t>(k)][static_cast<std::size_t>(entry)];
        se.SetField(1, 2, "SE");
        se.SetField(339, 342, run.time);
        se.SetField(391, 393, run.last3f);
        se.SetField(335, 336, run.finish);
        se.SetField(364, 365, run.popularity);
        if (!run.distance.empty()) {
            auto& ra =
                day_->PastRaces[0][static_cast<std::size_t>(k)][static_cast<std::size_t>(entry)];
            ra.SetField(1, 2, "RA");
            ra.SetField(698, 701, run.distance);
            ra.SetField(882, 883, run.runners);
        }
    }

    race::TRaceDayData& day() { return *day_; }

private:
    std::unique_ptr<race::TRaceDayData> day_;
};

} // namespace keiba::test
