// The horse pages in the real main window (offscreen): a 12-race day of 18 runners, each with
// a full horse master and five earlier runs with their race records. Prints the median time of
// a horse-tab change (name bar, both profile pages and the five past-run pages refilled and
// painted), of a race-tab change (race card, results and horse pages) and of building the
// texts of one horse in the core.

#include "BenchSupport.h"
#include "horse/HorsePages.h"
#include "horse/ui/HorseView.h"
#include "shell/ui/ShellUiSupport.h"
#include "shell/ui/TMainForm.h"
#include "support/RaceDayFixture.h"
#include "support/TestSupport.h"
#include "widgets/ui/FontSubstitutes.h"
#include "widgets/ui/TabControl.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QTabBar>

namespace {

using keiba::bench::Clock;
using keiba::bench::HorseNumber;
using keiba::bench::Median;
using keiba::bench::Millis;

using namespace keiba::test;

constexpr int kRuns = 101;

jvdata::TRecordUM Master(const std::string& number) {
    jvdata::TRecordUM um = MakeHorseMaster(number, S("サンプル馬主"));
    um.SetField(22, 46, "0        0000000020000405");
    for (int j = 0; j < 14; ++j) {
        um.SetField(215 + 46 * j, 250 + 46 * j, S("サンデーサイレンス"));
    }
    um.SetField(855, 862, S("藤沢和"));
    um.SetField(891, 962, S("ノーザンファーム"));
    um.SetField(963, 982, S("安平町"));
    um.SetField(1053, 1106, "000123456000000000000001000000000000000050000000000000");
    for (int g = 0; g < 27; ++g) {
        um.SetField(1107 + 18 * g, 1124 + 18 * g, "003001000002000010");
    }
    return um;
}

jvdata::TRecordSE Run(const jvdata::TRecordRA& race, int horse, const std::string& number) {
    jvdata::TRecordSE se = MakeRunner(race, horse, number);
    se.SetField(3, 11, "720040101");
    se.SetField(79, 79, "1");
    se.SetField(91, 98, S("藤沢和"));
    se.SetField(289, 295, "570   1");
    se.SetField(307, 314, S("武豊"));
    se.SetField(325, 345, "480+00400101011345112");
    se.SetField(352, 393, "030002010035030001500000000000000000470351");
    se.SetField(404, 439, S("ライバルホース"));
    se.SetField(532, 535, "+002");
    return se;
}

// Writes "2004年05月01日東京" with everything its runners need; returns the entry.
std::string WriteStore(const RaceDayStore& store) {
    const std::string entry = S("2004年05月01日東京");
    const char* pastDates[] = {"20040425", "20040418", "20040411", "20040404", "20040328"};
    std::vector<jvdata::TRecordRA> races;
    std::vector<jvdata::TRecordSE> runners;
    std::vector<jvdata::TRecordHR> payoffs;
    for (int r = 1; r <= 12; ++r) {
        RacePlan plan;
        plan.number = r;
        plan.runners = 18;
        plan.name = S("東京優駿");
        races.push_back(MakeRace(plan));
        payoffs.push_back(MakePayoff(races.back(), r % 18 + 1, 100 * r, 1));
        for (int h = 1; h <= 18; ++h) {
            const std::string number = HorseNumber(2000, r, h);
            runners.push_back(MakeRunner(races.back(), h, number, S("テストホース")));
            store.WriteHorseMaster(Master(number));
            std::vector<jvdata::TRecordSE> history;
            for (int p = 4; p >= 0; --p) {
                RacePlan past;
                past.date = pastDates[p];
                past.number = (r + h + p) % 12 + 1;
                history.push_back(Run(MakeRace(past), h, number));
            }
            store.WriteHistory(number, history);
        }
    }
    store.WriteRaces(entry, races);
    store.WriteRunnerSlots(entry, runners);
    store.WritePayoffs(entry, payoffs);
    for (const char* date : pastDates) {
        std::vector<jvdata::TRecordRA> results;
        for (int n = 1; n <= 12; ++n) {
            RacePlan plan;
            plan.date = date;
            plan.number = n;
            plan.runners = 16;
            plan.name = S("皐月賞");
            jvdata::TRecordRA ra = MakeRace(plan);
            ra.SetField(605, 610, S("ｻﾂｷ"));
            ra.SetField(615, 622, "C 13A044");
            ra.SetField(635, 637, "005");
            ra.SetField(698, 701, "2000");
            ra.SetField(882, 890, "181816121");
            results.push_back(ra);
        }
        store.WriteResults(results);
    }
    return entry;
}

} // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    widgets::RegisterFontSubstitutes();

    MainFormWorld world;
    const std::string entry = WriteStore(RaceDayStore(world.root.path()));
    auto form = world.Make();
    form->resize(1000, 720);
    form->show();
    form->MakeDataListBtnClick();
    form->DateCombo()->setCurrentIndex(0);
    emit form->DateCombo()->activated(0);
    form->PageControl1()->setCurrentIndex(1);
    QApplication::processEvents();
    const race::TRaceDayData& day = form->RaceDay();
    if (day.RaceCount != 12 || day.PastRaces[11][17][4].IsBlank() ||
        form->HorseView()->Label("Label20")->text().isEmpty()) {
        std::fprintf(stderr, "the horse pages were not filled\n");
        return 1;
    }

    // A horse-tab change: the user picks the next horse; the pages are refilled and painted.
    QTabBar* horseTabs = form->TabControl2()->Tabs();
    std::vector<double> horseChanges;
    for (int run = 0; run < kRuns + 5; ++run) {
        const Clock::time_point start = Clock::now();
        horseTabs->setCurrentIndex((run + 1) % 18);
        QApplication::processEvents();
        const Clock::time_point end = Clock::now();
        if (run >= 5) {
            horseChanges.push_back(Millis(end - start));
        }
    }

    // A race-tab change: header, card, results and horse pages of the next race.
    QTabBar* raceTabs = form->TabControl1()->Tabs();
    std::vector<double> raceChanges;
    for (int run = 0; run < kRuns + 5; ++run) {
        const Clock::time_point start = Clock::now();
        raceTabs->setCurrentIndex((run + 1) % 12);
        QApplication::processEvents();
        const Clock::time_point end = Clock::now();
        if (run >= 5) {
            raceChanges.push_back(Millis(end - start));
        }
    }

    // The core texts of one horse.
    horse::THorseTexts texts;
    std::vector<double> cores;
    std::size_t sink = 0;
    for (int run = 0; run < kRuns * 18; ++run) {
        const Clock::time_point start = Clock::now();
        horse::FillHorseTexts(day, run % 12, run % 18, texts);
        const Clock::time_point end = Clock::now();
        sink += texts[37].size();
        cores.push_back(Millis(end - start));
    }

    std::printf("horse-tab change in the window (refill and paint), median of %zu: %.3f ms\n",
                horseChanges.size(), Median(horseChanges));
    std::printf("race-tab change in the window (card, results, horse pages), median of %zu: "
                "%.3f ms\n",
                raceChanges.size(), Median(raceChanges));
    std::printf("core texts of one horse (92 labels), median of %zu: %.4f ms\n", cores.size(),
                Median(cores));
    std::printf("(%zu bytes)\n", sink);
    return 0;
}
