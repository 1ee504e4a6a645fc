#include "print/Newspaper.h"
#include "print/ui/PagePrinting.h"
#include "print/ui/PrinterSetup.h"
#include "print/ui/TAllPrintForm.h"
#include "settings/TIniGT.h"
#include "support/RaceDayFixture.h"
#include "support/ScriptedInteraction.h"
#include "support/TestSupport.h"
#include "support/ui/QtPrinters.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>

#include <QApplication>
#include <QFontDatabase>
#include <QImage>
#include <QRadioButton>
#include <QTimer>

namespace {

using namespace keiba::test;
using print::ui::TAllPrintForm;

// Output of a command line, for the PDF tools.
std::string Output(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
            out += buffer;
        }
        pclose(pipe);
    }
    return out;
}

// Whether poppler's PDF tools run here: a Windows test under Wine cannot start the host's.
bool PdfToolsRun() {
    static const bool run = Output("pdfinfo -v 2>&1").find("pdfinfo version") != std::string::npos;
    return run;
}

constexpr const char* kNoPdfTools =
    "poppler's pdfinfo, pdftotext and pdffonts do not run here (a Windows test under Wine "
    "cannot start the host's): the PDF's text, fonts and paper were not read";

std::string PdfInfo(const std::filesystem::path& file) {
    return Output("pdfinfo '" + file.string() + "' 2>/dev/null");
}

// The page count pdfinfo reads from a PDF file, else the page objects Qt's PDF writer wrote
// ("/Type /Page", not "/Type /Pages"); -1 when there is no PDF.
int PdfPages(const std::filesystem::path& file) {
    if (PdfToolsRun()) {
        const std::string info = PdfInfo(file);
        const std::size_t at = info.find("Pages:");
        return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
    }
    std::ifstream in(file, std::ios::binary);
    const std::string pdf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!pdf.starts_with("%PDF-")) {
        return -1;
    }
    int pages = 0;
    for (std::size_t at = pdf.find("/Type /Page"); at != std::string::npos;
         at = pdf.find("/Type /Page", at + 1)) {
        pages += at + 11 < pdf.size() && pdf[at + 11] != 's' ? 1 : 0;
    }
    return pages;
}

std::string PdfText(const std::filesystem::path& file) {
    return Output("pdftotext '" + file.string() + "' - 2>/dev/null");
}

// A day of races slots with runners: runners[r] registered, horse numbers from 1.
std::unique_ptr<race::TRaceDayData> Day(const std::vector<int>& runners) {
    auto day = std::make_unique<race::TRaceDayData>();
    day->RaceCount = static_cast<int>(runners.size());
    for (std::size_t r = 0; r < runners.size(); ++r) {
        RacePlan plan;
        plan.number = static_cast<int>(r) + 1;
        plan.runners = runners[r];
        day->Races[r] = MakeRace(plan);
        for (int h = 1; h <= runners[r]; ++h) {
            day->Runners[r][static_cast<std::size_t>(h - 1)] =
                MakeRunner(day->Races[r], h, "200010100" + std::to_string(h % 10));
        }
    }
    return day;
}

class PrintPreview : public ::testing::Test {
protected:
    TempDir dir;
    std::filesystem::path ini = dir.path() / "tomberly.ini";
    ScriptedInteraction user;
    QPrinter printer{QPrinter::HighResolution};
    std::vector<QString> asked; // the PDF files asked for
    QString answer;

    void SetUp() override { print::ui::MakePdfPrinter(printer, QString()); }

    print::ui::TAllPrintFormSetup FormSetup() {
        print::ui::TAllPrintFormSetup setup;
        setup.printer = &printer;
        setup.settingsFile = ini;
        setup.interaction = &user;
        setup.askPdfFileName = [this](QWidget*) {
            asked.push_back(answer);
            return answer;
        };
        return setup;
    }

