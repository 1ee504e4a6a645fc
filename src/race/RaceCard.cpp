#include "race/RaceCard.h"

#include "jvdata/KeibaFunc.h"
#include "jvdata/RecordLayout.h"
#include "jvdata/RecordUnits.h"
#include "jvdata/SjisText.h"
#include "race/PayoffPage.h"
#include "race/PayoffTable.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>
#include <utility>

namespace race {

namespace {

using KeibaFunc::Formatted;
using KeibaFunc::ShownName;

namespace RA = jvdata::RA;
namespace RC = jvdata::RC;
namespace SE = jvdata::SE;
using CardLook::TCardColumn;
using jvdata::TRecordRA;
using jvdata::TRecordRC;
using jvdata::TRecordSE;

bool InRaceSlots(int s) noexcept {
    return s >= 0 && s < kRaceSlots;
}

bool InRunnerSlots(int k) noexcept {
    return k >= 0 && k < kRunnerSlots;
}

// The race record of slot s, which must be inside 0..11.
const TRecordRA& RaceOf(const TRaceDayData& day, int s) noexcept {
    return day.Races[static_cast<std::size_t>(s)];
}

const TRecordSE& RunnerOf(const TRaceDayData& day, int s, int k) noexcept {
    return day.Runners[static_cast<std::size_t>(s)][static_cast<std::size_t>(k)];
}

bool IsBlank(std::string_view field) noexcept {
    return Sjis::TrimBlanks(field).empty();
}

// A field with no value: blank, or zeros only ("0000", "000").
bool IsBlankOrZeros(std::string_view field) noexcept {
    return IsBlank(field) || field.find_first_not_of('0') == std::string_view::npos;
}

// A conversion with a width argument that has no text for the code: nothing is added.
std::string Or(std::optional<std::string> text) {
    return text ? std::move(*text) : std::string();
}

// The fixed texts of the header lines, Shift-JIS.
struct THeaderWords {
    std::string year = Sjis::FromUtf8("年");
    std::string month = Sjis::FromUtf8("月");
    std::string day = Sjis::FromUtf8("日");
    std::string dayOpen = Sjis::FromUtf8("日(");
    std::string meeting = Sjis::FromUtf8("回");
    std::string post = Sjis::FromUtf8("発走");
    std::string gradedOpen = Sjis::FromUtf8("第");
    std::string gradedClose = Sjis::FromUtf8("回 ");
    std::string runners = Sjis::FromUtf8("頭  ");
    std::string metres = Sjis::FromUtf8("ﾒｰﾄﾙ ");
    std::string prize = Sjis::FromUtf8("【賞金】");
    std::string added = Sjis::FromUtf8(" 【付加賞金】");
    std::string place = Sjis::FromUtf8("着:");
    std::string unit = Sjis::FromUtf8(" (単位:千円)");
    std::string record = Sjis::FromUtf8("ﾚｺｰﾄﾞ:");
    std::string foaled = Sjis::FromUtf8("年生");
    std::string jockey = Sjis::FromUtf8("騎手:");
    std::string weight = Sjis::FromUtf8("  斤量:");
    std::string trainer = Sjis::FromUtf8("  調教師:");
    std::string horseTab = Sjis::FromUtf8("番");
    std::string backToBack = Sjis::FromUtf8("連闘");
};

const THeaderWords& Words() {
    static const THeaderWords words;
    return words;
}

// ---- Calendar dates -------------------------------------------------------------------------

bool IsLeapYear(int year) noexcept {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) noexcept {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// The day number of a calendar date (days since 1970-01-01, proleptic Gregorian), or nothing
// when year, month and day do not form a real date of the years 1 to 9999.
std::optional<std::int64_t> DayNumber(int year, int month, int day) noexcept {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month)) {
        return std::nullopt;
    }
    // Counted in years that begin on 1 March, so the leap day falls at the end of a year.
    const std::int64_t y = month <= 2 ? year - 1 : year;
    const std::int64_t era = y / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t m = month > 2 ? month - 3 : month + 9;
    const std::int64_t dayOfYear = (153 * m + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// The race date of a race record (RA 12-15, 16-17, 18-19) as a day number.
std::optional<std::int64_t> RaceDayNumber(const TRecordRA& race) noexcept {
    return DayNumber(race.Int(RA::kYear), race.Int(RA::kMonth), race.Int(RA::kDay));
}

// ---- Header lines of one race record --------------------------------------------------------

std::string DateLineOf(const TRecordRA& race) {
    const THeaderWords& w = Words();
    std::string line;
    line += race.Field(RA::kYear);
    line += w.year;
    line += race.Field(RA::kMonth);
    line += w.month;
    line += race.Field(RA::kDay);
    line += w.dayOpen;
    line += Or(KeibaFunc::WeekdayName(race.Field(RA::kWeekdayCode), 1));
    line += ')';
    line += Or(KeibaFunc::CourseName(race.Field(RA::kCourseCode), 2));
    line += race.Field(RA::kMeeting);
    line += w.meeting;
    line += race.Field(RA::kDayOfMeeting);
    line += w.day;
    line += KeibaFunc::ZeroSuppress(race.Field(RA::kRaceNumber));
    line += "R ";
    line += " ";
    const std::string_view post = race.Field(RA::kPostTime);
    line += post.substr(0, 2);
    line += '.';
    line += post.substr(2, 2);
    line += w.post;
    return line;
}

std::string NameLineOf(const TRecordRA& race) {
    const THeaderWords& w = Words();
    std::string line;
    const std::string count = KeibaFunc::ZeroSuppress(race.Field(RA::kGradedRaceCount));
    if (!IsBlank(count)) {
        line += w.gradedOpen;
        line += count;
        line += w.gradedClose;
    }
    line += race.Field(RA::kRaceName);
    return line;
}

std::string ConditionsLineOf(const TRecordRA& race) {
    const THeaderWords& w = Words();
    std::string line;
    line += KeibaFunc::ZeroSuppress(race.Field(RA::kRegisteredRunners));
    line += w.runners;
    line += KeibaFunc::ZeroSuppress(race.Field(RA::kDistance));
    line += w.metres;
    line += KeibaFunc::TrackName(race.Field(RA::kTrackCode));
    line += ' ';
    line += Or(KeibaFunc::GradeName(race.Field(RA::kGradeCode), 1));
    line += ' ';
    line += Or(KeibaFunc::RaceKindName(race.Field(RA::kRaceTypeCode), 8));
    line += ' ';
    line += KeibaFunc::WeightTypeName(race.Field(RA::kWeightRuleCode));
    line += ' ';
    line += KeibaFunc::RaceConditionText(
        race.Field(RA::kRaceTypeCode), race.Field(RA::kCondition2yo), race.Field(RA::kCondition3yo),
        race.Field(RA::kCondition4yo), race.Field(RA::kCondition5yoUp));
    line += ' ';
    line += KeibaFunc::RaceSymbolText(race.Field(RA::kRaceSymbolCode));
    return line;
}

std::string PrizeLineOf(const TRecordRA& race) {
    const THeaderWords& w = Words();
    // One piece: place, "着:", the amount in thousand yen, two blanks.
    const auto piece = [&w, &race](int place, jvdata::TFieldPos field) {
        return std::to_string(place) + w.place +
               KeibaFunc::WithThousands(jvdata::ThousandYen(race.Int64(field))) + "  ";
    };
    std::string line = w.prize;
    for (int place = 1; place <= RA::kPrizePlaces; ++place) {
        line += piece(place, RA::PrizeMoney(place));
    }
    line += w.added;
    for (int place = 1; place <= RA::kAddedPlaces; ++place) {
        line += piece(place, RA::AddedMoney(place));
    }
    line += w.unit;
    return line;
}

// A course record is shown only when it has the year it was set in.
bool HasCourseRecord(const TRecordRC& record) noexcept {
    return !IsBlankOrZeros(record.Field(RC::kYear));
}

std::string RecordLineOf(const TRecordRC& record) {
    const THeaderWords& w = Words();
    std::string line = w.record;
    // The race in which the record was set.
    line += record.Field(RC::kYear);
    line += w.year;
    line += record.Field(RC::kMonth);
    line += w.month;
    line += record.Field(RC::kDay);
    line += w.day;
    line += Or(KeibaFunc::CourseName(record.Field(RC::kCourseCode), 2));
    line += record.Field(RC::kMeeting);
    line += w.meeting;
    line += record.Field(RC::kDayOfMeeting);
    line += w.day;
    line += record.Field(RC::kRaceNumber);
    line += 'R';
    // The record and its holder.
    line += KeibaFunc::RecordKindText(record.Field(RC::kRecordKind));
    line += KeibaFunc::RunTimeText(record.Field(RC::kRecordTime));
    line += ' ';
    line += KeibaFunc::WeatherName(record.Field(RC::kWeatherCode));
    line += ' ';
    line += ShownName(record.Field(RC::kHolderName));
    line += ' ';
    line += KeibaFunc::SexName(record.Field(RC::kHolderSexCode));
    line += record.Field(RC::kHolderFoalingYear);
    line += w.foaled;
    line += KeibaFunc::HorseSymbolText(record.Field(RC::kHolderSymbolCode));
    return line;
}

std::string RiderLineOf(const TRecordRC& record) {
    const THeaderWords& w = Words();
    std::string line = w.jockey;
    line += ShownName(record.Field(RC::kHolderJockeyName));
    line += w.weight;
    const std::string_view weight = record.Field(RC::kHolderWeightCarried);
    if (!IsBlankOrZeros(weight)) {
        // 0.1 kg in three digits: "550" is 55.0 kg.
        line += weight.substr(0, 2);
        line += '.';
        line += weight.substr(2, 1);
        line += "kg";
    }
    line += w.trainer;
    line += ShownName(record.Field(RC::kHolderTrainerName));
    return line;
}

// ---- Pages ----------------------------------------------------------------------------------

// Texts joined with a tab between two of them.
template <class Texts>
std::string TabJoined(const Texts& texts) {
    std::string line;
    bool first = true;
    for (const std::string& text : texts) {
        if (!first) {
            line += '\t';
        }
        line += text;
        first = false;
    }
    return line;
}

} // namespace

bool HasRace(const TRaceDayData& day, int raceSlot) noexcept {
    return InRaceSlots(raceSlot) && HoldsRace(RaceOf(day, raceSlot));
}

int CardRunnerCount(const TRaceDayData& day, int raceSlot) noexcept {
    return HasRace(day, raceSlot) ? RunnerCount(RaceOf(day, raceSlot)) : 0;
}

std::vector<std::string> HorseTabLabels(const TRaceDayData& day, int raceSlot) {
    std::vector<std::string> labels;
    const int count = CardRunnerCount(day, raceSlot);
    for (int i = 1; i <= count; ++i) {
        labels.push_back(Formatted("%2d", i) + Words().horseTab);
    }
    return labels;
}

std::string RaceNameLine(const TRecordRA& race) {
    return NameLineOf(race);
}

std::string RaceConditionsLine(const TRecordRA& race) {
    return ConditionsLineOf(race);
}

std::string CourseRecordLine(const TRecordRC& record) {
    return RecordLineOf(record);
}

std::string RaceDateLine(const TRaceDayData& day, int raceSlot) {
    return HasRace(day, raceSlot) ? DateLineOf(RaceOf(day, raceSlot)) : std::string();
}

std::string RaceNameLine(const TRaceDayData& day, int raceSlot) {
    return HasRace(day, raceSlot) ? NameLineOf(RaceOf(day, raceSlot)) : std::string();
}

std::string RaceConditionsLine(const TRaceDayData& day, int raceSlot) {
    return HasRace(day, raceSlot) ? ConditionsLineOf(RaceOf(day, raceSlot)) : std::string();
}

std::string PrizeMoneyLine(const TRaceDayData& day, int raceSlot) {
    return HasRace(day, raceSlot) ? PrizeLineOf(RaceOf(day, raceSlot)) : std::string();
}

std::string CourseRecordLine(const TRaceDayData& day, int raceSlot) {
    if (!HasRace(day, raceSlot)) {
        return {};
    }
    const TRecordRC& record = day.CourseRecords[static_cast<std::size_t>(raceSlot)];
    return HasCourseRecord(record) ? RecordLineOf(record) : std::string();
}

std::string CourseRecordRiderLine(const TRaceDayData& day, int raceSlot) {
    if (!HasRace(day, raceSlot)) {
        return {};
    }
    const TRecordRC& record = day.CourseRecords[static_cast<std::size_t>(raceSlot)];
    return HasCourseRecord(record) ? RiderLineOf(record) : std::string();
}

std::uint32_t HeaderPanelColour(const TRaceDayData& day, int raceSlot) {
    if (!HasRace(day, raceSlot)) {
        return CardLook::kPanelGreen;
    }
    return CardLook::PanelColour(RaceOf(day, raceSlot).Field(RA::kTrackCode));
}

TRaceHeader RaceHeader(const TRaceDayData& day, int raceSlot) {
    TRaceHeader header;
    header.label1 = RaceDateLine(day, raceSlot);
    header.label2 = RaceNameLine(day, raceSlot);
    header.label3 = RaceConditionsLine(day, raceSlot);
    header.label4 = PrizeMoneyLine(day, raceSlot);
    header.label5 = CourseRecordLine(day, raceSlot);
    header.label51 = CourseRecordRiderLine(day, raceSlot);
    header.panelColour = HeaderPanelColour(day, raceSlot);
    return header;
}

bool RanWithinEightDays(const TRaceDayData& day, int raceSlot, int runnerSlot) noexcept {
    if (!InRaceSlots(raceSlot) || !InRunnerSlots(runnerSlot)) {
        return false;
    }
    const TRecordRA& last =
        day.PastRaces[static_cast<std::size_t>(raceSlot)][static_cast<std::size_t>(runnerSlot)][0];
    if (IsBlank(last.Year())) {
        return false;
    }
    const auto raceDay = RaceDayNumber(RaceOf(day, raceSlot));
    const auto lastDay = RaceDayNumber(last);
    if (!raceDay || !lastDay) {
        return false;
    }
    // An earlier run is at least a day before; a "last race" on the day or after it is not one.
    const std::int64_t gap = *raceDay - *lastDay;
    return gap >= 1 && gap <= 8;
}

std::string CardCellText(const TRaceDayData& day, int raceSlot, int runnerSlot,
                         TCardColumn column) {
    if (!InRaceSlots(raceSlot) || !InRunnerSlots(runnerSlot)) {
        return {};
    }
    const TRecordSE& runner = RunnerOf(day, raceSlot, runnerSlot);
    switch (column) {
    case TCardColumn::Frame:
        return std::string(runner.Field(SE::kFrameNumber));
    case TCardColumn::HorseNumber:
        return KeibaFunc::ZeroSuppress(runner.Field(SE::kHorseNumber));
    case TCardColumn::BackToBack:
        return RanWithinEightDays(day, raceSlot, runnerSlot) ? Words().backToBack : std::string();
    case TCardColumn::HorseName:
        return ShownName(runner.Field(SE::kHorseName));
    case TCardColumn::Jockey:
        return std::string(runner.Field(SE::kJockeyShortName));
    case TCardColumn::SexAge:
        return KeibaFunc::SexName(runner.Field(SE::kSexCode)) +
               KeibaFunc::ZeroSuppress(runner.Field(SE::kAge));
    case TCardColumn::WeightCarried:
        return KeibaFunc::WeightText(runner.Field(SE::kWeightCarried));
    case TCardColumn::Blinker:
        return KeibaFunc::BlinkerText(runner.Field(SE::kBlinker));
    case TCardColumn::Apprentice:
        return KeibaFunc::ApprenticeText(runner.Field(SE::kApprenticeCode));
    case TCardColumn::Trainer:
        return std::string(runner.Field(SE::kTrainerShortName));
    case TCardColumn::Strokes: {
        const int strokes = KeibaFunc::NameStrokes(ShownName(runner.Field(SE::kHorseName)));
        return strokes >= 1 ? Formatted("%3d", strokes) : std::string();
    }
    }
    return {};
}

TCardRow CardRow(const TRaceDayData& day, int raceSlot, int runnerSlot) {
    TCardRow row;
    for (int c = 0; c < CardLook::kColumnCount; ++c) {
        row[static_cast<std::size_t>(c)] =
            CardCellText(day, raceSlot, runnerSlot, static_cast<TCardColumn>(c));
    }
    return row;
}

std::vector<TCardRow> CardRows(const TRaceDayData& day, int raceSlot) {
    std::vector<TCardRow> rows;
    const int count = CardRunnerCount(day, raceSlot);
    for (int k = 0; k < count; ++k) {
        rows.push_back(CardRow(day, raceSlot, k));
    }
    return rows;
}

std::vector<std::string> CardPageLines(const TRaceDayData& day, int raceSlot) {
    const TRaceHeader header = RaceHeader(day, raceSlot);
    std::vector<std::string> lines = {header.label1, header.label2, header.label3,
                                      header.label4, header.label5, header.label51};
    TCardRow titles;
    for (int c = 0; c < CardLook::kColumnCount; ++c) {
        titles[static_cast<std::size_t>(c)] = CardLook::ColumnHeader(c);
    }
    lines.push_back(TabJoined(titles));
    for (const TCardRow& row : CardRows(day, raceSlot)) {
        lines.push_back(TabJoined(row));
    }
    return lines;
}

std::vector<std::string> ResultsPageLines(const TRaceDayData& day, int raceSlot) {
    std::vector<std::string> lines;
    for (const TBetType bet : kBetTypes) {
        lines.push_back(PayoffPage::BetTypeHeading(bet));
        const std::vector<TPayoffBoxTexts> columns = PayoffBoxTexts(day.PayoffTable, raceSlot, bet);
        for (const PayoffPage::TPayoffLine row : PayoffPage::kLines) {
            std::string line = PayoffPage::LineCaption(row);
            for (const TPayoffBoxTexts& column : columns) {
                line += '\t';
                line += PayoffPage::BoxText(column, row);
            }
            lines.push_back(std::move(line));
        }
    }
    return lines;
}

} // namespace race
