#include "jvlink/standin/StandInJVLink.h"

#include "jvdata/SjisText.h"
#include "jvlink/standin/CatalogueCheck.h"
#include "jvlink/standin/FileIo.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <random>
#include <string_view>
#include <thread>

namespace standin {

namespace fs = std::filesystem;

namespace {

// Status codes of the component.
constexpr std::int32_t kOk = 0;
constexpr std::int32_t kNoNewData = -1;   // JVOpen: nothing newer than the from-time
constexpr std::int32_t kFileEnded = -1;   // JVRead: one file finished
constexpr std::int32_t kDownloading = -3; // JVRead: the next file is still being fetched
constexpr std::int32_t kSettingsNotSaved = -100;
constexpr std::int32_t kSidEmpty = -101;
constexpr std::int32_t kSidTooLong = -102;
constexpr std::int32_t kSidBlank = -103;
constexpr std::int32_t kBadDataSpec = -111;
constexpr std::int32_t kBadFromTime = -112;
constexpr std::int32_t kBadOption = -115;
constexpr std::int32_t kBadCombination = -116;
constexpr std::int32_t kNotInitialised = -201;
constexpr std::int32_t kStillOpen = -202;
constexpr std::int32_t kNotOpen = -203;
constexpr std::int32_t kNoServiceKey = -303;
constexpr std::int32_t kInternalError = -401;
constexpr std::int32_t kFileSizeWrong = -402;
constexpr std::int32_t kFileContentWrong = -403;
constexpr std::int32_t kDownloadFailed = -502;
constexpr std::int32_t kFileNotFound = -503;

// The data identifiers the service knows. Identifiers of this week's data are served only
// with option 2, and option 2 serves only them and the accumulated race data.
struct TDataSpecRule {
    std::string_view id;
    bool weekly;       // this week's data only (option 2)
    bool servedWeekly; // also served with option 2
};
constexpr TDataSpecRule kDataSpecs[] = {
    {"TOKU", false, true},  {"RACE", false, true},  {"DIFF", false, false}, {"DIFN", false, false},
    {"BLOD", false, false}, {"BLDN", false, false}, {"SNAP", false, false}, {"SNPN", false, false},
    {"SLOP", false, false}, {"WOOD", false, false}, {"YSCH", false, false}, {"HOSE", false, false},
    {"HOSN", false, false}, {"HOYU", false, false}, {"COMM", false, false}, {"MING", false, false},
    {"TCOV", true, true},   {"RCOV", true, true},   {"TCVN", true, true},   {"RCVN", true, true},
};
constexpr std::int32_t kWeeklyOption = 2;

const TDataSpecRule* FindDataSpec(std::string_view id) {
    for (const auto& rule : kDataSpecs) {
        if (rule.id == id) {
            return &rule;
        }
    }
    return nullptr;
}

// A stable number for a file name (FNV-1a), so its records come out in the same order on
// every run and platform.
std::uint32_t NameHash(std::string_view name) {
    std::uint32_t hash = 2166136261u;
    for (const char c : name) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    return hash;
}

// The records in the order the service delivers them: a shuffle fixed by the file name.
void DeliveryOrder(std::vector<std::string>& records, std::string_view name) {
    std::mt19937 engine(NameHash(name));
    for (std::size_t i = records.size(); i > 1; --i) {
        const std::size_t j = engine() % i;
        std::swap(records[i - 1], records[j]);
    }
}

// A record as the corruption fault delivers it.
std::string Damaged(const std::string& record, TCorruption corruption) {
    const std::size_t body = record.size() >= 2 ? record.size() - 2 : 0; // without CR LF
    std::string out = record;
    switch (corruption) {
    case TCorruption::Short:
        out = record.substr(0, body / 2) + "\r\n";
        break;
    case TCorruption::Bytes: {
        static constexpr char kOdd[] = {'\x00', '\x80', '\xA0', '\xFD', '\xFE', '\xFF', '\x82'};
        // The lone lead byte last, before a blank, so it has no trail byte.
        const std::size_t start = body / 2 > 4 ? body / 2 - 4 : 0;
        for (std::size_t i = 0; i < sizeof kOdd && start + i < body; ++i) {
            out[start + i] = kOdd[i];
        }
        if (start + sizeof kOdd < body) {
            out[start + sizeof kOdd] = ' ';
        }
        break;
    }
    case TCorruption::Path: {
        static constexpr std::string_view kClimb = "../..\\..";
        for (std::size_t i = 0; i < kClimb.size() && 11 + i < body; ++i) {
            out[11 + i] = kClimb[i];
        }
        break;
    }
    }
    return out;
}

} // namespace

// One selected file of an acquisition.
struct TStandInJVLink::TOpenFile {
    std::string name;
    std::size_t bytes = 0;  // its size as published
    int downloadIndex = -1; // its place in the download, -1 when it was in the cache
};

// The background fetching of the files missing from the download cache: each file takes the
// configured time and is then written into the cache whole.
class TStandInJVLink::TDownload {
public:
    struct TPending {
        fs::path target;
        std::string bytes;
    };

