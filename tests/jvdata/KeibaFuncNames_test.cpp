#include "jvdata/KeibaFunc.h"
#include "jvdata/SjisText.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

using keiba::test::S;
using keiba::test::Show;

using WidthConversion = std::optional<std::string> (*)(std::string_view, int);

// A code and its expected text, typed in UTF-8.
struct Row {
    std::string_view code;
    std::string_view utf8;
};

// Every row converts under width to exactly its text, and each text is `bytes` long
// (0 = texts of this rendering vary in length).
void ExpectRendering(WidthConversion convert, int width, const std::vector<Row>& rows,
                     std::size_t bytes) {
    for (const Row& row : rows) {
        const auto text = convert(row.code, width);
        ASSERT_TRUE(text.has_value()) << "code \"" << row.code << "\" width " << width;
        EXPECT_EQ(*text, S(row.utf8))
            << "code \"" << row.code << "\" width " << width << " gave " << Show(*text);
        if (bytes != 0) {
            EXPECT_EQ(text->size(), bytes) << "code \"" << row.code << "\" width " << width;
        }
    }
}

// Every code converts under width to the same fallback text.
void ExpectFallback(WidthConversion convert, int width, const std::vector<std::string_view>& codes,
                    const std::string& fallback) {
    for (const auto code : codes) {
        const auto text = convert(code, width);
        ASSERT_TRUE(text.has_value()) << "code \"" << code << "\" width " << width;
        EXPECT_EQ(*text, fallback)
            << "code \"" << code << "\" width " << width << " gave " << Show(*text);
    }
}

// Widths a conversion does not know leave the caller's text alone, whatever the code.
void ExpectUnknownWidths(WidthConversion convert, std::string_view code,
                         const std::vector<int>& widths) {
    for (const int width : widths) {
        EXPECT_EQ(convert(code, width), std::nullopt) << "code \"" << code << "\" width " << width;
    }
}

// The text decodes back without a replacement character: every typed character exists in CP932.
void ExpectRoundTrip(const std::string& sjis) {
    EXPECT_EQ(sjis.find('?'), std::string::npos) << Show(sjis);
    EXPECT_EQ(Sjis::ToUtf8(sjis).find(Sjis::kUtf8Replacement), std::string::npos) << Show(sjis);
}

std::string WideBlanks(std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += Sjis::kWideBlank;
    }
    return text;
}

// ---- RaceKindName ----------------------------------------------------------------------

const std::vector<std::string_view> kRaceKindCodes = {"11", "12", "13", "14", "18",
                                                      "19", "21", "22", "23", "24"};

TEST(RaceKindName, EveryWidth) {
    // Texts in the order of kRaceKindCodes.
    const std::map<int, std::vector<std::string_view>> texts = {
        {2, {"２歳", "３歳", "３上", "４上", "３上", "４上", "２歳", "３歳", "３上", "４上"}},
        {4,
         {"サラ２歳", "サラ３歳", "サラ３上", "サラ４上", "障害３上", "障害４上", "アラ２歳",
          "アラ３歳", "アラ３上", "アラ４上"}},
        {6,
         {"サラ系２歳　", "サラ系３歳　", "サラ系３歳上", "サラ系４歳上", "障害３歳上　",
          "障害４歳上　", "アラ系２歳　", "アラ系３歳　", "アラ系３歳上", "アラ系４歳上"}},
        {8,
         {"サラ系２歳　　　", "サラ系３歳　　　", "サラ系３歳以上　", "サラ系４歳以上　",
          "サラ障害３歳以上", "サラ障害４歳以上", "アラブ系２歳　　", "アラブ系３歳　　",
          "アラブ系３歳以上", "アラブ系４歳以上"}},
        {9,
         {"サラブレット系2歳　　　　", "サラブレット系3歳　　　　", "サラブレット系3歳以上　　",
          "サラブレット系4歳以上　　", "サラブレット系障害3歳以上", "サラブレット系障害4歳以上",
          "アラブ系2歳　　　　　　　", "アラブ系3歳　　　　　　　", "アラブ系3歳以上　　　　　",
          "アラブ系4歳以上　　　　　"}},
    };
    const std::map<int, std::size_t> bytes = {{2, 4}, {4, 8}, {6, 12}, {8, 16}, {9, 25}};
    for (const auto& [width, column] : texts) {
        std::vector<Row> rows;
        for (std::size_t i = 0; i < kRaceKindCodes.size(); ++i) {
            rows.push_back({kRaceKindCodes[i], column[i]});
        }
        ExpectRendering(KeibaFunc::RaceKindName, width, rows, bytes.at(width));
    }
}

