#include "files/WholeFile.h"
#include "store/ReadLoop.h"
#include "store/StoreTestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

namespace fs = std::filesystem;
using namespace store;
using namespace keiba::storetest;
using keiba::test::ReadFileBytes;
using keiba::test::S;
using keiba::test::Show;
using keiba::test::TempDir;

// "Now" is 2004-05-10 noon: the date cut is 2004-05-06.
const TLocalClock kClock = FixedClock(2004, 5, 10);
const TRaceId kDay{"20040508", "05", "02", "05", "01"}; // after the cut
const TRaceId kOld{"20040501", "05", "02", "03", "01"}; // before it

class ReadLoopTest : public ::testing::Test {
protected:
    TReadLoopResult Run(jvlink::IJVLink& link, std::int32_t readCount,
                        TReadLoopOptions options = {}, const TLocalClock& clock = kClock) {
        return RunReadLoop(link, readCount, clock, root.path(), cancel, sink, options);
    }
    TReadLoopResult Run(const std::vector<std::string>& records, TReadLoopOptions options = {}) {
        TScriptedJVLink link(RecordSteps(records));
        return Run(link, 1, options);
    }
    std::string File(std::string_view utf8) const {
        return ReadFileBytes(root.path() / fs::path(std::u8string(utf8.begin(), utf8.end())));
    }
    bool Exists(std::string_view utf8) const {
        return fs::exists(root.path() / fs::path(std::u8string(utf8.begin(), utf8.end())));
    }

    TempDir root;
    std::atomic<bool> cancel{false};
    TRecordingSink sink;
};

// ---- Texts --------------------------------------------------------------------------------

TEST(ReadLoopTexts, AsTheWindowShowsThem) {
    EXPECT_EQ(ReadingProgressText(0, 12), S("データ読込み中．．．(0/12)"));
    EXPECT_EQ(ReadingProgressText(3, 12), S("データ読込み中．．．(3/12)"));
    EXPECT_EQ(ReadDoneText(12, 12), S("データ読込み完了(12/12)"));
    EXPECT_EQ(EndOfFileText(), "JVRead EndOfFile :0");
    EXPECT_EQ(CompletedText(), S("データ作成が完了しました。"));
    EXPECT_EQ(ReadErrorText(-402),
              S("JVReadエラー:ダウンロードしたファイルサイズが異常です。(-402)"));
    EXPECT_EQ(ReadErrorText(-403),
              S("JVReadエラー:ダウンロードしたファイル内容が異常です。(-403)"));
    EXPECT_EQ(ReadErrorText(-502),
              S("JVReadエラー:ダウンロードに失敗しました。(通信エラーやディスクエラー)(-502)"));
    EXPECT_EQ(ReadErrorText(-999), S("JVReadエラー:(-999)"));
    EXPECT_EQ(RefusedLine(TRecordFault::Length, "SE", "RACE0001.jvd"),
              S("保存せず(レコード長不正):SE/RACE0001.jvd"));
    EXPECT_EQ(RefusedLine(TRecordFault::Bytes, "RA", "X"), S("保存せず(文字コード不正):RA/X"));
    EXPECT_EQ(RefusedLine(TRecordFault::NameField, "UM", "X"), S("保存せず(ファイル名不正):UM/X"));
    EXPECT_EQ(RefusedSummary({2, 1, 3}),
              S("保存しなかったレコード:6件\r\nレコード長不正:2件\r\n文字コード不正:1件\r\n"
                "ファイル名不正:3件"));
}

// ---- The loop's road ----------------------------------------------------------------------

TEST_F(ReadLoopTest, ProgressFileEndsAndTheEndOfTheData) {
    TScriptedJVLink link({{1, MakeRA(kDay, '1')},
                          {-2, {}},
                          {1, MakeHR(kDay, '1')},
                          {-3, {}},
                          {-1, {}},
                          {1, MakeUM("2001104567")},
                          {-1, {}},
                          {0, {}}});
    const TReadLoopResult result = Run(link, 2);
    EXPECT_EQ(result.end, TReadLoopEnd::Completed);
    EXPECT_EQ(result.filesRead, 2);
    EXPECT_EQ(result.records, 3u);
    EXPECT_EQ(result.stored, 3u);
    EXPECT_EQ(link.reads, 8);
    EXPECT_EQ(link.lastSize, 60000);
    EXPECT_EQ(sink.pending, 8) << "events are processed once per turn";

    const std::vector<std::string> expected = {
        "text:" + S("データ読込み中．．．(0/2)"),
        "read:0",
        "readmax:2",
        "read:1",
        "text:" + S("データ読込み中．．．(1/2)"),
        "read:2",
        "text:" + S("データ読込み中．．．(2/2)"),
        "text:JVRead EndOfFile :0",
        "text:" + S("データ読込み完了(2/2)"),
        "read:0",
        "download:0",
        "beep",
        "box:" + S("データ作成が完了しました。"),
    };
    EXPECT_EQ(sink.events, expected);
    EXPECT_EQ(sink.madeFiles, (std::vector<std::string>{S("作成済み:01R/2004年05月08日東京.jvRA"),
                                                        S("作成済み:01R/2004年05月08日東京.jvHR"),
                                                        S("作成済み:2001104567.jvUM2")}));
}

