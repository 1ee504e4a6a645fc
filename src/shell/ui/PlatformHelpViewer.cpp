#include "shell/ui/PlatformHelpViewer.h"

#include "shell/HelpFile.h"
#include "shell/ShellTexts.h"

#include <system_error>

#include <QRect>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace shell::ui {

namespace fs = std::filesystem;

namespace {

#ifdef Q_OS_WIN
// HTML Help commands (htmlhelp.h).
constexpr UINT kHhDisplayToc = 0x0001;
constexpr UINT kHhCloseAll = 0x0012;

using THtmlHelpW = HWND(WINAPI*)(HWND caller, LPCWSTR file, UINT command, DWORD_PTR data);

// HtmlHelpW of hhctrl.ocx, loaded on first use and kept for the run (help windows live in it).
THtmlHelpW HtmlHelpFunction() {
    static const THtmlHelpW function = [] {
        HMODULE library = LoadLibraryW(L"hhctrl.ocx");
        if (library == nullptr) {
            return THtmlHelpW{nullptr};
        }
        return reinterpret_cast<THtmlHelpW>(
            reinterpret_cast<void*>(GetProcAddress(library, "HtmlHelpW")));
    }();
    return function;
}

bool IsFile(const fs::path& file) {
    std::error_code error;
    return fs::is_regular_file(file, error);
}
#endif

} // namespace

std::string TPlatformHelpViewer::ShowContents(const fs::path& dataRoot) {
#ifdef Q_OS_WIN
    const fs::path file = HelpFilePath(dataRoot);
    const THtmlHelpW htmlHelp = IsFile(file) ? HtmlHelpFunction() : nullptr;
    const HWND caller = owner_ ? reinterpret_cast<HWND>(owner_->winId()) : nullptr;
    if (htmlHelp != nullptr && htmlHelp(caller, file.c_str(), kHhDisplayToc, 0) != nullptr) {
        opened_ = true;
        return {};
    }
    // No help file or no HTML Help: the same pages in the program's own window, if they are
    // there; otherwise the reason HTML Help gave none.
    if (!IsFile(HelpHtmlIndex(dataRoot))) {
        return IsFile(file) ? HelpOpenFailedText(file) : HelpFileMissingText(file);
    }
#endif
    return ShowOwnWindow(dataRoot);
}

std::string TPlatformHelpViewer::ShowOwnWindow(const fs::path& dataRoot) {
    if (!window_) {
        window_ = new THelpWindow(owner_);
        window_->setAttribute(Qt::WA_DeleteOnClose);
        // Over the main window rather than where the window system would cascade it; moved
        // onto the screen as it shows.
        if (owner_ != nullptr) {
            const QRect over = owner_->window()->frameGeometry();
            window_->move(over.center() - window_->rect().center());
        }
    }
    const std::string failure = window_->Open(HelpHtmlIndex(dataRoot).parent_path());
    if (!failure.empty()) {
        window_->close();
        return failure;
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
    return {};
}

void TPlatformHelpViewer::CloseAll() {
#ifdef Q_OS_WIN
    // Only when help was opened, so that closing does not load HTML Help for nothing.
    if (opened_) {
        if (const THtmlHelpW htmlHelp = HtmlHelpFunction()) {
            htmlHelp(nullptr, nullptr, kHhCloseAll, 0);
        }
    }
#endif
    opened_ = false;
    if (window_) {
        window_->close();
    }
}

} // namespace shell::ui
