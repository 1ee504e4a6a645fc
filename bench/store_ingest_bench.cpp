// Ingest of one synthetic year into the store: the batched read loop (each flush's files synced
// to disk together, then renamed) against the record-by-record reference, and both against the
// time it takes merely to write the finished store's bytes: plainly (the floor), and atomically
// with one sync per file (the per-file reference of durability). Goal: an empty-store year
// within 3 times the plain-write floor, and a full-store rerun that changes nothing.
//
//   store_ingest_bench [--dir FOLDER] [--weeks N] [--reference-weeks N] [--synthetic]
//                      [--rounds N] [--once]
//
// The year is the stand-in service's built-in season (standin::GenerateSeason: 52 weeks of
// results, their horse masters and course records, and the coming weekend's card), or with
// --synthetic the simpler season of the store's tests.
// FOLDER is where the stores are made (default: the system's temporary folder; give a folder
// on the disk that will hold the real store). The reference loads, sorts and saves a file for
// every record and syncs each to disk, which takes minutes for a year: --reference-weeks N
// runs it over the first N weeks only (0, the default, is the whole year); its rate is what
// is compared. The empty-store ingest and the plain write take turns N times (default 3); the
// medians are compared. --once runs only the empty-store ingests, for a profiler.
#include "BenchSupport.h"
#include "files/WholeFile.h"
#include "jvdata/SjisText.h"
#include "jvlink/standin/Catalogue.h"
#include "store/ReadLoop.h"
#include "store/StoreTestSeason.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#if !defined(_WIN32)
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace {

using keiba::bench::Median;
using keiba::bench::Seconds;

namespace fs = std::filesystem;
using keiba::storetest::TFeedFile;
using keiba::storetest::TFeedJVLink;

// A sink that shows nothing.
class TQuietSink final : public store::IReadLoopSink {
public:
    void ProgressText(const std::string&) override {}
    void ReadingBarMax(int) override {}
    void ReadingBar(int) override {}
    void DownloadBar(int) override {}
    void MadeFile(const std::string&) override { ++made; }
    void Beep() override {}
    void InformationBox(const std::string&) override {}
    void ErrorBox(const std::string& text) override {
        std::fprintf(stderr, "store error: %s\n", Sjis::ToUtf8(text).c_str());
    }
    void ProcessPendingEvents() override {}
    std::size_t made = 0;
};

// CPU seconds this process has spent in its own code and in the system's.
struct TCpu {
    double user = 0;
    double system = 0;
};

TCpu CpuNow() {
    TCpu cpu;
#if !defined(_WIN32)
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    cpu.user = static_cast<double>(usage.ru_utime.tv_sec) + usage.ru_utime.tv_usec / 1e6;
    cpu.system = static_cast<double>(usage.ru_stime.tv_sec) + usage.ru_stime.tv_usec / 1e6;
#endif
    return cpu;
}

struct TRun {
    double seconds = 0;
    TCpu cpu; // spent during the run
    std::size_t records = 0;
    bool ok = false;
    double Rate() const { return seconds > 0 ? static_cast<double>(records) / seconds : 0; }
};

TRun Ingest(const std::vector<TFeedFile>& files, const fs::path& root, store::TStoreWriteMode mode,
            const store::TLocalDateTime& now) {
    TFeedJVLink link(files);
    std::atomic<bool> cancel{false};
    TQuietSink sink;
    store::TReadLoopOptions options;
    options.mode = mode;
    const auto clock = [now] { return now; };
    const TCpu cpu = CpuNow();
    const auto start = std::chrono::steady_clock::now();
    const store::TReadLoopResult result =
        store::RunReadLoop(link, link.FileCount(), clock, root, cancel, sink, options);
    TRun run;
    run.seconds = Seconds(std::chrono::steady_clock::now() - start);
    run.cpu = CpuNow();
    run.cpu.user -= cpu.user;
    run.cpu.system -= cpu.system;
    run.records = result.records;
    run.ok = result.Completed();
    return run;
}

// Every file under root: relative path -> bytes.
std::map<fs::path, std::string> Snapshot(const fs::path& root) {
    std::map<fs::path, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            files[entry.path().lexically_relative(root)] = files::ReadWholeFile(entry.path()).bytes;
        }
    }
    return files;
}

std::size_t Bytes(const std::map<fs::path, std::string>& files) {
    std::size_t bytes = 0;
    for (const auto& [path, content] : files) {
        bytes += content.size();
    }
    return bytes;
}

