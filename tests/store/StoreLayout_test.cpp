#include "horse/HorseMasterConversion.h"
#include "store/StoreLayout.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using namespace store;
using keiba::test::S;
using keiba::test::Show;

// ---- File names ---------------------------------------------------------------------------

TEST(StoreNames, RaceDayFilesShareTheDayAndCourseName) {
    struct Case {
        const char* dateAndCourse;
        const char* base; // UTF-8 as typed from the store layout
    } const cases[] = {
        {"2004050105", "2004年05月01日東京"},
        {"2004123109", "2004年12月31日阪神"},
        {"2005010201", "2005年01月02日札幌"},
        {"2005010258", "2005年01月02日札幌"}, // a local meeting at a central course
        {"2005010248", "2005年01月02日名古"},
        {"20050102A6", "2005年01月02日イギ"},
        {"2005010299", "2005年01月02日    "}, // an unlisted code keeps four blanks
    };
    for (const auto& c : cases) {
        const auto base = RaceDayBaseName(c.dateAndCourse);
        ASSERT_TRUE(base) << c.dateAndCourse;
        EXPECT_EQ(*base, S(c.base)) << Show(*base);
        EXPECT_EQ(base->size(), 18u);
        const auto races = RaceDayFile(TStoreFileKind::RaceDayRaces, c.dateAndCourse);
        const auto slots = RaceDayFile(TStoreFileKind::RunnerSlots, c.dateAndCourse);
        const auto payoffs = RaceDayFile(TStoreFileKind::RaceDayPayoffs, c.dateAndCourse);
        ASSERT_TRUE(races && slots && payoffs);
        EXPECT_EQ(races->Text(), "DATA\\" + S(c.base) + ".jvRA");
        EXPECT_EQ(slots->Text(), "DATA\\" + S(c.base) + ".jvSEr");
        EXPECT_EQ(payoffs->Text(), "DATA\\" + S(c.base) + ".jvHR");
    }
    EXPECT_FALSE(RaceDayFile(TStoreFileKind::Results, "2004050105"))
        << "only the three race-day kinds live in DATA";
}

TEST(StoreNames, ResultHistoryMasterAndCourseRecordFiles) {
    EXPECT_EQ(ResultFile("2004050105")->Text(), "SEIR\\2004\\2004050105.jvSERA");
    EXPECT_EQ(HorseHistoryFile("2001104567")->Text(), "SEI\\2001\\2001104567.jvSEI");
    EXPECT_EQ(HorseMasterFile("2001104567")->Text(), "UM2\\2001\\2001104567.jvUM2");
    EXPECT_EQ(CourseRecordFile("1", "05", "13", "1600", "11")->Text(), "REC\\10513160011.jvRC");
    EXPECT_EQ(CourseRecordFile("2", "A6", "11", "2400", "10")->Text(), "REC\\2A611240010.jvRC");

    EXPECT_EQ(HorseMasterFile("2001104567")->kind, TStoreFileKind::HorseMaster);
    EXPECT_EQ(ResultFile("2004050105")->kind, TStoreFileKind::Results);
}

TEST(StoreNames, HorseMasterPathIsTheOneTheDayLoadReads) {
    keiba::test::TempDir root;
    const auto file = HorseMasterFile("2001104567");
    ASSERT_TRUE(file);
    EXPECT_EQ(StorePath(root.path(), *file),
              *horse::HorseMasterFilePath(root.path(), "2001104567"));
}

TEST(StoreNames, FieldsThatCannotNameAFileAreRefused) {
    const char* badDates[] = {
        "2004/50105",  "..\\..\\..",  "2004 50105", "200405010",      "2004050",
        "20040501\t5", "2004050105 ", "20040501..", "2004050105\x81", "          ",
    };
    for (const char* d : badDates) {
        EXPECT_FALSE(RaceDayBaseName(d)) << Show(d);
        EXPECT_FALSE(ResultFile(d)) << Show(d);
    }
    EXPECT_FALSE(RaceDayBaseName("2004050105x")) << "eleven bytes";
    EXPECT_FALSE(RaceDayBaseName("20040501a5")) << "code characters are capitals";

    const char* badNumbers[] = {"..\\2001104", "2001/04567", "20011 4567", "200110456",
                                "20011045678", "          ", "2001104.67"};
    for (const char* n : badNumbers) {
        EXPECT_FALSE(HorseHistoryFile(n)) << Show(n);
        EXPECT_FALSE(HorseMasterFile(n)) << Show(n);
    }
    EXPECT_FALSE(HorseHistoryFile(std::string_view("200110456\0", 10)));

    EXPECT_FALSE(CourseRecordFile(" ", "05", "13", "1600", "11"));
    EXPECT_FALSE(CourseRecordFile("1", "..", "13", "1600", "11"));
    EXPECT_FALSE(CourseRecordFile("1", "05", "1/", "1600", "11"));
    EXPECT_FALSE(CourseRecordFile("1", "05", "13", "16 0", "11"));
    EXPECT_FALSE(CourseRecordFile("1", "05", "13", "1600", "\\1"));
    EXPECT_FALSE(CourseRecordFile("A", "05", "13", "1600", "11")) << "the kind is a digit";
}

