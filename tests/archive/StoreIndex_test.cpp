// The store's index: statistics and search over a small store made by hand, the index an
// acquisition keeps against one made anew, and indexes that cannot be trusted or written.
#include "archive/ArchiveQueries.h"
#include "archive/NameKey.h"
#include "archive/StoreIndex.h"
#include "files/WholeFile.h"
#include "store/ReadLoop.h"
#include "store/StoreTestSupport.h"
#include "support/RaceDayFixture.h"
#include "support/TestSupport.h"

#include <atomic>
#include <gtest/gtest.h>
#include <stdexcept>
#if !defined(_WIN32)
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

using namespace jvdata;
using keiba::test::S;
namespace fs = std::filesystem;

constexpr const char* kJockey = "01001"; // 武士, the jockey of the statistics
constexpr const char* kOther = "01002";  // 騎手二
constexpr const char* kHorseA = "2019100001";
constexpr const char* kHorseB = "2019100002";
constexpr const char* kHorseC = "2019100003";

TRecordRA Race(std::string date, std::string course, int number, std::string track,
               std::string distance, char turf, char dirt) {
    keiba::test::RacePlan plan;
    plan.date = std::move(date);
    plan.course = std::move(course);
    plan.number = number;
    plan.track = std::move(track);
    plan.distance = std::move(distance);
    plan.name = S("テスト特別");
    TRecordRA race = keiba::test::MakeRace(plan);
    race.SetAt(RA::kTurfGoingCode.first, turf);
    race.SetAt(RA::kDirtGoingCode.first, dirt);
    return race;
}

TRecordSE Runner(const TRecordRA& race, int horse, const char* number, const char* nameUtf8,
                 const char* jockey, int finish, char abnormality = '0') {
    TRecordSE run = keiba::test::MakeRunner(race, horse, number, S(nameUtf8));
    run.SetField(SE::kJockeyCode, jockey);
    run.SetField(SE::kJockeyShortName, S(jockey == std::string(kJockey) ? "武士" : "騎手二"));
    run.SetInt(SE::kFinishPosition, finish);
    run.SetAt(SE::kAbnormalityCode.first, abnormality);
    return run;
}

// The payoff of a race: the winner's win payout and the places' payouts.
TRecordHR Payoff(const TRecordRA& race, int winner, int win,
                 std::vector<std::pair<int, int>> places) {
    TRecordHR hr = keiba::test::MakePayoff(race, winner, win);
    for (std::size_t e = 0; e < places.size(); ++e) {
        hr.SetInt(HR::kPlace.Horse(static_cast<int>(e), 0), places[e].first);
        hr.SetInt(HR::kPlace.Payout(static_cast<int>(e)), places[e].second);
    }
    return hr;
}

// Two days at 東京 and 中山: the jockey wins on turf at 1600 m (win 350, place 150), is 2nd on
// heavy dirt at 1800 m (place 180), 4th on turf at 2400 m, and has a horse scratched there.
struct TStoreFixture {
    keiba::test::TempDir dir;
    keiba::test::RaceDayStore store{dir.path()};
    TRecordRA r1 = Race("20240106", "05", 1, "11", "1600", '1', '0');
    TRecordRA r2 = Race("20240106", "05", 2, "23", "1800", '0', '3');
    TRecordRA r3 = Race("20240113", "06", 11, "17", "2400", '2', '0');

    TStoreFixture() {
        store.WriteResults({r1, r2});
        store.WriteResults({r3});
        store.WriteHistory(kHorseA, {Runner(r1, 3, kHorseA, "サクラヒカリ", kJockey, 1),
                                     Runner(r3, 2, kHorseA, "サクラヒカリ", kJockey, 0, '1')});
        store.WriteHistory(kHorseB, {Runner(r1, 4, kHorseB, "ヒカリノミチ", kOther, 2),
                                     Runner(r2, 5, kHorseB, "ヒカリノミチ", kJockey, 2)});
        store.WriteHistory(kHorseC, {Runner(r3, 1, kHorseC, "ミドリノカゼ", kJockey, 4)});
        store.WritePayoffs(S("2024年01月06日東京"), {Payoff(r1, 3, 350, {{3, 150}, {4, 200}}),
                                                     Payoff(r2, 9, 900, {{5, 180}})});
        TRecordUM master = keiba::test::MakeHorseMaster(kHorseA);
        master.SetField(UM::kKanaName, S("ｻｸﾗﾋｶﾘ"));
        master.SetField(UM::PedigreeNumber(UM::kSire), "1234567890");
        master.SetField(UM::PedigreeName(UM::kSire), S("チチウマ"));
        store.WriteHorseMaster(master);
    }
    const fs::path& root() const { return dir.path(); }
};

