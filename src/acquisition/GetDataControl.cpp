#include "acquisition/GetDataControl.h"

#include "acquisition/AcquisitionTimes.h"
#include "jvdata/SjisText.h"
#include "jvlink/JVResultMessage.h"

#include <utility>

namespace acquisition {

namespace {

// An exception's text as CP932 for the error box; a text that is not UTF-8 is shown as it is.
std::string ErrorText(const std::exception& error) {
    const std::string_view what = error.what();
    if (auto text = Sjis::TryFromUtf8(what)) {
        return *std::move(text);
    }
    return std::string(what);
}

TAcquisitionEnd EndOfLoop(store::TReadLoopEnd end) noexcept {
    switch (end) {
    case store::TReadLoopEnd::Completed:
        return TAcquisitionEnd::Completed;
    case store::TReadLoopEnd::Cancelled:
        return TAcquisitionEnd::Cancelled;
    case store::TReadLoopEnd::ReadError:
        return TAcquisitionEnd::ReadError;
    case store::TReadLoopEnd::StoreError:
        return TAcquisitionEnd::StoreError;
    case store::TReadLoopEnd::CallError:
        break;
    }
    return TAcquisitionEnd::CallError;
}

} // namespace

// ---- Decisions ----------------------------------------------------------------------------

TOpenOutcome ClassifyOpen(std::int32_t result, std::int32_t readCount,
                          std::int32_t downloadCount) noexcept {
    if (result == -1) {
        return TOpenOutcome::NoNewData;
    }
    if (result != 0) {
        return TOpenOutcome::Failed;
    }
    if (readCount <= 0) {
        return TOpenOutcome::NoNewData;
    }
    return downloadCount > 0 ? TOpenOutcome::Fetch : TOpenOutcome::Read;
}

TStatusOutcome ClassifyStatus(std::int32_t fetched, std::int32_t downloadCount) noexcept {
    if (fetched < 0) {
        return TStatusOutcome::Failed;
    }
    if (fetched < downloadCount) {
        return TStatusOutcome::Fetching;
    }
    return fetched == downloadCount ? TStatusOutcome::Fetched : TStatusOutcome::Beyond;
}

store::TLocalDateTime StartTimeOfSetting(std::string_view stored,
                                         const store::TLocalDateTime& now) {
    if (const auto time = ParseLastTime(stored)) {
        return *time;
    }
    return DefaultStartTime(now);
}

std::optional<std::string> NextLastTime(const TAcquisitionResult& run) {
    if (run.downloadCount != 0) {
        return std::nullopt;
    }
    return CompletedLastTime(run);
}

// ---- Texts --------------------------------------------------------------------------------

std::string StartNoticeText() {
    static const std::string text =
        Sjis::FromUtf8("データ取込を開始します。データ作成が終了するまで本ソフトを操作したり"
                       "他のアプリケーションを操作することは極力避けてください。");
    return text;
}

std::string CancelQuestionText() {
    static const std::string text = Sjis::FromUtf8("データ取込を中止します。実行しますか？");
    return text;
}

// ---- The control --------------------------------------------------------------------------

// The read loop's sink: its texts, bars and made-files lines go to the window, its boxes,
// beeps and pending events to the user interaction.
class TGetDataControl::TLoopSink final : public store::IReadLoopSink {
public:
    TLoopSink(IGetDataView& view, widgets::IUserInteraction& ui) : view_(view), ui_(ui) {}

