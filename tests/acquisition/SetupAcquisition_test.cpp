// The setup acquisition of a new user: when it is proposed and from when, the window's
// proposal, and a setup through the stand-in's built-in season that gives the last weekend's
// runners their five earlier runs.
#include "acquisition/AcquisitionTimes.h"
#include "acquisition/GetDataTestSupport.h"
#include "acquisition/HeadlessAcquisition.h"
#include "acquisition/SetupAcquisition.h"
#include "files/ProgramFolder.h"
#include "jvlink/standin/CatalogueSource.h"
#include "jvlink/standin/StandInJVLink.h"
#include "race/DateList.h"
#include "race/DayLoad.h"
#include "store/StoreLayout.h"
#include "store/StoreTestSupport.h"

#include <filesystem>
#include <memory>

namespace {

namespace fs = std::filesystem;
using namespace keiba::acqtest;
using keiba::test::TempDir;
using keiba::test::WriteFileBytes;
using store::TLocalDateTime;

TEST(SetupAcquisition, ProposedOnlyForAStoreWithoutRaceDaysOrResults) {
    TempDir root;
    EXPECT_TRUE(acquisition::StoreIsEmpty(root / "missing")) << "a new data root";
    fs::create_directories(root / "DATA");
    fs::create_directories(root / "SEIR" / "2026");
    fs::create_directories(root / "UM2" / "2021");
    WriteFileBytes(root / "UM2" / "2021" / "2021100001.jvUM2", "UM");
    WriteFileBytes(root / "DATA" / "notes.txt", "x");
    EXPECT_TRUE(acquisition::StoreIsEmpty(root.path())) << "horse masters alone are no race day";

    WriteFileBytes(root / "SEIR" / "2026" / "2026060705.JVSERA", "RA");
    EXPECT_FALSE(acquisition::StoreIsEmpty(root.path())) << "results, letter case aside";
    fs::remove(root / "SEIR" / "2026" / "2026060705.JVSERA");
    WriteFileBytes(root / "DATA" / files::PathFromText(S("2026年06月07日東京.jvHR")), "HR");
    EXPECT_FALSE(acquisition::StoreIsEmpty(root.path())) << "a payoffs file";
}

TEST(SetupAcquisition, StartsAtMidnightAYearBack) {
    EXPECT_EQ(acquisition::SetupStartTime({2026, 12, 9, 13, 45, 10}),
              (TLocalDateTime{2025, 12, 9, 0, 0, 0}));
    EXPECT_EQ(acquisition::SetupStartTime({2028, 2, 29, 8, 0, 0}),
              (TLocalDateTime{2027, 2, 28, 0, 0, 0}));
}

class SetupProposalTest : public ::testing::Test {
protected:
    void Make() {
        control = std::make_unique<acquisition::TGetDataControl>(
            acquisition::TGetDataContext{
                link, ui, settings, root.path(), FixedClock(2026, 12, 9, 13, 45, 10), {}},
            view);
        control->FormCreate();
    }

