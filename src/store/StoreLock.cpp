#include "store/StoreLock.h"

#include "files/ProgramFolder.h"
#include "files/WholeFile.h"
#include "jvdata/SjisText.h"
#include "store/StoreLayout.h"

#include <utility>

#if defined(_WIN32)
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace store {

namespace fs = std::filesystem;

TStoreLock::~TStoreLock() {
    Release();
}

TStoreLock::TStoreLock(TStoreLock&& other) noexcept {
    *this = std::move(other);
}

TStoreLock& TStoreLock::operator=(TStoreLock&& other) noexcept {
    if (this != &other) {
        Release();
        status_ = std::exchange(other.status_, TStoreLockStatus::Failed);
        error_ = other.error_;
        message_ = std::move(other.message_);
#if defined(_WIN32)
        handle_ = std::exchange(other.handle_, nullptr);
#else
        fd_ = std::exchange(other.fd_, -1);
#endif
    }
    return *this;
}

std::string StoreBusyText() {
    static const std::string text =
        Sjis::FromUtf8("他のデータ取込みがこのデータフォルダを使用中です。"
                       "終わってからもう一度実行してください。");
    return text;
}

namespace {

std::string FailureText(const fs::path& file, const std::error_code& error) {
    return Sjis::FromUtf8("データフォルダをロックできません:") + files::TextFromPath(file) + " (" +
           files::SystemErrorText(error) + ")";
}

} // namespace

#if defined(_WIN32)

TStoreLock TStoreLock::Take(const fs::path& root) {
    TStoreLock lock;
    const fs::path file = root / std::string(kStoreLockFile);
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        lock.error_ = {static_cast<int>(GetLastError()), std::system_category()};
        lock.message_ = FailureText(file, lock.error_);
        return lock;
    }
    OVERLAPPED at{};
    if (!LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        const DWORD code = GetLastError();
        CloseHandle(handle);
        if (code == ERROR_LOCK_VIOLATION || code == ERROR_IO_PENDING) {
            lock.status_ = TStoreLockStatus::Busy;
            lock.message_ = StoreBusyText();
        } else {
            lock.error_ = {static_cast<int>(code), std::system_category()};
            lock.message_ = FailureText(file, lock.error_);
        }
        return lock;
    }
    lock.handle_ = handle;
    lock.status_ = TStoreLockStatus::Locked;
    return lock;
}

void TStoreLock::Release() noexcept {
    if (handle_ != nullptr) {
        OVERLAPPED at{};
        UnlockFileEx(static_cast<HANDLE>(handle_), 0, 1, 0, &at);
        CloseHandle(static_cast<HANDLE>(handle_));
        handle_ = nullptr;
    }
    if (status_ == TStoreLockStatus::Locked) {
        status_ = TStoreLockStatus::Failed;
    }
}

#else

TStoreLock TStoreLock::Take(const fs::path& root) {
    TStoreLock lock;
    const fs::path file = root / std::string(kStoreLockFile);
    int fd;
    do {
        fd = open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        lock.error_ = {errno, std::generic_category()};
        lock.message_ = FailureText(file, lock.error_);
        return lock;
    }
    // flock belongs to the open file, not the process: a second lock of this process (the
    // window and a test, two stores) conflicts as another process's would.
    int locked;
    do {
        locked = flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        const int code = errno;
        close(fd);
        if (code == EWOULDBLOCK) {
            lock.status_ = TStoreLockStatus::Busy;
            lock.message_ = StoreBusyText();
        } else {
            lock.error_ = {code, std::generic_category()};
            lock.message_ = FailureText(file, lock.error_);
        }
        return lock;
    }
    lock.fd_ = fd;
    lock.status_ = TStoreLockStatus::Locked;
    return lock;
}

void TStoreLock::Release() noexcept {
    if (fd_ >= 0) {
        close(fd_); // lets the lock go
        fd_ = -1;
    }
    if (status_ == TStoreLockStatus::Locked) {
        status_ = TStoreLockStatus::Failed;
    }
}

#endif

std::size_t RemoveStoreTemporaries(const fs::path& root) {
    std::size_t removed = files::RemoveStaleTemporaries(root);
    // Every store folder; those by year also hold the year folders a first load was making.
    for (std::string_view name : kStoreFolders) {
        removed += files::RemoveStaleTemporaries(root / std::string(name));
    }
    for (std::string_view name : {kHistoryFolder, kResultFolder, kHorseMasterFolder}) {
        std::error_code ec;
        fs::directory_iterator it(root / std::string(name), ec);
        for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
            std::error_code typeError;
            if (it->is_directory(typeError) && !it->is_symlink(typeError)) {
                removed += files::RemoveStaleTemporaries(it->path());
            }
        }
    }
    return removed;
}

} // namespace store
