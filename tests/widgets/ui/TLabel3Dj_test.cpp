#include "support/TestSupport.h"
#include "support/ui/QtPrinters.h"
#include "widgets/ui/TLabel3Dj.h"

#include <gtest/gtest.h>
#include <set>
#include <tuple>
#include <vector>

#include <QApplication>
#include <QEnterEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QWindow>

namespace widgets {
namespace {

// Some pixel checks are written for the IPA face that stands in for "ＭＳ ゴシック" here; where
// Qt's font database does not see it (a Windows build under Wine), they are skipped.
bool IpaGothicSeen() {
    return QFontDatabase::hasFamily(QStringLiteral("IPAGothic"));
}
constexpr const char* kNoIpaGothic =
    "Qt's font database does not see IPAGothic here: the widths and line heights checked are "
    "that face's";

using keiba::test::S;

const QColor kBackground(255, 255, 255);
const QColor kFont(255, 0, 0);
const QColor kShadow(0, 0, 255);
const QColor kHighlight(0, 200, 0);
const QColor kGrayText(255, 0, 255);

// A label with colours that cannot be confused and a font drawn without smoothing, so that
// every pixel of the caption is exactly one of the label's colours.
void Prepare(TLabel3Dj& label, const QString& caption, int width = 120, int height = 40) {
    QPalette palette = label.palette();
    palette.setColor(QPalette::Active, QPalette::Dark, kShadow);
    palette.setColor(QPalette::Active, QPalette::Light, kHighlight);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, kGrayText);
    label.setPalette(palette);
    QFont font(QString::fromUtf8("ＭＳ ゴシック"));
    font.setPixelSize(16);
    font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    label.setFont(font);
    label.SetAutoSize(false);
    label.setGeometry(0, 0, width, height);
    label.SetColor(kBackground);
    label.SetFontColor(kFont);
    label.SetCaption(caption);
}

QImage Render(TLabel3Dj& label) {
    QImage image(label.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    label.render(&image);
    return image;
}

// The pixels of an image in the given colour.
std::set<std::pair<int, int>> PixelsOf(const QImage& image, const QColor& colour) {
    std::set<std::pair<int, int>> pixels;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == colour) {
                pixels.insert({x, y});
            }
        }
    }
    return pixels;
}

struct Copy {
    int dx;
    int dy;
    QColor colour;
};

// What a label should look like: the caption's own pixels (from a tsNone rendering) stamped
// at each offset in each colour, in drawing order, over the background.
QImage Expected(const QImage& plain, const std::vector<Copy>& copies) {
    const auto glyphs = PixelsOf(plain, kFont);
    QImage image(plain.size(), QImage::Format_RGB32);
    image.fill(kBackground);
    for (const Copy& copy : copies) {
        for (const auto& [x, y] : glyphs) {
            const int tx = x + copy.dx;
            const int ty = y + copy.dy;
            if (image.rect().contains(tx, ty)) {
                image.setPixelColor(tx, ty, copy.colour);
            }
        }
    }
    return image;
}

// Number of pixels where two images differ.
int Differences(const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            count += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
        }
    }
    return count;
}

// ---- Properties ---------------------------------------------------------------------------

TEST(TLabel3Dj, DefaultsOfANewLabel) {
    TLabel3Dj label;
    EXPECT_EQ(label.BorderColor(), QColor(255, 0, 0));
    EXPECT_EQ(label.BorderPenStyle(), Qt::SolidLine);
    EXPECT_EQ(label.BorderWidth(), 1);
    EXPECT_FALSE(label.Border());
    EXPECT_EQ(label.BorderType(), TBorderType::btDefault);
    EXPECT_EQ(label.Escapement(), 0);
    EXPECT_EQ(label.TextStyle(), TTextStyle::tsRaised);
    EXPECT_EQ(label.LabelStyle(), TLabelStyle::lsDefault);
    EXPECT_TRUE(label.Address().isEmpty());
    EXPECT_EQ(label.EllipsesStyle(), TEllipsesStyle::esNone);
    EXPECT_EQ(label.Shift(), 1);
    EXPECT_EQ(label.font().family(), QStringLiteral("Arial"));
    // The standard label's defaults.
    EXPECT_TRUE(label.AutoSize());
    EXPECT_FALSE(label.Transparent());
    EXPECT_TRUE(label.ShowAccelChar());
    EXPECT_FALSE(label.WordWrap());
    EXPECT_EQ(label.Alignment(), TAlignment::taLeftJustify);
    EXPECT_EQ(label.Layout(), TTextLayout::tlTop);
    EXPECT_TRUE(label.Caption().isEmpty());
    EXPECT_EQ(TLabel3Dj::HoverColor(), QColor(255, 0, 0));
}

