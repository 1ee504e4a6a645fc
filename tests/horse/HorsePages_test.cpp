// The horse pages' texts: the name bar, both profile pages and the past-run pages, built from
// records set field by field at their byte positions, compared with texts typed by hand.
#include "horse/HorsePages.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <memory>
#include <set>

namespace {

using keiba::test::S;
using keiba::test::Show;

// A name field of `width` bytes: the Shift-JIS text, then half-width blanks.
std::string Padded(std::string_view utf8, std::size_t width) {
    std::string text = S(utf8);
    text.resize(width, ' ');
    return text;
}

// A past race: 2004-04-25 東京 2nd meeting day 3 race 11, 1600 m turf left (11), fine (1),
// turf going 稍重 (2), dirt going 重 (3), 16 runners, 16 started, 15 finished.
jvdata::TRecordRA PastRace(std::string_view track = "11") {
    jvdata::TRecordRA ra;
    ra.SetField(1, 27, "RA7200404252004042505020311");
    ra.SetField(605, 610, S("ﾃｽﾄ"));
    ra.SetField(615, 615, "C");
    ra.SetField(617, 618, "13");
    ra.SetField(619, 621, "000");
    ra.SetField(622, 622, "4");
    ra.SetField(635, 637, "005");
    ra.SetField(638, 697, S("春風ステークス"));
    ra.SetField(698, 701, "1600");
    ra.SetField(706, 707, track);
    ra.SetField(882, 890, "161615123");
    return ra;
}

// The horse's run in it: horse 3 in frame 2, a colt carrying 57.0 in blinkers, 480 kg (+4),
// corners 3, -, 2, 1, last furlongs 47.0 and 35.1, 1:34.5, 3rd favourite at 3.5, first past
// the post and the winner by 1 1/2 lengths, 0.2 s, prize 1,500,000 yen.
jvdata::TRecordSE PastRun() {
    jvdata::TRecordSE se;
    se.SetField(1, 2, "SE");
    se.SetField(28, 30, "203");
    se.SetField(79, 79, "1");
    se.SetField(91, 98, S("藤沢和　"));
    se.SetField(289, 291, "570");
    se.SetField(295, 295, "1");
    se.SetField(307, 314, S("武豊　　"));
    se.SetField(323, 323, " ");
    se.SetField(325, 336, "480+0040010101");
    se.SetField(339, 345, "1345112");
    se.SetField(352, 365, "03000201003503");
    se.SetField(366, 381, "0001500000000000");
    se.SetField(388, 393, "470351");
    se.SetField(404, 439, S("ライバル"));
    se.SetField(532, 535, "+002");
    return se;
}

TEST(PastRunPage, AWinnersPageReadsLineByLine) {
    const auto lines = horse::PastRunLines(PastRun(), PastRace());
    EXPECT_EQ(lines[0], S("2004年04月25日東京02回03日11R ") + Padded("春風ステークス", 60));
    EXPECT_EQ(lines[1],
              S("サラ系３歳上 1勝ｸﾗｽ 定量 ") + S("　　　　　　　　　　　　") + S(" G3    ﾃｽﾄ   "));
    EXPECT_EQ(lines[2], S("16頭(出走:16頭,入線:15頭) 1600m  芝 左回り 晴 稍重 "));
    EXPECT_EQ(lines[3], S("馬番: 3 枠番:2 牡   斤量:57.0kg ﾌﾞﾘﾝ 【馬体重】480+  4 【騎手】武豊　"
                          " 【調教師】藤沢和         "));
    EXPECT_EQ(lines[4], S("【ｺｰﾅｰ順位】1角=3,2角=-,3角=2,4角=1【ﾀｲﾑ】ﾊﾛﾝ(後4=47.0  後3=35.1) "
                          "ﾄｰﾀﾙ:1.34.5"));
    EXPECT_EQ(lines[5], S("【単勝人気】 3人 (  3.5倍)  【入線順位】 1着 【確定着順】 1着 "));
    EXPECT_EQ(lines[6],
              S(" 2着馬:") + Padded("ライバル", 36) + S("【着差】1_1/2馬身 【ﾀｲﾑ差】+ 0.2"));
    EXPECT_EQ(lines[7], S("【本賞金】   1500千円 【付加賞金】      0千円"));
    for (int i = 8; i < 11; ++i) {
        EXPECT_EQ(lines[static_cast<std::size_t>(i)], "") << "line " << i + 1;
    }
}

TEST(PastRunPage, AbsentFiguresShowTheirFillers) {
    jvdata::TRecordSE se = PastRun();
    // Beaten, with no popularity, odds or arrival, and no last three furlongs.
    se.SetField(333, 336, "0002");
    se.SetField(360, 365, "000000");
    se.SetField(391, 393, "000");
    auto lines = horse::PastRunLines(se, PastRace());
    EXPECT_NE(lines[4].find(S("ﾊﾛﾝ(後4=47.0 後3=---) ﾄｰﾀﾙ:")), std::string::npos) << Show(lines[4]);
    EXPECT_EQ(lines[5], S("【単勝人気】          【入線順位】     【確定着順】 2着 "));
    EXPECT_EQ(lines[6].substr(0, 7), S(" 1着馬:"));

    // No final position at all: still the winner's name.
    se.SetField(335, 336, "  ");
    EXPECT_EQ(horse::PastRunLines(se, PastRace())[6].substr(0, 7), S(" 1着馬:"));

    // 999: not weighed, no furlong times; shown as absent like 000, never as "99.9".
    se.SetField(325, 331, "999 999");
    se.SetField(388, 393, "999999");
    lines = horse::PastRunLines(se, PastRace());
    EXPECT_NE(lines[3].find(S("【馬体重】        【騎手】")), std::string::npos) << Show(lines[3]);
    EXPECT_NE(lines[4].find(S("【ﾀｲﾑ】ﾊﾛﾝ(後4=--- 後3=---) ﾄｰﾀﾙ:")), std::string::npos)
        << Show(lines[4]);
}

TEST(PastRunPage, TheGoingFollowsTheSurface) {
    // Turf reads the turf going, dirt the dirt going, a jump race shows a single blank.
    EXPECT_EQ(horse::PastRunLines(PastRun(), PastRace("22"))[2],
              S("16頭(出走:16頭,入線:15頭) 1600m  芝 右回り 外２周 晴 稍重 "));
    EXPECT_EQ(horse::PastRunLines(PastRun(), PastRace("24"))[2],
              S("16頭(出走:16頭,入線:15頭) 1600m  ﾀﾞｰﾄ 右回り 晴 重 "));
    EXPECT_EQ(horse::PastRunLines(PastRun(), PastRace("54"))[2],
              S("16頭(出走:16頭,入線:15頭) 1600m  障害 芝 晴   "));
}

TEST(PastRunPage, ARunWithoutItsRaceRecordIsBlank) {
    for (const std::string& line : horse::PastRunLines(PastRun(), jvdata::TRecordRA())) {
        EXPECT_EQ(line, "");
    }
}

// A horse master: born 2001-04-05, pedigree names "血統01".."血統14", an owner and a trainer.
jvdata::TRecordUM Master() {
    jvdata::TRecordUM um;
    um.SetField(1, 2, "UM");
    um.SetField(22, 22, "0");
    um.SetField(39, 46, "20010405");
    for (int j = 1; j <= 14; ++j) {
        const int at = 215 + 46 * (j - 1);
        um.SetField(at, at + 35, S("血統") + (j < 10 ? "0" : "") + std::to_string(j));
    }
    um.SetField(855, 862, S("藤沢和"));
    um.SetField(891, 962, S("社台ファーム"));
    um.SetField(963, 982, S("千歳"));
    um.SetField(989, 1052, S("山田太郎"));
    // Prize flat and jump, added flat and jump, earnings flat and jump, 9 digits each.
    um.SetField(1053, 1106,
                "000123456"
                "000000000"
                "000000000"
                "000000000"
                "000005000"
                "000000012");
    um.SetField(1107, 1124, "003001000002000010");
    return um;
}

jvdata::TRecordSE Runner() {
    jvdata::TRecordSE se;
    se.SetField(41, 82, Padded("ゴールド　シップ", 36) + "00" + "1" + "1" + "03");
    return se;
}

TEST(ProfilePages, IdentityPedigreeConnectionsAndMoney) {
    const auto lines = horse::ProfileLines(Runner(), Master());
    EXPECT_EQ(lines[0], S("サラ 牡 2001年04月05日生 鹿毛 　"));
    EXPECT_EQ(lines[1], "");
    const auto name = [](int j) {
        return Padded("血統" + std::string(j < 10 ? "0" : "") + std::to_string(j), 36);
    };
    EXPECT_EQ(lines[2], S("【父】") + name(1) + S(" 【母父】") + name(5) + S(" 【父母父】") +
                            name(9) + S(" 【母母父】") + name(13));
    EXPECT_EQ(lines[3], S("【母】") + name(2) + S(" 【母母】") + name(6) + S(" 【父母母】") +
                            name(10) + S(" 【母母母】") + name(14));
    EXPECT_EQ(lines[4],
              S("【父父】") + name(3) + S(" 【父父父】") + name(7) + S(" 【母父父】") + name(11));
    EXPECT_EQ(lines[5],
              S("【父母】") + name(4) + S(" 【父父母】") + name(8) + S(" 【母父母】") + name(12));
    EXPECT_EQ(lines[6],
              S("【産地】") + Padded("千歳", 20) + S(" 【生産者】") + Padded("社台ファーム", 72));
    EXPECT_EQ(lines[7],
              S("【馬主】") + Padded("山田太郎", 64) + S(" 【調教師】") + Padded("藤沢和", 8));
    // Flat 000123456 and jump 0 in 100 yen: 12345 thousand yen; flat earnings 5,000,000 yen.
    EXPECT_EQ(lines[8], S("【 本賞金累計 】   12345千円  【平地収得賞金累計】     500千円"));
    EXPECT_EQ(lines[9], S("【付加賞金累計】       0千円  【障害収得賞金累計】       1千円"));
}

TEST(ProfilePages, DeregisteredInvitedAndBlankMasters) {
    jvdata::TRecordUM um = Master();
    um.SetField(22, 22, "1");
    um.SetField(31, 38, "20050101");
    EXPECT_EQ(horse::ProfileLines(Runner(), um)[1], S("2005年01月01日抹消"));
    um.SetField(22, 22, "2");
    EXPECT_EQ(horse::ProfileLines(Runner(), um)[1], "") << "only flag 1 means deregistered";

    EXPECT_EQ(horse::NameBarText(Runner(), um), S("ゴールドシップ"));
    um.SetField(863, 882, S("香港"));
    EXPECT_EQ(horse::NameBarText(Runner(), um),
              S("ゴールドシップ(招待:") + Padded("香港", 20) + ")");
    um.SetField(863, 882, S("　　"));
    EXPECT_EQ(horse::NameBarText(Runner(), um), S("ゴールドシップ"))
        << "wide blanks name no region";

    // No master file: fixed texts with blanks and zeros in the field places.
    const jvdata::TRecordUM blank;
    const auto lines = horse::ProfileLines(Runner(), blank);
    EXPECT_EQ(lines[0],
              S("サラ 牡 ") + "    " + S("年") + "  " + S("月") + "  " + S("日生 鹿毛 　"));
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[8], S("【 本賞金累計 】       0千円  【平地収得賞金累計】       0千円"));
    EXPECT_EQ(horse::PlacingLines(blank)[25],
              S("【ダ2201～    】 1着:  0回   2着:  0回   3着:  0回   4着:  0回   5着:  0回   "
                "6着～:  0回  "));
}

