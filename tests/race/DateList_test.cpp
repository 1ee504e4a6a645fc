#include "files/ProgramFolder.h"
#include "race/DateList.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using keiba::test::S;
using keiba::test::TempDir;
using race::DateListFromNames;

std::vector<std::string> Sjis(std::initializer_list<const char*> utf8) {
    std::vector<std::string> out;
    for (const char* text : utf8) {
        out.push_back(S(text));
    }
    return out;
}

TEST(DateList, NewestDateFirstAndOneDatesCoursesInDescendingNameOrder) {
    const auto entries = DateListFromNames(Sjis({
        "2004年05月01日東京.jvRA",
        "2004年04月25日京都.jvRA",
        "2004年05月02日東京.jvRA",
        "2004年05月01日京都.jvRA",
        "2004年05月01日新潟.jvRA",
        "2003年12月28日中山.jvRA",
    }));
    // Within 2004年05月01日 the names order by their Shift-JIS bytes: 京都 (8B 9E) < 新潟
    // (90 56) < 東京 (93 8C); walked from the last, 東京 comes first.
    EXPECT_EQ(entries, Sjis({
                           "2004年05月02日東京",
                           "2004年05月01日東京",
                           "2004年05月01日新潟",
                           "2004年05月01日京都",
                           "2004年04月25日京都",
                           "2003年12月28日中山",
                       }));
    for (const auto& entry : entries) {
        EXPECT_EQ(entry.size(), race::kDateEntryLength);
    }
}

TEST(DateList, OnlyRaceDayRaceFilesMakeEntries) {
    const auto entries = DateListFromNames(Sjis({
        "2004年05月01日東京.jvSEr", "2004年05月01日東京.jvHR",
        "2004年05月01日東京.JVRA",     // the extension's letter case does not matter
        "2004年05月01日東京.jvra",     // a second spelling of the same file: one entry
        "2004年05月08日東京 (2).jvRA", // a copy: its first 18 bytes are no base name of its own
        "2004年05月08日.jvRA", "notes.jvRA", "2004年05月08日東京.jvRA.bak",
        "2004年05月15日    .jvRA", // an unlisted racecourse code keeps its blanks
    }));
    EXPECT_EQ(entries, Sjis({"2004年05月15日    ", "2004年05月01日東京"}));
    EXPECT_TRUE(DateListFromNames({}).empty());
}

TEST(DateList, NameOrderFoldsOnlyWholeAsciiLetters) {
    EXPECT_TRUE(race::NameLess("a", "B"));
    EXPECT_TRUE(race::NameLess("B", "c"));
    EXPECT_FALSE(race::NameLess("A", "a"));
    EXPECT_FALSE(race::NameLess("a", "A"));
    // "\x83\x41" (ア) and "\x83\x61" (ダ-row): their second bytes look like 'A' and 'a' but are
    // halves of characters and are compared as they are.
    EXPECT_TRUE(race::NameLess("\x83\x41", "\x83\x61"));
    EXPECT_FALSE(race::NameLess("\x83\x61", "\x83\x41"));
}

TEST(DateList, ReadsTheDataFolderOfTheStore) {
    TempDir root;
    EXPECT_TRUE(race::MakeDateList(root.path()).entries.empty()) << "no DATA folder: no entry";
    EXPECT_FALSE(race::MakeDateList(root.path()).error);

    fs::create_directories(root / "DATA");
    for (const char* name : {"2004年05月01日東京.jvRA", "2004年05月01日東京.jvSEr",
                             "2004年05月02日京都.jvRA", "2004年05月08日阪神.jvRA"}) {
        keiba::test::WriteFileBytes(root.path() / "DATA" / files::PathFromText(S(name)), "x");
    }
    fs::create_directories(root.path() / "DATA" /
                           files::PathFromText(S("2004年06月01日東京.jvRA")));
    const race::TDateListResult result = race::MakeDateList(root.path());
    EXPECT_FALSE(result.error);
    EXPECT_EQ(result.entries,
              Sjis({"2004年05月08日阪神", "2004年05月02日京都", "2004年05月01日東京"}))
        << "a folder named like a races file is no race day";
}

} // namespace
