#include "jvdata/KeibaFunc.h"
#include "support/TestSupport.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

namespace {

using keiba::test::S;
using keiba::test::Show;

// A field text and the expected display text, typed as it reads (ASCII here).
struct Case {
    std::string_view in;
    std::string_view out;
};

void ExpectAll(std::string (*convert)(std::string_view), const std::vector<Case>& cases) {
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(convert(in), out) << "field \"" << in << "\"";
    }
}

// ---- ZeroSuppress -------------------------------------------------------------------------

TEST(ZeroSuppress, RightAlignsTheNumberInTheFieldWidth) {
    ExpectAll(KeibaFunc::ZeroSuppress, {
                                           {"01", " 1"},
                                           {"18", "18"},
                                           {"1600", "1600"},
                                           {"0123", " 123"},
                                           {" 7", " 7"},
                                           {"7 ", " 7"},
                                           {"-05", " -5"},
                                           {"+05", "  5"},
                                       });
}

TEST(ZeroSuppress, ZeroAndBlankGiveBlanksOfTheFieldWidth) {
    ExpectAll(KeibaFunc::ZeroSuppress, {
                                           {"00", "  "},
                                           {"  ", "  "},
                                           {"0000", "    "},
                                           {"0", " "},
                                           {"ab", "  "},
                                           {"-0", "  "},
                                           {"", ""},
                                       });
}

// ---- WeightText ---------------------------------------------------------------------------

TEST(WeightText, TenthsOfAKilogramWithOneDecimalOneWiderThanTheField) {
    ExpectAll(KeibaFunc::WeightText, {
                                         {"550", "55.0"},
                                         {"570", "57.0"},
                                         {"575", "57.5"},
                                         {"005", " 0.5"},
                                         {"100", "10.0"},
                                         {" 48", " 4.8"},
                                         {"1000", "100.0"},
                                     });
}

TEST(WeightText, AbsentWeightIsBlanksOfTheFieldWidthItself) {
    ExpectAll(KeibaFunc::WeightText, {
                                         {"000", "   "},
                                         {"  0", "   "},
                                         {"   ", "   "},
                                         {"", ""},
                                     });
}

// ---- RunTimeText --------------------------------------------------------------------------

TEST(RunTimeText, MinutesSecondsAndTenths) {
    ExpectAll(KeibaFunc::RunTimeText, {
                                          {"1335", "1.33.5"},
                                          {"2001", "2.00.1"},
                                          {"3599", "3.59.9"},
                                      });
}

TEST(RunTimeText, UnderAMinuteLeavesTheMinutesPlaceBlank) {
    ExpectAll(KeibaFunc::RunTimeText, {
                                          {"0582", "  58.2"},
                                          {" 582", "  58.2"},
                                          {"0001", "  00.1"},
                                      });
}

TEST(RunTimeText, NoTimeGivesSixBlanks) {
    ExpectAll(KeibaFunc::RunTimeText, {
                                          {"0000", "      "},
                                          // A blank field (an empty slot) is no time either.
                                          {"    ", "      "},
                                          // Fields cut short must not be read past their end.
                                          {"", "      "},
                                          {"133", "      "},
                                      });
}

// ---- TimeDiffText -------------------------------------------------------------------------

TEST(TimeDiffText, SignSecondsRightAlignedInTwoAndTenths) {
    ExpectAll(KeibaFunc::TimeDiffText, {
                                           {"+005", "+ 0.5"},
                                           {"-012", "- 1.2"},
                                           {"+100", "+10.0"},
                                           {"-998", "-99.8"},
                                           {"+000", "+ 0.0"},
                                           // Blank-padded seconds read like the zero-padded.
                                           {"+ 05", "+ 0.5"},
                                       });
}

TEST(TimeDiffText, AbsentDifferencesGiveFiveBlanks) {
    ExpectAll(KeibaFunc::TimeDiffText, {
                                           {"+999", "     "},
                                           {"-999", "     "},
                                           {" 999", "     "},
                                           {"9999", "     "},
                                           {"0000", "     "},
                                           {"    ", "     "},
                                           {"+   ", "     "},
                                       });
}

