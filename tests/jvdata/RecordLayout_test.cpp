// Field positions of the five record types against the JV-Data record layouts, typed by hand here,
// and records built byte by byte at those typed positions read back through the named fields.
#include "jvdata/Records.h"
#include "jvdata/SjisText.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using namespace jvdata;
using keiba::test::S;
using keiba::test::Show;

// A named position and the first and last byte the record layout gives for it.
struct Row {
    const char* name;
    TFieldPos pos;
    int first;
    int last;
};

void ExpectPositions(const std::vector<Row>& rows) {
    for (const Row& row : rows) {
        EXPECT_EQ(row.pos.first, row.first) << row.name;
        EXPECT_EQ(row.pos.last, row.last) << row.name;
    }
}

// A blank raw record of `length` bytes (blanks, CR LF) to be filled at typed positions.
std::string RawBlank(std::size_t length) {
    return std::string(length - 2, ' ') + "\r\n";
}

// Writes text at the 1-based position `first` of a raw record.
void Put(std::string& raw, int first, std::string_view text) {
    ASSERT_LE(first - 1 + text.size(), raw.size() - 2) << "typed position past the data bytes";
    raw.replace(static_cast<std::size_t>(first - 1), text.size(), text);
}

// ---- Header and race key ----------------------------------------------------------------

TEST(RecordLayout, HeaderAndRaceKeyPositions) {
    ExpectPositions({
        {"record type", Header::kRecordType, 1, 2},
        {"data kind", Header::kDataKind, 3, 3},
        {"creation date", Header::kCreationDate, 4, 11},
        {"kind and date (zeroed by the store)", Header::kKindAndDate, 3, 11},
        {"race key", RaceKey::kRaceKey, 12, 27},
        {"year", RaceKey::kYear, 12, 15},
        {"month-day", RaceKey::kMonthDay, 16, 19},
        {"month", RaceKey::kMonth, 16, 17},
        {"day", RaceKey::kDay, 18, 19},
        {"race date", RaceKey::kRaceDate, 12, 19},
        {"racecourse", RaceKey::kCourseCode, 20, 21},
        {"date and racecourse", RaceKey::kDateAndCourse, 12, 21},
        {"meeting", RaceKey::kMeeting, 22, 23},
        {"day of meeting", RaceKey::kDayOfMeeting, 24, 25},
        {"race number", RaceKey::kRaceNumber, 26, 27},
        // The race key is reachable under each race record's own name.
        {"RA race number", RA::kRaceNumber, 26, 27},
        {"SE race key", SE::kRaceKey, 12, 27},
        {"HR year", HR::kYear, 12, 15},
        {"UM creation date", UM::kCreationDate, 4, 11},
        {"RC record type", RC::kRecordType, 1, 2},
    });
}

// ---- RA -----------------------------------------------------------------------------------

TEST(RecordLayout, RaPositions) {
    ExpectPositions({
        {"weekday", RA::kWeekdayCode, 28, 28},
        {"race name", RA::kRaceName, 33, 92},
        {"short race name", RA::kShortRaceName, 605, 610},
        {"graded-race count", RA::kGradedRaceCount, 612, 614},
        {"grade", RA::kGradeCode, 615, 615},
        {"race type", RA::kRaceTypeCode, 617, 618},
        {"race symbol", RA::kRaceSymbolCode, 619, 621},
        {"weight rule", RA::kWeightRuleCode, 622, 622},
        {"condition 2yo", RA::kCondition2yo, 623, 625},
        {"condition 3yo", RA::kCondition3yo, 626, 628},
        {"condition 4yo", RA::kCondition4yo, 629, 631},
        {"condition 5yo+", RA::kCondition5yoUp, 632, 634},
        {"condition youngest", RA::kConditionYoungest, 635, 637},
        {"condition name", RA::kConditionName, 638, 697},
        {"distance", RA::kDistance, 698, 701},
        {"track", RA::kTrackCode, 706, 707},
        {"prize money all", RA::kPrizeMoneyAll, 714, 769},
        {"prize 1", RA::PrizeMoney(1), 714, 721},
        {"prize 2", RA::PrizeMoney(2), 722, 729},
        {"prize 3", RA::PrizeMoney(3), 730, 737},
        {"prize 4", RA::PrizeMoney(4), 738, 745},
        {"prize 5", RA::PrizeMoney(5), 746, 753},
        {"prize 6", RA::PrizeMoney(6), 754, 761},
        {"prize 7", RA::PrizeMoney(7), 762, 769},
        {"added money all", RA::kAddedMoneyAll, 810, 849},
        {"added 1", RA::AddedMoney(1), 810, 817},
        {"added 2", RA::AddedMoney(2), 818, 825},
        {"added 5", RA::AddedMoney(5), 842, 849},
        {"post time", RA::kPostTime, 874, 877},
        {"registered", RA::kRegisteredRunners, 882, 883},
        {"starters", RA::kStarters, 884, 885},
        {"finishers", RA::kFinishers, 886, 887},
        {"weather", RA::kWeatherCode, 888, 888},
        {"turf going", RA::kTurfGoingCode, 889, 889},
        {"dirt going", RA::kDirtGoingCode, 890, 890},
        {"line end", RA::kLineEnd, 1271, 1272},
    });
    EXPECT_EQ(RA::kPrizePlaces, 7);
    EXPECT_EQ(RA::kAddedPlaces, 5);
    EXPECT_EQ(RA::PrizeMoney(0), kNoField);
    EXPECT_EQ(RA::PrizeMoney(8), kNoField);
    EXPECT_EQ(RA::AddedMoney(6), kNoField);
}

