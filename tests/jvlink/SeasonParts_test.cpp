// Parts of the built-in season: dates, the racing calendar of meetings and days, and the
// portable arithmetic its numbers are drawn with.
#include "jvlink/standin/SeasonCalendar.h"
#include "jvlink/standin/SeasonRandom.h"

#include <cmath>
#include <gtest/gtest.h>
#include <set>

namespace {

using namespace standin::season;

TEST(SeasonCalendar, DatesAndDayNumbersRoundTrip) {
    EXPECT_EQ(DayNumber(1970, 1, 1), 0);
    EXPECT_EQ(Weekday(0), 4) << "1970-01-01 was a Thursday";
    EXPECT_EQ(Weekday(DayNumber(2026, 1, 1)), 4);
    EXPECT_EQ(Weekday(DayNumber(2026, 1, 10)), 6);
    EXPECT_EQ(Weekday(DayNumber(1900, 1, 1)), 1) << "a Monday, before day 0";
    for (const auto& [y, m, d] : {TDate{1900, 3, 1}, TDate{2000, 2, 29}, TDate{2024, 12, 31},
                                  TDate{2100, 2, 28}, TDate{1969, 12, 31}}) {
        const TDate back = DateOf(DayNumber(y, m, d));
        EXPECT_EQ(back.year, y);
        EXPECT_EQ(back.month, m);
        EXPECT_EQ(back.day, d);
    }
    EXPECT_EQ(Ymd(DayNumber(2025, 7, 5)), "20250705");
}

TEST(SeasonCalendar, OnlyRealDatesParse) {
    EXPECT_EQ(ParseYmd("20240229"), DayNumber(2024, 2, 29));
    EXPECT_EQ(ParseYmd("19000101"), DayNumber(1900, 1, 1));
    for (const char* bad : {"20230229", "20261301", "20260100", "2026011", "202601011", "2026-1-1",
                            "18991231", "abcdefgh", ""}) {
        EXPECT_FALSE(ParseYmd(bad).has_value()) << bad;
    }
}

TEST(SeasonCalendar, TheYearOpensAfterNewYearAndEndsBeforeItsLastDays) {
    // 2026: 5 January is a Monday, so the first racing Saturday is the 10th.
    EXPECT_FALSE(IsRacingSaturday(DayNumber(2026, 1, 3)));
    EXPECT_TRUE(IsRacingSaturday(DayNumber(2026, 1, 10)));
    EXPECT_EQ(RacingSaturdayOnOrAfter(DayNumber(2025, 12, 29)), DayNumber(2026, 1, 10));
    EXPECT_EQ(RacingSaturdayOnOrAfter(DayNumber(2026, 1, 10)), DayNumber(2026, 1, 10));
    EXPECT_EQ(RacingSaturdayOnOrAfter(DayNumber(2026, 1, 11)), DayNumber(2026, 1, 17));
    // 2025 ends with the racing Saturday of 27 December; the 28th is a Sunday of racing.
    EXPECT_TRUE(IsRacingSaturday(DayNumber(2025, 12, 27)));
    EXPECT_FALSE(RacingCourses(DayNumber(2025, 12, 28)).empty());
    EXPECT_TRUE(RacingCourses(DayNumber(2025, 12, 29)).empty()) << "a Monday";
    EXPECT_TRUE(RacingCourses(DayNumber(2026, 1, 4)).empty()) << "the New Year break";
    const auto saturdays = RacingSaturdaysOf(2026);
    EXPECT_EQ(saturdays.front(), DayNumber(2026, 1, 10));
    EXPECT_EQ(saturdays.size(), 51u);
    EXPECT_EQ(RacingSaturdaysOf(2025).size(), 51u);
}

TEST(SeasonCalendar, MeetingsAndDaysOfTheWeekend) {
    // The first weekend of 2026: 1回中山 and 1回京都, days 1 and 2.
    const auto saturday = RacingCourses(DayNumber(2026, 1, 10));
    ASSERT_EQ(saturday.size(), 2u);
    EXPECT_EQ(saturday[0].course, 6);
    EXPECT_EQ(saturday[0].meeting, 1);
    EXPECT_EQ(saturday[0].dayOfMeeting, 1);
    EXPECT_EQ(saturday[1].course, 8);
    const auto sunday = RacingCourses(DayNumber(2026, 1, 11));
    ASSERT_EQ(sunday.size(), 2u);
    EXPECT_EQ(sunday[0].dayOfMeeting, 2);
    // The last weekend of 2025 (its 51st, the third of the last block): 5回中山, 5回阪神 and
    // 3回中京 on their 5th and 6th days.
    const auto december = RacingCourses(DayNumber(2025, 12, 27));
    ASSERT_EQ(december.size(), 3u);
    EXPECT_EQ(december[0].course, 6);
    EXPECT_EQ(december[0].meeting, 5);
    EXPECT_EQ(december[0].dayOfMeeting, 5);
    EXPECT_EQ(december[1].course, 9);
    EXPECT_EQ(december[1].meeting, 5);
    EXPECT_EQ(december[2].course, 7);
    EXPECT_EQ(december[2].meeting, 3);
    EXPECT_EQ(december[2].role, 2);
    EXPECT_EQ(RacingCourses(DayNumber(2025, 12, 28))[2].dayOfMeeting, 6);
}

TEST(SeasonCalendar, EveryRacecourseRacesEveryYear) {
    std::set<int> courses;
    int days = 0;
    for (const int saturday : RacingSaturdaysOf(2025)) {
        for (const int day : {saturday, saturday + 1}) {
            for (const auto& c : RacingCourses(day)) {
                courses.insert(c.course);
                EXPECT_GE(c.dayOfMeeting, 1);
                EXPECT_LE(c.dayOfMeeting, 8);
                ++days;
            }
        }
    }
    EXPECT_EQ(courses, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_GT(days, 260) << "two or three racecourses on about fifty weekends";
}

TEST(SeasonRandom, TheSameSeedGivesTheSameDraws) {
    TRandom a(42);
    TRandom b(42);
    TRandom c(43);
    bool differs = false;
    for (int i = 0; i < 1000; ++i) {
        const auto x = a.Next();
        EXPECT_EQ(x, b.Next());
        differs = differs || x != c.Next();
    }
    EXPECT_TRUE(differs);
    EXPECT_NE(Mix(1, 2), Mix(2, 1));
}

TEST(SeasonRandom, DrawsStayInTheirRanges) {
    TRandom rng(7);
    std::set<int> seen;
    double sum = 0;
    double squares = 0;
    constexpr int kDraws = 20000;
    for (int i = 0; i < kDraws; ++i) {
        const int v = rng.Between(3, 8);
        ASSERT_GE(v, 3);
        ASSERT_LE(v, 8);
        seen.insert(v);
        const double u = rng.Unit();
        ASSERT_GE(u, 0.0);
        ASSERT_LT(u, 1.0);
        const double z = rng.Normal();
        sum += z;
        squares += z * z;
    }
    EXPECT_EQ(seen.size(), 6u);
    EXPECT_NEAR(sum / kDraws, 0.0, 0.03);
    EXPECT_NEAR(squares / kDraws, 1.0, 0.05);
    EXPECT_EQ(rng.Below(1), 0);
    EXPECT_EQ(rng.Pick(std::vector<double>{0, 0, 5, 0}), 2);
    EXPECT_EQ(rng.Pick(std::vector<double>{0, 0}), 1) << "all weights zero: the last";
}

TEST(SeasonRandom, PortableExponentialAndLogarithm) {
    for (double x = -30; x <= 30; x += 0.37) {
        EXPECT_NEAR(DetExp(x) / std::exp(x), 1.0, 1e-12) << x;
    }
    for (double x : {0.001, 0.5, 1.0, 1.5, 2.0, 1600.0, 3600.0, 1e9}) {
        EXPECT_NEAR(DetLog2(x), std::log2(x), 1e-10) << x;
    }
}

} // namespace
