// The season week by week: the careers of the horses before the published weeks, then each
// racing weekend (who is ready, the programme, the entries, jockeys and weights, the races and
// what they add to each career), the coming weekend's card, and the course records.
#include "jvlink/standin/Catalogue.h"
#include "jvlink/standin/SeasonInternal.h"
#include "jvlink/standin/SeasonNames.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <span>
#include <tuple>
#include <unordered_map>

namespace standin::season {

namespace {

// Foals a year: enough for full fields with horses running every three to eight weeks.
constexpr int kCropSize = 3600;

// Weeks between two runs: mostly three to eight, now and then a week or two.
constexpr double kIntervalWeights[] = {1.5, 6, 15, 22, 20, 14, 11, 10.5}; // 1 .. 8 weeks

struct TSimulation {
    TSeason& season;
    std::uint64_t seed;
    TStud stud;
    TNameBook names;
    std::unordered_map<int, std::vector<TCourseDay>> calendar; // racing days looked up
    std::vector<int> enteredOn;                                // per horse: weekend last entered
    bool careers = false; // jockeys and trainers come and go (the world of setup years)

    const std::vector<TCourseDay>& CoursesOn(int day) {
        auto it = calendar.find(day);
        if (it == calendar.end()) {
            it = calendar.emplace(day, RacingCourses(day)).first;
        }
        return it->second;
    }
};

// 1970-01-03, the first Saturday of the day numbers.
constexpr int kEpochSaturday = 2;

// The most past weeks the service's settings publish (SeasonWeeks 1 to 104).
constexpr int kLongestPublishedSeason = 104;
// The weeks the world of setup years is simulated over: kMaxSetupYears years and more.
constexpr int kSetupWorldWeeks = 53 * kMaxSetupYears;

constexpr int FloorDiv(int a, int b) noexcept {
    return a / b - (a % b < 0 ? 1 : 0);
}
constexpr int FloorMod(int a, int b) noexcept {
    return a - FloorDiv(a, b) * b;
}

// A number that names the horse whatever else the season holds: foaling year and serial.
std::uint64_t HorseKey(const THorse& h) noexcept {
    std::uint64_t key = static_cast<std::uint64_t>(h.foalYear);
    for (std::size_t i = 5; i < h.number.size(); ++i) {
        key = key * 10 + static_cast<std::uint64_t>(h.number[i] - '0');
    }
    return key;
}

void NameHorse(TSimulation& sim, THorse& h) {
    TRandom own(Mix(sim.seed, HorseKey(h), 0x4E414D45)); // "NAME"
    h.name = sim.names.HorseName(own, sim.season.owners[static_cast<std::size_t>(h.owner)].crown);
    FillPedigree(h, sim.stud, sim.names, sim.seed);
}

// A horse whose trainer has retired moves to another stable of the same training centre, one
// open in the year (from a draw of its own, so that it moves alike whatever else happens).
void Transfer(TSimulation& sim, THorse& h, int year) {
    const auto& trainers = sim.season.trainers;
    const TRegion region = trainers[static_cast<std::size_t>(h.trainer)].region;
    std::vector<int> open;
    for (std::size_t i = 0; i < trainers.size(); ++i) {
        if (trainers[i].region == region && ActiveIn(trainers[i], year)) {
            open.push_back(static_cast<int>(i));
        }
    }
    if (!open.empty()) {
        TRandom own(Mix(sim.seed, HorseKey(h), static_cast<std::uint64_t>(year), 0x5452414E));
        h.trainer = open[static_cast<std::size_t>(own.Below(static_cast<int>(open.size())))];
    }
}

void Retire(THorse& h, int day) {
    h.retired = true;
    h.retireDay = std::max(day, h.lastRunDay + 3);
}

// Whether the horse still races on the day: old horses and 3-year-old maidens past the last
// maiden races stop (some maidens go jumping instead).
bool StillRacing(THorse& h, int day, TRandom& rng) {
    if (h.retired) {
        return false;
    }
    if (AgeOn(h, day) >= 9) {
        Retire(h, day);
        return false;
    }
    if (!h.jumper && h.career.flatWins == 0 && day > MaidenCutoff(h)) {
        if (h.career.flatRuns > 0 && h.ability > -1.2 && rng.Chance(0.15)) {
            h.jumper = true;
            h.readyDay = std::max(h.readyDay, day + 28); // schooled over hurdles first
            return day >= h.readyDay;
        }
        Retire(h, MaidenCutoff(h) + rng.Between(1, 20));
        return false;
    }
    return true;
}

// After a start: retirement, a change to jumping, and when the horse can run again.
void AfterRun(THorse& h, int day, bool stopped, TRandom& rng) {
    h.lastRunDay = day;
    const int age = AgeOn(h, day);
    if (stopped) {
        if (rng.Chance(0.3)) {
            Retire(h, day + rng.Between(7, 28));
        } else {
            h.readyDay = day + rng.Between(60, 140);
        }
        return;
    }
    static constexpr double kRetire[] = {0.003, 0.003, 0.003, 0.01, 0.03, 0.06, 0.10, 0.15, 0.25};
    const double p = kRetire[std::clamp(age, 0, 8)] + (h.jumper ? 0.02 : 0.0);
    if (rng.Chance(p)) {
        Retire(h, day + rng.Between(7, 35));
        return;
    }
    if (!h.jumper && age >= 4 && h.career.flatWins <= 2 && rng.Chance(0.012)) {
        h.jumper = true;
    }
    const int weeks = 1 + rng.Pick(kIntervalWeights);
    h.readyDay = day + 7 * weeks - 1;
}

double Logistic(double x) noexcept {
    return 1.0 / (1.0 + DetExp(-x));
}

// A course of the weekend for a horse: its own training centre's meetings first.
const TCourseDay* CourseFor(const THorse& h, const TSeason& season,
                            const std::vector<TCourseDay>& courses, bool jump, TRandom& rng) {
    double weights[4] = {};
    const std::size_t count = std::min<std::size_t>(courses.size(), 4);
    bool any = false;
    const TRegion own = season.trainers[static_cast<std::size_t>(h.trainer)].region;
    for (std::size_t k = 0; k < count; ++k) {
        const int code = courses[k].course;
        const bool hasJump = code != 1 && code != 2; // 札幌 and 函館 hold no jump races
        weights[k] = jump && !hasJump ? 0.0 : CourseOf(code).region == own ? 3.0 : 1.0;
        any = any || weights[k] > 0;
    }
    if (!any) {
        return nullptr;
    }
    return &courses[static_cast<std::size_t>(rng.Pick(std::span<const double>(weights, count)))];
}

// The runs of a horse before the published weeks, counted into its career as they would have
// gone against fields of its class.
void EarlierCareer(TSimulation& sim, THorse& h, int until, TRandom& rng) {
    static constexpr double kFieldClass[] = {-0.35, -0.35, 0.45, 0.85, 1.15, 1.45};
    static constexpr double kGoing[] = {75, 15, 7, 3};
    int day = RacingSaturdayOnOrAfter(h.debutDay) + rng.Below(2);
    while (day < until) {
        if (!StillRacing(h, day, rng)) {
            return;
        }
        if (day < h.readyDay) {
            day = RacingSaturdayOnOrAfter(h.readyDay) + rng.Below(2);
            continue;
        }
        const auto& courses = sim.CoursesOn(day);
        const TCourseDay* where =
            courses.empty() ? nullptr : CourseFor(h, sim.season, courses, h.jumper, rng);
        if (where == nullptr) {
            day = RacingSaturdayOnOrAfter(day + 1) + rng.Below(2);
            continue;
        }
        const TCourse& course = CourseOf(where->course);
        const TDate date = DateOf(day);
        const int age = date.year - h.foalYear;
        const int month = date.month;
        const TGround ground = h.jumper                         ? TGround::Jump
                               : rng.Chance(0.5 + 0.4 * h.turf) ? TGround::Turf
                                                                : TGround::Dirt;
        // Courses of the ground, those near its best distance the likelier.
        double weights[24] = {};
        const std::size_t options = std::min<std::size_t>(course.options.size(), 24);
        for (std::size_t k = 0; k < options; ++k) {
            const TCourseOption& o = course.options[k];
            const double off = static_cast<double>(o.distance - h.bestDistance) / h.bestDistance;
            weights[k] = o.ground != ground ? 0.0 : o.weight / (1.0 + 12.0 * off * off);
        }
        const TCourseOption& option = course.options[static_cast<std::size_t>(
            rng.Pick(std::span<const double>(weights, options)))];
        if (option.ground != ground) {
            day += 7;
            continue;
        }
        int kind = 13;
        int level = 0;
        double fieldClass = 0;
        bool newcomers = false;
        if (h.jumper) {
            kind = month >= 6 ? 18 : 19;
            level = h.career.jumpWins > 0 ? 4 : 0;
            fieldClass = level == 0 ? -0.5 : 0.0;
        } else {
            kind = age <= 2 ? 11 : age == 3 && month <= 5 ? 12 : month >= 6 ? 13 : 14;
            level = std::min(h.career.flatWins, 4);
            newcomers = h.career.flatRuns == 0;
            fieldClass = kFieldClass[std::min(h.career.flatWins + 1, 5)];
            if (kind == 11 || kind == 12) {
                fieldClass += Maturity(age, month);
            }
        }
        double self = h.ability + Maturity(age, month) + rng.Normal(0, 0.55);
        if (ground != TGround::Jump) {
            self += 0.35 * (ground == TGround::Turf ? h.turf : -h.turf) -
                    0.5 * DistanceMisfit(option.distance, h.bestDistance);
        }
        const int field = h.jumper ? 11 : 14;
        const double beat = Logistic(1.7 * (self - fieldClass) / 0.71);
        int ahead = 0;
        for (int i = 1; i < field; ++i) {
            ahead += rng.Chance(beat) ? 0 : 1;
        }
        const bool stopped = rng.Chance(0.004);
        TRunFacts run;
        run.ground = ground;
        run.track = option.track;
        run.distance = option.distance;
        run.going = static_cast<char>('1' + rng.Pick(kGoing));
        run.finish = stopped ? 0 : ahead + 1;
        run.prize = PlacePrize(GeneralFirstPrize(kind, level, newcomers), run.finish);
        run.level = level;
        run.styleCode =
            std::clamp(static_cast<int>((h.style + rng.Normal(0, 0.15)) * 4.0) + 1, 1, 4);
        CreditRun(h.career, run);
        if (h.bodyWeight == 0) {
            h.bodyWeight = h.baseWeight - (age <= 2 ? 18 : age == 3 ? 6 : 0);
        } else {
            h.bodyWeight =
                std::clamp(h.bodyWeight + static_cast<int>(std::lround(rng.Normal(0, 4))),
                           h.baseWeight - 50, h.baseWeight + 40);
        }
        AfterRun(h, day, stopped, rng);
        if (h.retired) {
            return;
        }
        day = RacingSaturdayOnOrAfter(h.readyDay) + rng.Below(2);
    }
}

// How the horse fits a race it could enter: waiting time first, then ground, distance and
// its own training centre's racecourse.
double EntryScore(const THorse& h, const TRace& race, const TSeason& season, int region,
                  TRandom& rng) {
    const int since = h.career.flatRuns + h.career.jumpRuns == 0 ? h.debutDay : h.readyDay;
    double score = std::clamp((race.day - since) / 7.0, 0.0, 12.0) * 0.9;
    if (race.ground != TGround::Jump) {
        score += 1.6 * (race.ground == TGround::Turf ? h.turf : -h.turf);
        score -= 3.0 * DistanceMisfit(race.distance, h.bestDistance);
    }
    const TRegion own = season.trainers[static_cast<std::size_t>(h.trainer)].region;
    if (region != static_cast<int>(TRegion::North)) {
        score += region == static_cast<int>(own) ? 0.8 : -0.4;
    }
    return score + rng.Uniform(0.0, 1.2);
}

bool Eligible(const THorse& h, const TRace& race, int saturday, const std::vector<int>& enteredOn,
              std::size_t index) {
    if (h.retired || h.readyDay > race.day || h.debutDay > race.day ||
        enteredOn[index] == saturday) {
        return false;
    }
    if (race.sexLimit == '2' && h.sex != '2') {
        return false;
    }
    return true;
}

// Picks the runners of a race from the ready horses of its buckets.
std::vector<int> PickRunners(TSimulation& sim, const TRace& race,
                             const std::array<std::vector<int>, kBuckets>& buckets, int saturday,
                             TRandom& rng) {
    const TSeason& season = sim.season;
    const TEntryRule rule = EntryRuleOf(ClassOf(race), race.day);
    const int region = static_cast<int>(CourseOf(race.course).region);
    std::vector<std::pair<double, int>> scored;
    for (const int b : rule.primary) {
        for (const int i : buckets[static_cast<std::size_t>(b)]) {
            const THorse& h = season.horses[static_cast<std::size_t>(i)];
            if (Eligible(h, race, saturday, sim.enteredOn, static_cast<std::size_t>(i))) {
                scored.emplace_back(EntryScore(h, race, season, region, rng), i);
            }
        }
    }
    const auto better = [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    };
    const auto keep = std::min<std::size_t>(scored.size(), static_cast<std::size_t>(race.target));
    std::partial_sort(scored.begin(), scored.begin() + static_cast<std::ptrdiff_t>(keep),
                      scored.end(), better);
    scored.resize(keep);
    std::vector<int> picked;
    for (const auto& [score, i] : scored) {
        if (static_cast<int>(picked.size()) >= race.target) {
            break;
        }
        picked.push_back(i);
    }
    // Horses of the class below step up when the field is short (格上挑戦), the best first.
    const int stepUpTo = race.level >= 4 ? race.target : std::min(race.target, 12);
    if (static_cast<int>(picked.size()) < stepUpTo && !rule.secondary.empty()) {
        std::vector<std::pair<double, int>> stronger;
        for (const int b : rule.secondary) {
            for (const int i : buckets[static_cast<std::size_t>(b)]) {
                const THorse& h = season.horses[static_cast<std::size_t>(i)];
                if (Eligible(h, race, saturday, sim.enteredOn, static_cast<std::size_t>(i))) {
                    stronger.emplace_back(h.ability + rng.Normal(0, 0.3), i);
                }
            }
        }
        std::sort(stronger.begin(), stronger.end(), better);
        for (const auto& [score, i] : stronger) {
            if (static_cast<int>(picked.size()) >= stepUpTo) {
                break;
            }
            picked.push_back(i);
        }
    }
    return picked;
}

// Frames from horse numbers: one horse a frame up to eight runners; with more, the higher
// frames take the extra horses, two or three each.
int FrameOf(int horseNumber, int runners) noexcept {
    if (runners <= 8) {
        return horseNumber;
    }
    const int base = runners / 8;
    const int extra = runners % 8; // frames 9 - extra .. 8 hold base + 1 horses
    const int smallFrames = 8 - extra;
    const int inSmall = smallFrames * base;
    if (horseNumber <= inSmall) {
        return (horseNumber - 1) / base + 1;
    }
    return smallFrames + (horseNumber - inSmall - 1) / (base + 1) + 1;
}

// Which jockeys ride at which racecourse this weekend: each at its own centre's meeting while
// there is room, so that every racecourse has enough riders for its largest field.
std::map<int, std::vector<int>> AllocateJockeys(const TSeason& season,
                                                const std::vector<TCourseDay>& courses, int year,
                                                TRandom& rng) {
    std::map<int, std::vector<int>> at;
    std::vector<int> order; // the jockeys riding in the year
    for (std::size_t i = 0; i < season.jockeys.size(); ++i) {
        if (ActiveIn(season.jockeys[i], year)) {
            order.push_back(static_cast<int>(i));
        }
    }
    const int count = static_cast<int>(order.size());
    const int room =
        (count + static_cast<int>(courses.size()) - 1) / static_cast<int>(courses.size());
    rng.Shuffle(order);
    for (const int j : order) {
        const TRegion home = season.jockeys[static_cast<std::size_t>(j)].region;
        int bestCourse = -1;
        int bestScore = -1;
        for (const auto& c : courses) {
            const auto& riders = at[c.course];
            if (static_cast<int>(riders.size()) >= room) {
                continue;
            }
            const TRegion region = CourseOf(c.course).region;
            const int score = (region == home             ? 20
                               : region == TRegion::North ? 10
                                                          : 0) +
                              (room - static_cast<int>(riders.size()));
            if (score > bestScore) {
                bestScore = score;
                bestCourse = c.course;
            }
        }
        at[bestCourse].push_back(j);
    }
    return at;
}

// Horse numbers, frames, jockeys and weights of an entered race.
void MakeCard(TSimulation& sim, TRace& race, std::vector<int> horses,
              const std::vector<int>& riders, TRandom& rng) {
    TSeason& season = sim.season;
    rng.Shuffle(horses); // the draw for horse numbers
    const int n = static_cast<int>(horses.size());
    race.runners.clear();
    for (int k = 0; k < n; ++k) {
        const THorse& h =
            season.horses[static_cast<std::size_t>(horses[static_cast<std::size_t>(k)])];
        TRunner r;
        r.horse = horses[static_cast<std::size_t>(k)];
        r.horseNumber = k + 1;
        r.frame = FrameOf(k + 1, n);
        r.trainer = h.trainer;
        r.age = AgeOn(h, race.day);
        r.weight = WeightCarried(race, h, r.age);
        r.blinkers = h.blinkers;
        r.firstRun = h.career.flatRuns + h.career.jumpRuns == 0;
        race.runners.push_back(r);
    }
    if (race.weightRule == '1') {
        // Handicap: weights around 55 kg in half kilograms by the handicapper's view.
        double mean = 0;
        std::vector<double> rating;
        for (const auto& r : race.runners) {
            rating.push_back(
                Aptitude(season.horses[static_cast<std::size_t>(r.horse)], race, r.age));
            mean += rating.back();
        }
        mean /= n;
        for (int k = 0; k < n; ++k) {
            const double kg = 55.0 + (rating[static_cast<std::size_t>(k)] - mean) * 3.0;
            const int halves = static_cast<int>(std::floor(kg * 2.0 + 0.5));
            race.runners[static_cast<std::size_t>(k)].weight = std::clamp(halves * 5, 490, 590);
        }
    }
    // The best-fancied horses get the first call on the best riders.
    std::vector<std::pair<double, int>> order;
    for (int k = 0; k < n; ++k) {
        const auto& r = race.runners[static_cast<std::size_t>(k)];
        order.emplace_back(Aptitude(season.horses[static_cast<std::size_t>(r.horse)], race, r.age) +
                               rng.Normal(0, 0.4),
                           k);
    }
    std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    std::vector<int> free = riders;
    for (const auto& [key, k] : order) {
        std::vector<double> weights;
        for (const int j : free) {
            weights.push_back(DetExp(6.0 * season.jockeys[static_cast<std::size_t>(j)].skill));
        }
        const int chosen = rng.Pick(weights);
        TRunner& r = race.runners[static_cast<std::size_t>(k)];
        r.jockey = free[static_cast<std::size_t>(chosen)];
        free.erase(free.begin() + chosen);
        const TJockey& jockey = season.jockeys[static_cast<std::size_t>(r.jockey)];
        const bool claims = race.grade == ' ' && race.level <= 3 && race.ground != TGround::Jump &&
                            (race.weightRule == '3' || race.weightRule == '4');
        const int allowance = AllowanceIn(jockey, DateOf(race.day).year);
        if (allowance > 0 && claims) {
            r.apprentice = static_cast<char>('0' + allowance);
            r.weight -= allowance * 10;
        }
    }
}

// Weather and going of one racecourse on one day.
void SetGoing(TRace& first, TRandom& rng, char& weather, char& turf, char& dirt) {
    const int month = DateOf(first.day).month;
    const bool winter = month <= 2 || month == 12;
    const double u = rng.Unit();
    int sky = 0; // 0 fine, 1 cloudy, 2 light rain, 3 rain, 4 snow
    if (winter && u < 0.03) {
        sky = 4;
    } else if (u < 0.14) {
        sky = 3;
    } else if (u < 0.22) {
        sky = 2;
    } else if (u < 0.47) {
        sky = 1;
    }
    static constexpr char kWeather[] = {'1', '2', '4', '3', '5'};
    weather = sky == 4 && rng.Chance(0.5) ? '6' : kWeather[sky];
    static constexpr double kTurf[5][4] = {
        {88, 10, 2, 0}, {85, 12, 3, 0}, {50, 40, 10, 0}, {0, 35, 40, 25}, {0, 50, 35, 15}};
    static constexpr double kDirt[5][4] = {
        {75, 20, 5, 0}, {70, 23, 7, 0}, {0, 50, 40, 10}, {0, 0, 50, 50}, {0, 40, 40, 20}};
    turf = static_cast<char>('1' + rng.Pick(kTurf[sky]));
    dirt = static_cast<char>('1' + rng.Pick(kDirt[sky]));
}

// Adds a run of the published weeks to the horse's career.
void Credit(TSeason& season, const TRace& race, const TRunner& r, TRandom& rng) {
    THorse& h = season.horses[static_cast<std::size_t>(r.horse)];
    if (race.published) {
        h.lastSeasonDay = race.day;
    }
    if (r.abnormality == '1' || r.abnormality == '2') {
        h.readyDay = race.day + 7 * rng.Between(1, 3) - 1;
        return;
    }
    TRunFacts run;
    run.ground = race.ground;
    run.track = race.track;
    run.distance = race.distance;
    run.going = race.ground == TGround::Dirt ? race.dirtGoing : race.turfGoing;
    run.finish = r.finish;
    run.prize = r.prize;
    run.added = r.added;
    run.level = race.level;
    run.grade = race.grade;
    run.styleCode = r.styleCode;
    CreditRun(h.career, run);
    h.seasonRuns += race.published ? 1 : 0;
    AfterRun(h, race.day, r.abnormality == '4', rng);
}

// Entry order: the races that need the scarcest horses first.
int EntryPriority(const TRace& race) noexcept {
    if (race.ground == TGround::Jump) {
        return 3;
    }
    switch (ClassOf(race)) {
    case TClass::TwoNew:
    case TClass::ThreeNew:
        return 0;
    case TClass::TwoMaiden:
    case TClass::ThreeMaiden:
        return 1;
    case TClass::UpOne:
    case TClass::TwoOne:
    case TClass::ThreeOne:
        return 2;
    case TClass::UpTwo:
        return 4;
    case TClass::UpThree:
        return 5;
    default:
        return 6 + race.level;
    }
}

// A flat G1 is an international race: a horse from abroad is invited to it. The horse is made
// for the race from a draw of its own, races nowhere else, and goes home afterwards.
int InviteHorse(TSimulation& sim, const TRace& race) {
    // The countries of foreign-bred horses, with their racecourse codes abroad.
    static constexpr const char* kHomeCourses[] = {"A4", "A6", "B2", "A8", "B6"};
    TSeason& season = sim.season;
    TRandom rng(
        Mix(sim.seed,
            static_cast<std::uint64_t>(race.day) * 16 + static_cast<std::uint64_t>(race.course),
            0x494E5654)); // "INVT"
    THorse h;
    // Of the age the race is for: 2 or 3 for a race of that age alone, else 4.
    h.foalYear = DateOf(race.day).year - (race.kind == 11 ? 2 : race.kind == 12 ? 3 : 4);
    char number[32];
    std::snprintf(number, sizeof number, "%04d9%05d", h.foalYear,
                  (race.day * 16 + race.course) % 100000);
    h.number = number;
    h.birthDay = DayNumber(h.foalYear, 3, 1) + rng.Between(0, 60);
    h.sex = race.sexLimit == '2' ? '2' : rng.Chance(0.8) ? '1' : '3';
    h.coat = rng.Chance(0.5) ? "03" : "01";
    h.symbol = "16"; // (招)(外)
    const auto& countries = NameTables().foreignPlaces;
    const int country = rng.Below(static_cast<int>(countries.size()));
    h.invitation = countries[static_cast<std::size_t>(country)];
    h.homeCourse = kHomeCourses[static_cast<std::size_t>(country) % std::size(kHomeCourses)];
    h.trainer = rng.Below(static_cast<int>(season.trainers.size()));
    if (sim.careers &&
        !ActiveIn(season.trainers[static_cast<std::size_t>(h.trainer)], DateOf(race.day).year)) {
        Transfer(sim, h, DateOf(race.day).year); // its stable here is one open now
    }
    h.owner = rng.Below(static_cast<int>(season.owners.size()));
    h.breeder = rng.Below(static_cast<int>(season.breeders.size()));
    h.sire = rng.Below(static_cast<int>(sim.stud.sires.size()));
    h.mare = rng.Below(static_cast<int>(sim.stud.mares.size()));
    h.ability = 1.3 + rng.Normal(0, 0.3);
    h.turf = 1.0;
    h.bestDistance = race.distance;
    h.style = rng.Unit();
    h.baseWeight = 470 + rng.Between(0, 40);
    h.debutDay = race.day;
    h.readyDay = race.day;
    season.horses.push_back(std::move(h));
    sim.enteredOn.push_back(-1);
    return static_cast<int>(season.horses.size()) - 1;
}

void Weekend(TSimulation& sim, int saturday, bool card, bool published) {
    TSeason& season = sim.season;
    TRandom rng(Mix(sim.seed, static_cast<std::uint64_t>(saturday), 0x57454B44)); // "WEKD"
    const int sunday = saturday + 1;

    // Who is ready to run this weekend, by bucket.
    std::array<std::vector<int>, kBuckets> buckets;
    const int year = DateOf(saturday).year;
    for (std::size_t i = 0; i < season.horses.size(); ++i) {
        THorse& h = season.horses[i];
        if (h.retired || h.debutDay > sunday || h.readyDay > sunday) {
            continue;
        }
        if (sim.careers && !ActiveIn(season.trainers[static_cast<std::size_t>(h.trainer)], year)) {
            Transfer(sim, h, year);
        }
        if (!StillRacing(h, saturday, rng)) {
            continue;
        }
        buckets[static_cast<std::size_t>(BucketOf(h, saturday))].push_back(static_cast<int>(i));
    }
    std::array<int, kBuckets> supply{};
    for (int b = 0; b < kBuckets; ++b) {
        supply[static_cast<std::size_t>(b)] =
            static_cast<int>(buckets[static_cast<std::size_t>(b)].size());
    }

    // The programme of both days.
    std::vector<TRace> races;
    for (const int day : {saturday, sunday}) {
        for (const auto& courseDay : sim.CoursesOn(day)) {
            PlanDay(races, courseDay, day, supply, sim.seed, rng);
        }
    }

    // Entries, scarcest classes first; a race that cannot fill becomes one that can.
    std::vector<std::size_t> order(races.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return EntryPriority(races[a]) > EntryPriority(races[b]);
    });
    std::vector<std::vector<int>> fields(races.size());
    for (const std::size_t i : order) {
        TRace& race = races[i];
        std::vector<int> picked = PickRunners(sim, race, buckets, saturday, rng);
        if (picked.size() < 8) {
            // Try the other classes and keep the fullest field.
            static constexpr TClass kFallbacks[] = {
                TClass::UpOne,   TClass::UpTwo,    TClass::ThreeMaiden, TClass::TwoMaiden,
                TClass::UpThree, TClass::ThreeOne, TClass::TwoOne,      TClass::UpOpen};
            TRace best = race;
            std::vector<int> bestPicked = picked;
            for (const TClass cls : kFallbacks) {
                TRace trial = race;
                trial.grade = ' ';
                trial.sexLimit = ' ';
                ConfigureRace(trial, cls, rng, sim.seed);
                if (trial.ground == TGround::Jump) {
                    continue;
                }
                auto trialPicked = PickRunners(sim, trial, buckets, saturday, rng);
                if (trialPicked.size() > bestPicked.size()) {
                    best = std::move(trial);
                    bestPicked = std::move(trialPicked);
                }
                if (bestPicked.size() >= 10) {
                    break;
                }
            }
            race = std::move(best);
            picked = std::move(bestPicked);
        }
        for (const int h : picked) {
            sim.enteredOn[static_cast<std::size_t>(h)] = saturday;
        }
        fields[i] = std::move(picked);
    }

