// The stand-in service's built-in season: deterministic bytes, well-formed records, and a
// season that holds together the way the program's pages rely on (cards and results, frames,
// payoffs, times and margins, horse masters, course records).
#include "jvdata/KeibaFunc.h"
#include "jvdata/Records.h"
#include "jvdata/SjisText.h"
#include "jvlink/standin/Catalogue.h"
#include "jvlink/standin/CatalogueCheck.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace jvdata;
using keiba::test::S;
using keiba::test::Show;
using standin::TCatalogue;
using standin::TSeasonOptions;

constexpr const char* kToday = "20260101";

TSeasonOptions Options(std::uint32_t seed, const char* today, int weeks) {
    TSeasonOptions options;
    options.seed = seed;
    options.today = today;
    options.weeks = weeks;
    return options;
}

// One race of the catalogue: its RA, runners in horse-number order, payoffs.
struct TRaceView {
    TRecordRA ra;
    std::vector<TRecordSE> runners;
    std::optional<TRecordHR> hr;
    std::string file;
};

// The default season read back through the record layouts, once for all tests here.
class SeasonTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        catalogue_ = new TCatalogue(standin::GenerateSeason(Options(20040501, kToday, 26)));
        races_ = new std::map<std::string, TRaceView>();
        horses_ = new std::map<std::string, TRecordUM>();
        courseRecords_ = new std::vector<TRecordRC>();
        runsAbroad_ = new std::vector<TRecordSE>();
        for (const auto& file : catalogue_->files) {
            if (file.dataspec == "DIFN") {
                continue; // the accumulated copies of the RCVN masters
            }
            for (const auto& bytes : file.records) {
                const std::string type = bytes.substr(0, 2);
                // Cards and results of the same race are told apart by the data kind.
                const std::string key = bytes.size() > 27 ? bytes.substr(11, 16) + bytes[2] : "";
                if (type == "RA") {
                    auto& race = (*races_)[key];
                    race.ra = *TRecordRA::FromBytes(bytes);
                    race.file = file.name;
                } else if (type == "SE" && IsRaceAbroad(bytes)) {
                    // An invited horse's last race at home abroad: its runner record alone.
                    runsAbroad_->push_back(*TRecordSE::FromBytes(bytes));
                } else if (type == "SE") {
                    (*races_)[key].runners.push_back(*TRecordSE::FromBytes(bytes));
                } else if (type == "HR") {
                    (*races_)[key].hr = TRecordHR::FromBytes(bytes);
                } else if (type == "UM") {
                    const auto um = *TRecordUM::FromBytes(bytes);
                    (*horses_)[std::string(um.RegistrationNumber())] = um;
                } else if (type == "RC") {
                    courseRecords_->push_back(*TRecordRC::FromBytes(bytes));
                }
            }
        }
        for (auto& [key, race] : *races_) {
            std::sort(race.runners.begin(), race.runners.end(),
                      [](const TRecordSE& a, const TRecordSE& b) {
                          return a.Int(SE::kHorseNumber) < b.Int(SE::kHorseNumber);
                      });
        }
    }
    static void TearDownTestSuite() {
        delete catalogue_;
        delete races_;
        delete horses_;
        delete courseRecords_;
        delete runsAbroad_;
    }

    static const TCatalogue& Catalogue() { return *catalogue_; }
    static const std::map<std::string, TRaceView>& Races() { return *races_; }
    static const std::map<std::string, TRecordUM>& Horses() { return *horses_; }
    static const std::vector<TRecordRC>& CourseRecords() { return *courseRecords_; }
    static const std::vector<TRecordSE>& RunsAbroad() { return *runsAbroad_; }
    // A racecourse abroad has a code of a letter and a digit ("A4"), one here two digits.
    static bool IsRaceAbroad(std::string_view record) {
        return record.size() > 20 && (record[19] < '0' || record[19] > '9');
    }

    static bool IsResult(const TRaceView& race) { return race.ra.DataKind() == '7'; }
    static bool Started(const TRecordSE& se) {
        const char a = se.At(SE::kAbnormalityCode.first);
        return a != '1' && a != '2';
    }

private:
    static TCatalogue* catalogue_;
    static std::map<std::string, TRaceView>* races_;
    static std::map<std::string, TRecordUM>* horses_;
    static std::vector<TRecordRC>* courseRecords_;
    static std::vector<TRecordSE>* runsAbroad_;
};

TCatalogue* SeasonTest::catalogue_ = nullptr;
std::map<std::string, TRaceView>* SeasonTest::races_ = nullptr;
std::map<std::string, TRecordUM>* SeasonTest::horses_ = nullptr;
std::vector<TRecordRC>* SeasonTest::courseRecords_ = nullptr;
std::vector<TRecordSE>* SeasonTest::runsAbroad_ = nullptr;

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Seconds of a race time field MSSF in tenths.
int Tenths(std::string_view mssf) {
    return (mssf[0] - '0') * 600 + (mssf[1] - '0') * 100 + (mssf[2] - '0') * 10 + (mssf[3] - '0');
}

// ---- Determinism ----------------------------------------------------------------------------

TEST(SeasonGenerator, SameSeedAndDateGiveTheSameBytes) {
    const auto a = standin::GenerateSeason(Options(7, "20250614", 4));
    const auto b = standin::GenerateSeason(Options(7, "20250614", 4));
    ASSERT_EQ(a.files.size(), b.files.size());
    for (std::size_t i = 0; i < a.files.size(); ++i) {
        EXPECT_EQ(a.files[i].name, b.files[i].name);
        EXPECT_EQ(a.files[i].dataspec, b.files[i].dataspec);
        EXPECT_EQ(a.files[i].timestamp, b.files[i].timestamp);
        EXPECT_TRUE(a.files[i].records == b.files[i].records) << a.files[i].name;
    }
}

TEST(SeasonGenerator, AnotherSeedOrDateGivesAnotherSeason) {
    const auto base = standin::GenerateSeason(Options(7, "20250614", 4));
    const auto seed = standin::GenerateSeason(Options(8, "20250614", 4));
    const auto date = standin::GenerateSeason(Options(7, "20250621", 4));
    auto bytes = [](const TCatalogue& c) {
        std::string all;
        for (const auto& f : c.files) {
            all += f.name + standin::DataFileBytes(f);
        }
        return all;
    };
    EXPECT_NE(bytes(base), bytes(seed));
    EXPECT_NE(bytes(base), bytes(date));
    // The calendar does not depend on the seed: the same files, other contents.
    ASSERT_EQ(base.files.size(), seed.files.size());
    EXPECT_EQ(base.files.front().name, seed.files.front().name);
}

