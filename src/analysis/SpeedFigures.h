// The program's own speed figures of one earlier run: the race time and the last three
// furlongs in tenths of a second, the time figure and the last-three-furlong figure in seconds
// per 100 m, and the expectation value from popularity and finishing position.
//
// A figure is "a number or no figure": std::nullopt when the run's fields do not give one
// (a blank entry, a time of "0000", last three furlongs of "000" or 999, no distance).
#pragma once

#include "jvdata/Records.h"

#include <cstdint>
#include <optional>

namespace analysis {

// Race time of the run (SE 339-342, MSSF) in tenths of a second; 0 for none (blank, "0000").
std::int32_t RaceTimeTenths(const jvdata::TRecordSE& run) noexcept;

// Last three furlongs of the run (SE 391-393, SSF) in tenths; 0 for none (blank, "000"). The
// value 999, which the record uses for "not measured", is returned as it stands.
std::int32_t Last3fTenths(const jvdata::TRecordSE& run) noexcept;

// Distance of the earlier race (RA 698-701) in metres; 0 when its race record is missing.
std::int32_t DistanceMetres(const jvdata::TRecordRA& race) noexcept;

// Seconds per 100 m over the whole race: tenths / distance * 10. No figure without a race
// time or without a distance above 0 (an earlier race whose race record was not found).
std::optional<double> TimeFigure(const jvdata::TRecordSE& run, const jvdata::TRecordRA& race);

// Seconds per 100 m over the last 600 m: tenths / 600 * 10. No figure for 0 or 999 tenths.
// It needs no distance, so a run without its race record can still have one.
std::optional<double> Last3fFigure(const jvdata::TRecordSE& run);

// Expectation value of an earlier run: (H - F) + (H - P) with P the win popularity
// (SE 364-365), F the final position (SE 335-336) and H the registered runners of that race
// (RA 882-883); 0 unless all three are at least 1. A favourite that won in 16 scores 30.
int ExpectationValue(const jvdata::TRecordSE& run, const jvdata::TRecordRA& race) noexcept;

} // namespace analysis
