// The arithmetic of the page control that records, previews and prints the newspaper pages:
// paper units to printer pixels, pen widths, the zoom of the preview, the page shown, the pages
// to print and the sizes of the sheet on screen. Kept apart from the window so that it is the
// same on every printer and testable without one.
#pragma once

#include <cstdint>
#include <vector>

namespace print {

// Units of the drawing coordinates: tenths of a millimetre or millimetres.
enum class TPrevMapMode { pmmHi, pmmLo };

// The nearest integer to num / den, halves to the even integer. den must not be 0.
std::int64_t RoundRatio(std::int64_t num, std::int64_t den);

// What the page control needs of a printer, all in printer pixels: its resolution, the
// physical sheet, and the printable area with its offset from the sheet's corner.
struct TPrinterMetrics {
    int dpiX = 600;
    int dpiY = 600;
    int paperWidth = 0;
    int paperHeight = 0;
    int offsetX = 0;
    int offsetY = 0;
    int printableWidth = 0;
    int printableHeight = 0;

    bool operator==(const TPrinterMetrics&) const = default;
};

// A4 portrait at the given resolution, the whole sheet printable (PDF output).
TPrinterMetrics A4Metrics(int dpi);

// The sheet on screen at a zoom: every printer length scaled by
// screen dpi / printer vertical dpi * zoom / 100, in screen pixels.
struct TPreviewGeometry {
    int paperWidth = 0;
    int paperHeight = 0;
    int offsetX = 0;
    int offsetY = 0;
    int printableWidth = 0;
    int printableHeight = 0;

    bool operator==(const TPreviewGeometry&) const = default;
};

TPreviewGeometry PreviewGeometry(const TPrinterMetrics& printer, int screenDpi, int zoomScale);

// The gap around the sheet in the preview, in screen pixels, on every side.
inline constexpr int kSheetGap = 10;

inline constexpr int kMinZoom = 25;
inline constexpr int kMaxZoom = 200;
// PrintTo after BeginDoc: no upper bound in practice.
inline constexpr int kPrintToOpen = 9999;

// State and arithmetic of the page control. Pages are numbered from 1.
class TPageControl {
public:
    int ZoomScale() const { return zoomScale_; }
    // 25 to 200; anything else is ignored. True when the zoom changed.
    bool SetZoomScale(int percent);

    int MarginLeft() const { return marginLeft_; }
    int MarginTop() const { return marginTop_; }
    void SetMarginLeft(int units) { marginLeft_ = units; }
    void SetMarginTop(int units) { marginTop_ = units; }
    TPrevMapMode MapMode() const { return mapMode_; }
    void SetMapMode(TPrevMapMode mode) { mapMode_ = mode; }

    // The printer the conversions use (its resolution).
    const TPrinterMetrics& Printer() const { return printer_; }
    void SetPrinter(const TPrinterMetrics& printer) { printer_ = printer; }
    // Screen pixels per inch of the preview (of its font).
    int ScreenDpi() const { return screenDpi_; }
    void SetScreenDpi(int dpi) { screenDpi_ = dpi > 0 ? dpi : 96; }

    // Drawing coordinates (map-mode units plus the margins) to printer pixels.
    int PixelX(int x) const;
    int PixelY(int y) const;
    // Printer pixels of a pen width in tenths of a screen pixel; at least 1.
    int PenWidthFor(int width) const;

    int CurrentPage() const { return currentPage_; }
    int PageCount() const { return pageCount_; }
    int PrintFrom() const { return printFrom_; }
    int PrintTo() const { return printTo_; }

    // A new document of one page: page 1 shown, printing from 1 to 9999.
    void BeginDoc();
    // One more page recorded.
    void NewPage() { ++pageCount_; }
    // The count of recorded pages, when a recorder made them.
    void SetPageCount(int count) { pageCount_ = count < 0 ? 0 : count; }

    // Shows page n when it exists and is not shown yet. True when the page changed.
    bool ShowPage(int n);
    // PrintFrom = n when 1 <= n <= PageCount.
    void SetPrintFrom(int n);
    // PrintTo = n when n >= 1; not bounded by the page count.
    void SetPrintTo(int n);

    // The pages PrintPages prints: PrintFrom up to the smaller of PageCount and PrintTo, and
    // page PrintFrom at least once. Nothing without pages.
    std::vector<int> PagesToPrint() const;
    // The printing range for the page shown: from and to the shown page, so that exactly it
    // is printed whatever the page selector says.
    void SelectShownPage();
    // The printing range of the selector's whole range.
    void SelectRange(int first, int last);

    // The preview at the current zoom and printer.
    TPreviewGeometry Geometry() const { return PreviewGeometry(printer_, screenDpi_, zoomScale_); }

private:
    int Convert(int value, int margin, int dpi) const;

    int zoomScale_ = kMinZoom;
    int marginLeft_ = 0;
    int marginTop_ = 0;
    TPrevMapMode mapMode_ = TPrevMapMode::pmmHi;
    TPrinterMetrics printer_;
    int screenDpi_ = 96;
    int currentPage_ = 1;
    int pageCount_ = 0;
    int printFrom_ = 1;
    int printTo_ = kPrintToOpen;
};

} // namespace print
