// Where the day load finds the store files it reads, under the data root folder.
//
// Path texts are built in Shift-JIS as the store names its files (the race-day files carry
// the racecourse name in kanji) and turned into file-system paths by shell::PathFromText. Every
// part taken from a record or a date-list entry is checked first, so that nothing read from a
// file can name a path outside its folder: such a part gives no path, which the load treats as
// a missing file.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace race {

// The three files of one date and racecourse in the store's DATA folder.
enum class TRaceDayFileKind {
    Races,       // .jvRA: the day's RA records, one per race, in race key order
    RunnerSlots, // .jvSEr: 216 SE slots, (race number - 1) x 18 + (horse number - 1)
    Payoffs,     // .jvHR: the day's HR records, one per race
};

// dataRoot\DATA\ + entry + extension. entry is a date-list entry (the files' base name, such as
// "2004年05月01日東京"); nothing when it is empty or holds a folder separator, a drive colon or
// a control byte.
std::optional<std::filesystem::path> RaceDayFilePath(const std::filesystem::path& dataRoot,
                                                     std::string_view entry, TRaceDayFileKind kind);

// The course record file of a racecourse, race type, distance and track:
// dataRoot\REC\1 + course code (2) + race type code (2) + distance (4) + track code (2) +
// ".jvRC". Nothing unless every part has its width in ASCII letters and digits.
std::optional<std::filesystem::path> CourseRecordFilePath(const std::filesystem::path& dataRoot,
                                                          std::string_view courseCode,
                                                          std::string_view raceTypeCode,
                                                          std::string_view distance,
                                                          std::string_view trackCode);

// The horse history file of a horse: dataRoot\SEI\ + first four digits + \ + number +
// ".jvSEI". Nothing unless registrationNumber is ten digits.
std::optional<std::filesystem::path> HorseHistoryFilePath(const std::filesystem::path& dataRoot,
                                                          std::string_view registrationNumber);

// The result file of a date and racecourse: dataRoot\SEIR\ + year + \ + year + month-day +
// course code + ".jvSERA". Nothing unless year and month-day are four digits each and the
// course code two ASCII letters or digits.
std::optional<std::filesystem::path> ResultFilePath(const std::filesystem::path& dataRoot,
                                                    std::string_view year,
                                                    std::string_view monthDay,
                                                    std::string_view courseCode);

} // namespace race
