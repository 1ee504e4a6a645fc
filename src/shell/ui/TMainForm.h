// TMainForm: the program's main window.
//
// It fixes the data root folder, prepares the store folders, keeps its bounds in the settings
// file, initialises JV-Link when first shown and checks its version, and hosts the menus, the
// tool bar with the date list, the status line and the race area whose pages the race views
// fill. It owns the program's only JV-Link instance and its settings component; other windows
// borrow them. Every box, beep and pause for pending events goes through the user interaction
// it is given, so the window runs in tests with a scripted user.
//
// The window only coordinates: its controls are made by the Setup functions (menus and tool
// bar, race area and pages), texts come from the core, commands are its handlers.
#pragma once

#include "archive/ui/TArchiveForm.h"
#include "jvlink/IJVLink.h"
#include "race/TRaceDayData.h"
#include "race/ui/RaceBrowser.h"
#include "settings/TIniGT.h"
#include "shell/HelpViewer.h"
#include "shell/ProgramVersion.h"
#include "shell/ui/TVersionForm.h"
#include "widgets/UserInteraction.h"
#include "widgets/ui/TPrgrsForm.h"

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>

namespace analysis::ui {
class TAnalysisPages;
}
namespace horse::ui {
class THorseView;
}
namespace race::ui {
class TPayoffPageWidget;
class TRaceCardGrid;
class TRaceHeaderPanel;
} // namespace race::ui
namespace widgets {
class TMsgDlg;
class TTabControl;
} // namespace widgets

namespace shell::ui {

class TMainForm;

// What the main window is made with.
struct TMainFormSetup {
    // The folder of the program file.
    std::filesystem::path dataRoot;
    // Make the data root the current directory and take the current directory as the data
    // root (the program); tests keep the process's current directory.
    bool makeDataRootCurrent = true;
    // The settings file; empty for the program file's name with ".ini" beside it.
    std::filesystem::path settingsFile;
    // JVLink1, the program's only JV-Link instance, owned by the window.
    std::unique_ptr<jvlink::IJVLink> jvlink;
    // Who shows boxes and plays sounds; not owned, outlives the window.
    widgets::IUserInteraction* interaction = nullptr;
    // Who opens the help; null for HTML Help on Windows, the browser elsewhere.
    shell::IHelpViewer* helpViewer = nullptr;
    // The printer setup dialog; empty for the system's dialog on the program's printer.
    std::function<bool(QWidget* parent)> printerSetup;
    // Opens the acquisition window modally (which presses MakeDataListBtn as it closes).
    // Without it the acquisition command is shown but disabled.
    std::function<void(TMainForm&)> acquireData;
    // Prints the newspaper pages of the loaded day; empty for the print preview window.
    std::function<void(TMainForm&)> printNewspaper;
    // Opens the store's index for the archive window; empty for the program's own.
    std::function<archive::ui::TIndexOpening(const std::filesystem::path& dataRoot)> openIndex;
};

class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    // Makes the controls and runs the window's creation (FormCreate): data root, bounds,
    // store folders, header row of the race card, date list.
    explicit TMainForm(TMainFormSetup setup, QWidget* parent = nullptr);
    ~TMainForm() override;

    // ---- What other windows use ---------------------------------------------------------

    // The data root folder, without a trailing separator.
    const std::filesystem::path& DataRoot() const { return dataRoot_; }
    // The help file, data root + "\Quillmead.chm".
    const std::filesystem::path& HelpFile() const { return helpFile_; }
    // The version text, "Ver.1.30".
    const std::string& VersionText() const { return versionText_; }
    jvlink::IJVLink& JVLink1() { return *jvlink_; }
    settings::TIniGT& IniGT1() { return iniGT1_; }
    widgets::IUserInteraction& Interaction() { return *interaction_; }
    // The preset warning box of the newspaper print (sound on).
    widgets::TMsgDlg* MsgDlg1() const { return msgDlg1_; }
    // The windows made at start after this one.
    void AttachWindows(widgets::TPrgrsForm* prgrsForm, TVersionForm* versionForm);
    widgets::TPrgrsForm* PrgrsForm() const { return prgrsForm_; }
    TVersionForm* VersionForm() const { return versionForm_; }