archive::TStatsRequest Request(archive::TSubjectKind kind, std::string code,
                               std::string course = {}, int distance = 0) {
    archive::TStatsRequest request;
    request.kind = kind;
    request.code = std::move(code);
    request.course = std::move(course);
    request.distance = distance;
    return request;
}

archive::TIndexOpenResult Open(const fs::path& root) {
    archive::TIndexOpenResult opened = archive::OpenStoreIndex(root);
    EXPECT_TRUE(opened.index) << keiba::test::Show(opened.message);
    return opened;
}

std::vector<std::string> Utf8Row(const std::vector<std::string>& cells) {
    std::vector<std::string> row;
    for (const std::string& cell : cells) {
        row.push_back(Sjis::ToUtf8(cell));
    }
    return row;
}

// Every row of the index, without the file numbers, which depend on the order files came in.
std::vector<std::string> Dump(const archive::TStoreIndex& index) {
    std::vector<std::string> rows;
    const char* queries[] = {
        "SELECT f.path, r.race, r.course, r.name, r.distance, r.track, r.turf_going, "
        "r.dirt_going, r.starters FROM races r JOIN files f ON f.id = r.file ORDER BY r.race",
        "SELECT * FROM runs ORDER BY horse, race",
        // Kept by the triggers after an acquisition, filled in key order by a build.
        "SELECT 'r', '', * FROM race_runs UNION ALL SELECT 'j', * FROM jockey_runs UNION ALL "
        "SELECT 't', * FROM trainer_runs ORDER BY 1, 2, 3, 4",
        "SELECT h.code, h.name, h.key, f.path FROM horses h JOIN files f ON f.id = h.file ORDER BY "
        "1",
        "SELECT m.horse, m.name, m.key, m.kana_key, m.sire, m.sire_name FROM masters m ORDER BY 1",
        "SELECT p.race, p.kind, p.horse, p.payout, p.popularity, f.path FROM payoffs p JOIN files "
        "f ON f.id = p.file ORDER BY 1, 2, 3",
        "SELECT 'j', * FROM jockeys UNION ALL SELECT 't', * FROM trainers UNION ALL SELECT 's', * "
        "FROM sires ORDER BY 1, 2",
        "SELECT path, kind, size FROM files ORDER BY path",
    };
    for (const char* query : queries) {
        archive::sql::TStatement select(index.Database(), query);
        while (select.Step()) {
            std::string row;
            for (int c = 0; c < select.Columns(); ++c) {
                row += select.Text(c) + "|";
            }
            rows.push_back(row);
        }
    }
    return rows;
}

TEST(ArchiveStatistics, JockeyCountsAndReturnsWorkedOutByHand) {
    TStoreFixture fixture;
    const auto opened = Open(fixture.root());
    EXPECT_EQ(opened.state, archive::TIndexState::Built);
    const archive::TStatsResult stats =
        archive::Statistics(*opened.index, Request(archive::TSubjectKind::Jockey, kJockey));
    ASSERT_TRUE(stats.message.empty()) << keiba::test::Show(stats.message);
    EXPECT_EQ(Sjis::ToUtf8(stats.subject), "騎手　武士");
    ASSERT_EQ(stats.sections.size(), 5u);
    // Three runs (the scratched horse did not run): 1st, 2nd, 4th; 350 and 150 + 180 yen back.
    using Row = std::vector<std::string>;
    EXPECT_EQ(Utf8Row(stats.sections[0].table.rows.at(0)),
              (Row{"全体", "3", "1", "1", "0", "1", "33.3%", "66.7%", "66.7%", "116.7", "110.0"}));
    const auto& surface = stats.sections[1].table.rows;
    ASSERT_EQ(surface.size(), 2u);
    EXPECT_EQ(Utf8Row(surface[0]),
              (Row{"芝", "2", "1", "0", "0", "1", "50.0%", "50.0%", "50.0%", "175.0", "75.0"}));
    EXPECT_EQ(Utf8Row(surface[1]),
              (Row{"ダート", "1", "0", "1", "0", "0", "0.0%", "100.0%", "100.0%", "0.0", "180.0"}));
    const auto labels = [&](std::size_t section) {
        Row shown;
        for (const auto& row : stats.sections[section].table.rows) {
            shown.push_back(Sjis::ToUtf8(row[0]) + ":" + row[1]);
        }
        return shown;
    };
    EXPECT_EQ(labels(2), (Row{"～1600m:1", "1601～2200m:1", "2201m～:1"}));
    EXPECT_EQ(labels(3), (Row{"良:1", "稍重:1", "重:1"}));
    EXPECT_EQ(labels(4), (Row{"東京:2", "中山:1"}));

    // A sire's statistics run over its offspring; a course's over every runner there.
    const auto sire =
        archive::Statistics(*opened.index, Request(archive::TSubjectKind::Sire, "1234567890"));
    EXPECT_EQ(Utf8Row(sire.sections.at(0).table.rows.at(0))[1], "1");
    const auto tokyo =
        archive::Statistics(*opened.index, Request(archive::TSubjectKind::Course, "", "05", 1600));
    EXPECT_EQ(
        Utf8Row(tokyo.sections.at(0).table.rows.at(0)),
        (Row{"全体", "2", "1", "1", "0", "0", "50.0%", "100.0%", "100.0%", "175.0", "175.0"}));
    EXPECT_FALSE(archive::Statistics(*opened.index, Request(archive::TSubjectKind::Jockey, "09999"))
                     .message.empty());
}

