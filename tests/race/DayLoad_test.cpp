#include "jvdata/RecordLayout.h"
#include "jvdata/SjisText.h"
#include "race/DayLoad.h"
#include "race/StoreRecords.h"
#include "support/RaceDayFixture.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace {

using namespace keiba::test;
using jvdata::TRecordHR;
using jvdata::TRecordRA;
using jvdata::TRecordSE;
using race::LoadRaceDay;
using race::TDayLoadStatus;
using race::TRaceDayData;

// A registration number that tells race and horse apart: 2001 + race (2) + horse (2) + "00".
std::string Horse(int race, int horse) {
    char text[32];
    std::snprintf(text, sizeof text, "2001%02d%02d00", race, horse);
    return text;
}

// A history run of the horse on another day (SE 12-19), with its own race number.
TRecordSE PastRun(std::string_view registrationNumber, std::string_view date, int raceNumber,
                  std::string_view course = "06") {
    RacePlan plan;
    plan.date = std::string(date);
    plan.course = std::string(course);
    plan.number = raceNumber;
    TRecordSE run = MakeRunner(MakeRace(plan), 3, registrationNumber);
    run.SetField(3, 11, "000000000");
    return run;
}

class DayLoadTest : public ::testing::Test {
protected:
    DayLoadTest() : store(dir.path()), day(std::make_unique<TRaceDayData>()) {}

    // A day of the given races (numbers in file order), each with `runners` registered runners
    // in its runner slots.
    void WriteDay(const std::vector<int>& numbers, int runners) {
        races.clear();
        std::vector<TRecordSE> slots;
        for (int number : numbers) {
            RacePlan plan;
            plan.number = number;
            plan.runners = runners;
            races.push_back(MakeRace(plan));
            for (int h = 1; h <= std::min(runners, 18); ++h) {
                slots.push_back(MakeRunner(races.back(), h, Horse(number, h)));
            }
        }
        store.WriteRaces(entry, races);
        store.WriteRunnerSlots(entry, slots);
    }

    race::TDayLoadResult Load(std::vector<int>* positions = nullptr) {
        return LoadRaceDay(dir.path(), entry, *day, [positions](int position) {
            if (positions) {
                positions->push_back(position);
            }
        });
    }

    TempDir dir;
    RaceDayStore store;
    std::unique_ptr<TRaceDayData> day;
    const std::string entry = S("2004年05月01日東京");
    std::vector<TRecordRA> races;
};

// ---- Races, tabs and progress ----------------------------------------------------------------

TEST_F(DayLoadTest, EightRaceDayMakesEightTabsAndEndsTheBarAtTwenty) {
    WriteDay({1, 2, 3, 4, 5, 6, 7, 8}, 10);
    std::vector<int> positions;
    const auto result = Load(&positions);

    ASSERT_EQ(result.status, TDayLoadStatus::Loaded);
    EXPECT_TRUE(result.message.empty());
    EXPECT_EQ(day->RaceCount, 8);
    for (int s = 0; s < 8; ++s) {
        EXPECT_EQ(day->Races[s], races[s]) << "slot " << s;
    }
    for (int s = 8; s < 12; ++s) {
        EXPECT_TRUE(day->Races[s].IsBlank()) << "slot " << s;
        EXPECT_TRUE(day->Runners[s][0].IsBlank()) << "slot " << s;
    }
    const std::vector<std::string> labels = {" 1R", " 2R", " 3R", " 4R",
                                             " 5R", " 6R", " 7R", " 8R"};
    ASSERT_EQ(result.tabs.size(), labels.size());
    for (std::size_t i = 0; i < labels.size(); ++i) {
        EXPECT_EQ(result.tabs[i].label, labels[i]);
        EXPECT_EQ(result.tabs[i].slot, static_cast<int>(i));
    }
    std::vector<int> expected;
    for (int p = 1; p <= 20; ++p) {
        expected.push_back(p);
    }
    EXPECT_EQ(positions, expected);
    EXPECT_EQ(result.progress, 20);
    EXPECT_EQ(race::kDayLoadProgressMaximum, 24);
}

