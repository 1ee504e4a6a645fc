// Where the program lives, and the edge between Shift-JIS path texts and file-system paths.
//
// The data root folder is the folder of the program file: the store folders, the help file
// and the settings file all hang from it. Path texts of the core are CP932 bytes like every
// other text; they become std::filesystem::path only here, at the file-system edge, through
// UTF-8 (on Windows the path is then wide, on other systems the UTF-8 bytes are the name).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace files {

// Full path of the running program file (Windows: GetModuleFileNameW; Linux: /proc/self/exe).
// When the system cannot tell, the current directory followed by kFallbackProgramName.
// Fixed for the run: the first answer is kept.
const std::filesystem::path& ProgramFile();

// Folder of the program file, without a trailing separator.
std::filesystem::path ProgramFolder();

// File name used for the program file when the system cannot tell its path.
#if defined(_WIN32)
inline constexpr std::string_view kFallbackProgramName = "tomberly.exe";
#else
inline constexpr std::string_view kFallbackProgramName = "tomberly";
#endif

// The system folder that profile files without a folder go to: on Windows the Windows folder
// (GetWindowsDirectoryW); elsewhere the per-user configuration folder, $XDG_CONFIG_HOME when
// it is an absolute path, otherwise the home folder's ".config".
std::filesystem::path WindowsFolder();

// A CP932 path text as a file-system path. "\" and "/" both separate folders (only where
// they stand as characters, never as the second byte of a kanji such as "表"); elsewhere
// than on Windows "\" is turned into "/", so texts built as root + "\DATA" work everywhere.
std::filesystem::path PathFromText(std::string_view sjis);

// A file-system path as CP932 text in the system's own separators; characters that CP932
// cannot show become '?'.
std::string TextFromPath(const std::filesystem::path& path);

// As TextFromPath, but nothing when some character has no CP932 form.
std::optional<std::string> TryTextFromPath(const std::filesystem::path& path);

} // namespace files
