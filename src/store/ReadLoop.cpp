#include "store/ReadLoop.h"

#include "jvdata/SjisText.h"
#include "jvlink/JVResultMessage.h"
#include "store/RecordRouting.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <set>
#include <thread>

namespace store {

namespace {

std::string_view FaultReason(TRecordFault fault) {
    static const std::string length = Sjis::FromUtf8("レコード長不正");
    static const std::string bytes = Sjis::FromUtf8("文字コード不正");
    static const std::string name = Sjis::FromUtf8("ファイル名不正");
    switch (fault) {
    case TRecordFault::Length:
        return length;
    case TRecordFault::Bytes:
        return bytes;
    case TRecordFault::NameField:
    case TRecordFault::None:
        break;
    }
    return name;
}

const std::string& ClashReason() {
    static const std::string text = Sjis::FromUtf8("競馬場名重複");
    return text;
}

// The loop's state and its ways of ending.
class TReadLoop {
public:
    TReadLoop(jvlink::IJVLink& link, std::int32_t readCount, const std::filesystem::path& root,
              const std::atomic<bool>& cancel, IReadLoopSink& sink, const TReadLoopOptions& options)
        : link_(link), readCount_(readCount), cancel_(cancel), sink_(sink), options_(options),
          writer_(MakeStoreWriter(options.mode, root, options.memoryBound, options.follower)) {}

