#include "files/WholeFile.h"

#include "jvdata/SjisText.h"

#include <algorithm>
#include <atomic>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace files {

namespace fs = std::filesystem;

namespace {

// Distinguishes the temporary files of several writes of one process.
std::atomic<unsigned> temporaryCounter{0};

// The file that a write really replaces: the target of a symbolic link, else the file itself.
fs::path ReplacedFile(const fs::path& file) {
    std::error_code ec;
    if (!fs::is_symlink(file, ec)) {
        return file;
    }
    fs::path target = fs::weakly_canonical(file, ec);
    return ec ? file : target;
}

// The folder the file lies in; the current directory for a bare name.
fs::path FolderOf(const fs::path& file) {
    fs::path folder = file.parent_path();
    return folder.empty() ? fs::path(".") : folder;
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

} // namespace

#if defined(_WIN32)

FileReadResult ReadWholeFile(const fs::path& file) {
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
    LARGE_INTEGER size{};
    if (GetFileSizeEx(handle, &size) && size.QuadPart > 0) {
        result.bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    }
    char buffer[16384];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(handle, buffer, sizeof buffer, &got, nullptr)) {
            result.status = FileReadStatus::Failed;
            result.error = LastError();
            result.bytes.clear();
            CloseHandle(handle);
            return result;
        }
        if (got == 0) {
            break;
        }
        result.bytes.append(buffer, got);
    }
    CloseHandle(handle);
    result.status = FileReadStatus::Read;
    return result;
}

std::error_code ReplaceWholeFile(const fs::path& file, std::string_view bytes, bool createFolder) {
    const fs::path target = ReplacedFile(file);
    const fs::path folder = FolderOf(target);
    if (createFolder) {
        std::error_code ec;
        fs::create_directories(folder, ec);
        if (ec) {
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

    fs::path temporary;
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
    if (!error && !FlushFileBuffers(handle)) {
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
    if (!error) {
        // A reader of another program (a virus scanner, an editor) may hold the old file
        // open for a moment without delete sharing: try again briefly before giving up.
        for (int attempt = 0;; ++attempt) {
            if (MoveFileExW(temporary.c_str(), target.c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
                return {};
            }
            const DWORD code = GetLastError();
            const bool busy = code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION ||
                              code == ERROR_ACCESS_DENIED;
            if (!busy || attempt >= 10) {
                error = {static_cast<int>(code), std::system_category()};
                break;
            }
            Sleep(50);
        }
    }
    DeleteFileW(temporary.c_str());
    return error;
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

FileReadResult ReadWholeFile(const fs::path& file) {
    FileReadResult result;
    int fd;
    do {
        fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
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
    struct stat info {};
    if (fstat(fd, &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            close(fd);
            result.status = FileReadStatus::Failed;
            result.error = std::make_error_code(std::errc::is_a_directory);
            return result;
        }
        if (info.st_size > 0) {
            result.bytes.reserve(static_cast<std::size_t>(info.st_size));
        }
    }
    char buffer[16384];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            result.status = FileReadStatus::Failed;
            result.error = Errno();
            result.bytes.clear();
            close(fd);
            return result;
        }
        if (got == 0) {
            break;
        }
        result.bytes.append(buffer, static_cast<std::size_t>(got));
    }
    close(fd);
    result.status = FileReadStatus::Read;
    return result;
}

std::error_code ReplaceWholeFile(const fs::path& file, std::string_view bytes, bool createFolder) {
    const fs::path target = ReplacedFile(file);
    const fs::path folder = FolderOf(target);
    if (createFolder) {
        std::error_code ec;
        fs::create_directories(folder, ec);
        if (ec) {
            return ec;
        }
    }

    mode_t mode = 0666; // narrowed by the umask for a new file
    bool keepMode = false;
    struct stat old {};
    if (stat(target.c_str(), &old) == 0) {
        if (S_ISDIR(old.st_mode)) {
            return std::make_error_code(std::errc::is_a_directory);
        }
        if (!S_ISREG(old.st_mode)) {
            return std::make_error_code(std::errc::invalid_argument);
        }
        if (access(target.c_str(), W_OK) != 0) {
            return Errno();
        }
        mode = old.st_mode & 07777;
        keepMode = true;
    }

    fs::path temporary;
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
    if (!error && fsync(fd) != 0) {
        error = Errno();
    }
    if (close(fd) != 0 && !error) {
        error = Errno();
    }
    if (!error && rename(temporary.c_str(), target.c_str()) != 0) {
        error = Errno();
    }
    if (error) {
        unlink(temporary.c_str());
        return error;
    }
    // Make the rename itself durable; the new content is already on disk.
    const int folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        fsync(folderFd);
        close(folderFd);
    }
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

} // namespace files
