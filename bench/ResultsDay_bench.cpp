// The date list and the load of a day known only from its results, on a store of the stand-in
// service's built-in season: the given number of weeks (26 unless an argument says otherwise)
// acquired into a fresh store, or with "--years N" the store of an N-year setup acquisition
// (kept in the build folder between runs), so that every day older than the date cut has its
// races only in its result file and its runners only in the horses' history files. Prints the
// median time of the date list as it is made (race files and result files) against its goal
// of 100 ms, of the list from the race files alone (what the list read before results days
// were listed), of loading the newest results day, one in the middle and the oldest, and of
// loading the coming weekend's card day.
#include "BenchSupport.h"
#include "SeasonBenchSupport.h"
#include "acquisition/HeadlessAcquisition.h"
#include "files/ProgramFolder.h"
#include "jvlink/standin/Catalogue.h"
#include "jvlink/standin/StandInJVLink.h"
#include "race/DateList.h"
#include "race/DayLoad.h"
#include "store/StoreLayout.h"
#include "store/StoreTestSupport.h"
#include "support/TestSupport.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using keiba::bench::Clock;
using keiba::bench::Median;
using keiba::bench::MedianMillis;
using keiba::bench::Millis;
using keiba::bench::Seconds;

namespace fs = std::filesystem;

constexpr int kRuns = 21;

// The date list as it was read from the race files of the DATA folder alone.
std::vector<std::string> CardDaysOnly(const fs::path& root) {
    std::vector<std::string> names;
    for (const auto& item : fs::directory_iterator(root / std::string(store::kDataFolder))) {
        if (auto name = files::TryTextFromPath(item.path().filename())) {
            names.push_back(std::move(*name));
        }
    }
    return race::DateListFromNames(std::move(names));
}

} // namespace

int main(int argc, char** argv) {
    keiba::test::TempDir fresh;
    keiba::test::TempDir settings;
    const Clock::time_point acquireStart = Clock::now();
    const keiba::bench::TBenchStore store =
        keiba::bench::StoreOfArguments(argc, argv, 26, fresh.path(), settings.path());
    const fs::path& root = store.root;
    const int count = store.count;
    const bool setupYears = store.setupYears;
    if (root.empty()) {
        std::fprintf(stderr, "the built-in season could not be acquired\n");
        return 1;
    }
    std::size_t files = 0;
    for (const auto& item : fs::recursive_directory_iterator(root)) {
        files += item.is_regular_file() ? 1 : 0;
    }
    std::printf("store: %d %s of the built-in season, %zu files (made or checked in %.1f s)\n",
                count, setupYears ? "setup years" : "weeks", files,
                Seconds(Clock::now() - acquireStart));

    const std::vector<std::string> entries = race::MakeDateList(root).entries;
    std::vector<std::string> resultsDays; // newest first
    std::string cardDay;
    for (const std::string& entry : entries) {
        if (race::IsResultsDayEntry(entry)) {
            resultsDays.push_back(entry);
        } else if (cardDay.empty()) {
            cardDay = entry;
        }
    }
    std::printf("date list: %zu entries, %zu of them shown from results\n", entries.size(),
                resultsDays.size());

    std::size_t sink = 0;
    const double list =
        MedianMillis(kRuns, [&] { sink += race::MakeDateList(root).entries.size(); });
    const double cardsOnly = MedianMillis(kRuns, [&] { sink += CardDaysOnly(root).size(); });
    std::printf("date list, median of %d: %.2f ms, goal 100 ms: %s (race files alone: %.2f ms)\n",
                kRuns, list, list < 100 ? "met" : "MISSED", cardsOnly);

    auto day = std::make_unique<race::TRaceDayData>();
    const auto timeLoad = [&](const std::string& entry, const char* what) {
        if (entry.empty()) {
            return;
        }
        int runners = 0;
        const Clock::time_point first = Clock::now();
        race::LoadRaceDay(root, entry, *day);
        const double firstLoad = Millis(Clock::now() - first);
        const double load = MedianMillis(kRuns, [&] {
            const race::TDayLoadResult result = race::LoadRaceDay(root, entry, *day);
            runners = 0;
            for (int s = 0; s < day->RaceCount && result.loaded(); ++s) {
                for (int k = 0; k < race::kRunnerSlots; ++k) {
                    runners += day->Runners[s][k].IsBlank() ? 0 : 1;
                }
            }
        });
        std::printf("%s %s: %d races, %d runners; load, first %.2f ms, median of %d: %.2f ms\n",
                    what, keiba::test::Show(entry).c_str(), day->RaceCount, runners, firstLoad,
                    kRuns, load);
    };
    if (!resultsDays.empty()) {
        timeLoad(resultsDays.front(), "newest results day");
        timeLoad(resultsDays[resultsDays.size() / 2], "middle results day");
        timeLoad(resultsDays.back(), "oldest results day");
    }
    timeLoad(cardDay, "card day");
    std::printf("(%zu)\n", sink);
    return 0;
}
