#include "jvlink/StandInTestCatalogue.h"
#include "jvlink/standin/CatalogueCheck.h"
#include "jvlink/standin/CatalogueFolder.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using namespace keiba::test;
using standin::TCatalogue;
using standin::TDataFile;

bool SameFile(const TDataFile& a, const TDataFile& b) {
    return a.name == b.name && a.dataspec == b.dataspec && a.timestamp == b.timestamp &&
           a.records == b.records;
}

TEST(CatalogueFolder, WrittenFolderReadsBackInPublicationOrder) {
    TCatalogue catalogue;
    catalogue.files = {
        MakeFile("RA20260110.dat", "RACE", "20260110120000", 3),
        {"UM.dat", "RACE", "20260103090000", {S("UM2019104321ホースネーム　髙～") + "\r\n"}},
        {"EMPTY.dat", "RCVN", "20260105000000", {}},
        MakeFile("RC.dat", "RCVN", "20260103090000", 1, "RC"),
    };
    TempDir dir;
    const fs::path folder = dir / "season";
    ASSERT_EQ(standin::WriteCatalogueFolder(catalogue, folder), "");
    EXPECT_EQ(ReadFileBytes(folder / "RA20260110.dat"),
              MakeRecord("RA", 1) + MakeRecord("RA", 2) + MakeRecord("RA", 3));
    EXPECT_EQ(ReadFileBytes(folder / "EMPTY.dat"), "");
    EXPECT_EQ(ReadFileBytes(folder / "catalogue.txt"),
              "# Stand-in JV-Link catalogue: name, data identifier, publication time "
              "(yyyymmddhhnnss)\n"
              "RA20260110.dat RACE 20260110120000\n"
              "UM.dat RACE 20260103090000\n"
              "EMPTY.dat RCVN 20260105000000\n"
              "RC.dat RCVN 20260103090000\n");

    const auto read = standin::ReadCatalogueFolder(folder);
    ASSERT_TRUE(read.ok()) << read.error;
    ASSERT_EQ(read.catalogue.files.size(), 4u);
    EXPECT_TRUE(SameFile(read.catalogue.files[0], catalogue.files[3]));
    EXPECT_TRUE(SameFile(read.catalogue.files[1], catalogue.files[1]));
    EXPECT_TRUE(SameFile(read.catalogue.files[2], catalogue.files[2]));
    EXPECT_TRUE(SameFile(read.catalogue.files[3], catalogue.files[0]));
}

TEST(CatalogueFolder, IndexMayBeWrittenByHand) {
    TempDir dir;
    WriteFileBytes(dir / "A.dat", MakeRecord("RA", 1));
    WriteFileBytes(dir / "B.dat", MakeRecord("SE", 1) + MakeRecord("SE", 2));
    WriteFileBytes(dir / "catalogue.txt", "\r\n"
                                          "   # indented comment\r\n"
                                          "A.dat\tRACE\t20260101000000\r\n"
                                          "  B.dat   RACE    20251231235959  \r\n");
    const auto read = standin::ReadCatalogueFolder(dir.path());
    ASSERT_TRUE(read.ok()) << read.error;
    ASSERT_EQ(read.catalogue.files.size(), 2u);
    EXPECT_EQ(read.catalogue.files[0].name, "B.dat");
    EXPECT_EQ(read.catalogue.files[0].records.size(), 2u);
    EXPECT_EQ(read.catalogue.files[1].records, std::vector<std::string>{MakeRecord("RA", 1)});
}

