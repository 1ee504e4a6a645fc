#include "files/WholeFile.h"

#include "jvdata/SjisText.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <unordered_set>

#if defined(_WIN32)
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace files {

namespace fs = std::filesystem;

namespace {

// Distinguishes the temporary files of several writes of one process.
std::atomic<unsigned> temporaryCounter{0};

class TFileErrorCategory final : public std::error_category {
public:
    const char* name() const noexcept override { return "files"; }
    std::string message(int code) const override {
        // UTF-8, as the system's own messages; SystemErrorText makes CP932 of them.
        switch (static_cast<FileErrc>(code)) {
        case FileErrc::NotRegularFile:
            return "通常のファイルではありません";
        case FileErrc::TooLarge:
            return "ファイルが大きすぎます";
        }
        return "files error " + std::to_string(code);
    }
};

// The file that a write really replaces: the end of a chain of symbolic links, whether that
// exists or not (a dangling link gets its target created), else the file itself.
fs::path ReplacedFile(const fs::path& file) {
    fs::path path = file;
    for (int hop = 0; hop < 40; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(path, ec)) {
            return path;
        }
        const fs::path target = fs::read_symlink(path, ec);
        if (ec) {
            return path;
        }
        path = target.is_absolute() ? target : (path.parent_path() / target).lexically_normal();
    }
    return path; // a loop of links: the rename fails on it and says so
}

// The folder the file lies in; the current directory for a bare name.
fs::path FolderOf(const fs::path& file) {
    fs::path folder = file.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

using TFolderSet = detail::TKnownFolders;

// Creates the folder and those above it unless known to exist already.
std::error_code MakeFolder(const fs::path& folder, TFolderSet* known) {
    if (known != nullptr && known->Contains(folder)) {
        return {};
    }
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!ec && known != nullptr) {
        known->Add(folder);
    }
    return ec;
}

// Calls work(i) once for every i below count, on up to four threads (this one among them) when
// there is enough to share. The first exception a call throws is thrown again here, after every
// thread has stopped (the calls not made by then are not made).
void ForEachInParallel(std::size_t count, const std::function<void(std::size_t)>& work) {
    constexpr std::size_t kMostThreads = 4;
    constexpr std::size_t kLeastShare = 64; // calls worth a thread of their own
    const std::size_t threads =
        std::min({kMostThreads, std::max<std::size_t>(1, std::thread::hardware_concurrency()),
                  (count + kLeastShare - 1) / kLeastShare});
    if (threads <= 1) {
        for (std::size_t i = 0; i < count; ++i) {
            work(i);
        }
        return;
    }
    std::atomic<std::size_t> next{0};
    std::mutex failureLock;
    std::exception_ptr failure;
    auto run = [&] {
        for (std::size_t i = next++; i < count; i = next++) {
            try {
                work(i);
            } catch (...) {
                const std::lock_guard<std::mutex> hold(failureLock);
                if (!failure) {
                    failure = std::current_exception();
                }
                next = count;
                return;
            }
        }
    };
    std::vector<std::thread> pool;
    pool.reserve(threads - 1);
    for (std::size_t t = 1; t < threads; ++t) {
        try {
            pool.emplace_back(run);
        } catch (const std::system_error&) {
            break; // no more threads to be had: fewer do the work
        }
    }
    run();
    for (std::thread& thread : pool) {
        thread.join();
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}

#if defined(_WIN32)

std::error_code LastError() {
    return {static_cast<int>(GetLastError()), std::system_category()};
}

std::wstring TemporaryName(const fs::path& file, unsigned attempt) {
    return file.filename().native() + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(attempt) + L".tmp";
}

std::error_code WriteAll(HANDLE handle, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(handle, bytes.data(), chunk, &written, nullptr)) {
            return LastError();
        }
        bytes.remove_prefix(written);
    }
    return {};
}

#else

std::error_code Errno() {
    return {errno, std::generic_category()};
}

std::string TemporaryName(const fs::path& file, unsigned attempt) {
    return file.filename().native() + "." + std::to_string(getpid()) + "-" +
           std::to_string(attempt) + ".tmp";
}

std::error_code WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Errno();
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

#endif

