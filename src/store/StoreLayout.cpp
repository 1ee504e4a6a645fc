#include "store/StoreLayout.h"

#include "files/ProgramFolder.h"
#include "files/WholeFile.h"
#include "jvdata/KeibaFunc.h"
#include "jvdata/SjisText.h"

#include <algorithm>

namespace store {

namespace fs = std::filesystem;

namespace {

// CP932 texts of the names, converted once.
const std::string& Year() {
    static const std::string text = Sjis::FromUtf8("年");
    return text;
}
const std::string& Month() {
    static const std::string text = Sjis::FromUtf8("月");
    return text;
}
const std::string& Day() {
    static const std::string text = Sjis::FromUtf8("日");
    return text;
}

bool IsAllBlanks(std::string_view line) noexcept {
    return line.find_first_not_of(' ') == std::string_view::npos;
}

} // namespace

std::string_view StoreExtension(TStoreFileKind kind) noexcept {
    switch (kind) {
    case TStoreFileKind::RaceDayRaces:
        return ".jvRA";
    case TStoreFileKind::RunnerSlots:
        return ".jvSEr";
    case TStoreFileKind::RaceDayPayoffs:
        return ".jvHR";
    case TStoreFileKind::Results:
        return ".jvSERA";
    case TStoreFileKind::HorseHistory:
        return ".jvSEI";
    case TStoreFileKind::HorseMaster:
        return ".jvUM2";
    case TStoreFileKind::CourseRecord:
        return ".jvRC";
    }
    return {};
}

std::size_t StoreLineLength(TStoreFileKind kind) noexcept {
    switch (kind) {
    case TStoreFileKind::RaceDayRaces:
    case TStoreFileKind::Results:
        return 1270;
    case TStoreFileKind::RunnerSlots:
    case TStoreFileKind::HorseHistory:
        return 553;
    case TStoreFileKind::RaceDayPayoffs:
        return 717;
    case TStoreFileKind::HorseMaster:
        return 1607;
    case TStoreFileKind::CourseRecord:
        return 499;
    }
    return 0;
}

TStoreUpdate StoreUpdateOf(TStoreFileKind kind) noexcept {
    switch (kind) {
    case TStoreFileKind::RunnerSlots:
        return TStoreUpdate::SlotWrite;
    case TStoreFileKind::HorseMaster:
    case TStoreFileKind::CourseRecord:
        return TStoreUpdate::Replace;
    default:
        return TStoreUpdate::KeyedMerge;
    }
}

bool StoresZeroedHeader(TStoreFileKind kind) noexcept {
    return kind == TStoreFileKind::RaceDayRaces || kind == TStoreFileKind::RaceDayPayoffs ||
           kind == TStoreFileKind::Results || kind == TStoreFileKind::HorseHistory;
}

fs::path StoreFolderPath(const fs::path& root, std::string_view folder) {
    return root / files::PathFromText(folder);
}

fs::path StorePath(const fs::path& root, const TStoreFile& file) {
    return StoreFolderPath(root, file.folder) / files::PathFromText(file.name);
}

bool IsDigitText(std::string_view text, std::size_t count) noexcept {
    return text.size() == count &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsCodeText(std::string_view text, std::size_t count) noexcept {
    return text.size() == count && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z');
           });
}

std::optional<std::string> RaceDayBaseName(std::string_view dateAndCourse) {
    if (dateAndCourse.size() != 10 || !IsDigitText(dateAndCourse.substr(0, 8), 8) ||
        !IsCodeText(dateAndCourse.substr(8, 2), 2)) {
        return std::nullopt;
    }
    // Width 2 always gives four bytes: two full-width characters, or blanks for a code
    // the table does not list.
    const std::string course = KeibaFunc::CourseName(dateAndCourse.substr(8, 2), 2).value_or("");
    std::string name;
    name.reserve(18);
    name.append(dateAndCourse.substr(0, 4)).append(Year());
    name.append(dateAndCourse.substr(4, 2)).append(Month());
    name.append(dateAndCourse.substr(6, 2)).append(Day());
    name.append(course);
    return name;
}