TEST(SeasonGenerator, LastWeeksCardIsThisWeeksResult) {
    // A week apart within one simulation period: the card of 10-11 January published on the
    // 8th comes back as that weekend's results on the 15th, with the same runners.
    const auto before = standin::GenerateSeason(Options(11, "20260108", 26));
    const auto after = standin::GenerateSeason(Options(11, "20260115", 26));
    std::map<std::string, std::vector<std::string>> card;    // race key -> runners
    std::map<std::string, std::vector<std::string>> results; // the same from the results
    std::map<std::string, std::string> namesBefore;
    std::map<std::string, std::string> namesAfter;
    auto runner = [](const std::string& se) {
        // horse number, registration number, name, weight carried, jockey
        return se.substr(28, 48) + se.substr(288, 3) + se.substr(306, 8);
    };
    std::map<std::string, std::string> cardRaces; // race key -> name, conditions, course
    std::map<std::string, std::string> resultRaces;
    auto race = [](const std::string& ra) {
        return ra.substr(32, 60) + ra.substr(604, 104) + ra.substr(713, 56) + ra.substr(873, 4);
    };
    for (const auto& file : before.files) {
        for (const auto& r : file.records) {
            if (r.starts_with("RA2")) {
                cardRaces[r.substr(11, 16)] = race(r);
            }
            if (r.starts_with("SE2")) {
                card[r.substr(11, 16)].push_back(runner(r));
            }
            if (r.starts_with("SE")) {
                namesBefore[r.substr(30, 10)] = r.substr(40, 36);
            }
        }
    }
    for (const auto& file : after.files) {
        for (const auto& r : file.records) {
            if (r.starts_with("RA7") && card.count(r.substr(11, 16)) != 0) {
                resultRaces[r.substr(11, 16)] = race(r);
            }
            if (r.starts_with("SE7") && card.count(r.substr(11, 16)) != 0) {
                results[r.substr(11, 16)].push_back(runner(r));
            }
            if (r.starts_with("SE")) {
                namesAfter[r.substr(30, 10)] = r.substr(40, 36);
            }
        }
    }
    ASSERT_GE(card.size(), 24u);
    EXPECT_TRUE(resultRaces == cardRaces) << "the same races";
    EXPECT_TRUE(results == card) << "the same runners under the same numbers";
    int both = 0;
    for (const auto& [number, name] : namesBefore) {
        if (const auto it = namesAfter.find(number); it != namesAfter.end()) {
            EXPECT_EQ(it->second, name) << number << " keeps its name";
            ++both;
        }
    }
    EXPECT_GT(both, 5000);
}

TEST(SeasonGenerator, RefusesADateThatIsNoDate) {
    EXPECT_THROW(standin::GenerateSeason(Options(1, "20260230", 26)), std::invalid_argument);
    EXPECT_THROW(standin::GenerateSeason(Options(1, "2026-1-1", 26)), std::invalid_argument);
    EXPECT_THROW(standin::GenerateSeason(Options(1, "99991231", 26)), std::invalid_argument);
    EXPECT_THROW(standin::GenerateSeason(Options(1, kToday, -1)), std::invalid_argument);
}

TEST(SeasonGenerator, NoWeeksOfResultsStillPublishesTheCard) {
    const auto catalogue = standin::GenerateSeason(Options(3, kToday, 0));
    EXPECT_EQ(standin::CheckCatalogue(catalogue), "");
    std::set<std::string> kinds;
    for (const auto& file : catalogue.files) {
        EXPECT_FALSE(file.name.starts_with("RA7")) << file.name;
        for (const auto& record : file.records) {
            if (record.starts_with("RA") || record.starts_with("SE")) {
                kinds.insert(record.substr(2, 1));
            }
        }
    }
    EXPECT_EQ(kinds, std::set<std::string>{"2"});
}

// ---- Files ----------------------------------------------------------------------------------

TEST_F(SeasonTest, FilesArePublishedUnderTheIdentifiersTheProgramAsksFor) {
    EXPECT_EQ(standin::CheckCatalogue(Catalogue()), "");
    std::map<std::string, std::set<std::string>> typesBySpec;
    for (const auto& file : Catalogue().files) {
        for (const auto& record : file.records) {
            typesBySpec[file.dataspec].insert(record.substr(0, 2));
        }
    }
    // "RACERCVN": race data under RACE, horse masters and course records under RCVN; a setup's
    // "RACEDIFN" finds the same masters and records under DIFN.
    EXPECT_EQ(typesBySpec["RACE"], (std::set<std::string>{"HR", "O1", "RA", "SE"}));
    EXPECT_EQ(typesBySpec["RCVN"], (std::set<std::string>{"RC", "UM"}));
    EXPECT_EQ(typesBySpec["DIFN"], (std::set<std::string>{"RC", "UM"}));
    EXPECT_EQ(typesBySpec.size(), 3u);
}

TEST_F(SeasonTest, ResultsComeTheMondayAfterAndTheCardTheFridayBefore) {
    for (const auto& [key, race] : Races()) {
        const std::string date(race.ra.RaceDate());
        const auto file = std::find_if(Catalogue().files.begin(), Catalogue().files.end(),
                                       [&](const auto& f) { return f.name == race.file; });
        ASSERT_NE(file, Catalogue().files.end());
        const std::string published = file->timestamp.substr(0, 8);
        // Saturday races are published two days later, Sunday races one (Monday), cards
        // one and two days before (Friday).
        const char weekday = race.ra.At(RA::kWeekdayCode.first);
        ASSERT_TRUE(weekday == '1' || weekday == '2') << key;
        const int date8 = std::atoi(date.c_str());
        const int pub8 = std::atoi(published.c_str());
        if (IsResult(race)) {
            EXPECT_GT(pub8, date8) << key;
            EXPECT_EQ(std::string(race.ra.CreationDate()), published) << key;
        } else {
            EXPECT_EQ(race.ra.DataKind(), '2') << key;
            EXPECT_LT(pub8, date8) << key;
            EXPECT_GT(date8, std::atoi(kToday) - 2) << "the card is for the coming weekend";
        }
    }
}

// ---- Record form ----------------------------------------------------------------------------

