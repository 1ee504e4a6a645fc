// A catalogue kept as a folder of files, the stand-in's "folder" data source (written by the
// jvdata-gen tool, read by the component):
//
//   catalogue.txt   the index: one line per data file, "name dataspec timestamp" separated by
//                   blanks or tabs, in publication order; lines starting with '#' and empty
//                   lines are ignored; LF or CR LF line ends
//   <name>          one file per data file, named as listed: its records one after another,
//                   each a line of Shift-JIS bytes ending in CR LF
//
// Names in the index are bare file names (see IsSafeFileName): a name that could reach out of
// the folder ("..", a folder separator, a drive) makes the whole folder unreadable.
#pragma once

#include "jvlink/standin/Catalogue.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace standin {

// Name of the index file inside a catalogue folder.
inline constexpr std::string_view kCatalogueIndexFile = "catalogue.txt";

// A catalogue read from a folder, or what kept it from being read.
struct TCatalogueRead {
    TCatalogue catalogue;
    std::string error; // empty on success

    bool ok() const noexcept { return error.empty(); }
};

// Reads the index and every file it lists; files come out in publication order.
TCatalogueRead ReadCatalogueFolder(const std::filesystem::path& folder);

// Writes every data file and then the index (each replacing an older one whole), creating the
// folder. Files in the folder that the catalogue does not list are left alone. Empty on
// success, else what went wrong; nothing is written when the catalogue breaks the rules.
std::string WriteCatalogueFolder(const TCatalogue& catalogue, const std::filesystem::path& folder);

} // namespace standin
