// The simulated racing world behind the built-in season: the people and horses, the races of
// every weekend with their runners and results, and the course records. SimulateSeason makes
// it; the record writers (SeasonRecords.h) turn it into JV-Data records.
//
// Texts are Shift-JIS. Money is in units of 100 yen, weights carried in 0.1 kg, times in
// tenths of a second unless a name says otherwise; days are day numbers (SeasonCalendar.h).
#pragma once

#include "jvlink/standin/SeasonCalendar.h"
#include "jvlink/standin/SeasonCourses.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace standin::season {

// The horse master's 27 placing-count groups (as jvdata::UM::TPlacingGroup) and 6 places.
inline constexpr int kPlacingGroups = 27;
inline constexpr int kPlaces = 6;

// What a horse has done in its whole career, as its horse master record keeps it.
struct TCareer {
    std::array<std::array<std::uint16_t, kPlaces>, kPlacingGroups> counts{}; // 1st..5th, 6th+
    std::int64_t flatPrize = 0;    // prize money (本賞金) won on the flat
    std::int64_t jumpPrize = 0;    // and over jumps
    std::int64_t flatAdded = 0;    // added money (付加賞金) won on the flat
    std::int64_t jumpAdded = 0;    // and over jumps
    std::int64_t flatEarnings = 0; // earnings counted for the class (収得賞金), flat
    std::int64_t jumpEarnings = 0; // and jump
    std::array<int, 4> styles{};   // runs as front-runner, prominent, mid-field, held up
    int flatRuns = 0;
    int flatWins = 0;
    int jumpRuns = 0;
    int jumpWins = 0;
};

// One entry of a pedigree: a 36-byte name and a 10-digit breeding registration number.
struct TAncestor {
    std::string name;
    std::string number;
};

struct THorse {
    std::string number; // registration number, 10 digits; the first four the foaling year
    std::string name;   // katakana, at most nine characters
    int foalYear = 0;
    int birthDay = 0;       // day number of the birth
    char sex = '1';         // sex code: 1 colt, 2 filly, 3 gelding
    std::string coat;       // coat colour code, 2 digits
    std::string symbol;     // horse symbol code, 2 digits
    std::string invitation; // invited from abroad for one international race: the country it
                            // came from (Shift-JIS); empty for every horse trained here
    std::string homeCourse; // an invited horse's racecourse code abroad ("A4" ...), where it
                            // ran its last race before the invitation
    std::vector<TAncestor> pedigree; // 父, 母, 父父, 父母, 母父, 母母, then the third row (14
                                     // entries once the horse is published, empty before)
    int trainer = 0; // index into TSeason::trainers
    int owner = 0;   // index into TSeason::owners
    int breeder = 0; // index into TSeason::breeders
    int sire = 0;    // index of its sire among the season's stallions
    int mare = 0;    // index of its dam among the season's broodmares

    // Racing character, hidden from the records.
    double ability = 0; // class of the horse, about standard normal
    double turf = 0;    // -1 dirt horse .. +1 turf horse
    int bestDistance = 1600;
    double style = 0.5;   // 0 front-runner .. 1 held up
    double wetLiking = 0; // better (+) or worse (-) on soft ground
    bool blinkers = false;
    int baseWeight = 470; // body weight in kg as a mature horse

    // Career state while the season is simulated.
    int debutDay = 0;    // earliest day of its first run
    bool jumper = false; // runs over jumps now
    TCareer career;
    int bodyWeight = 0; // last weighed body weight in kg, 0 before the first run
    int readyDay = 0;   // earliest day of its next run
    int lastRunDay = -1;
    bool retired = false;
    int retireDay = 0;

    // What the published season holds of it.
    int seasonRuns = 0;     // starts in the published weeks
    int lastSeasonDay = -1; // last race day of the published weeks it was in, run or not
    int firstEntryDay = -1; // the first race it was entered for in the simulated weeks
    bool entered = false;   // in the coming weekend's card
};

