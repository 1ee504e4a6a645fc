// TIniGT: the settings component. Each window that keeps settings has one (IniGT1); all of
// them name the same file, the program file's name with ".ini" in the program's folder.
//
// Settings are read and written one key at a time, straight from and to the file, so what
// one window writes the next read of another sees. Texts (section, key, value, file name)
// are CP932 bytes.
#pragma once

#include "settings/IniProfile.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace settings {

// Where a FileName without a folder is looked for.
enum class TIniGTDefaultDir {
    ddApplication, // the folder of the program file
    ddWindows,     // the Windows folder; elsewhere the per-user configuration folder
    ddNone,        // the bare name, relative to the current directory
};

// Why a settings write failed.
enum class TIniGTError {
    None,        // written
    NoFileName,  // FileName is empty, so there is no file to write
    BadName,     // the section or key name cannot be stored (empty, "]", "=", line break)
    BadValue,    // the value holds a line break or NUL
    ReadFailed,  // the file is there but unreadable, so it was left alone
    WriteFailed, // the file could not be written; the old file is intact
};

// The outcome of a settings write, with a message ready to show to the user.
struct TIniGTStatus {
    TIniGTError code = TIniGTError::None; // what happened
    std::string message;                  // CP932 text for the user; empty on success
    std::error_code system;               // the system's reason for ReadFailed and WriteFailed

    bool ok() const noexcept { return code == TIniGTError::None; }
    explicit operator bool() const noexcept { return ok(); }
};

// The value as read, unquoted: "" and "｢｣" (A2 A3) read as the empty text; a longer value
// enclosed in double quotes, or opening with "｢" and closing with the character "｣", loses
// its first and last byte; anything else stays as it is. Quoting keeps leading and trailing
// blanks, which the file's reader would otherwise trim.
std::string UnquoteSettingText(std::string_view value);

class TIniGT {
public:
    // FileName empty, DefaultDir ddApplication: call Loaded() to name the program's file.
    TIniGT() = default;
    explicit TIniGT(std::string_view fileName,
                    TIniGTDefaultDir defaultDir = TIniGTDefaultDir::ddApplication);

    // The settings file's name as set, with or without a folder (CP932).
    const std::string& FileName() const noexcept { return fileName_; }
    // Sets the name and resolves the file's full path by DefaultDir.
    void SetFileName(std::string_view fileName);

    // Where a name without a folder is looked for.
    TIniGTDefaultDir DefaultDir() const noexcept { return defaultDir_; }
    // Sets the folder kind and resolves the current FileName again.
    void SetDefaultDir(TIniGTDefaultDir defaultDir);

    // Called once the owning window has set the component's properties: an empty FileName
    // becomes the program file's full name with its extension changed to ".ini".
    void Loaded();

    // The file the component reads and writes; empty while FileName is empty.
    const std::filesystem::path& FilePath() const noexcept;

    // The stored decimal integer (optional sign, 32 bits), or defaultValue when the file,
    // section or key is missing or the value is not such a number.
    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
    // Stores value in decimal.
    [[nodiscard]] TIniGTStatus WriteInteger(std::string_view section, std::string_view key,
                                            int value);

    // The stored text, unquoted (UnquoteSettingText), or defaultValue unchanged.
    std::string ReadText(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
    // Stores value unchanged.
    [[nodiscard]] TIniGTStatus WriteText(std::string_view section, std::string_view key,
                                         std::string_view value);

private:
    void Resolve();
    TIniGTStatus Write(std::string_view section, std::string_view key, std::string_view value);

    std::string fileName_;                                          // FileName as set (CP932)
    std::filesystem::path namePath_;                                // FileName as a path
    TIniGTDefaultDir defaultDir_ = TIniGTDefaultDir::ddApplication; // DefaultDir
    std::optional<IniProfile> profile_; // the accessor of the resolved file, none without a name
};

} // namespace settings
