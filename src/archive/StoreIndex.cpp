#include "archive/StoreIndex.h"

#include "archive/NameKey.h"
#include "files/ProgramFolder.h"
#include "files/WholeFile.h"
#include "jvdata/KeibaFunc.h"
#include "jvdata/Records.h"
#include "jvdata/SjisText.h"
#include "store/StoreWriter.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <exception>
#include <forward_list>
#include <map>
#include <mutex>
#include <numeric>
#include <optional>
#include <set>
#include <sqlite3.h>
#include <system_error>
#include <thread>
#include <tuple>
#include <unordered_map>
#include <unordered_set>
#include <utility>

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
// The write-ahead log's length (in pages) past which an acquisition's update copies it into
// the index file itself: some weeks' updates (a week's is about 3,000 pages of 4 KiB).
constexpr int kFollowerLogPages = 16384;

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
-- The runs by race, by jockey and by trainer, with what the statistics count, so that a
-- race's runners or a jockey's years of runs are one range each. Tables rather than indexes
-- of runs: a build puts their rows in already sorted, where an index would sort them again;
-- after the build the triggers below keep them with runs.
CREATE TABLE IF NOT EXISTS race_runs(race TEXT NOT NULL, horse TEXT NOT NULL, horse_num INTEGER,
    finish INTEGER, abnormality TEXT, frame INTEGER, PRIMARY KEY(race, horse)) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS jockey_runs(jockey TEXT NOT NULL, race TEXT NOT NULL,
    horse TEXT NOT NULL, horse_num INTEGER, finish INTEGER, abnormality TEXT, frame INTEGER,
    PRIMARY KEY(jockey, race, horse)) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS trainer_runs(trainer TEXT NOT NULL, race TEXT NOT NULL,
    horse TEXT NOT NULL, horse_num INTEGER, finish INTEGER, abnormality TEXT, frame INTEGER,
    PRIMARY KEY(trainer, race, horse)) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS jockeys(code TEXT PRIMARY KEY, name BLOB, key TEXT) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS trainers(code TEXT PRIMARY KEY, name BLOB, key TEXT) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS sires(code TEXT PRIMARY KEY, name BLOB, key TEXT) WITHOUT ROWID;
)sql";

// Made after a build's rows are in: one sort each instead of an update per row.
constexpr std::string_view kIndexes = R"sql(
CREATE INDEX IF NOT EXISTS races_file ON races(file);
CREATE INDEX IF NOT EXISTS races_course ON races(course, distance);
CREATE INDEX IF NOT EXISTS payoffs_file ON payoffs(file);
CREATE INDEX IF NOT EXISTS masters_sire ON masters(sire, horse);
)sql";

// Keep race_runs, jockey_runs and trainer_runs with runs once a build has filled them. A run
// is replaced by deleting it first (a REPLACE would not fire the delete trigger).
constexpr std::string_view kTriggers = R"sql(
CREATE TRIGGER IF NOT EXISTS runs_added AFTER INSERT ON runs BEGIN
    INSERT OR REPLACE INTO race_runs VALUES(new.race, new.horse, new.horse_num, new.finish,
        new.abnormality, new.frame);
    INSERT OR REPLACE INTO jockey_runs SELECT new.jockey, new.race, new.horse, new.horse_num,
        new.finish, new.abnormality, new.frame WHERE new.jockey <> '';
    INSERT OR REPLACE INTO trainer_runs SELECT new.trainer, new.race, new.horse, new.horse_num,
        new.finish, new.abnormality, new.frame WHERE new.trainer <> '';
END;
CREATE TRIGGER IF NOT EXISTS runs_removed AFTER DELETE ON runs BEGIN
    DELETE FROM race_runs WHERE race = old.race AND horse = old.horse;
    DELETE FROM jockey_runs WHERE jockey = old.jockey AND race = old.race AND horse = old.horse;
    DELETE FROM trainer_runs WHERE trainer = old.trainer AND race = old.race AND
        horse = old.horse;
END;
)sql";

std::string Sj(std::string_view utf8) {
    return Sjis::FromUtf8(utf8);
}