TEST(RaceKindName, UnlistedKindsAndWidths) {
    const std::vector<std::string_view> unlisted = {"",   "00",  "1",   "10",  "15",  "20",
                                                    "25", " 11", "11 ", "011", "３上"};
    // Width 2 falls back to four wide blanks, as wide as the width-4 texts.
    ExpectFallback(KeibaFunc::RaceKindName, 2, unlisted, S("　　　　"));
    ExpectFallback(KeibaFunc::RaceKindName, 4, unlisted, S("　　　　"));
    ExpectFallback(KeibaFunc::RaceKindName, 6, unlisted, S("　　　　　　"));
    ExpectFallback(KeibaFunc::RaceKindName, 8, unlisted, S("　　　　　　　　"));
    ExpectFallback(KeibaFunc::RaceKindName, 9, unlisted, S("　　　　　　　　　　　　 "));
    EXPECT_EQ(KeibaFunc::RaceKindName("99", 9)->size(), 25u);
    ExpectUnknownWidths(KeibaFunc::RaceKindName, "11", {-1, 0, 1, 3, 5, 7, 10, 99});
    ExpectUnknownWidths(KeibaFunc::RaceKindName, "99", {0, 1});
}

// ---- GradeName -------------------------------------------------------------------------

TEST(GradeName, EveryWidth) {
    ExpectRendering(KeibaFunc::GradeName, 1,
                    {{"A", "G1   "},
                     {"B", "G2   "},
                     {"C", "G3   "},
                     {"D", "重賞 "},
                     {"E", "特別 "},
                     {"F", "JG1  "},
                     {"G", "JG2  "},
                     {"H", "JG3  "},
                     {"L", "List "}},
                    5);
    ExpectRendering(KeibaFunc::GradeName, 9,
                    {{"A", "G1(平地競走)　　　"},
                     {"B", "G2(平地競走)　　　"},
                     {"C", "G3(平地競走)　　　"},
                     {"D", "ｸﾞﾚｰﾄﾞのない重賞　"},
                     {"E", "重賞以外の特別競走"},
                     {"F", "JG1(障害競走)　　 "},
                     {"G", "JG2(障害競走)　　 "},
                     {"H", "JG3(障害競走)　　 "},
                     {"L", "リステッド　　　　"}},
                    18);
    ExpectRendering(KeibaFunc::GradeName, 8,
                    {{"A", "G1 "},
                     {"B", "G2 "},
                     {"C", "G3 "},
                     {"D", "重 "},
                     {"E", "特 "},
                     {"F", "JG1"},
                     {"G", "JG2"},
                     {"H", "JG3"},
                     {"L", "LST"}},
                    3);
    ExpectRendering(KeibaFunc::GradeName, 2,
                    {{"A", "G1"},
                     {"B", "G2"},
                     {"C", "G3"},
                     {"F", "JG1"},
                     {"G", "JG2"},
                     {"H", "JG3"},
                     {"L", "LST"}},
                    0);
    // Half-width katakana in the width-9 text of D, not full-width.
    EXPECT_EQ(KeibaFunc::GradeName("D", 9)->substr(0, 6), "\xB8\xDE\xDA\xB0\xC4\xDE");
}

