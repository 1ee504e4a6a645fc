// The store's index on a store of the stand-in service's built-in season: the given number of
// weeks (104 unless the first argument says otherwise) acquired into a fresh store, or with
// "--years N" the store of an N-year setup acquisition (kept between runs under the build
// folder; ten years is the store the speed aims are set for). Prints, in one run:
//   - building the index, against reading once the files it is made from and against reading
//     once every file of the store, with the ratios (the aim: the build within 2x the reading);
//   - one more week acquired into copies of that store, with the index kept up by the
//     acquisition and without an index, with the ratio (the aim: at most 10 % slower);
//   - a search by part of a name and the statistics of the jockey with the most runs (the
//     aim: each under 50 ms).
// The week is the built-in season of one week before a date a week later; each timed run
// acquires it into its own copy of the store, so every run writes the same files.
// A day shown from results is also loaded with and without the index's list of its horses.
#include "BenchSupport.h"
#include "SeasonBenchSupport.h"
#include "archive/ArchiveQueries.h"
#include "archive/StoreIndex.h"
#include "files/WholeFile.h"
#include "jvdata/SjisText.h"
#include "race/DateList.h"
#include "race/DayLoad.h"
#include "store/StoreLayout.h"
#include "store/StoreTestSupport.h"
#include "support/TestSupport.h"

#include <cstdio>
#include <cstdlib>
#if !defined(_WIN32)
#include <unistd.h>
#endif
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using keiba::bench::Clock;
using keiba::bench::Median;
using keiba::bench::MedianMillis;
using keiba::bench::Millis;
using keiba::bench::Seconds;

namespace fs = std::filesystem;

constexpr int kRuns = 21;
constexpr int kWeekRuns = 5;
constexpr int kBuildRuns = 3;

bool EndsWith(const fs::path& path, std::string_view ext) {
    std::string name = path.filename().string();
    for (char& c : name) {
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return name.size() > ext.size() && name.ends_with(ext);
}

// Reads every file the index is made from once (or every file of the store); the bytes read.
std::size_t ReadStoreFiles(const fs::path& root, bool indexedOnly) {
    std::size_t bytes = 0;
    for (const auto& item : fs::recursive_directory_iterator(root)) {
        const fs::path& path = item.path();
        const bool indexed = EndsWith(path, ".jvsera") || EndsWith(path, ".jvsei") ||
                             EndsWith(path, ".jvum2") || EndsWith(path, ".jvhr");
        if (item.is_regular_file() && (indexed || !indexedOnly) &&
            path.filename().string().rfind("index.sqlite3", 0) != 0) {
            bytes += files::ReadWholeFile(path).bytes.size();
        }
    }
    return bytes;
}

// Acquires the week after the store's season into a copy of the store; its time in ms.
double AcquireWeek(const fs::path& base, const standin::TCatalogue& week, int day,
                   const std::string& fromTime, bool withIndex) {
    keiba::test::TempDir copy;
    fs::copy(base, copy.path(), fs::copy_options::recursive);
    if (!withIndex) {
        fs::remove(archive::StoreIndexPath(copy.path()));
    }
#if !defined(_WIN32)
    // The copy's pages written out first, so that neither timed run pays for the other's copy.
    ::sync();
#endif
    keiba::test::TempDir settings;
    standin::TStandInSettings options;
    options.downloadMsPerFile = 0;
    const fs::path file = settings.path() / "jvlink-standin.ini";
    standin::SaveSettings(file, options);
    standin::TStandInJVLink link(file, [&week](const standin::TStandInSettings&) {
        return standin::TCatalogueRead{week, {}};
    });
    link.JVInit("UNKNOWN");
    acquisition::TAcquisitionRequest request;
    request.fromTime = fromTime;
    request.root = copy.path();
    request.pollInterval = std::chrono::milliseconds(1);
    archive::TIndexFollower follower(copy.path());
    if (withIndex) {
        request.loop.follower = &follower;
    }
    std::atomic<bool> cancel{false};
    keiba::storetest::TRecordingSink sink;
    const Clock::time_point start = Clock::now();
    const auto result = acquisition::RunAcquisition(
        link, request, keiba::storetest::FixedClock(2026, 1, day), cancel, sink);
    const double ms = Millis(Clock::now() - start);
    if (!result.Succeeded() || (withIndex && !result.loop.followerNote.empty())) {
        std::fprintf(stderr, "the week could not be acquired\n");
        std::exit(1);
    }
    return ms;
}

} // namespace

