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

// Whether the name is one of the program's temporaries.
bool IsTemporary(const std::string& name) {
    return files::TemporaryOwner(name) != 0;
}

TEST(ReplaceBatch, AFolderNotThereYetAppearsWholeOnCommit) {
    TempDir dir;
    fs::create_directories(dir / "DATA");
    fs::create_directories(dir / "UM2" / "2001.jvUM2"); // a folder where a file is to go
    // More files than one thread takes, into a new folder and an existing one.
    std::vector<std::string> contents;
    std::vector<files::TReplaceBatch::TRequest> requests;
    for (int i = 0; i < 150; ++i) {
        contents.push_back(std::string(static_cast<std::size_t>(i), 'x') + std::to_string(i));
    }
    for (int i = 0; i < 150; ++i) {
        const fs::path folder = i % 3 == 0 ? dir / "DATA" : dir / "SEI" / "2001";
        requests.push_back({folder / (std::to_string(i) + ".jv"), contents[i], true});
    }
    requests.push_back({dir / "UM2" / "2001.jvUM2", "refused", true});
    WriteFileBytes(dir / "SEIR", "a file where a folder belongs");
    requests.push_back({dir / "SEIR" / "2004" / "x.jvSERA", "refused", true});
    files::TReplaceBatch batch;
    const auto errors = batch.StageAll(requests);
    ASSERT_EQ(errors.size(), 152u);
    EXPECT_EQ(std::count_if(errors.begin(), errors.end(), [](auto e) { return bool(e); }), 2);
    EXPECT_EQ(errors[150], std::errc::is_a_directory);
    EXPECT_TRUE(errors[151]);
    EXPECT_EQ(batch.Staged(), 150u);

    // Until the commit the new folder has a temporary name, so no reader sees half of it.
    const auto pending = Names(dir / "SEI");
    ASSERT_EQ(pending.size(), 1u);
    EXPECT_TRUE(IsTemporary(pending[0])) << pending[0];
    EXPECT_TRUE(batch.Commit().empty());
    EXPECT_EQ(Names(dir / "SEI"), (std::vector<std::string>{"2001"}));
    EXPECT_EQ(Names(dir / "SEI" / "2001").size(), 100u);
    EXPECT_EQ(Names(dir / "DATA").size(), 50u);
    for (int i = 0; i < 150; ++i) {
        const fs::path folder = i % 3 == 0 ? dir / "DATA" : dir / "SEI" / "2001";
        EXPECT_EQ(ReadFileBytes(folder / (std::to_string(i) + ".jv")), contents[i]) << i;
    }

    EXPECT_EQ(ReadFileBytes(dir / "SEIR"), "a file where a folder belongs");

    // Given up before its commit, a batch takes its new folder with it.
    {
        files::TReplaceBatch lost;
        ASSERT_FALSE(lost.Stage(dir / "SE" / "2004" / "x.jvSERA", "x", true));
        EXPECT_EQ(Names(dir / "SE").size(), 1u);
    }
    EXPECT_TRUE(Names(dir / "SE").empty());
}

TEST(ReplaceBatch, AFolderMadeMeanwhileTakesTheFilesOneByOne) {
    TempDir dir;
    files::TReplaceBatch batch;
    ASSERT_FALSE(batch.Stage(dir / "SEI" / "2001" / "a.jvSEI", "a", true));
    ASSERT_FALSE(batch.Stage(dir / "SEI" / "2001" / "b.jvSEI", "b", true));
    fs::create_directories(dir / "SEI" / "2001");
    WriteFileBytes(dir / "SEI" / "2001" / "b.jvSEI", "old b");
    WriteFileBytes(dir / "SEI" / "2001" / "c.jvSEI", "c");
    EXPECT_TRUE(batch.Commit().empty());
    EXPECT_EQ(Names(dir / "SEI"), (std::vector<std::string>{"2001"}));
    EXPECT_EQ(Names(dir / "SEI" / "2001"),
              (std::vector<std::string>{"a.jvSEI", "b.jvSEI", "c.jvSEI"}));
    EXPECT_EQ(ReadFileBytes(dir / "SEI" / "2001" / "b.jvSEI"), "b");
    EXPECT_EQ(ReadFileBytes(dir / "SEI" / "2001" / "c.jvSEI"), "c");
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
    // Folders a batch was making, with their files: the dead process's go, the live one's stay.
    fs::create_directories(dir / "2001.99999999-2.tmp" / "sub");
    WriteFileBytes(dir / "2001.99999999-2.tmp" / "2001100001.jvSEI", "x");
    fs::create_directories(dir / ("2002." + live.substr(8)));
    EXPECT_EQ(files::RemoveStaleTemporaries(dir.path()), 2u);
    EXPECT_FALSE(fs::exists(dir / gone));
    EXPECT_FALSE(fs::exists(dir / "2001.99999999-2.tmp"));
    EXPECT_TRUE(fs::exists(dir / ("2002." + live.substr(8))));
    EXPECT_TRUE(fs::exists(dir / live)) << "may be written right now";
    EXPECT_TRUE(fs::exists(dir / "notes.tmp"));
}

} // namespace
