#include "acquisition/HeadlessAcquisition.h"

#include "acquisition/AcquisitionTimes.h"
#include "files/ProgramFolder.h"
#include "files/WholeFile.h"
#include "jvdata/SjisText.h"
#include "jvlink/JVResultMessage.h"
#include "store/StoreLock.h"

#include <thread>

namespace acquisition {

namespace {

// The run between JVOpen and its end, kept together so every way out closes the same way.
class TRun {
public:
    TRun(jvlink::IJVLink& link, const TAcquisitionRequest& request, const store::TLocalClock& clock,
         const std::atomic<bool>& cancel, IAcquisitionSink& sink)
        : link_(link), request_(request), clock_(clock), cancel_(cancel), sink_(sink) {}

    TAcquisitionResult Run() {
        store::TStoreLock lock = store::TStoreLock::Take(request_.root);
        if (!lock.Held()) {
            result_.end = lock.Status() == store::TStoreLockStatus::Busy
                              ? TAcquisitionEnd::StoreBusy
                              : TAcquisitionEnd::LockFailed;
            result_.message = lock.Message();
            sink_.Beep();
            sink_.ErrorBox(result_.message);
            return std::move(result_);
        }
        result_.staleTemporaries = store::RemoveStoreTemporaries(request_.root);
        try {
            RunOpened();
        } catch (const jvlink::JVLinkCallError& error) {
            result_.end = TAcquisitionEnd::CallError;
            result_.message = Sjis::FromUtf8(error.what());
            sink_.Beep();
            sink_.ErrorBox(result_.message);
            if (opened_ && !result_.closed) {
                try {
                    Close();
                } catch (const jvlink::JVLinkCallError&) {
                    // Already reported the first failure; the component is gone.
                }
            }
        }
        return std::move(result_);
    }

private:
    void RunOpened() {
        const std::int32_t opened =
            link_.JVOpen(request_.dataspec, request_.fromTime, request_.option, result_.readCount,
                         result_.downloadCount, result_.lastFileTimestamp);
        opened_ = true;
        if (opened == -1 || (opened == 0 && result_.readCount <= 0)) {
            result_.end = TAcquisitionEnd::NoNewData;
            sink_.Beep();
            sink_.InformationBox(NoNewDataText());
            Close();
            return;
        }
        if (opened != 0) {
            Fail(TAcquisitionEnd::OpenError, opened, KeibaFunc::JVErrorText("JVOpen", opened));
            Close();
            return;
        }
        sink_.ProgressText(OpenedText());
        sink_.ProgressText(CountsText(result_.readCount, result_.downloadCount));

        if (result_.downloadCount > 0) {
            sink_.ProgressText(DownloadStartText());
            sink_.DownloadBarMax(result_.downloadCount);
            if (!Fetch()) {
                return;
            }
        } else {
            sink_.DownloadBarMax(100);
            sink_.DownloadBar(100);
        }

        result_.loopRan = true;
        result_.loop = store::RunReadLoop(link_, result_.readCount, clock_, request_.root, cancel_,
                                          sink_, request_.loop);
        switch (result_.loop.end) {
        case store::TReadLoopEnd::Completed:
            result_.end = TAcquisitionEnd::Completed;
            if (cancel_.load()) {
                // Interrupted while the last files were written: they were, and the run says
                // it was interrupted rather than done.
                result_.end = TAcquisitionEnd::Cancelled;
                sink_.InformationBox(CancelledText());
                sink_.ProgressText(CancelledText());
            }
            break;
        case store::TReadLoopEnd::Cancelled:
            result_.end = TAcquisitionEnd::Cancelled;
            link_.JVCancel();
            sink_.Beep();
            sink_.InformationBox(CancelledText());
            sink_.ProgressText(CancelledText());
            break;
        case store::TReadLoopEnd::ReadError:
            result_.end = TAcquisitionEnd::ReadError;
            result_.code = result_.loop.code;
            break;
        case store::TReadLoopEnd::StoreError:
            result_.end = TAcquisitionEnd::StoreError;
            break;
        case store::TReadLoopEnd::CallError:
            result_.end = TAcquisitionEnd::CallError;
            break;
        }
        if (result_.end != TAcquisitionEnd::Completed && result_.message.empty()) {
            result_.message = result_.loop.message;
        }
        Close();
        result_.nextStartTime = CompletedLastTime(result_);
    }

