#include "jvdata/KeibaFunc.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using keiba::test::S;
using keiba::test::Show;

// A code, its expected text typed in UTF-8 and the text's width in Shift-JIS bytes.
struct Row {
    std::string_view code;
    std::string_view utf8;
    std::size_t bytes;
};

void ExpectTable(std::string (*convert)(std::string_view), const std::vector<Row>& table) {
    for (const auto& row : table) {
        const std::string text = convert(row.code);
        EXPECT_EQ(text, S(row.utf8)) << "code \"" << row.code << "\" gave " << Show(text);
        EXPECT_EQ(text.size(), row.bytes) << "code \"" << row.code << "\"";
    }
}

void ExpectFallback(std::string (*convert)(std::string_view),
                    const std::vector<std::string_view>& codes, const std::string& fallback) {
    for (const auto code : codes) {
        EXPECT_EQ(convert(code), fallback) << "code \"" << code << "\"";
    }
}

// ---- Exact-code tables ------------------------------------------------------------------

TEST(WeightTypeName, Table) {
    ExpectTable(KeibaFunc::WeightTypeName,
                {{"1", "ﾊﾝﾃﾞ", 4}, {"2", "別定", 4}, {"3", "馬齢", 4}, {"4", "定量", 4}});
    EXPECT_EQ(KeibaFunc::WeightTypeName("1"), "\xCA\xDD\xC3\xDE"); // half-width ﾊﾝﾃﾞ
    ExpectFallback(KeibaFunc::WeightTypeName, {"0", "5", " ", "", "01", " 1"}, "");
}

TEST(WeatherName, Table) {
    ExpectTable(KeibaFunc::WeatherName, {{"1", "晴", 2},
                                         {"2", "曇", 2},
                                         {"3", "雨", 2},
                                         {"4", "小雨", 4},
                                         {"5", "雪", 2},
                                         {"6", "小雪", 4}});
    ExpectFallback(KeibaFunc::WeatherName, {"0", "7", "9", " ", "", "01"}, "");
}

TEST(SexName, Table) {
    ExpectTable(KeibaFunc::SexName, {{"1", "牡", 2}, {"2", "牝", 2}, {"3", "ｾﾝ", 2}});
    EXPECT_EQ(KeibaFunc::SexName("3"), "\xBE\xDD"); // half-width ｾﾝ
    ExpectFallback(KeibaFunc::SexName, {"0", "4", " ", "", "01"}, "");
}

TEST(CoatColourName, Table) {
    ExpectTable(KeibaFunc::CoatColourName, {
                                               {"01", "栗毛", 4},
                                               {"02", "栃栗毛", 6},
                                               {"03", "鹿毛", 4},
                                               {"04", "黒鹿毛", 6},
                                               {"05", "青鹿毛", 6},
                                               {"06", "青毛", 4},
                                               {"07", "芦毛", 4},
                                               {"08", "栗粕毛", 6},
                                               {"09", "鹿粕毛", 6},
                                               {"10", "青粕毛", 6},
                                               {"11", "白毛", 4},
                                           });
    // The code is compared as text: "1" is not "01".
    ExpectFallback(KeibaFunc::CoatColourName, {"00", "12", "1", " 1", "  ", ""}, "\x81\x7C");
}

TEST(RecordKindText, Table) {
    ExpectTable(KeibaFunc::RecordKindText, {{"1", "(基準ﾀｲﾑ)", 9},
                                            {"2", "(ﾚｺｰﾄﾞﾀｲﾑ)", 10},
                                            {"3", "(参考ﾀｲﾑ)", 9},
                                            {"4", "(備考ﾀｲﾑ)", 9}});
    EXPECT_EQ(KeibaFunc::RecordKindText("1"), "(\x8A\xEE\x8F\x80\xC0\xB2\xD1)");
    ExpectFallback(KeibaFunc::RecordKindText, {"0", "5", " ", ""}, "");
}

TEST(AbnormalityName, EveryTextIsEightBytes) {
    ExpectTable(KeibaFunc::AbnormalityName, {
                                                {"1", "出走取消", 8},
                                                {"2", "発走除外", 8},
                                                {"3", "競争除外", 8},
                                                {"4", "競争中止", 8},
                                                {"5", "失格    ", 8},
                                                {"6", "落馬再騎", 8},
                                                {"7", "降着　　", 8},
                                            });
    // 失格 is padded with half-width blanks, 降着 with full-width ones.
    EXPECT_EQ(KeibaFunc::AbnormalityName("5"), "\x8E\xB8\x8A\x69    ");
    EXPECT_EQ(KeibaFunc::AbnormalityName("7"), "\x8D\x7E\x92\x85\x81\x40\x81\x40");
    ExpectFallback(KeibaFunc::AbnormalityName, {"0", "8", "9", " ", ""}, "        ");
}

TEST(BlinkerText, BlinkersOrOneBlank) {
    ExpectTable(KeibaFunc::BlinkerText, {{"1", "ﾌﾞﾘﾝ", 4}});
    ExpectFallback(KeibaFunc::BlinkerText, {"0", "2", " ", ""}, " ");
}

