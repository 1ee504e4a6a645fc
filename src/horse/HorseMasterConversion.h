// Conversion of old horse master files (.jvUMA, 1577-byte UM records of an older layout, kept
// in the store's UMA folder and never written by the program) into horse master files
// (.jvUM2, 1609-byte UM records) that the race-day load and the horse profile read.
//
// The old layout holds the same fields as the current one; three places grew by two bytes
// (each pedigree entry's leading number, the 6 bytes after the invitation region and the
// breeder name), and the conversion puts two half-width blanks in front of each of them.
// All texts are CP932 bytes.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace horse {

// Lengths of the two UM layouts, in bytes.
inline constexpr std::size_t kOldHorseMasterRecordLength = 1577; // .jvUMA record with CR LF
inline constexpr std::size_t kOldHorseMasterDataLength = 1575;   // .jvUMA record without CR LF
inline constexpr std::size_t kHorseMasterRecordLength = 1609;    // .jvUM2 record with CR LF
inline constexpr std::size_t kHorseMasterDataLength = 1607;      // .jvUM2 record without CR LF

// Length of a horse registration number (UM 12-21, SE 31-40): ten digits, the first four the
// foaling year.
inline constexpr std::size_t kRegistrationNumberLength = 10;

// One old record (its 1575 data bytes; a CR LF or anything else after them is not read) as
// one 1609-byte record line ending in CR LF. An input shorter than 1575 bytes is not a whole
// record and gives the empty text.
std::string ConvertHorseMasterRecord(std::string_view oldRecord);

// What the conversion of a whole old file's content made.
struct ConvertedHorseMasters {
    std::string lines;             // one converted 1609-byte line per whole record, in order
    std::size_t records = 0;       // whole 1577-byte records converted
    std::size_t trailingBytes = 0; // bytes of a partial record at the end, not converted
};

// Every whole 1577-byte record of an old file's content, converted in file order.
ConvertedHorseMasters ConvertHorseMasterRecords(std::string_view oldFile);

// How a file conversion ended.
enum class HorseMasterConversionStatus {
    Converted,   // the output file was written with `records` records
    NoInput,     // the .jvUMA file (or its folder) does not exist; nothing was written
    NoRecord,    // the .jvUMA file holds no whole record; nothing was written
    ReadFailed,  // the .jvUMA file is there but could not be read; nothing was written
    WriteFailed, // the .jvUM2 file could not be written; a file already there is untouched
};

// The outcome of a file conversion. NoInput and NoRecord are not failures: the caller finds
// no .jvUM2 file and leaves the horse's master blank, and a later load tries again.
struct HorseMasterConversionResult {
    HorseMasterConversionStatus status = HorseMasterConversionStatus::NoInput; // what happened
    std::size_t records = 0;       // records written to the output file
    std::size_t trailingBytes = 0; // bytes of a partial record at the input's end, ignored
    std::string message;           // CP932 text naming the file, for ReadFailed and WriteFailed
    std::error_code system;        // the system's reason for ReadFailed and WriteFailed

    bool failed() const noexcept {
        return status == HorseMasterConversionStatus::ReadFailed ||
               status == HorseMasterConversionStatus::WriteFailed;
    }
};

// Converts the old horse master file input into the horse master file output: every whole
// record in file order, a partial record at the end ignored. The output is written only
// when there is at least one record, and then atomically (a temporary file in the same
// folder renamed over any old file), so a failure never leaves a part of a file behind for
// later loads to trust. The output's folder is created when missing.
HorseMasterConversionResult ConvertHorseMasterFile(const std::filesystem::path& input,
                                                   const std::filesystem::path& output);

// Whether text is a horse registration number that may name store files: exactly ten ASCII
// digits. Blanks (a slot without a runner), separators, dots and any other byte are refused,
// so that nothing read from a record can lead a path out of its folder.
bool IsRegistrationNumber(std::string_view text);

// The horse master file of a horse: dataRoot\UM2\ + first four digits + \ + number +
// ".jvUM2". Nothing when registrationNumber is not a registration number.
std::optional<std::filesystem::path> HorseMasterFilePath(const std::filesystem::path& dataRoot,
                                                         std::string_view registrationNumber);

// The old horse master file of a horse: dataRoot\UMA\ + first four digits + \ + number +
// ".jvUMA". Nothing when registrationNumber is not a registration number.
std::optional<std::filesystem::path> OldHorseMasterFilePath(const std::filesystem::path& dataRoot,
                                                            std::string_view registrationNumber);

} // namespace horse
