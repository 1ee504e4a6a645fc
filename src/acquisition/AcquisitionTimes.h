// The times of an acquisition as texts: the start time kept in the settings file ("JvDataGet" /
// "LastTime", "yyyy/mm/dd hh:nn:ss"), the from-time JVOpen takes ("yyyymmddhhnnss") and the
// last file timestamp JVOpen reports, which becomes the next start time.
#pragma once

#include "store/LocalClock.h"

#include <optional>
#include <string>
#include <string_view>

namespace acquisition {

// Settings section and key of the start time.
inline constexpr std::string_view kLastTimeSection = "JvDataGet";
inline constexpr std::string_view kLastTimeKey = "LastTime";

// "yyyy/mm/dd hh:nn:ss", every part zero-padded.
std::string LastTimeText(const store::TLocalDateTime& time);

// A stored start time: "yyyy/m/d h:n:s" with one- or two-digit parts after the four-digit
// year ("2004/05/01 09:00:00"), the seconds or the whole time of day may be left out (0).
// Nothing when the text is no real date and time.
std::optional<store::TLocalDateTime> ParseLastTime(std::string_view text);

// "yyyymmddhhnnss".
std::string FromTimeText(const store::TLocalDateTime& time);

// A from-time of exactly fourteen digits that make a real date and time.
std::optional<store::TLocalDateTime> ParseFromTime(std::string_view text);

// The default start time: the present local time less 8 days.
store::TLocalDateTime DefaultStartTime(const store::TLocalDateTime& now);

// The next start time from JVOpen's last file timestamp "yyyymmddhhnnss", as "yyyy/mm/dd
// hh:nn:ss"; nothing when it is blank, "00000000000000", or not a date and time at all (a
// text the next run could not read back).
std::optional<std::string> LastTimeOfTimestamp(std::string_view timestamp);

} // namespace acquisition
