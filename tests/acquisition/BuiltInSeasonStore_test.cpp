// The stand-in service's built-in season acquired into the store: the batched writer against
// the record-by-record reference byte for byte, a second acquisition that changes nothing, and
// the shape of every file the day load reads.
#include "acquisition/HeadlessAcquisition.h"
#include "jvlink/standin/StandInJVLink.h"
#include "race/DateList.h"
#include "store/StoreLayout.h"
#include "store/StoreTestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace {

namespace fs = std::filesystem;
using namespace keiba::storetest;
using keiba::test::Show;
using keiba::test::TempDir;

class BuiltInSeasonStoreTest : public ::testing::Test {
protected:
    BuiltInSeasonStoreTest() {
        standin::TSeasonOptions options;
        options.today = "20260107";
        // Three weeks: the last weekend's results (kind 7) as well as the coming card.
        options.weeks = 3;
        catalogue = std::make_shared<standin::TCatalogue>(standin::GenerateSeason(options));
        settings.downloadMsPerFile = 0;
        EXPECT_TRUE(standin::SaveSettings(dir / "jvlink-standin.ini", settings));
    }

    store::TReadLoopResult Acquire(const fs::path& root, store::TStoreWriteMode mode) {
        standin::TStandInJVLink link(dir / "jvlink-standin.ini",
                                     [catalogue = catalogue](const standin::TStandInSettings&) {
                                         return standin::TCatalogueRead{*catalogue, {}};
                                     });
        EXPECT_EQ(link.JVInit("UNKNOWN"), 0);
        acquisition::TAcquisitionRequest request;
        request.fromTime = "20000101000000";
        request.root = root;
        request.loop.mode = mode;
        request.pollInterval = std::chrono::milliseconds(1);
        std::atomic<bool> cancel{false};
        TRecordingSink sink;
        const auto result =
            acquisition::RunAcquisition(link, request, FixedClock(2026, 1, 7), cancel, sink);
        EXPECT_TRUE(result.Succeeded()) << Show(result.message);
        return result.loop;
    }

    TempDir dir;
    std::shared_ptr<standin::TCatalogue> catalogue;
    standin::TStandInSettings settings;
};

TEST_F(BuiltInSeasonStoreTest, BatchedAndReferenceStoreTheSameBytes) {
    TempDir batched;
    TempDir reference;
    const store::TReadLoopResult loop = Acquire(batched.path(), store::TStoreWriteMode::Batched);
    EXPECT_EQ(loop.refused.Total(), 0u) << "the service's records are all whole";
    EXPECT_GT(loop.stored, 1000u);
    Acquire(reference.path(), store::TStoreWriteMode::RecordByRecord);
    const auto files = SnapshotStore(batched.path());
    EXPECT_EQ(SnapshotStore(reference.path()), files);

    // The same acquisition again leaves every byte as it was.
    Acquire(batched.path(), store::TStoreWriteMode::Batched);
    EXPECT_EQ(SnapshotStore(batched.path()), files);

    // Every file is whole lines of its kind's length; a runner slot file has its 216.
    const std::pair<const char*, std::size_t> kinds[] = {
        {".jvRA", 1272}, {".jvSEr", 555},  {".jvHR", 719}, {".jvSERA", 1272},
        {".jvSEI", 555}, {".jvUM2", 1609}, {".jvRC", 501},
    };
    std::map<std::string, int> counts;
    for (const auto& [name, bytes] : files) {
        bool known = false;
        for (const auto& [extension, length] : kinds) {
            if (name.ends_with(extension)) {
                known = true;
                ++counts[extension];
                EXPECT_EQ(bytes.size() % length, 0u) << name;
                for (std::size_t at = length - 2; at < bytes.size(); at += length) {
                    ASSERT_EQ(bytes.substr(at, 2), "\r\n") << name;
                }
                if (std::string_view(extension) == ".jvSEr") {
                    EXPECT_EQ(bytes.size(), 216u * 555) << name;
                }
            }
        }
        EXPECT_TRUE(known) << name;
    }
    for (const auto& [extension, length] : kinds) {
        EXPECT_GT(counts[extension], 0) << extension;
    }
    EXPECT_FALSE(race::MakeDateList(batched.path()).entries.empty());
}

} // namespace
