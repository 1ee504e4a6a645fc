#include "acquisition/HeadlessAcquisition.h"
#include "jvlink/standin/StandInJVLink.h"
#include "store/StoreTestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace {

namespace fs = std::filesystem;
using namespace acquisition;
using namespace keiba::storetest;
using keiba::test::S;
using keiba::test::Show;
using keiba::test::TempDir;

// The season as the service publishes it: one data file per feed file, a minute apart.
std::shared_ptr<standin::TCatalogue> Publish(const std::vector<TFeedFile>& files) {
    auto catalogue = std::make_shared<standin::TCatalogue>();
    int minute = 0;
    for (const auto& file : files) {
        const std::string dataSpec = file.name.starts_with("RCVN") ? "RCVN" : "RACE";
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "202601%02d%02d%02d00", 10 + minute / 1440,
                      minute / 60 % 24, minute % 60);
        ++minute;
        catalogue->files.push_back({file.name, dataSpec, stamp, file.records});
    }
    return catalogue;
}

std::vector<TFeedFile> TwoDays() {
    TSeasonShape shape;
    shape.weeks = 1;
    shape.courses = 1;
    shape.horses = 60;
    shape.firstDate = "20260103";
    return MakeSeason(shape);
}

class AcquisitionTest : public ::testing::Test {
protected:
    AcquisitionTest() : season(TwoDays()), catalogue(Publish(season)) {
        settings.downloadMsPerFile = 0;
    }

    std::unique_ptr<standin::TStandInJVLink> Link() {
        EXPECT_TRUE(standin::SaveSettings(dir / "config" / "jvlink-standin.ini", settings));
        auto link = std::make_unique<standin::TStandInJVLink>(
            dir / "config" / "jvlink-standin.ini",
            [catalogue = catalogue](const standin::TStandInSettings&) {
                return standin::TCatalogueRead{*catalogue, {}};
            });
        EXPECT_EQ(link->JVInit("UNKNOWN"), 0);
        return link;
    }

    TAcquisitionResult Acquire(const fs::path& root, TRecordingSink& into,
                               store::TStoreWriteMode mode = store::TStoreWriteMode::Batched,
                               std::string from = "20260101000000") {
        auto link = Link();
        TAcquisitionRequest request;
        request.fromTime = std::move(from);
        request.root = root;
        request.loop.mode = mode;
        request.pollInterval = std::chrono::milliseconds(1);
        return RunAcquisition(*link, request, FixedClock(2026, 1, 12), cancel, into);
    }

    TempDir dir;
    TempDir root;
    std::vector<TFeedFile> season;
    std::shared_ptr<standin::TCatalogue> catalogue;
    standin::TStandInSettings settings;
    std::atomic<bool> cancel{false};
    TRecordingSink sink;
};

std::size_t CountOf(const std::vector<std::string>& events, const std::string& event) {
    return static_cast<std::size_t>(std::count(events.begin(), events.end(), event));
}

TEST_F(AcquisitionTest, FetchesReadsStoresAndOffersTheNextStart) {
    const TAcquisitionResult result = Acquire(root.path(), sink);
    ASSERT_EQ(result.end, TAcquisitionEnd::Completed) << Show(result.message);
    EXPECT_TRUE(result.Succeeded());
    const auto files = static_cast<std::int32_t>(season.size());
    EXPECT_EQ(result.readCount, files);
    EXPECT_EQ(result.downloadCount, files) << "an empty cache fetches every file";
    EXPECT_EQ(result.loop.records, RecordCount(season));
    EXPECT_EQ(result.loop.filesRead, files);
    EXPECT_TRUE(result.closed);
    const std::string newest = catalogue->files.back().timestamp;
    EXPECT_EQ(result.nextStartTime, newest.substr(0, 4) + "/" + newest.substr(4, 2) + "/" +
                                        newest.substr(6, 2) + " " + newest.substr(8, 2) + ":" +
                                        newest.substr(10, 2) + ":" + newest.substr(12, 2));

    const std::string n = std::to_string(files);
    EXPECT_EQ(sink.texts[0], S("JVOpen正常:正常に実行されました。(0)"));
    EXPECT_EQ(sink.texts[1], "ReadCount:" + n + ", DownloadCount:" + n);
    EXPECT_EQ(sink.texts[2], S("ダウンロード中・・・"));
    EXPECT_EQ(CountOf(sink.events, "text:" + S("ダウンロード中．．．(") + n + "/" + n + ")"), 1u);
    EXPECT_EQ(sink.downloadMax, 0 + files);
    EXPECT_EQ(sink.boxes, std::vector<std::string>{S("データ作成が完了しました。")});
    EXPECT_EQ(sink.events.back(), "beep") << "the closing step's beep";
    EXPECT_GT(SnapshotStore(root.path()).size(), 50u);
}