TEST(RecordLayout, RaBuiltAtTypedPositions) {
    std::string raw = RawBlank(1272);
    Put(raw, 1, "RA720240428");
    Put(raw, 12, "2024042805020411");
    Put(raw, 28, "7");
    const std::string name = S("天皇賞（春）");
    Put(raw, 33, name);
    Put(raw, 605, S("天皇賞"));
    Put(raw, 612, "169A 14N214000000999999999");
    Put(raw, 698, "3200");
    Put(raw, 706, "17");
    Put(raw, 714, "00030000000120000000750000004500");
    Put(raw, 762, "00000001"); // 7th-place prize
    Put(raw, 842, "00000099"); // 5th-place added money
    Put(raw, 874, "1540");
    Put(raw, 882,
        "181716"
        "1"
        "2"
        "3");
    const auto ra = TRecordRA::FromBytes(raw);
    ASSERT_TRUE(ra.has_value());

    EXPECT_TRUE(ra->HasType());
    EXPECT_EQ(ra->DataKind(), '7');
    EXPECT_EQ(ra->CreationDate(), "20240428");
    EXPECT_EQ(ra->RaceKey(), "2024042805020411");
    EXPECT_EQ(ra->Year(), "2024");
    EXPECT_EQ(ra->MonthDay(), "0428");
    EXPECT_EQ(ra->Month(), "04");
    EXPECT_EQ(ra->Day(), "28");
    EXPECT_EQ(ra->RaceDate(), "20240428");
    EXPECT_EQ(ra->CourseCode(), "05");
    EXPECT_EQ(ra->Meeting(), "02");
    EXPECT_EQ(ra->DayOfMeeting(), "04");
    EXPECT_EQ(ra->RaceNumber(), "11");
    EXPECT_EQ(ra->Field(RA::kDateAndCourse), "2024042805");
    EXPECT_EQ(ra->Int(RA::kRaceDate), 20240428);
    EXPECT_EQ(ra->Field(RA::kWeekdayCode), "7");
    EXPECT_EQ(ra->Field(RA::kRaceName), name + std::string(60 - name.size(), ' '))
        << Show(ra->Field(RA::kRaceName));
    EXPECT_EQ(ra->Field(RA::kShortRaceName), S("天皇賞"));
    EXPECT_EQ(ra->Int(RA::kGradedRaceCount), 169);
    EXPECT_EQ(ra->Field(RA::kGradeCode), "A");
    EXPECT_EQ(ra->Field(RA::kRaceTypeCode), "14");
    EXPECT_EQ(ra->Field(RA::kRaceSymbolCode), "N21");
    EXPECT_EQ(ra->Field(RA::kWeightRuleCode), "4");
    EXPECT_EQ(ra->Field(RA::kCondition2yo), "000");
    EXPECT_EQ(ra->Field(RA::kCondition3yo), "000");
    EXPECT_EQ(ra->Field(RA::kCondition4yo), "999");
    EXPECT_EQ(ra->Field(RA::kCondition5yoUp), "999");
    EXPECT_EQ(ra->Field(RA::kConditionYoungest), "999");
    EXPECT_EQ(ra->Int(RA::kDistance), 3200);
    EXPECT_EQ(ra->Field(RA::kTrackCode), "17");
    EXPECT_EQ(ra->Int(RA::PrizeMoney(1)), 30000);
    EXPECT_EQ(ra->Int(RA::PrizeMoney(2)), 12000);
    EXPECT_EQ(ra->Int(RA::PrizeMoney(3)), 7500);
    EXPECT_EQ(ra->Int(RA::PrizeMoney(4)), 4500);
    EXPECT_EQ(ra->Int(RA::PrizeMoney(7)), 1);
    EXPECT_EQ(ra->Int(RA::AddedMoney(5)), 99);
    EXPECT_EQ(ra->Field(RA::kPostTime), "1540");
    EXPECT_EQ(ra->Int(RA::kRegisteredRunners), 18);
    EXPECT_EQ(ra->Int(RA::kStarters), 17);
    EXPECT_EQ(ra->Int(RA::kFinishers), 16);
    EXPECT_EQ(ra->Field(RA::kWeatherCode), "1");
    EXPECT_EQ(ra->Field(RA::kTurfGoingCode), "2");
    EXPECT_EQ(ra->Field(RA::kDirtGoingCode), "3");
    EXPECT_EQ(ra->Field(RA::kLineEnd), "\r\n");
}

