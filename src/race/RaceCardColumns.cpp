#include "race/RaceCardColumns.h"

#include "jvdata/SjisText.h"

namespace race {

const std::array<TRaceCardColumn, kRaceCardColumnCount>& RaceCardColumns() {
    static const std::array<TRaceCardColumn, kRaceCardColumnCount> columns = {{
        {Sjis::FromUtf8("枠"), 25},
        {Sjis::FromUtf8("馬"), 25},
        {Sjis::FromUtf8("連闘"), 35},
        {Sjis::FromUtf8("馬名"), 198},
        {Sjis::FromUtf8("騎手"), 64},
        {Sjis::FromUtf8("性齢"), 43},
        {Sjis::FromUtf8("斤量"), 43},
        {Sjis::FromUtf8("ﾌﾞﾘﾝｶ"), 49},
        {Sjis::FromUtf8("見習区分"), 65},
        {Sjis::FromUtf8("調教師"), 64},
        {Sjis::FromUtf8("画数"), 64},
    }};
    return columns;
}

} // namespace race
