// The main window's life (creation, first showing, closing) and its commands.
#include "shell/ui/TMainForm.h"

#include "archive/ui/TArchiveForm.h"
#include "files/ProgramFolder.h"
#include "jvdata/SjisText.h"
#include "jvlink/JVResultMessage.h"
#include "print/ui/PagePrinting.h"
#include "print/ui/PrinterSetup.h"
#include "print/ui/TAllPrintForm.h"
#include "race/ui/RaceCardGrid.h"
#include "race/ui/RaceHeaderPanel.h"
#include "settings/WindowBounds.h"
#include "shell/HelpFile.h"
#include "shell/ProgramVersion.h"
#include "shell/ShellTexts.h"
#include "shell/ui/PlatformHelpViewer.h"
#include "shell/ui/TVersionForm.h"
#include "shell/ui/ToolGlyphs.h"
#include "store/StoreLayout.h"
#include "widgets/ui/QtConvert.h"
#include "widgets/ui/TMsgDlg.h"
#include "widgets/ui/TPrgrsForm.h"
#include "widgets/ui/TabControl.h"

#include <stdexcept>
#include <system_error>
#include <utility>

#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QShowEvent>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

namespace shell::ui {

namespace fs = std::filesystem;

namespace {

using widgets::FromSjis;

// The JV-Link instance the window is made with; there is no window without one.
std::unique_ptr<jvlink::IJVLink> Required(std::unique_ptr<jvlink::IJVLink> link) {
    if (!link) {
        throw std::invalid_argument("TMainForm needs the JV-Link component");
    }
    return link;
}

widgets::IUserInteraction* Required(widgets::IUserInteraction* interaction) {
    if (interaction == nullptr) {
        throw std::invalid_argument("TMainForm needs a user interaction");
    }
    return interaction;
}

} // namespace

TMainForm::TMainForm(TMainFormSetup setup, QWidget* parent)
    : QMainWindow(parent), setup_(std::move(setup)), jvlink_(Required(std::move(setup_.jvlink))),
      interaction_(Required(setup_.interaction)) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(FromSjis(MainFormCaption()));
    setWindowIcon(ProgramIcon());
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    setFont(font);
    resize(898, 677); // the design size, until the kept bounds apply

    if (setup_.helpViewer != nullptr) {
        helpViewer_ = setup_.helpViewer;
    } else {
        ownHelpViewer_ = std::make_unique<TPlatformHelpViewer>(this);
        helpViewer_ = ownHelpViewer_.get();
    }
    if (setup_.settingsFile.empty()) {
        iniGT1_.Loaded();
    } else {
        iniGT1_.SetFileName(files::TextFromPath(setup_.settingsFile));
    }

    msgDlg1_ = new widgets::TMsgDlg(this);
    msgDlg1_->setObjectName(QStringLiteral("MsgDlg1"));
    msgDlg1_->SetSound(true);
    msgDlg1_->SetMsgDlgType(widgets::TMsgDlgType::mtWarning);
    msgDlg1_->SetInteraction(interaction_);

    SetupMenus();
    SetupSpeedBar();
    SetupRaceArea();

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("MainClient"));
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(speedBar_);
    layout->addWidget(panel1_, 1);
    layout->addStretch(0); // holds the tool bar at the top while the race area is hidden
    setCentralWidget(central);

    statusLine_ = new QStatusBar(this);
    statusLine_->setObjectName(QStringLiteral("StatusLine"));
    statusLine_->setSizeGripEnabled(true);
    setStatusBar(statusLine_);

    FormCreate();
    // Seen before any control: Ctrl+Tab for the pages, mouse moves for the hints.
    qApp->installEventFilter(this);
}

TMainForm::~TMainForm() = default;

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (tab && (key->modifiers() & Qt::ControlModifier) && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == this) {
            const bool back =
                key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
            CyclePages(back ? -1 : 1);
            return true;
        }
        // Keys on a tab strip are keyboard use: from now on the focused strip shows its focus
        // mark, as it does after Tab (the style draws the mark only then).
        if (qobject_cast<QTabBar*>(watched) != nullptr &&
            static_cast<QWidget*>(watched)->window() == this) {
            setAttribute(Qt::WA_KeyboardFocusChange);
        }
        break;
    }
    case QEvent::MouseMove:
        // Delivered to the window before any control, whichever control tracks the mouse.
        if (watched == static_cast<QObject*>(windowHandle())) {
            ShowHintAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        }
        break;
    case QEvent::Leave:
        if (watched == static_cast<QObject*>(windowHandle())) {
            statusLine_->clearMessage();
        }
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::AttachWindows(widgets::TPrgrsForm* prgrsForm, TVersionForm* versionForm) {
    prgrsForm_ = prgrsForm;
    versionForm_ = versionForm;
}