// The numeric fields of each layout, which must hold digits of their width.
const std::vector<TFieldPos>& NumericFields(std::string_view type) {
    static const std::vector<TFieldPos> kRA = [] {
        std::vector<TFieldPos> f = {
            RaceKey::kRaceKey,   RA::kGradedRaceCount,   RA::kRaceTypeCode,
            RA::kCondition2yo,   RA::kCondition3yo,      RA::kCondition4yo,
            RA::kCondition5yoUp, RA::kConditionYoungest, RA::kDistance,
            RA::kTrackCode,      RA::kPrizeMoneyAll,     RA::kAddedMoneyAll,
            RA::kPostTime,       RA::kRegisteredRunners, RA::kStarters,
            RA::kFinishers,      RA::kWeatherCode,       RA::kTurfGoingCode,
            RA::kDirtGoingCode,  RA::kWeekdayCode,       Header::kCreationDate};
        return f;
    }();
    static const std::vector<TFieldPos> kSE = {
        RaceKey::kRaceKey,       SE::kFrameNumber,      SE::kHorseNumber,
        SE::kRegistrationNumber, SE::kHorseSymbolCode,  SE::kSexCode,
        SE::kBreedCode,          SE::kCoatColourCode,   SE::kAge,
        SE::kWeightCarried,      SE::kBlinker,          SE::kApprenticeCode,
        SE::kBodyWeight,         SE::kBodyWeightChange, SE::kAbnormalityCode,
        SE::kArrivalOrder,       SE::kFinishPosition,   SE::kRaceTime,
        SE::kCornerPositionsAll, SE::kWinOdds,          SE::kWinPopularity,
        SE::kPrizeMoney,         SE::kAddedMoney,       SE::kLast4Furlongs,
        SE::kLast3Furlongs,      SE::kTimeDiffValue,    Header::kCreationDate};
    static const std::vector<TFieldPos> kHR = [] {
        std::vector<TFieldPos> f = {RaceKey::kRaceKey, Header::kCreationDate};
        for (const auto& g : HR::kPayoffGroups) {
            f.push_back(g.Range());
        }
        return f;
    }();
    static const std::vector<TFieldPos> kUM = {
        UM::kRegistrationNumber, UM::kDeregistered,   UM::kDeregistrationDate,
        UM::kBirthDate,          UM::kFlatPrizeMoney, UM::kJumpPrizeMoney,
        UM::kFlatAddedMoney,     UM::kJumpAddedMoney, UM::kFlatEarnings,
        UM::kJumpEarnings,       UM::kPlacingCounts,  Header::kCreationDate};
    static const std::vector<TFieldPos> kRC = {
        RC::kIdKind,           RC::kRaceKey,       RC::kRaceTypeCode,
        RC::kDistance,         RC::kTrackCode,     RC::kRecordKind,
        RC::kRecordTime,       RC::kWeatherCode,   RC::kHolderRegistrationNumber,
        RC::kHolderSymbolCode, RC::kHolderSexCode, RC::kHolderWeightCarried,
        Header::kCreationDate};
    static const std::vector<TFieldPos> kNone;
    return type == "RA"   ? kRA
           : type == "SE" ? kSE
           : type == "HR" ? kHR
           : type == "UM" ? kUM
           : type == "RC" ? kRC
                          : kNone;
}

TEST_F(SeasonTest, EveryRecordHasItsLengthValidShiftJisAndDigitsInNumbers) {
    const std::map<std::string, std::size_t> lengths = {{"RA", 1272}, {"SE", 555}, {"HR", 719},
                                                        {"UM", 1609}, {"RC", 501}, {"O1", 962}};
    std::map<std::string, int> seen;
    for (const auto& file : Catalogue().files) {
        for (const auto& record : file.records) {
            const std::string type = record.substr(0, 2);
            ++seen[type];
            ASSERT_EQ(lengths.count(type), 1u) << file.name << ": " << type;
            ASSERT_EQ(record.size(), lengths.at(type)) << file.name << ": " << Show(record);
            ASSERT_TRUE(record.ends_with("\r\n"));
            ASSERT_EQ(record.find_first_of("\r\n"), record.size() - 2) << Show(record);
            const std::string utf8 = Sjis::ToUtf8(record);
            ASSERT_EQ(utf8.find(Sjis::kUtf8Replacement), std::string::npos) << Show(record);
            ASSERT_EQ(record.find('?'), std::string::npos) << "a character without a CP932 form";
            std::string numbers = record;
            if (type == "SE" && IsRaceAbroad(record)) {
                // A racecourse abroad: a letter and a digit in the race key.
                ASSERT_TRUE(record[19] >= 'A' && record[19] <= 'Z' &&
                            AllDigits(record.substr(20, 1)))
                    << Show(record);
                numbers.replace(19, 2, "00");
            }
            for (const TFieldPos& pos : NumericFields(type)) {
                const auto field =
                    std::string_view(numbers).substr(static_cast<std::size_t>(pos.first - 1),
                                                     static_cast<std::size_t>(pos.length()));
                ASSERT_TRUE(AllDigits(field))
                    << type << " " << pos.first << "-" << pos.last << " [" << field << "]";
            }
            if (type == "SE") {
                const char sign = record[SE::kTimeDiffSign.first - 1];
                ASSERT_TRUE(sign == '+' || sign == '-' || sign == '0') << Show(record);
                const char weightSign = record[SE::kBodyWeightSign.first - 1];
                ASSERT_TRUE(weightSign == '+' || weightSign == '-' || weightSign == ' ');
            }
        }
    }
    for (const char* type : {"RA", "SE", "HR", "UM", "RC", "O1"}) {
        EXPECT_GT(seen[type], 0) << type;
    }
}

// A name field: full-width characters, then full-width blanks to the end.
bool FullWidthPadded(std::string_view field, std::size_t* chars = nullptr) {
    std::size_t pos = 0;
    std::size_t count = 0;
    bool padding = false;
    while (pos < field.size()) {
        if (Sjis::CharBytesAt(field, pos) != 2) {
            return false;
        }
        const bool blank = field.substr(pos, 2) == Sjis::kWideBlank;
        if (padding && !blank) {
            return false;
        }
        padding = padding || blank;
        count += blank ? 0 : 1;
        pos += 2;
    }
    if (chars != nullptr) {
        *chars = count;
    }
    return true;
}

TEST_F(SeasonTest, NamesAreFullWidthAndPaddedWithFullWidthBlanks) {
    const std::string kana =
        Sjis::FromUtf8("アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマ"
                       "ミムメモヤユヨラリルレロワヲンガギグゲゴザジズゼゾダヂヅデ"
                       "ドバビブベボパピプペポァィゥェォャュョッヴー");
    std::set<std::string> kanaChars;
    for (std::size_t i = 0; i + 1 < kana.size(); i += 2) {
        kanaChars.insert(kana.substr(i, 2));
    }
    std::set<std::string> jockeys;
    std::set<std::string> trainers;
    for (const auto& [key, race] : Races()) {
        EXPECT_TRUE(FullWidthPadded(race.ra.Field(RA::kRaceName))) << key;
        EXPECT_TRUE(FullWidthPadded(race.ra.Field(RA::kConditionName))) << key;
        for (const auto& se : race.runners) {
            std::size_t chars = 0;
            const auto name = se.Field(SE::kHorseName);
            ASSERT_TRUE(FullWidthPadded(name, &chars)) << Show(name);
            EXPECT_GE(chars, 2u);
            EXPECT_LE(chars, 9u) << Show(name);
            for (std::size_t i = 0; i < chars * 2; i += 2) {
                EXPECT_EQ(kanaChars.count(std::string(name.substr(i, 2))), 1u) << Show(name);
            }
            // Jockeys' and trainers' short names are four full-width characters.
            ASSERT_TRUE(FullWidthPadded(se.Field(SE::kJockeyShortName), &chars));
            EXPECT_EQ(chars, 4u);
            ASSERT_TRUE(FullWidthPadded(se.Field(SE::kTrainerShortName), &chars));
            EXPECT_EQ(chars, 4u);
            jockeys.insert(std::string(se.Field(SE::kJockeyShortName)));
            trainers.insert(std::string(se.Field(SE::kTrainerShortName)));
            EXPECT_TRUE(FullWidthPadded(se.Field(SE::kOpponentName)));
        }
    }
    EXPECT_GE(jockeys.size(), 50u);
    EXPECT_LE(jockeys.size(), 60u);
    EXPECT_GE(trainers.size(), 70u);
    EXPECT_LE(trainers.size(), 80u);
    for (const auto& [number, um] : Horses()) {
        for (int e = 0; e < UM::kPedigreeEntries; ++e) {
            EXPECT_TRUE(FullWidthPadded(um.Field(UM::PedigreeName(e)))) << number << " " << e;
        }
        EXPECT_TRUE(FullWidthPadded(um.Field(UM::kOwnerName)));
        EXPECT_TRUE(FullWidthPadded(um.Field(UM::kBreederName)));
        EXPECT_TRUE(FullWidthPadded(um.Field(UM::kBirthPlace)));
    }
}

