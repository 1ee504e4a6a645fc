// What the shell's window tests share: a JV-Link that answers as told, a data root with its
// settings file, and a main window made on them with a scripted user.
#pragma once

#include "jvlink/IJVLink.h"
#include "shell/HelpViewer.h"
#include "shell/ui/TMainForm.h"
#include "support/ScriptedInteraction.h"
#include "support/TestSupport.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace keiba::test {

// What a test JV-Link was asked.
struct TFakeJVLinkLog {
    std::vector<std::string> initSids; // every JVInit's software identifier
    int versionReads = 0;              // JVLinkVersion calls
};

// A JV-Link whose JVInit and version answers are set by the test.
class FakeJVLink : public jvlink::IJVLink {
public:
    explicit FakeJVLink(std::shared_ptr<TFakeJVLinkLog> log, std::int32_t initResult = 0,
                        std::string version = "0490")
        : log_(std::move(log)), initResult_(initResult), version_(std::move(version)) {}

    bool throwOnInit = false;    // JVInit fails as an automation call
    bool throwOnVersion = false; // the version property fails as an automation call

    std::int32_t JVInit(const std::string& sid) override {
        log_->initSids.push_back(sid);
        if (throwOnInit) {
            throw jvlink::JVLinkCallError("JVInit: the call was refused");
        }
        return initResult_;
    }
    std::string JVLinkVersion() override {
        ++log_->versionReads;
        if (throwOnVersion) {
            throw jvlink::JVLinkCallError("JVLinkVersion: the value is not a text");
        }
        return version_;
    }
    std::int32_t JVSetUIProperties() override { return 0; }
    std::int32_t JVOpen(const std::string&, const std::string&, std::int32_t, std::int32_t&,
                        std::int32_t&, std::string&) override {
        return -1;
    }
    std::int32_t JVStatus() override { return 0; }
    std::int32_t JVRead(std::string&, std::int32_t, std::string&) override { return 0; }
    std::int32_t JVCancel() override { return 0; }
    std::int32_t JVClose() override { return 0; }

private:
    std::shared_ptr<TFakeJVLinkLog> log_;
    std::int32_t initResult_;
    std::string version_;
};

// A help viewer that records what it was asked and answers with a set failure text.
class RecordingHelpViewer : public shell::IHelpViewer {
public:
    std::vector<std::filesystem::path> shown; // data roots of ShowContents
    int closeAllCount = 0;
    std::string failure; // what ShowContents answers

    std::string ShowContents(const std::filesystem::path& dataRoot) override {
        shown.push_back(dataRoot);
        return failure;
    }
    void CloseAll() override { ++closeAllCount; }
};

// A data root with its settings file, a scripted user and the pieces a main window is made of.
struct MainFormWorld {
    TempDir root;
    std::filesystem::path settingsFile = root / "tomberly.ini";
    ScriptedInteraction user;
    RecordingHelpViewer help;
    std::shared_ptr<TFakeJVLinkLog> jvlinkLog = std::make_shared<TFakeJVLinkLog>();

    shell::ui::TMainFormSetup Setup(std::unique_ptr<jvlink::IJVLink> link = nullptr) {
        shell::ui::TMainFormSetup setup;
        setup.dataRoot = root.path();
        setup.makeDataRootCurrent = false;
        setup.settingsFile = settingsFile;
        setup.jvlink = link ? std::move(link) : std::make_unique<FakeJVLink>(jvlinkLog);
        setup.interaction = &user;
        setup.helpViewer = &help;
        return setup;
    }

    std::unique_ptr<shell::ui::TMainForm> Make(std::unique_ptr<jvlink::IJVLink> link = nullptr) {
        return std::make_unique<shell::ui::TMainForm>(Setup(std::move(link)));
    }
};

// Lets queued calls and timers run for a moment.
inline void RunPendingEvents(int milliseconds = 20) {
    QTimer wait;
    wait.setSingleShot(true);
    wait.start(milliseconds);
    while (wait.isActive()) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

// Runs act on the next modal window of type T once it is on screen (tries for about a second).
template <typename T>
void WhenModalShows(std::function<void(T&)> act, int triesLeft = 200) {
    QTimer::singleShot(5, [act = std::move(act), triesLeft]() mutable {
        auto* modal = qobject_cast<T*>(QApplication::activeModalWidget());
        if (modal != nullptr && modal->isVisible()) {
            act(*modal);
        } else if (triesLeft > 0) {
            WhenModalShows<T>(std::move(act), triesLeft - 1);
        } else {
            ADD_FAILURE() << "no modal window appeared";
        }
    });
}

} // namespace keiba::test
