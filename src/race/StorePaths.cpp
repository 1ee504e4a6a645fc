#include "race/StorePaths.h"

#include "horse/HorseMasterConversion.h"
#include "jvdata/SjisText.h"
#include "shell/ProgramFolder.h"

#include <algorithm>
#include <string>

namespace race {

namespace fs = std::filesystem;

namespace {

bool IsDigits(std::string_view text, std::size_t width) {
    return text.size() == width &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsCodeText(std::string_view text, std::size_t width) {
    return text.size() == width && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
           });
}

// A date-list entry that may stand as a file's base name: not empty, no separator ("\" or "/"
// as a character, never the second byte of a kanji), no drive colon, no control byte, and not
// a name of dots only.
bool IsEntryName(std::string_view entry) {
    if (entry.empty() || entry.find_first_not_of('.') == std::string_view::npos) {
        return false;
    }
    for (std::size_t pos = 0; pos < entry.size();) {
        const std::size_t bytes = Sjis::CharBytesAt(entry, pos);
        if (bytes == 1) {
            const auto c = static_cast<unsigned char>(entry[pos]);
            if (c < 0x20 || c == 0x7F || c == '\\' || c == '/' || c == ':') {
                return false;
            }
        }
        pos += bytes;
    }
    return true;
}

// dataRoot joined with a path text relative to it (Shift-JIS, "\" between folders).
fs::path UnderRoot(const fs::path& dataRoot, const std::string& relative) {
    return dataRoot / shell::PathFromText(relative);
}

} // namespace

std::optional<fs::path> RaceDayFilePath(const fs::path& dataRoot, std::string_view entry,
                                        TRaceDayFileKind kind) {
    if (!IsEntryName(entry)) {
        return std::nullopt;
    }
    std::string_view extension;
    switch (kind) {
    case TRaceDayFileKind::Races:
        extension = ".jvRA";
        break;
    case TRaceDayFileKind::RunnerSlots:
        extension = ".jvSEr";
        break;
    case TRaceDayFileKind::Payoffs:
        extension = ".jvHR";
        break;
    }
    return UnderRoot(dataRoot, "DATA\\" + std::string(entry) + std::string(extension));
}

std::optional<fs::path> CourseRecordFilePath(const fs::path& dataRoot, std::string_view courseCode,
                                             std::string_view raceTypeCode,
                                             std::string_view distance,
                                             std::string_view trackCode) {
    if (!IsCodeText(courseCode, 2) || !IsCodeText(raceTypeCode, 2) || !IsCodeText(distance, 4) ||
        !IsCodeText(trackCode, 2)) {
        return std::nullopt;
    }
    return UnderRoot(dataRoot, "REC\\1" + std::string(courseCode) + std::string(raceTypeCode) +
                                   std::string(distance) + std::string(trackCode) + ".jvRC");
}

std::optional<fs::path> HorseHistoryFilePath(const fs::path& dataRoot,
                                             std::string_view registrationNumber) {
    if (!horse::IsRegistrationNumber(registrationNumber)) {
        return std::nullopt;
    }
    const std::string number(registrationNumber);
    return UnderRoot(dataRoot, "SEI\\" + number.substr(0, 4) + "\\" + number + ".jvSEI");
}

std::optional<fs::path> ResultFilePath(const fs::path& dataRoot, std::string_view year,
                                       std::string_view monthDay, std::string_view courseCode) {
    if (!IsDigits(year, 4) || !IsDigits(monthDay, 4) || !IsCodeText(courseCode, 2)) {
        return std::nullopt;
    }
    const std::string y(year);
    return UnderRoot(dataRoot, "SEIR\\" + y + "\\" + y + std::string(monthDay) +
                                   std::string(courseCode) + ".jvSERA");
}

} // namespace race
