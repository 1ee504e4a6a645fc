#include "analysis/SpeedFigures.h"

#include "jvdata/RecordUnits.h"

namespace analysis {

namespace {

// Last three furlongs the record holds when they were not measured.
constexpr std::int32_t kLast3fNotMeasured = 999;

} // namespace

std::int32_t RaceTimeTenths(const jvdata::TRecordSE& run) noexcept {
    return jvdata::TimeMssfTenths(run.Field(jvdata::SE::kRaceTime));
}

std::int32_t Last3fTenths(const jvdata::TRecordSE& run) noexcept {
    return jvdata::TimeSsfTenths(run.Field(jvdata::SE::kLast3Furlongs));
}

std::int32_t DistanceMetres(const jvdata::TRecordRA& race) noexcept {
    return race.Int(jvdata::RA::kDistance);
}

std::optional<double> TimeFigure(const jvdata::TRecordSE& run, const jvdata::TRecordRA& race) {
    const std::int32_t tenths = RaceTimeTenths(run);
    const std::int32_t distance = DistanceMetres(race);
    if (tenths == 0 || distance <= 0) {
        return std::nullopt;
    }
    return static_cast<double>(tenths) / distance * 10.0;
}

std::optional<double> Last3fFigure(const jvdata::TRecordSE& run) {
    const std::int32_t tenths = Last3fTenths(run);
    if (tenths == 0 || tenths == kLast3fNotMeasured) {
        return std::nullopt;
    }
    return static_cast<double>(tenths) / 600.0 * 10.0;
}

int ExpectationValue(const jvdata::TRecordSE& run, const jvdata::TRecordRA& race) noexcept {
    const int popularity = run.Int(jvdata::SE::kWinPopularity);
    const int finish = run.Int(jvdata::SE::kFinishPosition);
    const int runners = race.Int(jvdata::RA::kRegisteredRunners);
    if (popularity < 1 || finish < 1 || runners < 1) {
        return 0;
    }
    return (runners - finish) + (runners - popularity);
}

} // namespace analysis
