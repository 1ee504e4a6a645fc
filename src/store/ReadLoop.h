// The read loop of an acquisition: after a successful JVOpen (and any fetching), it reads every
// record JV-Link delivers, routes it into the store and reports its progress to the window
// through a sink. It knows nothing of widgets: the acquisition window implements the sink with
// its progress label, its two progress bars, its made-files list and its message boxes, and
// the command-line tool with lines on a terminal.
//
// Per call of JVRead: above 0 one record (routed and stored), -1 the end of one of the read
// count's files, 0 the end of the data, -2 and -3 read again, below -3 an error that ends the
// loop. Pending events are processed once per turn, and a set cancel flag ends the loop before
// the next JVRead. Whatever ends the loop, every record read until then is in the store when
// it returns (the batched writer writes its held files first), and a run that did not reach
// the end of the data is mended by running the same acquisition again.
#pragma once

#include "jvlink/IJVLink.h"
#include "store/LocalClock.h"
#include "store/StoreWriter.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace store {

// What the read loop shows. Every text is CP932.
class IReadLoopSink {
public:
    virtual ~IReadLoopSink() = default;
    // The progress text (the window's ProgressLabel).
    virtual void ProgressText(const std::string& text) = 0;
    // The reading bar's maximum and position.
    virtual void ReadingBarMax(int max) = 0;
    virtual void ReadingBar(int position) = 0;
    // The download bar's position.
    virtual void DownloadBar(int position) = 0;
    // One more line of the made-files list.
    virtual void MadeFile(const std::string& line) = 0;
    // The default beep.
    virtual void Beep() = 0;
    // A modal information box with OK.
    virtual void InformationBox(const std::string& text) = 0;
    // The application's error box, for a store file that cannot be read or written.
    virtual void ErrorBox(const std::string& text) = 0;
    // Lets the window process its pending events (the Cancel button among them).
    virtual void ProcessPendingEvents() = 0;
};

// How the loop runs.
struct TReadLoopOptions {
    TStoreWriteMode mode = TStoreWriteMode::Batched; // the reference writes record by record
    std::size_t memoryBound = kDefaultMemoryBound;   // held bytes that force an early write
    std::int32_t bufferSize = 60000;                 // the buffer size passed to JVRead
    IStoreFollower* follower = nullptr;              // told of the files written, when given
};

// How the loop ended.
enum class TReadLoopEnd {
    Completed,  // JVRead gave 0: everything read and stored
    Cancelled,  // the cancel flag was set
    ReadError,  // JVRead gave a code below -3
    StoreError, // a store file could not be read or written
    CallError,  // the JVRead call itself failed (JVLinkCallError)
};

// Records of the five types that were not stored, by reason.
struct TRefusedCounts {
    std::size_t length = 0;    // wrong length or no CR LF
    std::size_t bytes = 0;     // bytes that are not text
    std::size_t nameField = 0; // a field that names a file holds something a name may not
    std::size_t clash = 0;     // its race-day file holds another racecourse's races (same name)

    std::size_t Total() const noexcept { return length + bytes + nameField + clash; }
};

// What a run of the loop did.
struct TReadLoopResult {
    TReadLoopEnd end = TReadLoopEnd::Completed;
    std::int32_t code = 0;     // JVRead's code for ReadError
    int filesRead = 0;         // ends of files seen (-1 results)
    std::size_t records = 0;   // records read (results above 0)
    std::size_t stored = 0;    // records whose every line reached the disk
    std::size_t lost = 0;      // records taken but not on disk: their file could not be written
    std::size_t dropped = 0;   // records of other types, or that no test takes
    std::size_t slotless = 0;  // SE records without a runner slot (race above 12, horse above 18)
    std::size_t madeFiles = 0; // lines added to the made-files list
    TRefusedCounts refused;    // records refused
    // The files the refused records came from (JV-Data file names) or were kept out of (store
    // file names, for clashes), CP932, sorted, each once.
    std::vector<std::string> refusedFiles;
    std::string message;      // CP932: the error shown for ReadError, StoreError, CallError
    TStoreStatus storeError;  // the first store failure, if any (also after a ReadError)
    std::string followerNote; // CP932: what the follower said, empty when nothing

    bool Completed() const noexcept { return end == TReadLoopEnd::Completed; }
};

// Runs the loop: JVRead on link until the end of the data, an error or cancel, storing under
// root. readCount is JVOpen's count of files; clock gives "now" once, for the date cut.
TReadLoopResult RunReadLoop(jvlink::IJVLink& link, std::int32_t readCount, const TLocalClock& clock,
                            const std::filesystem::path& root, const std::atomic<bool>& cancel,
                            IReadLoopSink& sink, const TReadLoopOptions& options = {});

// ---- Texts (CP932) ------------------------------------------------------------------------

// "データ読込み中．．．(" + k + "/" + r + ")".
std::string ReadingProgressText(int filesRead, std::int32_t readCount);
// "データ読込み完了(" + k + "/" + r + ")".
std::string ReadDoneText(int filesRead, std::int32_t readCount);
// "JVRead EndOfFile :0".
std::string EndOfFileText();
// "データ作成が完了しました。".
std::string CompletedText();
// "JVReadエラー:" + the message for "JVRead" and the code.
std::string ReadErrorText(std::int32_t code);
// The made-files line of a refused record: "保存せず(" + reason + "):" + type + "/" + file,
// with the reason "レコード長不正", "文字コード不正" or "ファイル名不正" and the JV-Data file
// name JVRead gave.
std::string RefusedLine(TRecordFault fault, std::string_view type, std::string_view file);
// The made-files line of a record kept out of a race-day file that holds another racecourse's
// races under the same name: "保存せず(競馬場名重複):" + type + "/" + its race key + "/" + the
// store file's name + " (" + the race key in the file + ")".
std::string ClashLine(std::string_view type, std::string_view key, std::string_view file,
                      std::string_view heldKey);
// The summary after a run that refused records: "保存しなかったレコード:" + n + "件" and one
// line per reason with its count (the clash line "競馬場名重複:" only when there were clashes),
// then, when files are given, "対象ファイル:" and one line per file.
std::string RefusedSummary(const TRefusedCounts& refused,
                           const std::vector<std::string>& files = {});

} // namespace store
