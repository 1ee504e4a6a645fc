#include "print/PageControl.h"

#include <gtest/gtest.h>

namespace {

using print::TPageControl;
using print::TPrevMapMode;

TPageControl At600() {
    TPageControl control;
    print::TPrinterMetrics printer;
    printer.dpiX = 600;
    printer.dpiY = 600;
    control.SetPrinter(printer);
    control.SetScreenDpi(96);
    return control;
}

TEST(PageControl, PaperUnitsBecomePrinterPixelsWithHalvesToEven) {
    TPageControl control = At600();
    EXPECT_EQ(control.PixelX(100), 236); // 236.2
    EXPECT_EQ(control.PixelY(100), 236);
    control.SetMapMode(TPrevMapMode::pmmLo);
    EXPECT_EQ(control.PixelX(10), 236);
    // 127 units at 600 dpi are exactly 300 pixels; 1 unit is 2.36, 0.0 stays 0.
    control.SetMapMode(TPrevMapMode::pmmHi);
    EXPECT_EQ(control.PixelX(127), 300);
    EXPECT_EQ(control.PixelX(1), 2);
    EXPECT_EQ(control.PixelX(0), 0);
    // Margins are added before the conversion.
    control.SetMarginLeft(27);
    control.SetMarginTop(-100);
    EXPECT_EQ(control.PixelX(100), 300);
    EXPECT_EQ(control.PixelY(100), 0);

    EXPECT_EQ(print::RoundRatio(5, 2), 2);
    EXPECT_EQ(print::RoundRatio(7, 2), 4);
    EXPECT_EQ(print::RoundRatio(-5, 2), -2);
    EXPECT_EQ(print::RoundRatio(-7, 2), -4);
    EXPECT_EQ(print::RoundRatio(-6, 4), -2);
}

TEST(PageControl, PenWidthsInTenthsOfAScreenPixel) {
    const TPageControl control = At600();
    EXPECT_EQ(control.PenWidthFor(1), 1);   // 0.625
    EXPECT_EQ(control.PenWidthFor(20), 12); // 12.5 to the even 12
    EXPECT_EQ(control.PenWidthFor(12), 8);  // 7.5 to the even 8
    EXPECT_EQ(control.PenWidthFor(10), 6);  // 6.25
    EXPECT_EQ(control.PenWidthFor(5), 3);   // 3.125
    EXPECT_EQ(control.PenWidthFor(0), 1);   // never thinner than a pixel
}

TEST(PageControl, ZoomOnlyFrom25To200) {
    TPageControl control;
    EXPECT_EQ(control.ZoomScale(), 25);
    EXPECT_FALSE(control.SetZoomScale(24));
    EXPECT_FALSE(control.SetZoomScale(201));
    EXPECT_EQ(control.ZoomScale(), 25);
    EXPECT_TRUE(control.SetZoomScale(200));
    EXPECT_EQ(control.ZoomScale(), 200);
    EXPECT_FALSE(control.SetZoomScale(200));
    EXPECT_TRUE(control.SetZoomScale(25));
    EXPECT_EQ(control.ZoomScale(), 25);
}

TEST(PageControl, PageShownAndPageRanges) {
    TPageControl control;
    control.BeginDoc();
    for (int i = 1; i < 10; ++i) {
        control.NewPage();
    }
    ASSERT_EQ(control.PageCount(), 10);
    EXPECT_FALSE(control.ShowPage(0));
    EXPECT_FALSE(control.ShowPage(11));
    EXPECT_FALSE(control.ShowPage(1));
    EXPECT_EQ(control.CurrentPage(), 1);
    EXPECT_TRUE(control.ShowPage(10));
    EXPECT_EQ(control.CurrentPage(), 10);

    // All pages with a selector of 1 to 12 over 10 pages: 1 to 10.
    control.SelectRange(1, 12);
    EXPECT_EQ(control.PrintFrom(), 1);
    EXPECT_EQ(control.PrintTo(), 12);
    EXPECT_EQ(control.PagesToPrint(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));

    // PrintFrom stays inside the pages, PrintTo only above 0.
    control.SetPrintFrom(11);
    control.SetPrintFrom(0);
    control.SetPrintTo(0);
    EXPECT_EQ(control.PrintFrom(), 1);
    EXPECT_EQ(control.PrintTo(), 12);

    // The page shown is printed alone, also after the selector went past the last page.
    control.ShowPage(4);
    control.ShowPage(12);
    control.SelectShownPage();
    EXPECT_EQ(control.PagesToPrint(), std::vector<int>{4});

    // A new document prints 1 to 9999 again, from page 1.
    control.BeginDoc();
    EXPECT_EQ(control.CurrentPage(), 1);
    EXPECT_EQ(control.PrintTo(), 9999);
    EXPECT_EQ(control.PagesToPrint(), std::vector<int>{1});
    control.SetPageCount(0);
    EXPECT_TRUE(control.PagesToPrint().empty());
}

TEST(PageControl, SheetOnScreenScalesWithZoom) {
    print::TPrinterMetrics printer = print::A4Metrics(600);
    EXPECT_EQ(printer.paperWidth, 4961);  // 210 mm, 4960.6
    EXPECT_EQ(printer.paperHeight, 7016); // 297 mm, 7015.7
    printer.offsetX = 100;
    printer.offsetY = 120;
    printer.printableWidth = 4760;
    printer.printableHeight = 6800;
    // 96 / 600 * 50 / 100 = 0.08
    EXPECT_EQ(print::PreviewGeometry(printer, 96, 50),
              (print::TPreviewGeometry{397, 561, 8, 10, 381, 544}));
    // At 100 %: 793.76, 1122.56, 16, 19.2, 761.6, 1088
    EXPECT_EQ(print::PreviewGeometry(printer, 96, 100),
              (print::TPreviewGeometry{794, 1123, 16, 19, 762, 1088}));
}

} // namespace
