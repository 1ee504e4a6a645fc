#include "jvlink/standin/FileIo.h"

#include <atomic>
#include <fstream>
#include <random>
#include <system_error>

namespace standin {

namespace fs = std::filesystem;

std::optional<std::string> ReadWholeFile(const fs::path& file) {
    std::error_code error;
    if (!fs::is_regular_file(file, error)) {
        return std::nullopt; // a folder opens as a stream on some systems but cannot be read
    }
    try {
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            return std::nullopt;
        }
        std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (in.bad()) {
            return std::nullopt;
        }
        return bytes;
    } catch (const std::ios_base::failure&) {
        return std::nullopt; // the stream buffer reports a failed read by throwing
    }
}

bool WriteFileReplacing(const fs::path& file, std::string_view bytes) {
    std::error_code error;
    if (file.has_parent_path()) {
        fs::create_directories(file.parent_path(), error);
        if (error) {
            return false;
        }
    }
    // A name of its own per write, so two writers of one file never share a temporary.
    static std::atomic<unsigned> counter{0};
    static const unsigned process = std::random_device{}();
    fs::path temporary = file;
    temporary += ".part" + std::to_string(process) + "-" + std::to_string(counter++);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            return false;
        }
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            fs::remove(temporary, error);
            return false;
        }
    }
    fs::rename(temporary, file, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    return true;
}

fs::path PathFromUtf8(std::string_view utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string PathToUtf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace standin