TEST(ArchiveSearch, KanaAndKanjiPartsListRunsNewestFirst) {
    TStoreFixture fixture;
    const auto opened = Open(fixture.root());
    const archive::TStoreIndex& index = *opened.index;
    // Hiragana finds the katakana names; the scratched run of 中山 is the newest.
    const archive::TSearchResult horses =
        archive::SearchRuns(index, archive::TSubjectKind::Horse, S("ひかり"));
    ASSERT_EQ(horses.places.size(), 4u);
    const auto& newest = horses.places[0];
    EXPECT_EQ(newest.date + newest.course, "2024011306");
    EXPECT_EQ(newest.race, 11);
    EXPECT_EQ(newest.horseNum, 2);
    EXPECT_EQ(Sjis::ToUtf8(horses.table.rows[0][8]), "サクラヒカリ");
    EXPECT_EQ(Sjis::ToUtf8(horses.table.rows[0][12]), "出走取消");
    EXPECT_EQ(horses.places[1].race, 2);
    EXPECT_EQ(horses.places[2].race, 1);
    EXPECT_EQ(Sjis::ToUtf8(horses.table.rows[1][4]), "ダ左1800");

    // A half-width kana part, and the horse master's kana name.
    EXPECT_EQ(archive::SearchRuns(index, archive::TSubjectKind::Horse, S("ｻｸﾗ")).places.size(), 2u);
    EXPECT_EQ(archive::SearchRuns(index, archive::TSubjectKind::Jockey, S("武")).places.size(), 4u);
    EXPECT_EQ(archive::SearchRuns(index, archive::TSubjectKind::Sire, S("ちち")).places.size(), 2u);
    EXPECT_FALSE(archive::SearchRuns(index, archive::TSubjectKind::Horse, S("　")).message.empty());
    EXPECT_TRUE(archive::SearchRuns(index, archive::TSubjectKind::Horse, S("ゼロ")).places.empty());

    const archive::TSubjectList jockeys =
        archive::FindSubjects(index, archive::TSubjectKind::Jockey, S("騎手"));
    ASSERT_EQ(jockeys.codes, std::vector<std::string>{kOther});
    EXPECT_EQ(Utf8Row(jockeys.table.rows[0]), (std::vector<std::string>{kOther, "騎手二", "1"}));
}

TEST(ArchiveNameKey, KanaWidthsAndBlanksAreFolded) {
    EXPECT_EQ(archive::NameKey(S("ｶﾞﾝﾊﾞﾙ ﾊﾟﾊﾟ")), archive::NameKey(S("がんばる　ぱぱ")));
    EXPECT_EQ(Sjis::FromUtf8(Sjis::ToUtf8(S("ヴ"))), S("ヴ"));
    EXPECT_EQ(archive::NameKey(S("ｳﾞｨｸﾄﾘｰ")), "ヴィクトリー");
    EXPECT_EQ(archive::NameKey(S("ＡＢＣ１")), "abc1");
    EXPECT_EQ(archive::NameKey(S("ﾂﾞ")), "ヅ");
}