TEST(CatalogueFolder, BrokenFoldersAreRefusedWithAReason) {
    struct Case {
        const char* what;
        std::string index;
        std::string expectedInError;
    };
    const std::vector<Case> cases = {
        {"too few words", "A.dat RACE\n", "line 1"},
        {"too many words", "A.dat RACE 20260101000000 extra\n", "line 1"},
        {"bad identifier", "A.dat race 20260101000000\n", "data identifier"},
        {"bad timestamp", "A.dat RACE 20260132000000\n", "timestamp"},
        {"missing data file", "# first\nNONE.dat RACE 20260101000000\n", "line 2"},
        {"no final CR LF", "TAIL.dat RACE 20260101000000\n", "CR LF"},
        {"listed twice", "A.dat RACE 20260101000000\na.DAT RACE 20260102000000\n", "twice"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        WriteFileBytes(dir / "A.dat", MakeRecord("RA", 1));
        WriteFileBytes(dir / "a.DAT", MakeRecord("RA", 1));
        WriteFileBytes(dir / "TAIL.dat", MakeRecord("RA", 1) + "RA2");
        WriteFileBytes(dir / "catalogue.txt", c.index);
        const auto read = standin::ReadCatalogueFolder(dir.path());
        EXPECT_FALSE(read.ok()) << c.what;
        EXPECT_NE(read.error.find(c.expectedInError), std::string::npos)
            << c.what << ": " << read.error;
        EXPECT_TRUE(read.catalogue.files.empty()) << c.what;
    }
    TempDir empty;
    EXPECT_NE(standin::ReadCatalogueFolder(empty.path()).error.find("catalogue.txt"),
              std::string::npos);
}

TEST(CatalogueFolder, NamesCannotLeadOutOfTheFolder) {
    TempDir dir;
    const fs::path folder = dir / "catalogue";
    fs::create_directories(folder / "sub");
    // Files a hostile index would reach for.
    WriteFileBytes(dir / "outside.dat", MakeRecord("RA", 1));
    WriteFileBytes(folder / "sub" / "inner.dat", MakeRecord("RA", 1));
    for (const std::string name : {"../outside.dat", "..", "sub/inner.dat", "sub\\inner.dat",
                                   "/etc/passwd", "C:outside.dat", "..\\outside.dat", ".hidden"}) {
        WriteFileBytes(folder / "catalogue.txt", name + " RACE 20260101000000\n");
        const auto read = standin::ReadCatalogueFolder(folder);
        EXPECT_FALSE(read.ok()) << name;
        EXPECT_NE(read.error.find("unsafe"), std::string::npos) << name << ": " << read.error;
    }
}

TEST(CatalogueFolder, WriteRefusesABadCatalogueAndWritesNothing) {
    TempDir dir;
    const std::vector<TDataFile> bad = {
        {"../up.dat", "RACE", "20260101000000", {MakeRecord("RA", 1)}},
        {"catalogue.txt", "RACE", "20260101000000", {MakeRecord("RA", 1)}},
        {"ok.dat", "RACE", "20260101000000", {"RA1 no line end"}},
        {"ok.dat", "RACE", "20260101000000", {"RA1\r\nRA2\r\n"}}, // two lines in one record
        {"ok.dat", "RAC", "20260101000000", {}},
        {"ok.dat", "RACE", "2026010100000", {}},
    };
    for (const auto& file : bad) {
        TCatalogue catalogue;
        catalogue.files = {MakeFile("first.dat", "RACE", "20260101000000", 1), file};
        EXPECT_NE(standin::WriteCatalogueFolder(catalogue, dir / "out"), "") << file.name;
        EXPECT_FALSE(fs::exists(dir / "out")) << file.name;
    }
    EXPECT_FALSE(fs::exists(dir / "up.dat"));
}

TEST(CatalogueCheck, SafeFileNames) {
    for (const char* good : {"RACE0001.dat", "a", "JV-DATA_2026.01", "x.y.z", "COMMA,OK"}) {
        EXPECT_TRUE(standin::IsSafeFileName(good)) << good;
    }
    for (const std::string& bad :
         {std::string(), std::string("."), std::string(".."), std::string("a/b"),
          std::string("a\\b"), std::string("c:x"), std::string("a b"), std::string("trail."),
          std::string("CON"), std::string("nul.dat"), std::string("COM1.txt"), std::string("lpt9"),
          std::string("Catalogue.TXT"), std::string("q?"), std::string("a*"),
          std::string("tab\tname"), std::string("\x93\x8C.dat"), std::string(101, 'a'),
          std::string("nul\0x", 5)}) {
        EXPECT_FALSE(standin::IsSafeFileName(bad)) << bad;
    }
    EXPECT_TRUE(standin::IsSafeFileName("COM0")) << "only COM1-COM9 are devices";
    EXPECT_TRUE(standin::IsSafeFileName("CONSOLE.dat"));
    EXPECT_TRUE(standin::IsSafeFileName(std::string(100, 'a')));
}

TEST(CatalogueCheck, TimestampsAreRealDatesAndTimes) {
    for (const char* good : {"20260101000000", "20240229235959", "20000229120000", "19991231235959",
                             "20261130000000"}) {
        EXPECT_TRUE(standin::IsTimestamp(good)) << good;
    }
    for (const char* bad :
         {"", "2026010100000", "202601010000000", "19000229000000", "21000229000000",
          "20260431000000", "20260100000000", "20260001000000", "20260101240000", "20260101236000",
          "20260101235960", "2026-1-1000000", " 2026010100000", "18991231235959"}) {
        EXPECT_FALSE(standin::IsTimestamp(bad)) << bad;
    }
}

TEST(CatalogueCheck, RecordsSplitAtEachCrLf) {
    EXPECT_EQ(standin::SplitRecords(""), std::vector<std::string>{});
    EXPECT_EQ(standin::SplitRecords("A\r\nBC\r\n\r\n"),
              (std::vector<std::string>{"A\r\n", "BC\r\n", "\r\n"}));
    EXPECT_EQ(standin::SplitRecords("A\nB\r\n"), std::vector<std::string>{"A\nB\r\n"});
    EXPECT_FALSE(standin::SplitRecords("A\r\nB"));
    EXPECT_FALSE(standin::SplitRecords("A\r"));
}

} // namespace