struct TJockey {
    std::string name; // short name, four full-width characters
    int code = 0;     // jockey code, 5 digits
    TRegion region = TRegion::East;
    double skill = 0;
    int allowance = 0; // apprentice allowance in kg, 0 for a full jockey (one without a
                       // licence year; with one it follows from the years since)
    int firstYear = 0; // the year of its licence; 0 riding since before any simulated day
    int lastYear = 0;  // the last year it rides; 0 riding on past the season
};

struct TTrainer {
    std::string name; // short name, four full-width characters
    int code = 0;     // trainer code, 5 digits
    TRegion region = TRegion::East;
    int firstYear = 0; // the year its stable opened; 0 open since before any simulated day
    int lastYear = 0;  // the last year it trains (it retires at the end of it); 0 training on
};

// Whether a jockey rides, or a trainer trains, in a year.
template <class Person>
bool ActiveIn(const Person& person, int year) noexcept {
    return (person.firstYear == 0 || year >= person.firstYear) &&
           (person.lastYear == 0 || year <= person.lastYear);
}

// The apprentice allowance in kg a jockey claims in a year: the fixed one of a jockey without
// a licence year, else 3 kg in the first year of the licence, 2 in the second, 1 in the third.
inline int AllowanceIn(const TJockey& jockey, int year) noexcept {
    if (jockey.firstYear == 0) {
        return jockey.allowance;
    }
    const int years = year - jockey.firstYear;
    return years >= 0 && years < 3 ? 3 - years : 0;
}

struct TOwner {
    std::string name;
    int code = 0;      // owner code, 6 digits
    std::string crown; // crown name for its horses, may be empty
};

struct TBreeder {
    std::string name;
    int code = 0;      // breeder code, 8 digits
    std::string place; // place of birth of its horses
};

// One runner of a race, in horse-number order within the race.
struct TRunner {
    int horse = 0;       // index into TSeason::horses
    int horseNumber = 0; // 1-18
    int frame = 0;       // 1-8
    int jockey = 0;      // index into TSeason::jockeys
    int trainer = 0;     // index into TSeason::trainers
    int age = 0;
    int weight = 0;        // weight carried, 0.1 kg
    char apprentice = '0'; // apprentice code: the allowance taken in kg, '0' none
    bool blinkers = false;

    // Results (all zero on a card).
    int bodyWeight = 0;           // kg; 0 not weighed
    char weightSign = ' ';        // '+', '-' or ' '
    int weightChange = 0;         // kg; 999 not weighed
    char abnormality = '0';       // abnormality code: 1 scratched, 2 excluded at the start,
                                  // 4 failed to finish, 7 demoted
    int arrival = 0;              // order of arrival, 0 none
    int finish = 0;               // final position, 0 none
    int timeTenths = 0;           // race time, 0 none
    int hundredths = 0;           // the race time before it is cut to tenths
    std::string margin;           // margin code to the horse in front, empty for the winner
    std::array<int, 4> corners{}; // positions at corners 1-4, 0 none
    int oddsTenths = 0;           // win odds in 0.1
    int popularity = 0;           // win popularity rank
    std::int64_t prize = 0;       // prize money won
    std::int64_t added = 0;       // added money won
    int last4 = 0;                // last four furlongs in tenths, 0 none
    int last3 = 0;                // last three furlongs in tenths, 0 none
    int opponent = -1;            // runner index of the first opponent (winner, or 2nd for it)
    char diffSign = '0';          // time difference to it: '+', '-', or '0' with no time
    int diffTenths = 0;
    int styleCode = 0;      // running style of the run: 1 led .. 4 held up, 0 none
    bool firstRun = false;  // the horse's first start
    bool setRecord = false; // this run set a course record

    // Hidden.
    double market = 0; // win chance the betting gives it
    double perf = 0;
};

// One payoff entry: horse (or frame) numbers in the order the bet type writes them.
struct TPayoff {
    std::array<int, 3> numbers{};
    std::int64_t payout = 0; // yen per 100-yen ticket
    int popularity = 0;
};