// Calls attempt(i) for every i below count as ForEachInParallel does; the first failure seen.
[[maybe_unused]] std::error_code
FirstFailure(std::size_t count, const std::function<std::error_code(std::size_t)>& attempt) {
    std::mutex lock;
    std::error_code first;
    ForEachInParallel(count, [&](std::size_t i) {
        if (const std::error_code error = attempt(i)) {
            const std::lock_guard<std::mutex> hold(lock);
            if (!first) {
                first = error;
            }
        }
    });
    return first;
}

} // namespace

const std::error_category& FileErrorCategory() noexcept {
    static const TFileErrorCategory category;
    return category;
}

std::error_code make_error_code(FileErrc code) noexcept {
    return {static_cast<int>(code), FileErrorCategory()};
}

fs::path TemporaryPath(const fs::path& file, unsigned attempt) {
    return file.parent_path() / TemporaryName(file, attempt);
}

std::uint64_t TemporaryOwner(std::string_view name) noexcept {
    // <file> "." <digits> "-" <digits> ".tmp", <file> not empty.
    constexpr std::string_view suffix = ".tmp";
    if (name.size() <= suffix.size() || !name.ends_with(suffix)) {
        return 0;
    }
    name.remove_suffix(suffix.size());
    auto digitsBack = [&name]() {
        std::size_t n = 0;
        while (n < name.size() && name[name.size() - 1 - n] >= '0' &&
               name[name.size() - 1 - n] <= '9') {
            ++n;
        }
        return n;
    };
    const std::size_t counter = digitsBack();
    if (counter == 0 || counter >= name.size() || name[name.size() - 1 - counter] != '-') {
        return 0;
    }
    name.remove_suffix(counter + 1);
    const std::size_t pidDigits = digitsBack();
    if (pidDigits == 0 || pidDigits > 18 || pidDigits + 1 >= name.size() ||
        name[name.size() - 1 - pidDigits] != '.') {
        return 0;
    }
    std::uint64_t pid = 0;
    for (char c : name.substr(name.size() - pidDigits)) {
        pid = pid * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return pid;
}

std::size_t RemoveStaleTemporaries(const fs::path& folder) {
    std::size_t removed = 0;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const auto name = it->path().filename().u8string();
        const std::uint64_t owner = TemporaryOwner(
            std::string_view(reinterpret_cast<const char*>(name.data()), name.size()));
        if (owner == 0 || ProcessRuns(owner)) {
            continue;
        }
        // A temporary file, or a folder a batch was making (with the new files in it).
        std::error_code typeError;
        const fs::file_status status = it->symlink_status(typeError);
        std::error_code removeError;
        if (fs::is_regular_file(status)) {
            removed += fs::remove(it->path(), removeError) ? 1 : 0;
        } else if (fs::is_directory(status)) {
            removed +=
                fs::remove_all(it->path(), removeError) != static_cast<std::uintmax_t>(-1) ? 1 : 0;
        }
    }
    return removed;
}

TReplaceBatch::~TReplaceBatch() {
    Discard();
}

void TReplaceBatch::Discard() {
    for (const TStaged& staged : staged_) {
        std::error_code ec;
        fs::remove(staged.temporary, ec);
    }
    for (const TNewFolder& folder : newFolders_) {
        std::error_code ec;
        fs::remove_all(folder.temporary, ec);
    }
    staged_.clear();
    newFolders_.clear();
    newFolderIndex_.clear();
}

#if defined(_WIN32)

bool ProcessRuns(std::uint64_t processId) noexcept {
    if (processId == GetCurrentProcessId()) {
        return true;
    }
    if (processId > 0xFFFFFFFFu) {
        return false;
    }
    HANDLE process =
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(processId));
    if (process == nullptr) {
        // Denied means it is there; gone means it is not.
        return GetLastError() == ERROR_ACCESS_DENIED;
    }
    DWORD code = 0;
    const bool runs = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    CloseHandle(process);
    return runs;
}