int main(int argc, char** argv) {
    keiba::test::TempDir fresh;
    keiba::test::TempDir settings;
    const Clock::time_point acquireStart = Clock::now();
    const keiba::bench::TBenchStore store =
        keiba::bench::StoreOfArguments(argc, argv, 104, fresh.path(), settings.path());
    const fs::path& root = store.root;
    const int count = store.count;
    const bool setupYears = store.setupYears;
    if (root.empty()) {
        std::fprintf(stderr, "the built-in season could not be acquired\n");
        return 1;
    }
    std::printf("store: %d %s of the built-in season (made or checked in %.1f s)\n", count,
                setupYears ? "setup years" : "weeks", Seconds(Clock::now() - acquireStart));
    // The cache warmed as the build finds it after an acquisition; then each measure is the
    // median of a few runs, all in this one run of the bench.
    ReadStoreFiles(root, false);
    std::size_t indexedBytes = 0;
    std::size_t allBytes = 0;
    const double readIndexed =
        MedianMillis(kBuildRuns, [&] { indexedBytes = ReadStoreFiles(root, true); });
    const double readAll =
        MedianMillis(kBuildRuns, [&] { allBytes = ReadStoreFiles(root, false); });
    archive::TIndexOpenResult built;
    const double build = MedianMillis(kBuildRuns, [&] {
        built.index.reset(); // a file that is open is not replaced on Windows
        built = archive::RebuildStoreIndex(root);
    });
    if (!built.index || built.index->InMemory()) {
        std::fprintf(stderr, "the index could not be built\n");
        return 1;
    }
    const archive::TIndexCounts counts = built.index->Counts();
    std::printf("index: %lld files, %lld races, %lld runs, %lld horses, %lld jockeys, %lld "
                "trainers, %lld sires, %lld payoffs\n",
                static_cast<long long>(counts.files), static_cast<long long>(counts.races),
                static_cast<long long>(counts.runs), static_cast<long long>(counts.horses),
                static_cast<long long>(counts.jockeys), static_cast<long long>(counts.trainers),
                static_cast<long long>(counts.sires), static_cast<long long>(counts.payoffs));
    std::printf("medians of %d: building the index %.0f ms; reading once the files it is made "
                "from %.0f ms (%.1f MB), ratio %.2f; reading once every file of the store %.0f ms "
                "(%.1f MB), ratio %.2f (aim: at most 2)\n",
                kBuildRuns, build, readIndexed, static_cast<double>(indexedBytes) / 1e6,
                build / readIndexed, readAll, static_cast<double>(allBytes) / 1e6, build / readAll);
    const Clock::time_point openStart = Clock::now();
    archive::TIndexOpenResult opened = archive::OpenStoreIndex(root);
    std::printf("opening the index (with its quick check): %.0f ms\n",
                Millis(Clock::now() - openStart));
    const archive::TStoreIndex& index = *opened.index;

    // Search and statistics.
    std::string part;
    std::string jockey;
    {
        archive::sql::TStatement select(index.Database(),
                                        "SELECT name FROM horses ORDER BY code LIMIT 1");
        if (select.Step()) {
            part = Sjis::CutToWidth(select.Text(0), 4); // two kana
        }
        archive::sql::TStatement most(index.Database(),
                                      "SELECT jockey, count(*) AS n FROM runs WHERE jockey <> '' "
                                      "GROUP BY jockey ORDER BY n DESC LIMIT 1");
        if (most.Step()) {
            jockey = most.Text(0);
        }
    }
    std::size_t rows = 0;
    const double search = MedianMillis(kRuns, [&] {
        rows = archive::SearchRuns(index, archive::TSubjectKind::Horse, part).places.size();
    });
    std::printf("search of horses by \"%s\": %zu runs, median of %d: %.1f ms (aim: under 50)\n",
                Sjis::ToUtf8(part).c_str(), rows, kRuns, search);
    archive::TStatsRequest request;
    request.kind = archive::TSubjectKind::Jockey;
    request.code = jockey;
    std::string runs;
    const double stats = MedianMillis(kRuns, [&] {
        const archive::TStatsResult result = archive::Statistics(index, request);
        runs = result.sections.empty() ? "0" : result.sections[0].table.rows.at(0).at(1);
    });
    std::printf("statistics of jockey %s: %s runs, median of %d: %.1f ms (aim: under 50)\n",
                jockey.c_str(), runs.c_str(), kRuns, stats);
    opened.index.reset();
    built.index.reset();

    // A day shown from results (the middle one of the date list), its horses found by looking
    // through the crops and from the index.
    const std::vector<std::string> entries = race::MakeDateList(root).entries;
    std::vector<std::string> resultsDays;
    for (const std::string& entry : entries) {
        if (race::IsResultsDayEntry(entry)) {
            resultsDays.push_back(entry);
        }
    }
    if (!resultsDays.empty()) {
        const std::string& entry = resultsDays[resultsDays.size() / 2];
        auto day = std::make_unique<race::TRaceDayData>();
        const auto timeLoad = [&](const race::TDayRunnersHint& hint) {
            int runners = 0;
            const double ms = MedianMillis(kRuns, [&] {
                const bool loaded = race::LoadRaceDay(root, entry, *day, {}, hint).loaded();
                runners = 0;
                for (int s = 0; loaded && s < day->RaceCount; ++s) {
                    for (int k = 0; k < race::kRunnerSlots; ++k) {
                        runners += day->Runners[s][k].IsBlank() ? 0 : 1;
                    }
                }
            });
            return std::pair{ms, runners};
        };
        const auto [crops, cropRunners] = timeLoad({});
        const auto [indexed, indexedRunners] = timeLoad(archive::IndexedDayRunners(root));
        std::printf("results day \"%s\", median of %d: %d runners in %.1f ms through the crops, "
                    "%d runners in %.1f ms through the index\n",
                    Sjis::ToUtf8(entry).c_str(), kRuns, cropRunners, crops, indexedRunners,
                    indexed);
    }

    // One more week, with and without the index kept up: for a setup store, what the same
    // service publishes in the week after the setup (acquired at noon on 2026-01-07), so that
    // its horses are the store's; else the built-in season of one week a week later.
    standin::TSeasonOptions weekOptions;
    const int weekDay = setupYears ? 14 : 8;
    weekOptions.today = setupYears ? "20260114" : "20260108";
    weekOptions.weeks = 1;
    weekOptions.setupYears = setupYears ? count : 0;
    const std::string fromTime = setupYears ? "20260107120000" : "19990101000000";
    standin::TCatalogue week = standin::GenerateSeason(weekOptions);
    // Only what is new since then: the stand-in then opens a catalogue of a week's size, as
    // the service would serve it, rather than sift ten years each time.
    std::erase_if(week.files,
                  [&](const standin::TDataFile& file) { return file.timestamp <= fromTime; });
    std::vector<double> with;
    std::vector<double> without;
    for (int run = 0; run < kWeekRuns; ++run) {
        without.push_back(AcquireWeek(root, week, weekDay, fromTime, false));
        with.push_back(AcquireWeek(root, week, weekDay, fromTime, true));
    }
    const double plain = Median(without);
    const double kept = Median(with);
    std::printf("one week acquired, median of %d: %.0f ms without an index, %.0f ms with the index "
                "kept up; %+.1f %% (aim: at most +10 %%)\n",
                kWeekRuns, plain, kept, 100.0 * (kept - plain) / plain);
    return 0;
}
