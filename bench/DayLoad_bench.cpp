// Loading a full race day from a warm store: 12 races of 18 runners, each runner with a horse
// master and a history of eight runs of which the five before the day are taken, each earlier
// run's race in a result file. Prints the median load time and its ratio to the time of merely
// reading every file of the store once, and the median time of a race tab switch: every text of
// the race card and the results page built for one race.

#include "BenchSupport.h"
#include "files/WholeFile.h"
#include "jvdata/RecordLayout.h"
#include "race/DayLoad.h"
#include "race/RaceCard.h"
#include "support/RaceDayFixture.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

using keiba::bench::Clock;
using keiba::bench::HorseNumber;
using keiba::bench::Median;
using keiba::bench::Millis;

namespace fs = std::filesystem;
using namespace keiba::test;

constexpr int kRuns = 41;

// The Sundays before the day on which the horses ran, and the racecourses they ran at.
constexpr const char* kPastDates[] = {"20040425", "20040418", "20040411", "20040404",
                                      "20040328", "20040321", "20040314", "20040307"};
constexpr const char* kPastCourses[] = {"05", "06", "09"};

// Writes the day "2004年05月01日東京" and everything its runners need; returns the entry.
std::string WriteStore(const RaceDayStore& store) {
    const std::string entry = S("2004年05月01日東京");
    std::vector<jvdata::TRecordRA> races;
    std::vector<jvdata::TRecordSE> runners;
    std::vector<jvdata::TRecordHR> payoffs;
    const char* types[] = {"11", "12", "13", "14", "18", "23"};
    for (int r = 1; r <= 12; ++r) {
        RacePlan plan;
        plan.number = r;
        plan.runners = 18;
        plan.raceType = types[r % 6];
        plan.distance = r % 2 ? "1600" : "2000";
        plan.name = S("東京優駿");
        races.push_back(MakeRace(plan));
        payoffs.push_back(MakePayoff(races.back(), r % 18 + 1, 100 * r, 1));
        store.WriteCourseRecord(MakeCourseRecord("05", plan.raceType, plan.distance, plan.track),
                                "05", plan.raceType, plan.distance, plan.track);
        for (int h = 1; h <= 18; ++h) {
            const std::string number = HorseNumber(2000, r, h);
            runners.push_back(MakeRunner(races.back(), h, number, S("テストホース")));
            store.WriteHorseMaster(MakeHorseMaster(number, S("馬主")));
            // Oldest first, as the store keeps it; the last run is a later day, never taken.
            std::vector<jvdata::TRecordSE> history;
            for (int p = 7; p >= 0; --p) {
                RacePlan past;
                past.date = kPastDates[p];
                past.course = kPastCourses[(r + h + p) % 3];
                past.number = (r + h + p) % 12 + 1;
                jvdata::TRecordSE run = MakeRunner(MakeRace(past), h, number);
                run.SetField(3, 11, "000000000");
                history.push_back(run);
            }
            RacePlan later;
            later.date = "20040509";
            history.push_back(MakeRunner(MakeRace(later), h, number));
            store.WriteHistory(number, history);
        }
    }
    store.WriteRaces(entry, races);
    store.WriteRunnerSlots(entry, runners);
    store.WritePayoffs(entry, payoffs);
    for (const char* date : kPastDates) {
        for (const char* course : kPastCourses) {
            std::vector<jvdata::TRecordRA> results;
            for (int n = 1; n <= 12; ++n) {
                RacePlan plan;
                plan.date = date;
                plan.course = course;
                plan.number = n;
                plan.runners = 16;
                results.push_back(MakeRace(plan));
            }
            store.WriteResults(results);
        }
    }
    return entry;
}

} // namespace

int main() {
    TempDir dir;
    const RaceDayStore store(dir.path());
    const std::string entry = WriteStore(store);

    std::vector<fs::path> files;
    std::uintmax_t bytes = 0;
    for (const auto& item : fs::recursive_directory_iterator(dir.path())) {
        if (item.is_regular_file()) {
            files.push_back(item.path());
            bytes += item.file_size();
        }
    }

    auto day = std::make_unique<race::TRaceDayData>();
    std::vector<double> loads;
    std::vector<double> reads;
    std::size_t sink = 0;
    for (int run = 0; run < kRuns + 1; ++run) {
        // Alternate the two so that both see the same warm cache; the first pair warms it.
        const Clock::time_point readStart = Clock::now();
        for (const fs::path& file : files) {
            sink += files::ReadWholeFile(file).bytes.size();
        }
        const Clock::time_point loadStart = Clock::now();
        const race::TDayLoadResult result = race::LoadRaceDay(dir.path(), entry, *day);
        const Clock::time_point loadEnd = Clock::now();
        if (!result.loaded() || day->RaceCount != 12 || day->PastRaces[11][17][4].IsBlank()) {
            std::fprintf(stderr, "the day did not load whole\n");
            return 1;
        }
        if (run > 0) {
            reads.push_back(Millis(loadStart - readStart));
            loads.push_back(Millis(loadEnd - loadStart));
        }
    }

    // A tab switch builds the card page (header lines and every grid row) and the results page
    // boxes of one race; switch through all twelve races in turn.
    std::vector<double> switches;
    for (int run = 0; run < kRuns * 12 + 12; ++run) {
        const int slot = run % 12;
        const Clock::time_point start = Clock::now();
        const auto card = race::CardPageLines(*day, slot);
        const auto results = race::ResultsPageLines(*day, slot);
        const Clock::time_point end = Clock::now();
        sink += card.size() + results.size();
        if (run >= 12) {
            switches.push_back(Millis(end - start));
        }
    }

    const double load = Median(loads);
    const double read = Median(reads);
    std::printf("store: %zu files, %.1f KB (12 races x 18 runners, 5 earlier runs each)\n",
                files.size(), static_cast<double>(bytes) / 1024.0);
    std::printf("day load, median of %d: %.2f ms\n", kRuns, load);
    std::printf("raw read of every file once, median of %d: %.2f ms\n", kRuns, read);
    std::printf("load / raw read: %.2f\n", load / read);
    std::printf("race tab switch (card and results texts), median of %zu: %.3f ms\n",
                switches.size(), Median(switches));
    std::printf("(%zu bytes read)\n", sink);
    return 0;
}
