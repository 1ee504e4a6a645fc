#include "store/StoreTestSupport.h"
#include "store/StoreWriter.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace {

namespace fs = std::filesystem;
using namespace store;
using namespace keiba::storetest;
using keiba::test::S;
using keiba::test::Show;
using keiba::test::TempDir;
using keiba::test::WriteFileBytes;

constexpr TDateCut kCut = 20040110;

// Routes every record of the files and stores it with the writer; the first failure.
TStoreStatus StoreAll(TStoreWriter& writer, const std::vector<TFeedFile>& files) {
    for (const auto& file : files) {
        for (const auto& record : file.records) {
            for (const auto& action : RouteRecord(record, kCut).actions) {
                if (TStoreStatus status = writer.Store(action); !status) {
                    return status;
                }
            }
        }
    }
    return writer.Flush();
}

// A small season: one day at one course and the next card, 40 horses so that histories grow.
// (The record-by-record writer syncs every file it writes: kept small for time.)
std::vector<TFeedFile> SmallSeason() {
    TSeasonShape shape;
    shape.weeks = 1;
    shape.days = 1;
    shape.courses = 1;
    shape.horses = 40;
    return MakeSeason(shape);
}

// Writes a seed file, making its folders.
void Seed(const fs::path& file, std::string_view bytes) {
    fs::create_directories(file.parent_path());
    WriteFileBytes(file, bytes);
}

// Store files with the oddities older or hand-made files may have: a blank first line and LF
// line ends in a races file, a runner slot file cut short, a history with a key twice.
void SeedOddStore(const fs::path& root, const std::vector<TFeedFile>& season) {
    std::string ra;
    std::string se;
    for (const auto& record : season.front().records) {
        if (ra.empty() && record.starts_with("RA")) {
            ra = record;
        }
        if (se.empty() && record.starts_with("SE")) {
            se = record;
        }
    }
    const auto races = RouteRecord(ra, kCut).actions.front();
    std::string other = races.line;
    other[25] = '9'; // race 99 of the same day
    other[26] = '9';
    Seed(StorePath(root, races.file), "\n" + std::string(20, ' ') + "\n" + other + "\n");

    const auto slots = RouteRecord(se, kCut).actions.front();
    Seed(StorePath(root, slots.file), JoinLines({slots.line, std::string(553, ' ')}));

    std::string finalSe = se;
    finalSe[2] = '7';
    const auto history = RouteRecord(finalSe, kCut).actions.back();
    ASSERT_EQ(history.file.kind, TStoreFileKind::HorseHistory);
    std::string older = history.line;
    older[300] = 'o';
    Seed(StorePath(root, history.file), JoinLines({older, older}));
}

TEST(StoreWriters, BatchedWritesTheSameBytesAsRecordByRecord) {
    const auto season = SmallSeason();
    TempDir reference;
    TempDir batched;
    TempDir bounded;
    for (const TempDir* dir : {&reference, &batched, &bounded}) {
        SeedOddStore(dir->path(), season);
    }

    TRecordByRecordWriter plain(reference.path());
    ASSERT_TRUE(StoreAll(plain, season));
    TBatchedWriter held(batched.path());
    ASSERT_TRUE(StoreAll(held, season));
    EXPECT_EQ(held.BoundFlushes(), 0u);
    TBatchedWriter small(bounded.path(), 64 * 1024); // writes everything every few records
    ASSERT_TRUE(StoreAll(small, season));
    EXPECT_GT(small.BoundFlushes(), 3u);

    const auto expected = SnapshotStore(reference.path());
    EXPECT_GT(expected.size(), 80u);
    EXPECT_EQ(SnapshotStore(batched.path()), expected);
    EXPECT_EQ(SnapshotStore(bounded.path()), expected);

    // Every file keeps the fixed line length of its kind.
    for (const auto& [name, bytes] : expected) {
        const auto lines = SplitLines(bytes);
        ASSERT_FALSE(lines.empty()) << name;
        std::size_t length = 0;
        if (name.ends_with(".jvSEr") || name.ends_with(".jvSEI")) {
            length = 553;
        } else if (name.ends_with(".jvRA") || name.ends_with(".jvSERA")) {
            length = 1270;
        } else if (name.ends_with(".jvHR")) {
            length = 717;
        } else if (name.ends_with(".jvUM2")) {
            length = 1607;
        } else if (name.ends_with(".jvRC")) {
            length = 499;
        }
        ASSERT_NE(length, 0u) << name;
        for (const auto& line : lines) {
            EXPECT_EQ(line.size(), length) << name;
        }
        EXPECT_EQ(bytes.size(), lines.size() * (length + 2)) << name;
    }
}

