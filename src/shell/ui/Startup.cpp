#include "shell/ui/Startup.h"

#include "jvdata/SjisText.h"
#include "shell/ShellTexts.h"
#include "shell/ui/TMainForm.h"
#include "shell/ui/TPrgrsForm.h"
#include "shell/ui/TVersionForm.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace shell::ui {

int RunStartup(const TStartup& startup) {
    shell::IUserInteraction& interaction = *startup.interaction;

    // The component is made once to prove it is installed; that instance then serves the
    // main window as its JV-Link for the whole run.
    std::unique_ptr<jvlink::IJVLink> link =
        startup.createJVLink ? startup.createJVLink(jvlink::kJVLinkProgId) : nullptr;
    if (!link) {
        BeepAndInform(interaction, JVLinkMissingText());
        return kExitJVLinkMissing;
    }

    if (startup.setApplicationTitle) {
        startup.setApplicationTitle(QString::fromStdString(Sjis::ToUtf8(ApplicationTitle())));
    }

    TMainFormSetup setup;
    setup.dataRoot = startup.dataRoot;
    setup.makeDataRootCurrent = startup.makeDataRootCurrent;
    setup.settingsFile = startup.settingsFile;
    setup.jvlink = std::move(link);
    setup.interaction = &interaction;
    setup.helpViewer = startup.helpViewer;

    // In this order, each kept until the end of the run.
    TMainForm mainForm(std::move(setup));
    TPrgrsForm prgrsForm;
    TVersionForm versionForm(&mainForm);
    mainForm.AttachWindows(&prgrsForm, &versionForm);

    mainForm.show();
    if (startup.runEventLoop) {
        return startup.runEventLoop(mainForm);
    }
    return QApplication::exec();
}

void InstallQtTranslations() {
    static QTranslator translator;
    if (translator.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(&translator);
    }
}

} // namespace shell::ui