TEST(ProfilePages, PlacingCountsTakeTheirOwnGroups) {
    jvdata::TRecordUM um = Master();
    um.SetField(1125, 1142, "999999999999999999"); // the group nobody reads
    um.SetField(1251, 1268, "000000000000000001"); // jump total
    um.SetField(1575, 1592, "001000000000000000"); // dirt over 2200 m
    const auto lines = horse::PlacingLines(um);
    EXPECT_EQ(lines[0],
              S("【成績ﾄｰﾀﾙ】 1着:  3回   2着:  1回   3着:  0回   4着:  2回   5着:  0回   "
                "6着～: 10回  "));
    EXPECT_EQ(lines[1],
              S("【障害ﾄｰﾀﾙ】 1着:  0回   2着:  0回   3着:  0回   4着:  0回   5着:  0回   "
                "6着～:  1回  "));
    EXPECT_EQ(lines[25].substr(0, 24), S("【ダ2201～    】 1着:  1"));
    for (const std::string& line : lines) {
        EXPECT_EQ(line.find("999"), std::string::npos) << Show(line);
    }
}

TEST(HorseTexts, WalksTheLabelTableForOneRunner) {
    auto day = std::make_unique<race::TRaceDayData>();
    jvdata::TRecordRA& today = day->Races[2];
    today.SetField(1, 27, "RA7200405012004050105020303");
    today.SetField(882, 883, "02");
    day->Runners[2][1] = Runner();
    day->Horses[2][1] = Master();
    // Two earlier runs; the older one lost its race record, so only 前走－１ is filled.
    day->PastRuns[2][1][0] = PastRun();
    day->PastRaces[2][1][0] = PastRace();
    day->PastRuns[2][1][1] = PastRun();

    const horse::THorseTexts texts = horse::HorseTexts(*day, 2, 1);
    const auto labels = horse::HorseLabels();
    ASSERT_EQ(labels.size(), 92u);
    std::set<std::string_view> names;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        names.insert(labels[i].name);
        const bool filledPage = labels[i].sheet <= horse::kPastRun1;
        const bool emptyLine = labels[i].name == "Label8" || labels[i].name == "Label81" ||
                               labels[i].name == "Label90" || labels[i].name == "Label91";
        EXPECT_EQ(texts[i].empty(), !filledPage || emptyLine) << labels[i].name;
    }
    EXPECT_EQ(names.size(), 92u) << "every control once";
    EXPECT_EQ(labels[0].name, "StaticText1");
    EXPECT_EQ(texts[0], S("ゴールドシップ"));
    EXPECT_EQ(labels[11].name, "Label65");
    EXPECT_EQ(texts[11].substr(0, 12), S("【成績ﾄｰﾀﾙ】"));
    EXPECT_EQ(labels[37].name, "Label16");
    EXPECT_EQ(texts[37].substr(0, 14), S("2004年04月25日"));
    EXPECT_EQ(labels[91].name, "Label99");
    EXPECT_EQ(labels[91].top, 134);
    EXPECT_EQ(labels[40].top, 42) << "前走－１ line 4";
    EXPECT_EQ(labels[51].top, 44) << "前走－２ line 4";

    // A runner beyond the race's runners and a slot without a race: every label empty.
    for (const auto& other : {horse::HorseTexts(*day, 2, 2), horse::HorseTexts(*day, 3, 0),
                              horse::HorseTexts(*day, 12, 0)}) {
        for (const std::string& text : other) {
            EXPECT_EQ(text, "");
        }
    }

    EXPECT_EQ(horse::HorseSheetCaption(0), S("　馬情報１　"));
    EXPECT_EQ(horse::HorseSheetCaption(1), S("　馬情報２　"));
    EXPECT_EQ(horse::HorseSheetCaption(6), S("前走－５"));
    EXPECT_EQ(horse::HorseSheetCaption(7), "");
}

} // namespace
