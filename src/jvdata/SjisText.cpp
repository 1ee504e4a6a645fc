#include "jvdata/SjisText.h"

#include <cstdint>

#if defined(_WIN32)
#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#endif

namespace Sjis {

namespace {

// ---- Platform conversion of one run of text ------------------------------------------------
// Each backend converts a whole run or reports failure; the callers below split the text so
// that a failing run is retried character by character, which keeps invalid input local.

#if defined(_WIN32)

std::optional<std::wstring> Widen(UINT codePage, std::string_view bytes) {
    if (bytes.empty()) {
        return std::wstring();
    }
    const int size = static_cast<int>(bytes.size());
    const int needed =
        MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (needed <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(),
                            needed) != needed) {
        return std::nullopt;
    }
    return wide;
}

std::optional<std::string> Narrow(UINT codePage, const std::wstring& wide) {
    if (wide.empty()) {
        return std::string();
    }
    const int size = static_cast<int>(wide.size());
    // CP_UTF8 accepts neither the best-fit flag nor the used-default pointer.
    const bool strict = codePage != CP_UTF8;
    BOOL usedDefault = FALSE;
    const DWORD flags = strict ? WC_NO_BEST_FIT_CHARS : 0;
    const int needed = WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr,
                                           strict ? &usedDefault : nullptr);
    if (needed <= 0 || usedDefault) {
        return std::nullopt;
    }
    std::string out(static_cast<std::size_t>(needed), '\0');
    if (WideCharToMultiByte(codePage, flags, wide.data(), size, out.data(), needed, nullptr,
                            strict ? &usedDefault : nullptr) != needed ||
        usedDefault) {
        return std::nullopt;
    }
    return out;
}

std::optional<std::string> DecodeRun(std::string_view sjis) {
    auto wide = Widen(932, sjis);
    if (!wide) {
        return std::nullopt;
    }
    return Narrow(CP_UTF8, *wide);
}

std::optional<std::string> EncodeRun(std::string_view utf8) {
    auto wide = Widen(CP_UTF8, utf8);
    if (!wide) {
        return std::nullopt;
    }
    return Narrow(932, *wide);
}

#else

// One converter per direction and thread: iconv descriptors keep state and are not shared.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) {
            iconv_close(cd_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::optional<std::string> Run(std::string_view in) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            return std::nullopt;
        }
        iconv(cd_, nullptr, nullptr, nullptr, nullptr); // reset shift state
        std::string out(in.size() * 4 + 8, '\0');
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char* dst = out.data();
        std::size_t dstLeft = out.size();
        while (srcLeft > 0) {
            if (iconv(cd_, &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1)) {
                if (errno == E2BIG) {
                    const std::size_t used = static_cast<std::size_t>(dst - out.data());
                    out.resize(out.size() * 2);
                    dst = out.data() + used;
                    dstLeft = out.size() - used;
                    continue;
                }
                return std::nullopt; // EILSEQ or EINVAL: let the caller split the run
            }
        }
        out.resize(static_cast<std::size_t>(dst - out.data()));
        return out;
    }

private:
    iconv_t cd_;
};

std::optional<std::string> DecodeRun(std::string_view sjis) {
    thread_local Converter decoder("UTF-8", "CP932");
    return decoder.Run(sjis);
}

std::optional<std::string> EncodeRun(std::string_view utf8) {
    thread_local Converter encoder("CP932", "UTF-8");
    return encoder.Run(utf8);
}

#endif