    // Pages whose only drawing is a black square, one a page, 500 units further right each.
    static void DrawSquares(print::ui::TPrevX& prev, int pages) {
        prev.BeginDoc();
        for (int i = 0; i < pages; ++i) {
            if (i > 0) {
                prev.NewPage();
            }
            auto& canvas = prev.PageCanvas();
            canvas.SetBrushSolid(print::kBlack);
            canvas.RectangleAt(100 + 500 * i, 170, 400 + 500 * i, 470);
            canvas.SetFontName(S("ＭＳ ゴシック"));
            canvas.SetFontSize(20);
            canvas.TextOutAt(100, 600, S("頁") + std::to_string(i + 1));
        }
        prev.EndDoc();
    }

    QString Pdf(const char* name) { return QString::fromStdString((dir.path() / name).string()); }
};

TEST_F(PrintPreview, ControlsAndCaptions) {
    TAllPrintForm form(FormSetup());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("全買い目印刷"));
    EXPECT_EQ(form.Label1()->text(), QStringLiteral("ﾍﾟｰｼﾞ選択"));
    EXPECT_EQ(form.BitBtn2()->text(), QStringLiteral("印刷(&P)"));
    EXPECT_EQ(form.BitBtn5()->text(), QStringLiteral("表示ﾍﾟｰｼﾞ印刷(&P)"));
    EXPECT_EQ(form.BitBtn7()->text(), QStringLiteral("全ﾍﾟｰｼﾞ印刷(&P)"));
    EXPECT_EQ(form.BitBtn3()->text(), QStringLiteral("ﾌﾟﾘﾝﾀ設定(&S)"));
    EXPECT_EQ(form.RadioGroup1()->title(), QStringLiteral("倍率"));
    QStringList zooms;
    for (auto* button : form.RadioGroup1()->findChildren<QRadioButton*>()) {
        zooms << button->text();
    }
    EXPECT_EQ(zooms, (QStringList{"25%", "50%", "75%", "100%"}));
    EXPECT_EQ(form.ZoomChoice(), 1);
    EXPECT_EQ(form.PrevX1()->ZoomScale(), 50);
    EXPECT_EQ(form.PrevX1()->pos(), QPoint(4, 4));
    // Defaults of the bounds without a settings file.
    EXPECT_EQ(form.size(), QSize(630, 450));
    // A4 at 600 dpi at 50 % of a 96 dpi screen: 397 x 561 pixels and the gap of 10 around.
    EXPECT_EQ(form.PrevX1()->size(), QSize(417, 581));
    EXPECT_EQ(form.ScrollBox1()->widget()->size(), QSize(425, 589));
}

TEST_F(PrintPreview, BoundsAndZoomKeptInTheSettingsFile) {
    std::ofstream(ini) << "[Printlocate]\ntop=40\nleft=30\nwidth=700\nheight=500\n"
                          "[PrintZoom]\nratio=3\n";
    {
        TAllPrintForm form(FormSetup());
        EXPECT_EQ(form.pos(), QPoint(30, 40));
        EXPECT_EQ(form.size(), QSize(700, 500));
        EXPECT_EQ(form.ZoomChoice(), 3);
        EXPECT_EQ(form.PrevX1()->ZoomScale(), 100);
        form.RadioGroup1()->findChildren<QRadioButton*>()[0]->click();
        EXPECT_EQ(form.PrevX1()->ZoomScale(), 25);
        EXPECT_EQ(form.IniGT1().ReadInteger("PrintZoom", "ratio", -1), 0);
        form.move(50, 60);
        form.resize(640, 480);
        form.close();
    }
    settings::TIniGT settings(ini.string());
    EXPECT_EQ(settings.ReadInteger("Printlocate", "top", 0), 60);
    EXPECT_EQ(settings.ReadInteger("Printlocate", "left", 0), 50);
    EXPECT_EQ(settings.ReadInteger("Printlocate", "width", 0), 640);
    EXPECT_EQ(settings.ReadInteger("Printlocate", "height", 0), 480);

    // A ratio that is none of the four steps gives 50 %.
    std::ofstream(ini) << "[PrintZoom]\nratio=7\n";
    TAllPrintForm other(FormSetup());
    EXPECT_EQ(other.PrevX1()->ZoomScale(), 50);
}

