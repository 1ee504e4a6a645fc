// The horse pages in the main window: a loaded day fills them for the first horse, the horse
// tabs refill them, the page in front stays, a race without runners empties them, and the page
// "競走馬" shows its tabs and pages the first time it is opened after a load.
#include "horse/HorsePages.h"
#include "horse/ui/HorseView.h"
#include "jvdata/SjisText.h"
#include "shell/ui/ShellUiSupport.h"
#include "shell/ui/TMainForm.h"
#include "support/RaceDayFixture.h"
#include "widgets/ui/TabControl.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>

namespace {

using keiba::test::S;

QString U(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// A day of two races: race 1 with two runners, the first with a master and two earlier runs
// (the older without its race record), race 2 registered with no runners.
std::string WriteDay(const keiba::test::RaceDayStore& store) {
    keiba::test::RacePlan plan;
    plan.runners = 2;
    const jvdata::TRecordRA race1 = keiba::test::MakeRace(plan);
    plan.number = 2;
    plan.runners = 0;
    const jvdata::TRecordRA race2 = keiba::test::MakeRace(plan);
    const std::string entry = S("2004年05月01日東京");
    store.WriteRaces(entry, {race1, race2});
    store.WriteRunnerSlots(entry, {keiba::test::MakeRunner(race1, 1, "2001100001", S("アルファ")),
                                   keiba::test::MakeRunner(race1, 2, "2001100002", S("ブラボー"))});
    store.WritePayoffs(entry, {keiba::test::MakePayoff(race1)});
    store.WriteHorseMaster(keiba::test::MakeHorseMaster("2001100001", S("馬主")));

    keiba::test::RacePlan past;
    past.date = "20040425";
    past.number = 11;
    const jvdata::TRecordRA known = keiba::test::MakeRace(past);
    past.date = "20040411";
    const jvdata::TRecordRA lost = keiba::test::MakeRace(past);
    store.WriteHistory("2001100001", {keiba::test::MakeRunner(lost, 3, "2001100001"),
                                      keiba::test::MakeRunner(known, 5, "2001100001")});
    store.WriteResults({known});
    return entry;
}

struct HorseWindow {
    keiba::test::MainFormWorld world;
    std::unique_ptr<shell::ui::TMainForm> form;

    HorseWindow() {
        const keiba::test::RaceDayStore store(world.root.path());
        WriteDay(store);
        form = world.Make();
        form->MakeDataListBtnClick();
    }
    void LoadDay() {
        form->DateCombo()->setCurrentIndex(0);
        emit form->DateCombo()->activated(0);
    }
    horse::ui::THorseView& View() { return *form->HorseView(); }
    QString Text(std::string_view name) { return View().Label(name)->text(); }
};

TEST(HorseView, PagesFollowTheRaceAndHorseTabs) {
    HorseWindow w;
    auto& view = w.View();
    ASSERT_EQ(view.PageControl2()->count(), 7);
    EXPECT_EQ(view.PageControl2()->tabText(0), U("　馬情報１　"));
    EXPECT_EQ(view.PageControl2()->tabText(1), U("　馬情報２　"));
    EXPECT_EQ(view.PageControl2()->tabText(4), U("前走－３"));
    EXPECT_EQ(view.PageControl2()->currentIndex(), 0);

    w.LoadDay();
    EXPECT_EQ(view.StaticText1()->text(), U("アルファ"));
    EXPECT_EQ(w.Text("Label14").left(6), U("【馬主】馬主"));
    EXPECT_EQ(w.Text("Label16").left(22), U("2004年04月25日東京02回03日11R"));
    EXPECT_TRUE(w.Text("Label17").isEmpty()) << "the older run lost its race record";
    EXPECT_TRUE(w.Text("Label18").isEmpty());

    // Every label holds what the dump gives for that horse.
    const horse::THorseTexts texts = horse::HorseTexts(w.form->RaceDay(), 0, 0);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::string_view name = horse::HorseLabels()[i].name;
        EXPECT_EQ(w.Text(name), QString::fromStdString(Sjis::ToUtf8(texts[i]))) << name;
    }

    // The user looks at "前走－１", then picks the second horse: no master, no runs.
    view.PageControl2()->setCurrentIndex(2);
    w.form->TabControl2()->Tabs()->setCurrentIndex(1);
    EXPECT_EQ(view.StaticText1()->text(), U("ブラボー"));
    EXPECT_TRUE(w.Text("Label16").isEmpty());
    EXPECT_EQ(w.Text("Label15"),
              U("【 本賞金累計 】       0千円  【平地収得賞金累計】       0千円"));
    EXPECT_EQ(view.PageControl2()->currentIndex(), 2) << "the page in front stays";

    // Race 2 has no runners: no horse tabs, every label empty; race 1 again: its first horse.
    w.form->TabControl1()->Tabs()->setCurrentIndex(1);
    EXPECT_EQ(w.form->TabControl2()->Tabs()->count(), 0);
    for (const horse::THorseLabel& label : horse::HorseLabels()) {
        EXPECT_TRUE(w.Text(label.name).isEmpty()) << label.name;
    }
    w.form->TabControl1()->Tabs()->setCurrentIndex(0);
    EXPECT_EQ(view.StaticText1()->text(), U("アルファ"));
    EXPECT_EQ(view.PageControl2()->currentIndex(), 2);
}

TEST(HorseView, TheHorsePageShowsFilledTheFirstTimeItIsOpened) {
    HorseWindow w;
    w.form->resize(1000, 700);
    w.form->show();
    QApplication::processEvents();
    // The day is chosen while the race card is in front.
    w.form->PageControl1()->setCurrentIndex(0);
    w.LoadDay();
    QApplication::processEvents();

    w.form->PageControl1()->setCurrentIndex(1);
    QApplication::processEvents();
    const QTabBar* strip = w.form->TabControl2()->Tabs();
    EXPECT_TRUE(strip->isVisible());
    EXPECT_EQ(strip->count(), 2);
    EXPECT_GT(strip->height(), 10);
    EXPECT_GT(strip->tabRect(1).width(), 10);
    auto& view = w.View();
    EXPECT_TRUE(view.isVisible());
    EXPECT_GT(view.height(), 100);
    EXPECT_TRUE(view.StaticText1()->isVisible());
    EXPECT_EQ(view.StaticText1()->text(), U("アルファ"));
    EXPECT_TRUE(view.Label("Label6")->isVisible());
}

TEST(HorseView, PedigreeLinesFitTheFirstProfilePageAtTheDefaultWindowSize) {
    HorseWindow w;
    // Every pedigree name as long as its field: the lines at their widest, 181 bytes.
    jvdata::TRecordUM master = keiba::test::MakeHorseMaster("2001100001", S("馬主"));
    for (int entry = 0; entry < jvdata::UM::kPedigreeEntries; ++entry) {
        master.SetField(jvdata::UM::PedigreeName(entry), S("アイウエオカキクケコサシスセソタチツ"));
    }
    keiba::test::RaceDayStore(w.world.root.path()).WriteHorseMaster(master);
    w.form->show(); // 900 x 650
    w.LoadDay();
    w.form->PageControl1()->setCurrentIndex(1);
    QApplication::processEvents();
    auto& view = w.View();
    auto* page = static_cast<QScrollArea*>(view.PageControl2()->widget(0));
    for (const char* name : {"Label54", "Label7", "Label53", "Label52"}) {
        const QLabel* label = view.Label(name);
        const int end = QFontMetrics(label->font()).horizontalAdvance(label->text().trimmed());
        EXPECT_LE(label->x() + end, page->viewport()->width()) << name;
        EXPECT_EQ(label->font(), view.Label("Label54")->font()) << "one stretch for the columns";
    }
    EXPECT_FALSE(page->horizontalScrollBar()->isVisible());
    EXPECT_LT(view.PedigreeStretch(), 100);
    w.form->hide();
}

} // namespace
