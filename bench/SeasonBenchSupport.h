// Benchmark stores filled from the stand-in service's built-in season, through the real
// acquisition read loop, for the benchmarks that need a store as a user has one.
#pragma once

#include "acquisition/HeadlessAcquisition.h"
#include "acquisition/SetupAcquisition.h"
#include "jvlink/standin/Catalogue.h"
#include "jvlink/standin/StandInJVLink.h"
#include "store/StoreTestSupport.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

namespace keiba::bench {

namespace detail {

// Reads the catalogue through the stand-in component into root, as an acquisition with the
// request's data identifiers and option does, the clock at the given date.
inline bool AcquireCatalogue(const standin::TCatalogue& season, const std::filesystem::path& root,
                             const std::filesystem::path& settingsDir,
                             acquisition::TAcquisitionRequest request, int year, int month,
                             int day) {
    standin::TStandInSettings settings;
    settings.downloadMsPerFile = 0;
    const std::filesystem::path file = settingsDir / "jvlink-standin.ini";
    if (!standin::SaveSettings(file, settings)) {
        return false;
    }
    standin::TStandInJVLink link(file, [&season](const standin::TStandInSettings&) {
        return standin::TCatalogueRead{season, {}};
    });
    if (link.JVInit("UNKNOWN") != 0) {
        return false;
    }
    request.root = root;
    request.pollInterval = std::chrono::milliseconds(1);
    std::atomic<bool> cancel{false};
    keiba::storetest::TRecordingSink sink;
    const auto result = acquisition::RunAcquisition(
        link, request, keiba::storetest::FixedClock(year, month, day), cancel, sink);
    return result.Succeeded();
}

// FNV-1a over every file's name, timestamp and records: what a cached store was made from.
inline std::uint64_t CatalogueDigest(const standin::TCatalogue& catalogue) {
    std::uint64_t hash = 14695981039346656037ull;
    const auto add = [&hash](const std::string& text) {
        for (const char c : text) {
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        }
        hash = (hash ^ 0xFFu) * 1099511628211ull;
    };
    for (const auto& file : catalogue.files) {
        add(file.name);
        add(file.timestamp);
        for (const auto& record : file.records) {
            add(record);
        }
    }
    return hash;
}

} // namespace detail

// Acquires `weeks` weeks of the built-in season into root, with the stand-in's settings file
// in settingsDir and the clock at the given date (the date cut of the race-day files).
inline bool AcquireSeason(const std::filesystem::path& root,
                          const std::filesystem::path& settingsDir, int weeks, int year, int month,
                          int day) {
    standin::TSeasonOptions options;
    options.weeks = weeks;
    acquisition::TAcquisitionRequest request;
    request.fromTime = "19990101000000";
    return detail::AcquireCatalogue(standin::GenerateSeason(options), root, settingsDir, request,
                                    year, month, day);
}

// The built-in season of `years` setup years, today being yyyy-mm-dd.
inline standin::TCatalogue SetupYearsSeason(int years, int year, int month, int day) {
    char today[16];
    std::snprintf(today, sizeof today, "%04d%02d%02d", year, month, day);
    standin::TSeasonOptions options;
    options.today = today;
    options.setupYears = years;
    return standin::GenerateSeason(options);
}

// Reads a season into root as a setup acquisition does: the race data and the accumulated
// horse masters and course records, option 3, from the beginning, the clock at yyyy-mm-dd.
inline bool AcquireAsSetup(const standin::TCatalogue& season, const std::filesystem::path& root,
                           const std::filesystem::path& settingsDir, int year, int month, int day) {
    acquisition::TAcquisitionRequest request;
    request.dataspec = std::string(acquisition::kSetupDataSpec);
    request.option = acquisition::kSetupOption;
    request.fromTime = "19990101000000";
    return detail::AcquireCatalogue(season, root, settingsDir, request, year, month, day);
}

// A store of `years` years of the built-in season as a setup acquisition brings it, today
// being yyyy-mm-dd (the clock's date and the date of the season).
inline bool AcquireSetupYears(const std::filesystem::path& root,
                              const std::filesystem::path& settingsDir, int years, int year,
                              int month, int day) {
    return AcquireAsSetup(SetupYearsSeason(years, year, month, day), root, settingsDir, year, month,
                          day);
}

// The store of AcquireSetupYears kept under the build folder's bench-stores between runs, as
// making ten years takes minutes: "setup-<years>y-<yyyymmdd>". It is made anew (in a folder
// beside it, renamed into place once complete) when it is missing or the built-in season no
// longer gives the bytes it was made from. Returns the store's root, empty when it could not
// be made.
inline std::filesystem::path CachedSetupYears(int years, int year, int month, int day) {
    namespace fs = std::filesystem;
    char name[48];
    std::snprintf(name, sizeof name, "setup-%dy-%04d%02d%02d", years, year, month, day);
    const fs::path folder = fs::path(KEIBA_BENCH_STORE_DIR) / name;
    const fs::path stamp = folder / "bench-store.stamp";

    const standin::TCatalogue season = SetupYearsSeason(years, year, month, day);
    std::ostringstream made;
    made << std::hex << detail::CatalogueDigest(season) << "\n";
    {
        std::ifstream in(stamp, std::ios::binary);
        std::stringstream have;
        have << in.rdbuf();
        if (in && have.str() == made.str()) {
            return folder;
        }
    }
    std::error_code error;
    const fs::path building = folder.string() + ".building";
    fs::remove_all(building, error);
    fs::create_directories(building / "service", error);
    fs::create_directories(building / "store", error);
    if (!AcquireAsSetup(season, building / "store", building / "service", year, month, day)) {
        return {};
    }
    fs::remove_all(building / "service", error);
    fs::rename(building / "store", building / "root", error);
    std::ofstream(building / "root" / "bench-store.stamp", std::ios::binary) << made.str();
    fs::remove_all(folder, error);
    fs::rename(building / "root", folder, error);
    fs::remove_all(building, error);
    return error ? fs::path() : folder;
}

// The store a benchmark's arguments ask for: "N" weeks of the built-in season acquired into
// `fresh` (defaultWeeks without an argument), or "--years N" the cached store of an N-year
// setup acquisition (CachedSetupYears, today 2026-01-07). Empty when it could not be made.
struct TBenchStore {
    std::filesystem::path root;
    int count = 0;           // weeks or setup years
    bool setupYears = false; // the store of a setup acquisition
};
inline TBenchStore StoreOfArguments(int argc, char** argv, int defaultWeeks,
                                    const std::filesystem::path& fresh,
                                    const std::filesystem::path& settingsDir) {
    TBenchStore store;
    store.setupYears = argc > 2 && std::string(argv[1]) == "--years";
    store.count = store.setupYears ? std::atoi(argv[2])
                  : argc > 1       ? std::atoi(argv[1])
                                   : defaultWeeks;
    if (store.setupYears) {
        if (store.count >= 1 && store.count <= standin::kMaxSetupYears) {
            store.root = CachedSetupYears(store.count, 2026, 1, 7);
        }
    } else if (store.count >= 1 && AcquireSeason(fresh, settingsDir, store.count, 2026, 1, 1)) {
        store.root = fresh;
    }
    return store;
}

} // namespace keiba::bench
