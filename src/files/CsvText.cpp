#include "files/CsvText.h"

#include "files/ProgramFolder.h"
#include "files/WholeFile.h"
#include "jvdata/SjisText.h"

#include <algorithm>

namespace files {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool NeedsQuotes(std::string_view cell) noexcept {
    if (cell.empty()) {
        return false;
    }
    if (cell.front() == ' ' || cell.back() == ' ') {
        return true;
    }
    // Every byte tested is ASCII, and the second byte of a CP932 character is never one of these.
    return cell.find_first_of(",\"\r\n") != std::string_view::npos;
}

void AppendCell(std::string& out, std::string_view cell) {
    if (!NeedsQuotes(cell)) {
        out += cell;
        return;
    }
    out += '"';
    for (const char c : cell) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
}

void AppendLine(std::string& out, const std::vector<std::string>& cells, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
        if (i > 0) {
            out += ',';
        }
        if (i < cells.size()) {
            AppendCell(out, cells[i]);
        }
    }
    out += "\r\n";
}

} // namespace

std::string CsvText(const TTextTable& table, TCsvEncoding encoding) {
    std::size_t width = table.columns.size();
    for (const auto& row : table.rows) {
        width = std::max(width, row.size());
    }
    std::string sjis;
    AppendLine(sjis, table.columns, width);
    for (const auto& row : table.rows) {
        AppendLine(sjis, row, width);
    }
    if (encoding == TCsvEncoding::ShiftJis) {
        return sjis;
    }
    return std::string(kByteOrderMark) + Sjis::ToUtf8(sjis);
}

std::error_code WriteCsvFile(const std::filesystem::path& file, const TTextTable& table,
                             TCsvEncoding encoding) {
    return ReplaceWholeFile(file, CsvText(table, encoding));
}

std::string CsvWriteFailureText(const std::filesystem::path& file, const std::error_code& error) {
    return Sjis::FromUtf8("CSVファイルを保存できません:") + TextFromPath(file) + " (" +
           SystemErrorText(error) + ")";
}

TTextTable TableFromCsv(std::string_view bytes, TCsvEncoding encoding) {
    std::string text;
    if (encoding == TCsvEncoding::Utf8Bom) {
        if (bytes.starts_with(kByteOrderMark)) {
            bytes.remove_prefix(kByteOrderMark.size());
        }
        text = Sjis::FromUtf8(bytes);
    } else {
        text = std::string(bytes);
    }

    std::vector<std::vector<std::string>> lines;
    std::vector<std::string> cells;
    std::string cell;
    bool quoted = false;
    bool any = false; // the line has begun
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                cell += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                cell += c;
            }
            continue;
        }
        const std::size_t bytesHere = Sjis::CharBytesAt(text, i);
        if (bytesHere == 2) {
            cell.append(text, i, 2);
            ++i;
            any = true;
            continue;
        }
        if (c == '"') {
            quoted = true;
            any = true;
        } else if (c == ',') {
            cells.push_back(std::move(cell));
            cell.clear();
            any = true;
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            cells.push_back(std::move(cell));
            cell.clear();
            lines.push_back(std::move(cells));
            cells.clear();
            any = false;
        } else {
            cell += c;
            any = true;
        }
    }
    if (any || !cell.empty()) {
        cells.push_back(std::move(cell));
        lines.push_back(std::move(cells));
    }

    TTextTable table;
    if (!lines.empty()) {
        table.columns = std::move(lines.front());
        table.rows.assign(std::make_move_iterator(lines.begin() + 1),
                          std::make_move_iterator(lines.end()));
    }
    return table;
}

} // namespace files
