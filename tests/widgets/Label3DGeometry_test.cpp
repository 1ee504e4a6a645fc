#include "widgets/Label3DGeometry.h"

#include <climits>
#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace widgets {
namespace {

// ---- Escapement ---------------------------------------------------------------------------

TEST(NormaliseEscapement, FoldsIntoZeroToThreeHundredSixty) {
    struct Case {
        int given;
        int kept;
    };
    const Case cases[] = {
        {0, 0},     {1, 1},      {90, 90},  {359, 359},  {360, 360}, {361, 1},
        {720, 360}, {721, 1},    {725, 5},  {-1, 359},   {-30, 330}, {-359, 1},
        {-360, 0},  {-361, 359}, {-720, 0}, {-725, 355},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NormaliseEscapement(c.given), c.kept) << "given " << c.given;
    }
}

TEST(NormaliseEscapement, ExtremeAnglesStayInRange) {
    for (int given : {INT_MAX, INT_MIN, INT_MIN + 1, INT_MAX - 1}) {
        const int kept = NormaliseEscapement(given);
        EXPECT_GE(kept, 0) << given;
        EXPECT_LE(kept, 360) << given;
        // The same angle: the difference is a whole number of turns.
        EXPECT_EQ((static_cast<long long>(given) - kept) % 360, 0) << given;
    }
}

// ---- Copies -------------------------------------------------------------------------------

