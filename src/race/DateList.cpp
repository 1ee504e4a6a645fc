#include "race/DateList.h"

#include "files/ProgramFolder.h"
#include "jvdata/SjisText.h"
#include "store/StoreLayout.h"

#include <algorithm>

namespace race {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kRacesExtension = ".jvRA";

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

} // namespace

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

TDateListResult MakeDateList(const fs::path& dataRoot) {
    TDateListResult result;
    const fs::path folder = dataRoot / std::string(store::kDataFolder);
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        return result;
    }
    std::vector<std::string> names;
    fs::directory_iterator it(folder, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) {
            continue;
        }
        if (auto name = files::TryTextFromPath(it->path().filename())) {
            names.push_back(std::move(*name));
        }
    }
    if (error) {
        result.error = error;
    }
    result.entries = DateListFromNames(std::move(names));
    return result;
}

} // namespace race
