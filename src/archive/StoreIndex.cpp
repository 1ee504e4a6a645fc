#include "archive/StoreIndex.h"

#include "archive/NameKey.h"
#include "files/ProgramFolder.h"
#include "files/WholeFile.h"
#include "jvdata/KeibaFunc.h"
#include "jvdata/Records.h"
#include "jvdata/SjisText.h"
#include "store/StoreWriter.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <future>
#include <map>
#include <set>
#include <sqlite3.h>
#include <system_error>
#include <unordered_map>
#include <unordered_set>

namespace archive {

namespace fs = std::filesystem;
using jvdata::TRecordHR;
using jvdata::TRecordRA;
using jvdata::TRecordSE;
using jvdata::TRecordUM;
using store::TStoreFile;
using store::TStoreFileKind;

namespace {

// "TKIX" in PRAGMA application_id: a database this program made as a store's index.
constexpr std::int64_t kApplicationId = 0x544B4958;

// How long the follower waits for another program's lock on the index before it leaves the
// index to the next opening.
constexpr int kFollowerBusyMs = 500;
// How long an opening waits for an acquisition's transaction to end.
constexpr int kOpenBusyMs = 5000;

constexpr std::string_view kTables = R"sql(
CREATE TABLE IF NOT EXISTS files(id INTEGER PRIMARY KEY, path BLOB NOT NULL UNIQUE,
    kind INTEGER NOT NULL, size INTEGER NOT NULL, mtime INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS races(race TEXT PRIMARY KEY, file INTEGER NOT NULL,
    course TEXT NOT NULL, name BLOB, distance INTEGER, track TEXT, turf_going TEXT,
    dirt_going TEXT, starters INTEGER) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS runs(horse TEXT NOT NULL, race TEXT NOT NULL, horse_num INTEGER,
    frame INTEGER, horse_name BLOB, jockey TEXT, jockey_name BLOB, trainer TEXT,
    trainer_name BLOB, finish INTEGER, abnormality TEXT, popularity INTEGER, odds INTEGER,
    time TEXT, PRIMARY KEY(horse, race)) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS horses(code TEXT PRIMARY KEY, file INTEGER NOT NULL, name BLOB,
    key TEXT) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS masters(horse TEXT PRIMARY KEY, file INTEGER NOT NULL, name BLOB,
    key TEXT, kana_key TEXT, sire TEXT, sire_name BLOB) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS payoffs(race TEXT NOT NULL, kind INTEGER NOT NULL,
    horse INTEGER NOT NULL, payout INTEGER NOT NULL, popularity INTEGER, file INTEGER NOT NULL,
    PRIMARY KEY(race, kind, horse)) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS jockeys(code TEXT PRIMARY KEY, name BLOB, key TEXT) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS trainers(code TEXT PRIMARY KEY, name BLOB, key TEXT) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS sires(code TEXT PRIMARY KEY, name BLOB, key TEXT) WITHOUT ROWID;
)sql";

// Made after a build's rows are in: one sort each instead of an update per row.
constexpr std::string_view kIndexes = R"sql(
CREATE INDEX IF NOT EXISTS runs_race ON runs(race);
-- Covering what the statistics read, so that a jockey's years of runs need no lookup each.
CREATE INDEX IF NOT EXISTS runs_jockey ON runs(jockey, race, horse_num, finish, abnormality, frame);
CREATE INDEX IF NOT EXISTS runs_trainer ON runs(trainer, race, horse_num, finish, abnormality, frame);
CREATE INDEX IF NOT EXISTS races_file ON races(file);
CREATE INDEX IF NOT EXISTS races_course ON races(course, distance);
CREATE INDEX IF NOT EXISTS payoffs_file ON payoffs(file);
CREATE INDEX IF NOT EXISTS masters_sire ON masters(sire, horse);
)sql";

std::string Sj(std::string_view utf8) {
    return Sjis::FromUtf8(utf8);
}

// A code field as the index keeps it: the digits trimmed; empty when blank or all zeros (no
// jockey, trainer or sire known).
std::string CodeOf(std::string_view field) {
    const std::string_view code = Sjis::TrimBlanks(field);
    return code.find_first_not_of('0') == std::string_view::npos ? std::string()
                                                                 : std::string(code);
}

// True when name ends in ext, ASCII letters compared without regard to case.
bool HasExtension(std::string_view name, std::string_view ext) {
    if (name.size() <= ext.size()) {
        return false;
    }
    const std::string_view tail = name.substr(name.size() - ext.size());
    return std::equal(tail.begin(), tail.end(), ext.begin(), [](char a, char b) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(a) == lower(b);
    });
}

// A store file found on disk.
struct TFoundFile {
    TStoreFile file;
};

