// The stand-in JV-Link component: a JV-Link that serves a catalogue of published data files
// the way the real service does through its component.
//
// JVOpen selects every published file newer than the from-time whose data identifier was
// asked for and whose publication time has come by the service's clock: like the real
// service, the stand-in publishes nothing after its own now, so the coming weekend's card is
// served from its Friday on and the last file's timestamp that JVOpen gives never lies ahead
// of the clock; those missing from the download cache are fetched by a background thread at the
// configured pace while JVStatus counts them; JVRead hands out one record per call, file
// after file (records of a file in no particular order, as the service delivers them), with
// -1 after each file, -3 while the next file is still being fetched and 0 at the end. The
// settings file is read again at JVInit and at every JVOpen, so edits made through the
// settings dialog or by hand take effect with the next acquisition.
//
// JVOpen's options: 1 the accumulated data and 2 this week's data (the weekly identifiers such
// as RCVN, with the accumulated race data), both from the from-time; 3 and 4 setup data, the
// accumulated data of every file published after the from-time, however far back it lies (the
// built-in season's whole span of weeks from a year back). A setup goes as any acquisition:
// the files missing from the download cache, which on a new machine is all of them, are fetched
// first while JVStatus counts them. The real component's option 3 may show its own setup
// dialog; the stand-in has none, so 3 and 4 serve alike.
#pragma once

#include "jvlink/IJVLink.h"
#include "jvlink/standin/CatalogueFolder.h"
#include "jvlink/standin/StandInSettings.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace standin {

// The service's catalogue for the settings in force, asked for at each JVOpen; a failure is
// reported by JVOpen as -401 (the component's internal error).
using TCatalogueProvider = std::function<TCatalogueRead(const TStandInSettings&)>;

// The service's clock: its now as local time "yyyymmddhhnnss", asked for at each JVOpen.
using TServiceClock = std::function<std::string()>;

// The local time of the machine as "yyyymmddhhnnss".
std::string LocalTimestampNow();

// How the settings dialog was left.
enum class TEditOutcome {
    Accepted,    // the settings were changed (or confirmed) and are to be saved
    Cancelled,   // nothing is to change
    Unavailable, // no dialog can be shown (no user interface in this process)
};

// Shows the settings for editing; on Accepted the argument holds the edited settings.
using TSettingsEditor = std::function<TEditOutcome(TStandInSettings&)>;

class TStandInJVLink final : public jvlink::IJVLink {
public:
    // settingsFile: the service's settings (DefaultSettingsFile() in the plug-in); the download
    // cache lies beside it unless the settings name another folder. editor: the settings
    // dialog JVSetUIProperties shows; without one JVSetUIProperties gives -100. clock: the
    // service's now; without one, the machine's local time.
    TStandInJVLink(std::filesystem::path settingsFile, TCatalogueProvider catalogue,
                   TSettingsEditor editor = {}, TServiceClock clock = {});
    ~TStandInJVLink() override;
    TStandInJVLink(const TStandInJVLink&) = delete;
    TStandInJVLink& operator=(const TStandInJVLink&) = delete;

    std::int32_t JVInit(const std::string& sid) override;
    std::string JVLinkVersion() override;
    // 0 when the dialog was confirmed and the settings saved, and also when it was cancelled
    // (nothing changes, as with any settings dialog); -100 when saving failed or no dialog
    // could be shown.
    std::int32_t JVSetUIProperties() override;
    std::int32_t JVOpen(const std::string& dataspec, const std::string& fromTime,
                        std::int32_t option, std::int32_t& readCount, std::int32_t& downloadCount,
                        std::string& lastFileTimestamp) override;
    std::int32_t JVStatus() override;
    // size is not a limit here: every record fits the text buffer the caller receives.
    std::int32_t JVRead(std::string& buffer, std::int32_t size, std::string& fileName) override;
    // Stops the fetching and ends the acquisition: reading on gives -203, and JVOpen may be
    // called again without a JVClose (which then does nothing and gives 0).
    std::int32_t JVCancel() override;
    std::int32_t JVClose() override;

private:
    class TDownload;
    struct TOpenFile;

    void EndAcquisition();
    std::int32_t LoadForReading(TOpenFile& file);

    std::filesystem::path settingsFile_;
    TCatalogueProvider catalogue_;
    TSettingsEditor editor_;
    TServiceClock clock_;
    TStandInSettings settings_;
    bool initialised_ = false;

    // The acquisition between JVOpen and JVClose.
    bool open_ = false;
    TFaults faults_; // as they stood at JVOpen
    std::filesystem::path cacheFolder_;
    std::vector<TOpenFile> files_;     // the selected files in reading order
    std::size_t reading_ = 0;          // index of the file being read
    std::vector<std::string> records_; // its records in delivery order, once loaded
    bool loaded_ = false;
    std::size_t nextRecord_ = 0;
    int recordsHandedOut_ = 0; // records delivered since JVOpen
    bool readFaultGiven_ = false;
    std::int32_t downloadCount_ = 0;
    std::unique_ptr<TDownload> download_; // the fetching thread, while files are fetched
};

} // namespace standin