// A code field as the index keeps it: the digits trimmed; empty when blank or all zeros (no
// jockey, trainer or sire known).
std::string_view CodeView(std::string_view field) {
    const std::string_view code = Sjis::TrimBlanks(field);
    return code.find_first_not_of('0') == std::string_view::npos ? std::string_view() : code;
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
    // The runs first: the tables by race and person are filled from them while the rest is
    // read.
    ListYearFolders(root, store::kHistoryFolder, ".jvSEI", TStoreFileKind::HorseHistory, found,
                    report);
    ListYearFolders(root, store::kResultFolder, ".jvSERA", TStoreFileKind::Results, found, report);
    ListFiles(root, std::string(store::kDataFolder), ".jvHR", TStoreFileKind::RaceDayPayoffs, found,
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
std::string_view StemOf(const TStoreFile& file) {
    return std::string_view(file.name).substr(0, file.name.rfind('.'));
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

// A store file's rows, parsed from its lines off the writing thread: the values as the tables
// take them.
struct TRaceRow {
    std::string race, course, name, track, turf, dirt;
    int distance = 0;
    int starters = 0;
};
struct TPayoffRow {
    std::string race;
    int kind = 0; // 1 win, 2 place
    int horse = 0;
    std::int64_t payout = 0;
    int popularity = 0;
};
// A run's texts are views into the lines it was parsed from, or into TParsedRows::owned.
struct TRunRow {
    std::string_view race, horseName, jockey, jockeyName, trainer, trainerName, abnormality, time;
    int horseNum = 0;
    int frame = 0;
    int finish = 0;
    int popularity = 0;
    int odds = 0;
};
struct TNamed {
    std::string name, key;
};
struct TMasterRow {
    std::string name, key, kanaKey, sire, sireName;
};

struct TParsedRows {
    std::vector<TRaceRow> races;
    std::vector<TPayoffRow> payoffs;
    std::vector<TRunRow> runs;
    std::optional<TNamed> horse; // a history file's horse: the name of its latest run
    std::optional<TMasterRow> master;
    std::size_t linesSkipped = 0;         // lines of a wrong length or of another horse
    std::forward_list<std::string> owned; // names that had wide blanks to strip
};

// A field of a record as the bytes of the line it was read from (FromLine takes a line of the
// record's length byte for byte).
std::string_view LineField(std::string_view line, jvdata::TFieldPos pos) {
    return line.substr(static_cast<std::size_t>(pos.first - 1),
                       static_cast<std::size_t>(pos.length()));
}

// A name field as KeibaFunc::ShownName shows it, a view into the field unless wide blanks
// inside it had to go.
std::string_view ShownView(std::string_view field, std::forward_list<std::string>& owned) {
    const std::string_view trimmed = Sjis::TrimBlanks(field);
    if (trimmed.find(Sjis::kWideBlank) == std::string_view::npos) {
        return trimmed;
    }
    owned.push_front(KeibaFunc::ShownName(field));
    return owned.front();
}

void ParseRaces(const std::vector<std::string_view>& lines, TParsedRows& rows) {
    using namespace jvdata;
    for (const std::string_view line : lines) {
        const auto ra = TRecordRA::FromLine(line);
        if (!ra || ra->IsBlank()) {
            rows.linesSkipped += ra ? 0 : 1;
            continue;
        }
        TRaceRow& row = rows.races.emplace_back();
        row.race = ra->RaceKey();
        row.course = ra->CourseCode();
        row.name = KeibaFunc::ShownName(ra->Field(RA::kRaceName));
        if (row.name.empty()) {
            row.name = KeibaFunc::ShownName(ra->Field(RA::kConditionName));
        }
        row.distance = ra->Int(RA::kDistance);
        row.track = Sjis::TrimBlanks(ra->Field(RA::kTrackCode));
        row.turf = ra->Field(RA::kTurfGoingCode);
        row.dirt = ra->Field(RA::kDirtGoingCode);
        row.starters = ra->Int(RA::kStarters);
    }
}

void ParsePayoffs(const std::vector<std::string_view>& lines, TParsedRows& rows) {
    using namespace jvdata;
    for (const std::string_view line : lines) {
        const auto hr = TRecordHR::FromLine(line);
        if (!hr || hr->IsBlank()) {
            rows.linesSkipped += hr ? 0 : 1;
            continue;
        }
        const std::pair<int, TPayoffGroup> groups[] = {{1, HR::kWin}, {2, HR::kPlace}};
        for (const auto& [kind, group] : groups) {
            for (int e = 0; e < group.entries; ++e) {
                const int horse = hr->Int(group.Horse(e, 0));
                const std::int64_t payout = hr->Int64(group.Payout(e));
                if (horse > 0 && payout > 0) {
                    rows.payoffs.push_back({std::string(hr->RaceKey()), kind, horse, payout,
                                            hr->Int(group.Popularity(e))});
                }
            }
        }
    }
}

void ParseRuns(std::string_view horse, const std::vector<std::string_view>& lines,
               TParsedRows& rows) {
    using namespace jvdata;
    rows.runs.reserve(lines.size());
    for (const std::string_view line : lines) {
        const auto se = TRecordSE::FromLine(line);
        if (!se || se->IsBlank()) {
            rows.linesSkipped += se ? 0 : 1;
            continue;
        }
        if (se->Field(SE::kRegistrationNumber) != horse) {
            ++rows.linesSkipped; // another horse's line has no place in this file
            continue;
        }
        TRunRow& run = rows.runs.emplace_back();
        run.race = LineField(line, RaceKey::kRaceKey);
        run.horseNum = se->Int(SE::kHorseNumber);
        run.frame = se->Int(SE::kFrameNumber);
        run.horseName = ShownView(LineField(line, SE::kHorseName), rows.owned);
        run.jockey = CodeView(LineField(line, SE::kJockeyCode));
        run.jockeyName = ShownView(LineField(line, SE::kJockeyShortName), rows.owned);
        run.trainer = CodeView(LineField(line, SE::kTrainerCode));
        run.trainerName = ShownView(LineField(line, SE::kTrainerShortName), rows.owned);
        run.finish = se->Int(SE::kFinishPosition);
        run.abnormality = LineField(line, SE::kAbnormalityCode);
        run.popularity = se->Int(SE::kWinPopularity);
        run.odds = se->Int(SE::kWinOdds);
        run.time = LineField(line, SE::kRaceTime);
    }
}

// The horse's row: the name of its latest run, the last line of its file (kept in race order).
void ParseHorseName(std::string_view horse, const std::vector<std::string_view>& lines,
                    TParsedRows& rows) {
    using namespace jvdata;
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        const auto se = TRecordSE::FromLine(*line);
        if (se && !se->IsBlank() && se->Field(SE::kRegistrationNumber) == horse) {
            const std::string name = KeibaFunc::ShownName(se->Field(SE::kHorseName));
            rows.horse = TNamed{name, NameKey(name)};
            return;
        }
    }
}

void ParseMaster(std::string_view horse, const std::vector<std::string_view>& lines,
                 TParsedRows& rows) {
    using namespace jvdata;
    if (lines.empty()) {
        return;
    }
    const auto um = TRecordUM::FromLine(lines.front());
    if (!um || um->Field(UM::kRegistrationNumber) != horse) {
        ++rows.linesSkipped;
        return;
    }
    TMasterRow& master = rows.master.emplace();
    master.name = KeibaFunc::ShownName(um->Field(UM::kHorseName));
    master.key = NameKey(master.name);
    master.kanaKey = NameKey(Sjis::TrimBlanks(um->Field(UM::kKanaName)));
    master.sire = CodeView(um->Field(UM::PedigreeNumber(UM::kSire)));
    master.sireName = KeibaFunc::ShownName(um->Field(UM::PedigreeName(UM::kSire)));
}

// The rows of lines of a store file (the file's whole lines, or those a write changed); for a
// history file, allLines are the whole file's, of which the last run names the horse.
TParsedRows ParseLines(const TStoreFile& file, const std::vector<std::string_view>& lines,
                       const std::vector<std::string_view>& allLines) {
    TParsedRows rows;
    switch (file.kind) {
    case TStoreFileKind::Results:
        ParseRaces(lines, rows);
        break;
    case TStoreFileKind::RaceDayPayoffs:
        ParsePayoffs(lines, rows);
        break;
    case TStoreFileKind::HorseHistory:
        ParseRuns(StemOf(file), lines, rows);
        ParseHorseName(StemOf(file), allLines, rows);
        break;
    case TStoreFileKind::HorseMaster:
        ParseMaster(StemOf(file), lines, rows);
        break;
    default:
        break;
    }
    return rows;
}

// A store file as a reading thread read and parsed it.
struct TParsedFile {
    std::string bytes; // a history file's bytes, which its runs' texts are views into
    files::FileReadStatus status = files::FileReadStatus::Missing;
    std::error_code error;          // the system's reason when Failed
    files::TFileStamp stamp{-1, 0}; // size and time when Read
    TParsedRows rows;
};

TParsedFile ReadAndParse(const fs::path& root, const TStoreFile& file) {
    files::FileReadResult read =
        files::ReadWholeFile(store::StorePath(root, file), store::kStoreFileReadBound);
    TParsedFile parsed;
    parsed.status = read.status;
    parsed.error = read.error;
    // A file that could not be read keeps no size, so that the next check reads it again.
    parsed.stamp = {read.status == files::FileReadStatus::Read
                        ? static_cast<std::int64_t>(read.bytes.size())
                        : -1,
                    read.modified};
    if (read.status == files::FileReadStatus::Read) {
        const std::vector<std::string_view> lines = LineViews(read.bytes);
        parsed.rows = ParseLines(file, lines, lines);
        if (!parsed.rows.runs.empty()) {
            parsed.bytes = std::move(read.bytes); // a moved string keeps its buffer
        }
    }
    return parsed;
}

// Reads and parses store files in chunks on two threads of its own while the caller puts in
// what they gave, chunk by chunk in the files' order. The horses' histories come first, and
// their runs keep the files' bytes: the threads keep only a few of those chunks ahead of the
// caller (Unbound lets them read on to the end, while the caller is busy with something else).
// When they may not read further ahead there, they read the other kinds' chunks, whose parsed
// rows are a small part of the files' bytes, so that the caller never waits for those.
class TParseAhead {
public:
    static constexpr std::size_t kChunk = 64;

    TParseAhead(const fs::path& root, const std::vector<TFoundFile>& files)
        : root_(root), files_(files), chunks_((files.size() + kChunk - 1) / kChunk),
          done_(chunks_.size(), false), reader_(chunks_.size(), 0) {
        const auto histories = std::find_if(files.begin(), files.end(), [](const TFoundFile& f) {
            return f.file.kind != TStoreFileKind::HorseHistory;
        });
        historyChunks_ =
            (static_cast<std::size_t>(histories - files.begin()) + kChunk - 1) / kChunk;
        nextOther_ = historyChunks_;
        for (int t = 0; t < kThreads; ++t) {
            threads_.emplace_back([this, t] { Work(t); });
        }
    }
    ~TParseAhead() {
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
        for (std::thread& thread : threads_) {
            thread.join();
        }
    }
    TParseAhead(const TParseAhead&) = delete;
    TParseAhead& operator=(const TParseAhead&) = delete;

    std::size_t Chunks() const noexcept { return chunks_.size(); }
    // The files of chunk k (taken in order, once each), waiting until they are parsed.
    std::vector<TParsedFile> Take(std::size_t k) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return done_[k] || failure_; });
        if (failure_) {
            std::rethrow_exception(failure_);
        }
        taken_ = k + 1;
        changed_.notify_all();
        return std::move(chunks_[k]);
    }
    // Gives back chunk k once its files are put in, for the thread that read it to free: the
    // heap frees quickest in the thread that took the memory, without waiting on its lock.
    void GiveBack(std::size_t k, std::vector<TParsedFile> chunk) {
        {
            const std::lock_guard lock(mutex_);
            if (!stop_ && (next_ < historyChunks_ || nextOther_ < chunks_.size())) {
                garbage_[static_cast<std::size_t>(reader_[k])].push_back(std::move(chunk));
            }
        }
        changed_.notify_all();
    }
    void Unbound() {
        {
            const std::lock_guard lock(mutex_);
            ahead_ = chunks_.size();
        }
        changed_.notify_all();
    }

