// Writers of the store: they take the routed lines of the read loop and bring them into the
// files.
//
// Every file is replaced whole and atomically (a temporary file in the same folder renamed over
// the old one), so a crash or a full disk never leaves a cut or mixed file, and a missing
// folder is created on the way. Two writers give the same bytes:
//   TRecordByRecordWriter  loads, updates and saves the file for every record, syncing each to
//                          disk; the plain algorithm, kept as the reference the batched writer
//                          is checked with
//   TBatchedWriter         keeps the lines of every touched file in memory and writes each file
//                          once: on Flush (end of data, cancel, error) and whenever the held
//                          bytes pass a bound. A file whose bytes did not change is not written.
//                          The files of one flush reach the disk together (files::TReplaceBatch):
//                          one sync for all of them, then the renames.
// Before a record goes in, Check tells whether a race-day file holds another racecourse's race
// under the same name (ClashingKey): such a record is refused whole, not written over it.
// Both apply each record with the same line operations (StoreLayout.h) to the lines a file
// loads as, and the lines of a saved file load back as the same lines, so holding the lines
// in memory between records gives byte for byte what reloading them would.
#pragma once

#include "store/RecordRouting.h"
#include "store/StoreLayout.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <system_error>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace store {

// The outcome of a store operation, with a message naming the file on failure.
struct TStoreStatus {
    bool ok = true;
    std::filesystem::path file; // the file that could not be read or written
    std::error_code error;      // the system's reason
    std::string message;        // CP932 text for the user
    // Check only: the record may not go in, since the file holds this race key of another
    // race day or racecourse under the same name (ok stays true: nothing failed).
    std::optional<std::string> clashKey;

    explicit operator bool() const noexcept { return ok; }
};

// "ファイルを読み込めません:" / "ファイルを保存できません:" + path + " (" + reason + ")".
TStoreStatus ReadFailure(const std::filesystem::path& file, const std::error_code& error);
TStoreStatus WriteFailure(const std::filesystem::path& file, const std::error_code& error);

// One file as a write brought it to the disk: its bytes before (empty when it was not there)
// and now. The views live until the follower's call returns.
struct TWrittenFile {
    TStoreFile file;
    std::string_view before;
    std::string_view after;
};

// Follows what a run writes into the store, to keep something made from it (the store's
// index) up to date in the same run. Told each time files have reached the disk (a batched
// writer's flushes, a record-by-record writer's files), with what changed in them, so that it
// needs to read nothing again.
class IStoreFollower {
public:
    virtual ~IStoreFollower() = default;
    // Returns a CP932 note for the user (why the follower could not keep up, say), empty when
    // there is nothing to say; the note never fails the run.
    virtual std::string FilesWritten(const std::vector<TWrittenFile>& files) = 0;
};

class TStoreWriter {
public:
    virtual ~TStoreWriter() = default;
    // Whether the record's line may go into its file: clashKey set when another race is in the
    // way; a failure when the file cannot be read.
    virtual TStoreStatus Check(const TStoreAction& action) = 0;
    // Brings one record's line into its file (or into the held lines of the file). record
    // numbers the record in the run, for LostRecords.
    virtual TStoreStatus Store(const TStoreAction& action, std::size_t record = 0) = 0;
    // Writes every held file; after a failure the other files are still written and the first
    // failure is reported. Nothing is held afterwards.
    virtual TStoreStatus Flush() = 0;
    // The records (as numbered to Store) a line of which was held for a file that could then
    // not be written: they did not reach the disk.
    const std::set<std::size_t>& LostRecords() const noexcept { return lost_; }
    // The files written since construction, each once, in the order first written: what a
    // follower of the store (its index) has to read again.
    const std::vector<TStoreFile>& WrittenFiles() const noexcept { return written_; }
    // The follower told of every file written from now on; nullptr for none.
    void Follow(IStoreFollower* follower) noexcept { follower_ = follower; }
    // What the follower said, its notes joined by CR LF, each once; empty when nothing.
    const std::string& FollowerNote() const noexcept { return followerNote_; }

protected:
    // Notes files as written and tells the follower.
    void Written(const std::vector<TWrittenFile>& files);

