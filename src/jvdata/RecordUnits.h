// Units of record fields where a mix-up is easy: times in tenths of a second, money in 100 yen.
#pragma once

#include <cstdint>
#include <string_view>

namespace jvdata {

// A time of form MSSF (minutes, seconds in two digits, tenths) in tenths of a second:
// "1345" gives 945 (1 min 34.5 s). Blank, "0000" and a field of fewer than four bytes give 0,
// which means no time. Each part is read leniently, so a blank minute reads as 0 minutes.
std::int32_t TimeMssfTenths(std::string_view field) noexcept;

// A time of form SSF (seconds in two digits, tenths) in tenths of a second: "355" gives 355.
// Blank and "000" give 0 (no time); 999 is returned as it stands (the value for none that
// SE 391-393 may hold), so callers test for it themselves.
std::int32_t TimeSsfTenths(std::string_view field) noexcept;

// Money in units of 100 yen as shown, in thousands of yen: integer division by 10, the
// remainder dropped (12345 units = 1,234,500 yen gives 1234).
constexpr std::int64_t ThousandYen(std::int64_t hundredYenUnits) noexcept {
    return hundredYenUnits / 10;
}

// A weight carried in 0.1 kg (SE 289-291, RC 198-200) in kilograms: 550 gives 55.0.
constexpr double WeightKg(std::int32_t tenthKg) noexcept {
    return tenthKg / 10.0;
}

} // namespace jvdata
