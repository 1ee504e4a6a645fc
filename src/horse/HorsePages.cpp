#include "horse/HorsePages.h"

#include "jvdata/KeibaFunc.h"
#include "jvdata/LenientInt.h"
#include "jvdata/RecordUnits.h"
#include "jvdata/SjisText.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace horse {

namespace {

namespace RA = jvdata::RA;
namespace SE = jvdata::SE;
namespace UM = jvdata::UM;
using jvdata::TRecordRA;
using jvdata::TRecordSE;
using jvdata::TRecordUM;

// ---- The label table -------------------------------------------------------------------

constexpr THorseLabel Bar(std::string_view name) {
    return {name, kNameBar, 0, 0, TLabelLook::NameBar};
}
constexpr THorseLabel Line(std::string_view name, int sheet, int left, int top) {
    return {name, sheet, left, top, TLabelLook::Line};
}

constexpr std::array<THorseLabel, kHorseLabelCount> kLabels = {{
    Bar("StaticText1"),
    // 馬情報１: identity, deregistration, pedigree, birthplace and breeder, owner and trainer,
    // money.
    Line("Label6", kProfile1, 2, 0),
    {"Label8", kProfile1, 4, 12, TLabelLook::Deregistration},
    Line("Label54", kProfile1, 4, 24),
    Line("Label7", kProfile1, 4, 36),
    Line("Label53", kProfile1, 4, 48),
    Line("Label52", kProfile1, 4, 60),
    Line("Label9", kProfile1, 4, 76),
    Line("Label14", kProfile1, 4, 88),
    Line("Label15", kProfile1, 4, 100),
    Line("Label56", kProfile1, 4, 112),
    // 馬情報２: placing counts, totals, by direction, by going, by distance band.
    Line("Label65", kProfile2, 2, 0),
    Line("Label67", kProfile2, 4, 12),
    Line("Label64", kProfile2, 4, 30),
    Line("Label10", kProfile2, 4, 42),
    Line("Label11", kProfile2, 4, 54),
    Line("Label66", kProfile2, 4, 68),
    Line("Label68", kProfile2, 4, 80),
    Line("Label69", kProfile2, 4, 92),
    Line("Label70", kProfile2, 4, 106),
    Line("Label71", kProfile2, 4, 118),
    Line("Label12", kProfile2, 4, 132),
    Line("Label13", kProfile2, 4, 144),
    Line("Label55", kProfile2, 4, 158),
    Line("Label57", kProfile2, 4, 170),
    Line("Label60", kProfile2, 4, 184),
    Line("Label61", kProfile2, 4, 196),
    Line("Label62", kProfile2, 4, 210),
    Line("Label63", kProfile2, 4, 222),
    Line("Label58", kProfile2, 4, 236),
    Line("Label59", kProfile2, 4, 248),
    Line("Label72", kProfile2, 4, 264),
    Line("Label73", kProfile2, 4, 276),
    Line("Label74", kProfile2, 4, 288),
    Line("Label75", kProfile2, 4, 302),
    Line("Label76", kProfile2, 4, 314),
    Line("Label77", kProfile2, 4, 326),
    // 前走－１: its lines stand a little closer from the fourth on.
    Line("Label16", kPastRun1, 2, 2),
    Line("Label21", kPastRun1, 2, 16),
    Line("Label26", kPastRun1, 2, 30),
    Line("Label31", kPastRun1, 2, 42),
    Line("Label36", kPastRun1, 2, 56),
    Line("Label41", kPastRun1, 2, 70),
    Line("Label46", kPastRun1, 2, 84),
    Line("Label80", kPastRun1, 2, 96),
    Line("Label81", kPastRun1, 2, 110),
    Line("Label90", kPastRun1, 2, 122),
    Line("Label91", kPastRun1, 2, 134),
    // 前走－２ to 前走－５.
    Line("Label17", kPastRun1 + 1, 2, 2),
    Line("Label22", kPastRun1 + 1, 2, 16),
    Line("Label27", kPastRun1 + 1, 2, 30),
    Line("Label32", kPastRun1 + 1, 2, 44),
    Line("Label37", kPastRun1 + 1, 2, 58),
    Line("Label42", kPastRun1 + 1, 2, 72),
    Line("Label47", kPastRun1 + 1, 2, 86),
    Line("Label82", kPastRun1 + 1, 2, 98),
    Line("Label83", kPastRun1 + 1, 2, 110),
    Line("Label92", kPastRun1 + 1, 2, 122),
    Line("Label93", kPastRun1 + 1, 2, 134),
    Line("Label18", kPastRun1 + 2, 2, 2),
    Line("Label23", kPastRun1 + 2, 2, 16),
    Line("Label28", kPastRun1 + 2, 2, 30),
    Line("Label33", kPastRun1 + 2, 2, 44),
    Line("Label38", kPastRun1 + 2, 2, 58),
    Line("Label43", kPastRun1 + 2, 2, 72),
    Line("Label48", kPastRun1 + 2, 2, 86),
    Line("Label84", kPastRun1 + 2, 2, 98),
    Line("Label85", kPastRun1 + 2, 2, 110),
    Line("Label94", kPastRun1 + 2, 2, 122),
    Line("Label95", kPastRun1 + 2, 2, 134),
    Line("Label19", kPastRun1 + 3, 2, 2),
    Line("Label24", kPastRun1 + 3, 2, 16),
    Line("Label29", kPastRun1 + 3, 2, 30),
    Line("Label34", kPastRun1 + 3, 2, 44),
    Line("Label39", kPastRun1 + 3, 2, 58),
    Line("Label44", kPastRun1 + 3, 2, 72),
    Line("Label49", kPastRun1 + 3, 2, 86),
    Line("Label86", kPastRun1 + 3, 2, 98),
    Line("Label87", kPastRun1 + 3, 2, 110),
    Line("Label96", kPastRun1 + 3, 2, 122),
    Line("Label97", kPastRun1 + 3, 2, 134),
    Line("Label20", kPastRun5, 2, 2),
    Line("Label25", kPastRun5, 2, 16),
    Line("Label30", kPastRun5, 2, 30),
    Line("Label35", kPastRun5, 2, 44),
    Line("Label40", kPastRun5, 2, 58),
    Line("Label45", kPastRun5, 2, 72),
    Line("Label50", kPastRun5, 2, 86),
    Line("Label88", kPastRun5, 2, 98),
    Line("Label89", kPastRun5, 2, 110),
    Line("Label98", kPastRun5, 2, 122),
    Line("Label99", kPastRun5, 2, 134),
}};

// Offsets of each group of texts in HorseTexts order.
constexpr std::size_t kProfileFirst = kNameBarLines;
constexpr std::size_t kPlacingFirst = kProfileFirst + kProfileLines;
constexpr std::size_t kPastRunFirst = kPlacingFirst + kPlacingLines;

// ---- Fixed texts -------------------------------------------------------------------------

// A heading of "　馬情報２　" and the placing-count group it shows.
struct TPlacingHeading {
    const char* utf8;
    int group; // UM::TPlacingGroup
};

constexpr TPlacingHeading kPlacingHeadings[kPlacingLines] = {
    {"【成績ﾄｰﾀﾙ】", UM::kAllRuns},
    {"【障害ﾄｰﾀﾙ】", UM::kJump},
    {"【芝直】", UM::kTurfStraight},
    {"【芝右】", UM::kTurfRight},
    {"【芝左】", UM::kTurfLeft},
    {"【ダ直】", UM::kDirtStraight},
    {"【ダ右】", UM::kDirtRight},
    {"【ダ左】", UM::kDirtLeft},
    {"【芝良】", UM::kTurfGood},
    {"【芝稍】", UM::kTurfSlightlyHeavy},
    {"【芝重】", UM::kTurfHeavy},
    {"【芝不】", UM::kTurfBad},
    {"【ダ良】", UM::kDirtGood},
    {"【ダ稍】", UM::kDirtSlightlyHeavy},
    {"【ダ重】", UM::kDirtHeavy},
    {"【ダ不】", UM::kDirtBad},
    {"【障良】", UM::kJumpGood},
    {"【障稍】", UM::kJumpSlightlyHeavy},
    {"【障重】", UM::kJumpHeavy},
    {"【障不】", UM::kJumpBad},
    {"【芝    ～1600】", UM::kTurfUpTo1600},
    {"【芝1601～2200】", UM::kTurf1601To2200},
    {"【芝2201～    】", UM::kTurfOver2200},
    {"【ダ    ～1600】", UM::kDirtUpTo1600},
    {"【ダ1601～2200】", UM::kDirt1601To2200},
    {"【ダ2201～    】", UM::kDirtOver2200},
};

// The fixed pieces of every line, Shift-JIS, made once.
struct TWords {
    std::string year = Sjis::FromUtf8("年");
    std::string month = Sjis::FromUtf8("月");
    std::string day = Sjis::FromUtf8("日");
    std::string invited = Sjis::FromUtf8("(招待:");
    std::string born = Sjis::FromUtf8("日生 ");
    std::string deregistered = Sjis::FromUtf8("日抹消");
    // Pedigree lines: the captions before names 1, 5, 9, 13 / 2, 6, 10, 14 / 3, 7, 11 /
    // 4, 8, 12.
    std::array<std::array<std::string, 4>, 4> pedigree = {{
        {Sjis::FromUtf8("【父】"), Sjis::FromUtf8(" 【母父】"), Sjis::FromUtf8(" 【父母父】"),
         Sjis::FromUtf8(" 【母母父】")},
        {Sjis::FromUtf8("【母】"), Sjis::FromUtf8(" 【母母】"), Sjis::FromUtf8(" 【父母母】"),
         Sjis::FromUtf8(" 【母母母】")},
        {Sjis::FromUtf8("【父父】"),
         Sjis::FromUtf8(" 【父父父】"),
         Sjis::FromUtf8(" 【母父父】"),
         {}},
        {Sjis::FromUtf8("【父母】"),
         Sjis::FromUtf8(" 【父父母】"),
         Sjis::FromUtf8(" 【母父母】"),
         {}},
    }};
    std::string birthPlace = Sjis::FromUtf8("【産地】");
    std::string breeder = Sjis::FromUtf8(" 【生産者】");
    std::string owner = Sjis::FromUtf8("【馬主】");
    std::string trainer = Sjis::FromUtf8(" 【調教師】");
    std::string prize = Sjis::FromUtf8("【 本賞金累計 】");
    std::string flatEarnings = Sjis::FromUtf8("千円  【平地収得賞金累計】");
    std::string added = Sjis::FromUtf8("【付加賞金累計】");
    std::string jumpEarnings = Sjis::FromUtf8("千円  【障害収得賞金累計】");
    std::string thousandYen = Sjis::FromUtf8("千円");
    std::array<std::string, kPlacingLines> placingHeadings;
    std::array<std::string, 6> places = {Sjis::FromUtf8(" 1着:"), Sjis::FromUtf8(" 2着:"),
                                         Sjis::FromUtf8(" 3着:"), Sjis::FromUtf8(" 4着:"),
                                         Sjis::FromUtf8(" 5着:"), Sjis::FromUtf8(" 6着～:")};
    std::string times = Sjis::FromUtf8("回  ");
    // Past runs.
    std::string meeting = Sjis::FromUtf8("回");
    std::string runners = Sjis::FromUtf8("頭");
    std::string starters = Sjis::FromUtf8("(出走:");
    std::string finishers = Sjis::FromUtf8("頭,入線:");
    std::string fieldEnd = Sjis::FromUtf8("頭) ");
    std::string horseNumber = Sjis::FromUtf8("馬番:");
    std::string frameNumber = Sjis::FromUtf8(" 枠番:");
    std::string carried = Sjis::FromUtf8("   斤量:");
    std::string bodyWeight = Sjis::FromUtf8(" 【馬体重】");
    std::string jockey = Sjis::FromUtf8(" 【騎手】");
    std::string corners = Sjis::FromUtf8("【ｺｰﾅｰ順位】");
    std::array<std::string, 4> corner = {Sjis::FromUtf8("1角="), Sjis::FromUtf8("2角="),
                                         Sjis::FromUtf8("3角="), Sjis::FromUtf8("4角=")};
    std::string time = Sjis::FromUtf8("【ﾀｲﾑ】");
    std::string last4 = Sjis::FromUtf8("ﾊﾛﾝ(後4=");
    std::string last4None = Sjis::FromUtf8("ﾊﾛﾝ(後4=---");
    std::string last3 = Sjis::FromUtf8(" 後3=");
    std::string last3None = Sjis::FromUtf8("後3=---)");
    std::string total = Sjis::FromUtf8(" ﾄｰﾀﾙ:");
    std::string popularity = Sjis::FromUtf8("【単勝人気】");
    std::string popularityUnit = Sjis::FromUtf8("人 ");
    std::string oddsUnit = Sjis::FromUtf8("倍)  ");
    std::string arrival = Sjis::FromUtf8("【入線順位】");
    std::string final = Sjis::FromUtf8("【確定着順】");
    std::string place = Sjis::FromUtf8("着 ");
    std::string winner = Sjis::FromUtf8(" 1着馬:");
    std::string runnerUp = Sjis::FromUtf8(" 2着馬:");
    std::string margin = Sjis::FromUtf8("【着差】");
    std::string timeDiff = Sjis::FromUtf8(" 【ﾀｲﾑ差】");
    std::string prizeWon = Sjis::FromUtf8("【本賞金】");
    std::string addedWon = Sjis::FromUtf8("千円 【付加賞金】");