    TempDir root;
    std::vector<std::string> line;
    TFakeJVLink link;
    TLoggingInteraction ui{line};
    TRecordingView view{line};
    shell::TIniGT settings{files::TextFromPath(root / "tomberly.ini")};
    std::unique_ptr<acquisition::TGetDataControl> control;
};

TEST_F(SetupProposalTest, AnEmptyStoreProposesASetupTheUserMayChangeOrDecline) {
    ASSERT_TRUE(settings.WriteText("JvDataGet", "LastTime", "2026/11/30 10:00:00").ok());
    Make();
    EXPECT_TRUE(view.setupOffered && view.setupChosen);
    EXPECT_EQ(view.picker, (TLocalDateTime{2025, 12, 9, 0, 0, 0}));
    control->SetStartDate(2026, 1, 4); // another date, still a setup
    control->SetSetup(false);
    EXPECT_TRUE(view.setupOffered && !view.setupChosen);
    EXPECT_EQ(view.picker, (TLocalDateTime{2026, 11, 30, 10, 0, 0})) << "the ordinary start";
    control->SetSetup(true);
    EXPECT_EQ(view.picker, (TLocalDateTime{2025, 12, 9, 0, 0, 0}));

    // A setup fetches its files, and once stored whole the next run goes on from its end.
    link.openReadCount = 1;
    link.openDownloadCount = 1;
    link.openTimestamp = "20261207100000";
    link.statuses = {1};
    link.reads = {{-1}};
    control->ButtonStartClick();
    control->TimerJVStatusTimer();
    EXPECT_EQ(link.calls.front(), "JVOpen(RACEDIFN,20251209000000,3)");
    EXPECT_EQ(settings.ReadText("JvDataGet", "LastTime", ""), "2026/12/07 10:00:00");
    EXPECT_FALSE(view.setupOffered || view.setupChosen);
    EXPECT_EQ(view.picker, (TLocalDateTime{2026, 12, 7, 10, 0, 0}));
}

TEST_F(SetupProposalTest, AStoreWithDataGetsTheOrdinaryAcquisition) {
    fs::create_directories(root / "DATA");
    WriteFileBytes(root / "DATA" / files::PathFromText(S("2026年12月06日中山.jvRA")), "RA");
    Make();
    EXPECT_FALSE(view.setupOffered || view.setupChosen);
    EXPECT_EQ(view.picker, (TLocalDateTime{2026, 12, 1, 13, 45, 10})) << "8 days back";
    control->SetSetup(true);
    EXPECT_FALSE(view.setupChosen) << "no setup is offered";
}

// The built-in season served by the stand-in, set up into an empty store on the Tuesday after
// a race weekend, then the last Sunday loaded as the main window loads it.
TEST(SetupAcquisition, TheLastWeekendsRunnersHaveTheirFiveEarlierRuns) {
    TempDir dir;
    const fs::path root = dir / "root";
    standin::TStandInSettings service;
    service.downloadMsPerFile = 0;
    service.seasonWeeks = 26;
    ASSERT_TRUE(standin::SaveSettings(dir / "jvlink-standin.ini", service));
    const auto tuesday = [] { return std::string("20260609120000"); };
    standin::TStandInJVLink link(dir / "jvlink-standin.ini",
                                 standin::SettingsCatalogueProvider(tuesday), {}, tuesday);
    ASSERT_EQ(link.JVInit("UNKNOWN"), 0);
    fs::create_directories(root);
    ASSERT_TRUE(store::CreateStoreFolders(root)); // as the main window makes them at start
    ASSERT_TRUE(acquisition::StoreIsEmpty(root));

    acquisition::TAcquisitionRequest request;
    request.dataspec = acquisition::kSetupDataSpec;
    request.option = acquisition::kSetupOption;
    request.fromTime =
        acquisition::FromTimeText(acquisition::SetupStartTime({2026, 6, 9, 12, 0, 0}));
    request.root = root;
    request.pollInterval = std::chrono::milliseconds(1);
    std::atomic<bool> cancel{false};
    keiba::storetest::TRecordingSink sink;
    const auto run =
        acquisition::RunAcquisition(link, request, FixedClock(2026, 6, 9, 12), cancel, sink);
    ASSERT_TRUE(run.Succeeded()) << Show(run.message);
    EXPECT_GT(run.downloadCount, 20) << "a setup fetches its files first";
    EXPECT_EQ(run.nextStartTime, "2026/06/08 10:00:00");
    EXPECT_FALSE(acquisition::StoreIsEmpty(root));

    const std::string sunday = S("2026年06月07日");
    std::string entry;
    for (const auto& listed : race::MakeDateList(root).entries) {
        if (listed.starts_with(sunday)) {
            entry = listed;
        }
    }
    ASSERT_FALSE(entry.empty());
    auto day = std::make_unique<race::TRaceDayData>();
    ASSERT_TRUE(race::LoadRaceDay(root, entry, *day).loaded());
    int runners = 0;
    int withFive = 0;
    int withAny = 0;
    for (int r = 0; r < day->RaceCount; ++r) {
        for (int k = 0; k < race::RunnerCount(day->Races[r]); ++k) {
            ++runners;
            int runs = 0;
            for (int p = 0; p < race::kPastRunSlots; ++p) {
                const auto& past = day->PastRuns[r][k][p];
                const auto& pastRace = day->PastRaces[r][k][p];
                if (!race::HoldsRace(pastRace)) {
                    continue;
                }
                ++runs;
                EXPECT_EQ(pastRace.RaceKey(), past.RaceKey()) << "each earlier run has its race";
            }
            withFive += runs == race::kPastRunSlots ? 1 : 0;
            withAny += runs > 0 ? 1 : 0;
        }
    }
    // The season publishes 26 weeks: a horse that runs every few weeks has all five there,
    // and every runner but a debutant has earlier runs at all.
    EXPECT_GT(runners, 150);
    EXPECT_GT(withAny, runners * 9 / 10) << withAny << " of " << runners;
    EXPECT_GT(withFive, 20) << withFive << " of " << runners;
}

} // namespace
