// The setup acquisition: proposed for an empty store only, and what it brings a new user.
#include "acquisition/GetDataTestSupport.h"
#include "files/ProgramFolder.h"
#include "jvlink/standin/CatalogueSource.h"
#include "race/DateList.h"
#include "race/DayLoad.h"
#include "store/StoreTestSupport.h"

namespace {

using namespace keiba::acqtest;
using keiba::test::TempDir;
using store::TLocalDateTime;

TEST(SetupAcquisition, ProposedForAnEmptyStoreFromAYearBackUntilASetupFilledIt) {
    TempDir root;
    std::vector<std::string> line;
    TFakeJVLink link;
    TLoggingInteraction ui{line};
    TRecordingView view{line};
    settings::TIniGT settings{files::TextFromPath(root / "tomberly.ini")};
    ASSERT_TRUE(settings.WriteText("JvDataGet", "LastTime", "2026/11/30 10:00:00").ok());
    acquisition::TGetDataControl control(
        {link, ui, settings, root.path(), FixedClock(2026, 12, 9, 13, 45, 10), {}}, view);
    control.FormCreate();
    EXPECT_TRUE(view.setupOffered && view.setupChosen);
    EXPECT_EQ(view.picker, (TLocalDateTime{2025, 12, 9, 0, 0, 0}));
    control.SetSetup(false);
    EXPECT_EQ(view.picker, (TLocalDateTime{2026, 11, 30, 10, 0, 0})) << "declined";
    control.SetSetup(true);
    link.openReadCount = link.openDownloadCount = 1;
    link.openTimestamp = "20261207100000";
    control.ButtonStartClick();
    control.TimerJVStatusTimer(); // fetched: the setup is read, and the next run goes on from it
    EXPECT_EQ(link.calls.front(), "JVOpen(RACEDIFN,20251209000000,3)");
    EXPECT_EQ(settings.ReadText("JvDataGet", "LastTime", ""), "2026/12/07 10:00:00");
    EXPECT_FALSE(view.setupOffered || view.setupChosen);
}

TEST(SetupAcquisition, TheLastWeekendsRunnersHaveTheirFiveEarlierRuns) {
    TempDir dir;
    ASSERT_TRUE(store::CreateStoreFolders(dir.path()));
    standin::TStandInSettings service;
    service.downloadMsPerFile = 0;
    ASSERT_TRUE(standin::SaveSettings(dir / "stand-in.ini", service));
    const auto tuesday = [] { return std::string("20260609120000"); };
    standin::TStandInJVLink link(dir / "stand-in.ini", standin::SettingsCatalogueProvider(tuesday),
                                 {}, tuesday);
    ASSERT_EQ(link.JVInit("UNKNOWN"), 0);
    std::atomic<bool> cancel{false};
    keiba::storetest::TRecordingSink sink;
    acquisition::TAcquisitionRequest request;
    request.dataspec = acquisition::kSetupDataSpec;
    request.fromTime = "20250609000000";
    request.option = acquisition::kSetupOption;
    request.root = dir.path();
    const auto run =
        acquisition::RunAcquisition(link, request, FixedClock(2026, 6, 9, 12), cancel, sink);
    ASSERT_TRUE(run.Succeeded() && run.downloadCount > 20) << Show(run.message);

    // The last Sunday at one racecourse, loaded as the main window loads it.
    const std::string entry = race::MakeDateList(dir.path()).entries.at(0);
    ASSERT_TRUE(entry.starts_with(S("2026年06月07日")));
    auto day = std::make_unique<race::TRaceDayData>();
    ASSERT_TRUE(race::LoadRaceDay(dir.path(), entry, *day).loaded());
    int runners = 0, withRuns = 0, withFive = 0;
    for (int r = 0; r < day->RaceCount; ++r) {
        for (int k = 0; k < race::RunnerCount(day->Races[r]); ++k, ++runners) {
            int runs = 0;
            for (const auto& pastRace : day->PastRaces[r][k]) {
                runs += race::HoldsRace(pastRace) ? 1 : 0;
            }
            withRuns += runs > 0 ? 1 : 0;
            withFive += runs == race::kPastRunSlots ? 1 : 0;
        }
    }
    // Of 26 published weeks: every runner but a debutant has earlier runs, many all five.
    EXPECT_GT(withRuns, runners * 9 / 10) << withRuns << " of " << runners;
    EXPECT_GT(withFive, 10) << withFive << " of " << runners;
}

} // namespace
