#include "analysis/AnalysisPages.h"

#include "analysis/TimeTables.h"
#include "race/DayLoad.h"

#include <cstdio>

namespace analysis {

std::optional<TAnalysisPage> AnalysisPageOf(std::string_view name) {
    constexpr std::pair<std::string_view, TAnalysisPage> kNames[] = {
        {"times", TAnalysisPage::Times},   {"last3f", TAnalysisPage::Last3f},
        {"chart1", TAnalysisPage::Chart1}, {"chart2", TAnalysisPage::Chart2},
        {"chart3", TAnalysisPage::Chart3}, {"chart4", TAnalysisPage::Chart4},
    };
    for (const auto& [text, page] : kNames) {
        if (text == name) {
            return page;
        }
    }
    return std::nullopt;
}

namespace {

TChartId ChartOf(TAnalysisPage page) {
    switch (page) {
    case TAnalysisPage::Chart2:
        return TChartId::Chart2;
    case TAnalysisPage::Chart3:
        return TChartId::Chart3;
    case TAnalysisPage::Chart4:
        return TChartId::Chart4;
    default:
        return TChartId::Chart1;
    }
}

std::vector<std::string> TableLines(const TTableRows& rows) {
    std::vector<std::string> lines;
    lines.reserve(rows.size());
    for (const TTableRow& row : rows) {
        std::string line;
        for (std::size_t column = 0; column < row.size(); ++column) {
            if (column > 0) {
                line += '\t';
            }
            line += row[column];
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace

int SelectorItemCount(const race::TRaceDayData& day, int slot, TAnalysisPage page) {
    switch (page) {
    case TAnalysisPage::Times:
    case TAnalysisPage::Last3f:
        return 0;
    case TAnalysisPage::Chart1:
    case TAnalysisPage::Chart3:
        return slot >= 0 && slot < race::kRaceSlots
                   ? race::RunnerCount(day.Races[static_cast<std::size_t>(slot)])
                   : 0;
    case TAnalysisPage::Chart2:
    case TAnalysisPage::Chart4:
        return race::kPastRunSlots;
    }
    return 0;
}

std::vector<std::string> ChartLines(const TChart& chart) {
    std::vector<std::string> lines;
    if (!chart.nameBox.empty()) {
        lines.push_back(chart.nameBox + "\t" + chart.name);
    }
    std::vector<std::size_t> next(chart.series.size(), 0);
    for (const int index : chart.added) {
        const TChartSeries& series = chart.series[static_cast<std::size_t>(index)];
        const std::size_t x = next[static_cast<std::size_t>(index)]++;
        const TChartPoint& point = series.points[x];
        char value[64];
        std::snprintf(value, sizeof value, "%.4f", point.value);
        char colour[16];
        std::snprintf(colour, sizeof colour, "\t#%06X", static_cast<unsigned>(point.colour));
        lines.push_back(series.name + "\t" + std::to_string(x) + "\t" + value + "\t" + point.label +
                        colour);
    }
    return lines;
}

std::vector<std::string> AnalysisPageLines(const race::TRaceDayData& day, int slot,
                                           TAnalysisPage page, int item) {
    if (page == TAnalysisPage::Times || page == TAnalysisPage::Last3f) {
        TTimeTables tables;
        BuildTimeTables(tables, day, slot);
        return TableLines(page == TAnalysisPage::Times ? tables.times : tables.last3f);
    }
    TChart chart = MakeChart(ChartOf(page));
    const int runners = slot >= 0 && slot < race::kRaceSlots
                            ? race::RunnerCount(day.Races[static_cast<std::size_t>(slot)])
                            : 0;
    ShowChart(chart, day, slot, runners, item);
    return ChartLines(chart);
}

TAnalysisPageResult AnalysisDayPageLines(const std::filesystem::path& dataRoot,
                                         std::string_view entry, std::optional<int> raceNumber,
                                         TAnalysisPage page, int select, race::TRaceDayData& day,
                                         const race::TDayRunnersHint& runners) {
    TAnalysisPageResult result;
    race::TDayPageResult& shown = result.page;
    const race::TDayRace race = race::LoadDayRace(dataRoot, entry, raceNumber, day, runners);
    shown.status = race.status;
    shown.message = race.message;
    shown.raceNumber = race.raceNumber;
    if (!race.shown()) {
        return result;
    }
    const int items = SelectorItemCount(day, race.slot, page);
    if (items > 0 && (select < 1 || select > items)) {
        result.noSuchItem = true;
        return result;
    }
    shown.lines = AnalysisPageLines(day, race.slot, page, select - 1);
    return result;
}

} // namespace analysis
