// Local date and time for the acquisition: the clock the read loop takes its date cut from,
// injectable so that tests fix "now".
#pragma once

#include <functional>

namespace store {

// A local calendar date and time of day.
struct TLocalDateTime {
    int year = 2000; // four digits
    int month = 1;   // 1-12
    int day = 1;     // 1-31
    int hour = 0;    // 0-23
    int minute = 0;  // 0-59
    int second = 0;  // 0-59

    friend bool operator==(const TLocalDateTime&, const TLocalDateTime&) = default;
};

// Gives the present local date and time.
using TLocalClock = std::function<TLocalDateTime()>;

// The system's present local date and time.
TLocalDateTime LocalNow();
// The clock that reads LocalNow.
TLocalClock SystemClock();

// The same time of day `days` calendar days later (earlier when negative).
TLocalDateTime AddDays(const TLocalDateTime& time, int days);

// True for a real calendar date with a time of day inside 00:00:00-23:59:59.
bool IsValidDateTime(const TLocalDateTime& time);

// The date as the integer yyyymmdd.
int DateNumber(const TLocalDateTime& time) noexcept;

// The read loop's date cut: the present local date less 4 days, as yyyymmdd. Races after it
// are still to be run or were run in the last days.
int DateCut(const TLocalDateTime& now);

} // namespace store
