#include "files/ProgramFolder.h"
#include "settings/TIniGT.h"
#include "support/TestSupport.h"

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;
using keiba::test::ReadFileBytes;
using keiba::test::S;
using keiba::test::Show;
using keiba::test::TempDir;
using keiba::test::WriteFileBytes;
using settings::TIniGT;
using settings::TIniGTDefaultDir;
using settings::TIniGTError;
using settings::TIniGTStatus;

// A settings component on the file name in dir, named by its full path text.
TIniGT IniIn(const TempDir& dir, std::string_view name = "Tomberly.ini") {
    return TIniGT(files::TextFromPath(dir / name));
}

::testing::AssertionResult Ok(const TIniGTStatus& status) {
    if (status.ok()) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << Show(status.message);
}

// Files of the folder other than the settings file: temporary files must not stay behind.
std::vector<std::string> OtherFiles(const TempDir& dir, std::string_view keep) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        if (entry.path().filename() != keep) {
            names.push_back(entry.path().filename().string());
        }
    }
    return names;
}

bool RunningAsRoot() {
#if defined(_WIN32)
    return false;
#else
    return geteuid() == 0;
#endif
}

// ---- Reading ------------------------------------------------------------------------------

TEST(TIniGTRead, MissingFileSectionOrKeyGivesTheDefault) {
    TempDir dir;
    TIniGT ini = IniIn(dir);
    EXPECT_EQ(ini.ReadInteger("locate", "top", 10), 10);
    EXPECT_EQ(ini.ReadInteger("PrintZoom", "ratio", 1), 1);
    EXPECT_EQ(ini.ReadText("JvDataGet", "LastTime", "2004/04/23 10:00:00"), "2004/04/23 10:00:00");
    EXPECT_EQ(ini.ReadText("JvDataGet", "LastTime", ""), "");
    EXPECT_FALSE(fs::exists(dir / "Tomberly.ini")) << "reading must not create the file";

    WriteFileBytes(dir / "Tomberly.ini", "[locate]\r\nwidth=1024\r\n");
    EXPECT_EQ(ini.ReadInteger("locate", "top", 10), 10);
    EXPECT_EQ(ini.ReadInteger("locate", "width", 900), 1024);
    EXPECT_EQ(ini.ReadInteger("Printlocate", "width", 630), 630);
    EXPECT_EQ(ini.ReadText("JvDataGet", "LastTime", "x"), "x");
}

TEST(TIniGTRead, WithoutFileNameEverythingIsDefaultAndWritesAreRefused) {
    TIniGT ini;
    EXPECT_EQ(ini.FileName(), "");
    EXPECT_EQ(ini.DefaultDir(), TIniGTDefaultDir::ddApplication);
    EXPECT_TRUE(ini.FilePath().empty());
    EXPECT_EQ(ini.ReadInteger("locate", "height", 650), 650);
    EXPECT_EQ(ini.ReadText("JvDataGet", "LastTime", "d"), "d");
    const TIniGTStatus status = ini.WriteInteger("locate", "height", 700);
    EXPECT_EQ(status.code, TIniGTError::NoFileName);
    EXPECT_FALSE(status.message.empty());
}

TEST(TIniGTRead, DefaultsComeBackUnchanged) {
    TempDir dir;
    TIniGT ini = IniIn(dir);
    WriteFileBytes(dir / "Tomberly.ini", "[JvDataGet]\r\nOther=1\r\n");
    const std::vector<std::string> defaults = {
        "", " padded ", "\"\"", "\"quoted\"", S("｢"), S("｣"), S("｢｣"), S("｢x｣"), S("ぅ"),
    };
    for (const std::string& value : defaults) {
        EXPECT_EQ(ini.ReadText("JvDataGet", "LastTime", value), value) << Show(value);
    }
}

