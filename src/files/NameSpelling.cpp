#include "files/NameSpelling.h"

#include <system_error>

namespace files {

namespace fs = std::filesystem;

fs::path::string_type FoldedName(const fs::path::string_type& name) {
    fs::path::string_type folded = name;
    for (auto& c : folded) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<fs::path::value_type>(c - 'A' + 'a');
        }
    }
    return folded;
}

std::optional<fs::path> TNameSpellings::Find(const fs::path& path) {
    std::error_code error;
    if (fs::exists(path, error)) {
        return path;
    }
    return FindOtherSpelling(path);
}

std::optional<fs::path> TNameSpellings::FindOtherSpelling(const fs::path& path) {
    const fs::path name = path.filename();
    const fs::path parent = path.parent_path();
    if (name.empty() || name == "." || name == ".." || parent == path) {
        return std::nullopt; // a root, "." or "..", or a path ending in a separator
    }
    const std::optional<fs::path>& folder = Folder(parent.empty() ? fs::path(".") : parent);
    if (!folder) {
        return std::nullopt;
    }
    const Listing& listing = ListingOf(*folder);
    const auto it = listing.find(FoldedName(name.native()));
    if (it == listing.end()) {
        return std::nullopt;
    }
    return parent.empty() ? it->second : *folder / it->second;
}

const std::optional<fs::path>& TNameSpellings::Folder(const fs::path& folder) {
    const auto known = folders_.find(folder);
    if (known != folders_.end()) {
        return known->second;
    }
    std::optional<fs::path> spelling;
    std::error_code error;
    if (fs::is_directory(folder, error)) {
        spelling = folder;
    } else if (const std::optional<fs::path> found = FindOtherSpelling(folder);
               found && fs::is_directory(*found, error)) {
        spelling = found;
    }
    return folders_.emplace(folder, std::move(spelling)).first->second;
}

const TNameSpellings::Listing& TNameSpellings::ListingOf(const fs::path& folder) {
    const auto known = listings_.find(folder);
    if (known != listings_.end()) {
        return known->second;
    }
    Listing listing;
    std::error_code error;
    fs::directory_iterator it(folder, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        fs::path name = it->path().filename();
        const auto [entry, fresh] = listing.try_emplace(FoldedName(name.native()), name);
        if (!fresh && name.native() < entry->second.native()) {
            entry->second = std::move(name); // the first spelling in byte order, whatever the
                                             // order the system lists them in
        }
    }
    return listings_.emplace(folder, std::move(listing)).first->second;
}

} // namespace files
