#include "jvlink/standin/StandInSettings.h"

#include "jvlink/standin/FileIo.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <limits>
#include <optional>
#include <vector>

namespace standin {

namespace fs = std::filesystem;

namespace {

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

// A whole decimal number (optional '-') within [low, high], or nothing.
std::optional<std::int64_t> ReadNumber(std::string_view text, std::int64_t low, std::int64_t high) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

// The words of the enumerated settings, as they stand in the file.
template <typename T>
struct TWord {
    T value;
    std::string_view word;
};
constexpr TWord<TDataSource> kSources[] = {{TDataSource::BuiltIn, "builtin"},
                                           {TDataSource::Folder, "folder"}};
constexpr TWord<TCorruption> kCorruptions[] = {
    {TCorruption::Short, "short"}, {TCorruption::Bytes, "bytes"}, {TCorruption::Path, "path"}};
constexpr TWord<TTimestampForm> kTimestampForms[] = {{TTimestampForm::Newest, "newest"},
                                                     {TTimestampForm::Blank, "blank"},
                                                     {TTimestampForm::Zeros, "zeros"}};

template <typename T, std::size_t N>
std::string_view WordOf(const TWord<T> (&words)[N], T value) {
    for (const auto& entry : words) {
        if (entry.value == value) {
            return entry.word;
        }
    }
    return words[0].word;
}

template <typename T, std::size_t N>
void ReadWord(const TWord<T> (&words)[N], std::string_view text, T& value) {
    const std::string lower = Lower(text);
    for (const auto& entry : words) {
        if (entry.word == lower) {
            value = entry.value;
            return;
        }
    }
}

constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kIntMax = std::numeric_limits<int>::max();

// An error code setting: 0 (off) or a negative code.
void ReadCode(std::string_view text, std::int32_t& value) {
    if (auto number = ReadNumber(text, kInt32Min, 0)) {
        value = static_cast<std::int32_t>(*number);
    }
}
void ReadCount(std::string_view text, int& value, std::int64_t high = kIntMax) {
    if (auto number = ReadNumber(text, 0, high)) {
        value = static_cast<int>(*number);
    }
}

// One "Key=Value" line applied to the settings.
void Apply(std::string_view key, std::string_view value, TStandInSettings& s) {
    const std::string k = Lower(key);
    TFaults& f = s.faults;
    if (k == "servicekey") {
        s.serviceKey = std::string(value);
    } else if (k == "datasource") {
        ReadWord(kSources, value, s.source);
    } else if (k == "datafolder") {
        s.dataFolder = std::string(value);
    } else if (k == "seed") {
        if (auto n = ReadNumber(value, 0, std::numeric_limits<std::uint32_t>::max())) {
            s.seed = static_cast<std::uint32_t>(*n);
        }
    } else if (k == "seasonweeks") {
        if (auto n = ReadNumber(value, 1, 104)) {
            s.seasonWeeks = static_cast<int>(*n);
        }
    } else if (k == "setupyears") {
        // A number outside the range is taken as the nearest end of it.
        if (auto n = ReadNumber(value, std::numeric_limits<std::int64_t>::min(),
                                std::numeric_limits<std::int64_t>::max())) {
            s.setupYears = static_cast<int>(std::clamp<std::int64_t>(*n, 0, kMaxSetupYears));
        }
    } else if (k == "cachefolder") {
        s.cacheFolder = std::string(value);
    } else if (k == "downloadmsperfile") {
        ReadCount(value, s.downloadMsPerFile, 60000);
    } else if (k == "version") {
        s.version = std::string(value);
    } else if (k == "faultinit") {
        ReadCode(value, f.initError);
    } else if (k == "faultopen") {
        ReadCode(value, f.openError);
    } else if (k == "faultopenempty") {
        if (auto n = ReadNumber(value, 0, 1)) {
            f.openEmpty = *n == 1;
        }
    } else if (k == "faultlastfiletimestamp") {
        ReadWord(kTimestampForms, value, f.lastFileTimestamp);
    } else if (k == "faultstatusafter") {
        if (auto n = ReadNumber(value, -1, kIntMax)) {
            f.statusFailAfter = static_cast<int>(*n);
        }
    } else if (k == "faultstatus") {
        ReadCode(value, f.statusError);
    } else if (k == "faultreadat") {
        ReadCount(value, f.readFailAt);
    } else if (k == "faultread") {
        ReadCode(value, f.readError);
    } else if (k == "faultcorruptat") {
        ReadCount(value, f.corruptAt);
    } else if (k == "faultcorruption") {
        ReadWord(kCorruptions, value, f.corruption);
    } else if (k == "faultclose") {
        ReadCode(value, f.closeError);
    }
}

#if defined(_WIN32)
fs::path EnvironmentPath(const wchar_t* name) {
    const wchar_t* value = _wgetenv(name);
    return value == nullptr ? fs::path() : fs::path(value);
}
#else
fs::path EnvironmentPath(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? fs::path() : fs::path(value);
}
#endif

} // namespace

fs::path DefaultSettingsFile() {
#if defined(_WIN32)
    fs::path base = EnvironmentPath(L"APPDATA");
#else
    // Only an absolute XDG_CONFIG_HOME counts; a relative one is to be ignored.
    fs::path base = EnvironmentPath("XDG_CONFIG_HOME");
    if (base.empty() || base.is_relative()) {
        const fs::path home = EnvironmentPath("HOME");
        base = home.empty() ? fs::path() : home / ".config";
    }
#endif
    if (base.empty()) {
        std::error_code error;
        base = fs::temp_directory_path(error);
    }
    return base / "tomberly" / "jvlink-standin.ini";
}

fs::path CacheFolderOf(const TStandInSettings& settings, const fs::path& settingsFile) {
    const fs::path beside = settingsFile.parent_path();
    if (Trim(settings.cacheFolder).empty()) {
        return beside / "jvlink-standin-data";
    }
    return beside / PathFromUtf8(settings.cacheFolder); // an absolute path replaces beside
}

std::string SettingsText(const TStandInSettings& s) {
    const TFaults& f = s.faults;
    std::string text;
    const auto line = [&text](std::string_view key, std::string_view value) {
        text.append(key).append("=");
        // A value is one line: a line break in it would start a line of its own.
        for (const char c : value) {
            text += (c == '\r' || c == '\n') ? ' ' : c;
        }
        text += '\n';
    };
    text += "# Stand-in JV-Link service settings (UTF-8, Key=Value)\n";
    line("ServiceKey", s.serviceKey);
    line("DataSource", WordOf(kSources, s.source));
    line("DataFolder", s.dataFolder);
    line("Seed", std::to_string(s.seed));
    line("SeasonWeeks", std::to_string(s.seasonWeeks));
    line("SetupYears", std::to_string(s.setupYears));
    line("CacheFolder", s.cacheFolder);
    line("DownloadMsPerFile", std::to_string(s.downloadMsPerFile));
    line("Version", s.version);
    text += "# Faults on demand: 0 is off\n";
    line("FaultInit", std::to_string(f.initError));
    line("FaultOpen", std::to_string(f.openError));
    line("FaultOpenEmpty", f.openEmpty ? "1" : "0");
    line("FaultLastFileTimestamp", WordOf(kTimestampForms, f.lastFileTimestamp));
    line("FaultStatusAfter", std::to_string(f.statusFailAfter));
    line("FaultStatus", std::to_string(f.statusError));
    line("FaultReadAt", std::to_string(f.readFailAt));
    line("FaultRead", std::to_string(f.readError));
    line("FaultCorruptAt", std::to_string(f.corruptAt));
    line("FaultCorruption", WordOf(kCorruptions, f.corruption));
    line("FaultClose", std::to_string(f.closeError));
    return text;
}

TStandInSettings ParseSettings(std::string_view text) {
    TStandInSettings settings;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3); // a byte order mark from an editor
    }
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == '#' || line.front() == ';') {
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            continue;
        }
        Apply(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)), settings);
    }
    return settings;
}

TStandInSettings LoadSettings(const fs::path& file) {
    const auto text = ReadWholeFile(file);
    return text ? ParseSettings(*text) : TStandInSettings{};
}

bool SaveSettings(const fs::path& file, const TStandInSettings& settings) {
    return WriteFileReplacing(file, SettingsText(settings));
}

} // namespace standin
