// Whole-file reads and crash-safe whole-file replacement, for the files that the program
// reads and rewrites in one piece (the settings file, the store's files).
//
// Only regular files are read: a FIFO, a device, a socket or a folder under a settings or store
// name is refused at once (a FIFO would block the program for ever, a link to a device would
// read until memory runs out), and a read is bounded by the largest size the caller's file may
// have.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace files {

// What reading a whole file found.
enum class FileReadStatus {
    Read,    // the file was read; bytes holds it
    Missing, // no such file (nor, perhaps, its folder)
    Failed,  // the file is there but could not be read (not a regular file, larger than the
             // bound, no permission, an I/O error)
};

// Reasons of a failed read that are the program's own, not the system's.
enum class FileErrc {
    NotRegularFile = 1, // a FIFO, device, socket or folder where a file was expected
    TooLarge,           // larger than the bound the caller gave
};
const std::error_category& FileErrorCategory() noexcept;
std::error_code make_error_code(FileErrc code) noexcept;

// The bound of a read unless the caller gives its own: 64 MiB, far above any settings or store
// file, far below what would exhaust memory.
inline constexpr std::uintmax_t kDefaultReadBound = std::uintmax_t{64} << 20;
// The bound of the settings file: a few lines of keys; 1 MiB is far more than it ever holds.
inline constexpr std::uintmax_t kSettingsReadBound = std::uintmax_t{1} << 20;

// The bytes of a file as they are on disk, no newline translation.
struct FileReadResult {
    FileReadStatus status = FileReadStatus::Missing; // what was found
    std::string bytes;                               // the content when Read
    std::error_code error;                           // the system's reason when Failed
    std::int64_t modified = 0; // when Read: the last write time, as FileStampOf gives it
};

// What tells that a file changed without reading it: its size and last write time (in the
// system's own units; only compared, never shown).
struct TFileStamp {
    std::int64_t size = 0;
    std::int64_t modified = 0;
    friend bool operator==(const TFileStamp&, const TFileStamp&) = default;
};
// The stamp of a regular file; nothing when it is missing or no regular file.
std::optional<TFileStamp> FileStampOf(const std::filesystem::path& file);

// Reads the whole regular file, at most maxBytes of it (a longer file fails with TooLarge).
// Other processes may rename a new file over it meanwhile (on Windows the file is opened with
// delete sharing, so it never blocks such a replacement).
FileReadResult ReadWholeFile(const std::filesystem::path& file,
                             std::uintmax_t maxBytes = kDefaultReadBound);

// Replaces the file's content by bytes so that the file is at every moment either the old or
// the new content, never a part: the bytes go to a new temporary file in the same folder,
// which is flushed to disk and then renamed over the old file. A symbolic link is followed
// and its target replaced, or created when the link dangles: the link itself stays a link. The old
// file's permissions (attributes on Windows) carry over; a read-only old file is refused, as an
// in-place write would be. With createFolder, a missing folder is created first. Returns the
// system's reason on failure (the old file is then untouched and no temporary file is left), an
// empty code on success.
std::error_code ReplaceWholeFile(const std::filesystem::path& file, std::string_view bytes,
                                 bool createFolder = false);

namespace detail {
// Folders known to exist, by their native path text; safe to share between threads.
class TKnownFolders {
public:
    bool Contains(const std::filesystem::path& folder) const;
    void Add(const std::filesystem::path& folder);

private:
    mutable std::mutex lock_;
    std::unordered_set<std::filesystem::path::string_type> known_;
};
} // namespace detail