TEST(TLabel3Dj, EscapementIsKeptNormalised) {
    TLabel3Dj label;
    label.SetEscapement(-30);
    EXPECT_EQ(label.Escapement(), 330);
    label.SetEscapement(725);
    EXPECT_EQ(label.Escapement(), 5);
    label.SetEscapement(360);
    EXPECT_EQ(label.Escapement(), 360);
    label.SetEscapement(-360);
    EXPECT_EQ(label.Escapement(), 0);
}

TEST(TLabel3Dj, AnEllipsisTurnsAutoSizeOff) {
    TLabel3Dj label;
    label.SetEllipsesStyle(TEllipsesStyle::esNone);
    EXPECT_TRUE(label.AutoSize());
    label.SetEllipsesStyle(TEllipsesStyle::esPath);
    EXPECT_FALSE(label.AutoSize());
    // Auto size may be turned on again afterwards; the style stays.
    label.SetAutoSize(true);
    EXPECT_TRUE(label.AutoSize());
    EXPECT_EQ(label.EllipsesStyle(), TEllipsesStyle::esPath);
}

TEST(TLabel3Dj, CaptionFromShiftJisBytes) {
    TLabel3Dj label;
    label.SetCaptionSjis(S("単勝"));
    EXPECT_EQ(label.Caption(), QString::fromUtf8("単勝"));
    EXPECT_EQ(label.CaptionSjis(), S("単勝"));
    label.SetCaptionSjis(S("ﾃﾞｰﾀ ①～⑱ 髙"));
    EXPECT_EQ(label.Caption(), QString::fromUtf8("ﾃﾞｰﾀ ①～⑱ 髙"));
    EXPECT_EQ(label.CaptionSjis(), S("ﾃﾞｰﾀ ①～⑱ 髙"));
    // A cut-off two-byte character shows as the replacement character, the rest is kept.
    label.SetCaptionSjis(std::string("AB\x82", 3));
    EXPECT_EQ(label.Caption(), QString::fromUtf8("AB\xEF\xBF\xBD"));
}

TEST(TLabel3Dj, AutoSizeFitsTheCaption) {
    if (!IpaGothicSeen()) {
        GTEST_SKIP() << kNoIpaGothic;
    }
    TLabel3Dj label;
    QFont font(QString::fromUtf8("ＭＳ ゴシック"));
    font.setPixelSize(12);
    label.setFont(font);
    const QFontMetrics metrics(font);

    label.SetCaption(QStringLiteral("ABC"));
    EXPECT_EQ(label.size(),
              QSize(metrics.horizontalAdvance(QStringLiteral("ABC")), metrics.height()));
    // An empty caption keeps one blank's width and a line's height.
    label.SetCaption(QString());
    EXPECT_EQ(label.size(), QSize(metrics.horizontalAdvance(QChar(u' ')), metrics.height()));
    // Two lines.
    label.SetCaption(QStringLiteral("AB\r\nABCD"));
    EXPECT_EQ(label.size(),
              QSize(metrics.horizontalAdvance(QStringLiteral("ABCD")), 2 * metrics.height()));
}

