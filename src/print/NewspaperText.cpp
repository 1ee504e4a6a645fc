#include "print/NewspaperText.h"

#include "jvdata/KeibaFunc.h"
#include "jvdata/RecordLayout.h"
#include "jvdata/RecordUnits.h"
#include "jvdata/SjisText.h"
#include "race/RaceCard.h"

#include <cstdio>
#include <optional>
#include <string_view>
#include <utility>

namespace print {

namespace {

using KeibaFunc::Formatted;
using KeibaFunc::ShownName;

namespace RA = jvdata::RA;
namespace RC = jvdata::RC;
namespace SE = jvdata::SE;
namespace UM = jvdata::UM;
using jvdata::TRecordRA;
using jvdata::TRecordRC;
using jvdata::TRecordSE;
using jvdata::TRecordUM;

// The fixed words of the page, Shift-JIS.
struct TWords {
    std::string year = Sjis::FromUtf8("年");
    std::string month = Sjis::FromUtf8("月");
    std::string day = Sjis::FromUtf8("日");
    std::string dayOpen = Sjis::FromUtf8("日(");
    std::string meeting = Sjis::FromUtf8("回");
    std::string post = Sjis::FromUtf8("発走");
    std::string firstPrize = Sjis::FromUtf8("【 賞　金 】");
    std::string addedPrize = Sjis::FromUtf8("【付加賞金】");
    std::string place = Sjis::FromUtf8("着:");
    std::string unit = Sjis::FromUtf8(" (単位:千円)");
    std::string jockey = Sjis::FromUtf8("騎手:");
    std::string weight = Sjis::FromUtf8("  斤量:");
    std::string trainer = Sjis::FromUtf8("  調教師:");
    std::string thousandYen = Sjis::FromUtf8("千円");
    std::string head = Sjis::FromUtf8("頭");
    std::string popularity = Sjis::FromUtf8("人");
};

const TWords& Words() {
    static const TWords words;
    return words;
}

// A conversion with a width that has no text for the code adds nothing.
std::string Or(std::optional<std::string> text) {
    return text ? std::move(*text) : std::string();
}

std::string PrizeList(const std::string* texts, int count) {
    std::string list;
    for (int i = 0; i < count; ++i) {
        list += std::to_string(i + 1) + Words().place +
                KeibaFunc::WithThousands(jvdata::LenientInt(texts[static_cast<std::size_t>(i)])) +
                "  ";
    }
    return list;
}

// Going of the race's surface; none for a jump race.
std::string GoingOf(const TRecordRA& race) {
    const auto code = jvdata::GoingCodeOf(race);
    return code ? Or(KeibaFunc::GoingName(*code, 0)) : std::string();
}

// The race's label in a past-run cell: its short name when it has one, else its age
// condition ("未勝利", "1勝ｸﾗｽ" ...).
std::string RaceLabel(const TRecordRA& race) {
    const std::string_view shortName = race.Field(RA::kShortRaceName);
    if (!ShownName(shortName).empty()) {
        return std::string(shortName);
    }
    return KeibaFunc::ConditionName(race.Field(RA::kConditionYoungest));
}

} // namespace

// ---- Race header block ------------------------------------------------------------------

std::string NewspaperDateLine(const TRecordRA& race) {
    const TWords& w = Words();
    const std::string_view post = race.Field(RA::kPostTime);
    return std::string(race.Year()) + w.year + std::string(race.Month()) + w.month +
           std::string(race.Day()) + w.dayOpen +
           Or(KeibaFunc::WeekdayName(race.Field(RA::kWeekdayCode), 1)) + ")" +
           Or(KeibaFunc::CourseName(race.CourseCode(), 2)) + std::string(race.Meeting()) +
           w.meeting + std::string(race.DayOfMeeting()) + w.day +
           KeibaFunc::ZeroSuppress(race.RaceNumber()) + "R " + std::string(post.substr(0, 2)) +
           "." + std::string(post.substr(2, 2)) + w.post;
}

std::string NewspaperRaceNameLine(const TRecordRA& race) {
    // The card's own lines: the newspaper's header block shows them as the card does.
    return race::RaceNameLine(race);
}

std::string NewspaperConditionsLine(const TRecordRA& race) {
    // The card's own lines: the newspaper's header block shows them as the card does.
    return race::RaceConditionsLine(race);
}

TPrizeTexts PrizeTexts(const TRecordRA& race) {
    TPrizeTexts prizes;
    for (int place = 1; place <= RA::kPrizePlaces; ++place) {
        prizes.first[static_cast<std::size_t>(place - 1)] = Formatted(
            "%7d", static_cast<int>(jvdata::ThousandYen(race.Int(RA::PrizeMoney(place)))));
    }
    for (int place = 1; place <= RA::kAddedPlaces; ++place) {
        prizes.added[static_cast<std::size_t>(place - 1)] = Formatted(
            "%7d", static_cast<int>(jvdata::ThousandYen(race.Int(RA::AddedMoney(place)))));
    }
    return prizes;
}

std::string FirstPrizeLine(const TPrizeTexts& prizes) {
    return Words().firstPrize + PrizeList(prizes.first.data(), RA::kPrizePlaces) + Words().unit;
}

std::string AddedPrizeLine(const TPrizeTexts& prizes) {
    return Words().addedPrize + PrizeList(prizes.added.data(), RA::kAddedPlaces) + Words().unit;
}

bool HasCourseRecordYear(const TRecordRC& record) {
    const std::string_view year = Sjis::TrimBlanks(record.Field(RC::kYear));
    return !year.empty() && year != "0000";
}

std::string NewspaperRecordLine(const TRecordRC& record) {
    // The card's own lines: the newspaper's header block shows them as the card does.
    return race::CourseRecordLine(record);
}

std::string NewspaperRecordRiderLine(const TRecordRC& record) {
    const TWords& w = Words();
    const std::string_view carried = record.Field(RC::kHolderWeightCarried);
    const std::string_view trimmed = Sjis::TrimBlanks(carried);
    std::string weight;
    if (!trimmed.empty() && trimmed != "000") {
        weight = std::string(carried.substr(0, 2)) + "." + std::string(carried.substr(2, 1)) + "kg";
    }
    return w.jockey + ShownName(record.Field(RC::kHolderJockeyName)) + w.weight + weight +
           w.trainer + ShownName(record.Field(RC::kHolderTrainerName));
}

// ---- Runner row ---------------------------------------------------------------------------

std::string CareerMoneyText(std::int64_t hundredYen) {
    // "%9d": right-aligned in nine places, longer numbers whole.
    std::string number = std::to_string(jvdata::ThousandYen(hundredYen));
    if (number.size() < 9) {
        number.insert(0, 9 - number.size(), ' ');
    }
    return number + Words().thousandYen;
}

std::string CareerPrizeMoneyText(const TRecordUM& horse) {
    return CareerMoneyText(std::int64_t{horse.Int(UM::kFlatPrizeMoney)} +
                           horse.Int(UM::kJumpPrizeMoney));
}

std::string CareerAddedMoneyText(const TRecordUM& horse) {
    return CareerMoneyText(std::int64_t{horse.Int(UM::kFlatAddedMoney)} +
                           horse.Int(UM::kJumpAddedMoney));
}

std::string CareerCountLine(const TRecordUM& horse, int line) {
    if (line < 0 || line >= kCareerLines) {
        return {};
    }
    const int group = UM::kTurfUpTo1600 + line;
    const auto count = [&](int place) { return horse.Int(UM::PlacingCount(group, place)); };
    const long long others = static_cast<long long>(count(4)) + count(5) + count(6);
    return std::to_string(count(1)) + "-" + std::to_string(count(2)) + "-" +
           std::to_string(count(3)) + "-" + std::to_string(others);
}

// ---- Past-run cell ------------------------------------------------------------------------

TPastRunCell PastRunCell(const TRecordSE& run, const TRecordRA& race) {
    TPastRunCell cell;
    if (Sjis::TrimBlanks(race.Year()).empty()) {
        return cell;
    }
    cell.shown = true;
    const TWords& w = Words();
    auto& lines = cell.lines;

    // 1: meeting, racecourse, date, grade and race.
    const std::string_view meeting = race.Meeting();
    lines[0] =
        std::string(meeting.substr(1, 1)) + Or(KeibaFunc::CourseName(race.CourseCode(), 2)) + " " +
        std::string(race.Month()) + "." + std::string(race.Day()) + " " +
        std::string(Sjis::TrimBlanks(Or(KeibaFunc::GradeName(race.Field(RA::kGradeCode), 1)))) +
        RaceLabel(race);

    // 2: runners, distance, track, weather and going.
    lines[1] = KeibaFunc::ZeroSuppress(race.Field(RA::kRegisteredRunners)) + w.head +
               KeibaFunc::ZeroSuppress(race.Field(RA::kDistance)) +
               KeibaFunc::TrackShortName(race.Field(RA::kTrackCode)) + " " +
               KeibaFunc::WeatherName(race.Field(RA::kWeatherCode)) + GoingOf(race);

    // 3: jockey, weight carried, gate and win popularity.
    const int popularity = run.Int(SE::kWinPopularity);
    lines[2] = KeibaFunc::StripWideSpaces(run.Field(SE::kJockeyShortName)) +
               KeibaFunc::WeightText(run.Field(SE::kWeightCarried)) + "Kg " +
               KeibaFunc::CircledNumber(run.Int(SE::kHorseNumber)) +
               (popularity >= 1 ? Formatted("%2d", popularity) + w.popularity : "   ");

    // 4: race time, positions at the four corners, last three furlongs. A last-three-furlongs
    // time of 999 is the record's value for none.
    std::string time = run.Int(SE::kRaceTime) < 1
                           ? std::string("----")
                           : KeibaFunc::ZeroSuppress(run.Field(SE::kRaceTime));
    for (int corner = 1; corner <= SE::kCorners; ++corner) {
        time += KeibaFunc::CircledNumber(run.Int(SE::CornerPosition(corner)));
    }
    const int last3f = run.Int(SE::kLast3Furlongs);
    time += last3f < 1 || last3f > 998
                ? std::string("3F---")
                : "3F" + KeibaFunc::ZeroSuppress(run.Field(SE::kLast3Furlongs));
    lines[3] = std::move(time);

    // 5: body weight and the money won. 999 is the record's value for a horse that could not
    // be weighed: printed as nothing, like no weight at all.
    const int bodyWeight = run.Int(SE::kBodyWeight);
    const std::string weighed =
        bodyWeight >= 1 && bodyWeight != 999 ? Formatted("%3dKg", bodyWeight) : std::string();
    const std::int64_t won = std::int64_t{run.Int(SE::kPrizeMoney)} + run.Int(SE::kAddedMoney);
    lines[4] =
        weighed + " " + KeibaFunc::WithThousands(jvdata::ThousandYen(won)) + w.thousandYen + "  ";

    // 6: the winner (the second when this horse won) and the time difference.
    lines[5] = KeibaFunc::StripWideSpaces(run.Field(SE::kOpponentName)) +
               KeibaFunc::TimeDiffText(run.Field(SE::kTimeDiff));

    const int finish = run.Int(SE::kFinishPosition);
    cell.finish = finish < 1 ? std::string("-") : Formatted("%2d", finish);
    return cell;
}

} // namespace print