TEST(TIniGTRead, QuotedTextsAreUnquoted) {
    // The corner brackets are the single bytes A2 and A3.
    ASSERT_EQ(S("｢｣"), "\xA2\xA3");
    struct Case {
        std::string stored;   // the value as it stands after "LastTime="
        std::string expected; // what reading the text gives
    };
    const std::vector<Case> cases = {
        {S("｢2004/05/01 10:30:00｣"), "2004/05/01 10:30:00"},
        {"\"2004/05/01 10:30:00\"", "2004/05/01 10:30:00"},
        {"\"\"", ""},
        {S("｢｣"), ""},
        {"", ""}, // present but empty is not missing
        {"\"", "\""},
        {S("｢"), S("｢")},
        {S("｣"), S("｣")},
        {"\"abc", "\"abc"},
        {"abc\"", "abc\""},
        {S("｢abc"), S("｢abc")},
        {S("abc｣"), S("abc｣")},
        {S("｢abc\""), S("｢abc\"")},
        {S("\"abc｣"), S("\"abc｣")},
        {"\"\"\"\"", "\"\""},
        {"\"a\"b\"", "a\"b"},
        {S("｢｢x｣｣"), S("｢x｣")},
        {S("\"  二頭  \""), S("  二頭  ")},
        {S("｢　全角　｣"), S("　全角　")},
        {S("  ｢ x ｣  "), " x "},
        {S("｢ぅ｣"), S("ぅ")},
        // The last byte A3 is the second byte of "ぅ" (82 A3), not a closing bracket.
        {S("｢あぅ"), S("｢あぅ")},
        {"x", "x"},
        {"ab", "ab"},
    };
    TempDir dir;
    TIniGT ini = IniIn(dir);
    for (const Case& c : cases) {
        WriteFileBytes(dir / "Tomberly.ini", "[JvDataGet]\r\nLastTime=" + c.stored + "\r\n");
        EXPECT_EQ(ini.ReadText("JvDataGet", "LastTime", "DEFAULT"), c.expected)
            << Show(c.stored) << " read as " << Show(ini.ReadText("JvDataGet", "LastTime", ""));
    }
}

TEST(TIniGTRead, IntegersAndGarbage) {
    struct Case {
        std::string stored;
        int expected; // with the default 77
    };
    const std::vector<Case> cases = {
        {"10", 10},
        {"  -25  ", -25},
        {"+7", 7},
        {"0", 0},
        {"007", 7},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"2147483648", 77},
        {"99999999999999999999", 77},
        {"", 77},
        {"abc", 77},
        {"12abc", 77},
        {"1 2", 77},
        {"3.5", 77},
        {"+", 77},
        {"-", 77},
        {"+-5", 77},
        {"--5", 77},
        {"0x10", 77},
        {"\"10\"", 77},
        {S("１０"), 77},
    };
    TempDir dir;
    TIniGT ini = IniIn(dir);
    for (const Case& c : cases) {
        WriteFileBytes(dir / "Tomberly.ini", "[PrintZoom]\r\nratio=" + c.stored + "\r\n");
        EXPECT_EQ(ini.ReadInteger("PrintZoom", "ratio", 77), c.expected) << Show(c.stored);
    }
}

// ---- The file's syntax ----------------------------------------------------------------------

TEST(TIniGTSyntax, NamesCompareWithoutAsciiCase) {
    TempDir dir;
    TIniGT ini = IniIn(dir);
    WriteFileBytes(dir / "Tomberly.ini",
                   S("[LoCaTe]\r\nTOP=5\r\nWidth=800\r\n[ア]\r\nキーA=1\r\n[ゾーン]\r\nx=2\r\n"));
    EXPECT_EQ(ini.ReadInteger("locate", "top", 10), 5);
    EXPECT_EQ(ini.ReadInteger("LOCATE", "WIDTH", 900), 800);
    EXPECT_EQ(ini.ReadInteger(S("ア"), S("キーa"), 0), 1);
    // "ア" is 83 41 and "ヂ" 83 61: their second bytes differ like 'A' and 'a' but they are
    // different characters.
    EXPECT_EQ(ini.ReadInteger(S("ヂ"), S("キーA"), 0), 0);
    // The second byte of "ゾ" is "]" (5D): the section name does not end there.
    EXPECT_EQ(ini.ReadInteger(S("ゾーン"), "X", 0), 2);

    // A write finds the key the same way and keeps the file's spelling.
    ASSERT_TRUE(Ok(ini.WriteInteger("locate", "top", 6)));
    ASSERT_TRUE(Ok(ini.WriteInteger(S("ゾーン"), "y", 3)));
    EXPECT_EQ(ReadFileBytes(dir / "Tomberly.ini"),
              S("[LoCaTe]\r\nTOP=6\r\nWidth=800\r\n[ア]\r\nキーA=1\r\n[ゾーン]\r\nx=2\r\ny=3\r\n"));
}

