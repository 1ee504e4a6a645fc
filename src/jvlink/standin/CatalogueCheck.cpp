#include "jvlink/standin/CatalogueCheck.h"

#include "jvlink/standin/CatalogueFolder.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <set>

namespace standin {

namespace {

std::string Upper(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

bool IsDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int Number(std::string_view digits) {
    int value = 0;
    for (const char c : digits) {
        value = value * 10 + (c - '0');
    }
    return value;
}

bool IsWindowsDeviceName(std::string_view name) {
    const std::string stem = Upper(name.substr(0, name.find('.')));
    static constexpr std::array<std::string_view, 4> kPlain = {"CON", "PRN", "AUX", "NUL"};
    if (std::find(kPlain.begin(), kPlain.end(), stem) != kPlain.end()) {
        return true;
    }
    return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) &&
           stem[3] >= '1' && stem[3] <= '9';
}

} // namespace

bool IsSafeFileName(std::string_view name) {
    if (name.empty() || name.size() > 100 || name.front() == '.' || name.back() == '.') {
        return false;
    }
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u >= 0x7F) {
            return false;
        }
        if (std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos) {
            return false;
        }
    }
    return !IsWindowsDeviceName(name) && Upper(name) != Upper(kCatalogueIndexFile);
}

bool IsDataSpecId(std::string_view id) {
    return id.size() == 4 && std::all_of(id.begin(), id.end(), [](char c) {
               return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
           });
}

bool IsTimestamp(std::string_view text) {
    if (text.size() != 14 || !IsDigits(text)) {
        return false;
    }
    const int year = Number(text.substr(0, 4));
    const int month = Number(text.substr(4, 2));
    const int day = Number(text.substr(6, 2));
    const int hour = Number(text.substr(8, 2));
    const int minute = Number(text.substr(10, 2));
    const int second = Number(text.substr(12, 2));
    if (year < 1900 || month < 1 || month > 12 || hour > 23 || minute > 59 || second > 59) {
        return false;
    }
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int days = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
    return day >= 1 && day <= days;
}

std::string DataFileBytes(const TDataFile& file) {
    std::string bytes;
    std::size_t size = 0;
    for (const auto& record : file.records) {
        size += record.size();
    }
    bytes.reserve(size);
    for (const auto& record : file.records) {
        bytes += record;
    }
    return bytes;
}

std::optional<std::vector<std::string>> SplitRecords(std::string_view bytes) {
    std::vector<std::string> records;
    while (!bytes.empty()) {
        const auto end = bytes.find("\r\n");
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        records.emplace_back(bytes.substr(0, end + 2));
        bytes.remove_prefix(end + 2);
    }
    return records;
}

std::string CheckCatalogue(const TCatalogue& catalogue) {
    std::set<std::string> names;
    for (const auto& file : catalogue.files) {
        if (!IsSafeFileName(file.name)) {
            return "unsafe data file name \"" + file.name + "\"";
        }
        if (!names.insert(Upper(file.name)).second) {
            return "data file \"" + file.name + "\" is listed twice";
        }
        if (!IsDataSpecId(file.dataspec)) {
            return "data file \"" + file.name + "\" has a bad data identifier \"" + file.dataspec +
                   "\"";
        }
        if (!IsTimestamp(file.timestamp)) {
            return "data file \"" + file.name + "\" has a bad timestamp \"" + file.timestamp + "\"";
        }
        for (const auto& record : file.records) {
            // Each record is one line: CR LF at its end and nowhere else.
            if (record.size() < 2 || !record.ends_with("\r\n") ||
                record.find("\r\n") != record.size() - 2) {
                return "data file \"" + file.name + "\" has a record that is not one line";
            }
        }
    }
    return {};
}

void SortCatalogue(TCatalogue& catalogue) {
    std::stable_sort(
        catalogue.files.begin(), catalogue.files.end(), [](const TDataFile& a, const TDataFile& b) {
            return a.timestamp != b.timestamp ? a.timestamp < b.timestamp : a.name < b.name;
        });
}

} // namespace standin