    void ProgressText(const std::string& text) override { view_.ProgressText(text); }
    void ReadingBarMax(int max) override { view_.ReadingBarMax(max); }
    void ReadingBar(int position) override { view_.ReadingBar(position); }
    void DownloadBar(int position) override { view_.DownloadBar(position); }
    void MadeFile(const std::string& line) override { view_.MadeFile(line); }
    void Beep() override { ui_.Beep(); }
    void InformationBox(const std::string& text) override { ui_.Information(text); }
    void ErrorBox(const std::string& text) override { ui_.ErrorBox(text); }
    void ProcessPendingEvents() override { ui_.ProcessEvents(); }

private:
    IGetDataView& view_;
    widgets::IUserInteraction& ui_;
};

// Marks a handler of the control on the stack; the last one to return carries out a close
// that had to wait.
class TGetDataControl::THandler {
public:
    explicit THandler(TGetDataControl& control) : control_(control) { ++control_.handlerDepth_; }
    ~THandler() {
        if (--control_.handlerDepth_ == 0 && control_.closePending_) {
            control_.closePending_ = false;
            control_.view_.CloseLater();
        }
    }
    THandler(const THandler&) = delete;
    THandler& operator=(const THandler&) = delete;

private:
    TGetDataControl& control_;
};

// Holds the status polls while a box or dialog of the window is up: a fetch that completes
// meanwhile would otherwise start the read loop inside that box.
class TGetDataControl::TPollHold {
public:
    explicit TPollHold(TGetDataControl& control) : control_(control) { ++control_.pollHolds_; }
    ~TPollHold() { --control_.pollHolds_; }
    TPollHold(const TPollHold&) = delete;
    TPollHold& operator=(const TPollHold&) = delete;

private:
    TGetDataControl& control_;
};

TGetDataControl::TGetDataControl(TGetDataContext context, IGetDataView& view)
    : context_(std::move(context)), view_(view) {}

TGetDataControl::~TGetDataControl() = default;

store::TLocalDateTime TGetDataControl::Now() const {
    return context_.clock ? context_.clock() : store::LocalNow();
}

void TGetDataControl::FormCreate() {
    const store::TLocalDateTime now = Now();
    const std::string stored = context_.settings.ReadText(kLastTimeSection, kLastTimeKey,
                                                          LastTimeText(DefaultStartTime(now)));
    startTime_ = StartTimeOfSetting(stored, now);
    ordinaryStart_ = startTime_;
    OfferSetup(StoreIsEmpty(context_.root));
    view_.ShowStartTime(startTime_);
}

void TGetDataControl::OfferSetup(bool offered) {
    setupOffered_ = offered;
    setup_ = offered;
    if (offered) {
        startTime_ = SetupStartTime(Now());
    }
    view_.ShowSetup(setupOffered_, setup_);
}

void TGetDataControl::SetSetup(bool chosen) {
    if (Running() || !setupOffered_ || chosen == setup_) {
        return;
    }
    setup_ = chosen;
    if (chosen) {
        ordinaryStart_ = startTime_;
        startTime_ = SetupStartTime(Now());
    } else {
        startTime_ = ordinaryStart_;
    }
    view_.ShowSetup(setupOffered_, setup_);
    view_.ShowStartTime(startTime_);
}

void TGetDataControl::SetStartDate(int year, int month, int day) {
    store::TLocalDateTime time = startTime_;
    time.year = year;
    time.month = month;
    time.day = day;
    if (store::IsValidDateTime(time)) {
        startTime_ = time;
    }
}

void TGetDataControl::SetState(TGetDataState state) {
    const bool wasRunning = Running();
    state_ = state;
    if (wasRunning != Running()) {
        view_.RunningChanged(Running());
    }
}

bool TGetDataControl::ButtonStartClick() {
    if (Running()) {
        return false; // one acquisition at a time
    }
    THandler handler(*this);
    run_ = TAcquisitionResult{};
    setupRun_ = setup_;
    opened_ = false;
    shownFetched_ = -1;
    SetState(TGetDataState::Opening);
    try {
        RunStart();
    } catch (const std::exception& error) {
        Unexpected(error);
    }
    return true;
}

void TGetDataControl::RunStart() {
    if (const auto failure = SettingsReadFailure(context_.settings.FilePath())) {
        run_.end = TAcquisitionEnd::SettingsUnreadable;
        Fail(TAcquisitionEnd::SettingsUnreadable, 0, *failure);
        EndRun();
        return;
    }
    lock_ = store::TStoreLock::Take(context_.root);
    if (!lock_.Held()) {
        Fail(lock_.Status() == store::TStoreLockStatus::Busy ? TAcquisitionEnd::StoreBusy
                                                             : TAcquisitionEnd::LockFailed,
             0, lock_.Message());
        EndRun();
        return;
    }
    run_.staleTemporaries = store::RemoveStoreTemporaries(context_.root);
    context_.ui.Information(StartNoticeText());
    view_.StopStatusTimer();
    cancel_.store(false);
    view_.DownloadBar(0);
    view_.ReadingBar(0);
    view_.ClearMadeFiles();
    const std::string fromTime = FromTimeText(startTime_);
    view_.BusyPointer(true);

    const std::int32_t opened =
        context_.link.JVOpen(std::string(setupRun_ ? kSetupDataSpec : kGetDataSpec), fromTime,
                             setupRun_ ? kSetupOption : kGetDataOption, run_.readCount,
                             run_.downloadCount, run_.lastFileTimestamp);
    opened_ = true;
    const TOpenOutcome outcome = ClassifyOpen(opened, run_.readCount, run_.downloadCount);
    switch (outcome) {
    case TOpenOutcome::NoNewData:
        SetState(TGetDataState::Closing);
        run_.end = TAcquisitionEnd::NoNewData;
        run_.code = opened;
        widgets::BeepAndInform(context_.ui, NoNewDataText());
        CloseStep();
        EndRun();
        return;
    case TOpenOutcome::Failed:
        SetState(TGetDataState::Closing);
        Fail(TAcquisitionEnd::OpenError, opened, KeibaFunc::JVErrorText("JVOpen", opened));
        CloseStep();
        EndRun();
        return;
    case TOpenOutcome::Fetch:
    case TOpenOutcome::Read:
        break;
    }

    view_.ProgressText(OpenedText());
    view_.ProgressText(CountsText(run_.readCount, run_.downloadCount));
    if (outcome == TOpenOutcome::Fetch) {
        view_.ProgressText(DownloadStartText());
        view_.DownloadBarMax(run_.downloadCount);
        SetState(TGetDataState::Fetching);
        view_.StartStatusTimer(); // Start returns; the timer carries on
        return;
    }
    // Nothing to fetch: the download bar shows full while the files are read.
    view_.DownloadBarMax(100);
    view_.DownloadBar(100);
    ReadAndClose(true);
}

void TGetDataControl::TimerJVStatusTimer() {
    if (state_ != TGetDataState::Fetching || pollHolds_ > 0) {
        return; // a tick left over after the fetching ended, or a box is up
    }
    THandler handler(*this);
    try {
        PollStatus();
    } catch (const std::exception& error) {
        Unexpected(error);
    }
}

void TGetDataControl::PollStatus() {
    const std::int32_t fetched = context_.link.JVStatus();
    const std::int32_t count = run_.downloadCount;
    switch (ClassifyStatus(fetched, count)) {
    case TStatusOutcome::Failed:
        view_.StopStatusTimer();
        SetState(TGetDataState::Closing);
        Fail(TAcquisitionEnd::StatusError, fetched, KeibaFunc::JVErrorText("JVStatus", fetched));
        CloseStep();
        EndRun();
        return;
    case TStatusOutcome::Fetching:
        if (fetched != shownFetched_) {
            shownFetched_ = fetched;
            view_.ProgressText(DownloadProgressText(fetched, count));
            view_.DownloadBar(fetched);
        }
        return;
    case TStatusOutcome::Fetched:
        view_.StopStatusTimer();
        shownFetched_ = fetched;
        view_.ProgressText(DownloadProgressText(fetched, count));
        view_.DownloadBar(fetched);
        // After a fetch the start time stays: the next run asks from the same time. A setup
        // always fetches; once complete, the ordinary acquisition goes on from its end.
        ReadAndClose(setupRun_);
        return;
    case TStatusOutcome::Beyond:
        return;
    }
}

void TGetDataControl::ReadAndClose(bool mayMoveStartTime) {
    SetState(TGetDataState::Reading);
    run_.loopRan = true;
    TLoopSink sink(view_, context_.ui);
    run_.loop = store::RunReadLoop(context_.link, run_.readCount, context_.clock, context_.root,
                                   cancel_, sink, context_.loop);
    run_.end = EndOfLoop(run_.loop.end);
    if (run_.end == TAcquisitionEnd::ReadError) {
        run_.code = run_.loop.code;
    }
    if (run_.end != TAcquisitionEnd::Completed) {
        run_.message = run_.loop.message;
    }
    CloseStep();
    if (mayMoveStartTime) {
        run_.nextStartTime = setupRun_ ? CompletedLastTime(run_) : NextLastTime(run_);
        if (run_.nextStartTime) {
            MoveStartTime(*run_.nextStartTime);
        }
    }
    if (setupRun_ && run_.end == TAcquisitionEnd::Completed) {
        // The store holds the setup's data now: the next run is an ordinary one from the
        // start time the setup left (or the one it began from).
        ordinaryStart_ = startTime_;
        OfferSetup(false);
    }
    EndRun();
}

void TGetDataControl::CloseStep() {
    SetState(TGetDataState::Closing);
    run_.closed = true;
    run_.closeCode = context_.link.JVClose();
    view_.BusyPointer(false);
    if (run_.closeCode != 0) {
        widgets::BeepAndInform(context_.ui, KeibaFunc::JVErrorText("JVClose", run_.closeCode));
    } else {
        context_.ui.Beep();
    }
}

void TGetDataControl::MoveStartTime(const std::string& lastTime) {
    if (const auto time = ParseLastTime(lastTime)) {
        startTime_ = *time;
        view_.ShowStartTime(startTime_);
    }
    const settings::TIniGTStatus written =
        context_.settings.WriteText(kLastTimeSection, kLastTimeKey, lastTime);
    if (!written) {
        context_.ui.ErrorBox(written.message);
    }
}

void TGetDataControl::EndRun() {
    lock_.Release();
    opened_ = false;
    view_.BusyPointer(false);
    SetState(TGetDataState::Idle);
}

void TGetDataControl::Fail(TAcquisitionEnd end, std::int32_t code, std::string message) {
    run_.end = end;
    run_.code = code;
    run_.message = std::move(message);
    widgets::BeepAndInform(context_.ui, run_.message);
}

void TGetDataControl::Unexpected(const std::exception& error) {
    view_.StopStatusTimer();
    run_.end = dynamic_cast<const jvlink::JVLinkCallError*>(&error) != nullptr
                   ? TAcquisitionEnd::CallError
                   : TAcquisitionEnd::StoreError;
    run_.message = ErrorText(error);
    context_.ui.ErrorBox(run_.message);
    if (opened_ && !run_.closed) {
        run_.closed = true;
        try {
            run_.closeCode = context_.link.JVClose();
        } catch (const std::exception&) {
            // The first failure is the one shown; the component is out of reach.
        }
    }
    EndRun();
}

void TGetDataControl::ButtonCancelClick() {
    try {
        bool yes = false;
        {
            TPollHold hold(*this);
            yes = context_.ui.Confirm(CancelQuestionText());
        }
        if (yes) {
            CancelRun();
        }
    } catch (const std::exception& error) {
        context_.ui.ErrorBox(ErrorText(error));
    }
}

void TGetDataControl::CancelRun() {
    view_.StopStatusTimer();
    try {
        context_.link.JVCancel();
    } catch (const jvlink::JVLinkCallError& error) {
        context_.ui.ErrorBox(ErrorText(error));
    }
    cancel_.store(true);
    widgets::BeepAndInform(context_.ui, CancelledText());
    view_.ProgressText(CancelledText());
    if (state_ == TGetDataState::Fetching) {
        // JVCancel ended the acquisition while files were fetched: there is nothing to close.
        run_.end = TAcquisitionEnd::Cancelled;
        EndRun();
    }
    // While reading, the loop stops at its next turn and its caller runs the closing step.
}

void TGetDataControl::SpeedButton1Click() {
    try {
        std::int32_t result = 0;
        {
            TPollHold hold(*this);
            result = context_.link.JVSetUIProperties();
        }
        if (result != 0) {
            widgets::BeepAndInform(context_.ui,
                                   KeibaFunc::JVErrorText("JVSetUIProperties", result));
        }
    } catch (const std::exception& error) {
        context_.ui.ErrorBox(ErrorText(error));
    }
}

bool TGetDataControl::FormCloseQuery() {
    if (state_ == TGetDataState::Opening || state_ == TGetDataState::Closing) {
        closePending_ = true; // a box of the run is up: close once the run has ended
        return false;
    }
    if (state_ == TGetDataState::Reading && cancel_.load()) {
        closePending_ = true; // already cancelled: the loop stops at its next turn
        return false;
    }
    if (Running()) {
        bool yes = false;
        try {
            TPollHold hold(*this);
            yes = context_.ui.Confirm(CancelQuestionText());
        } catch (const std::exception& error) {
            context_.ui.ErrorBox(ErrorText(error));
        }
        if (!yes) {
            return false;
        }
        CancelRun();
    }
    if (Running() || handlerDepth_ > 0) {
        closePending_ = true; // the read loop stops first and JV-Link is closed
        return false;
    }
    view_.RebuildDateList();
    return true;
}

void TGetDataControl::Abandon() {
    if (state_ != TGetDataState::Fetching && state_ != TGetDataState::Reading) {
        return;
    }
    cancel_.store(true);
    try {
        context_.link.JVCancel();
    } catch (const std::exception&) {
        // Going away: nobody is left to tell.
    }
    if (state_ == TGetDataState::Fetching) {
        state_ = TGetDataState::Idle;
        opened_ = false;
        lock_.Release();
    }
}

} // namespace acquisition
