// Whole-file reads and writes of the stand-in component (settings, catalogue folders, the
// download cache).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace standin {

// The file's bytes, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& file);

// Writes bytes to a temporary file beside the target and then puts it in the target's place,
// so a reader never sees half a file and a failed write leaves the old file as it was.
// Creates missing parent folders. False on any failure.
bool WriteFileReplacing(const std::filesystem::path& file, std::string_view bytes);

// Paths held as text (settings, messages) are UTF-8 on every platform.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string PathToUtf8(const std::filesystem::path& path);

} // namespace standin
