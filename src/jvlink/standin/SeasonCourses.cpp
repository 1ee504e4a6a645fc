#include "jvlink/standin/SeasonCourses.h"

#include <array>
#include <utility>

namespace standin::season {

namespace {

using G = TGround;

constexpr TCourseOption kSapporo[] = {
    {G::Turf, 1000, 17, 1}, {G::Turf, 1200, 17, 4}, {G::Turf, 1500, 17, 2},
    {G::Turf, 1800, 17, 3}, {G::Turf, 2000, 17, 3}, {G::Turf, 2600, 17, 1},
    {G::Dirt, 1000, 24, 2}, {G::Dirt, 1700, 24, 5}, {G::Dirt, 2400, 24, 1},
};
constexpr TCourseOption kHakodate[] = {
    {G::Turf, 1000, 17, 1}, {G::Turf, 1200, 17, 4}, {G::Turf, 1800, 17, 3}, {G::Turf, 2000, 17, 3},
    {G::Turf, 2600, 17, 1}, {G::Dirt, 1000, 24, 2}, {G::Dirt, 1700, 24, 5}, {G::Dirt, 2400, 24, 1},
};
constexpr TCourseOption kFukushima[] = {
    {G::Turf, 1200, 17, 4}, {G::Turf, 1800, 17, 3}, {G::Turf, 2000, 17, 3},
    {G::Turf, 2600, 17, 1}, {G::Dirt, 1150, 24, 3}, {G::Dirt, 1700, 24, 5},
    {G::Dirt, 2400, 24, 1}, {G::Jump, 2750, 54, 2}, {G::Jump, 3350, 54, 1},
};
constexpr TCourseOption kNiigata[] = {
    {G::Turf, 1000, 10, 2}, {G::Turf, 1200, 11, 2}, {G::Turf, 1400, 11, 2}, {G::Turf, 1600, 12, 3},
    {G::Turf, 1800, 12, 3}, {G::Turf, 2000, 11, 2}, {G::Turf, 2000, 12, 1}, {G::Turf, 2200, 11, 1},
    {G::Turf, 2400, 11, 1}, {G::Dirt, 1200, 23, 4}, {G::Dirt, 1800, 23, 5}, {G::Dirt, 2500, 23, 1},
    {G::Jump, 2890, 54, 2}, {G::Jump, 3250, 54, 1},
};
constexpr TCourseOption kTokyo[] = {
    {G::Turf, 1400, 11, 3}, {G::Turf, 1600, 11, 4}, {G::Turf, 1800, 11, 3}, {G::Turf, 2000, 11, 3},
    {G::Turf, 2300, 11, 1}, {G::Turf, 2400, 11, 3}, {G::Turf, 2500, 11, 1}, {G::Turf, 3400, 11, 1},
    {G::Dirt, 1300, 23, 2}, {G::Dirt, 1400, 23, 4}, {G::Dirt, 1600, 23, 4}, {G::Dirt, 2100, 23, 3},
    {G::Jump, 3000, 54, 2}, {G::Jump, 3110, 54, 1},
};
constexpr TCourseOption kNakayama[] = {
    {G::Turf, 1200, 18, 4}, {G::Turf, 1600, 18, 4}, {G::Turf, 1800, 17, 3}, {G::Turf, 2000, 17, 3},
    {G::Turf, 2200, 18, 2}, {G::Turf, 2500, 17, 1}, {G::Turf, 3600, 17, 1}, {G::Dirt, 1200, 24, 5},
    {G::Dirt, 1800, 24, 5}, {G::Dirt, 2400, 24, 1}, {G::Dirt, 2500, 24, 1}, {G::Jump, 2880, 54, 2},
    {G::Jump, 3200, 55, 1}, {G::Jump, 3570, 51, 1},
};
constexpr TCourseOption kChukyo[] = {
    {G::Turf, 1200, 11, 3}, {G::Turf, 1400, 11, 3}, {G::Turf, 1600, 11, 3}, {G::Turf, 2000, 11, 3},
    {G::Turf, 2200, 11, 2}, {G::Dirt, 1200, 23, 3}, {G::Dirt, 1400, 23, 3}, {G::Dirt, 1800, 23, 5},
    {G::Dirt, 1900, 23, 2}, {G::Jump, 3000, 54, 2}, {G::Jump, 3300, 54, 1},
};
constexpr TCourseOption kKyoto[] = {
    {G::Turf, 1200, 17, 3}, {G::Turf, 1400, 18, 3}, {G::Turf, 1600, 18, 3}, {G::Turf, 1800, 18, 3},
    {G::Turf, 2000, 17, 3}, {G::Turf, 2200, 18, 2}, {G::Turf, 2400, 18, 2}, {G::Turf, 3000, 18, 1},
    {G::Turf, 3200, 18, 1}, {G::Dirt, 1200, 24, 4}, {G::Dirt, 1400, 24, 3}, {G::Dirt, 1800, 24, 5},
    {G::Dirt, 1900, 24, 2}, {G::Jump, 2910, 54, 2}, {G::Jump, 3170, 55, 1}, {G::Jump, 3930, 57, 1},
};
constexpr TCourseOption kHanshin[] = {
    {G::Turf, 1200, 17, 3}, {G::Turf, 1400, 18, 3}, {G::Turf, 1600, 18, 3}, {G::Turf, 1800, 18, 3},
    {G::Turf, 2000, 17, 3}, {G::Turf, 2200, 17, 2}, {G::Turf, 2400, 18, 2}, {G::Turf, 3000, 17, 1},
    {G::Dirt, 1200, 24, 4}, {G::Dirt, 1400, 24, 4}, {G::Dirt, 1800, 24, 5}, {G::Dirt, 2000, 24, 2},
    {G::Jump, 2970, 54, 2}, {G::Jump, 3140, 54, 1}, {G::Jump, 3900, 58, 1},
};
constexpr TCourseOption kKokura[] = {
    {G::Turf, 1200, 17, 5}, {G::Turf, 1700, 17, 1}, {G::Turf, 1800, 17, 4}, {G::Turf, 2000, 17, 4},
    {G::Turf, 2600, 17, 1}, {G::Dirt, 1000, 24, 3}, {G::Dirt, 1700, 24, 6}, {G::Dirt, 2400, 24, 1},
    {G::Jump, 2860, 54, 2}, {G::Jump, 3390, 54, 1},
};

const std::array<TCourse, 10> kCourses = {{
    {1, TRegion::North, 14, 0.003, kSapporo},
    {2, TRegion::North, 16, 0.004, kHakodate},
    {3, TRegion::East, 16, 0.003, kFukushima},
    {4, TRegion::East, 18, -0.003, kNiigata},
    {5, TRegion::East, 18, -0.004, kTokyo},
    {6, TRegion::East, 16, 0.002, kNakayama},
    {7, TRegion::West, 18, 0.001, kChukyo},
    {8, TRegion::West, 18, -0.003, kKyoto},
    {9, TRegion::West, 18, 0.000, kHanshin},
    {10, TRegion::West, 18, 0.001, kKokura},
}};

// Piecewise linear through (x, y) knots, flat beyond the ends.
template <std::size_t N>
double Interpolate(const std::pair<double, double> (&knots)[N], double x) noexcept {
    if (x <= knots[0].first) {
        return knots[0].second;
    }
    for (std::size_t i = 1; i < N; ++i) {
        if (x <= knots[i].first) {
            const auto [x0, y0] = knots[i - 1];
            const auto [x1, y1] = knots[i];
            return y0 + (y1 - y0) * (x - x0) / (x1 - x0);
        }
    }
    return knots[N - 1].second;
}

// Average speed in metres per second of a 1勝 class winner on good going.
constexpr std::pair<double, double> kTurfSpeed[] = {
    {1000, 17.95}, {1200, 17.39}, {1600, 16.97}, {2000, 16.60},
    {2400, 16.44}, {3000, 16.22}, {3600, 15.93},
};
constexpr std::pair<double, double> kDirtSpeed[] = {
    {1000, 16.95}, {1150, 16.79}, {1200, 16.67}, {1400, 16.47}, {1600, 16.41},
    {1700, 16.11}, {1800, 15.93}, {2100, 15.79}, {2400, 15.69},
};
constexpr std::pair<double, double> kJumpSpeed[] = {{2750, 14.9}, {3300, 14.6}, {4100, 14.2}};

constexpr std::pair<double, double> kTurfLastThree[] = {
    {1000, 33.4}, {1200, 34.2}, {1600, 34.4}, {2000, 34.9}, {2400, 35.0}, {3600, 35.4},
};
constexpr std::pair<double, double> kDirtLastThree[] = {
    {1000, 35.8},
    {1200, 36.8},
    {1800, 38.0},
    {2400, 38.6},
};

} // namespace

const TCourse& CourseOf(int code) noexcept {
    if (code < 1 || code > 10) {
        return kCourses[4];
    }
    return kCourses[static_cast<std::size_t>(code - 1)];
}

TDirection DirectionOf(int track) noexcept {
    if (track == 10 || track == 29) {
        return TDirection::Straight;
    }
    if ((track >= 11 && track <= 16) || track == 23 || track == 25 || track == 27) {
        return TDirection::Left;
    }
    return TDirection::Right;
}

double ParSeconds(TGround ground, int distance) noexcept {
    const double d = distance;
    switch (ground) {
    case TGround::Turf:
        return d / Interpolate(kTurfSpeed, d);
    case TGround::Dirt:
        return d / Interpolate(kDirtSpeed, d);
    case TGround::Jump:
        return d / Interpolate(kJumpSpeed, d);
    }
    return d / 16.5;
}

double LastThreeParSeconds(TGround ground, int distance) noexcept {
    switch (ground) {
    case TGround::Turf:
        return Interpolate(kTurfLastThree, distance);
    case TGround::Dirt:
        return Interpolate(kDirtLastThree, distance);
    case TGround::Jump:
        return 37.4;
    }
    return 36.0;
}

int CornerCount(TGround ground, int distance) noexcept {
    return ground != TGround::Jump && distance <= 1600 ? 2 : 4;
}

} // namespace standin::season
