// One writer at a time: the lock an acquisition holds on its store for the whole run.
//
// Two acquisitions into one store (the window acquiring while a scheduled command-line run
// goes on) would each hold their own copies of the files they touch and write them back, the
// later dropping the other's lines. So every acquisition first takes an exclusive lock on the
// lock file in the data root and keeps it until its run has ended; a second one finds it held,
// says so and touches nothing. The lock is the system's file lock (flock, LockFileEx), which
// ends with its process: a killed run never leaves the store locked. Reading the store needs no
// lock, since every file is replaced whole and atomically.
//
// Holding the lock also tells that no acquisition is writing: the temporaries a killed run left
// in the store's folders are removed then (RemoveStoreTemporaries).
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace store {

// The lock file in the data root.
inline constexpr std::string_view kStoreLockFile = "tomberly.lock";

// What taking the lock found.
enum class TStoreLockStatus {
    Locked, // held by this object until it is destroyed
    Busy,   // another acquisition holds it
    Failed, // the lock file cannot be made or locked
};

class TStoreLock {
public:
    TStoreLock() = default;
    ~TStoreLock();
    TStoreLock(TStoreLock&& other) noexcept;
    TStoreLock& operator=(TStoreLock&& other) noexcept;
    TStoreLock(const TStoreLock&) = delete;
    TStoreLock& operator=(const TStoreLock&) = delete;

    // Tries once to take the lock of the store under root; never waits.
    static TStoreLock Take(const std::filesystem::path& root);

    TStoreLockStatus Status() const noexcept { return status_; }
    bool Held() const noexcept { return status_ == TStoreLockStatus::Locked; }
    // The system's reason for Failed.
    const std::error_code& Error() const noexcept { return error_; }
    // CP932 text for the user when not held: BusyText(), or the failure naming the lock file.
    const std::string& Message() const noexcept { return message_; }
    // Lets the lock go (also done by the destructor).
    void Release() noexcept;

private:
    TStoreLockStatus status_ = TStoreLockStatus::Failed;
    std::error_code error_;
    std::string message_;
#if defined(_WIN32)
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

// "他のデータ取込みがこのデータフォルダを使用中です。終わってからもう一度実行してください。"
std::string StoreBusyText();

// Removes the stale temporaries of killed runs from the data root and the store's folders
// (DATA, SEI, SEIR, UM2, REC and the year folders of SEI, SEIR and UM2), files and the year
// folders a first load was making; only names of the program's own pattern, and only of
// processes no longer running. Call while holding the lock. Returns how
// many were removed.
std::size_t RemoveStoreTemporaries(const std::filesystem::path& root);

} // namespace store