// Writes the files under root, atomically as the store does, or plainly.
double WriteAll(const std::map<fs::path, std::string>& files, const fs::path& root, bool atomic) {
    const auto start = std::chrono::steady_clock::now();
    for (const auto& [path, content] : files) {
        const fs::path target = root / path;
        if (atomic) {
            if (files::ReplaceWholeFile(target, content, true)) {
                std::fprintf(stderr, "cannot write %s\n", target.string().c_str());
            }
        } else {
            fs::create_directories(target.parent_path());
            std::ofstream(target, std::ios::binary)
                .write(content.data(), static_cast<std::streamsize>(content.size()));
        }
    }
    return Seconds(std::chrono::steady_clock::now() - start);
}

// Brings every file system's unwritten bytes to disk.
void SyncEverything() {
#if !defined(_WIN32)
    sync();
#endif
}

void Line(const char* what, const TRun& run) {
    std::printf("  %-44s %8zu records %9.2f s %10.0f records/s%s\n", what, run.records, run.seconds,
                run.Rate(), run.ok ? "" : "  (FAILED)");
}

// The year to ingest and the first weeks of it, as files of records.
struct TYear {
    const char* source = "";
    std::vector<TFeedFile> season;
    std::vector<TFeedFile> prefix;
    store::TLocalDateTime now; // the clock of the runs: the day the season ends
};

TYear MakeYear(int weeks, int referenceWeeks, bool synthetic) {
    TYear year;
    if (!synthetic) {
        auto feed = [](const standin::TCatalogue& catalogue) {
            std::vector<TFeedFile> files;
            for (const auto& file : catalogue.files) {
                files.push_back({file.name, file.records});
            }
            return files;
        };
        standin::TSeasonOptions options;
        options.today = "20260101";
        options.weeks = weeks;
        year.source = "standin::GenerateSeason";
        year.season = feed(standin::GenerateSeason(options));
        options.weeks = referenceWeeks;
        year.prefix =
            referenceWeeks == weeks ? year.season : feed(standin::GenerateSeason(options));
        year.now = {2026, 1, 1, 12, 0, 0};
        return year;
    }
    keiba::storetest::TSeasonShape shape;
    shape.weeks = weeks;
    year.source = "the store tests' synthetic season";
    year.season = keiba::storetest::MakeSeason(shape);
    shape.weeks = referenceWeeks;
    shape.card = referenceWeeks == weeks;
    year.prefix = keiba::storetest::MakeSeason(shape);
    year.now = {2005, 1, 3, 12, 0, 0};
    return year;
}

} // namespace

