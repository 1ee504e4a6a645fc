// The acquisition window's behaviour through a JV-Link whose results each test sets: what the
// user sees in which order, which JV-Link calls are made, and when the start time moves.
#include "acquisition/GetDataTestSupport.h"
#include "files/ProgramFolder.h"
#include "store/StoreTestSeason.h"

#include <filesystem>
#include <memory>

namespace {

namespace fs = std::filesystem;
using namespace keiba::acqtest;
using acquisition::TAcquisitionEnd;
using acquisition::TGetDataControl;
using acquisition::TGetDataState;
using keiba::storetest::MakeRA;
using keiba::storetest::MakeSE;
using keiba::storetest::TRaceId;
using keiba::test::ReadFileBytes;
using keiba::test::TempDir;
using keiba::test::WriteFileBytes;

const std::string kNotice = "データ取込を開始します。データ作成が終了するまで本ソフトを操作したり"
                            "他のアプリケーションを操作することは極力避けてください。";
const std::string kQuestion = "データ取込を中止します。実行しますか？";
const std::string kCancelled = "JVCancel:キャンセルされました";

class GetDataControlTest : public ::testing::Test {
protected:
    GetDataControlTest() { fs::create_directories(root / "DATA"); }

    fs::path SettingsFile() const { return dir / "tomberly.ini"; }

    void Make(store::TLocalClock clock = FixedClock(2004, 5, 10, 12, 34, 56)) {
        control = std::make_unique<TGetDataControl>(
            acquisition::TGetDataContext{link, ui, settings, root, std::move(clock), {}}, view);
        control->FormCreate();
        if (declineSetup) {
            control->SetSetup(false); // the ordinary acquisition, as from a store with data
        }
        line.clear();
    }

    std::string StoredLastTime() const {
        return settings.ReadText("JvDataGet", "LastTime", "(none)");
    }

    // A start time stored before the window opens.
    void StoreLastTime(std::string_view text) {
        ASSERT_TRUE(settings.WriteText("JvDataGet", "LastTime", text).ok());
    }

    // Two files of one RA record each, as JVRead hands them out.
    void TwoFilesOfRaces() {
        link.openReadCount = 2;
        link.reads = {
            {1, MakeRA(TRaceId{}, '2')}, {-1}, {1, MakeRA(TRaceId{.race = "02"}, '2')}, {-1}};
    }

