#include "race/DayLoad.h"

#include "files/NameSpelling.h"
#include "files/ProgramFolder.h"
#include "files/WholeFile.h"
#include "horse/HorseMasterConversion.h"
#include "jvdata/RecordLayout.h"
#include "jvdata/SjisText.h"
#include "race/DateList.h"
#include "race/StoreRecords.h"
#include "store/StoreLayout.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace race {

namespace fs = std::filesystem;

namespace {

using jvdata::TRecordHR;
using jvdata::TRecordRA;
using jvdata::TRecordRC;
using jvdata::TRecordSE;
using jvdata::TRecordUM;

// The bytes of a store file that the load treats as optional: empty when the file is missing
// or cannot be read, so that its records read as blank.
struct TOptionalFile {
    bool exists = false; // the file is there (read or not)
    std::string bytes;   // its content when it could be read
};

// The store under the data root as one load reads it: every file is found in whatever letter
// case the store spells it ("….JVRA" as well as "….jvRA"), as the date list finds the days.
// A file is first opened as spelt, so a store written by this program costs no folder
// listing; a folder is listed only when a file is not there as spelt, and once per load.
class TStoreFiles {
public:
    explicit TStoreFiles(const fs::path& dataRoot) : root_(dataRoot) {}

    const fs::path& Root() const noexcept { return root_; }

    // Reads a whole store file; Missing only when no spelling of it exists.
    files::FileReadResult Read(const fs::path& file) {
        files::FileReadResult read = files::ReadWholeFile(file);
        if (read.status == files::FileReadStatus::Missing) {
            if (const std::optional<fs::path> other = names_.FindOtherSpelling(file)) {
                read = files::ReadWholeFile(*other);
            }
        }
        return read;
    }

    // The bytes of a store file that the load treats as optional: empty when the file is
    // missing or cannot be read, so that its records read as blank.
    TOptionalFile ReadOptional(const fs::path& file) {
        files::FileReadResult read = Read(file);
        TOptionalFile result;
        result.exists = read.status != files::FileReadStatus::Missing;
        if (read.status == files::FileReadStatus::Read) {
            result.bytes = std::move(read.bytes);
        }
        return result;
    }