    std::array<std::string, kHorseSheets> captions = {
        Sjis::FromUtf8("　馬情報１　"), Sjis::FromUtf8("　馬情報２　"), Sjis::FromUtf8("前走－１"),
        Sjis::FromUtf8("前走－２"),     Sjis::FromUtf8("前走－３"),     Sjis::FromUtf8("前走－４"),
        Sjis::FromUtf8("前走－５")};

    TWords() {
        for (int i = 0; i < kPlacingLines; ++i) {
            placingHeadings[static_cast<std::size_t>(i)] = Sjis::FromUtf8(kPlacingHeadings[i].utf8);
        }
    }
};

const TWords& Words() {
    static const TWords words;
    return words;
}

// A conversion with a width that has no text for the code adds nothing.
std::string_view Or(const std::optional<std::string>& text) {
    return text ? std::string_view(*text) : std::string_view();
}

template <class... Args>
void AppendFormatted(std::string& line, const char* format, Args... args) {
    char buffer[32];
    const int n = std::snprintf(buffer, sizeof buffer, format, args...);
    if (n > 0) {
        line.append(buffer, static_cast<std::size_t>(n) < sizeof buffer
                                ? static_cast<std::size_t>(n)
                                : sizeof buffer - 1);
    }
}

// A date of three fields as stored: yyyy年mm月dd + the closing word.
void AppendDate(std::string& line, std::string_view year, std::string_view month,
                std::string_view day, std::string_view closing) {
    const TWords& w = Words();
    line += year;
    line += w.year;
    line += month;
    line += w.month;
    line += day;
    line += closing;
}

// ---- 馬情報１ ------------------------------------------------------------------------------

std::string IdentityLine(const TRecordSE& runner, const TRecordUM& horse) {
    std::string line;
    line += Or(KeibaFunc::BreedName(runner.Field(SE::kBreedCode), 1));
    line += ' ';
    line += KeibaFunc::SexName(runner.Field(SE::kSexCode));
    line += ' ';
    const std::string_view birth = horse.Field(UM::kBirthDate);
    AppendDate(line, birth.substr(0, 4), birth.substr(4, 2), birth.substr(6, 2), Words().born);
    line += KeibaFunc::CoatColourName(runner.Field(SE::kCoatColourCode));
    line += ' ';
    line += KeibaFunc::HorseSymbolText(runner.Field(SE::kHorseSymbolCode));
    return line;
}

std::string DeregistrationLine(const TRecordUM& horse) {
    std::string line;
    if (horse.Field(UM::kDeregistered) == "1") {
        const std::string_view date = horse.Field(UM::kDeregistrationDate);
        AppendDate(line, date.substr(0, 4), date.substr(4, 2), date.substr(6, 2),
                   Words().deregistered);
    }
    return line;
}

// Pedigree line `row` (0..3): the names of the entries that line shows, each after its caption.
std::string PedigreeLine(const TRecordUM& horse, int row) {
    // Entries (0-based) of each line: sire's side and dam's side crossing generations.
    static constexpr int kEntries[4][4] = {
        {UM::kSire, UM::kDamSire, UM::kSireDamSire, UM::kDamDamSire},
        {UM::kDam, UM::kDamDam, UM::kSireDamDam, UM::kDamDamDam},
        {UM::kSireSire, UM::kSireSireSire, UM::kDamSireSire, -1},
        {UM::kSireDam, UM::kSireSireDam, UM::kDamSireDam, -1}};
    const auto& captions = Words().pedigree[static_cast<std::size_t>(row)];
    std::string line;
    line.reserve(192);
    for (int i = 0; i < 4 && kEntries[row][i] >= 0; ++i) {
        line += captions[static_cast<std::size_t>(i)];
        line += horse.Field(UM::PedigreeName(kEntries[row][i]));
    }
    return line;
}

// Money in units of 100 yen as thousands of yen, right-aligned in width characters (printf's
// "%8d" and "%7d"), in 64 bits since two 9-digit fields are summed.
void AppendThousandYen(std::string& line, std::int64_t hundredYenUnits, std::size_t width) {
    const std::string digits = std::to_string(jvdata::ThousandYen(hundredYenUnits));
    if (digits.size() < width) {
        line.append(width - digits.size(), ' ');
    }
    line += digits;
}

// ---- 前走 ---------------------------------------------------------------------------------

std::string RaceLine(const TRecordRA& race) {
    const TWords& w = Words();
    std::string line;
    AppendDate(line, race.Field(RA::kYear), race.Field(RA::kMonth), race.Field(RA::kDay), w.day);
    line += Or(KeibaFunc::CourseName(race.Field(RA::kCourseCode), 2));
    line += race.Field(RA::kMeeting);
    line += w.meeting;
    line += race.Field(RA::kDayOfMeeting);
    line += w.day;
    line += KeibaFunc::ZeroSuppress(race.Field(RA::kRaceNumber));
    line += "R ";
    line += race.Field(RA::kConditionName);
    return line;
}

std::string ClassLine(const TRecordRA& race) {
    std::string line;
    line += Or(KeibaFunc::RaceKindName(race.Field(RA::kRaceTypeCode), 6));
    line += ' ';
    line += KeibaFunc::ConditionName(race.Field(RA::kConditionYoungest));
    line += ' ';
    line += KeibaFunc::WeightTypeName(race.Field(RA::kWeightRuleCode));
    line += ' ';
    line += KeibaFunc::RaceSymbolText(race.Field(RA::kRaceSymbolCode));
    line += ' ';
    line += Or(KeibaFunc::GradeName(race.Field(RA::kGradeCode), 1));
    line += ' ';
    line += race.Field(RA::kShortRaceName);
    return line;
}

std::string FieldLine(const TRecordRA& race) {
    const TWords& w = Words();
    std::string line;
    line += KeibaFunc::ZeroSuppress(race.Field(RA::kRegisteredRunners));
    line += w.runners;
    line += w.starters;
    line += KeibaFunc::ZeroSuppress(race.Field(RA::kStarters));
    line += w.finishers;
    line += KeibaFunc::ZeroSuppress(race.Field(RA::kFinishers));
    line += w.fieldEnd;
    line += KeibaFunc::ZeroSuppress(race.Field(RA::kDistance));
    line += "m  ";
    line += KeibaFunc::TrackName(race.Field(RA::kTrackCode));
    line += ' ';
    line += KeibaFunc::WeatherName(race.Field(RA::kWeatherCode));
    line += ' ';
    // The going of the surface raced on; a jump race has neither going.
    if (const auto going = jvdata::GoingCodeOf(race)) {
        line += Or(KeibaFunc::GoingName(*going, 0));
    } else {
        line += ' ';
    }
    line += ' ';
    return line;
}

std::string RunnerLine(const TRecordSE& run) {
    const TWords& w = Words();
    std::string line;
    line += w.horseNumber;
    line += KeibaFunc::ZeroSuppress(run.Field(SE::kHorseNumber));
    line += w.frameNumber;
    line += KeibaFunc::ZeroSuppress(run.Field(SE::kFrameNumber));
    line += ' ';
    line += KeibaFunc::SexName(run.Field(SE::kSexCode));
    line += w.carried;
    line += KeibaFunc::WeightText(run.Field(SE::kWeightCarried));
    line += "kg ";
    line += KeibaFunc::BlinkerText(run.Field(SE::kBlinker));
    line += w.bodyWeight;
    line += BodyWeightText(run.Field(SE::kBodyWeight));
    line += KeibaFunc::WeightChangeText(run.Field(SE::kBodyWeightSign),
                                        run.Field(SE::kBodyWeightChange));
    line += w.jockey;
    line += KeibaFunc::StripWideSpaces(run.Field(SE::kJockeyShortName));
    line += KeibaFunc::ApprenticeText(run.Field(SE::kApprenticeCode));
    line += w.trainer;
    line += KeibaFunc::StripWideSpaces(run.Field(SE::kTrainerShortName));
    line += ' ';
    line += KeibaFunc::AbnormalityName(run.Field(SE::kAbnormalityCode));
    return line;
}

std::string PositionsLine(const TRecordSE& run) {
    const TWords& w = Words();
    std::string line = w.corners;
    for (int n = 1; n <= SE::kCorners; ++n) {
        if (n > 1) {
            line += ',';
        }
        line += w.corner[static_cast<std::size_t>(n - 1)];
        const int position = run.Int(SE::CornerPosition(n));
        if (position >= 1) {
            line += std::to_string(position);
        } else {
            line += '-';
        }
    }
    line += w.time;
    const std::string_view last4 = run.Field(SE::kLast4Furlongs);
    if (HasFurlongTime(last4)) {
        line += w.last4;
        AppendFormatted(line, "%4.1f", jvdata::LenientInt(last4) / 10.0);
    } else {
        line += w.last4None;
    }
    line += ' ';
    const std::string_view last3 = run.Field(SE::kLast3Furlongs);
    if (HasFurlongTime(last3)) {
        line += w.last3;
        AppendFormatted(line, "%4.1f", jvdata::LenientInt(last3) / 10.0);
        line += ')';
    } else {
        line += w.last3None;
    }
    line += w.total;
    line += KeibaFunc::RunTimeText(run.Field(SE::kRaceTime));
    return line;
}

constexpr std::string_view kFiveBlanks = "     ";

// "%2d" + unit when the number is 1 or more, else five blanks.
void AppendPlaceOrBlanks(std::string& line, int value, std::string_view unit) {
    if (value >= 1) {
        AppendFormatted(line, "%2d", value);
        line += unit;
    } else {
        line += kFiveBlanks;
    }
}

std::string ResultLine(const TRecordSE& run) {
    const TWords& w = Words();
    std::string line = w.popularity;
    AppendPlaceOrBlanks(line, run.Int(SE::kWinPopularity), w.popularityUnit);
    const int odds = run.Int(SE::kWinOdds);
    if (odds >= 1) {
        line += '(';
        AppendFormatted(line, "%5.1f", odds / 10.0);
        line += w.oddsUnit;
    } else {
        line += kFiveBlanks;
    }
    line += w.arrival;
    AppendPlaceOrBlanks(line, run.Int(SE::kArrivalOrder), w.place);
    line += w.final;
    AppendPlaceOrBlanks(line, run.Int(SE::kFinishPosition), w.place);
    return line;
}

std::string OpponentLine(const TRecordSE& run) {
    const TWords& w = Words();
    // The record names the runner-up when this horse won, otherwise the winner.
    std::string line = run.Int(SE::kFinishPosition) == 1 ? w.runnerUp : w.winner;
    line += KeibaFunc::StripWideSpaces(run.Field(SE::kOpponentName));
    line += w.margin;
    line += Or(KeibaFunc::MarginText(run.Field(SE::kMarginCode), 9));
    line += w.timeDiff;
    line += KeibaFunc::TimeDiffText(run.Field(SE::kTimeDiff));
    return line;
}

std::string MoneyLine(const TRecordSE& run) {
    const TWords& w = Words();
    std::string line = w.prizeWon;
    AppendThousandYen(line, run.Int64(SE::kPrizeMoney), 7);
    line += w.addedWon;
    AppendThousandYen(line, run.Int64(SE::kAddedMoney), 7);
    line += w.thousandYen;
    return line;
}

} // namespace

