#include "race/PayoffPage.h"

#include "jvdata/SjisText.h"

#include <cstddef>

namespace race::PayoffPage {

std::string BetTypeHeading(TBetType bet) {
    // In the order of TBetType.
    static const std::array<std::string, kBetTypeCount> kHeadings = {
        Sjis::FromUtf8("単勝"),  Sjis::FromUtf8("複勝"), Sjis::FromUtf8("枠連"),
        Sjis::FromUtf8("馬連"),  Sjis::FromUtf8("ﾜｲﾄﾞ"), Sjis::FromUtf8("馬単"),
        Sjis::FromUtf8("三連複")};
    const auto index = static_cast<std::size_t>(bet);
    return index < kHeadings.size() ? kHeadings[index] : std::string();
}

std::string LineCaption(TPayoffLine line) {
    // In the order of TPayoffLine.
    static const std::array<std::string, 3> kCaptions = {
        Sjis::FromUtf8("結果："), Sjis::FromUtf8("人気："), Sjis::FromUtf8("配当：")};
    const auto index = static_cast<std::size_t>(line);
    return index < kCaptions.size() ? kCaptions[index] : std::string();
}

const std::string& BoxText(const TPayoffBoxTexts& column, TPayoffLine line) noexcept {
    switch (line) {
    case TPayoffLine::Result:
        return column.result;
    case TPayoffLine::Popularity:
        return column.popularity;
    case TPayoffLine::Payout:
        break;
    }
    return column.payout;
}

} // namespace race::PayoffPage
