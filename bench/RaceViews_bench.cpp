// Opening races in the main window with everything below the card filled: the race card and
// results, both time tables with averages and marks, and the four charts. The store is the
// stand-in service's built-in season, acquired as a user would; the day shown is its first
// day of twelve races. Prints the median of:
//   - the core work of one race: both tables and the data of the four charts;
//   - a race-tab change in the window (offscreen), the shown chart page painted;
//   - a selector click that redraws one chart, painted.
// With KEIBA_SHOT_DIR set, the window is saved there page by page as PNG files.

#include "BenchSupport.h"
#include "acquisition/HeadlessAcquisition.h"
#include "analysis/TimeTables.h"
#include "analysis/TrendCharts.h"
#include "analysis/ui/AnalysisPages.h"
#include "jvlink/standin/StandInJVLink.h"
#include "race/DateList.h"
#include "race/DayLoad.h"
#include "shell/ui/TMainForm.h"
#include "store/StoreTestSupport.h"
#include "support/ScriptedInteraction.h"
#include "support/TestSupport.h"
#include "widgets/ui/FontSubstitutes.h"
#include "widgets/ui/TabControl.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QRadioButton>
#include <QTabBar>

namespace {

using keiba::bench::Clock;
using keiba::bench::Median;
using keiba::bench::Millis;

namespace fs = std::filesystem;

// The built-in season (eight weeks to 2026-01-07) acquired into the store under root.
bool AcquireSeason(const fs::path& root, const fs::path& serviceDir) {
    standin::TSeasonOptions options;
    options.today = "20260107";
    options.weeks = 8;
    auto catalogue = std::make_shared<standin::TCatalogue>(standin::GenerateSeason(options));
    standin::TStandInSettings settings;
    settings.downloadMsPerFile = 0;
    if (!standin::SaveSettings(serviceDir / "jvlink-standin.ini", settings)) {
        return false;
    }
    standin::TStandInJVLink link(serviceDir / "jvlink-standin.ini",
                                 [catalogue](const standin::TStandInSettings&) {
                                     return standin::TCatalogueRead{*catalogue, {}};
                                 });
    if (link.JVInit("UNKNOWN") != 0) {
        return false;
    }
    acquisition::TAcquisitionRequest request;
    request.fromTime = "20000101000000";
    request.root = root;
    request.pollInterval = std::chrono::milliseconds(1);
    std::atomic<bool> cancel{false};
    keiba::storetest::TRecordingSink sink;
    return acquisition::RunAcquisition(link, request, keiba::storetest::FixedClock(2026, 1, 7),
                                       cancel, sink)
        .Succeeded();
}

} // namespace