TEST(ArchiveIndex, AcquisitionKeepsTheIndexAsARebuildMakesIt) {
    TStoreFixture fixture;
    Open(fixture.root()); // built before the acquisition
    using namespace keiba::storetest;
    // A week later: a new race for horse C, a corrected result for horse B (placed first, with
    // another jockey: the run moves between jockeys), C's master.
    const TRecordRA r4 = Race("20240120", "05", 3, "11", "2000", '1', '0');
    TRecordRA final4 = r4;
    final4.SetAt(RA::kDataKind.first, '7');
    TRecordSE c4 = Runner(r4, 6, kHorseC, "ミドリノカゼ", kOther, 1);
    TRecordSE b2 = Runner(fixture.r2, 5, kHorseB, "ヒカリノミチ", kOther, 1);
    TRecordHR hr4 = Payoff(r4, 6, 420, {{6, 160}});
    TRecordUM masterC = keiba::test::MakeHorseMaster(kHorseC);
    masterC.SetField(UM::PedigreeNumber(UM::kSire), "1234567890");
    masterC.SetField(UM::PedigreeName(UM::kSire), S("チチウマ"));
    // A's master anew with another birth date only: what the index keeps of it is the same.
    TRecordUM masterA = keiba::test::MakeHorseMaster(kHorseA);
    masterA.SetField(UM::kKanaName, S("ｻｸﾗﾋｶﾘ"));
    masterA.SetField(UM::PedigreeNumber(UM::kSire), "1234567890");
    masterA.SetField(UM::PedigreeName(UM::kSire), S("チチウマ"));
    masterA.SetField(UM::kBirthDate, "20190402");
    TScriptedJVLink link(RecordSteps({std::string(final4.view()), std::string(c4.view()),
                                      std::string(b2.view()), std::string(hr4.view()),
                                      std::string(masterC.view()), std::string(masterA.view())}));
    archive::TIndexFollower follower(fixture.root());
    store::TReadLoopOptions options;
    options.follower = &follower;
    TRecordingSink sink;
    std::atomic<bool> cancel{false};
    const auto loop =
        store::RunReadLoop(link, 1, FixedClock(2024, 2, 1), fixture.root(), cancel, sink, options);
    ASSERT_TRUE(loop.Completed());
    EXPECT_TRUE(loop.followerNote.empty()) << keiba::test::Show(loop.followerNote);
    EXPECT_EQ(follower.Report().filesRead, 6u); // SERA, SEI of C and B, HR, UM2 of C and A
    // The update waits in the write-ahead log for the next opening to copy it into the file.
    const fs::path log = archive::StoreIndexPath(fixture.root()).string() + "-wal";
    EXPECT_GT(fs::file_size(log), 0u);

    auto kept = Open(fixture.root());
    EXPECT_EQ(kept.state, archive::TIndexState::Opened);
    const std::vector<std::string> followed = Dump(*kept.index);
    const auto stats =
        archive::Statistics(*kept.index, Request(archive::TSubjectKind::Sire, "1234567890"));
    EXPECT_EQ(stats.sections.at(0).table.rows.at(0).at(1), "3");
    kept.index.reset();            // Windows replaces no file that is open
    EXPECT_FALSE(fs::exists(log)); // copied in and let go when the index closed
    const auto rebuilt = archive::RebuildStoreIndex(fixture.root());
    ASSERT_EQ(rebuilt.state, archive::TIndexState::Rebuilt);
    EXPECT_EQ(followed, Dump(*rebuilt.index));
}