// ---- SE -----------------------------------------------------------------------------------

TEST(RecordLayout, SePositions) {
    ExpectPositions({
        {"frame", SE::kFrameNumber, 28, 28},
        {"horse number", SE::kHorseNumber, 29, 30},
        {"registration", SE::kRegistrationNumber, 31, 40},
        {"foaling year", SE::kFoalingYear, 31, 34},
        {"horse name", SE::kHorseName, 41, 76},
        {"horse symbol", SE::kHorseSymbolCode, 77, 78},
        {"sex", SE::kSexCode, 79, 79},
        {"breed", SE::kBreedCode, 80, 80},
        {"coat", SE::kCoatColourCode, 81, 82},
        {"age", SE::kAge, 83, 84},
        {"trainer", SE::kTrainerShortName, 91, 98},
        {"weight carried", SE::kWeightCarried, 289, 291},
        {"blinker", SE::kBlinker, 295, 295},
        {"jockey", SE::kJockeyShortName, 307, 314},
        {"apprentice", SE::kApprenticeCode, 323, 323},
        {"body weight", SE::kBodyWeight, 325, 327},
        {"body weight sign", SE::kBodyWeightSign, 328, 328},
        {"body weight change", SE::kBodyWeightChange, 329, 331},
        {"abnormality", SE::kAbnormalityCode, 332, 332},
        {"arrival order", SE::kArrivalOrder, 333, 334},
        {"finish position", SE::kFinishPosition, 335, 336},
        {"race time", SE::kRaceTime, 339, 342},
        {"margin", SE::kMarginCode, 343, 345},
        {"corners all", SE::kCornerPositionsAll, 352, 359},
        {"corner 1", SE::CornerPosition(1), 352, 353},
        {"corner 2", SE::CornerPosition(2), 354, 355},
        {"corner 3", SE::CornerPosition(3), 356, 357},
        {"corner 4", SE::CornerPosition(4), 358, 359},
        {"win odds", SE::kWinOdds, 360, 363},
        {"popularity", SE::kWinPopularity, 364, 365},
        {"prize won", SE::kPrizeMoney, 366, 373},
        {"added won", SE::kAddedMoney, 374, 381},
        {"last 4F", SE::kLast4Furlongs, 388, 390},
        {"last 3F", SE::kLast3Furlongs, 391, 393},
        {"opponent", SE::kOpponentName, 404, 439},
        {"time diff", SE::kTimeDiff, 532, 535},
        {"time diff sign", SE::kTimeDiffSign, 532, 532},
        {"time diff value", SE::kTimeDiffValue, 533, 535},
        {"line end", SE::kLineEnd, 554, 555},
    });
    EXPECT_EQ(SE::kCorners, 4);
    EXPECT_EQ(SE::CornerPosition(0), kNoField);
    EXPECT_EQ(SE::CornerPosition(5), kNoField);
}

