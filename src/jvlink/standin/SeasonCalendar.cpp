#include "jvlink/standin/SeasonCalendar.h"

#include <array>
#include <cstdio>

namespace standin::season {

namespace {

// The racecourses of each four-weekend block of the year, main meetings first: 06 中山,
// 05 東京 and 03 福島, 04 新潟 in the east, 08 京都, 09 阪神, 07 中京 and 10 小倉 in the west,
// 01 札幌 and 02 函館 in the north.
constexpr int kBlocks = 13;
constexpr std::array<std::array<int, 3>, kBlocks> kBlockCourses = {{
    {6, 8, 0},  // January
    {5, 8, 10}, // February
    {6, 9, 7},  // March
    {6, 9, 3},  // April
    {5, 8, 4},  // May
    {5, 9, 2},  // June
    {3, 7, 2},  // July
    {4, 10, 1}, // August
    {4, 10, 1}, // late August to early September
    {6, 9, 0},  // September
    {5, 8, 4},  // October
    {5, 8, 3},  // November
    {6, 9, 7},  // December
}};

// First racing Saturday of a year: the first Saturday on or after 5 January.
int FirstRacingSaturday(int year) noexcept {
    const int jan5 = DayNumber(year, 1, 5);
    return jan5 + (6 - Weekday(jan5) + 7) % 7;
}

// Last possible racing Saturday: on or before 28 December.
int LastRacingSaturday(int year) noexcept {
    const int dec28 = DayNumber(year, 12, 28);
    return dec28 - (Weekday(dec28) + 1) % 7;
}

} // namespace

int DayNumber(int year, int month, int day) noexcept {
    // Days from civil (H. Hinnant's algorithm).
    year -= month <= 2 ? 1 : 0;
    const int era = (year >= 0 ? year : year - 399) / 400;
    const int yoe = year - era * 400;
    const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

TDate DateOf(int dayNumber) noexcept {
    const int z = dayNumber + 719468;
    const int era = (z >= 0 ? z : z - 146096) / 146097;
    const int doe = z - era * 146097;
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    const int day = doy - (153 * mp + 2) / 5 + 1;
    const int month = mp < 10 ? mp + 3 : mp - 9;
    const int year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    return {year, month, day};
}

int Weekday(int dayNumber) noexcept {
    // 1970-01-01 was a Thursday.
    return ((dayNumber % 7) + 7 + 4) % 7;
}

std::string Ymd(int dayNumber) {
    const TDate d = DateOf(dayNumber);
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d", d.year % 10000, d.month, d.day);
    return text;
}

std::optional<int> ParseYmd(std::string_view text) noexcept {
    if (text.size() != 8) {
        return std::nullopt;
    }
    int value[3] = {0, 0, 0};
    const int widths[3] = {4, 2, 2};
    std::size_t pos = 0;
    for (int part = 0; part < 3; ++part) {
        for (int i = 0; i < widths[part]; ++i, ++pos) {
            const char c = text[pos];
            if (c < '0' || c > '9') {
                return std::nullopt;
            }
            value[part] = value[part] * 10 + (c - '0');
        }
    }
    const int year = value[0];
    const int month = value[1];
    const int day = value[2];
    if (year < 1900 || month < 1 || month > 12 || day < 1) {
        return std::nullopt;
    }
    const int number = DayNumber(year, month, day);
    const TDate back = DateOf(number);
    if (back.month != month || back.day != day) {
        return std::nullopt;
    }
    return number;
}

std::vector<TCourseDay> RacingCourses(int dayNumber) {
    const int weekday = Weekday(dayNumber);
    if (weekday != 6 && weekday != 0) {
        return {};
    }
    const int saturday = weekday == 6 ? dayNumber : dayNumber - 1;
    const int year = DateOf(saturday).year;
    const int first = FirstRacingSaturday(year);
    if (saturday < first || saturday > LastRacingSaturday(year)) {
        return {};
    }
    const int index = (saturday - first) / 7;
    const int block = index / 4 < kBlocks ? index / 4 : kBlocks - 1;
    const int weekInBlock = index - block * 4;
    std::vector<TCourseDay> courses;
    for (int role = 0; role < 3; ++role) {
        const int course =
            kBlockCourses[static_cast<std::size_t>(block)][static_cast<std::size_t>(role)];
        if (course == 0) {
            continue;
        }
        int meeting = 1;
        for (int b = 0; b < block; ++b) {
            for (const int c : kBlockCourses[static_cast<std::size_t>(b)]) {
                meeting += c == course ? 1 : 0;
            }
        }
        courses.push_back({course, meeting, weekInBlock * 2 + (weekday == 6 ? 1 : 2), role});
    }
    return courses;
}

bool IsRacingSaturday(int saturday) {
    if (Weekday(saturday) != 6) {
        return false;
    }
    const int year = DateOf(saturday).year;
    return saturday >= FirstRacingSaturday(year) && saturday <= LastRacingSaturday(year);
}

int RacingSaturdayOnOrAfter(int dayNumber) {
    const int saturday = dayNumber + (6 - Weekday(dayNumber) + 7) % 7;
    const int year = DateOf(saturday).year;
    if (saturday < FirstRacingSaturday(year)) {
        return FirstRacingSaturday(year);
    }
    if (saturday > LastRacingSaturday(year)) {
        return FirstRacingSaturday(year + 1);
    }
    return saturday;
}

std::vector<int> RacingSaturdaysOf(int year) {
    std::vector<int> saturdays;
    for (int s = FirstRacingSaturday(year); s <= LastRacingSaturday(year); s += 7) {
        saturdays.push_back(s);
    }
    return saturdays;
}

} // namespace standin::season