private:
    static constexpr int kThreads = 2;

    void Work(int thread) {
        std::vector<std::vector<TParsedFile>>& garbage = garbage_[static_cast<std::size_t>(thread)];
        for (;;) {
            std::size_t k = 0;
            std::vector<std::vector<TParsedFile>> given;
            {
                std::unique_lock lock(mutex_);
                const auto historyAllowed = [&] {
                    return next_ < historyChunks_ && next_ < taken_ + ahead_;
                };
                changed_.wait(lock, [&] {
                    return stop_ || historyAllowed() || nextOther_ < chunks_.size() ||
                           next_ >= historyChunks_ || !garbage.empty();
                });
                given.swap(garbage);
                if (!given.empty()) {
                    lock.unlock();
                    given.clear();
                    continue;
                }
                if (stop_) {
                    return;
                }
                if (historyAllowed()) {
                    k = next_++;
                } else if (nextOther_ < chunks_.size()) {
                    k = nextOther_++;
                } else if (next_ >= historyChunks_) {
                    return; // every chunk is taken up
                } else {
                    continue;
                }
                reader_[k] = thread;
            }
            std::vector<TParsedFile> parsed;
            try {
                const std::size_t end = std::min(files_.size(), (k + 1) * kChunk);
                for (std::size_t i = k * kChunk; i < end; ++i) {
                    parsed.push_back(ReadAndParse(root_, files_[i].file));
                }
            } catch (...) { // out of memory: the caller's transaction is rolled back
                const std::lock_guard lock(mutex_);
                failure_ = std::current_exception();
                stop_ = true;
                changed_.notify_all();
                return;
            }
            {
                const std::lock_guard lock(mutex_);
                chunks_[k] = std::move(parsed);
                done_[k] = true;
            }
            changed_.notify_all();
        }
    }

    const fs::path& root_;
    const std::vector<TFoundFile>& files_;
    std::vector<std::vector<TParsedFile>> chunks_;
    std::vector<bool> done_;
    std::vector<int> reader_;                                 // the thread that read each chunk
    std::vector<std::vector<TParsedFile>> garbage_[kThreads]; // chunks given back, per thread
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t historyChunks_ = 0; // the chunks with horses' histories, the first ones
    std::size_t next_ = 0;          // the next of those a thread takes up
    std::size_t nextOther_ = 0;     // the next of the others
    std::size_t taken_ = 0;         // chunks the caller has taken
    std::size_t ahead_ = 4;         // chunks read ahead of the caller
    bool stop_ = false;
    std::exception_ptr failure_;
    std::vector<std::thread> threads_;
};

