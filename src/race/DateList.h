// The date list of the main window: one entry per race day and racecourse found in the store,
// newest first.
//
// An entry is the base name of the day's race-day files, 18 bytes of CP932: yyyy + "年" + mm +
// "月" + dd + "日" + the two-character racecourse name ("2004年05月01日東京"). The store's DATA
// folder is listed for "*.jvRA" files (the extension without regard to letter case); the names
// are put in ascending text order, letter case aside, and walked from the last to the first,
// so the newest date comes first and the entries of one date follow in descending name order.
//
// A day whose race cards never came (a day of past results acquired as setup data, or a day
// whose cards were missed) has no .jvRA file but a result file (SEIR\yyyy\yyyymmddJJ.jvSERA)
// with its final race records. Such a day is listed too, as its base name followed by
// kResultsDayMark ("2004年05月01日東京（成績）"), in the place its base name takes among the
// others; the day load shows it from its results. A day that has both is listed once, from
// its card.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace race {

// Length of a date list entry in bytes.
inline constexpr std::size_t kDateEntryLength = 18;

// The mark after the base name of a day shown from its results: "（成績）", CP932 (8 bytes).
inline constexpr std::string_view kResultsDayMark = "\x81\x69\x90\xAC\x90\xD1\x81\x6A";

// True when entry is a base name followed by kResultsDayMark.
bool IsResultsDayEntry(std::string_view entry) noexcept;
// The base name of a results-day entry (the entry less its mark); other entries as they are.
std::string_view EntryBaseName(std::string_view entry) noexcept;

// Orders two CP932 names as the file list does: byte values ascending, ASCII letters compared
// without regard to case (the second byte of a two-byte character is never folded).
bool NameLess(std::string_view a, std::string_view b) noexcept;

// The date list from the bare CP932 file names of the DATA folder. Names that do not end in
// ".jvRA" (letter case aside) are not race-day files; a name whose part before the extension
// is not 18 bytes is no base name of the store (a copy such as "... (2).jvRA") and gives no
// entry; an entry that two names give (case variants) is listed once.
std::vector<std::string> DateListFromNames(std::vector<std::string> names);

// The date list from the bare CP932 names of the DATA folder and of the result files under
// SEIR (names such as "20040501" + "05" + ".jvSERA", the extension's letter case aside). A
// result file whose date and racecourse no race file lists gives a results-day entry; one
// whose name is no result file name gives none.
std::vector<std::string> DateListFromNames(std::vector<std::string> dataNames,
                                           const std::vector<std::string>& resultNames);

// What reading the store's DATA and SEIR folders gave.
struct TDateListResult {
    std::vector<std::string> entries; // newest first, CP932
    std::error_code error;            // the DATA folder exists but could not be listed
};

// The date list of the store under dataRoot: its race files and its result files (the year
// folders of SEIR, named by four digits, each listed once). A missing DATA or SEIR folder
// gives no entries of its own; names that CP932 cannot spell are not the store's and are left
// out. A SEIR folder that cannot be listed leaves out only the results days it would give.
TDateListResult MakeDateList(const std::filesystem::path& dataRoot);

// Appends the bare names of a folder's regular files that CP932 can spell, each with its path,
// in listing order; returns the listing's error (files listed before it stay appended).
std::error_code ListFolderFiles(const std::filesystem::path& folder,
                                std::vector<std::pair<std::string, std::filesystem::path>>& files);

} // namespace race
