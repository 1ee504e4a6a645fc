// The program's start: prove that JV-Link is installed, set the application's title, make the
// windows that live for the run and run the event loop until the main window closes.
#pragma once

#include "jvlink/IJVLink.h"
#include "shell/HelpViewer.h"
#include "widgets/UserInteraction.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>

#include <QString>

namespace shell::ui {

class TMainForm;

// Makes the JV-Link component registered under a programmatic identifier, or nothing.
using TJVLinkFactory = std::function<std::unique_ptr<jvlink::IJVLink>(std::string_view progId)>;

// What the start is made of; the program passes the real pieces, tests their own.
struct TStartup {
    // jvlink::CreateJVLink in the program.
    TJVLinkFactory createJVLink;
    // Boxes and beeps; not owned.
    widgets::IUserInteraction* interaction = nullptr;
    // Receives the application's title (the program gives it to its message boxes).
    std::function<void(const QString& title)> setApplicationTitle;
    // The program's folder.
    std::filesystem::path dataRoot;
    // Whether the main window makes the data root the current directory.
    bool makeDataRootCurrent = true;
    // The settings file; empty for the program's own.
    std::filesystem::path settingsFile;
    // The help viewer; null for the platform's.
    shell::IHelpViewer* helpViewer = nullptr;
    // Runs the event loop and returns the program's exit status (QApplication::exec); tests
    // drive the windows here. Given the main window, which is shown before.
    std::function<int(TMainForm& mainForm)> runEventLoop;
};

// Exit status when JV-Link is not installed.
inline constexpr int kExitJVLinkMissing = 1;

// Runs the program's start and its event loop; the exit status. Without JV-Link: the default
// beep, the information box asking to install it, and kExitJVLinkMissing with no window made.
int RunStartup(const TStartup& startup);

// Japanese everywhere: the default locale Japanese (Japan), and the Japanese translations of
// Qt's own buttons and dialogs where installed. After the application is made, before any
// window.
void InstallQtTranslations();

} // namespace shell::ui
