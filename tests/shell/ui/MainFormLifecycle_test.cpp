// The main window's creation, first showing and closing: data root, store folders, date list,
// kept bounds, JV-Link initialisation and version check.
#include "ShellUiSupport.h"
#include "files/ProgramFolder.h"
#include "race/ui/RaceCardGrid.h"
#include "shell/ProgramVersion.h"
#include "shell/ui/TMainForm.h"
#include "support/RaceDayFixture.h"
#include "widgets/ui/TabControl.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTabBar>

namespace {

namespace fs = std::filesystem;
using namespace keiba::test;
using shell::ui::TMainForm;
using Kind = TInteractionEvent::Kind;

std::vector<std::string> ComboEntries(const QComboBox& combo) {
    std::vector<std::string> entries;
    for (int i = 0; i < combo.count(); ++i) {
        entries.push_back(combo.itemText(i).toStdString());
    }
    return entries;
}

// ---- Creation --------------------------------------------------------------------------------

TEST(MainFormCreate, FreshRootGetsTheStoreFoldersAndAnEmptyDateList) {
    MainFormWorld world;
    auto form = world.Make();
    for (const char* name : {"DATA", "SEI", "SEIR", "UM2", "REC"}) {
        EXPECT_TRUE(fs::is_directory(world.root / name)) << name;
    }
    EXPECT_EQ(form->DataRoot(), world.root.path());
    EXPECT_EQ(form->HelpFile(), world.root / "Quillmead.chm");
    EXPECT_EQ(form->DateCombo()->count(), 0);
    EXPECT_EQ(form->DateCombo()->currentIndex(), -1);
    EXPECT_TRUE(world.user.Events().empty());
    // Nothing is written before the window closes.
    EXPECT_FALSE(fs::exists(world.settingsFile));
}

TEST(MainFormCreate, DateListShowsTheStoredDaysNewestFirstWithNothingChosen) {
    MainFormWorld world;
    fs::create_directory(world.root / "DATA");
    for (const char* day : {"2004年05月01日東京", "2004年05月02日東京", "2004年04月25日京都"}) {
        WriteFileBytes(world.root / "DATA" / (std::string(day) + ".jvRA"), "");
        WriteFileBytes(world.root / "DATA" / (std::string(day) + ".jvSEr"), "");
    }
    auto form = world.Make();
    EXPECT_EQ(ComboEntries(*form->DateCombo()),
              (std::vector<std::string>{"2004年05月02日東京", "2004年05月01日東京",
                                        "2004年04月25日京都"}));
    EXPECT_EQ(form->DateCombo()->currentIndex(), -1);

    // Pressing the hidden button again picks up what has been stored since.
    WriteFileBytes(world.root / "DATA" / u8"2004年05月08日東京.jvRA", "");
    form->MakeDataListBtn()->click();
    ASSERT_EQ(form->DateCombo()->count(), 4);
    EXPECT_EQ(form->DateCombo()->itemText(0), QStringLiteral("2004年05月08日東京"));
    EXPECT_EQ(form->DateCombo()->currentIndex(), -1);
    EXPECT_FALSE(form->Panel1()->isVisibleTo(form.get()));
}

// A day at 東京 of races 1 to races, one runner each.
void WriteDay(const fs::path& root, int races) {
    std::vector<jvdata::TRecordRA> records;
    std::vector<jvdata::TRecordSE> runners;
    for (RacePlan plan; plan.number <= races; ++plan.number) {
        plan.runners = 1;
        records.push_back(MakeRace(plan));
        runners.push_back(MakeRunner(records.back(), 1, "200110000" + std::to_string(plan.number)));
    }
    RaceDayStore(root).WriteRaces(S("2004年05月01日東京"), records);
    RaceDayStore(root).WriteRunnerSlots(S("2004年05月01日東京"), runners);
}

TEST(MainFormDateList, AfterAnAcquisitionTheListIsBackWithTheShownDayChosen) {
    MainFormWorld world;
    WriteDay(world.root.path(), 1);
    shell::ui::TMainFormSetup setup = world.Setup();
    // The acquisition stores a newer day; the window presses "リスト作成" as it closes.
    setup.acquireData = [&world](TMainForm& main) {
        WriteFileBytes(world.root / "DATA" / u8"2004年05月08日東京.jvRA", "");
        main.MakeDataListBtn()->click();
    };
    TMainForm form(std::move(setup));
    QComboBox& list = *form.DateCombo();
    list.setCurrentIndex(0);
    form.DateComboChange();
    form.J1Click();
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.currentText(), QStringLiteral("2004年05月01日東京"));
    EXPECT_TRUE(form.Panel1()->isVisibleTo(&form));