    // The existing spelling of a file or folder; nothing when there is none.
    std::optional<fs::path> Find(const fs::path& path) { return names_.Find(path); }

private:
    const fs::path& root_;
    files::TNameSpellings names_;
};

// A date-list entry that may stand as a file's base name: not empty, not dots only, and no
// folder separator ("\" or "/" as a character, never the second byte of a kanji), drive colon
// or control byte, so that no entry can name a file outside the DATA folder.
bool IsEntryName(std::string_view entry) {
    if (entry.empty() || entry.find_first_not_of('.') == std::string_view::npos) {
        return false;
    }
    for (std::size_t pos = 0; pos < entry.size();) {
        const std::size_t bytes = Sjis::CharBytesAt(entry, pos);
        if (bytes == 1) {
            const auto c = static_cast<unsigned char>(entry[pos]);
            if (c < 0x20 || c == 0x7F || c == '\\' || c == '/' || c == ':') {
                return false;
            }
        }
        pos += bytes;
    }
    return true;
}

// One of the day's race-day files (races, runner slots, payoffs): DATA\ + entry + the kind's
// extension under the data root. The entry is the files' base name as the date list read it
// from the DATA folder; nothing for an entry that is no file name.
std::optional<fs::path> RaceDayFilePath(const fs::path& dataRoot, std::string_view entry,
                                        store::TStoreFileKind kind) {
    if (!IsEntryName(entry)) {
        return std::nullopt;
    }
    const store::TStoreFile file{kind, std::string(store::kDataFolder),
                                 std::string(entry) + std::string(store::StoreExtension(kind))};
    return store::StorePath(dataRoot, file);
}

// The path of a store file under the data root; nothing when no file could be named.
std::optional<fs::path> PathOf(const fs::path& dataRoot,
                               const std::optional<store::TStoreFile>& file) {
    if (!file) {
        return std::nullopt;
    }
    return store::StorePath(dataRoot, *file);
}

// The race type codes tried, in order, for a race's course record file: the three age groups
// of flat races (12, 13, 14) share their records, as do the two jump groups (18, 19).
struct TRaceTypeFallback {
    std::string_view type;                 // race type code of the race
    std::array<std::string_view, 3> tried; // codes tried in the file name; empty ones unused
};
constexpr std::array<TRaceTypeFallback, 5> kRaceTypeFallbacks{{
    {"12", {"12", "13", "14"}},
    {"13", {"12", "13", "14"}},
    {"14", {"12", "13", "14"}},
    {"18", {"18", "19", ""}},
    {"19", {"18", "19", ""}},
}};

// Reads the course record of race into slot: the first course record file that exists among
// the race type fallbacks, or the race's own race type only.
void LoadCourseRecord(TStoreFiles& reader, const TRecordRA& race, TRecordRC& slot) {
    const std::string_view type = race.Field(jvdata::RA::kRaceTypeCode);
    std::array<std::string_view, 3> tried{type, "", ""};
    for (const TRaceTypeFallback& fallback : kRaceTypeFallbacks) {
        if (fallback.type == type) {
            tried = fallback.tried;
        }
    }
    for (const std::string_view code : tried) {
        if (code.empty()) {
            break;
        }
        const std::optional<fs::path> path =
            PathOf(reader.Root(), store::CourseRecordFile("1", race.CourseCode(), code,
                                                          race.Field(jvdata::RA::kDistance),
                                                          race.Field(jvdata::RA::kTrackCode)));
        if (!path) {
            continue;
        }
        const TOptionalFile file = reader.ReadOptional(*path);
        if (file.exists) {
            ReadRecordAt(file.bytes, 0, slot);
            return;
        }
    }
}

// Reads the horse master of a runner into slot, converting the horse's old master file first
// when its current one is missing. A failed conversion leaves the master blank.
void LoadHorseMaster(TStoreFiles& reader, std::string_view registrationNumber, TRecordUM& slot) {
    std::optional<fs::path> master =
        PathOf(reader.Root(), store::HorseMasterFile(registrationNumber));
    if (!master) {
        return;
    }
    TOptionalFile file = reader.ReadOptional(*master);
    if (!file.exists) {
        const std::optional<fs::path> oldPath =
            horse::OldHorseMasterFilePath(reader.Root(), registrationNumber);
        const std::optional<fs::path> old = oldPath ? reader.Find(*oldPath) : std::nullopt;
        if (!old) {
            return;
        }
        // The new master goes into the horse's folder as the store spells it, if it has one.
        if (const std::optional<fs::path> folder = reader.Find(master->parent_path())) {
            master = *folder / master->filename();
        }
        std::error_code ec;
        fs::create_directories(master->parent_path(), ec);
        const horse::HorseMasterConversionResult converted =
            horse::ConvertHorseMasterFile(*old, *master);
        if (converted.status != horse::HorseMasterConversionStatus::Converted) {
            return;
        }
        file = reader.ReadOptional(*master);
    }
    ReadRecordAt(file.bytes, 0, slot);
}

// The race date of a runner or an earlier run, SE 12-19 as the integer yyyymmdd.
int RaceDateOf(const TRecordSE& run) noexcept {
    return run.Int(jvdata::SE::kRaceDate);
}

// Fills a runner's earlier runs from its horse history file: from the last record (the latest
// race) back, every run dated before the runner's race, until five are taken.
void LoadPastRuns(TStoreFiles& reader, const TRecordSE& runner, TRunnerPastRuns& runs) {
    const int raceDate = RaceDateOf(runner);
    if (raceDate <= 0) {
        return;
    }
    const std::optional<fs::path> path =
        PathOf(reader.Root(), store::HorseHistoryFile(runner.RegistrationNumber()));
    if (!path) {
        return;
    }
    const TOptionalFile file = reader.ReadOptional(*path);
    std::size_t taken = 0;
    TRecordSE run;
    for (std::size_t i = WholeRecords<TRecordSE>(file.bytes); i > 0 && taken < runs.size(); --i) {
        if (!ReadRecordAt(file.bytes, i - 1, run)) {
            continue;
        }
        const int date = RaceDateOf(run);
        if (date > 0 && date < raceDate) {
            runs[taken++] = run;
        }
    }
}

// Reads the runners of the race in race slot s, with their horse masters and earlier runs.
void LoadRunners(TStoreFiles& reader, std::string_view runnerSlots, TRaceDayData& day, int s) {
    const TRecordRA& race = day.Races[s];
    const int raceNumber = race.Int(jvdata::RA::kRaceNumber);
    if (raceNumber < 1 || raceNumber > kRaceSlots) {
        return; // the runner slot file has no slots for this race
    }
    const int count = RunnerCount(race);
    for (int k = 0; k < count; ++k) {
        TRecordSE& runner = day.Runners[s][k];
        const std::size_t record =
            static_cast<std::size_t>(raceNumber - 1) * kRunnerSlots + static_cast<std::size_t>(k);
        if (!ReadRecordAt(runnerSlots, record, runner) || runner.IsBlank()) {
            continue;
        }
        if (runner.RaceKey() != race.RaceKey()) {
            runner = TRecordSE{}; // a slot of another race is never shown as this race's runner
            continue;
        }
        LoadHorseMaster(reader, runner.RegistrationNumber(), day.Horses[s][k]);
        LoadPastRuns(reader, runner, day.PastRuns[s][k]);
    }
}

// The key by which a payoff record finds its race: year, month-day, racecourse and race number
// (bytes 12-21 and 26-27 of RA and HR alike), 12 bytes.
template <class Record>
std::array<char, 12> PayoffKeyOf(const Record& record) noexcept {
    std::array<char, 12> key{};
    const std::string_view dateCourse = record.Field(jvdata::RaceKey::kDateAndCourse);
    const std::string_view number = record.RaceNumber();
    std::copy(dateCourse.begin(), dateCourse.end(), key.begin());
    std::copy(number.begin(), number.end(), key.begin() + 10);
    return key;
}

// Puts each of the first 12 records of the payoff file into the race slot of the same key.
void LoadPayoffs(TStoreFiles& reader, const fs::path& file, TRaceDayData& day) {
    const TOptionalFile payoffs = reader.ReadOptional(file);
    const std::size_t records =
        std::min<std::size_t>(WholeRecords<TRecordHR>(payoffs.bytes), kRaceSlots);
    constexpr std::array<char, 12> kBlankKey = [] {
        std::array<char, 12> key{};
        key.fill(' ');
        return key;
    }();
    TRecordHR payoff;
    for (std::size_t i = 0; i < records; ++i) {
        if (!ReadRecordAt(payoffs.bytes, i, payoff)) {
            continue;
        }
        const std::array<char, 12> key = PayoffKeyOf(payoff);
        if (key == kBlankKey) {
            continue;
        }
        for (int s = 0; s < kRaceSlots; ++s) {
            if (PayoffKeyOf(day.Races[s]) == key) {
                day.Payoffs[s] = payoff;
                break;
            }
        }
    }
}

// The result files read during one load, each read once however many earlier runs it serves.
class TResultFiles {
public:
    explicit TResultFiles(TStoreFiles& reader) : reader_(reader) {}

