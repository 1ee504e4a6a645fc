// The stand-in JV-Link's own service settings: service key, where the data come from, where
// downloaded files are kept, how fast files download, the version it reports, and the faults
// it produces on demand so that every failure path of a caller can be driven.
//
// They live in their own settings file in the per-user configuration folder,
// $XDG_CONFIG_HOME/tomberly/jvlink-standin.ini (~/.config when XDG_CONFIG_HOME is unset;
// %APPDATA% on Windows), as "Key=Value" lines in UTF-8. Lines starting with '#' or ';' are
// comments; unknown keys are ignored and a value that does not read keeps its default, so an
// old or hand-edited file never stops the component.
#pragma once

#include "jvlink/standin/Catalogue.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace standin {

// Where the catalogue of published files comes from.
enum class TDataSource {
    BuiltIn, // the synthetic season of GenerateSeason, from Seed, SeasonWeeks and today's date
    Folder,  // a catalogue folder written by WriteCatalogueFolder (DataFolder)
};

// How a record handed out damaged is damaged.
enum class TCorruption {
    Short, // cut to half its length, CR LF kept at its end
    Bytes, // bytes that are no text (00, 80, A0, FD, FE, FF and a lone lead byte) written over
           // its middle, length kept
    Path,  // its bytes 12-19 ("yyyymmdd" of race records) become "../..\..", length kept
};

// What the last file timestamp of a successful JVOpen looks like.
enum class TTimestampForm {
    Newest, // the newest selected file's "yyyymmddhhnnss"
    Blank,  // fourteen blanks
    Zeros,  // "00000000000000"
};

// Failures produced on demand. A code of 0 and a record number of 0 switch a fault off.
struct TFaults {
    std::int32_t initError = 0; // JVInit returns this after its sid checks pass
    std::int32_t openError = 0; // JVOpen returns this after its argument checks pass
    bool openEmpty = false;     // JVOpen opens with nothing to read: 0, read count 0
    TTimestampForm lastFileTimestamp = TTimestampForm::Newest;
    int statusFailAfter = -1;        // the download fails once this many files are fetched
                                     //   (-1 off, 0 before the first file)
    std::int32_t statusError = -502; // what JVStatus then returns
    int readFailAt = 0;              // JVRead returns readError instead of the n-th record
    std::int32_t readError = -402;   //   (1-based over the whole acquisition; read on gives it)
    int corruptAt = 0;               // the n-th record is handed out damaged
    TCorruption corruption = TCorruption::Short;
    std::int32_t closeError = 0; // JVClose returns this (and closes all the same)

    bool operator==(const TFaults&) const = default;
};

// Every setting with the default that makes the component work out of the box.
struct TStandInSettings {
    std::string serviceKey = "STDN-0000-0000-0000-1"; // ASCII; empty: JVOpen gives -303
    TDataSource source = TDataSource::BuiltIn;
    std::string dataFolder;        // UTF-8 path of the catalogue folder (source Folder)
    std::uint32_t seed = 20040501; // built-in season: the same seed gives the same data
    int seasonWeeks = 26;          // built-in season: past weeks of results, 1 to 104
    int setupYears = 0;            // built-in season: years of results for a setup, 0 to 10
    std::string cacheFolder;       // UTF-8 path of the download cache; empty: the folder
                                   // "jvlink-standin-data" beside the settings file
    int downloadMsPerFile = 20;    // download pace, milliseconds per file, 0 to 60000
    std::string version = "0490";  // the version text the component reports
    TFaults faults;

    bool operator==(const TStandInSettings&) const = default;
};

// The settings file of this user: XDG_CONFIG_HOME (else HOME/.config; APPDATA on Windows)
// + "/tomberly/jvlink-standin.ini".
std::filesystem::path DefaultSettingsFile();

// The download cache folder the settings name, relative to the settings file's folder.
std::filesystem::path CacheFolderOf(const TStandInSettings& settings,
                                    const std::filesystem::path& settingsFile);

// Settings from the file; the defaults when it does not exist or cannot be read.
TStandInSettings LoadSettings(const std::filesystem::path& file);

// Settings as the file's text, and parsed back from it.
std::string SettingsText(const TStandInSettings& settings);
TStandInSettings ParseSettings(std::string_view text);

// Writes the file (creating its folder), replacing the old one only once the new one is
// complete. False when it cannot be written.
bool SaveSettings(const std::filesystem::path& file, const TStandInSettings& settings);

} // namespace standin
