// The main window's commands: exit, help contents, version window, printer setup.
#include "ShellUiSupport.h"
#include "shell/ui/TMainForm.h"
#include "shell/ui/TVersionForm.h"
#include "widgets/ui/TLabel3Dj.h"
#include "widgets/ui/TMsgDlg.h"

#include <gtest/gtest.h>

#include <QPushButton>

namespace {

using namespace keiba::test;
using shell::ui::TMainForm;
using Kind = TInteractionEvent::Kind;

QAction* Item(const TMainForm& form, const char* name) {
    auto* item = form.findChild<QAction*>(QString::fromLatin1(name));
    EXPECT_NE(item, nullptr) << name;
    return item;
}

QToolButton* Button(const TMainForm& form, const char* name) {
    auto* button = form.findChild<QToolButton*>(QString::fromLatin1(name));
    EXPECT_NE(button, nullptr) << name;
    return button;
}

TEST(MainFormCommands, ExitClosesTheWindowFromMenuAndToolBar) {
    MainFormWorld world;
    for (bool fromMenu : {true, false}) {
        auto form = world.Make();
        form->show();
        RunPendingEvents();
        if (fromMenu) {
            Item(*form, "FileExitItem")->trigger();
        } else {
            Button(*form, "SpeedButton4")->click();
        }
        EXPECT_FALSE(form->isVisible()) << fromMenu;
    }
    // Each close kept the bounds and closed the help windows.
    EXPECT_TRUE(std::filesystem::exists(world.settingsFile));
    EXPECT_EQ(world.help.closeAllCount, 2);
}

TEST(MainFormCommands, HelpContentsOpensTheHelpOfTheDataRoot) {
    MainFormWorld world;
    auto form = world.Make();
    Item(*form, "HelpContentsItem")->trigger();
    Button(*form, "SpeedButton5")->click();
    EXPECT_EQ(world.help.shown,
              (std::vector<std::filesystem::path>{world.root.path(), world.root.path()}));
    EXPECT_TRUE(world.user.Events().empty());

    // A help that cannot be opened is reported the way expected failures are.
    world.help.failure = S("ヘルプファイルが見つかりません。");
    Item(*form, "HelpContentsItem")->trigger();
    ASSERT_EQ(world.user.Events().size(), 2u);
    EXPECT_EQ(world.user.Events()[0].kind, Kind::Beep);
    EXPECT_EQ(world.user.Events()[1].kind, Kind::Information);
    EXPECT_EQ(world.user.Events()[1].text, S("ヘルプファイルが見つかりません。"));
}

TEST(MainFormCommands, VersionWindowShowsTheVersionModally) {
    MainFormWorld world;
    auto form = world.Make();
    shell::ui::TVersionForm versionForm(form.get());
    form->AttachWindows(nullptr, &versionForm);
    form->show();
    RunPendingEvents();

    for (bool fromMenu : {true, false}) {
        QString shownVersion;
        QString shownComment;
        bool wasModal = false;
        WhenModalShows<QDialog>([&](QDialog& dialog) {
            wasModal = &dialog == &versionForm && dialog.isModal();
            shownVersion = versionForm.Version()->Caption();
            shownComment = versionForm.Comments()->Caption();
            versionForm.OKButton()->click();
        });
        if (fromMenu) {
            Item(*form, "HelpAboutItem")->trigger();
        } else {
            Button(*form, "SpeedButton6")->click();
        }
        EXPECT_TRUE(wasModal);
        EXPECT_EQ(shownVersion, QStringLiteral("Ver.1.30"));
        EXPECT_EQ(shownComment, QStringLiteral("for JRA-VAN Data Lab."));
        EXPECT_FALSE(versionForm.isVisible());
    }
    form->close();
}

TEST(MainFormCommands, PrinterSetupOpensTheDialogOverTheWindow) {
    MainFormWorld world;
    auto setup = world.Setup();
    std::vector<QWidget*> parents;
    setup.printerSetup = [&](QWidget* parent) {
        parents.push_back(parent);
        return true;
    };
    TMainForm form(std::move(setup));
    Item(form, "FilePrintSetupItem")->trigger();
    Button(form, "SpeedButton3")->click();
    EXPECT_EQ(parents, (std::vector<QWidget*>{&form, &form}));
    EXPECT_TRUE(world.user.Events().empty());
}

TEST(MainFormCommands, SystemPrinterSetupDialogCanBeCancelled) {
    MainFormWorld world;
    auto form = world.Make();
    form->show();
    RunPendingEvents();
    QString title;
    WhenModalShows<QDialog>([&](QDialog& dialog) {
        title = dialog.windowTitle();
        dialog.reject();
    });
    Item(*form, "FilePrintSetupItem")->trigger();
    EXPECT_EQ(title, QStringLiteral("ﾌﾟﾘﾝﾀの設定"));
    form->close();
}

TEST(MainFormCommands, PresetWarningBoxOfTheWindow) {
    MainFormWorld world;
    auto form = world.Make();
    widgets::TMsgDlg* box = form->MsgDlg1();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->objectName(), QStringLiteral("MsgDlg1"));
    EXPECT_TRUE(box->Sound());
    EXPECT_EQ(box->MsgDlgType(), widgets::TMsgDlgType::mtWarning);
    // It shows through the window's user interaction.
    box->SetDisplayMsg(S("ﾃﾞｰﾀを読み込んでください。"));
    box->Show();
    ASSERT_EQ(world.user.Events().size(), 2u);
    EXPECT_EQ(world.user.Events()[0].kind, Kind::Sound);
    EXPECT_EQ(world.user.Events()[1].kind, Kind::Dialog);
    EXPECT_EQ(world.user.Events()[1].request.text, S("ﾃﾞｰﾀを読み込んでください。"));
}

} // namespace