    // ---- Controls ------------------------------------------------------------------------

    QFrame* SpeedBar() const { return speedBar_; }
    QToolButton* JVBtn() const { return jvBtn_; }
    QComboBox* DateCombo() const { return dateCombo_; }
    QToolButton* MakeDataListBtn() const { return makeDataListBtn_; }
    QToolButton* UMConvertBtn() const { return umConvertBtn_; }
    QStatusBar* StatusLine() const { return statusLine_; }
    QWidget* Panel1() const { return panel1_; }
    race::ui::TRaceHeaderPanel* Panel2() const { return panel2_; }
    widgets::TTabControl* TabControl1() const { return tabControl1_; }
    QTabWidget* PageControl1() const { return pageControl1_; }
    race::ui::TRaceCardGrid* StringGrid1() const { return stringGrid1_; }
    // The horse tabs on the page "競走馬" and the results page "成績結果".
    widgets::TTabControl* TabControl2() const { return tabControl2_; }
    race::ui::TPayoffPageWidget* PayoffPage() const { return payoffPage_; }
    // The time tables and the four charts with their selectors.
    analysis::ui::TAnalysisPages* AnalysisPages() const { return analysisPages_; }
    // The horse pages inside the horse tabs.
    horse::ui::THorseView* HorseView() const { return horseView_; }

    // ---- The loaded race day --------------------------------------------------------------

    // The records of the race day chosen last; blank before the first successful load.
    const race::TRaceDayData& RaceDay() const { return *raceDay_; }
    // Race browsing: the day load and the race of the chosen race tab.
    race::ui::TRaceBrowser& RaceBrowser() { return *raceBrowser_; }

    // ---- Handlers ------------------------------------------------------------------------

    // First showing: JVInit with the software identifier, then the version check.
    void FormShow();
    // Acquire data: the acquisition window, modally, then the date list again.
    void J1Click();
    // Print the newspaper pages of the loaded day.
    void FilePrintItemClick();
    // The printer setup dialog.
    void FilePrintSetupItemClick();
    // Close the window, which ends the program.
    void FileExitItemClick();
    // The help at its table of contents.
    void HelpContentsItemClick();
    // The version window, modally.
    void HelpAboutItemClick();
    // Save the shown race's card, results with payoffs or time tables as a CSV file
    // (TMainFormExport.cpp); nothing while no race is shown.
    void CsvCardItemClick();
    void CsvResultsItemClick();
    void CsvTimesItemClick();
    // Rebuilds the date list from the store's race-day files, newest first. The day the race
    // area shows stays chosen; nothing is chosen before a day is loaded, nor when the shown
    // day is no longer in the store, whose entry the list box then shows in grey.
    void MakeDataListBtnClick();
    // Loads the entry chosen in the date list and shows its first race (TMainFormRaceDay.cpp).
    void DateComboChange();
    // Shows the race of the chosen race tab.
    void TabControl1Change();

    // The archive window at its page 出走検索 (SearchItemClick) or 成績統計 (StatsItemClick),
    // made when the window has none and brought to the front (TMainFormArchive.cpp).
    void SearchItemClick();
    void StatsItemClick();
    // The archive window while it is open, else null.
    archive::ui::TArchiveForm* ArchiveForm() const;
    // Shows a run listed by the archive window: loads its day (from its cards or its
    // results) unless it is on show, chooses its race tab, its horse tab and the page
    // 競走馬, and brings the window to the front. A run whose day, race or horse the store
    // does not hold is said so with a beep. True when the run's race is shown.
    bool ShowRun(const archive::TRunPlace& place);

