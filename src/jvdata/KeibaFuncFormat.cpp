// KeibaFunc: number and time formatting, text helpers, stroke counts and race conditions.
#include "jvdata/KeibaFunc.h"
#include "jvdata/LenientInt.h"
#include "jvdata/SjisText.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace KeibaFunc {

namespace {

// A text right-aligned in width bytes with half-width blanks (a longer text stays whole,
// as printf's "%*d" does).
std::string RightAligned(std::string text, std::size_t width) {
    if (text.size() < width) {
        text.insert(0, width - text.size(), ' ');
    }
    return text;
}

// n blanks.
std::string Blanks(std::size_t n) {
    return std::string(n, ' ');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A field that reads as a strict integer: leading blanks, then only digits to its end.
// Nothing when it holds no digit or anything else after the digits.
std::optional<int> StrictInt(std::string_view field) {
    const std::string_view digits = Sjis::TrimLeftBlanks(field);
    if (digits.empty()) {
        return std::nullopt;
    }
    int value = 0;
    for (const char c : digits) {
        if (!IsDigit(c)) {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

// ---- Numbers and times -------------------------------------------------------------------

std::string Formatted(const char* format, int value) {
    char buffer[32];
    const int n = std::snprintf(buffer, sizeof buffer, format, value);
    if (n <= 0) {
        return {};
    }
    return std::string(buffer, std::min(static_cast<std::size_t>(n), sizeof buffer - 1));
}

std::string WithThousands(std::int64_t value) {
    const bool negative = value < 0;
    // Magnitude in unsigned arithmetic, so even the lowest value has one.
    std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    std::string reversed;
    int digits = 0;
    do {
        if (digits > 0 && digits % 3 == 0) {
            reversed += ',';
        }
        reversed += static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
        ++digits;
    } while (magnitude > 0);
    if (negative) {
        reversed += '-';
    }
    return std::string(reversed.rbegin(), reversed.rend());
}

std::string ZeroSuppress(std::string_view s) {
    const std::int32_t n = jvdata::LenientInt(s);
    if (n == 0) {
        return Blanks(s.size());
    }
    return RightAligned(std::to_string(n), s.size());
}

std::string WeightText(std::string_view s) {
    const std::int64_t n = jvdata::LenientInt(s);
    if (n == 0) {
        // An absent weight keeps the field's own width, one less than a shown weight.
        return Blanks(s.size());
    }
    // Tenths printed from the integer, so no rounding can creep in ("%.1f" of n / 10).
    const std::int64_t magnitude = n < 0 ? -n : n;
    std::string text = n < 0 ? "-" : "";
    text += std::to_string(magnitude / 10) + "." + std::to_string(magnitude % 10);
    return RightAligned(std::move(text), s.size() + 1);
}

std::string RunTimeText(std::string_view s) {
    // "0000" is a race without a time; a blank field (a slot without a runner) and a field
    // cut short hold no time either and stay blank like it.
    if (s == "0000" || s.size() < 4 || Sjis::TrimBlanks(s).empty()) {
        return Blanks(6);
    }
    std::string text;
    if (s.size() == 4 && s[0] != '0' && s[0] != ' ') {
        // One minute or more: M.SS.T.
        text += s[0];
        text += '.';
    } else {
        // Under a minute: the minutes place is left blank, SS.T.
        text += "  ";
    }
    text += s.substr(1, 2);
    text += '.';
    text += s[3];
    return text;
}

std::string TimeDiffText(std::string_view s) {
    const std::string absent = Blanks(5);
    if (s.size() < 4) {
        return absent;
    }
    const std::string_view tenths = Sjis::TrimBlanks(s.substr(1, 3));
    const std::string_view whole = Sjis::TrimBlanks(s);
    if (tenths == "999" || tenths.empty() || whole == "9999" || whole == "0000") {
        return absent;
    }
    // The field is a sign and three digits; anything else in the digit places is a damaged
    // field and shows as no difference rather than as a made-up one.
    const std::optional<int> seconds = StrictInt(s.substr(1, 2));
    if (!seconds || !IsDigit(s[3])) {
        return absent;
    }
    std::string text(1, s[0]);
    text += RightAligned(std::to_string(*seconds), 2);
    text += '.';
    text += s[3];
    return text;
}

std::string WeightChangeText(std::string_view sign, std::string_view diff) {
    static const std::string none = Sjis::FromUtf8("ナシ");
    if (diff == "000") {
        return none;
    }
    if (diff == "999" || Sjis::TrimBlanks(diff).empty()) {
        // 999: the change could not be measured (first weighing, or no weighing).
        return Blanks(4);
    }
    return std::string(sign) + ZeroSuppress(diff);
}

// ---- Text helpers -----------------------------------------------------------------------

std::string StripWideSpaces(std::string_view s) {
    // A wide blank at a character's start shows as its two bytes somewhere in the text: a
    // text without them (most names) has none to strip.
    if (s.find(Sjis::kWideBlank) == std::string_view::npos) {
        return std::string(s);
    }
    std::string text;
    text.reserve(s.size());
    for (std::size_t pos = 0; pos < s.size();) {
        const std::size_t bytes = Sjis::CharBytesAt(s, pos);
        const std::string_view ch = s.substr(pos, bytes);
        if (ch != Sjis::kWideBlank) {
            text += ch;
        }
        pos += bytes;
    }
    return text;
}

std::string ShownName(std::string_view field) {
    return StripWideSpaces(Sjis::TrimBlanks(field));
}

std::string CircledNumber(int n) {
    // Each circled number is one two-byte character, so number n is at byte 2 * (n - 1).
    static const std::string circled = Sjis::FromUtf8("①②③④⑤⑥⑦⑧⑨⑩⑪⑫⑬⑭⑮⑯⑰⑱");
    static const std::string dash = Sjis::FromUtf8("－");
    if (n < 1 || n > 18) {
        return dash;
    }
    return circled.substr(static_cast<std::size_t>(n - 1) * 2, 2);
}

std::string ReplaceAt(std::string_view s, std::string_view piece, std::size_t p) {
    // An overwrite in place: a record keeps its length whatever the position, so bytes of
    // the piece that fall past the end of s are dropped and position 0 changes nothing.
    std::string text(s);
    if (p == 0 || p > text.size()) {
        return text;
    }
    const std::size_t start = p - 1;
    const std::size_t count = std::min(piece.size(), text.size() - start);
    text.replace(start, count, piece.substr(0, count));
    return text;
}

int KanaStrokes(std::string_view c) {
    // Stroke counts of the full-width katakana used in horse names, as counted for the
    // card's name-strokes column (voiced marks and small kana included).
    static const std::map<std::string, int, std::less<>> strokes = [] {
        const std::vector<std::pair<int, std::string_view>> groups = {
            {1, "ノフヘレー"},
            {2, "アイカクコスセソトナニヌハヒマムメヤユラリルワヲンペプァィャュ"},
            {3, "ウエオキケサシタチツテミモヨロブベパピゥォョッェ"},
            {4, "ネホガグゴズゾドバビゼ"},
            {5, "ギゲザジダヂヅデポヴ"},
            {6, "ボ"},
        };
        std::map<std::string, int, std::less<>> table;
        for (const auto& [count, kana] : groups) {
            const std::string sjis = Sjis::FromUtf8(kana);
            for (std::size_t pos = 0; pos + 1 < sjis.size(); pos += 2) {
                table.emplace(sjis.substr(pos, 2), count);
            }
        }
        return table;
    }();
    const auto it = strokes.find(c);
    return it == strokes.end() ? 0 : it->second;
}

int NameStrokes(std::string_view s) {
    int total = 0;
    for (std::size_t pos = 0; pos + 2 <= s.size(); pos += 2) {
        total += KanaStrokes(s.substr(pos, 2));
    }
    return total;
}

// ---- Race conditions ----------------------------------------------------------------------

std::string ConditionName(std::string_view code) {
    static const std::map<int, std::string> names = [] {
        const std::vector<std::pair<int, std::string_view>> rows = {
            {5, "1勝ｸﾗｽ"}, {10, "2勝ｸﾗｽ"},  {16, "3勝ｸﾗｽ"},  {100, "1億下"},
            {701, "新馬"}, {702, "未出走"}, {703, "未勝利"}, {999, "オープン"},
        };
        std::map<int, std::string> table;
        for (const auto& [number, text] : rows) {
            table.emplace(number, Sjis::FromUtf8(text));
        }
        return table;
    }();
    const auto it = names.find(jvdata::LenientInt(code));
    return it == names.end() ? std::string() : it->second;
}

std::string RaceConditionText(std::string_view kind, std::string_view c2, std::string_view c3,
                              std::string_view c4, std::string_view c5) {
    // Age prefixes of the thoroughbred and jump race kinds; Anglo-Arab kinds have none.
    static const std::map<int, std::string> prefixes = [] {
        const std::vector<std::pair<int, std::string_view>> rows = {
            {11, "2歳"}, {12, "3歳"}, {13, "3歳上"}, {18, "3歳上"}, {14, "4歳上"}, {19, "4歳上"},
        };
        std::map<int, std::string> table;
        for (const auto& [number, text] : rows) {
            table.emplace(number, Sjis::FromUtf8(text));
        }
        return table;
    }();
    const int k = jvdata::LenientInt(kind);
    const auto found = prefixes.find(k);
    const std::string prefix = found == prefixes.end() ? std::string() : found->second;
    const auto condition = [&prefix](std::string_view code) {
        return prefix + ConditionName(code);
    };
    // A condition class 1 to 100 (the classes below open) for the youngest age means the
    // older ages run under their own conditions, shown after it.
    const auto isClass = [](std::string_view code) {
        const int n = jvdata::LenientInt(code);
        return n >= 1 && n <= 100;
    };
    constexpr std::string_view separator = "  ";

    switch (k) {
    case 11:
    case 21:
        return condition(c2);
    case 12:
    case 22:
        return condition(c3);
    case 13:
    case 18:
    case 23:
        if (isClass(c3)) {
            return condition(c3) + std::string(separator) + condition(c4) + std::string(separator) +
                   condition(c5);
        }
        return condition(c3);
    case 14:
    case 19:
    case 24:
        if (isClass(c4)) {
            return condition(c4) + std::string(separator) + condition(c5);
        }
        return condition(c4);
    default:
        return {};
    }
}

} // namespace KeibaFunc
