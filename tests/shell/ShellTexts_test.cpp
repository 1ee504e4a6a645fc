#include "shell/ShellTexts.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using keiba::test::S;

TEST(ShellTexts, AsTheProgramShowsThem) {
    // Full-width ampersand and one trailing blank in the title; a half-width one in the
    // main window's caption.
    EXPECT_EQ(shell::ApplicationTitle(), "Tomberly\x81\x95\x8B\xA3\x94\x6E\x90\x56\x95\xB7 ");
    EXPECT_EQ(shell::MainFormCaption(), "Tomberly&\x8B\xA3\x94\x6E\x90\x56\x95\xB7");
    EXPECT_EQ(shell::ProductName(), S("Tomberly＆競馬新聞"));
    EXPECT_EQ(shell::JVLinkMissingText(),
              S("JRA-VANのホームページより【JV-Link】を入手し、インストールしてください。"));
    EXPECT_EQ(shell::VersionWindowComment(), "for JRA-VAN Data Lab.");
}

TEST(ShellTexts, HelpFailuresNameTheFile) {
    const std::filesystem::path file = std::filesystem::path("root") / "Quillmead.chm";
    const std::string separator = std::filesystem::path::preferred_separator == '\\' ? "\\" : "/";
    EXPECT_EQ(shell::HelpFileMissingText(file),
              S("ヘルプファイルが見つかりません。") + "\r\nroot" + separator + "Quillmead.chm");
    EXPECT_EQ(shell::HelpOpenFailedText(file),
              S("ヘルプを表示できませんでした。") + "\r\nroot" + separator + "Quillmead.chm");
}

} // namespace

namespace {

TEST(ShellTexts, JVLinkCallFailureCarriesThePrefix) {
    using keiba::test::S;
    EXPECT_EQ(shell::JVLinkCallFailedText("JVInit", "JVInit: the component has no such member"),
              S("JVInitエラー：JVInit: the component has no such member"));
    EXPECT_EQ(shell::JVLinkCallFailedText("JVInit", "失敗"), S("JVInitエラー：失敗"));
}

} // namespace
