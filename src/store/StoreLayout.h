// The local data store: the folders under the data root, the file kinds and their names, and
// the line operations that every writer of the store applies.
//
// The store is a tree of text files, one JV-Data record per line: each line is the record as
// JV-Link delivered it less its final CR LF, and ends with CR LF, so line k of a file starts at
// byte k x L (L the record length with CR LF) and readers seek by record number. Names are
// CP932 texts built from record fields; they become file-system paths only through
// files::PathFromText, so the kanji of a race-day file name are wide characters on Windows and
// UTF-8 elsewhere. Folder names have one spelling everywhere ("DATA", "REC"), which a file
// system that tells letter case apart needs.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace store {

// Store folders directly under the data root, in the order they are created at start.
inline constexpr std::string_view kDataFolder = "DATA";        // race-day files
inline constexpr std::string_view kHistoryFolder = "SEI";      // horse history files by year
inline constexpr std::string_view kResultFolder = "SEIR";      // result files by race year
inline constexpr std::string_view kHorseMasterFolder = "UM2";  // horse master files by year
inline constexpr std::string_view kCourseRecordFolder = "REC"; // course record files
inline constexpr std::array<std::string_view, 5> kStoreFolders = {
    kDataFolder, kHistoryFolder, kResultFolder, kHorseMasterFolder, kCourseRecordFolder};

// The index of the store (a SQLite database made from the store's files, never their source),
// beside the store folders in the data root.
inline constexpr std::string_view kStoreIndexFile = "index.sqlite3";

// The kinds of store file.
enum class TStoreFileKind {
    RaceDayRaces,   // DATA\<day><course>.jvRA: RA records of one day and racecourse, zeroed
    RunnerSlots,    // DATA\<day><course>.jvSEr: 216 slots of SE records as delivered
    RaceDayPayoffs, // DATA\<day><course>.jvHR: HR records, zeroed
    Results,        // SEIR\yyyy\<date><code>.jvSERA: final RA records, zeroed
    HorseHistory,   // SEI\nnnn\<number>.jvSEI: final SE records of one horse, zeroed
    HorseMaster,    // UM2\nnnn\<number>.jvUM2: one UM record
    CourseRecord,   // REC\<kind><course><type><distance><track>.jvRC: one RC record
};

// How a record enters a file of the kind.
enum class TStoreUpdate {
    KeyedMerge, // replace the line of the same race key or add it, keep the lines sorted
    SlotWrite,  // put the line into its runner slot
    Replace,    // the file becomes the one line
};

// The file name extension of the kind, with its dot: ".jvRA", ".jvSEr" ...
std::string_view StoreExtension(TStoreFileKind kind) noexcept;
// Length of a line of the kind without CR LF: RA 1270, SE 553, HR 717, UM 1607, RC 499.
std::size_t StoreLineLength(TStoreFileKind kind) noexcept;
// The update the kind takes.
TStoreUpdate StoreUpdateOf(TStoreFileKind kind) noexcept;
// True when bytes 3-11 (data kind and creation date) of a line are stored as "000000000".
bool StoresZeroedHeader(TStoreFileKind kind) noexcept;

// One store file, named relative to the data root.
struct TStoreFile {
    TStoreFileKind kind = TStoreFileKind::RaceDayRaces;
    std::string folder; // CP932 folder under the data root, parts joined by "\": "SEIR\2004"
    std::string name;   // CP932 bare file name: "2004年05月01日東京.jvRA"

    // The path text under the data root: folder + "\" + name.
    std::string Text() const { return folder + "\\" + name; }
    friend bool operator==(const TStoreFile&, const TStoreFile&) = default;
};

// The file's path under root, the CP932 names converted for the file system.
std::filesystem::path StorePath(const std::filesystem::path& root, const TStoreFile& file);
// A CP932 store folder text ("SEI\2001") as a path under root.
std::filesystem::path StoreFolderPath(const std::filesystem::path& root, std::string_view folder);

// ---- Fields that name files ------------------------------------------------------------
// Only these bytes may reach a file name, so that no record can lead a path out of its
// folder (no "..", separators, control bytes or blanks).

// Exactly `count` ASCII digits.
bool IsDigitText(std::string_view text, std::size_t count) noexcept;
// Exactly `count` code characters: ASCII digits and capital letters, as the code tables use
// ("05", "A6", "1").
bool IsCodeText(std::string_view text, std::size_t count) noexcept;

// The base name of a day's race-day files from the race date and racecourse code (RA, SE, HR
// 12-21): yyyy + "年" + mm + "月" + dd + "日" + the two-character racecourse name, 18 bytes.
// Nothing when the date is not eight digits or the code not two code characters.
std::optional<std::string> RaceDayBaseName(std::string_view dateAndCourse);

