// The horse pages under "競走馬": the name bar over the page control, the two profile pages
// "　馬情報１　" (identity, pedigree, connections, money) and "　馬情報２　" (placing counts) and
// the five past-run pages "前走－１" to "前走－５", newest run first.
//
// Every line is built from record fields copied at their full stored width (names keep their
// trailing blanks), so that in a fixed-pitch font the pieces of lines built alike stand in
// columns. Texts are Shift-JIS. The labels, their pages and places are one table (HorseLabels)
// that the window lays out and the text dump walks, in the same order as HorseTexts fills.
#pragma once

#include "jvdata/Records.h"
#include "race/TRaceDayData.h"

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace horse {

// The pages of PageControl2 in order; the name bar stands above them all.
enum THorseSheet : int {
    kNameBar = -1, // StaticText1, above the pages
    kProfile1 = 0, // "　馬情報１　"
    kProfile2 = 1, // "　馬情報２　"
    kPastRun1 = 2, // "前走－１", the most recent earlier run
    kPastRun5 = 6, // "前走－５"
    kHorseSheets = 7,
};

// How a label is drawn.
enum class TLabelLook {
    NameBar,        // yellow sunken bar, blue bold proportional gothic, 15 px
    Line,           // white fixed-pitch gothic, 12 px, on black
    Deregistration, // red fixed-pitch gothic, 11 px, on black
};

// One label of the horse pages.
struct THorseLabel {
    std::string_view name; // control name ("Label6" ...)
    int sheet;             // THorseSheet
    int left;              // pixels from the page's left
    int top;               // pixels from the page's top
    TLabelLook look;
};

inline constexpr int kNameBarLines = 1;
inline constexpr int kProfileLines = 10; // "　馬情報１　"
inline constexpr int kPlacingLines = 26; // "　馬情報２　"
inline constexpr int kPastRunLines = 11; // each "前走" page
inline constexpr int kPastRunPages = 5;
inline constexpr int kHorseLabelCount =
    kNameBarLines + kProfileLines + kPlacingLines + kPastRunLines * kPastRunPages; // 92

// Every label in dump order: StaticText1, "　馬情報１　" top to bottom, "　馬情報２　" top to
// bottom, then "前走－１" to "前走－５", lines 1 to 11 each.
std::span<const THorseLabel, kHorseLabelCount> HorseLabels();
// The caption of page `sheet` (0..6) of PageControl2, Shift-JIS; empty for any other number.
std::string_view HorseSheetCaption(int sheet);

using THorseTexts = std::array<std::string, kHorseLabelCount>;

// The name bar: the horse name (SE 41-76) without blanks at its ends nor full-width blanks,
// then "(招待:" + the invitation region (UM 863-882) as stored + ")" when the horse was
// invited from abroad.
std::string NameBarText(const jvdata::TRecordSE& runner, const jvdata::TRecordUM& horse);
// The ten lines of "　馬情報１　", top to bottom (Label6, Label8, Label54, Label7, Label53,
// Label52, Label9, Label14, Label15, Label56). A blank master gives the fixed texts with
// blanks and zeros in the field places and an empty deregistration line.
std::array<std::string, kProfileLines> ProfileLines(const jvdata::TRecordSE& runner,
                                                    const jvdata::TRecordUM& horse);
// The 26 lines of "　馬情報２　", top to bottom: heading and six counts "%3d" each.
std::array<std::string, kPlacingLines> PlacingLines(const jvdata::TRecordUM& horse);
// The eleven lines of one past-run page from the earlier run and its race record. All empty
// when the race record is missing (no year), lines 9 to 11 always empty.
std::array<std::string, kPastRunLines> PastRunLines(const jvdata::TRecordSE& run,
                                                    const jvdata::TRecordRA& race);

// Every label's text for runner slot k of race slot s, in HorseLabels order. All texts empty
// when the slot holds no race or k is not one of its runners (no horse tab).
void FillHorseTexts(const race::TRaceDayData& day, int raceSlot, int runnerSlot,
                    THorseTexts& texts);
THorseTexts HorseTexts(const race::TRaceDayData& day, int raceSlot, int runnerSlot);

// The body weight of a past run as shown: blanks of the field's width when the horse did not
// run (000) or could not be weighed (999), else the number right-aligned.
std::string BodyWeightText(std::string_view field);
// True when a last-furlongs time in tenths (SE 388-390, SE 391-393) holds a time: false for a
// blank field, 000 and the value for none, 999.
bool HasFurlongTime(std::string_view field);

} // namespace horse
