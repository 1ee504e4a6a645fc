#include "race/StoreRecords.h"

#include "jvdata/SjisText.h"

namespace race {

bool IsPrintableShiftJis(std::string_view bytes) noexcept {
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x20 && c <= 0x7E) {
            continue;
        }
        if (Sjis::IsHalfWidthKana(c)) {
            continue;
        }
        if (Sjis::IsLeadByte(c) && i + 1 < n && Sjis::IsTrailByte(bytes[i + 1])) {
            ++i;
            continue;
        }
        return false;
    }
    return true;
}

bool IsSoundRecord(std::string_view bytes, std::size_t length, std::string_view typeCode) noexcept {
    if (length < 2 || bytes.size() != length || bytes[length - 2] != '\r' ||
        bytes[length - 1] != '\n') {
        return false;
    }
    const std::string_view data = bytes.substr(0, length - 2);
    if (!data.starts_with(typeCode) && data.find_first_not_of(' ') != std::string_view::npos) {
        return false;
    }
    return IsPrintableShiftJis(data);
}

} // namespace race