TEST(GradeName, UngradedRacesAndUnlistedCodes) {
    // Width 2 names graded races only: a non-graded stakes and a special race are empty.
    EXPECT_EQ(KeibaFunc::GradeName("D", 2), std::string());
    EXPECT_EQ(KeibaFunc::GradeName("E", 2), std::string());
    const std::vector<std::string_view> unlisted = {"", " ", "I", "J", "K", "M", "a", "1", "AA"};
    ExpectFallback(KeibaFunc::GradeName, 1, unlisted, S("　　 "));
    ExpectFallback(KeibaFunc::GradeName, 2, unlisted, "");
    ExpectFallback(KeibaFunc::GradeName, 8, unlisted, S("　 "));
    ExpectFallback(KeibaFunc::GradeName, 9, unlisted, S("　　　　　　　　　"));
    EXPECT_EQ(KeibaFunc::GradeName("Z", 1)->size(), 5u);
    EXPECT_EQ(KeibaFunc::GradeName("Z", 8)->size(), 3u);
    EXPECT_EQ(KeibaFunc::GradeName("Z", 9)->size(), 18u);
    ExpectUnknownWidths(KeibaFunc::GradeName, "A", {-1, 0, 3, 4, 7, 10});
}

// ---- WeekdayName -----------------------------------------------------------------------

TEST(WeekdayName, EveryWidth) {
    ExpectRendering(KeibaFunc::WeekdayName, 1,
                    {{"0", "　"},
                     {"1", "土"},
                     {"2", "日"},
                     {"3", "祝"},
                     {"4", "月"},
                     {"5", "火"},
                     {"6", "水"},
                     {"7", "木"},
                     {"8", "金"}},
                    2);
    ExpectRendering(KeibaFunc::WeekdayName, 2,
                    {{"0", "　　"},
                     {"1", "土曜"},
                     {"2", "日曜"},
                     {"3", "祝日"},
                     {"4", "月曜"},
                     {"5", "火曜"},
                     {"6", "水曜"},
                     {"7", "木曜"},
                     {"8", "金曜"}},
                    4);
    ExpectRendering(KeibaFunc::WeekdayName, 3,
                    {{"0", "　　　"},
                     {"1", "土曜日"},
                     {"2", "日曜日"},
                     {"3", "祝日　"},
                     {"4", "月曜日"},
                     {"5", "火曜日"},
                     {"6", "水曜日"},
                     {"7", "木曜日"},
                     {"8", "金曜日"}},
                    6);
    // Width 4 counts the week from Monday.
    ExpectRendering(KeibaFunc::WeekdayName, 4,
                    {{"1", "月曜日"},
                     {"2", "火曜日"},
                     {"3", "水曜日"},
                     {"4", "木曜日"},
                     {"5", "金曜日"},
                     {"6", "土曜日"},
                     {"7", "日曜日"},
                     {"0", ""},
                     {"8", ""}},
                    0);
}

TEST(WeekdayName, ReadsTheCodeAsANumber) {
    EXPECT_EQ(KeibaFunc::WeekdayName(" 1", 1), S("土"));
    EXPECT_EQ(KeibaFunc::WeekdayName("01", 2), S("土曜"));
    EXPECT_EQ(KeibaFunc::WeekdayName("+2", 3), S("日曜日"));
    EXPECT_EQ(KeibaFunc::WeekdayName("7x", 4), S("日曜日"));
    // A blank field reads as 0.
    EXPECT_EQ(KeibaFunc::WeekdayName(" ", 1), S("　"));
    EXPECT_EQ(KeibaFunc::WeekdayName("", 3), S("　　　"));
}

TEST(WeekdayName, UnlistedValuesAndWidthsLeaveTheTextAlone) {
    for (const int width : {1, 2, 3, 4}) {
        for (const std::string_view code : {"9", "-1", "10", "99"}) {
            EXPECT_EQ(KeibaFunc::WeekdayName(code, width), std::nullopt)
                << "code \"" << code << "\" width " << width;
        }
    }
    ExpectUnknownWidths(KeibaFunc::WeekdayName, "1", {-1, 0, 5, 9});
}