std::span<const THorseLabel, kHorseLabelCount> HorseLabels() {
    return kLabels;
}

std::string_view HorseSheetCaption(int sheet) {
    if (sheet < 0 || sheet >= kHorseSheets) {
        return {};
    }
    return Words().captions[static_cast<std::size_t>(sheet)];
}

std::string NameBarText(const TRecordSE& runner, const TRecordUM& horse) {
    std::string bar = KeibaFunc::ShownName(runner.Field(SE::kHorseName));
    const std::string_view region = horse.Field(UM::kInvitationRegion);
    if (!KeibaFunc::ShownName(region).empty()) {
        bar += Words().invited;
        bar += region;
        bar += ')';
    }
    return bar;
}

std::array<std::string, kProfileLines> ProfileLines(const TRecordSE& runner,
                                                    const TRecordUM& horse) {
    const TWords& w = Words();
    std::array<std::string, kProfileLines> lines;
    lines[0] = IdentityLine(runner, horse);
    lines[1] = DeregistrationLine(horse);
    for (int row = 0; row < 4; ++row) {
        lines[static_cast<std::size_t>(2 + row)] = PedigreeLine(horse, row);
    }
    lines[6] = w.birthPlace;
    lines[6] += horse.Field(UM::kBirthPlace);
    lines[6] += w.breeder;
    lines[6] += horse.Field(UM::kBreederName);
    lines[7] = w.owner;
    lines[7] += horse.Field(UM::kOwnerName);
    lines[7] += w.trainer;
    lines[7] += horse.Field(UM::kTrainerShortName);
    // Flat and jump together for the prize money and the additional money; the earnings that
    // count for class stay apart.
    lines[8] = w.prize;
    AppendThousandYen(lines[8], horse.Int64(UM::kFlatPrizeMoney) + horse.Int64(UM::kJumpPrizeMoney),
                      8);
    lines[8] += w.flatEarnings;
    AppendThousandYen(lines[8], horse.Int64(UM::kFlatEarnings), 8);
    lines[8] += w.thousandYen;
    lines[9] = w.added;
    AppendThousandYen(lines[9], horse.Int64(UM::kFlatAddedMoney) + horse.Int64(UM::kJumpAddedMoney),
                      8);
    lines[9] += w.jumpEarnings;
    AppendThousandYen(lines[9], horse.Int64(UM::kJumpEarnings), 8);
    lines[9] += w.thousandYen;
    return lines;
}