// Up to eight bytes of a key text from `from` on as one number that sorts as the bytes do
// (SQLite's BINARY order: a text before a longer one it begins), so that a build sorts its
// runs by numbers. The keys are fixed fields of at most 16 bytes and hold no zero byte.
std::uint64_t KeyWord(std::string_view text, std::size_t from) {
    std::uint64_t word = 0;
    for (std::size_t i = from; i < from + 8; ++i) {
        word = (word << 8) | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
    }
    return word;
}

// The text of KeyWord numbers, without the zero bytes that pad it, into text (its room kept
// from row to row).
template <std::size_t N>
void KeyTextInto(const std::array<std::uint64_t, N>& words, std::string& text) {
    text.clear();
    for (const std::uint64_t word : words) {
        for (int shift = 56; shift >= 0; shift -= 8) {
            const char c = static_cast<char>((word >> shift) & 0xFF);
            if (c == 0) {
                return;
            }
            text += c;
        }
    }
}

// The jockey's, trainer's or sire's latest name as a people table keeps it: of the latest run
// or horse.
constexpr std::string_view kLatestJockey =
    "SELECT r.jockey_name FROM jockey_runs j JOIN runs r ON r.horse = j.horse AND r.race = j.race "
    "WHERE j.jockey = ?1 ORDER BY j.race DESC LIMIT 1";
constexpr std::string_view kLatestTrainer =
    "SELECT r.trainer_name FROM trainer_runs t JOIN runs r ON r.horse = t.horse AND "
    "r.race = t.race WHERE t.trainer = ?1 ORDER BY t.race DESC LIMIT 1";
constexpr std::string_view kLatestSire =
    "SELECT sire_name FROM masters WHERE sire = ?1 ORDER BY horse DESC LIMIT 1";