// The store file that a path text of the files table names ("SEI\2019\2019100001.jvSEI").
TStoreFile FileOfText(std::string_view text, TStoreFileKind kind) {
    const std::size_t cut = text.rfind('\\');
    TStoreFile file;
    file.kind = kind;
    file.folder =
        std::string(cut == std::string_view::npos ? std::string_view() : text.substr(0, cut));
    file.name = std::string(cut == std::string_view::npos ? text : text.substr(cut + 1));
    return file;
}

// Lists the regular files of folder (a CP932 text under root) ending in ext into found.
void ListFiles(const fs::path& root, const std::string& folder, std::string_view ext,
               TStoreFileKind kind, std::vector<TFoundFile>& found, TIndexReport& report) {
    const fs::path path = store::StoreFolderPath(root, folder);
    std::error_code error;
    fs::directory_iterator it(path, error);
    if (error) {
        if (error != std::errc::no_such_file_or_directory) {
            report.problems.push_back(store::ReadFailure(path, error).message);
        }
        return;
    }
    const std::size_t first = found.size();
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code statError;
        if (!it->is_regular_file(statError)) {
            continue;
        }
        const auto name = files::TryTextFromPath(it->path().filename());
        if (!name || !HasExtension(*name, ext)) {
            continue;
        }
        found.push_back({{kind, folder, *name}});
    }
    if (error) {
        report.problems.push_back(store::ReadFailure(path, error).message);
    }
    std::sort(found.begin() + static_cast<std::ptrdiff_t>(first), found.end(),
              [](const TFoundFile& a, const TFoundFile& b) { return a.file.name < b.file.name; });
}

// Lists the files of each sub-folder of a store folder (SEI, SEIR, UM2).
void ListYearFolders(const fs::path& root, std::string_view top, std::string_view ext,
                     TStoreFileKind kind, std::vector<TFoundFile>& found, TIndexReport& report) {
    std::vector<std::string> folders;
    std::error_code error;
    fs::directory_iterator it(root / std::string(top), error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code typeError;
        if (!it->is_directory(typeError)) {
            continue;
        }
        if (const auto name = files::TryTextFromPath(it->path().filename())) {
            folders.push_back(std::string(top) + "\\" + *name);
        }
    }
    if (error && error != std::errc::no_such_file_or_directory) {
        report.problems.push_back(store::ReadFailure(root / std::string(top), error).message);
    }
    std::sort(folders.begin(), folders.end());
    for (const std::string& folder : folders) {
        ListFiles(root, folder, ext, kind, found, report);
    }
}

// Every store file the index is made from, in the order a build reads them.
std::vector<TFoundFile> ListStore(const fs::path& root, TIndexReport& report) {
    std::vector<TFoundFile> found;
    ListYearFolders(root, store::kResultFolder, ".jvSERA", TStoreFileKind::Results, found, report);
    ListFiles(root, std::string(store::kDataFolder), ".jvHR", TStoreFileKind::RaceDayPayoffs, found,
              report);
    ListYearFolders(root, store::kHistoryFolder, ".jvSEI", TStoreFileKind::HorseHistory, found,
                    report);
    ListYearFolders(root, store::kHorseMasterFolder, ".jvUM2", TStoreFileKind::HorseMaster, found,
                    report);
    return found;
}

bool Indexed(TStoreFileKind kind) {
    return kind == TStoreFileKind::Results || kind == TStoreFileKind::RaceDayPayoffs ||
           kind == TStoreFileKind::HorseHistory || kind == TStoreFileKind::HorseMaster;
}

// The registration number a horse's file is named by: its name less the extension.
std::string StemOf(const TStoreFile& file) {
    const std::size_t dot = file.name.rfind('.');
    return file.name.substr(0, dot);
}

// Reads the files in order, the next few chunks of them on other threads while the caller
// works on the last, and hands each read to use() in order.
template <class Use>
void ReadAhead(const fs::path& root, const std::vector<TFoundFile>& found, Use use) {
    constexpr std::size_t kChunk = 64;
    constexpr std::size_t kAhead = 3;
    const auto readChunk = [&root, &found](std::size_t first) {
        std::vector<files::FileReadResult> reads;
        const std::size_t end = std::min(found.size(), first + kChunk);
        for (std::size_t i = first; i < end; ++i) {
            reads.push_back(files::ReadWholeFile(store::StorePath(root, found[i].file),
                                                 store::kStoreFileReadBound));
        }
        return reads;
    };
    std::deque<std::future<std::vector<files::FileReadResult>>> pending;
    std::size_t next = 0;
    const auto launch = [&] {
        if (next < found.size()) {
            pending.push_back(std::async(std::launch::async, readChunk, next));
            next += kChunk;
        }
    };
    for (std::size_t k = 0; k < kAhead; ++k) {
        launch();
    }
    std::size_t index = 0;
    while (!pending.empty()) {
        std::vector<files::FileReadResult> reads = pending.front().get();
        pending.pop_front();
        launch();
        for (files::FileReadResult& read : reads) {
            use(found[index++], read);
        }
    }
}

