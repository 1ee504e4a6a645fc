// The main window hands every shown race to the time tables and the charts: what the grids
// hold is what the text dump prints, and each race resets the selectors.
#include "analysis/AnalysisPages.h"
#include "analysis/ui/AnalysisPages.h"
#include "jvdata/SjisText.h"
#include "shell/ui/ShellUiSupport.h"
#include "support/RaceDayFixture.h"
#include "widgets/ui/TabControl.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QTabBar>

namespace {

using keiba::test::S;

TEST(MainFormAnalysis, EveryShownRaceFillsTheTablesAndResetsTheSelectors) {
    keiba::test::MainFormWorld world;
    const keiba::test::RaceDayStore store(world.root.path());
    const std::string entry = S("2004年05月01日東京");
    std::vector<jvdata::TRecordRA> races;
    std::vector<jvdata::TRecordSE> runners;
    for (int number = 1; number <= 2; ++number) {
        keiba::test::RacePlan plan;
        plan.number = number;
        plan.runners = number + 1;
        races.push_back(keiba::test::MakeRace(plan));
        for (int horse = 1; horse <= number + 1; ++horse) {
            runners.push_back(keiba::test::MakeRunner(
                races.back(), horse, "20011000" + std::to_string(10 * number + horse), S("ウマ")));
        }
    }
    store.WriteRaces(entry, races);
    store.WriteRunnerSlots(entry, runners);
    // Horse 2 of race 2 ran once before: 1:36.0 over 1600 m (6.00), 35.4 (5.90).
    keiba::test::RacePlan past;
    past.date = "20040418";
    past.runners = 16;
    jvdata::TRecordSE run = keiba::test::MakeRunner(keiba::test::MakeRace(past), 3, "2001100022");
    run.SetField(339, 342, "1360");
    run.SetField(391, 393, "354");
    store.WriteHistory("2001100022", {run});
    store.WriteResults({keiba::test::MakeRace(past)});

    auto form = world.Make();
    form->MakeDataListBtnClick();
    form->DateCombo()->setCurrentIndex(0);
    emit form->DateCombo()->activated(0);
    analysis::ui::TAnalysisPages* pages = form->AnalysisPages();
    EXPECT_EQ(pages->StringGrid3()->rowCount(), 2);
    EXPECT_EQ(pages->ChartPage(analysis::TChartId::Chart1)->ItemCount(), 2);

    // The user looks at horse 2's trend and the third run back, then opens race 2.
    pages->ChartPage(analysis::TChartId::Chart3)->Item(1)->click();
    pages->ChartPage(analysis::TChartId::Chart4)->Item(2)->click();
    form->TabControl1()->Tabs()->setCurrentIndex(1);
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(pages->ChartPage(static_cast<analysis::TChartId>(n))->ItemIndex(), 0) << n;
    }
    EXPECT_EQ(pages->ChartPage(analysis::TChartId::Chart3)->ItemCount(), 3);
    EXPECT_EQ(pages->StringGrid3()->Cell(3, 1), QString::fromUtf8("6.00"));
    EXPECT_EQ(pages->StringGrid2()->Cell(0, 1), QString::fromUtf8("◎"));

    // Every cell as the dump prints it.
    for (const auto page : {analysis::TAnalysisPage::Times, analysis::TAnalysisPage::Last3f}) {
        const auto lines = analysis::AnalysisPageLines(form->RaceDay(), 1, page, 0);
        const auto* grid =
            page == analysis::TAnalysisPage::Times ? pages->StringGrid3() : pages->StringGrid2();
        ASSERT_EQ(grid->rowCount(), static_cast<int>(lines.size()));
        for (int row = 0; row < grid->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < 9; ++column) {
                cells << grid->Cell(column, row);
            }
            EXPECT_EQ(cells.join(QLatin1Char('\t')).toStdString(),
                      Sjis::ToUtf8(lines[static_cast<std::size_t>(row)]));
        }
    }
    EXPECT_TRUE(world.user.Events().empty());
}

} // namespace
