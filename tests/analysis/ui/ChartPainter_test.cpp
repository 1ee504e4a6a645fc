// Charts painted by the chart painter into an image, checked against the core's points and
// the core's mapping of values to pixels.
#include "analysis/AnalysisDay.h"
#include "analysis/ChartGeometry.h"
#include "analysis/ui/ChartPainter.h"

#include <cmath>
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

namespace {

using namespace analysis;
using analysis::ui::LayoutChart;
using analysis::ui::PaintChart;
using analysis::ui::TChartLayout;
using keiba::test::AnalysisDay;
using keiba::test::PastRun;

const QRectF kFrame(0, 0, 720, 420);

QImage Paint(const TChart& chart) {
    QImage image(kFrame.size().toSize(), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    PaintChart(painter, kFrame, chart);
    return image;
}

QColor At(const QImage& image, double x, double y) {
    return image.pixelColor(static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y)));
}

// A black outline above, below, left and right of the mark's centre, within a pixel of the
// mark's edges: the mark is drawn whole, not cut at the plot's edge.
bool Outlined(const QImage& image, const QRectF& mark) {
    const int cx = static_cast<int>(mark.center().x());
    const int cy = static_cast<int>(mark.center().y());
    auto black = [&](int x, int y) {
        return image.rect().contains(x, y) && image.pixelColor(x, y) == QColor(Qt::black);
    };
    auto any = [&](double from, double to, auto pixel) {
        for (int v = static_cast<int>(std::floor(from)) - 1; v <= static_cast<int>(std::ceil(to));
             ++v) {
            if (pixel(v)) {
                return true;
            }
        }
        return false;
    };
    return any(mark.top(), mark.top() + 1, [&](int y) { return black(cx, y); }) &&
           any(mark.bottom() - 1, mark.bottom(), [&](int y) { return black(cx, y); }) &&
           any(mark.left(), mark.left() + 1, [&](int x) { return black(x, cy); }) &&
           any(mark.right() - 1, mark.right(), [&](int x) { return black(x, cy); });
}

// Horse 1: won (1), 18th of 18, no position, 2nd, 5th, oldest first; horse 2 blank.
AnalysisDay Runs() {
    AnalysisDay d(2);
    const char* places[] = {"05", "02", "00", "18", "01"};
    for (int i = 0; i < 5; ++i) {
        d.Run(0, i, PastRun{"1345", "350", places[i], "18", "1600", "18"});
    }
    return d;
}

// Every drawn point: its centre pixel has the point's colour where the core's axis maps its
// value and the slot's centre lies.
void ExpectPointsWhereTheAxesMapThem(const TChart& chart) {
    const QImage image = Paint(chart);
    const TChartLayout layout = LayoutChart(chart, kFrame);
    const QRectF& plot = layout.plot;
    int checked = 0;
    for (std::size_t j = 0; j < chart.series.size(); ++j) {
        const TChartSeries& s = chart.series[j];
        if (s.kind != TSeriesKind::Points) {
            continue;
        }
        const TAxisMap map = MapAxis(chart, s.axis, plot.top(), plot.bottom());
        for (std::size_t i = 0; i < s.points.size(); ++i) {
            if (!map.Covers(s.points[i].value)) {
                continue;
            }
            const double x =
                SlotCentre(static_cast<int>(i), SlotCount(chart), plot.left(), plot.right());
            EXPECT_EQ(At(image, x, map.Pixel(s.points[i].value)).rgb() & 0xFFFFFF,
                      s.points[i].colour)
                << s.name << " point " << i;
            ++checked;
        }
    }
    EXPECT_GT(checked, 0);
}