    // Copies into race the first race record of the earlier run's result file whose race number
    // (RA 26-27) is the run's; leaves race blank when there is no such file or record.
    void FindRace(const TRecordSE& run, TRecordRA& race) {
        const std::string* bytes = FileOf(run);
        if (bytes == nullptr) {
            return;
        }
        const std::string_view number = run.RaceNumber();
        const std::size_t records = WholeRecords<TRecordRA>(*bytes);
        constexpr std::size_t kNumberAt = jvdata::RA::kRaceNumber.first - 1;
        for (std::size_t i = 0; i < records; ++i) {
            const std::string_view candidate =
                std::string_view(*bytes).substr(i * TRecordRA::kLength + kNumberAt, 2);
            if (candidate == number && ReadRecordAt(*bytes, i, race) && !race.IsBlank()) {
                return;
            }
        }
        race = TRecordRA{};
    }

private:
    // The content of the run's result file, read on first use; nothing when the run names no
    // result file or the file is missing or unreadable. Files are kept by the run's date and
    // racecourse (SE 12-21), which name them, so each path is built once.
    const std::string* FileOf(const TRecordSE& run) {
        const std::string_view dateAndCourse = run.Field(jvdata::RaceKey::kDateAndCourse);
        auto [entry, fresh] = files_.try_emplace(std::string(dateAndCourse));
        if (fresh) {
            if (const std::optional<fs::path> path =
                    PathOf(reader_.Root(), store::ResultFile(dateAndCourse))) {
                entry->second = reader_.ReadOptional(*path);
            }
        }
        return entry->second.exists ? &entry->second.bytes : nullptr;
    }