TEST(RecordLayout, SeOfAWinnerBuiltAtTypedPositions) {
    std::string raw = RawBlank(555);
    Put(raw, 1, "SE720240428");
    Put(raw, 12, "2024042805020411");
    Put(raw, 28, "3");
    Put(raw, 29, "05");
    Put(raw, 31, "2019105432");
    // 18 full-width characters fill the 36-byte name exactly.
    const std::string name = S("アイウエオカキクケコサシスセソタチツ");
    ASSERT_EQ(name.size(), 36u);
    Put(raw, 41, name);
    Put(raw, 77,
        "01"
        "1"
        "1"
        "03"
        "05");
    Put(raw, 91, S("武藤"));
    Put(raw, 289, "580");
    Put(raw, 295, "1");
    Put(raw, 307, S("坂井瑠"));
    Put(raw, 323, "2");
    Put(raw, 325,
        "486-012"
        "0"
        "0101");
    Put(raw, 339,
        "3161"
        "   "
        "      "
        "02030405"
        "0035"
        "01");
    Put(raw, 366,
        "00030000"
        "00000100");
    Put(raw, 388, "473351");
    Put(raw, 404, S("ブローザホーン"));
    Put(raw, 532, "-002");
    const auto se = TRecordSE::FromBytes(raw);
    ASSERT_TRUE(se.has_value());

    EXPECT_EQ(se->RaceKey(), "2024042805020411");
    EXPECT_EQ(se->Int(SE::kFrameNumber), 3);
    EXPECT_EQ(se->HorseNumber(), "05");
    EXPECT_EQ(se->Int(SE::kHorseNumber), 5);
    EXPECT_EQ(se->RegistrationNumber(), "2019105432");
    EXPECT_EQ(se->Field(SE::kFoalingYear), "2019");
    EXPECT_EQ(se->Field(SE::kHorseName), name) << Show(se->Field(SE::kHorseName));
    EXPECT_EQ(se->Field(SE::kHorseSymbolCode), "01");
    EXPECT_EQ(se->Field(SE::kSexCode), "1");
    EXPECT_EQ(se->Field(SE::kBreedCode), "1");
    EXPECT_EQ(se->Field(SE::kCoatColourCode), "03");
    EXPECT_EQ(se->Int(SE::kAge), 5);
    EXPECT_EQ(se->Field(SE::kTrainerShortName), S("武藤") + "    ");
    EXPECT_EQ(se->Int(SE::kWeightCarried), 580);
    EXPECT_EQ(se->Field(SE::kBlinker), "1");
    EXPECT_EQ(se->Field(SE::kJockeyShortName), S("坂井瑠") + "  ");
    EXPECT_EQ(se->Field(SE::kApprenticeCode), "2");
    EXPECT_EQ(se->Int(SE::kBodyWeight), 486);
    EXPECT_EQ(se->Field(SE::kBodyWeightSign), "-");
    EXPECT_EQ(se->Int(SE::kBodyWeightChange), 12);
    EXPECT_EQ(se->Field(SE::kAbnormalityCode), "0");
    EXPECT_EQ(se->Int(SE::kArrivalOrder), 1);
    EXPECT_EQ(se->Int(SE::kFinishPosition), 1);
    EXPECT_EQ(se->Field(SE::kRaceTime), "3161");
    EXPECT_EQ(se->Field(SE::kMarginCode), "   ");
    EXPECT_EQ(se->Int(SE::CornerPosition(1)), 2);
    EXPECT_EQ(se->Int(SE::CornerPosition(2)), 3);
    EXPECT_EQ(se->Int(SE::CornerPosition(3)), 4);
    EXPECT_EQ(se->Int(SE::CornerPosition(4)), 5);
    EXPECT_EQ(se->Int(SE::kWinOdds), 35);
    EXPECT_EQ(se->Int(SE::kWinPopularity), 1);
    EXPECT_EQ(se->Int(SE::kPrizeMoney), 30000);
    EXPECT_EQ(se->Int(SE::kAddedMoney), 100);
    EXPECT_EQ(se->Field(SE::kLast4Furlongs), "473");
    EXPECT_EQ(se->Field(SE::kLast3Furlongs), "351");
    // A winner has the second-placed horse as its opponent and a signed difference.
    EXPECT_EQ(Sjis::TrimBlanks(se->Field(SE::kOpponentName)), S("ブローザホーン"));
    EXPECT_EQ(se->Field(SE::kTimeDiffSign), "-");
    EXPECT_EQ(se->Field(SE::kTimeDiffValue), "002");
    EXPECT_EQ(se->Int(SE::kTimeDiff), -2);
}

// ---- HR -----------------------------------------------------------------------------------

// One payoff entry's typed positions: horses (first byte of each), payout, popularity.
struct PayoffRow {
    const char* name;
    TPayoffGroup group;
    int entry;
    std::vector<TFieldPos> horses;
    TFieldPos payout;
    TFieldPos popularity;
};

TEST(RecordLayout, HrPayoffEntries) {
    const std::vector<PayoffRow> rows = {
        {"win first", HR::kWin, 0, {{103, 104}}, {105, 113}, {114, 115}},
        {"win last", HR::kWin, 2, {{129, 130}}, {131, 139}, {140, 141}},
        {"place first", HR::kPlace, 0, {{142, 143}}, {144, 152}, {153, 154}},
        {"place last", HR::kPlace, 4, {{194, 195}}, {196, 204}, {205, 206}},
        {"bracket first",
         HR::kBracketQuinella,
         0,
         {{207, 207}, {208, 208}},
         {209, 217},
         {218, 219}},
        {"bracket last", HR::kBracketQuinella, 2, {{233, 233}, {234, 234}}, {235, 243}, {244, 245}},
        {"quinella first", HR::kQuinella, 0, {{246, 247}, {248, 249}}, {250, 258}, {259, 261}},
        {"quinella last", HR::kQuinella, 2, {{278, 279}, {280, 281}}, {282, 290}, {291, 293}},
        {"quinella place first",
         HR::kQuinellaPlace,
         0,
         {{294, 295}, {296, 297}},
         {298, 306},
         {307, 309}},
        {"quinella place last",
         HR::kQuinellaPlace,
         6,
         {{390, 391}, {392, 393}},
         {394, 402},
         {403, 405}},
        {"exacta first", HR::kExacta, 0, {{454, 455}, {456, 457}}, {458, 466}, {467, 469}},
        {"exacta last", HR::kExacta, 5, {{534, 535}, {536, 537}}, {538, 546}, {547, 549}},
        {"trio first", HR::kTrio, 0, {{550, 551}, {552, 553}, {554, 555}}, {556, 564}, {565, 567}},
        {"trio last", HR::kTrio, 2, {{586, 587}, {588, 589}, {590, 591}}, {592, 600}, {601, 603}},
    };
    for (const PayoffRow& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_EQ(row.group.horses, static_cast<int>(row.horses.size()));
        for (int k = 0; k < row.group.horses; ++k) {
            EXPECT_EQ(row.group.Horse(row.entry, k), row.horses[static_cast<std::size_t>(k)])
                << "horse " << k;
        }
        EXPECT_EQ(row.group.Horse(row.entry, row.group.horses), kNoField);
        EXPECT_EQ(row.group.Payout(row.entry), row.payout);
        EXPECT_EQ(row.group.Popularity(row.entry), row.popularity);
        EXPECT_EQ(row.group.Entry(row.entry).first, row.horses.front().first);
        EXPECT_EQ(row.group.Entry(row.entry).last, row.popularity.last);
    }
}

