#include "shell/ProgramFolder.h"
#include "store/StoreFolders.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using keiba::test::S;
using keiba::test::Show;
using keiba::test::TempDir;
using keiba::test::WriteFileBytes;

TEST(StoreFolders, FiveFoldersOnAFreshRoot) {
    TempDir root;
    const store::TStoreFoldersResult result = store::CreateStoreFolders(root.path());
    EXPECT_TRUE(result.ok()) << Show(result.message);
    EXPECT_TRUE(result.message.empty());
    std::vector<std::string> made;
    for (const auto& entry : fs::directory_iterator(root.path())) {
        EXPECT_TRUE(entry.is_directory()) << entry.path();
        made.push_back(entry.path().filename().string());
    }
    std::sort(made.begin(), made.end());
    EXPECT_EQ(made, (std::vector<std::string>{"DATA", "REC", "SEI", "SEIR", "UM2"}));
}

TEST(StoreFolders, ExistingFoldersAndTheirFilesAreKept) {
    TempDir root;
    fs::create_directory(root / "DATA");
    WriteFileBytes(root / "DATA" / "day.jvRA", "race");
    fs::create_directories(root / "SEI" / "2001");
    const store::TStoreFoldersResult result = store::CreateStoreFolders(root.path());
    EXPECT_TRUE(result.ok()) << Show(result.message);
    EXPECT_EQ(keiba::test::ReadFileBytes(root / "DATA" / "day.jvRA"), "race");
    EXPECT_TRUE(fs::is_directory(root / "SEI" / "2001"));
    for (std::string_view name : store::kStoreFolderNames) {
        EXPECT_TRUE(fs::is_directory(root / name)) << name;
    }
    // A second start finds everything there.
    EXPECT_TRUE(store::CreateStoreFolders(root.path()).ok());
}

TEST(StoreFolders, AFolderThatCannotBeMadeIsNamedAndTheOthersAreMade) {
    TempDir root;
    WriteFileBytes(root / "SEI", "a file where the folder belongs");
    const store::TStoreFoldersResult result = store::CreateStoreFolders(root.path());
    ASSERT_FALSE(result.ok());
    ASSERT_EQ(result.failed.size(), 1u);
    EXPECT_EQ(result.failed[0], root / "SEI");
    EXPECT_TRUE(result.error);
    for (std::string_view name : {"DATA", "SEIR", "UM2", "REC"}) {
        EXPECT_TRUE(fs::is_directory(root / name)) << name;
    }
    const std::string heading = S("データ保存用のフォルダを作成できませんでした。");
    EXPECT_EQ(result.message.substr(0, heading.size() + 2), heading + "\r\n")
        << Show(result.message);
    EXPECT_NE(result.message.find(shell::TextFromPath(root / "SEI") + "\r\n"), std::string::npos)
        << Show(result.message);
}

TEST(StoreFolders, AnUnusableRootNamesEveryFolderInOneMessage) {
    TempDir dir;
    // The data root is a file, so nothing can be made under it (as with a read-only folder,
    // and also for a test running with every permission).
    WriteFileBytes(dir / "root", "");
    const fs::path root = dir / "root";
    const store::TStoreFoldersResult result = store::CreateStoreFolders(root);
    ASSERT_EQ(result.failed.size(), 5u);
    std::size_t at = 0;
    for (std::string_view name : store::kStoreFolderNames) {
        const std::string line = "\r\n" + shell::TextFromPath(root / name) + "\r\n";
        const std::size_t found = result.message.find(line, at);
        ASSERT_NE(found, std::string::npos) << name << " " << Show(result.message);
        at = found + 1; // in the order they are made
    }
    // The system's reason closes the message.
    EXPECT_NE(result.message.back(), '\n');
}

} // namespace
