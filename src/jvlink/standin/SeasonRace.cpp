// Running one race: scratches, the betting, the running and the finish, times, margins,
// positions at the corners, sectional times, prize money, and the payoffs of every bet type.
#include "jvlink/standin/SeasonInternal.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace standin::season {

namespace {

// Margin code for a gap in lengths (1 length taken as 0.17 s).
const char* MarginCode(double lengths) noexcept {
    struct TStep {
        double below;
        const char* code;
    };
    static constexpr TStep kSteps[] = {
        {0.1, "H"},    {0.2, "A"},     {0.4, "K"},     {0.625, "12"},  {0.875, "34"},
        {1.125, "1"},  {1.375, "114"}, {1.625, "112"}, {1.875, "134"}, {2.25, "2"},
        {2.75, "212"}, {3.25, "3"},    {3.75, "312"},  {4.5, "4"},     {5.5, "5"},
        {6.5, "6"},    {7.5, "7"},     {8.5, "8"},     {9.5, "9"},     {10.5, "Z"},
    };
    for (const auto& step : kSteps) {
        if (lengths < step.below) {
            return step.code;
        }
    }
    return "T";
}

int WetnessOf(const TRace& race) noexcept {
    const char going = race.ground == TGround::Dirt ? race.dirtGoing : race.turfGoing;
    return std::clamp(going - '1', 0, 3);
}

// Payout in yen of a 100-yen ticket on a combination the pool gives chance p, after the
// takeout: rounded down to 10 yen, at least 100.
std::int64_t Payout(double keep, double p) noexcept {
    if (!(p > 0.0)) {
        return 100;
    }
    const double yen = 100.0 * keep / p;
    const auto payout = static_cast<std::int64_t>(yen / 10.0) * 10;
    return std::clamp<std::int64_t>(payout, 100, 999999990);
}

// Rank (1 = most backed) of the item `at` among chances; equal chances rank in item order.
template <class Chances>
int RankOf(const Chances& chances, std::size_t at) {
    int rank = 1;
    for (std::size_t i = 0; i < chances.size(); ++i) {
        if (chances[i] > chances[at] || (chances[i] == chances[at] && i < at)) {
            ++rank;
        }
    }
    return rank;
}

void MakePayoffs(TRace& race, const std::vector<int>& starters, const std::vector<double>& q) {
    TPayoffs& pay = race.payoffs;
    pay = {};
    const int m = static_cast<int>(starters.size());
    auto runner = [&](int k) -> const TRunner& {
        return race.runners[static_cast<std::size_t>(starters[static_cast<std::size_t>(k)])];
    };
    // Starters in final order.
    int placed[3] = {-1, -1, -1};
    for (int k = 0; k < m; ++k) {
        const int f = runner(k).finish;
        if (f >= 1 && f <= 3) {
            placed[f - 1] = k;
        }
    }
    if (placed[0] < 0) {
        return;
    }
    // Chances of orders of finish (Harville): pair[i][j] that i wins and j is second.
    std::vector<double> pair(static_cast<std::size_t>(m * m), 0.0);
    for (int i = 0; i < m; ++i) {
        for (int j = 0; j < m; ++j) {
            if (i != j) {
                pair[static_cast<std::size_t>(i * m + j)] = q[static_cast<std::size_t>(i)] *
                                                            q[static_cast<std::size_t>(j)] /
                                                            (1.0 - q[static_cast<std::size_t>(i)]);
            }
        }
    }
    std::vector<double> ordered3(static_cast<std::size_t>(m * m * m), 0.0);
    std::vector<double> set3(static_cast<std::size_t>(m * m * m), 0.0); // by sorted i<j<k
    std::vector<double> place3(static_cast<std::size_t>(m), 0.0);
    auto order3 = [&](int a, int b, int c) {
        const double rest = 1.0 - q[static_cast<std::size_t>(a)] - q[static_cast<std::size_t>(b)];
        const double p = pair[static_cast<std::size_t>(a * m + b)] *
                         q[static_cast<std::size_t>(c)] / (rest > 1e-12 ? rest : 1e-12);
        ordered3[static_cast<std::size_t>((a * m + b) * m + c)] = p;
        return p;
    };
    for (int i = 0; i < m; ++i) {
        for (int j = i + 1; j < m; ++j) {
            for (int k = j + 1; k < m; ++k) {
                const double p = order3(i, j, k) + order3(i, k, j) + order3(j, i, k) +
                                 order3(j, k, i) + order3(k, i, j) + order3(k, j, i);
                set3[static_cast<std::size_t>((i * m + j) * m + k)] = p;
                place3[static_cast<std::size_t>(i)] += p;
                place3[static_cast<std::size_t>(j)] += p;
                place3[static_cast<std::size_t>(k)] += p;
            }
        }
    }
    auto number = [&](int k) { return runner(k).horseNumber; };

    // Win: the winner at its odds.
    const TRunner& winner = runner(placed[0]);
    pay.win.push_back({{winner.horseNumber, 0, 0},
                       static_cast<std::int64_t>(winner.oddsTenths) * 10,
                       winner.popularity});

    // Place: the first three, the first two in a field of seven or fewer.
    const int places = m <= 7 ? 2 : 3;
    std::vector<double> placeChance(static_cast<std::size_t>(m), 0.0);
    for (int k = 0; k < m; ++k) {
        if (places == 3) {
            placeChance[static_cast<std::size_t>(k)] = place3[static_cast<std::size_t>(k)];
        } else {
            for (int j = 0; j < m; ++j) {
                placeChance[static_cast<std::size_t>(k)] +=
                    pair[static_cast<std::size_t>(k * m + j)] +
                    pair[static_cast<std::size_t>(j * m + k)];
            }
        }
    }
    for (int f = 0; f < places; ++f) {
        const int k = placed[f];
        if (k < 0) {
            continue;
        }
        pay.place.push_back({{number(k), 0, 0},
                             Payout(0.8, placeChance[static_cast<std::size_t>(k)]),
                             RankOf(placeChance, static_cast<std::size_t>(k))});
    }

    // Quinella chances of every pair, in pair order (i < j).
    std::vector<double> quinella;
    std::vector<std::pair<int, int>> pairs;
    for (int i = 0; i < m; ++i) {
        for (int j = i + 1; j < m; ++j) {
            quinella.push_back(pair[static_cast<std::size_t>(i * m + j)] +
                               pair[static_cast<std::size_t>(j * m + i)]);
            pairs.emplace_back(i, j);
        }
    }
    auto pairIndex = [&](int a, int b) {
        if (a > b) {
            std::swap(a, b);
        }
        for (std::size_t n = 0; n < pairs.size(); ++n) {
            if (pairs[n].first == a && pairs[n].second == b) {
                return n;
            }
        }
        return std::size_t{0};
    };
    auto sortedNumbers = [&](int a, int b) {
        const int x = number(a);
        const int y = number(b);
        return std::array<int, 3>{std::min(x, y), std::max(x, y), 0};
    };

    if (placed[1] >= 0) {
        // Bracket quinella, sold when the frames hold more than one horse.
        if (race.runners.size() >= 9) {
            double frames[9][9] = {};
            for (std::size_t n = 0; n < pairs.size(); ++n) {
                int a = runner(pairs[n].first).frame;
                int b = runner(pairs[n].second).frame;
                if (a > b) {
                    std::swap(a, b);
                }
                frames[a][b] += quinella[n];
            }
            std::vector<double> chances;
            std::vector<std::pair<int, int>> framePairs;
            for (int a = 1; a <= 8; ++a) {
                for (int b = a; b <= 8; ++b) {
                    if (frames[a][b] > 0) {
                        chances.push_back(frames[a][b]);
                        framePairs.emplace_back(a, b);
                    }
                }
            }
            int a = runner(placed[0]).frame;
            int b = runner(placed[1]).frame;
            if (a > b) {
                std::swap(a, b);
            }
            for (std::size_t n = 0; n < framePairs.size(); ++n) {
                if (framePairs[n] == std::make_pair(a, b)) {
                    pay.bracket.push_back(
                        {{a, b, 0}, Payout(0.775, chances[n]), RankOf(chances, n)});
                }
            }
        }
        // Quinella and exacta of the first two.
        const std::size_t qi = pairIndex(placed[0], placed[1]);
        pay.quinella.push_back({sortedNumbers(placed[0], placed[1]), Payout(0.775, quinella[qi]),
                                RankOf(quinella, qi)});
        const std::size_t ei = static_cast<std::size_t>(placed[0] * m + placed[1]);
        pay.exacta.push_back(
            {{number(placed[0]), number(placed[1]), 0}, Payout(0.75, pair[ei]), RankOf(pair, ei)});

        // Quinella place: the three pairs of the first three (one pair in small fields).
        if (places == 3 && placed[2] >= 0) {
            std::vector<double> wide(pairs.size(), 0.0);
            for (std::size_t n = 0; n < pairs.size(); ++n) {
                for (int k = 0; k < m; ++k) {
                    if (k == pairs[n].first || k == pairs[n].second) {
                        continue;
                    }
                    int s[3] = {pairs[n].first, pairs[n].second, k};
                    std::sort(s, s + 3);
                    wide[n] += set3[static_cast<std::size_t>((s[0] * m + s[1]) * m + s[2])];
                }
            }
            std::vector<std::pair<int, int>> winning = {
                {placed[0], placed[1]}, {placed[0], placed[2]}, {placed[1], placed[2]}};
            std::vector<TPayoff> entries;
            for (const auto& [a, b] : winning) {
                const std::size_t wi = pairIndex(a, b);
                entries.push_back({sortedNumbers(a, b), Payout(0.775, wide[wi]), RankOf(wide, wi)});
            }
            std::sort(entries.begin(), entries.end(),
                      [](const TPayoff& x, const TPayoff& y) { return x.numbers < y.numbers; });
            pay.wide = entries;
        } else {
            pay.wide.push_back(pay.quinella.front());
        }
    }
    if (placed[2] >= 0) {
        int s[3] = {placed[0], placed[1], placed[2]};
        int sortedByIndex[3] = {s[0], s[1], s[2]};
        std::sort(sortedByIndex, sortedByIndex + 3);
        const std::size_t ti = static_cast<std::size_t>(
            (sortedByIndex[0] * m + sortedByIndex[1]) * m + sortedByIndex[2]);
        // Rank among the sets that exist (i < j < k only hold chances).
        int rank = 1;
        for (std::size_t n = 0; n < set3.size(); ++n) {
            if (set3[n] > set3[ti] || (set3[n] == set3[ti] && set3[n] > 0 && n < ti)) {
                ++rank;
            }
        }
        std::array<int, 3> numbers = {number(s[0]), number(s[1]), number(s[2])};
        std::sort(numbers.begin(), numbers.end());
        pay.trio.push_back({numbers, Payout(0.75, set3[ti]), rank});

        const std::size_t oi = static_cast<std::size_t>((s[0] * m + s[1]) * m + s[2]);
        int orderRank = 1;
        for (std::size_t n = 0; n < ordered3.size(); ++n) {
            if (ordered3[n] > ordered3[oi] ||
                (ordered3[n] == ordered3[oi] && ordered3[n] > 0 && n < oi)) {
                ++orderRank;
            }
        }
        pay.trifecta.push_back(
            {{number(s[0]), number(s[1]), number(s[2])}, Payout(0.725, ordered3[oi]), orderRank});
    }
}

} // namespace

