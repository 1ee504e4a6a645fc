#include "widgets/Label3DGeometry.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace widgets {

int NormaliseEscapement(int degrees) noexcept {
    // The same result as adding or subtracting 360 step by step, without the steps.
    if (degrees < 0) {
        const int rest = degrees % 360; // -359 .. 0
        return rest < 0 ? rest + 360 : 0;
    }
    if (degrees > 360) {
        return (degrees - 1) % 360 + 1; // 361 .. -> 1 .. 360
    }
    return degrees;
}

std::vector<TTextCopy> TextCopies(TTextStyle style, int shift, bool enabled) {
    std::vector<TTextCopy> copies;
    switch (style) {
    case TTextStyle::tsNone:
        break;
    case TTextStyle::tsRaised:
        copies.push_back({1, 1, TCopyColour::Shadow});
        break;
    case TTextStyle::tsLightRaised:
        copies.push_back({1, 1, TCopyColour::Shadow});
        copies.push_back({-1, -1, TCopyColour::Highlight});
        break;
    case TTextStyle::tsRecessed:
        copies.push_back({1, 1, TCopyColour::Highlight});
        break;
    case TTextStyle::tsHeavyRecessed:
        copies.push_back({1, 1, TCopyColour::Highlight});
        copies.push_back({-1, -1, TCopyColour::Shadow});
        break;
    case TTextStyle::tsShadow:
        copies.push_back({shift, shift, TCopyColour::Shadow});
        break;
    }
    copies.push_back({0, 0, enabled ? TCopyColour::Font : TCopyColour::GrayText});
    return copies;
}

std::vector<TBorderStroke> BorderStrokes(bool border, int borderWidth, TBorderType type, int width,
                                         int height) {
    if (!border || borderWidth <= 0 || width <= 0 || height <= 0) {
        return {};
    }
    const int right = width - 1;
    const int bottom = height - 1;
    if (type == TBorderType::btDefault) {
        return {{TBorderColour::Pen, {{0, 0}, {right, 0}, {right, bottom}, {0, bottom}, {0, 0}}}};
    }
    // The bevel is the frame of (0, 0, width - 1, height - 1) drawn as two pen runs: up the
    // left edge and along the top, then down the right edge and back along the bottom. The
    // first run stops short of the top-right corner, which belongs to the second.
    const bool sunk = type == TBorderType::btRecessed;
    const TBorderColour topLeft = sunk ? TBorderColour::Grey : TBorderColour::White;
    const TBorderColour bottomRight = sunk ? TBorderColour::White : TBorderColour::Grey;
    TBorderStroke first{topLeft, {{0, bottom}, {0, 0}}};
    if (right >= 1) {
        first.points.push_back({right - 1, 0});
    }
    TBorderStroke second{bottomRight, {{right, 0}, {right, bottom}}};
    if (right >= 1) {
        second.points.push_back({1, bottom});
    }
    return {first, second};
}

TTextFlags LabelTextFlags(TAlignment alignment, TTextLayout layout, bool wordWrap,
                          bool showAccelChar, TEllipsesStyle ellipsis, bool rotated) {
    TTextFlags flags;
    flags.alignment = alignment;
    flags.wordBreak = wordWrap;
    flags.showPrefix = showAccelChar;
    flags.ellipsis = ellipsis;
    if (!rotated) {
        if (layout == TTextLayout::tlCenter) {
            flags.singleLine = true;
            flags.vertical = TVerticalPlacement::Centre;
        } else if (layout == TTextLayout::tlBottom) {
            flags.singleLine = true;
            flags.vertical = TVerticalPlacement::Bottom;
        }
    }
    return flags;
}

namespace {

int RoundPixel(double value) {
    return static_cast<int>(std::lround(value));
}

} // namespace

