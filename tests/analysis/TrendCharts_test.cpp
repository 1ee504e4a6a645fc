#include "analysis/AnalysisDay.h"
#include "analysis/AnalysisPages.h"
#include "analysis/TrendCharts.h"

#include <gtest/gtest.h>

namespace {

using namespace analysis;
using keiba::test::AnalysisDay;
using keiba::test::PastRun;
using keiba::test::S;

std::vector<double> Values(const TChart& chart, std::string_view series) {
    std::vector<double> values;
    for (const TChartPoint& p : chart.Series(series)->points) {
        values.push_back(p.value);
    }
    return values;
}

// Values compared as doubles, within a few units in the last place.
void ExpectValues(const TChart& chart, std::string_view series, std::vector<double> expected) {
    const std::vector<double> values = Values(chart, series);
    ASSERT_EQ(values.size(), expected.size()) << series;
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_DOUBLE_EQ(values[i], expected[i]) << series << " point " << i;
    }
}

void ExpectPoint(const TChartPoint& point, double value, std::string_view label,
                 std::uint32_t colour) {
    EXPECT_DOUBLE_EQ(point.value, value);
    EXPECT_EQ(point.label, label);
    EXPECT_EQ(point.colour, colour);
}

std::vector<std::string> Labels(const TChart& chart, std::string_view series) {
    std::vector<std::string> labels;
    for (const TChartPoint& p : chart.Series(series)->points) {
        labels.push_back(p.label);
    }
    return labels;
}

// Horse 1 with five runs: 2nd (fuchsia), no position (なし), a "0000" time, a win, a 5th.
AnalysisDay FiveRuns() {
    AnalysisDay d(3);
    d.Run(0, 4, PastRun{"1346", "345", "02", "03", "1600", "16"});
    d.Run(0, 3, PastRun{"1360", "360", "00", "00", "1600", "16"});
    d.Run(0, 2, PastRun{"0000", "999", "07", "04", "1600", "16"});
    d.Run(0, 1, PastRun{"1352", "345", "01", "01", "1600", "16"});
    d.Run(0, 0, PastRun{"1328", "345", "05", "02", "1600", "16"});
    return d;
}

TEST(TrendCharts, TimeTrendOfFiveRuns) {
    AnalysisDay d = FiveRuns();
    TChart chart = MakeChart(TChartId::Chart1);
    ShowTimeTrend(chart, d.day(), 0, 0);
    EXPECT_EQ(chart.name, S("テストホース1"));
    EXPECT_EQ(
        Labels(chart, "Series1"),
        (std::vector<std::string>{S("前5走"), S("前4走"), S("前3走"), S("前2走"), S("前1走")}));
    ExpectValues(chart, "Series1", {5.9125, 6.0, 10.0, 5.95, 5.8});
    EXPECT_EQ(Labels(chart, "Series3"), (std::vector<std::string>{"5", "4", "3", "2", "1"}));
    EXPECT_EQ(Values(chart, "Series3")[2], 10.0);
    EXPECT_EQ(Labels(chart, "Series2"),
              (std::vector<std::string>{S("2着"), S("なし"), S("7着"), S("1着"), S("5着")}));
    ExpectValues(chart, "Series2", {2, 20, 7, 1, 5});
    const auto& places = chart.Series("Series2")->points;
    EXPECT_EQ(places[0].colour, 0xFF00FFu);
    EXPECT_EQ(places[1].colour, kChartGreen);
    EXPECT_EQ(places[3].colour, 0xFF0000u);
    // Points are added run by run: Series1, Series3, Series2.
    EXPECT_EQ(chart.added.size(), 15u);
    EXPECT_EQ((std::vector<int>(chart.added.begin(), chart.added.begin() + 4)),
              (std::vector<int>{0, 1, 2, 0}));
}

TEST(TrendCharts, TrendWalkStopsAtTheFirstBlankEntryFromTheOldest) {
    // Three runs: entry 4 is blank, so Chart1 is empty; Chart3 still has five points each,
    // the two oldest at 20.
    AnalysisDay d(2);
    for (int i = 0; i < 3; ++i) {
        d.Run(1, i, PastRun{"1345", "345", "04", "06", "1600", "16"});
    }
    TChart chart1 = MakeChart(TChartId::Chart1);
    ShowTimeTrend(chart1, d.day(), 0, 1);
    EXPECT_TRUE(chart1.added.empty());
    EXPECT_EQ(chart1.name, S("テストホース2"));
    TChart chart3 = MakeChart(TChartId::Chart3);
    ShowRankTrend(chart3, d.day(), 0, 1);
    ExpectValues(chart3, "Series7", {20, 20, 4, 4, 4});
    ExpectValues(chart3, "Series6", {20, 20, 6, 6, 6});
    EXPECT_EQ(chart3.added.front(), 1) << "Series7 before Series6";

    // Entries 4 and 3 present, entry 2 without its race record: two points, no skipping.
    d.Run(0, 4, PastRun{});
    d.Run(0, 3, PastRun{});
    d.Run(0, 2, PastRun{"1345", "345", "01", "01", "", ""});
    d.Run(0, 1, PastRun{});
    ShowTimeTrend(chart1, d.day(), 0, 0);
    EXPECT_EQ(Labels(chart1, "Series1"), (std::vector<std::string>{S("前5走"), S("前4走")}));
}