TEST_F(DayLoadTest, TwelveRaceDayFillsTheBarAndLabelsTwoDigitRaces) {
    WriteDay({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, 2);
    std::vector<int> positions;
    const auto result = Load(&positions);

    ASSERT_TRUE(result.loaded());
    EXPECT_EQ(day->RaceCount, 12);
    EXPECT_EQ(positions.size(), 24u);
    EXPECT_EQ(positions.back(), 24);
    ASSERT_EQ(result.tabs.size(), 12u);
    EXPECT_EQ(result.tabs[8].label, " 9R");
    EXPECT_EQ(result.tabs[9].label, "10R");
    EXPECT_EQ(result.tabs[11].label, "12R");
}

TEST_F(DayLoadTest, RacesBeyondTwelveAreNotRead) {
    WriteDay({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}, 1);
    const auto result = Load();
    ASSERT_TRUE(result.loaded());
    EXPECT_EQ(day->RaceCount, 12);
    EXPECT_EQ(result.tabs.back().label, "12R");
}

// ---- Runners -------------------------------------------------------------------------------

TEST_F(DayLoadTest, RunnersComeFromTheirRaceSlotsUpToTheRegisteredCount) {
    // Race 3 has 18 registered runners, race 4 only 10 although its slots hold 18 records.
    WriteDay({1, 2, 3}, 18);
    RacePlan plan;
    plan.number = 4;
    plan.runners = 10;
    races.push_back(MakeRace(plan));
    std::vector<TRecordSE> slots;
    for (int r = 1; r <= 4; ++r) {
        for (int h = 1; h <= 18; ++h) {
            slots.push_back(MakeRunner(races[static_cast<std::size_t>(r - 1)], h, Horse(r, h)));
        }
    }
    store.WriteRaces(entry, races);
    store.WriteRunnerSlots(entry, slots);

    ASSERT_TRUE(Load().loaded());
    for (int k = 0; k < 18; ++k) {
        EXPECT_EQ(day->Runners[2][k].RegistrationNumber(), Horse(3, k + 1)) << "runner " << k;
    }
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(day->Runners[3][k].RegistrationNumber(), Horse(4, k + 1)) << "runner " << k;
    }
    for (int k = 10; k < 18; ++k) {
        EXPECT_TRUE(day->Runners[3][k].IsBlank()) << "runner " << k;
    }
}

TEST_F(DayLoadTest, RegisteredCountAboveEighteenReadsOnlyTheRacesOwnSlots) {
    WriteDay({1, 2}, 18);
    races[0].SetField(jvdata::RA::kRegisteredRunners, "25");
    store.WriteRaces(entry, races);

    ASSERT_TRUE(Load().loaded());
    EXPECT_EQ(race::RunnerCount(day->Races[0]), 18);
    EXPECT_EQ(day->Runners[0][17].RegistrationNumber(), Horse(1, 18));
    EXPECT_EQ(day->Runners[1][0].RegistrationNumber(), Horse(2, 1));
    for (int k = 0; k < 18; ++k) {
        EXPECT_EQ(day->Runners[0][k].RaceNumber(), "01") << "runner " << k;
    }
}

TEST_F(DayLoadTest, RunnerCountIsLimitedToTheRunnerSlots) {
    TRecordRA race = MakeRace({});
    const std::vector<std::pair<std::string, int>> cases = {
        {"  ", 0}, {"00", 0}, {"07", 7}, {"18", 18}, {"19", 18}, {"99", 18}, {"-5", 0}};
    for (const auto& [field, count] : cases) {
        race.SetField(jvdata::RA::kRegisteredRunners, field);
        EXPECT_EQ(race::RunnerCount(race), count) << field;
    }
}

TEST_F(DayLoadTest, RaceNumberGapKeepsEachRacesOwnRunnersAndPayoffs) {
    // No race 1 and no race 4: the slots fill in file order, and each slot's runners and
    // payoff are those of the race in it.
    WriteDay({2, 3, 5}, 4);
    store.WritePayoffs(entry,
                       {MakePayoff(races[0], 2), MakePayoff(races[1], 3), MakePayoff(races[2], 5)});

    const auto result = Load();
    ASSERT_TRUE(result.loaded());
    EXPECT_EQ(day->RaceCount, 3);
    ASSERT_EQ(result.tabs.size(), 3u);
    EXPECT_EQ(result.tabs[0].label, " 2R");
    EXPECT_EQ(result.tabs[1].label, " 3R");
    EXPECT_EQ(result.tabs[2].label, " 5R");
    const int numbers[] = {2, 3, 5};
    for (int s = 0; s < 3; ++s) {
        EXPECT_EQ(result.tabs[s].slot, s);
        EXPECT_EQ(day->Races[s].Int(jvdata::RA::kRaceNumber), numbers[s]);
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(day->Runners[s][k].RegistrationNumber(), Horse(numbers[s], k + 1))
                << "slot " << s << " runner " << k;
        }
        EXPECT_EQ(day->PayoffTable.Slot(s).win[0].horse, numbers[s]) << "slot " << s;
    }
}