std::optional<TStoreFile> RaceDayFile(TStoreFileKind kind, std::string_view dateAndCourse) {
    if (kind != TStoreFileKind::RaceDayRaces && kind != TStoreFileKind::RunnerSlots &&
        kind != TStoreFileKind::RaceDayPayoffs) {
        return std::nullopt;
    }
    auto base = RaceDayBaseName(dateAndCourse);
    if (!base) {
        return std::nullopt;
    }
    return TStoreFile{kind, std::string(kDataFolder), *base + std::string(StoreExtension(kind))};
}

std::optional<TStoreFile> ResultFile(std::string_view dateAndCourse) {
    if (dateAndCourse.size() != 10 || !IsDigitText(dateAndCourse.substr(0, 8), 8) ||
        !IsCodeText(dateAndCourse.substr(8, 2), 2)) {
        return std::nullopt;
    }
    return TStoreFile{TStoreFileKind::Results,
                      std::string(kResultFolder) + "\\" + std::string(dateAndCourse.substr(0, 4)),
                      std::string(dateAndCourse) + ".jvSERA"};
}

namespace {

std::optional<TStoreFile> HorseFile(TStoreFileKind kind, std::string_view folder,
                                    std::string_view number) {
    if (!IsDigitText(number, 10)) {
        return std::nullopt;
    }
    return TStoreFile{kind, std::string(folder) + "\\" + std::string(number.substr(0, 4)),
                      std::string(number) + std::string(StoreExtension(kind))};
}

} // namespace

std::optional<TStoreFile> HorseHistoryFile(std::string_view registrationNumber) {
    return HorseFile(TStoreFileKind::HorseHistory, kHistoryFolder, registrationNumber);
}

std::optional<TStoreFile> HorseMasterFile(std::string_view registrationNumber) {
    return HorseFile(TStoreFileKind::HorseMaster, kHorseMasterFolder, registrationNumber);
}

std::optional<TStoreFile> CourseRecordFile(std::string_view idKind, std::string_view course,
                                           std::string_view raceType, std::string_view distance,
                                           std::string_view track) {
    if (!IsDigitText(idKind, 1) || !IsCodeText(course, 2) || !IsCodeText(raceType, 2) ||
        !IsDigitText(distance, 4) || !IsCodeText(track, 2)) {
        return std::nullopt;
    }
    std::string name;
    name.append(idKind).append(course).append(raceType).append(distance).append(track);
    name.append(".jvRC");
    return TStoreFile{TStoreFileKind::CourseRecord, std::string(kCourseRecordFolder), name};
}

std::optional<std::size_t> RunnerSlot(int race, int horse) noexcept {
    if (race < 1 || race > kSlotRaces || horse < 1 || horse > kSlotRunners) {
        return std::nullopt;
    }
    return static_cast<std::size_t>((race - 1) * kSlotRunners + (horse - 1));
}

std::vector<std::string> NewSlotFile() {
    return std::vector<std::string>(kSlotLines, std::string(kSlotLineLength, ' '));
}

std::vector<std::string> SplitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (p < end) {
        const char* stop = p;
        while (stop < end && *stop != '\r' && *stop != '\n') {
            ++stop;
        }
        lines.emplace_back(p, stop);
        if (stop == end) {
            break;
        }
        p = stop + 1;
        if (*stop == '\r' && p < end && *p == '\n') {
            ++p;
        }
    }
    return lines;
}

std::size_t JoinedSize(const std::vector<std::string>& lines) noexcept {
    std::size_t size = 0;
    for (const auto& line : lines) {
        size += line.size() + 2;
    }
    return size;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string bytes;
    bytes.reserve(JoinedSize(lines));
    for (const auto& line : lines) {
        bytes.append(line).append("\r\n");
    }
    return bytes;
}

std::string_view LineRaceKey(std::string_view line) noexcept {
    if (line.size() <= 11) {
        return {};
    }
    return line.substr(11, 16);
}

void KeyedMerge(std::vector<std::string>& lines, std::string_view line, bool dropBlankFirst) {
    const std::string_view key = LineRaceKey(line);
    auto same = std::find_if(lines.begin(), lines.end(),
                             [key](const std::string& l) { return LineRaceKey(l) == key; });
    if (same != lines.end()) {
        same->assign(line);
    } else {
        lines.emplace_back(line);
    }
    // The sorted order of a set of lines is unique, so a file sorted once stays in the same
    // order whatever order its records came in.
    std::sort(lines.begin(), lines.end());
    if (dropBlankFirst && !lines.empty() && IsAllBlanks(lines.front())) {
        lines.erase(lines.begin());
    }
}

