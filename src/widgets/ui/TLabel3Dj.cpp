#include "widgets/ui/TLabel3Dj.h"

#include "jvdata/SjisText.h"

#include <QDesktopServices>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStringList>

namespace widgets {

namespace {

// A caption's line breaks (CR LF, CR or LF) as "\n".
QString NormaliseBreaks(const QString& text) {
    QString result = text;
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QChar(u'\r'), QChar(u'\n'));
    return result;
}

int QtFlags(const TTextFlags& flags) {
    int qt = 0;
    switch (flags.alignment) {
    case TAlignment::taLeftJustify:
        qt |= Qt::AlignLeft;
        break;
    case TAlignment::taRightJustify:
        qt |= Qt::AlignRight;
        break;
    case TAlignment::taCenter:
        qt |= Qt::AlignHCenter;
        break;
    }
    switch (flags.vertical) {
    case TVerticalPlacement::Top:
        qt |= Qt::AlignTop;
        break;
    case TVerticalPlacement::Centre:
        qt |= Qt::AlignVCenter;
        break;
    case TVerticalPlacement::Bottom:
        qt |= Qt::AlignBottom;
        break;
    }
    if (flags.expandTabs) {
        qt |= Qt::TextExpandTabs;
    }
    if (flags.wordBreak && !flags.singleLine) {
        qt |= Qt::TextWordWrap;
    }
    if (flags.singleLine) {
        qt |= Qt::TextSingleLine;
    }
    if (flags.showPrefix) {
        qt |= Qt::TextShowMnemonic;
    }
    return qt;
}

bool OpenWithShell(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

} // namespace

TLabel3Dj::TLabel3Dj(QWidget* parent) : QWidget(parent), linkOpener_(OpenWithShell) {
    QFont face = font();
    face.setFamily(QStringLiteral("Arial"));
    setFont(face);
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    AdjustBounds();
}

// ---- The standard label -----------------------------------------------------------------

void TLabel3Dj::SetCaption(const QString& caption) {
    if (caption == caption_) {
        return;
    }
    caption_ = caption;
    AdjustBounds();
    update();
}

void TLabel3Dj::SetCaptionSjis(std::string_view sjis) {
    SetCaption(QString::fromStdString(Sjis::ToUtf8(sjis)));
}

std::string TLabel3Dj::CaptionSjis() const {
    return Sjis::FromUtf8(caption_.toStdString());
}

void TLabel3Dj::SetAlignment(TAlignment alignment) {
    if (alignment != alignment_) {
        alignment_ = alignment;
        update();
    }
}

void TLabel3Dj::SetLayout(TTextLayout layout) {
    if (layout != layout_) {
        layout_ = layout;
        update();
    }
}

void TLabel3Dj::SetWordWrap(bool wordWrap) {
    if (wordWrap != wordWrap_) {
        wordWrap_ = wordWrap;
        AdjustBounds();
        update();
    }
}

void TLabel3Dj::SetAutoSize(bool autoSize) {
    if (autoSize != autoSize_) {
        autoSize_ = autoSize;
        AdjustBounds();
        update();
    }
}

void TLabel3Dj::SetTransparent(bool transparent) {
    if (transparent != transparent_) {
        transparent_ = transparent;
        setAttribute(Qt::WA_OpaquePaintEvent, !transparent);
        update();
    }
}

void TLabel3Dj::SetShowAccelChar(bool show) {
    if (show != showAccelChar_) {
        showAccelChar_ = show;
        AdjustBounds();
        update();
    }
}

QColor TLabel3Dj::Color() const {
    return colour_.isValid() ? colour_ : palette().color(QPalette::Active, QPalette::Window);
}

void TLabel3Dj::SetColor(const QColor& colour) {
    if (colour != colour_) {
        colour_ = colour;
        update();
    }
}

QColor TLabel3Dj::FontColor() const {
    return fontColour_.isValid() ? fontColour_
                                 : palette().color(QPalette::Active, QPalette::WindowText);
}

void TLabel3Dj::SetFontColor(const QColor& colour) {
    if (colour != fontColour_) {
        fontColour_ = colour;
        update();
    }
}

// ---- Own properties -----------------------------------------------------------------------

void TLabel3Dj::SetBorderColor(const QColor& colour) {
    if (colour != borderColor_) {
        borderColor_ = colour;
        repaint();
    }
}

void TLabel3Dj::SetBorderPenStyle(Qt::PenStyle style) {
    if (style != borderPenStyle_) {
        borderPenStyle_ = style;
        repaint();
    }
}

void TLabel3Dj::SetBorderWidth(int width) {
    if (width != borderWidth_) {
        borderWidth_ = width;
        repaint();
    }
}

void TLabel3Dj::SetBorder(bool border) {
    if (border != border_) {
        border_ = border;
        repaint();
    }
}

void TLabel3Dj::SetBorderType(TBorderType type) {
    if (type != borderType_) {
        borderType_ = type;
        repaint();
    }
}

void TLabel3Dj::SetEscapement(int degrees) {
    const int normalised = NormaliseEscapement(degrees);
    if (normalised != escapement_) {
        escapement_ = normalised;
        AdjustBounds();
        update();
    }
}

void TLabel3Dj::SetTextStyle(TTextStyle style) {
    if (style != textStyle_) {
        textStyle_ = style;
        update();
    }
}

void TLabel3Dj::SetEllipsesStyle(TEllipsesStyle style) {
    if (style != TEllipsesStyle::esNone) {
        SetAutoSize(false);
    }
    if (style != ellipsesStyle_) {
        ellipsesStyle_ = style;
        update();
    }
}

void TLabel3Dj::SetShift(int shift) {
    if (shift != shift_) {
        shift_ = shift;
        repaint();
    }
}

// ---- System colours -----------------------------------------------------------------------

QColor TLabel3Dj::ShadowColor() const {
    return palette().color(QPalette::Active, QPalette::Dark);
}

QColor TLabel3Dj::HighlightColor() const {
    return palette().color(QPalette::Active, QPalette::Light);
}

QColor TLabel3Dj::GrayTextColor() const {
    return palette().color(QPalette::Disabled, QPalette::WindowText);
}

QColor TLabel3Dj::ColourOf(TCopyColour colour) const {
    switch (colour) {
    case TCopyColour::Shadow:
        return ShadowColor();
    case TCopyColour::Highlight:
        return HighlightColor();
    case TCopyColour::GrayText:
        return GrayTextColor();
    case TCopyColour::Font:
        break;
    }
    return FontColor();
}

// ---- Size -----------------------------------------------------------------------------------

QString TLabel3Dj::SingleLineCaption() const {
    QString line = NormaliseBreaks(caption_);
    line.replace(QChar(u'\n'), QChar(u' '));
    return line;
}

QSize TLabel3Dj::AutoSizeExtent() const {
    const QFontMetrics metrics(font());
    if (escapement_ != 0) {
        const auto placement =
            RotatedTextPlacement(escapement_, metrics.horizontalAdvance(SingleLineCaption()),
                                 metrics.height(), alignment_, true, width());
        return {placement.boxWidth, placement.boxHeight};
    }
    // An empty caption (or a lone accelerator mark) still takes one blank's width and a line.
    QString text = NormaliseBreaks(caption_);
    if (text.isEmpty() || (showAccelChar_ && text == QStringLiteral("&"))) {
        text += QChar(u' ');
    }
    int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs;
    if (wordWrap_) {
        flags |= Qt::TextWordWrap;
    }
    if (showAccelChar_) {
        flags |= Qt::TextShowMnemonic;
    }
    const QRect bounds = metrics.boundingRect(QRect(0, 0, wordWrap_ ? width() : 0, 0), flags, text);
    return {wordWrap_ ? width() : bounds.width(), bounds.height()};
}

void TLabel3Dj::AdjustBounds() {
    if (!autoSize_) {
        return;
    }
    const QSize size = AutoSizeExtent();
    int left = x();
    if (escapement_ == 0) {
        if (alignment_ == TAlignment::taRightJustify) {
            left += width() - size.width();
        } else if (alignment_ == TAlignment::taCenter) {
            left += (width() - size.width()) / 2;
        }
    }
    if (size != this->size() || left != x()) {
        setGeometry(left, y(), size.width(), size.height());
    }
    updateGeometry();
}

QSize TLabel3Dj::sizeHint() const {
    return autoSize_ ? AutoSizeExtent() : size();
}

// ---- Painting -----------------------------------------------------------------------------

QString TLabel3Dj::DisplayText(const TTextFlags& flags) const {
    QString text = NormaliseBreaks(caption_);
    if (flags.ellipsis == TEllipsesStyle::esNone || (flags.wordBreak && !flags.singleLine)) {
        return text;
    }
    // Shortening works line by line; a single-line layout shows the lines joined by blanks.
    if (flags.singleLine) {
        text.replace(QChar(u'\n'), QChar(u' '));
    }
    const QFontMetricsF metrics(font());
    const TTextMeasure measure = [&metrics](std::u32string_view piece) {
        return metrics.horizontalAdvance(
            QString::fromUcs4(piece.data(), static_cast<qsizetype>(piece.size())));
    };
    QStringList lines = text.split(QChar(u'\n'));
    for (QString& line : lines) {
        const std::u32string shortened =
            ShortenLine(line.toStdU32String(), width(), flags.ellipsis, measure);
        line = QString::fromStdU32String(shortened);
    }
    return lines.join(QChar(u'\n'));
}

void TLabel3Dj::PaintUnrotated(QPainter& painter) {
    const TTextFlags flags =
        LabelTextFlags(alignment_, layout_, wordWrap_, showAccelChar_, ellipsesStyle_, false);
    const int qtFlags = QtFlags(flags);
    const QString text = DisplayText(flags);
    for (const TTextCopy& copy : TextCopies(textStyle_, shift_, isEnabled())) {
        painter.setPen(ColourOf(copy.colour));
        painter.drawText(rect().translated(copy.dx, copy.dy), qtFlags, text);
    }
}

void TLabel3Dj::PaintRotated(QPainter& painter) {
    const QFontMetrics metrics(font());
    const QString line = SingleLineCaption();
    const auto placement = RotatedTextPlacement(escapement_, metrics.horizontalAdvance(line),
                                                metrics.height(), alignment_, autoSize_, width());
    for (const TTextCopy& copy : TextCopies(textStyle_, shift_, isEnabled())) {
        painter.save();
        painter.setPen(ColourOf(copy.colour));
        painter.translate(placement.startX + copy.dx, placement.startY + copy.dy);
        painter.rotate(-escapement_);
        painter.drawText(QPoint(0, metrics.ascent()), line);
        painter.restore();
    }
}

void TLabel3Dj::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (!transparent_) {
        painter.fillRect(rect(), Color());
    }
    painter.setBrush(Qt::NoBrush);

