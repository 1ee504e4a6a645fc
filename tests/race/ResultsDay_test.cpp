// Race days whose cards never came: listed from their result files and loaded from the final
// race records (SEIR) and the horses' final runner records (SEI).
#include "files/ProgramFolder.h"
#include "race/DateList.h"
#include "race/DayLoad.h"
#include "support/RaceDayFixture.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace {

using namespace keiba::test;
using jvdata::TRecordRA;
using jvdata::TRecordSE;
using race::TDayLoadStatus;

std::vector<std::string> Sjis(std::initializer_list<const char*> utf8) {
    std::vector<std::string> out;
    for (const char* text : utf8) {
        out.push_back(S(text));
    }
    return out;
}

TEST(ResultsDayList, ResultFilesWithoutACardAreListedWithTheMarkInDateOrder) {
    const auto entries = race::DateListFromNames(
        Sjis({"2004年05月02日東京.jvRA", "2004年05月01日京都.jvRA", "2004年05月01日京都.jvSEr"}),
        Sjis({
            "2004050105.jvSERA", // 東京 on a day with a card elsewhere
            "2004050108.jvSERA", // 京都 has its card: listed once, from the card
            "2004050206.JVSERA", // 中山; the extension's letter case does not matter
            "2004042505.jvSERA",
            "2004050305.jvSERA.bak",
            "200405035.jvSERA",
            "20040503-5.jvSERA",
            "notes.jvSERA",
        }));
    EXPECT_EQ(entries, Sjis({
                           "2004年05月02日東京",
                           "2004年05月02日中山（成績）",
                           "2004年05月01日東京（成績）",
                           "2004年05月01日京都",
                           "2004年04月25日東京（成績）",
                       }));
    EXPECT_TRUE(race::IsResultsDayEntry(entries[1]));
    EXPECT_FALSE(race::IsResultsDayEntry(entries[0]));
    EXPECT_EQ(race::EntryBaseName(entries[1]), S("2004年05月02日中山"));
    EXPECT_EQ(race::EntryBaseName(entries[0]), entries[0]);
}

TEST(ResultsDayList, ReadsTheYearFoldersOfTheResultFolder) {
    TempDir root;
    const RaceDayStore store(root.path());
    store.WriteRaw(S("DATA\\2004年05月01日東京.jvRA"), "x");
    store.WriteRaw("SEIR\\2004\\2004050105.jvSERA", "x");
    store.WriteRaw("SEIR\\2004\\2004050806.jvSERA", "x");
    store.WriteRaw("SEIR\\2003\\2003122806.jvSERA", "x");
    store.WriteRaw("SEIR\\old\\2002122806.jvSERA", "x"); // no year folder
    const race::TDateListResult result = race::MakeDateList(root.path());
    EXPECT_FALSE(result.error);
    EXPECT_EQ(result.entries, Sjis({"2004年05月08日中山（成績）", "2004年05月01日東京",
                                    "2003年12月28日中山（成績）"}));
}

// A day of two races known only from its result file, its horses' history files and its
// payoff file.
class ResultsDayLoadTest : public ::testing::Test {
protected:
    ResultsDayLoadTest() : store(dir.path()), day(std::make_unique<race::TRaceDayData>()) {
        for (int number : {1, 2}) {
            RacePlan plan;
            plan.date = "20040424";
            plan.number = number;
            plan.runners = 3;
            races.push_back(MakeRace(plan));
        }
        RacePlan earlier;
        earlier.date = "20040403";
        earlier.course = "06";
        earlier.number = 9;
        pastRace = MakeRace(earlier);
        // A race record numbered "00" and one of another day are no races of the day.
        TRecordRA unnumbered = races[0];
        unnumbered.SetField(26, 27, "00");
        TRecordRA other = races[0];
        other.SetField(18, 19, "25");
        store.WriteResults({unnumbered, races[0], races[1], other});
        store.WriteResults({pastRace});
        store.WritePayoffs(base, {MakePayoff(races[1], 2, 480, 3), MakePayoff(races[0])});
    }

    // The horse of race `race`, horse number `horse`, with an earlier run and later run around
    // its run of the day.
    std::string WriteHorse(int race, int horse) {
        const std::string number = "2001" + std::to_string(race * 100000 + horse);
        TRecordSE before = MakeRunner(pastRace, 5, number);
        TRecordSE run = MakeRunner(races[static_cast<std::size_t>(race - 1)], horse, number);
        RacePlan later;
        later.date = "20040515";
        store.WriteHistory(number, {before, run, MakeRunner(MakeRace(later), 1, number)});
        store.WriteHorseMaster(MakeHorseMaster(number, S("馬主")));
        return number;
    }

