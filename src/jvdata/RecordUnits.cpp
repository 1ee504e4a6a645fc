#include "jvdata/RecordUnits.h"

#include "jvdata/LenientInt.h"

namespace jvdata {

std::int32_t TimeMssfTenths(std::string_view field) noexcept {
    if (field.size() < 4) {
        return 0;
    }
    const std::int32_t minutes = LenientInt(field.substr(0, 1));
    const std::int32_t seconds = LenientInt(field.substr(1, 2));
    const std::int32_t tenths = LenientInt(field.substr(3, 1));
    return minutes * 600 + seconds * 10 + tenths;
}

std::int32_t TimeSsfTenths(std::string_view field) noexcept {
    if (field.size() < 3) {
        return 0;
    }
    const std::int32_t seconds = LenientInt(field.substr(0, 2));
    const std::int32_t tenths = LenientInt(field.substr(2, 1));
    return seconds * 10 + tenths;
}

} // namespace jvdata
