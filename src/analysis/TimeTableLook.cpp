#include "analysis/TimeTableLook.h"

#include "jvdata/LenientInt.h"
#include "jvdata/SjisText.h"
#include "race/RaceCardLook.h"

namespace analysis::TableLook {

std::string TimesCaption() {
    return Sjis::FromUtf8("\u3000走破タイム計算表（100m当たり秒数）");
}

std::string Last3fCaption() {
    return Sjis::FromUtf8("\u3000上３ハロンタイム計算表（100m当たり秒数）");
}

std::string GridHint() {
    return Sjis::FromUtf8(
        "表示は印、枠番、馬番、前１走、前２走、前３走、前４走、前５走、平均値の順です");
}

TCellLook CellLook(int column, std::string_view text) noexcept {
    TCellLook look;
    look.align = column <= kHorseColumn ? TCellAlign::Centre : TCellAlign::Right;
    if (column == kFrameColumn) {
        // Only a whole frame number 1-8 has a colour; anything else stays white.
        const std::string_view trimmed = Sjis::TrimBlanks(text);
        const bool digits = trimmed.size() == 1 && trimmed[0] >= '1' && trimmed[0] <= '8';
        if (digits) {
            look.colour = race::CardLook::FrameColour(jvdata::LenientInt(trimmed)).value_or(kWhite);
        }
    } else if (column == kHorseColumn) {
        look.fill = TCellFill::ToolTip;
        look.colour = kToolTipFallback;
    } else if (column == kAverageColumn) {
        look.colour = kAverageBackground;
    }
    return look;
}

} // namespace analysis::TableLook
