#include "analysis/TimeTables.h"

#include "analysis/SpeedFigures.h"
#include "jvdata/SjisText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace analysis {

namespace {

// "◎", "○", "×" in Shift-JIS.
constexpr std::string_view kMarks[] = {"\x81\x9D", "\x81\x9B", "\x81\x7E"};

// Rounds a non-negative number of hundredths given as a numerator over a denominator, half
// away from zero.
long long RoundedQuotient(long long numerator, long long denominator) noexcept {
    return (2 * numerator + denominator) / (2 * denominator);
}

std::string Decimal(int value) {
    return std::to_string(value);
}

} // namespace

std::string_view MarkText(int place) noexcept {
    return place >= 0 && place < 3 ? kMarks[place] : std::string_view{};
}

std::string HundredthsText(long long hundredths) {
    const bool negative = hundredths < 0;
    const long long magnitude = negative ? -hundredths : hundredths;
    const long long cents = magnitude % 100;
    return (negative ? "-" : "") + std::to_string(magnitude / 100) + (cents < 10 ? ".0" : ".") +
           std::to_string(cents);
}

std::string FigureText(std::optional<double> figure) {
    if (!figure || !std::isfinite(*figure)) {
        return {};
    }
    // Half away from zero, as the decimal pattern rounds; the figures are never negative.
    return HundredthsText(std::llround(*figure * 100.0));
}

std::optional<long long> CellHundredths(std::string_view text) noexcept {
    text = Sjis::TrimBlanks(text);
    if (text.empty()) {
        return std::nullopt;
    }
    long long whole = 0;
    std::size_t pos = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        if (whole > 1'000'000'000'000LL) {
            return std::nullopt;
        }
        whole = whole * 10 + (text[pos] - '0');
    }
    const std::size_t wholeDigits = pos;
    int decimals[3] = {0, 0, 0};
    std::size_t decimalDigits = 0;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos, ++decimalDigits) {
            if (decimalDigits < 3) {
                decimals[decimalDigits] = text[pos] - '0';
            }
        }
    }
    if (pos != text.size() || wholeDigits + decimalDigits == 0) {
        return std::nullopt;
    }
    return whole * 100 + decimals[0] * 10 + decimals[1] + (decimals[2] >= 5 ? 1 : 0);
}

void ResetTimeTables(TTimeTables& tables, const race::TRaceDayData& day, int slot) {
    if (slot < 0 || slot >= race::kRaceSlots) {
        tables.times.clear();
        tables.last3f.clear();
        return;
    }
    const auto s = static_cast<std::size_t>(slot);
    const int runners = race::RunnerCount(day.Races[s]);
    for (TTableRows* rows : {&tables.times, &tables.last3f}) {
        rows->resize(static_cast<std::size_t>(runners));
        for (int k = 0; k < runners; ++k) {
            TTableRow& row = (*rows)[static_cast<std::size_t>(k)];
            for (int column = 0; column < kAverageColumn; ++column) {
                row[static_cast<std::size_t>(column)].clear();
            }
            row[kHorseColumn] = Decimal(k + 1);
            const int frame =
                day.Runners[s][static_cast<std::size_t>(k)].Int(jvdata::SE::kFrameNumber);
            if (frame > 0) {
                row[kFrameColumn] = Decimal(frame);
            }
        }
    }
}

void FillTimeTableColumn(TTimeTables& tables, const race::TRaceDayData& day, int slot, int runners,
                         int entry) {
    if (entry < 0 || entry >= race::kPastRunSlots || slot < 0 || slot >= race::kRaceSlots) {
        return;
    }
    const auto s = static_cast<std::size_t>(slot);
    const auto i = static_cast<std::size_t>(entry);
    const auto column = static_cast<std::size_t>(kFirstRunColumn + entry);
    const int rows = std::min(
        {runners, static_cast<int>(tables.times.size()), static_cast<int>(tables.last3f.size())});
    for (int k = 0; k < rows; ++k) {
        const auto r = static_cast<std::size_t>(k);
        const jvdata::TRecordSE& run = day.PastRuns[s][r][i];
        tables.times[r][column] = FigureText(TimeFigure(run, day.PastRaces[s][r][i]));
        tables.last3f[r][column] = FigureText(Last3fFigure(run));
    }
}

std::string AverageText(const TTableRow& row) {
    long long sum = 0;
    long long count = 0;
    for (int column = kFirstRunColumn; column < kAverageColumn; ++column) {
        if (const auto value = CellHundredths(row[static_cast<std::size_t>(column)])) {
            sum += *value;
            ++count;
        }
    }
    if (count == 0) {
        return {};
    }
    return HundredthsText(RoundedQuotient(sum, count));
}

namespace {

// The rows with an average, best first: by the average's value, then by the row.
std::vector<std::pair<long long, int>> Ranked(const TTableRows& rows) {
    std::vector<std::pair<long long, int>> ranked;
    ranked.reserve(rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (const auto value = CellHundredths(rows[r][kAverageColumn])) {
            ranked.emplace_back(*value, static_cast<int>(r));
        }
    }
    std::sort(ranked.begin(), ranked.end());
    return ranked;
}

} // namespace

std::vector<std::string> RankingEntries(const TTableRows& rows) {
    std::vector<std::string> entries;
    for (const auto& [value, row] : Ranked(rows)) {
        char number[16];
        std::snprintf(number, sizeof number, "-%02d", row + 1);
        entries.push_back(
            std::string(Sjis::TrimBlanks(rows[static_cast<std::size_t>(row)][kAverageColumn])) +
            number);
    }
    return entries;
}

void FillAveragesAndMarks(TTableRows& rows) {
    for (TTableRow& row : rows) {
        row[kAverageColumn] = AverageText(row);
    }
    const auto ranked = Ranked(rows);
    for (std::size_t place = 0; place < ranked.size() && place < 3; ++place) {
        rows[static_cast<std::size_t>(ranked[place].second)][kMarkColumn] =
            std::string(MarkText(static_cast<int>(place)));
    }
}

void FillAveragesAndMarks(TTimeTables& tables) {
    FillAveragesAndMarks(tables.times);
    FillAveragesAndMarks(tables.last3f);
}

void BuildTimeTables(TTimeTables& tables, const race::TRaceDayData& day, int slot) {
    ResetTimeTables(tables, day, slot);
    const int runners = static_cast<int>(tables.times.size());
    for (int entry = 0; entry < race::kPastRunSlots; ++entry) {
        FillTimeTableColumn(tables, day, slot, runners, entry);
    }
    FillAveragesAndMarks(tables);
}

} // namespace analysis