    for (const TBorderStroke& stroke :
         BorderStrokes(border_, borderWidth_, borderType_, width(), height())) {
        QColor colour = borderColor_;
        if (stroke.colour == TBorderColour::Grey) {
            colour = QColor(128, 128, 128);
        } else if (stroke.colour == TBorderColour::White) {
            colour = QColor(255, 255, 255);
        }
        painter.setPen(QPen(colour, borderWidth_, borderPenStyle_, Qt::SquareCap, Qt::MiterJoin));
        QPolygon polyline;
        for (const TPixel& point : stroke.points) {
            polyline << QPoint(point.x, point.y);
        }
        painter.drawPolyline(polyline);
    }

    painter.setFont(font());
    if (escapement_ == 0) {
        PaintUnrotated(painter);
    } else {
        PaintRotated(painter);
    }
}

// ---- Mouse ----------------------------------------------------------------------------------

void TLabel3Dj::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    if (labelStyle_ != TLabelStyle::lsDefault && !hovering_) {
        hovering_ = true;
        savedFontColour_ = fontColour_;
        QFont underlined = font();
        underlined.setUnderline(true);
        setFont(underlined);
        setCursor(Qt::PointingHandCursor);
        SetFontColor(HoverColor());
    }
    emit OnMouseEnter();
}

