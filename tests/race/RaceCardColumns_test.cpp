#include "race/RaceCardColumns.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using keiba::test::S;
using keiba::test::Show;

TEST(RaceCardColumns, HeadersAndWidths) {
    struct Expected {
        const char* header;
        int width;
    };
    const Expected expected[] = {
        {"枠", 25},   {"馬", 25},    {"連闘", 35},     {"馬名", 198},  {"騎手", 64}, {"性齢", 43},
        {"斤量", 43}, {"ﾌﾞﾘﾝｶ", 49}, {"見習区分", 65}, {"調教師", 64}, {"画数", 64},
    };
    const auto& columns = race::RaceCardColumns();
    ASSERT_EQ(columns.size(), std::size(expected));
    for (std::size_t i = 0; i < columns.size(); ++i) {
        EXPECT_EQ(columns[i].header, S(expected[i].header)) << i << " " << Show(columns[i].header);
        EXPECT_EQ(columns[i].width, expected[i].width) << i;
    }
    // The half-width katakana header is one byte a character.
    EXPECT_EQ(columns[7].header, "\xCC\xDE\xD8\xDD\xB6");
    EXPECT_EQ(race::kRaceCardRowHeight, 16);
}

} // namespace
