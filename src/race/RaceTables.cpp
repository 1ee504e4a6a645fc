#include "race/RaceTables.h"

#include "jvdata/KeibaFunc.h"
#include "jvdata/SjisText.h"
#include "race/PayoffPage.h"
#include "race/RaceCard.h"

#include <algorithm>
#include <cstdio>

namespace race {

namespace {

namespace SE = jvdata::SE;
namespace RA = jvdata::RA;

std::string Text(std::string_view utf8) {
    return Sjis::FromUtf8(utf8);
}

// Columns of the results table.
enum TResultsColumn {
    kSection,
    kPosition,
    kFrame,
    kHorse,
    kName,
    kJockey,
    kTime,
    kMargin,
    kOdds,
    kPopularity,
    kCombination,
    kPayout,
    kResultsColumns,
};

std::vector<std::string> ResultsHeadings() {
    return {Text("区分"),       Text("着順"), Text("枠番"),   Text("馬番"),
            Text("馬名"),       Text("騎手"), Text("タイム"), Text("着差"),
            Text("単勝オッズ"), Text("人気"), Text("組番"),   Text("配当")};
}

// A whole number as text when it is 1 or more, else empty.
std::string Positive(int value) {
    return value >= 1 ? std::to_string(value) : std::string();
}

std::vector<std::string> RunnerRow(const TRaceDayData& day, int raceSlot, int runnerSlot) {
    const jvdata::TRecordSE& run =
        day.Runners[static_cast<std::size_t>(raceSlot)][static_cast<std::size_t>(runnerSlot)];
    std::vector<std::string> row(kResultsColumns);
    row[kSection] = Text("成績");
    const int position = run.Int(SE::kFinishPosition);
    row[kPosition] =
        position >= 1 ? std::to_string(position)
                      : TableCellText(KeibaFunc::AbnormalityName(run.Field(SE::kAbnormalityCode)));
    row[kFrame] =
        TableCellText(CardCellText(day, raceSlot, runnerSlot, CardLook::TCardColumn::Frame));
    row[kHorse] =
        TableCellText(CardCellText(day, raceSlot, runnerSlot, CardLook::TCardColumn::HorseNumber));
    row[kName] = CardCellText(day, raceSlot, runnerSlot, CardLook::TCardColumn::HorseName);
    row[kJockey] =
        TableCellText(CardCellText(day, raceSlot, runnerSlot, CardLook::TCardColumn::Jockey));
    row[kTime] = TableCellText(KeibaFunc::RunTimeText(run.Field(SE::kRaceTime)));
    row[kMargin] = TableCellText(KeibaFunc::MarginText(run.Field(SE::kMarginCode), 9).value_or(""));
    if (const int odds = run.Int(SE::kWinOdds); odds >= 1) {
        char text[16];
        std::snprintf(text, sizeof text, "%.1f", odds / 10.0);
        row[kOdds] = text;
    }
    row[kPopularity] = Positive(run.Int(SE::kWinPopularity));
    return row;
}

} // namespace

std::string TableCellText(std::string_view shown) {
    for (;;) {
        const std::size_t before = shown.size();
        shown = Sjis::TrimBlanks(shown);
        if (shown.starts_with(Sjis::kWideBlank)) {
            shown.remove_prefix(Sjis::kWideBlank.size());
        }
        // A trailing 81 40 is a full-width blank only when its 81 begins a character.
        if (shown.ends_with(Sjis::kWideBlank) && !Sjis::IsInsideChar(shown, shown.size() - 2)) {
            shown.remove_suffix(Sjis::kWideBlank.size());
        }
        if (shown.size() == before) {
            return std::string(shown);
        }
    }
}

files::TTextTable CardTable(const TRaceDayData& day, int raceSlot) {
    files::TTextTable table;
    for (int column = 0; column < CardLook::kColumnCount; ++column) {
        table.columns.push_back(CardLook::ColumnHeader(column));
    }
    for (const TCardRow& cells : CardRows(day, raceSlot)) {
        std::vector<std::string>& row = table.rows.emplace_back();
        for (const std::string& cell : cells) {
            row.push_back(TableCellText(cell));
        }
    }
    return table;
}

files::TTextTable ResultsTable(const TRaceDayData& day, int raceSlot) {
    files::TTextTable table;
    table.columns = ResultsHeadings();
    if (!HasRace(day, raceSlot)) {
        return table;
    }
    const auto& runners = day.Runners[static_cast<std::size_t>(raceSlot)];
    std::vector<int> order;
    for (int k = 0; k < CardRunnerCount(day, raceSlot); ++k) {
        if (runners[static_cast<std::size_t>(k)].Int(SE::kHorseNumber) >= 1) {
            order.push_back(k);
        }
    }
    // Placed runners by position (a dead heat keeps horse-number order), the rest after them.
    auto rank = [&](int k) {
        const int position = runners[static_cast<std::size_t>(k)].Int(SE::kFinishPosition);
        return position >= 1 ? position : kRunnerSlots + 1;
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return rank(a) < rank(b); });
    for (const int k : order) {
        table.rows.push_back(RunnerRow(day, raceSlot, k));
    }

    for (const TBetType bet : kBetTypes) {
        for (const TPayoffBoxTexts& box : PayoffBoxTexts(day.PayoffTable, raceSlot, bet)) {
            if (TableCellText(box.result).empty()) {
                continue;
            }
            std::vector<std::string> row(kResultsColumns);
            row[kSection] = PayoffPage::BetTypeHeading(bet);
            row[kPopularity] = TableCellText(box.popularity);
            row[kCombination] = TableCellText(box.result);
            row[kPayout] = TableCellText(box.payout);
            table.rows.push_back(std::move(row));
        }
    }
    return table;
}

std::string RaceCsvFileName(const TRaceDayData& day, int raceSlot, std::string_view what) {
    std::string name;
    if (raceSlot >= 0 && raceSlot < kRaceSlots) {
        const jvdata::TRecordRA& race = day.Races[static_cast<std::size_t>(raceSlot)];
        for (const char c : race.Field(RA::kRaceDate)) {
            if (c >= '0' && c <= '9') {
                name += c;
            }
        }
        name += TableCellText(KeibaFunc::CourseName(race.Field(RA::kCourseCode), 2).value_or(""));
        if (const int number = race.Int(RA::kRaceNumber); number >= 1 && number <= 99) {
            name += std::to_string(number) + 'R';
        }
    }
    name += what;
    name += ".csv";
    return name;
}

} // namespace race
