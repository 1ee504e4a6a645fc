#include "files/ProgramFolder.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using keiba::test::S;

TEST(ProgramFolder, IsTheFolderOfTheRunningProgram) {
    const fs::path& file = files::ProgramFile();
    EXPECT_TRUE(file.is_absolute()) << file;
    EXPECT_TRUE(fs::is_regular_file(file)) << file;
    EXPECT_EQ(file.stem(), fs::path("files_tests"));
    EXPECT_EQ(files::ProgramFolder(), file.parent_path());
    EXPECT_FALSE(files::ProgramFolder().filename().empty()) << "no trailing separator";
}

TEST(ProgramFolder, PathTextsConvertAtTheEdge) {
    // Kanji whose second byte is "\" (表 95 5C, 能 94 5C) stay whole.
    const fs::path bare = files::PathFromText(S("表能.ini"));
    EXPECT_FALSE(bare.has_parent_path());
    EXPECT_EQ(bare, fs::path(u8"表能.ini"));

    const fs::path nested = files::PathFromText(S("競馬\\表.ini"));
    EXPECT_EQ(nested.parent_path(), fs::path(u8"競馬"));
    EXPECT_EQ(nested.filename(), fs::path(u8"表.ini"));

    const std::string separator = fs::path::preferred_separator == '\\' ? "\\" : "/";
    EXPECT_EQ(files::TextFromPath(fs::path(u8"競馬") / u8"表.ini"),
              S("競馬") + separator + S("表.ini"));
    EXPECT_EQ(files::TextFromPath(files::PathFromText(S("競馬/表.ini"))),
              S("競馬") + separator + S("表.ini"));

    // A name outside CP932 (Hangul) has no exact text.
    EXPECT_FALSE(files::TryTextFromPath(fs::path(u8"한.ini")).has_value());
    EXPECT_EQ(files::TextFromPath(fs::path(u8"한.ini")), "?.ini");
    EXPECT_EQ(files::TryTextFromPath(fs::path(u8"設定.ini")), S("設定.ini"));
}

} // namespace