TEST(StoreWriters, StoringTheSameRecordsAgainChangesNothing) {
    const auto season = SmallSeason();
    TempDir root;
    TBatchedWriter first(root.path());
    ASSERT_TRUE(StoreAll(first, season));
    EXPECT_GT(first.FilesWritten(), 80u);
    const auto before = SnapshotStore(root.path());

    TBatchedWriter again(root.path());
    ASSERT_TRUE(StoreAll(again, season));
    EXPECT_EQ(again.FilesWritten(), 0u) << "unchanged files are not written again";
    EXPECT_EQ(again.FilesUnchanged(), first.FilesWritten());
    EXPECT_EQ(SnapshotStore(root.path()), before);

    TRecordByRecordWriter plain(root.path());
    ASSERT_TRUE(StoreAll(plain, season));
    EXPECT_EQ(SnapshotStore(root.path()), before);
}

TEST(StoreWriters, HeldBytesCountTheLinesOfTouchedFiles) {
    TempDir root;
    TBatchedWriter writer(root.path());
    const auto action = RouteRecord(MakeSE({"20040501"}, "01", "2001104567", '1'), kCut).actions;
    ASSERT_EQ(action.size(), 1u);
    ASSERT_TRUE(writer.Store(action[0]));
    EXPECT_EQ(writer.HeldFiles(), 1u);
    EXPECT_GE(writer.HeldBytes(), 119880u) << "a new runner slot file holds 216 lines";
    EXPECT_FALSE(fs::exists(StorePath(root.path(), action[0].file))) << "held until the flush";
    ASSERT_TRUE(writer.Flush());
    EXPECT_EQ(writer.HeldBytes(), 0u);
    EXPECT_EQ(fs::file_size(StorePath(root.path(), action[0].file)), 119880u);
}

// ---- Failures ---------------------------------------------------------------------------

TEST(StoreWriters, AFileThatCannotBeWrittenIsNamedAndTheOthersAreStillWritten) {
    TempDir root;
    // A file where the results' year folder belongs: SEIR\2004 cannot be made.
    fs::create_directories(root / "SEIR");
    WriteFileBytes(root / "SEIR" / "2004", "in the way");

    const TRaceId id{"20040501", "05", "02", "03", "01"};
    TBatchedWriter writer(root.path());
    std::size_t number = 0;
    for (const std::string& record :
         {MakeRA(id, '7'), MakeUM("2001104567"), MakeRC("05", "13", "1600", "11")}) {
        ++number;
        for (const auto& action : RouteRecord(record, kCut).actions) {
            ASSERT_TRUE(writer.Store(action, number));
        }
    }
    const TStoreStatus status = writer.Flush();
    EXPECT_EQ(writer.LostRecords(), (std::set<std::size_t>{1})) << "only the results' record";
    EXPECT_FALSE(status.ok);
    EXPECT_TRUE(status.error);
    EXPECT_EQ(status.file, root.path() / "SEIR" / "2004" / "2004050105.jvSERA");
    EXPECT_TRUE(status.message.starts_with(S("ファイルを保存できません:"))) << Show(status.message);
    EXPECT_NE(status.message.find("2004050105.jvSERA"), std::string::npos);
    EXPECT_TRUE(fs::exists(root / "UM2" / "2001" / "2001104567.jvUM2"));
    EXPECT_TRUE(fs::exists(root / "REC" / "10513160011.jvRC"));
    EXPECT_EQ(writer.HeldFiles(), 0u);

    TRecordByRecordWriter plain(root.path());
    const auto actions = RouteRecord(MakeRA(id, '7'), kCut).actions;
    ASSERT_EQ(actions.back().file.kind, TStoreFileKind::Results);
    const TStoreStatus direct = plain.Store(actions.back());
    EXPECT_FALSE(direct.ok);
    EXPECT_EQ(direct.file, status.file);
}