TEST_F(PrintPreview, SheetPrintableAreaAndThePageShown) {
    TAllPrintForm form(FormSetup());
    form.SetZoomChoice(3); // 100 %: 0.16 screen pixels a printer pixel
    DrawSquares(*form.PrevX1(), 2);
    ASSERT_EQ(form.PrevX1()->PageCount(), 2);
    const auto shot = [&] { return form.PrevX1()->grab().toImage(); };
    // The first square spans units 100 to 400: printer pixels 236 to 945, screen 48 to 161.
    QImage image = shot();
    EXPECT_EQ(image.pixelColor(100, 100), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(200, 100), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(10, 300), QColor(Qt::black)); // the sheet's edge

    form.UpDown1()->SetMax(12);
    form.UpDown1()->SetMin(1);
    form.UpDown1()->SetPosition(1);
    form.UpDown1()->UpButton()->click();
    EXPECT_EQ(form.PrevX1()->CurrentPage(), 2);
    image = shot();
    EXPECT_EQ(image.pixelColor(100, 100), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(300, 100), QColor(Qt::black)); // 600 to 900 units: 237 to 350
    // Beyond the last page the page shown stays.
    form.UpDown1()->SetPosition(11);
    form.UpDown1()->UpButton()->click();
    EXPECT_EQ(form.UpDown1()->Position(), 12);
    EXPECT_EQ(form.PrevX1()->CurrentPage(), 2);
}

TEST_F(PrintPreview, ShownPageAndAllPagesPrintToPdf) {
    TAllPrintForm form(FormSetup());
    DrawSquares(*form.PrevX1(), 3);
    form.UpDown1()->SetMax(12);
    form.UpDown1()->SetMin(1);
    form.UpDown1()->SetPosition(1);
    form.UpDown1()->UpButton()->click();
    form.UpDown1()->SetPosition(12); // the selector past the last page: page 2 stays shown
    form.UpDown1()->DownButton()->click();
    form.UpDown1()->SetPosition(12);

    answer = Pdf("shown.pdf");
    form.BitBtn5()->click();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(PdfPages(dir.path() / "shown.pdf"), 1);
    // Exactly the page shown, with its text selectable and its fonts embedded.
    if (PdfToolsRun()) {
        const std::string text = PdfText(dir.path() / "shown.pdf");
        EXPECT_NE(text.find("頁2"), std::string::npos) << text;
        EXPECT_EQ(text.find("頁1"), std::string::npos) << text;
        const std::string fonts = Output("pdffonts '" + (dir.path() / "shown.pdf").string() + "'");
        EXPECT_NE(fonts.find(" yes "), std::string::npos) << fonts;
    }

    // All pages of a selector of 1 to 12 over 3 pages: 1 to 3, on A4.
    answer = Pdf("all.pdf");
    form.BitBtn7()->click();
    EXPECT_EQ(PdfPages(dir.path() / "all.pdf"), 3);
    if (PdfToolsRun()) {
        EXPECT_NE(PdfInfo(dir.path() / "all.pdf").find("595 x 842 pts (A4)"), std::string::npos);
    }

    // No file name: nothing printed, nothing reported.
    answer.clear();
    form.BitBtn7()->click();
    EXPECT_EQ(asked.size(), 3u);
    EXPECT_TRUE(user.Events().empty());

    // A file that cannot be written is the printer's failure, shown to the user.
    answer = Pdf("no-such-folder/x.pdf");
    form.BitBtn5()->click();
    EXPECT_EQ(user.Texts(), std::vector<std::string>{S("プリンタが登録されていません")});
    if (!PdfToolsRun()) {
        GTEST_SKIP() << kNoPdfTools;
    }
}