TEST(TextCopies, EachStyleDrawsItsCopiesBeforeTheCaption) {
    using C = TCopyColour;
    struct Case {
        TTextStyle style;
        std::vector<TTextCopy> copies;
    };
    const Case cases[] = {
        {TTextStyle::tsNone, {{0, 0, C::Font}}},
        {TTextStyle::tsRaised, {{1, 1, C::Shadow}, {0, 0, C::Font}}},
        {TTextStyle::tsLightRaised, {{1, 1, C::Shadow}, {-1, -1, C::Highlight}, {0, 0, C::Font}}},
        {TTextStyle::tsRecessed, {{1, 1, C::Highlight}, {0, 0, C::Font}}},
        {TTextStyle::tsHeavyRecessed, {{1, 1, C::Highlight}, {-1, -1, C::Shadow}, {0, 0, C::Font}}},
        {TTextStyle::tsShadow, {{1, 1, C::Shadow}, {0, 0, C::Font}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextCopies(c.style, 1, true), c.copies) << static_cast<int>(c.style);
    }
}

TEST(TextCopies, ShiftMovesOnlyTheShadowStyle) {
    EXPECT_EQ(TextCopies(TTextStyle::tsShadow, 4, true),
              (std::vector<TTextCopy>{{4, 4, TCopyColour::Shadow}, {0, 0, TCopyColour::Font}}));
    EXPECT_EQ(TextCopies(TTextStyle::tsShadow, -2, true).front(),
              (TTextCopy{-2, -2, TCopyColour::Shadow}));
    EXPECT_EQ(TextCopies(TTextStyle::tsRaised, 4, true).front(),
              (TTextCopy{1, 1, TCopyColour::Shadow}));
    EXPECT_EQ(TextCopies(TTextStyle::tsHeavyRecessed, 4, true)[1],
              (TTextCopy{-1, -1, TCopyColour::Shadow}));
}

TEST(TextCopies, DisabledLabelGreysOnlyTheCaption) {
    const auto copies = TextCopies(TTextStyle::tsLightRaised, 1, false);
    ASSERT_EQ(copies.size(), 3u);
    EXPECT_EQ(copies[0], (TTextCopy{1, 1, TCopyColour::Shadow}));
    EXPECT_EQ(copies[1], (TTextCopy{-1, -1, TCopyColour::Highlight}));
    EXPECT_EQ(copies[2], (TTextCopy{0, 0, TCopyColour::GrayText}));
    EXPECT_EQ(TextCopies(TTextStyle::tsNone, 1, false),
              (std::vector<TTextCopy>{{0, 0, TCopyColour::GrayText}}));
}

// ---- Border -------------------------------------------------------------------------------

TEST(BorderStrokes, NothingWithoutBorderOrWidth) {
    EXPECT_TRUE(BorderStrokes(false, 1, TBorderType::btDefault, 60, 14).empty());
    EXPECT_TRUE(BorderStrokes(true, 0, TBorderType::btRecessed, 60, 14).empty());
    EXPECT_TRUE(BorderStrokes(true, -3, TBorderType::btRaised, 60, 14).empty());
    EXPECT_TRUE(BorderStrokes(true, 1, TBorderType::btDefault, 0, 14).empty());
    EXPECT_TRUE(BorderStrokes(true, 1, TBorderType::btDefault, 60, 0).empty());
}

TEST(BorderStrokes, PlainRectangleInThePen) {
    const auto strokes = BorderStrokes(true, 2, TBorderType::btDefault, 60, 14);
    ASSERT_EQ(strokes.size(), 1u);
    EXPECT_EQ(strokes[0],
              (TBorderStroke{TBorderColour::Pen, {{0, 0}, {59, 0}, {59, 13}, {0, 13}, {0, 0}}}));
}

TEST(BorderStrokes, BevelsShareTheFrameOfTheSmallerRectangle) {
    // A 60 x 14 value box: the frame of (0, 0, 59, 13). Left edge and top up to the pixel
    // before the top-right corner in the first colour; right edge and bottom back to the pixel
    // after the bottom-left corner in the second.
    const std::vector<TPixel> topLeft{{0, 13}, {0, 0}, {58, 0}};
    const std::vector<TPixel> bottomRight{{59, 0}, {59, 13}, {1, 13}};
    EXPECT_EQ(BorderStrokes(true, 1, TBorderType::btRecessed, 60, 14),
              (std::vector<TBorderStroke>{{TBorderColour::Grey, topLeft},
                                          {TBorderColour::White, bottomRight}}));
    EXPECT_EQ(BorderStrokes(true, 1, TBorderType::btRaised, 60, 14),
              (std::vector<TBorderStroke>{{TBorderColour::White, topLeft},
                                          {TBorderColour::Grey, bottomRight}}));
}

TEST(BorderStrokes, OnePixelWideLabelKeepsBothColoursInside) {
    const auto strokes = BorderStrokes(true, 1, TBorderType::btRecessed, 1, 5);
    ASSERT_EQ(strokes.size(), 2u);
    for (const auto& stroke : strokes) {
        for (const TPixel& p : stroke.points) {
            EXPECT_EQ(p.x, 0);
            EXPECT_GE(p.y, 0);
            EXPECT_LE(p.y, 4);
        }
    }
}

// ---- Text flags ---------------------------------------------------------------------------

TEST(LabelTextFlags, StandardFlagsFollowTheLabel) {
    const auto flags = LabelTextFlags(TAlignment::taCenter, TTextLayout::tlTop, true, false,
                                      TEllipsesStyle::esPath, false);
    EXPECT_EQ(flags.alignment, TAlignment::taCenter);
    EXPECT_EQ(flags.vertical, TVerticalPlacement::Top);
    EXPECT_TRUE(flags.expandTabs);
    EXPECT_TRUE(flags.wordBreak);
    EXPECT_FALSE(flags.singleLine);
    EXPECT_FALSE(flags.showPrefix);
    EXPECT_EQ(flags.ellipsis, TEllipsesStyle::esPath);
}

TEST(LabelTextFlags, CentreAndBottomLayoutsAreSingleLineUnlessRotated) {
    struct Case {
        TTextLayout layout;
        bool rotated;
        TVerticalPlacement vertical;
        bool singleLine;
    };
    const Case cases[] = {
        {TTextLayout::tlTop, false, TVerticalPlacement::Top, false},
        {TTextLayout::tlCenter, false, TVerticalPlacement::Centre, true},
        {TTextLayout::tlBottom, false, TVerticalPlacement::Bottom, true},
        {TTextLayout::tlCenter, true, TVerticalPlacement::Top, false},
        {TTextLayout::tlBottom, true, TVerticalPlacement::Top, false},
    };
    for (const Case& c : cases) {
        const auto flags = LabelTextFlags(TAlignment::taLeftJustify, c.layout, false, true,
                                          TEllipsesStyle::esNone, c.rotated);
        EXPECT_EQ(flags.vertical, c.vertical) << static_cast<int>(c.layout) << c.rotated;
        EXPECT_EQ(flags.singleLine, c.singleLine) << static_cast<int>(c.layout) << c.rotated;
        EXPECT_TRUE(flags.showPrefix);
    }
}

// ---- Rotation -----------------------------------------------------------------------------

TEST(RotatedTextPlacement, StartAndBoxForEachQuarter) {
    // Text 100 x 20 pixels in an auto-sized label. Values worked out by hand from the
    // formulas: sin 30 = 0.5, cos 30 = 0.8660, sin 45 = cos 45 = 0.7071.
    struct Case {
        int angle;
        TRotatedPlacement expected;
    };
    const Case cases[] = {
        {30, {0, 50, 97, 67}},     // down 100 * 0.5; box 86.6 + 10, 50 + 17.32
        {45, {0, 71, 85, 85}},     // down 70.71; box 70.71 + 14.14 each way
        {90, {0, 100, 20, 100}},   // standing up: down by the whole width
        {120, {50, 97, 67, 97}},   // right 50; down 20 * 0.5 + 86.6
        {135, {71, 85, 85, 85}},   // right 70.71; down 14.14 + 70.71
        {180, {100, 20, 100, 20}}, // upside down: right by the width, down by the height
        {210, {97, 17, 97, 67}},   // right 20 * 0.5 + 86.6; down 20 * 0.866
        {270, {20, 0, 20, 100}},   // reading downwards: right by the height
        {300, {17, 0, 67, 97}},    // right 20 * sin 60
        {360, {0, 0, 100, 20}},    // a whole turn: as unrotated
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RotatedTextPlacement(c.angle, 100, 20, TAlignment::taLeftJustify, true, 0),
                  c.expected)
            << c.angle << " degrees";
    }
}