TEST(TimeDiffText, DamagedFieldsGiveFiveBlanksInsteadOfFailing) {
    ExpectAll(KeibaFunc::TimeDiffText, {
                                           {"+0a5", "     "},
                                           {"+a05", "     "},
                                           {"+05x", "     "},
                                           {"+05 ", "     "},
                                           {"+5 1", "     "},
                                           {"+-05", "     "},
                                           {"", "     "},
                                           {"+", "     "},
                                           {"+05", "     "},
                                       });
}

// ---- WeightChangeText ---------------------------------------------------------------------

TEST(WeightChangeText, SignedChangeNoChangeAndUnmeasured) {
    struct Change {
        std::string_view sign;
        std::string_view diff;
        std::string out;
    };
    const std::vector<Change> cases = {
        {"+", "012", "+ 12"},    {"-", "004", "-  4"},
        {"+", "100", "+100"},    {"+", "000", "\x83\x69\x83\x56"}, // "ナシ" in full-width katakana
        {"-", "000", S("ナシ")}, {" ", "999", "    "},
        {"+", "999", "    "},    {"+", "   ", "    "},
        {" ", "", "    "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KeibaFunc::WeightChangeText(c.sign, c.diff), c.out)
            << "sign \"" << c.sign << "\" diff \"" << c.diff << "\"";
    }
}

// ---- StripWideSpaces ----------------------------------------------------------------------

TEST(StripWideSpaces, RemovesEveryFullWidthBlank) {
    EXPECT_EQ(KeibaFunc::StripWideSpaces(S("　ディープ　インパクト　")), S("ディープインパクト"));
    EXPECT_EQ(KeibaFunc::StripWideSpaces(S("武　豊")), S("武豊"));
    EXPECT_EQ(KeibaFunc::StripWideSpaces("\x81\x40\x81\x40"), "");
    EXPECT_EQ(KeibaFunc::StripWideSpaces(S("ｱ　")), S("ｱ"));
    EXPECT_EQ(KeibaFunc::StripWideSpaces(""), "");
}

TEST(StripWideSpaces, KeepsHalfWidthBlanks) {
    EXPECT_EQ(KeibaFunc::StripWideSpaces(S(" 武 豊　 ")), S(" 武 豊 "));
}

TEST(StripWideSpaces, BytesEightyOneFortyAcrossTwoCharactersAreNotABlank) {
    // "メ" is 83 81 and "＝" is 81 81: followed by "@" (40) the bytes 81 40 straddle the two
    // characters and must stay.
    EXPECT_EQ(KeibaFunc::StripWideSpaces("\x83\x81\x40"), "\x83\x81\x40");
    EXPECT_EQ(KeibaFunc::StripWideSpaces("\x81\x81\x40"), "\x81\x81\x40");
    // The same pair with a real wide blank after it: only the blank goes.
    EXPECT_EQ(KeibaFunc::StripWideSpaces("\x83\x81\x40\x81\x40"), "\x83\x81\x40");
    EXPECT_EQ(KeibaFunc::StripWideSpaces("\x83\x81\x81\x40"), "\x83\x81");
    // A lone lead byte at the end is kept as it is.
    EXPECT_EQ(KeibaFunc::StripWideSpaces("\x83\x41\x81"), "\x83\x41\x81");
}

// ---- CircledNumber ------------------------------------------------------------------------

TEST(CircledNumber, OneToEighteen) {
    const std::vector<std::string_view> circled = {"①", "②", "③", "④", "⑤", "⑥", "⑦", "⑧", "⑨",
                                                   "⑩", "⑪", "⑫", "⑬", "⑭", "⑮", "⑯", "⑰", "⑱"};
    for (int n = 1; n <= 18; ++n) {
        const std::string text = KeibaFunc::CircledNumber(n);
        EXPECT_EQ(text, S(circled[n - 1])) << n << " gave " << Show(text);
        EXPECT_EQ(text.size(), 2u) << n;
    }
    EXPECT_EQ(KeibaFunc::CircledNumber(1), "\x87\x40");
    EXPECT_EQ(KeibaFunc::CircledNumber(18), "\x87\x51");
}

