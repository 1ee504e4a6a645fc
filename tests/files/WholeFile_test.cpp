#include "files/WholeFile.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;
using keiba::test::ReadFileBytes;
using keiba::test::S;
using keiba::test::TempDir;
using keiba::test::WriteFileBytes;

// Names in a folder, sorted.
std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(WholeFileRead, OnlyRegularFilesWithinTheBound) {
    TempDir dir;
    WriteFileBytes(dir / "a.ini", "0123456789");
    EXPECT_EQ(files::ReadWholeFile(dir / "a.ini", 10).bytes, "0123456789");
    const auto large = files::ReadWholeFile(dir / "a.ini", 9);
    EXPECT_EQ(large.status, files::FileReadStatus::Failed);
    EXPECT_EQ(large.error, files::FileErrc::TooLarge);
    EXPECT_TRUE(large.bytes.empty());
    EXPECT_EQ(files::ReadWholeFile(dir / "none").status, files::FileReadStatus::Missing);
    EXPECT_EQ(files::ReadWholeFile(dir.path()).status, files::FileReadStatus::Failed);
    EXPECT_EQ(files::SystemErrorText(files::FileErrc::NotRegularFile),
              S("通常のファイルではありません"));
}

TEST(WholeFileRead, AFifoOrADeviceIsRefusedAtOnce) {
#if defined(_WIN32)
    GTEST_SKIP() << "FIFOs and /dev/zero are POSIX";
#else
    TempDir dir;
    ASSERT_EQ(mkfifo((dir / "tomberly.ini").c_str(), 0600), 0);
    ASSERT_EQ(symlink("/dev/zero", (dir / "store.jvRA").c_str()), 0);
    for (const char* name : {"tomberly.ini", "store.jvRA"}) {
        const auto read = files::ReadWholeFile(dir / name); // no writer: a blocking open hangs
        EXPECT_EQ(read.status, files::FileReadStatus::Failed) << name;
        EXPECT_EQ(read.error, files::FileErrc::NotRegularFile) << name;
    }
    EXPECT_TRUE(files::ReplaceWholeFile(dir / "tomberly.ini", "x")) << "never replaced";
    EXPECT_TRUE(fs::is_fifo(dir / "tomberly.ini"));
#endif
}

TEST(WholeFileReplace, ADanglingLinkGetsItsTargetAndStaysALink) {
#if defined(_WIN32)
    GTEST_SKIP() << "symbolic links need rights on Windows";
#else
    TempDir dir;
    fs::create_directories(dir / "dotfiles");
    ASSERT_EQ(symlink("dotfiles/tomberly.ini", (dir / "tomberly.ini").c_str()), 0);
    ASSERT_FALSE(files::ReplaceWholeFile(dir / "tomberly.ini", "[locate]\r\n"));
    EXPECT_TRUE(fs::is_symlink(dir / "tomberly.ini"));
    EXPECT_EQ(ReadFileBytes(dir / "dotfiles" / "tomberly.ini"), "[locate]\r\n");
#endif
}

TEST(ReplaceBatch, FilesChangeOnlyOnCommitAndNoTemporaryStays) {
    TempDir dir;
    WriteFileBytes(dir / "old.jvRA", "old");
    {
        files::TReplaceBatch batch;
        ASSERT_FALSE(batch.Stage(dir / "old.jvRA", "new"));
        ASSERT_FALSE(batch.Stage(dir / "SEI" / "2001" / "a.jvSEI", "a", true));
        EXPECT_EQ(ReadFileBytes(dir / "old.jvRA"), "old") << "not before the commit";
        EXPECT_FALSE(fs::exists(dir / "SEI" / "2001" / "a.jvSEI"));
        EXPECT_TRUE(batch.Commit().empty());
        EXPECT_EQ(batch.Staged(), 0u);
    }
    EXPECT_EQ(ReadFileBytes(dir / "old.jvRA"), "new");
    EXPECT_EQ(ReadFileBytes(dir / "SEI" / "2001" / "a.jvSEI"), "a");
    EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"SEI", "old.jvRA"}));

    // A batch given up before its commit leaves the old files and no temporary.
    {
        files::TReplaceBatch batch;
        ASSERT_FALSE(batch.Stage(dir / "old.jvRA", "lost"));
    }
    EXPECT_EQ(ReadFileBytes(dir / "old.jvRA"), "new");
    EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"SEI", "old.jvRA"}));

    // A file that cannot be staged is reported; the others still go in.
    WriteFileBytes(dir / "SEIR", "a file where a folder belongs");
    files::TReplaceBatch batch;
    EXPECT_TRUE(batch.Stage(dir / "SEIR" / "2004" / "x.jvSERA", "x", true));
    EXPECT_FALSE(batch.Stage(dir / "old.jvRA", "newer"));
    EXPECT_TRUE(batch.Commit().empty());
    EXPECT_EQ(ReadFileBytes(dir / "old.jvRA"), "newer");
}

TEST(Temporaries, OnlyTheProgramsPatternOfProcessesGone) {
    EXPECT_EQ(files::TemporaryOwner("2004年.jvRA.1234-0.tmp"), 1234u);
    EXPECT_EQ(files::TemporaryOwner("a.7-15.tmp"), 7u);
    for (const char* other : {"a.tmp", ".12-3.tmp", "a.12-.tmp", "a.-3.tmp", "a.12_3.tmp",
                              "a.12-3.tmpx", "a12-3.tmp", "a.x12-3.tmp"}) {
        EXPECT_EQ(files::TemporaryOwner(other), 0u) << other;
    }

    TempDir dir;
    // A process id above any the system gives is surely not running.
    const std::string gone = "x.jvSEr.99999999-0.tmp";
#if defined(_WIN32)
    const std::string live = "x.jvSEr." + std::to_string(GetCurrentProcessId()) + "-1.tmp";
#else
    const std::string live = "x.jvSEr." + std::to_string(getpid()) + "-1.tmp";
#endif
    for (const std::string& name : {gone, live, std::string("notes.tmp"), std::string("x.jvSEr")}) {
        WriteFileBytes(dir / name, "x");
    }
    EXPECT_EQ(files::RemoveStaleTemporaries(dir.path()), 1u);
    EXPECT_FALSE(fs::exists(dir / gone));
    EXPECT_TRUE(fs::exists(dir / live)) << "may be written right now";
    EXPECT_TRUE(fs::exists(dir / "notes.tmp"));
}

} // namespace