TEST_F(ReadLoopTest, JVReadErrorsEndTheLoopAndKeepWhatWasStored) {
    for (std::int32_t code : {-402, -403, -502, -503, -4}) {
        TempDir dir;
        TRecordingSink errorSink;
        TScriptedJVLink link({{1, MakeRA(kDay, '1')},
                              {1, MakeUM("2001104567")},
                              {code, {}},
                              {1, MakeHR(kDay, '1')}});
        const TReadLoopResult result = RunReadLoop(link, 1, kClock, dir.path(), cancel, errorSink);
        EXPECT_EQ(result.end, TReadLoopEnd::ReadError) << code;
        EXPECT_EQ(result.code, code);
        EXPECT_EQ(result.message, ReadErrorText(code));
        EXPECT_EQ(link.reads, 3) << "nothing is read after the error";
        ASSERT_FALSE(errorSink.boxes.empty());
        EXPECT_EQ(errorSink.boxes.back(), ReadErrorText(code));
        EXPECT_EQ(errorSink.events.end()[-2], "beep");
        EXPECT_TRUE(fs::exists(dir / "UM2" / "2001" / "2001104567.jvUM2")) << code;
        EXPECT_EQ(SnapshotStore(dir.path()).size(), 2u);
    }
}

TEST_F(ReadLoopTest, CancelStopsBeforeTheNextReadWithEveryFileWhole) {
    std::vector<std::string> records;
    for (int race = 1; race <= 12; ++race) {
        TRaceId id = kDay;
        id.race = TwoDigits(race);
        records.push_back(MakeRA(id, '7'));
        for (int horse = 1; horse <= 16; ++horse) {
            records.push_back(
                MakeSE(id, TwoDigits(horse), "20011" + std::to_string(10000 + horse), '7'));
        }
    }
    TScriptedJVLink link(RecordSteps(records));
    sink.cancel = &cancel;
    sink.cancelAt = 100;
    const TReadLoopResult result = Run(link, 1);
    EXPECT_EQ(result.end, TReadLoopEnd::Cancelled);
    EXPECT_EQ(link.reads, 99) << "the flag is seen before the 100th read";
    EXPECT_EQ(result.records, 99u);
    EXPECT_TRUE(sink.boxes.empty()) << "the window tells of the cancel itself";

    const auto files = SnapshotStore(root.path());
    ASSERT_FALSE(files.empty());
    for (const auto& [name, bytes] : files) {
        const std::size_t length =
            name.ends_with(".jvRA") || name.ends_with(".jvSERA") ? 1272 : 555;
        EXPECT_EQ(bytes.size() % length, 0u) << name;
        EXPECT_TRUE(bytes.ends_with("\r\n")) << name;
    }
    EXPECT_EQ(SplitLines(files.at("DATA/2004年05月08日東京.jvSEr")).size(), 216u);

    // Reading everything again from the start mends the store to the complete state.
    TScriptedJVLink again(RecordSteps(records));
    cancel = false;
    sink.cancel = nullptr;
    ASSERT_TRUE(Run(again, 1).Completed());
    TempDir whole;
    TScriptedJVLink once(RecordSteps(records));
    TRecordingSink other;
    ASSERT_TRUE(RunReadLoop(once, 1, kClock, whole.path(), cancel, other).Completed());
    EXPECT_EQ(SnapshotStore(root.path()), SnapshotStore(whole.path()));
}