TEST(RecordLayout, HrGroupRangesAndCounts) {
    struct GroupRow {
        const char* name;
        TPayoffGroup group;
        int first;
        int last;
        int entries;
    };
    const std::vector<GroupRow> rows = {
        {"win", HR::kWin, 103, 141, 3},
        {"place", HR::kPlace, 142, 206, 5},
        {"bracket quinella", HR::kBracketQuinella, 207, 245, 3},
        {"quinella", HR::kQuinella, 246, 293, 3},
        {"quinella place", HR::kQuinellaPlace, 294, 405, 7},
        {"exacta", HR::kExacta, 454, 549, 6},
        {"trio", HR::kTrio, 550, 603, 3},
    };
    ASSERT_EQ(std::size(HR::kPayoffGroups), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(rows[i].name);
        EXPECT_EQ(rows[i].group.Range(), (TFieldPos{rows[i].first, rows[i].last}));
        EXPECT_EQ(rows[i].group.entries, rows[i].entries);
        EXPECT_EQ(HR::kPayoffGroups[i].Range(), rows[i].group.Range()) << "stored order";
        EXPECT_EQ(rows[i].group.Entry(-1), kNoField);
        EXPECT_EQ(rows[i].group.Entry(rows[i].entries), kNoField);
        EXPECT_EQ(rows[i].group.Payout(rows[i].entries), kNoField);
    }
    EXPECT_EQ(HR::kLineEnd, (TFieldPos{718, 719}));
}

TEST(RecordLayout, HrBuiltAtTypedPositions) {
    std::string raw = RawBlank(719);
    Put(raw, 1, "HR220240428");
    Put(raw, 12, "2024042805020411");
    Put(raw, 103,
        "05"
        "000000450"
        "01");
    Put(raw, 116,
        "12"
        "000012340"
        "08");
    Put(raw, 207,
        "3"
        "7"
        "000001230"
        "04");
    Put(raw, 390,
        "05"
        "12"
        "000000980"
        "011");
    Put(raw, 586,
        "05"
        "12"
        "18"
        "001234560"
        "123");
    const auto hr = TRecordHR::FromBytes(raw);
    ASSERT_TRUE(hr.has_value());
    EXPECT_EQ(hr->RaceNumber(), "11");
    EXPECT_EQ(hr->Int(HR::kWin.Horse(0, 0)), 5);
    EXPECT_EQ(hr->Int(HR::kWin.Payout(0)), 450);
    EXPECT_EQ(hr->Int(HR::kWin.Popularity(0)), 1);
    EXPECT_EQ(hr->Int(HR::kWin.Horse(1, 0)), 12);
    EXPECT_EQ(hr->Int(HR::kWin.Payout(1)), 12340);
    EXPECT_EQ(hr->Int(HR::kWin.Popularity(1)), 8);
    EXPECT_EQ(hr->Field(HR::kWin.Entry(2)), std::string(13, ' '));
    EXPECT_EQ(hr->Int(HR::kBracketQuinella.Horse(0, 0)), 3);
    EXPECT_EQ(hr->Int(HR::kBracketQuinella.Horse(0, 1)), 7);
    EXPECT_EQ(hr->Int(HR::kBracketQuinella.Payout(0)), 1230);
    EXPECT_EQ(hr->Int(HR::kBracketQuinella.Popularity(0)), 4);
    EXPECT_EQ(hr->Field(HR::kQuinellaPlace.Entry(6)), "0512000000980011");
    EXPECT_EQ(hr->Int(HR::kTrio.Horse(2, 2)), 18);
    EXPECT_EQ(hr->Int(HR::kTrio.Payout(2)), 1234560);
    EXPECT_EQ(hr->Int(HR::kTrio.Popularity(2)), 123);
    // An entry number outside the group reads as an empty field.
    EXPECT_EQ(hr->Field(HR::kTrio.Payout(3)), "");
    EXPECT_EQ(hr->Int(HR::kTrio.Payout(3)), 0);
}