TEST(ArchiveIndex, MastersChangedInAnAcquisitionAreKeptAsARebuildMakesThem) {
    TStoreFixture fixture;
    fixture.store.WriteHorseMaster(keiba::test::MakeHorseMaster(kHorseC));
    EXPECT_EQ(Open(fixture.root()).index->Database().QueryInt("SELECT count(*) FROM masters"),
              2); // A and C
    const auto rewrite = [&](const char* horse, const TRecordUM& master) {
        const store::TStoreFile file = *store::HorseMasterFile(horse);
        const std::string before =
            files::ReadWholeFile(fixture.store.PathOf(file.Text())).bytes; // empty when new
        std::string after = std::string(master.view()) + "\r\n";
        fixture.store.WriteRaw(file.Text(), after);
        return std::pair{file, std::pair{before, after}};
    };
    // A's sire is another; B has a master for the first time, its name with a wide blank
    // inside; the file of C holds another horse's master, which is no master of C.
    TRecordUM masterA = keiba::test::MakeHorseMaster(kHorseA);
    masterA.SetField(UM::PedigreeNumber(UM::kSire), "2222222222");
    masterA.SetField(UM::PedigreeName(UM::kSire), S("ハハチチ"));
    TRecordUM masterB = keiba::test::MakeHorseMaster(kHorseB);
    masterB.SetField(UM::kHorseName, S("ヒカリ　ノミチ"));
    const auto a = rewrite(kHorseA, masterA);
    const auto b = rewrite(kHorseB, masterB);
    const auto c = rewrite(kHorseC, keiba::test::MakeHorseMaster(kHorseA));
    archive::TIndexFollower follower(fixture.root());
    std::vector<store::TWrittenFile> written;
    for (const auto* change : {&a, &b, &c}) {
        written.push_back({change->first, change->second.first, change->second.second});
    }
    EXPECT_TRUE(follower.FilesWritten(written).empty());

    auto kept = Open(fixture.root());
    EXPECT_EQ(
        archive::FindSubjects(*kept.index, archive::TSubjectKind::Sire, S("チ")).table.rows.size(),
        1u); // チチウマ has no horse left
    EXPECT_EQ(kept.index->Database().QueryText("SELECT name FROM masters WHERE horse = '" +
                                               std::string(kHorseB) + "'"),
              S("ヒカリノミチ"));
    EXPECT_EQ(kept.index->Database().QueryInt("SELECT count(*) FROM masters"), 2); // A and B
    const std::vector<std::string> followed = Dump(*kept.index);
    kept.index.reset();
    EXPECT_EQ(followed, Dump(*archive::RebuildStoreIndex(fixture.root()).index));
}

// Files of the store, without the index's own.
std::map<std::string, std::string> StoreFiles(const fs::path& root) {
    auto files = keiba::storetest::SnapshotStore(root);
    std::erase_if(files, [](const auto& file) { return file.first.starts_with("index.sqlite3"); });
    return files;
}

TEST(ArchiveIndex, MissingDamagedAndNewerIndexesAreMadeAnewAndTheStoreKept) {
    TStoreFixture fixture;
    const auto before = StoreFiles(fixture.root());
    const fs::path file = archive::StoreIndexPath(fixture.root());
    EXPECT_EQ(Open(fixture.root()).state, archive::TIndexState::Built);
    {
        const auto sound = Open(fixture.root());
        EXPECT_EQ(sound.state, archive::TIndexState::Opened);
        sound.index->Database().Exec("PRAGMA user_version = " +
                                     std::to_string(archive::kIndexSchemaVersion + 1));
    }
    auto newer = Open(fixture.root());
    EXPECT_EQ(newer.state, archive::TIndexState::Rebuilt);
    EXPECT_NE(Sjis::ToUtf8(newer.message).find("新しい版"), std::string::npos);
    newer.index.reset();

    keiba::test::WriteFileBytes(file, std::string(8192, 'x'));
    // An acquisition meanwhile cannot keep it up: it leaves the mark and says so.
    archive::TIndexFollower follower(fixture.root());
    EXPECT_FALSE(follower.FilesWritten({{*store::HorseHistoryFile(kHorseA), "", ""}}).empty());
    EXPECT_TRUE(fs::exists(archive::StaleMarkPath(fixture.root())));
    const auto damaged = Open(fixture.root());
    EXPECT_EQ(damaged.state, archive::TIndexState::Rebuilt);
    EXPECT_NE(Sjis::ToUtf8(damaged.message).find("壊れて"), std::string::npos);
    EXPECT_FALSE(fs::exists(archive::StaleMarkPath(fixture.root())));
    EXPECT_EQ(damaged.index->Counts().runs, 5);
    EXPECT_EQ(StoreFiles(fixture.root()), before);
}

