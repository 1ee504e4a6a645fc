#include "analysis/TrendCharts.h"

#include "analysis/SpeedFigures.h"
#include "jvdata/SjisText.h"

#include <initializer_list>
#include <optional>

namespace analysis {

namespace {

// The chart texts in Shift-JIS, converted once.
struct TChartTexts {
    std::string before = Sjis::FromUtf8("前");
    std::string run = Sjis::FromUtf8("走");
    std::string place = Sjis::FromUtf8("着");
    std::string none = Sjis::FromUtf8("なし");
    std::string horse = Sjis::FromUtf8("番");
    std::string earlier = Sjis::FromUtf8("前走-");
};

const TChartTexts& Texts() {
    static const TChartTexts texts;
    return texts;
}

std::string U(std::string_view utf8) {
    return Sjis::FromUtf8(utf8);
}

TChartSeries MakeSeries(std::string name, TSeriesKind kind, std::string_view titleUtf8,
                        std::uint32_t colour, TAxisSide axis) {
    TChartSeries series;
    series.name = std::move(name);
    series.kind = kind;
    series.title = U(titleUtf8);
    series.colour = colour;
    series.axis = axis;
    series.points.reserve(race::kRunnerSlots);
    return series;
}

TChartAxis FixedAxis(double minimum, double maximum, double step, std::string_view format) {
    TChartAxis axis;
    axis.minimum = minimum;
    axis.maximum = maximum;
    axis.inverted = true;
    axis.step = step;
    axis.labelFormat = std::string(format);
    return axis;
}

// A series of flat rectangles (2 pixels high) on the left axis.
struct TFlatPoints {
    const char* name;
    const char* title;
    std::uint32_t colour;
};

void AddFlatSeries(TChart& chart, std::initializer_list<TFlatPoints> flat) {
    for (const auto& [name, title, colour] : flat) {
        TChartSeries s = MakeSeries(name, TSeriesKind::Points, title, colour, TAxisSide::Left);
        s.pointHeight = 2;
        chart.series.push_back(std::move(s));
    }
}

// "前" + n + "走": the run n back, "前5走" .. "前1走".
std::string RunLabel(int entry) {
    return Texts().before + std::to_string(entry + 1) + Texts().run;
}

bool ValidSlot(int slot) {
    return slot >= 0 && slot < race::kRaceSlots;
}

bool ValidRunner(int runner) {
    return runner >= 0 && runner < race::kRunnerSlots;
}

void Add(TChart& chart, std::size_t series, double value, std::string label, std::uint32_t colour) {
    chart.series[series].points.push_back(TChartPoint{value, std::move(label), colour});
    chart.added.push_back(static_cast<int>(series));
}

// The runner's name for the name box: SE 41-76 trimmed of blanks.
std::string RunnerName(const race::TRaceDayData& day, int slot, int runner) {
    return std::string(Sjis::TrimBlanks(
        day.Runners[static_cast<std::size_t>(slot)][static_cast<std::size_t>(runner)].Field(
            jvdata::SE::kHorseName)));
}

// Clears the chart and calls each(run, race, label) with the entry-th earlier run of every
// runner of the race (label its horse number); nothing more for a slot or entry out of range.
template <class Each>
void ForEachRunnersRun(TChart& chart, const race::TRaceDayData& day, int slot, int runners,
                       int entry, Each each) {
    chart.ClearPoints();
    if (!ValidSlot(slot) || entry < 0 || entry >= race::kPastRunSlots) {
        return;
    }
    const auto s = static_cast<std::size_t>(slot);
    const auto i = static_cast<std::size_t>(entry);
    for (int k = 0; k < runners && k < race::kRunnerSlots; ++k) {
        const auto runner = static_cast<std::size_t>(k);
        each(day.PastRuns[s][runner][i], day.PastRaces[s][runner][i], std::to_string(k + 1));
    }
}

// The point in its colour, or in grey at `absent` when there is no figure.
template <class Figure>
void AddOrGrey(TChart& chart, std::size_t series, const std::optional<Figure>& figure,
               double absent, const std::string& label, std::uint32_t colour) {
    if (figure) {
        Add(chart, series, static_cast<double>(*figure), label, colour);
    } else {
        Add(chart, series, absent, label, kChartGrey);
    }
}

// A figure that reads 0 when there is none, as nothing.
std::optional<int> UnlessZero(int value) {
    return value != 0 ? std::optional<int>(value) : std::nullopt;
}

// A rank field read as an integer, 0 (none) becoming 20.
int RankOr20(const jvdata::TRecordSE& run, jvdata::TFieldPos field) {
    const int value = run.Int(field);
    return value == 0 ? kNoRank : value;
}

} // namespace

void TChart::ClearPoints() {
    for (TChartSeries& s : series) {
        s.points.clear();
    }
    added.clear();
    name.clear();
}

const TChartSeries* TChart::Series(std::string_view seriesName) const {
    for (const TChartSeries& s : series) {
        if (s.name == seriesName) {
            return &s;
        }
    }
    return nullptr;
}

TChart MakeChart(TChartId id) {
    TChart chart;
    chart.id = id;
    chart.added.reserve(3 * race::kRunnerSlots);
    switch (id) {
    case TChartId::Chart1: {
        chart.nameBox = "StaticText2";
        chart.series.push_back(MakeSeries("Series1", TSeriesKind::FastLine, "走破ﾀｲﾑ(100m当り)",
                                          kChartRed, TAxisSide::Left));
        chart.series.push_back(MakeSeries("Series3", TSeriesKind::FastLine, "上3ﾊﾛﾝﾀｲﾑ(100m当り)",
                                          kChartYellow, TAxisSide::Left));
        TChartSeries places =
            MakeSeries("Series2", TSeriesKind::Points, "順位", kChartGreen, TAxisSide::Right);
        places.marksVisible = true;
        chart.series.push_back(std::move(places));
        chart.left = FixedAxis(5.2, 6.8, 0.5, "#,##0.0");
        chart.left.title = U("秒");
        chart.left.verticalTitle = true;
        chart.right = FixedAxis(1, 18, 1, "#,##0");
        chart.right.title = U("順位");
        chart.right.verticalTitle = true;
        chart.right.grid = false;
        chart.bottom.labelFormat = "#,##0";
        chart.bottom.pointLabels = true;
        chart.legendColoured = true;
        chart.legendColour = 0xE2E2E2;
        break;
    }
    case TChartId::Chart2: {
        AddFlatSeries(
            chart, {{"Series4", "走破ﾀｲﾑ能力", kChartRed}, {"Series5", "上3ﾊﾛﾝ能力", kChartGreen}});
        chart.left = FixedAxis(5.2, 6.8, 0.5, "#,##0.00");
        chart.left.title = U("秒");
        chart.left.verticalTitle = true;
        // No series uses the right axis, so it is not drawn (analysis/ChartGeometry.h,
        // AxisShown); its settings stay those of the expectation value, up to 34.
        chart.right = FixedAxis(0, 35, 5, "#,##0");
        chart.right.inverted = false;
        chart.right.title = U("期待値");
        chart.right.verticalTitle = true;
        chart.right.grid = false;
        chart.bottom.title = U("馬番");
        chart.bottom.labelFormat = "#,##0";
        chart.bottom.pointLabels = true;
        break;
    }
    case TChartId::Chart3: {
        chart.nameBox = "StaticText5";
        chart.series.push_back(
            MakeSeries("Series6", TSeriesKind::Points, "人気", kChartRed, TAxisSide::Left));
        chart.series.push_back(
            MakeSeries("Series7", TSeriesKind::Points, "順位", kChartGreen, TAxisSide::Left));
        chart.left = FixedAxis(1, 18, 1, "#,##0");
        chart.left.minorTicks = true;
        chart.right.visible = false;
        chart.bottom.step = 1;
        chart.bottom.labelFormat = "#,##0";
        chart.bottom.pointLabels = true;
        chart.legendSymbolPercent = 67;
        break;
    }
    case TChartId::Chart4: {
        TChartSeries bars = MakeSeries("BarSeries1", TSeriesKind::Bars, "人気･着順よりの期待値",
                                       kChartYellow, TAxisSide::Right);
        bars.barWidthPercent = 35;
        chart.series.push_back(std::move(bars));
        AddFlatSeries(chart,
                      {{"PointSeries1", "人気", kChartRed}, {"PointSeries2", "順位", kChartGreen}});
        chart.left = FixedAxis(1, 18, 0.5, "#,##0");
        chart.left.title = U("位");
        chart.left.verticalTitle = true;
        chart.right.automatic = true;
        chart.right.labelFormat = "#,##0";
        chart.right.title = U("期待値");
        chart.right.verticalTitle = true;
        chart.right.grid = false;
        chart.bottom.title = U("馬番");
        chart.bottom.labelFormat = "#,##0";
        chart.bottom.pointLabels = true;
        break;
    }
    }
    return chart;
}

void ShowTimeTrend(TChart& chart, const race::TRaceDayData& day, int slot, int runner) {
    chart.ClearPoints();
    if (!ValidSlot(slot) || !ValidRunner(runner)) {
        return;
    }
    chart.name = RunnerName(day, slot, runner);
    const auto s = static_cast<std::size_t>(slot);
    const auto k = static_cast<std::size_t>(runner);
    for (int entry = race::kPastRunSlots - 1; entry >= 0; --entry) {
        const auto i = static_cast<std::size_t>(entry);
        const jvdata::TRecordSE& run = day.PastRuns[s][k][i];
        const jvdata::TRecordRA& race = day.PastRaces[s][k][i];
        // Oldest first: the first run back without a distance ends the walk.
        if (DistanceMetres(race) < 1) {
            break;
        }
        Add(chart, 0, TimeFigure(run, race).value_or(kNoTimeTrend), RunLabel(entry), kChartRed);
        Add(chart, 1, Last3fFigure(run).value_or(kNoTimeTrend), std::to_string(entry + 1),
            kChartYellow);
        const int place = RankOr20(run, jvdata::SE::kFinishPosition);
        const std::uint32_t colour = place == 1   ? kChartRed
                                     : place == 2 ? kChartFuchsia
                                                  : kChartGreen;
        Add(chart, 2, place,
            place == kNoRank ? Texts().none : std::to_string(place) + Texts().place, colour);
    }
}

void ShowTimeComparison(TChart& chart, const race::TRaceDayData& day, int slot, int runners,
                        int entry) {
    ForEachRunnersRun(
        chart, day, slot, runners, entry,
        [&](const jvdata::TRecordSE& run, const jvdata::TRecordRA& race, const std::string& label) {
            // No time is grey; a time without its race's distance is still a run, so red.
            std::optional<double> time;
            if (RaceTimeTenths(run) != 0) {
                time = TimeFigure(run, race).value_or(kNoTimeCompared);
            }
            AddOrGrey(chart, 0, time, kNoTimeCompared, label, kChartRed);
            AddOrGrey(chart, 1, Last3fFigure(run), kNoTimeCompared, label, kChartGreen);
        });
}

void ShowRankTrend(TChart& chart, const race::TRaceDayData& day, int slot, int runner) {
    chart.ClearPoints();
    if (!ValidSlot(slot) || !ValidRunner(runner)) {
        return;
    }
    chart.name = RunnerName(day, slot, runner);
    const auto s = static_cast<std::size_t>(slot);
    const auto k = static_cast<std::size_t>(runner);
    for (int entry = race::kPastRunSlots - 1; entry >= 0; --entry) {
        const jvdata::TRecordSE& run = day.PastRuns[s][k][static_cast<std::size_t>(entry)];
        // Series7 (position) first, then Series6 (popularity).
        Add(chart, 1, RankOr20(run, jvdata::SE::kFinishPosition), RunLabel(entry), kChartGreen);
        Add(chart, 0, RankOr20(run, jvdata::SE::kWinPopularity), RunLabel(entry), kChartRed);
    }
}

void ShowRankComparison(TChart& chart, const race::TRaceDayData& day, int slot, int runners,
                        int entry) {
    ForEachRunnersRun(
        chart, day, slot, runners, entry,
        [&](const jvdata::TRecordSE& run, const jvdata::TRecordRA& race, const std::string& label) {
            AddOrGrey(chart, 1, UnlessZero(run.Int(jvdata::SE::kWinPopularity)), kNoRank, label,
                      kChartRed);
            AddOrGrey(chart, 2, UnlessZero(run.Int(jvdata::SE::kFinishPosition)), kNoRank, label,
                      kChartGreen);
            AddOrGrey(chart, 0, UnlessZero(ExpectationValue(run, race)), 0, label, kChartYellow);
        });
}

namespace {

bool IsTrend(TChartId id) {
    return id == TChartId::Chart1 || id == TChartId::Chart3;
}

} // namespace

std::string SelectorCaption(TChartId id) {
    return IsTrend(id) ? U("馬番") : std::string();
}

std::vector<std::string> SelectorItems(TChartId id, int runners) {
    std::vector<std::string> items;
    if (IsTrend(id)) {
        for (int n = 1; n <= runners && n <= race::kRunnerSlots; ++n) {
            items.push_back(std::to_string(n) + Texts().horse);
        }
    } else {
        for (int n = 1; n <= race::kPastRunSlots; ++n) {
            items.push_back(Texts().earlier + std::to_string(n));
        }
    }
    return items;
}

void ShowChart(TChart& chart, const race::TRaceDayData& day, int slot, int runners, int item) {
    switch (chart.id) {
    case TChartId::Chart1:
        ShowTimeTrend(chart, day, slot, item);
        break;
    case TChartId::Chart2:
        ShowTimeComparison(chart, day, slot, runners, item);
        break;
    case TChartId::Chart3:
        ShowRankTrend(chart, day, slot, item);
        break;
    case TChartId::Chart4:
        ShowRankComparison(chart, day, slot, runners, item);
        break;
    }
}

std::string PrintfFormat(std::string_view pattern) {
    const std::size_t point = pattern.find('.');
    if (point == std::string_view::npos) {
        return "%.0f";
    }
    return "%." + std::to_string(pattern.size() - point - 1) + "f";
}

} // namespace analysis