TEST(CircledNumber, AnyOtherValueGivesADash) {
    for (const int n : {0, 19, 20, -1, 100, INT_MIN, INT_MAX}) {
        EXPECT_EQ(KeibaFunc::CircledNumber(n), "\x81\x7C") << n; // "－"
    }
}

// ---- ReplaceAt ----------------------------------------------------------------------------

TEST(ReplaceAt, OverwritesFromTheOneBasedPosition) {
    // The store zeroes a record's data kind and creation date, bytes 3 to 11.
    EXPECT_EQ(KeibaFunc::ReplaceAt("RA720040501200405", "000000000", 3), "RA000000000200405");
    EXPECT_EQ(KeibaFunc::ReplaceAt("ABCDEF", "xy", 1), "xyCDEF");
    EXPECT_EQ(KeibaFunc::ReplaceAt("ABCDEF", "xy", 5), "ABCDxy");
    EXPECT_EQ(KeibaFunc::ReplaceAt("ABCDEF", "", 3), "ABCDEF");
}

TEST(ReplaceAt, TooShortTextKeepsItsLength) {
    EXPECT_EQ(KeibaFunc::ReplaceAt("ABCDEF", "xyz", 5), "ABCDxy");
    EXPECT_EQ(KeibaFunc::ReplaceAt("RA7", "000000000", 3), "RA0");
    EXPECT_EQ(KeibaFunc::ReplaceAt("ABCDEF", "xy", 7), "ABCDEF");
    EXPECT_EQ(KeibaFunc::ReplaceAt("ABCDEF", "xy", 1000), "ABCDEF");
    EXPECT_EQ(KeibaFunc::ReplaceAt("", "000000000", 3), "");
    EXPECT_EQ(KeibaFunc::ReplaceAt("ABCDEF", "xy", 0), "ABCDEF");
}

// ---- KanaStrokes and NameStrokes ----------------------------------------------------------

TEST(KanaStrokes, EveryListedKatakana) {
    struct Group {
        int strokes;
        std::vector<std::string_view> kana;
    };
    const std::vector<Group> groups = {
        {1, {"ノ", "フ", "ヘ", "レ", "ー"}},
        {2, {"ア", "イ", "カ", "ク", "コ", "ス", "セ", "ソ", "ト", "ナ", "ニ",
             "ヌ", "ハ", "ヒ", "マ", "ム", "メ", "ヤ", "ユ", "ラ", "リ", "ル",
             "ワ", "ヲ", "ン", "ペ", "プ", "ァ", "ィ", "ャ", "ュ"}},
        {3, {"ウ", "エ", "オ", "キ", "ケ", "サ", "シ", "タ", "チ", "ツ", "テ", "ミ",
             "モ", "ヨ", "ロ", "ブ", "ベ", "パ", "ピ", "ゥ", "ォ", "ョ", "ッ", "ェ"}},
        {4, {"ネ", "ホ", "ガ", "グ", "ゴ", "ズ", "ゾ", "ド", "バ", "ビ", "ゼ"}},
        {5, {"ギ", "ゲ", "ザ", "ジ", "ダ", "ヂ", "ヅ", "デ", "ポ", "ヴ"}},
        {6, {"ボ"}},
    };
    std::size_t listed = 0;
    for (const auto& group : groups) {
        for (const auto kana : group.kana) {
            EXPECT_EQ(KeibaFunc::KanaStrokes(S(kana)), group.strokes) << kana;
            ++listed;
        }
    }
    EXPECT_EQ(listed, 82u);
}

