#include "print/ui/PagePrinting.h"

#include "jvdata/SjisText.h"
#include "print/Newspaper.h"
#include "widgets/ui/FontSubstitutes.h"
#include "widgets/ui/QtConvert.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>

namespace print::ui {

namespace {

using widgets::FromRgb;

// The font of a drawing state at the printer's resolution: points to printer pixels, so that
// the size on paper is true at any resolution and under the preview's scaling alike.
QFont FontOf(const TCanvasFont& font, int dpiY) {
    QFont qfont(QString::fromStdString(Sjis::ToUtf8(font.face)));
    qfont.setPixelSize(
        std::max(1, static_cast<int>(RoundRatio(std::int64_t{font.size} * dpiY, 72))));
    qfont.setBold(font.bold);
    qfont.setUnderline(font.underline);
    qfont.setKerning(false);
    return qfont;
}

// While it lives, Qt's own warnings (no runtime folder, a painter that cannot begin on a file)
// are dropped: the program tells a failure in its own words, and only once. Fatal messages
// still go to the handler before.
class TQuietQtMessages {
public:
    TQuietQtMessages() : previous_(qInstallMessageHandler(&Drop)) {
        if (previous_ != &Drop) { // not within another one
            Previous() = previous_;
        }
    }
    ~TQuietQtMessages() { qInstallMessageHandler(previous_); }
    TQuietQtMessages(const TQuietQtMessages&) = delete;
    TQuietQtMessages& operator=(const TQuietQtMessages&) = delete;

private:
    static QtMessageHandler& Previous() {
        static QtMessageHandler handler = nullptr;
        return handler;
    }
    // A fatal message ends the program: it still reaches the user, through the handler that was
    // there before or, where that was Qt's own, on the standard error stream.
    static void Drop(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (type != QtFatalMsg) {
            return;
        }
        if (Previous() != nullptr) {
            Previous()(type, context, message);
        } else {
            std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
            std::fflush(stderr);
        }
    }

    QtMessageHandler previous_;
};

// Margins of the PDF page in points: what Qt gives a PDF printer of its own accord, and about
// the edge a sheet printer cannot reach.
constexpr double kPdfMarginPoints = 10.0;
// Printer pixels per inch of a PDF page: those of a high-resolution PDF printer, so that fonts
// are sized to the same pixels wherever the page is made.
constexpr int kPdfDpi = 1200;

// The horizontal scale of a text advance printer pixels wide at x in a column width drawing
// units wide (none when width is below 1): 1 when it fits, else the column over the advance.
double ColumnScale(int width, const TPageControl& units, int x, double advance) {
    if (width < 1 || advance <= 0.0) {
        return 1.0;
    }
    const double column = units.PixelX(x + width) - units.PixelX(x);
    return advance > column ? column / advance : 1.0;
}

} // namespace

const std::string& NoPrinterText() {
    static const std::string text = Sjis::FromUtf8("プリンタが登録されていません");
    return text;
}

void CheckPrinter(const QPrinter& printer) {
    if (!printer.isValid()) {
        throw EPrevError(NoPrinterText());
    }
}

TPrinterMetrics PrinterMetricsOf(const QPrinter& printer) {
    TPrinterMetrics m;
    m.dpiX = printer.logicalDpiX() > 0 ? printer.logicalDpiX() : printer.resolution();
    m.dpiY = printer.logicalDpiY() > 0 ? printer.logicalDpiY() : printer.resolution();
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    m.paperWidth = qRound(paper.width());
    m.paperHeight = qRound(paper.height());
    m.offsetX = qRound(page.left() - paper.left());
    m.offsetY = qRound(page.top() - paper.top());
    m.printableWidth = qRound(page.width());
    m.printableHeight = qRound(page.height());
    return m;
}

void PaintRecordedPage(QPainter& painter, const TRecordedPage& page, const TPageControl& units) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const int dpiY = units.Printer().dpiY;
    // Fonts and pens change far less often than operations follow each other: make them only
    // when the state changes.
    const TCanvasFont* lastFont = nullptr;
    QFont font;
    std::unique_ptr<QFontMetricsF> metrics;
    int lastPen = -1;
    for (const TPageOp& op : page) {
        const TCanvasState& state = op.state;
        switch (op.kind) {
        case TPageOp::TKind::Text: {
            if (lastFont == nullptr || !(*lastFont == state.font)) {
                font = FontOf(state.font, dpiY);
                painter.setFont(font);
                metrics = std::make_unique<QFontMetricsF>(font, painter.device());
                lastFont = &state.font;
            }
            const QString text = QString::fromStdString(Sjis::ToUtf8(op.text));
            const QPointF corner(units.PixelX(op.x1), units.PixelY(op.y1));
            const double advance = metrics->horizontalAdvance(text);
            const double condense = ColumnScale(op.width, units, op.x1, advance);
            if (state.brush.solid) {
                // A solid brush gives the text an opaque background of its colour.
                painter.fillRect(QRectF(corner, QSizeF(advance * condense, metrics->height())),
                                 FromRgb(state.brush.colour));
            }
            painter.setPen(FromRgb(state.font.colour));
            lastPen = -1;
            if (condense < 1.0) {
                // Condensed type: the glyphs narrowed to the column, their height kept.
                painter.save();
                painter.translate(corner);
                painter.scale(condense, 1.0);
                painter.drawText(QPointF(0, metrics->ascent()), text);
                painter.restore();
            } else {
                painter.drawText(corner + QPointF(0, metrics->ascent()), text);
            }
            break;
        }
        case TPageOp::TKind::Line:
        case TPageOp::TKind::Rectangle: {
            if (state.penWidth != lastPen) {
                QPen pen(Qt::black);
                pen.setWidth(units.PenWidthFor(state.penWidth));
                pen.setJoinStyle(Qt::MiterJoin);
                pen.setCapStyle(Qt::SquareCap);
                painter.setPen(pen);
                lastPen = state.penWidth;
            }
            const QPointF from(units.PixelX(op.x1), units.PixelY(op.y1));
            const QPointF to(units.PixelX(op.x2), units.PixelY(op.y2));
            if (op.kind == TPageOp::TKind::Line) {
                painter.drawLine(from, to);
            } else {
                painter.setBrush(state.brush.solid ? QBrush(FromRgb(state.brush.colour))
                                                   : QBrush(Qt::NoBrush));
                painter.drawRect(QRectF(from, to).normalized());
            }
            break;
        }
        }
    }
    painter.restore();
}

