#include "acquisition/AcquisitionTimes.h"

#include <gtest/gtest.h>

namespace {

using namespace acquisition;
using store::TLocalDateTime;

TEST(AcquisitionTimes, TextForms) {
    const TLocalDateTime t{2004, 5, 1, 9, 5, 7};
    EXPECT_EQ(LastTimeText(t), "2004/05/01 09:05:07");
    EXPECT_EQ(FromTimeText(t), "20040501090507");
}

TEST(AcquisitionTimes, DefaultStartIsEightDaysBeforeNow) {
    EXPECT_EQ(DefaultStartTime({2004, 5, 1, 9, 5, 7}), (TLocalDateTime{2004, 4, 23, 9, 5, 7}));
    EXPECT_EQ(DefaultStartTime({2004, 3, 5, 0, 0, 0}), (TLocalDateTime{2004, 2, 26, 0, 0, 0}));
    EXPECT_EQ(DefaultStartTime({2005, 1, 3, 23, 59, 59}),
              (TLocalDateTime{2004, 12, 26, 23, 59, 59}));
    EXPECT_EQ(store::DateCut({2004, 3, 2, 12, 0, 0}), 20040227) << "a leap year's February";
    EXPECT_EQ(store::DateCut({2005, 1, 2, 0, 0, 0}), 20041229);
}

TEST(AcquisitionTimes, StoredStartTimesReadBack) {
    EXPECT_EQ(ParseLastTime("2004/05/01 09:05:07"), (TLocalDateTime{2004, 5, 1, 9, 5, 7}));
    EXPECT_EQ(ParseLastTime("2004/5/1 9:05:07"), (TLocalDateTime{2004, 5, 1, 9, 5, 7}));
    EXPECT_EQ(ParseLastTime("2004/05/01 09:05"), (TLocalDateTime{2004, 5, 1, 9, 5, 0}));
    EXPECT_EQ(ParseLastTime("2004/05/01"), (TLocalDateTime{2004, 5, 1, 0, 0, 0}));
    EXPECT_EQ(ParseLastTime(" 2004/05/01 09:05:07 "), (TLocalDateTime{2004, 5, 1, 9, 5, 7}));
    for (const char* bad : {"", "yesterday", "2004-05-01 09:05:07", "2004/02/30 00:00:00",
                            "2004/05/01 24:00:00", "2004/05/01 09:60:00", "04/05/01 09:05:07",
                            "2004/05/01 09:05:07x", "2004/13/01", "2004/05/01T09:05:07"}) {
        EXPECT_FALSE(ParseLastTime(bad)) << bad;
    }
    EXPECT_EQ(ParseFromTime("20040501090507"), (TLocalDateTime{2004, 5, 1, 9, 5, 7}));
    for (const char* bad : {"2004050109050", "200405010905070", "2004050109050x", "20040230000000",
                            "20040501250000"}) {
        EXPECT_FALSE(ParseFromTime(bad)) << bad;
    }
}

TEST(AcquisitionTimes, LastFileTimestampBecomesTheNextStart) {
    EXPECT_EQ(LastTimeOfTimestamp("20040501123456"), "2004/05/01 12:34:56");
    EXPECT_FALSE(LastTimeOfTimestamp("00000000000000"));
    EXPECT_FALSE(LastTimeOfTimestamp("              "));
    EXPECT_FALSE(LastTimeOfTimestamp(""));
    EXPECT_FALSE(LastTimeOfTimestamp("2004050112"));
    EXPECT_FALSE(LastTimeOfTimestamp("2004050112345x"));
    EXPECT_EQ(ParseLastTime(*LastTimeOfTimestamp("20041231235959")),
              (TLocalDateTime{2004, 12, 31, 23, 59, 59}));
}

} // namespace