    race::TDayLoadResult Load() {
        return race::LoadRaceDay(dir.path(), base + std::string(race::kResultsDayMark), *day);
    }

    TempDir dir;
    RaceDayStore store;
    std::unique_ptr<race::TRaceDayData> day;
    const std::string base = S("2004年04月24日東京");
    std::vector<TRecordRA> races;
    TRecordRA pastRace;
};

TEST_F(ResultsDayLoadTest, LoadsRacesRunnersInHorseNumberOrderAndPayoffs) {
    // Written in no particular order: the slots follow the horse numbers.
    const std::string r1h3 = WriteHorse(1, 3);
    const std::string r1h1 = WriteHorse(1, 1);
    const std::string r2h2 = WriteHorse(2, 2);
    const std::string r1h2 = WriteHorse(1, 2);

    const race::TDayLoadResult result = Load();
    ASSERT_EQ(result.status, TDayLoadStatus::Loaded) << Show(result.message);
    EXPECT_EQ(day->RaceCount, 2);
    EXPECT_EQ(day->Races[0], races[0]);
    EXPECT_EQ(day->Races[1], races[1]);
    EXPECT_TRUE(day->Races[2].IsBlank());
    ASSERT_EQ(result.tabs.size(), 2u);
    EXPECT_EQ(result.tabs[1].label, " 2R");
    EXPECT_EQ(result.progress, 14);

    EXPECT_EQ(day->Runners[0][0].RegistrationNumber(), r1h1);
    EXPECT_EQ(day->Runners[0][1].RegistrationNumber(), r1h2);
    EXPECT_EQ(day->Runners[0][2].RegistrationNumber(), r1h3);
    EXPECT_TRUE(day->Runners[1][0].IsBlank());
    EXPECT_EQ(day->Runners[1][1].RegistrationNumber(), r2h2);
    EXPECT_EQ(day->Horses[0][2].Field(jvdata::UM::kRegistrationNumber), r1h3);

    // The earlier run and its race, never the later one.
    EXPECT_EQ(day->PastRuns[0][0][0].Int(jvdata::SE::kRaceDate), 20040403);
    EXPECT_TRUE(day->PastRuns[0][0][1].IsBlank());
    EXPECT_EQ(day->PastRaces[0][0][0], pastRace);

    EXPECT_EQ(day->Payoffs[0].RaceNumber(), "01");
    EXPECT_EQ(day->Payoffs[1].RaceNumber(), "02");
    EXPECT_EQ(day->PayoffTable.Slot(1).win[0].horse, 2);
    EXPECT_EQ(day->PayoffTable.Slot(1).win[0].payout, 480);
}

TEST_F(ResultsDayLoadTest, AnOldHorseIsFoundAfterTheYoungerCrops) {
    // The younger crops are read first, but the day is not complete without the old horses.
    for (const int horse : {1, 2, 3}) {
        WriteHorse(1, horse);
    }
    const std::string r2h3 = WriteHorse(2, 3);
    store.WriteHistory("1993000001", {MakeRunner(races[1], 1, "1993000001")});
    store.WriteHistory("1999000002", {MakeRunner(races[1], 2, "1999000002")});
    // A yearling cannot have run: read first, it would have taken the slot of horse 3.
    store.WriteHistory("2003000003", {MakeRunner(races[1], 3, "2003000003")});
    ASSERT_TRUE(Load().loaded());
    EXPECT_EQ(day->Runners[1][0].RegistrationNumber(), "1993000001");
    EXPECT_EQ(day->Runners[1][1].RegistrationNumber(), "1999000002");
    EXPECT_EQ(day->Runners[1][2].RegistrationNumber(), r2h3);
    EXPECT_EQ(day->Runners[0][2].RegistrationNumber(), "2001100003");
}