    TDownload(std::vector<TPending> files, int msPerFile, int failAfter, std::int32_t failCode)
        : files_(std::move(files)), msPerFile_(msPerFile), failAfter_(failAfter),
          failCode_(failCode), thread_([this] { Run(); }) {}
    ~TDownload() { Stop(); }
    TDownload(const TDownload&) = delete;
    TDownload& operator=(const TDownload&) = delete;

    // Ends the fetching (the file being written is finished or not written at all) and waits
    // for the thread.
    void Stop() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    // Files complete in the cache so far.
    int Fetched() const { return fetched_.load(std::memory_order_acquire); }
    // 0 while fetching or done; the status code of the failure once fetching failed.
    std::int32_t Failure() const { return failure_.load(std::memory_order_acquire); }

private:
    void Run() {
        for (std::size_t i = 0; i < files_.size(); ++i) {
            {
                std::unique_lock lock(mutex_);
                if (wake_.wait_for(lock, std::chrono::milliseconds(msPerFile_),
                                   [this] { return stop_; })) {
                    return;
                }
            }
            if (failAfter_ >= 0 && static_cast<int>(i) == failAfter_) {
                failure_.store(failCode_, std::memory_order_release);
                return;
            }
            if (!WriteFileReplacing(files_[i].target, files_[i].bytes)) {
                failure_.store(kDownloadFailed, std::memory_order_release);
                return;
            }
            files_[i].bytes = std::string(); // written: the copy is no longer needed
            fetched_.store(static_cast<int>(i) + 1, std::memory_order_release);
        }
    }

