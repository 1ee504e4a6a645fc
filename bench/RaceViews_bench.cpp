// Opening races in the main window with everything below the card filled: the race card and
// results, both time tables with averages and marks, and the four charts. The store is the
// stand-in service's built-in season, acquired as a user would; the day shown is its first
// day of twelve races. Prints the median of:
//   - the core work of one race: both tables and the data of the four charts;
//   - a race-tab change in the window (offscreen), the shown chart page painted;
//   - a selector click that redraws one chart, painted.
// With KEIBA_SHOT_DIR set, the window is saved there page by page as PNG files.
//
// With "--years N" the store is instead that of an N-year setup acquisition (kept in the build
// folder between runs), and it prints the median of making the date list in the window and
// of showing the coming card day and the newest, a middle and the oldest day known only from
// its results (the day load and every page filled); KEIBA_SHOT_DIR then gets the oldest
// day's race card.

#include "BenchSupport.h"
#include "SeasonBenchSupport.h"
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

// The window on the store of an N-year setup: the date list and days shown from results.
int TimeSetupYears(int years) {
    const fs::path root = keiba::bench::CachedSetupYears(years, 2026, 1, 7);
    if (root.empty()) {
        std::fprintf(stderr, "the built-in season could not be acquired\n");
        return 1;
    }
    keiba::test::TempDir service;
    keiba::test::ScriptedInteraction user;
    shell::ui::TMainFormSetup setup;
    setup.dataRoot = root;
    setup.makeDataRootCurrent = false;
    setup.settingsFile = service / "tomberly.ini";
    setup.jvlink = std::make_unique<standin::TStandInJVLink>(
        service / "jvlink-standin.ini",
        [](const standin::TStandInSettings&) { return standin::TCatalogueRead{}; });
    setup.interaction = &user;
    shell::ui::TMainForm form(std::move(setup));
    form.resize(1024, 740);
    form.show();
    QApplication::processEvents();
    std::vector<double> lists;
    for (int run = 0; run < 11; ++run) {
        const Clock::time_point start = Clock::now();
        form.MakeDataListBtnClick();
        QApplication::processEvents();
        lists.push_back(Millis(Clock::now() - start));
    }
    const race::TDateListResult list = race::MakeDateList(root);
    std::vector<int> resultsDays;
    int cardDay = -1;
    for (std::size_t i = 0; i < list.entries.size(); ++i) {
        if (race::IsResultsDayEntry(list.entries[i])) {
            resultsDays.push_back(static_cast<int>(i));
        } else if (cardDay < 0) {
            cardDay = static_cast<int>(i);
        }
    }
    std::printf("store                         %d setup years, %zu days (%zu from results)\n",
                years, list.entries.size(), resultsDays.size());
    std::printf("date list in the window       %.2f ms (median of %zu)\n", Median(lists),
                lists.size());
    if (resultsDays.empty()) {
        return 1;
    }
    const auto show = [&form](int index) {
        form.DateCombo()->setCurrentIndex(index);
        emit form.DateCombo()->activated(index);
        QApplication::processEvents();
    };
    // The card day first: what the window takes beside the day load.
    for (const int index : {cardDay < 0 ? resultsDays.front() : cardDay, resultsDays.front(),
                            resultsDays[resultsDays.size() / 2], resultsDays.back()}) {
        std::vector<double> loads;
        for (int run = 0; run < 7; ++run) {
            show(index == resultsDays.front() ? resultsDays.back() : resultsDays.front());
            const Clock::time_point start = Clock::now();
            show(index);
            loads.push_back(Millis(Clock::now() - start));
        }
        std::printf("%s  %.2f ms (median of %zu)\n",
                    Sjis::ToUtf8(list.entries[static_cast<std::size_t>(index)]).c_str(),
                    Median(loads), loads.size());
    }
    if (const char* dir = std::getenv("KEIBA_SHOT_DIR"); dir != nullptr && *dir) {
        show(resultsDays.back());
        form.PageControl1()->setCurrentIndex(0);
        QApplication::processEvents();
        form.grab().save(QStringLiteral("%1/results-day.png").arg(dir));
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (const char* platform = std::getenv("QT_QPA_PLATFORM"); platform == nullptr || !*platform) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    widgets::RegisterFontSubstitutes();
    if (argc > 2 && std::string(argv[1]) == "--years") {
        return TimeSetupYears(std::atoi(argv[2]));
    }

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
