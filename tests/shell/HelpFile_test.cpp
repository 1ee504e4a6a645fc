#include "shell/HelpFile.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

using shell::HelpFilePath;
using shell::HelpHtmlIndex;
namespace fs = std::filesystem;

TEST(HelpFile, CompiledHelpLiesInTheDataRootUnderItsFixedName) {
    const fs::path root = fs::path("keiba") / "Tomberly";
    EXPECT_EQ(HelpFilePath(root), root / "Quillmead.chm");
    EXPECT_EQ(HelpFilePath(root).filename().string(), "Quillmead.chm");
    EXPECT_EQ(HelpFilePath(root).parent_path(), root);
}

TEST(HelpFile, HtmlContentsPageLiesInTheHelpFolderOfTheDataRoot) {
    const fs::path root = fs::path("keiba") / "Tomberly";
    EXPECT_EQ(HelpHtmlIndex(root), root / "help" / "index.html");
    EXPECT_EQ(HelpHtmlIndex(root).parent_path().parent_path(), root);
}

TEST(HelpFile, TrailingSeparatorOnTheDataRootNamesTheSameFiles) {
    const fs::path root = fs::path("keiba") / "Tomberly";
    const fs::path withSeparator = root / "";
    EXPECT_EQ(HelpFilePath(withSeparator), HelpFilePath(root));
    EXPECT_EQ(HelpHtmlIndex(withSeparator), HelpHtmlIndex(root));
}

TEST(HelpFile, AbsoluteDataRootStaysAbsolute) {
    const fs::path root = fs::current_path() / "Tomberly";
    EXPECT_TRUE(HelpFilePath(root).is_absolute());
    EXPECT_TRUE(HelpHtmlIndex(root).is_absolute());
    EXPECT_EQ(HelpFilePath(root).parent_path(), root);
}

TEST(HelpFile, DataRootWithJapaneseFolderNameIsKept) {
    const fs::path root = fs::path(u8"競馬") / u8"新聞";
    EXPECT_EQ(HelpFilePath(root), root / "Quillmead.chm");
    EXPECT_EQ(HelpHtmlIndex(root), root / "help" / "index.html");
}

} // namespace
