#include "jvdata/LenientInt.h"

#include <limits>

namespace jvdata {

std::int64_t LenientInt64(std::string_view field) noexcept {
    std::size_t i = 0;
    while (i < field.size() && field[i] == ' ') {
        ++i;
    }
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) {
        negative = field[i] == '-';
        ++i;
    }
    constexpr std::int64_t limit = std::numeric_limits<std::int64_t>::max() / 10 - 9;
    std::int64_t value = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
        if (value < limit) {
            value = value * 10 + (field[i] - '0');
        }
    }
    return negative ? -value : value;
}

std::int32_t LenientInt(std::string_view field) noexcept {
    const std::int64_t value = LenientInt64(field);
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (value < std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

} // namespace jvdata
