// KeibaFunc: the code-to-text conversions of JV-Data fields.
//
// Every function is pure: it takes a field's text cut from a record (Shift-JIS bytes) and,
// for some, a width that chooses one of several fixed-width renderings, and returns the
// Shift-JIS text the race card, horse panels and newspaper show. Widths are byte widths.
// An unlisted code gives the fallback text of its conversion. A conversion with a width
// argument returns std::nullopt for a width it does not know: the caller keeps the text it
// had (assign with `if (auto t = ...) text = *t;`).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace KeibaFunc {

// ---- Numbers and times -------------------------------------------------------------------

// The number of s right-aligned in length(s) characters; blanks of that length for 0.
std::string ZeroSuppress(std::string_view s);
// One number through a printf conversion of the "%d" family ("%2d" of 3 is " 3").
std::string Formatted(const char* format, int value);
// "#,##0": a whole number with a comma every three digits (12345 -> "12,345", 0 -> "0").
std::string WithThousands(std::int64_t value);
// Weight in 0.1 kg as "57.0", right-aligned in length(s) + 1; length(s) blanks for 0.
std::string WeightText(std::string_view s);
// Race time MSST ("1335" -> "1.33.5", "0582" -> "  58.2"); six blanks for "0000", for a
// blank field and for a field shorter than four bytes.
std::string RunTimeText(std::string_view s);
// Time difference: sign + tenths in three digits ("+005" -> "+ 0.5"); five blanks when absent
// (999, "9999", "0000", blank) and when the digit places hold anything but digits.
std::string TimeDiffText(std::string_view s);
// Body weight change: sign and a three-digit difference ("+", "012" -> "+ 12"; "000" -> "ナシ").
std::string WeightChangeText(std::string_view sign, std::string_view diff);

// ---- Text helpers -----------------------------------------------------------------------

// s without any full-width blank "　" (whole characters only).
std::string StripWideSpaces(std::string_view s);
// A name field as the pages show it: half-width blanks at both ends removed, then every
// full-width blank.
std::string ShownName(std::string_view field);
// "①" to "⑱" for 1 to 18, "－" for anything else.
std::string CircledNumber(int n);
// s with length(piece) bytes overwritten by piece from the 1-based byte position p. The length
// of s never changes: bytes of piece past the end of s are dropped, and p = 0 changes nothing.
std::string ReplaceAt(std::string_view s, std::string_view piece, std::size_t p);
// Stroke count of one full-width katakana character (two bytes); 0 for anything else.
int KanaStrokes(std::string_view c);
// Sum of KanaStrokes over the consecutive two-byte pieces of s (a trailing odd byte ignored).
int NameStrokes(std::string_view s);

// ---- Race conditions ----------------------------------------------------------------------

// Race condition code (3, read as a number): "1勝ｸﾗｽ", "新馬", "オープン" ...; empty when unlisted.
std::string ConditionName(std::string_view code);
// The condition line from the race kind (RA 617-618) and the condition codes for 2-, 3-, 4-
// and 5-year-olds and up (RA 623-625, 626-628, 629-631, 632-634).
std::string RaceConditionText(std::string_view kind, std::string_view c2, std::string_view c3,
                              std::string_view c4, std::string_view c5);

// ---- Code tables with widths ------------------------------------------------------------

// Race kind (2): widths 2, 4, 6, 8, 9.
std::optional<std::string> RaceKindName(std::string_view code, int width);
// Grade (1): widths 1 (5 bytes), 2, 8 (3 bytes), 9 (18 bytes).
std::optional<std::string> GradeName(std::string_view code, int width);
// Racecourse or country (2): widths 0 (6 bytes), 1, 2 (4 bytes), 3 (6 bytes), 9 (20 bytes).
std::optional<std::string> CourseName(std::string_view code, int width);
// Weekday (1, read as a number): widths 1, 2, 3, 4. Also nothing for a value the width does
// not list (the caller's text stays as it was).
std::optional<std::string> WeekdayName(std::string_view code, int width);
// Going (1): widths 0 ("良"), 1 ("芝:良"), 2 ("ダ:良").
std::optional<std::string> GoingName(std::string_view code, int width);
// Breed (1): widths 1 ("サラ") and 9 ("ｻﾗﾌﾞﾚｯﾄﾞ").
std::optional<std::string> BreedName(std::string_view code, int width);
// Margin (3, compared trimmed): widths 1 ("1_1/2") and 9 (9 bytes, "1_1/2馬身").
std::optional<std::string> MarginText(std::string_view code, int width);

// ---- Code tables without widths ---------------------------------------------------------

// Race symbol (3): always 24 bytes, padded with full-width blanks.
std::string RaceSymbolText(std::string_view code);
// Weight type (1): "ﾊﾝﾃﾞ", "別定", "馬齢", "定量".
std::string WeightTypeName(std::string_view code);
// Track (2, read as a number): "芝 右回り" ...
std::string TrackName(std::string_view code);
// Track (2, read as a number), short form: "芝右", "ダ左", "障害" ...
std::string TrackShortName(std::string_view code);
// Weather (1): "晴", "曇", "雨" ...
std::string WeatherName(std::string_view code);
// Sex (1): "牡", "牝", "ｾﾝ".
std::string SexName(std::string_view code);
// Coat colour (2): "栗毛" ...; "－" when unlisted.
std::string CoatColourName(std::string_view code);
// Horse symbol (2, read as a number): "(抽)", "(外)[地]" ...; a full-width blank when unlisted.
std::string HorseSymbolText(std::string_view code);
// Course record kind (1): "(基準ﾀｲﾑ)" ...
std::string RecordKindText(std::string_view code);
// Abnormality (1): always 8 bytes ("出走取消", "失格    ").
std::string AbnormalityName(std::string_view code);
// Blinker (1): "ﾌﾞﾘﾝ", else one blank.
std::string BlinkerText(std::string_view code);
// Apprentice allowance (1): "1kg減" ..., else one full-width blank.
std::string ApprenticeText(std::string_view code);

} // namespace KeibaFunc
