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

// The median time in ms of runs calls of f, after one more call that warms the caches.
template <class F>
double MedianMillis(int runs, F&& f) {
    std::vector<double> times;
    for (int run = 0; run < runs + 1; ++run) {
        const Clock::time_point start = Clock::now();
        f();
        if (run > 0) {
            times.push_back(Millis(Clock::now() - start));
        }
    }
    return Median(times);
}

// A registration number of horse `horse` of race `race`, foaled in `year`: one per runner
// of a day.
inline std::string HorseNumber(int year, int race, int horse) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d%02d", year, race, horse, race + horse);
    return text;
}

} // namespace keiba::bench