TEST(ArchiveIndex, TellsADaysHorsesOnlyWhenItCanBeTrusted) {
    TStoreFixture fixture;
    const race::TDayRunnersHint runners = archive::IndexedDayRunners(fixture.root());
    EXPECT_TRUE(runners("2024010605").empty()); // no index yet: the load looks through crops
    {
        const auto opened = Open(fixture.root());
        EXPECT_EQ(runners("2024010605"), (std::vector<std::string>{kHorseA, kHorseB}));
        EXPECT_EQ(runners("2024011306"), (std::vector<std::string>{kHorseA, kHorseC}));
        EXPECT_TRUE(runners("2024011305").empty()); // same date, another racecourse
        opened.index->Database().Exec("PRAGMA user_version = " +
                                      std::to_string(archive::kIndexSchemaVersion + 1));
    }
    EXPECT_TRUE(runners("2024010605").empty());
    keiba::test::WriteFileBytes(archive::StoreIndexPath(fixture.root()), std::string(8192, 'x'));
    EXPECT_TRUE(runners("2024010605").empty());
}

TEST(ArchiveIndex, StaleIndexCatchesUpWithFilesChangedBehindItsBack) {
    TStoreFixture fixture;
    Open(fixture.root());
    fixture.store.WriteHistory(kHorseC,
                               {Runner(fixture.r3, 1, kHorseC, "ミドリノカゼ", kOther, 4)});
    fs::remove(fixture.store.PathOf("SEI\\2019\\2019100002.jvSEI"));
    keiba::test::WriteFileBytes(archive::StaleMarkPath(fixture.root()), "");
    const auto updated = Open(fixture.root());
    EXPECT_EQ(updated.state, archive::TIndexState::Updated);
    EXPECT_EQ(updated.report.filesRemoved, 1u);
    EXPECT_EQ(updated.index->Counts().runs, 3);
    EXPECT_EQ(archive::FindSubjects(*updated.index, archive::TSubjectKind::Jockey, S("騎手"))
                  .table.rows.at(0)
                  .at(2),
              "1");
}

TEST(ArchiveIndex, BuildOfManyFilesAndARaceGivenTwiceMatchesWhatAnUpdateKeeps) {
    TStoreFixture fixture;
    // More files than the reading threads keep ahead of the writer, so that the tables by race
    // and person are filled while results and masters are still being read.
    const TRecordRA busy = Race("20240127", "05", 5, "11", "1400", '1', '0');
    fixture.store.WriteResults({busy});
    for (int h = 0; h < 400; ++h) {
        const std::string number = "2020" + std::to_string(100000 + h);
        fixture.store.WriteHistory(number, {Runner(busy, 1 + h % 18, number.c_str(), "タバネ",
                                                   h % 2 == 0 ? kJockey : kOther, 1 + h % 18)});
        fixture.store.WriteHorseMaster(keiba::test::MakeHorseMaster(number));
    }
    // Two lines of one race in a horse's file: the later one holds, in every table.
    fixture.store.WriteRaw(
        "SEI\\2019\\" + std::string(kHorseC) + ".jvSEI",
        std::string(Runner(fixture.r3, 1, kHorseC, "ミドリノカゼ", kJockey, 4).view()) + "\r\n" +
            std::string(Runner(fixture.r3, 1, kHorseC, "ミドリノカゼ", kOther, 2).view()) + "\r\n");
    auto built = Open(fixture.root());
    EXPECT_EQ(built.index->Counts().runs, 5 + 400);
    const auto other =
        archive::Statistics(*built.index, Request(archive::TSubjectKind::Jockey, kOther));
    ASSERT_FALSE(other.sections.empty()) << keiba::test::Show(other.message);
    EXPECT_EQ(other.sections.at(0).table.rows.at(0).at(1), "202"); // 200 + B's 2nd + C's 2nd
    const auto course =
        archive::Statistics(*built.index, Request(archive::TSubjectKind::Course, "", "05", 1400));
    EXPECT_EQ(course.sections.at(0).table.rows.at(0).at(1), "400");
    const std::vector<std::string> rows = Dump(*built.index);
    built.index.reset();

    // The same store brought in by an update of an index made before it had those files.
    const fs::path file = archive::StoreIndexPath(fixture.root());
    {
        auto empty = archive::RebuildStoreIndex(fixture.root());
        empty.index->Database().Exec("DELETE FROM runs; DELETE FROM files; DELETE FROM horses; "
                                     "DELETE FROM masters; DELETE FROM races; DELETE FROM payoffs");
    }
    keiba::test::WriteFileBytes(archive::StaleMarkPath(fixture.root()), "");
    auto updated = Open(fixture.root());
    ASSERT_EQ(updated.state, archive::TIndexState::Updated);
    EXPECT_EQ(Dump(*updated.index), rows);
    EXPECT_TRUE(fs::exists(file));
}

