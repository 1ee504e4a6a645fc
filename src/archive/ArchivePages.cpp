#include "archive/ArchivePages.h"

#include "jvdata/KeibaFunc.h"
#include "jvdata/SjisText.h"
#include "race/DateList.h"
#include "race/DayPages.h"
#include "race/RaceCard.h"
#include "store/StoreLayout.h"

#include <algorithm>
#include <cstdio>

namespace archive {

namespace {

// Longest part of a proposed CSV file name taken from one word, in bytes.
constexpr std::size_t kFileWordBytes = 40;

std::string Quoted(std::string_view namePart) {
    return Sjis::FromUtf8("「") + std::string(namePart) + Sjis::FromUtf8("」");
}

std::string CountText(std::size_t count) {
    return std::to_string(count) + Sjis::FromUtf8("件");
}

// The word with every character a file name cannot hold made "_", cut to kFileWordBytes.
std::string FileWord(std::string_view word) {
    std::string out;
    for (std::size_t pos = 0; pos < word.size();) {
        const std::size_t bytes = Sjis::CharBytesAt(word, pos);
        if (out.size() + bytes > kFileWordBytes) {
            break;
        }
        if (bytes == 1) {
            const char c = word[pos];
            const bool unsafe = static_cast<unsigned char>(c) < 0x20 || c == 0x7F ||
                                std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
            out += unsafe ? '_' : c;
        } else {
            out.append(word.substr(pos, bytes));
        }
        pos += bytes;
    }
    return out;
}

} // namespace

std::string IndexOpeningText() {
    return Sjis::FromUtf8("索引を開いています。索引を作り直すときは、しばらくかかります。");
}

std::string SearchSummaryText(TSubjectKind kind, std::string_view namePart, std::size_t hits,
                              bool truncated) {
    if (Sjis::TrimBlanks(namePart).empty()) {
        return Sjis::FromUtf8("名前（かな・漢字、名前の一部でも可）を入れてください。");
    }
    const std::string subject = Quoted(namePart) + Sjis::FromUtf8("を含む") +
                                SubjectKindName(kind) + Sjis::FromUtf8("の出走");
    if (hits == 0) {
        return subject + Sjis::FromUtf8("はありません。");
    }
    std::string text = subject + " " + CountText(hits);
    if (truncated) {
        text +=
            Sjis::FromUtf8("（新しい順に") + CountText(kSearchRowLimit) + Sjis::FromUtf8("まで）");
    }
    return text;
}

std::string SubjectsSummaryText(TSubjectKind kind, std::string_view namePart, std::size_t count) {
    if (Sjis::TrimBlanks(namePart).empty()) {
        return Sjis::FromUtf8("名前（かな・漢字、名前の一部でも可）を入れてください。");
    }
    const std::string subject = Quoted(namePart) + Sjis::FromUtf8("を含む") + SubjectKindName(kind);
    if (count == 0) {
        return subject + Sjis::FromUtf8("はいません。");
    }
    return subject + " " + CountText(count);
}

std::string SubjectNameOfRun(TSubjectKind kind, const files::TTextTable& hits, std::size_t row) {
    std::string heading;
    switch (kind) {
    case TSubjectKind::Horse:
        heading = Sjis::FromUtf8("馬名");
        break;
    case TSubjectKind::Jockey:
        heading = Sjis::FromUtf8("騎手");
        break;
    case TSubjectKind::Trainer:
        heading = Sjis::FromUtf8("調教師");
        break;
    case TSubjectKind::Sire:
    case TSubjectKind::Course:
        return {};
    }
    const auto column = std::find(hits.columns.begin(), hits.columns.end(), heading);
    const auto at = static_cast<std::size_t>(column - hits.columns.begin());
    if (column == hits.columns.end() || row >= hits.rows.size() || at >= hits.rows[row].size()) {
        return {};
    }
    return std::string(Sjis::TrimBlanks(hits.rows[row][at]));
}

std::optional<std::size_t> SubjectRowNamed(const TSubjectList& subjects, std::string_view name) {
    const auto& columns = subjects.table.columns;
    const auto column = std::find(columns.begin(), columns.end(), Sjis::FromUtf8("名前"));
    const auto at = static_cast<std::size_t>(column - columns.begin());
    const std::string_view wanted = Sjis::TrimBlanks(name);
    for (std::size_t row = 0; column != columns.end() && row < subjects.table.rows.size(); ++row) {
        const auto& cells = subjects.table.rows[row];
        if (at < cells.size() && Sjis::TrimBlanks(cells[at]) == wanted) {
            return row;
        }
    }
    return std::nullopt;
}

std::vector<TCourseChoice> CourseChoices() {
    std::vector<TCourseChoice> choices;
    for (int code = 1; code <= 10; ++code) {
        char jyo[3];
        std::snprintf(jyo, sizeof jyo, "%02d", code);
        choices.push_back({jyo, std::string(Sjis::TrimBlanks(
                                    KeibaFunc::CourseName(jyo, 2).value_or(std::string())))});
    }
    return choices;
}

std::string DistanceChoiceText(int metres) {
    if (metres <= 0) {
        return Sjis::FromUtf8("全距離");
    }
    return std::to_string(metres) + "m";
}

std::string CsvFileName(std::string_view list, const std::vector<std::string>& words) {
    std::string name = FileWord(list);
    for (const std::string& word : words) {
        const std::string part = FileWord(Sjis::TrimBlanks(word));
        if (!part.empty()) {
            name += "_" + part;
        }
    }
    return name + ".csv";
}

bool IsFigureCell(std::string_view cell) noexcept {
    bool digit = false;
    for (const char c : cell) {
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (std::string_view(" .,%:/-").find(c) == std::string_view::npos) {
            return false;
        }
    }
    return digit;
}

std::string RunDayMissingText(const TRunPlace& place) {
    const std::string day = store::RaceDayBaseName(place.date + place.course).value_or(place.date);
    char race[8];
    std::snprintf(race, sizeof race, "%2dR", place.race);
    return day + " " + race + Sjis::FromUtf8("のデータが見つかりません。");
}

std::optional<std::size_t> DateEntryOfRun(const std::vector<std::string>& entries,
                                          const TRunPlace& place) {
    const std::optional<std::string> base = store::RaceDayBaseName(place.date + place.course);
    if (!base) {
        return std::nullopt;
    }
    const auto found = std::find_if(entries.begin(), entries.end(), [&](const std::string& entry) {
        return race::EntryBaseName(entry) == *base;
    });
    if (found == entries.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - entries.begin());
}

std::optional<int> RaceTabOfRun(const race::TRaceDayData& day,
                                const std::vector<race::TRaceTab>& tabs, int raceNumber) {
    const std::optional<int> slot = race::SlotOfRaceNumber(day, raceNumber);
    if (!slot) {
        return std::nullopt;
    }
    const auto tab = std::find_if(tabs.begin(), tabs.end(),
                                  [&](const race::TRaceTab& t) { return t.slot == *slot; });
    if (tab == tabs.end()) {
        return std::nullopt;
    }
    return static_cast<int>(tab - tabs.begin());
}

std::optional<int> HorseTabOfRun(const race::TRaceDayData& day, int raceSlot, int horseNum) {
    if (horseNum < 1 || horseNum > race::CardRunnerCount(day, raceSlot)) {
        return std::nullopt;
    }
    return horseNum - 1;
}

} // namespace archive