TEST(TIniGTSyntax, BlanksCommentsAndLinesWithoutEquals) {
    TempDir dir;
    TIniGT ini = IniIn(dir);
    WriteFileBytes(dir / "Tomberly.ini", "top=99\r\n"             // before any section
                                         "  [ locate ]  \r\n"     // blanks around the name
                                         "; top=1\r\n"            // comment
                                         ";top=2\r\n"             // comment
                                         "top\r\n"                // no equals sign
                                         "\t top \t=\t 42 \t\r\n" // blanks and tabs
                                         "top=50\r\n"             // a later duplicate
                                         "left = \r\n"            // empty value
                                         "=7\r\n"                 // no key
                                         "[locate]\r\n"           // a second section of the name
                                         "width=800\r\n");
    EXPECT_EQ(ini.ReadInteger("locate", "top", 10), 42);
    EXPECT_EQ(ini.ReadInteger(" locate ", " top ", 10), 42);
    EXPECT_EQ(ini.ReadInteger("locate", "left", 10), 10);
    EXPECT_EQ(ini.ReadText("locate", "left", "none"), "");
    EXPECT_EQ(ini.ReadInteger("locate", "width", 900), 900) << "only the first section counts";
    EXPECT_EQ(ini.ReadInteger("locate", "", 1), 1);
}

TEST(TIniGTSyntax, LineEndsAndByteOrderMark) {
    TempDir dir;
    TIniGT ini = IniIn(dir);
    WriteFileBytes(dir / "Tomberly.ini", "\xEF\xBB\xBF[a]\nx=1\n[b]\r\ny=2\rz=3\r\n\r\n[c]\nw=4");
    EXPECT_EQ(ini.ReadInteger("a", "x", 0), 1);
    EXPECT_EQ(ini.ReadInteger("b", "y", 0), 2);
    EXPECT_EQ(ini.ReadInteger("b", "z", 0), 3);
    EXPECT_EQ(ini.ReadInteger("c", "w", 0), 4);
}

// ---- Writing ------------------------------------------------------------------------------

TEST(TIniGTWrite, FirstWriteCreatesTheFileWithCrLf) {
    TempDir dir;
    TIniGT ini = IniIn(dir);
    ASSERT_TRUE(Ok(ini.WriteInteger("locate", "top", 10)));
    ASSERT_TRUE(Ok(ini.WriteInteger("locate", "left", -20)));
    ASSERT_TRUE(Ok(ini.WriteInteger("locate", "width", 900)));
    ASSERT_TRUE(Ok(ini.WriteInteger("locate", "height", 650)));
    EXPECT_EQ(ReadFileBytes(dir / "Tomberly.ini"),
              "[locate]\r\ntop=10\r\nleft=-20\r\nwidth=900\r\nheight=650\r\n");

    ASSERT_TRUE(Ok(ini.WriteText("JvDataGet", "LastTime", "2004/05/01 10:30:00")));
    ASSERT_TRUE(Ok(ini.WriteInteger("locate", "top", 120)));
    EXPECT_EQ(ReadFileBytes(dir / "Tomberly.ini"),
              "[locate]\r\ntop=120\r\nleft=-20\r\nwidth=900\r\nheight=650\r\n"
              "[JvDataGet]\r\nLastTime=2004/05/01 10:30:00\r\n");
    EXPECT_EQ(ini.ReadText("JvDataGet", "LastTime", ""), "2004/05/01 10:30:00");
    EXPECT_EQ(ini.ReadInteger("locate", "left", 10), -20);
    EXPECT_TRUE(OtherFiles(dir, "Tomberly.ini").empty());
}

