// The time tables and the charts of a race as text lines, for the command-line tool and for
// scripts: what the grids hold and what the charts plot, exactly as the window shows them.
//
//   times, last3f   one line per grid row (StringGrid3, StringGrid2): the nine cells, tabs
//                   between them
//   chart1..chart4  for chart1 and chart3 first the name box and the runner's name
//                   ("StaticText2", a tab, the name); then one line per point in the order of
//                   addition: series name, x within its series (0, 1, ...), the value as
//                   "%.4f", the point's label and its colour as #RRGGBB, tabs between them
#pragma once

#include "analysis/TrendCharts.h"
#include "race/DayPages.h"
#include "race/TRaceDayData.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace analysis {

enum class TAnalysisPage { Times, Last3f, Chart1, Chart2, Chart3, Chart4 };

// The page of a name: "times", "last3f", "chart1" .. "chart4"; nothing for another name.
std::optional<TAnalysisPage> AnalysisPageOf(std::string_view name);

// The number of items of the page's selector in race slot s: the runners for chart1 and
// chart3, the five earlier runs for chart2 and chart4, 0 for the tables (which have none).
int SelectorItemCount(const race::TRaceDayData& day, int slot, TAnalysisPage page);

// The lines of the page for race slot s; item is the selector's item index (0-based), used by
// the charts only.
std::vector<std::string> AnalysisPageLines(const race::TRaceDayData& day, int slot,
                                           TAnalysisPage page, int item);

// The lines of one chart as the dump prints them.
std::vector<std::string> ChartLines(const TChart& chart);

struct TAnalysisPageResult {
    race::TDayPageResult page;
    bool noSuchItem = false; // the selector has no item `select` in that race
};

// Loads the day of entry from the store under dataRoot into day (as the main window does) and
// gives the page of race raceNumber (else the day's first race) with the selector's item select
// (1-based, as the selector counts; the tables take none).
TAnalysisPageResult AnalysisDayPageLines(const std::filesystem::path& dataRoot,
                                         std::string_view entry, std::optional<int> raceNumber,
                                         TAnalysisPage page, int select, race::TRaceDayData& day,
                                         const race::TDayRunnersHint& runners = {});

} // namespace analysis
