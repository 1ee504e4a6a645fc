// One acquisition without a window, for the command-line tool and for tests: JVOpen, the
// status polling while files are fetched, the read loop into the store, and JVClose, with the
// texts and messages of the acquisition window sent to a sink.
//
// The road is the window's: JVOpen -1 (or 0 with nothing to read) is "最新のデータがありません。",
// another non-zero result "JVOpenエラー:" and its message; with files to fetch, JVStatus is
// polled until all are there ("ダウンロード中．．．(n/d)"), a negative status ends the run with
// "JVStatusエラー:"; then the read loop runs and JV-Link is closed ("JVCloseエラー:" when that
// fails). A set cancel flag stops the fetching (JVCancel, no JVClose) or the reading (JVCancel,
// then JVClose). The next start time is offered only when the reading reached the end of the
// data with every record stored, so a run that was cut short, or that refused records or could
// not write them, is read again from the same start the next time.
//
// Before JVOpen the run takes the store's lock (store::TStoreLock) and keeps it to the end: a
// store another acquisition is using is left alone ("他のデータ取込みが…", StoreBusy), without
// calling JV-Link. With the lock held, the temporaries of killed runs are cleared away. A cancel
// that comes while the last files are written lets the writing finish (everything read is then
// stored) and ends the run as cancelled.
#pragma once

#include "jvlink/IJVLink.h"
#include "store/LocalClock.h"
#include "store/ReadLoop.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace acquisition {

// The read loop's sink and the download bar's maximum.
class IAcquisitionSink : public store::IReadLoopSink {
public:
    virtual void DownloadBarMax(int max) = 0;
};

// What to acquire.
struct TAcquisitionRequest {
    std::string dataspec = "RACERCVN";          // data identifiers
    std::string fromTime;                       // "yyyymmddhhnnss"
    std::int32_t option = 2;                    // JVOpen option
    std::filesystem::path root;                 // the data root of the store
    store::TReadLoopOptions loop;               // how the read loop writes
    std::chrono::milliseconds pollInterval{10}; // JVStatus polling while files are fetched
};

// How the acquisition ended.
enum class TAcquisitionEnd {
    Completed,          // everything read and stored
    NoNewData,          // JVOpen -1, or 0 with a read count of 0
    OpenError,          // JVOpen failed
    StatusError,        // JVStatus failed while files were fetched
    Cancelled,          // the cancel flag was set
    ReadError,          // JVRead failed
    StoreError,         // a store file could not be read or written
    CallError,          // a JV-Link call itself failed (JVLinkCallError)
    StoreBusy,          // another acquisition holds the store's lock: nothing was done
    LockFailed,         // the store's lock file cannot be made or locked: nothing was done
    SettingsUnreadable, // the settings file is there but cannot be read: nothing was done
};

// What the acquisition did.
struct TAcquisitionResult {
    TAcquisitionEnd end = TAcquisitionEnd::Completed;
    std::int32_t code = 0;          // the failing JVOpen, JVStatus or JVRead code
    std::int32_t readCount = 0;     // from JVOpen
    std::int32_t downloadCount = 0; // from JVOpen
    std::string lastFileTimestamp;  // from JVOpen
    bool closed = false;            // JVClose was called
    std::int32_t closeCode = 0;     // what it gave
    bool loopRan = false;           // the read loop ran; loop holds its result
    store::TReadLoopResult loop;
    std::size_t staleTemporaries = 0; // temporaries of killed runs removed at the start
    std::string message;              // CP932: the failure shown, empty for Completed
    // "yyyy/mm/dd hh:nn:ss" for "JvDataGet" / "LastTime": only after a completed run whose last
    // file timestamp was neither blank nor zeros.
    std::optional<std::string> nextStartTime;

    // Completed and closed without error.
    bool Succeeded() const noexcept {
        return (end == TAcquisitionEnd::Completed || end == TAcquisitionEnd::NoNewData) &&
               closeCode == 0;
    }
};

// Runs one acquisition on an initialised JV-Link.
TAcquisitionResult RunAcquisition(jvlink::IJVLink& link, const TAcquisitionRequest& request,
                                  const store::TLocalClock& clock, const std::atomic<bool>& cancel,
                                  IAcquisitionSink& sink);

// The next "LastTime" of a run ("yyyy/mm/dd hh:nn:ss"): only when its reading reached the end
// of the data, no record was refused or lost, and the last file timestamp is a real date and
// time. One rule for the window and the command line.
std::optional<std::string> CompletedLastTime(const TAcquisitionResult& run);

// The failure of a settings file that is there but cannot be read (no permission, a folder, a
// FIFO, far too large): "設定ファイルを読み込めません:" + path + " (" + reason + ")". Nothing when
// it reads, or is missing (then the defaults hold). An acquisition stops on it before JVOpen: its
// start time would otherwise silently be the default, 8 days back.
std::optional<std::string> SettingsReadFailure(const std::filesystem::path& file);

// ---- Texts (CP932) ------------------------------------------------------------------------

std::string NoNewDataText(); // "最新のデータがありません。"
std::string OpenedText();    // "JVOpen正常:" + message of 0
std::string CountsText(std::int32_t read, std::int32_t download); // "ReadCount:r, DownloadCount:d"
std::string DownloadStartText(); // "ダウンロード中・・・"
std::string DownloadProgressText(std::int32_t fetched,
                                 std::int32_t download); // "ダウンロード中．．．(n/d)"
std::string CancelledText(); // "JVCancel:キャンセルされました"

} // namespace acquisition