TEST(TIniGTWrite, EverythingElseInTheFileStays) {
    TempDir dir;
    TIniGT ini = IniIn(dir);
    WriteFileBytes(dir / "Tomberly.ini", "; Tomberly settings\r\n"
                                         "[locate]\r\n"
                                         "  top = 10\r\n"
                                         "left=10\r\n"
                                         "\r\n"
                                         "; print preview\r\n"
                                         "[Printlocate]\n"
                                         "width=630\n"
                                         "\n"
                                         "[Empty]\n"
                                         "[PrintZoom]\r\n"
                                         "ratio=1");
    ASSERT_TRUE(Ok(ini.WriteInteger("locate", "top", 120)));
    ASSERT_TRUE(Ok(ini.WriteInteger("locate", "height", 650)));
    ASSERT_TRUE(Ok(ini.WriteInteger("Printlocate", "height", 450)));
    ASSERT_TRUE(Ok(ini.WriteInteger("Empty", "a", 1)));
    ASSERT_TRUE(Ok(ini.WriteInteger("PrintZoom", "ratio", 3)));
    EXPECT_EQ(ReadFileBytes(dir / "Tomberly.ini"), "; Tomberly settings\r\n"
                                                   "[locate]\r\n"
                                                   "top=120\r\n"
                                                   "left=10\r\n"
                                                   "height=650\r\n"
                                                   "\r\n"
                                                   "; print preview\r\n"
                                                   "[Printlocate]\n"
                                                   "width=630\n"
                                                   "height=450\r\n"
                                                   "\n"
                                                   "[Empty]\n"
                                                   "a=1\r\n"
                                                   "[PrintZoom]\r\n"
                                                   "ratio=3");
    ASSERT_TRUE(Ok(ini.WriteInteger("PrintZoom", "step", 2)));
    ASSERT_TRUE(Ok(ini.WriteText("JvDataGet", "LastTime", "2004/05/01 10:30:00")));
    EXPECT_TRUE(ReadFileBytes(dir / "Tomberly.ini")
                    .ends_with("[PrintZoom]\r\nratio=3\r\nstep=2\r\n"
                               "[JvDataGet]\r\nLastTime=2004/05/01 10:30:00\r\n"));
}

TEST(TIniGTWrite, DuplicatesChangeOnlyTheFirst) {
    TempDir dir;
    TIniGT ini = IniIn(dir);
    WriteFileBytes(dir / "Tomberly.ini", "[a]\r\nx=1\r\nx=2\r\n[a]\r\nx=3\r\ny=4\r\n[b]");
    ASSERT_TRUE(Ok(ini.WriteInteger("A", "X", 9)));
    ASSERT_TRUE(Ok(ini.WriteInteger("a", "y", 8)));
    ASSERT_TRUE(Ok(ini.WriteInteger("b", "z", 7)));
    EXPECT_EQ(ReadFileBytes(dir / "Tomberly.ini"),
              "[a]\r\nx=9\r\nx=2\r\ny=8\r\n[a]\r\nx=3\r\ny=4\r\n[b]\r\nz=7\r\n");
    EXPECT_EQ(ini.ReadInteger("a", "y", 0), 8);
}

TEST(TIniGTWrite, TextIsStoredUnchanged) {
    TempDir dir;
    TIniGT ini = IniIn(dir);
    ASSERT_TRUE(Ok(ini.WriteText("t", "kanji", S("２００４年５月１日"))));
    ASSERT_TRUE(Ok(ini.WriteText("t", "blanks", "  a  ")));
    ASSERT_TRUE(Ok(ini.WriteText("t", "quoted", "\"  a  \"")));
    ASSERT_TRUE(Ok(ini.WriteText("t", "empty", "")));
    EXPECT_EQ(
        ReadFileBytes(dir / "Tomberly.ini"),
        S("[t]\r\nkanji=２００４年５月１日\r\nblanks=  a  \r\nquoted=\"  a  \"\r\nempty=\r\n"));
    EXPECT_EQ(ini.ReadText("t", "kanji", ""), S("２００４年５月１日"));
    // The reader trims blanks; quoting is what keeps them.
    EXPECT_EQ(ini.ReadText("t", "blanks", ""), "a");
    EXPECT_EQ(ini.ReadText("t", "quoted", ""), "  a  ");
    EXPECT_EQ(ini.ReadText("t", "empty", "x"), "");
}

