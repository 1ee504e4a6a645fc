// JV-Data records as fixed-size byte blocks: TRecordRA, TRecordSE, TRecordHR, TRecordUM and
// TRecordRC, each exactly its type's length with the final CR LF.
//
// A record holds the Shift-JIS bytes as JV-Link delivered them. Fields are read and written by
// 1-based inclusive byte positions (RecordLayout.h names them all): Field() gives the bytes as
// they stand, Int() reads them with the lenient number reader, SetField() writes a text cut and
// blank-padded to the field's width. Reads outside the record are clipped to it; writes outside
// the data bytes (which would break the record or its CR LF) change nothing and return false.
#pragma once

#include "jvdata/LenientInt.h"
#include "jvdata/RecordLayout.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace jvdata {

// The five record types the program reads; Unknown for anything else.
enum class TRecordType { Unknown, RA, SE, HR, UM, RC };

// The type named by the first two bytes of a record ("RA" ...); Unknown when they name none of
// the five or the bytes are shorter than two.
TRecordType RecordTypeOf(std::string_view bytes) noexcept;
// The two-byte type code ("RA" ...); empty for Unknown.
std::string_view RecordTypeCode(TRecordType type) noexcept;
// Length with CR LF of a record of the type: RecordLength("SE") == 555; 0 for an unknown code
// (the code must be exactly the two bytes).
std::size_t RecordLength(TRecordType type) noexcept;
std::size_t RecordLength(std::string_view typeCode) noexcept;

// What a byte string is, as a record of one of the five types.
enum class TRecordCheck {
    Ok,          // a known type, its exact length, ending in CR LF
    UnknownType, // bytes 1-2 name none of the five types
    WrongLength, // not the type's length (a cut or overlong record)
    NoLineEnd,   // the right length, but the last two bytes are not CR LF
};
// Checks raw bytes as a record of the type their first two bytes name.
TRecordCheck CheckRecord(std::string_view bytes) noexcept;
// Checks raw bytes as a record of `length` bytes ending in CR LF (the type is not looked at).
TRecordCheck CheckRecordLength(std::string_view bytes, std::size_t length) noexcept;

// Surface of a track code (RA 706-707, RC 100-101) read as an integer: 22 or less is turf,
// 23 to 29 dirt, anything above neither.
enum class TSurface { Turf, Dirt, Other };
TSurface SurfaceOfTrack(std::string_view trackCode) noexcept;

namespace detail {
// The bodies of the field writers, shared by every record length.
void WriteFittedField(char* out, std::size_t width, std::string_view text) noexcept;
bool WriteNumberField(char* out, std::size_t width, std::int64_t value) noexcept;
} // namespace detail

// The bytes and field access shared by every record type. N is the length with CR LF.
template <std::size_t N>
class TRecordBytes {
public:
    static_assert(N > 2, "a record holds data bytes and CR LF");

    // Length with CR LF, and the number of data bytes before it (a store line's length).
    static constexpr std::size_t kLength = N;
    static constexpr std::size_t kDataLength = N - 2;

    // A blank record: N - 2 half-width blanks and CR LF (what an empty store slot holds).
    TRecordBytes() noexcept {
        bytes_.fill(' ');
        bytes_[N - 2] = '\r';
        bytes_[N - 1] = '\n';
    }

    // All N bytes, CR LF included.
    const std::array<char, N>& bytes() const noexcept { return bytes_; }
    std::string_view view() const noexcept { return {bytes_.data(), N}; }
    // The data bytes without CR LF: the line a store file keeps.
    std::string_view Line() const noexcept { return {bytes_.data(), N - 2}; }

    // Bytes first..last (1-based, inclusive), clipped to the record; empty when nothing of the
    // range lies in it. The view lives as long as the record.
    std::string_view Field(int first, int last) const noexcept {
        const int lo = first < 1 ? 1 : first;
        const int hi = last > static_cast<int>(N) ? static_cast<int>(N) : last;
        if (hi < lo) {
            return {};
        }
        return {bytes_.data() + (lo - 1), static_cast<std::size_t>(hi - lo + 1)};
    }
    std::string_view Field(TFieldPos pos) const noexcept { return Field(pos.first, pos.last); }

    // The byte at 1-based pos; '\0' outside the record.
    char At(int pos) const noexcept {
        return pos >= 1 && pos <= static_cast<int>(N) ? bytes_[pos - 1] : '\0';
    }

