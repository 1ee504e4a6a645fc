#include "files/NameSpelling.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using keiba::test::WriteFileBytes;

TEST(NameSpelling, FindsAFileInAnyLetterCaseOfItsNameAndFolders) {
    keiba::test::TempDir dir;
    const fs::path root = dir.path();
    fs::create_directories(root / "DATA");
    const fs::path upper = root / "DATA" / fs::path(u8"2004年05月01日東京.JVRA");
    WriteFileBytes(upper, "x");
    files::TNameSpellings names;
    // A spelling that opens the file (on Windows the asked one may already do).
    const auto opens = [&](const std::optional<fs::path>& found) {
        return found && fs::equivalent(*found, upper);
    };
    EXPECT_EQ(names.Find(upper), upper);
    EXPECT_TRUE(opens(names.Find(root / "DATA" / fs::path(u8"2004年05月01日東京.jvRA"))));
    EXPECT_TRUE(
        opens(names.FindOtherSpelling(root / "Data" / fs::path(u8"2004年05月01日東京.jvra"))));
    // No spelling: another name, a missing folder, a file taken for a folder.
    EXPECT_FALSE(names.Find(root / "DATA" / fs::path(u8"2004年05月02日東京.jvRA")));
    EXPECT_FALSE(names.Find(root / "UM2" / "2001" / "2001100001.jvUM2"));
    EXPECT_FALSE(names.Find(upper / "x"));
    // Only A-Z are folded, never full-width letters.
    EXPECT_EQ(files::FoldedName(fs::path(u8"ＡÄ.JvRA-Z@[").native()),
              fs::path(u8"ＡÄ.jvra-z@[").native());
}

} // namespace