std::array<std::string, kPlacingLines> PlacingLines(const TRecordUM& horse) {
    const TWords& w = Words();
    std::array<std::string, kPlacingLines> lines;
    for (int i = 0; i < kPlacingLines; ++i) {
        std::string& line = lines[static_cast<std::size_t>(i)];
        line.reserve(96);
        line = w.placingHeadings[static_cast<std::size_t>(i)];
        for (int place = 1; place <= UM::kPlacingPlaces; ++place) {
            line += w.places[static_cast<std::size_t>(place - 1)];
            AppendFormatted(line, "%3d",
                            horse.Int(UM::PlacingCount(kPlacingHeadings[i].group, place)));
            line += w.times;
        }
    }
    return lines;
}

std::array<std::string, kPastRunLines> PastRunLines(const TRecordSE& run, const TRecordRA& race) {
    std::array<std::string, kPastRunLines> lines;
    // Without its race record the run is not shown, even when the run itself is known.
    if (Sjis::TrimBlanks(race.Field(RA::kYear)).empty()) {
        return lines;
    }
    lines[0] = RaceLine(race);
    lines[1] = ClassLine(race);
    lines[2] = FieldLine(race);
    lines[3] = RunnerLine(run);
    lines[4] = PositionsLine(run);
    lines[5] = ResultLine(run);
    lines[6] = OpponentLine(run);
    lines[7] = MoneyLine(run);
    return lines;
}