// ---- The programme --------------------------------------------------------------------------

TEST_F(SeasonTest, EachRaceDayIsTwelveRacesAtTwoOrThreeRacecourses) {
    std::map<std::string, std::set<int>> racesByDayCourse; // date+course+kind -> race numbers
    std::map<std::string, std::set<std::string>> coursesByDay;
    for (const auto& [key, race] : Races()) {
        const std::string date(race.ra.RaceDate());
        const std::string course(race.ra.CourseCode());
        racesByDayCourse[date + course + race.ra.DataKind()].insert(race.ra.Int(RA::kRaceNumber));
        coursesByDay[date].insert(course);
        const int code = std::atoi(course.c_str());
        EXPECT_GE(code, 1);
        EXPECT_LE(code, 10);
        EXPECT_GE(race.ra.Int(RaceKey::kMeeting), 1);
        EXPECT_LE(race.ra.Int(RaceKey::kMeeting), 5);
        const int day = race.ra.Int(RaceKey::kDayOfMeeting);
        EXPECT_GE(day, 1);
        EXPECT_LE(day, 8);
        // Saturdays are the odd days of a meeting, Sundays the even ones.
        EXPECT_EQ(day % 2 == 1, race.ra.At(RA::kWeekdayCode.first) == '1') << key;
        const int post = race.ra.Int(RA::kPostTime);
        EXPECT_GE(post, 1000) << key;
        EXPECT_LE(post, 1630) << key;
    }
    for (const auto& [day, races] : racesByDayCourse) {
        EXPECT_EQ(races.size(), 12u) << day;
        EXPECT_EQ(*races.begin(), 1);
        EXPECT_EQ(*races.rbegin(), 12);
    }
    for (const auto& [day, courses] : coursesByDay) {
        EXPECT_GE(courses.size(), 2u) << day;
        EXPECT_LE(courses.size(), 3u) << day;
    }
    EXPECT_GE(coursesByDay.size(), 40u) << "26 weeks of weekends and the coming one";
}

TEST_F(SeasonTest, TheCardReadsLikeARealOne) {
    int maidenLate = 0;
    int maidens = 0;
    int graded = 0;
    int jumps = 0;
    int named11 = 0;
    int races = 0;
    std::map<int, int> fields;
    for (const auto& [key, race] : Races()) {
        const auto& ra = race.ra;
        ++races;
        const int kind = ra.Int(RA::kRaceTypeCode);
        const int youngest = ra.Int(RA::kConditionYoungest);
        const int number = ra.Int(RA::kRaceNumber);
        const int track = ra.Int(RA::kTrackCode);
        if (youngest == 701 || youngest == 703) {
            if (kind != 18 && kind != 19) {
                ++maidens;
                EXPECT_TRUE(kind == 11 || kind == 12)
                    << key << " newcomers and maidens are 2 and 3";
                maidenLate += number > 8 ? 1 : 0;
            }
        }
        if (std::string_view("ABC").find(ra.At(RA::kGradeCode.first)) != std::string_view::npos) {
            ++graded;
            EXPECT_GT(ra.Int(RA::kGradedRaceCount), 0) << key;
            EXPECT_NE(KeibaFunc::StripWideSpaces(ra.Field(RA::kRaceName)), "") << key;
        } else if (ra.At(RA::kGradeCode.first) == ' ') {
            EXPECT_EQ(ra.Int(RA::kGradedRaceCount), 0);
        }
        if (kind == 18 || kind == 19) {
            ++jumps;
            EXPECT_GE(track, 51) << key;
            EXPECT_LE(track, 59) << key;
        } else {
            EXPECT_LE(track, 29) << key;
            EXPECT_TRUE(kind >= 11 && kind <= 14) << key;
        }
        if (number == 11 && ra.At(RA::kGradeCode.first) != ' ') {
            ++named11;
        }
        ++fields[ra.Int(RA::kRegisteredRunners)];
        EXPECT_GE(ra.Int(RA::kRegisteredRunners), 5) << key;
        EXPECT_LE(ra.Int(RA::kRegisteredRunners), 18) << key;
        EXPECT_EQ(static_cast<int>(race.runners.size()), ra.Int(RA::kRegisteredRunners)) << key;
    }
    EXPECT_LT(maidenLate * 10, maidens) << "maidens and newcomers run early in the day";
    EXPECT_GT(graded, 40);
    EXPECT_GT(jumps, 30);
    EXPECT_GT(named11 * 10, races / 12 * 9) << "the main race is a named race";
    int full = 0;
    for (int n = 14; n <= 18; ++n) {
        full += fields[n];
    }
    EXPECT_GT(full * 2, races) << "fields are mostly 14 to 18";
}

// Frame of a horse number by the frame rule: up to eight runners one horse a frame; with
// more, the remainder over eight goes to the highest frames, one extra horse each.
int ExpectedFrame(int horseNumber, int runners) {
    if (runners <= 8) {
        return horseNumber;
    }
    std::vector<int> frames;
    for (int f = 1; f <= 8; ++f) {
        const int size = runners / 8 + (f > 8 - runners % 8 ? 1 : 0);
        frames.insert(frames.end(), static_cast<std::size_t>(size), f);
    }
    return frames[static_cast<std::size_t>(horseNumber - 1)];
}

TEST(FrameRule, TheTableOfFramesForCommonFields) {
    // Typed from the rule as cards print it.
    const std::map<int, std::vector<int>> table = {
        {8, {1, 2, 3, 4, 5, 6, 7, 8}},
        {9, {1, 2, 3, 4, 5, 6, 7, 8, 8}},
        {10, {1, 2, 3, 4, 5, 6, 7, 7, 8, 8}},
        {12, {1, 2, 3, 4, 5, 5, 6, 6, 7, 7, 8, 8}},
        {16, {1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8}},
        {17, {1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 8}},
        {18, {1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 7, 8, 8, 8}},
    };
    for (const auto& [n, frames] : table) {
        for (int h = 1; h <= n; ++h) {
            EXPECT_EQ(ExpectedFrame(h, n), frames[static_cast<std::size_t>(h - 1)])
                << n << "/" << h;
        }
    }
}

