#include "archive/NameKey.h"

#include "jvdata/SjisText.h"

#include <cstdint>

namespace archive {

namespace {

// Full-width forms of the half-width katakana U+FF61 to U+FF9F, in their order.
constexpr char32_t kWideKana[] = {
    U'。', U'「', U'」', U'、', U'・', U'ヲ', U'ァ', U'ィ', U'ゥ', U'ェ', U'ォ', U'ャ', U'ュ',
    U'ョ', U'ッ', U'ー', U'ア', U'イ', U'ウ', U'エ', U'オ', U'カ', U'キ', U'ク', U'ケ', U'コ',
    U'サ', U'シ', U'ス', U'セ', U'ソ', U'タ', U'チ', U'ツ', U'テ', U'ト', U'ナ', U'ニ', U'ヌ',
    U'ネ', U'ノ', U'ハ', U'ヒ', U'フ', U'ヘ', U'ホ', U'マ', U'ミ', U'ム', U'メ', U'モ', U'ヤ',
    U'ユ', U'ヨ', U'ラ', U'リ', U'ル', U'レ', U'ロ', U'ワ', U'ン', U'゛', U'゜'};
static_assert(sizeof kWideKana / sizeof kWideKana[0] == 0xFF9F - 0xFF61 + 1);

// The next code point of UTF-8 text at pos (pos moved past it); U+FFFD for a broken sequence.
char32_t NextCodePoint(std::string_view text, std::size_t& pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos++);
    int more = 0;
    char32_t c = lead;
    if (lead >= 0xF0) {
        more = 3;
        c = lead & 0x07;
    } else if (lead >= 0xE0) {
        more = 2;
        c = lead & 0x0F;
    } else if (lead >= 0xC0) {
        more = 1;
        c = lead & 0x1F;
    } else if (lead >= 0x80) {
        return U'\uFFFD';
    }
    for (; more > 0; --more) {
        if (pos >= text.size() || (byte(pos) & 0xC0) != 0x80) {
            return U'\uFFFD';
        }
        c = (c << 6) | (byte(pos++) & 0x3F);
    }
    return c;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The kana with its voiced mark (゛), when it takes one; 0 otherwise.
char32_t Voiced(char32_t kana) {
    if (kana == U'ウ') {
        return U'ヴ';
    }
    // カ to ト: every second code point is the voiced form of the one before.
    // カ to チ and ツ to ト (ッ between them): every second code point is the voiced form of
    // the one before.
    if (kana >= U'カ' && kana <= U'チ' && (kana - U'カ') % 2 == 0) {
        return kana + 1;
    }
    if (kana >= U'ツ' && kana <= U'ト' && (kana - U'ツ') % 2 == 0) {
        return kana + 1;
    }
    if (kana >= U'ハ' && kana <= U'ホ' && (kana - U'ハ') % 3 == 0) {
        return kana + 1;
    }
    return 0;
}

// The kana with its semi-voiced mark (゜): only ハ to ホ.
char32_t SemiVoiced(char32_t kana) {
    return kana >= U'ハ' && kana <= U'ホ' && (kana - U'ハ') % 3 == 0 ? kana + 2 : 0;
}

} // namespace

std::string NameKey(std::string_view sjis) {
    const std::string utf8 = Sjis::ToUtf8(sjis);
    std::u32string chars;
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t c = NextCodePoint(utf8, pos);
        if (c == U' ' || c == U'\u3000') {
            continue;
        }
        if (c >= 0xFF61 && c <= 0xFF9F) {
            c = kWideKana[c - 0xFF61];
        } else if (c >= U'ぁ' && c <= U'ゖ') {
            c += U'ァ' - U'ぁ';
        } else if (c >= 0xFF01 && c <= 0xFF5E) {
            c -= 0xFF01 - 0x21;
        }
        if (c >= U'A' && c <= U'Z') {
            c += U'a' - U'A';
        }
        if ((c == U'゛' || c == U'\u3099') && !chars.empty() && Voiced(chars.back()) != 0) {
            chars.back() = Voiced(chars.back());
            continue;
        }
        if ((c == U'゜' || c == U'\u309A') && !chars.empty() && SemiVoiced(chars.back()) != 0) {
            chars.back() = SemiVoiced(chars.back());
            continue;
        }
        chars += c;
    }
    std::string key;
    key.reserve(chars.size() * 3);
    for (const char32_t c : chars) {
        AppendUtf8(key, c);
    }
    return key;
}

} // namespace archive
