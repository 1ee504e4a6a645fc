// The four chart pages of a race as data: the trend of one runner over its last five runs
// (Chart1 times, Chart3 popularity and finishing positions) and the comparison of every runner
// in one chosen earlier run (Chart2 times, Chart4 popularity, positions and expectation value).
//
// A chart is its series (kind, title, colour, axis) with their points in the order they were
// added (value, label, colour), its axes and its name box. The window draws exactly this; the
// text dump prints it. Texts are Shift-JIS, colours 0xRRGGBB.
//
// Values that mean "missing" lie outside the fixed axes on purpose: 10.0 or 1.0 for a time
// figure, 20 for a rank. They are points all the same, so the x positions stay the runs' or the
// horse numbers' own.
#pragma once

#include "race/TRaceDayData.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace analysis {

inline constexpr std::uint32_t kChartRed = 0xFF0000;
inline constexpr std::uint32_t kChartYellow = 0xFFFF00;
inline constexpr std::uint32_t kChartGreen = 0x008000;
inline constexpr std::uint32_t kChartFuchsia = 0xFF00FF;
inline constexpr std::uint32_t kChartGrey = 0x808080;

// Plotted for a run without the figure: outside every fixed axis.
inline constexpr double kNoTimeTrend = 10.0;   // Chart1, above 6.8 s
inline constexpr double kNoTimeCompared = 1.0; // Chart2, below 5.2 s
inline constexpr int kNoRank = 20;             // finishing position or popularity, beyond 18

enum class TSeriesKind {
    FastLine, // a line through the points, no marks
    Points,   // rectangles
    Bars,
};
enum class TAxisSide { Left, Right };

struct TChartPoint {
    double value = 0;
    std::string label; // Shift-JIS
    std::uint32_t colour = 0;

    friend bool operator==(const TChartPoint&, const TChartPoint&) = default;
};

struct TChartSeries {
    std::string name; // Series1 ..., as the dump names it
    TSeriesKind kind = TSeriesKind::Points;
    std::string title; // in the legend, Shift-JIS
    std::uint32_t colour = 0;
    TAxisSide axis = TAxisSide::Left;
    bool marksVisible = false; // each point's label drawn beside it
    int pointHeight = 0;       // rectangles this many pixels high; 0 for square marks
    int barWidthPercent = 0;   // bars: share of the slot's width
    std::vector<TChartPoint> points;
};

struct TChartAxis {
    bool visible = true;
    std::string title;          // Shift-JIS; empty for none
    bool verticalTitle = false; // characters stacked top to bottom
    bool automatic = false;     // range from the values
    double minimum = 0;
    double maximum = 0;
    bool inverted = false;   // smaller values higher
    double step = 0;         // between labels; 0 for the toolkit's own
    std::string labelFormat; // decimal pattern: "#,##0", "#,##0.0", "#,##0.00"
    bool grid = true;
    bool minorTicks = false;  // ticks also between the labels
    bool pointLabels = false; // bottom axis: labelled by the points' labels
};

// Which chart of the four.
enum class TChartId { Chart1 = 1, Chart2, Chart3, Chart4 };

struct TChart {
    TChartId id = TChartId::Chart1;
    std::string nameBox;              // "StaticText2" (Chart1), "StaticText5" (Chart3), else empty
    std::string name;                 // the runner's name in the name box, Shift-JIS
    std::vector<TChartSeries> series; // in legend order
    std::vector<int> added;           // series index of each point, in the order of addition
    TChartAxis left;
    TChartAxis right;
    TChartAxis bottom;
    std::uint32_t legendColour = 0xFFFFFF;
    bool legendColoured = false;   // Chart1: light grey legend
    int legendSymbolPercent = 100; // width of the legend's colour boxes

    // Clears every series' points and the name; settings stay.
    void ClearPoints();
    // The series named so; nullptr when the chart has none.
    const TChartSeries* Series(std::string_view seriesName) const;
};

// A chart with its series and axes and no points, as the window makes it.
TChart MakeChart(TChartId id);

// Chart1: the time figure (Series1), the last-three-furlong figure (Series3) and the finishing
// position (Series2) of runner slot k over its runs, oldest first. The walk starts at the fifth
// run back and stops at the first run without a distance, so a runner with fewer than five
// earlier runs gets no points.
void ShowTimeTrend(TChart& chart, const race::TRaceDayData& day, int slot, int runner);

// Chart2: the time figures (Series4) and last-three-furlong figures (Series5) of runners 0 to
// runners - 1 in their past-run entry.
void ShowTimeComparison(TChart& chart, const race::TRaceDayData& day, int slot, int runners,
                        int entry);

// Chart3: finishing position (Series7) and popularity (Series6) of runner slot k in each of its
// five runs, oldest first; a missing one is 20.
void ShowRankTrend(TChart& chart, const race::TRaceDayData& day, int slot, int runner);

// Chart4: popularity (PointSeries1), finishing position (PointSeries2) and expectation value
// (BarSeries1) of every runner in its past-run entry.
void ShowRankComparison(TChart& chart, const race::TRaceDayData& day, int slot, int runners,
                        int entry);

// ---- Pages and selectors --------------------------------------------------------------------

// The selector RadioGroup1 .. RadioGroup4 right of the chart: its caption ("馬番" for the
// trends, none for the comparisons) and its items, "1番" .. per runner for the trends and
// "前走-1" .. "前走-5" for the comparisons.
std::string SelectorCaption(TChartId id);
std::vector<std::string> SelectorItems(TChartId id, int runners);

// Fills the chart for the selector's item index as its click handler does: a runner slot for
// the trends, a past-run entry for the comparisons.
void ShowChart(TChart& chart, const race::TRaceDayData& day, int slot, int runners, int item);

// The decimal pattern as a printf format for the axis labels: "#,##0.0" is "%.1f".
std::string PrintfFormat(std::string_view pattern);

} // namespace analysis