FileReadResult ReadWholeFile(const fs::path& file, std::uintmax_t maxBytes) {
    FileReadResult result;
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ||
            code == ERROR_INVALID_NAME) {
            result.status = FileReadStatus::Missing;
        } else {
            result.status = FileReadStatus::Failed;
            result.error = {static_cast<int>(code), std::system_category()};
        }
        return result;
    }
    auto fail = [&](std::error_code error) {
        result.status = FileReadStatus::Failed;
        result.error = error;
        result.bytes.clear();
        CloseHandle(handle);
        return result;
    };
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        return fail(FileErrc::NotRegularFile); // a device (NUL, CON, COM1) or a pipe
    }
    LARGE_INTEGER size{};
    if (GetFileSizeEx(handle, &size) && size.QuadPart > 0) {
        if (static_cast<std::uintmax_t>(size.QuadPart) > maxBytes) {
            return fail(FileErrc::TooLarge);
        }
        result.bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    }
    char buffer[16384];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(handle, buffer, sizeof buffer, &got, nullptr)) {
            return fail(LastError());
        }
        if (got == 0) {
            break;
        }
        if (result.bytes.size() + got > maxBytes) {
            return fail(FileErrc::TooLarge); // it grew while being read
        }
        result.bytes.append(buffer, got);
    }
    FILETIME written{};
    if (GetFileTime(handle, nullptr, nullptr, &written)) {
        result.modified = static_cast<std::int64_t>(
            (static_cast<std::uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime);
    }
    CloseHandle(handle);
    result.status = FileReadStatus::Read;
    return result;
}

std::optional<TFileStamp> FileStampOf(const fs::path& file) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    TFileStamp stamp;
    stamp.size = static_cast<std::int64_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) |
                                           data.nFileSizeLow);
    stamp.modified = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
        data.ftLastWriteTime.dwLowDateTime);
    return stamp;
}

namespace {

// A reader of another program (a virus scanner, an editor) may hold the old file open for a
// moment without delete sharing: try again briefly before giving up.
std::error_code MoveIntoPlace(const fs::path& temporary, const fs::path& target,
                              bool replace = true) {
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExW(temporary.c_str(), target.c_str(), flags)) {
            return {};
        }
        const DWORD code = GetLastError();
        const bool busy = code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION ||
                          code == ERROR_ACCESS_DENIED;
        if (!busy || attempt >= 10) {
            return {static_cast<int>(code), std::system_category()};
        }
        Sleep(50);
    }
}

// Writes bytes to a new temporary file beside the file a write of `file` replaces, flushed to
// disk when told; on failure no temporary is left.
// With createFolder, a missing folder is made (unless folders knows it is there).
std::error_code WriteTemporary(const fs::path& file, std::string_view bytes, bool createFolder,
                               TFolderSet* folders, bool flush, fs::path& temporary,
                               fs::path& target) {
    target = ReplacedFile(file);
    const fs::path folder = FolderOf(target);
    if (createFolder) {
        if (const std::error_code ec = MakeFolder(folder, folders)) {
            return ec;
        }
    }

    const DWORD oldAttributes = GetFileAttributesW(target.c_str());
    if (oldAttributes != INVALID_FILE_ATTRIBUTES) {
        if (oldAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            return std::make_error_code(std::errc::is_a_directory);
        }
        if (oldAttributes & FILE_ATTRIBUTE_READONLY) {
            return {ERROR_ACCESS_DENIED, std::system_category()};
        }
    }

    HANDLE handle = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && handle == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = folder / TemporaryName(target, temporaryCounter++);
        handle = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) {
            return LastError();
        }
    }
    if (handle == INVALID_HANDLE_VALUE) {
        return {ERROR_FILE_EXISTS, std::system_category()};
    }

    std::error_code error = WriteAll(handle, bytes);
    if (!error && flush && !FlushFileBuffers(handle)) {
        error = LastError();
    }
    if (!CloseHandle(handle) && !error) {
        error = LastError();
    }
    if (!error && oldAttributes != INVALID_FILE_ATTRIBUTES) {
        // Keep a hidden or system settings file so; a failure here costs nothing.
        const DWORD kept =
            oldAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                             FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
        if (kept != 0) {
            SetFileAttributesW(temporary.c_str(), kept);
        }
    }
    if (error) {
        DeleteFileW(temporary.c_str());
    }
    return error;
}

void RemoveTemporary(const fs::path& temporary) {
    DeleteFileW(temporary.c_str());
}