    TReadLoopResult Run(int dateCut) {
        std::string buffer;
        std::string fileName;
        for (;;) {
            sink_.ProcessPendingEvents();
            if (cancel_.load()) {
                FlushAtEnd();
                return Finish(TReadLoopEnd::Cancelled);
            }
            std::int32_t code = 0;
            try {
                code = link_.JVRead(buffer, options_.bufferSize, fileName);
            } catch (const jvlink::JVLinkCallError& error) {
                FlushAtEnd();
                result_.message = Sjis::FromUtf8(error.what());
                sink_.Beep();
                sink_.ErrorBox(result_.message);
                return Finish(TReadLoopEnd::CallError);
            }

            if (code > 0) {
                // The buffer is the record; the size JVRead gives is not needed.
                if (!Store(buffer, fileName, dateCut)) {
                    FlushAtEnd();
                    return Finish(TReadLoopEnd::StoreError);
                }
            } else if (code == -1) {
                ++result_.filesRead;
                sink_.ReadingBar(result_.filesRead);
                sink_.ProgressText(ReadingProgressText(result_.filesRead, readCount_));
            } else if (code == 0) {
                if (!FlushAtEnd()) {
                    return Finish(TReadLoopEnd::StoreError);
                }
                sink_.ProgressText(EndOfFileText());
                sink_.ProgressText(ReadDoneText(result_.filesRead, readCount_));
                sink_.ReadingBar(0);
                sink_.DownloadBar(0);
                sink_.Beep();
                sink_.InformationBox(CompletedText());
                return Finish(TReadLoopEnd::Completed);
            } else if (code < -3) {
                result_.code = code;
                result_.message = ReadErrorText(code);
                FlushAtEnd();
                sink_.Beep();
                sink_.InformationBox(result_.message);
                return Finish(TReadLoopEnd::ReadError);
            } else if (code == -3) {
                // The next file is still being fetched: give the component a moment.
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            // -2 and -3: read again.
        }
    }

private:
    // Routes and stores one record; false when a store file failed (already reported).
    bool Store(const std::string& record, const std::string& fileName, int dateCut) {
        ++result_.records;
        const TRouting routing = RouteRecord(record, dateCut);
        if (routing.fault != TRecordFault::None) {
            switch (routing.fault) {
            case TRecordFault::Length:
                ++result_.refused.length;
                break;
            case TRecordFault::Bytes:
                ++result_.refused.bytes;
                break;
            default:
                ++result_.refused.nameField;
                break;
            }
            sink_.MadeFile(
                RefusedLine(routing.fault, jvdata::RecordTypeCode(routing.type), fileName));
            ++result_.madeFiles;
            refusedFiles_.push_back(fileName);
            return true;
        }
        if (routing.slotless) {
            ++result_.slotless;
        }
        if (routing.actions.empty()) {
            ++result_.dropped;
            return true;
        }
        // A record goes in whole or not at all: every file is checked before any is touched.
        for (const TStoreAction& action : routing.actions) {
            TStoreStatus status = writer_->Check(action);
            if (!status) {
                Report(std::move(status));
                failedRecord_ = result_.records;
                return false;
            }
            if (status.clashKey) {
                ++result_.refused.clash;
                sink_.MadeFile(ClashLine(jvdata::RecordTypeCode(routing.type),
                                         LineRaceKey(action.line), action.file.name,
                                         *status.clashKey));
                ++result_.madeFiles;
                refusedFiles_.push_back(action.file.name);
                return true;
            }
        }
        for (const TStoreAction& action : routing.actions) {
            TStoreStatus status = writer_->Store(action, result_.records);
            if (!status) {
                failedRecord_ = result_.records;
                Report(std::move(status));
                return false;
            }
            sink_.MadeFile(action.madeFile);
            ++result_.madeFiles;
        }
        ++result_.stored;
        return true;
    }

    // Writes what the writer holds; false when a file failed (reported).
    bool FlushAtEnd() {
        TStoreStatus status = writer_->Flush();
        if (!status) {
            Report(std::move(status));
            return false;
        }
        return true;
    }

    void Report(TStoreStatus status) {
        if (!result_.storeError.ok) {
            return; // the first failure is the one to show
        }
        sink_.Beep();
        sink_.ErrorBox(status.message);
        if (result_.message.empty()) {
            result_.message = status.message;
        }
        result_.storeError = std::move(status);
    }

    TReadLoopResult Finish(TReadLoopEnd end) {
        // A cancelled run whose held files could not all be written failed to store.
        result_.end = end == TReadLoopEnd::Cancelled && !result_.storeError.ok
                          ? TReadLoopEnd::StoreError
                          : end;
        // Counts tell what reached the disk: a record held for a file whose write failed was
        // counted stored when it was taken.
        const std::set<std::size_t>& lost = writer_->LostRecords();
        result_.lost = lost.size();
        const std::size_t uncounted = failedRecord_ != 0 && lost.contains(failedRecord_) ? 1 : 0;
        result_.stored -= std::min(result_.stored, lost.size() - uncounted);
        std::sort(refusedFiles_.begin(), refusedFiles_.end());
        refusedFiles_.erase(std::unique(refusedFiles_.begin(), refusedFiles_.end()),
                            refusedFiles_.end());
        result_.refusedFiles = std::move(refusedFiles_);
        result_.followerNote = writer_->FollowerNote();
        if (!result_.followerNote.empty()) {
            sink_.MadeFile(result_.followerNote);
        }
        if (result_.refused.Total() > 0) {
            sink_.InformationBox(RefusedSummary(result_.refused, result_.refusedFiles));
        }
        return std::move(result_);
    }

    jvlink::IJVLink& link_;
    const std::int32_t readCount_;
    const std::atomic<bool>& cancel_;
    IReadLoopSink& sink_;
    const TReadLoopOptions& options_;
    std::unique_ptr<TStoreWriter> writer_;
    TReadLoopResult result_;
    std::vector<std::string> refusedFiles_;
    std::size_t failedRecord_ = 0; // the record (1-based) whose store failed, not counted
};

} // namespace

TReadLoopResult RunReadLoop(jvlink::IJVLink& link, std::int32_t readCount, const TLocalClock& clock,
                            const std::filesystem::path& root, const std::atomic<bool>& cancel,
                            IReadLoopSink& sink, const TReadLoopOptions& options) {
    sink.ProgressText(ReadingProgressText(0, readCount));
    sink.ReadingBar(0);
    sink.ReadingBarMax(readCount);
    const int dateCut = DateCut(clock ? clock() : LocalNow());
    TReadLoop loop(link, readCount, root, cancel, sink, options);
    return loop.Run(dateCut);
}

std::string ReadingProgressText(int filesRead, std::int32_t readCount) {
    static const std::string prefix = Sjis::FromUtf8("データ読込み中．．．(");
    return prefix + std::to_string(filesRead) + "/" + std::to_string(readCount) + ")";
}

std::string ReadDoneText(int filesRead, std::int32_t readCount) {
    static const std::string prefix = Sjis::FromUtf8("データ読込み完了(");
    return prefix + std::to_string(filesRead) + "/" + std::to_string(readCount) + ")";
}

std::string EndOfFileText() {
    return "JVRead EndOfFile :0";
}

std::string CompletedText() {
    static const std::string text = Sjis::FromUtf8("データ作成が完了しました。");
    return text;
}

std::string ReadErrorText(std::int32_t code) {
    return KeibaFunc::JVErrorText("JVRead", code);
}

std::string RefusedLine(TRecordFault fault, std::string_view type, std::string_view file) {
    static const std::string prefix = Sjis::FromUtf8("保存せず(");
    std::string line = prefix;
    line.append(FaultReason(fault)).append("):").append(type).append("/").append(file);
    return line;
}

std::string ClashLine(std::string_view type, std::string_view key, std::string_view file,
                      std::string_view heldKey) {
    static const std::string prefix = Sjis::FromUtf8("保存せず(") + ClashReason() + "):";
    std::string line = prefix;
    line.append(type).append("/").append(key).append("/").append(file);
    line.append(" (").append(heldKey).append(")");
    return line;
}

std::string RefusedSummary(const TRefusedCounts& refused, const std::vector<std::string>& files) {
    static const std::string head = Sjis::FromUtf8("保存しなかったレコード:");
    static const std::string unit = Sjis::FromUtf8("件");
    static const std::string filesHead = Sjis::FromUtf8("対象ファイル:");
    std::string text = head + std::to_string(refused.Total()) + unit;
    const std::pair<TRecordFault, std::size_t> lines[] = {
        {TRecordFault::Length, refused.length},
        {TRecordFault::Bytes, refused.bytes},
        {TRecordFault::NameField, refused.nameField},
    };
    for (const auto& [fault, n] : lines) {
        text.append("\r\n").append(FaultReason(fault)).append(":").append(std::to_string(n));
        text.append(unit);
    }
    if (refused.clash > 0) {
        text.append("\r\n").append(ClashReason()).append(":");
        text.append(std::to_string(refused.clash)).append(unit);
    }
    if (!files.empty()) {
        text.append("\r\n").append(filesHead);
        for (const std::string& file : files) {
            text.append("\r\n").append(file);
        }
    }
    return text;
}

} // namespace store
