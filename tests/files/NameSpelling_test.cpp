#include "files/NameSpelling.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using keiba::test::TempDir;
using keiba::test::WriteFileBytes;

TEST(NameSpelling, FindsAStoreFileInAnyLetterCaseOfItsExtensionAndFolders) {
    TempDir root;
    fs::create_directories(root.path() / "DATA");
    fs::create_directories(root.path() / "SEI" / "2001");
    WriteFileBytes(root.path() / "DATA" / fs::path(u8"2004年05月01日東京.JVRA"), "x");
    WriteFileBytes(root.path() / "SEI" / "2001" / "2001100001.jvSEI", "x");
    files::TNameSpellings names;

    // As spelt: the path itself.
    const fs::path exact = root.path() / "SEI" / "2001" / "2001100001.jvSEI";
    EXPECT_EQ(names.Find(exact), exact);
    // Another spelling of the extension, and of a folder too.
    const fs::path upper = root.path() / "DATA" / fs::path(u8"2004年05月01日東京.JVRA");
    EXPECT_EQ(names.Find(root.path() / "DATA" / fs::path(u8"2004年05月01日東京.jvRA")), upper);
    EXPECT_EQ(names.FindOtherSpelling(root.path() / "Data" / fs::path(u8"2004年05月01日東京.jvra")),
              upper);
    EXPECT_EQ(names.Find(root.path() / "sei" / "2001"), root.path() / "SEI" / "2001");
    // No spelling at all: a missing name, a missing folder, a name that differs in more than case.
    EXPECT_FALSE(names.Find(root.path() / "DATA" / fs::path(u8"2004年05月02日東京.jvRA")));
    EXPECT_FALSE(names.Find(root.path() / "UM2" / "2001" / "2001100001.jvUM2"));
    EXPECT_FALSE(names.Find(root.path() / "DATA" / fs::path(u8"2004年05月01日東京.jvRA ")));
    EXPECT_FALSE(names.Find(root.path() / "DATA" / fs::path(u8"2004年05月01日東京.jvRA") / "x"));
}

TEST(NameSpelling, FoldsOnlyTheLettersAToZ) {
    EXPECT_EQ(files::FoldedName(fs::path(u8"東京.JvRA-Z@[").native()),
              fs::path(u8"東京.jvra-z@[").native());
    EXPECT_EQ(files::FoldedName(fs::path(u8"ＡÄ").native()), fs::path(u8"ＡÄ").native());
}

#if !defined(_WIN32)
// Only a case-sensitive file system can hold two spellings of one name.
TEST(NameSpelling, SeveralSpellingsGiveTheFirstInByteOrder) {
    TempDir root;
    for (const char* name : {"b.jvRA", "a.jvra", "a.JVRA", "a.Jvra"}) {
        WriteFileBytes(root.path() / name, "x");
    }
    WriteFileBytes(root.path() / fs::path(u8"ａ.jvRA"), "x");
    files::TNameSpellings names;
    EXPECT_EQ(names.Find(root.path() / "A.jvRA"), root.path() / "a.JVRA");
    EXPECT_EQ(names.Find(root.path() / "a.jvra"), root.path() / "a.jvra");
    // Full-width letters are not folded.
    EXPECT_FALSE(names.Find(root.path() / fs::path(u8"Ａ.jvRA")));
}
#endif

} // namespace
