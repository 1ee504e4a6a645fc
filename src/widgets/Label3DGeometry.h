// The 3-D text label: its styles and the geometry of its painting, without any drawing library.
//
// A 3-D label paints, in order: its background, an optional border (a plain rectangle in the
// border pen, or a one-pixel bevel sunk or raised), up to two offset copies of the caption in
// the shadow or highlight colour, and the caption itself. With a non-zero escapement the caption
// is drawn as one rotated line whose start point is moved so that the rotated text stays inside
// the label. This header computes all of that as plain values; the widget only draws them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace widgets {

// Kind of border drawn when the label's border is on.
enum class TBorderType {
    btDefault,  // plain rectangle in the border pen
    btRecessed, // one-pixel bevel: grey top and left, white bottom and right (sunk)
    btRaised,   // one-pixel bevel: white top and left, grey bottom and right (raised)
};

// 3-D effect of the caption.
enum class TTextStyle {
    tsNone,          // the caption alone
    tsRaised,        // shadow copy at (+1, +1)
    tsLightRaised,   // shadow copy at (+1, +1), highlight copy at (-1, -1)
    tsRecessed,      // highlight copy at (+1, +1)
    tsHeavyRecessed, // highlight copy at (+1, +1), shadow copy at (-1, -1)
    tsShadow,        // shadow copy at (+Shift, +Shift)
};

// What the label is: a plain caption or a link that opens its address.
enum class TLabelStyle {
    lsDefault,      // plain label
    lsWWWAddress,   // web link: a click opens the address
    lsEMailAddress, // mail link: a click opens "mailto:" + address
};

// How a caption that does not fit the label is shortened.
enum class TEllipsesStyle {
    esNone, // not shortened
    esEnd,  // the end is replaced by "..."
    esPath, // the middle is replaced by "...", keeping the part from the last '\' or '/'
};

// Horizontal alignment of the caption (the standard label's).
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

// Vertical layout of the caption (the standard label's).
enum class TTextLayout { tlTop, tlCenter, tlBottom };

// The escapement kept by the label: negative angles get 360 added until they are not negative,
// angles above 360 get 360 subtracted until they are at most 360 (-30 -> 330, 725 -> 5,
// 360 stays 360, 720 -> 360, -360 -> 0).
int NormaliseEscapement(int degrees) noexcept;

// ---- Caption copies ---------------------------------------------------------------------

// Colour a copy of the caption is drawn in.
enum class TCopyColour {
    Shadow,    // the system button-shadow colour
    Highlight, // the system button-highlight colour
    Font,      // the label's font colour
    GrayText,  // the system grey-text colour (caption of a disabled label)
};

// One copy of the caption: offset in pixels from the caption's place, and its colour.
struct TTextCopy {
    int dx = 0;
    int dy = 0;
    TCopyColour colour = TCopyColour::Font;
    friend bool operator==(const TTextCopy&, const TTextCopy&) = default;
};

// The copies of the caption in drawing order; the last is the caption itself at (0, 0) in the
// font colour, or in the grey-text colour when the label is disabled (the 3-D copies keep
// their colours). shift is the offset of the tsShadow copy.
std::vector<TTextCopy> TextCopies(TTextStyle style, int shift, bool enabled);

// ---- Border -------------------------------------------------------------------------------

// Colour of a border stroke.
enum class TBorderColour {
    Pen,   // the border pen's colour
    Grey,  // RGB 128, 128, 128
    White, // RGB 255, 255, 255
};

// A pixel position in label coordinates.
struct TPixel {
    int x = 0;
    int y = 0;
    friend bool operator==(const TPixel&, const TPixel&) = default;
};

// A polyline through pixel positions, both ends included, in one colour.
struct TBorderStroke {
    TBorderColour colour = TBorderColour::Pen;
    std::vector<TPixel> points;
    friend bool operator==(const TBorderStroke&, const TBorderStroke&) = default;
};

