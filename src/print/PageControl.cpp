#include "print/PageControl.h"

#include <algorithm>

namespace print {

std::int64_t RoundRatio(std::int64_t num, std::int64_t den) {
    if (den < 0) {
        num = -num;
        den = -den;
    }
    std::int64_t q = num / den;
    std::int64_t r = num % den;
    if (r < 0) { // floor division
        --q;
        r += den;
    }
    // r / den in [0, 1): up above a half, and at exactly a half to the even integer.
    if (2 * r > den || (2 * r == den && q % 2 != 0)) {
        ++q;
    }
    return q;
}

TPrinterMetrics A4Metrics(int dpi) {
    TPrinterMetrics m;
    m.dpiX = dpi;
    m.dpiY = dpi;
    // 210 mm by 297 mm.
    m.paperWidth = static_cast<int>(RoundRatio(2100LL * dpi, 254));
    m.paperHeight = static_cast<int>(RoundRatio(2970LL * dpi, 254));
    m.printableWidth = m.paperWidth;
    m.printableHeight = m.paperHeight;
    return m;
}

TPreviewGeometry PreviewGeometry(const TPrinterMetrics& printer, int screenDpi, int zoomScale) {
    const std::int64_t den = std::int64_t{printer.dpiY > 0 ? printer.dpiY : 1} * 100;
    const std::int64_t mul = std::int64_t{screenDpi} * zoomScale;
    auto scaled = [&](int length) { return static_cast<int>(RoundRatio(length * mul, den)); };
    return {scaled(printer.paperWidth),     scaled(printer.paperHeight),
            scaled(printer.offsetX),        scaled(printer.offsetY),
            scaled(printer.printableWidth), scaled(printer.printableHeight)};
}

bool TPageControl::SetZoomScale(int percent) {
    if (percent == zoomScale_ || percent < kMinZoom || percent > kMaxZoom) {
        return false;
    }
    zoomScale_ = percent;
    return true;
}

int TPageControl::Convert(int value, int margin, int dpi) const {
    // pmmHi: value / 254 inch; pmmLo: value / 25.4 inch = value * 10 / 254 inch.
    const std::int64_t units = std::int64_t{value} + margin;
    const std::int64_t num = units * dpi * (mapMode_ == TPrevMapMode::pmmLo ? 10 : 1);
    return static_cast<int>(RoundRatio(num, 254));
}

int TPageControl::PixelX(int x) const {
    return Convert(x, marginLeft_, printer_.dpiX);
}

int TPageControl::PixelY(int y) const {
    return Convert(y, marginTop_, printer_.dpiY);
}

int TPageControl::PenWidthFor(int width) const {
    const std::int64_t pixels =
        RoundRatio(std::int64_t{width} * printer_.dpiY, std::int64_t{screenDpi_} * 10);
    return static_cast<int>(std::max<std::int64_t>(pixels, 1));
}

void TPageControl::BeginDoc() {
    currentPage_ = 1;
    printFrom_ = 1;
    printTo_ = kPrintToOpen;
    pageCount_ = 1;
}

bool TPageControl::ShowPage(int n) {
    if (n == currentPage_ || n < 1 || n > pageCount_) {
        return false;
    }
    currentPage_ = n;
    return true;
}

void TPageControl::SetPrintFrom(int n) {
    if (n != printFrom_ && n >= 1 && n <= pageCount_) {
        printFrom_ = n;
    }
}

void TPageControl::SetPrintTo(int n) {
    if (n != printTo_ && n >= 1) {
        printTo_ = n;
    }
}

std::vector<int> TPageControl::PagesToPrint() const {
    std::vector<int> pages;
    if (pageCount_ < 1 || printFrom_ < 1 || printFrom_ > pageCount_) {
        return pages;
    }
    const int last = std::min(pageCount_, printTo_);
    pages.push_back(printFrom_);
    for (int i = printFrom_ + 1; i <= last; ++i) {
        pages.push_back(i);
    }
    return pages;
}

void TPageControl::SelectShownPage() {
    SetPrintFrom(currentPage_);
    SetPrintTo(currentPage_);
}

void TPageControl::SelectRange(int first, int last) {
    SetPrintFrom(first);
    SetPrintTo(last);
}

} // namespace print
