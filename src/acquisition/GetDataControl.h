// The acquisition window's behaviour without its widgets: Start, the status timer's polls,
// Cancel, the component's settings dialog and the closing of the window, with the start time
// kept in the settings file ("JvDataGet" / "LastTime").
//
// A run goes: the notice box, JVOpen for "RACERCVN" from the start time with option 2, then
// either the status timer follows the fetching of files on the download bar until all are
// there, or (nothing to fetch) the download bar shows full; then the read loop stores every
// record, and the closing step (JVClose) ends the run. Every failure is shown with the
// operation's prefix and the component's message after the default beep. The window shows
// what the control asks through IGetDataView and talks to the user through IUserInteraction,
// so the whole road runs in tests with a scripted user.
//
// While the store is empty the window proposes a setup acquisition instead (SetupAcquisition.h):
// its check box is ticked, the picker shows a year back and a sentence says why; the user may
// change the date or untick the box, which brings back the ordinary start time. A setup asks
// for "RACEDIFN" with the setup option, and one that read and stored everything moves the start
// time to its last file timestamp even though its files were fetched first, so the ordinary
// acquisition goes on from there instead of a year back.
//
// One run at a time: Start is refused while a run is under way, and a store that another
// acquisition (the command-line tool) is filling is left alone: Start takes the store's lock
// before JVOpen and holds it to the end of the run. A settings file that is there but cannot be
// read stops Start before JVOpen too, with a message naming the file. Closing the window during a
// run asks first, then cancels the run as Cancel does; while the read loop is running the
// window stays until the loop has stopped and JV-Link is closed, and then closes.
#pragma once

#include "acquisition/HeadlessAcquisition.h"
#include "acquisition/SetupAcquisition.h"
#include "jvlink/IJVLink.h"
#include "settings/TIniGT.h"
#include "store/LocalClock.h"
#include "store/ReadLoop.h"
#include "store/StoreLock.h"
#include "widgets/UserInteraction.h"

#include <atomic>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace acquisition {

// The data the window asks for, and JVOpen's option for it (this week's data with the
// accumulated race data).
inline constexpr std::string_view kGetDataSpec = "RACERCVN";
inline constexpr std::int32_t kGetDataOption = 2;

// What the window shows of a run. Texts are CP932.
class IGetDataView {
public:
    virtual ~IGetDataView() = default;
    virtual void ProgressText(const std::string& text) = 0; // ProgressLabel
    virtual void DownloadBarMax(int max) = 0;               // ProgressBar1
    virtual void DownloadBar(int position) = 0;
    virtual void ReadingBarMax(int max) = 0; // ProgressBar2
    virtual void ReadingBar(int position) = 0;
    virtual void ClearMadeFiles() = 0;                  // ListBox1 emptied
    virtual void MadeFile(const std::string& line) = 0; // one more ListBox1 line
    // The start-date picker (DateTimePicker1) shows this start time.
    virtual void ShowStartTime(const store::TLocalDateTime& time) = 0;
    // The setup proposal: the check box and its sentence are shown when offered, the box
    // ticked when the setup is chosen.
    virtual void ShowSetup(bool offered, bool chosen) = 0;
    // The 10 ms status timer (TimerJVStatus).
    virtual void StartStatusTimer() = 0;
    virtual void StopStatusTimer() = 0;
    // The busy-with-background-work pointer over the window, or the normal one.
    virtual void BusyPointer(bool busy) = 0;
    // A run began or ended (the window refuses Start while one is under way).
    virtual void RunningChanged(bool running) = 0;
    // Presses the main window's hidden "リスト作成" button: the date list is built anew.
    virtual void RebuildDateList() = 0;
    // Asks the window to close again once the handler now running has returned: a close
    // that had to wait for the read loop to stop.
    virtual void CloseLater() = 0;
};

// Where a run stands.
enum class TGetDataState {
    Idle,     // no run
    Opening,  // Start: the notice and JVOpen
    Fetching, // the status timer follows the fetching of files
    Reading,  // the read loop runs
    Closing,  // the closing step and what follows it
};

// ---- Decisions ----------------------------------------------------------------------------

// What JVOpen's result means for the run.
enum class TOpenOutcome {
    NoNewData, // -1, or 0 with nothing to read: "最新のデータがありません。"
    Failed,    // any other non-zero result: "JVOpenエラー:"
    Fetch,     // opened with files to fetch first: the status timer runs
    Read,      // opened with every file at hand: the read loop runs at once
};
TOpenOutcome ClassifyOpen(std::int32_t result, std::int32_t readCount,
                          std::int32_t downloadCount) noexcept;

// What one JVStatus poll means while files are fetched.
enum class TStatusOutcome {
    Failed,   // below 0: "JVStatusエラー:"
    Fetching, // below the download count: progress shown, the timer goes on
    Fetched,  // the download count reached: the timer stops and the read loop runs
    Beyond,   // above the download count: nothing, the timer goes on
};
TStatusOutcome ClassifyStatus(std::int32_t fetched, std::int32_t downloadCount) noexcept;

