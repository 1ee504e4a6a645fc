// Benchmark stores filled from the stand-in service's built-in season, through the real
// acquisition read loop, for the benchmarks that need a store as a user has one.
#pragma once

#include "acquisition/HeadlessAcquisition.h"
#include "jvlink/standin/Catalogue.h"
#include "jvlink/standin/StandInJVLink.h"
#include "store/StoreTestSupport.h"

#include <atomic>
#include <chrono>
#include <filesystem>

namespace keiba::bench {

// Acquires `weeks` weeks of the built-in season into root, with the stand-in's settings file
// in settingsDir and the clock at the given date (the date cut of the race-day files).
inline bool AcquireSeason(const std::filesystem::path& root,
                          const std::filesystem::path& settingsDir, int weeks, int year, int month,
                          int day) {
    standin::TSeasonOptions options;
    options.weeks = weeks;
    const standin::TCatalogue season = standin::GenerateSeason(options);
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
    acquisition::TAcquisitionRequest request;
    request.fromTime = "19990101000000";
    request.root = root;
    request.pollInterval = std::chrono::milliseconds(1);
    std::atomic<bool> cancel{false};
    keiba::storetest::TRecordingSink sink;
    const auto result = acquisition::RunAcquisition(
        link, request, keiba::storetest::FixedClock(year, month, day), cancel, sink);
    return result.Succeeded();
}

} // namespace keiba::bench
