// The acquisition as the program runs it: the main window's "JVデータ取得" button and its
// menu item open the acquisition window modally on the main window's JV-Link, data root and
// settings file, and the date list shows what the run stored once the window has closed.
#include "acquisition/GetDataTestSupport.h"
#include "acquisition/ui/TGetDataForm.h"
#include "files/ProgramFolder.h"
#include "jvlink/standin/StandInJVLink.h"
#include "shell/ui/ShellUiSupport.h"
#include "shell/ui/Startup.h"
#include "store/StoreTestSeason.h"

#include <filesystem>
#include <memory>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QThread>
#include <QToolButton>

namespace {

namespace fs = std::filesystem;
using namespace keiba::acqtest;
using keiba::storetest::MakeRA;
using keiba::storetest::TRaceId;
using keiba::test::TempDir;

// Processes events until done() holds; false when it did not within ten seconds.
template <class Done>
bool PumpUntil(Done done) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > 10000) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

TEST(MainFormAcquisition, TheCommandRunsTheWindowModallyAndTheDateListShowsTheNewDay) {
    TempDir root;
    TempDir config;
    const fs::path serviceFile = config / "jvlink-standin.ini";
    const fs::path settingsFile = root / "tomberly.ini";
    standin::TStandInSettings service;
    service.downloadMsPerFile = 5;
    ASSERT_TRUE(standin::SaveSettings(serviceFile, service));
    auto catalogue = std::make_shared<standin::TCatalogue>();
    catalogue->files = {{"RACE0001.jvd",
                         "RACE",
                         "20040502183000",
                         {MakeRA(TRaceId{}, '2'), MakeRA(TRaceId{.race = "02"}, '2')}}};
    {
        settings::TIniGT ini(files::TextFromPath(settingsFile));
        ASSERT_TRUE(ini.WriteText("JvDataGet", "LastTime", "2004/04/20 10:00:00").ok());
    }

    std::vector<std::string> line;
    TLoggingInteraction ui{line};
    keiba::test::RecordingHelpViewer help;
    shell::ui::TStartup startup;
    startup.createJVLink = [&](std::string_view) -> std::unique_ptr<jvlink::IJVLink> {
        return std::make_unique<standin::TStandInJVLink>(
            serviceFile, [catalogue](const standin::TStandInSettings&) {
                return standin::TCatalogueRead{*catalogue, {}};
            });
    };
    startup.interaction = &ui;
    startup.dataRoot = root.path();
    startup.makeDataRootCurrent = false;
    startup.settingsFile = settingsFile;
    startup.helpViewer = &help;

    // Runs the acquisition window that the command opens: Start, the run to its end, close.
    int windowsSeen = 0;
    auto acquireOnce = [&] {
        keiba::test::WhenModalShows<acquisition::TGetDataForm>(
            [&](acquisition::TGetDataForm& form) {
                ++windowsSeen;
                // The ordinary acquisition: the setup the empty store proposes is declined.
                if (auto* setup = form.findChild<QCheckBox*>(QStringLiteral("CheckBoxSetup"))) {
                    setup->setChecked(false);
                }
                form.ButtonStartClick();
                EXPECT_TRUE(PumpUntil([&] { return !form.Control().Running(); }));
                form.close();
            });
    };

    bool checked = false;
    startup.runEventLoop = [&](shell::ui::TMainForm& main) {
        keiba::test::RunPendingEvents(); // the first showing initialises JV-Link
        auto* j1 = main.findChild<QAction*>(QStringLiteral("J1"));
        EXPECT_TRUE(j1->isEnabled());
        EXPECT_TRUE(main.JVBtn()->isEnabled());
        EXPECT_EQ(main.DateCombo()->count(), 0);

        acquireOnce();
        main.JVBtn()->click(); // returns once the modal window has closed
        EXPECT_EQ(windowsSeen, 1);
        EXPECT_EQ(main.DateCombo()->count(), 1);
        EXPECT_EQ(main.DateCombo()->itemText(0).toStdString(), "2004年05月01日東京");
        EXPECT_EQ(main.DateCombo()->currentIndex(), -1);
        EXPECT_EQ(main.IniGT1().ReadText("JvDataGet", "LastTime", ""), "2004/04/20 10:00:00")
            << "the first run fetched its file";

        acquireOnce();
        j1->trigger(); // from the cache this time: the start time moves
        EXPECT_EQ(windowsSeen, 2);
        EXPECT_EQ(main.IniGT1().ReadText("JvDataGet", "LastTime", ""), "2004/05/02 18:30:00");
        main.close();
        checked = true;
        return 0;
    };
    EXPECT_EQ(shell::ui::RunStartup(startup), 0);
    EXPECT_TRUE(checked);
    EXPECT_EQ(Only(line, {"box"}),
              (std::vector<std::string>{
                  Box("データ取込を開始します。データ作成が終了するまで本ソフトを操作したり"
                      "他のアプリケーションを操作することは極力避けてください。"),
                  Box("データ作成が完了しました。"),
                  Box("データ取込を開始します。データ作成が終了するまで本ソフトを操作したり"
                      "他のアプリケーションを操作することは極力避けてください。"),
                  Box("データ作成が完了しました。")}))
        << ShowLine(line);
    EXPECT_TRUE(fs::exists(root / "DATA" / files::PathFromText(S("2004年05月01日東京.jvRA"))));
}

} // namespace
