#include "race/RaceCardLook.h"

#include "jvdata/SjisText.h"

#include <cstddef>

namespace race::CardLook {

namespace {

// A text that reads whole as a number: leading blanks, an optional sign, then only digits to
// its end. Anything else (blank, letters, a digit followed by other bytes) reads as 0. Values
// are capped far above every code and frame number, so no text can overflow.
int WholeNumber(std::string_view text) noexcept {
    std::string_view rest = Sjis::TrimLeftBlanks(text);
    bool negative = false;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    if (rest.empty()) {
        return 0;
    }
    int value = 0;
    for (const char c : rest) {
        if (c < '0' || c > '9') {
            return 0;
        }
        if (value < 100000) {
            value = value * 10 + (c - '0');
        }
    }
    return negative ? -value : value;
}

} // namespace

std::uint32_t PanelColour(std::string_view trackCode) noexcept {
    const int track = WholeNumber(trackCode);
    return track == 23 || track == 24 ? kPanelMaroon : kPanelGreen;
}

std::string ColumnHeader(int column) {
    static const std::array<std::string, kColumnCount> kHeaders = {
        Sjis::FromUtf8("枠"),     Sjis::FromUtf8("馬"),    Sjis::FromUtf8("連闘"),
        Sjis::FromUtf8("馬名"),   Sjis::FromUtf8("騎手"),  Sjis::FromUtf8("性齢"),
        Sjis::FromUtf8("斤量"),   Sjis::FromUtf8("ﾌﾞﾘﾝｶ"), Sjis::FromUtf8("見習区分"),
        Sjis::FromUtf8("調教師"), Sjis::FromUtf8("画数")};
    if (column < 0 || column >= kColumnCount) {
        return {};
    }
    return kHeaders[static_cast<std::size_t>(column)];
}

std::optional<std::uint32_t> FrameColour(int frame) noexcept {
    // Frames 1 to 8: the racing colours of the eight frames.
    static constexpr std::array<std::uint32_t, 8> kFrames = {
        0xFFFFFF, // 1 white
        0x808080, // 2 gray
        0xFF0000, // 3 red
        0x0000FF, // 4 blue
        0xFFFF00, // 5 yellow
        0x00FF00, // 6 green
        0xFF8000, // 7 orange
        0xFF00FF, // 8 pink
    };
    if (frame < 1 || frame > 8) {
        return std::nullopt;
    }
    return kFrames[static_cast<std::size_t>(frame - 1)];
}

TCellLook CellLook(int column, int row, std::string_view text) noexcept {
    if (row < kFixedRows) {
        return TCellLook{TCellFill::Colour, kHeaderRowBackground, TCellAlign::Centre};
    }
    const bool left = column == static_cast<int>(TCardColumn::HorseName) ||
                      column == static_cast<int>(TCardColumn::Jockey);
    const TCellAlign align = left ? TCellAlign::Left : TCellAlign::Centre;
    if (column == static_cast<int>(TCardColumn::Frame)) {
        if (const auto colour = FrameColour(WholeNumber(text))) {
            return TCellLook{TCellFill::Colour, *colour, align};
        }
        return TCellLook{TCellFill::GridOwn, kCellBackground, align};
    }
    if (column == static_cast<int>(TCardColumn::HorseNumber)) {
        return TCellLook{TCellFill::ToolTip, kToolTipFallback, align};
    }
    return TCellLook{TCellFill::Colour, kCellBackground, align};
}

} // namespace race::CardLook
