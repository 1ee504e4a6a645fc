#include "jvlink/standin/SeasonRecords.h"

#include "jvdata/Records.h"
#include "jvdata/SjisText.h"
#include "jvlink/standin/SeasonNames.h"

#include <algorithm>
#include <cstdio>

namespace standin::season {

namespace {

using jvdata::TFieldPos;

// Fields the program does not read, written as the service fills them (positions 1-based,
// inclusive).
namespace RAx {
constexpr TFieldPos kSpecialNumber{29, 32};    // special race number (特別競走番号)
constexpr TFieldPos kSubtitle{93, 152};        // race name subtitle (副題), name of 60
constexpr TFieldPos kBracketName{153, 212};    // race name in brackets, name of 60
constexpr TFieldPos kEnglishNames{213, 572};   // the three names in Latin letters
constexpr TFieldPos kShort10{573, 592};        // short race name, 10 characters
constexpr TFieldPos kShort6{593, 604};         // short race name, 6 characters
constexpr TFieldPos kNameKind{611, 611};       // race name kind
constexpr TFieldPos kGradeBefore{616, 616};    // grade before a change
constexpr TFieldPos kDistanceBefore{702, 705}; // distance before a change
constexpr TFieldPos kTrackBefore{708, 709};    // track code before a change
constexpr TFieldPos kCourseDivision{710, 713}; // course division and the one before a change
constexpr TFieldPos kPrizeBefore{770, 809};    // prize money before a change, 5 x 8
constexpr TFieldPos kAddedBefore{850, 873};    // added money before a change, 3 x 8
constexpr TFieldPos kPostTimeBefore{878, 881}; // post time before a change
constexpr int kLapFirst = 891;                 // 25 furlong times of 3 digits (tenths)
constexpr int kLaps = 25;
constexpr TFieldPos kJumpMile{966, 969};       // jump races: mile time
constexpr TFieldPos kFirst3{970, 972};         // first three furlongs
constexpr TFieldPos kFirst4{973, 975};         // first four furlongs
constexpr TFieldPos kLast3{976, 978};          // last three furlongs of the race
constexpr TFieldPos kLast4{979, 981};          // last four furlongs of the race
constexpr int kCornerFirst = 982;              // 4 corners: number 1, lap 1, order 70
constexpr TFieldPos kRecordUpdate{1270, 1270}; // a course record was set
} // namespace RAx

namespace SEx {
constexpr TFieldPos kCentre{85, 85}; // training centre: 1 美浦, 2 栗東
constexpr TFieldPos kTrainerCode{86, 90};
constexpr TFieldPos kOwnerCode{99, 104};
constexpr TFieldPos kOwnerName{105, 168}; // name of 64
constexpr TFieldPos kColours{169, 228};   // racing colours, name of 60
constexpr TFieldPos kSpare1{229, 288};
constexpr TFieldPos kWeightBefore{292, 294};
constexpr TFieldPos kSpare2{296, 296};
constexpr TFieldPos kJockeyCode{297, 301};
constexpr TFieldPos kJockeyCodeBefore{302, 306};
constexpr TFieldPos kJockeyBefore{315, 322}; // name of 8
constexpr TFieldPos kApprenticeBefore{324, 324};
constexpr TFieldPos kDeadHeat{337, 338};    // dead-heat flag and count
constexpr TFieldPos kMoreMargins{346, 351}; // margins of further dead heats
constexpr TFieldPos kSpare3{382, 387};
constexpr TFieldPos kOpponentNumber{394, 403}; // registration number of the first opponent
constexpr TFieldPos kOtherOpponents{440, 531}; // 2nd and 3rd opponents (dead heats), 2 x 46
constexpr TFieldPos kRecordUpdate{536, 536};
constexpr TFieldPos kMining{537, 552}; // mining forecasts: kind, time, errors, rank
constexpr TFieldPos kStyle{553, 553};  // running style of the run, 1-4
} // namespace SEx

namespace HRx {
constexpr TFieldPos kRegistered{28, 29};
constexpr TFieldPos kStarters{30, 31};
constexpr TFieldPos kNotHeld{32, 40};      // per bet type: no sale
constexpr TFieldPos kSpecialPay{41, 49};   // per bet type: special payment
constexpr TFieldPos kRefundFlags{50, 58};  // per bet type: refunds
constexpr TFieldPos kRefundHorses{59, 86}; // horse numbers 1-28 refunded
constexpr TFieldPos kRefundFrames{87, 94}; // frames 1-8 refunded
constexpr TFieldPos kRefundSame{95, 102};  // same-frame pairs refunded
constexpr TFieldPos kSpare{406, 453};
constexpr jvdata::TPayoffGroup kTrifecta{604, 6, 19, 3, 2, 4}; // 3連単
} // namespace HRx

namespace UMx {
constexpr TFieldPos kRegistered{23, 30}; // registration date
constexpr TFieldPos kName{47, 82};       // horse name, name of 36
constexpr TFieldPos kKanaName{83, 118};  // half-width katakana name
constexpr TFieldPos kEnglishName{119, 178};
constexpr TFieldPos kInTraining{179, 179}; // stabled at a training centre
constexpr TFieldPos kSpare{180, 198};
constexpr TFieldPos kSymbol{199, 200};
constexpr TFieldPos kSex{201, 201};
constexpr TFieldPos kBreed{202, 202};
constexpr TFieldPos kCoat{203, 204};
constexpr TFieldPos kCentre{849, 849};
constexpr TFieldPos kTrainerCode{850, 854};
constexpr TFieldPos kBreederCode{883, 890};
constexpr TFieldPos kOwnerCode{983, 988};
constexpr int kStylesFirst = 1593;        // runs by style: led, prominent, mid, held up
constexpr TFieldPos kEntries{1605, 1607}; // races it is entered for
} // namespace UMx

namespace RCx {
constexpr TFieldPos kSpecialNumber{29, 32};
constexpr TFieldPos kRaceName{33, 92}; // name of 60
constexpr TFieldPos kGrade{93, 93};
constexpr TFieldPos kTurfGoing{108, 108};
constexpr TFieldPos kDirtGoing{109, 109};
constexpr TFieldPos kTrainerCode{159, 163};
constexpr TFieldPos kJockeyCode{201, 205};
constexpr int kMoreHolders = 240; // 2nd and 3rd holders (dead heats), 130 each
} // namespace RCx

constexpr TFieldPos Pos(int first, int width) noexcept {
    return {first, first + width - 1};
}

// A number zero-padded to the field, held to the largest value the field can show.
template <class R>
void Number(R& record, TFieldPos pos, std::int64_t value) {
    std::int64_t largest = 1;
    for (int i = 0; i < pos.length(); ++i) {
        largest *= 10;
    }
    record.SetInt(pos, std::clamp<std::int64_t>(value, 0, largest - 1));
}

// A Japanese name cut to the field and padded with full-width blanks (a half-width blank
// fills an odd last byte).
template <class R>
void Name(R& record, TFieldPos pos, std::string_view sjis) {
    const auto width = static_cast<std::size_t>(pos.length());
    std::string text(Sjis::CutToWidth(sjis, width));
    while (text.size() + 2 <= width) {
        text += Sjis::kWideBlank;
    }
    record.SetField(pos, text);
}

// A text of half-width characters padded with half-width blanks.
template <class R>
void Text(R& record, TFieldPos pos, std::string_view text) {
    record.SetField(pos, text);
}

template <class R>
void Char(R& record, TFieldPos pos, char c) {
    record.SetAt(pos.first, c);
}

template <class R>
void Zeros(R& record, TFieldPos pos) {
    record.SetField(pos, std::string(static_cast<std::size_t>(pos.length()), '0'));
}

// Race time tenths as MSSF: minutes, seconds (two digits), tenths.
int Mssf(int tenths) noexcept {
    if (tenths <= 0) {
        return 0;
    }
    return tenths / 600 * 1000 + tenths % 600 / 10 * 10 + tenths % 10;
}

// The race key 12-27 of RA, SE and HR.
template <class R>
void RaceKey(R& record, const TRace& race) {
    const TDate d = DateOf(race.day);
    Number(record, jvdata::RaceKey::kYear, d.year);
    Number(record, jvdata::RaceKey::kMonthDay, d.month * 100 + d.day);
    Number(record, jvdata::RaceKey::kCourseCode, race.course);
    Number(record, jvdata::RaceKey::kMeeting, race.meeting);
    Number(record, jvdata::RaceKey::kDayOfMeeting, race.dayOfMeeting);
    Number(record, jvdata::RaceKey::kRaceNumber, race.raceNumber);
}

// The first characters of a name (short race names).
std::string Leading(const std::string& sjis, std::size_t chars) {
    return std::string(Sjis::CutToWidth(sjis, chars * 2));
}

char CentreOf(TRegion region) noexcept {
    return region == TRegion::West ? '2' : '1';
}

} // namespace

std::string RaceRecord(const TSeason& /*season*/, const TRace& race, char dataKind, int created) {
    using namespace jvdata;
    auto rec = TRecordRA::Create(dataKind, Ymd(created));
    RaceKey(rec, race);
    Char(rec, RA::kWeekdayCode, Weekday(race.day) == 6 ? '1' : '2');
    Number(rec, RAx::kSpecialNumber, race.specialNumber);
    Name(rec, RA::kRaceName, race.name);
    Name(rec, RAx::kSubtitle, {});
    Name(rec, RAx::kBracketName, {});
    Text(rec, RAx::kEnglishNames, {});
    Name(rec, RAx::kShort10, Leading(race.name, 10));
    Name(rec, RAx::kShort6, Leading(race.name, 6));
    Name(rec, RA::kShortRaceName, Leading(race.name, 3));
    Char(rec, RAx::kNameKind, '0');
    Number(rec, RA::kGradedRaceCount, race.gradedCount);
    Char(rec, RA::kGradeCode, race.grade);
    Char(rec, RAx::kGradeBefore, ' ');
    Number(rec, RA::kRaceTypeCode, race.kind);
    Text(rec, RA::kRaceSymbolCode, race.symbol);
    Char(rec, RA::kWeightRuleCode, race.weightRule);
    Number(rec, RA::kCondition2yo, race.conditions[0]);
    Number(rec, RA::kCondition3yo, race.conditions[1]);
    Number(rec, RA::kCondition4yo, race.conditions[2]);
    Number(rec, RA::kCondition5yoUp, race.conditions[3]);
    Number(rec, RA::kConditionYoungest, race.youngest);
    Name(rec, RA::kConditionName, race.conditionName);
    Number(rec, RA::kDistance, race.distance);
    Zeros(rec, RAx::kDistanceBefore);
    Number(rec, RA::kTrackCode, race.track);
    Zeros(rec, RAx::kTrackBefore);
    Text(rec, RAx::kCourseDivision, {});
    for (int place = 1; place <= RA::kPrizePlaces; ++place) {
        Number(rec, RA::PrizeMoney(place), race.prize[static_cast<std::size_t>(place - 1)]);
    }
    Zeros(rec, RAx::kPrizeBefore);
    for (int place = 1; place <= RA::kAddedPlaces; ++place) {
        Number(rec, RA::AddedMoney(place), race.added[static_cast<std::size_t>(place - 1)]);
    }
    Zeros(rec, RAx::kAddedBefore);
    Number(rec, RA::kPostTime, race.postTime);
    Zeros(rec, RAx::kPostTimeBefore);
    Number(rec, RA::kRegisteredRunners, static_cast<int>(race.runners.size()));
    Number(rec, RA::kStarters, race.card ? 0 : race.starters);
    Number(rec, RA::kFinishers, race.card ? 0 : race.finishers);
    Char(rec, RA::kWeatherCode, race.weather);
    Char(rec, RA::kTurfGoingCode, race.turfGoing);
    Char(rec, RA::kDirtGoingCode, race.dirtGoing);
    for (int lap = 0; lap < RAx::kLaps; ++lap) {
        const int value = !race.card && lap < static_cast<int>(race.laps.size())
                              ? race.laps[static_cast<std::size_t>(lap)]
                              : 0;
        Number(rec, Pos(RAx::kLapFirst + lap * 3, 3), value);
    }
    Zeros(rec, RAx::kJumpMile);
    int first3 = 0;
    int first4 = 0;
    for (std::size_t lap = 0; lap < race.laps.size() && lap < 4; ++lap) {
        first4 += race.laps[lap];
        first3 += lap < 3 ? race.laps[lap] : 0;
    }
    const bool laps = !race.card && !race.laps.empty();
    Number(rec, RAx::kFirst3, laps ? first3 : 0);
    Number(rec, RAx::kFirst4, laps ? first4 : 0);
    Number(rec, RAx::kLast3, race.card ? 0 : race.lastThree);
    Number(rec, RAx::kLast4, race.card ? 0 : race.lastFour);
    // Order at each corner: horse numbers front to back.
    for (int c = 0; c < 4; ++c) {
        const int at = RAx::kCornerFirst + c * 72;
        std::vector<std::pair<int, int>> order;
        for (const auto& r : race.runners) {
            if (r.corners[static_cast<std::size_t>(c)] > 0) {
                order.emplace_back(r.corners[static_cast<std::size_t>(c)], r.horseNumber);
            }
        }
        std::sort(order.begin(), order.end());
        std::string text;
        for (const auto& [position, number] : order) {
            text += (text.empty() ? "" : ",") + std::to_string(number);
        }
        Char(rec, Pos(at, 1), order.empty() ? '0' : static_cast<char>('1' + c));
        Char(rec, Pos(at + 1, 1), order.empty() ? '0' : '1');
        Text(rec, Pos(at + 2, 70), text);
    }
    Char(rec, RAx::kRecordUpdate, race.record ? '1' : '0');
    return std::string(rec.view());
}

std::string RunnerRecord(const TSeason& season, const TRace& race, std::size_t index, char dataKind,
                         int created) {
    using namespace jvdata;
    const TRunner& r = race.runners[index];
    const THorse& h = season.horses[static_cast<std::size_t>(r.horse)];
    const TTrainer& trainer = season.trainers[static_cast<std::size_t>(r.trainer)];
    const TJockey& jockey = season.jockeys[static_cast<std::size_t>(r.jockey)];
    const TOwner& owner = season.owners[static_cast<std::size_t>(h.owner)];
    const bool results = !race.card;
    auto rec = TRecordSE::Create(dataKind, Ymd(created));
    RaceKey(rec, race);
    Number(rec, SE::kFrameNumber, r.frame);
    Number(rec, SE::kHorseNumber, r.horseNumber);
    Text(rec, SE::kRegistrationNumber, h.number);
    Name(rec, SE::kHorseName, h.name);
    Text(rec, SE::kHorseSymbolCode, h.symbol);
    Char(rec, SE::kSexCode, h.sex);
    Char(rec, SE::kBreedCode, '1');
    Text(rec, SE::kCoatColourCode, h.coat);
    Number(rec, SE::kAge, r.age);
    Char(rec, SEx::kCentre, CentreOf(trainer.region));
    Number(rec, SEx::kTrainerCode, trainer.code);
    Name(rec, SE::kTrainerShortName, trainer.name);
    Number(rec, SEx::kOwnerCode, owner.code);
    Name(rec, SEx::kOwnerName, owner.name);
    Name(rec, SEx::kColours, {});
    Text(rec, SEx::kSpare1, {});
    Number(rec, SE::kWeightCarried, r.weight);
    Zeros(rec, SEx::kWeightBefore);
    Char(rec, SE::kBlinker, r.blinkers ? '1' : '0');
    Text(rec, SEx::kSpare2, {});
    Number(rec, SEx::kJockeyCode, jockey.code);
    Zeros(rec, SEx::kJockeyCodeBefore);
    Name(rec, SE::kJockeyShortName, jockey.name);
    Name(rec, SEx::kJockeyBefore, {});
    Char(rec, SE::kApprenticeCode, r.apprentice);
    Char(rec, SEx::kApprenticeBefore, '0');
    Number(rec, SE::kBodyWeight, results ? r.bodyWeight : 0);
    Char(rec, SE::kBodyWeightSign, results ? r.weightSign : ' ');
    Number(rec, SE::kBodyWeightChange, results ? r.weightChange : 0);
    Char(rec, SE::kAbnormalityCode, results ? r.abnormality : '0');
    Number(rec, SE::kArrivalOrder, results ? r.arrival : 0);
    Number(rec, SE::kFinishPosition, results ? r.finish : 0);
    Zeros(rec, SEx::kDeadHeat);
    Number(rec, SE::kRaceTime, results ? Mssf(r.timeTenths) : 0);
    Text(rec, SE::kMarginCode, results ? r.margin : std::string());
    Text(rec, SEx::kMoreMargins, {});
    for (int c = 1; c <= SE::kCorners; ++c) {
        Number(rec, SE::CornerPosition(c),
               results ? r.corners[static_cast<std::size_t>(c - 1)] : 0);
    }
    Number(rec, SE::kWinOdds, results ? r.oddsTenths : 0);
    Number(rec, SE::kWinPopularity, results ? r.popularity : 0);
    Number(rec, SE::kPrizeMoney, results ? r.prize : 0);
    Number(rec, SE::kAddedMoney, results ? r.added : 0);
    Text(rec, SEx::kSpare3, {});
    Number(rec, SE::kLast4Furlongs, results ? r.last4 : 0);
    Number(rec, SE::kLast3Furlongs, results ? r.last3 : 0);
    if (results && r.opponent >= 0) {
        const THorse& other = season.horses[static_cast<std::size_t>(
            race.runners[static_cast<std::size_t>(r.opponent)].horse)];
        Text(rec, SEx::kOpponentNumber, other.number);
        Name(rec, SE::kOpponentName, other.name);
    } else {
        Zeros(rec, SEx::kOpponentNumber);
        Name(rec, SE::kOpponentName, {});
    }
    for (int k = 0; k < 2; ++k) {
        const int at = SEx::kOtherOpponents.first + k * 46;
        Zeros(rec, Pos(at, 10));
        Name(rec, Pos(at + 10, 36), {});
    }
    if (results && r.diffSign != '0') {
        Char(rec, SE::kTimeDiffSign, r.diffSign);
        Number(rec, SE::kTimeDiffValue, std::min(r.diffTenths, 998));
    } else {
        Zeros(rec, SE::kTimeDiff);
    }
    Char(rec, SEx::kRecordUpdate, results && r.setRecord ? '1' : '0');
    Zeros(rec, SEx::kMining);
    Char(rec, SEx::kStyle, static_cast<char>('0' + (results ? r.styleCode : 0)));
    return std::string(rec.view());
}

std::string PayoffRecord(const TRace& race, char dataKind, int created) {
    using namespace jvdata;
    auto rec = TRecordHR::Create(dataKind, Ymd(created));
    RaceKey(rec, race);
    Number(rec, HRx::kRegistered, static_cast<int>(race.runners.size()));
    Number(rec, HRx::kStarters, race.starters);
    Zeros(rec, HRx::kNotHeld);
    Zeros(rec, HRx::kSpecialPay);
    // Refunds for the horses that did not start, and for a frame none of whose horses did.
    std::string horses(28, '0');
    std::array<int, 9> inFrame{};
    std::array<int, 9> outOfFrame{};
    for (const auto& r : race.runners) {
        ++inFrame[static_cast<std::size_t>(r.frame)];
        if (r.abnormality == '1' || r.abnormality == '2') {
            horses[static_cast<std::size_t>(r.horseNumber - 1)] = '1';
            ++outOfFrame[static_cast<std::size_t>(r.frame)];
        }
    }
    std::string frames(8, '0');
    for (int f = 1; f <= 8; ++f) {
        if (inFrame[static_cast<std::size_t>(f)] > 0 &&
            inFrame[static_cast<std::size_t>(f)] == outOfFrame[static_cast<std::size_t>(f)]) {
            frames[static_cast<std::size_t>(f - 1)] = '1';
        }
    }
    const bool refunds = horses.find('1') != std::string::npos;
    Text(rec, HRx::kRefundFlags, std::string(9, refunds ? '1' : '0'));
    Text(rec, HRx::kRefundHorses, horses);
    Text(rec, HRx::kRefundFrames, frames);
    Zeros(rec, HRx::kRefundSame);
    Zeros(rec, HRx::kSpare);
    auto write = [&](const TPayoffGroup& group, const std::vector<TPayoff>& entries) {
        for (int e = 0; e < group.entries; ++e) {
            const bool has = e < static_cast<int>(entries.size());
            const TPayoff empty;
            const TPayoff& entry = has ? entries[static_cast<std::size_t>(e)] : empty;
            for (int k = 0; k < group.horses; ++k) {
                Number(rec, group.Horse(e, k), entry.numbers[static_cast<std::size_t>(k)]);
            }
            Number(rec, group.Payout(e), entry.payout);
            Number(rec, group.Popularity(e), entry.popularity);
        }
    };
    write(HR::kWin, race.payoffs.win);
    write(HR::kPlace, race.payoffs.place);
    write(HR::kBracketQuinella, race.payoffs.bracket);
    write(HR::kQuinella, race.payoffs.quinella);
    write(HR::kQuinellaPlace, race.payoffs.wide);
    write(HR::kExacta, race.payoffs.exacta);
    write(HR::kTrio, race.payoffs.trio);
    write(HRx::kTrifecta, race.payoffs.trifecta);
    return std::string(rec.view());
}

std::string OddsRecord(const TRace& race, char dataKind, int created) {
    using namespace jvdata;
    TRecordBytes<962> rec;
    rec.SetField(Header::kRecordType, "O1");
    rec.SetAt(Header::kDataKind.first, dataKind);
    rec.SetField(Header::kCreationDate, Ymd(created));
    RaceKey(rec, race);
    const TDate d = DateOf(race.day);
    const int announced = d.month * 1000000 + d.day * 10000 + race.postTime; // mmddhhmm
    Number(rec, Pos(28, 8), announced);
    Number(rec, Pos(36, 2), static_cast<int>(race.runners.size()));
    Number(rec, Pos(38, 2), race.starters);
    const bool bracket = race.runners.size() >= 9;
    Text(rec, Pos(40, 3), bracket ? "777" : "770");
    Char(rec, Pos(43, 1), race.starters <= 7 ? '2' : '3');
    // Win odds and the place odds range by horse number, bracket odds by frame pair.
    double inverse = 0;
    for (const auto& r : race.runners) {
        inverse += r.oddsTenths > 0 ? 1.0 / r.oddsTenths : 0.0;
    }
    std::vector<double> q(race.runners.size(), 0.0);
    for (std::size_t i = 0; i < race.runners.size(); ++i) {
        const int odds = race.runners[i].oddsTenths;
        q[i] = odds > 0 && inverse > 0 ? 1.0 / odds / inverse : 0.0;
    }
    for (int k = 0; k < 28; ++k) {
        const int win = 44 + k * 8;
        const int place = 268 + k * 12;
        const bool has = k < static_cast<int>(race.runners.size());
        const TRunner* r = has ? &race.runners[static_cast<std::size_t>(k)] : nullptr;
        Number(rec, Pos(win, 2), has ? k + 1 : 0);
        Number(rec, Pos(win + 2, 4), r ? r->oddsTenths : 0);
        Number(rec, Pos(win + 6, 2), r ? r->popularity : 0);
        const double p = has ? q[static_cast<std::size_t>(k)] : 0.0;
        const int low = p > 0 ? std::clamp(static_cast<int>(2.4 / (3.0 * p + 0.2)), 10, 9999) : 0;
        Number(rec, Pos(place, 2), has ? k + 1 : 0);
        Number(rec, Pos(place + 2, 4), low);
        Number(rec, Pos(place + 6, 4), low > 0 ? std::min(low * 3 / 2, 9999) : 0);
        Number(rec, Pos(place + 10, 2), r ? r->popularity : 0);
    }
    double frames[9][9] = {};
    for (std::size_t i = 0; i < race.runners.size(); ++i) {
        for (std::size_t j = 0; j < race.runners.size(); ++j) {
            if (i == j || q[i] <= 0 || q[j] <= 0) {
                continue;
            }
            int a = race.runners[i].frame;
            int b = race.runners[j].frame;
            if (a > b) {
                std::swap(a, b);
            }
            frames[a][b] += q[i] * q[j] / (1.0 - q[i]);
        }
    }
    int at = 604;
    std::vector<double> chances;
    for (int a = 1; a <= 8; ++a) {
        for (int b = a; b <= 8; ++b) {
            chances.push_back(frames[a][b]);
        }
    }
    int n = 0;
    for (int a = 1; a <= 8; ++a) {
        for (int b = a; b <= 8; ++b, ++n, at += 9) {
            const double p = chances[static_cast<std::size_t>(n)];
            int rank = 0;
            if (bracket && p > 0) {
                rank = 1;
                for (std::size_t m = 0; m < chances.size(); ++m) {
                    rank += chances[m] > p || (chances[m] == p && static_cast<int>(m) < n) ? 1 : 0;
                }
            }
            Number(rec, Pos(at, 1), a);
            Number(rec, Pos(at + 1, 1), b);
            Number(rec, Pos(at + 2, 5),
                   bracket && p > 0 ? std::clamp(static_cast<int>(7.75 / p), 10, 99999) : 0);
            Number(rec, Pos(at + 7, 2), rank);
        }
    }
    // Tickets sold, in 100-yen units.
    const int field = static_cast<int>(race.runners.size());
    Number(rec, Pos(928, 11), 180000 + field * 9000 + race.level * 40000);
    Number(rec, Pos(939, 11), 150000 + field * 7000 + race.level * 30000);
    Number(rec, Pos(950, 11), bracket ? 60000 + field * 3000 + race.level * 12000 : 0);
    return std::string(rec.view());
}

std::string HorseRecord(const TSeason& season, const THorse& h, char dataKind, int created,
                        bool deregistered, bool entered) {
    using namespace jvdata;
    const TTrainer& trainer = season.trainers[static_cast<std::size_t>(h.trainer)];
    const TOwner& owner = season.owners[static_cast<std::size_t>(h.owner)];
    const TBreeder& breeder = season.breeders[static_cast<std::size_t>(h.breeder)];
    auto rec = TRecordUM::Create(dataKind, Ymd(created));
    Text(rec, UM::kRegistrationNumber, h.number);
    Char(rec, UM::kDeregistered, deregistered ? '1' : '0');
    Text(rec, UMx::kRegistered, Ymd(DayNumber(h.foalYear + 2, 4, 1) + (h.birthDay % 60)));
    if (deregistered) {
        Text(rec, UM::kDeregistrationDate, Ymd(h.retireDay));
    } else {
        Zeros(rec, UM::kDeregistrationDate);
    }
    Text(rec, UM::kBirthDate, Ymd(h.birthDay));
    Name(rec, UMx::kName, h.name);
    Text(rec, UMx::kKanaName, {});
    Text(rec, UMx::kEnglishName, {});
    Char(rec, UMx::kInTraining, deregistered ? '0' : '1');
    Text(rec, UMx::kSpare, {});
    Text(rec, UMx::kSymbol, h.symbol);
    Char(rec, UMx::kSex, h.sex);
    Char(rec, UMx::kBreed, '1');
    Text(rec, UMx::kCoat, h.coat);
    for (int e = 0; e < UM::kPedigreeEntries; ++e) {
        static const TAncestor kUnknown;
        const TAncestor& a = static_cast<std::size_t>(e) < h.pedigree.size()
                                 ? h.pedigree[static_cast<std::size_t>(e)]
                                 : kUnknown;
        const TFieldPos entry = UM::PedigreeEntry(e);
        Text(rec, Pos(entry.first, 10), a.number.empty() ? std::string(10, '0') : a.number);
        Name(rec, UM::PedigreeName(e), a.name);
    }
    Char(rec, UMx::kCentre, CentreOf(trainer.region));
    Number(rec, UMx::kTrainerCode, trainer.code);
    Name(rec, UM::kTrainerShortName, trainer.name);
    Name(rec, UM::kInvitationRegion, h.invitation);
    const bool foreign = h.symbol == "06" || !h.invitation.empty();
    Number(rec, UMx::kBreederCode, breeder.code);
    Name(rec, UM::kBreederName, breeder.name);
    const auto& places = NameTables().foreignPlaces;
    Name(rec, UM::kBirthPlace,
         !h.invitation.empty() ? h.invitation
         : foreign             ? places[static_cast<std::size_t>(h.birthDay) % places.size()]
                               : breeder.place);
    Number(rec, UMx::kOwnerCode, owner.code);
    Name(rec, UM::kOwnerName, owner.name);
    const TCareer& c = h.career;
    Number(rec, UM::kFlatPrizeMoney, c.flatPrize);
    Number(rec, UM::kJumpPrizeMoney, c.jumpPrize);
    Number(rec, UM::kFlatAddedMoney, c.flatAdded);
    Number(rec, UM::kJumpAddedMoney, c.jumpAdded);
    Number(rec, UM::kFlatEarnings, c.flatEarnings);
    Number(rec, UM::kJumpEarnings, c.jumpEarnings);
    for (int g = 0; g < UM::kPlacingGroups; ++g) {
        for (int p = 1; p <= UM::kPlacingPlaces; ++p) {
            Number(rec, UM::PlacingCount(g, p),
                   c.counts[static_cast<std::size_t>(g)][static_cast<std::size_t>(p - 1)]);
        }
    }
    for (int s = 0; s < 4; ++s) {
        Number(rec, Pos(UMx::kStylesFirst + s * 3, 3), c.styles[static_cast<std::size_t>(s)]);
    }
    Number(rec, UMx::kEntries, entered ? 1 : 0);
    return std::string(rec.view());
}

std::string CourseRecordRecord(const TCourseRecord& r, char dataKind, int created) {
    using namespace jvdata;
    auto rec = TRecordRC::Create(dataKind, Ymd(created));
    Char(rec, RC::kIdKind, '1');
    const TDate d = DateOf(r.day);
    Number(rec, RC::kYear, d.year);
    Number(rec, RC::kMonthDay, d.month * 100 + d.day);
    Number(rec, RC::kCourseCode, r.course);
    Number(rec, RC::kMeeting, r.meeting);
    Number(rec, RC::kDayOfMeeting, r.dayOfMeeting);
    Number(rec, RC::kRaceNumber, r.raceNumber);
    Zeros(rec, RCx::kSpecialNumber);
    Name(rec, RCx::kRaceName, r.raceName);
    Char(rec, RCx::kGrade, r.grade);
    Number(rec, RC::kRaceTypeCode, r.kind);
    Number(rec, RC::kDistance, r.distance);
    Number(rec, RC::kTrackCode, r.track);
    Char(rec, RC::kRecordKind, '2');
    Number(rec, RC::kRecordTime, Mssf(r.timeTenths));
    Char(rec, RC::kWeatherCode, r.weather);
    Char(rec, RCx::kTurfGoing, r.turfGoing);
    Char(rec, RCx::kDirtGoing, r.dirtGoing);
    Text(rec, RC::kHolderRegistrationNumber, r.holderNumber);
    Name(rec, RC::kHolderName, r.holderName);
    Text(rec, RC::kHolderSymbolCode, r.holderSymbol);
    Char(rec, RC::kHolderSexCode, r.holderSex);
    Number(rec, RCx::kTrainerCode, r.trainerCode);
    Name(rec, RC::kHolderTrainerName, r.trainerName);
    Number(rec, RC::kHolderWeightCarried, r.weight);
    Number(rec, RCx::kJockeyCode, r.jockeyCode);
    Name(rec, RC::kHolderJockeyName, r.jockeyName);
    for (int k = 0; k < 2; ++k) {
        const int at = RCx::kMoreHolders + k * 130;
        Zeros(rec, Pos(at, 10));
        Name(rec, Pos(at + 10, 36), {});
        Zeros(rec, Pos(at + 46, 3));
        Zeros(rec, Pos(at + 49, 5));
        Name(rec, Pos(at + 54, 34), {});
        Zeros(rec, Pos(at + 88, 3));
        Zeros(rec, Pos(at + 91, 5));
        Name(rec, Pos(at + 96, 34), {});
    }
    return std::string(rec.view());
}

} // namespace standin::season
