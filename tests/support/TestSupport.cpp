#include "TestSupport.h"

#include "jvdata/SjisText.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <random>
#include <stdexcept>

namespace keiba::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    std::random_device device;
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto name = "keiba-test-" + std::to_string(device()) + "-" +
                          std::to_string(stamp % 1000000) + "-" + std::to_string(counter++);
        fs::path candidate = fs::temp_directory_path() / name;
        if (fs::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ignored;
    // Tests may leave read-only folders behind (unwritable-folder cases): make them writable.
    for (auto it = fs::recursive_directory_iterator(path_, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
}

std::string ReadFileBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot open " + file.string());
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const fs::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

std::string S(std::string_view utf8) {
    auto sjis = Sjis::TryFromUtf8(utf8);
    if (!sjis) {
        throw std::invalid_argument("test text has no Shift-JIS form: " + std::string(utf8));
    }
    return *sjis;
}

std::string Show(std::string_view sjis) {
    return "\"" + Sjis::ToUtf8(sjis) + "\" (" + std::to_string(sjis.size()) + " bytes)";
}

} // namespace keiba::test