double Aptitude(const THorse& horse, const TRace& race, int age) noexcept {
    double a = horse.ability + Maturity(age, DateOf(race.day).month);
    if (race.ground != TGround::Jump) {
        const double fit = race.ground == TGround::Turf ? horse.turf : -horse.turf;
        a += 0.35 * fit;
        a -= 0.5 * DistanceMisfit(race.distance, horse.bestDistance);
    }
    return a;
}

void RunRace(TSeason& season, TRace& race, TRandom& rng) {
    auto& runners = race.runners;
    const int n = static_cast<int>(runners.size());
    const TDate date = DateOf(race.day);
    const int wet = WetnessOf(race);

    // Scratches (出走取消) and exclusions at the start (発走除外), never below five starters.
    for (auto& r : runners) {
        const double u = rng.Unit();
        r.abnormality = u < 0.010 ? '1' : u < 0.013 ? '2' : '0';
    }
    auto countStarters = [&] {
        return static_cast<int>(std::count_if(
            runners.begin(), runners.end(), [](const TRunner& r) { return r.abnormality == '0'; }));
    };
    for (auto& r : runners) {
        if (countStarters() >= 5) {
            break;
        }
        r.abnormality = '0';
    }
    std::vector<int> starters;
    for (int i = 0; i < n; ++i) {
        if (runners[static_cast<std::size_t>(i)].abnormality == '0') {
            starters.push_back(i);
        }
    }
    const int m = static_cast<int>(starters.size());
    race.starters = m;

    // What the betting and the running make of each starter.
    double meanWeight = 0;
    for (const int i : starters) {
        meanWeight += runners[static_cast<std::size_t>(i)].weight;
    }
    meanWeight /= m;
    std::vector<double> strength(static_cast<std::size_t>(m));
    std::vector<double> chance(static_cast<std::size_t>(m));
    double total = 0;
    for (int k = 0; k < m; ++k) {
        TRunner& r = runners[static_cast<std::size_t>(starters[static_cast<std::size_t>(k)])];
        const THorse& h = season.horses[static_cast<std::size_t>(r.horse)];
        const double s = Aptitude(h, race, r.age) +
                         0.5 * season.jockeys[static_cast<std::size_t>(r.jockey)].skill +
                         0.15 * wet * h.wetLiking - 0.035 * (r.weight - meanWeight) / 10.0;
        strength[static_cast<std::size_t>(k)] = s;
        const double e = DetExp(1.7 * (s + rng.Normal(0, 0.35)));
        chance[static_cast<std::size_t>(k)] = e;
        total += e;
    }
    // Even the rank outsider draws some money (no chance below one in a thousand), and no
    // favourite is backed below odds of 1.1.
    double floored = 0;
    for (auto& c : chance) {
        c = std::clamp(c / total, 0.001, 0.7);
        floored += c;
    }
    for (int k = 0; k < m; ++k) {
        TRunner& r = runners[static_cast<std::size_t>(starters[static_cast<std::size_t>(k)])];
        chance[static_cast<std::size_t>(k)] /= floored;
        r.market = chance[static_cast<std::size_t>(k)];
        r.oddsTenths = std::clamp(static_cast<int>(8.0 / r.market), 11, 9999);
    }
    // The market's chances as the odds give them back, so that payoffs agree with the odds.
    std::vector<double> q(static_cast<std::size_t>(m));
    double qTotal = 0;
    for (int k = 0; k < m; ++k) {
        q[static_cast<std::size_t>(k)] =
            1.0 /
            runners[static_cast<std::size_t>(starters[static_cast<std::size_t>(k)])].oddsTenths;
        qTotal += q[static_cast<std::size_t>(k)];
    }
    for (auto& v : q) {
        v /= qTotal;
    }
    for (int k = 0; k < m; ++k) {
        TRunner& r = runners[static_cast<std::size_t>(starters[static_cast<std::size_t>(k)])];
        int rank = 1;
        for (int j = 0; j < m; ++j) {
            const TRunner& o =
                runners[static_cast<std::size_t>(starters[static_cast<std::size_t>(j)])];
            if (o.oddsTenths < r.oddsTenths ||
                (o.oddsTenths == r.oddsTenths && o.horseNumber < r.horseNumber)) {
                ++rank;
            }
        }
        r.popularity = rank;
    }

    // The running: performance on the day, the odd horse that does not finish.
    std::vector<int> finishers;
    int stopped = 0;
    for (int k = 0; k < m; ++k) {
        TRunner& r = runners[static_cast<std::size_t>(starters[static_cast<std::size_t>(k)])];
        r.perf = strength[static_cast<std::size_t>(k)] + rng.Normal(0, 0.55);
        if (m - stopped - 1 >= 4 && rng.Chance(0.004)) {
            r.abnormality = '4';
            ++stopped;
        } else {
            finishers.push_back(starters[static_cast<std::size_t>(k)]);
        }
    }
    race.finishers = static_cast<int>(finishers.size());
    std::sort(finishers.begin(), finishers.end(), [&](int a, int b) {
        return runners[static_cast<std::size_t>(a)].perf >
               runners[static_cast<std::size_t>(b)].perf;
    });

    // Times in hundredths: the winner near the par of the race, the rest by how far they are
    // below it, now and then one eased down.
    const TCourse& course = CourseOf(race.course);
    static constexpr double kTurfGoing[] = {1.0, 1.008, 1.015, 1.025};
    static constexpr double kDirtGoing[] = {1.0, 0.995, 0.991, 0.988};
    static constexpr double kJumpGoing[] = {1.0, 1.01, 1.02, 1.03};
    const double goingFactor = race.ground == TGround::Turf   ? kTurfGoing[wet]
                               : race.ground == TGround::Dirt ? kDirtGoing[wet]
                                                              : kJumpGoing[wet];
    const double ageFactor = race.kind == 11                      ? 1.008
                             : race.kind == 12 && date.month <= 3 ? 1.003
                                                                  : 1.0;
    const double par = ParSeconds(race.ground, race.distance) * (1.0 + course.timeBias) *
                       (1.0 + 0.004 * (1 - race.level)) * goingFactor * ageFactor *
                       (1.0 + rng.Normal(0, 0.0035));
    const int winnerTime = static_cast<int>(par * 100.0 + 0.5);
    const bool jump = race.ground == TGround::Jump;
    const double spread = jump ? 300.0 * race.distance / 3000.0 : 75.0 * race.distance / 1600.0;
    const double best = runners[static_cast<std::size_t>(finishers.front())].perf;
    for (const int i : finishers) {
        TRunner& r = runners[static_cast<std::size_t>(i)];
        int t = winnerTime + static_cast<int>((best - r.perf) * spread + 0.5);
        if (i != finishers.front() && rng.Chance(jump ? 0.05 : 0.02)) {
            t += jump ? rng.Between(300, 1500) : rng.Between(80, 300);
        }
        r.hundredths = t;
    }
    std::stable_sort(finishers.begin(), finishers.end(), [&](int a, int b) {
        return runners[static_cast<std::size_t>(a)].hundredths <
               runners[static_cast<std::size_t>(b)].hundredths;
    });
    for (std::size_t k = 1; k < finishers.size(); ++k) {
        TRunner& r = runners[static_cast<std::size_t>(finishers[k])];
        const TRunner& ahead = runners[static_cast<std::size_t>(finishers[k - 1])];
        r.hundredths = std::max(r.hundredths, ahead.hundredths + 1); // no dead heats
    }

    // Arrival, the occasional demotion by the stewards (降着), final positions, margins.
    std::vector<int> finalOrder = finishers;
    if (finishers.size() >= 6 && rng.Chance(0.002)) {
        const std::size_t a = static_cast<std::size_t>(rng.Between(1, 4));
        runners[static_cast<std::size_t>(finalOrder[a])].abnormality = '7';
        std::swap(finalOrder[a], finalOrder[a + 1]);
    }
    for (std::size_t k = 0; k < finishers.size(); ++k) {
        TRunner& r = runners[static_cast<std::size_t>(finishers[k])];
        r.arrival = static_cast<int>(k) + 1;
        r.timeTenths = r.hundredths / 10;
        if (k > 0) {
            const int gap =
                r.hundredths - runners[static_cast<std::size_t>(finishers[k - 1])].hundredths;
            r.margin = MarginCode(gap / 17.0);
        }
    }
    for (std::size_t k = 0; k < finalOrder.size(); ++k) {
        runners[static_cast<std::size_t>(finalOrder[k])].finish = static_cast<int>(k) + 1;
    }
    const int winnerIndex = finalOrder.front();
    const int secondIndex = finalOrder.size() > 1 ? finalOrder[1] : -1;
    const TRunner& won = runners[static_cast<std::size_t>(winnerIndex)];
    for (const int i : starters) {
        TRunner& r = runners[static_cast<std::size_t>(i)];
        if (i == winnerIndex) {
            r.opponent = secondIndex;
            if (secondIndex >= 0) {
                r.diffSign = '-';
                r.diffTenths =
                    runners[static_cast<std::size_t>(secondIndex)].timeTenths - r.timeTenths;
            }
        } else {
            r.opponent = winnerIndex;
            if (r.timeTenths > 0) {
                r.diffSign = '+';
                r.diffTenths = r.timeTenths - won.timeTenths;
            }
        }
    }

    // Positions at the corners: early on by running style, nearer the finish by the result.
    const int cornerCount = CornerCount(race.ground, race.distance);
    const int firstCorner = cornerCount == 2 ? 2 : 0;
    static constexpr double kWeight4[] = {0.12, 0.2, 0.32, 0.5};
    static constexpr double kWeight2[] = {0.3, 0.5};
    std::vector<int> stopsBefore(static_cast<std::size_t>(n), 4);
    for (const int i : starters) {
        if (runners[static_cast<std::size_t>(i)].abnormality == '4') {
            stopsBefore[static_cast<std::size_t>(i)] = rng.Between(firstCorner, 3);
        }
    }
    const int finisherCount = static_cast<int>(finishers.size());
    for (int c = firstCorner; c < 4; ++c) {
        const double w = cornerCount == 2 ? kWeight2[c - 2] : kWeight4[c];
        std::vector<std::pair<double, int>> keys;
        for (const int i : starters) {
            if (stopsBefore[static_cast<std::size_t>(i)] <= c) {
                continue;
            }
            const TRunner& r = runners[static_cast<std::size_t>(i)];
            const double rank = r.arrival > 0 && finisherCount > 1
                                    ? (r.arrival - 1) / static_cast<double>(finisherCount - 1)
                                    : 1.0;
            const double style = season.horses[static_cast<std::size_t>(r.horse)].style;
            keys.emplace_back(w * rank + (1.0 - w) * (style + rng.Normal(0, 0.12)), i);
        }
        std::stable_sort(keys.begin(), keys.end());
        for (std::size_t k = 0; k < keys.size(); ++k) {
            runners[static_cast<std::size_t>(keys[k].second)].corners[static_cast<std::size_t>(c)] =
                static_cast<int>(k) + 1;
        }
    }

    // Sectional times: the leader's last three furlongs, each horse's from where it was at the
    // last corner.
    static constexpr double kTurfClosing[] = {0, 0.4, 0.9, 1.5};
    static constexpr double kDirtClosing[] = {0, -0.2, -0.4, -0.5};
    const double closing = race.ground == TGround::Dirt ? kDirtClosing[wet] : kTurfClosing[wet];
    const double lastThree = LastThreeParSeconds(race.ground, race.distance) + closing -
                             0.1 * std::min(race.level, 5) + rng.Normal(0, 0.5);
    const int leaderLastThree = static_cast<int>(lastThree * 100.0 + 0.5);
    race.lastThree = std::clamp((leaderLastThree + 5) / 10, 330, 400);
    race.lastFour = race.lastThree + (race.ground == TGround::Dirt ? 124 : 118);
    for (const int i : finishers) {
        TRunner& r = runners[static_cast<std::size_t>(i)];
        const int behind = (std::max(r.corners[3], 1) - 1) * 12;
        // Over jumps most of the gaps open before the last three furlongs.
        const int gap = r.hundredths - won.hundredths;
        const int own = (jump ? gap * 2 / 5 : gap) + leaderLastThree - behind;
        r.last3 = std::clamp((own + 5) / 10, 330, 400);
        r.last4 = r.last3 + static_cast<int>(rng.Normal(115, 3) + 0.5) +
                  (race.ground == TGround::Dirt ? 6 : 0) + (jump ? 12 : 0);
        const int pos4 = r.corners[3];
        const double f = m > 1 ? (pos4 - 1) / static_cast<double>(m - 1) : 0.0;
        r.styleCode = pos4 == 1 ? 1 : f <= 0.3 ? 2 : f <= 0.65 ? 3 : 4;
    }

    // Furlong times of the leader (flat races): the opening furlong from a standing start,
    // an even middle, and the closing three furlongs.
    race.laps.clear();
    if (!jump) {
        const int laps = (race.distance + 199) / 200;
        const int firstLength = race.distance - 200 * (laps - 1);
        const int totalTenths = won.timeTenths;
        const int closingTotal = race.lastThree;
        std::vector<double> weights(static_cast<std::size_t>(laps - 3));
        for (std::size_t k = 0; k < weights.size(); ++k) {
            weights[k] = k == 0 ? firstLength / 200.0 * 1.07 : 1.0 + rng.Normal(0, 0.02);
        }
        const double weightSum = std::accumulate(weights.begin(), weights.end(), 0.0);
        const int front = totalTenths - closingTotal;
        int used = 0;
        for (std::size_t k = 0; k < weights.size(); ++k) {
            const int lap = static_cast<int>(front * weights[k] / weightSum + 0.5);
            race.laps.push_back(lap);
            used += lap;
        }
        race.laps.back() += front - used;
        const int third = closingTotal / 3;
        const int a = third - 1 + rng.Below(3);
        const int b = third + rng.Below(2) - 1;
        race.laps.push_back(a);
        race.laps.push_back(b);
        race.laps.push_back(closingTotal - a - b);
    }

    // Prize money and body weights.
    for (auto& r : runners) {
        if (r.finish >= 1 && r.finish <= 5) {
            r.prize = race.prize[static_cast<std::size_t>(r.finish - 1)];
            r.added = r.finish <= 3 ? race.added[static_cast<std::size_t>(r.finish - 1)] : 0;
        }
        THorse& h = season.horses[static_cast<std::size_t>(r.horse)];
        if (r.abnormality == '1') {
            r.bodyWeight = 0;
            r.weightSign = ' ';
            r.weightChange = 999;
            continue;
        }
        if (h.bodyWeight == 0) {
            const int young = r.age <= 2 ? 18 : r.age == 3 ? 6 : 0;
            h.bodyWeight =
                std::clamp(h.baseWeight - young + static_cast<int>(rng.Normal(0, 6)), 360, 600);
            r.bodyWeight = h.bodyWeight;
            r.weightSign = ' ';
            r.weightChange = 0;
        } else {
            int change = static_cast<int>(std::lround(rng.Normal(r.age <= 2 ? 1.5 : 0.0, 4.0)));
            change = std::clamp(change, -16, 16);
            const int weight =
                std::clamp(h.bodyWeight + change, h.baseWeight - 50, h.baseWeight + 40);
            change = weight - h.bodyWeight;
            h.bodyWeight = weight;
            r.bodyWeight = weight;
            r.weightSign = change > 0 ? '+' : change < 0 ? '-' : ' ';
            r.weightChange = std::abs(change);
        }
    }

    // Only a published race has its payoffs in the records; the weekends simulated before
    // the published ones leave them out, as the dearest part of a race to work out.
    if (race.published) {
        MakePayoffs(race, starters, q);
    }
}

} // namespace standin::season