// Writes bytes to a new file of that name, which must not exist yet; on failure nothing is
// left.
std::error_code WriteNewFile(const fs::path& file, std::string_view bytes) {
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return LastError();
    }
    std::error_code error = WriteAll(handle, bytes);
    if (!CloseHandle(handle) && !error) {
        error = LastError();
    }
    if (error) {
        DeleteFileW(file.c_str());
    }
    return error;
}

// Gives the folder a batch made its name; fails when something has that name by now.
std::error_code MoveFolderIntoPlace(const fs::path& temporary, const fs::path& target) {
    return MoveIntoPlace(temporary, target, /*replace=*/false);
}

// Windows has no sync of a whole volume for a program without rights: every temporary is
// flushed to disk, several at a time (a new folder's entries are the file system's own log's).
std::error_code SyncContents(const std::vector<fs::path>& temporaries, const std::vector<fs::path>&,
                             const std::set<fs::path>&) {
    return FirstFailure(temporaries.size(), [&](std::size_t i) {
        HANDLE handle = CreateFileW(temporaries[i].c_str(), GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            return LastError();
        }
        const std::error_code error = FlushFileBuffers(handle) ? std::error_code{} : LastError();
        CloseHandle(handle);
        return error;
    });
}

// The moves are written through already.
void SyncRenames(const std::set<fs::path>&) {}

} // namespace

std::error_code ReplaceWholeFile(const fs::path& file, std::string_view bytes, bool createFolder) {
    fs::path temporary;
    fs::path target;
    if (std::error_code error =
            WriteTemporary(file, bytes, createFolder, nullptr, /*flush=*/true, temporary, target)) {
        return error;
    }
    if (std::error_code error = MoveIntoPlace(temporary, target)) {
        DeleteFileW(temporary.c_str());
        return error;
    }
    return {};
}

std::string SystemErrorText(const std::error_code& error) {
    std::string text;
    if (error.category() == std::system_category()) {
        wchar_t* message = nullptr;
        const DWORD length =
            FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                               FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, static_cast<DWORD>(error.value()), 0,
                           reinterpret_cast<LPWSTR>(&message), 0, nullptr);
        if (length > 0 && message) {
            const int size = WideCharToMultiByte(932, 0, message, static_cast<int>(length), nullptr,
                                                 0, "?", nullptr);
            if (size > 0) {
                text.resize(static_cast<std::size_t>(size));
                WideCharToMultiByte(932, 0, message, static_cast<int>(length), text.data(), size,
                                    "?", nullptr);
            }
        }
        if (message) {
            LocalFree(message);
        }
    }
    if (text.empty()) {
        text = Sjis::FromUtf8(error.message());
    }
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

#else

bool ProcessRuns(std::uint64_t processId) noexcept {
    if (processId == static_cast<std::uint64_t>(getpid())) {
        return true;
    }
    if (processId > static_cast<std::uint64_t>(INT32_MAX)) {
        return false;
    }
    // Signal 0 only asks whether the process is there; EPERM says it is, owned by another.
    return kill(static_cast<pid_t>(processId), 0) == 0 || errno == EPERM;
}

FileReadResult ReadWholeFile(const fs::path& file, std::uintmax_t maxBytes) {
    FileReadResult result;
    int fd;
    do {
        // Without O_NONBLOCK, opening a FIFO would wait for a writer for ever.
        fd = open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            result.status = FileReadStatus::Missing;
        } else {
            result.status = FileReadStatus::Failed;
            result.error = Errno();
        }
        return result;
    }
    auto fail = [&](std::error_code error) {
        result.status = FileReadStatus::Failed;
        result.error = error;
        result.bytes.clear();
        close(fd);
        return result;
    };
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        return fail(Errno());
    }
    if (S_ISDIR(info.st_mode)) {
        return fail(std::make_error_code(std::errc::is_a_directory));
    }
    if (!S_ISREG(info.st_mode)) {
        return fail(FileErrc::NotRegularFile);
    }
    if (info.st_size > 0) {
        if (static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
            return fail(FileErrc::TooLarge);
        }
        result.bytes.reserve(static_cast<std::size_t>(info.st_size));
    }
    char buffer[16384];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return fail(Errno());
        }
        if (got == 0) {
            break;
        }
        if (result.bytes.size() + static_cast<std::size_t>(got) > maxBytes) {
            return fail(FileErrc::TooLarge); // it grew while being read
        }
        result.bytes.append(buffer, static_cast<std::size_t>(got));
    }
    close(fd);
    result.modified =
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    result.status = FileReadStatus::Read;
    return result;
}