// ---- UM -----------------------------------------------------------------------------------

TEST(RecordLayout, UmPositions) {
    ExpectPositions({
        {"registration", UM::kRegistrationNumber, 12, 21},
        {"foaling year", UM::kFoalingYear, 12, 15},
        {"deregistered", UM::kDeregistered, 22, 22},
        {"deregistration date", UM::kDeregistrationDate, 31, 38},
        {"birth date", UM::kBirthDate, 39, 46},
        {"pedigree", UM::kPedigree, 205, 848},
        {"pedigree 父", UM::PedigreeEntry(UM::kSire), 205, 250},
        {"pedigree 父 name", UM::PedigreeName(UM::kSire), 215, 250},
        {"pedigree 母 name", UM::PedigreeName(UM::kDam), 261, 296},
        {"pedigree 母父 name", UM::PedigreeName(UM::kDamSire), 399, 434},
        {"pedigree 父母母 name", UM::PedigreeName(UM::kSireDamDam), 629, 664},
        {"pedigree 母母母", UM::PedigreeEntry(UM::kDamDamDam), 803, 848},
        {"pedigree 母母母 name", UM::PedigreeName(UM::kDamDamDam), 813, 848},
        {"trainer", UM::kTrainerShortName, 855, 862},
        {"invitation region", UM::kInvitationRegion, 863, 882},
        {"breeder", UM::kBreederName, 891, 962},
        {"birth place", UM::kBirthPlace, 963, 982},
        {"owner", UM::kOwnerName, 989, 1052},
        {"flat prize", UM::kFlatPrizeMoney, 1053, 1061},
        {"jump prize", UM::kJumpPrizeMoney, 1062, 1070},
        {"flat added", UM::kFlatAddedMoney, 1071, 1079},
        {"jump added", UM::kJumpAddedMoney, 1080, 1088},
        {"flat earnings", UM::kFlatEarnings, 1089, 1097},
        {"jump earnings", UM::kJumpEarnings, 1098, 1106},
        {"placing counts", UM::kPlacingCounts, 1107, 1592},
        {"all runs 1st", UM::PlacingCount(UM::kAllRuns, 1), 1107, 1109},
        {"all runs 2nd", UM::PlacingCount(UM::kAllRuns, 2), 1110, 1112},
        {"all runs 6th+", UM::PlacingCount(UM::kAllRuns, 6), 1122, 1124},
        {"dirt over 2200 6th+", UM::PlacingCount(UM::kDirtOver2200, 6), 1590, 1592},
        {"line end", UM::kLineEnd, 1608, 1609},
    });
    EXPECT_EQ(UM::kPedigreeEntries, 14);
    EXPECT_EQ(UM::PedigreeEntry(14), kNoField);
    EXPECT_EQ(UM::PedigreeName(-1), kNoField);
    EXPECT_EQ(UM::kPlacingPlaces, 6);
    EXPECT_EQ(UM::PlacingCount(UM::kAllRuns, 0), kNoField);
    EXPECT_EQ(UM::PlacingCount(UM::kAllRuns, 7), kNoField);
    EXPECT_EQ(UM::PlacingCount(27, 1), kNoField);
}

TEST(RecordLayout, UmPlacingGroupStarts) {
    // Group starts as the record layout lists them, in stored order.
    const std::vector<std::pair<int, int>> starts = {
        {UM::kAllRuns, 1107},
        {UM::kUnreadGroup, 1125},
        {UM::kTurfStraight, 1143},
        {UM::kTurfRight, 1161},
        {UM::kTurfLeft, 1179},
        {UM::kDirtStraight, 1197},
        {UM::kDirtRight, 1215},
        {UM::kDirtLeft, 1233},
        {UM::kJump, 1251},
        {UM::kTurfGood, 1269},
        {UM::kTurfSlightlyHeavy, 1287},
        {UM::kTurfHeavy, 1305},
        {UM::kTurfBad, 1323},
        {UM::kDirtGood, 1341},
        {UM::kDirtSlightlyHeavy, 1359},
        {UM::kDirtHeavy, 1377},
        {UM::kDirtBad, 1395},
        {UM::kJumpGood, 1413},
        {UM::kJumpSlightlyHeavy, 1431},
        {UM::kJumpHeavy, 1449},
        {UM::kJumpBad, 1467},
        {UM::kTurfUpTo1600, 1485},
        {UM::kTurf1601To2200, 1503},
        {UM::kTurfOver2200, 1521},
        {UM::kDirtUpTo1600, 1539},
        {UM::kDirt1601To2200, 1557},
        {UM::kDirtOver2200, 1575},
    };
    ASSERT_EQ(starts.size(), 27u);
    EXPECT_EQ(UM::kPlacingGroups, 27);
    for (const auto& [group, start] : starts) {
        EXPECT_EQ(UM::PlacingGroup(group), (TFieldPos{start, start + 17})) << "group " << group;
        for (int place = 1; place <= 6; ++place) {
            const int first = start + 3 * (place - 1);
            EXPECT_EQ(UM::PlacingCount(group, place), (TFieldPos{first, first + 2}))
                << "group " << group << " place " << place;
        }
    }
}

