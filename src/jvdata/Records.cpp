#include "jvdata/Records.h"

#include "jvdata/SjisText.h"

#include <cstdint>

namespace jvdata {

namespace {

struct TTypeEntry {
    TRecordType type;
    std::string_view code;
    std::size_t length;
};

constexpr TTypeEntry kTypes[] = {
    {TRecordType::RA, "RA", kLengthRA}, {TRecordType::SE, "SE", kLengthSE},
    {TRecordType::HR, "HR", kLengthHR}, {TRecordType::UM, "UM", kLengthUM},
    {TRecordType::RC, "RC", kLengthRC},
};

} // namespace

TRecordType RecordTypeOf(std::string_view bytes) noexcept {
    if (bytes.size() < 2) {
        return TRecordType::Unknown;
    }
    const std::string_view code = bytes.substr(0, 2);
    for (const TTypeEntry& t : kTypes) {
        if (t.code == code) {
            return t.type;
        }
    }
    return TRecordType::Unknown;
}

std::string_view RecordTypeCode(TRecordType type) noexcept {
    for (const TTypeEntry& t : kTypes) {
        if (t.type == type) {
            return t.code;
        }
    }
    return {};
}

std::size_t RecordLength(TRecordType type) noexcept {
    for (const TTypeEntry& t : kTypes) {
        if (t.type == type) {
            return t.length;
        }
    }
    return 0;
}

std::size_t RecordLength(std::string_view typeCode) noexcept {
    return typeCode.size() == 2 ? RecordLength(RecordTypeOf(typeCode)) : 0;
}

TRecordCheck CheckRecordLength(std::string_view bytes, std::size_t length) noexcept {
    if (length < 2 || bytes.size() != length) {
        return TRecordCheck::WrongLength;
    }
    if (bytes[length - 2] != '\r' || bytes[length - 1] != '\n') {
        return TRecordCheck::NoLineEnd;
    }
    return TRecordCheck::Ok;
}

TRecordCheck CheckRecord(std::string_view bytes) noexcept {
    const TRecordType type = RecordTypeOf(bytes);
    if (type == TRecordType::Unknown) {
        return TRecordCheck::UnknownType;
    }
    return CheckRecordLength(bytes, RecordLength(type));
}

TSurface SurfaceOfTrack(std::string_view trackCode) noexcept {
    const std::int32_t code = LenientInt(trackCode);
    if (code <= 22) {
        return TSurface::Turf;
    }
    return code <= 29 ? TSurface::Dirt : TSurface::Other;
}

std::optional<std::string_view> GoingCodeOf(const TRecordRA& race) noexcept {
    switch (SurfaceOfTrack(race.Field(RA::kTrackCode))) {
    case TSurface::Turf:
        return race.Field(RA::kTurfGoingCode);
    case TSurface::Dirt:
        return race.Field(RA::kDirtGoingCode);
    case TSurface::Other:
        break;
    }
    return std::nullopt;
}

namespace detail {

void WriteFittedField(char* out, std::size_t width, std::string_view text) noexcept {
    const std::string_view kept = Sjis::CutToWidth(text, width);
    std::size_t i = 0;
    for (; i < kept.size(); ++i) {
        out[i] = kept[i];
    }
    for (; i < width; ++i) {
        out[i] = ' ';
    }
}

bool WriteNumberField(char* out, std::size_t width, std::int64_t value) noexcept {
    const bool negative = value < 0;
    // Magnitude as unsigned, so that the most negative value does not overflow.
    std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    const std::size_t digitsRoom = negative ? width - 1 : width;
    if (width == 0 || (negative && width < 2)) {
        return false;
    }
    char digits[20];
    std::size_t count = 0;
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (count > digitsRoom) {
        return false;
    }
    std::size_t i = 0;
    if (negative) {
        out[i++] = '-';
    }
    for (std::size_t pad = digitsRoom - count; pad > 0; --pad) {
        out[i++] = '0';
    }
    while (count > 0) {
        out[i++] = digits[--count];
    }
    return true;
}

} // namespace detail

} // namespace jvdata