// ---- MarginText ------------------------------------------------------------------------

// Margin codes with their width-1 and width-9 texts.
const std::vector<std::vector<std::string_view>> kMargins = {
    {"12", "1/2", "1/2馬身  "},    {"34", "3/4", "3/4馬身  "},    {"1", "1", "1馬身    "},
    {"112", "1_1/2", "1_1/2馬身"}, {"114", "1_1/4", "1_1/4馬身"}, {"134", "1_3/4", "1_3/4馬身"},
    {"2", "2", "2馬身    "},       {"212", "2_1/2", "2_1/2馬身"}, {"3", "3", "3馬身    "},
    {"312", "3_1/2", "3_1/2馬身"}, {"4", "4", "4馬身    "},       {"5", "5", "5馬身    "},
    {"6", "6", "6馬身    "},       {"7", "7", "7馬身    "},       {"8", "8", "8馬身    "},
    {"9", "9", "9馬身    "},       {"Z", "10", "10馬身   "},      {"A", "ｱﾀﾏ", "ｱﾀﾏ      "},
    {"D", "同着", "同着     "},    {"H", "ハナ", "ハナ     "},    {"K", "クビ", "クビ     "},
    {"T", "大差", "大差     "},
};

TEST(MarginText, EveryWidth) {
    std::vector<Row> narrow;
    std::vector<Row> wide;
    for (const auto& margin : kMargins) {
        narrow.push_back({margin[0], margin[1]});
        wide.push_back({margin[0], margin[2]});
    }
    ExpectRendering(KeibaFunc::MarginText, 1, narrow, 0);
    ExpectRendering(KeibaFunc::MarginText, 9, wide, 9);
}

TEST(MarginText, ComparesTheTrimmedCode) {
    for (const std::string_view code : {" 12", "12 ", " 12 ", "  12"}) {
        EXPECT_EQ(KeibaFunc::MarginText(code, 1), "1/2") << "\"" << code << "\"";
        EXPECT_EQ(KeibaFunc::MarginText(code, 9), S("1/2馬身  ")) << "\"" << code << "\"";
    }
    EXPECT_EQ(KeibaFunc::MarginText("  H", 9), S("ハナ     "));
    EXPECT_EQ(KeibaFunc::MarginText("1  ", 1), "1");
    // A blank inside the code is not trimmed away: "1 2" is not 1/2 nor 1.
    EXPECT_EQ(KeibaFunc::MarginText("1 2", 1), "");
    // Full-width blanks are text, not padding.
    EXPECT_EQ(KeibaFunc::MarginText(S("　12"), 1), "");
}

TEST(MarginText, UnlistedCodesAndWidths) {
    const std::vector<std::string_view> unlisted = {"",   "   ", "0", "000", "10",
                                                    "13", "a",   "h", "Z1",  "0112"};
    ExpectFallback(KeibaFunc::MarginText, 1, unlisted, "");
    ExpectFallback(KeibaFunc::MarginText, 9, unlisted, "         ");
    ExpectUnknownWidths(KeibaFunc::MarginText, "12", {-1, 0, 2, 3, 8, 10});
}

// ---- RaceSymbolText --------------------------------------------------------------------

// The 86 codes in use, typed from the code list.
const std::vector<std::string_view> kRaceSymbolCodes = {
    "001", "002", "003", "004", "020", "021", "023", "024", "030", "031", "033", "034", "040",
    "041", "043", "044", "A00", "A01", "A02", "A03", "A04", "A10", "A11", "A13", "A14", "A20",
    "A21", "A23", "A24", "A30", "A31", "A33", "A34", "A40", "A41", "B00", "B01", "B03", "B04",
    "C00", "C01", "C03", "C04", "D00", "D01", "D03", "E00", "E01", "E03", "F00", "F01", "F03",
    "F04", "G00", "G01", "G03", "H00", "H01", "I00", "I01", "I03", "J00", "J01", "K00", "K01",
    "K03", "L00", "L01", "L03", "M00", "M01", "M03", "M04", "N00", "N01", "N03", "N04", "N20",
    "N21", "N23", "N24", "N30", "N31", "N40", "N41", "N44",
};

