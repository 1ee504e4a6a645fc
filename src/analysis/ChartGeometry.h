// The geometry of a chart that needs no fonts: which axes are drawn, the values each spans,
// where a value lies in pixels, the ticks with their label texts, and the slots of the bottom
// axis. The chart painter (analysis/ui/ChartPainter.h) measures the texts, places the plot
// area and draws; everything it maps goes through these functions.
#pragma once

#include "analysis/TrendCharts.h"

#include <string>
#include <string_view>
#include <vector>

namespace analysis {

// The values an axis spans, low to high.
struct TAxisRange {
    double low = 0;
    double high = 1;

    friend bool operator==(const TAxisRange&, const TAxisRange&) = default;
};

// Whether the axis on that side is drawn: it is visible and at least one series is drawn
// against it. An axis that carries nothing shows no scale.
bool AxisShown(const TChart& chart, TAxisSide side);

// The range of the axis on that side. A fixed axis spans its minimum to its maximum; an
// automatic one spans 0 (or a round number below the lowest value) to a round number at or
// above the highest value of the points drawn against it, at least one step.
TAxisRange AxisRange(const TChart& chart, TAxisSide side);

// The label step of an automatic axis over values up to `highest`: 1, 2 or 5 times a power of
// ten, about four steps to the top; at least 1 for a whole-number label pattern.
double AutomaticStep(double lowest, double highest, std::string_view labelFormat);

// A vertical value axis laid along the plot area's pixel rows: `top` and `bottom` are the
// pixels of the plot's upper and lower edge. Not inverted, the low end is at the bottom;
// inverted (ranks, seconds per 100 m), the low end is at the top.
struct TAxisMap {
    TAxisRange range;
    bool inverted = false;
    double top = 0;
    double bottom = 0;

    double Pixel(double value) const;
    // Within the range, both ends included: the point is drawn.
    bool Covers(double value) const;
};

TAxisMap MapAxis(const TChart& chart, TAxisSide side, double top, double bottom);

// A tick of a value axis: a major one carries its label text (and a grid line where the axis
// has a grid); a minor one stands between the labels.
struct TAxisTick {
    double value = 0;
    bool major = true;
    std::string text; // empty for a minor tick
};

// The ticks of the axis over its range. A fixed step starts at the range's low end. A
// whole-number pattern with a half step ("#,##0", 0.5) labels the whole numbers and puts a
// minor tick between them, so no label shows twice; minorTicks also puts one between labels.
std::vector<TAxisTick> AxisTicks(const TChartAxis& axis, TAxisRange range);

// A value in a decimal pattern: "#,##0.0" gives "5.2", "#,##0" gives "1,234".
std::string AxisLabel(double value, std::string_view pattern);

// The bottom axis has one slot per point of the longest series (at least one); a point's x is
// the centre of its slot between the plot's left and right pixels.
int SlotCount(const TChart& chart);
double SlotCentre(int slot, int slots, double left, double right);
// The bottom axis labels: the points of the first series that has any (the run labels
// "前5走" .. or the horse numbers); nullptr for an empty chart.
const std::vector<TChartPoint>* SlotLabels(const TChart& chart);

} // namespace analysis