void FillHorseTexts(const race::TRaceDayData& day, int raceSlot, int runnerSlot,
                    THorseTexts& texts) {
    for (std::string& text : texts) {
        text.clear();
    }
    if (raceSlot < 0 || raceSlot >= race::kRaceSlots) {
        return;
    }
    const auto s = static_cast<std::size_t>(raceSlot);
    const TRecordRA& race = day.Races[s];
    if (!race::HoldsRace(race) || runnerSlot < 0 || runnerSlot >= race::RunnerCount(race)) {
        return;
    }
    const auto k = static_cast<std::size_t>(runnerSlot);
    const TRecordSE& runner = day.Runners[s][k];
    const TRecordUM& horse = day.Horses[s][k];
    texts[0] = NameBarText(runner, horse);
    auto profile = ProfileLines(runner, horse);
    std::move(profile.begin(), profile.end(), texts.begin() + kProfileFirst);
    auto placings = PlacingLines(horse);
    std::move(placings.begin(), placings.end(), texts.begin() + kPlacingFirst);
    for (int i = 0; i < kPastRunPages; ++i) {
        const auto entry = static_cast<std::size_t>(i);
        auto page = PastRunLines(day.PastRuns[s][k][entry], day.PastRaces[s][k][entry]);
        std::move(page.begin(), page.end(),
                  texts.begin() +
                      static_cast<std::ptrdiff_t>(kPastRunFirst + entry * kPastRunLines));
    }
}

THorseTexts HorseTexts(const race::TRaceDayData& day, int raceSlot, int runnerSlot) {
    THorseTexts texts;
    FillHorseTexts(day, raceSlot, runnerSlot, texts);
    return texts;
}

std::string BodyWeightText(std::string_view field) {
    if (jvdata::LenientInt(field) == 999) {
        // Not weighed: shown as absent, like a horse that did not run.
        return std::string(field.size(), ' ');
    }
    return KeibaFunc::ZeroSuppress(field);
}

bool HasFurlongTime(std::string_view field) {
    const std::int32_t tenths = jvdata::LenientInt(field);
    return tenths >= 1 && tenths != 999;
}

} // namespace horse