bool IsAscii(unsigned char c) {
    return c < 0x80;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at pos; returns its length, 0 when malformed (overlong forms,
// surrogates and values past U+10FFFF included).
std::size_t DecodeUtf8At(std::string_view s, std::size_t pos, char32_t& cp) {
    const auto b0 = static_cast<unsigned char>(s[pos]);
    std::size_t len = 0;
    char32_t min = 0;
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        len = 2, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4, cp = b0 & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (pos + len > s.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < len; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + i]);
        if ((b & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0;
    }
    return len;
}

// The look-alikes that glibc and Windows treat differently, mapped to the forms both
// convert to the same CP932 bytes and back.
char32_t RoundTripForm(char32_t cp) {
    switch (cp) {
    case 0x301C:
        return 0xFF5E; // WAVE DASH -> FULLWIDTH TILDE (81 60)
    case 0x2212:
        return 0xFF0D; // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS (81 7C)
    case 0x2014:
        return 0x2015; // EM DASH -> HORIZONTAL BAR (81 5C)
    case 0x2016:
        return 0x2225; // DOUBLE VERTICAL LINE -> PARALLEL TO (81 61)
    case 0x00A2:
        return 0xFFE0; // CENT SIGN -> FULLWIDTH CENT SIGN (81 91)
    case 0x00A3:
        return 0xFFE1; // POUND SIGN -> FULLWIDTH POUND SIGN (81 92)
    case 0x00AC:
        return 0xFFE2; // NOT SIGN -> FULLWIDTH NOT SIGN (81 CA)
    default:
        return cp;
    }
}

// Encodes UTF-8 to CP932; each character that fails becomes '?', or the whole call fails
// when strict.
std::optional<std::string> Encode(std::string_view utf8, bool strict) {
    std::string out;
    out.reserve(utf8.size());
    std::string run; // normalised non-ASCII characters waiting for the platform converter
    bool failed = false;
    auto flush = [&]() {
        if (run.empty()) {
            return;
        }
        if (auto converted = EncodeRun(run)) {
            out += *converted;
        } else {
            // Retry one character at a time so that only the unmappable ones are lost.
            std::size_t pos = 0;
            while (pos < run.size()) {
                char32_t cp = 0;
                const std::size_t len = DecodeUtf8At(run, pos, cp);
                auto one = EncodeRun(std::string_view(run).substr(pos, len));
                if (one) {
                    out += *one;
                } else {
                    out += kSjisReplacement;
                    failed = true;
                }
                pos += len;
            }
        }
        run.clear();
    };

    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[pos]);
        if (IsAscii(b)) {
            flush();
            out += static_cast<char>(b);
            ++pos;
            continue;
        }
        char32_t cp = 0;
        const std::size_t len = DecodeUtf8At(utf8, pos, cp);
        if (len == 0) {
            flush();
            out += kSjisReplacement;
            failed = true;
            ++pos;
            continue;
        }
        AppendUtf8(run, RoundTripForm(cp));
        pos += len;
    }
    flush();
    if (strict && failed) {
        return std::nullopt;
    }
    return out;
}

} // namespace

std::size_t CharBytesAt(std::string_view text, std::size_t pos) noexcept {
    if (pos >= text.size()) {
        return 0;
    }
    if (IsLeadByte(text[pos]) && pos + 1 < text.size() && IsTrailByte(text[pos + 1])) {
        return 2;
    }
    return 1;
}

std::size_t CharCount(std::string_view text) noexcept {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); pos += CharBytesAt(text, pos)) {
        ++count;
    }
    return count;
}

bool IsInsideChar(std::string_view text, std::size_t pos) noexcept {
    std::size_t at = 0;
    while (at < pos && at < text.size()) {
        const std::size_t len = CharBytesAt(text, at);
        if (at + len > pos) {
            return true;
        }
        at += len;
    }
    return false;
}

std::string_view CutToWidth(std::string_view text, std::size_t width) noexcept {
    if (text.size() <= width) {
        return text;
    }
    std::size_t end = 0;
    while (end < width) {
        const std::size_t len = CharBytesAt(text, end);
        if (end + len > width) {
            break;
        }
        end += len;
    }
    return text.substr(0, end);
}

std::string FitToWidth(std::string_view text, std::size_t width) {
    std::string out(CutToWidth(text, width));
    out.resize(width, kBlank);
    return out;
}

std::string_view TrimLeftBlanks(std::string_view text) noexcept {
    const auto first = text.find_first_not_of(kBlank);
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

std::string_view TrimRightBlanks(std::string_view text) noexcept {
    // A blank byte is never the second byte of a two-byte character (trail bytes are 40-FC),
    // so trimming bytes from the right cannot split a character.
    const auto last = text.find_last_not_of(kBlank);
    return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

std::string_view TrimBlanks(std::string_view text) noexcept {
    return TrimRightBlanks(TrimLeftBlanks(text));
}

std::string ToUtf8(std::string_view sjis) {
    std::string out;
    out.reserve(sjis.size() * 3 / 2 + 1);
    std::size_t pos = 0;
    while (pos < sjis.size()) {
        const auto b = static_cast<unsigned char>(sjis[pos]);
        if (IsAscii(b)) {
            out += static_cast<char>(b);
            ++pos;
        } else if (IsHalfWidthKana(b)) {
            AppendUtf8(out, 0xFF61 + (b - 0xA1));
            ++pos;
        } else if (CharBytesAt(sjis, pos) == 2) {
            // Gather the run of two-byte characters and convert it in one call.
            std::size_t end = pos;
            while (end < sjis.size() && CharBytesAt(sjis, end) == 2) {
                end += 2;
            }
            const std::string_view run = sjis.substr(pos, end - pos);
            if (auto converted = DecodeRun(run)) {
                out += *converted;
            } else {
                for (std::size_t i = 0; i < run.size(); i += 2) {
                    auto one = DecodeRun(run.substr(i, 2));
                    out += one ? std::string_view(*one) : kUtf8Replacement;
                }
            }
            pos = end;
        } else {
            // 80, A0, FD-FF, or a lead byte without a trail byte.
            out += kUtf8Replacement;
            ++pos;
        }
    }
    return out;
}

std::string FromUtf8(std::string_view utf8) {
    return *Encode(utf8, false);
}

std::optional<std::string> TryFromUtf8(std::string_view utf8) {
    return Encode(utf8, true);
}

} // namespace Sjis