// The start time the window opens with: the stored "LastTime" text when it is a real date and
// time, otherwise (missing or unreadable) the present time less 8 days.
store::TLocalDateTime StartTimeOfSetting(std::string_view stored, const store::TLocalDateTime& now);

// The "LastTime" a finished run leaves for the next one ("yyyy/mm/dd hh:nn:ss"), or nothing
// when the start time stays. Only a run that had nothing to fetch moves it, and only when its
// reading reached the end of the data with every record stored and its last file timestamp is
// a real date and time (not blank, not "00000000000000"). A run cut short by a cancel or an
// error, or one that refused records or could not write them, leaves the start time where it
// was, so the next run reads the unread or refused files again.
std::optional<std::string> NextLastTime(const TAcquisitionResult& run);

// ---- Texts (CP932) ------------------------------------------------------------------------

// "データ取込を開始します。データ作成が終了するまで本ソフトを操作したり他のアプリケーションを
// 操作することは極力避けてください。"
std::string StartNoticeText();
// "データ取込を中止します。実行しますか？"
std::string CancelQuestionText();

// ---- The control --------------------------------------------------------------------------

// What the control works with, all owned by the window or the main window.
struct TGetDataContext {
    jvlink::IJVLink& link;         // the main window's JV-Link instance
    widgets::IUserInteraction& ui; // boxes, beeps, pending events
    settings::TIniGT& settings;    // the window's settings component (IniGT1)
    std::filesystem::path root;    // the data root folder of the store
    store::TLocalClock clock;      // "now"; empty: the system clock
    store::TReadLoopOptions loop;  // how the read loop writes
};

class TGetDataControl {
public:
    TGetDataControl(TGetDataContext context, IGetDataView& view);
    ~TGetDataControl();
    TGetDataControl(const TGetDataControl&) = delete;
    TGetDataControl& operator=(const TGetDataControl&) = delete;

    // Window creation (FormCreate): the start time from "JvDataGet" / "LastTime" into the
    // picker.
    void FormCreate();

    // "データ取込み開始" (ButtonStartClick). False, doing nothing, while a run is under way.
    bool ButtonStartClick();
    // One tick of the status timer (TimerJVStatusTimer); ignored unless files are fetched.
    void TimerJVStatusTimer();
    // "データ取込み中止" (ButtonCancelClick).
    void ButtonCancelClick();
    // "JVLink設定" (SpeedButton1Click): the component's settings dialog.
    void SpeedButton1Click();
    // The window is asked to close (FormCloseQuery): true when it may close now, after the
    // date list has been rebuilt. During a run the user is asked first; No keeps the window
    // and the run. Yes cancels the run; when the read loop must stop first the answer is
    // false and the window is asked to close again (CloseLater) once JV-Link is closed.
    bool FormCloseQuery();
    // The window goes away without asking (its owner is destroyed): a run under way is
    // stopped without boxes and JV-Link closed.
    void Abandon();

    // The user chose another date in the picker; the time of day stays.
    void SetStartDate(int year, int month, int day);
    // The setup check box was ticked or unticked: the picker goes to a year back, or back to
    // the ordinary start time. Ignored while a run is under way or when no setup is offered.
    void SetSetup(bool chosen);
    bool SetupOffered() const noexcept { return setupOffered_; }
    bool SetupChosen() const noexcept { return setup_; }
    const store::TLocalDateTime& StartTime() const noexcept { return startTime_; }

    TGetDataState State() const noexcept { return state_; }
    bool Running() const noexcept { return state_ != TGetDataState::Idle; }
    // What the last run did (its JVOpen values, how it ended, the read loop's result).
    const TAcquisitionResult& LastRun() const noexcept { return run_; }

private:
    class TLoopSink;
    class THandler;
    class TPollHold;

    void RunStart();
    void PollStatus();
    void ReadAndClose(bool mayMoveStartTime);
    void CloseStep();
    void CancelRun();
    void EndRun();
    void SetState(TGetDataState state);
    void Fail(TAcquisitionEnd end, std::int32_t code, std::string message);
    void Unexpected(const std::exception& error);
    void MoveStartTime(const std::string& lastTime);
    store::TLocalDateTime Now() const;

    void OfferSetup(bool offered);

    TGetDataContext context_;
    IGetDataView& view_;
    store::TLocalDateTime startTime_;
    store::TLocalDateTime ordinaryStart_; // the start time when no setup is chosen
    bool setupOffered_ = false;           // the store was empty: a setup is proposed
    bool setup_ = false;                  // the setup is chosen
    bool setupRun_ = false;               // the run under way (or the last one) is a setup
    TGetDataState state_ = TGetDataState::Idle;
    std::atomic<bool> cancel_{false}; // the cancel flag: set by Cancel, cleared by Start
    TAcquisitionResult run_;
    bool opened_ = false;            // JVOpen was called in this run
    std::int32_t shownFetched_ = -1; // the fetched count last shown
    int handlerDepth_ = 0;           // handlers of the control on the stack
    int pollHolds_ = 0;              // boxes or dialogs up during which the status polls wait
    bool closePending_ = false;      // a close waits for the handlers to return
    store::TStoreLock lock_;         // the store's lock, held from Start to the end of the run
};

} // namespace acquisition
