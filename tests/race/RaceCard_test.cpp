#include "race/RaceCard.h"
#include "race/RaceCardLook.h"
#include "race/TRaceDayData.h"
#include "support/TestSupport.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using keiba::test::S;
using keiba::test::Show;
using race::TRaceDayData;
namespace look = race::CardLook;
using look::TCardColumn;
using look::TCellAlign;
using look::TCellFill;
using look::TCellLook;

// ---- Records built byte by byte at their 1-based positions ----------------------------------

// A blank record of n bytes: blanks, then CR LF.
std::string Blank(std::size_t n) {
    std::string bytes(n, ' ');
    bytes[n - 2] = '\r';
    bytes[n - 1] = '\n';
    return bytes;
}

// Writes text at the 1-based byte position.
void Put(std::string& bytes, std::size_t position, std::string_view text) {
    bytes.replace(position - 1, text.size(), text);
}

template <class Record>
Record Make(const std::string& bytes) {
    const auto record = Record::FromBytes(bytes);
    EXPECT_TRUE(record.has_value());
    return record.value_or(Record{});
}

// A race record with its date and race number (RA 12-19, 26-27).
std::string RaceBytes(std::string_view yyyymmdd, std::string_view raceNumber = "01") {
    std::string ra = Blank(1272);
    Put(ra, 1, "RA7");
    Put(ra, 12, yyyymmdd);
    Put(ra, 26, raceNumber);
    return ra;
}

// A day held on the heap, as the program holds it (2.5 MB).
std::unique_ptr<TRaceDayData> NewDay() {
    return std::make_unique<TRaceDayData>();
}

// The text of a header line in assertion messages.
#define EXPECT_TEXT(actual, expected)                                                              \
    EXPECT_EQ(actual, expected) << "  actual:   " << Show(actual)                                  \
                                << "\n  expected: " << Show(expected)

// ---- Three races of different kinds ---------------------------------------------------------

// A turf G1: 2004-05-01 (Saturday), 東京 2nd meeting 3rd day, race 11 at 15:40, 18 runners.
void PutTurfRace(TRaceDayData& day, int slot) {
    std::string ra = RaceBytes("20040501", "11");
    Put(ra, 20, "05");                    // 東京
    Put(ra, 22, "02");                    // 2nd meeting
    Put(ra, 24, "03");                    // 3rd day
    Put(ra, 28, "1");                     // Saturday
    Put(ra, 33, S("ＮＨＫマイルカップ")); // race name, the rest of its 60 bytes blank
    Put(ra, 612, "045");                  // 45th running
    Put(ra, 615, "A");                    // G1
    Put(ra, 617, "12");                   // 3-year-olds
    Put(ra, 619, "A24");                  // mixed, fillies, special designation
    Put(ra, 622, "4");                    // weight for age
    Put(ra, 626, "999");                  // open
    Put(ra, 698, "1600");
    Put(ra, 706, "11"); // turf, left-handed
    // Prize money of places 1 to 7 in 100 yen; place 7 blank.
    Put(ra, 714, "00970000"); // 97,000 thousand yen
    Put(ra, 722, "00390000");
    Put(ra, 730, "00240000");
    Put(ra, 738, "00150000");
    Put(ra, 746, "00097000");
    Put(ra, 754, "00000000");
    Put(ra, 810, "00001234"); // added money for 1st; 2nd to 5th blank
    Put(ra, 874, "1540");
    Put(ra, 882, "18");
    day.Races[static_cast<std::size_t>(slot)] = Make<jvdata::TRecordRA>(ra);

    std::string rc = Blank(501);
    Put(rc, 1, "RC1");
    Put(rc, 12, "1");
    Put(rc, 13, "2004050905020811"); // set on 2004-05-09 at 東京, 2nd meeting, 8th day, race 11
    Put(rc, 102, "2");               // record time
    Put(rc, 103, "1322");
    Put(rc, 107, "1"); // fine
    Put(rc, 110, "2001104567");
    Put(rc, 120, S("キング　カメハメハ　　　　　　　　　")); // with full-width padding
    Put(rc, 156, "00");                                      // no horse symbol
    Put(rc, 158, "1");                                       // colt
    Put(rc, 164, S("松田　国英"));
    Put(rc, 198, "570");
    Put(rc, 206, S(" 安藤　勝己"));
    day.CourseRecords[static_cast<std::size_t>(slot)] = Make<jvdata::TRecordRC>(rc);
}

