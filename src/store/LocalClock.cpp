#include "store/LocalClock.h"

#include <chrono>
#include <ctime>

namespace store {

namespace chr = std::chrono;

TLocalDateTime LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec > 59 ? 59 : local.tm_sec};
}

TLocalClock SystemClock() {
    return [] { return LocalNow(); };
}

TLocalDateTime AddDays(const TLocalDateTime& time, int days) {
    const chr::year_month_day date{chr::year{time.year},
                                   chr::month{static_cast<unsigned>(time.month)},
                                   chr::day{static_cast<unsigned>(time.day)}};
    const chr::year_month_day moved{chr::sys_days{date} + chr::days{days}};
    TLocalDateTime result = time;
    result.year = static_cast<int>(moved.year());
    result.month = static_cast<int>(static_cast<unsigned>(moved.month()));
    result.day = static_cast<int>(static_cast<unsigned>(moved.day()));
    return result;
}

bool IsValidDateTime(const TLocalDateTime& time) {
    if (time.year < 1 || time.year > 9999 || time.month < 1 || time.month > 12 || time.day < 1 ||
        time.day > 31) {
        return false;
    }
    const chr::year_month_day date{chr::year{time.year},
                                   chr::month{static_cast<unsigned>(time.month)},
                                   chr::day{static_cast<unsigned>(time.day)}};
    return date.ok() && time.hour >= 0 && time.hour <= 23 && time.minute >= 0 &&
           time.minute <= 59 && time.second >= 0 && time.second <= 59;
}

int DateNumber(const TLocalDateTime& time) noexcept {
    return time.year * 10000 + time.month * 100 + time.day;
}

int DateCut(const TLocalDateTime& now) {
    return DateNumber(AddDays(now, -4));
}

} // namespace store