void SlotWrite(std::vector<std::string>& lines, std::size_t slot, std::string_view line) {
    if (lines.size() < kSlotLines) {
        lines.resize(kSlotLines, std::string(kSlotLineLength, ' '));
    }
    if (slot >= lines.size()) {
        return; // no slot beyond the file's 216 lines is ever asked for
    }
    lines[slot].assign(line);
}

void ApplyLine(TStoreFileKind kind, std::vector<std::string>& lines, bool exists,
               std::string_view line, std::size_t slot) {
    switch (StoreUpdateOf(kind)) {
    case TStoreUpdate::KeyedMerge:
        KeyedMerge(lines, line, kind == TStoreFileKind::RaceDayRaces);
        break;
    case TStoreUpdate::SlotWrite:
        if (!exists) {
            lines = NewSlotFile();
        }
        SlotWrite(lines, slot, line);
        break;
    case TStoreUpdate::Replace:
        lines.assign(1, std::string(line));
        break;
    }
}

std::optional<std::string> ClashingKey(TStoreFileKind kind, const std::vector<std::string>& lines,
                                       std::string_view line, std::size_t slot) {
    if (kind != TStoreFileKind::RaceDayRaces && kind != TStoreFileKind::RunnerSlots &&
        kind != TStoreFileKind::RaceDayPayoffs) {
        return std::nullopt;
    }
    constexpr std::size_t kKeyEnd = 27;    // bytes 12-27: the race key
    constexpr std::size_t kDayLength = 10; // bytes 12-21: date and racecourse code
    if (line.size() < kKeyEnd) {
        return std::nullopt;
    }
    const std::string_view key = LineRaceKey(line);
    auto other = [&](std::string_view held) -> std::optional<std::string> {
        if (held.size() < kKeyEnd || IsAllBlanks(held)) {
            return std::nullopt;
        }
        const std::string_view heldKey = LineRaceKey(held);
        const bool otherDay = heldKey.substr(0, kDayLength) != key.substr(0, kDayLength);
        return otherDay ? std::optional<std::string>(heldKey) : std::nullopt;
    };
    if (kind == TStoreFileKind::RunnerSlots && slot < lines.size()) {
        const std::string& held = lines[slot];
        if (held.size() >= kKeyEnd && !IsAllBlanks(held) && LineRaceKey(held) != key) {
            return std::string(LineRaceKey(held));
        }
    }
    for (const std::string& held : lines) {
        if (auto clash = other(held)) {
            return clash;
        }
    }
    return std::nullopt;
}

std::vector<TStoreFile> RaceDaySiblings(const TStoreFile& file) {
    const std::string_view extension = StoreExtension(file.kind);
    if ((file.kind != TStoreFileKind::RaceDayRaces && file.kind != TStoreFileKind::RunnerSlots &&
         file.kind != TStoreFileKind::RaceDayPayoffs) ||
        !file.name.ends_with(extension)) {
        return {};
    }
    const std::string base = file.name.substr(0, file.name.size() - extension.size());
    std::vector<TStoreFile> siblings;
    for (const TStoreFileKind kind : {TStoreFileKind::RaceDayRaces, TStoreFileKind::RunnerSlots,
                                      TStoreFileKind::RaceDayPayoffs}) {
        siblings.push_back({kind, file.folder, base + std::string(StoreExtension(kind))});
    }
    return siblings;
}

TStoreFoldersResult CreateStoreFolders(const fs::path& dataRoot) {
    static const std::string prefix = Sjis::FromUtf8("フォルダを作成できません:");
    for (std::string_view folder : kStoreFolders) {
        const fs::path path = dataRoot / std::string(folder);
        std::error_code error;
        if (fs::is_directory(path, error)) {
            continue;
        }
        error.clear();
        fs::create_directory(path, error);
        if (!error && !fs::is_directory(path, error)) {
            error = std::make_error_code(std::errc::not_a_directory);
        }
        if (error) {
            TStoreFoldersResult result;
            result.ok = false;
            result.folder = std::string(folder);
            result.path = path;
            result.error = error;
            result.message =
                prefix + files::TextFromPath(path) + " (" + files::SystemErrorText(error) + ")";
            return result;
        }
    }
    return {};
}

} // namespace store
