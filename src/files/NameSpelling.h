// Store file names compared without regard to letter case.
//
// The store is a Windows folder tree, where "2004年05月01日東京.JVRA" and "….jvRA" name the
// same file; a store copied to another system keeps whatever spelling its files had. The date
// list finds a day's race file in any letter case, so every file the race-day load opens must
// be found the same way. Only the letters A-Z and a-z are folded: the store's names are digits,
// kanji and the extensions.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace files {

// A name with the letters A-Z turned into a-z, in the file system's own characters (UTF-8
// bytes or UTF-16 units: neither has an ASCII letter inside another character).
std::filesystem::path::string_type FoldedName(const std::filesystem::path::string_type& name);

// Finds the existing spelling of paths, listing each folder it looks into once and keeping the
// listing for the object's life. Meant to live for one operation (such as one race-day load),
// during which files are read, not created or renamed; a file added meanwhile to a folder
// already listed is not seen.
class TNameSpellings {
public:
    // The path of the existing file or folder that path names when letter case is ignored, in
    // every part below the deepest folder that exists as spelt: path itself when it exists as
    // spelt, nothing when no spelling exists. When a folder holds several spellings of a name,
    // the first in byte order is taken.
    std::optional<std::filesystem::path> Find(const std::filesystem::path& path);

    // As Find, for a path that the caller has just failed to open as spelt: skips the check
    // of the path itself.
    std::optional<std::filesystem::path> FindOtherSpelling(const std::filesystem::path& path);

private:
    using Listing = std::map<std::filesystem::path::string_type, std::filesystem::path>;

    // The existing spelling of a folder; nothing when it has none. Kept per folder asked.
    const std::optional<std::filesystem::path>& Folder(const std::filesystem::path& folder);
    // The entries of an existing folder by folded name.
    const Listing& ListingOf(const std::filesystem::path& folder);

    std::map<std::filesystem::path, std::optional<std::filesystem::path>> folders_;
    std::map<std::filesystem::path, Listing> listings_;
};

} // namespace files
