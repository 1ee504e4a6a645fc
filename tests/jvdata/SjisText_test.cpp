#include "jvdata/SjisText.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct KnownBytes {
    std::string_view utf8;
    std::string_view sjis;
};

// CP932 bytes typed from the code page chart; the ones plain Shift-JIS lacks come first.
const std::vector<KnownBytes> kKnown = {
    {"①", "\x87\x40"},  {"⑱", "\x87\x51"},
    {"⑳", "\x87\x53"},  {"－", "\x81\x7C"},
    {"～", "\x81\x60"}, {"髙", "\xFB\xFC"},
    {"　", "\x81\x40"}, {"東京", "\x93\x8C\x8B\x9E"},
    {"ｱ", "\xB1"},      {"ﾌﾞﾘﾝ", "\xCC\xDE\xD8\xDD"},
    {"｢", "\xA2"},      {"｣", "\xA3"},
    {"\\", "\x5C"},     {"~", "\x7E"},
    {"◎", "\x81\x9D"},  {"○", "\x81\x9B"},
    {"×", "\x81\x7E"},  {"ソ", "\x83\x5C"},
    {"表", "\x95\x5C"}, {"牡", "\x89\xB2"},
    {"芝", "\x8E\xC5"}, {"A1", "A1"},
};

TEST(SjisText, KnownCharactersConvertBothWays) {
    for (const auto& [utf8, sjis] : kKnown) {
        EXPECT_EQ(Sjis::FromUtf8(utf8), sjis) << utf8;
        EXPECT_EQ(Sjis::ToUtf8(sjis), utf8) << utf8;
    }
}

TEST(SjisText, QuotedProgramTextsRoundTrip) {
    const std::vector<std::string_view> texts = {
        "JRA-VANのホームページより【JV-Link】を入手し、インストールしてください。",
        "データ作成が未完了のようです。",
        "JVInitエラー：",
        "Tomberly＆競馬新聞",
        "サラブレット系障害3歳以上",
        "(混合)牡・ｾﾝ(特指)　　　",
        "芝 左回り 内→外回り",
        "1勝ｸﾗｽ",
        "ニュージーランド　　",
        "◎○×",
        "競馬新聞印刷(&P)...",
    };
    for (auto text : texts) {
        const auto sjis = Sjis::TryFromUtf8(text);
        ASSERT_TRUE(sjis.has_value()) << text;
        EXPECT_EQ(Sjis::ToUtf8(*sjis), text);
    }
}

TEST(SjisText, LookAlikesGiveTheSameBytesOnEveryPlatform) {
    EXPECT_EQ(Sjis::FromUtf8("\u301C"), "\x81\x60"); // wave dash as the full-width tilde
    EXPECT_EQ(Sjis::FromUtf8("\u2212"), "\x81\x7C"); // minus sign as the full-width hyphen
    EXPECT_EQ(Sjis::FromUtf8("\u2014"), "\x81\x5C"); // em dash as the horizontal bar
    EXPECT_EQ(Sjis::FromUtf8("\u2016"), "\x81\x61"); // double vertical line
    EXPECT_EQ(Sjis::FromUtf8("\u00A2\u00A3\u00AC"), "\x81\x91\x81\x92\x81\xCA");
}

TEST(SjisText, InvalidBytesBecomeReplacementCharacters) {
    const std::string r(Sjis::kUtf8Replacement);
    EXPECT_EQ(Sjis::ToUtf8("A\x80"
                           "B"),
              "A" + r + "B");
    EXPECT_EQ(Sjis::ToUtf8("\xA0\xFD\xFE\xFF"), r + r + r + r);
    // A lead byte at the end, and a lead byte before a byte that cannot follow it.
    EXPECT_EQ(Sjis::ToUtf8("\x93\x8C\x93"), "東" + r);
    EXPECT_EQ(Sjis::ToUtf8("\x93"
                           "\x0D\x0A"),
              r + "\r\n");
    // An unassigned two-byte code is one replacement; the text around it survives.
    EXPECT_EQ(Sjis::ToUtf8("\x93\x8C\x85\x40\x8B\x9E"), "東" + r + "京");
    EXPECT_EQ(Sjis::ToUtf8(std::string_view("\0A", 2)), std::string("\0A", 2));
}