std::optional<TFileStamp> FileStampOf(const fs::path& file) {
    struct stat info {};
    if (stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    return TFileStamp{static_cast<std::int64_t>(info.st_size),
                      static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 +
                          info.st_mtim.tv_nsec};
}

namespace {

// Writes bytes to a new temporary file beside the file a write of `file` replaces, synced to
// disk when told; on failure no temporary is left. With createFolder, a missing folder is made
// (unless folders knows it is there).
std::error_code WriteTemporary(const fs::path& file, std::string_view bytes, bool createFolder,
                               TFolderSet* folders, bool sync, fs::path& temporary,
                               fs::path& target) {
    // One lstat tells a plain file (or none) from a link, whose target is then looked at.
    struct stat old {};
    bool exists = lstat(file.c_str(), &old) == 0;
    target = file;
    if (exists && S_ISLNK(old.st_mode)) {
        target = ReplacedFile(file);
        exists = stat(target.c_str(), &old) == 0;
    }
    const fs::path folder = FolderOf(target);
    if (createFolder) {
        if (const std::error_code ec = MakeFolder(folder, folders)) {
            return ec;
        }
    }

    mode_t mode = 0666; // narrowed by the umask for a new file
    bool keepMode = false;
    if (exists) {
        if (S_ISDIR(old.st_mode)) {
            return std::make_error_code(std::errc::is_a_directory);
        }
        if (!S_ISREG(old.st_mode)) {
            return FileErrc::NotRegularFile;
        }
        if (access(target.c_str(), W_OK) != 0) {
            return Errno();
        }
        mode = old.st_mode & 07777;
        keepMode = true;
    }

    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = folder / TemporaryName(target, temporaryCounter++);
        fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0 && errno != EEXIST && errno != EINTR) {
            return Errno();
        }
    }
    if (fd < 0) {
        return std::make_error_code(std::errc::file_exists);
    }

    std::error_code error;
    if (keepMode && fchmod(fd, mode) != 0) {
        error = Errno();
    }
    if (!error) {
        error = WriteAll(fd, bytes);
    }
    if (!error && sync && fsync(fd) != 0) {
        error = Errno();
    }
    if (close(fd) != 0 && !error) {
        error = Errno();
    }
    if (error) {
        unlink(temporary.c_str());
    }
    return error;
}

// Syncs a folder, which makes the renames in it durable.
std::error_code SyncFolder(const fs::path& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return Errno();
    }
    std::error_code error;
    if (fsync(fd) != 0) {
        error = Errno();
    }
    close(fd);
    return error;
}

#if defined(__linux__)
// Syncs the whole file systems the folders lie on, once each.
std::error_code SyncFileSystems(const std::set<fs::path>& folders) {
    std::set<dev_t> done;
    for (const fs::path& folder : folders) {
        struct stat info {};
        if (stat(folder.c_str(), &info) != 0) {
            return Errno();
        }
        if (!done.insert(info.st_dev).second) {
            continue;
        }
        const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) {
            return Errno();
        }
        const int synced = syncfs(fd);
        const std::error_code error = synced != 0 ? Errno() : std::error_code{};
        close(fd);
        if (error) {
            return error;
        }
    }
    return {};
}
#endif

void RemoveTemporary(const fs::path& temporary) {
    unlink(temporary.c_str());
}

std::error_code MoveIntoPlace(const fs::path& temporary, const fs::path& target) {
    return rename(temporary.c_str(), target.c_str()) == 0 ? std::error_code{} : Errno();
}

// Writes bytes to a new file of that name, which must not exist yet; on failure nothing is
// left.
std::error_code WriteNewFile(const fs::path& file, std::string_view bytes) {
    int fd;
    do {
        fd = open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return Errno();
    }
    std::error_code error = WriteAll(fd, bytes);
    if (close(fd) != 0 && !error) {
        error = Errno();
    }
    if (error) {
        unlink(file.c_str());
    }
    return error;
}