TEST_F(SeasonTest, FramesFollowTheRuleAndHorseNumbersRunFromOne) {
    for (const auto& [key, race] : Races()) {
        const int n = static_cast<int>(race.runners.size());
        for (int i = 0; i < n; ++i) {
            const auto& se = race.runners[static_cast<std::size_t>(i)];
            ASSERT_EQ(se.Int(SE::kHorseNumber), i + 1) << key;
            EXPECT_EQ(se.Int(SE::kFrameNumber), ExpectedFrame(i + 1, n))
                << key << " horse " << i + 1;
            EXPECT_EQ(se.RaceKey(), race.ra.RaceKey());
            EXPECT_EQ(se.DataKind(), race.ra.DataKind()) << "each SE's race has an RA";
        }
    }
}

TEST_F(SeasonTest, TheComingWeekendIsACardWithoutResults) {
    int cards = 0;
    int withFiveRuns = 0;
    int runners = 0;
    std::map<std::string, int> runsBefore; // registration number -> results published
    for (const auto& [key, race] : Races()) {
        if (IsResult(race)) {
            for (const auto& se : race.runners) {
                runsBefore[std::string(se.RegistrationNumber())] += Started(se) ? 1 : 0;
            }
        }
    }
    for (const auto& [key, race] : Races()) {
        if (IsResult(race)) {
            EXPECT_FALSE(race.file.starts_with("RA2")) << key;
            EXPECT_TRUE(race.hr.has_value()) << key;
            continue;
        }
        ++cards;
        EXPECT_TRUE(race.file.starts_with("RA2")) << key;
        EXPECT_FALSE(race.hr.has_value()) << "no payoffs for a card";
        EXPECT_EQ(race.ra.Int(RA::kStarters), 0);
        EXPECT_EQ(race.ra.Int(RA::kFinishers), 0);
        EXPECT_EQ(race.ra.At(RA::kWeatherCode.first), '0');
        for (const auto& se : race.runners) {
            ++runners;
            EXPECT_EQ(se.DataKind(), '2');
            EXPECT_GT(se.Int(SE::kHorseNumber), 0);
            EXPECT_GT(se.Int(SE::kWeightCarried), 480);
            EXPECT_EQ(se.Int(SE::kFinishPosition), 0);
            EXPECT_EQ(se.Int(SE::kArrivalOrder), 0);
            EXPECT_EQ(se.Field(SE::kRaceTime), "0000");
            EXPECT_EQ(se.Int(SE::kWinOdds), 0);
            EXPECT_EQ(se.Int(SE::kWinPopularity), 0);
            EXPECT_EQ(se.Int(SE::kPrizeMoney), 0);
            EXPECT_EQ(Horses().count(std::string(se.RegistrationNumber())), 1u)
                << "every runner has a horse master";
            withFiveRuns += runsBefore[std::string(se.RegistrationNumber())] >= 5 ? 1 : 0;
        }
    }
    EXPECT_GE(cards, 24) << "two or three racecourses, two days";
    EXPECT_GT(withFiveRuns, runners / 10) << "horses of the card have their past runs";
}

// ---- Results --------------------------------------------------------------------------------

TEST_F(SeasonTest, TimesFitTheDistanceAndTheDifferencesMatchTheTimes) {
    std::vector<int> miles;
    for (const auto& [key, race] : Races()) {
        if (!IsResult(race)) {
            continue;
        }
        const int distance = race.ra.Int(RA::kDistance);
        const int track = race.ra.Int(RA::kTrackCode);
        std::vector<const TRecordSE*> byArrival;
        const TRecordSE* winner = nullptr;
        const TRecordSE* second = nullptr;
        int starters = 0;
        int finishers = 0;
        for (const auto& se : race.runners) {
            starters += Started(se) ? 1 : 0;
            if (se.Int(SE::kFinishPosition) > 0) {
                ++finishers;
                byArrival.push_back(&se);
            }
            winner = se.Int(SE::kFinishPosition) == 1 ? &se : winner;
            second = se.Int(SE::kFinishPosition) == 2 ? &se : second;
        }
        EXPECT_EQ(race.ra.Int(RA::kStarters), starters) << key;
        EXPECT_EQ(race.ra.Int(RA::kFinishers), finishers) << key;
        ASSERT_NE(winner, nullptr) << key;
        ASSERT_NE(second, nullptr) << key;
        std::sort(byArrival.begin(), byArrival.end(), [](auto a, auto b) {
            return a->Int(SE::kArrivalOrder) < b->Int(SE::kArrivalOrder);
        });
        const int win = Tenths(winner->Field(SE::kRaceTime));
        const double speed = distance / (win / 10.0);
        if (track >= 51) {
            EXPECT_GT(speed, 13.5) << key;
            EXPECT_LT(speed, 16.0) << key;
        } else {
            EXPECT_GT(speed, 15.0) << key;
            EXPECT_LT(speed, 18.8) << key;
        }
        if (distance == 1600 && track <= 22) {
            miles.push_back(win);
            EXPECT_GE(win, 910) << key << " a turf mile in about 1:33 to 1:36";
            EXPECT_LE(win, 995) << key;
        }
        EXPECT_EQ(winner->At(SE::kTimeDiffSign.first), '-') << key;
        EXPECT_EQ(Tenths(second->Field(SE::kRaceTime)) - win, winner->Int(SE::kTimeDiffValue))
            << key;
        EXPECT_EQ(winner->Field(SE::kOpponentName), second->Field(SE::kHorseName)) << key;
        int previous = 0;
        for (std::size_t k = 0; k < byArrival.size(); ++k) {
            const auto& se = *byArrival[k];
            const int t = Tenths(se.Field(SE::kRaceTime));
            EXPECT_EQ(se.Int(SE::kArrivalOrder), static_cast<int>(k) + 1) << key;
            EXPECT_GE(t, previous) << key << " arrival order follows the times";
            if (&se != winner) {
                EXPECT_EQ(se.At(SE::kTimeDiffSign.first), '+') << key;
                EXPECT_EQ(se.Int(SE::kTimeDiffValue), t - win) << key;
                EXPECT_EQ(se.Field(SE::kOpponentName), winner->Field(SE::kHorseName)) << key;
            }
            const int last3 = se.Int(SE::kLast3Furlongs);
            EXPECT_GE(last3, 330) << key;
            EXPECT_LE(last3, 400) << key;
            EXPECT_GT(se.Int(SE::kLast4Furlongs), last3) << key;
            EXPECT_LT(last3, t) << key;
            previous = t;
        }
        for (const auto& se : race.runners) {
            if (se.Int(SE::kFinishPosition) == 0) {
                EXPECT_EQ(se.Field(SE::kRaceTime), "0000") << key;
                EXPECT_EQ(se.Int(SE::kLast3Furlongs), 0) << key;
                EXPECT_NE(se.At(SE::kAbnormalityCode.first), '0') << key;
            }
        }
    }
    ASSERT_GT(miles.size(), 20u);
    std::sort(miles.begin(), miles.end());
    EXPECT_GE(miles[miles.size() / 2], 935);
    EXPECT_LE(miles[miles.size() / 2], 955);
}

