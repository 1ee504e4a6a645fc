// The programme of a racing day: twelve races as a real card lays them out, maidens and
// newcomers early in the day, the winners' classes later, special races from the 9th, the main
// race 11th, with the occasional jump race. Each slot's class is chosen among those the card
// could hold at that time of year, weighted by how many horses of each class are ready to run.
#include "jvdata/KeibaFunc.h"
#include "jvdata/SjisText.h"
#include "jvlink/standin/SeasonInternal.h"
#include "jvlink/standin/SeasonNames.h"

#include <algorithm>
#include <string_view>

namespace standin::season {

namespace {

struct TSlotOption {
    TClass cls;
    double weight;
};

using C = TClass;

// Slot options for January to May (3-year-olds among themselves, 4-year-olds and up) and
// for June to December (2-year-olds, 3-year-olds meeting their elders).
const std::vector<TSlotOption> kSpring[12] = {
    {{C::ThreeMaiden, 10}, {C::UpOne, 1}},
    {{C::ThreeMaiden, 10}, {C::UpOne, 1}},
    {{C::ThreeMaiden, 6}, {C::ThreeNew, 4}, {C::UpOne, 1}},
    {{C::JumpMaiden, 6}, {C::ThreeMaiden, 4}, {C::ThreeNew, 2}},
    {{C::ThreeNew, 5}, {C::ThreeMaiden, 5}, {C::UpOne, 1}},
    {{C::ThreeOne, 6}, {C::ThreeMaiden, 3}, {C::UpOne, 3}},
    {{C::UpOne, 10}, {C::ThreeOne, 2}},
    {{C::UpOne, 6}, {C::UpTwo, 3}, {C::JumpOpen, 2}},
    {{C::ThreeOne, 4}, {C::UpTwo, 6}, {C::UpOne, 3}},
    {{C::UpTwo, 5}, {C::UpThree, 5}},
    {{C::UpOpen, 1}},
    {{C::UpOne, 5}, {C::UpTwo, 5}},
};
const std::vector<TSlotOption> kSummer[12] = {
    {{C::TwoMaiden, 6}, {C::ThreeMaiden, 6}, {C::UpOne, 1}},
    {{C::ThreeMaiden, 6}, {C::TwoMaiden, 6}, {C::UpOne, 1}},
    {{C::TwoMaiden, 4}, {C::ThreeMaiden, 4}, {C::UpOne, 3}},
    {{C::JumpMaiden, 6}, {C::UpOne, 4}, {C::TwoMaiden, 2}},
    {{C::TwoNew, 8}, {C::TwoMaiden, 2}, {C::UpOne, 1}},
    {{C::TwoNew, 4}, {C::UpOne, 5}, {C::TwoOne, 2}},
    {{C::UpOne, 10}, {C::TwoOne, 1}},
    {{C::UpOne, 6}, {C::UpTwo, 4}, {C::JumpOpen, 2}},
    {{C::TwoOne, 3}, {C::UpTwo, 6}, {C::UpOne, 3}},
    {{C::UpTwo, 5}, {C::UpThree, 5}, {C::TwoOpen, 1}},
    {{C::UpOpen, 1}},
    {{C::UpOne, 5}, {C::UpTwo, 5}},
};

// Chance of turf for each slot (the rest is dirt).
constexpr double kTurfShare[12] = {0.3, 0.6, 0.5, 0.4, 0.6, 0.5, 0.4, 0.55, 0.55, 0.55, 0.8, 0.35};

// Post times of races 1-12 at the first meeting; the others start five minutes later or
// earlier so that no two races go off together.
constexpr int kPostTimes[12] = {1005, 1035, 1105, 1135, 1225, 1255,
                                1325, 1355, 1430, 1505, 1540, 1615};

int AddMinutes(int hhmm, int minutes) noexcept {
    const int total = (hhmm / 100) * 60 + hhmm % 100 + minutes;
    return (total / 60) * 100 + total % 60;
}

bool IsJump(TClass cls) noexcept {
    return cls == C::JumpMaiden || cls == C::JumpOpen;
}

bool HasJumpCourse(const TCourse& course) noexcept {
    return std::any_of(course.options.begin(), course.options.end(),
                       [](const TCourseOption& o) { return o.ground == TGround::Jump; });
}

// Whether a class of race is run at that time of year.
bool InSeason(TClass cls, int day) noexcept {
    const TDate d = DateOf(day);
    switch (cls) {
    case C::TwoNew:
    case C::TwoMaiden:
    case C::TwoOne:
    case C::TwoOpen:
        return d.month >= 6;
    case C::ThreeNew:
        return d.month <= 3;
    case C::ThreeMaiden:
        return day <= DayNumber(d.year, 9, 10);
    case C::ThreeOne:
    case C::ThreeOpen:
        return d.month <= 6;
    default:
        return true;
    }
}

int Available(const std::array<int, kBuckets>& supply, const TEntryRule& rule) noexcept {
    int total = 0;
    for (const int b : rule.primary) {
        total += supply[static_cast<std::size_t>(b)];
    }
    return total;
}

void TakeSupply(std::array<int, kBuckets>& supply, const TEntryRule& rule, int count) noexcept {
    for (const int b : rule.primary) {
        const int take = std::min(supply[static_cast<std::size_t>(b)], count);
        supply[static_cast<std::size_t>(b)] -= take;
        count -= take;
    }
}

int KindOf(TClass cls, int month) noexcept {
    switch (cls) {
    case C::TwoNew:
    case C::TwoMaiden:
    case C::TwoOne:
    case C::TwoOpen:
        return 11;
    case C::ThreeNew:
    case C::ThreeMaiden:
    case C::ThreeOne:
    case C::ThreeOpen:
        return 12;
    case C::JumpMaiden:
    case C::JumpOpen:
        return month >= 6 ? 18 : 19;
    default:
        return month >= 6 ? 13 : 14;
    }
}

int ConditionOf(TClass cls) noexcept {
    switch (cls) {
    case C::TwoNew:
    case C::ThreeNew:
        return 701;
    case C::TwoMaiden:
    case C::ThreeMaiden:
    case C::JumpMaiden:
        return 703;
    case C::TwoOne:
    case C::ThreeOne:
    case C::UpOne:
        return 5;
    case C::UpTwo:
        return 10;
    case C::UpThree:
        return 16;
    default:
        return 999;
    }
}

int LevelOf(int condition) noexcept {
    switch (condition) {
    case 701:
    case 703:
        return 0;
    case 5:
        return 1;
    case 10:
        return 2;
    case 16:
        return 3;
    default:
        return 4;
    }
}

std::string ConditionName(int kind, int condition) {
    std::string_view age;
    switch (kind) {
    case 11:
        age = "２歳";
        break;
    case 12:
        age = "３歳";
        break;
    case 13:
        age = "３歳以上";
        break;
    case 14:
        age = "４歳以上";
        break;
    case 18:
        age = "障害３歳以上";
        break;
    default:
        age = "障害４歳以上";
        break;
    }
    std::string_view cls;
    switch (condition) {
    case 701:
        cls = "新馬";
        break;
    case 703:
        cls = "未勝利";
        break;
    case 5:
        cls = "１勝クラス";
        break;
    case 10:
        cls = "２勝クラス";
        break;
    case 16:
        cls = "３勝クラス";
        break;
    default:
        cls = "オープン";
        break;
    }
    return Sjis::FromUtf8(std::string(age) + std::string(cls));
}

// The course of the race: ground by the slot's habit, a distance the racecourse has.
void ChooseCourse(TRace& race, const TCourse& course, TClass cls, int slot, TRandom& rng) {
    TGround ground = TGround::Jump;
    if (!IsJump(cls)) {
        double turf = kTurfShare[slot];
        if (DateOf(race.day).month <= 2) {
            turf -= 0.1;
        }
        ground = rng.Chance(turf) ? TGround::Turf : TGround::Dirt;
    }
    const bool young = cls == C::TwoNew || cls == C::TwoMaiden || cls == C::ThreeNew;
    std::vector<double> weights;
    for (const auto& option : course.options) {
        double w = option.ground == ground ? option.weight : 0.0;
        if (young && option.distance > 2000) {
            w = 0;
        }
        if (race.level >= 5 && option.distance < 1200) {
            w = 0;
        }
        weights.push_back(w);
    }
    const TCourseOption& option = course.options[static_cast<std::size_t>(rng.Pick(weights))];
    race.ground = option.ground;
    race.distance = option.distance;
    race.track = option.track;
}

int FieldTarget(const TCourse& course, TClass cls, TRandom& rng) {
    if (IsJump(cls)) {
        static constexpr double kJump[] = {2, 3, 5, 6, 7, 6, 8}; // 8 .. 14
        return 8 + rng.Pick(kJump);
    }
    static constexpr double kFlat[] = {3, 3, 4, 5, 6, 7, 10, 12, 16, 8, 26}; // 8 .. 18
    int target = 8 + rng.Pick(kFlat);
    if (cls == C::TwoNew || cls == C::ThreeNew) {
        target = std::min(target, 16);
    }
    return std::min(target, course.maxRunners);
}

std::string Text(std::string_view utf8) {
    return Sjis::FromUtf8(utf8);
}

// A name for a special or graded race.
std::string RaceName(const TRace& race, TRandom& rng) {
    const auto& t = NameTables();
    const auto& places = t.placeWords[static_cast<std::size_t>(race.course - 1)];
    const bool graded = std::string_view("ABCDFGH").find(race.grade) != std::string_view::npos;
    std::string stem;
    if (graded && rng.Chance(0.08)) {
        char code[3] = {static_cast<char>('0' + race.course / 10),
                        static_cast<char>('0' + race.course % 10), '\0'};
        stem = KeibaFunc::CourseName(code, 2).value_or(std::string());
    } else {
        stem = rng.Chance(0.6) ? rng.Of(places) : rng.Of(t.raceWords);
    }
    if (race.ground == TGround::Jump) {
        if (race.grade == 'F') {
            return stem + Text(rng.Chance(0.5) ? "大障害" : "グランドジャンプ");
        }
        return stem + Text(rng.Chance(0.5) ? "ジャンプステークス" : "障害ステークス");
    }
    static constexpr std::string_view kG1[] = {"優駿",   "記念",       "大賞典",
                                               "カップ", "ステークス", "賞"};
    static constexpr std::string_view kGraded[] = {"記念", "ステークス", "杯",
                                                   "賞",   "カップ",     "大賞典"};
    static constexpr std::string_view kOpen[] = {"ステークス", "ステークス", "ステークス", "カップ",
                                                 "賞"};
    if (race.grade == 'A') {
        return stem + Text(rng.Of(kG1));
    }
    if (graded) {
        return stem + Text(rng.Of(kGraded));
    }
    if (race.level >= 4) {
        return stem + Text(rng.Of(kOpen));
    }
    if (race.kind == 11 || race.kind == 12) {
        return stem + Text("賞");
    }
    if (race.level == 3 && rng.Chance(0.7)) {
        return stem + Text("ステークス");
    }
    return stem + Text("特別");
}

char WeightRuleOf(const TRace& race, TRandom& rng) {
    const bool young = race.kind == 11 || race.kind == 12;
    if (race.ground == TGround::Jump) {
        return race.level == 0 ? '4' : race.grade == 'F' ? '4' : '2';
    }
    if (race.grade == 'A') {
        return young ? '3' : '4';
    }
    if (race.level == 0) {
        return '3';
    }
    if (young) {
        return race.level >= 4 && rng.Chance(0.4) ? '2' : '3';
    }
    const double r = rng.Unit();
    if (race.level >= 4) {
        return r < 0.5 ? '2' : r < 0.85 ? '1' : '4';
    }
    if (race.grade == 'E') {
        return r < 0.6 ? '4' : r < 0.85 ? '1' : '2';
    }
    return '4';
}

std::string SymbolOf(const TRace& race) {
    std::string symbol = race.ground == TGround::Jump ? (race.grade == ' ' ? "000" : "N00")
                         : race.level >= 5            ? "N04"
                         : race.grade != ' '          ? "A04"
                                                      : "A03";
    if (race.sexLimit == '2' && race.ground != TGround::Jump) {
        symbol[1] = '2';
    }
    return symbol;
}

// The seed of what a race keeps from year to year: its racecourse, time of the meeting and
// number.
std::uint64_t RecurringSeed(const TRace& race, std::uint64_t seed) noexcept {
    return Mix(seed, static_cast<std::uint64_t>(race.course),
               static_cast<std::uint64_t>(DateOf(race.day).month * 100 + race.dayOfMeeting),
               static_cast<std::uint64_t>(race.raceNumber - 1));
}

// The main race of the day (11th): graded on the Sundays of the main meetings, open or listed
// or a 3勝 special elsewhere; a G1 on the autumn and spring Sundays.
TClass MainRace(TRace& race, const TCourseDay& courseDay, TRandom& rng,
                std::uint64_t recurringSeed) {
    const TDate d = DateOf(race.day);
    const bool sunday = Weekday(race.day) == 0;
    const bool bigSeason = (d.month >= 4 && d.month <= 5) || d.month >= 10;
    TRandom recurring(recurringSeed); // the same race each year
    TClass cls = C::UpOpen;
    char grade = 'E';
    const double r = recurring.Unit();
    if (courseDay.role <= 1 && sunday) {
        grade = bigSeason && r < 0.55 ? 'A' : r < 0.8 ? 'C' : 'B';
    } else if (courseDay.role <= 1) {
        grade = r < 0.25 ? 'C' : r < 0.35 ? 'B' : r < 0.65 ? 'L' : 'E';
    } else if (sunday) {
        grade = r < 0.4 ? 'C' : r < 0.7 ? 'L' : 'E';
    } else {
        grade = r < 0.35 ? 'L' : 'E';
    }
    const bool graded = grade == 'A' || grade == 'B' || grade == 'C';
    const double age = recurring.Unit();
    if (graded && d.month <= 5 && age < (grade == 'A' ? 0.5 : 0.3)) {
        cls = C::ThreeOpen;
    } else if (graded && d.month >= 9 && age < (d.month == 12 && grade == 'A' ? 0.5 : 0.15)) {
        cls = C::TwoOpen;
    } else if (grade == 'E' && courseDay.role == 2 && rng.Chance(0.6)) {
        cls = C::UpThree;
    }
    race.grade = grade;
    race.sexLimit = recurring.Chance(graded ? 0.15 : 0.08) ? '2' : ' ';
    return cls;
}

} // namespace

void ConfigureRace(TRace& race, TClass cls, TRandom& rng, std::uint64_t seed) {
    const TCourse& course = CourseOf(race.course);
    const TDate date = DateOf(race.day);
    const int slot = race.raceNumber - 1;
    const std::uint64_t recurringSeed = RecurringSeed(race, seed);
    race.name.clear();
    race.specialNumber = 0;
    race.gradedCount = 0;
    race.kind = KindOf(cls, date.month);
    race.youngest = ConditionOf(cls);
    race.level = LevelOf(race.youngest);
    if (race.grade == 'A' || race.grade == 'F') {
        race.level = 6;
    } else if (std::string_view("BCDGH").find(race.grade) != std::string_view::npos) {
        race.level = 5;
    }
    if (race.level == 0 && race.grade == 'E') {
        race.grade = ' ';
    }
    const int c = race.youngest;
    switch (race.kind) {
    case 11:
        race.conditions = {c, 0, 0, 0};
        break;
    case 12:
        race.conditions = {0, c, 0, 0};
        break;
    case 13:
    case 18:
        race.conditions = {0, c, c, c};
        break;
    default:
        race.conditions = {0, 0, c, c};
        break;
    }
    race.conditionName = ConditionName(race.kind, c);

    // Named races keep their name, number and history from year to year.
    TRandom naming(recurringSeed ^ 0x4E414D45ull);
    const bool named = race.grade != ' ';
    if (named) {
        race.name = RaceName(race, slot == 10 ? naming : rng);
        race.specialNumber = 1 + static_cast<int>(recurringSeed % 9000);
    }
    if (std::string_view("ABCDFGH").find(race.grade) != std::string_view::npos) {
        const int founded = 1950 + static_cast<int>((recurringSeed >> 20) % 60);
        race.gradedCount = std::max(1, date.year - std::min(founded, date.year - 1) + 1);
    }
    ChooseCourse(race, course, cls, slot, rng);
    race.weightRule = WeightRuleOf(race, rng);
    race.symbol = SymbolOf(race);
    SetPrizeMoney(race, rng);
}

TClass ClassOf(const TRace& race) noexcept {
    const bool jump = race.kind == 18 || race.kind == 19;
    if (jump) {
        return race.youngest == 703 ? C::JumpMaiden : C::JumpOpen;
    }
    switch (race.kind) {
    case 11:
        return race.youngest == 701   ? C::TwoNew
               : race.youngest == 703 ? C::TwoMaiden
               : race.youngest == 5   ? C::TwoOne
                                      : C::TwoOpen;
    case 12:
        return race.youngest == 701   ? C::ThreeNew
               : race.youngest == 703 ? C::ThreeMaiden
               : race.youngest == 5   ? C::ThreeOne
                                      : C::ThreeOpen;
    default:
        return race.youngest == 5    ? C::UpOne
               : race.youngest == 10 ? C::UpTwo
               : race.youngest == 16 ? C::UpThree
                                     : C::UpOpen;
    }
}

void PlanDay(std::vector<TRace>& races, const TCourseDay& courseDay, int day,
             std::array<int, kBuckets>& supply, std::uint64_t seed, TRandom& rng) {
    const TCourse& course = CourseOf(courseDay.course);
    const TDate date = DateOf(day);
    const bool spring = date.month <= 5;
    const bool jumpCourse = HasJumpCourse(course);
    for (int slot = 0; slot < 12; ++slot) {
        TRace race;
        race.day = day;
        race.course = courseDay.course;
        race.meeting = courseDay.meeting;
        race.dayOfMeeting = courseDay.dayOfMeeting;
        race.raceNumber = slot + 1;
        race.role = courseDay.role;
        const int minutes = courseDay.role == 0 ? 0 : courseDay.role == 1 ? 5 : -5;
        race.postTime = AddMinutes(kPostTimes[slot], minutes);

        TClass cls = C::UpOne;
        const std::uint64_t recurringSeed = RecurringSeed(race, seed);
        int target = 0;
        if (slot == 10) {
            cls = MainRace(race, courseDay, rng, recurringSeed);
            target = FieldTarget(course, cls, rng);
        } else {
            const auto& options = (spring ? kSpring : kSummer)[slot];
            std::vector<double> weights;
            std::vector<int> targets;
            for (const auto& option : options) {
                const int want = FieldTarget(course, option.cls, rng);
                targets.push_back(want);
                double w = option.weight;
                if (!InSeason(option.cls, day) || (IsJump(option.cls) && !jumpCourse)) {
                    w = 0;
                } else {
                    const int available = Available(supply, EntryRuleOf(option.cls, day));
                    w *= available >= want ? 1.0 : available >= 8 ? 0.3 : 0.01;
                }
                weights.push_back(w);
            }
            const bool any =
                std::any_of(weights.begin(), weights.end(), [](double w) { return w > 0; });
            if (any) {
                const int chosen = rng.Pick(weights);
                cls = options[static_cast<std::size_t>(chosen)].cls;
                target = targets[static_cast<std::size_t>(chosen)];
            } else {
                target = FieldTarget(course, cls, rng);
            }
            if (slot == 8 || slot == 9) {
                race.grade =
                    cls == C::TwoMaiden || cls == C::ThreeMaiden || IsJump(cls) ? ' ' : 'E';
            }
            if (!IsJump(cls) && rng.Chance(0.08)) {
                race.sexLimit = '2';
            }
        }
        if (IsJump(cls) && cls == C::JumpOpen && courseDay.role <= 1 && rng.Chance(0.12)) {
            race.grade = rng.Chance(0.6) ? 'H' : 'G';
        }
        if (slot == 10 && courseDay.course == 6 && (date.month == 4 || date.month == 12) &&
            Weekday(day) == 6 && courseDay.dayOfMeeting == 7) {
            cls = C::JumpOpen; // the big steeplechase of the spring and of the year
            race.grade = 'F';
            race.sexLimit = ' ';
            target = FieldTarget(course, cls, rng);
        }

        ConfigureRace(race, cls, rng, seed);
        race.target = std::max(target, 8);
        TakeSupply(supply, EntryRuleOf(cls, day), race.target);
        races.push_back(std::move(race));
    }
}

} // namespace standin::season