TEST_F(PrintPreview, NewspaperPreviewOfADay) {
    // Slot 1 has no runners: two pages, the selector still over all three races.
    const auto day = Day({16, 0, 18});
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* form = qobject_cast<TAllPrintForm*>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        seen = true;
        EXPECT_EQ(form->windowTitle(),
                  QStringLiteral("Tomberly＆競馬新聞 for JRA-VAN Data Lab.　出馬表印刷"));
        EXPECT_EQ(form->PrevX1()->PageCount(), 2);
        EXPECT_EQ(form->PrevX1()->CurrentPage(), 1);
        EXPECT_EQ(form->UpDown1()->Min(), 1);
        EXPECT_EQ(form->UpDown1()->Max(), 3);
        EXPECT_EQ(form->UpDown1()->Position(), 1);
        EXPECT_FALSE(form->BitBtn2()->isVisible());
        EXPECT_TRUE(form->BitBtn5()->isVisible());
        form->BitBtn1()->click();
    });
    print::ui::ShowNewspaperPreview(*day, FormSetup(), nullptr);
    EXPECT_TRUE(seen);

    // A day without a race with runners keeps the window's own caption.
    const auto empty = Day({0});
    QTimer::singleShot(0, [&] {
        auto* form = qobject_cast<TAllPrintForm*>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->windowTitle(), QStringLiteral("全買い目印刷"));
        form->close();
    });
    print::ui::ShowNewspaperPreview(*empty, FormSetup(), nullptr);
}

TEST_F(PrintPreview, NewspaperToPdfOnePagePerRaceWithRunners) {
    const auto day = Day({12, 18, 0, 7});
    const auto file = dir.path() / "day.pdf";
    EXPECT_EQ(print::ui::WriteNewspaperPdf(*day, file), 3);
    EXPECT_EQ(PdfPages(file), 3);
    // No race with runners: no file.
    EXPECT_EQ(print::ui::WriteNewspaperPdf(*Day({0, 0}), dir.path() / "none.pdf"), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "none.pdf"));
}

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

TEST(PageReplay, ALongPastRunLineIsCondensedIntoItsColumnAShortOneKeepsItsWidth) {
    print::TPageRecorder pages;
    pages.SetFontName(S("ＭＳ Ｐゴシック"));
    pages.SetFontSize(6);
    pages.SetBrushClear();
    // Line 6 of a past run, ending before the finishing position, and line 2 in a whole cell.
    for (const auto& [text, width] : {std::pair{"ジェネラーレウーノサクラバクシンオ+ 9.9", 180},
                                      std::pair{"18頭3200芝右 雨稍重", 213}}) {
        pages.TextOutInColumn(1773, 100, S(text), width);
        pages.TextOutAt(1773, 100, S(text));
    }
    const print::TRecordedPage& page = pages.Pages().front();
    const int columnEnd = 300 * (1773 + 180) / 254;
    EXPECT_LE(InkRight(page, 0), columnEnd);
    EXPECT_GT(InkRight(page, 0), columnEnd - 10) << "condensed to the column, not cut";
    EXPECT_GT(InkRight(page, 1), columnEnd) << "the line would pass its column";
    // The widths are IPAPGothic's, the face that stands in for "ＭＳ Ｐゴシック" here; where Qt's
    // font database does not see it (a Windows build under Wine) the line is measured in another.
    const bool ipaSeen = QFontDatabase::hasFamily(QStringLiteral("IPAPGothic"));
    if (ipaSeen) {
        EXPECT_EQ(InkRight(page, 2), InkRight(page, 3));
    }

    // The command line's PDF lies on the sheet where the program's PDF printer puts the page.
    if (print::ui::ProgramPrinter().outputFormat() == QPrinter::PdfFormat) {
        QPrinter cli(QPrinter::HighResolution);
        print::ui::MakePdfPrinter(cli, QStringLiteral("x.pdf"));
        EXPECT_EQ(print::ui::PrinterMetricsOf(cli),
                  print::ui::PrinterMetricsOf(print::ui::ProgramPrinter()));
        EXPECT_GT(print::ui::PrinterMetricsOf(cli).offsetX, 0);
    }
    if (!ipaSeen) {
        GTEST_SKIP() << "Qt's font database does not see IPAPGothic here: a short line's width "
                        "in its column was not checked";
    }
}

} // namespace