TEST(ApprenticeText, AllowanceOrOneWideBlank) {
    ExpectTable(KeibaFunc::ApprenticeText, {{"1", "1kg減", 5},
                                            {"2", "2kg減", 5},
                                            {"3", "3kg減", 5},
                                            {"4", "4kg減", 5},
                                            {"9", "2kg減", 5}});
    EXPECT_EQ(KeibaFunc::ApprenticeText("1"), "1kg\x8C\xB8");
    ExpectFallback(KeibaFunc::ApprenticeText, {"0", "5", "8", " ", ""}, "\x81\x40");
}

// ---- Tables read as numbers --------------------------------------------------------------

TEST(TrackName, Table) {
    ExpectTable(KeibaFunc::TrackName, {
                                          {"10", "芝 直線", 7},
                                          {"11", "芝 左回り", 9},
                                          {"12", "芝 左回り 外回り", 16},
                                          {"13", "芝 左回り 内→外回り", 20},
                                          {"14", "芝 左回り 外→内回り", 20},
                                          {"15", "芝 左回り 内２周", 16},
                                          {"16", "芝 左回り 外２周", 16},
                                          {"17", "芝 右回り", 9},
                                          {"18", "芝 右回り 外回り", 16},
                                          {"19", "芝 右回り 内→外回り", 20},
                                          {"20", "芝 右回り 外→内回り", 20},
                                          {"21", "芝 右回り 内２周", 16},
                                          {"22", "芝 右回り 外２周", 16},
                                          {"23", "ﾀﾞｰﾄ 左回り", 11},
                                          {"24", "ﾀﾞｰﾄ 右回り", 11},
                                          {"25", "ﾀﾞｰﾄ 左回り 内回り", 18},
                                          {"26", "ﾀﾞｰﾄ 右回り 外回り", 18},
                                          {"27", "ｻﾝﾄﾞ 左回り", 11},
                                          {"28", "ｻﾝﾄﾞ 右回り", 11},
                                          {"29", "ﾀﾞｰﾄ 直線", 9},
                                          {"51", "障害 芝　襷", 11},
                                          {"52", "障害 芝→ﾀﾞｰﾄ", 13},
                                          {"53", "障害 芝　左", 11},
                                          {"54", "障害 芝", 7},
                                          {"55", "障害 芝 外回り", 14},
                                          {"56", "障害 芝 外→内回り", 18},
                                          {"57", "障害 芝 内→外回り", 18},
                                          {"58", "障害 内２周", 11},
                                          {"59", "障害 外２周", 11},
                                      });
    // A half-width blank after 障害, a full-width one inside 芝　襷.
    EXPECT_EQ(KeibaFunc::TrackName("51"), "\x8F\xE1\x8A\x51 \x8E\xC5\x81\x40\xE6\x46");
    ExpectFallback(KeibaFunc::TrackName, {"00", "09", "30", "50", "60", "99", "  ", ""}, "");
}

TEST(TrackName, CodeIsReadAsANumber) {
    EXPECT_EQ(KeibaFunc::TrackName(" 17"), S("芝 右回り"));
    EXPECT_EQ(KeibaFunc::TrackName("017"), S("芝 右回り"));
    EXPECT_EQ(KeibaFunc::TrackName("17 "), S("芝 右回り"));
}

TEST(TrackShortName, RangesOfTrackCodes) {
    ExpectTable(KeibaFunc::TrackShortName, {
                                               {"10", "芝直", 4},
                                               {"11", "芝左", 4},
                                               {"13", "芝左", 4},
                                               {"16", "芝左", 4},
                                               {"17", "芝右", 4},
                                               {"20", "芝右", 4},
                                               {"22", "芝右", 4},
                                               {"23", "ダ左", 4},
                                               {"24", "ダ右", 4},
                                               {"29", "ダ直", 4},
                                               {"51", "障害", 4},
                                               {"55", "障害", 4},
                                               {"59", "障害", 4},
                                           });
    ExpectFallback(KeibaFunc::TrackShortName,
                   {"09", "25", "26", "27", "28", "30", "50", "60", "00", "  ", ""}, "");
}

