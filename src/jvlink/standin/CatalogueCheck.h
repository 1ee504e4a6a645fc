// Rules every catalogue obeys, whichever source filled it: file names that are safe as names
// in a folder, data identifiers, publication times, and records that end in CR LF.
#pragma once

#include "jvlink/standin/Catalogue.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace standin {

// A bare file name that stays inside the folder it is joined to on every platform: 1 to 100
// printable ASCII characters, none of / \ : * ? " < > |, not beginning or ending with '.',
// not a Windows device name (CON, NUL, COM1 ...) and not the catalogue index's own name.
bool IsSafeFileName(std::string_view name);

// A data identifier: four characters A-Z or 0-9, such as "RACE" or "RCVN".
bool IsDataSpecId(std::string_view id);

// "yyyymmddhhnnss" naming a real date and time (years 1900-9999).
bool IsTimestamp(std::string_view text);

// A data file's contents as stored: its records one after another.
std::string DataFileBytes(const TDataFile& file);

// The records of a data file's contents, each ending in CR LF; nothing when bytes are left
// after the last CR LF.
std::optional<std::vector<std::string>> SplitRecords(std::string_view bytes);

// Empty when the catalogue obeys the rules, else what is wrong (names must also be unique
// without regard to letter case, since the download cache may lie on such a file system).
std::string CheckCatalogue(const TCatalogue& catalogue);

// Files in publication order: by timestamp, then by name.
void SortCatalogue(TCatalogue& catalogue);

} // namespace standin
