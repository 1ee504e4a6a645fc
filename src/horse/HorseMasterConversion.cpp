#include "horse/HorseMasterConversion.h"

#include "files/ProgramFolder.h"
#include "files/WholeFile.h"
#include "jvdata/SjisText.h"

#include <algorithm>
#include <array>

namespace horse {

namespace fs = std::filesystem;

namespace {

// One row of the correspondence of the two UM layouts: count entries of length bytes each,
// read back to back from inputFirst and written back to back from outputFirst, each entry
// preceded by blanksBefore half-width blanks.
struct ConversionRange {
    std::size_t inputFirst;   // 1-based first byte in the old 1577-byte record
    std::size_t length;       // bytes of one entry, copied as they are
    std::size_t count;        // entries in the row
    std::size_t outputFirst;  // 1-based first byte in the 1609-byte record
    std::size_t blanksBefore; // half-width blanks written before each entry
};

// The whole old record, row by row, in the order of both layouts.
constexpr std::array<ConversionRange, 19> kConversionTable{{
    // input length count output blanks
    {1, 204, 1, 1, 0},       // header, registration number, deregistration, birth date, ...
    {205, 44, 14, 205, 2},   // pedigree: 8-byte number and 36-byte name, widened to 46
    {821, 1, 1, 849, 0},     // copied as it stands
    {822, 5, 1, 850, 0},     // copied as it stands
    {827, 8, 1, 855, 0},     // trainer short name
    {835, 20, 1, 863, 0},    // invitation region name
    {855, 6, 1, 883, 2},     // widened from 6 to 8
    {861, 70, 1, 891, 2},    // breeder name, widened from 70 to 72
    {931, 20, 1, 963, 0},    // place of birth
    {951, 6, 1, 983, 0},     // copied as it stands
    {957, 64, 1, 989, 0},    // owner name
    {1021, 9, 6, 1053, 0},   // prize, added money and earnings for class, flat and jump
    {1075, 18, 1, 1107, 0},  // placing counts, all runs
    {1093, 18, 1, 1125, 0},  // placing counts, the group the horse pages skip
    {1111, 18, 7, 1143, 0},  // placing counts by surface and direction, and jump
    {1237, 18, 12, 1269, 0}, // placing counts by going
    {1453, 18, 6, 1485, 0},  // placing counts by distance band
    {1561, 12, 1, 1593, 0},  // copied as it stands
    {1573, 3, 1, 1605, 0},   // copied as it stands; the old CR LF is not copied
}};

// True when the rows read every data byte of the old record once, in order, and write every
// data byte of the new record once, in order: the table then leaves no gap and no overlap.
constexpr bool TableTilesBothRecords() {
    std::size_t input = 1;
    std::size_t output = 1;
    for (const ConversionRange& row : kConversionTable) {
        if (row.inputFirst != input || row.outputFirst != output || row.length == 0 ||
            row.count == 0) {
            return false;
        }
        input += row.length * row.count;
        output += (row.blanksBefore + row.length) * row.count;
    }
    return input == kOldHorseMasterDataLength + 1 && output == kHorseMasterDataLength + 1;
}
static_assert(TableTilesBothRecords(), "the conversion table must cover both UM layouts");

// Messages for the user, typed once in UTF-8.
std::string Message(std::string_view utf8) {
    return Sjis::FromUtf8(utf8);
}

// The system's reason in full-width parentheses, or nothing when the system gives none.
std::string ReasonText(const std::error_code& error) {
    const std::string reason = files::SystemErrorText(error);
    return reason.empty() ? std::string() : Message("（") + reason + Message("）");
}

// A store file of a horse: dataRoot\folder\ + first four digits + \ + number + extension.
std::optional<fs::path> HorseFilePath(const fs::path& dataRoot, std::string_view folder,
                                      std::string_view registrationNumber,
                                      std::string_view extension) {
    if (!IsRegistrationNumber(registrationNumber)) {
        return std::nullopt;
    }
    const std::string number(registrationNumber);
    return dataRoot / fs::path(std::string(folder)) / fs::path(number.substr(0, 4)) /
           fs::path(number + std::string(extension));
}

} // namespace

std::string ConvertHorseMasterRecord(std::string_view oldRecord) {
    if (oldRecord.size() < kOldHorseMasterDataLength) {
        return {};
    }
    std::string line(kHorseMasterRecordLength, ' ');
    for (const ConversionRange& row : kConversionTable) {
        for (std::size_t entry = 0; entry < row.count; ++entry) {
            const std::size_t from = row.inputFirst - 1 + entry * row.length;
            const std::size_t to =
                row.outputFirst - 1 + entry * (row.blanksBefore + row.length) + row.blanksBefore;
            std::copy_n(oldRecord.data() + from, row.length, line.data() + to);
        }
    }
    line[kHorseMasterDataLength] = '\r';
    line[kHorseMasterDataLength + 1] = '\n';
    return line;
}

ConvertedHorseMasters ConvertHorseMasterRecords(std::string_view oldFile) {
    ConvertedHorseMasters converted;
    converted.records = oldFile.size() / kOldHorseMasterRecordLength;
    converted.trailingBytes = oldFile.size() % kOldHorseMasterRecordLength;
    converted.lines.reserve(converted.records * kHorseMasterRecordLength);
    for (std::size_t record = 0; record < converted.records; ++record) {
        converted.lines += ConvertHorseMasterRecord(
            oldFile.substr(record * kOldHorseMasterRecordLength, kOldHorseMasterRecordLength));
    }
    return converted;
}

HorseMasterConversionResult ConvertHorseMasterFile(const fs::path& input, const fs::path& output) {
    using Status = HorseMasterConversionStatus;
    HorseMasterConversionResult result;

    const files::FileReadResult read = files::ReadWholeFile(input);
    if (read.status == files::FileReadStatus::Missing) {
        result.status = Status::NoInput;
        return result;
    }
    if (read.status == files::FileReadStatus::Failed) {
        result.status = Status::ReadFailed;
        result.system = read.error;
        result.message = Message("旧形式の馬マスタファイル「") + files::TextFromPath(input) +
                         Message("」を読み込めませんでした。") + ReasonText(read.error);
        return result;
    }

    const ConvertedHorseMasters converted = ConvertHorseMasterRecords(read.bytes);
    result.trailingBytes = converted.trailingBytes;
    if (converted.records == 0) {
        result.status = Status::NoRecord;
        return result;
    }

    // The day load creates the folder before calling; creating it here as well lets the
    // conversion stand on its own.
    const std::error_code error =
        files::ReplaceWholeFile(output, converted.lines, /*createFolder=*/true);
    if (error) {
        result.status = Status::WriteFailed;
        result.system = error;
        result.message = Message("馬マスタファイル「") + files::TextFromPath(output) +
                         Message("」を書き込めませんでした。") + ReasonText(error);
        return result;
    }
    result.status = Status::Converted;
    result.records = converted.records;
    return result;
}

bool IsRegistrationNumber(std::string_view text) {
    return text.size() == kRegistrationNumberLength &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<fs::path> HorseMasterFilePath(const fs::path& dataRoot,
                                            std::string_view registrationNumber) {
    return HorseFilePath(dataRoot, "UM2", registrationNumber, ".jvUM2");
}

std::optional<fs::path> OldHorseMasterFilePath(const fs::path& dataRoot,
                                               std::string_view registrationNumber) {
    return HorseFilePath(dataRoot, "UMA", registrationNumber, ".jvUMA");
}

} // namespace horse
