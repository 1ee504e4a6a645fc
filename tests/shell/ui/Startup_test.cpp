// The program's start with an injected JV-Link factory: the missing component ends it before
// any window; an installed one gives the title, the three windows and the event loop.
#include "ShellUiSupport.h"
#include "shell/ui/Startup.h"
#include "shell/ui/TMainForm.h"

#include <gtest/gtest.h>

namespace {

using namespace keiba::test;
using shell::ui::TMainForm;
using Kind = TInteractionEvent::Kind;

bool AnyMainForm() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<TMainForm*>(widget) != nullptr) {
            return true;
        }
    }
    return false;
}

struct StartupWorld : MainFormWorld {
    std::vector<std::string> progIds;
    QString title;
    int loops = 0;

    shell::ui::TStartup Startup(bool installed) {
        shell::ui::TStartup startup;
        startup.createJVLink = [this, installed](std::string_view progId) {
            progIds.emplace_back(progId);
            return installed ? std::make_unique<FakeJVLink>(jvlinkLog) : nullptr;
        };
        startup.interaction = &user;
        startup.setApplicationTitle = [this](const QString& text) { title = text; };
        startup.dataRoot = root.path();
        startup.makeDataRootCurrent = false;
        startup.settingsFile = settingsFile;
        startup.helpViewer = &help;
        return startup;
    }
};

TEST(Startup, WithoutJVLinkTheProgramEndsBeforeAnyWindow) {
    StartupWorld world;
    auto startup = world.Startup(false);
    startup.runEventLoop = [&](TMainForm&) {
        ++world.loops;
        return 0;
    };
    EXPECT_EQ(shell::ui::RunStartup(startup), shell::ui::kExitJVLinkMissing);
    EXPECT_NE(shell::ui::kExitJVLinkMissing, 0);
    EXPECT_EQ(world.progIds, (std::vector<std::string>{"JVDTLab.JVLink"}));
    ASSERT_EQ(world.user.Events().size(), 2u);
    EXPECT_EQ(world.user.Events()[0].kind, Kind::Beep);
    EXPECT_EQ(world.user.Events()[1].kind, Kind::Information);
    EXPECT_EQ(world.user.Events()[1].text,
              S("JRA-VANのホームページより【JV-Link】を入手し、インストールしてください。"));
    EXPECT_EQ(world.loops, 0);
    EXPECT_FALSE(AnyMainForm());
    EXPECT_TRUE(world.title.isEmpty());
    // Not even the store folders: the main window was never made.
    EXPECT_FALSE(std::filesystem::exists(world.root / "DATA"));
}

TEST(Startup, InstalledJVLinkGivesTheTitleTheWindowsAndTheLoop) {
    StartupWorld world;
    auto startup = world.Startup(true);
    bool checked = false;
    startup.runEventLoop = [&](TMainForm& form) {
        ++world.loops;
        // Before the loop: title set, the windows made, the main window shown.
        EXPECT_EQ(world.title, QStringLiteral("Tomberly＆競馬新聞 "));
        EXPECT_TRUE(form.isVisible());
        EXPECT_TRUE(AnyMainForm());
        EXPECT_NE(form.PrgrsForm(), nullptr);
        EXPECT_NE(form.VersionForm(), nullptr);
        if (form.PrgrsForm() != nullptr && form.VersionForm() != nullptr) {
            EXPECT_FALSE(form.PrgrsForm()->isVisible());
            EXPECT_FALSE(form.VersionForm()->isVisible());
        }
        // The loop runs the first showing: JV-Link initialised once, on the instance that
        // proved the installation.
        RunPendingEvents();
        EXPECT_EQ(world.jvlinkLog->initSids.size(), 1u);
        EXPECT_TRUE(std::filesystem::is_directory(world.root / "DATA"));
        form.close();
        checked = true;
        return 0;
    };
    EXPECT_EQ(shell::ui::RunStartup(startup), 0);
    EXPECT_TRUE(checked);
    EXPECT_EQ(world.loops, 1);
    EXPECT_EQ(world.progIds.size(), 1u);
    EXPECT_TRUE(world.user.Events().empty());
    // The windows lived for the run only.
    EXPECT_FALSE(AnyMainForm());
    EXPECT_TRUE(std::filesystem::exists(world.settingsFile));
}

} // namespace