TEST_F(ReadLoopTest, ACallFailureWritesWhatWasHeldAndIsReported) {
    class TFailingLink final : public jvlink::IJVLink {
    public:
        std::int32_t JVInit(const std::string&) override { return 0; }
        std::string JVLinkVersion() override { return "0490"; }
        std::int32_t JVSetUIProperties() override { return 0; }
        std::int32_t JVOpen(const std::string&, const std::string&, std::int32_t, std::int32_t&,
                            std::int32_t&, std::string&) override {
            return 0;
        }
        std::int32_t JVStatus() override { return 0; }
        std::int32_t JVRead(std::string& buffer, std::int32_t, std::string&) override {
            if (reads++ == 0) {
                buffer = MakeUM("2001104567");
                return static_cast<std::int32_t>(buffer.size());
            }
            throw jvlink::JVLinkCallError("JVRead: the component is gone");
        }
        std::int32_t JVCancel() override { return 0; }
        std::int32_t JVClose() override { return 0; }
        int reads = 0;
    } link;
    const TReadLoopResult result = Run(link, 1);
    EXPECT_EQ(result.end, TReadLoopEnd::CallError);
    EXPECT_EQ(result.message, "JVRead: the component is gone");
    ASSERT_EQ(sink.errors.size(), 1u);
    EXPECT_TRUE(Exists("UM2/2001/2001104567.jvUM2"));
}

// ---- What the store holds afterwards --------------------------------------------------------

TEST_F(ReadLoopTest, TheLaterOfTwoRacesWithOneKeyStays) {
    const std::string card = MakeRA(kDay, '1', "20040505", "前日");
    const std::string final = MakeRA(kDay, '2', "20040507", "当日");
    ASSERT_TRUE(Run({card, final}).Completed());
    const std::string bytes = File("DATA/2004年05月08日東京.jvRA");
    ASSERT_EQ(bytes.size(), 1272u);
    EXPECT_EQ(bytes, "RA000000000" + final.substr(11));
}

TEST_F(ReadLoopTest, TheDateCutComesFromTheClock) {
    // kDay is 2004-05-08: after the cut of 2004-05-10, on the cut of 2004-05-12.
    TScriptedJVLink recent(RecordSteps({MakeRA(kDay, '7')}));
    ASSERT_TRUE(Run(recent, 1, {}, FixedClock(2004, 5, 10)).Completed());
    EXPECT_TRUE(Exists("DATA/2004年05月08日東京.jvRA"));
    EXPECT_TRUE(Exists("SEIR/2004/2004050805.jvSERA"));

    TempDir later;
    TScriptedJVLink old(RecordSteps({MakeRA(kDay, '7')}));
    TRecordingSink otherSink;
    ASSERT_TRUE(RunReadLoop(old, 1, FixedClock(2004, 5, 12, 0), later.path(), cancel, otherSink)
                    .Completed());
    EXPECT_EQ(SnapshotStore(later.path()).size(), 1u);
    EXPECT_TRUE(fs::exists(later / "SEIR" / "2004" / "2004050805.jvSERA"));

    const std::string zeroed = "RA000000000" + MakeRA(kDay, '7').substr(11, 1259) + "\r\n";
    EXPECT_EQ(File("DATA/2004年05月08日東京.jvRA"), zeroed);
    EXPECT_EQ(File("SEIR/2004/2004050805.jvSERA"), zeroed);
}

TEST_F(ReadLoopTest, ANewDaysSlotFileHas216LinesWithOneRunner) {
    TRaceId race3 = kDay;
    race3.race = "03";
    const std::string se = MakeSE(race3, "07", "2001104567", '7', "20040509");
    ASSERT_TRUE(Run({se}).Completed());
    const auto lines = SplitLines(File("DATA/2004年05月08日東京.jvSEr"));
    ASSERT_EQ(lines.size(), 216u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i == 2 * 18 + 6) {
            EXPECT_EQ(lines[i], se.substr(0, 553)) << "the slot keeps kind and creation date";
        } else {
            EXPECT_EQ(lines[i], std::string(553, ' ')) << i;
        }
    }
    EXPECT_EQ(File("SEI/2001/2001104567.jvSEI"), "SE000000000" + se.substr(11));
}

TEST_F(ReadLoopTest, DataKindZeroOverwritesTheSlotButNeverEntersRaces) {
    const std::string card = MakeSE(kDay, "05", "2001104567", '1');
    const std::string withdrawn = MakeSE(kDay, "05", "2001104567", '0', "20040507");
    ASSERT_TRUE(Run({card, withdrawn, MakeRA(kDay, '0')}).Completed());
    EXPECT_EQ(SplitLines(File("DATA/2004年05月08日東京.jvSEr"))[4], withdrawn.substr(0, 553));
    EXPECT_FALSE(Exists("DATA/2004年05月08日東京.jvRA"));
}

