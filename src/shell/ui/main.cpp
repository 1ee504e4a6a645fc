// Tomberly＆競馬新聞: the program's start.
#include "files/ProgramFolder.h"
#include "jvlink/CreateJVLink.h"
#include "shell/ui/Startup.h"
#include "widgets/ui/FontSubstitutes.h"
#include "widgets/ui/KeepOnScreen.h"
#include "widgets/ui/QtUserInteraction.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // Before any window or font is made, so that the design's faces find their substitutes.
    widgets::RegisterFontSubstitutes();
    shell::ui::InstallQtTranslations();
    // Windows kept for another screen, or cascaded past the edge, open on this one.
    widgets::KeepWindowsOnScreen();

    widgets::QtUserInteraction interaction;
    shell::ui::TStartup startup;
    startup.createJVLink = &jvlink::CreateJVLink;
    startup.interaction = &interaction;
    startup.setApplicationTitle = [&interaction](const QString& title) {
        // The title of the program's message boxes (and of windows without their own). Not
        // the display name, which Qt would append to every window caption.
        QCoreApplication::setApplicationName(title);
        interaction.SetTitle(title);
    };
    startup.dataRoot = files::ProgramFolder();
    return shell::ui::RunStartup(startup);
}
