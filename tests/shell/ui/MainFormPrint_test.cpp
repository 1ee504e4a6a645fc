// The print preview opened from the main window's tool button.
#include "print/ui/TAllPrintForm.h"
#include "settings/TIniGT.h"
#include "shell/ui/ShellUiSupport.h"
#include "shell/ui/TMainForm.h"
#include "support/RaceDayFixture.h"
#include "support/TestSupport.h"
#include "widgets/ui/TPrgrsForm.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include <QComboBox>
#include <QToolButton>

namespace {

using namespace keiba::test;
using print::ui::TAllPrintForm;

TEST(MainFormPrint, TheToolButtonOpensThePreviewOfTheLoadedDay) {
    MainFormWorld world;
    const RaceDayStore store(world.root.path());
    std::vector<jvdata::TRecordRA> races;
    std::vector<jvdata::TRecordSE> runners;
    for (int number = 1; number <= 2; ++number) {
        RacePlan plan;
        plan.number = number;
        plan.runners = 2;
        races.push_back(MakeRace(plan));
        for (int horse = 1; horse <= 2; ++horse) {
            runners.push_back(MakeRunner(races.back(), horse, "200110000" + std::to_string(horse)));
        }
    }
    store.WriteRaces(S("2004年05月01日東京"), races);
    store.WriteRunnerSlots(S("2004年05月01日東京"), runners);
    auto form = world.Make();
    widgets::TPrgrsForm progress;
    form->AttachWindows(&progress, nullptr);
    form->MakeDataListBtnClick();
    form->DateCombo()->setCurrentIndex(0);
    emit form->DateCombo()->activated(0);
    ASSERT_FALSE(form->Panel1()->isHidden());

    int pages = 0;
    WhenModalShows<TAllPrintForm>([&](TAllPrintForm& preview) {
        pages = preview.PrevX1()->PageCount();
        EXPECT_EQ(preview.UpDown1()->Max(), 2);
        preview.close();
    });
    form->findChild<QToolButton*>(QStringLiteral("SpeedButton2"))->click();
    EXPECT_EQ(pages, 2);
    // The preview kept its bounds in the main window's settings file.
    EXPECT_GT(settings::TIniGT(world.settingsFile.string()).ReadInteger("Printlocate", "width", 0),
              0);
    EXPECT_TRUE(world.user.Events().empty());
}

} // namespace
