#include "print/ui/TPrevX.h"

#include "print/ui/PagePrinting.h"

#include <QPaintEvent>
#include <QPainter>

namespace print::ui {

TPrevX::TPrevX(QPrinter& printer, QWidget* parent) : QWidget(parent), printer_(printer) {
    setObjectName(QStringLiteral("PrevX1"));
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    control_.SetScreenDpi(logicalDpiY());
    if (printer_.isValid()) {
        control_.SetPrinter(PrinterMetricsOf(printer_));
    }
    UpdateGeometry();
}

void TPrevX::SetZoomScale(int percent) {
    if (control_.SetZoomScale(percent)) {
        ForgetPicture();
        UpdateGeometry();
        update();
    }
}

void TPrevX::BeginDoc() {
    CheckPrinter(printer_);
    docPrinter_ = PrinterMetricsOf(printer_);
    control_.SetPrinter(docPrinter_);
    control_.BeginDoc();
    recorder_.BeginDoc();
    pagePrinters_.assign(1, docPrinter_);
    ForgetPicture();
    UpdateGeometry();
}

void TPrevX::NewPage() {
    CheckPrinter(printer_);
    recorder_.NewPage();
    control_.NewPage();
    pagePrinters_.push_back(PrinterMetricsOf(printer_));
}

void TPrevX::EndDoc() {
    // Pages the producer opened on the recorder itself were recorded for the document's printer.
    const std::size_t count = recorder_.Pages().size();
    pagePrinters_.resize(count, docPrinter_);
    control_.SetPageCount(static_cast<int>(count));
    ForgetPicture();
    update();
}

void TPrevX::ShowPage(int n) {
    if (control_.ShowPage(n)) {
        ForgetPicture();
        update();
    }
}

void TPrevX::PrintPages() {
    CheckPrinter(printer_);
    PrintRecordedPages(printer_, recorder_.Pages(), control_.PagesToPrint(), title_, control_);
}

void TPrevX::UpdateGeometry() {
    control_.SetScreenDpi(logicalDpiY());
    if (printer_.isValid()) {
        control_.SetPrinter(PrinterMetricsOf(printer_));
    }
    const TPreviewGeometry g = control_.Geometry();
    const QSize size(g.paperWidth + 2 * kSheetGap, g.paperHeight + 2 * kSheetGap);
    if (this->size() != size) {
        resize(size);
    }
}

void TPrevX::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit Resized();
}

void TPrevX::paintEvent(QPaintEvent* /*event*/) {
    // The printer may have changed in the printer setup since the last paint. A printer that
    // cannot be used leaves the control blank: printing reports it.
    UpdateGeometry();
    QPainter painter(this);
    if (!printer_.isValid()) {
        return;
    }
    const TPreviewGeometry g = control_.Geometry();
    painter.setPen(QPen(Qt::black, 1, Qt::SolidLine));
    painter.setBrush(Qt::white);
    painter.drawRect(kSheetGap, kSheetGap, g.paperWidth, g.paperHeight);
    const QRect printable(kSheetGap + g.offsetX, kSheetGap + g.offsetY, g.printableWidth,
                          g.printableHeight);
    // The sheet is white already: no fill, so that an area reaching the sheet's edges leaves
    // the sheet's outline standing.
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(printable);

    const int page = control_.CurrentPage();
    if (control_.PageCount() < 1 || page < 1 ||
        static_cast<std::size_t>(page) > recorder_.Pages().size()) {
        return;
    }
    painter.drawPixmap(printable.topLeft(), ShownPagePicture(g));
}

const QPixmap& TPrevX::ShownPagePicture(const TPreviewGeometry& geometry) {
    const int page = control_.CurrentPage();
    if (!picture_.isNull() && picturePage_ == page && pictureGeometry_ == geometry) {
        return picture_;
    }
    picturePage_ = page;
    pictureGeometry_ = geometry;
    const qreal ratio = devicePixelRatioF();
    picture_ = QPixmap(
        QSize(std::max(1, geometry.printableWidth), std::max(1, geometry.printableHeight)) * ratio);
    picture_.setDevicePixelRatio(ratio);
    // Transparent where nothing is drawn, so that the dotted edge of the area stays.
    picture_.fill(Qt::transparent);
    // The page, recorded at its printer's printable size, stretched into the printable area.
    const TPrinterMetrics& recorded = pagePrinters_[static_cast<std::size_t>(page - 1)];
    if (recorded.printableWidth < 1 || recorded.printableHeight < 1) {
        return picture_;
    }
    TPageControl units = control_;
    units.SetPrinter(recorded);
    QPainter painter(&picture_);
    // One factor for both directions: the two differ by less than a screen pixel's rounding,
    // and text under a uniform scale is drawn from the glyph cache instead of as outlines.
    const double scale =
        std::min(static_cast<double>(geometry.printableWidth) / recorded.printableWidth,
                 static_cast<double>(geometry.printableHeight) / recorded.printableHeight);
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    PaintRecordedPage(painter, recorder_.Pages()[static_cast<std::size_t>(page - 1)], units);
    return picture_;
}

} // namespace print::ui