// Gives the folder a batch made its name (an empty folder of that name made meanwhile is
// replaced, as nothing is lost by it).
std::error_code MoveFolderIntoPlace(const fs::path& temporary, const fs::path& target) {
    return MoveIntoPlace(temporary, target);
}

// Brings every temporary's content to disk: on Linux one sync of each file system the folders
// lie on, elsewhere a sync of each file and of each folder the batch made.
std::error_code SyncContents([[maybe_unused]] const std::vector<fs::path>& temporaries,
                             [[maybe_unused]] const std::vector<fs::path>& madeFolders,
                             [[maybe_unused]] const std::set<fs::path>& folders) {
#if defined(__linux__)
    return SyncFileSystems(folders);
#else
    std::vector<fs::path> all = temporaries;
    all.insert(all.end(), madeFolders.begin(), madeFolders.end());
    return FirstFailure(all.size(), [&](std::size_t i) {
        const int fd = open(all[i].c_str(), O_RDONLY | O_CLOEXEC);
        const std::error_code error = fd < 0 || fsync(fd) != 0 ? Errno() : std::error_code{};
        if (fd >= 0) {
            close(fd);
        }
        return error;
    });
#endif
}

// Makes the renames in the folders durable.
void SyncRenames(const std::set<fs::path>& folders) {
#if defined(__linux__)
    SyncFileSystems(folders);
#else
    for (const fs::path& folder : folders) {
        SyncFolder(folder);
    }
#endif
}

} // namespace

std::error_code ReplaceWholeFile(const fs::path& file, std::string_view bytes, bool createFolder) {
    fs::path temporary;
    fs::path target;
    if (std::error_code error =
            WriteTemporary(file, bytes, createFolder, nullptr, /*sync=*/true, temporary, target)) {
        return error;
    }
    if (rename(temporary.c_str(), target.c_str()) != 0) {
        const std::error_code error = Errno();
        unlink(temporary.c_str());
        return error;
    }
    // Make the rename itself durable; the new content is already on disk.
    SyncFolder(FolderOf(target));
    return {};
}

std::string SystemErrorText(const std::error_code& error) {
    // The system's messages follow the locale, which is UTF-8 wherever Japanese is shown.
    std::string text = Sjis::FromUtf8(error.message());
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

#endif

// ---- Batches, the same on every system -----------------------------------------------------

std::error_code TReplaceBatch::Stage(const fs::path& file, std::string_view bytes,
                                     bool createFolder) {
    return StageAll({{file, bytes, createFolder}}).front();
}

std::size_t TReplaceBatch::NewFolderFor(const fs::path& folder, std::error_code& error) {
    if (folders_.Contains(folder)) {
        return kNoNewFolder;
    }
    if (const auto found = newFolderIndex_.find(folder.native()); found != newFolderIndex_.end()) {
        return found->second;
    }
    std::error_code ec;
    if (fs::symlink_status(folder, ec).type() != fs::file_type::not_found) {
        return kNoNewFolder; // there (or unknown): its files are written one by one
    }
    fs::create_directories(FolderOf(folder), ec);
    if (ec) {
        error = ec;
        return kNoNewFolder;
    }
    fs::path temporary;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = FolderOf(folder) / TemporaryName(folder, temporaryCounter++);
        if (fs::create_directory(temporary, ec)) {
            newFolders_.push_back({temporary, folder});
            newFolderIndex_.emplace(folder.native(), newFolders_.size() - 1);
            return newFolders_.size() - 1;
        }
        if (ec) {
            error = ec;
            return kNoNewFolder;
        }
    }
    error = std::make_error_code(std::errc::file_exists);
    return kNoNewFolder;
}

