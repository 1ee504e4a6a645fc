#include "shell/ProgramVersion.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using keiba::test::S;
using keiba::test::Show;

TEST(JVLinkVersion, DisplayFormJoinsTheLastThreeDigits) {
    EXPECT_EQ(shell::JVLinkVersionDisplay("0490"), "4.9.0");
    EXPECT_EQ(shell::JVLinkVersionDisplay("0480"), "4.8.0");
    EXPECT_EQ(shell::JVLinkVersionDisplay("0512"), "5.1.2");
    // Only the second to fourth characters count.
    EXPECT_EQ(shell::JVLinkVersionDisplay("04901"), "4.9.0");
    // Short or empty texts from a broken component give what is there, never more.
    EXPECT_EQ(shell::JVLinkVersionDisplay("049"), "4.9");
    EXPECT_EQ(shell::JVLinkVersionDisplay("0"), "");
    EXPECT_EQ(shell::JVLinkVersionDisplay(""), "");
}

TEST(JVLinkVersion, ComparedAsTextWithTheRequiredVersion) {
    EXPECT_FALSE(shell::IsJVLinkVersionTooOld("0490"));
    EXPECT_FALSE(shell::IsJVLinkVersionTooOld("0500"));
    EXPECT_FALSE(shell::IsJVLinkVersionTooOld("0491"));
    EXPECT_FALSE(shell::IsJVLinkVersionTooOld("04900")); // longer after an equal start
    EXPECT_FALSE(shell::IsJVLinkVersionTooOld("1000"));
    EXPECT_TRUE(shell::IsJVLinkVersionTooOld("0480"));
    EXPECT_TRUE(shell::IsJVLinkVersionTooOld("0489"));
    EXPECT_TRUE(shell::IsJVLinkVersionTooOld("049")); // shorter after an equal start
    EXPECT_TRUE(shell::IsJVLinkVersionTooOld(""));
    // Text comparison, not numbers: a blank sorts before the digits.
    EXPECT_TRUE(shell::IsJVLinkVersionTooOld(" 500"));
    EXPECT_FALSE(shell::IsJVLinkVersionTooOld("490"));
}

TEST(JVLinkVersion, NoticeHasThreeLinesWithTheInstalledVersion) {
    const std::string expected =
        S("ご利用中のJV-Linkのバージョンは[4.8.0]です。") + "\r\n" +
        S("本ソフトのご利用にはバージョン[4.9.0]以上が必要です。") + "\r\n" +
        S("JRA-VANのホームページより最新のJV-Linkを入手し、インストールしてください。");
    EXPECT_EQ(shell::JVLinkVersionNotice("0480"), expected)
        << Show(shell::JVLinkVersionNotice("0480"));
    const std::string start = S("ご利用中のJV-Linkのバージョンは[3.1.2]です。\r\n");
    EXPECT_EQ(shell::JVLinkVersionNotice("0312").substr(0, start.size()), start);
}

TEST(SoftwareIdentifier, CarriesTheVersionAndSuitsJVInit) {
    EXPECT_EQ(shell::kVersionText, "Ver.1.30");
    const std::string sid = shell::SoftwareIdentifier();
    EXPECT_NE(sid.find("Ver.1.30"), std::string::npos) << sid;
    EXPECT_EQ(sid, shell::SoftwareIdentifier("Ver.1.30"));
    EXPECT_EQ(shell::SoftwareIdentifier("Ver.2.00").find("Ver.2.00"), sid.find("Ver.1.30"));
    // What JV-Link refuses: empty (-101), 64 bytes or more (-102), a leading blank (-103).
    EXPECT_FALSE(sid.empty());
    EXPECT_LT(sid.size(), 64u);
    EXPECT_NE(sid.front(), ' ');
    for (char c : sid) {
        EXPECT_TRUE(c > ' ' && c < 0x7F) << "printable ASCII only: " << sid;
    }
}

} // namespace