// The expected text of a code in use, from its three parts.
std::string ExpectedRaceSymbol(std::string_view code) {
    static const std::map<char, std::string_view> origin = {
        {'0', ""},
        {'A', "(混合)"},
        {'B', "(父)"},
        {'C', "(市)"},
        {'D', "(抽)"},
        {'E', "[抽]"},
        {'F', "(市)(抽)"},
        {'G', "(抽)関西配布馬"},
        {'H', "(抽)関東配布馬"},
        {'I', "[抽]関西配布馬"},
        {'J', "[抽]関東配布馬"},
        {'K', "(市)(抽)関西配布馬"},
        {'L', "(市)(抽)関東配布馬"},
        {'M', "九州産馬"},
        {'N', "(国際)"},
    };
    static const std::map<char, std::string_view> sex = {
        {'0', ""}, {'1', "牡"}, {'2', "牝"}, {'3', "牡・ｾﾝ"}, {'4', "牡・牝"}};
    static const std::map<char, std::string_view> weight = {
        {'0', ""}, {'1', "(指定)"}, {'2', "若手騎手"}, {'3', "[指定]"}, {'4', "(特指)"}};
    std::string utf8;
    if (code == "A02") {
        utf8 = "(混合)・若手騎手";
    } else {
        utf8.append(origin.at(code[0])).append(sex.at(code[1])).append(weight.at(code[2]));
    }
    std::string text = S(utf8);
    while (text.size() < 24) {
        text += Sjis::kWideBlank;
    }
    return text;
}

TEST(RaceSymbolText, EveryCodeInUse) {
    ASSERT_EQ(kRaceSymbolCodes.size(), 86u);
    ASSERT_EQ(std::set<std::string_view>(kRaceSymbolCodes.begin(), kRaceSymbolCodes.end()).size(),
              86u);
    for (const auto code : kRaceSymbolCodes) {
        const std::string text = KeibaFunc::RaceSymbolText(code);
        EXPECT_EQ(text, ExpectedRaceSymbol(code)) << code << " gave " << Show(text);
        EXPECT_EQ(text.size(), 24u) << code;
        ExpectRoundTrip(text);
    }
}

TEST(RaceSymbolText, Examples) {
    EXPECT_EQ(KeibaFunc::RaceSymbolText("A34"), S("(混合)牡・ｾﾝ(特指)　　　"));
    // The one code whose parts are joined by a middle dot.
    EXPECT_EQ(KeibaFunc::RaceSymbolText("A02"), S("(混合)・若手騎手　　　　"));
    EXPECT_EQ(KeibaFunc::RaceSymbolText("020"), S("牝　　　　　　　　　　　"));
    EXPECT_EQ(KeibaFunc::RaceSymbolText("N44"), S("(国際)牡・牝(特指)　　　"));
    // The longest text fills the width without padding.
    EXPECT_EQ(KeibaFunc::RaceSymbolText("K03"), S("(市)(抽)関西配布馬[指定]"));
    // Half-width katakana in 牡・ｾﾝ.
    EXPECT_EQ(KeibaFunc::RaceSymbolText("030").substr(4, 2), "\xBE\xDD");
}

TEST(RaceSymbolText, UnrecognisedCodesGiveTwelveWideBlanks) {
    const std::string blanks = WideBlanks(12);
    ASSERT_EQ(blanks.size(), 24u);
    // Valid parts that are not in use, codes out of the alphabet, short and long codes,
    // lower case and blank padding.
    for (const std::string_view code :
         {"000", "005", "010", "022", "042", "A05", "A42", "B02",  "D04",  "M02",  "N43",
          "O00", "Z00", "",    "A",   "A0",  "a00", "n44", " A00", "A00 ", "A000", "   "}) {
        EXPECT_EQ(KeibaFunc::RaceSymbolText(code), blanks) << "\"" << code << "\"";
    }
}

