// TGetDataForm: the acquisition window ("ＪＶデータ取込"). It fetches and stores JV-Data through
// the main window's JV-Link instance: "データ取込み開始" runs an acquisition, "データ取込み中止"
// cancels it, "JVLink設定" opens the component's own settings dialog. The progress text, the
// download and reading bars and the list of made files follow the run; the start-date picker
// shows the time the next run asks from. While the store is empty a ticked check box beside the
// picker proposes a setup acquisition from a year back, with a sentence that says why.
//
// The behaviour is acquisition::TGetDataControl's; this class lays out the controls, forwards
// their events and shows what the control asks. The main window shows it modally and frees it
// when it closes; on closing it has the main window's date list rebuilt.
#pragma once

#include "acquisition/GetDataControl.h"
#include "archive/StoreIndex.h"
#include "jvlink/IJVLink.h"
#include "settings/TIniGT.h"
#include "store/LocalClock.h"
#include "store/ReadLoop.h"
#include "widgets/UserInteraction.h"

#include <filesystem>
#include <functional>
#include <memory>

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QDateEdit;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTimer;
class QToolButton;

namespace widgets {
class TLabel3Dj;
}

namespace acquisition {

// What the window is given beside the JV-Link instance, the data root and the user
// interaction.
struct TGetDataFormOptions {
    // The settings file; empty: the program's own (the program file's name with ".ini").
    std::filesystem::path settingsFile{};
    // "now" for the default start time and the read loop's date cut; empty: the system clock.
    store::TLocalClock clock{};
    // How the read loop writes the store; without a follower of its own, the store's index
    // follows the runs.
    store::TReadLoopOptions loop{};
    // The main window's hidden "リスト作成" button: pressed when the window closes.
    std::function<void()> rebuildDateList{};
};

class TGetDataForm : public QDialog, private IGetDataView {
    Q_OBJECT

public:
    // Creates the window (FormCreate): the controls, the settings component, and the start
    // time read from the settings file into the picker.
    TGetDataForm(jvlink::IJVLink& link, std::filesystem::path dataRoot,
                 widgets::IUserInteraction& ui, TGetDataFormOptions options = {},
                 QWidget* parent = nullptr);
    ~TGetDataForm() override;

    // The event handlers, named after their controls.
    void ButtonStartClick();
    void ButtonCancelClick();
    void SpeedButton1Click();
    void TimerJVStatusTimer();

    // The run as the control sees it.
    const TGetDataControl& Control() const { return *control_; }
    // The settings component of the window.
    const settings::TIniGT& IniGT1() const { return iniGT1_; }

    // Every close (the title bar, Escape, code) asks FormCloseQuery first.
    void done(int result) override;

signals:
    // The progress text changed to text (each text of a run, in order).
    void ProgressTextShown(const QString& text);

private:
    void CreateControls();
    void DateTimePicker1Change();
    void CheckBoxSetupClick();
    // Adds the made-files lines held back since the last time to ListBox1 at once.
    void ShowPendingLines();

    // IGetDataView
    void ProgressText(const std::string& text) override;
    void DownloadBarMax(int max) override;
    void DownloadBar(int position) override;
    void ReadingBarMax(int max) override;
    void ReadingBar(int position) override;
    void ClearMadeFiles() override;
    void MadeFile(const std::string& line) override;
    void ShowStartTime(const store::TLocalDateTime& time) override;
    void ShowSetup(bool offered, bool chosen) override;
    void StartStatusTimer() override;
    void StopStatusTimer() override;
    void BusyPointer(bool busy) override;
    void RunningChanged(bool running) override;
    void RebuildDateList() override;
    void CloseLater() override;

    std::function<void()> rebuildDateList_;
    settings::TIniGT iniGT1_;
    // Keeps the store's index up to date with what each run writes; outlives the control.
    std::unique_ptr<archive::TIndexFollower> indexFollower_;
    std::unique_ptr<TGetDataControl> control_;

    QPushButton* ButtonStart = nullptr;
    QPushButton* ButtonCancel = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    widgets::TLabel3Dj* ProgressLabel = nullptr;
    QLabel* Label1 = nullptr; // "ダウンロード"
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* Label2 = nullptr; // "読込み"
    QProgressBar* ProgressBar2 = nullptr;
    QLabel* Label3 = nullptr; // "作成済みデータ"
    QListWidget* ListBox1 = nullptr;
    QLabel* Label4 = nullptr; // "取得開始日付"
    QDateEdit* DateTimePicker1 = nullptr;
    QCheckBox* CheckBoxSetup = nullptr; // the setup proposal: its choice
    QLabel* LabelSetup = nullptr;       // and why
    QTimer* TimerJVStatus = nullptr;

    // Made-files lines not yet in ListBox1. The list takes them in batches (at every progress
    // text, at the end of a run and at least every kListRefreshMs): a list view that gets a
    // line for every record lays itself out anew each time and paints nothing while a run
    // goes on.
    QStringList pendingLines_;
    QTimer* listRefresh_ = nullptr;
};

// The command "ＪＶデータ取得(&J)": creates the acquisition window over parent, shows it modally
// and returns once it has closed (having pressed options.rebuildDateList); the window frees
// itself.
void ShowGetDataForm(jvlink::IJVLink& link, std::filesystem::path dataRoot,
                     widgets::IUserInteraction& ui, TGetDataFormOptions options, QWidget* parent);

} // namespace acquisition