    // Polls JVStatus until every file is fetched; false when the run ended meanwhile.
    bool Fetch() {
        const std::int32_t count = result_.downloadCount;
        std::int32_t shown = -1;
        for (;;) {
            sink_.ProcessPendingEvents();
            if (cancel_.load()) {
                // Stopping the fetching ends the acquisition; there is nothing to close.
                result_.end = TAcquisitionEnd::Cancelled;
                link_.JVCancel();
                sink_.Beep();
                sink_.InformationBox(CancelledText());
                sink_.ProgressText(CancelledText());
                return false;
            }
            const std::int32_t fetched = link_.JVStatus();
            if (fetched < 0) {
                Fail(TAcquisitionEnd::StatusError, fetched,
                     KeibaFunc::JVErrorText("JVStatus", fetched));
                Close();
                return false;
            }
            if (fetched <= count && fetched != shown) {
                shown = fetched;
                sink_.ProgressText(DownloadProgressText(fetched, count));
                sink_.DownloadBar(fetched);
            }
            if (fetched == count) {
                return true;
            }
            std::this_thread::sleep_for(request_.pollInterval);
        }
    }

    void Fail(TAcquisitionEnd end, std::int32_t code, std::string message) {
        result_.end = end;
        result_.code = code;
        result_.message = std::move(message);
        sink_.Beep();
        sink_.InformationBox(result_.message);
    }

    // The closing step: JVClose, its error shown; the beep alone when it closed.
    void Close() {
        result_.closed = true;
        result_.closeCode = link_.JVClose();
        sink_.Beep();
        if (result_.closeCode != 0) {
            sink_.InformationBox(KeibaFunc::JVErrorText("JVClose", result_.closeCode));
        }
    }

    jvlink::IJVLink& link_;
    const TAcquisitionRequest& request_;
    const store::TLocalClock& clock_;
    const std::atomic<bool>& cancel_;
    IAcquisitionSink& sink_;
    bool opened_ = false;
    TAcquisitionResult result_;
};

std::string Sj(std::string_view utf8) {
    return Sjis::FromUtf8(utf8);
}

} // namespace

TAcquisitionResult RunAcquisition(jvlink::IJVLink& link, const TAcquisitionRequest& request,
                                  const store::TLocalClock& clock, const std::atomic<bool>& cancel,
                                  IAcquisitionSink& sink) {
    return TRun(link, request, clock, cancel, sink).Run();
}

std::optional<std::string> CompletedLastTime(const TAcquisitionResult& run) {
    if (run.end != TAcquisitionEnd::Completed || !run.loopRan || !run.loop.Completed() ||
        run.loop.refused.Total() != 0 || run.loop.lost != 0) {
        return std::nullopt;
    }
    return LastTimeOfTimestamp(run.lastFileTimestamp);
}

std::optional<std::string> SettingsReadFailure(const std::filesystem::path& file) {
    const files::FileReadResult read = files::ReadWholeFile(file, files::kSettingsReadBound);
    if (read.status != files::FileReadStatus::Failed) {
        return std::nullopt;
    }
    return Sj("設定ファイルを読み込めません:") + files::TextFromPath(file) + " (" +
           files::SystemErrorText(read.error) + ")";
}

std::string NoNewDataText() {
    static const std::string text = Sj("最新のデータがありません。");
    return text;
}

std::string OpenedText() {
    return "JVOpen" + Sj("正常:") + KeibaFunc::JVResultMessage("JVOpen", 0);
}

std::string CountsText(std::int32_t read, std::int32_t download) {
    return "ReadCount:" + std::to_string(read) + ", DownloadCount:" + std::to_string(download);
}

std::string DownloadStartText() {
    static const std::string text = Sj("ダウンロード中・・・");
    return text;
}

std::string DownloadProgressText(std::int32_t fetched, std::int32_t download) {
    static const std::string prefix = Sj("ダウンロード中．．．(");
    return prefix + std::to_string(fetched) + "/" + std::to_string(download) + ")";
}

std::string CancelledText() {
    static const std::string text = Sj("JVCancel:キャンセルされました");
    return text;
}

} // namespace acquisition
