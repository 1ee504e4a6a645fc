#include "acquisition/AcquisitionTimes.h"

#include "jvdata/SjisText.h"

#include <cstdio>

namespace acquisition {

namespace {

bool IsDigit(char c) noexcept {
    return c >= '0' && c <= '9';
}

// Reads 1..maxDigits digits at pos into value; false when there is none.
bool ReadNumber(std::string_view text, std::size_t& pos, std::size_t maxDigits, int& value) {
    const std::size_t start = pos;
    value = 0;
    while (pos < text.size() && pos - start < maxDigits && IsDigit(text[pos])) {
        value = value * 10 + (text[pos] - '0');
        ++pos;
    }
    return pos > start;
}

bool Expect(std::string_view text, std::size_t& pos, char c) {
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

} // namespace

std::string LastTimeText(const store::TLocalDateTime& t) {
    char text[64];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return text;
}

std::optional<store::TLocalDateTime> ParseLastTime(std::string_view text) {
    text = Sjis::TrimBlanks(text);
    store::TLocalDateTime t;
    std::size_t pos = 0;
    if (text.size() < 4 || !IsDigit(text[0]) || !IsDigit(text[1]) || !IsDigit(text[2]) ||
        !IsDigit(text[3])) {
        return std::nullopt;
    }
    ReadNumber(text, pos, 4, t.year);
    if (!Expect(text, pos, '/') || !ReadNumber(text, pos, 2, t.month) || !Expect(text, pos, '/') ||
        !ReadNumber(text, pos, 2, t.day)) {
        return std::nullopt;
    }
    t.hour = t.minute = t.second = 0;
    if (pos < text.size()) {
        if (!Expect(text, pos, ' ')) {
            return std::nullopt;
        }
        while (pos < text.size() && text[pos] == ' ') {
            ++pos;
        }
        if (!ReadNumber(text, pos, 2, t.hour) || !Expect(text, pos, ':') ||
            !ReadNumber(text, pos, 2, t.minute)) {
            return std::nullopt;
        }
        if (Expect(text, pos, ':') && !ReadNumber(text, pos, 2, t.second)) {
            return std::nullopt;
        }
        if (pos != text.size()) {
            return std::nullopt;
        }
    }
    if (!store::IsValidDateTime(t)) {
        return std::nullopt;
    }
    return t;
}

std::string FromTimeText(const store::TLocalDateTime& t) {
    char text[64];
    std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return text;
}

std::optional<store::TLocalDateTime> ParseFromTime(std::string_view text) {
    if (text.size() != 14) {
        return std::nullopt;
    }
    for (char c : text) {
        if (!IsDigit(c)) {
            return std::nullopt;
        }
    }
    auto number = [text](std::size_t pos, std::size_t count) {
        int value = 0;
        for (std::size_t i = pos; i < pos + count; ++i) {
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    const store::TLocalDateTime t{number(0, 4), number(4, 2),  number(6, 2),
                                  number(8, 2), number(10, 2), number(12, 2)};
    if (!store::IsValidDateTime(t)) {
        return std::nullopt;
    }
    return t;
}

store::TLocalDateTime DefaultStartTime(const store::TLocalDateTime& now) {
    return store::AddDays(now, -8);
}

std::optional<std::string> LastTimeOfTimestamp(std::string_view timestamp) {
    const std::string_view trimmed = Sjis::TrimBlanks(timestamp);
    if (trimmed.empty() || trimmed == "00000000000000") {
        return std::nullopt;
    }
    if (!ParseFromTime(trimmed)) {
        return std::nullopt;
    }
    std::string text;
    text.append(trimmed.substr(0, 4)).append("/").append(trimmed.substr(4, 2)).append("/");
    text.append(trimmed.substr(6, 2)).append(" ").append(trimmed.substr(8, 2)).append(":");
    text.append(trimmed.substr(10, 2)).append(":").append(trimmed.substr(12, 2));
    return text;
}

} // namespace acquisition