TEST_F(ReadLoopTest, AHistoryListsFinalRunsOldestFirstWhateverTheArrival) {
    const char* dates[] = {"20040110", "20031221", "20040307", "20030601"};
    std::vector<std::string> records;
    for (const char* date : dates) {
        records.push_back(MakeSE({date, "06", "01", "01", "11"}, "03", "2001104567", '7'));
    }
    records.push_back(MakeSE({"20040110", "06", "01", "01", "11"}, "03", "2001104567", 'A'));
    ASSERT_TRUE(Run(records).Completed());
    const auto lines = SplitLines(File("SEI/2001/2001104567.jvSEI"));
    ASSERT_EQ(lines.size(), 4u) << "one line per race";
    EXPECT_EQ(lines[0].substr(11, 8), "20030601");
    EXPECT_EQ(lines[1].substr(11, 8), "20031221");
    EXPECT_EQ(lines[2].substr(11, 8), "20040110");
    EXPECT_EQ(lines[3].substr(11, 8), "20040307");
    EXPECT_EQ(sink.madeFiles[1], S("作成済み:2003年12月21日中山11R/2001104567.jvSEI"));
}

TEST_F(ReadLoopTest, ASecondHorseMasterReplacesTheFirst) {
    ASSERT_TRUE(Run({MakeUM("2001104567", 1), MakeUM("2001104567", 2)}).Completed());
    EXPECT_EQ(File("UM2/2001/2001104567.jvUM2"), MakeUM("2001104567", 2));
    EXPECT_EQ(sink.madeFiles.size(), 2u) << "one made-files line per stored record";
}

TEST_F(ReadLoopTest, RaceNumberZeroStaysOutOfTheRaceDay) {
    TRaceId none = kDay;
    none.race = "00";
    ASSERT_TRUE(Run({MakeRA(none, '7'), MakeRA(none, '1')}).Completed());
    EXPECT_FALSE(Exists("DATA/2004年05月08日東京.jvRA"));
    EXPECT_TRUE(Exists("SEIR/2004/2004050805.jvSERA"));
}

TEST_F(ReadLoopTest, RunnersWithoutASlotAreCountedAndKeptInTheirHistory) {
    TRaceId race13 = kDay;
    race13.race = "13";
    const TReadLoopResult result =
        Run({MakeSE(race13, "01", "2001104567", '7'), MakeSE(kDay, "19", "2001104568", '7')});
    ASSERT_TRUE(result.Completed());
    EXPECT_EQ(result.slotless, 2u);
    EXPECT_FALSE(Exists("DATA/2004年05月08日東京.jvSEr"));
    EXPECT_TRUE(Exists("SEI/2001/2001104567.jvSEI"));
    EXPECT_TRUE(Exists("SEI/2001/2001104568.jvSEI"));
}

// ---- Refused records ----------------------------------------------------------------------

TEST_F(ReadLoopTest, BadRecordsAreRefusedCountedAndReported) {
    const std::string good = MakeSE(kDay, "01", "2001104567", '7');
    std::string odd = good;
    odd[200] = '\xFF';
    const std::vector<std::string> records = {
        good.substr(0, 300) + "\r\n",            // short
        odd,                                     // a byte that is no text
        MakeSE(kDay, "02", "..\\..\\..\\", '7'), // a climb in the registration number
        MakeUM("2001\\04567"),                   // a separator in a master's number
        good,
    };
    const TReadLoopResult result = Run(records);
    ASSERT_TRUE(result.Completed());
    EXPECT_EQ(result.refused.length, 1u);
    EXPECT_EQ(result.refused.bytes, 1u);
    EXPECT_EQ(result.refused.nameField, 2u);
    EXPECT_EQ(result.stored, 1u);
    EXPECT_EQ(sink.madeFiles,
              (std::vector<std::string>{S("保存せず(レコード長不正):SE/RACE0001.jvd"),
                                        S("保存せず(文字コード不正):SE/RACE0001.jvd"),
                                        S("保存せず(ファイル名不正):SE/RACE0001.jvd"),
                                        S("保存せず(ファイル名不正):UM/RACE0001.jvd"),
                                        S("作成済み:01R/01番/2004年05月08日東京.jvSEr"),
                                        S("作成済み:2004年05月08日東京01R/2001104567.jvSEI")}));
    ASSERT_EQ(sink.boxes.size(), 2u);
    EXPECT_EQ(sink.boxes[0], S("データ作成が完了しました。"));
    EXPECT_EQ(sink.boxes[1], S("保存しなかったレコード:4件\r\nレコード長不正:1件\r\n"
                               "文字コード不正:1件\r\nファイル名不正:2件\r\n"
                               "対象ファイル:\r\nRACE0001.jvd"));

    // Only the good runner's two files exist, all inside the root.
    const auto files = SnapshotStore(root.path());
    EXPECT_EQ(files.size(), 2u);
    EXPECT_EQ(SplitLines(files.at("DATA/2004年05月08日東京.jvSEr"))[0], good.substr(0, 553));
    EXPECT_FALSE(fs::exists(root.path().parent_path() / "2001104567.jvSEI"));
}

