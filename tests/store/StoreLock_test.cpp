#include "acquisition/HeadlessAcquisition.h"
#include "store/StoreLock.h"
#include "store/StoreTestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;
using namespace store;
using namespace keiba::storetest;
using keiba::test::S;
using keiba::test::TempDir;
using keiba::test::WriteFileBytes;

std::string OwnTemporary(std::string_view file) {
#if defined(_WIN32)
    const auto pid = GetCurrentProcessId();
#else
    const auto pid = getpid();
#endif
    return std::string(file) + "." + std::to_string(pid) + "-0.tmp";
}

TEST(StoreLock, OneHolderAtATime) {
    TempDir root;
    TStoreLock first = TStoreLock::Take(root.path());
    ASSERT_TRUE(first.Held()) << first.Error().message();
    const TStoreLock second = TStoreLock::Take(root.path());
    EXPECT_EQ(second.Status(), TStoreLockStatus::Busy);
    EXPECT_EQ(second.Message(), S("他のデータ取込みがこのデータフォルダを使用中です。"
                                  "終わってからもう一度実行してください。"));
    TempDir other;
    EXPECT_TRUE(TStoreLock::Take(other.path()).Held()) << "another store is free";
    TStoreLock moved = std::move(first);
    EXPECT_FALSE(TStoreLock::Take(root.path()).Held()) << "a moved lock is still held";
    moved.Release();
    EXPECT_TRUE(TStoreLock::Take(root.path()).Held());
    EXPECT_EQ(TStoreLock::Take(root / "missing").Status(), TStoreLockStatus::Failed);
}

TEST(StoreLock, ASecondAcquisitionTouchesNothing) {
    TempDir root;
    const TStoreLock window = TStoreLock::Take(root.path());
    ASSERT_TRUE(window.Held());
    TScriptedJVLink link(RecordSteps({MakeUM("2001104567")}));
    acquisition::TAcquisitionRequest request;
    request.root = root.path();
    std::atomic<bool> cancel{false};
    TRecordingSink sink;
    const auto result =
        acquisition::RunAcquisition(link, request, FixedClock(2004, 5, 10), cancel, sink);
    EXPECT_EQ(result.end, acquisition::TAcquisitionEnd::StoreBusy);
    EXPECT_FALSE(result.closed) << "JV-Link was never opened";
    EXPECT_EQ(link.reads, 0);
    EXPECT_FALSE(result.nextStartTime);
    ASSERT_EQ(sink.errors.size(), 1u);
    EXPECT_EQ(sink.errors[0], StoreBusyText());
    EXPECT_TRUE(SnapshotStore(root.path()).empty());
}

TEST(StoreLock, StaleTemporariesGoWhenTheStoreIsTaken) {
    TempDir root;
    const std::vector<fs::path> stale = {
        root / "DATA" / "2004年05月08日東京.jvSEr.99999999-3.tmp",
        root / "SEI" / "2001" / "2001104567.jvSEI.99999999-4.tmp",
        root / "REC" / "1050013160011.jvRC.99999998-0.tmp",
        root / "tomberly.ini.99999999-0.tmp",
        // A year folder a killed first load was making, with its horse files.
        root / "UM2" / "2002.99999999-5.tmp" / "2002100001.jvUM2",
    };
    const fs::path live = root / "UM2" / "2001" / OwnTemporary("2001104568.jvUM2");
    const fs::path kept = root / "DATA" / "memo.tmp";
    for (const fs::path& file : stale) {
        fs::create_directories(file.parent_path());
        WriteFileBytes(file, "half");
    }
    fs::create_directories(live.parent_path());
    WriteFileBytes(live, "being written");
    WriteFileBytes(kept, "the user's");

    TScriptedJVLink link(RecordSteps({MakeUM("2001104567")}));
    acquisition::TAcquisitionRequest request;
    request.root = root.path();
    std::atomic<bool> cancel{false};
    TRecordingSink sink;
    const auto result =
        acquisition::RunAcquisition(link, request, FixedClock(2004, 5, 10), cancel, sink);
    EXPECT_EQ(result.end, acquisition::TAcquisitionEnd::Completed);
    EXPECT_EQ(result.staleTemporaries, stale.size());
    for (const fs::path& file : stale) {
        EXPECT_FALSE(fs::exists(file)) << file;
    }
    EXPECT_FALSE(fs::exists(root / "UM2" / "2002.99999999-5.tmp"));
    EXPECT_TRUE(fs::exists(live));
    EXPECT_TRUE(fs::exists(kept));
}

} // namespace
