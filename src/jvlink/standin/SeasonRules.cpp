// The rules of the racing year: classes and who may enter, weights carried, prize money and
// what a run adds to a career.
#include "jvlink/standin/SeasonInternal.h"

#include <algorithm>
#include <array>

namespace standin::season {

namespace {

constexpr int Bucket(int ageGroup, int cls) noexcept {
    return ageGroup * 6 + cls;
}

// Rounds money down to 10,000 yen (100 units of 100 yen).
constexpr std::int64_t RoundPrize(std::int64_t units) noexcept {
    return units / 100 * 100;
}

} // namespace

double DistanceMisfit(int distance, int best) noexcept {
    // log2 of every distance, worked out once.
    static const std::array<double, 501> kLog2 = [] {
        std::array<double, 501> table{};
        for (std::size_t i = 1; i < table.size(); ++i) {
            table[i] = DetLog2(static_cast<double>(i) * 10.0);
        }
        return table;
    }();
    const auto index = [](int metres) {
        return static_cast<std::size_t>(std::clamp(metres / 10, 1, 500));
    };
    const double misfit = kLog2[index(distance)] - kLog2[index(best)];
    return misfit < 0 ? -misfit : misfit;
}

double Maturity(int age, int month) noexcept {
    switch (age) {
    case 2:
        return -0.45 + 0.04 * (month - 6);
    case 3:
        return std::min(0.0, -0.18 + 0.025 * (month - 1));
    case 4:
    case 5:
        return 0.05;
    case 6:
        return -0.05;
    case 7:
        return -0.18;
    default:
        return age < 2 ? -0.6 : -0.3;
    }
}

int BucketOf(const THorse& horse, int day) noexcept {
    if (horse.jumper) {
        return horse.career.jumpWins > 0 ? kJumpOpenBucket : kJumpMaidenBucket;
    }
    const int age = AgeOn(horse, day);
    const int group = age <= 2 ? 0 : age == 3 ? 1 : 2;
    const int wins = horse.career.flatWins;
    const int cls = horse.career.flatRuns == 0 ? 0 : wins == 0 ? 1 : std::min(wins + 1, 5);
    return Bucket(group, cls);
}

TEntryRule EntryRuleOf(TClass cls, int day) {
    const int month = DateOf(day).month;
    const bool threeMeetElders = month >= 6; // from June 3-year-olds run in 3歳以上 races
    TEntryRule rule;
    auto up = [&](int c, std::vector<int>& into) {
        into.push_back(Bucket(2, c));
        if (threeMeetElders) {
            into.push_back(Bucket(1, c));
        }
    };
    switch (cls) {
    case TClass::TwoNew:
        rule.primary = {Bucket(0, 0)};
        break;
    case TClass::TwoMaiden:
        rule.primary = {Bucket(0, 1), Bucket(0, 0)};
        break;
    case TClass::TwoOne:
        rule.primary = {Bucket(0, 2)};
        rule.secondary = {Bucket(0, 1)};
        break;
    case TClass::TwoOpen:
        rule.primary = {Bucket(0, 3), Bucket(0, 4), Bucket(0, 5), Bucket(0, 2)};
        rule.secondary = {Bucket(0, 1)};
        break;
    case TClass::ThreeNew:
        rule.primary = {Bucket(1, 0)};
        break;
    case TClass::ThreeMaiden:
        rule.primary = {Bucket(1, 1), Bucket(1, 0)};
        break;
    case TClass::ThreeOne:
        rule.primary = {Bucket(1, 2)};
        rule.secondary = {Bucket(1, 1)};
        break;
    case TClass::ThreeOpen:
        rule.primary = {Bucket(1, 3), Bucket(1, 4), Bucket(1, 5)};
        rule.secondary = {Bucket(1, 2)};
        break;
    case TClass::UpOne:
        up(2, rule.primary);
        if (threeMeetElders && month <= 9) {
            rule.secondary = {Bucket(1, 1)};
        }
        break;
    case TClass::UpTwo:
        up(3, rule.primary);
        up(2, rule.secondary);
        break;
    case TClass::UpThree:
        up(4, rule.primary);
        up(3, rule.secondary);
        break;
    case TClass::UpOpen:
        up(5, rule.primary);
        up(4, rule.secondary);
        break;
    case TClass::JumpMaiden:
        rule.primary = {kJumpMaidenBucket};
        break;
    case TClass::JumpOpen:
        rule.primary = {kJumpOpenBucket};
        rule.secondary = {kJumpMaidenBucket};
        break;
    case TClass::Count:
        break;
    }
    return rule;
}

std::int64_t GeneralFirstPrize(int kind, int level, bool newcomers) noexcept {
    if (kind == 18 || kind == 19) {
        return level == 0 ? 100000 : 170000;
    }
    switch (level) {
    case 0:
        if (kind == 11) {
            return newcomers ? 72000 : 58000;
        }
        return newcomers ? 56000 : 55000;
    case 1:
        return kind == 11 ? 96000 : kind == 12 ? 90000 : 85000;
    case 2:
        return 115000;
    case 3:
        return 160000;
    default:
        return kind == 11 ? 160000 : kind == 12 ? 200000 : 250000;
    }
}

std::int64_t PlacePrize(std::int64_t first, int place) noexcept {
    static constexpr int kPercent[] = {100, 40, 25, 15, 10};
    if (place < 1 || place > 5) {
        return 0;
    }
    return RoundPrize(first * kPercent[place - 1] / 100);
}

void SetPrizeMoney(TRace& race, TRandom& rng) {
    const bool jump = race.ground == TGround::Jump;
    std::int64_t first = 0;
    std::int64_t addedPool = 0;
    switch (race.grade) {
    case 'A':
        first = race.kind == 11 ? 700000 : RoundPrize(rng.Between(110, 300) * 10000);
        addedPool = rng.Between(50, 90) * 1000;
        break;
    case 'B':
        first = race.kind == 11 || race.kind == 12 ? 540000 : 620000;
        addedPool = rng.Between(20, 35) * 1000;
        break;
    case 'C':
    case 'D':
        first = race.kind == 11 ? 340000 : race.kind == 12 ? 380000 : 410000;
        addedPool = rng.Between(10, 18) * 1000;
        break;
    case 'F':
        first = 1000000;
        addedPool = rng.Between(30, 50) * 1000;
        break;
    case 'G':
        first = 660000;
        addedPool = rng.Between(15, 25) * 1000;
        break;
    case 'H':
        first = 400000;
        addedPool = rng.Between(8, 14) * 1000;
        break;
    case 'L':
        first = race.kind == 11 ? 190000 : race.kind == 12 ? 230000 : 280000;
        addedPool = rng.Between(3, 6) * 1000;
        break;
    case 'E':
        first = GeneralFirstPrize(race.kind, race.level, false) * 108 / 100;
        addedPool = rng.Between(12, 35) * 100;
        break;
    default:
        first = GeneralFirstPrize(race.kind, race.level, race.youngest == 701);
        break;
    }
    if (jump && race.grade == ' ') {
        first = GeneralFirstPrize(race.kind, race.level, false);
    }
    first = RoundPrize(first);
    race.prize = {};
    race.added = {};
    for (int place = 1; place <= 5; ++place) {
        race.prize[static_cast<std::size_t>(place - 1)] = PlacePrize(first, place);
    }
    if (addedPool > 0) {
        race.added[0] = addedPool * 7 / 10 / 10 * 10;
        race.added[1] = addedPool * 2 / 10 / 10 * 10;
        race.added[2] = addedPool / 10 / 10 * 10;
    }
}

void CreditRun(TCareer& career, const TRunFacts& run) {
    const int place = run.finish >= 1 && run.finish <= 5 ? run.finish - 1 : 5;
    auto count = [&](int group) {
        ++career.counts[static_cast<std::size_t>(group)][static_cast<std::size_t>(place)];
    };
    count(0); // all runs
    count(1); // the central racing total, the same here
    const int going = std::clamp(run.going - '1', 0, 3);
    const TDirection direction = DirectionOf(run.track);
    const int band = run.distance <= 1600 ? 0 : run.distance <= 2200 ? 1 : 2;
    const int turn = direction == TDirection::Straight ? 0 : direction == TDirection::Right ? 1 : 2;
    const bool won = run.finish == 1;
    const bool graded = std::string_view("ABCDFGH").find(run.grade) != std::string_view::npos;
    std::int64_t earned = 0;
    if (won) {
        static constexpr std::int64_t kByLevel[] = {40000, 50000, 60000, 90000};
        earned = run.level <= 3 ? kByLevel[run.level] : run.prize / 2;
    } else if (graded && run.finish == 2) {
        earned = run.prize / 2;
    }
    switch (run.ground) {
    case TGround::Turf:
        count(2 + turn);
        count(9 + going);
        count(21 + band);
        break;
    case TGround::Dirt:
        count(5 + turn);
        count(13 + going);
        count(24 + band);
        break;
    case TGround::Jump:
        count(8);
        count(17 + going);
        break;
    }
    if (run.ground == TGround::Jump) {
        career.jumpPrize += run.prize;
        career.jumpAdded += run.added;
        career.jumpEarnings += earned;
        ++career.jumpRuns;
        career.jumpWins += won ? 1 : 0;
    } else {
        career.flatPrize += run.prize;
        career.flatAdded += run.added;
        career.flatEarnings += earned;
        ++career.flatRuns;
        career.flatWins += won ? 1 : 0;
    }
    if (run.styleCode >= 1 && run.styleCode <= 4) {
        ++career.styles[static_cast<std::size_t>(run.styleCode - 1)];
    }
}

int WeightCarried(const TRace& race, const THorse& horse, int age) noexcept {
    const int month = DateOf(race.day).month;
    const int mareAllowance = horse.sex != '2' ? 0 : race.kind == 11 ? 10 : 20;
    if (race.ground == TGround::Jump) {
        int weight = (age <= 3 ? 580 : 600) - mareAllowance;
        if (race.weightRule == '2') {
            weight += std::clamp(horse.career.jumpWins - 1, 0, 3) * 10;
        }
        return weight;
    }
    // Set weights by age: 2- and 3-year-olds among themselves, and against their elders.
    int weight = 0;
    if (race.kind == 11) {
        weight = 550;
    } else if (race.kind == 12) {
        weight = 570;
    } else if (age <= 3) {
        weight = month <= 8 ? 550 : 560;
    } else {
        weight = 580;
    }
    weight -= mareAllowance;
    if (race.weightRule == '2') {
        // Allowance race: a kilogram less, and one more for each win above the class.
        const int above = horse.career.flatWins - std::min(race.level + 1, 5);
        weight += -10 + std::clamp(above, 0, 3) * 10;
    }
    return weight;
}

} // namespace standin::season