// ---- Racecourses of one name ---------------------------------------------------------------

TEST_F(ReadLoopTest, TwoCoursesOfOneNameNeverShareARaceDayFile) {
    // 01 and 58 are both "札幌": their race-day files have one name.
    const TRaceId first{"20040508", "01", "01", "05", "01"};
    const TRaceId second{"20040508", "58", "03", "02", "01"};
    for (const TStoreWriteMode mode : {TStoreWriteMode::Batched, TStoreWriteMode::RecordByRecord}) {
        TempDir dir;
        TRecordingSink seen;
        TScriptedJVLink link(RecordSteps(
            {MakeRA(first, '2'), MakeSE(first, "01", "2001100001", '2'),
             MakeSE(second, "01", "2001100002", '7'), MakeSE(second, "02", "2001100003", '2'),
             MakeRA(second, '7'), MakeHR(second, '2'), MakeSE(first, "02", "2001100004", '2')}));
        TReadLoopOptions options;
        options.mode = mode;
        const TReadLoopResult result =
            RunReadLoop(link, 1, kClock, dir.path(), cancel, seen, options);
        ASSERT_TRUE(result.Completed());
        EXPECT_EQ(result.refused.clash, 4u);
        EXPECT_EQ(result.stored, 3u);
        EXPECT_EQ(seen.madeFiles[2],
                  S("保存せず(競馬場名重複):SE/2004050858030201/2004年05月08日札幌.jvSEr "
                    "(2004050801010501)"));
        EXPECT_EQ(seen.boxes.back(),
                  S("保存しなかったレコード:4件\r\nレコード長不正:0件\r\n文字コード不正:0件\r\n"
                    "ファイル名不正:0件\r\n競馬場名重複:4件\r\n対象ファイル:\r\n"
                    "2004年05月08日札幌.jvHR\r\n2004年05月08日札幌.jvRA\r\n"
                    "2004年05月08日札幌.jvSEr"));
        // The first course's runners stay in their slots; the second's final record did not
        // reach its history or results either: a record goes in whole or not at all.
        const auto files = SnapshotStore(dir.path());
        const auto slots = SplitLines(files.at("DATA/2004年05月08日札幌.jvSEr"));
        EXPECT_EQ(LineRaceKey(slots[0]), first.Key());
        EXPECT_EQ(LineRaceKey(slots[1]), first.Key());
        EXPECT_EQ(SplitLines(files.at("DATA/2004年05月08日札幌.jvRA")).size(), 1u);
        EXPECT_FALSE(files.contains("DATA/2004年05月08日札幌.jvHR"));
        EXPECT_FALSE(files.contains("SEI/2001/2001100002.jvSEI"));
        EXPECT_FALSE(files.contains("SEIR/2004/2004050858.jvSERA"));
    }
}

// ---- Store failures ---------------------------------------------------------------------

TEST_F(ReadLoopTest, AStoreFailureEndsTheLoopNamingTheFile) {
    for (const TStoreWriteMode mode : {TStoreWriteMode::Batched, TStoreWriteMode::RecordByRecord}) {
        TempDir dir;
        fs::create_directories(dir / "SEIR");
        keiba::test::WriteFileBytes(dir / "SEIR" / "2004", "in the way");
        TScriptedJVLink link(RecordSteps(
            {MakeUM("2001104567"), MakeRA(kOld, '7'), MakeUM("2001104568"), MakeHR(kOld, '1')}));
        TRecordingSink failing;
        TReadLoopOptions options;
        options.mode = mode;
        options.memoryBound = 1; // the batched writer writes after every record
        const TReadLoopResult result =
            RunReadLoop(link, 1, kClock, dir.path(), cancel, failing, options);
        EXPECT_EQ(result.end, TReadLoopEnd::StoreError);
        EXPECT_EQ(link.reads, 2) << "the loop ends at the failing record";
        ASSERT_EQ(failing.errors.size(), 1u);
        EXPECT_TRUE(failing.errors[0].starts_with(S("ファイルを保存できません:")))
            << Show(failing.errors[0]);
        EXPECT_NE(failing.errors[0].find("2004050105.jvSERA"), std::string::npos);
        EXPECT_EQ(result.message, failing.errors[0]);
        EXPECT_TRUE(failing.boxes.empty()) << "no completion is claimed";
        EXPECT_TRUE(fs::exists(dir / "UM2" / "2001" / "2001104567.jvUM2"))
            << "what was stored before stays";
        EXPECT_FALSE(fs::exists(dir / "UM2" / "2001" / "2001104568.jvUM2"));
    }
}