TEST_F(DayLoadTest, RunnerSlotOfAnotherRaceIsLeftBlank) {
    WriteDay({1, 2}, 3);
    // Race 1's second slot holds a runner of race 2 (a damaged slot file).
    std::vector<TRecordSE> slots = {MakeRunner(races[0], 1, Horse(1, 1)),
                                    MakeRunner(races[0], 3, Horse(1, 3))};
    TRecordSE stray = MakeRunner(races[1], 2, Horse(2, 2));
    stray.SetField(jvdata::SE::kRaceNumber, "02");
    std::string bytes = ReadFileBytes(store.PathOf("DATA\\" + entry + ".jvSEr"));
    bytes.replace(1 * 555, 555, stray.view());
    store.WriteRaw("DATA\\" + entry + ".jvSEr", bytes);

    ASSERT_TRUE(Load().loaded());
    EXPECT_EQ(day->Runners[0][0].RegistrationNumber(), Horse(1, 1));
    EXPECT_TRUE(day->Runners[0][1].IsBlank());
    EXPECT_EQ(day->Runners[0][2].RegistrationNumber(), Horse(1, 3));
}

TEST_F(DayLoadTest, RaceNumberOutsideTheSlotFileShowsTheRaceWithoutRunners) {
    WriteDay({1}, 2);
    RacePlan plan;
    plan.number = 13;
    plan.runners = 2;
    races.push_back(MakeRace(plan));
    store.WriteRaces(entry, races);

    const auto result = Load();
    ASSERT_TRUE(result.loaded());
    ASSERT_EQ(result.tabs.size(), 2u);
    EXPECT_EQ(result.tabs[1].label, "13R");
    EXPECT_TRUE(day->Runners[1][0].IsBlank());
    EXPECT_TRUE(day->Runners[1][1].IsBlank());
}

// ---- Earlier runs and their races -----------------------------------------------------------

TEST_F(DayLoadTest, ThreeEarlierRunsFillTheFirstThreeEntriesLatestFirst) {
    WriteDay({1}, 1);
    const std::string horse = Horse(1, 1);
    store.WriteHistory(horse, {PastRun(horse, "20040125", 4), PastRun(horse, "20040307", 9),
                               PastRun(horse, "20040404", 11)});

    ASSERT_TRUE(Load().loaded());
    const auto& runs = day->PastRuns[0][0];
    EXPECT_EQ(runs[0].RaceDate(), "20040404");
    EXPECT_EQ(runs[1].RaceDate(), "20040307");
    EXPECT_EQ(runs[2].RaceDate(), "20040125");
    EXPECT_TRUE(runs[3].IsBlank());
    EXPECT_TRUE(runs[4].IsBlank());
}

TEST_F(DayLoadTest, RunsOnTheRaceDayOrLaterAndUndatedRunsAreNeverTaken) {
    WriteDay({1}, 1);
    const std::string horse = Horse(1, 1);
    TRecordSE undated = PastRun(horse, "20040101", 2);
    undated.SetField(jvdata::SE::kRaceDate, "        ");
    std::vector<TRecordSE> history;
    for (const char* date :
         {"20031102", "20031207", "20040110", "20040208", "20040314", "20040411"}) {
        history.push_back(PastRun(horse, date, 5));
    }
    history.push_back(undated);
    history.push_back(PastRun(horse, "20040501", 1)); // the race itself
    history.push_back(PastRun(horse, "20040530", 7)); // a later run
    store.WriteHistory(horse, history);

    ASSERT_TRUE(Load().loaded());
    const auto& runs = day->PastRuns[0][0];
    const char* expected[] = {"20040411", "20040314", "20040208", "20040110", "20031207"};
    for (int p = 0; p < 5; ++p) {
        EXPECT_EQ(runs[p].RaceDate(), expected[p]) << "entry " << p;
    }
}

TEST_F(DayLoadTest, EarlierRunsFindTheirRacesInTheResultFiles) {
    WriteDay({1}, 2);
    const std::string first = Horse(1, 1);
    const std::string second = Horse(1, 2);
    store.WriteHistory(first,
                       {PastRun(first, "20040403", 7, "06"), PastRun(first, "20040404", 11, "06")});
    store.WriteHistory(
        second, {PastRun(second, "20040404", 3, "06"), PastRun(second, "20040411", 5, "09")});
    std::vector<TRecordRA> nakayama;
    for (int n : {1, 3, 11}) {
        RacePlan plan;
        plan.date = "20040404";
        plan.course = "06";
        plan.number = n;
        plan.name = S("皐月賞");
        nakayama.push_back(MakeRace(plan));
    }
    store.WriteResults(nakayama);

    ASSERT_TRUE(Load().loaded());
    // The first horse's latest run was race 11 at Nakayama on 4 April; its earlier run on
    // 3 April has no result file.
    EXPECT_EQ(day->PastRaces[0][0][0], nakayama[2]);
    EXPECT_TRUE(day->PastRaces[0][0][1].IsBlank());
    // The second horse ran at Hanshin (no file), then race 3 of the Nakayama file.
    EXPECT_TRUE(day->PastRaces[0][1][0].IsBlank());
    EXPECT_EQ(day->PastRaces[0][1][1], nakayama[1]);
    EXPECT_TRUE(day->PastRaces[0][1][2].IsBlank());
}