TEST(KanaStrokes, AnythingElseIsZero) {
    for (const auto other : {"ヰ", "ヱ", "ヵ", "ヶ", "ヮ", "あ", "の", "ｱ", "ﾉ", "　", "一"}) {
        EXPECT_EQ(KeibaFunc::KanaStrokes(S(other)), 0) << other;
    }
    EXPECT_EQ(KeibaFunc::KanaStrokes(""), 0);
    EXPECT_EQ(KeibaFunc::KanaStrokes("A"), 0);
    EXPECT_EQ(KeibaFunc::KanaStrokes("\x83"), 0);
    EXPECT_EQ(KeibaFunc::KanaStrokes(S("アイ")), 0); // two characters are not one
}

TEST(NameStrokes, SumsTheTwoByteCharactersOfAName) {
    // デ5 ィ2 ー1 プ2 イ2 ン2 パ3 ク2 ト2
    EXPECT_EQ(KeibaFunc::NameStrokes(S("ディープインパクト")), 21);
    // オ3 ル2 フ1 ェ3 ー1 ヴ5 ル2
    EXPECT_EQ(KeibaFunc::NameStrokes(S("オルフェーヴル")), 17);
    EXPECT_EQ(KeibaFunc::NameStrokes(S("ボ")), 6);
    EXPECT_EQ(KeibaFunc::NameStrokes(""), 0);
}

TEST(NameStrokes, TrailingOddByteIsIgnored) {
    EXPECT_EQ(KeibaFunc::NameStrokes(S("アイ") + "\x83"), 4);
    EXPECT_EQ(KeibaFunc::NameStrokes(S("アイ") + " "), 4);
    EXPECT_EQ(KeibaFunc::NameStrokes("\x83"), 0);
}

// ---- ConditionName ------------------------------------------------------------------------

struct Named {
    std::string_view code;
    std::string_view utf8;
    std::size_t bytes;
};

TEST(ConditionName, EveryListedConditionWithItsWidth) {
    const std::vector<Named> table = {
        {"005", "1勝ｸﾗｽ", 6}, {"010", "2勝ｸﾗｽ", 6}, {"016", "3勝ｸﾗｽ", 6}, {"100", "1億下", 5},
        {"701", "新馬", 4},   {"702", "未出走", 6}, {"703", "未勝利", 6}, {"999", "オープン", 8},
    };
    for (const auto& row : table) {
        const std::string text = KeibaFunc::ConditionName(row.code);
        EXPECT_EQ(text, S(row.utf8)) << row.code << " gave " << Show(text);
        EXPECT_EQ(text.size(), row.bytes) << row.code;
    }
    // Half-width digit and half-width katakana: "1" 勝 "ｸﾗｽ".
    EXPECT_EQ(KeibaFunc::ConditionName("005"), "1\x8F\x9F\xB8\xD7\xBD");
}

TEST(ConditionName, CodeIsReadAsANumber) {
    for (const auto code : {"5", "  5", "05", "+05", "5  "}) {
        EXPECT_EQ(KeibaFunc::ConditionName(code), S("1勝ｸﾗｽ")) << code;
    }
}

TEST(ConditionName, UnlistedCodesGiveNothing) {
    for (const auto code : {"000", "001", "004", "700", "704", "998", "1000", "   ", "abc", ""}) {
        EXPECT_EQ(KeibaFunc::ConditionName(code), "") << code;
    }
}

// ---- RaceConditionText --------------------------------------------------------------------

TEST(RaceConditionText, YoungestAgeAloneForTwoAndThreeYearOldRaces) {
    EXPECT_EQ(KeibaFunc::RaceConditionText("11", "701", "000", "000", "000"), S("2歳新馬"));
    EXPECT_EQ(KeibaFunc::RaceConditionText("11", "005", "703", "010", "016"), S("2歳1勝ｸﾗｽ"));
    EXPECT_EQ(KeibaFunc::RaceConditionText("12", "000", "703", "000", "000"), S("3歳未勝利"));
    EXPECT_EQ(KeibaFunc::RaceConditionText("12", "000", "999", "000", "000"), S("3歳オープン"));
}