// Lengths a margin code stands for (大差 as 11, ハナ, アタマ and クビ below a third).
double MarginLengths(std::string_view code) {
    static const std::map<std::string, double> kLengths = {
        {"H", 0.05},   {"A", 0.15},  {"K", 0.3},    {"12", 0.5}, {"34", 0.75}, {"1", 1},
        {"114", 1.25}, {"112", 1.5}, {"134", 1.75}, {"2", 2},    {"212", 2.5}, {"3", 3},
        {"312", 3.5},  {"4", 4},     {"5", 5},      {"6", 6},    {"7", 7},     {"8", 8},
        {"9", 9},      {"Z", 10},    {"T", 11}};
    const auto it = kLengths.find(std::string(Sjis::TrimBlanks(code)));
    return it == kLengths.end() ? -1 : it->second;
}

TEST_F(SeasonTest, MarginsAgreeWithTheGapsInTime) {
    int checked = 0;
    for (const auto& [key, race] : Races()) {
        if (!IsResult(race)) {
            continue;
        }
        std::map<int, const TRecordSE*> arrival;
        for (const auto& se : race.runners) {
            if (se.Int(SE::kArrivalOrder) > 0) {
                arrival[se.Int(SE::kArrivalOrder)] = &se;
            }
        }
        for (const auto& [order, se] : arrival) {
            const auto margin = se->Field(SE::kMarginCode);
            if (order == 1) {
                EXPECT_EQ(margin, "   ") << key << " the winner has no margin";
                continue;
            }
            const double lengths = MarginLengths(margin);
            ASSERT_GE(lengths, 0) << key << " [" << margin << "]";
            const int gap = Tenths(se->Field(SE::kRaceTime)) -
                            Tenths(arrival.at(order - 1)->Field(SE::kRaceTime));
            if (lengths >= 11) {
                EXPECT_GE(gap, 17) << key << " 大差 is more than ten lengths";
            } else {
                // A length is about 0.17 s; times are cut to tenths.
                EXPECT_NEAR(gap, lengths * 1.7, 2.5) << key << " [" << margin << "]";
            }
            ++checked;
        }
    }
    EXPECT_GT(checked, 10000);
}

TEST_F(SeasonTest, CornersOddsPopularityAndPrizesFitTheField) {
    for (const auto& [key, race] : Races()) {
        if (!IsResult(race)) {
            continue;
        }
        std::vector<std::pair<int, int>> odds; // odds, horse number
        for (int c = 1; c <= 4; ++c) {
            std::vector<int> positions;
            for (const auto& se : race.runners) {
                if (se.Int(SE::CornerPosition(c)) > 0) {
                    positions.push_back(se.Int(SE::CornerPosition(c)));
                }
            }
            std::sort(positions.begin(), positions.end());
            for (std::size_t k = 0; k < positions.size(); ++k) {
                ASSERT_EQ(positions[k], static_cast<int>(k) + 1) << key << " corner " << c;
            }
        }
        for (const auto& se : race.runners) {
            const int finish = se.Int(SE::kFinishPosition);
            const auto prize = se.Int(SE::kPrizeMoney);
            if (finish >= 1 && finish <= 5) {
                EXPECT_EQ(prize, race.ra.Int(RA::PrizeMoney(finish))) << key;
            } else {
                EXPECT_EQ(prize, 0) << key;
            }
            if (Started(se)) {
                EXPECT_GE(se.Int(SE::kWinOdds), 10) << key;
                EXPECT_GT(se.Int(SE::kBodyWeight), 300) << key;
                EXPECT_LE(se.Int(SE::kBodyWeightChange), 30) << key;
                odds.emplace_back(se.Int(SE::kWinOdds), se.Int(SE::kHorseNumber));
            } else {
                EXPECT_EQ(se.Int(SE::kWinPopularity), 0) << key;
                EXPECT_EQ(se.Int(SE::kFinishPosition), 0) << key;
            }
        }
        // Popularity ranks the starters by their odds.
        std::sort(odds.begin(), odds.end());
        for (std::size_t k = 0; k < odds.size(); ++k) {
            const auto& se = race.runners[static_cast<std::size_t>(odds[k].second - 1)];
            EXPECT_EQ(se.Int(SE::kWinPopularity), static_cast<int>(k) + 1) << key;
        }
        // A field's odds keep back the takeout of a fifth: the chances they give add to 1.25,
        // less when a hot favourite's odds cannot go below 1.1.
        double chance = 0;
        for (const auto& [o, h] : odds) {
            chance += 1.0 / (o / 10.0);
        }
        EXPECT_GT(chance, 0.97) << key;
        EXPECT_LT(chance, 1.35) << key;
    }
}

// The horse numbers of an entry and its payout and popularity.
struct TEntry {
    std::vector<int> horses;
    int payout = 0;
    int popularity = 0;
};

std::vector<TEntry> Entries(const TRecordHR& hr, const TPayoffGroup& group) {
    std::vector<TEntry> entries;
    for (int e = 0; e < group.entries; ++e) {
        TEntry entry;
        for (int k = 0; k < group.horses; ++k) {
            entry.horses.push_back(hr.Int(group.Horse(e, k)));
        }
        entry.payout = hr.Int(group.Payout(e));
        entry.popularity = hr.Int(group.Popularity(e));
        if (entry.horses[0] != 0) {
            entries.push_back(entry);
        } else {
            EXPECT_EQ(entry.payout, 0);
        }
    }
    return entries;
}