// Each code's row of a people table anew from its latest source row; removed when it has none
// left.
void PutPeople(sql::TDatabase& db, std::string_view table, std::string_view latest,
               const std::set<std::string>& codes) {
    sql::TStatement find(db, latest);
    sql::TStatement remove(db, "DELETE FROM " + std::string(table) + " WHERE code = ?1");
    sql::TStatement insert(db,
                           "INSERT OR REPLACE INTO " + std::string(table) + " VALUES(?1, ?2, ?3)");
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

// Rows of a list put in by one statement, each filled from its element by fill.
template <typename T, typename Fill>
class TListFeed final : public sql::IRowFeed {
public:
    TListFeed(const std::vector<T>& rows, Fill fill) : rows_(rows), fill_(std::move(fill)) {}
    bool Next(sql::TFeedRow& row) override {
        if (next_ == rows_.size()) {
            return false;
        }
        fill_(rows_[next_++], row);
        return true;
    }

private:
    const std::vector<T>& rows_;
    Fill fill_;
    std::size_t next_ = 0;
};

// The first build of an index: the store's files read and parsed on two threads of their own
// (TParseAhead) while this thread puts each table's rows in by one statement fed as the files
// come, then the tables by race and person from the runs sorted in memory, and the indexes
// last, once their tables are whole.
class TBuild {
public:
    TBuild(sql::TDatabase& db, const fs::path& root, const std::vector<TFoundFile>& found,
           TIndexReport& report)
        : db_(db), root_(root), found_(found), report_(report), reading_(root, found) {}

    void Run() {
        built_.reserve(kRunsPerHistoryFile *
                       static_cast<std::size_t>(
                           std::count_if(found_.begin(), found_.end(), [](const TFoundFile& found) {
                               return found.file.kind == TStoreFileKind::HorseHistory;
                           })));
        // ListStore gives the files kind by kind, the horses' histories first.
        Put(TStoreFileKind::HorseHistory, "INSERT OR REPLACE INTO runs", 14);
        // Every run is in: the reading goes on while the tables by race and person are filled.
        reading_.Unbound();
        FillRunTables();
        Put(TStoreFileKind::Results, "INSERT OR REPLACE INTO races", 9);
        Put(TStoreFileKind::RaceDayPayoffs, "INSERT OR REPLACE INTO payoffs", 6);
        Put(TStoreFileKind::HorseMaster, "INSERT OR REPLACE INTO masters", 7);
        std::string path;
        TListFeed fileRows(files_, [this, &path](const TFileRow& file, sql::TFeedRow& row) {
            const TStoreFile& found = found_[file.found].file;
            path.assign(found.folder).append(1, '\\').append(found.name);
            row.Add(file.id).AddBytes(path).Add(file.kind).Add(file.stamp.size);
            row.Add(file.stamp.modified);
        });
        sql::InsertFed(db_, "INSERT INTO files(id, path, kind, size, mtime)", 5, fileRows);
        TListFeed horseRows(horses_, [](const THorseRow& horse, sql::TFeedRow& row) {
            row.Add(horse.code).Add(horse.file).AddBytes(horse.named.name).Add(horse.named.key);
        });
        sql::InsertFed(db_, "INSERT OR REPLACE INTO horses", 4, horseRows);
        db_.Exec(kIndexes);
        db_.Exec(kTriggers);
        std::set<std::string> sires;
        sql::TStatement select(db_, "SELECT DISTINCT sire FROM masters WHERE sire <> ''");
        while (select.Step()) {
            sires.insert(select.Text(0));
        }
        PutPeople(db_, "jockeys", kLatestJockey, jockeys_);
        PutPeople(db_, "trainers", kLatestTrainer, trainers_);
        PutPeople(db_, "sires", kLatestSire, sires);
    }

private:
    struct TFileRow {
        std::int64_t id = 0;
        std::size_t found = 0; // the file's place in found_
        int kind = 0;
        files::TFileStamp stamp{-1, 0};
    };
    struct THorseRow {
        std::string code;
        std::int64_t file = 0;
        TNamed named;
    };
    // A run as the tables by race, jockey and trainer keep it, its keys as KeyWord numbers;
    // line is its place among the build's runs. The numbers are of one or two digits, so that
    // an entry takes 64 bytes: half a million of them are sorted three times.
    struct TRunEntry {
        std::array<std::uint64_t, 2> race{};
        std::array<std::uint64_t, 2> horse{};
        std::array<std::uint64_t, 1> jockey{};
        std::array<std::uint64_t, 1> trainer{};
        std::uint32_t line = 0;
        std::int16_t horseNum = 0;
        std::int16_t finish = 0;
        std::int16_t frame = 0;
        char abnormality = ' ';
    };
    static_assert(sizeof(TRunEntry) <= 64);
    // Room for the runs of the horses' files before they are read: enough for most stores, so
    // that the list is not moved as it grows (pages not reached are never touched).
    static constexpr std::size_t kRunsPerHistoryFile = 16;
    using TPersonKey = std::array<std::uint64_t, 1> TRunEntry::*;

    // The rows of the files of one kind, file after file as the reading threads give them.
    class TKindFeed final : public sql::IRowFeed {
    public:
        TKindFeed(TBuild& build, TStoreFileKind kind) : build_(build), kind_(kind) {}
        bool Next(sql::TFeedRow& row) override {
            while (rows_ == nullptr || next_ >= RowCount(*rows_)) {
                rows_ = build_.NextFile(kind_);
                next_ = 0;
                if (rows_ == nullptr) {
                    return false;
                }
            }
            build_.FillRow(kind_, *rows_, next_++, row);
            return true;
        }

    private:
        std::size_t RowCount(const TParsedRows& rows) const {
            switch (kind_) {
            case TStoreFileKind::HorseHistory:
                return rows.runs.size();
            case TStoreFileKind::Results:
                return rows.races.size();
            case TStoreFileKind::RaceDayPayoffs:
                return rows.payoffs.size();
            case TStoreFileKind::HorseMaster:
                return rows.master ? 1 : 0;
            default:
                return 0;
            }
        }

        TBuild& build_;
        const TStoreFileKind kind_;
        const TParsedRows* rows_ = nullptr;
        std::size_t next_ = 0;
    };

    void Put(TStoreFileKind kind, std::string_view head, int columns) {
        TKindFeed feed(*this, kind);
        sql::InsertFed(db_, head, columns, feed);
    }

    // The next read file of kind, its row of the files table noted; nullptr after the kind's
    // last. A file gone since it was listed is passed over; one that could not be read keeps
    // its row (no size: the next check reads it again) and is reported.
    const TParsedRows* NextFile(TStoreFileKind kind) {
        while (next_ < found_.size() && found_[next_].file.kind == kind) {
            const std::size_t i = next_++;
            if (i % TParseAhead::kChunk == 0) {
                if (i > 0) {
                    reading_.GiveBack(i / TParseAhead::kChunk - 1, std::move(chunk_));
                }
                chunk_ = reading_.Take(i / TParseAhead::kChunk);
            }
            TParsedFile& parsed = chunk_.at(i % TParseAhead::kChunk);
            const TStoreFile& file = found_[i].file;
            if (parsed.status == files::FileReadStatus::Missing) {
                continue;
            }
            id_ = static_cast<std::int64_t>(files_.size()) + 1;
            files_.push_back({id_, i, static_cast<int>(file.kind), parsed.stamp});
            if (parsed.status != files::FileReadStatus::Read) {
                report_.problems.push_back(
                    store::ReadFailure(store::StorePath(root_, file), parsed.error).message);
                continue;
            }
            ++report_.filesRead;
            report_.linesSkipped += parsed.rows.linesSkipped;
            stem_.assign(StemOf(file));
            if (parsed.rows.horse) {
                horses_.push_back({stem_, id_, std::move(*parsed.rows.horse)});
            }
            return &parsed.rows;
        }
        return nullptr;
    }

    // Row r of the file NextFile gave last.
    void FillRow(TStoreFileKind kind, const TParsedRows& rows, std::size_t r, sql::TFeedRow& row) {
        switch (kind) {
        case TStoreFileKind::HorseHistory: {
            const TRunRow& run = rows.runs[r];
            row.Add(stem_).Add(run.race).Add(run.horseNum).Add(run.frame);
            row.AddBytes(run.horseName).Add(run.jockey).AddBytes(run.jockeyName);
            row.Add(run.trainer).AddBytes(run.trainerName).Add(run.finish);
            row.Add(run.abnormality).Add(run.popularity).Add(run.odds).Add(run.time);
            TRunEntry& entry = built_.emplace_back();
            entry.race = {KeyWord(run.race, 0), KeyWord(run.race, 8)};
            entry.horse = {KeyWord(stem_, 0), KeyWord(stem_, 8)};
            entry.jockey = {KeyWord(run.jockey, 0)};
            entry.trainer = {KeyWord(run.trainer, 0)};
            entry.line = static_cast<std::uint32_t>(built_.size() - 1);
            entry.horseNum = static_cast<std::int16_t>(run.horseNum);
            entry.finish = static_cast<std::int16_t>(run.finish);
            entry.frame = static_cast<std::int16_t>(run.frame);
            entry.abnormality = run.abnormality.empty() ? ' ' : run.abnormality.front();
            break;
        }
        case TStoreFileKind::Results: {
            const TRaceRow& race = rows.races[r];
            row.Add(race.race).Add(id_).Add(race.course).AddBytes(race.name).Add(race.distance);
            row.Add(race.track).Add(race.turf).Add(race.dirt).Add(race.starters);
            break;
        }
        case TStoreFileKind::RaceDayPayoffs: {
            const TPayoffRow& payoff = rows.payoffs[r];
            row.Add(payoff.race).Add(payoff.kind).Add(payoff.horse).Add(payoff.payout);
            row.Add(payoff.popularity).Add(id_);
            break;
        }
        case TStoreFileKind::HorseMaster: {
            const TMasterRow& master = *rows.master;
            row.Add(stem_).Add(id_).AddBytes(master.name).Add(master.key);
            row.Add(master.kanaKey).Add(master.sire).AddBytes(master.sireName);
            break;
        }
        default:
            break;
        }
    }

    // Fills race_runs, jockey_runs and trainer_runs from the runs, each in its key order so
    // that every row is put at the end of its table. A run given twice (two lines of one race
    // in a horse's file) is kept as runs keeps it: the later line.
    void FillRunTables() {
        // In race order the lines of one run are side by side, the later last.
        std::sort(built_.begin(), built_.end(), [](const TRunEntry& a, const TRunEntry& b) {
            return std::tie(a.race, a.horse, a.line) < std::tie(b.race, b.horse, b.line);
        });
        const auto kept =
            std::unique(built_.rbegin(), built_.rend(), [](const TRunEntry& a, const TRunEntry& b) {
                return a.race == b.race && a.horse == b.horse;
            });
        built_.erase(built_.begin(), kept.base());
        PutRuns("race_runs", nullptr, nullptr, nullptr);
        const std::vector<std::uint32_t> byJockey = OrderBy(built_, &TRunEntry::jockey);
        PutRuns("jockey_runs", &byJockey, &TRunEntry::jockey, &jockeys_);
        const std::vector<std::uint32_t> byTrainer = OrderBy(built_, &TRunEntry::trainer);
        PutRuns("trainer_runs", &byTrainer, &TRunEntry::trainer, &trainers_);
        std::vector<TRunEntry>().swap(built_);
    }

    // The places of runs (in race order) in the order of the person's key, each person's runs
    // left in race order: a counting sort, as the persons are a few hundred and the runs half a
    // million.
    static std::vector<std::uint32_t> OrderBy(const std::vector<TRunEntry>& runs,
                                              TPersonKey person) {
        std::unordered_map<std::uint64_t, std::uint32_t> bucketOf;
        std::vector<std::uint64_t> keys; // of each bucket, as first met
        std::vector<std::uint32_t> bucket(runs.size());
        for (std::size_t i = 0; i < runs.size(); ++i) {
            const std::uint64_t key = (runs[i].*person)[0];
            const auto [at, added] =
                bucketOf.try_emplace(key, static_cast<std::uint32_t>(keys.size()));
            if (added) {
                keys.push_back(key);
            }
            bucket[i] = at->second;
        }
        std::vector<std::uint32_t> sorted(keys.size());
        std::iota(sorted.begin(), sorted.end(), 0u);
        std::sort(sorted.begin(), sorted.end(),
                  [&keys](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });
        std::vector<std::size_t> next(keys.size(), 0); // each bucket's next place
        for (const std::uint32_t b : bucket) {
            ++next[b];
        }
        std::size_t place = 0;
        for (const std::uint32_t b : sorted) {
            place += std::exchange(next[b], place);
        }
        std::vector<std::uint32_t> order(runs.size());
        for (std::size_t i = 0; i < runs.size(); ++i) {
            order[next[bucket[i]]++] = static_cast<std::uint32_t>(i);
        }
        return order;
    }

    // The runs as the rows of the table by race (in race order), or of the table by the person
    // key names (in the order given; no run without one), noting each person in codes.
    class TRunEntryFeed final : public sql::IRowFeed {
    public:
        TRunEntryFeed(const std::vector<TRunEntry>& runs, const std::vector<std::uint32_t>* order,
                      TPersonKey person, std::set<std::string>* codes)
            : runs_(runs), order_(order), person_(person), codes_(codes) {}
        bool Next(sql::TFeedRow& row) override {
            while (next_ < runs_.size()) {
                const std::size_t at = next_++;
                const TRunEntry& run = runs_[order_ != nullptr ? (*order_)[at] : at];
                if (person_ != nullptr) {
                    KeyTextInto(run.*person_, code_);
                    if (code_.empty()) {
                        continue;
                    }
                    if (codes_->empty() || *codes_->rbegin() != code_) {
                        codes_->insert(codes_->end(), code_);
                    }
                    row.Add(code_);
                }
                KeyTextInto(run.race, race_);
                KeyTextInto(run.horse, horse_);
                row.Add(race_).Add(horse_).Add(run.horseNum).Add(run.finish);
                row.Add(std::string_view(&run.abnormality, 1)).Add(run.frame);
                return true;
            }
            return false;
        }

    private:
        const std::vector<TRunEntry>& runs_;
        const std::vector<std::uint32_t>* const order_;
        const TPersonKey person_;
        std::set<std::string>* const codes_;
        std::size_t next_ = 0;
        std::string code_, race_, horse_; // the current row's keys
    };

    // Puts the runs, in the order of the table's key, into the table by race (no person) or by
    // the person key names.
    void PutRuns(std::string_view table, const std::vector<std::uint32_t>* order, TPersonKey person,
                 std::set<std::string>* codes) {
        TRunEntryFeed feed(built_, order, person, codes);
        sql::InsertFed(db_, "INSERT OR REPLACE INTO " + std::string(table),
                       person != nullptr ? 7 : 6, feed);
    }

    sql::TDatabase& db_;
    const fs::path& root_;
    const std::vector<TFoundFile>& found_;
    TIndexReport& report_;
    TParseAhead reading_;
    std::size_t next_ = 0;           // the next of found_ to take
    std::vector<TParsedFile> chunk_; // the reading's chunk of the file taken last
    std::int64_t id_ = 0;            // the files row of the file taken last
    std::string stem_;               // its name less the extension: a horse's number
    std::vector<TFileRow> files_;    // the files table's rows, put in once all are read
    std::vector<THorseRow> horses_;  // the horses table's rows, likewise
    std::vector<TRunEntry> built_;   // the runs, for the tables by race and person
    std::set<std::string> jockeys_;
    std::set<std::string> trainers_;
};

} // namespace