// ---- CourseName ------------------------------------------------------------------------

// Every racecourse and country code with its width-2 name.
const std::vector<Row> kCourseWidth2 = {
    {"01", "札幌"}, {"02", "函館"}, {"03", "福島"}, {"04", "新潟"}, {"05", "東京"}, {"06", "中山"},
    {"07", "中京"}, {"08", "京都"}, {"09", "阪神"}, {"10", "小倉"}, {"30", "門別"}, {"31", "北見"},
    {"32", "岩見"}, {"33", "帯広"}, {"34", "旭川"}, {"35", "盛岡"}, {"36", "水沢"}, {"37", "上山"},
    {"38", "三条"}, {"39", "足利"}, {"40", "宇都"}, {"41", "高崎"}, {"42", "浦和"}, {"43", "船橋"},
    {"44", "大井"}, {"45", "川崎"}, {"46", "金沢"}, {"47", "笠松"}, {"48", "名古"}, {"49", "紀三"},
    {"50", "園田"}, {"51", "姫路"}, {"52", "益田"}, {"53", "福山"}, {"54", "高知"}, {"55", "佐賀"},
    {"56", "荒尾"}, {"57", "中津"}, {"58", "札幌"}, {"59", "函館"}, {"60", "新潟"}, {"61", "中京"},
    {"A0", "他外"}, {"A2", "日本"}, {"A4", "アメ"}, {"A6", "イギ"}, {"A8", "フラ"}, {"B0", "イン"},
    {"B2", "アイ"}, {"B4", "ニュ"}, {"B6", "オー"}, {"B8", "カナ"}, {"C0", "イタ"}, {"C2", "ドイ"},
    {"C4", "    "}, {"C5", "オマ"}, {"C6", "イラ"}, {"C7", "ア首"}, {"C8", "シリ"}, {"D0", "スウ"},
    {"D2", "ハン"}, {"D4", "ポル"}, {"D6", "ロシ"}, {"D8", "ウル"}, {"E0", "ペル"}, {"E2", "アル"},
    {"E4", "ブラ"}, {"E6", "ベル"}, {"E8", "トル"}, {"F0", "韓国"}, {"F1", "中国"}, {"F2", "チリ"},
    {"F4", "    "}, {"F6", "    "}, {"F8", "パナ"}, {"G0", "香港"}, {"G2", "スペ"}, {"G4", "    "},
    {"G6", "    "}, {"G8", "    "}, {"H0", "西独"}, {"H2", "南ア"}, {"H4", "スイ"}, {"H6", "モナ"},
    {"H8", "フィ"}, {"I0", "プエ"}, {"I2", "コロ"}, {"I4", "チェ"}, {"I6", "チェ"}, {"I8", "スロ"},
    {"J0", "エク"}, {"J2", "ギリ"}, {"J4", "マレ"}, {"J6", "メキ"}, {"J8", "モロ"}, {"K0", "パキ"},
    {"K2", "ポー"}, {"K4", "パラ"}, {"K6", "サウ"}, {"K8", "キプ"}, {"L0", "タイ"}, {"L2", "ウク"},
    {"L4", "ベネ"}, {"L6", "ユー"}, {"L8", "デン"}, {"M0", "シン"}, {"M2", "澳門"}, {"M4", "墺国"},
    {"M6", "約  "}, {"M8", "華  "}, {"N0", "東ド"}, {"N2", "バレ"},
};

const std::vector<std::string_view> kBlankCourseRows = {"C4", "F4", "F6", "G4", "G6", "G8"};

bool IsBlankCourseRow(std::string_view code) {
    for (const auto blank : kBlankCourseRows) {
        if (code == blank) {
            return true;
        }
    }
    return false;
}