TEST_F(AcquisitionTest, TheStandInSeasonStoresTheSameBytesEitherWay) {
    ASSERT_TRUE(Acquire(root.path(), sink).Succeeded());
    TempDir reference;
    TRecordingSink other;
    const TAcquisitionResult second =
        Acquire(reference.path(), other, store::TStoreWriteMode::RecordByRecord);
    ASSERT_TRUE(second.Succeeded());
    EXPECT_EQ(second.downloadCount, 0) << "the files are in the cache now";
    EXPECT_EQ(other.downloadMax, 100);
    EXPECT_EQ(other.downloadBar, 0) << "full during reading, back to 0 at the end";
    EXPECT_EQ(SnapshotStore(reference.path()), SnapshotStore(root.path()));

    // The same acquisition again changes nothing.
    const auto before = SnapshotStore(root.path());
    TRecordingSink third;
    ASSERT_TRUE(Acquire(root.path(), third).Succeeded());
    EXPECT_EQ(SnapshotStore(root.path()), before);
}

TEST_F(AcquisitionTest, ReadFaultsEndWithTheirMessageAndKeepWhatWasStored) {
    struct Case {
        std::int32_t code;
        const char* text;
    } const cases[] = {
        {-402, "JVReadエラー:ダウンロードしたファイルサイズが異常です。(-402)"},
        {-403, "JVReadエラー:ダウンロードしたファイル内容が異常です。(-403)"},
    };
    for (const auto& c : cases) {
        settings.faults.readFailAt = 40;
        settings.faults.readError = c.code;
        TempDir store;
        TRecordingSink faulted;
        const TAcquisitionResult result = Acquire(store.path(), faulted);
        EXPECT_EQ(result.end, TAcquisitionEnd::ReadError);
        EXPECT_EQ(result.code, c.code);
        EXPECT_EQ(result.message, S(c.text));
        EXPECT_FALSE(result.nextStartTime) << "a cut-short run is read again next time";
        EXPECT_TRUE(result.closed);
        EXPECT_EQ(result.loop.records, 39u);
        ASSERT_EQ(faulted.boxes.size(), 1u);
        EXPECT_EQ(faulted.boxes[0], S(c.text));
        EXPECT_EQ(faulted.madeFiles.size(), 39u);
        EXPECT_FALSE(SnapshotStore(store.path()).empty()) << "records 1 to 39 are stored";
    }
}

TEST_F(AcquisitionTest, CorruptRecordsAreRefusedAndTheRunCompletes) {
    struct Case {
        standin::TCorruption corruption;
        std::size_t length, bytes, name;
    } const cases[] = {
        {standin::TCorruption::Short, 1, 0, 0},
        {standin::TCorruption::Bytes, 0, 1, 0},
        {standin::TCorruption::Path, 0, 0, 1},
    };
    for (const auto& c : cases) {
        settings.faults.corruptAt = 7;
        settings.faults.corruption = c.corruption;
        TempDir store;
        TRecordingSink faulted;
        const TAcquisitionResult result = Acquire(store.path(), faulted);
        ASSERT_EQ(result.end, TAcquisitionEnd::Completed);
        EXPECT_EQ(result.loop.refused.length, c.length);
        EXPECT_EQ(result.loop.refused.bytes, c.bytes);
        EXPECT_EQ(result.loop.refused.nameField, c.name);
        EXPECT_EQ(result.loop.stored, RecordCount(season) - 1);
        ASSERT_EQ(faulted.boxes.size(), 2u);
        EXPECT_TRUE(faulted.boxes[1].starts_with(S("保存しなかったレコード:1件")))
            << Show(faulted.boxes[1]);
        EXPECT_FALSE(result.nextStartTime) << "the refused record is read again next time";
        for (const auto& [name, bytes] : SnapshotStore(store.path())) {
            EXPECT_EQ(name.find(".."), std::string::npos) << name;
        }
    }
}