TEST_F(ResultsDayLoadTest, TheRunnersHintIsCheckedAndWhatItLeavesOutIsLookedFor) {
    std::vector<std::string> horses;
    for (const int race : {1, 2}) {
        for (const int horse : {1, 2, 3}) {
            horses.push_back(WriteHorse(race, horse));
        }
    }
    // Read only by a look through the crops: horse number 4 of a 3-runner race is never waited
    // for, so it shows whether the crops were looked through.
    store.WriteHistory("2000000004", {MakeRunner(races[1], 4, "2000000004")});
    std::vector<std::string> asked;
    const auto load = [&](std::vector<std::string> hint) {
        return race::LoadRaceDay(dir.path(), base + std::string(race::kResultsDayMark), *day, {},
                                 [&asked, hint](std::string_view dateAndCourse) {
                                     asked.emplace_back(dateAndCourse);
                                     return hint;
                                 });
    };

    // Every runner named: the crops are not looked through.
    ASSERT_TRUE(load(horses).loaded());
    EXPECT_EQ(asked, std::vector<std::string>{"2004042405"});
    EXPECT_EQ(day->Runners[0][2].RegistrationNumber(), horses[2]);
    EXPECT_EQ(day->Runners[1][1].RegistrationNumber(), horses[4]);
    EXPECT_TRUE(day->Runners[1][3].IsBlank());

    // Wrong names (no file, no run that day, no registration number) give nothing, and the
    // runners the hint left out are found in the crops.
    store.WriteHistory("2002000009", {MakeRunner(pastRace, 1, "2002000009")});
    ASSERT_TRUE(load({"2001999999", "2002000009", "..\\..\\x", horses[0]}).loaded());
    EXPECT_EQ(day->Runners[0][0].RegistrationNumber(), horses[0]);
    EXPECT_EQ(day->Runners[0][1].RegistrationNumber(), horses[1]);
    EXPECT_EQ(day->Runners[1][2].RegistrationNumber(), horses[5]);
}

TEST_F(ResultsDayLoadTest, DamagedRunnerRecordsAreSkippedAndTheDayStillLoads) {
    const std::string good = WriteHorse(1, 1);
    // A history file cut short in its run of the day, and runs of the day with a horse number
    // outside 1-18 or in a slot another runner already took.
    const std::string cut = "2001900001";
    TRecordSE cutRun = MakeRunner(races[0], 2, cut);
    store.WriteRaw("SEI\\2001\\" + cut + ".jvSEI",
                   std::string_view(reinterpret_cast<const char*>(&cutRun), 400));
    store.WriteHistory("2001900002", {MakeRunner(races[0], 19, "2001900002")});
    store.WriteHistory("2001900003", {MakeRunner(races[1], 0, "2001900003")});
    // A horse registered after the race year cannot have run: its folder is not read.
    store.WriteHistory("2005000001", {MakeRunner(races[1], 3, "2005000001")});

    const race::TDayLoadResult result = Load();
    ASSERT_TRUE(result.loaded()) << Show(result.message);
    EXPECT_EQ(day->Runners[0][0].RegistrationNumber(), good);
    for (int s = 0; s < 2; ++s) {
        for (int k = 0; k < 18; ++k) {
            EXPECT_TRUE((s == 0 && k == 0) || day->Runners[s][k].IsBlank()) << s << "/" << k;
        }
    }
}

TEST_F(ResultsDayLoadTest, ADayWithoutResultsOrRacesKeepsThePreviousDay) {
    WriteHorse(1, 1);
    ASSERT_TRUE(Load().loaded());
    const TRecordRA shown = day->Races[0];

    const std::string missing = S("2004年04月17日東京") + std::string(race::kResultsDayMark);
    auto result = race::LoadRaceDay(dir.path(), missing, *day);
    EXPECT_EQ(result.status, TDayLoadStatus::Incomplete);
    EXPECT_EQ(result.message, race::IncompleteDayMessage());

    // A result file of nothing but damaged lines and a race "00".
    TRecordRA unnumbered = races[0];
    unnumbered.SetField(18, 19, "17");
    unnumbered.SetField(26, 27, "00");
    store.WriteRaw("SEIR\\2004\\2004041705.jvSERA",
                   std::string(reinterpret_cast<const char*>(&unnumbered), 1272) + "RA0");
    result = race::LoadRaceDay(dir.path(), missing, *day);
    EXPECT_EQ(result.status, TDayLoadStatus::Incomplete);
    EXPECT_EQ(day->Races[0], shown);

    // The plain base name is a card day's entry, and this day has no card.
    EXPECT_EQ(race::LoadRaceDay(dir.path(), base, *day).status, TDayLoadStatus::Incomplete);
}

} // namespace