// The lines of a file's bytes as store::SplitLines finds them (ended by CR LF, a lone CR or a
// lone LF), as views into the bytes.
std::vector<std::string_view> LineViews(std::string_view bytes) {
    std::vector<std::string_view> lines;
    const char* const data = bytes.data();
    const std::size_t size = bytes.size();
    std::size_t start = 0;
    while (start < size) {
        // The line's LF, then a CR before it: each search bounded by the line.
        const void* lf = std::memchr(data + start, '\n', size - start);
        std::size_t end =
            lf != nullptr ? static_cast<std::size_t>(static_cast<const char*>(lf) - data) : size;
        if (const void* cr = std::memchr(data + start, '\r', end - start)) {
            end = static_cast<std::size_t>(static_cast<const char*>(cr) - data);
        }
        lines.push_back(bytes.substr(start, end - start));
        if (end == size) {
            break;
        }
        start = end + (data[end] == '\r' && end + 1 < size && data[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

// The lines of after that before does not hold: what a write changed or added (the store
// never takes a line out of a file).
std::vector<std::string_view> ChangedLines(std::string_view before, std::string_view after) {
    const std::vector<std::string_view> old = LineViews(before);
    const std::unordered_set<std::string_view> known(old.begin(), old.end());
    std::vector<std::string_view> changed;
    for (const std::string_view line : LineViews(after)) {
        if (!known.contains(line)) {
            changed.push_back(line);
        }
    }
    return changed;
}

} // namespace

// The statements of one transaction that brings store files into the index.
class TStoreIndex::TWriter {
public:
    TWriter(sql::TDatabase& db, const fs::path& root, bool fresh)
        : db_(db), root_(root), fresh_(fresh),
          fileRow_(db, "INSERT INTO files(path, kind, size, mtime) VALUES(?1, ?2, ?3, ?4) "
                       "ON CONFLICT(path) DO UPDATE SET kind = excluded.kind, "
                       "size = excluded.size, mtime = excluded.mtime RETURNING id"),
          race_(db, "INSERT OR REPLACE INTO races VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)"),
          run_(db, "INSERT OR REPLACE INTO runs VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, "
                   "?11, ?12, ?13, ?14)"),
          horse_(db, "INSERT OR REPLACE INTO horses VALUES(?1, ?2, ?3, ?4)"),
          master_(db, "INSERT OR REPLACE INTO masters VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7)"),
          payoff_(db, "INSERT OR REPLACE INTO payoffs VALUES(?1, ?2, ?3, ?4, ?5, ?6)"),
          racePayoffs_(db, "DELETE FROM payoffs WHERE race = ?1 AND file = ?2") {}

    // Brings one store file, as read, into the index in place of what it gave before.
    void File(const TStoreFile& file, const files::FileReadResult& read, TIndexReport& report) {
        if (read.status == files::FileReadStatus::Missing) {
            Forget(file);
            return;
        }
        const bool ok = read.status == files::FileReadStatus::Read;
        // A file that could not be read keeps no size, so that the next check reads it again.
        const std::int64_t id =
            FileId(file, {ok ? static_cast<std::int64_t>(read.bytes.size()) : -1, read.modified});
        if (!fresh_) {
            RemoveRows(file, id);
        }
        if (!ok) {
            report.problems.push_back(
                store::ReadFailure(store::StorePath(root_, file), read.error).message);
            return;
        }
        ++report.filesRead;
        Lines(file, id, LineViews(read.bytes), report);
        if (file.kind == TStoreFileKind::HorseHistory) {
            HorseName(StemOf(file), id, read.bytes);
        }
    }

    // Brings what a write changed in a store file into the index: only the lines it changed
    // or added, each in place of the row of its key.
    void Written(const store::TWrittenFile& written, const files::TFileStamp& stamp,
                 TIndexReport& report) {
        const TStoreFile& file = written.file;
        const std::int64_t id = FileId(file, stamp);
        ++report.filesRead;
        const std::vector<std::string_view> changed = ChangedLines(written.before, written.after);
        if (changed.empty()) {
            return;
        }
        switch (file.kind) {
        case TStoreFileKind::RaceDayPayoffs:
            for (const std::string_view line : changed) {
                racePayoffs_.Bind(1, store::LineRaceKey(line)).Bind(2, id).Run();
            }
            break;
        case TStoreFileKind::HorseHistory: {
            // The jockeys and trainers of the runs a line replaces lose them.
            std::unordered_map<std::string_view, std::string_view> old;
            for (const std::string_view line : LineViews(written.before)) {
                old.emplace(store::LineRaceKey(line), line);
            }
            for (const std::string_view line : changed) {
                const auto replaced = old.find(store::LineRaceKey(line));
                if (replaced != old.end()) {
                    NotePeopleOf(replaced->second);
                }
            }
            break;
        }
        case TStoreFileKind::HorseMaster:
            RemoveRows(file, id);
            break;
        default:
            break;
        }
        Lines(file, id, changed, report);
        if (file.kind == TStoreFileKind::HorseHistory) {
            HorseName(StemOf(file), id, written.after);
        }
    }

private:
    void Lines(const TStoreFile& file, std::int64_t id, const std::vector<std::string_view>& lines,
               TIndexReport& report) {
        switch (file.kind) {
        case TStoreFileKind::Results:
            Races(lines, id, report);
            break;
        case TStoreFileKind::RaceDayPayoffs:
            Payoffs(lines, id, report);
            break;
        case TStoreFileKind::HorseHistory:
            Runs(StemOf(file), lines, report);
            break;
        case TStoreFileKind::HorseMaster:
            Master(StemOf(file), lines, id, report);
            break;
        default:
            break;
        }
    }

public:
    // Removes the rows of a file that is no longer in the store, and the file's own row.
    void Forget(const TStoreFile& file) {
        sql::TStatement find(db_, "SELECT id FROM files WHERE path = ?1");
        find.BindBytes(1, file.Text());
        if (find.Step()) {
            RemoveRows(file, find.Int(0));
        }
        sql::TStatement remove(db_, "DELETE FROM files WHERE path = ?1");
        remove.BindBytes(1, file.Text()).Run();
    }

    // Names of the jockeys, trainers and sires whose runs or horses changed, brought up to date
    // from their latest run or horse; on a fresh build, every one of them.
    void FinishPeople() {
        if (fresh_) {
            db_.Exec(kIndexes);
            Collect("SELECT DISTINCT jockey FROM runs WHERE jockey <> ''", jockeys_);
            Collect("SELECT DISTINCT trainer FROM runs WHERE trainer <> ''", trainers_);
            Collect("SELECT DISTINCT sire FROM masters WHERE sire <> ''", sires_);
        }
        People("jockeys",
               "SELECT jockey_name FROM runs WHERE jockey = ?1 ORDER BY race DESC LIMIT 1",
               jockeys_);
        People("trainers",
               "SELECT trainer_name FROM runs WHERE trainer = ?1 ORDER BY race DESC LIMIT 1",
               trainers_);
        People("sires", "SELECT sire_name FROM masters WHERE sire = ?1 ORDER BY horse DESC LIMIT 1",
               sires_);
    }

private:
    std::int64_t FileId(const TStoreFile& file, const files::TFileStamp& stamp) {
        fileRow_.BindBytes(1, file.Text());
        fileRow_.Bind(2, static_cast<int>(file.kind));
        fileRow_.Bind(3, stamp.size);
        fileRow_.Bind(4, stamp.modified);
        std::int64_t id = 0;
        if (fileRow_.Step()) {
            id = fileRow_.Int(0);
        }
        fileRow_.Run();
        return id;
    }

    void RemoveRows(const TStoreFile& file, std::int64_t id) {
        switch (file.kind) {
        case TStoreFileKind::Results: {
            sql::TStatement remove(db_, "DELETE FROM races WHERE file = ?1");
            remove.Bind(1, id).Run();
            break;
        }
        case TStoreFileKind::RaceDayPayoffs: {
            sql::TStatement remove(db_, "DELETE FROM payoffs WHERE file = ?1");
            remove.Bind(1, id).Run();
            break;
        }
        case TStoreFileKind::HorseHistory: {
            const std::string horse = StemOf(file);
            sql::TStatement people(db_,
                                   "SELECT DISTINCT jockey, trainer FROM runs WHERE horse = ?1");
            people.Bind(1, horse);
            while (people.Step()) {
                Note(jockeys_, people.Text(0));
                Note(trainers_, people.Text(1));
            }
            sql::TStatement runs(db_, "DELETE FROM runs WHERE horse = ?1");
            runs.Bind(1, horse).Run();
            sql::TStatement horses(db_, "DELETE FROM horses WHERE code = ?1");
            horses.Bind(1, horse).Run();
            break;
        }
        case TStoreFileKind::HorseMaster: {
            const std::string horse = StemOf(file);
            sql::TStatement sire(db_, "SELECT sire FROM masters WHERE horse = ?1");
            sire.Bind(1, horse);
            while (sire.Step()) {
                Note(sires_, sire.Text(0));
            }
            sql::TStatement remove(db_, "DELETE FROM masters WHERE horse = ?1");
            remove.Bind(1, horse).Run();
            break;
        }
        default:
            break;
        }
    }

    void Races(const std::vector<std::string_view>& lines, std::int64_t id, TIndexReport& report) {
        using namespace jvdata;
        for (const std::string_view line : lines) {
            const auto ra = TRecordRA::FromLine(line);
            if (!ra || ra->IsBlank()) {
                report.linesSkipped += ra ? 0 : 1;
                continue;
            }
            std::string name = KeibaFunc::ShownName(ra->Field(RA::kRaceName));
            if (name.empty()) {
                name = KeibaFunc::ShownName(ra->Field(RA::kConditionName));
            }
            race_.Bind(1, ra->RaceKey()).Bind(2, id).Bind(3, ra->CourseCode());
            race_.BindBytes(4, name).Bind(5, ra->Int(RA::kDistance));
            race_.Bind(6, Sjis::TrimBlanks(ra->Field(RA::kTrackCode)));
            race_.Bind(7, ra->Field(RA::kTurfGoingCode)).Bind(8, ra->Field(RA::kDirtGoingCode));
            race_.Bind(9, ra->Int(RA::kStarters));
            race_.Run();
        }
    }

    void Payoffs(const std::vector<std::string_view>& lines, std::int64_t id,
                 TIndexReport& report) {
        using namespace jvdata;
        for (const std::string_view line : lines) {
            const auto hr = TRecordHR::FromLine(line);
            if (!hr || hr->IsBlank()) {
                report.linesSkipped += hr ? 0 : 1;
                continue;
            }
            const std::pair<int, TPayoffGroup> groups[] = {{1, HR::kWin}, {2, HR::kPlace}};
            for (const auto& [kind, group] : groups) {
                for (int e = 0; e < group.entries; ++e) {
                    const int horse = hr->Int(group.Horse(e, 0));
                    const std::int64_t payout = hr->Int64(group.Payout(e));
                    if (horse <= 0 || payout <= 0) {
                        continue;
                    }
                    payoff_.Bind(1, hr->RaceKey()).Bind(2, kind).Bind(3, horse).Bind(4, payout);
                    payoff_.Bind(5, hr->Int(group.Popularity(e))).Bind(6, id);
                    payoff_.Run();
                }
            }
        }
    }

    void Runs(const std::string& horse, const std::vector<std::string_view>& lines,
              TIndexReport& report) {
        using namespace jvdata;
        for (const std::string_view line : lines) {
            const auto se = TRecordSE::FromLine(line);
            if (!se || se->IsBlank()) {
                report.linesSkipped += se ? 0 : 1;
                continue;
            }
            if (se->Field(SE::kRegistrationNumber) != horse) {
                ++report.linesSkipped; // another horse's line has no place in this file
                continue;
            }
            const std::string jockey = CodeOf(se->Field(SE::kJockeyCode));
            const std::string trainer = CodeOf(se->Field(SE::kTrainerCode));
            run_.Bind(1, horse).Bind(2, se->RaceKey()).Bind(3, se->Int(SE::kHorseNumber));
            run_.Bind(4, se->Int(SE::kFrameNumber));
            run_.BindBytes(5, KeibaFunc::ShownName(se->Field(SE::kHorseName)));
            run_.Bind(6, jockey);
            run_.BindBytes(7, KeibaFunc::ShownName(se->Field(SE::kJockeyShortName)));
            run_.Bind(8, trainer);
            run_.BindBytes(9, KeibaFunc::ShownName(se->Field(SE::kTrainerShortName)));
            run_.Bind(10, se->Int(SE::kFinishPosition)).Bind(11, se->Field(SE::kAbnormalityCode));
            run_.Bind(12, se->Int(SE::kWinPopularity)).Bind(13, se->Int(SE::kWinOdds));
            run_.Bind(14, se->Field(SE::kRaceTime));
            run_.Run();
            if (!fresh_) {
                Note(jockeys_, jockey);
                Note(trainers_, trainer);
            }
        }
    }

    // The horse's row: the name of its latest run, the last line of its file (kept in race
    // order).
    void HorseName(const std::string& horse, std::int64_t id, std::string_view bytes) {
        using namespace jvdata;
        const std::vector<std::string_view> lines = LineViews(bytes);
        for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
            const auto se = TRecordSE::FromLine(*line);
            if (se && !se->IsBlank() && se->Field(SE::kRegistrationNumber) == horse) {
                const std::string name = KeibaFunc::ShownName(se->Field(SE::kHorseName));
                horse_.Bind(1, horse).Bind(2, id).BindBytes(3, name).Bind(4, NameKey(name));
                horse_.Run();
                return;
            }
        }
    }

    void NotePeopleOf(std::string_view line) {
        if (const auto se = TRecordSE::FromLine(line)) {
            Note(jockeys_, CodeOf(se->Field(jvdata::SE::kJockeyCode)));
            Note(trainers_, CodeOf(se->Field(jvdata::SE::kTrainerCode)));
        }
    }

    void Master(const std::string& horse, const std::vector<std::string_view>& lines,
                std::int64_t id, TIndexReport& report) {
        using namespace jvdata;
        if (lines.empty()) {
            return;
        }
        const auto um = TRecordUM::FromLine(lines.front());
        if (!um || um->Field(UM::kRegistrationNumber) != horse) {
            ++report.linesSkipped;
            return;
        }
        const std::string name = KeibaFunc::ShownName(um->Field(UM::kHorseName));
        const std::string kana(Sjis::TrimBlanks(um->Field(UM::kKanaName)));
        const std::string sire = CodeOf(um->Field(UM::PedigreeNumber(UM::kSire)));
        master_.Bind(1, horse).Bind(2, id).BindBytes(3, name).Bind(4, NameKey(name));
        master_.Bind(5, NameKey(kana)).Bind(6, sire);
        master_.BindBytes(7, KeibaFunc::ShownName(um->Field(UM::PedigreeName(UM::kSire))));
        master_.Run();
        if (!fresh_) {
            Note(sires_, sire);
        }
    }

    static void Note(std::set<std::string>& codes, const std::string& code) {
        if (!code.empty()) {
            codes.insert(code);
        }
    }

    void Collect(std::string_view sql, std::set<std::string>& codes) {
        sql::TStatement select(db_, sql);
        while (select.Step()) {
            Note(codes, select.Text(0));
        }
    }

    // Each code's row anew from its latest source row; removed when it has none left.
    void People(std::string_view table, std::string_view latest,
                const std::set<std::string>& codes) {
        sql::TStatement find(db_, latest);
        sql::TStatement remove(db_, "DELETE FROM " + std::string(table) + " WHERE code = ?1");
        sql::TStatement insert(db_, "INSERT OR REPLACE INTO " + std::string(table) +
                                        " VALUES(?1, ?2, ?3)");
        for (const std::string& code : codes) {
            find.Bind(1, code);
            if (find.Step()) {
                const std::string name = find.Text(0);
                insert.Bind(1, code).BindBytes(2, name).Bind(3, NameKey(name)).Run();
            } else {
                remove.Bind(1, code).Run();
            }
            find.Reset();
        }
    }

    sql::TDatabase& db_;
    const fs::path& root_;
    const bool fresh_;
    sql::TStatement fileRow_;
    sql::TStatement race_;
    sql::TStatement run_;
    sql::TStatement horse_;
    sql::TStatement master_;
    sql::TStatement payoff_;
    sql::TStatement racePayoffs_;
    std::set<std::string> jockeys_;
    std::set<std::string> trainers_;
    std::set<std::string> sires_;
};

TStoreIndex::TStoreIndex(fs::path dataRoot, sql::TDatabase db, bool readOnly, bool inMemory)
    : dataRoot_(std::move(dataRoot)), db_(std::move(db)), readOnly_(readOnly), inMemory_(inMemory) {
}

TStoreIndex::~TStoreIndex() = default;

TIndexCounts TStoreIndex::Counts() const {
    TIndexCounts counts;
    const std::pair<std::int64_t*, std::string_view> tables[] = {
        {&counts.files, "files"},   {&counts.races, "races"},     {&counts.runs, "runs"},
        {&counts.horses, "horses"}, {&counts.jockeys, "jockeys"}, {&counts.trainers, "trainers"},
        {&counts.sires, "sires"},   {&counts.payoffs, "payoffs"},
    };
    for (const auto& [count, table] : tables) {
        *count = db_.QueryInt("SELECT count(*) FROM " + std::string(table));
    }
    return counts;
}

TIndexReport TStoreIndex::BuildAll() {
    TIndexReport report;
    const std::vector<TFoundFile> found = ListStore(dataRoot_, report);
    db_.Exec(kTables);
    sql::TTransaction transaction(db_);
    TWriter writer(db_, dataRoot_, true);
    ReadAhead(dataRoot_, found, [&](const TFoundFile& file, const files::FileReadResult& read) {
        writer.File(file.file, read, report);
    });
    writer.FinishPeople();
    db_.Exec("PRAGMA application_id = " + std::to_string(kApplicationId));
    db_.Exec("PRAGMA user_version = " + std::to_string(kIndexSchemaVersion));
    transaction.Commit();
    return report;
}

TIndexReport TStoreIndex::Apply(const std::vector<store::TWrittenFile>& written) {
    TIndexReport report;
    sql::TTransaction transaction(db_);
    TWriter writer(db_, dataRoot_, false);
    for (const store::TWrittenFile& file : written) {
        if (!Indexed(file.file.kind)) {
            continue;
        }
        const auto stamp = files::FileStampOf(store::StorePath(dataRoot_, file.file));
        writer.Written(file, stamp.value_or(files::TFileStamp{-1, 0}), report);
    }
    writer.FinishPeople();
    transaction.Commit();
    return report;
}

TIndexReport TStoreIndex::Refresh() {
    TIndexReport report;
    const std::vector<TFoundFile> found = ListStore(dataRoot_, report);
    struct TKnown {
        int kind;
        files::TFileStamp stamp;
        bool seen = false;
    };
    std::unordered_map<std::string, TKnown> known;
    {
        sql::TStatement select(db_, "SELECT path, kind, size, mtime FROM files");
        while (select.Step()) {
            known.emplace(select.Text(0),
                          TKnown{static_cast<int>(select.Int(1)), {select.Int(2), select.Int(3)}});
        }
    }
    std::vector<TFoundFile> changed;
    for (const TFoundFile& file : found) {
        const auto it = known.find(file.file.Text());
        if (it != known.end()) {
            it->second.seen = true;
            if (files::FileStampOf(store::StorePath(dataRoot_, file.file)) == it->second.stamp) {
                continue;
            }
        }
        changed.push_back(file);
    }
    sql::TTransaction transaction(db_);
    TWriter writer(db_, dataRoot_, false);
    ReadAhead(dataRoot_, changed, [&](const TFoundFile& file, const files::FileReadResult& read) {
        writer.File(file.file, read, report);
    });
    for (const auto& [text, file] : known) {
        if (!file.seen) {
            writer.Forget(FileOfText(text, static_cast<TStoreFileKind>(file.kind)));
            ++report.filesRemoved;
        }
    }
    writer.FinishPeople();
    transaction.Commit();
    return report;
}

fs::path StoreIndexPath(const fs::path& dataRoot) {
    return dataRoot / std::string(store::kStoreIndexFile);
}

fs::path StaleMarkPath(const fs::path& dataRoot) {
    return dataRoot / (std::string(store::kStoreIndexFile) + ".stale");
}

namespace {

// Reads through a memory map and a larger page cache: a jockey's years of runs are thousands
// of rows found by key.
void Tune(sql::TDatabase& db) {
    db.Exec("PRAGMA mmap_size = 268435456; PRAGMA cache_size = -32768");
}

// Why an index cannot be trusted; nothing when it can.
enum class TVerdict { Sound, Newer, OtherVersion, Damaged };

TVerdict Judge(sql::TDatabase& db, bool thorough, std::string& detail) {
    try {
        if (db.QueryInt("PRAGMA application_id") != kApplicationId) {
            return TVerdict::OtherVersion;
        }
        const std::int64_t version = db.QueryInt("PRAGMA user_version");
        if (version > kIndexSchemaVersion) {
            return TVerdict::Newer;
        }
        if (version != kIndexSchemaVersion) {
            return TVerdict::OtherVersion;
        }
        if (thorough) {
            const std::string check = db.QueryText("PRAGMA quick_check(1)");
            if (check != "ok") {
                detail = check;
                return TVerdict::Damaged;
            }
        }
        db.QueryInt("SELECT count(*) FROM files");
        return TVerdict::Sound;
    } catch (const sql::TSqlError& error) {
        detail = error.what();
        return TVerdict::Damaged;
    }
}

std::string ReasonText(TVerdict verdict, const std::string& detail) {
    switch (verdict) {
    case TVerdict::Newer:
        return Sj("索引ファイルは新しい版のプログラムが作ったものなので、作り直しました。");
    case TVerdict::OtherVersion:
        return Sj("索引ファイルの版が違うので、作り直しました。");
    case TVerdict::Damaged:
        return Sj("索引ファイルが壊れていたので、作り直しました（") + Sj(detail) + Sj("）。");
    case TVerdict::Sound:
        break;
    }
    return {};
}

// "索引に入れられなかったファイル:" and each problem, one per line; empty without problems.
std::string ProblemsText(const TIndexReport& report) {
    if (report.problems.empty()) {
        return {};
    }
    std::string text = Sj("索引に入れられなかったファイル:");
    for (const std::string& problem : report.problems) {
        text += "\r\n" + problem;
    }
    return text;
}

void Append(std::string& message, const std::string& more) {
    if (more.empty()) {
        return;
    }
    if (!message.empty()) {
        message += "\r\n";
    }
    message += more;
}

void RemoveQuietly(const fs::path& path) {
    std::error_code ignored;
    fs::remove(path, ignored);
}

// Makes the index in a temporary file beside its place, then puts it there whole. Throws
// sql::TSqlError or fs::filesystem_error when the data root cannot be written.
TIndexReport BuildFile(const fs::path& dataRoot) {
    const fs::path target = StoreIndexPath(dataRoot);
    const fs::path temporary = files::TemporaryPath(target, 0);
    RemoveQuietly(temporary);
    TIndexReport report;
    try {
        sql::TDatabase db(temporary, sql::TOpenMode::Create);
        // Nothing of a half-made file is ever used: it needs no journal and no syncs.
        db.Exec("PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; "
                "PRAGMA cache_size = -65536; PRAGMA temp_store = MEMORY");
        TStoreIndex building(dataRoot, std::move(db), false, false);
        report = building.BuildAll();
        // Write-ahead: an acquisition's update is appended and synced once, and a reader in the
        // window never waits for it.
        building.Database().Exec("PRAGMA journal_mode = WAL");
    } catch (...) {
        RemoveQuietly(temporary);
        throw;
    }
    // A journal or write-ahead log left by a crash beside the old file would be played into the
    // new one.
    for (const char* suffix : {"-journal", "-wal", "-shm"}) {
        fs::path journal = target;
        journal += suffix;
        RemoveQuietly(journal);
    }
    std::error_code error;
    fs::rename(temporary, target, error);
    if (error) {
        // Windows renames over no file: the old index goes first.
        RemoveQuietly(target);
        fs::rename(temporary, target, error);
    }
    if (error) {
        RemoveQuietly(temporary);
        throw fs::filesystem_error("rename", temporary, target, error);
    }
    return report;
}

TIndexOpenResult Open(const fs::path& dataRoot, bool rebuild) {
    TIndexOpenResult result;
    const fs::path path = StoreIndexPath(dataRoot);
    std::error_code error;
    const bool exists = fs::exists(path, error);
    std::string reason;
    if (exists && !rebuild) {
        try {
            sql::TDatabase db(path, sql::TOpenMode::ReadWrite);
            db.BusyTimeout(kOpenBusyMs);
            Tune(db);
            std::string detail;
            const TVerdict verdict = Judge(db, true, detail);
            const bool readOnly = sqlite3_db_readonly(db.Handle(), "main") == 1;
            const bool stale = fs::exists(StaleMarkPath(dataRoot), error);
            if (verdict == TVerdict::Sound && !(readOnly && stale)) {
                result.index =
                    std::make_unique<TStoreIndex>(dataRoot, std::move(db), readOnly, false);
                if (readOnly) {
                    result.state = TIndexState::ReadOnly;
                    result.message = Sj("索引ファイルに書き込めないので、更新せずに使います。");
                } else if (stale) {
                    result.report = result.index->Refresh();
                    RemoveQuietly(StaleMarkPath(dataRoot));
                    result.state = TIndexState::Updated;
                    result.message = Sj("索引を蓄積データに合わせて更新しました（") +
                                     std::to_string(result.report.filesRead) + Sj("ファイル）。");
                }
                Append(result.message, ProblemsText(result.report));
                return result;
            }
            reason = ReasonText(verdict, detail);
        } catch (const sql::TSqlError& failure) {
            reason = ReasonText(TVerdict::Damaged, failure.what());
        }
    }
    try {
        result.report = BuildFile(dataRoot);
        RemoveQuietly(StaleMarkPath(dataRoot));
        sql::TDatabase db(path, sql::TOpenMode::ReadWrite);
        db.BusyTimeout(kOpenBusyMs);
        Tune(db);
        result.index = std::make_unique<TStoreIndex>(dataRoot, std::move(db), false, false);
        result.state = exists ? TIndexState::Rebuilt : TIndexState::Built;
        result.message = !reason.empty() ? reason
                         : exists        ? Sj("索引を作り直しました。")
                                         : Sj("索引を作りました。");
    } catch (const std::exception& failure) {
        // The data root cannot take the file: the index lives in memory for this run.
        sql::TDatabase db(fs::path(), sql::TOpenMode::Memory);
        result.index = std::make_unique<TStoreIndex>(dataRoot, std::move(db), false, true);
        result.report = result.index->BuildAll();
        result.state = TIndexState::InMemory;
        result.message = Sj("索引ファイルを保存できないので、索引をメモリに作りました（") +
                         Sj(failure.what()) + Sj("）。");
    }
    Append(result.message, ProblemsText(result.report));
    return result;
}

} // namespace

TIndexOpenResult OpenStoreIndex(const fs::path& dataRoot) {
    return Open(dataRoot, false);
}

TIndexOpenResult RebuildStoreIndex(const fs::path& dataRoot) {
    return Open(dataRoot, true);
}

std::string TIndexFollower::FilesWritten(const std::vector<store::TWrittenFile>& files) {
    const auto markStale = [&](const std::string& why) {
        broken_ = true;
        files::ReplaceWholeFile(StaleMarkPath(dataRoot_), "");
        return Sj("索引を更新できませんでした（") + why + Sj("）。次に開くときに更新します。");
    };
    if (broken_) {
        return markStale(Sj("索引ファイルが使えません"));
    }
    const fs::path path = StoreIndexPath(dataRoot_);
    std::error_code error;
    if (!fs::exists(path, error)) {
        return {}; // made whole when it is first opened
    }
    try {
        // Open only for the write: an open file could not be replaced on Windows by a rebuild.
        sql::TDatabase db(path, sql::TOpenMode::ReadWrite);
        db.BusyTimeout(kFollowerBusyMs);
        Tune(db);
        std::string detail;
        if (Judge(db, false, detail) != TVerdict::Sound ||
            sqlite3_db_readonly(db.Handle(), "main") == 1) {
            return markStale(Sj(detail.empty() ? "索引ファイルが使えません" : detail));
        }
        TStoreIndex index(dataRoot_, std::move(db), false, false);
        const TIndexReport report = index.Apply(files);
        report_.filesRead += report.filesRead;
        report_.linesSkipped += report.linesSkipped;
    } catch (const sql::TSqlError& failure) {
        return markStale(Sj(failure.what()));
    }
    return {};
}

TIndexFollower::~TIndexFollower() = default;

} // namespace archive