TEST(TLabel3Dj, AutoSizeKeepsTheRightEdgeOfARightAlignedLabel) {
    TLabel3Dj label;
    label.SetAutoSize(false);
    label.setGeometry(100, 10, 80, 20);
    label.SetAlignment(TAlignment::taRightJustify);
    label.SetCaption(QStringLiteral("1,234"));
    label.SetAutoSize(true);
    EXPECT_EQ(label.geometry().right(), 179);
    EXPECT_EQ(label.y(), 10);

    TLabel3Dj centred;
    centred.SetAutoSize(false);
    centred.setGeometry(100, 10, 80, 20);
    centred.SetAlignment(TAlignment::taCenter);
    centred.SetCaption(QStringLiteral("12"));
    centred.SetAutoSize(true);
    EXPECT_EQ(centred.x(), 100 + (80 - centred.width()) / 2);
}

TEST(TLabel3Dj, RotatedAutoSizeTakesTheRotatedBox) {
    TLabel3Dj label;
    QFont font(QString::fromUtf8("ＭＳ ゴシック"));
    font.setPixelSize(14);
    label.setFont(font);
    label.SetCaption(QStringLiteral("ABCDEFGH"));
    const QFontMetrics metrics(font);
    const int w = metrics.horizontalAdvance(QStringLiteral("ABCDEFGH"));
    const int h = metrics.height();
    label.SetEscapement(90);
    EXPECT_EQ(label.size(), QSize(h, w));
    label.SetEscapement(180);
    EXPECT_EQ(label.size(), QSize(w, h));
}

// Counts paint events of a widget.
class PaintCounter : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++count;
        }
        return QObject::eventFilter(watched, event);
    }
};

TEST(TLabel3Dj, BorderSettersRepaintAtOnceOthersLater) {
    TLabel3Dj label;
    Prepare(label, QStringLiteral("Abc"));
    label.show();
    for (int i = 0; i < 50 && !(label.windowHandle() && label.windowHandle()->isExposed()); ++i) {
        QApplication::processEvents();
    }
    QApplication::processEvents();
    PaintCounter counter;
    label.installEventFilter(&counter);

    // Border settings paint before the setter returns.
    label.SetBorder(true);
    EXPECT_EQ(counter.count, 1);
    label.SetBorderColor(Qt::blue);
    label.SetBorderWidth(2);
    label.SetBorderPenStyle(Qt::DashLine);
    label.SetBorderType(TBorderType::btRaised);
    label.SetShift(2);
    EXPECT_EQ(counter.count, 6);
    // Setting the same value again paints nothing.
    label.SetBorder(true);
    label.SetShift(2);
    EXPECT_EQ(counter.count, 6);

    // Escapement, text style and ellipses only invalidate: one paint when events run.
    label.SetTextStyle(TTextStyle::tsRecessed);
    label.SetEscapement(45);
    label.SetEllipsesStyle(TEllipsesStyle::esEnd);
    EXPECT_EQ(counter.count, 6);
    QApplication::processEvents();
    EXPECT_GE(counter.count, 7);
    label.removeEventFilter(&counter);
}

// ---- Painting -----------------------------------------------------------------------------

TEST(TLabel3DjPaint, EachStyleDrawsItsCopiesAtTheirOffsets) {
    struct Case {
        TTextStyle style;
        std::vector<Copy> copies;
    };
    const std::vector<Case> cases = {
        {TTextStyle::tsNone, {{0, 0, kFont}}},
        {TTextStyle::tsRaised, {{1, 1, kShadow}, {0, 0, kFont}}},
        {TTextStyle::tsLightRaised, {{1, 1, kShadow}, {-1, -1, kHighlight}, {0, 0, kFont}}},
        {TTextStyle::tsRecessed, {{1, 1, kHighlight}, {0, 0, kFont}}},
        {TTextStyle::tsHeavyRecessed, {{1, 1, kHighlight}, {-1, -1, kShadow}, {0, 0, kFont}}},
        {TTextStyle::tsShadow, {{1, 1, kShadow}, {0, 0, kFont}}},
    };
    TLabel3Dj plain;
    Prepare(plain, QString::fromUtf8("単勝 Ab"));
    plain.SetTextStyle(TTextStyle::tsNone);
    const QImage reference = Render(plain);
    ASSERT_GT(PixelsOf(reference, kFont).size(), 50u);

    for (const Case& c : cases) {
        TLabel3Dj label;
        Prepare(label, QString::fromUtf8("単勝 Ab"));
        label.SetTextStyle(c.style);
        EXPECT_EQ(Differences(Render(label), Expected(reference, c.copies)), 0)
            << "style " << static_cast<int>(c.style);
    }
}