TEST(ArchiveSql, BatchesOfRowsAndTheRestGoInWithTheirBytes) {
    archive::sql::TDatabase db(fs::path(), archive::sql::TOpenMode::Memory);
    db.Exec("CREATE TABLE t(n INTEGER PRIMARY KEY, text TEXT, bytes BLOB)");
    {
        archive::sql::TBatchInsert insert(db, "INSERT INTO t", 3, 4);
        for (int n = 1; n <= 10; ++n) { // two whole batches and two rows left
            const std::string text(static_cast<std::size_t>(n), 'a');
            insert.Add(n).Add(text).AddBytes(S("馬") + std::string(1, '\0')).EndRow();
        }
        EXPECT_EQ(db.QueryInt("SELECT count(*) FROM t"), 8);
        insert.Finish();
    }
    EXPECT_EQ(db.QueryInt("SELECT count(*) FROM t"), 10);
    EXPECT_EQ(db.QueryText("SELECT text FROM t WHERE n = 7"), "aaaaaaa");
    EXPECT_EQ(db.QueryText("SELECT bytes FROM t WHERE n = 10"), S("馬") + std::string(1, '\0'));

    archive::sql::TBatchInsert twice(db, "INSERT INTO t", 3, 2);
    twice.Add(11).Add("x").AddBytes("").EndRow();
    EXPECT_THROW(twice.Add(1).Add("y").AddBytes("").EndRow(), archive::sql::TSqlError);
    EXPECT_EQ(db.QueryInt("SELECT count(*) FROM t"), 10); // the failing batch put nothing in
}

// Rows n = 1 ... last with a text of n letters and CP932 bytes with a zero byte; throws at
// row `fail` when given.
class TCountingFeed final : public archive::sql::IRowFeed {
public:
    TCountingFeed(int last, int fail = 0) : last_(last), fail_(fail) {}
    bool Next(archive::sql::TFeedRow& row) override {
        if (++n_ == fail_) {
            throw std::runtime_error("feed failed");
        }
        if (n_ > last_) {
            return false;
        }
        text_.assign(static_cast<std::size_t>(n_), 'a');
        bytes_ = S("馬") + std::string(1, '\0');
        row.Add(n_).Add(text_).AddBytes(bytes_);
        return true;
    }

private:
    int last_, fail_, n_ = 0;
    std::string text_, bytes_;
};

TEST(ArchiveSql, FedRowsGoInByOneStatementAndAFailureStopsThem) {
    archive::sql::TDatabase db(fs::path(), archive::sql::TOpenMode::Memory);
    db.Exec("CREATE TABLE t(n INTEGER PRIMARY KEY, text TEXT, bytes BLOB)");
    TCountingFeed feed(1000);
    archive::sql::InsertFed(db, "INSERT INTO t", 3, feed);
    EXPECT_EQ(db.QueryInt("SELECT count(*) FROM t"), 1000);
    EXPECT_EQ(db.QueryText("SELECT text FROM t WHERE n = 7"), "aaaaaaa");
    EXPECT_EQ(db.QueryText("SELECT typeof(text) || typeof(bytes) FROM t WHERE n = 9"), "textblob");
    EXPECT_EQ(db.QueryText("SELECT bytes FROM t WHERE n = 1000"), S("馬") + std::string(1, '\0'));

    // What the feed throws comes out of InsertFed; a clash is SQLite's error. Either way the
    // transaction rolled back keeps none of the rows.
    for (int fail : {5, 0}) {
        archive::sql::TTransaction transaction(db);
        TCountingFeed more(fail == 0 ? 2000 : 10, fail);
        db.Exec("DELETE FROM t WHERE n > 990");
        if (fail != 0) {
            EXPECT_THROW(archive::sql::InsertFed(db, "INSERT INTO t", 3, more), std::runtime_error);
        } else {
            EXPECT_THROW(archive::sql::InsertFed(db, "INSERT INTO t", 3, more),
                         archive::sql::TSqlError);
        }
    }
    EXPECT_EQ(db.QueryInt("SELECT count(*) FROM t"), 1000);
}