// DATA\ + base name + the kind's extension, for the three race-day kinds.
std::optional<TStoreFile> RaceDayFile(TStoreFileKind kind, std::string_view dateAndCourse);
// SEIR\ + yyyy + \ + date and course code (RA 12-21) + ".jvSERA".
std::optional<TStoreFile> ResultFile(std::string_view dateAndCourse);
// SEI\ + first four digits + \ + registration number (SE 31-40) + ".jvSEI".
std::optional<TStoreFile> HorseHistoryFile(std::string_view registrationNumber);
// UM2\ + first four digits + \ + registration number (UM 12-21) + ".jvUM2".
std::optional<TStoreFile> HorseMasterFile(std::string_view registrationNumber);
// REC\ + identification kind (RC 12) + racecourse code (21-22) + race type code (94-95) +
// distance (96-99) + track code (100-101) + ".jvRC": kind and distance digits, the codes code
// characters.
std::optional<TStoreFile> CourseRecordFile(std::string_view idKind, std::string_view course,
                                           std::string_view raceType, std::string_view distance,
                                           std::string_view track);

// ---- Runner slot files -------------------------------------------------------------------

inline constexpr int kSlotRaces = 12;   // races 1 to 12 have slots
inline constexpr int kSlotRunners = 18; // horse numbers 1 to 18 have slots
inline constexpr std::size_t kSlotLines = 216;
inline constexpr std::size_t kSlotLineLength = 553;

// The line of race `race`, horse number `horse`: (race - 1) x 18 + (horse - 1); nothing for a
// race outside 1-12 or a horse number outside 1-18, which have no slot.
std::optional<std::size_t> RunnerSlot(int race, int horse) noexcept;
// A new runner slot file: 216 lines of 553 blanks.
std::vector<std::string> NewSlotFile();

// ---- Lines -------------------------------------------------------------------------------

// A file's lines as a text list loads them: a line ends at CR LF, at a lone CR or at a lone
// LF; a last line without an end is a line; an empty file has no line.
std::vector<std::string> SplitLines(std::string_view bytes);
// The lines as a file: each followed by CR LF.
std::string JoinLines(const std::vector<std::string>& lines);
// Bytes JoinLines gives for the lines, without building them.
std::size_t JoinedSize(const std::vector<std::string>& lines) noexcept;

// The race key of a line: bytes 12-27; shorter for a line that ends before byte 27.
std::string_view LineRaceKey(std::string_view line) noexcept;

// Keyed merge of one line: the first line with the same race key is replaced, else the line
// is added; then the lines are sorted as texts (byte values, ascending), and with
// dropBlankFirst a first line that is empty or all blanks is removed (races files only).
void KeyedMerge(std::vector<std::string>& lines, std::string_view line, bool dropBlankFirst);

// Slot write: the file is first filled up to 216 lines with blank slots (a file cut short
// keeps its lines), then the line is put at `slot`.
void SlotWrite(std::vector<std::string>& lines, std::size_t slot, std::string_view line);

// Applies one record's line to a file's lines as the kind's update does. exists tells whether
// the file was there: a missing runner slot file starts as 216 blank slots, a missing merged
// file as no line.
void ApplyLine(TStoreFileKind kind, std::vector<std::string>& lines, bool exists,
               std::string_view line, std::size_t slot);

// ---- Racecourses that share a name ----------------------------------------------------------
// Race-day files are named by the racecourse's two-character name, which several codes share
// (01 and 58, 02 and 59, 04 and 60, 07 and 61, I4 and I6, and every unlisted code, named by
// four blanks). Two such courses racing on one day would write into the same files: the
// second's runners over the first's slots. A race-day file therefore belongs to the racecourse
// of the lines it holds; a line of another race day or racecourse is never let in.

// The race key (bytes 12-27) of the line that keeps `line` out of a file of the kind, or
// nothing when the line may go in: for the three race-day kinds, a line of the file (not
// blank, long enough to hold a key) of another date or racecourse code (bytes 12-21), and for
// a runner slot also a slot already holding another race key. Other kinds never clash.
std::optional<std::string> ClashingKey(TStoreFileKind kind, const std::vector<std::string>& lines,
                                       std::string_view line, std::size_t slot);

// The three race-day files (races, runner slots, payoffs) of the race-day file's day and
// racecourse name, the file itself among them: they belong to one racecourse together. Nothing
// for another kind.
std::vector<TStoreFile> RaceDaySiblings(const TStoreFile& file);

// ---- Folders -----------------------------------------------------------------------------

// What creating the store folders found.
struct TStoreFoldersResult {
    bool ok = true;
    std::string folder;         // the store folder that could not be created ("SEI")
    std::filesystem::path path; // its full path
    std::error_code error;      // the system's reason
    std::string message;        // CP932 text naming the folder, for the user

    explicit operator bool() const noexcept { return ok; }
};

// Creates each of "DATA", "SEI", "SEIR", "UM2", "REC" under the data root that is missing, in
// that order, stopping at the first that cannot be created. The data root itself must exist.
TStoreFoldersResult CreateStoreFolders(const std::filesystem::path& dataRoot);

} // namespace store