TEST_F(DayLoadTest, EarlierRunWithoutItsRaceInTheResultFileStaysBlank) {
    WriteDay({1}, 1);
    const std::string horse = Horse(1, 1);
    store.WriteHistory(horse, {PastRun(horse, "20040404", 8, "06")});
    RacePlan plan;
    plan.date = "20040404";
    plan.course = "06";
    plan.number = 7;
    store.WriteResults({MakeRace(plan)});

    ASSERT_TRUE(Load().loaded());
    EXPECT_FALSE(day->PastRuns[0][0][0].IsBlank());
    EXPECT_TRUE(day->PastRaces[0][0][0].IsBlank());
}

// ---- Horse masters --------------------------------------------------------------------------

TEST_F(DayLoadTest, HorseMasterIsReadAndAnOldMasterIsConvertedOnce) {
    WriteDay({1}, 3);
    store.WriteHorseMaster(MakeHorseMaster(Horse(1, 1), S("山田太郎")));
    store.WriteOldHorseMaster(Horse(1, 2), MakeOldHorseMaster(Horse(1, 2), S("鈴木花子")));

    ASSERT_TRUE(Load().loaded());
    EXPECT_EQ(day->Horses[0][0].RegistrationNumber(), Horse(1, 1));
    EXPECT_EQ(Sjis::TrimBlanks(day->Horses[0][0].Field(989, 1052)), S("山田太郎"));
    // The old master became a current one: the same owner name at its new place.
    EXPECT_EQ(day->Horses[0][1].RegistrationNumber(), Horse(1, 2));
    EXPECT_EQ(Sjis::TrimBlanks(day->Horses[0][1].Field(989, 1052)), S("鈴木花子"));
    const std::string converted =
        ReadFileBytes(store.PathOf("UM2\\2001\\" + Horse(1, 2) + ".jvUM2"));
    EXPECT_EQ(converted, std::string(day->Horses[0][1].view()));
    // No master of either kind: blank.
    EXPECT_TRUE(day->Horses[0][2].IsBlank());
}

TEST_F(DayLoadTest, FailedConversionLeavesTheMasterBlankAndTheLoadGoesOn) {
    WriteDay({1}, 2);
    // The old master's name is taken by a folder, so it cannot be read.
    std::filesystem::create_directories(store.PathOf("UMA\\2001\\" + Horse(1, 1) + ".jvUMA"));
    store.WriteHorseMaster(MakeHorseMaster(Horse(1, 2)));

    ASSERT_TRUE(Load().loaded());
    EXPECT_TRUE(day->Horses[0][0].IsBlank());
    EXPECT_FALSE(std::filesystem::exists(store.PathOf("UM2\\2001\\" + Horse(1, 1) + ".jvUM2")));
    EXPECT_EQ(day->Horses[0][1].RegistrationNumber(), Horse(1, 2));
}

// ---- Course records -------------------------------------------------------------------------

TEST_F(DayLoadTest, CourseRecordFollowsTheRaceTypeFallbacks) {
    struct Case {
        std::string raceType;           // the race's type
        std::vector<std::string> files; // race types of the course record files there
        std::string expected;           // the year of the record taken ("" = blank)
    };
    // Each file's record is set in a year that names its race type: 2012 for "12" ...
    const std::vector<Case> cases = {
        {"12", {"13", "14"}, "2013"}, {"12", {"12", "13"}, "2012"}, {"13", {"14"}, "2014"},
        {"14", {"12", "14"}, "2012"}, {"18", {"19"}, "2019"},       {"19", {"18", "19"}, "2018"},
        {"11", {"12", "13"}, ""},     {"11", {"11"}, "2011"},       {"19", {"12"}, ""},
        {"23", {"23"}, "2023"},
    };
    int number = 0;
    std::vector<TRecordSE> none;
    for (const Case& c : cases) {
        // Each case at its own distance, so that the files of one case do not serve another.
        ++number;
        RacePlan plan;
        plan.number = 1 + (number - 1) % 12;
        plan.raceType = c.raceType;
        char distance[16];
        std::snprintf(distance, sizeof distance, "%04d", 1000 + number * 100);
        plan.distance = distance;
        for (const std::string& type : c.files) {
            store.WriteCourseRecord(MakeCourseRecord("05", type, distance, "11", "20" + type), "05",
                                    type, distance, "11");
        }
        store.WriteRaces(entry, {MakeRace(plan)});
        store.WriteRunnerSlots(entry, none);
        ASSERT_TRUE(Load().loaded());
        if (c.expected.empty()) {
            EXPECT_TRUE(day->CourseRecords[0].IsBlank()) << "race type " << c.raceType;
        } else {
            EXPECT_EQ(day->CourseRecords[0].Year(), c.expected) << "race type " << c.raceType;
        }
    }
}