// A dirt race: 2004-05-02 (Sunday), 阪神 1st meeting 4th day, race 3 at 10:05, 16 runners,
// right-handed dirt; no graded-race count, no grade, a course record file with year "0000".
void PutDirtRace(TRaceDayData& day, int slot) {
    std::string ra = RaceBytes("20040502", "03");
    Put(ra, 20, "09");
    Put(ra, 22, "01");
    Put(ra, 24, "04");
    Put(ra, 28, "2");
    Put(ra, 612, "000");
    Put(ra, 617, "13"); // 3-year-olds and up
    Put(ra, 619, "000");
    Put(ra, 622, "2");
    Put(ra, 623, "000010010010"); // 2-win class for 3, 4 and 5-year-olds and up
    Put(ra, 698, "1800");
    Put(ra, 706, "24");
    Put(ra, 714, "12345678");
    Put(ra, 874, "1005");
    Put(ra, 882, "16");
    day.Races[static_cast<std::size_t>(slot)] = Make<jvdata::TRecordRA>(ra);

    std::string rc = Blank(501);
    Put(rc, 1, "RC1");
    Put(rc, 13, "0000");
    Put(rc, 120, S("ダミー"));
    day.CourseRecords[static_cast<std::size_t>(slot)] = Make<jvdata::TRecordRC>(rc);
}

// A jump race: 2004-04-10 (Saturday), 中山 3rd meeting 5th day, race 9 at 15:25, 12 runners.
void PutJumpRace(TRaceDayData& day, int slot) {
    std::string ra = RaceBytes("20040410", "09");
    Put(ra, 20, "06");
    Put(ra, 22, "03");
    Put(ra, 24, "05");
    Put(ra, 28, "1");
    Put(ra, 33, S("中山グランドジャンプ"));
    Put(ra, 612, "006");
    Put(ra, 615, "F");  // JG1
    Put(ra, 617, "18"); // jump, 3-year-olds and up
    Put(ra, 619, "A00");
    Put(ra, 622, "4");
    Put(ra, 626, "999");
    Put(ra, 698, "4250");
    Put(ra, 706, "54");
    Put(ra, 714, "00140000");
    Put(ra, 874, "1525");
    Put(ra, 882, "12");
    day.Races[static_cast<std::size_t>(slot)] = Make<jvdata::TRecordRA>(ra);

    std::string rc = Blank(501);
    Put(rc, 1, "RC1");
    Put(rc, 13, "2002041306030410");
    Put(rc, 102, "1"); // standard time
    Put(rc, 103, "4508");
    Put(rc, 107, "2"); // cloudy
    Put(rc, 110, "1995100001");
    Put(rc, 120, S("ゴーカイ  "));
    Put(rc, 156, "06"); // foreign-bred
    Put(rc, 158, "3");  // gelding
    Put(rc, 164, S("増沢末夫"));
    Put(rc, 198, "000"); // no weight
    Put(rc, 206, S("横山義行"));
    day.CourseRecords[static_cast<std::size_t>(slot)] = Make<jvdata::TRecordRC>(rc);
}

TEST(RaceHeader, TurfRaceLinesByteForByte) {
    auto day = NewDay();
    PutTurfRace(*day, 10);
    const race::TRaceHeader header = race::RaceHeader(*day, 10);

    EXPECT_TEXT(header.label1, S("2004年05月01日(土)東京02回03日11R  15.40発走"));
    EXPECT_TEXT(header.label2, S("第 45回 ＮＨＫマイルカップ") + std::string(42, ' '));
    EXPECT_TEXT(header.label3, S("18頭  1600ﾒｰﾄﾙ 芝 左回り G1    サラ系３歳　　　 定量 "
                                 "3歳オープン (混合)牝(特指)　　　　　"));
    EXPECT_TEXT(header.label4,
                S("【賞金】1着:97,000  2着:39,000  3着:24,000  4着:15,000  5着:9,700  6着:0  "
                  "7着:0   【付加賞金】1着:123  2着:0  3着:0  4着:0  5着:0   (単位:千円)"));
    EXPECT_TEXT(header.label5, S("ﾚｺｰﾄﾞ:2004年05月09日東京02回08日11R(ﾚｺｰﾄﾞﾀｲﾑ)1.32.2 晴 "
                                 "キングカメハメハ 牡2001年生　"));
    EXPECT_TEXT(header.label51, S("騎手:安藤勝己  斤量:57.0kg  調教師:松田国英"));
    EXPECT_EQ(header.panelColour, 0x008000u);
}

