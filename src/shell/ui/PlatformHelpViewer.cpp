#include "shell/ui/PlatformHelpViewer.h"

#include "shell/HelpFile.h"
#include "shell/ShellTexts.h"

#include <system_error>

#include <QDesktopServices>
#include <QString>
#include <QUrl>

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
#endif

bool IsFile(const fs::path& file) {
    std::error_code error;
    return fs::is_regular_file(file, error);
}

} // namespace

std::string TPlatformHelpViewer::ShowContents(const fs::path& dataRoot) {
#ifdef Q_OS_WIN
    const fs::path file = HelpFilePath(dataRoot);
    if (!IsFile(file)) {
        return HelpFileMissingText(file);
    }
    const THtmlHelpW htmlHelp = HtmlHelpFunction();
    const HWND caller = owner_ ? reinterpret_cast<HWND>(owner_->winId()) : nullptr;
    if (htmlHelp == nullptr || htmlHelp(caller, file.c_str(), kHhDisplayToc, 0) == nullptr) {
        return HelpOpenFailedText(file);
    }
    opened_ = true;
    return {};
#else
    const fs::path page = HelpHtmlIndex(dataRoot);
    if (!IsFile(page)) {
        return HelpFileMissingText(page);
    }
    const QUrl url = QUrl::fromLocalFile(QString::fromStdU16String(page.u16string()));
    if (!QDesktopServices::openUrl(url)) {
        return HelpOpenFailedText(page);
    }
    opened_ = true;
    return {};
#endif
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
}

} // namespace shell::ui