    TStoreFiles& reader_;
    std::unordered_map<std::string, TOptionalFile> files_; // by SE 12-21
};

// Reads the race record of every earlier run of the runners of race slot s.
void LoadPastRaces(TResultFiles& results, TRaceDayData& day, int s) {
    for (int k = 0; k < kRunnerSlots; ++k) {
        for (int p = 0; p < kPastRunSlots; ++p) {
            const TRecordSE& run = day.PastRuns[s][k][p];
            if (!run.IsBlank()) {
                results.FindRace(run, day.PastRaces[s][k][p]);
            }
        }
    }
}

// The message of a day file that is there but cannot be read, naming the file.
std::string ReadFailedMessage(const fs::path& file, const std::error_code& error) {
    std::string message = Sjis::FromUtf8("「") + files::TextFromPath(file) +
                          Sjis::FromUtf8("」を読み込めませんでした。");
    const std::string reason = files::SystemErrorText(error);
    if (!reason.empty()) {
        message += Sjis::FromUtf8("（") + reason + Sjis::FromUtf8("）");
    }
    return message;
}

// Reads one of the two files a day cannot be shown without. Nothing, with result set, when it
// is missing or unreadable.
std::optional<std::string> ReadDayFile(TStoreFiles& reader, const std::optional<fs::path>& file,
                                       TDayLoadResult& result) {
    if (!file) {
        result.status = TDayLoadStatus::Incomplete;
        result.message = IncompleteDayMessage();
        return std::nullopt;
    }
    files::FileReadResult read = reader.Read(*file);
    switch (read.status) {
    case files::FileReadStatus::Read:
        return std::move(read.bytes);
    case files::FileReadStatus::Missing:
        result.status = TDayLoadStatus::Incomplete;
        result.message = IncompleteDayMessage();
        return std::nullopt;
    case files::FileReadStatus::Failed:
        break;
    }
    result.status = TDayLoadStatus::ReadFailed;
    result.system = read.error;
    result.message = ReadFailedMessage(*file, read.error);
    return std::nullopt;
}

} // namespace

const std::string& IncompleteDayMessage() {
    static const std::string message = Sjis::FromUtf8("データ作成が未完了のようです。");
    return message;
}

namespace {

// Advances the load's progress bar by one step.
class TProgressSteps {
public:
    TProgressSteps(TDayLoadResult& result, const TDayLoadProgress& progress)
        : result_(result), progress_(progress) {}