TEST(RecordLayout, UmBuiltAtTypedPositions) {
    std::string raw = RawBlank(1609);
    Put(raw, 1, "UM120240501");
    Put(raw, 12,
        "2019105432"
        "1");
    Put(raw, 31,
        "20240430"
        "20190315");
    const std::string sire = S("キタサンブラック");
    const std::string damSire = S("サクラバクシンオー");
    const std::string last = S("スペシャルウィーク");
    Put(raw, 215, sire);
    Put(raw, 215 + 46 * 4, damSire); // 母父
    Put(raw, 215 + 46 * 13, last);   // 母母母
    Put(raw, 205, "0000000001");     // the unread head of the first entry
    Put(raw, 855, S("清水久"));
    Put(raw, 891, S("社台ファーム"));
    Put(raw, 963, S("千歳市"));
    Put(raw, 989, S("（有）大野商事"));
    Put(raw, 1053,
        "000123456"
        "000000010"
        "000004567"
        "000000000"
        "000050000"
        "000000001");
    Put(raw, 1107, "012003002001000004");
    Put(raw, 1269, "005001000000000001"); // turf, going good
    Put(raw, 1575, "000000000000000009"); // dirt, over 2200 m
    const auto um = TRecordUM::FromBytes(raw);
    ASSERT_TRUE(um.has_value());

    EXPECT_EQ(um->RegistrationNumber(), "2019105432");
    EXPECT_EQ(um->Field(UM::kFoalingYear), "2019");
    EXPECT_EQ(um->Field(UM::kDeregistered), "1");
    EXPECT_EQ(um->Field(UM::kDeregistrationDate), "20240430");
    EXPECT_EQ(um->Field(UM::kBirthDate), "20190315");
    EXPECT_EQ(Sjis::TrimBlanks(um->Field(UM::PedigreeName(UM::kSire))), sire);
    EXPECT_EQ(Sjis::TrimBlanks(um->Field(UM::PedigreeName(UM::kDamSire))), damSire);
    EXPECT_EQ(Sjis::TrimBlanks(um->Field(UM::PedigreeName(UM::kDamDamDam))), last);
    EXPECT_EQ(um->Field(UM::PedigreeName(UM::kDam)), std::string(36, ' '));
    EXPECT_EQ(um->Field(UM::PedigreeEntry(UM::kSire)).substr(0, 10), "0000000001");
    EXPECT_EQ(Sjis::TrimBlanks(um->Field(UM::kTrainerShortName)), S("清水久"));
    EXPECT_EQ(Sjis::TrimBlanks(um->Field(UM::kBreederName)), S("社台ファーム"));
    EXPECT_EQ(Sjis::TrimBlanks(um->Field(UM::kBirthPlace)), S("千歳市"));
    EXPECT_EQ(Sjis::TrimBlanks(um->Field(UM::kOwnerName)), S("（有）大野商事"));
    EXPECT_EQ(um->Int(UM::kFlatPrizeMoney), 123456);
    EXPECT_EQ(um->Int(UM::kJumpPrizeMoney), 10);
    EXPECT_EQ(um->Int(UM::kFlatAddedMoney), 4567);
    EXPECT_EQ(um->Int(UM::kJumpAddedMoney), 0);
    EXPECT_EQ(um->Int(UM::kFlatEarnings), 50000);
    EXPECT_EQ(um->Int(UM::kJumpEarnings), 1);
    const int allRuns[] = {12, 3, 2, 1, 0, 4};
    for (int place = 1; place <= 6; ++place) {
        EXPECT_EQ(um->Int(UM::PlacingCount(UM::kAllRuns, place)), allRuns[place - 1]) << place;
    }
    EXPECT_EQ(um->Int(UM::PlacingCount(UM::kTurfGood, 1)), 5);
    EXPECT_EQ(um->Int(UM::PlacingCount(UM::kTurfGood, 6)), 1);
    EXPECT_EQ(um->Int(UM::PlacingCount(UM::kDirtOver2200, 6)), 9);
}

// ---- RC -----------------------------------------------------------------------------------

