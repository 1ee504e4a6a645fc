// The store's index on a store of the stand-in service's built-in season: the given number of
// weeks (104 unless the first argument says otherwise) acquired into a fresh store. Prints, in
// one run:
//   - reading every file the index is made from once, and building the index from them, with
//     the ratio (the aim: the build within 2x the reading);
//   - one more week acquired into copies of that store, with the index kept up by the
//     acquisition and without an index, with the ratio (the aim: at most 10 % slower);
//   - a search by part of a name and the statistics of the jockey with the most runs (the
//     aim: each under 50 ms).
// The week is the built-in season of one week before a date a week later; each timed run
// acquires it into its own copy of the store, so every run writes the same files.
#include "BenchSupport.h"
#include "SeasonBenchSupport.h"
#include "archive/ArchiveQueries.h"
#include "archive/StoreIndex.h"
#include "files/WholeFile.h"
#include "jvdata/SjisText.h"
#include "store/StoreLayout.h"
#include "store/StoreTestSupport.h"
#include "support/TestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
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
constexpr int kWeekRuns = 3;

bool EndsWith(const fs::path& path, std::string_view ext) {
    std::string name = path.filename().string();
    for (char& c : name) {
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return name.size() > ext.size() && name.ends_with(ext);
}

// Reads every file the index is made from once; the bytes read.
std::size_t ReadIndexedFiles(const fs::path& root) {
    std::size_t bytes = 0;
    for (const auto& item : fs::recursive_directory_iterator(root)) {
        const fs::path& path = item.path();
        if (item.is_regular_file() && (EndsWith(path, ".jvsera") || EndsWith(path, ".jvsei") ||
                                       EndsWith(path, ".jvum2") || EndsWith(path, ".jvhr"))) {
            bytes += files::ReadWholeFile(path).bytes.size();
        }
    }
    return bytes;
}

// Acquires the week after the store's season into a copy of the store; its time in ms.
double AcquireWeek(const fs::path& base, const standin::TCatalogue& week, bool withIndex) {
    keiba::test::TempDir copy;
    fs::copy(base, copy.path(), fs::copy_options::recursive);
    if (!withIndex) {
        fs::remove(archive::StoreIndexPath(copy.path()));
    }
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
    request.fromTime = "19990101000000";
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
        link, request, keiba::storetest::FixedClock(2026, 1, 8), cancel, sink);
    const double ms = Millis(Clock::now() - start);
    if (!result.Succeeded() || (withIndex && !result.loop.followerNote.empty())) {
        std::fprintf(stderr, "the week could not be acquired\n");
        std::exit(1);
    }
    return ms;
}

} // namespace

int main(int argc, char** argv) {
    const int weeks = argc > 1 ? std::atoi(argv[1]) : 104;
    keiba::test::TempDir root;
    keiba::test::TempDir settings;
    const Clock::time_point acquireStart = Clock::now();
    if (weeks < 1 ||
        !keiba::bench::AcquireSeason(root.path(), settings.path(), weeks, 2026, 1, 1)) {
        std::fprintf(stderr, "the built-in season could not be acquired\n");
        return 1;
    }
    std::printf("store: %d weeks of the built-in season (acquired in %.1f s)\n", weeks,
                Seconds(Clock::now() - acquireStart));

    ReadIndexedFiles(root.path()); // warm the cache as the build finds it after an acquisition
    // Wall time, and the processor time of every thread (what the machine's other work does
    // not stretch).
    const Clock::time_point readStart = Clock::now();
    const std::clock_t readCpu = std::clock();
    const std::size_t bytes = ReadIndexedFiles(root.path());
    const double read = Millis(Clock::now() - readStart);
    const double readCpuMs = 1000.0 * static_cast<double>(std::clock() - readCpu) / CLOCKS_PER_SEC;
    const Clock::time_point buildStart = Clock::now();
    const std::clock_t buildCpu = std::clock();
    archive::TIndexOpenResult built = archive::RebuildStoreIndex(root.path());
    const double build = Millis(Clock::now() - buildStart);
    const double buildCpuMs =
        1000.0 * static_cast<double>(std::clock() - buildCpu) / CLOCKS_PER_SEC;
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
    std::printf("reading the files once: %.0f ms (%.1f MB); building the index: %.0f ms; "
                "ratio %.2f (aim: at most 2)\n",
                read, static_cast<double>(bytes) / 1e6, build, build / read);
    std::printf("  processor time: reading %.0f ms, building %.0f ms; ratio %.2f\n", readCpuMs,
                buildCpuMs, buildCpuMs / readCpuMs);
    const Clock::time_point openStart = Clock::now();
    archive::TIndexOpenResult opened = archive::OpenStoreIndex(root.path());
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

    // One more week, with and without the index kept up.
    standin::TSeasonOptions weekOptions;
    weekOptions.today = "20260108";
    weekOptions.weeks = 1;
    const standin::TCatalogue week = standin::GenerateSeason(weekOptions);
    std::vector<double> with;
    std::vector<double> without;
    for (int run = 0; run < kWeekRuns; ++run) {
        without.push_back(AcquireWeek(root.path(), week, false));
        with.push_back(AcquireWeek(root.path(), week, true));
    }
    const double plain = Median(without);
    const double kept = Median(with);
    std::printf("one week acquired, median of %d: %.0f ms without an index, %.0f ms with the index "
                "kept up; %+.1f %% (aim: at most +10 %%)\n",
                kWeekRuns, plain, kept, 100.0 * (kept - plain) / plain);
    return 0;
}
