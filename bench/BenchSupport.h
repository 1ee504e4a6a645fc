// What the benchmarks share: their clock, the summary of their timed runs, and the horses
// their made-up race days enter.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace keiba::bench {

using Clock = std::chrono::steady_clock;

// The middle of the values (of an even count the upper of the two middle ones); 0 for none.
inline double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline double Millis(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

inline double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// A registration number of horse `horse` of race `race`, foaled in `year`: one per runner
// of a day.
inline std::string HorseNumber(int year, int race, int horse) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d%02d", year, race, horse, race + horse);
    return text;
}

} // namespace keiba::bench