void PrintRecordedPages(QPrinter& printer, const std::vector<TRecordedPage>& pages,
                        const std::vector<int>& pageNumbers, const QString& title,
                        const TPageControl& settings) {
    CheckPrinter(printer);
    if (pageNumbers.empty()) {
        return;
    }
    printer.setDocName(title);
    TPageControl units = settings;
    units.SetPrinter(PrinterMetricsOf(printer));
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        // A file that cannot be made fails here, before the painter tries it and Qt warns.
        QFile file(printer.outputFileName());
        if (printer.outputFileName().isEmpty() || !file.open(QIODevice::WriteOnly)) {
            throw EPrevError(NoPrinterText());
        }
    }
    QPainter painter;
    bool begun = false;
    {
        const TQuietQtMessages quiet;
        begun = painter.begin(&printer);
    }
    if (!begun) {
        throw EPrevError(NoPrinterText());
    }
    bool first = true;
    for (const int number : pageNumbers) {
        if (number < 1 || static_cast<std::size_t>(number) > pages.size()) {
            continue;
        }
        if (!first && !printer.newPage()) {
            break;
        }
        first = false;
        PaintRecordedPage(painter, pages[static_cast<std::size_t>(number - 1)], units);
    }
    painter.end();
}

void UsePdfPageLayout(QPrinter& printer) {
    printer.setResolution(kPdfDpi);
    printer.setFullPage(false);
    printer.setPageLayout(QPageLayout(
        QPageSize(QPageSize::A4), QPageLayout::Portrait,
        QMarginsF(kPdfMarginPoints, kPdfMarginPoints, kPdfMarginPoints, kPdfMarginPoints),
        QPageLayout::Point));
}

void MakePdfPrinter(QPrinter& printer, const QString& file) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    UsePdfPageLayout(printer);
}

int WriteNewspaperPdf(const race::TRaceDayData& day, const std::filesystem::path& file) {
    // A command-line caller has no application object: one for this call only, so that it is
    // gone before the program's own statics are.
    const TQuietQtMessages quiet;
    std::unique_ptr<QApplication> ownApplication;
    if (QCoreApplication::instance() == nullptr) {
#ifndef _WIN32
        // Without a display: the offscreen platform, unless the caller chose one. Windows always
        // has its own platform, and the program folder carries no other.
        const char* platform = std::getenv("QT_QPA_PLATFORM");
        if (platform == nullptr || *platform == '\0') {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
#endif
        static int argc = 1;
        static char name[] = "tomberly-cli";
        static char* argv[] = {name, nullptr};
        ownApplication = std::make_unique<QApplication>(argc, argv);
        widgets::RegisterFontSubstitutes();
    }
    TPageRecorder recorder;
    if (DrawNewspaper(day, recorder).empty()) {
        return 0; // no race with runners: no file
    }
    QPrinter printer(QPrinter::HighResolution);
    MakePdfPrinter(printer, QString::fromStdU16String(file.u16string()));
    std::vector<int> numbers;
    for (std::size_t i = 0; i < recorder.Pages().size(); ++i) {
        numbers.push_back(static_cast<int>(i) + 1);
    }
    TPageControl settings;
    PrintRecordedPages(printer, recorder.Pages(), numbers, QString(), settings);
    return static_cast<int>(numbers.size());
}

} // namespace print::ui
