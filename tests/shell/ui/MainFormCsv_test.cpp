// The main window's "CSVに保存": the shown race's tables through the program's save dialog.
#include "shell/ui/ShellUiSupport.h"
#include "shell/ui/TMainForm.h"
#include "support/RaceDayFixture.h"
#include "support/TestSupport.h"
#include "widgets/ui/CsvSave.h"
#include "widgets/ui/TPrgrsForm.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileDialog>

namespace {

using namespace keiba::test;

TEST(MainFormCsv, TheShownRacesResultsGoThroughTheSaveDialogInTheChosenEncoding) {
    MainFormWorld world;
    const RaceDayStore store(world.root.path());
    RacePlan plan;
    plan.runners = 1;
    const jvdata::TRecordRA race = MakeRace(plan);
    store.WriteRaces(S("2004年05月01日東京"), {race});
    store.WriteRunnerSlots(S("2004年05月01日東京"),
                           {MakeRunner(race, 1, "2001100001", S("ソダシ"))});
    store.WritePayoffs(S("2004年05月01日東京"), {MakePayoff(race, 1, 1230, 3)});
    auto form = world.Make();
    widgets::TPrgrsForm progress;
    form->AttachWindows(&progress, nullptr);
    form->MakeDataListBtnClick();
    auto* results = form->findChild<QAction*>(QStringLiteral("CsvResultsItem"));
    const auto enabled = [&] {
        emit form->findChild<QMenu*>(QStringLiteral("CsvMenu"))->aboutToShow();
        return results->isEnabled();
    };
    EXPECT_FALSE(enabled()); // no race shown yet
    form->DateCombo()->setCurrentIndex(0);
    emit form->DateCombo()->activated(0);
    EXPECT_TRUE(enabled());

    const std::filesystem::path file = world.root / "results.csv";
    QString proposed;
    WhenModalShows<QFileDialog>([&](QFileDialog& dialog) {
        proposed = dialog.selectedFiles().value(0);
        dialog.selectNameFilter(widgets::CsvNameFilters().at(1));
        dialog.selectFile(QString::fromStdString(file.string()));
        static_cast<QDialog&>(dialog).accept(); // QFileDialog's own accept, as OK does
    });
    results->trigger();
    EXPECT_TRUE(proposed.endsWith(QStringLiteral("/20040501東京1R成績.csv")))
        << proposed.toStdString();
    EXPECT_EQ(ReadFileBytes(file),
              S("区分,着順,枠番,馬番,馬名,騎手,タイム,着差,単勝オッズ,人気,"
                "組番,配当\r\n成績,,1,1,ソダシ,,,,,,,\r\n単勝,,,,,,,,,3,1,1230\r\n"));
}

} // namespace
