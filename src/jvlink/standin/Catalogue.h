// The stand-in JV-Link service's catalogue: the JV-Data files it publishes.
//
// A real service publishes data files, each stamped with the time it was made available;
// JVOpen selects those newer than the caller's from-time. The stand-in keeps the same shape:
// the built-in season generator or a folder of files written by jvdata-gen fills a catalogue.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace standin {

// One published data file.
struct TDataFile {
    std::string name;      // file name as JVRead reports it (ASCII, no folder part)
    std::string dataspec;  // the 4-character data identifier that selects it, such as "RACE"
    std::string timestamp; // publication time, "yyyymmddhhnnss"
    std::vector<std::string> records; // Shift-JIS records, each ending in CR LF
};

// Every file of the service, ordered by timestamp and then name.
struct TCatalogue {
    std::vector<TDataFile> files;
};

// The most years of final results the built-in season publishes for a setup.
inline constexpr int kMaxSetupYears = 10;

// What the built-in season depends on: the same seed and date give the same bytes.
struct TSeasonOptions {
    std::uint32_t seed = 20040501;
    std::string today = "20260101"; // yyyymmdd: the season covers the 26 weeks up to this date
                                    // and the coming weekend's card
    int weeks = 26;                 // how many past weeks of results to publish
    int setupYears = 0; // 1 to kMaxSetupYears: the results of every weekend since the same
                        // date that many years ago are published too (with their horse
                        // masters), what a setup from then brings. The world is then one
                        // simulated over kMaxSetupYears whatever the years asked, so that
                        // a weekend comes out the same for any of them; 0 keeps the season of
                        // the past weeks alone, simulated over two years.
};

// The built-in service data: a synthetic racing season (results of the past weeks and the
// coming weekend's card, horse masters, course records, and a few record types the program
// does not read). Throws std::invalid_argument when today is not a yyyymmdd date (years 1900-9899),
// weeks is outside 0-5200 or setupYears outside 0-kMaxSetupYears.
TCatalogue GenerateSeason(const TSeasonOptions& options);

} // namespace standin