TEST_F(SeasonTest, PayoffsFollowTheFinishAndTheOdds) {
    int smallFields = 0;
    for (const auto& [key, race] : Races()) {
        if (!IsResult(race)) {
            continue;
        }
        ASSERT_TRUE(race.hr.has_value()) << key;
        const TRecordHR& hr = *race.hr;
        EXPECT_EQ(hr.RaceKey(), race.ra.RaceKey());
        std::map<int, const TRecordSE*> placed;
        int starters = 0;
        for (const auto& se : race.runners) {
            starters += Started(se) ? 1 : 0;
            if (se.Int(SE::kFinishPosition) > 0) {
                placed[se.Int(SE::kFinishPosition)] = &se;
            }
        }
        auto horse = [&](int position) { return placed.at(position)->Int(SE::kHorseNumber); };
        auto frame = [&](int position) { return placed.at(position)->Int(SE::kFrameNumber); };

        const auto win = Entries(hr, HR::kWin);
        ASSERT_EQ(win.size(), 1u) << key;
        EXPECT_EQ(win[0].horses[0], horse(1)) << key;
        EXPECT_EQ(win[0].payout, placed.at(1)->Int(SE::kWinOdds) * 10) << key;
        EXPECT_EQ(win[0].popularity, placed.at(1)->Int(SE::kWinPopularity)) << key;

        const auto place = Entries(hr, HR::kPlace);
        const std::size_t places = starters <= 7 ? 2 : 3;
        smallFields += starters <= 7 ? 1 : 0;
        ASSERT_EQ(place.size(), places) << key;
        for (std::size_t k = 0; k < places; ++k) {
            EXPECT_EQ(place[k].horses[0], horse(static_cast<int>(k) + 1)) << key;
            EXPECT_GE(place[k].payout, 100);
        }

        auto pair = [](int a, int b) { return std::vector<int>{std::min(a, b), std::max(a, b)}; };
        const auto quinella = Entries(hr, HR::kQuinella);
        ASSERT_EQ(quinella.size(), 1u);
        EXPECT_EQ(quinella[0].horses, pair(horse(1), horse(2))) << key;
        const auto exacta = Entries(hr, HR::kExacta);
        ASSERT_EQ(exacta.size(), 1u);
        EXPECT_EQ(exacta[0].horses, (std::vector<int>{horse(1), horse(2)})) << key;

        const auto bracket = Entries(hr, HR::kBracketQuinella);
        if (race.runners.size() >= 9) {
            ASSERT_EQ(bracket.size(), 1u) << key;
            EXPECT_EQ(bracket[0].horses, pair(frame(1), frame(2))) << key;
        } else {
            EXPECT_TRUE(bracket.empty()) << key << " no bracket betting with one horse a frame";
        }

        const auto wide = Entries(hr, HR::kQuinellaPlace);
        if (places == 3) {
            ASSERT_EQ(wide.size(), 3u) << key;
            std::set<std::vector<int>> expected = {
                pair(horse(1), horse(2)), pair(horse(1), horse(3)), pair(horse(2), horse(3))};
            std::set<std::vector<int>> got;
            for (const auto& w : wide) {
                got.insert(w.horses);
                if (w.horses == quinella[0].horses) {
                    EXPECT_LE(w.payout, quinella[0].payout)
                        << key << " the pair is in the first three";
                }
            }
            EXPECT_EQ(got, expected) << key;
            std::vector<int> trio = {horse(1), horse(2), horse(3)};
            std::sort(trio.begin(), trio.end());
            const auto trios = Entries(hr, HR::kTrio);
            ASSERT_EQ(trios.size(), 1u);
            EXPECT_EQ(trios[0].horses, trio) << key;
        }

        // Payouts in tens of yen, at least the stake; the less backed pays more.
        for (const auto& group : HR::kPayoffGroups) {
            for (const auto& e : Entries(hr, group)) {
                EXPECT_GE(e.payout, 100) << key;
                EXPECT_EQ(e.payout % 10, 0) << key;
                EXPECT_GE(e.popularity, 1) << key;
            }
            const auto entries = Entries(hr, group);
            for (const auto& a : entries) {
                for (const auto& b : entries) {
                    if (a.popularity < b.popularity) {
                        EXPECT_LE(a.payout, b.payout) << key;
                    }
                }
            }
        }
    }
    EXPECT_GT(smallFields, 0) << "some races have seven starters or fewer";
}

TEST_F(SeasonTest, ScratchesAndNonFinishersAppearNowAndThen) {
    std::map<char, int> abnormal;
    int runners = 0;
    for (const auto& [key, race] : Races()) {
        if (!IsResult(race)) {
            continue;
        }
        for (const auto& se : race.runners) {
            ++runners;
            const char a = se.At(SE::kAbnormalityCode.first);
            ++abnormal[a];
            if (a == '1') {
                EXPECT_EQ(se.Int(SE::kBodyWeight), 0) << "a scratched horse is not weighed";
                EXPECT_NE(race.hr->Field(HR::kWin.Horse(0, 0)), se.HorseNumber()) << key;
            }
            if (a == '7') {
                EXPECT_GT(se.Int(SE::kFinishPosition), se.Int(SE::kArrivalOrder)) << key;
            }
        }
    }
    EXPECT_GT(abnormal['1'], 0);
    EXPECT_GT(abnormal['4'], 0);
    EXPECT_LT(abnormal['1'] + abnormal['2'] + abnormal['4'], runners / 40);
}

// ---- Horse masters --------------------------------------------------------------------------

// What a horse master's placing counts and money should hold for a set of runs.
struct TTally {
    std::array<std::array<int, 6>, 27> counts{};
    long long flatPrize = 0;
    long long jumpPrize = 0;
    long long flatAdded = 0;
    long long jumpAdded = 0;
    bool debutSeen = false;
};

void Tally(TTally& t, const TRecordRA& ra, const TRecordSE& se) {
    const int finish = se.Int(SE::kFinishPosition);
    const int place = finish >= 1 && finish <= 5 ? finish - 1 : 5;
    const int track = ra.Int(RA::kTrackCode);
    const int distance = ra.Int(RA::kDistance);
    const bool jump = track >= 51;
    const bool turf = track <= 22;
    const int going = (turf || jump ? ra.Int(RA::kTurfGoingCode) : ra.Int(RA::kDirtGoingCode)) - 1;
    auto add = [&](int group) {
        ++t.counts[static_cast<std::size_t>(group)][static_cast<std::size_t>(place)];
    };
    add(UM::kAllRuns);
    if (jump) {
        add(UM::kJump);
        add(UM::kJumpGood + going);
        t.jumpPrize += se.Int(SE::kPrizeMoney);
        t.jumpAdded += se.Int(SE::kAddedMoney);
        return;
    }
    // Straight, right-handed and left-handed tracks.
    const bool straight = track == 10 || track == 29;
    const bool left = (track >= 11 && track <= 16) || track == 23 || track == 25 || track == 27;
    const int turn = straight ? 0 : left ? 2 : 1;
    const int band = distance <= 1600 ? 0 : distance <= 2200 ? 1 : 2;
    add((turf ? UM::kTurfStraight : UM::kDirtStraight) + turn);
    add((turf ? UM::kTurfGood : UM::kDirtGood) + going);
    add((turf ? UM::kTurfUpTo1600 : UM::kDirtUpTo1600) + band);
    t.flatPrize += se.Int(SE::kPrizeMoney);
    t.flatAdded += se.Int(SE::kAddedMoney);
}