TEST(RaceHeader, DirtRaceLinesByteForByte) {
    auto day = NewDay();
    PutDirtRace(*day, 2);
    const race::TRaceHeader header = race::RaceHeader(*day, 2);

    EXPECT_TEXT(header.label1, S("2004年05月02日(日)阪神01回04日 3R  10.05発走"));
    // A graded-race count of 000 gives no prefix; the blank race name stays 60 bytes.
    EXPECT_TEXT(header.label2, std::string(60, ' '));
    EXPECT_TEXT(header.label3, S("16頭  1800ﾒｰﾄﾙ ﾀﾞｰﾄ 右回り 　　  サラ系３歳以上　 別定 "
                                 "3歳上2勝ｸﾗｽ  3歳上2勝ｸﾗｽ  3歳上2勝ｸﾗｽ "
                                 "　　　　　　　　　　　　"));
    EXPECT_TEXT(header.label4,
                S("【賞金】1着:1,234,567  2着:0  3着:0  4着:0  5着:0  6着:0  7着:0   "
                  "【付加賞金】1着:0  2着:0  3着:0  4着:0  5着:0   (単位:千円)"));
    // The course record file's year is 0000: both record lines are empty.
    EXPECT_EQ(header.label5, "");
    EXPECT_EQ(header.label51, "");
    EXPECT_EQ(header.panelColour, 0x800000u);
}

TEST(RaceHeader, JumpRaceLinesByteForByte) {
    auto day = NewDay();
    PutJumpRace(*day, 8);
    const race::TRaceHeader header = race::RaceHeader(*day, 8);

    EXPECT_TEXT(header.label1, S("2004年04月10日(土)中山03回05日 9R  15.25発走"));
    EXPECT_TEXT(header.label2, S("第  6回 中山グランドジャンプ") + std::string(40, ' '));
    EXPECT_TEXT(header.label3, S("12頭  4250ﾒｰﾄﾙ 障害 芝 JG1   サラ障害３歳以上 定量 "
                                 "3歳上オープン (混合)　　　　　　　　　"));
    EXPECT_TEXT(header.label4, S("【賞金】1着:14,000  2着:0  3着:0  4着:0  5着:0  6着:0  7着:0   "
                                 "【付加賞金】1着:0  2着:0  3着:0  4着:0  5着:0   (単位:千円)"));
    EXPECT_TEXT(header.label5, S("ﾚｺｰﾄﾞ:2002年04月13日中山03回04日10R(基準ﾀｲﾑ)4.50.8 曇 "
                                 "ゴーカイ ｾﾝ1995年生(外)"));
    // A weight of 000 leaves the weight text empty.
    EXPECT_TEXT(header.label51, S("騎手:横山義行  斤量:  調教師:増沢末夫"));
    EXPECT_EQ(header.panelColour, 0x008000u);
}