std::vector<std::error_code> TReplaceBatch::StageAll(const std::vector<TRequest>& requests) {
    std::vector<std::error_code> errors(requests.size());
    std::vector<TStaged> staged(requests.size());
    // Which files go into folders the batch makes is settled first, here, one folder at a time.
    for (std::size_t i = 0; i < requests.size(); ++i) {
        if (requests[i].createFolder) {
            staged[i].newFolder = NewFolderFor(FolderOf(requests[i].file), errors[i]);
        }
    }
    std::vector<char> made(requests.size(), 0);
    try {
        ForEachInParallel(requests.size(), [&](std::size_t i) {
            if (errors[i]) {
                return;
            }
            const TRequest& request = requests[i];
            TStaged& one = staged[i];
            if (one.newFolder != kNoNewFolder) {
                // Nothing is there to replace: the file is written under its own name.
                one.target = request.file;
                one.temporary = newFolders_[one.newFolder].temporary / request.file.filename();
                errors[i] = WriteNewFile(one.temporary, request.bytes);
            } else {
                errors[i] = WriteTemporary(request.file, request.bytes, request.createFolder,
                                           &folders_, /*sync=*/false, one.temporary, one.target);
            }
            made[i] = !errors[i];
        });
    } catch (...) {
        for (std::size_t i = 0; i < staged.size(); ++i) {
            if (made[i]) {
                RemoveTemporary(staged[i].temporary);
            }
        }
        throw;
    }
    for (std::size_t i = 0; i < requests.size(); ++i) {
        if (made[i]) {
            staged_.push_back(std::move(staged[i]));
        }
    }
    return errors;
}

std::vector<TReplaceBatch::TFailure> TReplaceBatch::Commit() {
    std::vector<TFailure> failures;
    if (staged_.empty() && newFolders_.empty()) {
        return failures;
    }
    // The folders whose entries change: those of the files replaced one by one, and those the
    // new folders go into.
    std::set<fs::path> folders;
    std::unordered_set<fs::path::string_type> seen;
    auto changes = [&](fs::path folder) {
        if (seen.insert(folder.native()).second) {
            folders.insert(std::move(folder));
        }
    };
    std::vector<fs::path> temporaries;
    temporaries.reserve(staged_.size());
    for (const TStaged& staged : staged_) {
        if (staged.newFolder == kNoNewFolder) {
            changes(FolderOf(staged.target));
        }
        temporaries.push_back(staged.temporary);
    }
    std::vector<fs::path> madeFolders;
    for (const TNewFolder& folder : newFolders_) {
        changes(FolderOf(folder.target));
        madeFolders.push_back(folder.temporary);
    }
    // Every new content reaches the disk before any file is replaced, so a crash in the middle
    // of the renames leaves old or new files, each whole.
    if (const std::error_code error = SyncContents(temporaries, madeFolders, folders)) {
        for (std::size_t i = 0; i < staged_.size(); ++i) {
            failures.push_back({staged_[i].target, error, i});
        }
        Discard();
        return failures;
    }
    std::vector<std::error_code> errors(staged_.size());
    auto moveFile = [&](std::size_t i) {
        errors[i] = MoveIntoPlace(staged_[i].temporary, staged_[i].target);
        if (errors[i]) {
            RemoveTemporary(staged_[i].temporary);
        }
    };
    ForEachInParallel(staged_.size(), [&](std::size_t i) {
        if (staged_[i].newFolder == kNoNewFolder) {
            moveFile(i);
        }
    });
    for (std::size_t k = 0; k < newFolders_.size(); ++k) {
        const TNewFolder& folder = newFolders_[k];
        if (!MoveFolderIntoPlace(folder.temporary, folder.target)) {
            continue;
        }
        // Something took the folder's name meanwhile: its files go in one by one.
        std::error_code made;
        fs::create_directories(folder.target, made);
        for (std::size_t i = 0; i < staged_.size(); ++i) {
            if (staged_[i].newFolder == k) {
                if (made) {
                    errors[i] = made;
                    RemoveTemporary(staged_[i].temporary);
                } else {
                    moveFile(i);
                }
            }
        }
        std::error_code ec;
        fs::remove(folder.temporary, ec);
        changes(folder.target);
    }
    for (std::size_t i = 0; i < staged_.size(); ++i) {
        if (errors[i]) {
            failures.push_back({staged_[i].target, errors[i], i});
        }
    }
    staged_.clear();
    newFolders_.clear();
    newFolderIndex_.clear();
    // And the renames reach it before the batch is reported done.
    SyncRenames(folders);
    return failures;
}

bool detail::TKnownFolders::Contains(const fs::path& folder) const {
    const std::lock_guard<std::mutex> hold(lock_);
    return known_.contains(folder.native());
}

void detail::TKnownFolders::Add(const fs::path& folder) {
    const std::lock_guard<std::mutex> hold(lock_);
    known_.insert(folder.native());
}

} // namespace files