TEST(TIniGTWrite, NamesAndValuesThatWouldNotReadBackAreRefused) {
    TempDir dir;
    TIniGT ini = IniIn(dir);
    const std::string before = "[locate]\r\ntop=10\r\n";
    WriteFileBytes(dir / "Tomberly.ini", before);
    struct Case {
        std::string section, key, value;
        TIniGTError expected;
    };
    const std::vector<Case> cases = {
        {"", "top", "1", TIniGTError::BadName},
        {"  ", "top", "1", TIniGTError::BadName},
        {"a]b", "top", "1", TIniGTError::BadName},
        {"loc\r\nate", "top", "1", TIniGTError::BadName},
        {"ab\x83", "top", "1", TIniGTError::BadName}, // a lone lead byte would swallow "]"
        {"locate", "", "1", TIniGTError::BadName},
        {"locate", "a=b", "1", TIniGTError::BadName},
        {"locate", ";top", "1", TIniGTError::BadName},
        {"locate", "[top", "1", TIniGTError::BadName},
        {"locate", "to\np", "1", TIniGTError::BadName},
        {"locate", std::string("to\0p", 4), "1", TIniGTError::BadName},
        {"locate", "top", "1\r\n[evil]", TIniGTError::BadValue},
        {"locate", "top", "1\r", TIniGTError::BadValue},
        {"locate", "top", std::string("1\0", 2), TIniGTError::BadValue},
    };
    for (const Case& c : cases) {
        const TIniGTStatus status = ini.WriteText(c.section, c.key, c.value);
        EXPECT_EQ(status.code, c.expected) << Show(c.section) << " " << Show(c.key);
        EXPECT_FALSE(status.message.empty());
    }
    EXPECT_EQ(ReadFileBytes(dir / "Tomberly.ini"), before);
    // Blanks around names are no part of them.
    ASSERT_TRUE(Ok(ini.WriteInteger(" locate ", " top ", 11)));
    EXPECT_EQ(ReadFileBytes(dir / "Tomberly.ini"), "[locate]\r\ntop=11\r\n");
}

TEST(TIniGTInstances, SeeEachOthersWritesAtOnce) {
    TempDir dir;
    TIniGT mainWindow = IniIn(dir);
    TIniGT printPreview = IniIn(dir);
    ASSERT_TRUE(Ok(mainWindow.WriteInteger("locate", "top", 33)));
    EXPECT_EQ(printPreview.ReadInteger("locate", "top", 10), 33);
    ASSERT_TRUE(Ok(printPreview.WriteInteger("PrintZoom", "ratio", 3)));
    EXPECT_EQ(mainWindow.ReadInteger("PrintZoom", "ratio", 1), 3);
    // A write of one keeps what the other wrote before.
    ASSERT_TRUE(Ok(mainWindow.WriteInteger("locate", "left", 44)));
    EXPECT_EQ(printPreview.ReadInteger("PrintZoom", "ratio", 1), 3);
    EXPECT_EQ(printPreview.ReadInteger("locate", "top", 10), 33);
    // So does an edit made outside the program.
    WriteFileBytes(dir / "Tomberly.ini", "[JvDataGet]\r\nLastTime=\"2004/05/01 10:30:00\"\r\n");
    EXPECT_EQ(mainWindow.ReadText("JvDataGet", "LastTime", ""), "2004/05/01 10:30:00");
    EXPECT_EQ(mainWindow.ReadInteger("locate", "top", 10), 10);
}

// ---- Failed writes ------------------------------------------------------------------------

TEST(TIniGTFailure, FolderThatIsAFileReportsAnError) {
    TempDir dir;
    WriteFileBytes(dir / "plain", "not a folder");
    TIniGT ini(files::TextFromPath(dir / "plain" / "Tomberly.ini"));
    EXPECT_EQ(ini.ReadInteger("locate", "top", 10), 10);
    const TIniGTStatus status = ini.WriteInteger("locate", "top", 20);
    EXPECT_EQ(status.code, TIniGTError::WriteFailed);
    EXPECT_TRUE(status.system);
    EXPECT_NE(status.message.find(files::TextFromPath(dir / "plain" / "Tomberly.ini")),
              std::string::npos)
        << Show(status.message);
    EXPECT_EQ(ReadFileBytes(dir / "plain"), "not a folder");
}

TEST(TIniGTFailure, SettingsPathThatIsAFolderIsLeftAlone) {
    TempDir dir;
    fs::create_directory(dir / "Tomberly.ini");
    WriteFileBytes(dir / "Tomberly.ini" / "inside", "kept");
    TIniGT ini = IniIn(dir);
    EXPECT_EQ(ini.ReadInteger("locate", "top", 10), 10);
    const TIniGTStatus status = ini.WriteInteger("locate", "top", 20);
    EXPECT_FALSE(status.ok());
    EXPECT_FALSE(status.message.empty());
    EXPECT_EQ(ReadFileBytes(dir / "Tomberly.ini" / "inside"), "kept");
    EXPECT_TRUE(OtherFiles(dir, "Tomberly.ini").empty());
}

