// Texts replayed with the real fonts; the page of the command line's PDF and of the preview.
#include "print/ui/PagePrinting.h"
#include "shell/ui/PrinterSetup.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QImage>

namespace {

// The right-most inked printer pixel of text op i of page painted alone at 300 dpi.
int InkRight(const print::TRecordedPage& page, std::size_t i) {
    print::TPageControl units;
    units.SetPrinter(print::A4Metrics(300));
    QImage image(units.PixelX(2100), 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(0, -units.PixelY(page[i].y1));
    print::ui::PaintRecordedPage(painter, {page[i]}, units);
    painter.end();
    int right = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = right + 1; x < image.width(); ++x) {
            right = qGray(image.pixel(x, y)) < 160 ? x : right;
        }
    }
    return right;
}

TEST(CondensedText, ALongPastRunLineStaysInItsColumnAShortOneKeepsItsWidth) {
    print::TPageRecorder pages;
    pages.SetFontName(keiba::test::S("ＭＳ Ｐゴシック"));
    pages.SetFontSize(6);
    pages.SetBrushClear();
    // Line 6 of a past run, ending before the finishing position, and line 2 in a whole cell.
    for (const auto& [text, width] : {std::pair{"ジェネラーレウーノサクラバクシンオ+ 9.9", 180},
                                      std::pair{"18頭3200芝右 雨稍重", 213}}) {
        pages.TextOutInColumn(1773, 100, keiba::test::S(text), width);
        pages.TextOutAt(1773, 100, keiba::test::S(text));
    }
    const print::TRecordedPage& page = pages.Pages().front();
    const int columnEnd = 300 * (1773 + 180) / 254;
    EXPECT_LE(InkRight(page, 0), columnEnd);
    EXPECT_GT(InkRight(page, 0), columnEnd - 10) << "condensed to the column, not cut";
    EXPECT_GT(InkRight(page, 1), columnEnd) << "the line would pass its column";
    EXPECT_EQ(InkRight(page, 2), InkRight(page, 3));
}

TEST(CondensedText, TheCommandLinesPdfAndTheProgramsPrinterPlaceThePageAlike) {
    if (shell::ui::ProgramPrinter().outputFormat() != QPrinter::PdfFormat) {
        GTEST_SKIP() << "the program prints on a system printer here";
    }
    QPrinter cli(QPrinter::HighResolution);
    print::ui::MakePdfPrinter(cli, QStringLiteral("x.pdf"));
    const print::TPrinterMetrics page = print::ui::PrinterMetricsOf(cli);
    EXPECT_EQ(page, print::ui::PrinterMetricsOf(shell::ui::ProgramPrinter()));
    EXPECT_GT(page.offsetX, 0);
}

} // namespace