TEST(TLabel3DjPaint, ShadowCopyFollowsShift) {
    TLabel3Dj plain;
    Prepare(plain, QStringLiteral("Shadow"));
    plain.SetTextStyle(TTextStyle::tsNone);
    const QImage reference = Render(plain);

    TLabel3Dj label;
    Prepare(label, QStringLiteral("Shadow"));
    label.SetTextStyle(TTextStyle::tsShadow);
    label.SetShift(3);
    EXPECT_EQ(Differences(Render(label), Expected(reference, {{3, 3, kShadow}, {0, 0, kFont}})), 0);
}

TEST(TLabel3DjPaint, DisabledLabelGreysTheCaptionButNotItsCopies) {
    TLabel3Dj plain;
    Prepare(plain, QString::fromUtf8("結果："));
    plain.SetTextStyle(TTextStyle::tsNone);
    const QImage reference = Render(plain);

    TLabel3Dj label;
    Prepare(label, QString::fromUtf8("結果："));
    label.SetTextStyle(TTextStyle::tsLightRaised);
    label.setEnabled(false);
    EXPECT_EQ(Differences(
                  Render(label),
                  Expected(reference, {{1, 1, kShadow}, {-1, -1, kHighlight}, {0, 0, kGrayText}})),
              0);
}

TEST(TLabel3DjPaint, RotatedCopiesKeepScreenOffsets) {
    if (!IpaGothicSeen()) {
        GTEST_SKIP() << kNoIpaGothic;
    }
    for (int angle : {90, 135, 270}) {
        TLabel3Dj plain;
        Prepare(plain, QStringLiteral("Rotate"), 120, 120);
        plain.SetTextStyle(TTextStyle::tsNone);
        plain.SetEscapement(angle);
        const QImage reference = Render(plain);
        ASSERT_GT(PixelsOf(reference, kFont).size(), 30u) << angle;

        TLabel3Dj label;
        Prepare(label, QStringLiteral("Rotate"), 120, 120);
        label.SetTextStyle(TTextStyle::tsHeavyRecessed);
        label.SetEscapement(angle);
        EXPECT_EQ(Differences(
                      Render(label),
                      Expected(reference, {{1, 1, kHighlight}, {-1, -1, kShadow}, {0, 0, kFont}})),
                  0)
            << angle;
    }
}

// The bounding box of a set of pixels.
QRect Bounds(const std::set<std::pair<int, int>>& pixels) {
    QRect box;
    for (const auto& [x, y] : pixels) {
        box |= QRect(x, y, 1, 1);
    }
    return box;
}

// The caption turned by angle drawn far from any edge of a large image: all of its pixels.
std::set<std::pair<int, int>> FreeRotatedPixels(const TLabel3Dj& label, int angle) {
    QImage image(400, 400, QImage::Format_RGB32);
    image.fill(kBackground);
    QPainter painter(&image);
    painter.setFont(label.font());
    painter.setPen(kFont);
    painter.translate(200, 200);
    painter.rotate(-angle);
    painter.drawText(QPoint(0, QFontMetrics(label.font()).ascent()), label.Caption());
    painter.end();
    return PixelsOf(image, kFont);
}