TEST(TIniGTFailure, TemporaryFileThatCannotBeMadeKeepsTheOldFile) {
    // A name at the length limit of one folder entry leaves no room for the temporary
    // file's longer name: the replacement fails before the old file is touched. This works
    // for root as well, whom folder permissions do not stop.
    TempDir dir;
    const std::string name = std::string(251, 'n') + ".ini";
    const std::string before = "[locate]\r\ntop=10\r\n";
    try {
        WriteFileBytes(dir / name, before);
    } catch (const std::exception&) {
        GTEST_SKIP() << "the file system takes no names of 255 characters";
    }
    TIniGT ini = IniIn(dir, name);
    const TIniGTStatus status = ini.WriteInteger("locate", "top", 20);
    EXPECT_EQ(status.code, TIniGTError::WriteFailed);
    EXPECT_EQ(ReadFileBytes(dir / name), before);
    EXPECT_TRUE(OtherFiles(dir, name).empty());
    EXPECT_EQ(ini.ReadInteger("locate", "top", 0), 10);
}

TEST(TIniGTFailure, ReadOnlyFileIsNotReplaced) {
    if (RunningAsRoot()) {
        GTEST_SKIP() << "root may write read-only files";
    }
    TempDir dir;
    const std::string before = "[locate]\r\ntop=10\r\n";
    WriteFileBytes(dir / "Tomberly.ini", before);
    fs::permissions(dir / "Tomberly.ini",
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    TIniGT ini = IniIn(dir);
    EXPECT_EQ(ini.WriteInteger("locate", "top", 20).code, TIniGTError::WriteFailed);
    fs::permissions(dir / "Tomberly.ini", fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(ReadFileBytes(dir / "Tomberly.ini"), before);
    EXPECT_TRUE(OtherFiles(dir, "Tomberly.ini").empty());
}

#if !defined(_WIN32)

TEST(TIniGTFailure, ReadOnlyFolderKeepsTheOldFile) {
    if (RunningAsRoot()) {
        GTEST_SKIP() << "folder permissions do not stop root";
    }
    TempDir dir;
    fs::create_directory(dir / "locked");
    const std::string before = "[locate]\r\ntop=10\r\n";
    WriteFileBytes(dir / "locked" / "Tomberly.ini", before);
    fs::permissions(dir / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    TIniGT ini(files::TextFromPath(dir / "locked" / "Tomberly.ini"));
    const TIniGTStatus status = ini.WriteInteger("locate", "top", 20);
    EXPECT_EQ(status.code, TIniGTError::WriteFailed);
    EXPECT_FALSE(status.message.empty());
    EXPECT_EQ(ReadFileBytes(dir / "locked" / "Tomberly.ini"), before);
}

TEST(TIniGTFailure, UnreadableFileIsNotOverwritten) {
    if (RunningAsRoot()) {
        GTEST_SKIP() << "root may read any file";
    }
    TempDir dir;
    const std::string before = "[locate]\r\ntop=10\r\nleft=10\r\n";
    WriteFileBytes(dir / "Tomberly.ini", before);
    fs::permissions(dir / "Tomberly.ini", fs::perms::none);
    TIniGT ini = IniIn(dir);
    EXPECT_EQ(ini.ReadInteger("locate", "top", 5), 5);
    EXPECT_EQ(ini.WriteInteger("locate", "top", 20).code, TIniGTError::ReadFailed);
    fs::permissions(dir / "Tomberly.ini", fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(ReadFileBytes(dir / "Tomberly.ini"), before);
}

TEST(TIniGTWrite, LinkAndPermissionsStay) {
    TempDir dir;
    WriteFileBytes(dir / "real.ini", "[locate]\r\ntop=10\r\n");
    fs::permissions(dir / "real.ini", fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("real.ini", dir / "Tomberly.ini");
    TIniGT ini = IniIn(dir);
    ASSERT_TRUE(Ok(ini.WriteInteger("locate", "top", 20)));
    EXPECT_TRUE(fs::is_symlink(dir / "Tomberly.ini"));
    EXPECT_EQ(ReadFileBytes(dir / "real.ini"), "[locate]\r\ntop=20\r\n");
    EXPECT_EQ(fs::status(dir / "real.ini").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

#endif

// ---- Where the file is --------------------------------------------------------------------

TEST(TIniGTPath, NameWithAFolderIsUsedUnchanged) {
    TempDir dir;
    const std::string full = files::TextFromPath(dir / "x.ini");
    for (TIniGTDefaultDir kind :
         {TIniGTDefaultDir::ddApplication, TIniGTDefaultDir::ddWindows, TIniGTDefaultDir::ddNone}) {
        TIniGT ini(full, kind);
        EXPECT_EQ(ini.FileName(), full);
        EXPECT_EQ(ini.FilePath(), dir / "x.ini");
    }
    // Both separators mark a folder, whatever the system.
    TIniGT relative("sub\\x.ini", TIniGTDefaultDir::ddApplication);
    EXPECT_EQ(relative.FilePath().parent_path(), fs::path("sub"));
    EXPECT_EQ(relative.FilePath().filename(), fs::path("x.ini"));
}

TEST(TIniGTPath, BareNameFollowsDefaultDir) {
    TIniGT ini("x.ini");
    EXPECT_EQ(ini.DefaultDir(), TIniGTDefaultDir::ddApplication);
    EXPECT_EQ(ini.FilePath(), files::ProgramFolder() / "x.ini");
    ini.SetDefaultDir(TIniGTDefaultDir::ddNone);
    EXPECT_EQ(ini.FilePath(), fs::path("x.ini"));
    ini.SetDefaultDir(TIniGTDefaultDir::ddWindows);
    EXPECT_EQ(ini.FilePath(), files::WindowsFolder() / "x.ini");
    ini.SetFileName("y.ini");
    EXPECT_EQ(ini.FilePath(), files::WindowsFolder() / "y.ini");
    // The second byte of "表" (95 5C) is no folder separator.
    ini.SetFileName(S("表.ini"));
    EXPECT_EQ(ini.FilePath(), files::WindowsFolder() / fs::path(u8"表.ini"));
    ini.SetFileName("");
    EXPECT_TRUE(ini.FilePath().empty());
}

TEST(TIniGTPath, LoadedNamesTheProgramsFile) {
    TIniGT ini;
    ini.Loaded();
    fs::path expected = files::ProgramFile();
    expected.replace_extension(".ini");
    EXPECT_EQ(ini.FilePath(), expected);
    EXPECT_EQ(ini.FileName(), files::TextFromPath(expected));
    EXPECT_EQ(ini.FilePath().filename(), fs::path("settings_tests.ini"));

    TIniGT named("other.ini", TIniGTDefaultDir::ddNone);
    named.Loaded();
    EXPECT_EQ(named.FileName(), "other.ini");
    EXPECT_EQ(named.FilePath(), fs::path("other.ini"));
}

TEST(TIniGTPath, KanjiFileNameReachesTheDisk) {
    TempDir dir;
    TIniGT ini(files::TextFromPath(dir.path()) +
               (fs::path::preferred_separator == '\\' ? "\\" : "/") + S("競馬設定.ini"));
    ASSERT_TRUE(Ok(ini.WriteInteger("locate", "top", 1)));
    EXPECT_TRUE(fs::exists(dir.path() / fs::path(u8"競馬設定.ini")));
    EXPECT_EQ(ini.ReadInteger("locate", "top", 0), 1);
}

#if !defined(_WIN32)

// XDG_CONFIG_HOME set for one test, the old value restored after it.
class ConfigHome {
public:
    explicit ConfigHome(const fs::path& folder) {
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) {
            old_ = old;
        }
        setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    }
    ~ConfigHome() {
        if (old_) {
            setenv("XDG_CONFIG_HOME", old_->c_str(), 1);
        } else {
            unsetenv("XDG_CONFIG_HOME");
        }
    }

private:
    std::optional<std::string> old_;
};

TEST(TIniGTPath, WindowsFolderElsewhereIsTheUsersConfigurationFolder) {
    TempDir dir;
    ConfigHome home(dir / "config");
    TIniGT ini("Tomberly.ini", TIniGTDefaultDir::ddWindows);
    EXPECT_EQ(ini.FilePath(), dir / "config" / "Tomberly.ini");
    // The folder need not exist before the first write.
    ASSERT_TRUE(Ok(ini.WriteInteger("locate", "top", 7)));
    EXPECT_EQ(ReadFileBytes(dir / "config" / "Tomberly.ini"), "[locate]\r\ntop=7\r\n");
}

#endif

} // namespace