// Many files replaced together, each atomically as ReplaceWholeFile does, with one flush to
// disk for all of them instead of one per file: Stage writes each new content to its temporary
// file; Commit makes all temporaries durable together (one file-system sync on Linux, a flush
// per file elsewhere), renames each over its file and makes the renames durable. A folder that
// is not there yet is made under a temporary name, its new files written into it under their
// own names, and it is renamed once when committed: a store's first load makes its thousands
// of horse files this way, without a rename each. After a crash at any moment every file is
// whole, its old or its new content (a new folder is there whole or not at all); what is left
// are temporaries, which RemoveStaleTemporaries clears. Temporaries not committed are removed
// with the batch.
class TReplaceBatch {
public:
    // A file that could not be replaced, and the system's reason.
    struct TFailure {
        std::filesystem::path file; // the file replaced: a link's target, not the link
        std::error_code error;
        std::size_t staged = 0; // its number among the files staged, from 0 in staging order
    };

    TReplaceBatch() = default;
    ~TReplaceBatch();
    TReplaceBatch(const TReplaceBatch&) = delete;
    TReplaceBatch& operator=(const TReplaceBatch&) = delete;

    // Writes the new content of file to a temporary beside it (its old content and permissions
    // checked as ReplaceWholeFile does). On failure nothing is staged for the file.
    std::error_code Stage(const std::filesystem::path& file, std::string_view bytes,
                          bool createFolder = false);
    // A file for StageAll; its bytes must live until StageAll returns.
    struct TRequest {
        std::filesystem::path file;
        std::string_view bytes;
        bool createFolder = false;
    };
    // Stages every request as Stage does, several at a time (on up to four threads), so that
    // making one file overlaps the system's work on the others. Returns each request's reason,
    // empty when it was staged; the staged are numbered (TFailure::staged) in request order.
    std::vector<std::error_code> StageAll(const std::vector<TRequest>& requests);
    // Puts every staged file in place (several at a time); the files that could not be, with their
    // reasons (all of them when the flush to disk failed: then no file is replaced). Nothing is
    // staged after.
    std::vector<TFailure> Commit();
    // Files staged and not yet committed.
    std::size_t Staged() const noexcept { return staged_.size(); }

private:
    static constexpr std::size_t kNoNewFolder = SIZE_MAX;
    struct TStaged {
        std::filesystem::path temporary;
        std::filesystem::path target;
        std::size_t newFolder = kNoNewFolder; // in newFolders_, when it lies in one
    };
    // A folder the batch makes: its files are written into it under a temporary name, which
    // Commit renames to the folder's own.
    struct TNewFolder {
        std::filesystem::path temporary;
        std::filesystem::path target;
    };
    // The new folder of a file in `folder` when nothing has that name yet (made now under its
    // temporary name), else kNoNewFolder; error tells why it could not be made.
    std::size_t NewFolderFor(const std::filesystem::path& folder, std::error_code& error);
    void Discard();
    std::vector<TStaged> staged_;
    std::vector<TNewFolder> newFolders_;
    std::unordered_map<std::filesystem::path::string_type, std::size_t> newFolderIndex_;
    // Folders this batch created or found there, which later files need not create: a store
    // flush puts thousands of files into a few hundred folders.
    detail::TKnownFolders folders_;
};

// The temporary file beside file that this process writes as its attempt n,
// "<file>.<process id>-<n>.tmp": a name RemoveStaleTemporaries knows once the process is gone.
std::filesystem::path TemporaryPath(const std::filesystem::path& file, unsigned attempt);
// A name of this program's temporary files, "<file>.<process id>-<n>.tmp": the process id, or 0
// for any other name.
std::uint64_t TemporaryOwner(std::string_view fileName) noexcept;
// True while a process of that id runs.
bool ProcessRuns(std::uint64_t processId) noexcept;
// Removes the temporaries in folder (not below it) that processes no longer running left
// behind: files, and folders a batch was making with what is in them. Those of running
// processes, this one among them, may be written at this moment and stay. Returns how many
// were removed.
std::size_t RemoveStaleTemporaries(const std::filesystem::path& folder);

// The system's description of an error as CP932 text, without a trailing line end.
std::string SystemErrorText(const std::error_code& error);

} // namespace files

template <>
struct std::is_error_code_enum<files::FileErrc> : std::true_type {};