TEST_F(AcquisitionTest, OpenResultsWithoutAReadLoop) {
    settings.faults.openError = -504;
    TAcquisitionResult result = Acquire(root.path(), sink);
    EXPECT_EQ(result.end, TAcquisitionEnd::OpenError);
    EXPECT_EQ(result.message, S("JVOpenエラー:サーバーがメンテナンス中です。(-504)"));
    EXPECT_EQ(sink.boxes, std::vector<std::string>{result.message});
    EXPECT_TRUE(result.closed) << "JVClose follows every JVOpen";
    EXPECT_FALSE(result.loopRan);
    EXPECT_FALSE(result.Succeeded());

    settings.faults.openError = 0;
    settings.faults.openEmpty = true;
    TRecordingSink empty;
    result = Acquire(root.path(), empty);
    EXPECT_EQ(result.end, TAcquisitionEnd::NoNewData);
    EXPECT_EQ(empty.boxes, std::vector<std::string>{S("最新のデータがありません。")});
    EXPECT_TRUE(result.Succeeded());

    settings.faults.openEmpty = false;
    TRecordingSink none;
    result = Acquire(root.path(), none, store::TStoreWriteMode::Batched, "20991231000000");
    EXPECT_EQ(result.end, TAcquisitionEnd::NoNewData) << "JVOpen -1";
    EXPECT_EQ(none.boxes, std::vector<std::string>{S("最新のデータがありません。")});
    EXPECT_TRUE(result.closed);
    EXPECT_FALSE(result.nextStartTime);
    EXPECT_TRUE(SnapshotStore(root.path()).empty()) << "nothing but the lock file";
}

TEST_F(AcquisitionTest, AFailedDownloadEndsWithTheStatusMessage) {
    settings.faults.statusFailAfter = 1;
    settings.faults.statusError = -502;
    const TAcquisitionResult result = Acquire(root.path(), sink);
    EXPECT_EQ(result.end, TAcquisitionEnd::StatusError);
    EXPECT_EQ(result.code, -502);
    EXPECT_EQ(
        result.message,
        S("JVStatusエラー:ダウンロードに失敗しました。（通信エラーやディスクエラーなど）(-502)"));
    EXPECT_TRUE(result.closed);
    EXPECT_FALSE(result.loopRan);
}

TEST_F(AcquisitionTest, NoNextStartWithoutAUsableTimestamp) {
    for (const auto form : {standin::TTimestampForm::Blank, standin::TTimestampForm::Zeros}) {
        settings.faults.lastFileTimestamp = form;
        TRecordingSink any;
        TempDir store;
        const TAcquisitionResult result = Acquire(store.path(), any);
        EXPECT_EQ(result.end, TAcquisitionEnd::Completed);
        EXPECT_FALSE(result.nextStartTime);
    }
}

TEST_F(AcquisitionTest, ACloseErrorIsShownAfterAStoredRun) {
    settings.faults.closeError = -201;
    const TAcquisitionResult result = Acquire(root.path(), sink);
    EXPECT_EQ(result.end, TAcquisitionEnd::Completed);
    EXPECT_EQ(result.closeCode, -201);
    EXPECT_FALSE(result.Succeeded());
    EXPECT_EQ(sink.boxes.back(), S("JVCloseエラー:(-201)"));
    EXPECT_TRUE(result.nextStartTime) << "everything was read and stored";
}

TEST_F(AcquisitionTest, CancelWhileFetchingEndsWithoutClosing) {
    settings.downloadMsPerFile = 200;
    sink.cancel = &cancel;
    sink.cancelAt = 2;
    const TAcquisitionResult result = Acquire(root.path(), sink);
    EXPECT_EQ(result.end, TAcquisitionEnd::Cancelled);
    EXPECT_FALSE(result.closed);
    EXPECT_FALSE(result.loopRan);
    EXPECT_EQ(sink.boxes, std::vector<std::string>{S("JVCancel:キャンセルされました")});
    EXPECT_EQ(sink.texts.back(), S("JVCancel:キャンセルされました"));
}

TEST_F(AcquisitionTest, CancelWhileReadingStoresWhatWasReadAndCloses) {
    ASSERT_TRUE(Acquire(root.path(), sink).Succeeded()); // fills the download cache
    TempDir store;
    TRecordingSink reading;
    reading.cancel = &cancel;
    reading.cancelAt = 60;
    const TAcquisitionResult result = Acquire(store.path(), reading);
    EXPECT_EQ(result.end, TAcquisitionEnd::Cancelled);
    EXPECT_TRUE(result.closed);
    EXPECT_TRUE(result.loopRan);
    EXPECT_FALSE(result.nextStartTime);
    EXPECT_EQ(reading.boxes, std::vector<std::string>{S("JVCancel:キャンセルされました")});
    EXPECT_FALSE(SnapshotStore(store.path()).empty());
}

} // namespace
