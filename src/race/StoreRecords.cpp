#include "race/StoreRecords.h"

#include <cstdint>
#include <cstring>

namespace race {

namespace {

// True when all eight bytes of the word are printable ASCII (20-7E). Records are mostly blanks
// and digits, so whole words of them are passed at once.
constexpr bool AllPrintableAscii(std::uint64_t word) noexcept {
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    constexpr std::uint64_t kHighBits = 0x8080808080808080u;
    if (word & kHighBits) {
        return false; // a byte of 80-FF
    }
    const bool below20 = ((word - 0x20 * kOnes) & ~word & kHighBits) != 0;
    const bool is7F = ((word + kOnes) & kHighBits) != 0; // no carry: every byte is below 80
    return !below20 && !is7F;
}

static_assert(AllPrintableAscii(0x2020202020202020u) && AllPrintableAscii(0x7E7E7E7E7E7E7E7Eu));
static_assert(!AllPrintableAscii(0x2020202020201F20u) && !AllPrintableAscii(0x7F20202020202020u));
static_assert(!AllPrintableAscii(0x20202020A0202020u) && !AllPrintableAscii(0x0020202020202020u));

} // namespace

std::size_t ReplaceControlBytes(char* data, std::size_t size) noexcept {
    std::size_t replaced = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (i + 8 <= size) {
            std::uint64_t word;
            std::memcpy(&word, data + i, sizeof word);
            if (AllPrintableAscii(word)) {
                i += 7;
                continue;
            }
        }
        const auto c = static_cast<unsigned char>(data[i]);
        if (c < 0x20 || c == 0x7F) {
            data[i] = kUndecodableByte;
            ++replaced;
        }
    }
    return replaced;
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
    return true;
}

} // namespace race
