// Helpers shared by the test executables.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace keiba::test {

// A fresh empty folder under the system temporary folder, removed with everything in it when
// the value goes out of scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const noexcept { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// Whole-file helpers for fixtures: bytes in, bytes out, no newline translation.
std::string ReadFileBytes(const std::filesystem::path& file);
void WriteFileBytes(const std::filesystem::path& file, std::string_view bytes);

// A UTF-8 text typed in a test turned into the Shift-JIS bytes the program works with.
std::string S(std::string_view utf8);

// Shift-JIS bytes shown as readable UTF-8 in assertion messages, with the byte length.
std::string Show(std::string_view sjis);

} // namespace keiba::test
