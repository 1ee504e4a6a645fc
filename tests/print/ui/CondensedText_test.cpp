// The newspaper page replayed with the real fonts: a text longer than its column is condensed
// into it, and none of its ink passes the column's end; a text that fits keeps its natural
// width. The command line's PDF and the preview's printer put the page at the same place.
#include "jvdata/SjisText.h"
#include "print/Newspaper.h"
#include "print/ui/PagePrinting.h"
#include "shell/ui/PrinterSetup.h"
#include "support/RaceDayFixture.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <memory>

#include <QImage>
#include <QPainter>

namespace {

using keiba::test::S;
using print::TPageOp;

constexpr int kDpi = 300;
constexpr int kGap = 20; // pixels of blank around the text in its picture

// The left and right printer pixel of the ink of op painted alone; right < left when none.
std::pair<int, int> InkColumns(TPageOp op, const print::TPageControl& units) {
    const double natural = print::NaturalTextWidth(op.text, op.state.font.size);
    const int left = units.PixelX(op.x1);
    QImage image(units.PixelX(op.x1 + static_cast<int>(natural) + 100) - left + 2 * kGap, 150,
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.translate(kGap - left, kGap - units.PixelY(op.y1));
        op.state.brush.solid = false;
        print::ui::PaintRecordedPage(painter, {op}, units);
    }
    int first = image.width();
    int last = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(row[x]) < 160) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    return {first - kGap + left, last - kGap + left};
}

TEST(CondensedText, EveryTextOfAFullRowStaysInItsColumnWithTheRealFonts) {
    auto day = std::make_unique<race::TRaceDayData>();
    keiba::test::RacePlan plan;
    plan.runners = 1;
    day->Races[0] = keiba::test::MakeRace(plan);
    day->RaceCount = 1;
    const std::string name = S("ジェネラーレウーノサクラバクシンオ");
    auto& runner = day->Runners[0][0];
    runner = keiba::test::MakeRunner(day->Races[0], 1, "2001100001", name);
    runner.SetField(307, 314, S("横山典弘"));
    runner.SetField(81, 82, "03");
    for (const int at : {215, 261, 399, 445}) {
        day->Horses[0][0].SetField(at, at + 35, name);
    }
    plan.runners = 18;
    plan.date = "20041128";
    day->PastRaces[0][0][0] = keiba::test::MakeRace(plan);
    day->PastRaces[0][0][0].SetField(605, 610, S("有馬記"));
    day->PastRaces[0][0][0].SetField(888, 890, "32 ");
    auto& run = day->PastRuns[0][0][0];
    run = keiba::test::MakeRunner(day->PastRaces[0][0][0], 18, "2001100001");
    run.SetField(307, 314, S("横山典弘"));
    run.SetField(364, 365, "18");
    run.SetField(352, 359, "18181818");
    run.SetField(366, 381, "9999999999999999");
    run.SetField(404, 439, name);
    run.SetField(335, 336, "18");

    print::TPageRecorder pages;
    pages.BeginDoc();
    print::DrawRacePage(*day, 0, pages);
    print::TPageControl units;
    units.SetPrinter(print::A4Metrics(kDpi));
    int condensed = 0;
    for (const TPageOp& op : pages.Pages().front()) {
        if (op.kind != TPageOp::TKind::Text || op.width < 1 || op.text.empty()) {
            continue;
        }
        const auto [left, right] = InkColumns(op, units);
        const int end = units.PixelX(op.x1 + op.width);
        EXPECT_GE(left, units.PixelX(op.x1) - 1) << op.text;
        EXPECT_LE(right, end) << op.x1 << "," << op.y1 << " " << Sjis::ToUtf8(op.text);
        // Condensed, not cut: a long text still fills most of its column (trailing blanks
        // of a fixed-width text are part of it).
        TPageOp free = op;
        free.width = 0;
        const int freeRight = InkColumns(free, units).second;
        if (freeRight > end) {
            ++condensed;
            EXPECT_GE(right, left + (end - left) / 2) << Sjis::ToUtf8(op.text);
        } else {
            EXPECT_EQ(right, freeRight) << "fits, keeps its width: " << Sjis::ToUtf8(op.text);
        }
    }
    // The horse's name, its pedigree and the winner's name at least.
    EXPECT_GE(condensed, 4);
}

TEST(CondensedText, TheCommandLinesPdfAndTheProgramsPrinterPlaceThePageAlike) {
    QPrinter& program = shell::ui::ProgramPrinter();
    if (program.outputFormat() != QPrinter::PdfFormat) {
        GTEST_SKIP() << "the program prints on a system printer here";
    }
    QPrinter cli(QPrinter::HighResolution);
    print::ui::MakePdfPrinter(cli, QStringLiteral("x.pdf"));
    const print::TPrinterMetrics page = print::ui::PrinterMetricsOf(cli);
    EXPECT_EQ(page, print::ui::PrinterMetricsOf(program));
    EXPECT_GT(page.offsetX, 0);
    EXPECT_EQ(page.offsetX, page.offsetY);
}

} // namespace