int main(int argc, char** argv) {
    if (const char* platform = std::getenv("QT_QPA_PLATFORM"); platform == nullptr || !*platform) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    widgets::RegisterFontSubstitutes();

    keiba::test::TempDir root;
    keiba::test::TempDir service;
    if (!AcquireSeason(root.path(), service.path())) {
        std::fprintf(stderr, "the built-in season could not be acquired\n");
        return 1;
    }

    // The day of twelve races whose runners have the most earlier runs with a race record.
    const race::TDateListResult list = race::MakeDateList(root.path());
    auto day = std::make_unique<race::TRaceDayData>();
    int entryIndex = -1;
    int mostRuns = -1;
    for (std::size_t i = 0; i < list.entries.size(); ++i) {
        if (!race::LoadRaceDay(root.path(), list.entries[i], *day).loaded() ||
            day->RaceCount != 12) {
            continue;
        }
        int runs = 0;
        for (const auto& runners : day->PastRaces) {
            for (const auto& entries : runners) {
                for (const auto& race : entries) {
                    runs += race.IsBlank() ? 0 : 1;
                }
            }
        }
        if (runs > mostRuns) {
            mostRuns = runs;
            entryIndex = static_cast<int>(i);
        }
    }
    if (entryIndex < 0) {
        std::fprintf(stderr, "no day of twelve races in the season\n");
        return 1;
    }
    race::LoadRaceDay(root.path(), list.entries[static_cast<std::size_t>(entryIndex)], *day);

    // The core: both tables and the four charts of each race in turn.
    analysis::TTimeTables tables;
    std::array<analysis::TChart, 4> charts = {analysis::MakeChart(analysis::TChartId::Chart1),
                                              analysis::MakeChart(analysis::TChartId::Chart2),
                                              analysis::MakeChart(analysis::TChartId::Chart3),
                                              analysis::MakeChart(analysis::TChartId::Chart4)};
    std::vector<double> core;
    std::size_t sink = 0;
    for (int run = 0; run < 200 * 12; ++run) {
        const int slot = run % 12;
        const int runners = race::RunnerCount(day->Races[static_cast<std::size_t>(slot)]);
        const Clock::time_point start = Clock::now();
        analysis::BuildTimeTables(tables, *day, slot);
        for (analysis::TChart& chart : charts) {
            analysis::ShowChart(chart, *day, slot, runners, 0);
        }
        core.push_back(Millis(Clock::now() - start));
        sink += tables.times.size() + charts[3].added.size();
    }

    // The window.
    keiba::test::ScriptedInteraction user;
    shell::ui::TMainFormSetup setup;
    setup.dataRoot = root.path();
    setup.makeDataRootCurrent = false;
    setup.settingsFile = root / "tomberly.ini";
    setup.jvlink = std::make_unique<standin::TStandInJVLink>(
        service / "jvlink-standin.ini",
        [](const standin::TStandInSettings&) { return standin::TCatalogueRead{}; });
    setup.interaction = &user;
    shell::ui::TMainForm form(std::move(setup));
    form.resize(1024, 740);
    form.show();
    QApplication::processEvents();
    form.MakeDataListBtnClick();
    form.DateCombo()->setCurrentIndex(entryIndex);
    emit form.DateCombo()->activated(entryIndex);
    QApplication::processEvents();
    QTabBar* races = form.TabControl1()->Tabs();
    QTabWidget* pages = form.PageControl1();
    pages->setCurrentIndex(2); // 馬番別ﾀｲﾑ推移ｸﾞﾗﾌ
    QApplication::processEvents();

    std::vector<double> switches;
    for (int run = 0; run < 12 * 8 + 1; ++run) {
        const Clock::time_point start = Clock::now();
        races->setCurrentIndex((run + 1) % races->count());
        pages->currentWidget()->repaint();
        const double ms = Millis(Clock::now() - start);
        if (run > 0) {
            switches.push_back(ms);
        }
    }

    std::vector<double> clicks;
    auto* chartPage = form.AnalysisPages()->ChartPage(analysis::TChartId::Chart1);
    for (int run = 0; run < 101; ++run) {
        QRadioButton* item = chartPage->Item((run + 1) % chartPage->ItemCount());
        const Clock::time_point start = Clock::now();
        item->click();
        pages->currentWidget()->repaint();
        const double ms = Millis(Clock::now() - start);
        if (run > 0) {
            clicks.push_back(ms);
        }
    }

    std::printf("day                           %s (12 races, %d earlier runs)\n",
                Sjis::ToUtf8(list.entries[static_cast<std::size_t>(entryIndex)]).c_str(), mostRuns);
    std::printf("core tables and charts/race   %.4f ms (median of %zu)\n", Median(core),
                core.size());
    std::printf("race-tab change, all filled   %.2f ms (median of %zu)\n", Median(switches),
                switches.size());
    std::printf("selector click, one chart     %.2f ms (median of %zu)\n", Median(clicks),
                clicks.size());

    if (const char* dir = std::getenv("KEIBA_SHOT_DIR"); dir != nullptr && *dir) {
        races->setCurrentIndex(0);
        for (int i = 0; i < pages->count(); ++i) {
            pages->setCurrentIndex(i);
            QApplication::processEvents();
            form.grab().save(QStringLiteral("%1/window-%2.png").arg(dir).arg(i + 1));
        }
    }
    return sink == 0 ? 1 : 0;
}
