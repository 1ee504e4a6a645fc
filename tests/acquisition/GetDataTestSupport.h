// Helpers of the acquisition window's tests: one time line of everything the user saw and
// heard (progress texts, bars, list lines, boxes, beeps), a user who answers from a script
// and writes into that time line, a view that records what the control shows, and a JV-Link
// whose every result the test sets.
#pragma once

#include "acquisition/GetDataControl.h"
#include "jvdata/SjisText.h"
#include "store/LocalClock.h"
#include "support/ScriptedInteraction.h"
#include "support/TestSupport.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace keiba::acqtest {

using keiba::test::S;
using keiba::test::Show;

// Entries of the time line: a kind, a colon, and the CP932 text or the number.
inline std::string Text(std::string_view utf8) {
    return "text:" + S(utf8);
}
inline std::string Box(std::string_view utf8) {
    return "box:" + S(utf8);
}
inline std::string Ask(std::string_view utf8) {
    return "confirm:" + S(utf8);
}
inline std::string Error(std::string_view utf8) {
    return "error:" + S(utf8);
}
inline std::string Made(std::string_view utf8) {
    return "made:" + S(utf8);
}
inline const std::string kBeep = "beep";

// The time line shown readably in a failure message.
inline std::string ShowLine(const std::vector<std::string>& line) {
    std::string text;
    for (const auto& entry : line) {
        text += "  " + Sjis::ToUtf8(entry) + "\n";
    }
    return text;
}

// Entries of the line that begin with one of the prefixes, in order.
inline std::vector<std::string> Only(const std::vector<std::string>& line,
                                     std::initializer_list<std::string_view> prefixes) {
    std::vector<std::string> kept;
    for (const auto& entry : line) {
        for (std::string_view prefix : prefixes) {
            if (std::string_view(entry).starts_with(prefix)) {
                kept.push_back(entry);
                break;
            }
        }
    }
    return kept;
}

// The scripted user, writing what it sees into a shared time line.
class TLoggingInteraction : public keiba::test::ScriptedInteraction {
public:
    explicit TLoggingInteraction(std::vector<std::string>& line) : line_(line) {}

    void Beep() override {
        line_.push_back(kBeep);
        ScriptedInteraction::Beep();
    }
    void Information(std::string_view text) override {
        line_.push_back("box:" + std::string(text));
        ScriptedInteraction::Information(text);
        if (onBox) {
            onBox(text);
        }
    }
    bool Confirm(std::string_view text) override {
        line_.push_back("confirm:" + std::string(text));
        if (onConfirm) {
            onConfirm();
        }
        return ScriptedInteraction::Confirm(text);
    }
    void ErrorBox(std::string_view text) override {
        line_.push_back("error:" + std::string(text));
        ScriptedInteraction::ErrorBox(text);
    }

    // Runs while a confirmation is up, before it is answered.
    std::function<void()> onConfirm;
    // Runs after each information box.
    std::function<void(std::string_view)> onBox;

private:
    std::vector<std::string>& line_;
};

// Records what the control shows, into the time line and as the controls' state.
class TRecordingView final : public acquisition::IGetDataView {
public:
    explicit TRecordingView(std::vector<std::string>& line) : line_(line) {}

    void ProgressText(const std::string& text) override {
        progress = text;
        line_.push_back("text:" + text);
    }
    void DownloadBarMax(int max) override {
        downloadMax = max;
        line_.push_back("downloadmax:" + std::to_string(max));
    }
    void DownloadBar(int position) override {
        download = position;
        line_.push_back("download:" + std::to_string(position));
    }
    void ReadingBarMax(int max) override {
        readingMax = max;
        line_.push_back("readmax:" + std::to_string(max));
    }
    void ReadingBar(int position) override {
        reading = position;
        line_.push_back("read:" + std::to_string(position));
    }
    void ClearMadeFiles() override {
        madeFiles.clear();
        line_.push_back("clear");
    }
    void MadeFile(const std::string& text) override {
        madeFiles.push_back(text);
        line_.push_back("made:" + text);
    }
    void ShowStartTime(const store::TLocalDateTime& time) override {
        picker = time;
        line_.push_back("picker");
    }
    void ShowSetup(bool offered, bool chosen) override {
        setupOffered = offered;
        setupChosen = chosen;
    }
    void StartStatusTimer() override {
        timer = true;
        line_.push_back("timer:on");
    }
    void StopStatusTimer() override { timer = false; }
    void BusyPointer(bool on) override { busy = on; }
    void RunningChanged(bool on) override {
        running = on;
        line_.push_back(on ? "running" : "idle");
    }
    void RebuildDateList() override {
        ++rebuilds;
        line_.push_back("rebuild");
    }
    void CloseLater() override {
        ++closeLaters;
        line_.push_back("closelater");
    }

