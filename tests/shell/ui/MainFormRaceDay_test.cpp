// Race browsing in the main window: a day chosen in the date list is loaded with the progress
// window and shown on the race card; the race tabs switch races; the results page and the
// horse tabs live on their pages.
#include "race/ui/PayoffPageWidget.h"
#include "race/ui/RaceCardGrid.h"
#include "race/ui/RaceHeaderPanel.h"
#include "shell/ui/ShellUiSupport.h"
#include "shell/ui/TMainForm.h"
#include "support/RaceDayFixture.h"
#include "widgets/ui/TPrgrsForm.h"
#include "widgets/ui/TabControl.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QTabBar>
#include <QTableWidget>

namespace {

using keiba::test::S;

TEST(MainFormRaceDay, ChoosingADayShowsItsRacesAndSwitchingTabsShowsAnother) {
    keiba::test::MainFormWorld world;
    const keiba::test::RaceDayStore store(world.root.path());
    keiba::test::RacePlan plan;
    plan.runners = 1;
    std::vector<jvdata::TRecordRA> races;
    std::vector<jvdata::TRecordSE> runners;
    for (int number = 1; number <= 3; ++number) {
        plan.number = number;
        plan.runners = number;
        plan.track = number == 3 ? "23" : "11";
        races.push_back(keiba::test::MakeRace(plan));
        for (int horse = 1; horse <= number; ++horse) {
            runners.push_back(
                keiba::test::MakeRunner(races.back(), horse, "2001100001", S("ウマ")));
        }
    }
    const std::string entry = S("2004年05月01日東京");
    store.WriteRaces(entry, races);
    store.WriteRunnerSlots(entry, runners);
    store.WritePayoffs(entry, {keiba::test::MakePayoff(races[1], 2, 480, 1)});

    auto form = world.Make();
    widgets::TPrgrsForm progress;
    form->AttachWindows(&progress, nullptr);
    form->MakeDataListBtnClick();
    ASSERT_EQ(form->DateCombo()->count(), 1);
    EXPECT_EQ(form->DateCombo()->currentIndex(), -1);
    EXPECT_TRUE(form->Panel1()->isHidden());

    form->DateCombo()->setCurrentIndex(0);
    emit form->DateCombo()->activated(0);
    EXPECT_FALSE(form->Panel1()->isHidden());
    EXPECT_TRUE(progress.isHidden());
    EXPECT_EQ(progress.ProgressBar1()->value(), 15);
    EXPECT_EQ(form->TabControl1()->Tabs()->count(), 3);
    EXPECT_EQ(form->TabControl1()->Tabs()->tabText(2), QString::fromUtf8(" 3R"));
    EXPECT_EQ(form->StringGrid1()->rowCount(), 1);
    EXPECT_EQ(form->TabControl2()->Tabs()->count(), 1);
    EXPECT_EQ(form->RaceDay().RaceCount, 3);

    // The user picks race 2, then race 3 (dirt 23: maroon).
    form->TabControl1()->Tabs()->setCurrentIndex(1);
    EXPECT_EQ(form->StringGrid1()->rowCount(), 2);
    EXPECT_EQ(form->PayoffPage()
                  ->Box(race::TBetType::Win, race::PayoffPage::TPayoffLine::Payout, 0)
                  ->Caption(),
              QString::fromUtf8("     480"));
    form->TabControl1()->Tabs()->setCurrentIndex(2);
    EXPECT_EQ(form->StringGrid1()->rowCount(), 3);
    EXPECT_EQ(form->Panel2()->Colour(), QColor(128, 0, 0));
    EXPECT_TRUE(form->PayoffPage()
                    ->Box(race::TBetType::Win, race::PayoffPage::TPayoffLine::Payout, 0)
                    ->Caption()
                    .isEmpty());
    EXPECT_TRUE(world.user.Events().empty());

    // The store loses the day's runner slots: the next choice says so and hides the area.
    std::filesystem::remove(store.PathOf(S("DATA\\2004年05月01日東京.jvSEr")));
    emit form->DateCombo()->activated(0);
    EXPECT_TRUE(form->Panel1()->isHidden());
    EXPECT_EQ(world.user.Texts(), std::vector<std::string>{S("データ作成が未完了のようです。")});
    EXPECT_EQ(world.user.BeepCount(), 1);
    EXPECT_EQ(form->RaceDay().RaceCount, 3) << "the loaded day stays as it was";
}

} // namespace
