// The pages of a race day as text, from a store the acquisition filled: the stand-in's
// built-in season is acquired into a fresh store, a day with results is loaded, and its card
// and results are checked against the records the season published.
#include "acquisition/HeadlessAcquisition.h"
#include "files/ProgramFolder.h"
#include "jvdata/SjisText.h"
#include "jvlink/standin/Catalogue.h"
#include "jvlink/standin/StandInJVLink.h"
#include "race/DateList.h"
#include "race/DayPages.h"
#include "store/StoreTestSupport.h"
#include "support/RaceDayFixture.h"
#include "support/TestSupport.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using keiba::test::S;
using keiba::test::Show;
using keiba::test::TempDir;
using race::TDayPage;
using race::TDayPageStatus;

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> cells;
    std::size_t start = 0;
    for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
        cells.push_back(line.substr(start, tab - start));
    }
    cells.push_back(line.substr(start));
    return cells;
}

std::string TwoDigits(int n) {
    char text[16];
    std::snprintf(text, sizeof text, "%2d", n);
    return text;
}

// The horse name as the card shows it: trimmed, without full-width blanks.
std::string ShownName(std::string_view field) {
    std::string name(Sjis::TrimBlanks(field));
    const std::string wide = S("　");
    for (std::size_t at; (at = name.find(wide)) != std::string::npos;) {
        name.erase(at, wide.size());
    }
    return name;
}

class SeasonDayTest : public ::testing::Test {
protected:
    // Two weekly runs as a user makes them: one week the coming weekend's card, the next week
    // that weekend's results (and the card of the weekend after).
    static void SetUpTestSuite() {
        settingsDir = std::make_unique<TempDir>();
        root = std::make_unique<TempDir>();
        catalogue = std::make_shared<standin::TCatalogue>();
        for (const char* today : {"20260101", "20260114"}) {
            standin::TSeasonOptions options;
            options.weeks = 1;
            options.today = today;
            const standin::TCatalogue week = standin::GenerateSeason(options);
            catalogue->files.insert(catalogue->files.end(), week.files.begin(), week.files.end());
            Acquire(week);
        }
    }
    static void Acquire(const standin::TCatalogue& week) {
        standin::TStandInSettings settings;
        settings.downloadMsPerFile = 0;
        const fs::path file = settingsDir->path() / "jvlink-standin.ini";
        ASSERT_TRUE(standin::SaveSettings(file, settings));
        standin::TStandInJVLink link(file, [&week](const standin::TStandInSettings&) {
            return standin::TCatalogueRead{week, {}};
        });
        ASSERT_EQ(link.JVInit("UNKNOWN"), 0);
        acquisition::TAcquisitionRequest request;
        request.fromTime = "19990101000000";
        request.root = root->path();
        request.pollInterval = std::chrono::milliseconds(1);
        std::atomic<bool> cancel{false};
        keiba::storetest::TRecordingSink sink;
        const auto result = acquisition::RunAcquisition(
            link, request, keiba::storetest::FixedClock(2026, 1, 12), cancel, sink);
        ASSERT_EQ(result.end, acquisition::TAcquisitionEnd::Completed) << Show(result.message);
        ASSERT_TRUE(result.Succeeded()) << Show(result.message);
    }
    static void TearDownTestSuite() {
        root.reset();
        settingsDir.reset();
        catalogue.reset();
    }

    // The latest published record of a type whose bytes at 12.. start with key.
    static std::string Latest(std::string_view type, std::string_view key, std::size_t keyAt = 11) {
        std::string found;
        for (const auto& file : catalogue->files) {
            for (const auto& record : file.records) {
                if (record.starts_with(type) && record.size() > keyAt + key.size() &&
                    record.compare(keyAt, key.size(), key) == 0) {
                    found = record;
                }
            }
        }
        return found;
    }

    // The latest published runner record of a race (its key) and horse number (SE 29-30).
    static std::string LatestRunner(std::string_view key, int horse) {
        std::string found;
        for (const auto& file : catalogue->files) {
            for (const auto& record : file.records) {
                if (record.starts_with("SE") && record.size() > 30 &&
                    record.compare(11, key.size(), key) == 0 &&
                    std::stoi(record.substr(28, 2)) == horse) {
                    found = record;
                }
            }
        }
        return found;
    }

    static inline std::shared_ptr<standin::TCatalogue> catalogue;
    static inline std::unique_ptr<TempDir> settingsDir;
    static inline std::unique_ptr<TempDir> root;
    std::unique_ptr<race::TRaceDayData> day = std::make_unique<race::TRaceDayData>();
};

// The first day of the store, newest first, whose payoffs are stored.
std::string DayWithResults(const fs::path& root) {
    for (const std::string& entry : race::MakeDateList(root).entries) {
        if (fs::exists(root / "DATA" / files::PathFromText(entry + ".jvHR"))) {
            return entry;
        }
    }
    return {};
}