struct TPayoffs {
    std::vector<TPayoff> win, place, bracket, quinella, wide, exacta, trio, trifecta;
};

struct TRace {
    int day = 0;    // day number of the race
    int course = 0; // racecourse code 1-10
    int meeting = 0;
    int dayOfMeeting = 0;
    int raceNumber = 0;    // 1-12
    int role = 0;          // role of its meeting in the weekend (TCourseDay::role)
    bool card = false;     // the coming weekend's card: entries without results
    bool published = true; // false for the weekends simulated before the published weeks

    int kind = 13;                   // race type code: 11, 12, 13, 14, 18, 19
    std::array<int, 4> conditions{}; // condition codes for 2-, 3-, 4- and 5-year-olds and up
    int youngest = 0;                // condition code of the youngest age group that may run
    int level = 0;                   // 0 maiden, 1-3 the winners' classes, 4 open, 5 graded, 6 G1
    char grade = ' ';          // grade code: ' ' general race, E special, L listed, C/B/A G3-G1,
                               // H/G/F jump G3-G1
    int gradedCount = 0;       // how many times the graded race has been run, 0 for others
    int specialNumber = 0;     // number of the special race, 0 for a general race
    std::string name;          // race name, empty for a general race
    std::string conditionName; // race condition name such as "３歳以上１勝クラス"
    std::string symbol;        // race symbol code, 3 characters
    char weightRule = '4';     // weight rule code: 1 handicap, 2 allowance, 3 age, 4 set weights
    char sexLimit = ' ';       // '2' for fillies and mares only
    TGround ground = TGround::Turf;
    int distance = 1600;
    int track = 11;
    std::array<std::int64_t, 7> prize{}; // prize money for places 1-7
    std::array<std::int64_t, 5> added{}; // added money for places 1-5
    int postTime = 1000;                 // hhmm
    int target = 16;                     // field size planned

    // Results.
    char weather = '0';   // weather code, '0' unknown (a card)
    char turfGoing = '0'; // going codes 1 good .. 4 bad, '0' unknown
    char dirtGoing = '0';
    int starters = 0;
    int finishers = 0;
    std::vector<int> laps; // furlong times of the leader in tenths, first to last
    int lastThree = 0;     // the race's last three and four furlongs in tenths
    int lastFour = 0;
    bool record = false; // a course record was set
    std::vector<TRunner> runners;
    TPayoffs payoffs;
};

// The course record of one racecourse, race type, distance and track.
struct TCourseRecord {
    int course = 0;
    int kind = 0;
    int distance = 0;
    int track = 0;
    int day = 0; // when it was set
    int meeting = 0;
    int dayOfMeeting = 0;
    int raceNumber = 0;
    std::string raceName;
    char grade = ' ';
    int timeTenths = 0;
    char weather = '1';
    char turfGoing = '1';
    char dirtGoing = '1';
    std::string holderNumber;
    std::string holderName;
    std::string holderSymbol;
    char holderSex = '1';
    std::string trainerName;
    int trainerCode = 0;
    std::string jockeyName;
    int jockeyCode = 0;
    int weight = 0; // weight carried, 0.1 kg
    bool setInSeason = false;
    int lastRunDay = -1; // the last published race over this course
    bool inCard = false;
};

struct TSeason {
    int today = 0;
    int cardSaturday = 0;             // the coming weekend
    std::vector<int> resultSaturdays; // the past weekends published, oldest first
    std::vector<THorse> horses;
    std::vector<TJockey> jockeys;
    std::vector<TTrainer> trainers;
    std::vector<TOwner> owners;
    std::vector<TBreeder> breeders;
    std::vector<TRace> races; // by day, racecourse role, race number
    std::vector<TCourseRecord> records;
};

// Simulates the weeks of results up to `today` and the coming weekend's card; with setupYears
// (1 to kMaxSetupYears) the world of kMaxSetupYears years, with people's careers, and every
// weekend of the last setupYears years published.
TSeason SimulateSeason(std::uint32_t seed, int today, int weeks, int setupYears = 0);

} // namespace standin::season
