// The folders of the local data store under the data root folder, made at program start so
// that the read loop and the race-day load find them.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace store {

// The store's top folders in the order they are made: race-day files, horse histories,
// result files, horse masters, course records.
inline constexpr std::array<std::string_view, 5> kStoreFolderNames = {"DATA", "SEI", "SEIR", "UM2",
                                                                      "REC"};

// What making the store folders found.
struct TStoreFoldersResult {
    std::vector<std::filesystem::path> failed; // folders that are missing and could not be made
    std::error_code error;                     // the system's reason for the first of them
    std::string message; // CP932 text for the user naming every failed folder; empty when none

    bool ok() const noexcept { return failed.empty(); }
};

// Makes each store folder under dataRoot that does not exist yet, in the order of
// kStoreFolderNames. A folder that cannot be made (a read-only data root, a file of that name)
// does not stop the others.
TStoreFoldersResult CreateStoreFolders(const std::filesystem::path& dataRoot);

} // namespace store