    // The shown day's files gone from the store: nothing chosen, the box names the shown day.
    fs::remove(world.root / "DATA" / u8"2004年05月01日東京.jvRA");
    form.MakeDataListBtn()->click();
    EXPECT_EQ(list.currentIndex(), -1);
    EXPECT_EQ(list.placeholderText(), QStringLiteral("2004年05月01日東京"));
}

TEST(MainFormKeyboard, ArrowsSwitchRacesAndCtrlTabCyclesThePagesRoundAndRound) {
    MainFormWorld world;
    WriteDay(world.root.path(), 3);
    auto form = world.Make();
    form->show();
    form->DateCombo()->setCurrentIndex(0);
    form->DateComboChange();
    const auto press = [](QWidget* control, int key, Qt::KeyboardModifiers modifiers = {}) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(control, &event);
    };
    // Clicked, the race tabs take the focus; the arrows choose the race and show the mark.
    QTabBar* raceTabs = form->TabControl1()->Tabs();
    EXPECT_EQ(raceTabs->focusPolicy(), Qt::StrongFocus);
    press(raceTabs, Qt::Key_Right);
    EXPECT_EQ(form->RaceBrowser().ChosenSlot(), 1);
    EXPECT_TRUE(form->testAttribute(Qt::WA_KeyboardFocusChange));

    // Ctrl+Tab from the race card through all nine pages and round; Ctrl+Shift+Tab back.
    QTabWidget* pages = form->PageControl1();
    for (int step = 1; step <= 10; ++step) {
        press(form->StringGrid1(), Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_EQ(pages->currentIndex(), step % 9) << step;
    }
    press(pages, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    press(pages, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(pages->currentIndex(), 8);
    form->hide();
}

TEST(MainFormCreate, StoreFolderThatCannotBeMadeIsReportedAndTheWindowOpens) {
    MainFormWorld world;
    // A file where the horse history folder belongs (the same failure as a read-only
    // program folder, also for a test run with every permission).
    WriteFileBytes(world.root / "SEI", "");
    auto form = world.Make();
    ASSERT_EQ(world.user.Events().size(), 1u);
    const TInteractionEvent& event = world.user.Events()[0];
    EXPECT_EQ(event.kind, Kind::Error);
    EXPECT_NE(event.text.find(files::TextFromPath(world.root / "SEI")), std::string::npos)
        << Show(event.text);
    EXPECT_TRUE(fs::is_directory(world.root / "DATA"));

    // The window is there for browsing what exists.
    form->show();
    RunPendingEvents();
    EXPECT_TRUE(form->isVisible());
    form->close();
}

TEST(MainFormCreate, MakesTheDataRootTheCurrentDirectoryWhenAsked) {
    const fs::path before = fs::current_path();
    MainFormWorld world;
    auto setup = world.Setup();
    setup.makeDataRootCurrent = true;
    {
        TMainForm form(std::move(setup));
        EXPECT_EQ(fs::current_path(), fs::canonical(world.root.path()));
        EXPECT_EQ(form.DataRoot(), fs::current_path());
        EXPECT_FALSE(form.DataRoot().filename().empty()) << "no trailing separator";
    }
    fs::current_path(before);
}

// ---- Bounds ----------------------------------------------------------------------------------

TEST(MainFormBounds, DefaultsWithoutSettingsThenRestoredAfterAMoveAndAClose) {
    MainFormWorld world;
    {
        auto form = world.Make();
        EXPECT_EQ(form->geometry().topLeft(), QPoint(10, 10));
        EXPECT_EQ(form->size(), QSize(900, 650));
        form->show();
        RunPendingEvents();
        form->move(120, 80);
        form->resize(1000, 700);
        RunPendingEvents();
        EXPECT_TRUE(form->close());
        EXPECT_EQ(world.help.closeAllCount, 1);
    }
    EXPECT_EQ(ReadFileBytes(world.settingsFile),
              "[locate]\r\ntop=80\r\nleft=120\r\nwidth=1000\r\nheight=700\r\n");
    auto again = world.Make();
    EXPECT_EQ(again->pos(), QPoint(120, 80));
    EXPECT_EQ(again->size(), QSize(1000, 700));
}

TEST(MainFormBounds, GarbageInTheSettingsGivesTheDefaults) {
    MainFormWorld world;
    WriteFileBytes(world.settingsFile,
                   "[locate]\r\ntop=north\r\nleft=\r\nwidth=-5\r\nheight=1e3\r\n");
    auto form = world.Make();
    EXPECT_EQ(form->pos(), QPoint(10, 10));
    EXPECT_EQ(form->size(), QSize(900, 650));
    EXPECT_TRUE(world.user.Events().empty());
}

TEST(MainFormBounds, ClosingIsNeverRefusedWhenTheBoundsCannotBeWritten) {
    MainFormWorld world;
    auto form = world.Make();
    fs::create_directory(world.settingsFile); // a folder takes the settings file's name
    form->show();
    RunPendingEvents();
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->isVisible());
    ASSERT_EQ(world.user.Events().size(), 1u);
    EXPECT_EQ(world.user.Events()[0].kind, Kind::Error);
}

// ---- First showing ---------------------------------------------------------------------------

class MainFormShow : public ::testing::Test {
protected:
    // Shows a window on a JV-Link with these answers and lets its first showing run.
    std::unique_ptr<TMainForm> ShowWith(std::int32_t initResult, std::string version,
                                        bool throwOnInit = false) {
        auto link = std::make_unique<FakeJVLink>(world.jvlinkLog, initResult, std::move(version));
        link->throwOnInit = throwOnInit;
        auto form = world.Make(std::move(link));
        form->show();
        RunPendingEvents();
        return form;
    }

    MainFormWorld world;
};

TEST_F(MainFormShow, CurrentVersionsGiveNoNotice) {
    for (const char* version : {"0490", "0500"}) {
        world.user.ClearEvents();
        auto form = ShowWith(0, version);
        EXPECT_TRUE(world.user.Events().empty()) << version;
        EXPECT_EQ(form->VersionText(), "Ver.1.30");
    }
    EXPECT_EQ(world.jvlinkLog->initSids,
              (std::vector<std::string>{shell::SoftwareIdentifier("Ver.1.30"),
                                        shell::SoftwareIdentifier("Ver.1.30")}));
    EXPECT_EQ(world.jvlinkLog->versionReads, 2);
}

TEST_F(MainFormShow, OlderVersionBeepsAndShowsTheNotice) {
    auto form = ShowWith(0, "0480");
    ASSERT_EQ(world.user.Events().size(), 2u);
    EXPECT_EQ(world.user.Events()[0].kind, Kind::Beep);
    EXPECT_EQ(world.user.Events()[1].kind, Kind::Information);
    EXPECT_EQ(world.user.Events()[1].text,
              S("ご利用中のJV-Linkのバージョンは[4.8.0]です。\r\n"
                "本ソフトのご利用にはバージョン[4.9.0]以上が必要です。\r\n"
                "JRA-VANのホームページより最新のJV-Linkを入手し、インストールしてください。"));
    // Nothing is disabled by it.
    EXPECT_TRUE(form->findChild<QAction*>(QStringLiteral("HelpContentsItem"))->isEnabled());
    EXPECT_TRUE(form->DateCombo()->isEnabled());
}

TEST_F(MainFormShow, FailedInitialisationShowsItsMessageAndSkipsTheVersionCheck) {
    auto form = ShowWith(-101, "0100");
    ASSERT_EQ(world.user.Events().size(), 1u);
    EXPECT_EQ(world.user.Events()[0].kind, Kind::Message);
    EXPECT_EQ(world.user.Events()[0].text, S("JVInitエラー：sid が設定されていません。(-101)"));
    EXPECT_EQ(world.jvlinkLog->versionReads, 0);
    EXPECT_EQ(world.user.BeepCount(), 0);
    // Browsing goes on.
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->DateCombo()->isEnabled());
}