TEST_F(ReadLoopTest, AFailureOfTheLastWriteIsNoCompletion) {
    fs::create_directories(root / "SEIR");
    keiba::test::WriteFileBytes(root / "SEIR" / "2004", "in the way");
    const TReadLoopResult result = Run({MakeRA(kOld, '7'), MakeUM("2001104567")});
    EXPECT_EQ(result.end, TReadLoopEnd::StoreError);
    EXPECT_EQ(result.stored, 1u) << "counts tell what reached the disk";
    EXPECT_EQ(result.lost, 1u);
    EXPECT_TRUE(sink.boxes.empty());
    ASSERT_EQ(sink.errors.size(), 1u);
    EXPECT_TRUE(Exists("UM2/2001/2001104567.jvUM2")) << "the other held files are written";
    for (const auto& text : sink.texts) {
        EXPECT_EQ(text.find(S("データ読込み完了")), std::string::npos);
    }
}

// ---- A season ------------------------------------------------------------------------------

// The program's temporary files and folders anywhere under root.
std::vector<fs::path> Temporaries(const fs::path& root) {
    std::vector<fs::path> found;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (files::TemporaryOwner(entry.path().filename().string()) != 0) {
            found.push_back(entry.path());
        }
    }
    return found;
}

TSeasonShape ThreeWeeks() {
    TSeasonShape shape;
    shape.weeks = 3;
    shape.courses = 2;
    shape.horses = 300;
    return shape;
}

TEST_F(ReadLoopTest, AFolderThatCannotBeMadeSparesTheOthersAndARerunMendsTheStore) {
    const auto season = MakeSeason(ThreeWeeks());
    TFeedJVLink link(season);
    const TLocalClock clock = FixedClock(2004, 1, 20);
    keiba::test::WriteFileBytes(root / "UM2", "a file where the horse masters' folder belongs");
    const TReadLoopResult failed = Run(link, link.FileCount(), {}, clock);
    EXPECT_EQ(failed.end, TReadLoopEnd::StoreError);
    EXPECT_GT(failed.lost, 0u);
    EXPECT_EQ(failed.stored + failed.lost + failed.dropped, failed.records);
    EXPECT_TRUE(Temporaries(root.path()).empty());
    EXPECT_FALSE(fs::is_empty(root / "SEI")) << "the histories are written all the same";

    fs::remove(root / "UM2");
    link.Rewind();
    ASSERT_TRUE(Run(link, link.FileCount(), {}, clock).Completed());
    TempDir clean;
    TFeedJVLink again(season);
    ASSERT_TRUE(
        RunReadLoop(again, again.FileCount(), clock, clean.path(), cancel, sink).Completed());
    EXPECT_EQ(SnapshotStore(root.path()), SnapshotStore(clean.path()));
}

TEST_F(ReadLoopTest, ASeasonReadTwiceLeavesTheStoreAsOnce) {
    const auto season = MakeSeason(ThreeWeeks());
    TFeedJVLink link(season);
    const TLocalClock clock = FixedClock(2004, 1, 20);
    const TReadLoopResult first = Run(link, link.FileCount(), {}, clock);
    ASSERT_TRUE(first.Completed());
    EXPECT_TRUE(Temporaries(root.path()).empty());
    EXPECT_EQ(first.records, RecordCount(season));
    EXPECT_EQ(first.filesRead, link.FileCount());
    EXPECT_EQ(first.refused.Total(), 0u);
    const auto once = SnapshotStore(root.path());

    link.Rewind();
    ASSERT_TRUE(Run(link, link.FileCount(), {}, clock).Completed());
    EXPECT_EQ(SnapshotStore(root.path()), once);
}

} // namespace