// A database built with its writes gathered: first a commit of some 1,100 pages one after the
// other, then, with a cache of a few pages, pages that go out, are read back and written again
// all the time. What another connection then reads is whole.
TEST(ArchiveSql, ABuiltDatabaseWithGatheredWritesReadsBackWhole) {
    keiba::test::TempDir dir;
    const fs::path file = dir.path() / "built.sqlite3";
    {
        archive::sql::TDatabase db(file, archive::sql::TOpenMode::Build);
        db.Exec("PRAGMA page_size = 4096; PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; "
                "PRAGMA cache_size = 2000");
        db.Exec("CREATE TABLE t(n INTEGER PRIMARY KEY, text TEXT, bytes BLOB)");
        {
            archive::sql::TTransaction transaction(db);
            TCountingFeed feed(3000); // texts of up to 3,000 bytes
            archive::sql::InsertFed(db, "INSERT INTO t", 3, feed);
            transaction.Commit();
        }
        db.Exec("PRAGMA cache_size = 8");
        archive::sql::TTransaction transaction(db);
        db.Exec("CREATE INDEX t_text ON t(substr(text, 1, 20), n); PRAGMA user_version = 7; "
                "UPDATE t SET text = 'b' WHERE n % 100 = 0");
        transaction.Commit();
        db.Exec("PRAGMA journal_mode = WAL");
        db.WriteOut();
    }
    archive::sql::TDatabase read(file, archive::sql::TOpenMode::ReadOnly);
    EXPECT_EQ(read.QueryText("PRAGMA integrity_check"), "ok");
    EXPECT_EQ(read.QueryText("PRAGMA journal_mode"), "wal");
    EXPECT_EQ(read.QueryInt("PRAGMA user_version"), 7);
    EXPECT_EQ(read.QueryInt("SELECT count(*) FROM t WHERE text = 'b'"), 30);
    // 1 + 2 + ... + 3000, less 100 + 200 + ... + 3000.
    EXPECT_EQ(read.QueryInt("SELECT sum(length(text)) FROM t WHERE n % 100 <> 0"), 4455000);
}

#if !defined(_WIN32)
// A disk that refuses the gathered writes (here a file size limit of the process, as a full
// disk would): the build fails with SQLite's error instead of leaving a short file.
TEST(ArchiveSql, GatheredWritesTheDiskRefusesFailTheBuild) {
    keiba::test::TempDir dir;
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN); // a refused write, not a signal
    rlimit limit = before;
    limit.rlim_cur = 256 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    bool refused = false;
    try {
        archive::sql::TDatabase db(dir.path() / "built.sqlite3", archive::sql::TOpenMode::Build);
        db.Exec("PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF");
        db.Exec("CREATE TABLE t(n INTEGER PRIMARY KEY, text TEXT, bytes BLOB)");
        archive::sql::TTransaction transaction(db);
        TCountingFeed feed(2000); // some 2 MB
        archive::sql::InsertFed(db, "INSERT INTO t", 3, feed);
        transaction.Commit();
        db.WriteOut();
    } catch (const archive::sql::TSqlError&) {
        refused = true;
    }
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, previous);
    EXPECT_TRUE(refused);
}
#endif

TEST(ArchiveIndex, UnreadableStoreFileIsNamedAndLeftOut) {
    TStoreFixture fixture;
    // Far larger than any store file may be: refused, not read.
    fixture.store.WriteRaw("SEI\\2019\\2019100009.jvSEI", std::string((16u << 20) + 1, ' '));
    const auto opened = Open(fixture.root());
    ASSERT_EQ(opened.report.problems.size(), 1u);
    EXPECT_NE(opened.report.problems[0].find("2019100009.jvSEI"), std::string::npos);
    EXPECT_NE(opened.message.find("2019100009.jvSEI"), std::string::npos);
    EXPECT_EQ(opened.index->Counts().runs, 5);
}

TEST(ArchiveIndex, IndexThatCannotBeWrittenIsMadeInMemory) {
    TStoreFixture fixture;
    const fs::path blocked = archive::StoreIndexPath(fixture.root());
    fs::create_directories(blocked / "kept");
    const auto opened = Open(fixture.root());
    EXPECT_EQ(opened.state, archive::TIndexState::InMemory);
    EXPECT_TRUE(opened.index->InMemory());
    EXPECT_FALSE(opened.message.empty());
    EXPECT_EQ(
        archive::SearchRuns(*opened.index, archive::TSubjectKind::Jockey, S("武")).places.size(),
        4u);
    EXPECT_TRUE(fs::exists(blocked / "kept"));
}

} // namespace