    void Advance() {
        ++result_.progress;
        if (progress_) {
            progress_(result_.progress);
        }
    }

private:
    TDayLoadResult& result_;
    const TDayLoadProgress& progress_;
};

// What every load does once the races and runners are in place: the payoffs of the day's
// payoff file (DATA\ + base name + ".jvHR"), the race record of every earlier run, the parsed
// payoffs and the race tabs.
void FinishLoad(TStoreFiles& reader, std::string_view baseName, TRaceDayData& day,
                TDayLoadResult& result, TProgressSteps& steps) {
    if (const std::optional<fs::path> payoffs =
            RaceDayFilePath(reader.Root(), baseName, store::TStoreFileKind::RaceDayPayoffs)) {
        LoadPayoffs(reader, *payoffs, day);
    }

    TResultFiles results(reader);
    for (int s = 0; s < kRaceSlots; ++s) {
        steps.Advance();
        LoadPastRaces(results, day, s);
    }

    day.PayoffTable = ParsePayoffTable(day.Payoffs);
    result.status = TDayLoadStatus::Loaded;
    result.tabs = RaceTabs(day);
}

TDayLoadResult LoadCardDay(const fs::path& dataRoot, std::string_view entry, TRaceDayData& day,
                           const TDayLoadProgress& progress) {
    TDayLoadResult result;
    TStoreFiles reader(dataRoot);
    const std::optional<std::string> races = ReadDayFile(
        reader, RaceDayFilePath(dataRoot, entry, store::TStoreFileKind::RaceDayRaces), result);
    if (!races) {
        return result;
    }
    const std::optional<std::string> runnerSlots = ReadDayFile(
        reader, RaceDayFilePath(dataRoot, entry, store::TStoreFileKind::RunnerSlots), result);
    if (!runnerSlots) {
        return result;
    }

    // The races of the file, in file order, before anything of the previous day is given up.
    std::array<std::size_t, kRaceSlots> raceRecords{};
    int raceCount = 0;
    {
        TRecordRA race;
        const std::size_t records = WholeRecords<TRecordRA>(*races);
        for (std::size_t i = 0; i < records && raceCount < kRaceSlots; ++i) {
            if (ReadRecordAt(*races, i, race) && HoldsRace(race)) {
                raceRecords[raceCount++] = i;
            }
        }
    }
    if (raceCount == 0) {
        result.status = TDayLoadStatus::Incomplete;
        result.message = IncompleteDayMessage();
        return result;
    }

    TProgressSteps steps(result, progress);
    day.Clear();
    day.RaceCount = raceCount;
    for (int s = 0; s < raceCount; ++s) {
        ReadRecordAt(*races, raceRecords[s], day.Races[s]);
        LoadCourseRecord(reader, day.Races[s], day.CourseRecords[s]);
        LoadRunners(reader, *runnerSlots, day, s);
        steps.Advance();
    }
    FinishLoad(reader, entry, day, result, steps);
    return result;
}

// ---- A day shown from its results --------------------------------------------------------

char FoldAscii(char c) noexcept {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when name ends in extension (ASCII), letter case aside; name in bytes or, on Windows,
// in the file system's wide characters.
template <class Name>
bool HasExtension(const Name& name, std::string_view extension) noexcept {
    return name.size() >= extension.size() &&
           std::equal(extension.begin(), extension.end(), name.end() - extension.size(),
                      [](char x, auto y) {
                          return static_cast<unsigned>(y) < 0x80 &&
                                 FoldAscii(x) == FoldAscii(static_cast<char>(y));
                      });
}

// The bare names of a folder's regular files that CP932 can spell, in ascending byte order.
std::vector<std::pair<std::string, fs::path>> FolderFiles(const fs::path& folder) {
    std::vector<std::pair<std::string, fs::path>> found;
    ListFolderFiles(folder, found);
    std::sort(found.begin(), found.end());
    return found;
}

// The result file of a base name ("2004年05月01日東京"): the file of SEIR\yyyy whose date and
// racecourse code (the name before ".jvSERA") spell that base name. The date and racecourse
// code (RA 12-21) go to dateAndCourse. Nothing when the base name is no date and racecourse
// or no result file spells it.
std::optional<fs::path> FindResultFile(TStoreFiles& reader, std::string_view baseName,
                                       std::string& dateAndCourse) {
    if (baseName.size() != kDateEntryLength || !IsEntryName(baseName)) {
        return std::nullopt;
    }
    const std::string date = std::string(baseName.substr(0, 4)) +
                             std::string(baseName.substr(6, 2)) +
                             std::string(baseName.substr(10, 2));
    if (!store::IsDigitText(date, 8)) {
        return std::nullopt;
    }
    const std::optional<fs::path> folder = reader.Find(store::StoreFolderPath(
        reader.Root(), std::string(store::kResultFolder) + "\\" + date.substr(0, 4)));
    if (!folder) {
        return std::nullopt;
    }
    constexpr std::string_view kExtension = ".jvSERA";
    for (const auto& [name, path] : FolderFiles(*folder)) {
        if (name.size() != 10 + kExtension.size() || !name.starts_with(date) ||
            !HasExtension(name, kExtension)) {
            continue;
        }
        const std::string_view stem = std::string_view(name).substr(0, 10);
        if (store::RaceDayBaseName(stem) == baseName) {
            dateAndCourse = stem;
            return path;
        }
    }
    return std::nullopt;
}

// The races of a results day: the sound race records of the result file in file order (its
// sorted order, so race number order) that belong to the day and hold a race numbered 1 to
// 12, one per race number, at most 12. Returns how many were put into races.
int TakeResultRaces(std::string_view file, std::string_view dateAndCourse,
                    TSlots<TRecordRA, kRaceSlots>& races) {
    std::array<bool, kRaceSlots> taken{};
    int count = 0;
    const std::size_t records = WholeRecords<TRecordRA>(file);
    for (std::size_t i = 0; i < records && count < kRaceSlots; ++i) {
        TRecordRA& race = races[static_cast<std::size_t>(count)];
        if (!ReadRecordAt(file, i, race) || !HoldsRace(race) ||
            race.Field(jvdata::RaceKey::kDateAndCourse) != dateAndCourse) {
            continue;
        }
        const int number = race.Int(jvdata::RA::kRaceNumber);
        if (number < 1 || number > kRaceSlots || taken[static_cast<std::size_t>(number - 1)]) {
            continue;
        }
        taken[static_cast<std::size_t>(number - 1)] = true;
        ++count;
    }
    return count; // a slot from count on may hold a record passed over
}

// The history folders (SEI\nnnn, named by the foaling year) that may hold a runner of a race
// run in `year`: those of four digits at least two years before it, as a horse races from its
// two-year-old season on, youngest first, since most runners are two to five years old.
std::vector<fs::path> HistoryFoldersFor(const fs::path& history, int year) {
    std::vector<std::pair<int, fs::path>> found;
    std::error_code error;
    fs::directory_iterator folders(history, error);
    for (; !error && folders != fs::directory_iterator(); folders.increment(error)) {
        const std::optional<std::string> name = files::TryTextFromPath(folders->path().filename());
        std::error_code typeError;
        if (!name || !store::IsDigitText(*name, 4) || std::stoi(*name) > year - 2 ||
            !folders->is_directory(typeError)) {
            continue;
        }
        found.emplace_back(std::stoi(*name), folders->path());
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    std::vector<fs::path> paths;
    paths.reserve(found.size());
    for (auto& [foaled, path] : found) {
        paths.push_back(std::move(path));
    }
    return paths;
}

// Puts the day's final runner records out of the horse history files into the runner slots
// of their races, by horse number. The store keeps a final runner record only in its horse's
// history file (SEI\nnnn\<number>.jvSEI). The files of the hint's horses are read first; then,
// while a race still lacks a runner for one of its registered horse numbers, the history files
// of the crops old enough to race (the folder is the first four digits of the registration
// number, the foaling year) are looked through, youngest crop first: the old crops, which
// hardly ever run, are then not opened at all. A record that is not sound, names no race of
// the day or a horse number outside 1-18, or finds its slot taken, is passed over.
void CollectResultRunners(TStoreFiles& reader, std::string_view dateAndCourse,
                          const TDayRunnersHint& hint, TRaceDayData& day) {
    int missing = 0; // registered horse numbers of the day's races without their runner yet
    for (int s = 0; s < day.RaceCount; ++s) {
        missing += RunnerCount(day.Races[s]);
    }
    constexpr std::size_t kCourseAt = jvdata::RaceKey::kDateAndCourse.first - 1;
    const auto takeRuns = [&](std::string_view bytes) {
        TRecordSE run;
        for (std::size_t i = 0; i < WholeRecords<TRecordSE>(bytes); ++i) {
            if (bytes.substr(i * TRecordSE::kLength + kCourseAt, dateAndCourse.size()) !=
                    dateAndCourse ||
                !ReadRecordAt(bytes, i, run)) {
                continue;
            }
            const int horse = run.Int(jvdata::SE::kHorseNumber);
            if (horse < 1 || horse > kRunnerSlots) {
                continue;
            }
            for (int s = 0; s < day.RaceCount; ++s) {
                TRecordSE& slot = day.Runners[s][horse - 1];
                if (day.Races[s].RaceKey() == run.RaceKey() && slot.IsBlank()) {
                    slot = run;
                    missing -= horse <= RunnerCount(day.Races[s]) ? 1 : 0;
                    break;
                }
            }
        }
    };

    if (hint) {
        for (const std::string& horse : hint(dateAndCourse)) {
            // A name the store could not hold (not ten digits) names no file.
            const std::optional<fs::path> path =
                PathOf(reader.Root(), store::HorseHistoryFile(horse));
            if (!path) {
                continue;
            }
            const files::FileReadResult read = reader.Read(*path);
            if (read.status == files::FileReadStatus::Read) {
                takeRuns(read.bytes);
            }
        }
        if (missing <= 0) {
            return;
        }
    }

    const std::optional<fs::path> history =
        reader.Find(reader.Root() / std::string(store::kHistoryFolder));
    if (!history) {
        return;
    }
    const int year = std::stoi(std::string(dateAndCourse.substr(0, 4)));
    constexpr std::string_view kExtension = ".jvSEI";
    for (const fs::path& folder : HistoryFoldersFor(*history, year)) {
        // Thousands of files: their names are checked as the file system spells them (a
        // history file's name is ASCII), and each is opened once, in listing order. A file the
        // hint gave is read again: its runners' slots are taken, so that costs no runner.
        std::error_code listError; // a folder that cannot be listed gives no runners
        fs::directory_iterator files(folder, listError);
        for (; missing > 0 && !listError && files != fs::directory_iterator();
             files.increment(listError)) {
            std::error_code typeError;
            const fs::path file = files->path().filename();
            if (!HasExtension(file.native(), kExtension) || !files->is_regular_file(typeError)) {
                continue;
            }
            const files::FileReadResult read = files::ReadWholeFile(files->path());
            if (read.status == files::FileReadStatus::Read) {
                takeRuns(read.bytes);
            }
        }
        if (missing <= 0) {
            break;
        }
    }
}

TDayLoadResult LoadResultsDay(const fs::path& dataRoot, std::string_view baseName,
                              TRaceDayData& day, const TDayLoadProgress& progress,
                              const TDayRunnersHint& runners) {
    TDayLoadResult result;
    TStoreFiles reader(dataRoot);
    std::string dateAndCourse;
    const std::optional<fs::path> file = FindResultFile(reader, baseName, dateAndCourse);
    const std::optional<std::string> races = ReadDayFile(reader, file, result);
    if (!races) {
        return result;
    }
    // The races first, so that a file without a race of the day leaves the previous day.
    TSlots<TRecordRA, kRaceSlots> races12;
    const int raceCount = TakeResultRaces(*races, dateAndCourse, races12);
    if (raceCount == 0) {
        result.status = TDayLoadStatus::Incomplete;
        result.message = IncompleteDayMessage();
        return result;
    }

    TProgressSteps steps(result, progress);
    day.Clear();
    day.RaceCount = raceCount;
    std::copy_n(races12.begin(), raceCount, day.Races.begin());
    CollectResultRunners(reader, dateAndCourse, runners, day);
    for (int s = 0; s < raceCount; ++s) {
        LoadCourseRecord(reader, day.Races[s], day.CourseRecords[s]);
        for (int k = 0; k < kRunnerSlots; ++k) {
            const TRecordSE& runner = day.Runners[s][k];
            if (!runner.IsBlank()) {
                LoadHorseMaster(reader, runner.RegistrationNumber(), day.Horses[s][k]);
                LoadPastRuns(reader, runner, day.PastRuns[s][k]);
            }
        }
        steps.Advance();
    }
    FinishLoad(reader, baseName, day, result, steps);
    return result;
}

} // namespace

TDayLoadResult LoadRaceDay(const fs::path& dataRoot, std::string_view entry, TRaceDayData& day,
                           const TDayLoadProgress& progress, const TDayRunnersHint& runners) {
    if (IsResultsDayEntry(entry)) {
        return LoadResultsDay(dataRoot, EntryBaseName(entry), day, progress, runners);
    }
    return LoadCardDay(dataRoot, entry, day, progress);
}

} // namespace race
