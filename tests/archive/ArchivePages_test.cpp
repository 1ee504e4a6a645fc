#include "archive/ArchivePages.h"
#include "support/RaceDayFixture.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

using keiba::test::S;

TEST(ArchivePages, ARunOpensTheEntryOfItsDayWhetherFromCardsOrFromResults) {
    const std::vector<std::string> entries = {
        S("2004年05月02日東京"), S("2004年05月01日東京（成績）"), S("2004年05月01日京都")};
    EXPECT_EQ(archive::DateEntryOfRun(entries, {"20040501", "05", 11, 3}), 1u);
    EXPECT_EQ(archive::DateEntryOfRun(entries, {"20040501", "08", 1, 1}), 2u);
    // Another racecourse that day, a date or code that names no day.
    EXPECT_FALSE(archive::DateEntryOfRun(entries, {"20040501", "06", 1, 1}));
    EXPECT_FALSE(archive::DateEntryOfRun(entries, {"2004051", "05", 1, 1}));
    EXPECT_FALSE(archive::DateEntryOfRun(entries, {"20040501", "", 1, 1}));
    EXPECT_EQ(archive::RunDayMissingText({"20040501", "05", 1, 3}),
              S("2004年05月01日東京  1Rのデータが見つかりません。"));
}

TEST(ArchivePages, TheRaceTabByItsNumberAndTheHorseTabWithinTheRunners) {
    auto day = std::make_unique<race::TRaceDayData>();
    day->Clear();
    keiba::test::RacePlan plan;
    plan.runners = 10;
    plan.number = 5; // a day whose first race slot holds race 5
    day->Races[0] = keiba::test::MakeRace(plan);
    plan.number = 7;
    day->Races[1] = keiba::test::MakeRace(plan);
    day->RaceCount = 2;
    const std::vector<race::TRaceTab> tabs = race::RaceTabs(*day);
    EXPECT_EQ(archive::RaceTabOfRun(*day, tabs, 7), 1);
    EXPECT_FALSE(archive::RaceTabOfRun(*day, tabs, 1));
    EXPECT_EQ(archive::HorseTabOfRun(*day, 1, 10), 9);
    EXPECT_FALSE(archive::HorseTabOfRun(*day, 1, 11));
    EXPECT_FALSE(archive::HorseTabOfRun(*day, 1, 0));
    EXPECT_FALSE(archive::HorseTabOfRun(*day, 5, 1)); // no race in that slot
}

TEST(ArchivePages, ProposedCsvNamesStayOneFileNameInTheChosenFolder) {
    EXPECT_EQ(archive::CsvFileName("search", {S("騎手"), S(" 武 ")}), S("search_騎手_武.csv"));
    EXPECT_EQ(archive::CsvFileName("stats", {"..\\..\\a/b:c", "", "x*?\"<>|\n"}),
              "stats_.._.._a_b_c_x_______.csv");
    // 40 bytes at most from a word, never half a character.
    std::string horses;
    for (int i = 0; i < 10; ++i) {
        horses += S("ウマ");
    }
    EXPECT_EQ(archive::CsvFileName("s", {"a" + horses}), "s_a" + horses.substr(0, 38) + ".csv");
}

TEST(ArchivePages, FiguresAreCellsOfDigitsAndTheirMarks) {
    EXPECT_TRUE(archive::IsFigureCell(" 12.5%"));
    EXPECT_TRUE(archive::IsFigureCell("2004/05/01"));
    EXPECT_TRUE(archive::IsFigureCell("1:34.5"));
    EXPECT_FALSE(archive::IsFigureCell(" - "));
    EXPECT_FALSE(archive::IsFigureCell(S("1600m芝")));
    EXPECT_FALSE(archive::IsFigureCell(""));
}

TEST(ArchivePages, SummariesSayHowManyOrWhyNone) {
    using archive::TSubjectKind;
    EXPECT_EQ(archive::SearchSummaryText(TSubjectKind::Jockey, S("武"), 123),
              S("「武」を含む騎手の出走 123件"));
    EXPECT_EQ(archive::SearchSummaryText(TSubjectKind::Horse, S("ウマ"), 0),
              S("「ウマ」を含む馬の出走はありません。"));
    EXPECT_EQ(archive::SearchSummaryText(TSubjectKind::Trainer, S("藤"), 5000, true),
              S("「藤」を含む調教師の出走 5000件（新しい順に5000件まで）"));
    EXPECT_EQ(archive::SubjectsSummaryText(TSubjectKind::Sire, "  ", 3),
              S("名前（かな・漢字、名前の一部でも可）を入れてください。"));
}

TEST(ArchivePages, TheSubjectOfARunIsFoundByItsNameCell) {
    files::TTextTable hits;
    hits.columns = {S("日付"), S("馬名"), S("騎手")};
    hits.rows = {{"2004/05/01", S("テストウマ"), S("武豊 ")}, {"2004/04/24"}};
    using archive::TSubjectKind;
    EXPECT_EQ(archive::SubjectNameOfRun(TSubjectKind::Jockey, hits, 0), S("武豊"));
    EXPECT_EQ(archive::SubjectNameOfRun(TSubjectKind::Horse, hits, 1), "");   // a short row
    EXPECT_EQ(archive::SubjectNameOfRun(TSubjectKind::Trainer, hits, 0), ""); // no such column
    EXPECT_EQ(archive::SubjectNameOfRun(TSubjectKind::Sire, hits, 0), "");

    archive::TSubjectList jockeys;
    jockeys.table.columns = {S("コード"), S("名前"), S("出走数")};
    jockeys.table.rows = {{"01", S("武豊田"), "9"}, {"02", S("武豊"), "3"}};
    jockeys.codes = {"01", "02"};
    EXPECT_EQ(archive::SubjectRowNamed(jockeys, S("武豊 ")), 1u);
    EXPECT_FALSE(archive::SubjectRowNamed(jockeys, S("武")));
}

} // namespace