TEST(HorseSymbolText, Table) {
    ExpectTable(
        KeibaFunc::HorseSymbolText,
        {
            {"01", "(抽)", 4},          {"02", "[抽]", 4},          {"03", "(父)", 4},
            {"04", "(市)", 4},          {"05", "(地)", 4},          {"06", "(外)", 4},
            {"07", "(父)(抽)", 8},      {"08", "(父)(市)", 8},      {"09", "(父)(地)", 8},
            {"10", "(市)(地)", 8},      {"11", "(外)(地)", 8},      {"12", "(父)(市)(地)", 12},
            {"15", "(招)", 4},          {"16", "(招)(外)", 8},      {"17", "(招)(父)", 8},
            {"18", "(招)(市)", 8},      {"19", "(招)(父)(市)", 12}, {"20", "(父)(外)", 8},
            {"21", "[地]", 4},          {"22", "(外)[地]", 8},      {"23", "(父)[地]", 8},
            {"24", "(市)[地]", 8},      {"25", "(父)(市)[地]", 12}, {"26", "[外]", 4},
            {"27", "(父)[外]", 8},      {"31", "(特)", 4},          {"40", "(父)(外)(地)", 12},
            {"41", "(父)(外)[地]", 12},
        });
    // Read as a number: 1 with a leading blank or none is 01.
    EXPECT_EQ(KeibaFunc::HorseSymbolText(" 1"), S("(抽)"));
    EXPECT_EQ(KeibaFunc::HorseSymbolText("1"), S("(抽)"));
    ExpectFallback(KeibaFunc::HorseSymbolText,
                   {"00", "13", "14", "28", "29", "30", "32", "39", "42", "99", "  ", ""},
                   "\x81\x40");
}

// ---- Tables with width arguments ----------------------------------------------------------

struct WidthRow {
    std::string_view code;
    int width;
    std::string_view utf8;
    std::size_t bytes;
};

using WidthConversion = std::optional<std::string> (*)(std::string_view, int);

void ExpectWidthTable(WidthConversion convert, const std::vector<WidthRow>& table) {
    for (const auto& row : table) {
        const std::optional<std::string> text = convert(row.code, row.width);
        ASSERT_TRUE(text.has_value()) << "code \"" << row.code << "\" width " << row.width;
        EXPECT_EQ(*text, S(row.utf8))
            << "code \"" << row.code << "\" width " << row.width << " gave " << Show(*text);
        EXPECT_EQ(text->size(), row.bytes) << "code \"" << row.code << "\" width " << row.width;
    }
}

TEST(GoingName, EveryWidth) {
    ExpectWidthTable(KeibaFunc::GoingName, {
                                               {"1", 0, "良", 2},
                                               {"2", 0, "稍重", 4},
                                               {"3", 0, "重", 2},
                                               {"4", 0, "不良", 4},
                                               {"1", 1, "芝:良", 5},
                                               {"2", 1, "芝:稍重", 7},
                                               {"3", 1, "芝:重", 5},
                                               {"4", 1, "芝:不良", 7},
                                               {"1", 2, "ダ:良", 5},
                                               {"2", 2, "ダ:稍重", 7},
                                               {"3", 2, "ダ:重", 5},
                                               {"4", 2, "ダ:不良", 7},
                                           });
    EXPECT_EQ(KeibaFunc::GoingName("1", 1), "\x8E\xC5:\x97\xC7"); // half-width colon
}

TEST(GoingName, UnlistedCodeIsEmptyAndUnknownWidthIsNothing) {
    for (const int width : {0, 1, 2}) {
        for (const auto code : {"0", "5", "01", " ", ""}) {
            EXPECT_EQ(KeibaFunc::GoingName(code, width), std::optional<std::string>(""))
                << "code \"" << code << "\" width " << width;
        }
    }
    for (const int width : {-1, 3, 9}) {
        EXPECT_EQ(KeibaFunc::GoingName("1", width), std::nullopt) << width;
    }
}

TEST(BreedName, EveryWidth) {
    ExpectWidthTable(KeibaFunc::BreedName, {
                                               {"1", 1, "サラ", 4},
                                               {"2", 1, "サラ系", 6},
                                               {"3", 1, "準サラ", 6},
                                               {"4", 1, "軽半", 4},
                                               {"5", 1, "アア", 4},
                                               {"6", 1, "アラ系", 6},
                                               {"7", 1, "アラブ", 6},
                                               {"8", 1, "中半", 4},
                                               {"1", 9, "ｻﾗﾌﾞﾚｯﾄﾞ", 8},
                                               {"2", 9, "ｻﾗﾌﾞﾚｯﾄﾞ系種", 12},
                                               {"3", 9, "準ｻﾗﾌﾞﾚｯﾄﾞ", 10},
                                               {"4", 9, "軽半血種", 8},
                                               {"5", 9, "ｱﾝｸﾞﾛｸﾗﾌﾞ", 9},
                                               {"6", 9, "ｱﾗﾌﾞ系種", 8},
                                               {"7", 9, "ｱﾗﾌﾞ", 4},
                                               {"8", 9, "中半血種", 8},
                                           });
}

TEST(BreedName, UnlistedCodeIsEmptyAndUnknownWidthIsNothing) {
    for (const int width : {1, 9}) {
        for (const auto code : {"0", "9", "01", " ", ""}) {
            EXPECT_EQ(KeibaFunc::BreedName(code, width), std::optional<std::string>(""))
                << "code \"" << code << "\" width " << width;
        }
    }
    for (const int width : {0, 2, 8, 10}) {
        EXPECT_EQ(KeibaFunc::BreedName("1", width), std::nullopt) << width;
    }
}

} // namespace