// ---- Payoffs --------------------------------------------------------------------------------

TEST_F(DayLoadTest, PayoffsGoToTheRaceOfTheirKeyAndOthersAreIgnored) {
    WriteDay({1, 2, 3}, 2);
    RacePlan otherDay;
    otherDay.date = "20040502";
    otherDay.number = 1;
    RacePlan otherCourse;
    otherCourse.course = "08";
    otherCourse.number = 2;
    // Race 3's payoff comes first; race 2 has none.
    store.WritePayoffs(entry, {MakePayoff(races[2], 7, 1230, 4), MakePayoff(MakeRace(otherDay), 5),
                               MakePayoff(MakeRace(otherCourse), 6), MakePayoff(races[0], 1, 310)});

    ASSERT_TRUE(Load().loaded());
    EXPECT_EQ(day->Payoffs[0].RaceKey(), races[0].RaceKey());
    EXPECT_TRUE(day->Payoffs[1].IsBlank());
    EXPECT_EQ(day->Payoffs[2].RaceKey(), races[2].RaceKey());
    for (int s = 3; s < 12; ++s) {
        EXPECT_TRUE(day->Payoffs[s].IsBlank()) << "slot " << s;
    }
    EXPECT_EQ(day->PayoffTable.Slot(0).win[0].horse, 1);
    EXPECT_EQ(day->PayoffTable.Slot(0).win[0].payout, 310);
    EXPECT_EQ(day->PayoffTable.Slot(1).win[0].horse, 0);
    EXPECT_EQ(day->PayoffTable.Slot(2).win[0].horse, 7);
    EXPECT_EQ(day->PayoffTable.Slot(2).win[0].payout, 1230);
    EXPECT_EQ(day->PayoffTable.Slot(2).win[0].popularity, 4);
}

TEST_F(DayLoadTest, MissingPayoffFileLeavesEveryPayoffBlank) {
    WriteDay({1, 2}, 1);
    ASSERT_TRUE(Load().loaded());
    for (int s = 0; s < 12; ++s) {
        EXPECT_TRUE(day->Payoffs[s].IsBlank());
    }
    EXPECT_EQ(day->PayoffTable, race::TPayoffTable{});
}

// ---- Letter case of the store's names ---------------------------------------------------------

TEST_F(DayLoadTest, EveryStoreFileIsFoundInAnyLetterCase) {
    WriteDay({1}, 2);
    const std::string first = Horse(1, 1);
    const std::string second = Horse(1, 2);
    store.WritePayoffs(entry, {MakePayoff(races[0])});
    store.WriteHorseMaster(MakeHorseMaster(first, S("山田太郎")));
    store.WriteOldHorseMaster(second, MakeOldHorseMaster(second, S("鈴木花子")));
    store.WriteHistory(first, {PastRun(first, "20040404", 3, "06")});
    RacePlan past;
    past.date = "20040404";
    past.course = "06";
    past.number = 3;
    store.WriteResults({MakeRace(past)});
    store.WriteCourseRecord(MakeCourseRecord("05", "13", "1600", "11"), "05", "13", "1600", "11");
    // Each file as another system's copy of the store may spell it.
    const auto respell = [&](std::string_view from, std::string_view to) {
        std::filesystem::rename(store.PathOf(from), store.PathOf(to));
    };
    respell("DATA\\" + entry + ".jvRA", "DATA\\" + entry + ".JVRA");
    respell("DATA\\" + entry + ".jvSEr", "DATA\\" + entry + ".JVSER");
    respell("DATA\\" + entry + ".jvHR", "DATA\\" + entry + ".jvhr");
    respell("UM2\\2001\\" + first + ".jvUM2", "UM2\\2001\\" + first + ".JVUM2");
    respell("UMA\\2001\\" + second + ".jvUMA", "UMA\\2001\\" + second + ".JvUma");
    respell("SEI\\2001\\" + first + ".jvSEI", "SEI\\2001\\" + first + ".JVSEI");
    respell("SEIR\\2004\\2004040406.jvSERA", "SEIR\\2004\\2004040406.JVSERA");
    respell("REC", "Rec");
    respell("Rec\\10513160011.jvRC", "Rec\\10513160011.JVRC");

    const auto result = Load();
    ASSERT_TRUE(result.loaded()) << result.message;
    EXPECT_EQ(day->Runners[0][1].RegistrationNumber(), second);
    EXPECT_EQ(day->Payoffs[0].RaceKey(), races[0].RaceKey());
    EXPECT_EQ(day->Horses[0][0].RegistrationNumber(), first);
    EXPECT_EQ(Sjis::TrimBlanks(day->Horses[0][1].Field(989, 1052)), S("鈴木花子"));
    EXPECT_EQ(day->PastRuns[0][0][0].RaceDate(), "20040404");
    EXPECT_EQ(day->PastRaces[0][0][0].RaceNumber(), "03");
    EXPECT_FALSE(day->CourseRecords[0].IsBlank());
}

