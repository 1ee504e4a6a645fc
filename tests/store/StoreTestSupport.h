// Helpers of the store's tests: a sink that records what the read loop shows, a JV-Link that
// plays a script of JVRead results, a fixed clock and a snapshot of a whole store.
#pragma once

#include "acquisition/HeadlessAcquisition.h"
#include "jvdata/SjisText.h"
#include "store/LocalClock.h"
#include "store/StoreLock.h"
#include "store/StoreTestSeason.h"
#include "support/TestSupport.h"

#include <atomic>
#include <deque>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace keiba::storetest {

// Everything the loop and the acquisition showed, in order; texts CP932.
class TRecordingSink final : public acquisition::IAcquisitionSink {
public:
    void ProgressText(const std::string& text) override {
        texts.push_back(text);
        events.push_back("text:" + text);
    }
    void ReadingBarMax(int max) override {
        readingMax = max;
        events.push_back("readmax:" + std::to_string(max));
    }
    void ReadingBar(int position) override {
        readingBar = position;
        events.push_back("read:" + std::to_string(position));
    }
    void DownloadBar(int position) override {
        downloadBar = position;
        events.push_back("download:" + std::to_string(position));
    }
    void DownloadBarMax(int max) override {
        downloadMax = max;
        events.push_back("downloadmax:" + std::to_string(max));
    }
    void MadeFile(const std::string& line) override { madeFiles.push_back(line); }
    void Beep() override {
        ++beeps;
        events.push_back("beep");
    }
    void InformationBox(const std::string& text) override {
        boxes.push_back(text);
        events.push_back("box:" + text);
    }
    void ErrorBox(const std::string& text) override {
        errors.push_back(text);
        events.push_back("error:" + text);
    }
    void ProcessPendingEvents() override {
        ++pending;
        if (cancel != nullptr && cancelAt > 0 && pending >= cancelAt) {
            cancel->store(true);
        }
    }

    std::vector<std::string> texts;
    std::vector<std::string> madeFiles;
    std::vector<std::string> boxes;
    std::vector<std::string> errors;
    std::vector<std::string> events;
    int readingMax = -1;
    int readingBar = -1;
    int downloadBar = -1;
    int downloadMax = -1;
    int beeps = 0;
    int pending = 0;
    // Sets *cancel at the cancelAt-th processing of pending events (1-based).
    std::atomic<bool>* cancel = nullptr;
    int cancelAt = 0;
};

// One JVRead result of a script: the code, and the record for a code above 0.
struct TReadStep {
    std::int32_t code = 0;
    std::string record;
};

// A JV-Link whose JVRead plays the steps in order (a record step returns the record's length);
// after the script it gives 0.
class TScriptedJVLink final : public jvlink::IJVLink {
public:
    explicit TScriptedJVLink(std::vector<TReadStep> steps) : steps_(steps.begin(), steps.end()) {}

    std::int32_t JVInit(const std::string&) override { return 0; }
    std::string JVLinkVersion() override { return "0490"; }
    std::int32_t JVSetUIProperties() override { return 0; }
    std::int32_t JVOpen(const std::string&, const std::string&, std::int32_t, std::int32_t& r,
                        std::int32_t& d, std::string& t) override {
        r = 1;
        d = 0;
        t = "20040501000000";
        return 0;
    }
    std::int32_t JVStatus() override { return 0; }
    std::int32_t JVRead(std::string& buffer, std::int32_t size, std::string& fileName) override {
        ++reads;
        lastSize = size;
        buffer.clear();
        fileName = "RACE0001.jvd";
        if (steps_.empty()) {
            return 0;
        }
        TReadStep step = std::move(steps_.front());
        steps_.pop_front();
        if (step.code > 0) {
            buffer = std::move(step.record);
            return static_cast<std::int32_t>(buffer.size());
        }
        return step.code;
    }
    std::int32_t JVCancel() override {
        ++cancels;
        return 0;
    }
    std::int32_t JVClose() override { return 0; }

    int reads = 0;
    int cancels = 0;
    std::int32_t lastSize = 0;

private:
    std::deque<TReadStep> steps_;
};

// Steps for records: each record, with a file end (-1) after every `perFile` records and at
// the end.
inline std::vector<TReadStep> RecordSteps(const std::vector<std::string>& records,
                                          std::size_t perFile = 0) {
    std::vector<TReadStep> steps;
    for (std::size_t i = 0; i < records.size(); ++i) {
        steps.push_back({1, records[i]});
        if (perFile > 0 && (i + 1) % perFile == 0) {
            steps.push_back({-1, {}});
        }
    }
    if (perFile == 0 || records.size() % perFile != 0) {
        steps.push_back({-1, {}});
    }
    return steps;
}

// A clock that always gives the same moment.
inline store::TLocalClock FixedClock(int year, int month, int day, int hour = 12) {
    return [=] { return store::TLocalDateTime{year, month, day, hour, 0, 0}; };
}

// Every file under root but the acquisitions' lock file: path relative to root ('/'-separated,
// UTF-8) -> bytes.
inline std::map<std::string, std::string> SnapshotStore(const std::filesystem::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (entry.is_regular_file() && entry.path() != root / store::kStoreLockFile) {
            const auto relative = entry.path().lexically_relative(root).generic_u8string();
            files[std::string(relative.begin(), relative.end())] =
                keiba::test::ReadFileBytes(entry.path());
        }
    }
    return files;
}

// The relative snapshot key of a CP932 store path text ("DATA\2004年05月01日東京.jvRA").
inline std::string SnapshotKey(std::string_view storeText) {
    std::string utf8 = Sjis::ToUtf8(storeText);
    for (char& c : utf8) {
        if (c == '\\') {
            c = '/';
        }
    }
    return utf8;
}

} // namespace keiba::storetest
