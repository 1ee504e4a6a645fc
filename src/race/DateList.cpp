#include "race/DateList.h"

#include "files/ProgramFolder.h"
#include "jvdata/SjisText.h"
#include "store/StoreLayout.h"

#include <algorithm>
#include <optional>

namespace race {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kRacesExtension = ".jvRA";
constexpr std::string_view kResultsExtension = ".jvSERA";
// A result file's name before its extension: the race date and racecourse code (RA 12-21).
constexpr std::size_t kResultStemLength = 10;

char FoldAscii(char c) noexcept {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) noexcept {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return FoldAscii(x) == FoldAscii(y);
           });
}

// The name's bytes with single-byte ASCII letters folded to lower case.
std::string FoldedName(std::string_view name) {
    std::string folded(name);
    for (std::size_t pos = 0; pos < folded.size();) {
        const std::size_t bytes = Sjis::CharBytesAt(folded, pos);
        if (bytes == 1) {
            folded[pos] = FoldAscii(folded[pos]);
        }
        pos += bytes;
    }
    return folded;
}

// Lists the bare names of the regular files of a folder into names, those CP932 can spell.
std::error_code ListFileNames(const fs::path& folder, std::vector<std::string>& names) {
    std::vector<std::pair<std::string, fs::path>> found;
    const std::error_code error = ListFolderFiles(folder, found);
    for (auto& file : found) {
        names.push_back(std::move(file.first));
    }
    return error;
}

// The names of the result files in the year folders of SEIR (four-digit names).
std::vector<std::string> ResultFileNames(const fs::path& dataRoot) {
    std::vector<std::string> names;
    const fs::path folder = dataRoot / std::string(store::kResultFolder);
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        return names;
    }
    fs::directory_iterator it(folder, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code typeError;
        const std::optional<std::string> year = files::TryTextFromPath(it->path().filename());
        if (year && store::IsDigitText(*year, 4) && it->is_directory(typeError)) {
            ListFileNames(it->path(), names);
        }
    }
    return names;
}

} // namespace

bool IsResultsDayEntry(std::string_view entry) noexcept {
    return entry.size() == kDateEntryLength + kResultsDayMark.size() &&
           entry.ends_with(kResultsDayMark) && !Sjis::IsInsideChar(entry, kDateEntryLength);
}

std::string_view EntryBaseName(std::string_view entry) noexcept {
    return IsResultsDayEntry(entry) ? entry.substr(0, kDateEntryLength) : entry;
}

bool NameLess(std::string_view a, std::string_view b) noexcept {
    return FoldedName(a) < FoldedName(b);
}

std::vector<std::string> DateListFromNames(std::vector<std::string> names) {
    std::vector<std::pair<std::string, std::string>> keyed; // folded name, name
    keyed.reserve(names.size());
    for (auto& name : names) {
        if (name.size() != kDateEntryLength + kRacesExtension.size() ||
            !EqualsIgnoringCase(std::string_view(name).substr(kDateEntryLength), kRacesExtension) ||
            Sjis::IsInsideChar(name, kDateEntryLength)) {
            continue;
        }
        keyed.emplace_back(FoldedName(name), std::move(name));
    }
    std::sort(keyed.begin(), keyed.end());

    std::vector<std::string> entries;
    entries.reserve(keyed.size());
    for (auto it = keyed.rbegin(); it != keyed.rend(); ++it) {
        std::string entry = it->second.substr(0, kDateEntryLength);
        if (!entries.empty() && FoldedName(entries.back()) == FoldedName(entry)) {
            continue;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<std::string> DateListFromNames(std::vector<std::string> dataNames,
                                           const std::vector<std::string>& resultNames) {
    std::vector<std::pair<std::string, std::string>> keyed; // folded base name, entry
    for (std::string& entry : DateListFromNames(std::move(dataNames))) {
        std::string folded = FoldedName(entry);
        keyed.emplace_back(std::move(folded), std::move(entry));
    }
    const std::size_t cards = keyed.size();
    // The card entries are in descending order already: a result file's day is looked up
    // among them by binary search.
    const auto hasCard = [&](const std::string& folded) {
        const auto end = keyed.begin() + static_cast<std::ptrdiff_t>(cards);
        return std::binary_search(keyed.begin(), end, std::pair{folded, std::string()},
                                  [](const auto& a, const auto& b) { return a.first > b.first; });
    };
    for (const std::string& name : resultNames) {
        if (name.size() != kResultStemLength + kResultsExtension.size() ||
            !EqualsIgnoringCase(std::string_view(name).substr(kResultStemLength),
                                kResultsExtension)) {
            continue;
        }
        const std::optional<std::string> base =
            store::RaceDayBaseName(std::string_view(name).substr(0, kResultStemLength));
        if (!base) {
            continue;
        }
        std::string folded = FoldedName(*base);
        if (!hasCard(folded)) {
            keyed.emplace_back(std::move(folded), *base + std::string(kResultsDayMark));
        }
    }
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });

    std::vector<std::string> entries;
    entries.reserve(keyed.size());
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        // Two result files may give one day (two racecourse codes the code table does not
        // list both read as blanks): the day is listed once.
        if (i > 0 && keyed[i].first == keyed[i - 1].first) {
            continue;
        }
        entries.push_back(std::move(keyed[i].second));
    }
    return entries;
}

TDateListResult MakeDateList(const fs::path& dataRoot) {
    TDateListResult result;
    const fs::path folder = dataRoot / std::string(store::kDataFolder);
    std::vector<std::string> names;
    std::error_code error;
    if (fs::is_directory(folder, error)) {
        result.error = ListFileNames(folder, names);
    }
    result.entries = DateListFromNames(std::move(names), ResultFileNames(dataRoot));
    return result;
}

std::error_code ListFolderFiles(const fs::path& folder,
                                std::vector<std::pair<std::string, fs::path>>& files) {
    std::error_code error;
    fs::directory_iterator it(folder, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) {
            continue;
        }
        if (auto name = files::TryTextFromPath(it->path().filename())) {
            files.emplace_back(std::move(*name), it->path());
        }
    }
    return error;
}

} // namespace race
