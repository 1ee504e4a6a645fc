// What the parts of the season simulation share: the population, the programme of a weekend,
// the running of a race, and the rules of careers (classes, weights, prize money).
#pragma once

#include "jvlink/standin/SeasonModel.h"
#include "jvlink/standin/SeasonRandom.h"

#include <array>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

namespace standin::season {

// ---- Ages and classes -----------------------------------------------------------------------

// Age of a horse on a day (it turns a year older on 1 January).
inline int AgeOn(const THorse& horse, int day) noexcept {
    return DateOf(day).year - horse.foalYear;
}

// The last day of the 3-year-old maiden races: a flat maiden is done after it.
inline int MaidenCutoff(const THorse& horse) noexcept {
    return DayNumber(horse.foalYear + 3, 9, 10);
}

// |log2(distance / best)|: how far a distance is from a horse's best one, in doublings.
// Distances are whole tens of metres up to 5000.
double DistanceMisfit(int distance, int best) noexcept;

// How far a horse is from its mature strength at an age and month.
double Maturity(int age, int month) noexcept;

// Entry buckets: flat horses by age group (2, 3, 4 and up) and class (0 unraced, 1 raced
// maiden, 2-4 one to three wins, 5 open), then jump maidens and jump winners.
inline constexpr int kBuckets = 20;
inline constexpr int kJumpMaidenBucket = 18;
inline constexpr int kJumpOpenBucket = 19;
int BucketOf(const THorse& horse, int day) noexcept;

// The classes of races a programme slot can hold.
enum class TClass {
    TwoNew,      // 2歳新馬
    TwoMaiden,   // 2歳未勝利
    TwoOne,      // 2歳1勝クラス
    TwoOpen,     // 2歳オープン and graded
    ThreeNew,    // 3歳新馬
    ThreeMaiden, // 3歳未勝利
    ThreeOne,    // 3歳1勝クラス
    ThreeOpen,   // 3歳オープン and graded
    UpOne,       // 3歳以上 / 4歳以上 1勝クラス
    UpTwo,       // 2勝クラス
    UpThree,     // 3勝クラス
    UpOpen,      // オープン and graded
    JumpMaiden,  // 障害未勝利
    JumpOpen,    // 障害オープン and jump graded
    Count,
};

// The buckets whose horses a race of a class takes first, and those that may step up into it
// when the field is short (格上挑戦). `day` decides whether 3-year-olds meet their elders.
struct TEntryRule {
    std::vector<int> primary;
    std::vector<int> secondary;
};
TEntryRule EntryRuleOf(TClass cls, int day);

// ---- Money ----------------------------------------------------------------------------------

// Prize money for places 1-7 and added money for places 1-5 of a race as planned.
void SetPrizeMoney(TRace& race, TRandom& rng);
// Prize money of the winner of a general race of a class (for runs before the season).
std::int64_t GeneralFirstPrize(int kind, int level, bool newcomers) noexcept;
// The share of the first prize paid to places 1-5, in units of 100 yen rounded down to 10,000
// yen.
std::int64_t PlacePrize(std::int64_t first, int place) noexcept;

// ---- Careers --------------------------------------------------------------------------------

// One run as the horse master counts it.
struct TRunFacts {
    TGround ground = TGround::Turf;
    int track = 11;
    int distance = 1600;
    char going = '1'; // going code of the ground run on ('1'-'4')
    int finish = 0;   // final position; 0 for a horse that did not finish
    std::int64_t prize = 0;
    std::int64_t added = 0;
    int level = 0;
    char grade = ' ';
    int styleCode = 0; // 1 led .. 4 held up, 0 none
};
// Adds a start to the career: placing counts, money, earnings for the class and style.
void CreditRun(TCareer& career, const TRunFacts& run);

// ---- Population -----------------------------------------------------------------------------

// Names in use, so that no two horses share one.
class TNameBook {
public:
    // A new horse name of at most nine katakana, with the crown name when one is given.
    std::string HorseName(TRandom& rng, const std::string& crown);
    // A new name for a dam or an ancestor.
    std::string MareName(TRandom& rng);
    bool Taken(const std::string& name) const { return used_.count(name) != 0; }

private:
    std::string Claim(std::string name);
    std::unordered_set<std::string> used_;
};

// Jockeys, trainers, owners and breeders. With careers, from a draw of their own (so that the
// others come out the same), the jockeys and trainers get the years they work between
// firstYear and lastYear, and each one who stops is followed the next year by a newcomer of
// the same training centre: an apprentice jockey or a new stable.
void MakePeople(TSeason& season, TRandom& rng);
void AddCareers(TSeason& season, std::uint64_t seed, int firstYear, int lastYear);

// The stallions of the season with their own pedigrees: entries 0, 2, 3, 6-9 of a foal's
// pedigree for a sire, entries 4, 10, 11 for a dam's sire.
struct TStallion {
    TAncestor self;
    TAncestor sire;
    TAncestor dam;
    TAncestor sireSire;
    TAncestor sireDam;
    TAncestor damSire;
    TAncestor damDam;
    double turf = 0; // what it passes on: turf or dirt, distance
    int distance = 1700;
};
// A broodmare: her own sire among the dams' sires, and her dam line, named when a foal of
// hers is published.
struct TMare {
    int sire = 0; // index into TStud::damSires
    TAncestor self;
    TAncestor dam;     // the foal's 母母
    TAncestor damSire; // 母母父
    TAncestor damDam;  // 母母母
    bool named = false;
};
struct TStud {
    std::vector<TStallion> sires;
    std::vector<TStallion> damSires;
    std::vector<TMare> mares;
};
TStud MakeStud(TNameBook& names, TRandom& rng);
// Names a horse's whole pedigree (and its dam's line on first use, from a draw of the dam's
// own, so that she has the same name whoever names her first).
void FillPedigree(THorse& horse, TStud& stud, TNameBook& names, std::uint64_t seed);

// The foals of one year, appended to the season's horses.
void MakeCrop(TSeason& season, const TStud& stud, TNameBook& names, int year, int count,
              std::uint64_t seed);

// ---- A weekend ------------------------------------------------------------------------------

// The races of one racing day at one racecourse, planned from the ready horses of each
// bucket (`supply`, lowered as races take them).
void PlanDay(std::vector<TRace>& races, const TCourseDay& courseDay, int day,
             std::array<int, kBuckets>& supply, std::uint64_t seed, TRandom& rng);

// Sets everything a race of the class has: race type and conditions, level, name, course,
// weight rule, race symbol and prize money. The grade is kept (a general race when ' ').
void ConfigureRace(TRace& race, TClass cls, TRandom& rng, std::uint64_t seed);

// The class a planned race was planned for (read back from its kind and condition).
TClass ClassOf(const TRace& race) noexcept;

// Weight carried by a runner before any apprentice allowance.
int WeightCarried(const TRace& race, const THorse& horse, int age) noexcept;

// Runs a race whose runners are entered: scratches, the betting, the running, the result,
// the payoffs. Careers are not credited here.
void RunRace(TSeason& season, TRace& race, TRandom& rng);

// Strength of a horse in a race (ability, maturity, liking for the ground and distance).
double Aptitude(const THorse& horse, const TRace& race, int age) noexcept;

} // namespace standin::season
