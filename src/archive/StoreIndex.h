// The index of the store: a SQLite database ("index.sqlite3" in the data root) of every final
// race, run, horse, jockey, trainer and sire and of the win and place payoffs, made from the
// store's plain files so that a search or a statistic over years of data answers at once.
//
// The store stays the source of truth. The index is made from these files:
//   SEIR\yyyy\*.jvSERA  final RA records            -> races
//   SEI\nnnn\*.jvSEI    a horse's final SE records  -> runs, horses, jockeys, trainers
//   UM2\nnnn\*.jvUM2    horse masters               -> masters (kana name, sire), sires
//   DATA\*.jvHR         payoffs                     -> payoffs (win and place)
// and keeps of each file its size and time, so that files changed behind its back are found
// again (Refresh). It is never trusted further than it can be checked: an index of another
// schema version (PRAGMA user_version) or application, one SQLite finds damaged (an error, or
// PRAGMA quick_check), or a missing one is built anew from the store, into a temporary file
// that replaces the old one only when whole. On a disk where it cannot be written the index is
// used read-only when it is sound, or else built in memory for the run; either way the user is
// told, and nothing in the store is ever written by it. A store file that cannot be read
// leaves its records out, with a message naming the file.
//
// An acquisition keeps it up in the same run (TIndexFollower): once the read loop's files are
// on disk, the files it wrote are read again into the index in one transaction. The index
// never holds an acquisition up beyond that: when it is locked by another program or cannot be
// written, the follower leaves a mark beside it and the next opening brings it up to date.
#pragma once

#include "archive/Sqlite.h"
#include "race/DayLoad.h"
#include "store/StoreLayout.h"
#include "store/StoreWriter.h"

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace archive {

// The schema this program writes; an index of any other is made anew.
inline constexpr int kIndexSchemaVersion = 2;

// Rows of each table.
struct TIndexCounts {
    std::int64_t files = 0;
    std::int64_t races = 0;
    std::int64_t runs = 0;
    std::int64_t horses = 0;
    std::int64_t jockeys = 0;
    std::int64_t trainers = 0;
    std::int64_t sires = 0;
    std::int64_t payoffs = 0;
};

// What reading store files into the index did.
struct TIndexReport {
    std::size_t filesRead = 0;         // store files read into the index
    std::size_t filesRemoved = 0;      // files gone from the store, their rows removed
    std::size_t linesSkipped = 0;      // lines of a wrong length or of another horse
    std::vector<std::string> problems; // CP932: each store file that could not be read
};

class TStoreIndex {
public:
    TStoreIndex(std::filesystem::path dataRoot, sql::TDatabase db, bool readOnly, bool inMemory);
    ~TStoreIndex();
    TStoreIndex(const TStoreIndex&) = delete;
    TStoreIndex& operator=(const TStoreIndex&) = delete;

    const std::filesystem::path& DataRoot() const noexcept { return dataRoot_; }
    bool ReadOnly() const noexcept { return readOnly_; }
    bool InMemory() const noexcept { return inMemory_; }
    sql::TDatabase& Database() const noexcept { return db_; }

    TIndexCounts Counts() const;

    // Brings what an acquisition's write changed in store files into the index, in one
    // transaction: only their changed and added lines are read. Files of kinds the index does
    // not hold are passed over. Throws sql::TSqlError when the database fails (the transaction
    // is then rolled back).
    TIndexReport Apply(const std::vector<store::TWrittenFile>& files);
    // Compares the size and time the index keeps of every store file with the store, and reads
    // again the files that changed or appeared, removing the rows of files that went.
    TIndexReport Refresh();
    // Reads every store file into the empty index (its first build).
    TIndexReport BuildAll();

private:
    class TWriter;

    std::filesystem::path dataRoot_;
    mutable sql::TDatabase db_;
    bool readOnly_;
    bool inMemory_;
};

// The index file of the store under dataRoot, and the mark that it fell behind.
std::filesystem::path StoreIndexPath(const std::filesystem::path& dataRoot);
std::filesystem::path StaleMarkPath(const std::filesystem::path& dataRoot);

// How the index was found when opened.
enum class TIndexState {
    Opened,   // sound and up to date
    Updated,  // sound; files changed since were read again
    Built,    // there was none: made from the store
    Rebuilt,  // of another version or damaged, or asked for: made anew from the store
    ReadOnly, // sound, but on a disk where it cannot be written: used as it is
    InMemory, // could not be written: made in memory for this run
};

struct TIndexOpenResult {
    std::unique_ptr<TStoreIndex> index; // always there unless the store cannot be read at all
    TIndexState state = TIndexState::Opened;
    std::string message; // CP932: what was done and why, for the user; empty for Opened
    TIndexReport report; // what building or updating read
};

// Opens the store's index for the search and statistics: checks it, builds it when missing,
// makes it anew when it cannot be trusted, reads again what changed when it fell behind.
TIndexOpenResult OpenStoreIndex(const std::filesystem::path& dataRoot);
// Makes the index anew from the store whatever the one there is (tomberly-cli index --rebuild).
TIndexOpenResult RebuildStoreIndex(const std::filesystem::path& dataRoot);

// The horses that ran on a day as the store's index lists them, for the load of a day shown
// from results: it reads their history files instead of looking through every crop's. The
// index is opened read-only for each question and only when it is this program's of this
// version; one that is missing, damaged, locked or of another version gives no horses, and the
// load then looks through the crops as it would without it.
race::TDayRunnersHint IndexedDayRunners(std::filesystem::path dataRoot);

// Keeps the index of a store up to date in an acquisition: given as the read loop's follower,
// it brings what each write of the store changed into the index when there is a sound one (a
// store without an index gets it made when it is first opened). On any failure it leaves the
// stale mark and says so in a note; it never fails the acquisition.
class TIndexFollower final : public store::IStoreFollower {
public:
    explicit TIndexFollower(std::filesystem::path dataRoot) : dataRoot_(std::move(dataRoot)) {}
    ~TIndexFollower() override;
    std::string FilesWritten(const std::vector<store::TWrittenFile>& files) override;
    // What the calls so far brought into the index.
    const TIndexReport& Report() const noexcept { return report_; }

private:
    std::filesystem::path dataRoot_;
    bool broken_ = false; // could not be kept up: marked stale
    TIndexReport report_;
};

} // namespace archive
