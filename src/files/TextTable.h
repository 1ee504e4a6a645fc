// A list as the views show it and as it is exported: column headings and rows of CP932 texts.
// The search and statistics lists, the race card, the results and the time tables all come
// out of the core in this form, so that the window's grid, the CLI's dump and the CSV export
// show the same cells.
#pragma once

#include <string>
#include <vector>

namespace files {

struct TTextTable {
    std::vector<std::string> columns;           // headings, CP932
    std::vector<std::vector<std::string>> rows; // cells, CP932; a row may be shorter than columns
};

} // namespace files