    std::string progress;
    int downloadMax = -1;
    int download = -1;
    int readingMax = -1;
    int reading = -1;
    std::vector<std::string> madeFiles;
    std::optional<store::TLocalDateTime> picker;
    bool setupOffered = false;
    bool setupChosen = false;
    bool timer = false;
    bool busy = false;
    bool running = false;
    int rebuilds = 0;
    int closeLaters = 0;

private:
    std::vector<std::string>& line_;
};

// One JVRead result: the code, and the record for a code above 0.
struct TRead {
    std::int32_t code = 0;
    std::string record{};
};

// A JV-Link whose results the test sets; every call is logged by name.
class TFakeJVLink final : public jvlink::IJVLink {
public:
    std::int32_t JVInit(const std::string&) override { return 0; }
    std::string JVLinkVersion() override { return "0490"; }
    std::int32_t JVSetUIProperties() override {
        calls.push_back("JVSetUIProperties");
        if (onSetUIProperties) {
            onSetUIProperties();
        }
        return uiResult;
    }
    std::int32_t JVOpen(const std::string& dataspec, const std::string& fromTime,
                        std::int32_t option, std::int32_t& readCount, std::int32_t& downloadCount,
                        std::string& lastFileTimestamp) override {
        calls.push_back("JVOpen(" + dataspec + "," + fromTime + "," + std::to_string(option) + ")");
        if (throwOnOpen) {
            throw jvlink::JVLinkCallError("JVOpen: the call failed");
        }
        readCount = openReadCount;
        downloadCount = openDownloadCount;
        lastFileTimestamp = openTimestamp;
        return openResult;
    }
    std::int32_t JVStatus() override {
        calls.push_back("JVStatus");
        if (throwOnStatus) {
            throw jvlink::JVLinkCallError("JVStatus: the call failed");
        }
        if (statuses.empty()) {
            return openDownloadCount;
        }
        const std::int32_t status = statuses.front();
        if (statuses.size() > 1) {
            statuses.pop_front();
        }
        return status;
    }
    std::int32_t JVRead(std::string& buffer, std::int32_t size, std::string& fileName) override {
        calls.push_back("JVRead");
        lastReadSize = size;
        buffer.clear();
        fileName = "RACE2004050101.jvd";
        if (reads.empty()) {
            return 0;
        }
        TRead step = reads.front();
        reads.pop_front();
        if (step.code > 0) {
            buffer = step.record;
            return static_cast<std::int32_t>(buffer.size());
        }
        return step.code;
    }
    std::int32_t JVCancel() override {
        calls.push_back("JVCancel");
        return 0;
    }
    std::int32_t JVClose() override {
        calls.push_back("JVClose");
        return closeResult;
    }

    int Count(std::string_view name) const {
        int n = 0;
        for (const auto& call : calls) {
            n += std::string_view(call).starts_with(name) ? 1 : 0;
        }
        return n;
    }

    std::int32_t openResult = 0;
    std::int32_t openReadCount = 1;
    std::int32_t openDownloadCount = 0;
    std::string openTimestamp = "20040502183000";
    std::deque<std::int32_t> statuses; // JVStatus results in order; the last one repeats
    std::deque<TRead> reads;           // JVRead results in order; 0 after them
    std::int32_t closeResult = 0;
    std::int32_t uiResult = 0;
    bool throwOnOpen = false;
    bool throwOnStatus = false;
    std::function<void()> onSetUIProperties;
    std::vector<std::string> calls;
    std::int32_t lastReadSize = 0;
};

// A clock that always gives the same moment.
inline store::TLocalClock FixedClock(int year, int month, int day, int hour = 12, int minute = 0,
                                     int second = 0) {
    return [=] { return store::TLocalDateTime{year, month, day, hour, minute, second}; };
}

} // namespace keiba::acqtest
