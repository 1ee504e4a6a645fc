// The time table and chart pages in a window: what a race opening fills, what a selector
// click redraws, and how the cells and points are painted. With KEIBA_SHOT_DIR set, the pages
// of a runner with five runs and of one with three are saved there as PNG files.
#include "analysis/AnalysisDay.h"
#include "analysis/ui/AnalysisPages.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTabWidget>

namespace {

using namespace analysis;
using analysis::ui::TAnalysisPages;
using keiba::test::AnalysisDay;
using keiba::test::PastRun;

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Horse 1 with five runs (the last a 2nd), horse 2 with three, horse 3 with none.
AnalysisDay Race() {
    AnalysisDay d(3);
    const char* places[] = {"02", "01", "05", "00", "03"};
    for (int i = 0; i < 5; ++i) {
        d.Run(0, i, PastRun{i == 3 ? "0000" : "1345", "350", places[i], "03", "1600", "16"});
    }
    for (int i = 0; i < 3; ++i) {
        d.Run(1, i, PastRun{"1360", "345", "04", "06", "1600", "16"});
    }
    return d;
}

struct Pages {
    QTabWidget tabs;
    std::unique_ptr<TAnalysisPages> pages;

    Pages() {
        std::array<QWidget*, 6> sheets{};
        const char* names[] = {"馬番別ﾀｲﾑ推移ｸﾞﾗﾌ", "各馬ﾀｲﾑ比較ｸﾞﾗﾌ",    "走破ﾀｲﾑ計算表",
                               "上3ﾊﾛﾝﾀｲﾑ計算表",   "人気・着順推移ｸﾞﾗﾌ", "人気･着順比較ｸﾞﾗﾌ"};
        for (std::size_t i = 0; i < sheets.size(); ++i) {
            sheets[i] = new QWidget;
            tabs.addTab(sheets[i], U(names[i]));
        }
        pages = std::make_unique<TAnalysisPages>(
            ui::TAnalysisSheets{sheets[0], sheets[1], sheets[2], sheets[3], sheets[4], sheets[5]});
        tabs.resize(900, 480);
    }

    int Points(TChartId id, int series) const {
        const TChart& shown = pages->ChartPage(id)->Chart()->Shown();
        return static_cast<int>(shown.series[static_cast<std::size_t>(series)].points.size());
    }

    // Saves each page as <dir>/<prefix>-<n>.png when KEIBA_SHOT_DIR is set.
    void Shoot(const char* prefix) {
        const char* dir = std::getenv("KEIBA_SHOT_DIR");
        if (dir == nullptr || *dir == '\0') {
            return;
        }
        tabs.show();
        for (int i = 0; i < tabs.count(); ++i) {
            tabs.setCurrentIndex(i);
            QApplication::processEvents();
            tabs.grab().save(QStringLiteral("%1/%2-%3.png").arg(dir, prefix).arg(i + 1));
        }
    }
};

TEST(AnalysisPagesUi, ARaceOpeningFillsTablesChartsAndSelectors) {
    AnalysisDay d = Race();
    Pages p;
    p.pages->ShowRace(d.day(), 0);
    const auto* grid = p.pages->StringGrid3();
    ASSERT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(grid->columnCount(), 9);
    EXPECT_EQ(grid->Cell(0, 0), U("◎"));
    EXPECT_EQ(grid->Cell(3, 0), U("5.91"));
    EXPECT_EQ(grid->Cell(6, 0), U(""));
    EXPECT_EQ(grid->Cell(8, 0), U("5.91"));
    EXPECT_EQ(grid->Cell(0, 1), U("○"));
    EXPECT_EQ(grid->Cell(2, 2), U("3"));
    EXPECT_EQ(grid->toolTip(),
              U("表示は印、枠番、馬番、前１走、前２走、前３走、前４走、前５走、平均値の順です"));
    EXPECT_EQ(p.pages->TimesPage()->Caption()->text(), U("　走破タイム計算表（100m当たり秒数）"));
    EXPECT_EQ(p.pages->StringGrid2()->Cell(8, 1), U("5.75"));

    auto* page1 = p.pages->ChartPage(TChartId::Chart1);
    EXPECT_EQ(page1->ItemCount(), 3);
    EXPECT_EQ(page1->Item(2)->text(), U("3番"));
    EXPECT_EQ(page1->ItemIndex(), 0);
    EXPECT_EQ(p.pages->ChartPage(TChartId::Chart4)->Item(4)->text(), U("前走-5"));
    EXPECT_EQ(page1->Chart()->NameText(), U("テストホース1"));
    EXPECT_EQ(p.Points(TChartId::Chart1, 0), 5);
    EXPECT_EQ(p.Points(TChartId::Chart2, 0), 3);
    EXPECT_EQ(p.Points(TChartId::Chart3, 1), 5);
    EXPECT_EQ(p.Points(TChartId::Chart4, 0), 3);
    p.Shoot("five-runs");

    // Horse 2 (three runs) chosen on both trends: Chart1 empties, Chart3 keeps five points.
    p.pages->ChartPage(TChartId::Chart1)->Item(1)->click();
    p.pages->ChartPage(TChartId::Chart3)->Item(1)->click();
    EXPECT_EQ(p.Points(TChartId::Chart1, 0), 0);
    EXPECT_EQ(page1->Chart()->NameText(), U("テストホース2"));
    EXPECT_EQ(p.Points(TChartId::Chart3, 0), 5);
    EXPECT_EQ(p.pages->ChartPage(TChartId::Chart3)->Chart()->Shown().series[0].points[0].value, 20);
    // The run 3 back on Chart2: horse 1 and horse 2 have it, horse 3 does not.
    p.pages->ChartPage(TChartId::Chart2)->Item(2)->click();
    const auto& times = p.pages->ChartPage(TChartId::Chart2)->Chart()->Shown().series[0].points;
    EXPECT_EQ(times[2].colour, kChartGrey);
    p.Shoot("three-runs");

    // Opening a race again resets every selector to its first item.
    p.pages->ShowRace(d.day(), 0);
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(p.pages->ChartPage(static_cast<TChartId>(n))->ItemIndex(), 0) << n;
    }
    EXPECT_EQ(p.Points(TChartId::Chart1, 0), 5);
}

TEST(AnalysisPagesUi, CellsArePaintedByTheirColumn) {
    QImage image(64, 15, QImage::Format_RGB32);
    QPainter painter(&image);
    QPalette palette;
    const QFont font;
    ui::TimeTableDrawCell(painter, 1, QRect(0, 0, 25, 15), U("4"), font, palette);
    ui::TimeTableDrawCell(painter, 8, QRect(25, 0, 39, 15), U(""), font, palette);
    painter.end();
    EXPECT_EQ(image.pixelColor(1, 14), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(60, 14), QColor(0, 255, 255));
}

} // namespace