    TempDir dir;
    fs::path root = dir / "root";
    std::vector<std::string> line;
    TFakeJVLink link;
    TLoggingInteraction ui{line};
    TRecordingView view{line};
    settings::TIniGT settings{files::TextFromPath(dir / "tomberly.ini")};
    std::unique_ptr<TGetDataControl> control;
    bool declineSetup = true; // the setup the empty store proposes is declined in Make
};

#define EXPECT_LINE(actual, ...)                                                                   \
    do {                                                                                           \
        const std::vector<std::string> expected{__VA_ARGS__};                                      \
        EXPECT_EQ(actual, expected) << "saw:\n"                                                    \
                                    << ShowLine(actual) << "expected:\n"                           \
                                    << ShowLine(expected);                                         \
    } while (false)

// ---- Decisions ----------------------------------------------------------------------------

TEST(GetDataDecisions, OpenResults) {
    using acquisition::ClassifyOpen;
    using acquisition::TOpenOutcome;
    EXPECT_EQ(ClassifyOpen(-1, 5, 2), TOpenOutcome::NoNewData);
    EXPECT_EQ(ClassifyOpen(0, 0, 0), TOpenOutcome::NoNewData) << "nothing to read is no new data";
    EXPECT_EQ(ClassifyOpen(0, 0, 3), TOpenOutcome::NoNewData);
    EXPECT_EQ(ClassifyOpen(0, -4, 0), TOpenOutcome::NoNewData);
    EXPECT_EQ(ClassifyOpen(-504, 5, 0), TOpenOutcome::Failed);
    EXPECT_EQ(ClassifyOpen(-2, 0, 0), TOpenOutcome::Failed);
    EXPECT_EQ(ClassifyOpen(1, 5, 0), TOpenOutcome::Failed) << "only 0 means opened";
    EXPECT_EQ(ClassifyOpen(0, 5, 1), TOpenOutcome::Fetch);
    EXPECT_EQ(ClassifyOpen(0, 5, 0), TOpenOutcome::Read);
    EXPECT_EQ(ClassifyOpen(0, 5, -1), TOpenOutcome::Read);
}

TEST(GetDataDecisions, StatusPolls) {
    using acquisition::ClassifyStatus;
    using acquisition::TStatusOutcome;
    EXPECT_EQ(ClassifyStatus(-502, 3), TStatusOutcome::Failed);
    EXPECT_EQ(ClassifyStatus(-1, 3), TStatusOutcome::Failed);
    EXPECT_EQ(ClassifyStatus(0, 3), TStatusOutcome::Fetching);
    EXPECT_EQ(ClassifyStatus(2, 3), TStatusOutcome::Fetching);
    EXPECT_EQ(ClassifyStatus(3, 3), TStatusOutcome::Fetched);
    EXPECT_EQ(ClassifyStatus(4, 3), TStatusOutcome::Beyond);
}

TEST(GetDataDecisions, StartTimeOfTheSetting) {
    using acquisition::StartTimeOfSetting;
    const store::TLocalDateTime now{2004, 5, 3, 10, 20, 30};
    const store::TLocalDateTime eightDaysBefore{2004, 4, 25, 10, 20, 30};
    EXPECT_EQ(StartTimeOfSetting("2004/05/01 09:30:15", now),
              (store::TLocalDateTime{2004, 5, 1, 9, 30, 15}));
    EXPECT_EQ(StartTimeOfSetting("2004/5/1", now), (store::TLocalDateTime{2004, 5, 1, 0, 0, 0}));
    EXPECT_EQ(StartTimeOfSetting("", now), eightDaysBefore);
    EXPECT_EQ(StartTimeOfSetting("yesterday", now), eightDaysBefore);
    EXPECT_EQ(StartTimeOfSetting("2004/02/30 00:00:00", now), eightDaysBefore);
    EXPECT_EQ(StartTimeOfSetting("20040501093015", now), eightDaysBefore)
        << "the from-time form is not the stored form";
}

TEST(GetDataDecisions, TheStartTimeMovesOnlyAfterACompleteRunWithoutFetching) {
    acquisition::TAcquisitionResult run;
    run.readCount = 3;
    run.downloadCount = 0;
    run.lastFileTimestamp = "20040502183000";
    run.loopRan = true;
    run.loop.end = store::TReadLoopEnd::Completed;
    EXPECT_EQ(acquisition::NextLastTime(run), "2004/05/02 18:30:00");

    auto with = [&](auto change) {
        acquisition::TAcquisitionResult changed = run;
        change(changed);
        return acquisition::NextLastTime(changed);
    };
    EXPECT_EQ(with([](auto& r) { r.downloadCount = 2; }), std::nullopt) << "files were fetched";
    EXPECT_EQ(with([](auto& r) { r.loop.end = store::TReadLoopEnd::Cancelled; }), std::nullopt);
    EXPECT_EQ(with([](auto& r) { r.loop.end = store::TReadLoopEnd::ReadError; }), std::nullopt);
    EXPECT_EQ(with([](auto& r) { r.loop.end = store::TReadLoopEnd::StoreError; }), std::nullopt);
    EXPECT_EQ(with([](auto& r) { r.loop.end = store::TReadLoopEnd::CallError; }), std::nullopt);
    EXPECT_EQ(with([](auto& r) { r.loop.refused.length = 1; }), std::nullopt)
        << "a refused record must be read again";
    EXPECT_EQ(with([](auto& r) { r.loopRan = false; }), std::nullopt);
    EXPECT_EQ(with([](auto& r) { r.lastFileTimestamp = "00000000000000"; }), std::nullopt);
    EXPECT_EQ(with([](auto& r) { r.lastFileTimestamp = "              "; }), std::nullopt);
    EXPECT_EQ(with([](auto& r) { r.lastFileTimestamp = ""; }), std::nullopt);
    EXPECT_EQ(with([](auto& r) { r.lastFileTimestamp = "20041332000000"; }), std::nullopt);
    EXPECT_EQ(with([](auto& r) { r.loop.slotless = 2; }), "2004/05/02 18:30:00")
        << "runners without a slot are no failure";
    EXPECT_EQ(with([](auto& r) { r.closeCode = -1; }), "2004/05/02 18:30:00")
        << "everything was stored before JVClose";
}

TEST(GetDataTexts, NoticeAndQuestion) {
    EXPECT_EQ(acquisition::StartNoticeText(), S(kNotice));
    EXPECT_EQ(acquisition::CancelQuestionText(), S(kQuestion));
}

// ---- Window creation ----------------------------------------------------------------------

TEST_F(GetDataControlTest, WithoutASettingsFileThePickerShowsEightDaysBeforeNow) {
    Make(FixedClock(2004, 3, 5, 7, 8, 9));
    const store::TLocalDateTime expected{2004, 2, 26, 7, 8, 9};
    EXPECT_EQ(control->StartTime(), expected);
    ASSERT_TRUE(view.picker.has_value());
    EXPECT_EQ(*view.picker, expected);
    EXPECT_FALSE(fs::exists(SettingsFile())) << "opening the window writes nothing";
}

TEST_F(GetDataControlTest, TheStoredStartTimeIsShownQuotedOrNot) {
    StoreLastTime("2004/05/01 09:30:15");
    Make();
    EXPECT_EQ(control->StartTime(), (store::TLocalDateTime{2004, 5, 1, 9, 30, 15}));

    StoreLastTime("\xA2"
                  "2003/12/31 23:59:59"
                  "\xA3");
    Make();
    EXPECT_EQ(control->StartTime(), (store::TLocalDateTime{2003, 12, 31, 23, 59, 59}));

    StoreLastTime("\"2003/01/02 03:04:05\"");
    Make();
    EXPECT_EQ(control->StartTime(), (store::TLocalDateTime{2003, 1, 2, 3, 4, 5}));
}

TEST_F(GetDataControlTest, AnUnreadableStartTimeFallsBackToEightDaysBefore) {
    StoreLastTime("not a time");
    Make(FixedClock(2004, 5, 10, 12, 0, 0));
    EXPECT_EQ(control->StartTime(), (store::TLocalDateTime{2004, 5, 2, 12, 0, 0}));
    EXPECT_EQ(StoredLastTime(), "not a time") << "nothing is rewritten at creation";
}

TEST_F(GetDataControlTest, ChoosingADateKeepsTheTimeOfDay) {
    StoreLastTime("2004/05/01 09:30:15");
    Make();
    control->SetStartDate(2004, 4, 20);
    EXPECT_EQ(control->StartTime(), (store::TLocalDateTime{2004, 4, 20, 9, 30, 15}));
    control->SetStartDate(2004, 2, 30); // no such date: the picker never gives one
    EXPECT_EQ(control->StartTime(), (store::TLocalDateTime{2004, 4, 20, 9, 30, 15}));
    link.openResult = -1;
    control->ButtonStartClick();
    EXPECT_EQ(link.calls.front(), "JVOpen(RACERCVN,20040420093015,2)");
}

// ---- JVOpen results -----------------------------------------------------------------------

TEST_F(GetDataControlTest, NoNewDataIsToldAndJVLinkClosed) {
    StoreLastTime("2004/05/01 09:30:15");
    Make();
    link.openResult = -1;
    EXPECT_TRUE(control->ButtonStartClick());
    EXPECT_LINE(line, "running", Box(kNotice), "download:0", "read:0", "clear", kBeep,
                Box("最新のデータがありません。"), kBeep, "idle");
    EXPECT_EQ(link.calls,
              (std::vector<std::string>{"JVOpen(RACERCVN,20040501093015,2)", "JVClose"}));
    EXPECT_EQ(control->LastRun().end, TAcquisitionEnd::NoNewData);
    EXPECT_EQ(StoredLastTime(), "2004/05/01 09:30:15");
    EXPECT_FALSE(view.busy);
    EXPECT_FALSE(control->Running());
}

TEST_F(GetDataControlTest, OpenedWithNothingToReadBehavesLikeNoNewData) {
    Make();
    link.openResult = 0;
    link.openReadCount = 0;
    link.openDownloadCount = 0;
    control->ButtonStartClick();
    EXPECT_LINE(line, "running", Box(kNotice), "download:0", "read:0", "clear", kBeep,
                Box("最新のデータがありません。"), kBeep, "idle");
    EXPECT_EQ(link.Count("JVClose"), 1);
    EXPECT_EQ(link.Count("JVRead"), 0);
    EXPECT_FALSE(fs::exists(SettingsFile()));
}

TEST_F(GetDataControlTest, OpenErrorsShowTheComponentsMessage) {
    const std::pair<std::int32_t, std::string> cases[] = {
        {-504, "JVOpenエラー:サーバーがメンテナンス中です。(-504)"},
        {-301, "JVOpenエラー:認証エラーが発生しました。(-301)"},
        {-303, "JVOpenエラー:サービスキーが設定されていません。（サービスキーが空値）(-303)"},
        {-999, "JVOpenエラー:(-999)"},
    };
    for (const auto& [code, text] : cases) {
        Make();
        link.calls.clear();
        link.openResult = code;
        control->ButtonStartClick();
        EXPECT_LINE(line, "running", Box(kNotice), "download:0", "read:0", "clear", kBeep,
                    Box(text), kBeep, "idle");
        EXPECT_EQ(link.calls.back(), "JVClose");
        EXPECT_EQ(control->LastRun().end, TAcquisitionEnd::OpenError);
        EXPECT_EQ(control->LastRun().code, code);
    }
}

TEST_F(GetDataControlTest, AFailedCloseIsShownAfterItsBeep) {
    Make();
    link.openResult = -1;
    link.closeResult = -201;
    control->ButtonStartClick();
    EXPECT_LINE(Only(line, {"box", "beep"}), Box(kNotice), kBeep, Box("最新のデータがありません。"),
                kBeep, Box("JVCloseエラー:(-201)"));
}

// ---- A run without fetching ---------------------------------------------------------------

TEST_F(GetDataControlTest, ARunWithNothingToFetchReadsStoresAndMovesTheStartTime) {
    StoreLastTime("2004/04/20 10:00:00");
    Make();
    TwoFilesOfRaces();
    control->ButtonStartClick();

    EXPECT_LINE(line, "running", Box(kNotice), "download:0", "read:0", "clear",
                Text("JVOpen正常:正常に実行されました。(0)"), Text("ReadCount:2, DownloadCount:0"),
                "downloadmax:100", "download:100", Text("データ読込み中．．．(0/2)"), "read:0",
                "readmax:2", Made("作成済み:01R/2004年05月01日東京.jvRA"), "read:1",
                Text("データ読込み中．．．(1/2)"), Made("作成済み:02R/2004年05月01日東京.jvRA"),
                "read:2", Text("データ読込み中．．．(2/2)"), Text("JVRead EndOfFile :0"),
                Text("データ読込み完了(2/2)"), "read:0", "download:0", kBeep,
                Box("データ作成が完了しました。"), kBeep, "picker", "idle");
    EXPECT_EQ(link.calls.front(), "JVOpen(RACERCVN,20040420100000,2)");
    EXPECT_EQ(link.calls.back(), "JVClose");
    EXPECT_EQ(link.lastReadSize, 60000);
    EXPECT_EQ(StoredLastTime(), "2004/05/02 18:30:00");
    EXPECT_EQ(control->StartTime(), (store::TLocalDateTime{2004, 5, 2, 18, 30, 0}));
    EXPECT_EQ(*view.picker, control->StartTime());
    EXPECT_EQ(view.madeFiles.size(), 2u);
    EXPECT_TRUE(fs::exists(root / "DATA" / files::PathFromText(S("2004年05月01日東京.jvRA"))));
    EXPECT_EQ(control->LastRun().end, TAcquisitionEnd::Completed);
    EXPECT_FALSE(view.busy);
}

TEST_F(GetDataControlTest, TheDownloadBarIsFullWhileReadingWhenNothingWasFetched) {
    Make();
    TwoFilesOfRaces();
    int seenMax = -1;
    int seenValue = -1;
    ui.OnProcessEvents([&] {
        seenMax = view.downloadMax;
        seenValue = view.download;
    });
    control->ButtonStartClick();
    EXPECT_EQ(seenMax, 100);
    EXPECT_EQ(seenValue, 100);
    EXPECT_EQ(view.download, 0) << "both bars return to 0 at the end";
    EXPECT_EQ(view.reading, 0);
}

TEST_F(GetDataControlTest, ABlankOrZeroTimestampLeavesTheStartTime) {
    for (const std::string stamp : {"00000000000000", "              ", ""}) {
        StoreLastTime("2004/04/20 10:00:00");
        Make();
        TwoFilesOfRaces();
        link.openTimestamp = stamp;
        control->ButtonStartClick();
        EXPECT_EQ(control->LastRun().end, TAcquisitionEnd::Completed);
        EXPECT_EQ(StoredLastTime(), "2004/04/20 10:00:00") << "timestamp '" << stamp << "'";
        EXPECT_EQ(control->StartTime(), (store::TLocalDateTime{2004, 4, 20, 10, 0, 0}));
    }
}

TEST_F(GetDataControlTest, AReadErrorKeepsWhatWasStoredAndTheStartTime) {
    StoreLastTime("2004/04/20 10:00:00");
    Make();
    link.openReadCount = 2;
    link.reads = {{1, MakeRA(TRaceId{}, '2')}, {-1}, {-402}};
    control->ButtonStartClick();
    EXPECT_LINE(Only(line, {"box", "beep", "made"}), Box(kNotice),
                Made("作成済み:01R/2004年05月01日東京.jvRA"), kBeep,
                Box("JVReadエラー:ダウンロードしたファイルサイズが異常です。(-402)"), kBeep);
    EXPECT_EQ(link.calls.back(), "JVClose");
    EXPECT_EQ(control->LastRun().end, TAcquisitionEnd::ReadError);
    EXPECT_EQ(control->LastRun().code, -402);
    EXPECT_EQ(StoredLastTime(), "2004/04/20 10:00:00");
    EXPECT_TRUE(fs::exists(root / "DATA" / files::PathFromText(S("2004年05月01日東京.jvRA"))));
}

TEST_F(GetDataControlTest, ARefusedRecordLeavesTheStartTimeSoItIsReadAgain) {
    StoreLastTime("2004/04/20 10:00:00");
    Make();
    std::string damaged = MakeRA(TRaceId{}, '2');
    damaged = damaged.substr(0, 600) + "\r\n";
    link.openReadCount = 1;
    link.reads = {{1, damaged}, {1, MakeRA(TRaceId{.race = "02"}, '2')}, {-1}};
    control->ButtonStartClick();
    EXPECT_EQ(control->LastRun().end, TAcquisitionEnd::Completed);
    EXPECT_EQ(control->LastRun().loop.refused.length, 1u);
    EXPECT_EQ(StoredLastTime(), "2004/04/20 10:00:00");
    ASSERT_EQ(view.madeFiles.size(), 2u);
    EXPECT_TRUE(view.madeFiles[0].starts_with(S("保存せず(")));
    EXPECT_EQ(view.madeFiles[1], S("作成済み:02R/2004年05月01日東京.jvRA"));
}

TEST_F(GetDataControlTest, AnUnreadableSettingsFileStopsStartBeforeJVOpen) {
    fs::create_directories(dir / "blocked.ini"); // a folder where the file should be
    settings.SetFileName(files::TextFromPath(dir / "blocked.ini"));
    Make();
    TwoFilesOfRaces();
    control->ButtonStartClick();
    EXPECT_EQ(link.Count("JVOpen"), 0);
    EXPECT_EQ(control->LastRun().end, TAcquisitionEnd::SettingsUnreadable);
    const auto boxes = Only(line, {"box"});
    ASSERT_EQ(boxes.size(), 1u) << ShowLine(line);
    EXPECT_NE(boxes[0].find(S("設定ファイルを読み込めません:")), std::string::npos);
    EXPECT_NE(boxes[0].find("blocked.ini"), std::string::npos) << boxes[0];
    EXPECT_FALSE(control->Running());
}

TEST_F(GetDataControlTest, AStoreInUseByAnotherAcquisitionIsLeftAlone) {
    Make();
    TwoFilesOfRaces();
    store::TStoreLock other = store::TStoreLock::Take(root);
    ASSERT_TRUE(other.Held());
    control->ButtonStartClick();
    EXPECT_EQ(control->LastRun().end, TAcquisitionEnd::StoreBusy);
    EXPECT_EQ(link.Count("JVOpen"), 0);
    EXPECT_TRUE(fs::is_empty(root / "DATA"));
    EXPECT_FALSE(control->Running());

    // Once the other run has ended, Start runs and lets the store go at its end.
    other.Release();
    control->ButtonStartClick();
    EXPECT_EQ(control->LastRun().end, TAcquisitionEnd::Completed);
    EXPECT_TRUE(store::TStoreLock::Take(root).Held());
}

// ---- A run with fetching ------------------------------------------------------------------

class GetDataFetchTest : public GetDataControlTest {
protected:
    void StartFetching(std::int32_t download = 3) {
        StoreLastTime("2004/04/20 10:00:00");
        Make();
        TwoFilesOfRaces();
        link.openDownloadCount = download;
        control->ButtonStartClick();
        ASSERT_EQ(control->State(), TGetDataState::Fetching);
        line.clear();
    }
};

TEST_F(GetDataFetchTest, StartLeavesTheTimerRunning) {
    StoreLastTime("2004/04/20 10:00:00");
    Make();
    TwoFilesOfRaces();
    link.openDownloadCount = 3;
    control->ButtonStartClick();
    EXPECT_LINE(line, "running", Box(kNotice), "download:0", "read:0", "clear",
                Text("JVOpen正常:正常に実行されました。(0)"), Text("ReadCount:2, DownloadCount:3"),
                Text("ダウンロード中・・・"), "downloadmax:3", "timer:on");
    EXPECT_TRUE(view.timer);
    EXPECT_TRUE(view.busy);
    EXPECT_EQ(link.Count("JVRead"), 0);
}

TEST_F(GetDataFetchTest, EachPollShowsTheFetchedCountAndTheLastStartsReading) {
    StartFetching(3);
    link.statuses = {0, 0, 2, 5, 3};
    control->TimerJVStatusTimer();
    control->TimerJVStatusTimer(); // the same count again changes nothing
    control->TimerJVStatusTimer();
    control->TimerJVStatusTimer(); // above the count: nothing, the timer goes on
    EXPECT_LINE(line, Text("ダウンロード中．．．(0/3)"), "download:0",
                Text("ダウンロード中．．．(2/3)"), "download:2");
    EXPECT_TRUE(view.timer);
    line.clear();
    control->TimerJVStatusTimer();
    EXPECT_FALSE(view.timer);
    EXPECT_LINE(Only(line, {"text", "download", "box", "beep", "picker", "idle"}),
                Text("ダウンロード中．．．(3/3)"), "download:3", Text("データ読込み中．．．(0/2)"),
                Text("データ読込み中．．．(1/2)"), Text("データ読込み中．．．(2/2)"),
                Text("JVRead EndOfFile :0"), Text("データ読込み完了(2/2)"), "download:0", kBeep,
                Box("データ作成が完了しました。"), kBeep, "idle");
    EXPECT_EQ(link.calls.back(), "JVClose");
    EXPECT_EQ(StoredLastTime(), "2004/04/20 10:00:00")
        << "after a fetch the start time stays as it was";
    EXPECT_EQ(control->StartTime(), (store::TLocalDateTime{2004, 4, 20, 10, 0, 0}));
    EXPECT_EQ(control->LastRun().end, TAcquisitionEnd::Completed);

    link.calls.clear();
    control->TimerJVStatusTimer(); // a tick left over after the run
    EXPECT_TRUE(link.calls.empty());
}

TEST_F(GetDataFetchTest, AStatusErrorStopsTheTimerAndCloses) {
    StartFetching(3);
    link.statuses = {1, -502};
    control->TimerJVStatusTimer();
    control->TimerJVStatusTimer();
    EXPECT_FALSE(view.timer);
    EXPECT_LINE(
        line, Text("ダウンロード中．．．(1/3)"), "download:1", kBeep,
        Box("JVStatusエラー:ダウンロードに失敗しました。（通信エラーやディスクエラーなど）(-"
            "502)"),
        kBeep, "idle");
    EXPECT_EQ(link.calls.back(), "JVClose");
    EXPECT_EQ(link.Count("JVRead"), 0);
    EXPECT_EQ(control->LastRun().end, TAcquisitionEnd::StatusError);
    EXPECT_EQ(StoredLastTime(), "2004/04/20 10:00:00");
    EXPECT_FALSE(view.busy);
}

TEST_F(GetDataFetchTest, StartIsRefusedWhileARunIsUnderWay) {
    StartFetching(3);
    EXPECT_FALSE(control->ButtonStartClick());
    EXPECT_TRUE(line.empty()) << ShowLine(line);
    EXPECT_EQ(link.Count("JVOpen"), 1);
    EXPECT_TRUE(view.running);
}

TEST_F(GetDataFetchTest, CancelWhileFetchingEndsWithoutClosing) {
    StartFetching(3);
    ui.AnswerConfirm(true);
    control->ButtonCancelClick();
    EXPECT_LINE(line, Ask(kQuestion), kBeep, Box(kCancelled), Text(kCancelled), "idle");
    EXPECT_FALSE(view.timer);
    EXPECT_FALSE(view.busy);
    EXPECT_EQ(link.calls.back(), "JVCancel");
    EXPECT_EQ(link.Count("JVClose"), 0);
    EXPECT_EQ(control->LastRun().end, TAcquisitionEnd::Cancelled);
    EXPECT_EQ(StoredLastTime(), "2004/04/20 10:00:00");

    link.calls.clear();
    control->TimerJVStatusTimer();
    EXPECT_TRUE(link.calls.empty()) << "the run is over";
    EXPECT_TRUE(control->ButtonStartClick()) << "a new run may start";
}

TEST_F(GetDataFetchTest, AnsweringNoToCancelChangesNothing) {
    StartFetching(3);
    ui.AnswerConfirm(false);
    control->ButtonCancelClick();
    EXPECT_LINE(line, Ask(kQuestion));
    EXPECT_EQ(link.Count("JVCancel"), 0);
    EXPECT_TRUE(view.timer);
    EXPECT_EQ(control->State(), TGetDataState::Fetching);
}

TEST_F(GetDataFetchTest, PollsWaitWhileTheCancelQuestionIsUp) {
    StartFetching(3);
    link.statuses = {3};
    ui.onConfirm = [&] { control->TimerJVStatusTimer(); };
    ui.AnswerConfirm(false);
    control->ButtonCancelClick();
    EXPECT_EQ(link.Count("JVStatus"), 0)
        << "a completed fetch must not start reading under the box";
    control->TimerJVStatusTimer();
    EXPECT_EQ(control->LastRun().end, TAcquisitionEnd::Completed);
}

TEST_F(GetDataFetchTest, PollsWaitWhileTheSettingsDialogIsUp) {
    StartFetching(3);
    link.statuses = {3};
    link.onSetUIProperties = [&] { control->TimerJVStatusTimer(); };
    control->SpeedButton1Click();
    EXPECT_EQ(link.Count("JVStatus"), 0);
    EXPECT_EQ(control->State(), TGetDataState::Fetching);
}

// ---- Cancel while reading -----------------------------------------------------------------

TEST_F(GetDataControlTest, CancelWhileReadingStopsTheLoopAndCloses) {
    StoreLastTime("2004/04/20 10:00:00");
    Make();
    TwoFilesOfRaces();
    int turns = 0;
    ui.OnProcessEvents([&] {
        if (++turns == 3) {
            ui.AnswerConfirm(true);
            control->ButtonCancelClick();
        }
    });
    control->ButtonStartClick();
    EXPECT_LINE(Only(line, {"text", "box", "beep", "confirm", "made", "idle"}), Box(kNotice),
                Text("JVOpen正常:正常に実行されました。(0)"), Text("ReadCount:2, DownloadCount:0"),
                Text("データ読込み中．．．(0/2)"), Made("作成済み:01R/2004年05月01日東京.jvRA"),
                Text("データ読込み中．．．(1/2)"), Ask(kQuestion), kBeep, Box(kCancelled),
                Text(kCancelled), kBeep, "idle");
    EXPECT_EQ(link.Count("JVRead"), 2) << "no JVRead after the cancel";
    EXPECT_EQ(link.calls[link.calls.size() - 2], "JVCancel");
    EXPECT_EQ(link.calls.back(), "JVClose");
    EXPECT_EQ(control->LastRun().end, TAcquisitionEnd::Cancelled);
    EXPECT_EQ(StoredLastTime(), "2004/04/20 10:00:00")
        << "a cancelled run must not skip the unread files next time";
    EXPECT_TRUE(fs::exists(root / "DATA" / files::PathFromText(S("2004年05月01日東京.jvRA"))));
}

TEST_F(GetDataControlTest, CancelWhenNoRunIsUnderWayOnlyTellsSo) {
    Make();
    ui.AnswerConfirm(true);
    control->ButtonCancelClick();
    EXPECT_LINE(line, Ask(kQuestion), kBeep, Box(kCancelled), Text(kCancelled));
    EXPECT_EQ(link.calls, std::vector<std::string>{"JVCancel"});
    EXPECT_EQ(link.Count("JVClose"), 0);
    link.openResult = -1;
    control->ButtonStartClick();
    EXPECT_EQ(link.Count("JVOpen"), 1) << "Start clears the cancel flag";
}

// ---- Closing the window -------------------------------------------------------------------

TEST_F(GetDataControlTest, ClosingWhenIdleRebuildsTheDateList) {
    Make();
    EXPECT_TRUE(control->FormCloseQuery());
    EXPECT_LINE(line, "rebuild");
    EXPECT_TRUE(link.calls.empty());
}

TEST_F(GetDataFetchTest, ClosingWhileFetchingAsksThenCancels) {
    StartFetching(3);
    ui.AnswerConfirm(false);
    EXPECT_FALSE(control->FormCloseQuery());
    EXPECT_LINE(line, Ask(kQuestion));
    EXPECT_EQ(control->State(), TGetDataState::Fetching);

    line.clear();
    ui.AnswerConfirm(true);
    EXPECT_TRUE(control->FormCloseQuery());
    EXPECT_LINE(line, Ask(kQuestion), kBeep, Box(kCancelled), Text(kCancelled), "idle", "rebuild");
    EXPECT_EQ(link.Count("JVCancel"), 1);
    EXPECT_FALSE(view.timer);
}

TEST_F(GetDataControlTest, ClosingWhileReadingWaitsForTheLoopAndJVClose) {
    Make();
    TwoFilesOfRaces();
    int turns = 0;
    bool answer = true;
    ui.OnProcessEvents([&] {
        if (++turns == 2) {
            ui.AnswerConfirm(answer);
            answer = control->FormCloseQuery();
        }
    });
    control->ButtonStartClick();
    EXPECT_FALSE(answer) << "the window cannot go while the loop is on the stack";
    EXPECT_LINE(Only(line, {"confirm", "box", "beep", "idle", "closelater", "rebuild"}),
                Box(kNotice), Ask(kQuestion), kBeep, Box(kCancelled), kBeep, "idle", "closelater");
    EXPECT_EQ(link.calls.back(), "JVClose");
    EXPECT_EQ(link.Count("JVRead"), 1);
    EXPECT_EQ(view.rebuilds, 0);

    line.clear();
    EXPECT_TRUE(control->FormCloseQuery()) << "the second close goes through";
    EXPECT_LINE(line, "rebuild");
}

TEST_F(GetDataControlTest, ASecondCloseWhileTheLoopStopsAsksNothingMore) {
    Make();
    TwoFilesOfRaces();
    int turns = 0;
    ui.OnProcessEvents([&] {
        if (++turns == 2) {
            ui.AnswerConfirm(true);
            EXPECT_FALSE(control->FormCloseQuery());
            EXPECT_FALSE(control->FormCloseQuery()) << "the first close is still on its way";
        }
    });
    control->ButtonStartClick();
    EXPECT_EQ(Only(line, {"confirm"}).size(), 1u) << ShowLine(line);
    EXPECT_EQ(view.closeLaters, 1);
    EXPECT_EQ(link.Count("JVCancel"), 1);
}

TEST_F(GetDataControlTest, ClosingWhileReadingAndAnsweringNoReadsOn) {
    Make();
    TwoFilesOfRaces();
    int turns = 0;
    ui.OnProcessEvents([&] {
        if (++turns == 2) {
            ui.AnswerConfirm(false);
            EXPECT_FALSE(control->FormCloseQuery());
        }
    });
    control->ButtonStartClick();
    EXPECT_EQ(control->LastRun().end, TAcquisitionEnd::Completed);
    EXPECT_EQ(view.closeLaters, 0);
    EXPECT_EQ(view.rebuilds, 0);
}

TEST_F(GetDataControlTest, AbandoningAFetchingRunCancelsItQuietly) {
    Make();
    link.openDownloadCount = 2;
    control->ButtonStartClick();
    line.clear();
    control->Abandon();
    EXPECT_TRUE(line.empty()) << ShowLine(line);
    EXPECT_EQ(link.calls.back(), "JVCancel");
    EXPECT_FALSE(control->Running());
}

// ---- The component's settings dialog and call failures ------------------------------------

TEST_F(GetDataControlTest, SettingsDialogErrorsAreShown) {
    Make();
    link.uiResult = 0;
    control->SpeedButton1Click();
    EXPECT_TRUE(line.empty());
    link.uiResult = -100;
    control->SpeedButton1Click();
    EXPECT_LINE(line, kBeep,
                Box("JVSetUIPropertiesエラー：パラメータが不正あるいはレジストリへの保存に失敗しま"
                    "した。(-100)"));
    line.clear();
    link.uiResult = -101;
    control->SpeedButton1Click();
    EXPECT_LINE(line, kBeep,
                Box("JVSetUIPropertiesエラー：すでにサービスキーが登録されています。(-101)"));
}

TEST_F(GetDataControlTest, AFailedOpenCallIsAnErrorAndNothingIsClosed) {
    Make();
    link.throwOnOpen = true;
    control->ButtonStartClick();
    EXPECT_LINE(Only(line, {"error", "idle"}), "error:JVOpen: the call failed", "idle");
    EXPECT_EQ(link.Count("JVClose"), 0);
    EXPECT_FALSE(view.busy);
    EXPECT_EQ(control->LastRun().end, TAcquisitionEnd::CallError);
}

TEST_F(GetDataFetchTest, AFailedStatusCallStopsTheTimerAndCloses) {
    StartFetching(2);
    link.throwOnStatus = true;
    control->TimerJVStatusTimer();
    EXPECT_LINE(line, "error:JVStatus: the call failed", "idle");
    EXPECT_FALSE(view.timer);
    EXPECT_EQ(link.calls.back(), "JVClose");
}

} // namespace
