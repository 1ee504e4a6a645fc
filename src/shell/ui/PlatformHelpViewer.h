// The help viewer of the running program: HTML Help on Windows, loaded when first needed from
// hhctrl.ocx; elsewhere, and on a Windows whose HTML Help cannot open the help file, the
// program's own help window on the plain HTML help pages.
#pragma once

#include "shell/HelpViewer.h"
#include "shell/ui/THelpWindow.h"

#include <QPointer>
#include <QWidget>

namespace shell::ui {

class TPlatformHelpViewer : public shell::IHelpViewer {
public:
    // Help windows belong to owner (the main window) where the system supports that.
    explicit TPlatformHelpViewer(QWidget* owner = nullptr) : owner_(owner) {}

    // Windows: data root + "\Quillmead.chm" at its table of contents. Elsewhere: the contents
    // page data root + "/help/index.html" in the help window.
    std::string ShowContents(const std::filesystem::path& dataRoot) override;
    // Every help window of the program: HTML Help's and the program's own.
    void CloseAll() override;

    // The program's help window once it has been made, for tests.
    THelpWindow* HelpWindow() const { return window_; }

private:
    std::string ShowOwnWindow(const std::filesystem::path& dataRoot);

    QPointer<QWidget> owner_;
    QPointer<THelpWindow> window_;
    bool opened_ = false; // an HTML Help window may be open
};

} // namespace shell::ui
