#include "shell/ui/Startup.h"

#include "acquisition/ui/TGetDataForm.h"
#include "jvdata/SjisText.h"
#include "shell/ShellTexts.h"
#include "shell/ui/TMainForm.h"
#include "shell/ui/TVersionForm.h"
#include "widgets/ui/TPrgrsForm.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace shell::ui {

int RunStartup(const TStartup& startup) {
    widgets::IUserInteraction& interaction = *startup.interaction;

    // The component is made once to prove it is installed; that instance then serves the
    // main window as its JV-Link for the whole run.
    std::unique_ptr<jvlink::IJVLink> link =
        startup.createJVLink ? startup.createJVLink(jvlink::kJVLinkProgId) : nullptr;
    if (!link) {
        widgets::BeepAndInform(interaction, JVLinkMissingText());
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
    // "ＪＶデータ取得(&J)": the acquisition window, modally, on the main window's JV-Link; as it
    // closes it presses the hidden "リスト作成" button.
    setup.acquireData = [](TMainForm& main) {
        acquisition::TGetDataFormOptions options;
        options.settingsFile = main.IniGT1().FilePath();
        options.rebuildDateList = [&main] { main.MakeDataListBtn()->click(); };
        acquisition::ShowGetDataForm(main.JVLink1(), main.DataRoot(), main.Interaction(),
                                     std::move(options), &main);
    };

    // In this order, each kept until the end of the run.
    TMainForm mainForm(std::move(setup));
    widgets::TPrgrsForm prgrsForm;
    TVersionForm versionForm(&mainForm);
    mainForm.AttachWindows(&prgrsForm, &versionForm);

    mainForm.show();
    if (startup.runEventLoop) {
        return startup.runEventLoop(mainForm);
    }
    return QApplication::exec();
}

void InstallQtTranslations() {
    // Japanese (Japan) for every control, as on a Japanese Windows: the calendar's month and
    // day names, dates and numbers follow the locale.
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    QLocale::setDefault(japanese);
    // Qt's own texts (standard buttons, file, printer and colour dialogs, context menus), from
    // Qt's translations where they are installed; kept for the run.
    static QTranslator translator;
    if (translator.load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(&translator);
    }
}

} // namespace shell::ui