TEST(SjisText, UnrepresentableAndMalformedUtf8) {
    EXPECT_EQ(Sjis::FromUtf8("A😀B"), "A?B");
    EXPECT_EQ(Sjis::FromUtf8("한"), "?");
    EXPECT_EQ(Sjis::FromUtf8("\xE6\x9D"), "??");      // cut inside a character
    EXPECT_EQ(Sjis::FromUtf8("\xC0\xAF"), "??");      // overlong form of '/'
    EXPECT_EQ(Sjis::FromUtf8("\xED\xA0\x80"), "???"); // a surrogate
    EXPECT_EQ(Sjis::FromUtf8("東\xFF京"), "\x93\x8C?\x8B\x9E");
    EXPECT_FALSE(Sjis::TryFromUtf8("A😀B").has_value());
    EXPECT_FALSE(Sjis::TryFromUtf8("\xE6\x9D").has_value());
    EXPECT_EQ(Sjis::TryFromUtf8(""), std::string());
}

TEST(SjisText, CharacterBoundaries) {
    // "ソ" is 83 5C: its trail byte looks like a backslash, and trail bytes like lead bytes.
    const std::string text = "\x83\x5C"
                             "A"
                             "\xB1"
                             "\x93\x8C";
    EXPECT_EQ(Sjis::CharBytesAt(text, 0), 2u);
    EXPECT_EQ(Sjis::CharBytesAt(text, 2), 1u);
    EXPECT_EQ(Sjis::CharBytesAt(text, 3), 1u);
    EXPECT_EQ(Sjis::CharBytesAt(text, 4), 2u);
    EXPECT_EQ(Sjis::CharBytesAt(text, 6), 0u);
    EXPECT_EQ(Sjis::CharBytesAt("\x93", 0), 1u);
    EXPECT_EQ(Sjis::CharCount(text), 4u);
    EXPECT_FALSE(Sjis::IsInsideChar(text, 0));
    EXPECT_TRUE(Sjis::IsInsideChar(text, 1));
    EXPECT_FALSE(Sjis::IsInsideChar(text, 2));
    EXPECT_TRUE(Sjis::IsInsideChar(text, 5));
    // 93 8C 93 8C: the second byte 8C is also a lead byte; only a scan from the start tells.
    EXPECT_TRUE(Sjis::IsInsideChar("\x93\x8C\x93\x8C", 3));
    EXPECT_TRUE(Sjis::IsLeadByte('\x81') && Sjis::IsLeadByte('\x9F') && Sjis::IsLeadByte('\xE0'));
    EXPECT_FALSE(Sjis::IsLeadByte('\xA0') || Sjis::IsLeadByte('\xDF') || Sjis::IsLeadByte('\xFD'));
}

TEST(SjisText, CuttingNeverSplitsACharacter) {
    const std::string text = Sjis::FromUtf8("東京ｱ11R");
    EXPECT_EQ(Sjis::CutToWidth(text, 0), "");
    EXPECT_EQ(Sjis::CutToWidth(text, 1), "");
    EXPECT_EQ(Sjis::CutToWidth(text, 3), Sjis::FromUtf8("東"));
    EXPECT_EQ(Sjis::CutToWidth(text, 5), Sjis::FromUtf8("東京ｱ"));
    EXPECT_EQ(Sjis::CutToWidth(text, 99), text);
    EXPECT_EQ(Sjis::FitToWidth(text, 3), Sjis::FromUtf8("東") + " ");
    EXPECT_EQ(Sjis::FitToWidth("AB", 4), "AB  ");
    EXPECT_EQ(Sjis::FitToWidth("ABCDEF", 4), "ABCD");
}

TEST(SjisText, TrimmingTakesHalfWidthBlanksOnly) {
    const std::string wide(Sjis::kWideBlank);
    EXPECT_EQ(Sjis::TrimBlanks("  12 "), "12");
    EXPECT_EQ(Sjis::TrimBlanks("    "), "");
    EXPECT_EQ(Sjis::TrimBlanks(""), "");
    EXPECT_EQ(Sjis::TrimLeftBlanks(" 1 "), "1 ");
    EXPECT_EQ(Sjis::TrimRightBlanks(" 1 "), " 1");
    EXPECT_EQ(Sjis::TrimBlanks(" " + wide + "A" + wide + " "), wide + "A" + wide);
}

} // namespace
