// Whole-file reads and crash-safe whole-file replacement, for small files that the program
// rewrites in one piece (the settings file).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace files {

// What reading a whole file found.
enum class FileReadStatus {
    Read,    // the file was read; bytes holds it
    Missing, // no such file (nor, perhaps, its folder)
    Failed,  // the file is there but could not be read (a folder, no permission, an I/O error)
};

// The bytes of a file as they are on disk, no newline translation.
struct FileReadResult {
    FileReadStatus status = FileReadStatus::Missing; // what was found
    std::string bytes;                               // the content when Read
    std::error_code error;                           // the system's reason when Failed
};

// Reads the whole file. Other processes may rename a new file over it meanwhile (on Windows
// the file is opened with delete sharing, so it never blocks such a replacement).
FileReadResult ReadWholeFile(const std::filesystem::path& file);

// Replaces the file's content by bytes so that the file is at every moment either the old or
// the new content, never a part: the bytes go to a new temporary file in the same folder,
// which is flushed to disk and then renamed over the old file. A symbolic link is followed
// and its target replaced. The old file's permissions (attributes on Windows) carry over; a
// read-only old file is refused, as an in-place write would be. With createFolder, a missing
// folder is created first. Returns the system's reason on failure (the old file is then
// untouched and no temporary file is left), an empty code on success.
std::error_code ReplaceWholeFile(const std::filesystem::path& file, std::string_view bytes,
                                 bool createFolder = false);

// The system's description of an error as CP932 text, without a trailing line end.
std::string SystemErrorText(const std::error_code& error);

} // namespace files
