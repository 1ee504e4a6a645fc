// The date list of the main window: one entry per race day and racecourse found in the store,
// newest first.
//
// An entry is the base name of the day's race-day files, 18 bytes of CP932: yyyy + "年" + mm +
// "月" + dd + "日" + the two-character racecourse name ("2004年05月01日東京"). The store's DATA
// folder is listed for "*.jvRA" files (the extension without regard to letter case); the names
// are put in ascending text order, letter case aside, and walked from the last to the first,
// so the newest date comes first and the entries of one date follow in descending name order.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace race {

// Length of a date list entry in bytes.
inline constexpr std::size_t kDateEntryLength = 18;

// Orders two CP932 names as the file list does: byte values ascending, ASCII letters compared
// without regard to case (the second byte of a two-byte character is never folded).
bool NameLess(std::string_view a, std::string_view b) noexcept;

// The date list from the bare CP932 file names of the DATA folder. Names that do not end in
// ".jvRA" (letter case aside) are not race-day files; a name whose part before the extension
// is not 18 bytes is no base name of the store (a copy such as "... (2).jvRA") and gives no
// entry; an entry that two names give (case variants) is listed once.
std::vector<std::string> DateListFromNames(std::vector<std::string> names);

// What reading the store's DATA folder gave.
struct TDateListResult {
    std::vector<std::string> entries; // newest first, CP932
    std::error_code error;            // the folder exists but could not be listed
};

// The date list of the store under dataRoot. A missing DATA folder gives an empty list; names
// that CP932 cannot spell are not the store's and are left out.
TDateListResult MakeDateList(const std::filesystem::path& dataRoot);

} // namespace race
