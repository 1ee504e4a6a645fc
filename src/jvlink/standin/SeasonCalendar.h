// Dates and the racing calendar of the built-in season.
//
// Dates are day numbers, days since 1970-01-01, so that weeks and intervals are plain
// arithmetic. The calendar is a fixed yearly pattern like the central racing year: racing on
// Saturdays and Sundays from the first Saturday on or after 5 January to the last one on or
// before 28 December, the weekends in blocks of four, each block with two or three
// racecourses holding one meeting (開催) of up to eight days.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace standin::season {

struct TDate {
    int year = 1970;
    int month = 1; // 1-12
    int day = 1;   // 1-31
};

// Day number of a civil date (proleptic Gregorian), and back.
int DayNumber(int year, int month, int day) noexcept;
TDate DateOf(int dayNumber) noexcept;
// 0 Sunday, 1 Monday ... 6 Saturday.
int Weekday(int dayNumber) noexcept;
// "yyyymmdd" of a day number.
std::string Ymd(int dayNumber);
// The day number of a real date written "yyyymmdd" (years 1900-9999); nothing otherwise.
std::optional<int> ParseYmd(std::string_view yyyymmdd) noexcept;

// What a racecourse holds on one racing day.
struct TCourseDay {
    int course = 0;       // racecourse code 1-10
    int meeting = 0;      // meeting number of the year at that course (開催回), 1-5
    int dayOfMeeting = 0; // day of the meeting, 1-8
    int role = 0;         // 0 and 1: the two main meetings of the weekend, 2: the third one
};

// The racecourses racing on the given day (a Saturday or Sunday of a racing weekend), in role
// order; empty on any other day.
std::vector<TCourseDay> RacingCourses(int dayNumber);
// True when the Saturday begins a racing weekend.
bool IsRacingSaturday(int saturday);
// The first Saturday of a racing weekend on or after the day.
int RacingSaturdayOnOrAfter(int dayNumber);
// The racing Saturdays of a year, in order.
std::vector<int> RacingSaturdaysOf(int year);

} // namespace standin::season