TEST(RaceHeader, GradedRaceCountAndCourseRecordEdges) {
    auto day = NewDay();
    PutTurfRace(*day, 0);
    std::string ra(day->Races[0].view());
    std::string rc(day->CourseRecords[0].view());

    // A blank count: the race name alone.
    Put(ra, 612, "   ");
    day->Races[0] = Make<jvdata::TRecordRA>(ra);
    EXPECT_TEXT(race::RaceNameLine(*day, 0), S("ＮＨＫマイルカップ") + std::string(42, ' '));
    // A three-digit count fills the three places.
    Put(ra, 612, "100");
    day->Races[0] = Make<jvdata::TRecordRA>(ra);
    EXPECT_TEXT(race::RaceNameLine(*day, 0),
                S("第100回 ＮＨＫマイルカップ") + std::string(42, ' '));

    // A course record whose year is blank shows no record lines, as "0000" does.
    Put(rc, 13, "    ");
    day->CourseRecords[0] = Make<jvdata::TRecordRC>(rc);
    EXPECT_EQ(race::CourseRecordLine(*day, 0), "");
    EXPECT_EQ(race::CourseRecordRiderLine(*day, 0), "");
    // No course record at all (a blank slot).
    day->CourseRecords[0] = jvdata::TRecordRC{};
    EXPECT_EQ(race::CourseRecordLine(*day, 0), "");
    // A weight of blanks is absent like 000.
    Put(rc, 13, "2004");
    Put(rc, 198, "   ");
    day->CourseRecords[0] = Make<jvdata::TRecordRC>(rc);
    EXPECT_TEXT(race::CourseRecordRiderLine(*day, 0), S("騎手:安藤勝己  斤量:  調教師:松田国英"));
}

TEST(RaceHeader, DamagedFieldsGiveBlankPartsNotFailures) {
    auto day = NewDay();
    std::string ra = RaceBytes("20040501", "  ");
    Put(ra, 28, "9");         // a weekday code with no name
    Put(ra, 20, "ZZ");        // an unknown racecourse
    Put(ra, 714, "12x45678"); // prize money damaged after two digits
    Put(ra, 722, "-0000100"); // a negative amount
    day->Races[0] = Make<jvdata::TRecordRA>(ra);

    EXPECT_TEXT(race::RaceDateLine(*day, 0), S("2004年05月01日()      回  日  R    .  発走"));
    EXPECT_TEXT(race::PrizeMoneyLine(*day, 0),
                S("【賞金】1着:1  2着:-10  3着:0  4着:0  5着:0  6着:0  7着:0   "
                  "【付加賞金】1着:0  2着:0  3着:0  4着:0  5着:0   (単位:千円)"));
    EXPECT_TEXT(race::RaceConditionsLine(*day, 0),
                S("  頭      ﾒｰﾄﾙ  　　  　　　　　　　　   　　　　　　　　　　　　"));
}

TEST(RaceHeader, SlotsWithoutARaceAreEmpty) {
    auto day = NewDay();
    PutTurfRace(*day, 0);
    std::string ra(day->Races[0].view());
    Put(ra, 12, "0000");
    day->Races[1] = Make<jvdata::TRecordRA>(ra); // a race record with year 0000
    day->CourseRecords[3] = day->CourseRecords[0];

    const race::TRaceHeader empty{};
    for (const int slot : {-1, 1, 3, 11, 12, 1000}) {
        SCOPED_TRACE(slot);
        EXPECT_FALSE(race::HasRace(*day, slot));
        EXPECT_EQ(race::RaceHeader(*day, slot), empty);
        EXPECT_EQ(race::CardRunnerCount(*day, slot), 0);
        EXPECT_TRUE(race::HorseTabLabels(*day, slot).empty());
        EXPECT_TRUE(race::CardRows(*day, slot).empty());
    }
    EXPECT_TRUE(race::HasRace(*day, 0));
}

// ---- Panel colour ---------------------------------------------------------------------------

TEST(HeaderPanel, MaroonOnlyForDirtTracks23And24) {
    const std::pair<std::string_view, std::uint32_t> kTracks[] = {
        {"23", 0x800000},
        {"24", 0x800000}, // dirt, left- and right-handed
        {"25", 0x008000},
        {"29", 0x008000}, // other dirt tracks stay green
        {"11", 0x008000},
        {"22", 0x008000},
        {"54", 0x008000},
        // Blank or not a number counts as 0: green.
        {"  ", 0x008000},
        {"2x", 0x008000},
        {"x4", 0x008000},
        {"ab", 0x008000},
        {"\x82\x51", 0x008000}, // a full-width digit
    };
    auto day = NewDay();
    for (const auto& [code, colour] : kTracks) {
        SCOPED_TRACE(std::string(code));
        std::string ra = RaceBytes("20040501");
        Put(ra, 706, code);
        day->Races[4] = Make<jvdata::TRecordRA>(ra);
        EXPECT_EQ(race::HeaderPanelColour(*day, 4), colour);
        EXPECT_EQ(look::PanelColour(code), colour);
    }
    // Texts that are not two digits.
    EXPECT_EQ(look::PanelColour(""), 0x008000u);
    EXPECT_EQ(look::PanelColour(" 24"), 0x800000u);
    EXPECT_EQ(look::PanelColour("24 "), 0x008000u);
    EXPECT_EQ(look::PanelColour("99999999999999999999"), 0x008000u);
}

