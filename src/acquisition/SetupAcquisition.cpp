#include "acquisition/SetupAcquisition.h"

#include "jvdata/SjisText.h"
#include "store/StoreLayout.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <span>
#include <system_error>

namespace acquisition {

namespace fs = std::filesystem;

namespace {

// The file name's extension, lower-cased: names are compared without regard to letter case.
std::string LowerExtension(const fs::path& file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

// Whether a regular file with one of the extensions (lower case) lies directly in folder;
// nothing when the folder is there but cannot be listed.
std::optional<bool> HasFileWith(const fs::path& folder, std::span<const std::string_view> kinds) {
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error) {
        if (error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory) {
            return false;
        }
        return std::nullopt;
    }
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error) {
            return std::nullopt;
        }
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) {
            continue;
        }
        const std::string extension = LowerExtension(it->path());
        if (std::find(kinds.begin(), kinds.end(), extension) != kinds.end()) {
            return true;
        }
    }
    return false;
}

} // namespace

bool StoreIsEmpty(const fs::path& root) {
    static constexpr std::array<std::string_view, 3> kRaceDay = {".jvra", ".jvser", ".jvhr"};
    static constexpr std::array<std::string_view, 1> kResults = {".jvsera"};
    const auto raceDays = HasFileWith(root / std::string(store::kDataFolder), kRaceDay);
    if (raceDays != false) {
        return false;
    }
    std::error_code error;
    const fs::path results = root / std::string(store::kResultFolder);
    fs::directory_iterator year(results, error);
    if (error) {
        return error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory;
    }
    for (; year != fs::directory_iterator(); year.increment(error)) {
        if (error) {
            return false;
        }
        std::error_code typeError;
        if (year->is_directory(typeError) && HasFileWith(year->path(), kResults) != false) {
            return false;
        }
    }
    return true;
}

store::TLocalDateTime SetupStartTime(const store::TLocalDateTime& now) {
    store::TLocalDateTime start{now.year - 1, now.month, now.day, 0, 0, 0};
    if (!store::IsValidDateTime(start)) {
        start.day = 28; // 29 February of a leap year: the year before has none
    }
    return start;
}

std::string SetupChoiceText() {
    static const std::string text = Sjis::FromUtf8("セットアップデータを取込む(&S)");
    return text;
}

std::string SetupProposalText() {
    static const std::string text =
        Sjis::FromUtf8("データがまだ無いため、前走５走分の成績と馬情報がそろうよう、"
                       "１年前からのセットアップデータの取込みをお勧めします。");
    return text;
}

} // namespace acquisition
