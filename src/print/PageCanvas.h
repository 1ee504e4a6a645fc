// The page canvas of the newspaper print: the drawing state and the drawing operations of one
// page of the page control, in the page control's own units (tenths of a millimetre from the
// printable area's top-left corner, x to the right, y downwards), and a recording of them.
//
// The newspaper is drawn through IPageCanvas only. TPageRecorder keeps each page as a display
// list of operations that carry their whole drawing state, so a page can be listed as text,
// compared in tests, and replayed into any painter (screen preview, printer, PDF) where the
// coordinates are converted to device pixels.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace print {

// Colours as 0xRRGGBB.
inline constexpr std::uint32_t kBlack = 0x000000;
inline constexpr std::uint32_t kWhite = 0xFFFFFF;
inline constexpr std::uint32_t kSilver = 0xC0C0C0;

// The font of the canvas. face is a Shift-JIS face name ("ＭＳ ゴシック", "ＭＳ Ｐゴシック").
struct TCanvasFont {
    std::string face;
    int size = 10; // points
    bool bold = false;
    bool underline = false;
    std::uint32_t colour = kBlack;

    bool operator==(const TCanvasFont&) const = default;
};

// The brush: solid in a colour, or clear (no fill; text is drawn on a transparent background).
struct TCanvasBrush {
    bool solid = true;
    std::uint32_t colour = kWhite;

    bool operator==(const TCanvasBrush&) const = default;
};

// The drawing state that carries over from one drawing step to the next. The pen width is in
// the page control's pen unit, tenths of a screen pixel (20, 12, 10, 5, 1); the page control
// turns it into printer pixels when the page is replayed.
struct TCanvasState {
    TCanvasFont font;
    int penWidth = 1;
    TCanvasBrush brush;

    bool operator==(const TCanvasState&) const = default;
};

class IPageCanvas {
public:
    virtual ~IPageCanvas() = default;

    // Font, pen and brush of the page being drawn.
    virtual void SetFontName(std::string_view face) = 0;
    virtual void SetFontSize(int points) = 0;
    virtual void SetFontBold(bool bold) = 0;
    virtual void SetFontUnderline(bool underline) = 0;
    virtual void SetFontColour(std::uint32_t rgb) = 0;
    virtual void SetPenWidth(int width) = 0;
    virtual void SetBrushSolid(std::uint32_t rgb) = 0;  // solid, in that colour
    virtual void SetBrushColour(std::uint32_t rgb) = 0; // the colour; the style stays
    virtual void SetBrushClear() = 0;
    virtual const TCanvasState& State() const = 0;

    // Text with its top-left corner at (x, y), Shift-JIS.
    virtual void TextOutAt(int x, int y, std::string_view text) = 0;
    // The same in a column width wide (drawing units, from x): a text that would be wider is
    // drawn condensed horizontally to that width, as racing papers set condensed type, never
    // cut. A width below 1 sets no column.
    virtual void TextOutInColumn(int x, int y, std::string_view text, int width) = 0;
    // Line from the current position to (x, y), which becomes the current position.
    virtual void MoveToAt(int x, int y) = 0;
    virtual void LineToAt(int x, int y) = 0;
    // Rectangle outlined with the pen and filled with the brush.
    virtual void RectangleAt(int x1, int y1, int x2, int y2) = 0;
};

// One recorded drawing operation with the state it was drawn in.
struct TPageOp {
    enum class TKind { Text, Line, Rectangle };
    TKind kind = TKind::Text;
    int x1 = 0; // Text: the text's top-left corner; Line: from; Rectangle: one corner
    int y1 = 0;
    int x2 = 0; // Line: to; Rectangle: the opposite corner
    int y2 = 0;
    std::string text; // Text only, Shift-JIS
    TCanvasState state;
    int width = 0; // Text only: the column the text is condensed into, 0 for none

    bool operator==(const TPageOp&) const = default;
};

// A recorded page: its operations in drawing order.
using TRecordedPage = std::vector<TPageOp>;

// A canvas that records every page drawn on it. The drawing state carries over from one page
// to the next, as on the page control.
class TPageRecorder final : public IPageCanvas {
public:
    // Starts a new document: discards all pages and opens page 1.
    void BeginDoc();
    // Opens the next page.
    void NewPage();

    const std::vector<TRecordedPage>& Pages() const { return pages_; }

    void SetFontName(std::string_view face) override { state_.font.face = std::string(face); }
    void SetFontSize(int points) override { state_.font.size = points; }
    void SetFontBold(bool bold) override { state_.font.bold = bold; }
    void SetFontUnderline(bool underline) override { state_.font.underline = underline; }
    void SetFontColour(std::uint32_t rgb) override { state_.font.colour = rgb; }
    void SetPenWidth(int width) override { state_.penWidth = width; }
    void SetBrushSolid(std::uint32_t rgb) override { state_.brush = {true, rgb}; }
    void SetBrushColour(std::uint32_t rgb) override { state_.brush.colour = rgb; }
    void SetBrushClear() override { state_.brush.solid = false; }
    const TCanvasState& State() const override { return state_; }

    void TextOutAt(int x, int y, std::string_view text) override;
    void TextOutInColumn(int x, int y, std::string_view text, int width) override;
    void MoveToAt(int x, int y) override;
    void LineToAt(int x, int y) override;
    void RectangleAt(int x1, int y1, int x2, int y2) override;

private:
    TRecordedPage& Page();

    std::vector<TRecordedPage> pages_;
    TCanvasState state_;
    int penX_ = 0;
    int penY_ = 0;
};

// The operations of the pages as text lines, one per operation, tab-separated, drawing units:
//   page <n>                         at the start of page n (1-based)
//   text x y face size style #RRGGBB text [width]   style b, u, bu or -; width, the column
//                                                     the text is condensed into, only when
//                                                     the text has one
//   line x1 y1 x2 y2 penwidth
//   rect x1 y1 x2 y2 penwidth brush             brush #RRGGBB or clear
// Texts and face names stay Shift-JIS; every line ends with "\n".
std::string PageOpsText(const std::vector<TRecordedPage>& pages);

// The width of a text in drawing units at its natural set, from its Shift-JIS byte widths: a
// byte (a half-width character) is half a full-width character, a full-width character one em
// of the font size. Exact for the fixed-pitch face, an upper bound for the proportional one.
// The points of a font are 254/72 drawing units.
double NaturalTextWidth(std::string_view sjisText, int points);
// The height of a line of text, one em: points in drawing units.
double TextHeight(int points);

} // namespace print