    // The field's lenient integer value: leading blanks skipped, optional sign, digits up to the
    // first other byte; 0 when there is no digit (a blank field).
    std::int32_t Int(int first, int last) const noexcept { return LenientInt(Field(first, last)); }
    std::int32_t Int(TFieldPos pos) const noexcept { return LenientInt(Field(pos)); }
    // The same reading in 64 bits, for sums of the 9-digit money fields.
    std::int64_t Int64(TFieldPos pos) const noexcept { return LenientInt64(Field(pos)); }

    // The data kind (byte 3) as the store takes it: a digit's value, 0 for anything else.
    int DataKindValue() const noexcept {
        const char c = bytes_[2];
        return c >= '0' && c <= '9' ? c - '0' : 0;
    }

    // Writes text into bytes first..last as a fixed field: cut to the width without splitting a
    // two-byte character, then padded with half-width blanks. Returns false, changing nothing,
    // when the range is empty or not wholly inside the data bytes 1..N-2.
    bool SetField(int first, int last, std::string_view text) noexcept {
        if (!InData(first, last)) {
            return false;
        }
        detail::WriteFittedField(bytes_.data() + (first - 1),
                                 static_cast<std::size_t>(last - first + 1), text);
        return true;
    }
    bool SetField(TFieldPos pos, std::string_view text) noexcept {
        return SetField(pos.first, pos.last, text);
    }

    // Writes one byte at pos; false, changing nothing, outside the data bytes.
    bool SetAt(int pos, char c) noexcept {
        if (!InData(pos, pos)) {
            return false;
        }
        bytes_[pos - 1] = c;
        return true;
    }

    // Writes a number zero-padded to the field's width ("0550"); a negative number as '-' and
    // the digits zero-padded to the rest. Returns false, changing nothing, when the number does
    // not fit the width or the range is not inside the data bytes.
    bool SetInt(TFieldPos pos, std::int64_t value) noexcept {
        if (!InData(pos.first, pos.last)) {
            return false;
        }
        return detail::WriteNumberField(bytes_.data() + (pos.first - 1),
                                        static_cast<std::size_t>(pos.length()), value);
    }

    // Common header: record type (1-2), data kind (3), creation date yyyymmdd (4-11).
    std::string_view RecordType() const noexcept { return Field(Header::kRecordType); }
    char DataKind() const noexcept { return bytes_[2]; }
    std::string_view CreationDate() const noexcept { return Field(Header::kCreationDate); }

    // True when every data byte is a half-width blank (an empty slot, no record).
    bool IsBlank() const noexcept {
        return Line().find_first_not_of(' ') == std::string_view::npos;
    }

    friend bool operator==(const TRecordBytes&, const TRecordBytes&) = default;

protected:
    static constexpr bool InData(int first, int last) noexcept {
        return first >= 1 && last >= first && last <= static_cast<int>(N - 2);
    }
    // Copies exactly N bytes (already checked) into the record.
    void Assign(std::string_view exact) noexcept {
        for (std::size_t i = 0; i < N; ++i) {
            bytes_[i] = exact[i];
        }
    }
    // Copies N - 2 data bytes and keeps the CR LF.
    void AssignLine(std::string_view line) noexcept {
        for (std::size_t i = 0; i < N - 2; ++i) {
            bytes_[i] = line[i];
        }
    }

    std::array<char, N> bytes_;
};

// A record of one type: construction from raw bytes or a store line, and the type check.
template <class Self, std::size_t N, TRecordType Type>
class TRecord : public TRecordBytes<N> {
public:
    static constexpr TRecordType kType = Type;

    // The record of exactly N bytes ending in CR LF (JV-Link's text, or N bytes read from a
    // store file); nothing for any other length or a missing CR LF, so a cut or overlong record
    // is never kept. The record type in bytes 1-2 is not checked (a blank slot is a record too);
    // use HasType() for that.
    static std::optional<Self> FromBytes(std::string_view bytes) noexcept {
        if (CheckRecordLength(bytes, N) != TRecordCheck::Ok) {
            return std::nullopt;
        }
        Self record;
        record.Assign(bytes);
        return record;
    }

    // The record of one store line: exactly N - 2 data bytes, CR LF added; nothing for any
    // other length.
    static std::optional<Self> FromLine(std::string_view line) noexcept {
        if (line.size() != N - 2) {
            return std::nullopt;
        }
        Self record;
        record.AssignLine(line);
        return record;
    }