void TMainForm::FormCreate() {
    // The program's folder is the data root and the current directory: every store path and
    // the help file hang from it.
    dataRoot_ = setup_.dataRoot;
    if (setup_.makeDataRootCurrent) {
        std::error_code error;
        fs::current_path(dataRoot_, error);
        if (!error) {
            fs::path current = fs::current_path(error);
            if (!error) {
                dataRoot_ = std::move(current);
            }
        }
    }
    // Hints of menu items and tool bar buttons go to the status line (QMainWindow shows
    // status tips on its status bar).
    helpFile_ = HelpFilePath(dataRoot_);

    const settings::TWindowBounds bounds = settings::ReadWindowBounds(
        iniGT1_, settings::kMainFormBoundsSection, settings::kMainFormDefaultBounds);
    move(bounds.left, bounds.top);
    resize(bounds.width, bounds.height);

    // A store folder that cannot be made is reported; what exists stays browsable.
    if (const auto folders = store::CreateStoreFolders(dataRoot_); !folders) {
        interaction_->ErrorBox(folders.message);
    }

    stringGrid1_->WriteHeaderRow();
    makeDataListBtn_->click();
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shownOnce_ && !event->spontaneous()) {
        shownOnce_ = true;
        // After the window has appeared, so that its boxes stand over it.
        QTimer::singleShot(0, this, &TMainForm::FormShow);
    }
}

void TMainForm::FormShow() {
    versionText_ = std::string(kVersionText);
    std::int32_t code = 0;
    try {
        code = jvlink_->JVInit(SoftwareIdentifier(versionText_));
    } catch (const std::exception& failure) {
        interaction_->ErrorBox(JVLinkCallFailedText("JVInit", failure.what()));
        return;
    }
    if (code != 0) {
        // Browsing the store goes on; acquisition reports its own JV-Link errors.
        interaction_->ShowMessage(KeibaFunc::JVErrorText("JVInit", code));
        return;
    }
    std::string version;
    try {
        version = jvlink_->JVLinkVersion();
    } catch (const std::exception& failure) {
        interaction_->ErrorBox(JVLinkCallFailedText("JVInit", failure.what()));
        return;
    }
    if (IsJVLinkVersionTooOld(version)) {
        widgets::BeepAndInform(*interaction_, JVLinkVersionNotice(version));
    }
}

void TMainForm::closeEvent(QCloseEvent* event) {
    FormCloseQuery();
    FormClose();
    event->accept();
}

void TMainForm::FormCloseQuery() {
    // The bounds are kept whatever the window's state; closing is never refused.
    const settings::TWindowBounds bounds{x(), y(), width(), height()};
    if (const settings::TIniGTStatus status =
            settings::WriteWindowBounds(iniGT1_, settings::kMainFormBoundsSection, bounds);
        !status) {
        interaction_->ErrorBox(status.message);
    }
}

void TMainForm::FormClose() {
    // The archive window keeps its bounds as it closes, before it goes with this window.
    if (archiveForm_) {
        archiveForm_->close();
    }
    helpViewer_->CloseAll();
}

void TMainForm::J1Click() {
    if (setup_.acquireData) {
        setup_.acquireData(*this);
    }
}

void TMainForm::FilePrintItemClick() {
    // The race area shows once a race day is loaded; before that there is nothing to print.
    if (!panel1_->isVisibleTo(this)) {
        msgDlg1_->SetDisplayMsg(Sjis::FromUtf8("ﾃﾞｰﾀを読み込んでください。"));
        msgDlg1_->Show();
        return;
    }
    if (setup_.printNewspaper) {
        setup_.printNewspaper(*this);
        return;
    }
    print::ui::TAllPrintFormSetup preview;
    preview.settingsFile = iniGT1_.FilePath();
    preview.interaction = interaction_;
    if (setup_.printerSetup) {
        preview.printerSetup = [choose = setup_.printerSetup](QPrinter&, QWidget* parent) {
            return choose(parent);
        };
    }
    try {
        print::ui::ShowNewspaperPreview(*raceDay_, std::move(preview), this);
    } catch (const print::ui::EPrevError& error) {
        interaction_->ErrorBox(error.what());
    }
}

void TMainForm::FilePrintSetupItemClick() {
    if (setup_.printerSetup) {
        setup_.printerSetup(this);
    } else {
        print::ui::ShowPrinterSetup(print::ui::ProgramPrinter(), this);
    }
}

void TMainForm::FileExitItemClick() {
    close();
}

void TMainForm::HelpContentsItemClick() {
    const std::string failure = helpViewer_->ShowContents(dataRoot_);
    if (!failure.empty()) {
        widgets::BeepAndInform(*interaction_, failure);
    }
}

void TMainForm::HelpAboutItemClick() {
    if (!versionForm_) {
        versionForm_ = new TVersionForm(this);
    }
    versionForm_->SetVersion(versionText_);
    versionForm_->exec();
}

} // namespace shell::ui