TEST(TrendCharts, ComparisonsOfOneEarlierRun) {
    AnalysisDay d(3);
    // Horse 1 won as favourite in 16; horse 2 is absent; horse 3's race record is missing.
    d.Run(0, 0, PastRun{"1345", "345", "01", "01", "1600", "16"});
    d.Run(2, 0, PastRun{"1345", "360", "03", "02", "", ""});

    TChart chart4 = MakeChart(TChartId::Chart4);
    ShowRankComparison(chart4, d.day(), 0, 3, 0);
    const auto& bars = chart4.Series("BarSeries1")->points;
    EXPECT_EQ(bars[0], (TChartPoint{30, "1", 0xFFFF00}));
    EXPECT_EQ(bars[1], (TChartPoint{0, "2", 0x808080}));
    EXPECT_EQ(chart4.Series("PointSeries1")->points[0], (TChartPoint{1, "1", 0xFF0000}));
    EXPECT_EQ(chart4.Series("PointSeries2")->points[0], (TChartPoint{1, "1", kChartGreen}));
    EXPECT_EQ(chart4.Series("PointSeries1")->points[1], (TChartPoint{20, "2", 0x808080}));
    EXPECT_EQ(chart4.Series("PointSeries2")->points[1], (TChartPoint{20, "2", 0x808080}));
    // No race record: no field size, so no expectation value.
    EXPECT_EQ(bars[2], (TChartPoint{0, "3", 0x808080}));

    TChart chart2 = MakeChart(TChartId::Chart2);
    ShowTimeComparison(chart2, d.day(), 0, 3, 0);
    const auto& times = chart2.Series("Series4")->points;
    const auto& last3f = chart2.Series("Series5")->points;
    ExpectPoint(times[0], 5.90625, "1", 0xFF0000);
    EXPECT_EQ(times[1], (TChartPoint{1.0, "2", 0x808080}));
    EXPECT_EQ(last3f[1], (TChartPoint{1.0, "2", 0x808080}));
    EXPECT_EQ(times[2], (TChartPoint{1.0, "3", 0xFF0000}));
    ExpectPoint(last3f[2], 6.0, "3", kChartGreen);
}

TEST(TrendCharts, SelectorsAndDumpLines) {
    EXPECT_EQ(SelectorItems(TChartId::Chart1, 3),
              (std::vector<std::string>{S("1番"), S("2番"), S("3番")}));
    EXPECT_EQ(SelectorItems(TChartId::Chart4, 3),
              (std::vector<std::string>{S("前走-1"), S("前走-2"), S("前走-3"), S("前走-4"),
                                        S("前走-5")}));
    EXPECT_EQ(SelectorCaption(TChartId::Chart3), S("馬番"));
    EXPECT_EQ(PrintfFormat("#,##0.00"), "%.2f");
    EXPECT_EQ(PrintfFormat("#,##0"), "%.0f");

    AnalysisDay d = FiveRuns();
    const auto chart1 = AnalysisPageLines(d.day(), 0, TAnalysisPage::Chart1, 0);
    ASSERT_EQ(chart1.size(), 16u);
    EXPECT_EQ(chart1[0], "StaticText2\t" + S("テストホース1"));
    EXPECT_EQ(chart1[1], "Series1\t0\t5.9125\t" + S("前5走") + "\t#FF0000");
    EXPECT_EQ(chart1[2], "Series3\t0\t5.7500\t5\t#FFFF00");
    EXPECT_EQ(chart1[3], "Series2\t0\t2.0000\t" + S("2着") + "\t#FF00FF");
    EXPECT_EQ(chart1[5], "Series3\t1\t6.0000\t4\t#FFFF00");
    const auto chart4 = AnalysisPageLines(d.day(), 0, TAnalysisPage::Chart4, 1);
    ASSERT_EQ(chart4.size(), 9u);
    EXPECT_EQ(chart4[0], "PointSeries1\t0\t1.0000\t1\t#FF0000");
    EXPECT_EQ(chart4[2], "BarSeries1\t0\t30.0000\t1\t#FFFF00");
    const auto times = AnalysisPageLines(d.day(), 0, TAnalysisPage::Times, 0);
    ASSERT_EQ(times.size(), 3u);
    EXPECT_EQ(times[0], S("◎") + "\t1\t1\t5.80\t5.95\t\t6.00\t5.91\t5.92");
    EXPECT_EQ(times[1], "\t1\t2\t\t\t\t\t\t");
}

} // namespace