TEST(StoreNames, KanjiNamesReachTheFileSystemAsCharacters) {
    keiba::test::TempDir root;
    const auto file = RaceDayFile(TStoreFileKind::RaceDayRaces, "2004050105");
    const fs::path path = StorePath(root.path(), *file);
    EXPECT_EQ(path.parent_path(), root.path() / "DATA");
    EXPECT_TRUE(path.filename() == fs::path(u8"2004年05月01日東京.jvRA")) << path;

    // "ポ" is 83 7C in Shift-JIS: its second byte is '|' as ASCII, which no Windows name may
    // hold, but as a character the name is fine.
    const fs::path portugal =
        StorePath(root.path(), *RaceDayFile(TStoreFileKind::RunnerSlots, "20050102D4"));
    EXPECT_TRUE(portugal.filename() == fs::path(u8"2005年01月02日ポル.jvSEr")) << portugal;
    fs::create_directories(portugal.parent_path());
    keiba::test::WriteFileBytes(portugal, "x");
    EXPECT_TRUE(fs::exists(portugal));

    const fs::path nested = StorePath(root.path(), *ResultFile("2004050105"));
    EXPECT_EQ(nested, root.path() / "SEIR" / "2004" / "2004050105.jvSERA");
}

// ---- Runner slots -------------------------------------------------------------------------

TEST(RunnerSlots, SlotOfRaceAndHorseNumber) {
    EXPECT_EQ(RunnerSlot(1, 1), 0u);
    EXPECT_EQ(RunnerSlot(1, 18), 17u);
    EXPECT_EQ(RunnerSlot(2, 1), 18u);
    EXPECT_EQ(RunnerSlot(12, 18), 215u);
    EXPECT_FALSE(RunnerSlot(0, 1));
    EXPECT_FALSE(RunnerSlot(1, 0));
    EXPECT_FALSE(RunnerSlot(13, 1));
    EXPECT_FALSE(RunnerSlot(1, 19));
    EXPECT_FALSE(RunnerSlot(-1, 5));

    const auto file = NewSlotFile();
    ASSERT_EQ(file.size(), 216u);
    EXPECT_EQ(JoinLines(file).size(), 119880u);
    EXPECT_EQ(file[100], std::string(553, ' '));
}

TEST(RunnerSlots, SlotWriteFillsAShortFileAndKeepsItsLines) {
    std::vector<std::string> lines = {"first", "second"};
    SlotWrite(lines, 200, std::string(553, 'x'));
    ASSERT_EQ(lines.size(), 216u);
    EXPECT_EQ(lines[0], "first");
    EXPECT_EQ(lines[1], "second");
    EXPECT_EQ(lines[2], std::string(553, ' '));
    EXPECT_EQ(lines[200], std::string(553, 'x'));

    std::vector<std::string> fresh;
    ApplyLine(TStoreFileKind::RunnerSlots, fresh, false, std::string(553, 'y'), 5);
    ASSERT_EQ(fresh.size(), 216u);
    EXPECT_EQ(fresh[5], std::string(553, 'y'));
    EXPECT_EQ(fresh[4], std::string(553, ' '));
}

// ---- Lines --------------------------------------------------------------------------------

TEST(StoreLines, SplitAsATextListLoadsAFile) {
    using V = std::vector<std::string>;
    struct Case {
        std::string_view bytes;
        V lines;
    } const cases[] = {
        {"", {}},
        {"\r\n", {""}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\rb", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitLines(c.bytes), c.lines) << Show(c.bytes);
    }
    EXPECT_EQ(JoinLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
    EXPECT_EQ(JoinedSize({"a", "", "b"}), 8u);
    EXPECT_EQ(JoinLines({}), "");
}

TEST(StoreLines, SavedLinesLoadBackAsTheSameLines) {
    const std::vector<std::string> lines = {"", "   ", std::string(553, 'z'), "\x81\x40x"};
    EXPECT_EQ(SplitLines(JoinLines(lines)), lines);
}

// A line of the merged kinds: 11 header bytes, the 16-byte race key, a tail.
std::string Line(std::string_view key, std::string_view tail,
                 std::string_view head = "RA000000000") {
    return std::string(head) + std::string(key) + std::string(tail);
}

TEST(KeyedMerge, ReplacesTheLineOfTheSameKeyAndKeepsTheOrder) {
    std::vector<std::string> lines;
    KeyedMerge(lines, Line("2004050105020303", "b"), false);
    KeyedMerge(lines, Line("2004050105020301", "a"), false);
    KeyedMerge(lines, Line("2004050105020302", "c"), false);
    KeyedMerge(lines, Line("2004050105020301", "z"), false);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], Line("2004050105020301", "z"));
    EXPECT_EQ(lines[1], Line("2004050105020302", "c"));
    EXPECT_EQ(lines[2], Line("2004050105020303", "b"));
}

