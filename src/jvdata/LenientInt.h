// The lenient number reader used for every numeric field of a JV-Data record.
#pragma once

#include <cstdint>
#include <string_view>

namespace jvdata {

// Reads a number the way record fields are read throughout the program: leading half-width
// blanks are skipped, an optional '+' or '-' is accepted, then decimal digits are read up to
// the first other character. No digit reads as 0 ("", "  ", "-", "ab" all give 0), so a blank
// field means "absent". Values beyond the 32-bit range saturate instead of overflowing.
std::int32_t LenientInt(std::string_view field) noexcept;

// The same reader for the few fields wider than nine digits (prize totals, payouts).
std::int64_t LenientInt64(std::string_view field) noexcept;

} // namespace jvdata