// The statements of one transaction that bring what changed in store files into the index.
class TStoreIndex::TWriter {
public:
    TWriter(sql::TDatabase& db, const fs::path& root)
        : db_(db), root_(root),
          fileRow_(db, "INSERT INTO files(path, kind, size, mtime) VALUES(?1, ?2, ?3, ?4) "
                       "ON CONFLICT(path) DO UPDATE SET kind = excluded.kind, "
                       "size = excluded.size, mtime = excluded.mtime RETURNING id"),
          race_(db, "INSERT OR REPLACE INTO races", 9, 1),
          run_(db, "INSERT OR REPLACE INTO runs", 14, 1),
          runRemove_(db, "DELETE FROM runs WHERE horse = ?1 AND race = ?2"),
          // A horse's row is written only when its name changed: a week's update of thousands
          // of horses then leaves their pages alone.
          horse_(db, "INSERT INTO horses", 4, 1,
                 " ON CONFLICT(code) DO UPDATE SET file = excluded.file, name = "
                 "excluded.name, key = excluded.key WHERE file IS NOT excluded.file "
                 "OR name IS NOT excluded.name OR key IS NOT excluded.key"),
          master_(db, "INSERT OR REPLACE INTO masters", 7, 1),
          payoff_(db, "INSERT OR REPLACE INTO payoffs", 6, 1),
          racePayoffs_(db, "DELETE FROM payoffs WHERE race = ?1 AND file = ?2") {}