    // Keyboard page switching: the page control holding the focus (else PageControl1) shows
    // its next page (step 1, Ctrl+Tab) or previous one (step -1, Ctrl+Shift+Tab), wrapping
    // round, and its tab strip takes the focus. Nothing while no race day is shown.
    void CyclePages(int step);

protected:
    void showEvent(QShowEvent* event) override;
    // Ctrl+Tab and Ctrl+Shift+Tab anywhere in the window, before any control takes them; the
    // mouse over the window, for the hint of the control under it.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Menus and tool bar (TMainFormCommands.cpp).
    void SetupMenus();
    void SetupSpeedBar();
    // Enables or disables a command's menu item and tool bar button together.
    static void SetCommandEnabled(QAction* item, QToolButton* button, bool enabled);
    // The CSV items are enabled while a race is shown (TMainFormExport.cpp).
    void UpdateCsvItems();
    // Saves table 0 (card), 1 (results) or 2 (time tables) of the chosen race.
    void SaveRaceCsv(int table);
    // Race area and its pages (TMainFormRaceArea.cpp).
    void SetupRaceArea();
    // The horse tabs, the results page and race browsing (TMainFormRaceDay.cpp).
    void SetupRaceBrowsing();
    // Hands the race shown in slot over to the views below the race card, in this order: the
    // time tables and the charts, then the horse pages of the chosen horse tab.
    void ShowRaceViews(int slot);

    // The status line shows the hint of the control at pos (window coordinates), or of the
    // nearest enclosing control with one, and clears over a control without any.
    void ShowHintAt(const QPoint& pos);
    // Opens the archive window at one of its pages.
    void ShowArchiveForm(int page);

    void FormCreate();
    void FormCloseQuery();
    void FormClose();

    TMainFormSetup setup_;
    std::filesystem::path dataRoot_;
    std::filesystem::path helpFile_;
    std::string versionText_{kVersionText};
    std::unique_ptr<jvlink::IJVLink> jvlink_;
    widgets::IUserInteraction* interaction_;
    std::unique_ptr<shell::IHelpViewer> ownHelpViewer_;
    shell::IHelpViewer* helpViewer_;
    settings::TIniGT iniGT1_;
    bool shownOnce_ = false;

    QPointer<widgets::TPrgrsForm> prgrsForm_;
    QPointer<TVersionForm> versionForm_;
    QPointer<archive::ui::TArchiveForm> archiveForm_;
    widgets::TMsgDlg* msgDlg1_ = nullptr;

    // Menus.
    QAction* j1_ = nullptr;
    QAction* filePrintItem_ = nullptr;
    QAction* filePrintSetupItem_ = nullptr;
    QAction* fileExitItem_ = nullptr;
    QAction* searchItem_ = nullptr;
    QAction* statsItem_ = nullptr;
    QAction* helpContentsItem_ = nullptr;
    QAction* helpAboutItem_ = nullptr;
    QMenu* csvMenu_ = nullptr;
    QAction* csvCardItem_ = nullptr;
    QAction* csvResultsItem_ = nullptr;
    QAction* csvTimesItem_ = nullptr;

    // Tool bar.
    QFrame* speedBar_ = nullptr;
    QToolButton* jvBtn_ = nullptr;
    QComboBox* dateCombo_ = nullptr;
    QToolButton* speedButton2_ = nullptr;
    std::array<QToolButton*, 4> glyphButtons_{}; // SpeedButton3 to SpeedButton6
    QToolButton* makeDataListBtn_ = nullptr;
    QToolButton* umConvertBtn_ = nullptr;

    QStatusBar* statusLine_ = nullptr;

    // Race area.
    QWidget* panel1_ = nullptr;
    race::ui::TRaceHeaderPanel* panel2_ = nullptr;
    widgets::TTabControl* tabControl1_ = nullptr;
    QTabWidget* pageControl1_ = nullptr;
    race::ui::TRaceCardGrid* stringGrid1_ = nullptr;
    widgets::TTabControl* tabControl2_ = nullptr;
    race::ui::TPayoffPageWidget* payoffPage_ = nullptr;
    analysis::ui::TAnalysisPages* analysisPages_ = nullptr;
    horse::ui::THorseView* horseView_ = nullptr;

    // The date list entry of the day the race area shows (Shift-JIS); empty while it is hidden.
    std::string shownEntry_;

    // The race day (about 2.5 MB), allocated once for the run, and its browsing.
    std::unique_ptr<race::TRaceDayData> raceDay_;
    std::unique_ptr<race::ui::TRaceBrowser> raceBrowser_;
};

} // namespace shell::ui
