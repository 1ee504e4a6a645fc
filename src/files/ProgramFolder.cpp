#include "files/ProgramFolder.h"

#include "jvdata/SjisText.h"

#include <cstdlib>
#include <system_error>

#if defined(_WIN32)
#include <windows.h>
#else
#include <pwd.h>
#include <unistd.h>
#endif

namespace files {

namespace fs = std::filesystem;

namespace {

fs::path FromUtf8Bytes(std::string_view utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::optional<std::string> Utf8Bytes(const fs::path& path) {
    try {
        const std::u8string utf8 = path.u8string();
        return std::string(utf8.begin(), utf8.end());
    } catch (const std::exception&) {
        // A Windows name with an unpaired surrogate has no UTF-8 form.
        return std::nullopt;
    }
}

fs::path FallbackProgramFile() {
    std::error_code ec;
    fs::path folder = fs::current_path(ec);
    return folder / fs::path(std::string(kFallbackProgramName));
}

fs::path FindProgramFile() {
#if defined(_WIN32)
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0) {
            return FallbackProgramFile();
        }
        if (length < size) {
            buffer.resize(length);
            return fs::path(buffer);
        }
        // Truncated: the path is longer than the buffer.
        if (buffer.size() >= 32768) {
            return FallbackProgramFile();
        }
        buffer.resize(buffer.size() * 2);
    }
#elif defined(__linux__)
    std::error_code ec;
    fs::path file = fs::read_symlink("/proc/self/exe", ec);
    if (ec || file.empty()) {
        return FallbackProgramFile();
    }
    // A program file replaced while it runs is shown with this suffix.
    std::string native = file.native();
    constexpr std::string_view deleted = " (deleted)";
    if (native.size() > deleted.size() && native.ends_with(deleted)) {
        native.resize(native.size() - deleted.size());
        file = native;
    }
    return file;
#else
    return FallbackProgramFile();
#endif
}

} // namespace

const fs::path& ProgramFile() {
    static const fs::path file = FindProgramFile();
    return file;
}

fs::path ProgramFolder() {
    return ProgramFile().parent_path();
}

fs::path WindowsFolder() {
#if defined(_WIN32)
    const UINT needed = GetWindowsDirectoryW(nullptr, 0);
    if (needed == 0) {
        return fs::path(L"C:\\Windows");
    }
    std::wstring buffer(needed, L'\0');
    const UINT length = GetWindowsDirectoryW(buffer.data(), needed);
    if (length == 0 || length >= needed) {
        return fs::path(L"C:\\Windows");
    }
    buffer.resize(length);
    return fs::path(buffer);
#else
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/') {
        return fs::path(config);
    }
    if (const char* home = std::getenv("HOME"); home && home[0] == '/') {
        return fs::path(home) / ".config";
    }
    if (const passwd* user = getpwuid(getuid()); user && user->pw_dir && user->pw_dir[0] == '/') {
        return fs::path(user->pw_dir) / ".config";
    }
    std::error_code ec;
    return fs::current_path(ec);
#endif
}

fs::path PathFromText(std::string_view sjis) {
    std::string text(sjis);
#if !defined(_WIN32)
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t bytes = Sjis::CharBytesAt(text, pos);
        if (bytes == 1 && text[pos] == '\\') {
            text[pos] = '/';
        }
        pos += bytes;
    }
#endif
    return FromUtf8Bytes(Sjis::ToUtf8(text));
}

std::string TextFromPath(const fs::path& given) {
    fs::path path = given;
    path.make_preferred();
    if (auto utf8 = Utf8Bytes(path)) {
        return Sjis::FromUtf8(*utf8);
    }
#if defined(_WIN32)
    // Unpaired surrogates become '?', the rest of the name is kept.
    std::wstring wide = path.native();
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const wchar_t c = wide[i];
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        const bool low = c >= 0xDC00 && c <= 0xDFFF;
        if (high && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF) {
            ++i;
        } else if (high || low) {
            wide[i] = L'?';
        }
    }
    if (auto utf8 = Utf8Bytes(fs::path(wide))) {
        return Sjis::FromUtf8(*utf8);
    }
#endif
    return std::string(1, Sjis::kSjisReplacement);
}

std::optional<std::string> TryTextFromPath(const fs::path& given) {
    fs::path path = given;
    path.make_preferred();
    if (auto utf8 = Utf8Bytes(path)) {
        return Sjis::TryFromUtf8(*utf8);
    }
    return std::nullopt;
}

} // namespace files
