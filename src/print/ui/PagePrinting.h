// Recorded newspaper pages on real devices: the printer's metrics, the replay of a page's
// drawing operations into any QPainter in printer pixels (preview, printer, PDF), the print job,
// and the day's newspaper written to a PDF file.
#pragma once

#include "print/PageCanvas.h"
#include "print/PageControl.h"
#include "race/TRaceDayData.h"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include <QPainter>
#include <QPrinter>

namespace print::ui {

// The page control's failure: a printer that is missing or cannot be used. what() is
// Shift-JIS.
class EPrevError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "プリンタが登録されていません" in Shift-JIS.
const std::string& NoPrinterText();

// Throws EPrevError when printer cannot be printed on.
void CheckPrinter(const QPrinter& printer);

// The printer's resolution, sheet and printable area in its pixels.
TPrinterMetrics PrinterMetricsOf(const QPrinter& printer);

// Replays one page into painter, whose coordinates are printer pixels with the origin at the
// printable area's corner; units converts the drawing units and pen widths for that printer.
// A text wider than its column is drawn condensed horizontally into it.
void PaintRecordedPage(QPainter& painter, const TRecordedPage& page, const TPageControl& units);

// Prints pageNumbers (1-based) of pages on printer as one job titled title (may be empty),
// each page converted at the printer's own resolution. Throws EPrevError when the printer
// cannot be used or the job cannot start.
void PrintRecordedPages(QPrinter& printer, const std::vector<TRecordedPage>& pages,
                        const std::vector<int>& pageNumbers, const QString& title,
                        const TPageControl& settings);

// The page of every PDF the program writes, from the preview or the command line alike: A4
// portrait with a printable area 10 points in from each edge, at 1200 dpi, so that a page
// lies on the sheet where it lies in the preview and is drawn to the same pixels.
void UsePdfPageLayout(QPrinter& printer);

// Makes printer a PDF file printer writing to file, on the PDF page layout.
void MakePdfPrinter(QPrinter& printer, const QString& file);

// Draws the day's newspaper and writes it, one A4 page per race, to a PDF file. Makes the
// application object, on the offscreen platform when no other is set, when there is none.
// Returns the number of pages written, 0 (and no file) for a day without a race with
// runners; throws EPrevError when the file cannot be written. Qt's own warnings are kept from
// the user meanwhile: the caller reports the failure.
int WriteNewspaperPdf(const race::TRaceDayData& day, const std::filesystem::path& file);

} // namespace print::ui