TEST(KeyedMerge, OnlyTheFirstOfTwoEqualKeysIsReplaced) {
    std::vector<std::string> lines = {Line("2004050105020301", "a"), Line("2004050105020301", "b")};
    KeyedMerge(lines, Line("2004050105020301", "c"), false);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], Line("2004050105020301", "b"));
    EXPECT_EQ(lines[1], Line("2004050105020301", "c"));
}

TEST(KeyedMerge, ABlankFirstLineGoesOnlyFromRacesFiles) {
    const std::vector<std::string> start = {"", std::string(10, ' '),
                                            Line("2004050105020302", "b")};
    std::vector<std::string> races = start;
    KeyedMerge(races, Line("2004050105020301", "a"), true);
    ASSERT_EQ(races.size(), 3u) << "one blank line goes per merge";
    EXPECT_EQ(races[0], std::string(10, ' '));
    KeyedMerge(races, Line("2004050105020301", "a"), true);
    ASSERT_EQ(races.size(), 2u);
    EXPECT_EQ(races[0], Line("2004050105020301", "a"));

    std::vector<std::string> payoffs = start;
    KeyedMerge(payoffs, Line("2004050105020301", "a"), false);
    EXPECT_EQ(payoffs.size(), 4u);
}

TEST(KeyedMerge, SortsByByteValueAndComparesKeysOnly) {
    std::vector<std::string> lines = {"short"};
    KeyedMerge(lines, Line("20040501A6020301", "x"), false);
    KeyedMerge(lines, Line("2004050105020301", "y"), false);
    ASSERT_EQ(lines.size(), 3u) << "a line too short for a key matches no key";
    EXPECT_EQ(lines[0], Line("2004050105020301", "y"));
    EXPECT_EQ(lines[1], Line("20040501A6020301", "x"));
    EXPECT_EQ(lines[2], "short");

    std::vector<std::string> kanji = {Line("2004050105020301", "\x93\x8c")};
    KeyedMerge(kanji, Line("2004050105020302", "a"), false);
    EXPECT_EQ(kanji[0], Line("2004050105020301", "\x93\x8c"))
        << "bytes above 0x7F compare as unsigned, after the key decided";
}

// ---- Folders ------------------------------------------------------------------------------

TEST(StoreFolders, CreatesTheFiveFoldersOnce) {
    keiba::test::TempDir root;
    ASSERT_TRUE(CreateStoreFolders(root.path()));
    for (const char* name : {"DATA", "SEI", "SEIR", "UM2", "REC"}) {
        EXPECT_TRUE(fs::is_directory(root / name)) << name;
    }
    keiba::test::WriteFileBytes(root / "DATA" / "keep.txt", "x");
    ASSERT_TRUE(CreateStoreFolders(root.path())) << "existing folders are fine";
    EXPECT_TRUE(fs::exists(root / "DATA" / "keep.txt"));
}

TEST(StoreFolders, NamesTheFolderThatCannotBeCreated) {
    keiba::test::TempDir root;
    keiba::test::WriteFileBytes(root / "SEIR", "a file where a folder belongs");
    const TStoreFoldersResult result = CreateStoreFolders(root.path());
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.folder, "SEIR");
    EXPECT_EQ(result.path, root.path() / "SEIR");
    EXPECT_TRUE(result.error);
    EXPECT_TRUE(result.message.starts_with(S("フォルダを作成できません:"))) << Show(result.message);
    EXPECT_NE(result.message.find("SEIR"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(root / "DATA")) << "folders before it were made";
    EXPECT_TRUE(fs::is_directory(root / "SEI"));
    EXPECT_FALSE(fs::exists(root / "UM2")) << "the first failure stops";

    const TStoreFoldersResult missing = CreateStoreFolders(root / "no" / "such");
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.folder, "DATA");
}

} // namespace