// ---- Horse tabs and runner counts -----------------------------------------------------------

TEST(HorseTabs, OneTabPerRegisteredRunner) {
    auto day = NewDay();
    PutJumpRace(*day, 0);
    const std::vector<std::string> tabs = race::HorseTabLabels(*day, 0);
    ASSERT_EQ(tabs.size(), 12u);
    EXPECT_EQ(tabs[0], S(" 1番"));
    EXPECT_EQ(tabs[8], S(" 9番"));
    EXPECT_EQ(tabs[9], S("10番"));
    EXPECT_EQ(tabs[11], S("12番"));
}

TEST(HorseTabs, RegisteredCountsOutsideTheRunnerSlots) {
    const std::pair<std::string_view, int> kCounts[] = {
        {"18", 18}, {"19", 18}, {"20", 18}, {"99", 18}, // more than the runner slots hold
        {"-1", 0},  {"  ", 0},  {"ab", 0},  {"00", 0},  {"7x", 7},
    };
    auto day = NewDay();
    for (const auto& [field, count] : kCounts) {
        SCOPED_TRACE(std::string(field));
        std::string ra = RaceBytes("20040501");
        Put(ra, 882, field);
        day->Races[11] = Make<jvdata::TRecordRA>(ra);
        EXPECT_EQ(race::CardRunnerCount(*day, 11), count);
        EXPECT_EQ(race::HorseTabLabels(*day, 11).size(), static_cast<std::size_t>(count));
        EXPECT_EQ(race::CardRows(*day, 11).size(), static_cast<std::size_t>(count));
        // The card page: six header lines, the column titles, one line per row.
        EXPECT_EQ(race::CardPageLines(*day, 11).size(), static_cast<std::size_t>(7 + count));
    }
    // The header shows the count the record holds.
    std::string ra = RaceBytes("20040501");
    Put(ra, 882, "20");
    day->Races[11] = Make<jvdata::TRecordRA>(ra);
    EXPECT_EQ(race::RaceConditionsLine(*day, 11).substr(0, 6), S("20頭  "));
}

// ---- Card rows ------------------------------------------------------------------------------

// A runner record with every card field filled.
std::string RunnerBytes() {
    std::string se = Blank(555);
    Put(se, 1, "SE7");
    Put(se, 12, "2004050105020311");
    Put(se, 28, "3");
    Put(se, 29, "05");
    Put(se, 31, "2001104567");
    Put(se, 41, S("キング　カメハメハ　　　　　　　　　"));
    Put(se, 79, "1");
    Put(se, 83, "03");
    Put(se, 91, S("松田国英"));
    Put(se, 289, "570");
    Put(se, 295, "1");
    Put(se, 307, S("安藤勝己"));
    Put(se, 323, "3");
    return se;
}

TEST(CardRows, EveryColumnOfAFilledRunner) {
    auto day = NewDay();
    PutTurfRace(*day, 0);
    day->Runners[0][4] = Make<jvdata::TRecordSE>(RunnerBytes());

    const race::TCardRow expected = {
        "3",    " 5",      "",         S("キングカメハメハ"), S("安藤勝己"), S("牡 3"),
        "57.0", S("ﾌﾞﾘﾝ"), S("3kg減"), S("松田国英"),
        " 19", // キ3 ン2 グ4 カ2 メ2 ハ2 メ2 ハ2
    };
    const race::TCardRow row = race::CardRow(*day, 0, 4);
    for (std::size_t c = 0; c < row.size(); ++c) {
        SCOPED_TRACE(c);
        EXPECT_TEXT(row[c], expected[c]);
    }
    EXPECT_EQ(race::CardCellText(*day, 0, 4, TCardColumn::Strokes), " 19");
    EXPECT_EQ(race::CardRows(*day, 0).at(4), expected);
}

