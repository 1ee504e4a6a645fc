// Search and statistics over the whole store, answered from the store's index (see
// StoreIndex.h). What the search window, the statistics page and the CLI's "search" and
// "stats" show: every list comes as a text table, so that the window's grid, the CLI's dump
// and the CSV export show the same cells.
#pragma once

#include "files/TextTable.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace archive {

class TStoreIndex;

// Whose runs a search lists, or whose statistics are asked for.
enum class TSubjectKind {
    Horse,   // a horse, by its name (UM / SE 馬名)
    Jockey,  // a jockey, by name or short name (KS, SE 騎手名略称)
    Trainer, // a trainer, by name or short name (CH, SE 調教師名略称)
    Sire,    // a sire, by its name (the 父 of the horses' pedigrees)
    Course,  // a racecourse and distance (statistics only)
};

// Where one listed run is in the store: the day, the race and the runner, so that the window
// can open the day at that race and that horse.
struct TRunPlace {
    std::string date;   // yyyymmdd
    std::string course; // JyoCD, two digits
    int race = 0;       // race number, 1-12
    int horseNum = 0;   // 馬番, 1-18
};

// The runs of every subject whose name (kana or kanji, CP932) contains the given part,
// newest first; one place per row of the table.
struct TSearchResult {
    files::TTextTable table;
    std::vector<TRunPlace> places; // places[i] is where table.rows[i] ran
    std::string message;           // CP932; why nothing could be searched, empty otherwise
    bool truncated = false;        // more runs matched than kSearchRowLimit: the newest listed
};

// The most runs one search lists: the newest, when more match (a part such as one kana).
inline constexpr std::size_t kSearchRowLimit = 5000;

// The kind as a heading word: "馬", "騎手", "調教師", "種牡馬", "コース" (CP932).
std::string SubjectKindName(TSubjectKind kind);

TSearchResult SearchRuns(const TStoreIndex& index, TSubjectKind kind, std::string_view namePart);

// The subjects whose name contains the given part, one per row (code, name and run count), for
// choosing whose statistics to show.
struct TSubjectList {
    files::TTextTable table;
    std::vector<std::string> codes; // codes[i] names the subject of table.rows[i]
};

TSubjectList FindSubjects(const TStoreIndex& index, TSubjectKind kind, std::string_view namePart);

// Whose statistics: a horse, jockey, trainer or sire by its code (血統登録番号, 騎手コード,
// 調教師コード, the sire's 繁殖登録番号), or a racecourse and distance.
struct TStatsRequest {
    TSubjectKind kind = TSubjectKind::Jockey;
    std::string code;   // for Horse, Jockey, Trainer, Sire
    std::string course; // JyoCD, for Course
    int distance = 0;   // metres, for Course; 0 for every distance of the course
};

// Runs, wins, 2nd, 3rd, win / top-2 / top-3 rates, and win and place returns per 100 yen from
// the stored payoffs: the whole, then split by surface, distance band, going and racecourse.
struct TStatsSection {
    std::string title; // CP932, e.g. "芝・ダート別"
    files::TTextTable table;
};

struct TStatsResult {
    std::string subject; // CP932: whose statistics, as a heading
    std::vector<TStatsSection> sections;
    std::string message; // CP932; why there are none, empty otherwise
};

TStatsResult Statistics(const TStoreIndex& index, const TStatsRequest& request);

// Every section of the statistics as one list for export: the column "分類" with the section's
// title before each row's cells.
files::TTextTable StatsTable(const TStatsResult& stats);

// A table as text lines: the headings, then each row, cells separated by tabs (what the CLI
// prints).
std::vector<std::string> TableLines(const files::TTextTable& table);

} // namespace archive