// Codes that are not racecourses or countries: gaps in the numbering, neighbours of the
// blank rows, lower case, one-character and padded forms.
const std::vector<std::string_view> kUnlistedCourses = {
    "",   "00", "1",  "11", "29", "62", "99", "A1", "A3", "C1",  "C3",  "C9", "F3",
    "F5", "N1", "N4", "O0", "Z0", "a0", "b4", " 1", "1 ", "01 ", "001", "  ", "AA",
};

TEST(CourseName, Width2EveryCode) {
    ASSERT_EQ(kCourseWidth2.size(), 112u);
    ExpectRendering(KeibaFunc::CourseName, 2, kCourseWidth2, 4);
}

TEST(CourseName, EveryCodeHasItsByteWidthInEveryRendering) {
    for (const Row& row : kCourseWidth2) {
        const std::string code(row.code);
        const auto w0 = KeibaFunc::CourseName(code, 0);
        const auto w1 = KeibaFunc::CourseName(code, 1);
        const auto w3 = KeibaFunc::CourseName(code, 3);
        const auto w9 = KeibaFunc::CourseName(code, 9);
        ASSERT_TRUE(w0 && w1 && w3 && w9) << code;
        EXPECT_EQ(w0->size(), 6u) << code << " " << Show(*w0);
        EXPECT_EQ(w1->size(), code == "A2" ? 3u : 2u) << code << " " << Show(*w1);
        EXPECT_EQ(w3->size(), 6u) << code << " " << Show(*w3);
        EXPECT_EQ(w9->size(), 20u) << code << " " << Show(*w9);
        for (const std::string* text : {&*w0, &*w1, &*w3, &*w9}) {
            ExpectRoundTrip(*text);
            EXPECT_FALSE(Sjis::IsInsideChar(*text, text->size())) << code << " " << Show(*text);
        }
        if (IsBlankCourseRow(code)) {
            continue;
        }
        // Width 0 pads with half-width blanks only; width 3 is full-width characters with
        // half-width blanks after them; width 9 is full-width padding.
        EXPECT_EQ(w0->find(Sjis::kWideBlank), std::string::npos) << code << " " << Show(*w0);
        EXPECT_NE(w0->front(), ' ') << code;
        EXPECT_NE(w1->front(), ' ') << code;
        EXPECT_TRUE(Sjis::IsLeadByte(w1->front())) << code << " " << Show(*w1);
        EXPECT_TRUE(Sjis::IsLeadByte(w3->front())) << code << " " << Show(*w3);
        EXPECT_EQ(w3->find(Sjis::kWideBlank), std::string::npos) << code << " " << Show(*w3);
        EXPECT_EQ(w9->find(' '), std::string::npos) << code << " " << Show(*w9);
        EXPECT_NE(w9->substr(0, 2), Sjis::kWideBlank) << code;
    }
}

TEST(CourseName, Examples) {
    ExpectRendering(KeibaFunc::CourseName, 0,
                    {{"01", "札幌  "}, {"32", "岩見沢"}, {"A4", "ｱﾒﾘｶ  "}, {"B4", "ﾆｭｰｼﾞｰ"}}, 6);
    ExpectRendering(KeibaFunc::CourseName, 1,
                    {{"01", "札"},
                     {"07", "名"},
                     {"61", "名"},
                     {"48", "古"},
                     {"A4", "米"},
                     {"A6", "英"},
                     {"B4", "新"}},
                    2);
    // Japan's one-character name keeps a trailing blank.
    EXPECT_EQ(KeibaFunc::CourseName("A2", 1), S("日 "));
    ExpectRendering(KeibaFunc::CourseName, 3,
                    {{"01", "札幌  "}, {"32", "岩見沢"}, {"A4", "アメリ"}, {"49", "紀三寺"}}, 6);
    ExpectRendering(KeibaFunc::CourseName, 9,
                    {{"01", "札幌競馬場　　　　　"},
                     {"58", "札幌競馬場(地方競馬)"},
                     {"59", "函館競馬場(地方競馬)"},
                     {"60", "新潟競馬場(地方競馬)"},
                     {"61", "中京競馬場(地方競馬)"},
                     {"A0", "その他の外国　　　　"},
                     {"B4", "ニュージーランド　　"}},
                    20);
    // Half-width katakana in width 0, full-width in width 3.
    EXPECT_EQ(*KeibaFunc::CourseName("A4", 0), "\xB1\xD2\xD8\xB6  ");
}

