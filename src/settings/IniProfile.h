// The INI profile accessor: reads and writes one key of a settings file the way the Windows
// profile functions do, on CP932 text.
//
// File form: a line "[section]" opens a section, lines "key=value" follow. Section and key
// names compare without regard to ASCII letter case (two-byte characters compare exactly);
// blanks and tabs around names and values are ignored; the first matching section, and in it
// the first matching key, wins; lines without "=" and lines starting with ";" are no keys.
// Lines end in CR LF, LF or CR; a UTF-8 byte-order mark at the start is skipped.
//
// Nothing is cached: every read reads the file and every write rewrites it at once, so one
// accessor sees what another wrote a moment before.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace settings {

// ---- The file's text ----------------------------------------------------------------------

// True when two section or key names are the same: ASCII letters without regard to case,
// every other character (and both bytes of a two-byte one) exactly.
bool ProfileNamesEqual(std::string_view a, std::string_view b) noexcept;

// The value of key in the first section named section (names trimmed, values trimmed);
// nothing when the section or key is missing.
std::optional<std::string_view> FindProfileValue(std::string_view content, std::string_view section,
                                                 std::string_view key) noexcept;

// The content with key set to value in the first section named section: the first matching
// key line becomes "key=value" (the key as the file spells it); a new key goes after the last
// key of its section, a new section to the end of the file. Everything else stays byte for
// byte; new lines end in CR LF. Names must pass the checks below.
std::string SetProfileValue(std::string_view content, std::string_view section,
                            std::string_view key, std::string_view value);

// Whether a name or value can be written so that it reads back as itself: a section name
// without "]", a key without "=" that does not start with ";" or "[", neither empty after
// trimming; no CR, LF or NUL in any of them.
bool IsProfileSectionName(std::string_view section);
bool IsProfileKeyName(std::string_view key);
bool IsProfileValue(std::string_view value) noexcept;

// ---- The file -----------------------------------------------------------------------------

// How a profile write ended.
enum class ProfileWriteStatus {
    Written,     // the file holds the value
    BadName,     // the section or key name cannot be written
    BadValue,    // the value holds a line break or NUL
    ReadFailed,  // the file exists but cannot be read, so it was left alone
    WriteFailed, // the new file could not be written or put in place; the old one is intact
};

// The outcome of a profile write, with the system's reason for the two file failures.
struct ProfileWriteResult {
    ProfileWriteStatus status = ProfileWriteStatus::Written;
    std::error_code error;
};

// One settings file.
class IniProfile {
public:
    // createFolder: a write first creates the file's folder when it is missing.
    explicit IniProfile(std::filesystem::path file, bool createFolder = false);

    // The file this accessor reads and writes.
    const std::filesystem::path& File() const noexcept { return file_; }

    // The stored value (trimmed, CP932), or nothing when the file, section or key is
    // missing or the file cannot be read.
    std::optional<std::string> ReadValue(std::string_view section, std::string_view key) const;

    // The stored value, or defaultValue.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;

    // Stores value under key, creating the file, section or key as needed; the file is
    // replaced whole and atomically (a failed write leaves the old file as it was).
    ProfileWriteResult WriteString(std::string_view section, std::string_view key,
                                   std::string_view value) const;

private:
    std::filesystem::path file_;
    bool createFolder_ = false;
};

} // namespace settings
