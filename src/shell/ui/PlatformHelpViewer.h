// The help viewer of the running program: HTML Help on Windows, loaded when first needed from
// hhctrl.ocx; elsewhere the desktop's browser on the plain HTML help pages.
#pragma once

#include "shell/HelpViewer.h"

#include <QPointer>
#include <QWidget>

namespace shell::ui {

class TPlatformHelpViewer : public shell::IHelpViewer {
public:
    // Help windows belong to owner (the main window) where the system supports that.
    explicit TPlatformHelpViewer(QWidget* owner = nullptr) : owner_(owner) {}

    // Windows: data root + "\Quillmead.chm" at its table of contents. Elsewhere: the contents
    // page data root + "/help/index.html" in the browser.
    std::string ShowContents(const std::filesystem::path& dataRoot) override;
    // Windows: every HTML Help window of the program. The browser's windows are its own.
    void CloseAll() override;

private:
    QPointer<QWidget> owner_;
    bool opened_ = false; // a help window may be open
};

} // namespace shell::ui
