// Shift-JIS (code page 932, Windows-31J) text: conversion to and from UTF-8 and
// character-aware helpers for byte-width work.
//
// Every text of the program is held as CP932 bytes in a std::string; widths, positions and
// lengths are byte counts (a full-width character is 2 bytes, a half-width one 1). Conversion
// to Unicode happens only at the edge, when a control receives a text.
//
// CP932 is the Microsoft form of Shift-JIS with the NEC and IBM extensions, so circled
// numbers ("①" .. "⑳"), "－", "～" and "髙" are representable. Linux builds convert through
// glibc iconv ("CP932"), Windows builds through the code page 932 API; both give the same
// bytes for the same text.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace Sjis {

// The half-width blank and the full-width blank "　" (81 40).
inline constexpr char kBlank = ' ';
inline constexpr std::string_view kWideBlank = "\x81\x40";

// What an undecodable byte becomes in UTF-8 (U+FFFD), and what a character that CP932 cannot
// represent becomes in Shift-JIS.
inline constexpr std::string_view kUtf8Replacement = "\xEF\xBF\xBD";
inline constexpr char kSjisReplacement = '?';

// First byte of a two-byte character: 81-9F or E0-FC.
constexpr bool IsLeadByte(unsigned char c) noexcept {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
constexpr bool IsLeadByte(char c) noexcept {
    return IsLeadByte(static_cast<unsigned char>(c));
}

// Second byte of a two-byte character: 40-7E or 80-FC.
constexpr bool IsTrailByte(unsigned char c) noexcept {
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}
constexpr bool IsTrailByte(char c) noexcept {
    return IsTrailByte(static_cast<unsigned char>(c));
}

// Half-width katakana and punctuation: single bytes A1-DF.
constexpr bool IsHalfWidthKana(unsigned char c) noexcept {
    return c >= 0xA1 && c <= 0xDF;
}

// Byte length of the character starting at pos: 2 for a lead byte followed by a trail byte,
// otherwise 1 (a lone lead byte at the end, or before a non-trail byte, counts as one byte).
// 0 when pos is at or past the end.
std::size_t CharBytesAt(std::string_view text, std::size_t pos) noexcept;

// Number of characters (not bytes) of the text.
std::size_t CharCount(std::string_view text) noexcept;

// True when pos falls on the second byte of a two-byte character, so cutting there would
// split it. Scans from the start, since trail bytes can look like lead bytes.
bool IsInsideChar(std::string_view text, std::size_t pos) noexcept;

// The longest prefix of at most width bytes that does not end inside a two-byte character.
std::string_view CutToWidth(std::string_view text, std::size_t width) noexcept;

// The text cut to width (as CutToWidth) and then padded with half-width blanks to exactly
// width bytes.
std::string FitToWidth(std::string_view text, std::size_t width);

// Half-width blanks removed at the ends (full-width blanks are text and stay).
std::string_view TrimBlanks(std::string_view text) noexcept;
std::string_view TrimLeftBlanks(std::string_view text) noexcept;
std::string_view TrimRightBlanks(std::string_view text) noexcept;

// CP932 bytes to UTF-8. Bytes that are not CP932 (80, A0, FD-FF, a lead byte without its
// trail, an unassigned two-byte code) each become U+FFFD; the rest of the text is kept.
std::string ToUtf8(std::string_view sjis);

// UTF-8 to CP932 bytes. Characters with no CP932 form, and malformed UTF-8, become '?'.
// The look-alikes that only convert one way on some platforms (U+301C, U+2212, U+2014,
// U+2016, U+00A2, U+00A3, U+00AC) are first mapped to the forms that round-trip
// (U+FF5E, U+FF0D, U+2015, U+2225, U+FFE0, U+FFE1, U+FFE2), so both platforms agree.
std::string FromUtf8(std::string_view utf8);

// As FromUtf8, but nothing when any character has no CP932 form or the UTF-8 is malformed.
std::optional<std::string> TryFromUtf8(std::string_view utf8);

} // namespace Sjis