TEST(StoreWriters, AFileThatCannotBeReadStopsBeforeItIsTouched) {
    TempDir root;
    const TRaceId id{"20040501", "05", "02", "03", "01"};
    const auto action = RouteRecord(MakeHR(id, '1'), kCut).actions.front();
    fs::create_directories(StorePath(root.path(), action.file)); // a folder in its place

    TBatchedWriter writer(root.path());
    const TStoreStatus status = writer.Store(action);
    EXPECT_FALSE(status.ok);
    EXPECT_TRUE(status.message.starts_with(S("ファイルを読み込めません:"))) << Show(status.message);
    EXPECT_EQ(status.file, StorePath(root.path(), action.file));
    EXPECT_EQ(writer.HeldFiles(), 0u);

    TRecordByRecordWriter plain(root.path());
    EXPECT_FALSE(plain.Store(action).ok);
}

TEST(StoreWriters, AFolderAnEarlyFlushMadeIsReadByLaterRecords) {
    // Every record passes the memory bound: the first flush makes SEI\2001, and the second
    // record of the same horse must find its history there, not start it again.
    TempDir root;
    TBatchedWriter writer(root.path(), /*memoryBound=*/1);
    const TRaceId first{"20040501", "05", "02", "03", "01"};
    const TRaceId second{"20040605", "05", "03", "01", "11"};
    for (const TRaceId& id : {first, second}) {
        for (const auto& action : RouteRecord(MakeSE(id, "01", "2001104567", '7'), kCut).actions) {
            if (action.file.kind == TStoreFileKind::HorseHistory) {
                ASSERT_TRUE(writer.Store(action));
            }
        }
    }
    EXPECT_EQ(writer.BoundFlushes(), 2u);
    const auto files = SnapshotStore(root.path());
    const auto history = files.find("SEI/2001/2001104567.jvSEI");
    ASSERT_NE(history, files.end());
    EXPECT_EQ(SplitLines(history->second).size(), 2u) << "both races of the horse";
}

TEST(StoreWriters, MissingFoldersAreCreatedOnTheWay) {
    TempDir root; // not even DATA
    TBatchedWriter writer(root.path());
    const TRaceId id{"20040501", "05", "02", "03", "01"};
    for (const std::string& record :
         {MakeRA(id, '7'), MakeSE(id, "01", "2001104567", '7'), MakeHR(id, '1'),
          MakeUM("2001104567"), MakeRC("05", "13", "1600", "11")}) {
        for (const auto& action : RouteRecord(record, 20040101).actions) {
            ASSERT_TRUE(writer.Store(action));
        }
    }
    ASSERT_TRUE(writer.Flush());
    EXPECT_EQ(writer.FilesWritten(), 7u);
    const auto files = SnapshotStore(root.path());
    for (const char* name :
         {"DATA/2004年05月01日東京.jvRA", "DATA/2004年05月01日東京.jvSEr",
          "DATA/2004年05月01日東京.jvHR", "SEIR/2004/2004050105.jvSERA",
          "SEI/2001/2001104567.jvSEI", "UM2/2001/2001104567.jvUM2", "REC/10513160011.jvRC"}) {
        EXPECT_EQ(files.count(name), 1u) << name;
    }
}

} // namespace
