// The printed newspaper of a full race day: 12 races of 18 runners with horse masters and five
// earlier runs each. Prints the median time of recording the 12 pages, of a page change and a
// zoom change in the print preview window (real widgets, offscreen, painted at once), and of the
// whole "tomberly-cli print --pdf" process. A dense made-up page (as many texts and lines as a
// full newspaper page) is timed too, since the preview's cost is in its texts.

#include "BenchSupport.h"
#include "jvdata/SjisText.h"
#include "print/Newspaper.h"
#include "print/ui/PagePrinting.h"
#include "print/ui/TAllPrintForm.h"
#include "race/DayLoad.h"
#include "support/RaceDayFixture.h"
#include "support/TestSupport.h"
#include "widgets/ui/FontSubstitutes.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>

namespace {

using keiba::bench::Clock;
using keiba::bench::HorseNumber;
using keiba::bench::Median;
using keiba::bench::Millis;

namespace fs = std::filesystem;
using namespace keiba::test;

constexpr int kRuns = 21;

// Writes the day "2004年05月01日東京"; returns the entry.
std::string WriteStore(const RaceDayStore& store) {
    const std::string entry = S("2004年05月01日東京");
    std::vector<jvdata::TRecordRA> races;
    std::vector<jvdata::TRecordSE> runners;
    for (int r = 1; r <= 12; ++r) {
        RacePlan plan;
        plan.number = r;
        plan.runners = 18;
        plan.name = S("東京優駿");
        races.push_back(MakeRace(plan));
        store.WriteCourseRecord(MakeCourseRecord("05", plan.raceType, plan.distance, plan.track),
                                "05", plan.raceType, plan.distance, plan.track);
        for (int h = 1; h <= 18; ++h) {
            const std::string number = HorseNumber(2001, r, h);
            runners.push_back(MakeRunner(races.back(), h, number, S("テストホース")));
            store.WriteHorseMaster(MakeHorseMaster(number, S("馬主")));
            std::vector<jvdata::TRecordSE> history;
            for (int p = 5; p >= 1; --p) {
                RacePlan past;
                past.date = "200404" + std::to_string(10 + p);
                past.number = (r + h + p) % 12 + 1;
                jvdata::TRecordSE run = MakeRunner(MakeRace(past), h, number);
                run.SetField(3, 11, "000000000");
                history.push_back(run);
            }
            store.WriteHistory(number, history);
        }
    }
    store.WriteRaces(entry, races);
    store.WriteRunnerSlots(entry, runners);
    return entry;
}

// As many texts and lines as a newspaper page of 18 runners.
void DrawDensePage(print::IPageCanvas& canvas) {
    canvas.SetFontName(S("ＭＳ Ｐゴシック"));
    canvas.SetBrushClear();
    for (int k = 1; k <= 18; ++k) {
        const int y = 310 + 126 * k;
        canvas.SetPenWidth(k % 2 ? 12 : 1);
        canvas.MoveToAt(100, y);
        canvas.LineToAt(1990, y);
        for (int cell = 0; cell < 5; ++cell) {
            canvas.SetFontSize(6);
            for (int line = 0; line < 6; ++line) {
                canvas.TextOutAt(893 + 220 * cell, y + 2 + 20 * line,
                                 S("1東京 05.01 G1東京優駿 18頭2400芝 晴良"));
            }
            canvas.SetFontSize(8);
            canvas.SetFontBold(true);
            canvas.TextOutAt(1077 + 220 * cell, y + 77, "12");
            canvas.SetFontBold(false);
        }
        for (int line = 0; line < 12; ++line) {
            canvas.TextOutAt(205 + 300 * (line % 3), y + 2 + 20 * (line / 3),
                             S("ディープインパクト"));
        }
    }
}

// Medians of a step's wall-clock time and of the processor time this process spent on it, in
// milliseconds: on a machine shared with other work the second tells what the step costs.
struct TFigure {
    double wall = 0;
    double cpu = 0;
};

template <typename Step>
TFigure Time(Step step, int runs = kRuns) {
    std::vector<double> walls;
    std::vector<double> cpus;
    for (int run = 0; run < runs; ++run) {
        const Clock::time_point start = Clock::now();
        const std::clock_t cpuStart = std::clock();
        step(run);
        cpus.push_back(1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
        walls.push_back(Millis(Clock::now() - start));
    }
    return {Median(walls), Median(cpus)};
}

void Report(const char* what, const TFigure& figure) {
    std::printf("%-46s %9.3f ms wall, %9.3f ms processor\n", what, figure.wall, figure.cpu);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    widgets::RegisterFontSubstitutes();

    TempDir dir;
    const RaceDayStore store(dir.path());
    const std::string entry = WriteStore(store);
    auto day = std::make_unique<race::TRaceDayData>();
    if (!race::LoadRaceDay(dir.path(), entry, *day).loaded() || day->RaceCount != 12) {
        std::fprintf(stderr, "the day did not load\n");
        return 1;
    }

    print::TPageRecorder recorder;
    const TFigure record = Time([&](int) { print::DrawNewspaper(*day, recorder); });
    Report("recording the 12 pages", record);
    std::printf("  (%zu pages, %zu operations on page 1)\n", recorder.Pages().size(),
                recorder.Pages().empty() ? std::size_t{0} : recorder.Pages()[0].size());

    QPrinter printer(QPrinter::HighResolution);
    print::ui::MakePdfPrinter(printer, QString());
    for (const bool dense : {false, true}) {
        print::ui::TAllPrintFormSetup setup;
        setup.printer = &printer;
        setup.settingsFile = dir.path() / "tomberly.ini";
        print::ui::TAllPrintForm form(setup);
        print::ui::TPrevX& prev = *form.PrevX1();
        prev.BeginDoc();
        if (dense) {
            for (int page = 0; page < 12; ++page) {
                if (page > 0) {
                    prev.NewPage();
                }
                DrawDensePage(prev.PageCanvas());
            }
        } else {
            print::DrawNewspaper(*day, prev.PageCanvas());
        }
        prev.EndDoc();
        form.SetZoomChoice(3);
        form.show();
        QApplication::processEvents();
        const TFigure page = Time([&](int run) {
            prev.ShowPage(run % 12 + 1 == prev.CurrentPage() ? (run + 1) % 12 + 1 : run % 12 + 1);
            prev.repaint();
        });
        const TFigure zoom = Time([&](int run) {
            form.SetZoomChoice(run % 2 ? 3 : 1);
            // The holder in the scroll box repaints the sheet with it.
            form.ScrollBox1()->widget()->repaint();
        });
        Report(dense ? "dense made-up pages: page change at 100 %"
                     : "newspaper of the day: page change at 100 %",
               page);
        Report(dense ? "dense made-up pages: zoom change 50/100 %"
                     : "newspaper of the day: zoom change 50/100 %",
               zoom);
    }

    const fs::path cli = fs::path(argv[0]).parent_path() / "tomberly-cli";
    const fs::path pdf = dir.path() / "day.pdf";
    const std::string command = "'" + cli.string() + "' print --root '" + dir.path().string() +
                                "' --day '" + Sjis::ToUtf8(entry) + "' --pdf '" + pdf.string() +
                                "'";
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "tomberly-cli print failed: %s\n", command.c_str());
        return 1;
    }
    const std::string quiet = command + " 2>/dev/null";
    // The processor time of a child process is not this process's: wall-clock only.
    const TFigure whole = Time([&](int) { (void)std::system(quiet.c_str()); }, 7);
    std::printf("%-46s %9.3f ms wall (%ju bytes)\n", "tomberly-cli print --pdf, whole process",
                whole.wall, static_cast<std::uintmax_t>(fs::file_size(pdf)));
    return 0;
}