    std::vector<TPending> files_;
    const int msPerFile_;
    const int failAfter_;
    const std::int32_t failCode_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::atomic<int> fetched_{0};
    std::atomic<std::int32_t> failure_{0};
    std::thread thread_; // last: starts once everything above exists
};

std::string LocalTimestampNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char text[64];
    std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

TStandInJVLink::TStandInJVLink(fs::path settingsFile, TCatalogueProvider catalogue,
                               TSettingsEditor editor, TServiceClock clock)
    : settingsFile_(std::move(settingsFile)), catalogue_(std::move(catalogue)),
      editor_(std::move(editor)),
      clock_(clock ? std::move(clock) : TServiceClock(LocalTimestampNow)),
      settings_(LoadSettings(settingsFile_)) {}

TStandInJVLink::~TStandInJVLink() {
    EndAcquisition();
}

std::int32_t TStandInJVLink::JVInit(const std::string& sid) {
    if (sid.empty()) {
        return kSidEmpty;
    }
    if (sid.size() >= 64) {
        return kSidTooLong;
    }
    if (sid.front() == Sjis::kBlank || sid.starts_with(Sjis::kWideBlank)) {
        return kSidBlank;
    }
    settings_ = LoadSettings(settingsFile_);
    if (settings_.faults.initError != 0) {
        return settings_.faults.initError;
    }
    initialised_ = true;
    return kOk;
}

std::string TStandInJVLink::JVLinkVersion() {
    return Sjis::FromUtf8(settings_.version);
}

std::int32_t TStandInJVLink::JVSetUIProperties() {
    if (!initialised_) {
        return kNotInitialised;
    }
    if (!editor_) {
        return kSettingsNotSaved;
    }
    TStandInSettings edited = LoadSettings(settingsFile_);
    switch (editor_(edited)) {
    case TEditOutcome::Accepted:
        if (!SaveSettings(settingsFile_, edited)) {
            return kSettingsNotSaved;
        }
        settings_ = edited;
        return kOk;
    case TEditOutcome::Cancelled:
        return kOk;
    case TEditOutcome::Unavailable:
        break;
    }
    return kSettingsNotSaved;
}

std::int32_t TStandInJVLink::JVOpen(const std::string& dataspec, const std::string& fromTime,
                                    std::int32_t option, std::int32_t& readCount,
                                    std::int32_t& downloadCount, std::string& lastFileTimestamp) {
    readCount = 0;
    downloadCount = 0;
    lastFileTimestamp.clear();
    if (!initialised_) {
        return kNotInitialised;
    }
    if (open_) {
        return kStillOpen;
    }

    // The arguments, in the order the component checks them.
    std::vector<std::string_view> ids;
    if (dataspec.empty() || dataspec.size() % 4 != 0) {
        return kBadDataSpec;
    }
    for (std::size_t pos = 0; pos < dataspec.size(); pos += 4) {
        const std::string_view id = std::string_view(dataspec).substr(pos, 4);
        if (FindDataSpec(id) == nullptr) {
            return kBadDataSpec;
        }
        ids.push_back(id);
    }
    if (!IsTimestamp(fromTime)) {
        return kBadFromTime;
    }
    if (option < 1 || option > 4) {
        return kBadOption;
    }
    for (const auto id : ids) {
        const TDataSpecRule* rule = FindDataSpec(id);
        if (option == kWeeklyOption ? !rule->servedWeekly : rule->weekly) {
            return kBadCombination;
        }
    }

    settings_ = LoadSettings(settingsFile_);
    const TFaults& faults = settings_.faults;
    if (Sjis::TrimBlanks(settings_.serviceKey).empty()) {
        return kNoServiceKey;
    }
    if (faults.openError != 0) {
        return faults.openError;
    }

    const std::string now = clock_();
    if (!IsTimestamp(now)) {
        return kInternalError;
    }
    TCatalogueRead catalogue;
    try {
        catalogue = catalogue_(settings_);
    } catch (const std::exception&) {
        return kInternalError;
    }
    if (!catalogue.ok() || !CheckCatalogue(catalogue.catalogue).empty()) {
        return kInternalError;
    }
    std::vector<const TDataFile*> selected;
    for (const auto& file : catalogue.catalogue.files) {
        // All are "yyyymmddhhnnss": as texts they compare as times do. A file stamped after
        // the clock is not published yet: serving it would move the caller's last time ahead
        // of now, and a later acquisition from there would miss what is published meanwhile.
        if (file.timestamp > fromTime && file.timestamp <= now &&
            std::find(ids.begin(), ids.end(), file.dataspec) != ids.end()) {
            selected.push_back(&file);
        }
    }
    std::stable_sort(selected.begin(), selected.end(), [](const TDataFile* a, const TDataFile* b) {
        return a->timestamp != b->timestamp ? a->timestamp < b->timestamp : a->name < b->name;
    });
    if (faults.openEmpty) {
        selected.clear();
    }

    // From here on the acquisition is open, even when there is nothing to read: the caller
    // closes it whatever JVOpen gave.
    open_ = true;
    faults_ = faults;
    cacheFolder_ = CacheFolderOf(settings_, settingsFile_);
    files_.clear();
    reading_ = 0;
    records_.clear();
    loaded_ = false;
    nextRecord_ = 0;
    recordsHandedOut_ = 0;
    readFaultGiven_ = false;
    if (selected.empty() && !faults.openEmpty) {
        return kNoNewData;
    }

    std::vector<TDownload::TPending> pending;
    for (const TDataFile* file : selected) {
        TOpenFile open{file->name, 0, -1};
        std::string bytes = DataFileBytes(*file);
        open.bytes = bytes.size();
        // A cached copy counts only when it is the published file byte for byte.
        const auto cached = ReadWholeFile(cacheFolder_ / file->name);
        if (!cached || *cached != bytes) {
            open.downloadIndex = static_cast<int>(pending.size());
            pending.push_back({cacheFolder_ / file->name, std::move(bytes)});
        }
        files_.push_back(std::move(open));
    }
    readCount = static_cast<std::int32_t>(files_.size());
    downloadCount_ = static_cast<std::int32_t>(pending.size());
    downloadCount = downloadCount_;
    switch (faults.lastFileTimestamp) {
    case TTimestampForm::Newest:
        lastFileTimestamp = selected.empty() ? std::string(14, '0') : selected.back()->timestamp;
        break;
    case TTimestampForm::Blank:
        lastFileTimestamp = std::string(14, ' ');
        break;
    case TTimestampForm::Zeros:
        lastFileTimestamp = std::string(14, '0');
        break;
    }
    if (!pending.empty()) {
        download_ = std::make_unique<TDownload>(
            std::move(pending), settings_.downloadMsPerFile, faults.statusFailAfter,
            faults.statusError != 0 ? faults.statusError : kDownloadFailed);
    }
    return kOk;
}

std::int32_t TStandInJVLink::JVStatus() {
    if (!initialised_) {
        return kNotInitialised;
    }
    if (!open_) {
        return kNotOpen;
    }
    if (!download_) {
        return downloadCount_;
    }
    if (const std::int32_t failure = download_->Failure(); failure != 0) {
        return failure;
    }
    return download_->Fetched();
}

std::int32_t TStandInJVLink::LoadForReading(TOpenFile& file) {
    if (file.downloadIndex >= 0 && (!download_ || download_->Fetched() <= file.downloadIndex)) {
        return download_ && download_->Failure() == 0 ? kDownloading : kDownloadFailed;
    }
    const auto bytes = ReadWholeFile(cacheFolder_ / file.name);
    if (!bytes) {
        return kFileNotFound;
    }
    if (bytes->size() != file.bytes) {
        return kFileSizeWrong;
    }
    auto records = SplitRecords(*bytes);
    if (!records) {
        return kFileContentWrong;
    }
    records_ = std::move(*records);
    DeliveryOrder(records_, file.name);
    loaded_ = true;
    nextRecord_ = 0;
    return kOk;
}

std::int32_t TStandInJVLink::JVRead(std::string& buffer, std::int32_t /*size*/,
                                    std::string& fileName) {
    buffer.clear();
    if (!initialised_) {
        return kNotInitialised;
    }
    if (!open_) {
        return kNotOpen;
    }
    if (reading_ >= files_.size()) {
        return kOk; // everything read
    }
    TOpenFile& file = files_[reading_];
    fileName = file.name;
    if (!loaded_) {
        if (const std::int32_t status = LoadForReading(file); status != kOk) {
            return status;
        }
    }
    if (nextRecord_ >= records_.size()) {
        ++reading_;
        records_.clear();
        loaded_ = false;
        return kFileEnded;
    }
    if (faults_.readFailAt > 0 && recordsHandedOut_ + 1 == faults_.readFailAt && !readFaultGiven_) {
        readFaultGiven_ = true;
        return faults_.readError != 0 ? faults_.readError : kFileSizeWrong;
    }
    buffer = records_[nextRecord_++];
    ++recordsHandedOut_;
    if (recordsHandedOut_ == faults_.corruptAt) {
        buffer = Damaged(buffer, faults_.corruption);
    }
    return static_cast<std::int32_t>(buffer.size());
}

std::int32_t TStandInJVLink::JVCancel() {
    if (!initialised_) {
        return kNotInitialised;
    }
    EndAcquisition();
    return kOk;
}

std::int32_t TStandInJVLink::JVClose() {
    if (!initialised_) {
        return kNotInitialised;
    }
    const bool wasOpen = open_;
    EndAcquisition();
    return wasOpen ? faults_.closeError : kOk;
}

void TStandInJVLink::EndAcquisition() {
    download_.reset(); // stops and joins the fetching thread
    open_ = false;
    files_.clear();
    records_.clear();
    loaded_ = false;
    reading_ = 0;
    nextRecord_ = 0;
    downloadCount_ = 0;
}

} // namespace standin