TRotatedPlacement RotatedTextPlacement(int escapement, int textWidth, int textHeight,
                                       TAlignment alignment, bool autoSize, int labelWidth) {
    const int a = escapement;
    const double w = textWidth;
    const double h = textHeight;
    const auto rad = [](double degrees) { return degrees * std::numbers::pi / 180.0; };
    const double sinA = std::sin(rad(a));
    const double cosA = std::cos(rad(a));

    TRotatedPlacement placement;
    if (a <= 90) {
        placement.startY = RoundPixel(w * sinA);
    } else if (a <= 180) {
        placement.startX = RoundPixel(-w * cosA);
        placement.startY = RoundPixel(h * std::cos(rad(180 - a))) + RoundPixel(w * sinA);
    } else if (a <= 270) {
        placement.startX = RoundPixel(h * std::sin(rad(a - 180))) + RoundPixel(-w * cosA);
        placement.startY = RoundPixel(h * std::sin(rad(270 - a)));
    } else {
        placement.startX = RoundPixel(h * std::sin(rad(360 - a)));
    }
    placement.boxWidth = RoundPixel(std::fabs(w * cosA)) + RoundPixel(std::fabs(h * sinA));
    placement.boxHeight = RoundPixel(std::fabs(w * sinA)) + RoundPixel(std::fabs(h * cosA));

    if (!autoSize) {
        if (alignment == TAlignment::taCenter) {
            placement.startX += (labelWidth - placement.boxWidth) / 2;
        } else if (alignment == TAlignment::taRightJustify) {
            placement.startX += labelWidth - placement.boxWidth;
        }
    }
    return placement;
}

namespace {

// The longest n in [0, limit] for which fits(n) holds, given that fits is monotone (true up to
// some n, false after); -1 when fits(0) is false.
template <typename Fits>
long LongestFitting(long limit, Fits fits) {
    if (!fits(0)) {
        return -1;
    }
    long lo = 0; // fits
    long hi = limit + 1;
    while (hi - lo > 1) {
        const long mid = lo + (hi - lo) / 2;
        if (fits(mid)) {
            lo = mid;
        } else {
            hi = mid;
        }
    }
    return lo;
}

} // namespace

std::u32string ShortenLine(std::u32string_view line, double maxWidth, TEllipsesStyle style,
                           const TTextMeasure& measure) {
    if (style == TEllipsesStyle::esNone || measure(line) <= maxWidth) {
        return std::u32string(line);
    }
    const long length = static_cast<long>(line.size());
    const auto join = [&](std::u32string_view head, std::u32string_view tail) {
        std::u32string text(head);
        text += kEllipsis;
        text += tail;
        return text;
    };
    const auto fitsWith = [&](std::u32string_view head, std::u32string_view tail) {
        return measure(join(head, tail)) <= maxWidth;
    };

    if (style == TEllipsesStyle::esEnd) {
        const long keep = LongestFitting(length, [&](long n) {
            return fitsWith(line.substr(0, static_cast<std::size_t>(n)), {});
        });
        return join(line.substr(0, static_cast<std::size_t>(keep < 0 ? 0 : keep)), {});
    }

    const std::size_t separator = line.find_last_of(U"\\/");
    if (separator == std::u32string_view::npos) {
        // No folder part: keep the two ends of the line around the ellipsis.
        const auto split = [&](long n) {
            const auto left = static_cast<std::size_t>((n + 1) / 2);
            const auto right = static_cast<std::size_t>(n / 2);
            return std::pair{line.substr(0, left), line.substr(line.size() - right)};
        };
        const long keep = LongestFitting(length, [&](long n) {
            const auto [head, tail] = split(n);
            return fitsWith(head, tail);
        });
        const auto [head, tail] = split(keep < 0 ? 0 : keep);
        return join(head, tail);
    }

    const std::u32string_view tail = line.substr(separator);
    const std::u32string_view head = line.substr(0, separator);
    const long keepHead = LongestFitting(static_cast<long>(head.size()), [&](long n) {
        return fitsWith(head.substr(0, static_cast<std::size_t>(n)), tail);
    });
    if (keepHead >= 0) {
        return join(head.substr(0, static_cast<std::size_t>(keepHead)), tail);
    }
    // Even the last part does not fit behind "...": keep as much of the line's end as fits.
    const long keepEnd = LongestFitting(length, [&](long n) {
        return fitsWith({}, line.substr(line.size() - static_cast<std::size_t>(n)));
    });
    return join({}, line.substr(line.size() - static_cast<std::size_t>(keepEnd < 0 ? 0 : keepEnd)));
}

} // namespace widgets
