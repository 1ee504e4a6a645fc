// The archive window from the main window: a run listed by a search opens its day (from its
// cards or from its results) at its race and horse.
#include "archive/ui/TArchiveForm.h"
#include "shell/ui/ShellUiSupport.h"
#include "support/RaceDayFixture.h"
#include "widgets/ui/TPrgrsForm.h"
#include "widgets/ui/TabControl.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>

namespace {

using namespace keiba::test;

TEST(MainFormArchive, ARunListedByASearchOpensItsDayRaceAndHorse) {
    MainFormWorld world;
    const RaceDayStore store(world.root.path());
    const std::string horse = "2001104321";
    // 2004-04-24 東京 is known from its results only, 2004-05-01 東京 from its cards too. The
    // horse runs race 2 as number 3 on the first day, race 1 as number 2 on the second.
    std::vector<jvdata::TRecordRA> earlier, later;
    std::vector<jvdata::TRecordSE> laterRunners;
    for (int number : {1, 2}) {
        RacePlan plan;
        plan.date = "20040424";
        plan.number = number;
        plan.runners = 3;
        earlier.push_back(MakeRace(plan));
        plan.date = "20040501";
        later.push_back(MakeRace(plan));
        for (int h = 1; h <= 3; ++h) {
            laterRunners.push_back(
                MakeRunner(later.back(), h,
                           number == 1 && h == 2 ? horse : "2001" + std::to_string(200000 + h)));
        }
    }
    store.WriteResults(earlier);
    store.WriteResults(later);
    store.WriteRaces(S("2004年05月01日東京"), later);
    store.WriteRunnerSlots(S("2004年05月01日東京"), laterRunners);
    for (int number : {1, 2}) {
        for (int h = 1; h <= 3; ++h) {
            const std::string other = "2001" + std::to_string(100000 * number + h);
            if (number == 2 && h == 3) {
                continue;
            }
            store.WriteHistory(other, {MakeRunner(earlier[number - 1], h, other, S("ホカノウマ"))});
        }
    }
    store.WriteHistory(horse, {MakeRunner(earlier[1], 3, horse, S("テストウマ")),
                               MakeRunner(later[0], 2, horse, S("テストウマ"))});
    store.WriteHorseMaster(MakeHorseMaster(horse));

    auto form = world.Make();
    widgets::TPrgrsForm progress;
    form->AttachWindows(&progress, nullptr);
    form->SearchItemClick();
    archive::ui::TArchiveForm* archive = form->ArchiveForm();
    ASSERT_NE(archive, nullptr);
    ASSERT_TRUE(archive->OpenIndex()) << archive->Label1()->text().toStdString();
    archive->Edit1()->setText(QString::fromUtf8("テスト"));
    archive->Button1Click();
    ASSERT_EQ(archive->Hits().places.size(), 2u) << archive->Label2()->text().toStdString();

    // The older run, by a double-click: the day from its results, race 2, horse 3.
    archive->StringGrid1()->setCurrentCell(1, 0);
    emit archive->StringGrid1()->cellDoubleClicked(1, 0);
    EXPECT_EQ(form->DateCombo()->currentText(), QString::fromUtf8("2004年04月24日東京（成績）"));
    EXPECT_FALSE(form->Panel1()->isHidden());
    EXPECT_EQ(form->TabControl1()->TabIndex(), 1);
    EXPECT_EQ(form->TabControl2()->TabIndex(), 2);
    EXPECT_EQ(form->PageControl1()->currentIndex(), 1); // 競走馬

    // The newer one, by Enter: the day from its cards, race 1, horse 2.
    archive->StringGrid1()->setCurrentCell(0, 0);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(archive->StringGrid1(), &enter);
    EXPECT_EQ(form->DateCombo()->currentText(), QString::fromUtf8("2004年05月01日東京"));
    EXPECT_EQ(form->TabControl1()->TabIndex(), 0);
    EXPECT_EQ(form->TabControl2()->TabIndex(), 1);
    EXPECT_TRUE(world.user.Events().empty());

    // A run whose day has gone from the store since is said so; the day on show stays.
    std::filesystem::remove_all(world.root / "SEIR");
    form->MakeDataListBtnClick();
    archive->StringGrid1()->setCurrentCell(1, 0);
    emit archive->StringGrid1()->cellDoubleClicked(1, 0);
    ASSERT_EQ(world.user.Texts().size(), 1u);
    EXPECT_EQ(world.user.Texts()[0], S("2004年04月24日東京  2Rのデータが見つかりません。"));
    EXPECT_EQ(form->DateCombo()->currentText(), QString::fromUtf8("2004年05月01日東京"));
    EXPECT_FALSE(form->Panel1()->isHidden());
}

} // namespace