TEST(RotatedTextPlacement, StartKeepsEveryCornerInsideTheBox) {
    // The four corners of the turned text cell, moved to the start point, lie inside the box
    // (allowing a pixel for rounding) for every whole angle.
    const double w = 137;
    const double h = 23;
    for (int a = 1; a <= 360; ++a) {
        const auto p = RotatedTextPlacement(a, 137, 23, TAlignment::taLeftJustify, true, 0);
        const double rad = a * 3.14159265358979323846 / 180.0;
        // Counter-clockwise on a screen whose y grows downwards.
        const double ux = std::cos(rad), uy = -std::sin(rad); // along the text
        const double vx = std::sin(rad), vy = std::cos(rad);  // down the text cell
        const double corners[4][2] = {
            {0, 0}, {w * ux, w * uy}, {h * vx, h * vy}, {w * ux + h * vx, w * uy + h * vy}};
        for (const auto& corner : corners) {
            const double x = p.startX + corner[0];
            const double y = p.startY + corner[1];
            EXPECT_GE(x, -1.0) << a;
            EXPECT_GE(y, -1.0) << a;
            EXPECT_LE(x, p.boxWidth + 1.0) << a;
            EXPECT_LE(y, p.boxHeight + 1.0) << a;
        }
    }
}

TEST(RotatedTextPlacement, AlignmentMovesTheStartInAFixedLabel) {
    // 90 degrees: a 20 x 100 box in a label 51 pixels wide.
    EXPECT_EQ(RotatedTextPlacement(90, 100, 20, TAlignment::taLeftJustify, false, 51).startX, 0);
    EXPECT_EQ(RotatedTextPlacement(90, 100, 20, TAlignment::taCenter, false, 51).startX, 15);
    EXPECT_EQ(RotatedTextPlacement(90, 100, 20, TAlignment::taRightJustify, false, 51).startX, 31);
    // 180 degrees starts 100 to the right already; the label is narrower than the box.
    EXPECT_EQ(RotatedTextPlacement(180, 100, 20, TAlignment::taCenter, false, 95).startX, 98);
    EXPECT_EQ(RotatedTextPlacement(180, 100, 20, TAlignment::taRightJustify, false, 95).startX, 95);
    // Auto size: the label takes the box, so alignment has nothing to move.
    EXPECT_EQ(RotatedTextPlacement(90, 100, 20, TAlignment::taRightJustify, true, 51).startX, 0);
    // Vertical place is not moved by alignment.
    EXPECT_EQ(RotatedTextPlacement(90, 100, 20, TAlignment::taCenter, false, 51).startY, 100);
}

