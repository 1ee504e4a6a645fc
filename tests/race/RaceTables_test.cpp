#include "race/RaceTables.h"
#include "support/RaceDayFixture.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

using keiba::test::S;
namespace SE = jvdata::SE;

std::vector<std::string> R(std::initializer_list<const char*> utf8) {
    std::vector<std::string> row;
    for (const char* cell : utf8) {
        row.push_back(S(cell));
    }
    return row;
}

TEST(RaceTables, ACellLosesThePaddingOfTheGridButNotItsText) {
    EXPECT_EQ(race::TableCellText(S(" 　武　豊　 ")), S("武　豊"));
    // "メ" is 83 81: its second byte and the "@" after it are no full-width blank.
    EXPECT_EQ(race::TableCellText("\x83\x81\x40"), "\x83\x81\x40");
}

// Race 11 with four runners: horse 2 won, 1 and 4 dead-heated for second, 3 was scratched.
TEST(RaceTables, ResultsInFinishingOrderThenThePayoffsByBetType) {
    auto day = std::make_unique<race::TRaceDayData>();
    day->Clear();
    keiba::test::RacePlan plan;
    plan.number = 11;
    plan.runners = 4;
    const jvdata::TRecordRA race = keiba::test::MakeRace(plan);
    day->Races[0] = race;
    // Name, final position, time, margin, odds, popularity, abnormality.
    const char* const runs[4][7] = {{"コスモバルク", "02", "1335", "112", "0052", "02", "0"},
                                    {"キング　カメハメハ", "01", "1333", "", "0034", "01", "0"},
                                    {"ダイワメジャー", "00", "0000", "", "0000", "00", "1"},
                                    {"ハーツクライ", "02", "1335", "D", "1234", "10", "0"}};
    for (std::size_t k = 0; k < 4; ++k) {
        jvdata::TRecordSE& runner = day->Runners[0][k] =
            keiba::test::MakeRunner(race, static_cast<int>(k) + 1, "2001100001", S(runs[k][0]));
        runner.SetField(SE::kJockeyShortName, S("武　豊"));
        runner.SetField(SE::kFinishPosition, runs[k][1]);
        runner.SetField(SE::kRaceTime, runs[k][2]);
        runner.SetField(SE::kMarginCode, runs[k][3]);
        runner.SetField(SE::kWinOdds, runs[k][4]);
        runner.SetField(SE::kWinPopularity, runs[k][5]);
        runner.SetField(SE::kAbnormalityCode, runs[k][6]);
    }
    day->Payoffs[0] = keiba::test::MakePayoff(race, 2, 1230, 3);
    day->Payoffs[0].SetField(246, 261, "0204000000456002"); // quinella 2-4, 456 yen, 2nd
    day->PayoffTable = race::ParsePayoffTable(day->Payoffs);

    const files::TTextTable table = race::ResultsTable(*day, 0);
    EXPECT_EQ(table.columns, R({"区分", "着順", "枠番", "馬番", "馬名", "騎手", "タイム", "着差",
                                "単勝オッズ", "人気", "組番", "配当"}));
    const std::vector<std::vector<std::string>> expected = {
        R({"成績", "1", "1", "2", "キングカメハメハ", "武　豊", "1.33.3", "", "3.4", "1", "", ""}),
        R({"成績", "2", "1", "1", "コスモバルク", "武　豊", "1.33.5", "1_1/2馬身", "5.2", "2", "",
           ""}),
        R({"成績", "2", "2", "4", "ハーツクライ", "武　豊", "1.33.5", "同着", "123.4", "10", "",
           ""}),
        R({"成績", "出走取消", "2", "3", "ダイワメジャー", "武　豊", "", "", "", "", "", ""}),
        R({"単勝", "", "", "", "", "", "", "", "", "3", "2", "1230"}),
        R({"馬連", "", "", "", "", "", "", "", "", "2", "2- 4", "456"}),
    };
    EXPECT_EQ(table.rows, expected);
    EXPECT_TRUE(race::ResultsTable(*day, 5).rows.empty());

    EXPECT_EQ(race::RaceCsvFileName(*day, 0, S("成績")), S("20040501東京11R成績.csv"));
    // Whatever stands in a damaged date, only its digits reach the name.
    day->Races[0].SetField(jvdata::RA::kRaceDate, "20/4\\..1");
    EXPECT_EQ(race::RaceCsvFileName(*day, 0, S("成績")), S("2041東京11R成績.csv"));
}

} // namespace