TEST_F(SeasonDayTest, CardAndResultsOfAnAcquiredDayMatchThePublishedRecords) {
    const std::string entry = DayWithResults(root->path());
    ASSERT_FALSE(entry.empty()) << "the season has a day with results";

    const race::TDayPageResult card =
        race::DayPageLines(root->path(), entry, std::nullopt, TDayPage::Card, *day);
    ASSERT_TRUE(card.shown()) << Show(card.message);
    EXPECT_EQ(card.raceNumber, 1) << "without --race the day's first race";

    // The race record the season published for race 1 of that day and racecourse.
    const std::string date = entry.substr(0, 4) + entry.substr(6, 2) + entry.substr(10, 2);
    ASSERT_TRUE(Sjis::ToUtf8(entry).find("年") != std::string::npos);
    const std::string dayRace(day->Races[0].view().substr(11, 16));
    ASSERT_EQ(dayRace.substr(0, 8), date);
    ASSERT_EQ(dayRace.substr(14, 2), "01");
    const std::string ra = Latest("RA", dayRace);
    ASSERT_FALSE(ra.empty());
    const int runners = std::stoi(ra.substr(881, 2));
    ASSERT_GT(runners, 0);

    ASSERT_EQ(card.lines.size(), static_cast<std::size_t>(7 + runners));
    ASSERT_GE(card.lines[1].size(), 60u);
    EXPECT_EQ(card.lines[1].substr(card.lines[1].size() - 60), ra.substr(32, 60))
        << "the race name as published";
    EXPECT_NE(card.lines[2].find(std::to_string(runners) + S("頭  ")), std::string::npos)
        << Show(card.lines[2]);
    for (int horse = 1; horse <= runners; ++horse) {
        SCOPED_TRACE(horse);
        const std::string se = LatestRunner(dayRace, horse);
        const auto cells = SplitTabs(card.lines[static_cast<std::size_t>(6 + horse)]);
        ASSERT_EQ(cells.size(), 11u);
        EXPECT_EQ(cells[1], TwoDigits(horse));
        if (se.empty()) {
            continue; // a runner the season did not publish keeps a blank row
        }
        EXPECT_EQ(cells[0], se.substr(27, 1)) << "frame number";
        EXPECT_EQ(cells[3], ShownName(std::string_view(se).substr(40, 36)));
        EXPECT_EQ(cells[4], se.substr(306, 8)) << "jockey";
        EXPECT_EQ(cells[9], se.substr(90, 8)) << "trainer";
    }

    const race::TDayPageResult results =
        race::DayPageLines(root->path(), entry, 1, TDayPage::Results, *day);
    ASSERT_TRUE(results.shown());
    const std::string hr = Latest("HR", dayRace);
    ASSERT_FALSE(hr.empty()) << "the day's payoffs were published";
    ASSERT_EQ(results.lines.size(), 28u);
    EXPECT_EQ(results.lines[0], S("単勝"));
    const auto winners = SplitTabs(results.lines[1]);
    const auto popularity = SplitTabs(results.lines[2]);
    const auto payouts = SplitTabs(results.lines[3]);
    ASSERT_EQ(winners.size(), 4u);
    EXPECT_EQ(winners[0], S("結果："));
    const int winner = std::stoi(hr.substr(102, 2));
    ASSERT_GT(winner, 0);
    EXPECT_EQ(winners[1], TwoDigits(winner));
    char payout[16];
    std::snprintf(payout, sizeof payout, "%8d", std::stoi(hr.substr(104, 9)));
    EXPECT_EQ(payouts[1], payout);
    EXPECT_EQ(popularity[1], TwoDigits(std::stoi(hr.substr(113, 2))));
}

TEST_F(SeasonDayTest, UnknownDaysAndRacesAreToldApart) {
    const race::TDayPageResult missing = race::DayPageLines(root->path(), S("1999年01月01日東京"),
                                                            std::nullopt, TDayPage::Card, *day);
    EXPECT_EQ(missing.status, TDayPageStatus::UnknownDay);
    EXPECT_EQ(missing.message, S("データ作成が未完了のようです。"));
    EXPECT_TRUE(missing.lines.empty());

    const std::string entry = DayWithResults(root->path());
    ASSERT_FALSE(entry.empty());
    const race::TDayPageResult none =
        race::DayPageLines(root->path(), entry, 13, TDayPage::Card, *day);
    EXPECT_EQ(none.status, TDayPageStatus::UnknownRace);
    EXPECT_TRUE(none.lines.empty());
    const race::TDayPageResult twelve =
        race::DayPageLines(root->path(), entry, day->RaceCount, TDayPage::Results, *day);
    EXPECT_TRUE(twelve.shown());
    EXPECT_EQ(twelve.raceNumber, day->RaceCount);
}

// A day whose race file skips race 1: the race numbers choose, not the tab positions.
TEST(DayPages, RaceNumbersChooseTheRaceWhenTheDayHasAGap) {
    TempDir root;
    const keiba::test::RaceDayStore store(root.path());
    keiba::test::RacePlan plan;
    plan.runners = 1;
    std::vector<jvdata::TRecordRA> races;
    std::vector<jvdata::TRecordSE> runners;
    for (int number : {2, 3}) {
        plan.number = number;
        plan.name = S(number == 2 ? "二レース" : "三レース");
        races.push_back(keiba::test::MakeRace(plan));
        runners.push_back(keiba::test::MakeRunner(races.back(), 1, "2001100001", S("ウマ")));
    }
    const std::string entry = S("2004年05月01日東京");
    store.WriteRaces(entry, races);
    store.WriteRunnerSlots(entry, runners);

    auto day = std::make_unique<race::TRaceDayData>();
    const auto first = race::DayPageLines(root.path(), entry, std::nullopt, TDayPage::Card, *day);
    ASSERT_TRUE(first.shown());
    EXPECT_EQ(first.raceNumber, 2);
    EXPECT_TRUE(first.lines[1].starts_with(S("二レース")));
    const auto third = race::DayPageLines(root.path(), entry, 3, TDayPage::Card, *day);
    ASSERT_TRUE(third.shown());
    EXPECT_TRUE(third.lines[1].starts_with(S("三レース")));
    EXPECT_EQ(race::DayPageLines(root.path(), entry, 1, TDayPage::Card, *day).status,
              TDayPageStatus::UnknownRace);
    EXPECT_EQ(race::SlotOfRaceNumber(*day, 3), 1);
    EXPECT_EQ(race::SlotOfRaceNumber(*day, 1), std::nullopt);
}

} // namespace