// ---- Ellipses -----------------------------------------------------------------------------

// Every character 10 pixels wide, "." 2 pixels.
double Measure(std::u32string_view text) {
    double width = 0;
    for (char32_t c : text) {
        width += c == U'.' ? 2 : 10;
    }
    return width;
}

std::string Narrow(const std::u32string& text) {
    std::string out;
    for (char32_t c : text) {
        out += c < 0x80 ? static_cast<char>(c) : '#';
    }
    return out;
}

TEST(ShortenLine, TextThatFitsOrNoStyleIsKept) {
    EXPECT_EQ(Narrow(ShortenLine(U"abcdef", 60, TEllipsesStyle::esEnd, Measure)), "abcdef");
    EXPECT_EQ(Narrow(ShortenLine(U"abcdefgh", 10, TEllipsesStyle::esNone, Measure)), "abcdefgh");
    EXPECT_EQ(Narrow(ShortenLine(U"", 0, TEllipsesStyle::esPath, Measure)), "");
}

TEST(ShortenLine, EndEllipsisKeepsTheLongestStart) {
    // "..." is 6 pixels: 50 pixels leave room for 4 characters.
    EXPECT_EQ(Narrow(ShortenLine(U"abcdefgh", 50, TEllipsesStyle::esEnd, Measure)), "abcd...");
    EXPECT_EQ(Narrow(ShortenLine(U"abcdefgh", 46, TEllipsesStyle::esEnd, Measure)), "abcd...");
    EXPECT_EQ(Narrow(ShortenLine(U"abcdefgh", 45, TEllipsesStyle::esEnd, Measure)), "abc...");
    EXPECT_EQ(Narrow(ShortenLine(U"abcdefgh", 3, TEllipsesStyle::esEnd, Measure)), "...");
}

TEST(ShortenLine, PathEllipsisKeepsTheLastPart) {
    const std::u32string path = U"C:\\Keiba\\DATA\\20040501.jvRA";
    // "\20040501.jvRA" is 13 characters and one '.', 132 pixels; with "..." 138.
    EXPECT_EQ(Narrow(ShortenLine(path, 168, TEllipsesStyle::esPath, Measure)),
              "C:\\...\\20040501.jvRA");
    EXPECT_EQ(Narrow(ShortenLine(path, 167, TEllipsesStyle::esPath, Measure)),
              "C:...\\20040501.jvRA");
    EXPECT_EQ(Narrow(ShortenLine(path, 138, TEllipsesStyle::esPath, Measure)),
              "...\\20040501.jvRA");
    // Not even the last part fits: as much of the line's end as fits after "...".
    EXPECT_EQ(Narrow(ShortenLine(path, 137, TEllipsesStyle::esPath, Measure)), "...20040501.jvRA");
    EXPECT_EQ(Narrow(ShortenLine(path, 47, TEllipsesStyle::esPath, Measure)), "...jvRA");
    // Forward slashes count as separators too.
    EXPECT_EQ(Narrow(ShortenLine(U"aaaa/bbbb/cc", 46, TEllipsesStyle::esPath, Measure)), "a.../cc");
}

TEST(ShortenLine, PathEllipsisWithoutSeparatorKeepsBothEnds) {
    EXPECT_EQ(Narrow(ShortenLine(U"abcdefghij", 56, TEllipsesStyle::esPath, Measure)), "abc...ij");
    EXPECT_EQ(Narrow(ShortenLine(U"abcdefghij", 66, TEllipsesStyle::esPath, Measure)), "abc...hij");
}

TEST(ShortenLine, WorksOnWholeCharacters) {
    // Japanese characters are single code points here, never split.
    const std::u32string name = U"ディープインパクト";
    const auto shortened = ShortenLine(name, 46, TEllipsesStyle::esEnd, Measure);
    EXPECT_EQ(shortened, U"ディープ...");
}

} // namespace
} // namespace widgets
