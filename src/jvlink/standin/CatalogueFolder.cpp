#include "jvlink/standin/CatalogueFolder.h"

#include "jvlink/standin/CatalogueCheck.h"
#include "jvlink/standin/FileIo.h"

#include <vector>

namespace standin {

namespace fs = std::filesystem;

namespace {

// The blank- or tab-separated words of one index line.
std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) {
            ++pos;
        }
        const std::size_t start = pos;
        while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t') {
            ++pos;
        }
        if (pos > start) {
            words.push_back(line.substr(start, pos - start));
        }
    }
    return words;
}

} // namespace

TCatalogueRead ReadCatalogueFolder(const fs::path& folder) {
    TCatalogueRead result;
    const auto index = ReadWholeFile(folder / kCatalogueIndexFile);
    if (!index) {
        result.error = "cannot read " + PathToUtf8(folder / kCatalogueIndexFile);
        return result;
    }
    std::string_view text = *index;
    int lineNumber = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        const auto words = Words(line);
        if (words.empty() || words[0].front() == '#') {
            continue;
        }
        const std::string where =
            std::string(kCatalogueIndexFile) + " line " + std::to_string(lineNumber) + ": ";
        if (words.size() != 3) {
            result.error = where + "expected name, data identifier and timestamp";
            return result;
        }
        TDataFile file{std::string(words[0]), std::string(words[1]), std::string(words[2]), {}};
        // The name is checked before it is joined to the folder: it must not lead out of it.
        if (!IsSafeFileName(file.name)) {
            result.error = where + "unsafe data file name \"" + file.name + "\"";
            return result;
        }
        const auto bytes = ReadWholeFile(folder / file.name);
        if (!bytes) {
            result.error = where + "cannot read data file \"" + file.name + "\"";
            return result;
        }
        auto records = SplitRecords(*bytes);
        if (!records) {
            result.error = where + "data file \"" + file.name + "\" does not end in CR LF";
            return result;
        }
        file.records = std::move(*records);
        result.catalogue.files.push_back(std::move(file));
    }
    if (auto error = CheckCatalogue(result.catalogue); !error.empty()) {
        result.error = error;
        result.catalogue = {};
        return result;
    }
    SortCatalogue(result.catalogue);
    return result;
}

std::string WriteCatalogueFolder(const TCatalogue& catalogue, const fs::path& folder) {
    if (auto error = CheckCatalogue(catalogue); !error.empty()) {
        return error;
    }
    std::string index = "# Stand-in JV-Link catalogue: name, data identifier, publication time "
                        "(yyyymmddhhnnss)\n";
    for (const auto& file : catalogue.files) {
        if (!WriteFileReplacing(folder / file.name, DataFileBytes(file))) {
            return "cannot write " + PathToUtf8(folder / file.name);
        }
        index += file.name + " " + file.dataspec + " " + file.timestamp + "\n";
    }
    // The index last: a folder whose writing broke off still lists only complete files.
    if (!WriteFileReplacing(folder / kCatalogueIndexFile, index)) {
        return "cannot write " + PathToUtf8(folder / kCatalogueIndexFile);
    }
    return {};
}

} // namespace standin
