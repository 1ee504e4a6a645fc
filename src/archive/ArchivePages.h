// What the archive window (search and statistics over the whole store) shows besides its
// lists: the names of its choices, its counts and messages, the names it proposes for CSV
// files, and where a listed run opens in the main window (its date list entry, race tab and
// horse tab). Texts are CP932.
#pragma once

#include "archive/ArchiveQueries.h"
#include "race/TRaceDayData.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace archive {

// The subject kinds the search offers, in the order of its choice: 馬, 騎手, 調教師, 種牡馬.
inline constexpr TSubjectKind kSearchKinds[] = {TSubjectKind::Horse, TSubjectKind::Jockey,
                                                TSubjectKind::Trainer, TSubjectKind::Sire};

// The window's top line while the store's index is opened (and built when it must be):
// "索引を開いています。索引を作り直すときは、しばらくかかります。"
std::string IndexOpeningText();

// The line over a search's list: "「name」を含む騎手の出走 123件" (newest first), with
// "（新しい順に5000件まで）" when the search listed only the newest, or why there is none:
// "「name」を含む騎手の出走はありません。". An empty part asks for a name:
// "名前（かな・漢字、名前の一部でも可）を入れてください。".
std::string SearchSummaryText(TSubjectKind kind, std::string_view namePart, std::size_t hits,
                              bool truncated = false);

// The line over a subject list: "「name」を含む騎手 3件" or "「name」を含む騎手はいません。".
std::string SubjectsSummaryText(TSubjectKind kind, std::string_view namePart, std::size_t count);

// The name of the subject of a run listed by a search of that kind, for its statistics: the
// run's 馬名, 騎手 or 調教師 cell; empty for a sire (the run names the horse, not its sire) or a
// row without that cell.
std::string SubjectNameOfRun(TSubjectKind kind, const files::TTextTable& hits, std::size_t row);

// The row of a subject list (FindSubjects) whose 名前 is name, blanks aside; nothing when no
// row has it.
std::optional<std::size_t> SubjectRowNamed(const TSubjectList& subjects, std::string_view name);

// The racecourses of JRA a course's statistics can be asked for: JyoCD "01" (札幌) to "10"
// (小倉), each with its name.
struct TCourseChoice {
    std::string code; // JyoCD, two digits
    std::string name; // CP932, "札幌"
};
std::vector<TCourseChoice> CourseChoices();

// The choice of a course's distance: metres, 0 for every distance ("全距離").
std::string DistanceChoiceText(int metres);

// A file name to propose for the CSV file of a list: "search_" / "stats_" and the words that
// name the list, joined by "_", with ".csv"; characters a file name cannot hold (\ / : * ? " <
// > | and control bytes) become "_" and a name part is cut to 40 bytes (never inside a
// character), so that nothing typed or stored steers the file into another folder.
std::string CsvFileName(std::string_view list, const std::vector<std::string>& words);

// True when a list cell holds a figure (a count, a rate, a return, a time, a date: digits with
// "." "," "%" ":" "/" "-" and blanks, at least one digit), which the lists align right.
bool IsFigureCell(std::string_view cell) noexcept;

// Why the day of a listed run cannot be opened: "2004年05月01日東京 11Rのデータが見つかりません。"
std::string RunDayMissingText(const TRunPlace& place);

// The entry of the date list (newest first, as MakeDateList gives it) that shows the run's
// day, whether from its cards or from its results (an entry with kResultsDayMark); nothing
// when the list has no such entry or the place names no day.
std::optional<std::size_t> DateEntryOfRun(const std::vector<std::string>& entries,
                                          const TRunPlace& place);

// The race tab of a loaded day that shows race number raceNumber, and the horse tab of that
// race for horse number horseNum (the horse tabs follow the runner slots: 馬番 1 is tab 0).
// Nothing when the day has no such race, or the race no such runner.
std::optional<int> RaceTabOfRun(const race::TRaceDayData& day,
                                const std::vector<race::TRaceTab>& tabs, int raceNumber);
std::optional<int> HorseTabOfRun(const race::TRaceDayData& day, int raceSlot, int horseNum);

} // namespace archive