TEST_F(SeasonTest, HorseMastersCountTheRunsOfTheSeason) {
    std::map<std::string, TTally> tallies;
    std::map<std::string, int> firstRace; // registration number -> date of the first run
    for (const auto& [key, race] : Races()) {
        if (!IsResult(race)) {
            continue;
        }
        for (const auto& se : race.runners) {
            if (!Started(se)) {
                continue;
            }
            auto& t = tallies[std::string(se.RegistrationNumber())];
            Tally(t, race.ra, se);
            if (race.ra.Int(RA::kConditionYoungest) == 701) {
                t.debutSeen = true; // a newcomers' race: the whole career is in the season
            }
        }
    }
    int exact = 0;
    for (const auto& [number, t] : tallies) {
        const auto it = Horses().find(number);
        ASSERT_NE(it, Horses().end()) << number << " ran but has no horse master";
        const TRecordUM& um = it->second;
        bool same = true;
        for (int g = 0; g < UM::kPlacingGroups; ++g) {
            if (g == UM::kUnreadGroup) {
                continue;
            }
            for (int p = 1; p <= 6; ++p) {
                const int have = um.Int(UM::PlacingCount(g, p));
                const int runs =
                    t.counts[static_cast<std::size_t>(g)][static_cast<std::size_t>(p - 1)];
                ASSERT_GE(have, runs) << number << " group " << g << " place " << p;
                same = same && have == runs;
            }
        }
        ASSERT_GE(um.Int64(UM::kFlatPrizeMoney), t.flatPrize) << number;
        ASSERT_GE(um.Int64(UM::kJumpPrizeMoney), t.jumpPrize) << number;
        if (t.debutSeen) {
            EXPECT_TRUE(same) << number << " debuted in the season: counts are its runs";
            EXPECT_EQ(um.Int64(UM::kFlatPrizeMoney), t.flatPrize) << number;
            EXPECT_EQ(um.Int64(UM::kJumpPrizeMoney), t.jumpPrize) << number;
            EXPECT_EQ(um.Int64(UM::kFlatAddedMoney), t.flatAdded) << number;
            EXPECT_EQ(um.Int64(UM::kJumpAddedMoney), t.jumpAdded) << number;
            exact += same ? 1 : 0;
        }
        // The totals are the sums of the groups by surface and by distance.
        int all = 0;
        int parts = 0;
        for (int p = 1; p <= 6; ++p) {
            all += um.Int(UM::PlacingCount(UM::kAllRuns, p));
            for (const int g : {UM::kTurfStraight, UM::kTurfRight, UM::kTurfLeft, UM::kDirtStraight,
                                UM::kDirtRight, UM::kDirtLeft, UM::kJump}) {
                parts += um.Int(UM::PlacingCount(g, p));
            }
        }
        EXPECT_EQ(all, parts) << number;
    }
    EXPECT_GT(exact, 500);
}

TEST_F(SeasonTest, EachHorseIsPublishedOnceWithItsIdentity) {
    std::map<std::string, int> published;
    for (const auto& file : Catalogue().files) {
        if (file.dataspec == "DIFN") {
            continue; // once more there, as accumulated data
        }
        for (const auto& record : file.records) {
            if (record.starts_with("UM")) {
                ++published[record.substr(11, 10)];
            }
        }
    }
    for (const auto& [number, count] : published) {
        EXPECT_EQ(count, 1) << number;
    }
    std::map<std::string, std::string> names;
    for (const auto& [key, race] : Races()) {
        for (const auto& se : race.runners) {
            const std::string number(se.RegistrationNumber());
            ASSERT_TRUE(AllDigits(number));
            const int foaled = std::atoi(number.substr(0, 4).c_str());
            const int year = race.ra.Int(RaceKey::kYear);
            EXPECT_EQ(se.Int(SE::kAge), year - foaled) << number;
            const auto [it, added] = names.emplace(number, std::string(se.Field(SE::kHorseName)));
            EXPECT_EQ(it->second, se.Field(SE::kHorseName)) << "one name a horse";
            const TRecordUM& um = Horses().at(number);
            EXPECT_EQ(um.Field(UM::kBirthDate).substr(0, 4), number.substr(0, 4));
            EXPECT_EQ(um.Field(UM::kTrainerShortName), se.Field(SE::kTrainerShortName));
        }
    }
    std::set<std::string> distinct;
    for (const auto& [number, name] : names) {
        distinct.insert(name);
    }
    EXPECT_EQ(distinct.size(), names.size()) << "no two horses share a name";
    EXPECT_GT(names.size(), 3000u);
}

// ---- Course records -------------------------------------------------------------------------

TEST_F(SeasonTest, EveryCourseRunHasItsRecordAndNoWinnerBeatsIt) {
    std::map<std::string, const TRecordRC*> records; // course, kind, distance, track
    for (const auto& rc : CourseRecords()) {
        EXPECT_EQ(rc.IdKind(), '1');
        const std::string key =
            std::string(rc.CourseCode()) + std::string(rc.Field(RC::kRaceTypeCode)) +
            std::string(rc.Field(RC::kDistance)) + std::string(rc.Field(RC::kTrackCode));
        EXPECT_TRUE(records.emplace(key, &rc).second) << "one record a course: " << key;
        EXPECT_NE(rc.Year(), "0000");
        EXPECT_TRUE(FullWidthPadded(rc.Field(RC::kHolderName)));
        EXPECT_GT(rc.Int(RC::kHolderWeightCarried), 480);
    }
    for (const auto& [key, race] : Races()) {
        const std::string combo =
            std::string(race.ra.CourseCode()) + std::string(race.ra.Field(RA::kRaceTypeCode)) +
            std::string(race.ra.Field(RA::kDistance)) + std::string(race.ra.Field(RA::kTrackCode));
        const auto it = records.find(combo);
        ASSERT_NE(it, records.end()) << "no course record for " << combo;
        if (!IsResult(race)) {
            continue;
        }
        const int record = Tenths(it->second->Field(RC::kRecordTime));
        for (const auto& se : race.runners) {
            if (se.Int(SE::kFinishPosition) == 1) {
                EXPECT_GE(Tenths(se.Field(SE::kRaceTime)), record) << key;
                if (Tenths(se.Field(SE::kRaceTime)) == record &&
                    it->second->Field(RC::kRaceKey) == race.ra.RaceKey().substr(0, 16)) {
                    EXPECT_EQ(it->second->Field(RC::kHolderName), se.Field(SE::kHorseName));
                }
            }
        }
    }
}

// Races (RA and runners by race key and data kind) and course records (by course) of a season.
std::map<std::string, std::string> RacesAndRecordsOf(const TCatalogue& catalogue) {
    std::map<std::string, std::string> seen;
    for (const auto& file : catalogue.files) {
        for (const auto& r : file.records) {
            if (r.starts_with("RA") || r.starts_with("SE")) {
                seen[r.substr(11, 16) + r[2]] += r.substr(0, 2) + r.substr(27);
            } else if (r.starts_with("RC")) {
                seen["RC" + r.substr(20, 2) + r.substr(93, 8)] = r.substr(27); // holder and all
            }
        }
    }
    return seen;
}

TEST(SeasonGenerator, AWeeksRacesDoNotDependOnHowManyWeeksArePublished) {
    const auto few = RacesAndRecordsOf(standin::GenerateSeason(Options(5, "20260114", 4)));
    const auto many = RacesAndRecordsOf(standin::GenerateSeason(Options(5, "20260114", 8)));
    ASSERT_GT(few.size(), 150u);
    EXPECT_GT(many.size(), few.size());
    for (const auto& [key, seen] : few) {
        EXPECT_TRUE(many.count(key) && many.at(key) == seen) << key;
    }
}

TEST_F(SeasonTest, OnlyARaceForFilliesCarriesAFilliesSymbol) {
    for (const auto& [key, race] : Races()) {
        const bool forFillies = race.ra.Field(RA::kRaceSymbolCode)[1] == '2';
        for (const auto& se : race.runners) {
            EXPECT_FALSE(forFillies && se.At(SE::kSexCode.first) != '2') << key;
        }
    }
}

} // namespace