    // Brings one store file, as read and parsed, into the index in place of what it gave
    // before.
    void File(const TStoreFile& file, const TParsedFile& parsed, TIndexReport& report) {
        if (parsed.status == files::FileReadStatus::Missing) {
            Forget(file);
            return;
        }
        const std::int64_t id = FileId(file, parsed.stamp);
        RemoveRows(file, id);
        if (parsed.status != files::FileReadStatus::Read) {
            report.problems.push_back(
                store::ReadFailure(store::StorePath(root_, file), parsed.error).message);
            return;
        }
        ++report.filesRead;
        Insert(file, id, parsed.rows, report);
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
        case TStoreFileKind::HorseMaster: {
            const TParsedRows rows = ParseLines(file, changed, changed);
            report.linesSkipped += rows.linesSkipped;
            PutMaster(file, id, rows.master);
            return;
        }
        default:
            break;
        }
        Insert(file, id, ParseLines(file, changed, LineViews(written.after)), report);
    }

private:
    // Puts a file's parsed rows in: the races, payoffs, runs and horse, or the master.
    void Insert(const TStoreFile& file, std::int64_t id, const TParsedRows& rows,
                TIndexReport& report) {
        report.linesSkipped += rows.linesSkipped;
        for (const TRaceRow& race : rows.races) {
            race_.Add(race.race).Add(id).Add(race.course).AddBytes(race.name).Add(race.distance);
            race_.Add(race.track).Add(race.turf).Add(race.dirt).Add(race.starters).EndRow();
        }
        for (const TPayoffRow& payoff : rows.payoffs) {
            payoff_.Add(payoff.race).Add(payoff.kind).Add(payoff.horse).Add(payoff.payout);
            payoff_.Add(payoff.popularity).Add(id).EndRow();
        }
        const std::string horse(file.kind == TStoreFileKind::Results ||
                                        file.kind == TStoreFileKind::RaceDayPayoffs
                                    ? std::string_view()
                                    : StemOf(file));
        for (const TRunRow& run : rows.runs) {
            Run(horse, run);
        }
        if (rows.horse) {
            horse_.Add(horse).Add(id).AddBytes(rows.horse->name).Add(rows.horse->key).EndRow();
        }
        if (const std::optional<TMasterRow>& master = rows.master) {
            master_.Add(horse).Add(id).AddBytes(master->name).Add(master->key);
            master_.Add(master->kanaKey).Add(master->sire).AddBytes(master->sireName).EndRow();
            Note(sires_, master->sire);
        }
    }

    // A horse's master row, written only when what the index keeps of it changed: a week's
    // masters mostly change in fields it does not keep (prize money, the latest runs), and
    // their pages are then left alone. A master that no longer reads goes.
    void PutMaster(const TStoreFile& file, std::int64_t id,
                   const std::optional<TMasterRow>& master) {
        const std::string horse(StemOf(file));
        sql::TStatement& old = Prepared(
            "SELECT file, name, key, kana_key, sire, sire_name FROM masters WHERE horse = ?1");
        old.Bind(1, horse);
        if (old.Step()) {
            const bool same = master && old.Int(0) == id && old.Text(1) == master->name &&
                              old.Text(2) == master->key && old.Text(3) == master->kanaKey &&
                              old.Text(4) == master->sire && old.Text(5) == master->sireName;
            Note(sires_, same ? std::string() : old.Text(4));
            old.Reset();
            if (same) {
                return;
            }
        }
        if (!master) {
            Prepared("DELETE FROM masters WHERE horse = ?1").Bind(1, horse).Run();
            return;
        }
        master_.Add(horse).Add(id).AddBytes(master->name).Add(master->key);
        master_.Add(master->kanaKey).Add(master->sire).AddBytes(master->sireName).EndRow();
        Note(sires_, master->sire);
    }

    void Run(const std::string& horse, const TRunRow& run) {
        const auto addRun = [&] {
            run_.Add(horse).Add(run.race).Add(run.horseNum).Add(run.frame);
            run_.AddBytes(run.horseName).Add(run.jockey).AddBytes(run.jockeyName);
            run_.Add(run.trainer).AddBytes(run.trainerName).Add(run.finish);
            run_.Add(run.abnormality).Add(run.popularity).Add(run.odds).Add(run.time).EndRow();
        };
        // Deleted first, so that the triggers take the run out of the tables by race, jockey
        // and trainer before the new one goes in.
        runRemove_.Bind(1, horse).Bind(2, run.race).Run();
        addRun();
        Note(jockeys_, run.jockey);
        Note(trainers_, run.trainer);
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
    // from their latest run or horse.
    void FinishPeople() {
        for (sql::TBatchInsert* batch : {&race_, &run_, &horse_, &master_, &payoff_}) {
            batch->Finish();
        }
        PutPeople(db_, "jockeys", kLatestJockey, jockeys_);
        PutPeople(db_, "trainers", kLatestTrainer, trainers_);
        PutPeople(db_, "sires", kLatestSire, sires_);
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

    // A statement of this writer's, prepared on its first use and kept for the next file:
    // a week's update removes the rows of thousands of files.
    sql::TStatement& Prepared(std::string_view sql) {
        std::unique_ptr<sql::TStatement>& statement = prepared_[sql];
        if (!statement) {
            statement = std::make_unique<sql::TStatement>(db_, sql);
        }
        statement->Reset();
        return *statement;
    }

    void RemoveRows(const TStoreFile& file, std::int64_t id) {
        switch (file.kind) {
        case TStoreFileKind::Results:
            Prepared("DELETE FROM races WHERE file = ?1").Bind(1, id).Run();
            break;
        case TStoreFileKind::RaceDayPayoffs:
            Prepared("DELETE FROM payoffs WHERE file = ?1").Bind(1, id).Run();
            break;
        case TStoreFileKind::HorseHistory: {
            const std::string horse(StemOf(file));
            sql::TStatement& people =
                Prepared("SELECT DISTINCT jockey, trainer FROM runs WHERE horse = ?1");
            people.Bind(1, horse);
            while (people.Step()) {
                Note(jockeys_, people.Text(0));
                Note(trainers_, people.Text(1));
            }
            Prepared("DELETE FROM runs WHERE horse = ?1").Bind(1, horse).Run();
            Prepared("DELETE FROM horses WHERE code = ?1").Bind(1, horse).Run();
            break;
        }
        case TStoreFileKind::HorseMaster: {
            const std::string horse(StemOf(file));
            sql::TStatement& sire = Prepared("SELECT sire FROM masters WHERE horse = ?1");
            sire.Bind(1, horse);
            while (sire.Step()) {
                Note(sires_, sire.Text(0));
            }
            Prepared("DELETE FROM masters WHERE horse = ?1").Bind(1, horse).Run();
            break;
        }
        default:
            break;
        }
    }

    void NotePeopleOf(std::string_view line) {
        if (const auto se = TRecordSE::FromLine(line)) {
            Note(jockeys_, CodeView(se->Field(jvdata::SE::kJockeyCode)));
            Note(trainers_, CodeView(se->Field(jvdata::SE::kTrainerCode)));
        }
    }

    static void Note(std::set<std::string>& codes, std::string_view code) {
        if (!code.empty()) {
            codes.emplace(code);
        }
    }

    sql::TDatabase& db_;
    const fs::path& root_;
    sql::TStatement fileRow_;
    sql::TBatchInsert race_;
    sql::TBatchInsert run_;
    sql::TStatement runRemove_;
    sql::TBatchInsert horse_;
    sql::TBatchInsert master_;
    sql::TBatchInsert payoff_;
    sql::TStatement racePayoffs_;
    std::set<std::string> jockeys_;
    std::set<std::string> trainers_;
    std::set<std::string> sires_;
    std::map<std::string_view, std::unique_ptr<sql::TStatement>> prepared_;
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
    TBuild(db_, dataRoot_, found, report).Run();
    db_.Exec("PRAGMA application_id = " + std::to_string(kApplicationId));
    db_.Exec("PRAGMA user_version = " + std::to_string(kIndexSchemaVersion));
    transaction.Commit();
    return report;
}

TIndexReport TStoreIndex::Apply(const std::vector<store::TWrittenFile>& written) {
    TIndexReport report;
    sql::TTransaction transaction(db_);
    TWriter writer(db_, dataRoot_);
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
    TWriter writer(db_, dataRoot_);
    TParseAhead reading(dataRoot_, changed);
    std::size_t index = 0;
    for (std::size_t k = 0; k < reading.Chunks(); ++k) {
        for (const TParsedFile& parsed : reading.Take(k)) {
            writer.File(changed[index++].file, parsed, report);
        }
    }
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
        db.QueryInt("SELECT count(*) FROM (SELECT 1 FROM files LIMIT 1)"); // its tables are there
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
        sql::TDatabase db(temporary, sql::TOpenMode::Build);
        // Nothing of a half-made file is ever used: it needs no journal and no syncs. Pages of
        // 4 KiB: an acquisition's update changes rows scattered over the tables, and each page
        // it changes goes whole into the log. A small cache: the build appends to each table,
        // and pages written out are reused rather than ever more memory taken.
        db.Exec("PRAGMA page_size = 4096; PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; "
                "PRAGMA cache_size = -16384; PRAGMA temp_store = MEMORY");
        TStoreIndex building(dataRoot, std::move(db), false, false);
        report = building.BuildAll();
        // Write-ahead: an acquisition's update is appended and synced once, and a reader in the
        // window never waits for it.
        building.Database().Exec("PRAGMA journal_mode = WAL");
        building.Database().WriteOut();
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
                if (!readOnly) {
                    // What acquisitions left in the write-ahead log goes into the file now, as
                    // far as no other connection is reading it.
                    db.Exec("PRAGMA wal_checkpoint(PASSIVE)");
                }
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

race::TDayRunnersHint IndexedDayRunners(fs::path dataRoot) {
    return [root = std::move(dataRoot)](std::string_view dateAndCourse) {
        std::vector<std::string> horses;
        const fs::path path = StoreIndexPath(root);
        std::error_code error;
        if (!fs::exists(path, error)) {
            return horses;
        }
        try {
            sql::TDatabase db(path, sql::TOpenMode::ReadOnly);
            db.BusyTimeout(kFollowerBusyMs);
            std::string detail;
            if (Judge(db, false, detail) != TVerdict::Sound) {
                return horses;
            }
            // Race keys begin with the date and racecourse code: one range of race_runs.
            sql::TStatement select(db, "SELECT DISTINCT horse FROM race_runs WHERE race >= ?1 "
                                       "AND race < ?2 ORDER BY horse");
            select.Bind(1, dateAndCourse).Bind(2, std::string(dateAndCourse) + "~");
            while (select.Step()) {
                horses.push_back(select.Text(0));
            }
        } catch (const sql::TSqlError&) {
            horses.clear(); // the crops are looked through instead
        }
        return horses;
    };
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
        // The update is appended to the write-ahead log and synced there; copying the log into
        // the index file (a checkpoint) is left to the index's next opening, and to the
        // acquisition only once the log has grown long.
        db.Exec("PRAGMA wal_autocheckpoint = " + std::to_string(kFollowerLogPages));
        db.Check(sqlite3_db_config(db.Handle(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr),
                 "no checkpoint on close");
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