TEST(ChartPainter, PointsLieWhereTheAxesMapTheirValues) {
    AnalysisDay d = Runs();
    TChart chart = MakeChart(TChartId::Chart1);
    ShowTimeTrend(chart, d.day(), 0, 0);
    ExpectPointsWhereTheAxesMapThem(chart);
    chart = MakeChart(TChartId::Chart2);
    ShowTimeComparison(chart, d.day(), 0, 2, 1);
    ExpectPointsWhereTheAxesMapThem(chart);
    chart = MakeChart(TChartId::Chart4);
    ShowRankComparison(chart, d.day(), 0, 2, 0); // popularity 18 on the axis's end, 5th
    ExpectPointsWhereTheAxesMapThem(chart);
}

TEST(ChartPainter, MarksAtTheFirstAndLastRankAreWhole) {
    AnalysisDay d = Runs();
    TChart chart = MakeChart(TChartId::Chart1);
    ShowTimeTrend(chart, d.day(), 0, 0);
    const QImage image = Paint(chart);
    const TChartLayout layout = LayoutChart(chart, kFrame);
    int whole = 0;
    for (const ui::TPlacedPoint& p : layout.points) {
        if (p.mark.isEmpty()) {
            continue;
        }
        EXPECT_TRUE(Outlined(image, p.mark)) << p.index;
        whole += p.centre.y() == layout.plot.top() || p.centre.y() == layout.plot.bottom();
    }
    EXPECT_EQ(whole, 2); // the win at 1 and the 18th at 18, on the plot's edges
}

TEST(ChartPainter, MarkLabelsStayClearOfTheLegend) {
    AnalysisDay d = Runs();
    TChart chart = MakeChart(TChartId::Chart1);
    ShowTimeTrend(chart, d.day(), 0, 0);
    const TChartLayout layout = LayoutChart(chart, kFrame);
    std::vector<QString> labels;
    for (const ui::TPlacedPoint& p : layout.points) {
        labels.push_back(p.label);
        EXPECT_FALSE(p.labelBox.intersects(layout.legend)) << p.label.toStdString();
        EXPECT_FALSE(p.labelBox.intersects(layout.nameBox)) << p.label.toStdString();
        EXPECT_GE(p.labelBox.top(), layout.legend.bottom());
        EXPECT_TRUE(kFrame.contains(p.labelBox));
    }
    // The run without a position keeps its label "なし" inside the plot, without a mark.
    EXPECT_EQ(labels, (std::vector<QString>{QStringLiteral(u"1着"), QStringLiteral(u"18着"),
                                            QStringLiteral(u"なし"), QStringLiteral(u"2着"),
                                            QStringLiteral(u"5着")}));
    EXPECT_TRUE(layout.points[2].mark.isEmpty());
    // Each legend entry's colour box shows its series' colour.
    const QImage image = Paint(chart);
    ASSERT_EQ(layout.entries.size(), 3u);
    for (std::size_t j = 0; j < layout.entries.size(); ++j) {
        const QPointF c = layout.entries[j].symbol.center();
        EXPECT_EQ(At(image, c.x(), c.y()).rgb() & 0xFFFFFF, chart.series[j].colour) << j;
    }
}

TEST(ChartPainter, AnAxisWithoutSeriesLeavesOnlyTheBackground) {
    TChart chart = MakeChart(TChartId::Chart2);
    const TChartLayout layout = LayoutChart(chart, kFrame);
    EXPECT_FALSE(layout.right.shown);
    EXPECT_TRUE(layout.left.shown);
    // Right of the plot every row is the background gradient's own colour: no scale, no title.
    const QImage image = Paint(chart);
    const int from = static_cast<int>(layout.plot.right()) + 2;
    for (int y = 0; y < image.height(); y += 2) {
        const QColor edge = image.pixelColor(image.width() - 1, y);
        for (int x = from; x < image.width(); ++x) {
            ASSERT_EQ(image.pixelColor(x, y), edge) << x << "," << y;
        }
    }
    EXPECT_GT(kFrame.right() - layout.plot.right(), 0);
    EXPECT_LT(kFrame.right() - layout.plot.right(), 10); // the plot takes the axis's room
}

} // namespace