TEST(TLabel3DjPaint, RotatedTextStaysInsideItsBox) {
    if (!IpaGothicSeen()) {
        GTEST_SKIP() << kNoIpaGothic;
    }
    // An auto-sized rotated label shows every pixel of its turned caption: none is cut off at
    // an edge of the box.
    for (int angle : {30, 90, 150, 180, 225, 270, 315, 360}) {
        TLabel3Dj fitted;
        Prepare(fitted, QString::fromUtf8("馬連 12"));
        fitted.SetTextStyle(TTextStyle::tsNone);
        fitted.SetEscapement(angle);
        fitted.SetAutoSize(true);

        const auto free = FreeRotatedPixels(fitted, angle);
        const auto shown = PixelsOf(Render(fitted), kFont);
        EXPECT_GT(free.size(), 30u) << angle;
        // Turned glyphs may land a pixel apart at different places on the canvas; a cut-off
        // caption loses many.
        EXPECT_EQ(shown.size(), free.size())
            << angle << " degrees, box " << fitted.width() << "x" << fitted.height();
        const QRect shownBox = Bounds(shown);
        const QRect freeBox = Bounds(free);
        EXPECT_LE(std::abs(shownBox.width() - freeBox.width()), 1) << angle;
        EXPECT_LE(std::abs(shownBox.height() - freeBox.height()), 1) << angle;
        EXPECT_TRUE(fitted.rect().contains(shownBox)) << angle;
    }
}

TEST(TLabel3DjPaint, RotatedTextFollowsAlignment) {
    // Standing up (90 degrees) in a wide label: centre and right alignment move the text.
    const auto leftmost = [](TAlignment alignment) {
        TLabel3Dj label;
        Prepare(label, QStringLiteral("ABC"), 200, 80);
        label.SetTextStyle(TTextStyle::tsNone);
        label.SetAlignment(alignment);
        label.SetEscapement(90);
        const auto pixels = PixelsOf(Render(label), kFont);
        int left = 1000;
        for (const auto& [x, y] : pixels) {
            left = std::min(left, x);
        }
        return left;
    };
    const int left = leftmost(TAlignment::taLeftJustify);
    const int centre = leftmost(TAlignment::taCenter);
    const int right = leftmost(TAlignment::taRightJustify);
    const int boxWidth = QFontMetrics([] {
                             QFont f(QString::fromUtf8("ＭＳ ゴシック"));
                             f.setPixelSize(16);
                             f.setBold(true);
                             return f;
                         }())
                             .height();
    EXPECT_EQ(centre - left, (200 - boxWidth) / 2);
    EXPECT_EQ(right - left, 200 - boxWidth);
}

TEST(TLabel3DjPaint, BevelAndPlainBorders) {
    struct Case {
        TBorderType type;
        QColor topLeft;
        QColor bottomRight;
    };
    const QColor grey(128, 128, 128);
    const QColor white(255, 255, 255);
    const QColor red(255, 0, 0);
    const Case cases[] = {
        {TBorderType::btRecessed, grey, white},
        {TBorderType::btRaised, white, grey},
        {TBorderType::btDefault, red, red},
    };
    for (const Case& c : cases) {
        // A value box of the results page: 60 x 14, black, no caption effect.
        TLabel3Dj box;
        Prepare(box, QString(), 60, 14);
        box.SetColor(Qt::black);
        box.SetTextStyle(TTextStyle::tsNone);
        box.SetBorder(true);
        box.SetBorderType(c.type);
        const QImage image = Render(box);
        const auto at = [&](int x, int y) { return image.pixelColor(x, y); };
        const int type = static_cast<int>(c.type);
        for (int y = 0; y < 14; ++y) {
            EXPECT_EQ(at(0, y), c.topLeft) << type << " left edge " << y;
            EXPECT_EQ(at(59, y), c.bottomRight) << type << " right edge " << y;
        }
        for (int x = 1; x < 59; ++x) {
            EXPECT_EQ(at(x, 0), c.topLeft) << type << " top edge " << x;
            EXPECT_EQ(at(x, 13), c.bottomRight) << type << " bottom edge " << x;
        }
        // Corners: the top-right belongs to the bottom-right run, the bottom-left to the first.
        EXPECT_EQ(at(59, 0), c.bottomRight) << type;
        EXPECT_EQ(at(0, 13), c.topLeft) << type;
        EXPECT_EQ(at(1, 1), QColor(Qt::black)) << type;
        EXPECT_EQ(at(58, 12), QColor(Qt::black)) << type;
    }
}