int main(int argc, char** argv) {
    fs::path base = fs::temp_directory_path();
    int weeks = 52;
    int referenceWeeks = 0; // the whole year
    bool synthetic = false;
    bool once = false;
    int rounds = 3;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--synthetic") {
            synthetic = true;
        } else if (arg == "--once") {
            once = true;
        } else if (i + 1 < argc && arg == "--rounds") {
            rounds = std::max(1, std::stoi(argv[++i]));
        } else if (i + 1 < argc && arg == "--dir") {
            base = argv[++i];
        } else if (i + 1 < argc && arg == "--weeks") {
            weeks = std::stoi(argv[++i]);
        } else if (i + 1 < argc && arg == "--reference-weeks") {
            referenceWeeks = std::stoi(argv[++i]);
        } else {
            std::fprintf(stderr, "unknown argument: %s\n", arg.c_str());
            return 2;
        }
    }
    if (referenceWeeks <= 0 || referenceWeeks > weeks) {
        referenceWeeks = weeks;
    }
    const fs::path folder = base / ("store-bench-" + std::to_string(std::random_device{}()));
    fs::create_directories(folder);

    const TYear year = MakeYear(weeks, referenceWeeks, synthetic);
    const auto& season = year.season;
    const auto& prefix = year.prefix;
    const store::TLocalDateTime now = year.now;
    std::size_t races = 0;
    std::size_t runners = 0;
    std::size_t horses = 0;
    std::size_t records = 0;
    for (const auto& file : season) {
        for (const auto& record : file.records) {
            const bool final =
                record.size() > 2 && (record[2] == '7' || record[2] == 'A' || record[2] == 'B');
            races += final && record.starts_with("RA");
            runners += final && record.starts_with("SE");
            horses += record.starts_with("UM");
            records += record.starts_with("RC");
        }
    }
    std::printf("season (%s): %d weeks, %zu races, %zu runners, %zu horse masters, %zu course "
                "records; %zu records in %zu files\n",
                year.source, weeks, races, runners, horses, records,
                keiba::storetest::RecordCount(season), season.size());
    std::printf("stores under %s\n\n", folder.string().c_str());

    // File systems make the first files after a mass deletion slow to create (ext4 without a
    // journal passes over every inode freed in the last half minute, as the stores of a previous
    // run are): an untimed ingest takes that cost and gives the finished store's bytes, then
    // the ingest and the plain write of the same bytes take turns on equal terms.
    std::printf("ingest of the year (%d rounds after an untimed one)\n", rounds);
    const TRun warmup = Ingest(season, folder / "warmup", store::TStoreWriteMode::Batched, now);
    const auto finished = Snapshot(folder / "warmup");
    std::vector<double> emptyTimes;
    std::vector<double> plainTimes;
    std::vector<double> syncTimes; // of the plain writes' bytes
    std::vector<double> roundRatios;
    TRun empty = warmup;
    for (int round = 0; round < rounds; ++round) {
        const std::string n = std::to_string(round);
        // The plain write's bytes are brought to disk untimed, so that the ingest's sync does
        // not pay for them.
        auto writePlain = [&] {
            const double seconds = WriteAll(finished, folder / ("floor-plain-" + n), false);
            const auto syncStart = std::chrono::steady_clock::now();
            SyncEverything();
            syncTimes.push_back(Seconds(std::chrono::steady_clock::now() - syncStart));
            return seconds;
        };
        double plain = 0;
        if (round % 2 == 1) {
            plain = writePlain();
        }
        const TRun run =
            Ingest(season, folder / ("batched-" + n), store::TStoreWriteMode::Batched, now);
        if (round % 2 == 0) {
            plain = writePlain();
        }
        std::printf("  round %d: batched into an empty store %.2f s (cpu: %.2f s own, %.2f s "
                    "system), plain write %.2f s: %.2f\n",
                    round + 1, run.seconds, run.cpu.user, run.cpu.system, plain,
                    run.seconds / std::max(1e-9, plain));
        empty.ok = empty.ok && run.ok;
        emptyTimes.push_back(run.seconds);
        plainTimes.push_back(plain);
        roundRatios.push_back(run.seconds / std::max(1e-9, plain));
    }
    empty.seconds = Median(emptyTimes);
    const double floorPlain = Median(plainTimes);
    Line("batched, into an empty store (median)", empty);
    if (once) {
        std::error_code error;
        fs::remove_all(folder, error);
        return empty.ok ? 0 : 1;
    }
    const TRun full = Ingest(season, folder / "warmup", store::TStoreWriteMode::Batched, now);
    Line("batched, the same year into the full store", full);
    const bool unchanged = Snapshot(folder / "warmup") == finished;
    std::printf("  the full-store rerun left every file as it was: %s\n", unchanged ? "yes" : "NO");

    const double floorAtomic = WriteAll(finished, folder / "floor-atomic", true);
    std::printf("  finished store: %zu files, %.1f MB\n", finished.size(),
                static_cast<double>(Bytes(finished)) / 1e6);
    std::printf("  floor: writing those bytes atomically (temporary file, sync, rename) %.2f s, "
                "plainly %.2f s (median)\n",
                floorAtomic, floorPlain);
    std::printf("  one sync after a plain write: %.2f s more (median)\n\n", Median(syncTimes));

    std::printf("reference over the first %d weeks (%zu records)\n", referenceWeeks,
                keiba::storetest::RecordCount(prefix));
    const TRun batchedPrefix =
        Ingest(prefix, folder / "prefix-batched", store::TStoreWriteMode::Batched, now);
    Line("batched, into an empty store", batchedPrefix);
    const TRun referenceEmpty =
        Ingest(prefix, folder / "prefix-reference", store::TStoreWriteMode::RecordByRecord, now);
    Line("record by record, into an empty store", referenceEmpty);
    const TRun referenceFull =
        Ingest(prefix, folder / "prefix-reference", store::TStoreWriteMode::RecordByRecord, now);
    Line("record by record, the same weeks into the full store", referenceFull);
    const TRun batchedPrefixFull =
        Ingest(prefix, folder / "prefix-batched", store::TStoreWriteMode::Batched, now);
    Line("batched, the same weeks into the full store", batchedPrefixFull);
    const bool same = Snapshot(folder / "prefix-batched") == Snapshot(folder / "prefix-reference");
    std::printf("  batched and reference stores byte for byte equal: %s\n\n", same ? "yes" : "NO");

    std::printf("ratios\n");
    std::printf("  batched / reference speed, empty store: %.1fx\n",
                empty.Rate() / std::max(1.0, referenceEmpty.Rate()));
    std::printf("  batched / reference speed, full store:  %.1fx\n",
                full.Rate() / std::max(1.0, referenceFull.Rate()));
    std::printf("  batched time / atomic floor, empty store: %.2f\n", empty.seconds / floorAtomic);
    std::printf("  batched time / atomic floor, full store:  %.2f\n", full.seconds / floorAtomic);
    const double plainRatio = Median(roundRatios);
    std::printf("  batched time / plain-write floor, empty store, median of the rounds: %.2f "
                "(goal: within 3: %s)\n",
                plainRatio, plainRatio <= 3.0 ? "met" : "NOT met");

    std::error_code error;
    fs::remove_all(folder, error);
    return same && unchanged && empty.ok && full.ok && referenceEmpty.ok ? 0 : 1;
}