    for (std::size_t i = 0; i < races.size(); ++i) {
        const TRace& race = races[i];
        if (race.grade == 'A' && race.ground != TGround::Jump && fields[i].size() < 16) {
            fields[i].push_back(InviteHorse(sim, race));
        }
    }

    // Cards: numbers, frames, riders, weights.
    const auto riders =
        AllocateJockeys(season, sim.CoursesOn(saturday), DateOf(saturday).year, rng);
    for (std::size_t i = 0; i < races.size(); ++i) {
        races[i].card = card;
        races[i].published = published;
        MakeCard(sim, races[i], fields[i], riders.at(races[i].course), rng);
        for (const auto& r : races[i].runners) {
            THorse& h = season.horses[static_cast<std::size_t>(r.horse)];
            if (h.firstEntryDay < 0 || races[i].day < h.firstEntryDay) {
                h.firstEntryDay = races[i].day;
            }
        }
    }

    if (card) {
        for (const auto& race : races) {
            for (const auto& r : race.runners) {
                season.horses[static_cast<std::size_t>(r.horse)].entered = true;
            }
        }
    } else {
        // The races, day by day and racecourse by racecourse, under that day's sky.
        char weather = '1';
        char turf = '1';
        char dirt = '1';
        for (std::size_t i = 0; i < races.size(); ++i) {
            TRace& race = races[i];
            if (i == 0 || races[i - 1].day != race.day || races[i - 1].course != race.course) {
                SetGoing(race, rng, weather, turf, dirt);
            }
            race.weather = weather;
            race.turfGoing = turf;
            race.dirtGoing = dirt;
            RunRace(season, race, rng);
        }
        for (const auto& race : races) {
            for (const auto& r : race.runners) {
                Credit(season, race, r, rng);
                THorse& h = season.horses[static_cast<std::size_t>(r.horse)];
                if (!h.invitation.empty()) {
                    // Home after the race: its registration here ends.
                    Retire(h, race.day);
                }
            }
        }
    }
    for (auto& race : races) {
        season.races.push_back(std::move(race));
    }
}

std::string Digits(std::uint64_t value, int width) {
    std::string text(static_cast<std::size_t>(width), '0');
    for (int i = width - 1; i >= 0 && value > 0; --i) {
        text[static_cast<std::size_t>(i)] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    return text;
}

// The record that stood before the season over a course: set some years ago by a good horse
// on a fast day.
TCourseRecord EarlierRecord(TSimulation& sim, int course, int kind, int distance, int track,
                            int beforeYear) {
    TSeason& season = sim.season;
    TRandom rng(Mix(sim.seed, static_cast<std::uint64_t>(course * 100 + kind),
                    static_cast<std::uint64_t>(distance * 100 + track), 0x5245434Full));
    TCourseRecord rec;
    rec.course = course;
    rec.kind = kind;
    rec.distance = distance;
    rec.track = track;
    const int year = rng.Between(std::min(2003, beforeYear - 15), beforeYear - 1);
    std::vector<std::pair<int, TCourseDay>> days;
    for (const int saturday : RacingSaturdaysOf(year)) {
        for (const int day : {saturday, saturday + 1}) {
            for (const auto& c : sim.CoursesOn(day)) {
                if (c.course == course) {
                    days.emplace_back(day, c);
                }
            }
        }
    }
    const auto& [day, courseDay] =
        days[static_cast<std::size_t>(rng.Below(static_cast<int>(days.size())))];
    rec.day = day;
    rec.meeting = courseDay.meeting;
    rec.dayOfMeeting = courseDay.dayOfMeeting;
    rec.raceNumber = rng.Chance(0.3) ? 11 : rng.Between(1, 12);
    const bool jump = kind == 18 || kind == 19;
    const TGround ground = jump ? TGround::Jump : track >= 23 ? TGround::Dirt : TGround::Turf;
    const double factor =
        jump ? 0.985 - 0.01 * rng.Unit()
             : (1.0 + 0.004 * (1 - 5)) * (kind == 11 ? 1.008 : 1.0) * (0.994 - 0.008 * rng.Unit());
    rec.timeTenths = static_cast<int>(ParSeconds(ground, distance) *
                                      (1.0 + CourseOf(course).timeBias) * factor * 10.0);
    rec.weather = rng.Chance(0.75) ? '1' : '2';
    rec.turfGoing = '1';
    rec.dirtGoing = ground == TGround::Dirt && rng.Chance(0.4) ? '3' : '1';
    const int age = kind == 11   ? 2
                    : kind == 12 ? 3
                    : jump       ? rng.Between(4, 7)
                                 : rng.Between(kind == 14 ? 4 : 3, 6);
    const int foalYear = DateOf(day).year - age;
    rec.holderNumber = Digits(static_cast<std::uint64_t>(foalYear), 4) + "19" +
                       Digits(static_cast<std::uint64_t>(rng.Between(0, 9999)), 4);
    rec.holderName = sim.names.HorseName(rng, {});
    rec.holderSymbol = rng.Chance(0.9) ? "00" : "06";
    rec.holderSex = rng.Chance(0.7) ? '1' : '2';
    const TTrainer* pick = &rng.Of(season.trainers);
    while (!ActiveIn(*pick, year)) {
        pick = &rng.Of(season.trainers); // one who trained then
    }
    const TTrainer& trainer = *pick;
    rec.trainerName = trainer.name;
    rec.trainerCode = trainer.code;
    const TJockey* rider = &rng.Of(season.jockeys);
    while (!ActiveIn(*rider, year)) {
        rider = &rng.Of(season.jockeys); // one who rode then
    }
    const TJockey& jockey = *rider;
    rec.jockeyName = jockey.name;
    rec.jockeyCode = jockey.code;
    rec.weight = (jump         ? 600 + rng.Between(0, 3) * 10
                  : kind == 11 ? 550
                               : 560 + rng.Between(0, 2) * 10) -
                 (rec.holderSex == '2' ? 20 : 0);
    return rec;
}

void CourseRecords(TSimulation& sim, int anchor) {
    TSeason& season = sim.season;
    std::map<std::tuple<int, int, int, int>, std::size_t> index;
    // Records that stood before the season were set before its first year.
    const int beforeYear = DateOf(anchor).year;
    for (auto& race : season.races) {
        const auto key = std::make_tuple(race.course, race.kind, race.distance, race.track);
        auto it = index.find(key);
        if (it == index.end()) {
            it = index.emplace(key, season.records.size()).first;
            season.records.push_back(
                EarlierRecord(sim, race.course, race.kind, race.distance, race.track, beforeYear));
        }
        TCourseRecord& rec = season.records[it->second];
        if (race.card) {
            rec.inCard = true;
            continue;
        }
        if (race.published) {
            rec.lastRunDay = race.day;
        }
        // A winner faster than the record sets a new one.
        for (auto& r : race.runners) {
            if (r.finish != 1 || r.timeTenths <= 0 || r.timeTenths >= rec.timeTenths) {
                continue;
            }
            THorse& h = season.horses[static_cast<std::size_t>(r.horse)];
            if (h.name.empty()) {
                NameHorse(sim, h); // set the record in a weekend before the published ones
            }
            rec.day = race.day;
            rec.meeting = race.meeting;
            rec.dayOfMeeting = race.dayOfMeeting;
            rec.raceNumber = race.raceNumber;
            rec.raceName = race.name;
            rec.grade = race.grade;
            rec.timeTenths = r.timeTenths;
            rec.weather = race.weather;
            rec.turfGoing = race.turfGoing;
            rec.dirtGoing = race.dirtGoing;
            rec.holderNumber = h.number;
            rec.holderName = h.name;
            rec.holderSymbol = h.symbol;
            rec.holderSex = h.sex;
            const TTrainer& trainer = season.trainers[static_cast<std::size_t>(r.trainer)];
            rec.trainerName = trainer.name;
            rec.trainerCode = trainer.code;
            const TJockey& jockey = season.jockeys[static_cast<std::size_t>(r.jockey)];
            rec.jockeyName = jockey.name;
            rec.jockeyCode = jockey.code;
            rec.weight = r.weight;
            rec.setInSeason = true;
            race.record = true;
            r.setRecord = true;
        }
    }
}

} // namespace

TSeason SimulateSeason(std::uint32_t seed, int today, int weeks, int setupYears) {
    TSeason season;
    TSimulation sim{season, Mix(seed, 0x5345415Aull), {}, {}, {}, {}};
    sim.careers = setupYears > 0;
    season.today = today;
    season.cardSaturday = RacingSaturdayOnOrAfter(today - 1);
    int start = season.cardSaturday - 7 * weeks;
    if (setupYears > 0) {
        // The weekends since the same date setupYears years ago (28 February for the 29th).
        const TDate date = DateOf(today);
        const int year = date.year - setupYears;
        const int leap = date.month == 2 && date.day == 29 &&
                                 !(year % 4 == 0 && (year % 100 != 0 || year % 400 == 0))
                             ? 1
                             : 0;
        start = std::min(start, DayNumber(year, date.month, date.day - leap));
    }
    for (int saturday = start; saturday < season.cardSaturday; saturday += 7) {
        if (IsRacingSaturday(saturday)) {
            season.resultSaturdays.push_back(saturday);
        }
    }
    // The world is simulated from a Saturday on a fixed grid of 13 weeks, so that a week later
    // the same weekends come out the same: last week's card is this week's result. It starts
    // before the longest season the service offers, whatever part of it is published, so that
    // a weekend's races and runners do not depend on how many weeks are published. The world
    // of setup years starts kMaxSetupYears back, whichever years are asked for.
    const int longest = sim.careers ? kSetupWorldWeeks : kLongestPublishedSeason;
    const int simulated = std::max(weeks, longest);
    const int weeksSinceEpoch = FloorDiv(season.cardSaturday - 7 * simulated - kEpochSaturday, 7);
    const int anchor = kEpochSaturday + 7 * (weeksSinceEpoch - FloorMod(weeksSinceEpoch, 13));

    TRandom rng(Mix(sim.seed, 1));
    MakePeople(season, rng);
    sim.stud = MakeStud(sim.names, rng);
    const int firstYear = DateOf(anchor).year - 8;
    const int lastYear = DateOf(season.cardSaturday).year - 2;
    if (sim.careers) {
        AddCareers(season, sim.seed, DateOf(anchor).year, DateOf(season.cardSaturday).year);
    }
    season.horses.reserve(static_cast<std::size_t>((lastYear - firstYear + 1) * kCropSize));
    for (int year = firstYear; year <= lastYear; ++year) {
        MakeCrop(season, sim.stud, sim.names, year, kCropSize, sim.seed);
    }
    sim.enteredOn.assign(season.horses.size(), -1);
    if (sim.careers) {
        // Each foal goes to a stable open when it comes to the races.
        for (auto& h : season.horses) {
            const int debut = std::max(DateOf(h.debutDay).year, DateOf(anchor).year);
            if (!ActiveIn(season.trainers[static_cast<std::size_t>(h.trainer)], debut)) {
                Transfer(sim, h, debut);
            }
        }
    }

    // Careers up to the first simulated weekend.
    for (auto& h : season.horses) {
        if (h.debutDay < anchor) {
            TRandom own(Mix(sim.seed, HorseKey(h), 0x45415231)); // "EAR1"
            EarlierCareer(sim, h, anchor, own);
        }
    }

    for (int saturday = RacingSaturdayOnOrAfter(anchor); saturday < season.cardSaturday;
         saturday = RacingSaturdayOnOrAfter(saturday + 7)) {
        Weekend(sim, saturday, false, saturday >= start);
    }
    Weekend(sim, season.cardSaturday, true, true);

    // Names and pedigrees of the horses that have run, each from its own draw and in the order
    // they first came to the races, so that a horse keeps its name from one day's season to
    // the next.
    std::vector<std::pair<std::uint64_t, std::size_t>> order;
    for (std::size_t i = 0; i < season.horses.size(); ++i) {
        const THorse& h = season.horses[i];
        if (h.firstEntryDay >= 0) {
            order.emplace_back(static_cast<std::uint64_t>(h.firstEntryDay - anchor) << 32 |
                                   (HorseKey(h) & 0xFFFFFFFFull),
                               i);
        }
    }
    std::sort(order.begin(), order.end());
    for (const auto& [key, i] : order) {
        NameHorse(sim, season.horses[i]);
    }
    CourseRecords(sim, anchor);
    return season;
}

} // namespace standin::season
