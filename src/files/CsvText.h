// CSV files of a text table, for spreadsheets and other analysis programs.
//
// One header line of the column headings, then one line per row, each ended by CR LF. A cell
// is quoted when it holds a comma, a double quote, a CR or an LF, or begins or ends with a
// blank; a double quote inside a quoted cell is doubled. A row shorter than the headings is
// filled with empty cells. The table's texts are CP932; the file is written either as UTF-8
// with a byte order mark (what spreadsheet programs need to read UTF-8 as such) or as CP932
// bytes unchanged (Shift-JIS, what older Japanese tools read).
#pragma once

#include "files/TextTable.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace files {

enum class TCsvEncoding {
    Utf8Bom,  // UTF-8 with EF BB BF before the header line
    ShiftJis, // the CP932 bytes as they are
};

// The bytes of the CSV file of table in the chosen encoding.
std::string CsvText(const TTextTable& table, TCsvEncoding encoding);

// Writes the CSV file of table (replacing a file of that name whole, never in part). Returns
// the system's reason on failure.
std::error_code WriteCsvFile(const std::filesystem::path& file, const TTextTable& table,
                             TCsvEncoding encoding);

// The message for a CSV file that could not be written, CP932: "CSVファイルを保存できません:",
// the file and the system's reason in parentheses.
std::string CsvWriteFailureText(const std::filesystem::path& file, const std::error_code& error);

// The table read back from CSV bytes in the given encoding (the byte order mark, when there,
// skipped; UTF-8 turned back into CP932): headings from the first line, then the rows. Quoted
// cells may hold commas, doubled quotes and line breaks. Used to check an export and by tools
// that read an exported list again.
TTextTable TableFromCsv(std::string_view bytes, TCsvEncoding encoding);

} // namespace files