TEST(CardRows, BlankRunnerSlotGivesBlankTexts) {
    auto day = NewDay();
    PutTurfRace(*day, 0);
    const race::TCardRow expected = {
        " ", "  ", "", "", "        ", "  ", "   ", " ", S("　"), "        ", "",
    };
    const race::TCardRow row = race::CardRow(*day, 0, 17);
    for (std::size_t c = 0; c < row.size(); ++c) {
        SCOPED_TRACE(c);
        EXPECT_TEXT(row[c], expected[c]);
    }
    // Runner slots outside 0..17 and race slots outside 0..11 give empty cells.
    const race::TCardRow none{};
    EXPECT_EQ(race::CardRow(*day, 0, 18), none);
    EXPECT_EQ(race::CardRow(*day, 0, -1), none);
    EXPECT_EQ(race::CardRow(*day, 12, 0), none);
}

TEST(CardRows, StrokesAreCountedOnTheShownName) {
    auto day = NewDay();
    PutTurfRace(*day, 0);
    const std::pair<std::string, std::string_view> kNames[] = {
        // A leading half-width blank is trimmed first, so the pairs stay whole characters:
        // キ3 タ3 サ3 ン2 ブ3 ラ2 ッ3 ク2.
        {S(" キタサン　ブラック"), " 21"},
        // Full-width blanks between and after the words count for nothing.
        {S("ボ　ボ　　"), " 12"},
        // No katakana, no count: the cell stays empty.
        {S("風神"), ""},
        {"ABCD", ""},
        {"", ""},
    };
    for (const auto& [name, strokes] : kNames) {
        SCOPED_TRACE(Show(name));
        std::string se = RunnerBytes();
        Put(se, 41, std::string(36, ' '));
        Put(se, 41, name);
        day->Runners[0][0] = Make<jvdata::TRecordSE>(se);
        EXPECT_EQ(race::CardCellText(*day, 0, 0, TCardColumn::Strokes), strokes);
    }
    EXPECT_EQ(race::CardCellText(*day, 0, 0, TCardColumn::HorseName), "");
}

// ---- Back to back ("連闘") ------------------------------------------------------------------

// The "連闘" cell of a race on raceDate for a runner whose latest earlier race was on pastDate.
std::string BackToBack(std::string_view raceDate, std::string_view pastDate) {
    auto day = NewDay();
    std::string ra = RaceBytes(raceDate);
    Put(ra, 882, "01");
    day->Races[5] = Make<jvdata::TRecordRA>(ra);
    day->PastRaces[5][0][0] = Make<jvdata::TRecordRA>(RaceBytes(pastDate, "05"));
    return race::CardCellText(*day, 5, 0, TCardColumn::BackToBack);
}

TEST(BackToBack, UpToEightDaysBeforeTheRace) {
    const std::string kShown = S("連闘");
    const std::pair<std::string_view, std::string_view> kShownFor[] = {
        {"20040501", "20040424"}, // 7 days
        {"20040501", "20040423"}, // 8 days
        {"20040501", "20040430"}, // the day before
        {"20040306", "20040228"}, // over 29 February of a leap year: 7 days
        {"20030306", "20030226"}, // over the end of a 28-day February: 8 days
        {"20050105", "20041228"}, // over the turn of the year: 8 days
    };
    for (const auto& [race, past] : kShownFor) {
        SCOPED_TRACE(std::string(race) + " " + std::string(past));
        EXPECT_EQ(BackToBack(race, past), kShown);
    }
    const std::pair<std::string_view, std::string_view> kEmptyFor[] = {
        {"20040501", "20040422"}, // 9 days
        {"20040306", "20040226"}, // 9 days over 29 February
        {"20050105", "20041227"}, // 9 days over the turn of the year
        {"20040501", "20030424"}, // a year and a week
        {"20040501", "20040501"}, // the same day is not an earlier run
        {"20040501", "20040502"}, // nor a later day
        {"20040501", "        "}, // no earlier race
        {"20040501", "    0424"}, // past race without a year
        {"20040501", "20041324"}, // month 13
        {"20030306", "20030229"}, // 29 February of a common year
        {"20040501", "2004  24"}, // blank month
        {"20040501", "200404  "}, // blank day
        {"20040501", "0000042 "}, // year 0
        {"2004  01", "20040424"}, // the race's own date damaged
    };
    for (const auto& [race, past] : kEmptyFor) {
        SCOPED_TRACE(std::string(race) + " " + std::string(past));
        EXPECT_EQ(BackToBack(race, past), "");
    }
}

