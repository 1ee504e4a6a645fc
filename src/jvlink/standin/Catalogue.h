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

// What the built-in season depends on: the same seed and date give the same bytes.
struct TSeasonOptions {
    std::uint32_t seed = 20040501;
    std::string today = "20260101"; // yyyymmdd: the season covers the 26 weeks up to this date
                                    // and the coming weekend's card
    int weeks = 26;                 // how many past weeks of results to publish
};

// The built-in service data: a synthetic racing season (results of the past weeks and the
// coming weekend's card, horse masters, course records, and a few record types the program
// does not read). Throws std::invalid_argument when today is not a yyyymmdd date (years 1900-9899)
// or weeks is outside 0-5200.
TCatalogue GenerateSeason(const TSeasonOptions& options);

} // namespace standin