    std::set<std::size_t> lost_;

private:
    std::vector<TStoreFile> written_;
    std::unordered_set<std::string> writtenNames_; // TStoreFile::Text() of each
    IStoreFollower* follower_ = nullptr;
    std::string followerNote_;
};

// Load, update and save for every record.
class TRecordByRecordWriter final : public TStoreWriter {
public:
    explicit TRecordByRecordWriter(std::filesystem::path root) : root_(std::move(root)) {}
    TStoreStatus Check(const TStoreAction& action) override;
    TStoreStatus Store(const TStoreAction& action, std::size_t record = 0) override;
    TStoreStatus Flush() override { return {}; }

private:
    std::filesystem::path root_;
};

// The largest store file that is read: far above any real one (a runner slot file is 119,880
// bytes, a long career's horse history some hundred kilobytes).
inline constexpr std::uintmax_t kStoreFileReadBound = std::uintmax_t{16} << 20;

// The memory bound of a batched run unless told otherwise: 256 MiB of held file bytes.
inline constexpr std::size_t kDefaultMemoryBound = std::size_t{256} << 20;

// Lines held in memory, each touched file written once.
class TBatchedWriter final : public TStoreWriter {
public:
    explicit TBatchedWriter(std::filesystem::path root,
                            std::size_t memoryBound = kDefaultMemoryBound)
        : root_(std::move(root)), memoryBound_(memoryBound) {}
    ~TBatchedWriter() override = default;
    TStoreStatus Check(const TStoreAction& action) override;
    TStoreStatus Store(const TStoreAction& action, std::size_t record = 0) override;
    TStoreStatus Flush() override;

    // Bytes held now: the lines of every touched file and the bytes each had on disk.
    std::size_t HeldBytes() const noexcept { return heldBytes_; }
    // Files held now.
    std::size_t HeldFiles() const noexcept { return files_.size(); }
    // Files written and files found unchanged (not written) since construction.
    std::size_t FilesWritten() const noexcept { return filesWritten_; }
    std::size_t FilesUnchanged() const noexcept { return filesUnchanged_; }
    // Times the held bytes passed the bound and everything was written early.
    std::size_t BoundFlushes() const noexcept { return boundFlushes_; }

private:
    struct THeldFile {
        TStoreFile file;
        std::filesystem::path path;
        TStoreFileKind kind = TStoreFileKind::RaceDayRaces;
        bool existed = false;             // the file was there (and readable) when first touched
        bool present = false;             // the file exists as the held lines see it
        std::string original;             // its bytes then
        std::vector<std::string> lines;   // its lines now
        std::size_t bytes = 0;            // what it adds to heldBytes_
        std::vector<std::size_t> records; // the records whose lines it holds
    };

    // The held file, loaded when first touched; nullptr after a read failure.
    THeldFile* Hold(const TStoreFile& file, TStoreStatus& status);
    // True when the store folder (CP932 text) is not there, so none of its files need be
    // opened: a first load reads thousands of horse files in folders not made yet. Asked of
    // the file system once per folder until the next flush makes them.
    bool FolderMissing(const std::string& folder);

    std::filesystem::path root_;
    std::size_t memoryBound_;
    std::unordered_map<std::string, THeldFile> files_; // by TStoreFile::Text()
    std::unordered_map<std::string, bool> missingFolders_;
    std::size_t heldBytes_ = 0;
    std::size_t filesWritten_ = 0;
    std::size_t filesUnchanged_ = 0;
    std::size_t boundFlushes_ = 0;
};

// How the read loop writes the store.
enum class TStoreWriteMode {
    Batched,        // TBatchedWriter
    RecordByRecord, // TRecordByRecordWriter
};

std::unique_ptr<TStoreWriter> MakeStoreWriter(TStoreWriteMode mode,
                                              const std::filesystem::path& root,
                                              std::size_t memoryBound = kDefaultMemoryBound,
                                              IStoreFollower* follower = nullptr);

} // namespace store