TEST(BackToBack, OnlyTheLatestEarlierRaceCounts) {
    auto day = NewDay();
    PutTurfRace(*day, 0); // 2004-05-01
    // Entry 0 is 14 days before; entry 1, a week before, is not the latest and is ignored.
    day->PastRaces[0][2][0] = Make<jvdata::TRecordRA>(RaceBytes("20040417"));
    day->PastRaces[0][2][1] = Make<jvdata::TRecordRA>(RaceBytes("20040424"));
    // Runner 3 ran 8 days before; the cell belongs to its own row only.
    day->PastRaces[0][3][0] = Make<jvdata::TRecordRA>(RaceBytes("20040423"));
    EXPECT_EQ(race::CardCellText(*day, 0, 2, TCardColumn::BackToBack), "");
    EXPECT_EQ(race::CardCellText(*day, 0, 3, TCardColumn::BackToBack), S("連闘"));
    EXPECT_EQ(race::CardCellText(*day, 0, 4, TCardColumn::BackToBack), "");
    EXPECT_FALSE(race::RanWithinEightDays(*day, 0, 18));
    EXPECT_FALSE(race::RanWithinEightDays(*day, -1, 3));
}

// ---- Painting the grid ----------------------------------------------------------------------

TEST(CardLook, FrameColoursByFrameNumber) {
    const std::pair<std::string_view, std::uint32_t> kFrames[] = {
        {"1", 0xFFFFFF}, {"2", 0x808080}, {"3", 0xFF0000}, {"4", 0x0000FF},
        {"5", 0xFFFF00}, {"6", 0x00FF00}, {"7", 0xFF8000}, {"8", 0xFF00FF},
    };
    for (const auto& [text, colour] : kFrames) {
        SCOPED_TRACE(std::string(text));
        EXPECT_EQ(look::CellLook(0, 1, text),
                  (TCellLook{TCellFill::Colour, colour, TCellAlign::Centre}));
    }
    // Outside 1..8, and texts that are not numbers, keep the grid's own colour.
    for (const std::string_view text : {"0", "9", "10", " ", "", "x", "1x", "-1"}) {
        SCOPED_TRACE(std::string(text));
        EXPECT_EQ(look::CellLook(0, 5, text).fill, TCellFill::GridOwn);
    }
    EXPECT_EQ(look::FrameColour(0), std::nullopt);
    EXPECT_EQ(look::FrameColour(9), std::nullopt);
}

TEST(CardLook, BackgroundAndAlignmentByColumnAndRow) {
    // Header row: teal and centred in every column, the name and jockey columns included.
    for (int column = 0; column < look::kColumnCount; ++column) {
        SCOPED_TRACE(column);
        EXPECT_EQ(look::CellLook(column, 0, "3"),
                  (TCellLook{TCellFill::Colour, 0x008080, TCellAlign::Centre}));
    }
    // Data rows: tooltip colour behind the horse number, white elsewhere; name and jockey left.
    EXPECT_EQ(look::CellLook(1, 1, " 5"),
              (TCellLook{TCellFill::ToolTip, 0xFFFFE1, TCellAlign::Centre}));
    for (int column = 2; column < look::kColumnCount; ++column) {
        SCOPED_TRACE(column);
        const TCellAlign align = column == 3 || column == 4 ? TCellAlign::Left : TCellAlign::Centre;
        EXPECT_EQ(look::CellLook(column, 18, "x"), (TCellLook{TCellFill::Colour, 0xFFFFFF, align}));
    }
}