TEST(RecordLayout, RcPositions) {
    ExpectPositions({
        {"id kind", RC::kIdKind, 12, 12},
        {"race key", RC::kRaceKey, 13, 28},
        {"year", RC::kYear, 13, 16},
        {"month-day", RC::kMonthDay, 17, 20},
        {"month", RC::kMonth, 17, 18},
        {"day", RC::kDay, 19, 20},
        {"racecourse", RC::kCourseCode, 21, 22},
        {"meeting", RC::kMeeting, 23, 24},
        {"day of meeting", RC::kDayOfMeeting, 25, 26},
        {"race number", RC::kRaceNumber, 27, 28},
        {"race type", RC::kRaceTypeCode, 94, 95},
        {"distance", RC::kDistance, 96, 99},
        {"track", RC::kTrackCode, 100, 101},
        {"record kind", RC::kRecordKind, 102, 102},
        {"record time", RC::kRecordTime, 103, 106},
        {"weather", RC::kWeatherCode, 107, 107},
        {"holder registration", RC::kHolderRegistrationNumber, 110, 119},
        {"holder foaling year", RC::kHolderFoalingYear, 110, 113},
        {"holder name", RC::kHolderName, 120, 155},
        {"holder symbol", RC::kHolderSymbolCode, 156, 157},
        {"holder sex", RC::kHolderSexCode, 158, 158},
        {"holder trainer", RC::kHolderTrainerName, 164, 197},
        {"holder weight", RC::kHolderWeightCarried, 198, 200},
        {"holder jockey", RC::kHolderJockeyName, 206, 239},
        {"line end", RC::kLineEnd, 500, 501},
    });
}

TEST(RecordLayout, RcBuiltAtTypedPositions) {
    std::string raw = RawBlank(501);
    Put(raw, 1, "RC120240501");
    Put(raw, 12,
        "1"
        "2006043005030211");
    Put(raw, 94,
        "14"
        "3200"
        "17"
        "1"
        "3134"
        "1");
    Put(raw, 110, "2002100816");
    Put(raw, 120, S("ディープインパクト"));
    Put(raw, 156,
        "00"
        "1");
    Put(raw, 164, S("池江泰郎"));
    Put(raw, 198, "580");
    Put(raw, 206, S("武豊"));
    const auto rc = TRecordRC::FromBytes(raw);
    ASSERT_TRUE(rc.has_value());
    EXPECT_EQ(rc->IdKind(), '1');
    EXPECT_EQ(rc->RaceKey(), "2006043005030211");
    EXPECT_EQ(rc->Year(), "2006");
    EXPECT_EQ(rc->MonthDay(), "0430");
    EXPECT_EQ(rc->Field(RC::kMonth), "04");
    EXPECT_EQ(rc->Field(RC::kDay), "30");
    EXPECT_EQ(rc->CourseCode(), "05");
    EXPECT_EQ(rc->Meeting(), "03");
    EXPECT_EQ(rc->DayOfMeeting(), "02");
    EXPECT_EQ(rc->RaceNumber(), "11");
    EXPECT_EQ(rc->Field(RC::kRaceTypeCode), "14");
    EXPECT_EQ(rc->Int(RC::kDistance), 3200);
    EXPECT_EQ(rc->Field(RC::kTrackCode), "17");
    EXPECT_EQ(rc->Field(RC::kRecordKind), "1");
    EXPECT_EQ(rc->Field(RC::kRecordTime), "3134");
    EXPECT_EQ(rc->Field(RC::kWeatherCode), "1");
    EXPECT_EQ(rc->Field(RC::kHolderRegistrationNumber), "2002100816");
    EXPECT_EQ(rc->Field(RC::kHolderFoalingYear), "2002");
    EXPECT_EQ(Sjis::TrimBlanks(rc->Field(RC::kHolderName)), S("ディープインパクト"));
    EXPECT_EQ(rc->Field(RC::kHolderSymbolCode), "00");
    EXPECT_EQ(rc->Field(RC::kHolderSexCode), "1");
    EXPECT_EQ(Sjis::TrimBlanks(rc->Field(RC::kHolderTrainerName)), S("池江泰郎"));
    EXPECT_EQ(rc->Int(RC::kHolderWeightCarried), 580);
    EXPECT_EQ(Sjis::TrimBlanks(rc->Field(RC::kHolderJockeyName)), S("武豊"));
}

// ---- The last field of each record ends before its CR LF ----------------------------------

TEST(RecordLayout, LastFieldsEndBeforeLineEnd) {
    EXPECT_LT(RA::kDirtGoingCode.last, RA::kLineEnd.first);
    EXPECT_LT(SE::kTimeDiff.last, SE::kLineEnd.first);
    EXPECT_LT(HR::kTrio.Range().last, HR::kLineEnd.first);
    EXPECT_LT(UM::PlacingCount(UM::kDirtOver2200, 6).last, UM::kLineEnd.first);
    EXPECT_LT(RC::kHolderJockeyName.last, RC::kLineEnd.first);
    // Each record's CR LF is its own last two bytes.
    EXPECT_EQ(RA::kLineEnd.last, 1272);
    EXPECT_EQ(SE::kLineEnd.last, 555);
    EXPECT_EQ(HR::kLineEnd.last, 719);
    EXPECT_EQ(UM::kLineEnd.last, 1609);
    EXPECT_EQ(RC::kLineEnd.last, 501);
}

} // namespace