TEST_F(MainFormShow, CodeWithoutAMessageShowsTheCodeAlone) {
    auto form = ShowWith(-999, "0490");
    ASSERT_EQ(world.user.Texts().size(), 1u);
    EXPECT_EQ(world.user.Texts()[0], S("JVInitエラー：(-999)"));
}

TEST_F(MainFormShow, RefusedCallIsReportedAsAJVInitError) {
    auto form = ShowWith(0, "0480", /*throwOnInit=*/true);
    ASSERT_EQ(world.user.Events().size(), 1u);
    EXPECT_EQ(world.user.Events()[0].kind, Kind::Error);
    EXPECT_EQ(world.user.Events()[0].text, S("JVInitエラー：JVInit: the call was refused"));
    EXPECT_EQ(world.jvlinkLog->versionReads, 0);
}

TEST_F(MainFormShow, UnreadableVersionIsReportedWithoutANotice) {
    auto link = std::make_unique<FakeJVLink>(world.jvlinkLog, 0, "0480");
    link->throwOnVersion = true;
    auto form = world.Make(std::move(link));
    form->show();
    RunPendingEvents();
    ASSERT_EQ(world.user.Events().size(), 1u);
    EXPECT_EQ(world.user.Events()[0].kind, Kind::Error);
    EXPECT_EQ(world.user.BeepCount(), 0);
}

TEST_F(MainFormShow, InitialisedOncePerRun) {
    auto form = ShowWith(0, "0480");
    form->hide();
    form->show();
    form->showMinimized();
    form->showNormal();
    RunPendingEvents();
    EXPECT_EQ(world.jvlinkLog->initSids.size(), 1u);
    EXPECT_EQ(world.user.BeepCount(), 1);
}

} // namespace