// ---- Days that cannot be shown --------------------------------------------------------------

class DayLoadFailureTest : public DayLoadTest {
protected:
    // Loads a good day of another date first, so that a failed load can be seen to keep it.
    void LoadPreviousDay() {
        WriteDay({1, 2}, 2);
        previousEntry = entry;
        ASSERT_TRUE(Load().loaded());
        previous = day->Races[1];
        previousRunner = day->Runners[1][1];
    }

    void ExpectPreviousDayKept() {
        EXPECT_EQ(day->RaceCount, 2);
        EXPECT_EQ(day->Races[1], previous);
        EXPECT_EQ(day->Runners[1][1], previousRunner);
    }

    race::TDayLoadResult LoadOther() { return LoadRaceDay(dir.path(), other, *day); }

    std::string previousEntry;
    TRecordRA previous;
    TRecordSE previousRunner;
    const std::string other = S("2004年05月02日京都");
};

TEST_F(DayLoadFailureTest, MissingRunnerSlotFileGivesTheMessageAndKeepsThePreviousDay) {
    LoadPreviousDay();
    store.WriteRaces(other, {MakeRace({})});

    const auto result = LoadOther();
    EXPECT_EQ(result.status, TDayLoadStatus::Incomplete);
    EXPECT_EQ(result.message, S("データ作成が未完了のようです。"));
    EXPECT_TRUE(result.tabs.empty());
    EXPECT_EQ(result.progress, 0);
    ExpectPreviousDayKept();
}

TEST_F(DayLoadFailureTest, MissingRaceFileGivesTheMessage) {
    LoadPreviousDay();
    store.WriteRunnerSlots(other, {});
    const auto result = LoadOther();
    EXPECT_EQ(result.status, TDayLoadStatus::Incomplete);
    EXPECT_EQ(result.message, S("データ作成が未完了のようです。"));
    ExpectPreviousDayKept();
}

TEST_F(DayLoadFailureTest, RaceFileWithoutARaceIsAnIncompleteDay) {
    LoadPreviousDay();
    store.WriteRunnerSlots(other, {});
    TRecordRA noYear = MakeRace({});
    noYear.SetField(jvdata::RA::kYear, "0000");
    const std::vector<std::string> contents = {
        "",                                                                // empty file
        std::string(TRecordRA{}.view()) + std::string(TRecordRA{}.view()), // blank lines only
        std::string(noYear.view()),                                        // a year of "0000"
        std::string(MakeRace({}).view()).substr(0, 1000),                  // one record cut short
    };
    for (const std::string& content : contents) {
        store.WriteRaw("DATA\\" + other + ".jvRA", content);
        const auto result = LoadOther();
        EXPECT_EQ(result.status, TDayLoadStatus::Incomplete) << content.size();
        EXPECT_EQ(result.message, S("データ作成が未完了のようです。"));
        ExpectPreviousDayKept();
    }
}

TEST_F(DayLoadFailureTest, UnreadableRaceFileIsAReadFailure) {
    LoadPreviousDay();
    std::filesystem::create_directories(store.PathOf("DATA\\" + other + ".jvRA"));
    store.WriteRunnerSlots(other, {});
    const auto result = LoadOther();
    EXPECT_EQ(result.status, TDayLoadStatus::ReadFailed);
    EXPECT_TRUE(result.system);
    EXPECT_NE(result.message.find(S("を読み込めませんでした。")), std::string::npos)
        << Show(result.message);
    ExpectPreviousDayKept();
}

TEST_F(DayLoadFailureTest, EntryThatIsNoFileNameIsAnIncompleteDay) {
    LoadPreviousDay();
    for (const std::string& bad : {std::string(), std::string(".."), S("..\\2004年05月01日東京"),
                                   S("2004年/05月01日東京"), S("C:2004年05月01日東京")}) {
        const auto result = LoadRaceDay(dir.path(), bad, *day);
        EXPECT_EQ(result.status, TDayLoadStatus::Incomplete) << Show(bad);
        ExpectPreviousDayKept();
    }
}

// ---- Damaged store files --------------------------------------------------------------------

