#include "analysis/ChartGeometry.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

using namespace analysis;

std::vector<std::string> MajorTexts(const std::vector<TAxisTick>& ticks) {
    std::vector<std::string> texts;
    for (const TAxisTick& t : ticks) {
        if (t.major) {
            texts.push_back(t.text);
        }
    }
    return texts;
}

int Minors(const std::vector<TAxisTick>& ticks) {
    return static_cast<int>(
        std::count_if(ticks.begin(), ticks.end(), [](const TAxisTick& t) { return !t.major; }));
}

std::vector<std::string> Ranks() {
    std::vector<std::string> texts;
    for (int n = 1; n <= 18; ++n) {
        texts.push_back(std::to_string(n));
    }
    return texts;
}

TEST(ChartGeometry, AxisLabelsInTheirPatterns) {
    const TChart chart1 = MakeChart(TChartId::Chart1);
    const auto seconds = AxisTicks(chart1.left, AxisRange(chart1, TAxisSide::Left));
    EXPECT_EQ(MajorTexts(seconds), (std::vector<std::string>{"5.2", "5.7", "6.2", "6.7"}));
    EXPECT_EQ(Minors(seconds), 0);
    EXPECT_EQ(MajorTexts(AxisTicks(chart1.right, AxisRange(chart1, TAxisSide::Right))), Ranks());

    const TChart chart2 = MakeChart(TChartId::Chart2);
    EXPECT_EQ(MajorTexts(AxisTicks(chart2.left, AxisRange(chart2, TAxisSide::Left))),
              (std::vector<std::string>{"5.20", "5.70", "6.20", "6.70"}));

    // A half step on a whole-number axis and ticks between the labels: each rank once, a
    // minor tick between two ranks.
    for (const TChartId id : {TChartId::Chart3, TChartId::Chart4}) {
        const TChart chart = MakeChart(id);
        const auto ranks = AxisTicks(chart.left, AxisRange(chart, TAxisSide::Left));
        EXPECT_EQ(MajorTexts(ranks), Ranks());
        EXPECT_EQ(Minors(ranks), 17);
    }

    EXPECT_EQ(AxisLabel(1234, "#,##0"), "1,234");
    EXPECT_EQ(AxisLabel(-1234567.5, "#,##0.0"), "-1,234,567.5");
    EXPECT_EQ(AxisLabel(-0.01, "#,##0.0"), "0.0");
}

TEST(ChartGeometry, AnAxisThatCarriesNothingIsNotDrawn) {
    EXPECT_TRUE(AxisShown(MakeChart(TChartId::Chart1), TAxisSide::Right));
    EXPECT_FALSE(AxisShown(MakeChart(TChartId::Chart2), TAxisSide::Right)); // 期待値, no series
    EXPECT_TRUE(AxisShown(MakeChart(TChartId::Chart2), TAxisSide::Left));
    EXPECT_FALSE(AxisShown(MakeChart(TChartId::Chart3), TAxisSide::Right));
    EXPECT_TRUE(AxisShown(MakeChart(TChartId::Chart4), TAxisSide::Right));
}

TEST(ChartGeometry, TheExpectationAxisRangeFollowsTheBars) {
    TChart chart = MakeChart(TChartId::Chart4);
    EXPECT_EQ(AxisRange(chart, TAxisSide::Right), (TAxisRange{0, 1})); // no bars yet
    auto& bars = chart.series[0].points;
    bars = {{30, "1", kChartYellow}, {0, "2", kChartGrey}};
    EXPECT_EQ(AxisRange(chart, TAxisSide::Right), (TAxisRange{0, 30}));
    EXPECT_EQ(MajorTexts(AxisTicks(chart.right, AxisRange(chart, TAxisSide::Right))),
              (std::vector<std::string>{"0", "10", "20", "30"}));
    bars[0].value = 34;
    EXPECT_EQ(AxisRange(chart, TAxisSide::Right), (TAxisRange{0, 40}));
    bars[0].value = 3;
    EXPECT_EQ(AxisRange(chart, TAxisSide::Right), (TAxisRange{0, 3}));
    // The point series on the left do not widen it.
    chart.series[1].points = {{20, "1", kChartGrey}};
    EXPECT_EQ(AxisRange(chart, TAxisSide::Right), (TAxisRange{0, 3}));
}

TEST(ChartGeometry, ValuesAndSlotsMapToPixels) {
    const TChart chart = MakeChart(TChartId::Chart1);
    const TAxisMap ranks = MapAxis(chart, TAxisSide::Right, 10, 180);
    EXPECT_DOUBLE_EQ(ranks.Pixel(1), 10); // inverted: the winner at the top
    EXPECT_DOUBLE_EQ(ranks.Pixel(18), 180);
    EXPECT_DOUBLE_EQ(ranks.Pixel(9.5), 95);
    EXPECT_TRUE(ranks.Covers(1));
    EXPECT_TRUE(ranks.Covers(18));
    EXPECT_FALSE(ranks.Covers(20)); // なし lies beyond the last rank
    const TAxisMap seconds = MapAxis(chart, TAxisSide::Left, 10, 170);
    EXPECT_DOUBLE_EQ(seconds.Pixel(6.0), 90);
    EXPECT_FALSE(seconds.Covers(kNoTimeTrend));
    const TAxisMap upright{TAxisRange{0, 30}, false, 0, 300};
    EXPECT_DOUBLE_EQ(upright.Pixel(0), 300);
    EXPECT_DOUBLE_EQ(upright.Pixel(30), 0);

    EXPECT_EQ(SlotCount(chart), 1);
    EXPECT_EQ(SlotLabels(chart), nullptr);
    EXPECT_DOUBLE_EQ(SlotCentre(0, 1, 100, 200), 150);
    EXPECT_DOUBLE_EQ(SlotCentre(4, 5, 0, 500), 450);
    TChart three = MakeChart(TChartId::Chart3);
    three.series[1].points = {{3, "a", 0}, {4, "b", 0}, {5, "c", 0}};
    EXPECT_EQ(SlotCount(three), 3);
    EXPECT_EQ(SlotLabels(three), &three.series[1].points);
}

} // namespace
