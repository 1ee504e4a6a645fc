// Drawing the newspaper of a full race day: the stand-in service's built-in season is acquired
// into a fresh store, the first day with 12 races (the one with the most runners when there
// are several) is loaded, and its twelve pages are drawn into the page recorder again and
// again. Prints the median time of one drawing of the whole day, of one page, and of listing
// the day's operations as text (what tomberly-cli print --ops does after the drawing).
#include "BenchSupport.h"
#include "SeasonBenchSupport.h"
#include "acquisition/HeadlessAcquisition.h"
#include "jvdata/RecordLayout.h"
#include "jvlink/standin/Catalogue.h"
#include "jvlink/standin/StandInJVLink.h"
#include "print/Newspaper.h"
#include "print/PageCanvas.h"
#include "race/DateList.h"
#include "race/DayLoad.h"
#include "store/StoreTestSupport.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using keiba::bench::Clock;
using keiba::bench::Median;
using keiba::bench::Millis;

namespace fs = std::filesystem;

constexpr int kRuns = 41;

int Runners(const race::TRaceDayData& day) {
    int runners = 0;
    for (int r = 0; r < day.RaceCount; ++r) {
        runners += race::RunnerCount(day.Races[static_cast<std::size_t>(r)]);
    }
    return runners;
}

} // namespace

int main() {
    keiba::test::TempDir root;
    keiba::test::TempDir settings;
    if (!keiba::bench::AcquireSeason(root.path(), settings.path(), 1, 2026, 1, 12)) {
        std::fprintf(stderr, "the built-in season could not be acquired\n");
        return 1;
    }

    auto day = std::make_unique<race::TRaceDayData>();
    std::string chosen;
    int most = -1;
    for (const std::string& entry : race::MakeDateList(root.path()).entries) {
        if (race::LoadRaceDay(root.path(), entry, *day).loaded() && day->RaceCount == 12 &&
            Runners(*day) > most) {
            most = Runners(*day);
            chosen = entry;
        }
    }
    if (chosen.empty() || !race::LoadRaceDay(root.path(), chosen, *day).loaded()) {
        std::fprintf(stderr, "the season has no day of 12 races\n");
        return 1;
    }

    print::TPageRecorder pages;
    std::vector<double> days;
    std::vector<double> lists;
    std::size_t ops = 0;
    std::size_t bytes = 0;
    for (int run = 0; run < kRuns + 1; ++run) {
        const Clock::time_point start = Clock::now();
        const std::vector<int> slots = print::DrawNewspaper(*day, pages);
        const Clock::time_point drawn = Clock::now();
        const std::string text = print::PageOpsText(pages.Pages());
        const Clock::time_point listed = Clock::now();
        if (slots.size() != 12) {
            std::fprintf(stderr, "the day drew %zu pages, not 12\n", slots.size());
            return 1;
        }
        if (run > 0) {
            days.push_back(Millis(drawn - start));
            lists.push_back(Millis(listed - drawn));
        }
        ops = 0;
        for (const auto& page : pages.Pages()) {
            ops += page.size();
        }
        bytes = text.size();
    }

    std::printf("day: 12 races, %d runners, %zu drawing operations, %zu bytes as --ops text\n",
                most, ops, bytes);
    std::printf("newspaper of the day into the recorder, median of %d: %.2f ms (%.3f ms a page)\n",
                kRuns, Median(days), Median(days) / 12.0);
    std::printf("operations as text, median of %d: %.2f ms\n", kRuns, Median(lists));
    return 0;
}