TEST_F(DayLoadTest, ShortRunnerSlotFileReadsItsMissingSlotsAsBlank) {
    WriteDay({1, 2}, 4);
    // Cut the file in the middle of race 2's third slot.
    std::string slots = ReadFileBytes(store.PathOf("DATA\\" + entry + ".jvSEr"));
    slots.resize(18 * 555 + 2 * 555 + 100);
    store.WriteRaw("DATA\\" + entry + ".jvSEr", slots);

    ASSERT_TRUE(Load().loaded());
    EXPECT_EQ(day->Runners[1][0].RegistrationNumber(), Horse(2, 1));
    EXPECT_EQ(day->Runners[1][1].RegistrationNumber(), Horse(2, 2));
    EXPECT_TRUE(day->Runners[1][2].IsBlank());
    EXPECT_TRUE(day->Runners[1][3].IsBlank());
}

TEST_F(DayLoadTest, OddBytesInARaceNameKeepTheRaceButACutLineTakesNoSlot) {
    WriteDay({1, 2, 3, 4}, 1);
    // Race 1's name holds a lead byte before NUL, race 2's FF FE, race 3's a stray CR LF;
    // race 4's line is cut short.
    std::string bytes = ReadFileBytes(store.PathOf("DATA\\" + entry + ".jvRA"));
    bytes.replace(32, 4, std::string("\x81\x00\x41\x42", 4));
    bytes.replace(1272 + 32, 3,
                  "\xFF\xFE"
                  "C");
    bytes.replace(2 * 1272 + 32, 3, "D\r\n");
    bytes.resize(3 * 1272 + 900);
    store.WriteRaw("DATA\\" + entry + ".jvRA", bytes);

    const auto result = Load();
    ASSERT_TRUE(result.loaded());
    EXPECT_EQ(day->RaceCount, 3);
    ASSERT_EQ(result.tabs.size(), 3u);
    EXPECT_EQ(result.tabs[2].label, " 3R");
    EXPECT_EQ(day->Runners[2][0].RegistrationNumber(), Horse(3, 1));
    EXPECT_TRUE(day->Races[3].IsBlank());
    // Shown, the bytes that are no characters read as replacement characters, nothing else
    // of the name is lost and the line neither breaks nor ends.
    const auto name = [&](int s) {
        return Sjis::ToUtf8(Sjis::TrimBlanks(day->Races[s].Field(jvdata::RA::kRaceName)));
    };
    EXPECT_EQ(name(0), "\uFFFD\uFFFDAB");
    EXPECT_EQ(name(1), "\uFFFD\uFFFD"
                       "C");
    EXPECT_EQ(name(2), "D\uFFFD\uFFFD");
    EXPECT_EQ(day->Races[0].RaceKey(), races[0].RaceKey());
}