TEST(CourseName, FullNamesOfRacecourses) {
    // Central and local racecourses: "<name>競馬場"; local meetings at central courses add
    // "(地方競馬)". The full name starts with the two-character name.
    const std::vector<Row> courses = {
        {"02", "函館競馬場"},     {"05", "東京競馬場"}, {"07", "中京競馬場"},
        {"10", "小倉競馬場"},     {"30", "門別競馬場"}, {"32", "岩見沢競馬場"},
        {"40", "宇都宮競馬場"},   {"44", "大井競馬場"}, {"48", "名古屋競馬場"},
        {"49", "紀三井寺競馬場"}, {"54", "高知競馬場"}, {"57", "中津競馬場"},
    };
    for (const Row& row : courses) {
        const std::string expected = S(row.utf8);
        const auto text = KeibaFunc::CourseName(row.code, 9);
        ASSERT_TRUE(text);
        EXPECT_EQ(text->substr(0, expected.size()), expected) << row.code << " " << Show(*text);
        EXPECT_EQ(text->substr(expected.size()), WideBlanks((20 - expected.size()) / 2))
            << row.code;
    }
    for (const Row& row : kCourseWidth2) {
        if (row.code >= "A0") {
            break;
        }
        const auto full = KeibaFunc::CourseName(row.code, 9);
        const auto w2 = KeibaFunc::CourseName(row.code, 2);
        ASSERT_TRUE(full && w2);
        EXPECT_EQ(full->substr(0, 4), *w2) << row.code;
        EXPECT_NE(full->find(S(row.code >= "58" ? "競馬場(地方競馬)" : "競馬場")),
                  std::string::npos)
            << row.code << " " << Show(*full);
    }
}

TEST(CourseName, FullNamesAreDistinct) {
    std::set<std::string> names;
    std::size_t listed = 0;
    for (const Row& row : kCourseWidth2) {
        if (!IsBlankCourseRow(row.code)) {
            names.insert(*KeibaFunc::CourseName(row.code, 9));
            ++listed;
        }
    }
    EXPECT_EQ(names.size(), listed);
    EXPECT_EQ(listed, 106u);
}

TEST(CourseName, BlankRowsAreBlankInEveryRendering) {
    for (const auto code : kBlankCourseRows) {
        EXPECT_EQ(KeibaFunc::CourseName(code, 0), "      ") << code;
        EXPECT_EQ(KeibaFunc::CourseName(code, 1), "  ") << code;
        EXPECT_EQ(KeibaFunc::CourseName(code, 2), "    ") << code;
        EXPECT_EQ(KeibaFunc::CourseName(code, 3), "      ") << code;
        EXPECT_EQ(KeibaFunc::CourseName(code, 9), WideBlanks(10)) << code;
    }
}

TEST(CourseName, UnlistedCodes) {
    ExpectFallback(KeibaFunc::CourseName, 0, kUnlistedCourses, "      ");
    ExpectFallback(KeibaFunc::CourseName, 1, kUnlistedCourses, "  ");
    ExpectFallback(KeibaFunc::CourseName, 2, kUnlistedCourses, "    ");
    ExpectFallback(KeibaFunc::CourseName, 3, kUnlistedCourses, "      ");
    // Six half-width blanks, not the twenty bytes of a listed name.
    ExpectFallback(KeibaFunc::CourseName, 9, kUnlistedCourses, "      ");
    ExpectUnknownWidths(KeibaFunc::CourseName, "05", {-1, 4, 5, 6, 7, 8, 10, 20});
    ExpectUnknownWidths(KeibaFunc::CourseName, "99", {4, 8});
}

} // namespace