TEST(RaceConditionText, ThreeYearOldsAndUpListEveryAgeForClassRaces) {
    EXPECT_EQ(KeibaFunc::RaceConditionText("13", "000", "010", "010", "010"),
              S("3歳上2勝ｸﾗｽ  3歳上2勝ｸﾗｽ  3歳上2勝ｸﾗｽ"));
    // Kind 18 (jump) reads the same; the bounds 1 and 100 are classes.
    EXPECT_EQ(KeibaFunc::RaceConditionText("18", "000", "100", "100", "100"),
              S("3歳上1億下  3歳上1億下  3歳上1億下"));
    EXPECT_EQ(KeibaFunc::RaceConditionText("13", "000", "001", "005", "999"),
              S("3歳上  3歳上1勝ｸﾗｽ  3歳上オープン"));
    // Above 100 (open, maiden) the youngest age stands alone.
    EXPECT_EQ(KeibaFunc::RaceConditionText("13", "000", "999", "999", "999"), S("3歳上オープン"));
    EXPECT_EQ(KeibaFunc::RaceConditionText("18", "000", "703", "703", "703"), S("3歳上未勝利"));
    EXPECT_EQ(KeibaFunc::RaceConditionText("13", "000", "000", "010", "010"), S("3歳上"));
}

TEST(RaceConditionText, FourYearOldsAndUpListTwoAges) {
    EXPECT_EQ(KeibaFunc::RaceConditionText("14", "000", "000", "016", "016"),
              S("4歳上3勝ｸﾗｽ  4歳上3勝ｸﾗｽ"));
    EXPECT_EQ(KeibaFunc::RaceConditionText("14", "000", "000", "999", "999"), S("4歳上オープン"));
    // Kind 19 (jump, 4-year-olds and up) takes the prefix of kind 14.
    EXPECT_EQ(KeibaFunc::RaceConditionText("19", "000", "000", "005", "010"),
              S("4歳上1勝ｸﾗｽ  4歳上2勝ｸﾗｽ"));
    EXPECT_EQ(KeibaFunc::RaceConditionText("19", "000", "000", "703", "703"), S("4歳上未勝利"));
}

TEST(RaceConditionText, AngloArabKindsHaveNoAgePrefix) {
    EXPECT_EQ(KeibaFunc::RaceConditionText("21", "701", "000", "000", "000"), S("新馬"));
    EXPECT_EQ(KeibaFunc::RaceConditionText("22", "000", "703", "000", "000"), S("未勝利"));
    EXPECT_EQ(KeibaFunc::RaceConditionText("23", "000", "005", "010", "016"),
              S("1勝ｸﾗｽ  2勝ｸﾗｽ  3勝ｸﾗｽ"));
    EXPECT_EQ(KeibaFunc::RaceConditionText("23", "000", "999", "005", "005"), S("オープン"));
    EXPECT_EQ(KeibaFunc::RaceConditionText("24", "000", "000", "010", "999"),
              S("2勝ｸﾗｽ  オープン"));
    EXPECT_EQ(KeibaFunc::RaceConditionText("24", "000", "000", "999", "005"), S("オープン"));
}

TEST(RaceConditionText, KindIsReadAsANumberAndOtherKindsGiveNothing) {
    EXPECT_EQ(KeibaFunc::RaceConditionText(" 12", "000", "703", "000", "000"), S("3歳未勝利"));
    EXPECT_EQ(KeibaFunc::RaceConditionText("012", "000", "703", "000", "000"), S("3歳未勝利"));
    for (const auto kind : {"00", "  ", "10", "15", "16", "17", "20", "25", "99", ""}) {
        EXPECT_EQ(KeibaFunc::RaceConditionText(kind, "005", "005", "005", "005"), "") << kind;
    }
}

} // namespace