TEST_F(DayLoadTest, OddBytesInRunnerMasterPastRunAndCourseRecordsKeepTheirSlots) {
    WriteDay({1}, 1);
    const std::string horse = Horse(1, 1);
    const auto odd = [](std::string record, std::size_t at) {
        record.replace(at, 3, std::string("\x81\x00\x0D", 3));
        return record;
    };
    std::string slots = ReadFileBytes(store.PathOf("DATA\\" + entry + ".jvSEr"));
    slots = odd(slots, 40); // the horse name, SE 41-
    store.WriteRaw("DATA\\" + entry + ".jvSEr", slots);
    store.WriteRaw("UM2\\2001\\" + horse + ".jvUM2",
                   odd(std::string(MakeHorseMaster(horse, S("山田")).view()), 992));
    store.WriteRaw("SEI\\2001\\" + horse + ".jvSEI",
                   odd(std::string(PastRun(horse, "20040404", 2).view()), 40));
    store.WriteRaw("REC\\10513160011.jvRC",
                   odd(std::string(MakeCourseRecord("05", "13", "1600", "11").view()), 100));

    ASSERT_TRUE(Load().loaded());
    EXPECT_EQ(day->Runners[0][0].RegistrationNumber(), horse);
    EXPECT_EQ(Sjis::ToUtf8(day->Runners[0][0].Field(41, 43)), "\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(Sjis::ToUtf8(Sjis::TrimBlanks(day->Horses[0][0].Field(989, 1052))),
              "山田\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(day->PastRuns[0][0][0].RaceDate(), "20040404");
    EXPECT_FALSE(day->CourseRecords[0].IsBlank());
}

TEST_F(DayLoadTest, LineThatLostAByteMakesTheRecordsAfterItBlank) {
    WriteDay({1}, 1);
    const std::string horse = Horse(1, 1);
    // Oldest first: the second-latest line lost a byte, which shifts the latest one too.
    std::vector<TRecordSE> runs = {PastRun(horse, "20040104", 1), PastRun(horse, "20040208", 2),
                                   PastRun(horse, "20040307", 3), PastRun(horse, "20040404", 4)};
    std::string bytes;
    for (const TRecordSE& run : runs) {
        bytes += run.view();
    }
    bytes.erase(2 * 555 + 100, 1);
    store.WriteRaw("SEI\\2001\\" + horse + ".jvSEI", bytes);

    ASSERT_TRUE(Load().loaded());
    const auto& past = day->PastRuns[0][0];
    EXPECT_EQ(past[0].RaceDate(), "20040208");
    EXPECT_EQ(past[1].RaceDate(), "20040104");
    EXPECT_TRUE(past[2].IsBlank());
}

TEST_F(DayLoadTest, DamagedSecondaryFilesLeaveTheirSlotsBlank) {
    WriteDay({1}, 2);
    // A horse master cut short, a course record without its line end, a result file whose
    // matching record lost its line end.
    const std::string master(MakeHorseMaster(Horse(1, 1)).view());
    store.WriteRaw("UM2\\2001\\" + Horse(1, 1) + ".jvUM2", master.substr(0, 1500));
    std::string record(MakeCourseRecord("05", "13", "1600", "11").view());
    record[500] = ' ';
    store.WriteRaw("REC\\10513160011.jvRC", record);
    const std::string horse = Horse(1, 2);
    store.WriteHistory(horse, {PastRun(horse, "20040404", 2, "06")});
    RacePlan plan;
    plan.date = "20040404";
    plan.course = "06";
    plan.number = 2;
    std::string result(MakeRace(plan).view());
    result[1271] = ' ';
    store.WriteRaw("SEIR\\2004\\2004040406.jvSERA", result);

    ASSERT_TRUE(Load().loaded());
    EXPECT_TRUE(day->Horses[0][0].IsBlank());
    EXPECT_TRUE(day->CourseRecords[0].IsBlank());
    EXPECT_FALSE(day->PastRuns[0][1][0].IsBlank());
    EXPECT_TRUE(day->PastRaces[0][1][0].IsBlank());
}

TEST_F(DayLoadTest, RecordOfTheWrongTypeIsReadAsBlank) {
    WriteDay({1}, 1);
    // The horse master file holds an SE record padded to the master's length.
    std::string wrong(TRecordSE{}.Line());
    wrong.replace(0, 2, "SE");
    wrong.resize(1607, ' ');
    wrong += "\r\n";
    store.WriteRaw("UM2\\2001\\" + Horse(1, 1) + ".jvUM2", wrong);
    ASSERT_TRUE(Load().loaded());
    EXPECT_TRUE(day->Horses[0][0].IsBlank());
}

// ---- Store records --------------------------------------------------------------------------

TEST(StoreRecordsTest, SoundRecordsAreWholeTypedLinesWhateverTheirText) {
    const std::string good(MakeRace({}).view());
    EXPECT_TRUE(race::IsSoundRecord(good, 1272, "RA"));
    EXPECT_TRUE(race::IsSoundRecord(std::string(TRecordRA{}.view()), 1272, "RA"));

    const auto with = [&](std::size_t at, std::string_view bytes) {
        std::string r = good;
        r.replace(at, bytes.size(), bytes);
        return r;
    };
    EXPECT_FALSE(race::IsSoundRecord(good.substr(0, 1271), 1272, "RA")); // cut short
    EXPECT_FALSE(race::IsSoundRecord(good, 1272, "SE"));                 // another type
    EXPECT_FALSE(race::IsSoundRecord(with(1270, " "), 1272, "RA"));      // no line end
    EXPECT_FALSE(race::IsSoundRecord(with(1271, "\r"), 1272, "RA"));
    for (std::string_view odd : {std::string_view("\r\n"), std::string_view("\x81 "),
                                 std::string_view("\xA0\xFD"), std::string_view("\0", 1)}) {
        EXPECT_TRUE(race::IsSoundRecord(with(40, odd), 1272, "RA"));
    }
    EXPECT_TRUE(race::IsSoundRecord(with(1269, "\x81"), 1272, "RA")); // lead before CR LF
}

TEST(StoreRecordsTest, ReadRecordAtNeverReadsPastTheFile) {
    const std::string file = std::string(MakeRace({}).view()) + std::string(100, ' ');
    TRecordRA slot = MakeRace({});
    EXPECT_EQ(race::WholeRecords<TRecordRA>(file), 1u);
    EXPECT_TRUE(race::ReadRecordAt(file, 0, slot));
    EXPECT_EQ(slot.RaceNumber(), "01");
    EXPECT_FALSE(race::ReadRecordAt(file, 1, slot));
    EXPECT_TRUE(slot.IsBlank());
    slot = MakeRace({});
    EXPECT_FALSE(race::ReadRecordAt(file, 1000000, slot));
    EXPECT_TRUE(slot.IsBlank());
    EXPECT_FALSE(race::ReadRecordAt(std::string_view(), 0, slot));
}

} // namespace