TEST(CardLook, ColumnsOfTheGrid) {
    const std::string_view kHeaders[] = {"枠",   "馬",    "連闘",     "馬名",   "騎手", "性齢",
                                         "斤量", "ﾌﾞﾘﾝｶ", "見習区分", "調教師", "画数"};
    const int kWidths[] = {25, 25, 35, 198, 64, 43, 43, 49, 65, 64, 64};
    for (int c = 0; c < 11; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(look::ColumnHeader(c), S(kHeaders[c]));
        EXPECT_EQ(look::kColumnWidths[static_cast<std::size_t>(c)], kWidths[c]);
    }
    EXPECT_EQ(look::ColumnHeader(11), "");
    EXPECT_EQ(look::ColumnHeader(-1), "");
    EXPECT_EQ(std::string(look::kFontFace), S("ＭＳ ゴシック"));
}

// ---- Pages as text --------------------------------------------------------------------------

TEST(PageLines, CardPageHeaderTitlesAndRows) {
    auto day = NewDay();
    PutJumpRace(*day, 0);
    std::string ra(day->Races[0].view());
    Put(ra, 882, "02");
    day->Races[0] = Make<jvdata::TRecordRA>(ra);
    day->Runners[0][0] = Make<jvdata::TRecordSE>(RunnerBytes());
    day->PastRaces[0][0][0] = Make<jvdata::TRecordRA>(RaceBytes("20040403"));

    const std::vector<std::string> lines = race::CardPageLines(*day, 0);
    ASSERT_EQ(lines.size(), 9u);
    const race::TRaceHeader header = race::RaceHeader(*day, 0);
    EXPECT_EQ(lines[0], header.label1);
    EXPECT_EQ(lines[3], header.label4);
    EXPECT_EQ(lines[5], header.label51);
    EXPECT_TEXT(lines[6], S("枠\t馬\t連闘\t馬名\t騎手\t性齢\t斤量\tﾌﾞﾘﾝｶ\t見習区分\t調教師\t画数"));
    EXPECT_TEXT(lines[7], S("3\t 5\t連闘\tキングカメハメハ\t安藤勝己\t牡 3\t57.0\tﾌﾞﾘﾝ\t3kg減\t"
                            "松田国英\t 19"));
    EXPECT_TEXT(lines[8], S(" \t  \t\t\t        \t  \t   \t \t　\t        \t"));
}

TEST(PageLines, ResultsPageBoxesInOrder) {
    auto day = NewDay();
    PutTurfRace(*day, 3);
    std::string hr = Blank(719);
    Put(hr, 1, "HR2");
    Put(hr, 12, "2004050105020311");
    Put(hr, 103, "0500000023001"); // win: horse 5, 230 yen, favourite
    Put(hr, 550, "010212000012345120");
    day->Payoffs[3] = Make<jvdata::TRecordHR>(hr);
    day->PayoffTable = race::ParsePayoffTable(day->Payoffs);

    const std::vector<std::string> lines = race::ResultsPageLines(*day, 3);
    const std::vector<std::string> expected = {
        S("単勝"),
        S("結果：\t 5\t\t"),
        S("人気：\t 1\t\t"),
        S("配当：\t     230\t\t"),
        S("複勝"),
        S("結果：\t\t\t\t\t"),
        S("人気：\t\t\t\t\t"),
        S("配当：\t\t\t\t\t"),
        S("枠連"),
        S("結果：\t\t\t"),
        S("人気：\t\t\t"),
        S("配当：\t\t\t"),
        S("馬連"),
        S("結果：\t\t\t"),
        S("人気：\t\t\t"),
        S("配当：\t\t\t"),
        S("ﾜｲﾄﾞ"),
        S("結果：\t\t\t\t\t\t\t"),
        S("人気：\t\t\t\t\t\t\t"),
        S("配当：\t\t\t\t\t\t\t"),
        S("馬単"),
        S("結果：\t\t\t\t\t\t"),
        S("人気：\t\t\t\t\t\t"),
        S("配当：\t\t\t\t\t\t"),
        S("三連複"),
        S("結果：\t 1- 2-12\t\t"),
        S("人気：\t120\t\t"),
        S("配当：\t   12345\t\t"),
    };
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TEXT(lines[i], expected[i]);
    }
    // Another slot, and a slot outside the day: every box blank.
    EXPECT_EQ(race::ResultsPageLines(*day, 4)[1], S("結果：\t\t\t"));
    EXPECT_EQ(race::ResultsPageLines(*day, 12)[1], S("結果：\t\t\t"));
}

} // namespace