void TLabel3Dj::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    if (hovering_) {
        hovering_ = false;
        unsetCursor();
        QFont plain = font();
        plain.setUnderline(false);
        setFont(plain);
        SetFontColor(savedFontColour_);
    }
    emit OnMouseExit();
}

void TLabel3Dj::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
    }
    QWidget::mousePressEvent(event);
}

void TLabel3Dj::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton) {
        pressed_ = false;
    }
    QWidget::mouseReleaseEvent(event);
    if (click) {
        Click();
    }
}

void TLabel3Dj::Click() {
    if (labelStyle_ != TLabelStyle::lsDefault && !address_.isEmpty()) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        const QUrl target = labelStyle_ == TLabelStyle::lsWWWAddress
                                ? QUrl::fromUserInput(address_)
                                : QUrl(QStringLiteral("mailto:") + address_, QUrl::TolerantMode);
        if (linkOpener_) {
            linkOpener_(target); // a shell that cannot open the link is not worth a message
        }
        QGuiApplication::restoreOverrideCursor();
        if (hovering_) {
            setCursor(Qt::PointingHandCursor);
        }
    }
    emit OnClick();
}

void TLabel3Dj::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        AdjustBounds();
        update();
    } else if (event->type() == QEvent::PaletteChange || event->type() == QEvent::EnabledChange) {
        update();
    }
}

} // namespace widgets
