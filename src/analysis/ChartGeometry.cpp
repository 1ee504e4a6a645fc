#include "analysis/ChartGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace analysis {

namespace {

// Room for rounding when ticks are counted along a range.
constexpr double kEpsilon = 1e-9;

const TChartAxis& AxisOn(const TChart& chart, TAxisSide side) {
    return side == TAxisSide::Left ? chart.left : chart.right;
}

bool WholeNumbers(std::string_view pattern) {
    return PrintfFormat(pattern) == "%.0f";
}

} // namespace

bool AxisShown(const TChart& chart, TAxisSide side) {
    if (!AxisOn(chart, side).visible) {
        return false;
    }
    return std::any_of(chart.series.begin(), chart.series.end(),
                       [side](const TChartSeries& s) { return s.axis == side; });
}

double AutomaticStep(double lowest, double highest, std::string_view labelFormat) {
    const double span = std::max(highest - lowest, 1.0);
    const double rough = span / 4;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = 10 * power;
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough - kEpsilon) {
            step = factor * power;
            break;
        }
    }
    return WholeNumbers(labelFormat) ? std::max(step, 1.0) : step;
}

TAxisRange AxisRange(const TChart& chart, TAxisSide side) {
    const TChartAxis& axis = AxisOn(chart, side);
    if (!axis.automatic) {
        return TAxisRange{axis.minimum, axis.maximum};
    }
    double lowest = 0;
    double highest = 0;
    for (const TChartSeries& s : chart.series) {
        if (s.axis != side) {
            continue;
        }
        for (const TChartPoint& p : s.points) {
            lowest = std::min(lowest, p.value);
            highest = std::max(highest, p.value);
        }
    }
    const double step = AutomaticStep(lowest, highest, axis.labelFormat);
    TAxisRange range{std::floor(lowest / step + kEpsilon) * step,
                     std::ceil(highest / step - kEpsilon) * step};
    if (range.high - range.low < step) {
        range.high = range.low + step;
    }
    return range;
}

double TAxisMap::Pixel(double value) const {
    const double span = range.high - range.low;
    const double share = span > 0 ? (value - range.low) / span : 0;
    const double height = bottom - top;
    return inverted ? top + share * height : bottom - share * height;
}

bool TAxisMap::Covers(double value) const {
    return value >= range.low - kEpsilon && value <= range.high + kEpsilon;
}

TAxisMap MapAxis(const TChart& chart, TAxisSide side, double top, double bottom) {
    return TAxisMap{AxisRange(chart, side), AxisOn(chart, side).inverted, top, bottom};
}

std::vector<TAxisTick> AxisTicks(const TChartAxis& axis, TAxisRange range) {
    std::vector<TAxisTick> ticks;
    double step = axis.step;
    if (step <= 0) {
        step = AutomaticStep(range.low, range.high, axis.labelFormat);
    }
    double interval = step;
    int minors = axis.minorTicks ? 1 : 0;
    if (WholeNumbers(axis.labelFormat) && step < 1) {
        interval = 1;
        minors = static_cast<int>(std::lround(interval / step)) - 1;
    }
    if (range.high < range.low || interval <= 0) {
        return ticks;
    }
    const auto count = static_cast<int>(std::floor((range.high - range.low) / interval + kEpsilon));
    for (int n = 0; n <= count; ++n) {
        const double value = range.low + n * interval;
        ticks.push_back(TAxisTick{value, true, AxisLabel(value, axis.labelFormat)});
        for (int m = 1; m <= minors && n < count; ++m) {
            ticks.push_back(TAxisTick{value + m * interval / (minors + 1), false, {}});
        }
    }
    return ticks;
}

std::string AxisLabel(double value, std::string_view pattern) {
    char text[64];
    std::snprintf(text, sizeof text, PrintfFormat(pattern).c_str(), value);
    std::string digits = text;
    if (digits.starts_with('-') && digits.find_first_not_of("0.", 1) == std::string::npos) {
        digits.erase(0, 1); // a value rounded to -0.0 reads 0.0
    }
    if (pattern.find(',') == std::string_view::npos) {
        return digits;
    }
    // Group the whole part by thousands.
    const std::size_t first = digits.starts_with('-') ? 1 : 0;
    std::size_t end = digits.find('.');
    if (end == std::string::npos) {
        end = digits.size();
    }
    for (std::size_t at = end; at > first + 3; at -= 3) {
        digits.insert(at - 3, 1, ',');
    }
    return digits;
}

int SlotCount(const TChart& chart) {
    std::size_t slots = 1;
    for (const TChartSeries& s : chart.series) {
        slots = std::max(slots, s.points.size());
    }
    return static_cast<int>(slots);
}

double SlotCentre(int slot, int slots, double left, double right) {
    return left + (slot + 0.5) * (right - left) / std::max(slots, 1);
}

const std::vector<TChartPoint>* SlotLabels(const TChart& chart) {
    for (const TChartSeries& s : chart.series) {
        if (!s.points.empty()) {
            return &s.points;
        }
    }
    return nullptr;
}

} // namespace analysis