TEST(TLabel3DjPaint, TransparentLabelLeavesTheBackground) {
    TLabel3Dj label;
    Prepare(label, QString(), 20, 10);
    label.SetTransparent(true);
    QImage image(label.size(), QImage::Format_RGB32);
    image.fill(QColor(10, 20, 30));
    label.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    EXPECT_EQ(PixelsOf(image, QColor(10, 20, 30)).size(), 200u);
    label.SetTransparent(false);
    EXPECT_EQ(PixelsOf(Render(label), kBackground).size(), 200u);
}

TEST(TLabel3DjPaint, ValueBoxCentresItsText) {
    // Aqua on black, centred both ways as the results page's boxes are.
    TLabel3Dj box;
    Prepare(box, QStringLiteral("12"), 60, 14);
    box.SetColor(Qt::black);
    box.SetFontColor(Qt::cyan);
    box.SetTextStyle(TTextStyle::tsNone);
    box.SetAlignment(TAlignment::taCenter);
    box.SetLayout(TTextLayout::tlCenter);
    const auto pixels = PixelsOf(Render(box), QColor(Qt::cyan));
    ASSERT_FALSE(pixels.empty());
    int left = 60, right = 0;
    for (const auto& [x, y] : pixels) {
        left = std::min(left, x);
        right = std::max(right, x);
    }
    EXPECT_LE(std::abs(left - (59 - right)), 2) << left << ".." << right;
}

TEST(TLabel3DjPaint, EllipsisShowsTheShortenedText) {
    if (!IpaGothicSeen()) {
        GTEST_SKIP() << kNoIpaGothic;
    }
    TLabel3Dj shortened;
    Prepare(shortened, QStringLiteral("ABCDEFGHIJKL"), 60, 20);
    shortened.SetTextStyle(TTextStyle::tsNone);
    shortened.SetEllipsesStyle(TEllipsesStyle::esEnd);

    // "ＭＳ ゴシック" 16 px: 8 pixels a character, "..." 24; 60 pixels hold "ABCD...".
    TLabel3Dj expected;
    Prepare(expected, QStringLiteral("ABCD..."), 60, 20);
    expected.SetTextStyle(TTextStyle::tsNone);
    EXPECT_EQ(Differences(Render(shortened), Render(expected)), 0);
}

TEST(TLabel3DjPaint, AcceleratorPrefixFollowsShowAccelChar) {
    TLabel3Dj prefixed;
    Prepare(prefixed, QStringLiteral("A&&B"));
    prefixed.SetTextStyle(TTextStyle::tsNone);
    TLabel3Dj single;
    Prepare(single, QStringLiteral("A&B"));
    single.SetTextStyle(TTextStyle::tsNone);
    single.SetShowAccelChar(false);
    // "A&&B" with prefixes shows "A&B", as "A&B" does without them.
    EXPECT_EQ(Differences(Render(prefixed), Render(single)), 0);
}

// ---- Mouse --------------------------------------------------------------------------------

void Enter(QWidget& widget) {
    QEnterEvent event(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(&widget, &event);
}

void Leave(QWidget& widget) {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(&widget, &event);
}

void MouseUpDown(QWidget& widget, QPoint down, QPoint up) {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(down), QPointF(down), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(up), QPointF(up), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &release);
}

struct LinkProbe {
    std::vector<QUrl> opened;
    int clicks = 0;
    int enters = 0;
    int exits = 0;

    void Attach(TLabel3Dj& label) {
        label.SetLinkOpener([this](const QUrl& url) {
            opened.push_back(url);
            return false; // a failing shell changes nothing
        });
        QObject::connect(&label, &TLabel3Dj::OnClick, [this] { ++clicks; });
        QObject::connect(&label, &TLabel3Dj::OnMouseEnter, [this] { ++enters; });
        QObject::connect(&label, &TLabel3Dj::OnMouseExit, [this] { ++exits; });
    }
};

