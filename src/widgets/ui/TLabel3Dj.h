// TLabel3Dj: the 3-D text label of the program's captions and value boxes.
//
// A text label (caption, alignment, layout, word wrap, auto size, transparency, accelerator
// prefix, font, colours) with an embossed or engraved caption, an optional plain or bevelled
// border, optional rotation and optional link behaviour. Geometry and drawing order come from
// widgets/Label3DGeometry.h; this class draws them and handles the mouse.
#pragma once

#include "widgets/Label3DGeometry.h"

#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include <QColor>
#include <QString>
#include <QUrl>
#include <QWidget>

class QPainter;

namespace widgets {

class TLabel3Dj : public QWidget {
    Q_OBJECT

public:
    // Opens a link's target through the system shell; false when that fails.
    using TLinkOpener = std::function<bool(const QUrl&)>;

    // A new label: font face "Arial" (the rest of the font from the parent), auto size on,
    // opaque, left-aligned at the top, raised caption, no border.
    explicit TLabel3Dj(QWidget* parent = nullptr);

    // ---- The standard label --------------------------------------------------------------

    // The caption. "&x" underlines x as an accelerator when ShowAccelChar is on.
    const QString& Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    // The caption from Shift-JIS bytes (converted once, here), and back.
    void SetCaptionSjis(std::string_view sjis);
    std::string CaptionSjis() const;

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout layout);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap);
    // With auto size on, the label takes the size of its caption (keeping its right edge for
    // right alignment and its middle for centre alignment), or of the rotated caption's box.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    // A transparent label leaves its background unpainted.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool show);
    // Background colour; the window colour of the palette until set.
    QColor Color() const;
    void SetColor(const QColor& colour);
    // Colour of the caption; the window text colour of the palette until set.
    QColor FontColor() const;
    void SetFontColor(const QColor& colour);

    // ---- Own properties ------------------------------------------------------------------

    // Pen colour of the plain border (red).
    QColor BorderColor() const { return borderColor_; }
    void SetBorderColor(const QColor& colour);
    // Pen style of the border (solid).
    Qt::PenStyle BorderPenStyle() const { return borderPenStyle_; }
    void SetBorderPenStyle(Qt::PenStyle style);
    // Pen width of the border (1); no border is drawn when it is not positive.
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int width);
    // Whether a border is drawn (false).
    bool Border() const { return border_; }
    void SetBorder(bool border);
    TBorderType BorderType() const { return borderType_; }
    void SetBorderType(TBorderType type);
    // Rotation of the caption in degrees, counter-clockwise (0); kept normalised to 0..360.
    int Escapement() const { return escapement_; }
    void SetEscapement(int degrees);
    TTextStyle TextStyle() const { return textStyle_; }
    void SetTextStyle(TTextStyle style);
    TLabelStyle LabelStyle() const { return labelStyle_; }
    void SetLabelStyle(TLabelStyle style) { labelStyle_ = style; }
    // Target of a link label: a web address, or a mail address without "mailto:".
    const QString& Address() const { return address_; }
    void SetAddress(const QString& address) { address_ = address; }
    // Shortening of a caption that does not fit; anything but esNone turns auto size off.
    TEllipsesStyle EllipsesStyle() const { return ellipsesStyle_; }
    void SetEllipsesStyle(TEllipsesStyle style);
    // Offset in pixels of the tsShadow copy (1).
    int Shift() const { return shift_; }
    void SetShift(int shift);

    // ---- System colours ------------------------------------------------------------------

    // Colour of shadow copies: the palette's button shadow.
    QColor ShadowColor() const;
    // Colour of highlight copies: the palette's button highlight.
    QColor HighlightColor() const;
    // Colour of a disabled label's caption: the palette's grey text.
    QColor GrayTextColor() const;
    // Font colour of a link label under the mouse: red.
    static QColor HoverColor() { return QColor(255, 0, 0); }

    // Replaces the system shell call that opens links (for tests, or another browser).
    void SetLinkOpener(TLinkOpener opener) { linkOpener_ = std::move(opener); }

    // A click: a link label with an address opens it; then OnClick is raised.
    void Click();

    QSize sizeHint() const override;

signals:
    void OnClick();
    void OnMouseEnter();
    void OnMouseExit();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The size the label takes with auto size on.
    QSize AutoSizeExtent() const;
    // Resizes the label to its caption when auto size is on.
    void AdjustBounds();
    // The caption as one line (line breaks as blanks), for rotated drawing.
    QString SingleLineCaption() const;
    // The caption with line breaks as "\n" and each line shortened by the ellipsis style.
    QString DisplayText(const TTextFlags& flags) const;
    QColor ColourOf(TCopyColour colour) const;
    void PaintUnrotated(QPainter& painter);
    void PaintRotated(QPainter& painter);

    QString caption_;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    TTextLayout layout_ = TTextLayout::tlTop;
    bool wordWrap_ = false;
    bool autoSize_ = true;
    bool transparent_ = false;
    bool showAccelChar_ = true;
    QColor colour_;     // invalid: the palette's window colour
    QColor fontColour_; // invalid: the palette's window text colour

    QColor borderColor_{255, 0, 0};
    Qt::PenStyle borderPenStyle_ = Qt::SolidLine;
    int borderWidth_ = 1;
    bool border_ = false;
    TBorderType borderType_ = TBorderType::btDefault;
    int escapement_ = 0;
    TTextStyle textStyle_ = TTextStyle::tsRaised;
    TLabelStyle labelStyle_ = TLabelStyle::lsDefault;
    QString address_;
    TEllipsesStyle ellipsesStyle_ = TEllipsesStyle::esNone;
    int shift_ = 1;

    bool hovering_ = false;  // a link label shows its hover look
    QColor savedFontColour_; // the font colour before the hover look
    bool pressed_ = false;   // the left button went down on the label
    TLinkOpener linkOpener_;
};

} // namespace widgets