// The strokes of the border of a width x height label: none when the border is off, the
// border width is not positive or the label is empty; the rectangle (0, 0, width, height) in
// the pen colour for btDefault; for the bevels the top and left edges of
// (0, 0, width - 1, height - 1) in one colour (the bottom-left corner included, the top-right
// corner not) and the bottom and right edges in the other (grey then white for btRecessed,
// white then grey for btRaised). The border width is the pen width of the strokes.
std::vector<TBorderStroke> BorderStrokes(bool border, int borderWidth, TBorderType type, int width,
                                         int height);

// ---- Text flags ---------------------------------------------------------------------------

// Vertical placement of an unrotated caption.
enum class TVerticalPlacement { Top, Centre, Bottom };

// How an unrotated caption is laid out in the label.
struct TTextFlags {
    TAlignment alignment = TAlignment::taLeftJustify;
    TVerticalPlacement vertical = TVerticalPlacement::Top;
    bool expandTabs = true;  // tabs expanded
    bool wordBreak = false;  // lines broken at word ends to fit the width
    bool singleLine = false; // line breaks shown as blanks, one line only
    bool showPrefix = true;  // "&x" underlines x, "&&" is "&"
    TEllipsesStyle ellipsis = TEllipsesStyle::esNone;
    friend bool operator==(const TTextFlags&, const TTextFlags&) = default;
};

// The flags of the caption: the standard label flags (tabs expanded, word break when word wrap
// is on, the alignment), no accelerator prefix when the label does not show accelerators, the
// ellipsis style, and, for unrotated text only, one line centred vertically for layout centre
// or at the bottom for layout bottom.
TTextFlags LabelTextFlags(TAlignment alignment, TTextLayout layout, bool wordWrap,
                          bool showAccelChar, TEllipsesStyle ellipsis, bool rotated);

// ---- Rotation -----------------------------------------------------------------------------

// Where a rotated caption goes. The caption is drawn with the top-left corner of its unrotated
// text cell at (startX, startY), turned counter-clockwise about that point; every copy adds its
// own offset to this point.
struct TRotatedPlacement {
    int startX = 0;
    int startY = 0;
    int boxWidth = 0;  // width of the rotated text's bounding box
    int boxHeight = 0; // height of the rotated text's bounding box
    friend bool operator==(const TRotatedPlacement&, const TRotatedPlacement&) = default;
};

// The placement of a textWidth x textHeight caption turned by escapement degrees (already
// normalised, 0..360) in a label of labelWidth pixels. With a the angle, w and h the text
// width and height, the start moves, each term rounded to the nearest pixel:
//   a <= 90:        down by w sin a
//   90 < a <= 180:  right by -w cos a, down by h cos(180 - a) + w sin a
//   180 < a <= 270: right by h sin(a - 180) - w cos a, down by h sin(270 - a)
//   270 < a <= 360: right by h sin(360 - a)
// The box is |w cos a| + |h sin a| wide and |w sin a| + |h cos a| high. Unless the label sizes
// itself to the box (autoSize), centre alignment moves the start right by half of
// (labelWidth - box width), truncated toward zero, and right alignment by the whole difference.
TRotatedPlacement RotatedTextPlacement(int escapement, int textWidth, int textHeight,
                                       TAlignment alignment, bool autoSize, int labelWidth);

// ---- Ellipses -----------------------------------------------------------------------------

// Width in pixels of a piece of text, as the label's font measures it.
using TTextMeasure = std::function<double(std::u32string_view)>;

// The ellipsis shown in place of cut text.
inline constexpr std::u32string_view kEllipsis = U"...";

// One line shortened to fit maxWidth pixels (it is returned as it is when it fits, or for
// esNone). esEnd: the longest start followed by "...". esPath: the part from the last '\' or '/'
// kept whole behind "..." and as much of the start before it as fits; when even "..." and that
// part do not fit, "..." followed by the longest end of the line that fits; a line without a
// separator keeps as much of its start and end around "..." as fits (one more character at the
// start when the count is odd). The result may still be wider than maxWidth when "..." alone is.
std::u32string ShortenLine(std::u32string_view line, double maxWidth, TEllipsesStyle style,
                           const TTextMeasure& measure);

} // namespace widgets