    // A blank record of this type with its header: type code, data kind and creation date
    // (yyyymmdd, cut or padded to 8 bytes).
    static Self Create(char dataKind, std::string_view creationDate) noexcept {
        Self record;
        record.SetField(Header::kRecordType, RecordTypeCode(Type));
        record.SetAt(Header::kDataKind.first, dataKind);
        record.SetField(Header::kCreationDate, creationDate);
        return record;
    }

    // True when bytes 1-2 name this record's type.
    bool HasType() const noexcept { return this->RecordType() == RecordTypeCode(Type); }
};

// Records keyed by a race, with the race key at 12-27 (RA, SE, HR).
template <class Self, std::size_t N, TRecordType Type>
class TRaceRecord : public TRecord<Self, N, Type> {
public:
    // Race key 12-27 (year, month-day, racecourse, meeting, day of meeting, race number).
    std::string_view RaceKey() const noexcept { return this->Field(jvdata::RaceKey::kRaceKey); }
    std::string_view Year() const noexcept { return this->Field(jvdata::RaceKey::kYear); }
    std::string_view MonthDay() const noexcept { return this->Field(jvdata::RaceKey::kMonthDay); }
    std::string_view Month() const noexcept { return this->Field(jvdata::RaceKey::kMonth); }
    std::string_view Day() const noexcept { return this->Field(jvdata::RaceKey::kDay); }
    // Race date 12-19, yyyymmdd.
    std::string_view RaceDate() const noexcept { return this->Field(jvdata::RaceKey::kRaceDate); }
    std::string_view CourseCode() const noexcept {
        return this->Field(jvdata::RaceKey::kCourseCode);
    }
    std::string_view Meeting() const noexcept { return this->Field(jvdata::RaceKey::kMeeting); }
    std::string_view DayOfMeeting() const noexcept {
        return this->Field(jvdata::RaceKey::kDayOfMeeting);
    }
    std::string_view RaceNumber() const noexcept {
        return this->Field(jvdata::RaceKey::kRaceNumber);
    }
};

// RA: race details, 1272 bytes.
class TRecordRA final : public TRaceRecord<TRecordRA, kLengthRA, TRecordType::RA> {};

// SE: one runner in one race, 555 bytes.
class TRecordSE final : public TRaceRecord<TRecordSE, kLengthSE, TRecordType::SE> {
public:
    // Horse number 29-30 and registration number 31-40, the runner's identity in the store.
    std::string_view HorseNumber() const noexcept { return Field(SE::kHorseNumber); }
    std::string_view RegistrationNumber() const noexcept { return Field(SE::kRegistrationNumber); }
};

// HR: payoffs of one race, 719 bytes.
class TRecordHR final : public TRaceRecord<TRecordHR, kLengthHR, TRecordType::HR> {};

// UM: horse master, 1609 bytes.
class TRecordUM final : public TRecord<TRecordUM, kLengthUM, TRecordType::UM> {
public:
    // Horse registration number 12-21; its first four digits (12-15) are the foaling year.
    std::string_view RegistrationNumber() const noexcept { return Field(UM::kRegistrationNumber); }
};

// RC: course record, 501 bytes.
class TRecordRC final : public TRecord<TRecordRC, kLengthRC, TRecordType::RC> {
public:
    // Record identification kind 12 ("1" in the course record files that are read).
    char IdKind() const noexcept { return At(RC::kIdKind.first); }
    // Key of the race in which the record was set, 13-28, in the parts of the race key.
    std::string_view RaceKey() const noexcept { return Field(RC::kRaceKey); }
    std::string_view Year() const noexcept { return Field(RC::kYear); }
    std::string_view MonthDay() const noexcept { return Field(RC::kMonthDay); }
    std::string_view CourseCode() const noexcept { return Field(RC::kCourseCode); }
    std::string_view Meeting() const noexcept { return Field(RC::kMeeting); }
    std::string_view DayOfMeeting() const noexcept { return Field(RC::kDayOfMeeting); }
    std::string_view RaceNumber() const noexcept { return Field(RC::kRaceNumber); }
};

// The going code of the surface the race was run on (RA turf or dirt going); nothing for a
// jump race, which has neither.
std::optional<std::string_view> GoingCodeOf(const TRecordRA& race) noexcept;

static_assert(TRecordRA::kLength == 1272 && TRecordSE::kLength == 555 &&
              TRecordHR::kLength == 719 && TRecordUM::kLength == 1609 && TRecordRC::kLength == 501);
static_assert(sizeof(TRecordRA) == 1272 && sizeof(TRecordSE) == 555);

} // namespace jvdata