TEST(TLabel3DjMouse, WebLinkHoverLookAndClick) {
    QWidget window;
    TLabel3Dj label(&window);
    label.SetAutoSize(false);
    label.resize(100, 20);
    label.SetCaption(QStringLiteral("JRA-VAN"));
    label.SetFontColor(Qt::blue);
    label.SetLabelStyle(TLabelStyle::lsWWWAddress);
    label.SetAddress(QStringLiteral("www.example.jp"));
    LinkProbe probe;
    probe.Attach(label);

    Enter(label);
    EXPECT_TRUE(label.font().underline());
    EXPECT_EQ(label.FontColor(), QColor(255, 0, 0));
    EXPECT_EQ(label.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(probe.enters, 1);

    MouseUpDown(label, {5, 5}, {6, 6});
    ASSERT_EQ(probe.opened.size(), 1u);
    EXPECT_EQ(probe.opened[0], QUrl(QStringLiteral("http://www.example.jp")));
    EXPECT_EQ(probe.clicks, 1);
    EXPECT_EQ(label.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    Leave(label);
    EXPECT_FALSE(label.font().underline());
    EXPECT_EQ(label.FontColor(), QColor(Qt::blue));
    EXPECT_FALSE(label.testAttribute(Qt::WA_SetCursor));
    EXPECT_EQ(probe.exits, 1);
}

TEST(TLabel3DjMouse, MailLinkOpensMailto) {
    TLabel3Dj label;
    label.SetLabelStyle(TLabelStyle::lsEMailAddress);
    label.SetAddress(QStringLiteral("info@example.jp"));
    LinkProbe probe;
    probe.Attach(label);
    label.Click();
    ASSERT_EQ(probe.opened.size(), 1u);
    EXPECT_EQ(probe.opened[0], QUrl(QStringLiteral("mailto:info@example.jp")));
    EXPECT_EQ(probe.clicks, 1);
    // Without an address a link label only clicks.
    label.SetAddress(QString());
    label.Click();
    EXPECT_EQ(probe.opened.size(), 1u);
    EXPECT_EQ(probe.clicks, 2);
}

TEST(TLabel3DjMouse, PlainLabelIgnoresAddressAndHover) {
    QWidget window;
    TLabel3Dj label(&window);
    label.SetAutoSize(false);
    label.resize(100, 20);
    label.SetFontColor(Qt::blue);
    label.SetAddress(QStringLiteral("www.example.jp"));
    LinkProbe probe;
    probe.Attach(label);

    Enter(label);
    EXPECT_FALSE(label.font().underline());
    EXPECT_EQ(label.FontColor(), QColor(Qt::blue));
    EXPECT_FALSE(label.testAttribute(Qt::WA_SetCursor));
    MouseUpDown(label, {5, 5}, {5, 5});
    EXPECT_TRUE(probe.opened.empty());
    EXPECT_EQ(probe.clicks, 1);
    Leave(label);
    // The notifications come for every style.
    EXPECT_EQ(probe.enters, 1);
    EXPECT_EQ(probe.exits, 1);
}

TEST(TLabel3DjMouse, ReleaseOutsideIsNoClick) {
    TLabel3Dj label;
    label.SetAutoSize(false);
    label.resize(100, 20);
    LinkProbe probe;
    probe.Attach(label);
    MouseUpDown(label, {5, 5}, {150, 5});
    EXPECT_EQ(probe.clicks, 0);
}

TEST(TLabel3DjMouse, StyleChangedWhileHoveringStillRestoresTheFont) {
    TLabel3Dj label;
    label.SetFontColor(Qt::darkGreen);
    label.SetLabelStyle(TLabelStyle::lsWWWAddress);
    Enter(label);
    label.SetLabelStyle(TLabelStyle::lsDefault);
    Leave(label);
    EXPECT_FALSE(label.font().underline());
    EXPECT_EQ(label.FontColor(), QColor(Qt::darkGreen));
}

} // namespace
} // namespace widgets
