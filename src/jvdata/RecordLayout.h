// Where each field of the five JV-Data record types lies: RA (race details), SE (one runner in
// one race), HR (payoffs of one race), UM (horse master), RC (course record).
//
// A field is named by its first and last 1-based byte positions, both inclusive, exactly as the
// JV-Data record layouts give them; a one-byte field has first == last. Positions are byte counts
// in the Shift-JIS record, so a full-width character takes two positions. Every record ends in CR
// LF.
//
// Encodings named in the comments:
//   number  decimal digits, zero-padded; a blank field means no value and reads as 0
//   code    digits (sometimes a letter) turned into a name by KeibaFunc
//   name    Shift-JIS text padded with half-width or full-width blanks, which belong to it
//   MSSF    race time: minutes, seconds (2), tenths ("1234" = 1 min 23.4 s)
//   SSF     short time: seconds (2), tenths ("355" = 35.5 s)
//   money   digits in units of 100 yen
//
// Repeated groups are reached through functions that take the entry's number and return its
// position; a number outside the group gives kNoField, which reads as an empty field.
#pragma once

#include <cstddef>
#include <initializer_list>

namespace jvdata {

// A field of a record: 1-based first and last byte, inclusive.
struct TFieldPos {
    int first = 1;
    int last = 0;

    // Byte width of the field; 0 for an empty position.
    constexpr int length() const noexcept { return last >= first ? last - first + 1 : 0; }
    constexpr bool empty() const noexcept { return last < first; }
    friend constexpr bool operator==(TFieldPos, TFieldPos) = default;
};

// The position returned for an entry outside a repeated group: no bytes.
inline constexpr TFieldPos kNoField{1, 0};

// Record lengths including the final CR LF.
inline constexpr std::size_t kLengthRA = 1272;
inline constexpr std::size_t kLengthSE = 555;
inline constexpr std::size_t kLengthHR = 719;
inline constexpr std::size_t kLengthUM = 1609;
inline constexpr std::size_t kLengthRC = 501;

namespace detail {

// Entry `index` (0-based) of `count` fields of `width` bytes repeated every `stride` bytes from
// `first`; kNoField outside the group.
constexpr TFieldPos Repeated(int first, int width, int stride, int count, int index) noexcept {
    if (index < 0 || index >= count) {
        return kNoField;
    }
    const int start = first + index * stride;
    return TFieldPos{start, start + width - 1};
}

// True when every field is a proper range inside the data bytes (before the CR LF).
constexpr bool AllWithin(std::initializer_list<TFieldPos> fields, std::size_t length) noexcept {
    for (const TFieldPos& f : fields) {
        if (f.first < 1 || f.last < f.first || static_cast<std::size_t>(f.last) > length - 2) {
            return false;
        }
    }
    return true;
}

} // namespace detail

// ---- Common header of all five types --------------------------------------------------------
namespace Header {
inline constexpr TFieldPos kRecordType{1, 2}; // record type: "RA", "SE", "HR", "UM" or "RC"
inline constexpr TFieldPos kDataKind{3, 3};   // data kind, one character ("1".."7", "A", "B" ...)
inline constexpr TFieldPos kCreationDate{4, 11}; // creation date, yyyymmdd
inline constexpr TFieldPos kKindAndDate{3, 11};  // data kind and creation date together (9 bytes)
} // namespace Header

// ---- Race key of RA, SE and HR (12-27), the merge key of the store --------------------------
namespace RaceKey {
inline constexpr TFieldPos kRaceKey{12, 27};       // whole race key, 16 bytes
inline constexpr TFieldPos kYear{12, 15};          // year of the meeting, number yyyy
inline constexpr TFieldPos kMonthDay{16, 19};      // month and day, mmdd
inline constexpr TFieldPos kMonth{16, 17};         // month, number mm
inline constexpr TFieldPos kDay{18, 19};           // day of the month, number dd
inline constexpr TFieldPos kRaceDate{12, 19};      // race date yyyymmdd
inline constexpr TFieldPos kCourseCode{20, 21};    // racecourse code (KeibaFunc::CourseName)
inline constexpr TFieldPos kDateAndCourse{12, 21}; // race date and racecourse code, 10 bytes
inline constexpr TFieldPos kMeeting{22, 23}; // meeting number (開催回), number shown as stored
inline constexpr TFieldPos kDayOfMeeting{24, 25}; // day of the meeting, number shown as stored
inline constexpr TFieldPos kRaceNumber{26, 27};   // race number, number
} // namespace RaceKey

// ---- RA: race details (1272 bytes) ----------------------------------------------------------
namespace RA {
using namespace Header;  // RA::kRecordType ...
using namespace RaceKey; // RA::kRaceNumber ...

inline constexpr TFieldPos kWeekdayCode{28, 28};         // weekday code
inline constexpr TFieldPos kRaceName{33, 92};            // race name, name of 60 bytes
inline constexpr TFieldPos kShortRaceName{605, 610};     // short race name, 3 full-width chars
inline constexpr TFieldPos kGradedRaceCount{612, 614};   // graded-race count (回数), number
inline constexpr TFieldPos kGradeCode{615, 615};         // grade code
inline constexpr TFieldPos kRaceTypeCode{617, 618};      // race type code (競走種別)
inline constexpr TFieldPos kRaceSymbolCode{619, 621};    // race symbol code
inline constexpr TFieldPos kWeightRuleCode{622, 622};    // weight rule code (重量種別)
inline constexpr TFieldPos kCondition2yo{623, 625};      // race condition code, 2-year-olds
inline constexpr TFieldPos kCondition3yo{626, 628};      // race condition code, 3-year-olds
inline constexpr TFieldPos kCondition4yo{629, 631};      // race condition code, 4-year-olds
inline constexpr TFieldPos kCondition5yoUp{632, 634};    // race condition code, 5-year-olds and up
inline constexpr TFieldPos kConditionYoungest{635, 637}; // race condition code, youngest age group
inline constexpr TFieldPos kConditionName{638, 697};     // race condition name, name of 60 bytes
inline constexpr TFieldPos kDistance{698, 701};          // distance (距離), number in metres
inline constexpr TFieldPos kTrackCode{706, 707};         // track code (see SurfaceOfTrack)

inline constexpr int kPrizePlaces = 7;               // places paid prize money (本賞金)
inline constexpr TFieldPos kPrizeMoneyAll{714, 769}; // prize money for places 1-7, 7 x 8 bytes
// Prize money (本賞金) for place 1..7: money, 8 bytes each, stride 8 from 714.
constexpr TFieldPos PrizeMoney(int place) noexcept {
    return detail::Repeated(714, 8, 8, kPrizePlaces, place - 1);
}
inline constexpr int kAddedPlaces = 5;               // places paid added money (付加賞金)
inline constexpr TFieldPos kAddedMoneyAll{810, 849}; // added money for places 1-5, 5 x 8 bytes
// Added money (付加賞金) for place 1..5: money, 8 bytes each, stride 8 from 810.
constexpr TFieldPos AddedMoney(int place) noexcept {
    return detail::Repeated(810, 8, 8, kAddedPlaces, place - 1);
}

inline constexpr TFieldPos kPostTime{874, 877};          // post time, hhmm
inline constexpr TFieldPos kRegisteredRunners{882, 883}; // registered runners (登録頭数), number
inline constexpr TFieldPos kStarters{884, 885};          // starters (出走頭数), number
inline constexpr TFieldPos kFinishers{886, 887};         // finishers (入線頭数), number
inline constexpr TFieldPos kWeatherCode{888, 888};       // weather code
inline constexpr TFieldPos kTurfGoingCode{889, 889};     // turf going code
inline constexpr TFieldPos kDirtGoingCode{890, 890};     // dirt going code
inline constexpr TFieldPos kLineEnd{1271, 1272};         // CR LF

static_assert(detail::AllWithin({kRecordType,
                                 kKindAndDate,
                                 kRaceKey,
                                 kWeekdayCode,
                                 kRaceName,
                                 kShortRaceName,
                                 kGradedRaceCount,
                                 kGradeCode,
                                 kRaceTypeCode,
                                 kRaceSymbolCode,
                                 kWeightRuleCode,
                                 kCondition2yo,
                                 kCondition3yo,
                                 kCondition4yo,
                                 kCondition5yoUp,
                                 kConditionYoungest,
                                 kConditionName,
                                 kDistance,
                                 kTrackCode,
                                 kPrizeMoneyAll,
                                 PrizeMoney(kPrizePlaces),
                                 kAddedMoneyAll,
                                 AddedMoney(kAddedPlaces),
                                 kPostTime,
                                 kRegisteredRunners,
                                 kStarters,
                                 kFinishers,
                                 kWeatherCode,
                                 kTurfGoingCode,
                                 kDirtGoingCode},
                                kLengthRA));
} // namespace RA

// ---- SE: one runner in one race (555 bytes) -------------------------------------------------
namespace SE {
using namespace Header;  // SE::kRecordType ...
using namespace RaceKey; // SE::kRaceNumber ...

inline constexpr TFieldPos kFrameNumber{28, 28};        // frame number (枠番), number 1-8
inline constexpr TFieldPos kHorseNumber{29, 30};        // horse number (馬番), number 1-18
inline constexpr TFieldPos kRegistrationNumber{31, 40}; // horse registration number, 10 digits
inline constexpr TFieldPos kFoalingYear{31, 34};        // foaling year: first 4 of the number
inline constexpr TFieldPos kHorseName{41, 76};          // horse name (馬名), name of 36 bytes
inline constexpr TFieldPos kHorseSymbolCode{77, 78};    // horse symbol code
inline constexpr TFieldPos kSexCode{79, 79};            // sex code
inline constexpr TFieldPos kBreedCode{80, 80};          // breed code
inline constexpr TFieldPos kCoatColourCode{81, 82};     // coat colour code
inline constexpr TFieldPos kAge{83, 84};                // age (馬齢), number
inline constexpr TFieldPos kTrainerCode{86, 90};      // trainer code (調教師コード), 5 digits
inline constexpr TFieldPos kTrainerShortName{91, 98}; // trainer short name, name of 8 bytes
inline constexpr TFieldPos kWeightCarried{289, 291};  // weight carried (負担重量), 0.1 kg
inline constexpr TFieldPos kBlinker{295, 295};        // blinker flag, "1" = blinkers
inline constexpr TFieldPos kJockeyCode{297, 301};     // jockey code (騎手コード), 5 digits
inline constexpr TFieldPos kJockeyShortName{307, 314};  // jockey short name, name of 8 bytes
inline constexpr TFieldPos kApprenticeCode{323, 323};   // apprentice allowance code
inline constexpr TFieldPos kBodyWeight{325, 327};       // body weight (馬体重), number in kg
inline constexpr TFieldPos kBodyWeightSign{328, 328};   // sign of the change: "+", "-", blank
inline constexpr TFieldPos kBodyWeightChange{329, 331}; // body weight change, number in kg
inline constexpr TFieldPos kAbnormalityCode{332, 332};  // abnormality code (異常区分)
inline constexpr TFieldPos kArrivalOrder{333, 334};     // order of arrival (入線順位), number
inline constexpr TFieldPos kFinishPosition{335, 336};   // final position (確定着順); 0 = none
inline constexpr TFieldPos kRaceTime{339, 342};         // race time, MSSF; "0000"/blank = none
inline constexpr TFieldPos kMarginCode{343, 345};       // margin code (着差)

inline constexpr int kCorners = 4;                        // corners with a recorded position
inline constexpr TFieldPos kCornerPositionsAll{352, 359}; // positions at corners 1-4, 4 x 2
// Position at corner 1..4: number, 2 bytes each, stride 2 from 352; 0 = none.
constexpr TFieldPos CornerPosition(int corner) noexcept {
    return detail::Repeated(352, 2, 2, kCorners, corner - 1);
}

inline constexpr TFieldPos kWinOdds{360, 363};       // win odds, number in 0.1
inline constexpr TFieldPos kWinPopularity{364, 365}; // win popularity rank; 0 = none
inline constexpr TFieldPos kPrizeMoney{366, 373};    // prize money won (獲得本賞金), money
inline constexpr TFieldPos kAddedMoney{374, 381};    // added money won, money
inline constexpr TFieldPos kLast4Furlongs{388, 390}; // last 4 furlongs time, SSF
inline constexpr TFieldPos kLast3Furlongs{391, 393}; // last 3 furlongs, SSF; 000/999/blank none
inline constexpr TFieldPos kOpponentName{404, 439};  // winner, or 2nd when this one won; 36
inline constexpr TFieldPos kTimeDiff{532, 535};      // time difference: sign + SSF
inline constexpr TFieldPos kTimeDiffSign{532, 532};  // sign of the time difference
inline constexpr TFieldPos kTimeDiffValue{533, 535}; // size of the time difference, SSF
inline constexpr TFieldPos kLineEnd{554, 555};       // CR LF

static_assert(detail::AllWithin({kRecordType,
                                 kKindAndDate,
                                 kRaceKey,
                                 kFrameNumber,
                                 kHorseNumber,
                                 kRegistrationNumber,
                                 kHorseName,
                                 kHorseSymbolCode,
                                 kSexCode,
                                 kBreedCode,
                                 kCoatColourCode,
                                 kAge,
                                 kTrainerShortName,
                                 kWeightCarried,
                                 kBlinker,
                                 kJockeyShortName,
                                 kApprenticeCode,
                                 kBodyWeight,
                                 kBodyWeightSign,
                                 kBodyWeightChange,
                                 kAbnormalityCode,
                                 kArrivalOrder,
                                 kFinishPosition,
                                 kRaceTime,
                                 kMarginCode,
                                 kCornerPositionsAll,
                                 CornerPosition(kCorners),
                                 kWinOdds,
                                 kWinPopularity,
                                 kPrizeMoney,
                                 kAddedMoney,
                                 kLast4Furlongs,
                                 kLast3Furlongs,
                                 kOpponentName,
                                 kTimeDiff},
                                kLengthSE));
} // namespace SE

// ---- HR: payoffs of one race (719 bytes) ----------------------------------------------------

// One bet type's payoff entries: `entries` blocks of `stride` bytes from `first`, each holding
// `horses` horse or frame numbers of `horseWidth` digits, a 9-digit payout (yen per 100-yen
// ticket, shown as stored) and a popularity rank of `popularityWidth` digits.
struct TPayoffGroup {
    int first;
    int entries;
    int stride;
    int horses;
    int horseWidth;
    int popularityWidth;

    static constexpr int kPayoutWidth = 9;

    // The whole group.
    constexpr TFieldPos Range() const noexcept {
        return TFieldPos{first, first + entries * stride - 1};
    }
    // Entry 0..entries-1 whole.
    constexpr TFieldPos Entry(int entry) const noexcept {
        return detail::Repeated(first, stride, stride, entries, entry);
    }
    // Horse (or frame) number k (0..horses-1) of an entry.
    constexpr TFieldPos Horse(int entry, int k) const noexcept {
        if (k < 0 || k >= horses) {
            return kNoField;
        }
        return detail::Repeated(first + k * horseWidth, horseWidth, stride, entries, entry);
    }
    // Payout of an entry, number of 9 digits.
    constexpr TFieldPos Payout(int entry) const noexcept {
        return detail::Repeated(first + horses * horseWidth, kPayoutWidth, stride, entries, entry);
    }
    // Popularity rank of an entry, number.
    constexpr TFieldPos Popularity(int entry) const noexcept {
        return detail::Repeated(first + horses * horseWidth + kPayoutWidth, popularityWidth, stride,
                                entries, entry);
    }
};

namespace HR {
using namespace Header;  // HR::kRecordType ...
using namespace RaceKey; // HR::kRaceNumber ...

// Win (単勝), 103-141: 3 entries of 13: horse 2, payout 9, popularity 2.
inline constexpr TPayoffGroup kWin{103, 3, 13, 1, 2, 2};
// Place (複勝), 142-206: 5 entries of 13, as win.
inline constexpr TPayoffGroup kPlace{142, 5, 13, 1, 2, 2};
// Bracket quinella (枠連), 207-245: 3 entries of 13: frame 1, frame 1, payout 9, popularity 2.
inline constexpr TPayoffGroup kBracketQuinella{207, 3, 13, 2, 1, 2};
// Quinella (馬連), 246-293: 3 entries of 16: horse 2, horse 2, payout 9, popularity 3.
inline constexpr TPayoffGroup kQuinella{246, 3, 16, 2, 2, 3};
// Quinella place (ワイド), 294-405: 7 entries of 16, as quinella.
inline constexpr TPayoffGroup kQuinellaPlace{294, 7, 16, 2, 2, 3};
// Exacta (馬単), 454-549: 6 entries of 16, as quinella.
inline constexpr TPayoffGroup kExacta{454, 6, 16, 2, 2, 3};
// Trio (3連複), 550-603: 3 entries of 18: three horses of 2, payout 9, popularity 3.
inline constexpr TPayoffGroup kTrio{550, 3, 18, 3, 2, 3};

// The seven bet types in stored order.
inline constexpr TPayoffGroup kPayoffGroups[] = {
    kWin, kPlace, kBracketQuinella, kQuinella, kQuinellaPlace, kExacta, kTrio};

inline constexpr TFieldPos kLineEnd{718, 719}; // CR LF

static_assert(detail::AllWithin({kRecordType, kKindAndDate, kRaceKey, kWin.Range(), kPlace.Range(),
                                 kBracketQuinella.Range(), kQuinella.Range(),
                                 kQuinellaPlace.Range(), kExacta.Range(), kTrio.Range()},
                                kLengthHR));
} // namespace HR

// ---- UM: horse master (1609 bytes) ----------------------------------------------------------

namespace UM {
using namespace Header; // UM::kRecordType ...

// The 14 entries of the three-generation pedigree (3代血統情報) in stored order.
enum TPedigreeEntry : int {
    kSire = 0,        // 父
    kDam,             // 母
    kSireSire,        // 父父
    kSireDam,         // 父母
    kDamSire,         // 母父
    kDamDam,          // 母母
    kSireSireSire,    // 父父父
    kSireSireDam,     // 父父母
    kSireDamSire,     // 父母父
    kSireDamDam,      // 父母母
    kDamSireSire,     // 母父父
    kDamSireDam,      // 母父母
    kDamDamSire,      // 母母父
    kDamDamDam,       // 母母母
    kPedigreeEntries, // count of entries (14)
};

// The 27 placing-count groups in stored order (turf 芝, dirt ダ, jump 障害).
enum TPlacingGroup : int {
    kAllRuns = 0,       // 1107: all runs
    kUnreadGroup,       // 1125: not read
    kTurfStraight,      // 1143: 芝直
    kTurfRight,         // 1161: 芝右
    kTurfLeft,          // 1179: 芝左
    kDirtStraight,      // 1197: ダ直
    kDirtRight,         // 1215: ダ右
    kDirtLeft,          // 1233: ダ左
    kJump,              // 1251: all jump races
    kTurfGood,          // 1269: turf, going 良
    kTurfSlightlyHeavy, // 1287: turf, going 稍重
    kTurfHeavy,         // 1305: turf, going 重
    kTurfBad,           // 1323: turf, going 不良
    kDirtGood,          // 1341: dirt, going 良
    kDirtSlightlyHeavy, // 1359: dirt, going 稍重
    kDirtHeavy,         // 1377: dirt, going 重
    kDirtBad,           // 1395: dirt, going 不良
    kJumpGood,          // 1413: jump, going 良
    kJumpSlightlyHeavy, // 1431: jump, going 稍重
    kJumpHeavy,         // 1449: jump, going 重
    kJumpBad,           // 1467: jump, going 不良
    kTurfUpTo1600,      // 1485: turf, up to 1600 m
    kTurf1601To2200,    // 1503: turf, 1601 to 2200 m
    kTurfOver2200,      // 1521: turf, over 2200 m
    kDirtUpTo1600,      // 1539: dirt, up to 1600 m
    kDirt1601To2200,    // 1557: dirt, 1601 to 2200 m
    kDirtOver2200,      // 1575: dirt, over 2200 m
    kPlacingGroups,     // count of groups (27)
};

inline constexpr TFieldPos kRegistrationNumber{12, 21}; // horse registration number, 10 digits
inline constexpr TFieldPos kFoalingYear{12, 15};        // foaling year: first 4 of the number
inline constexpr TFieldPos kDeregistered{22, 22};       // deregistration flag, "1" = deregistered
inline constexpr TFieldPos kHorseName{47, 82};          // horse name (馬名), name of 36
inline constexpr TFieldPos kKanaName{83, 118};          // name in half-width katakana, 36
inline constexpr TFieldPos kDeregistrationDate{31, 38}; // deregistration date, yyyymmdd
inline constexpr TFieldPos kBirthDate{39, 46};          // date of birth, yyyymmdd

inline constexpr TFieldPos kPedigree{205, 848}; // three-generation pedigree, 14 entries of 46
// Pedigree entry 0..13 whole (TPedigreeEntry), 46 bytes, stride 46 from 205.
constexpr TFieldPos PedigreeEntry(int entry) noexcept {
    return detail::Repeated(205, 46, 46, kPedigreeEntries, entry);
}
// Breeding registration number (繁殖登録番号) of pedigree entry 0..13, 10 digits at 205 + 46 *
// entry: what names a sire or dam across horses ("0000000000" when not known). Only the
// store's index reads it.
constexpr TFieldPos PedigreeNumber(int entry) noexcept {
    return detail::Repeated(205, 10, 46, kPedigreeEntries, entry);
}
// Name of pedigree entry 0..13, name of 36 bytes at 215 + 46 * entry (its first 10 bytes are
// the PedigreeNumber).
constexpr TFieldPos PedigreeName(int entry) noexcept {
    return detail::Repeated(215, 36, 46, kPedigreeEntries, entry);
}

inline constexpr TFieldPos kTrainerShortName{855, 862}; // trainer short name, name of 8
inline constexpr TFieldPos kInvitationRegion{863, 882}; // invitation region name, name of 20
inline constexpr TFieldPos kBreederName{891, 962};      // breeder name, name of 72
inline constexpr TFieldPos kBirthPlace{963, 982};       // place of birth, name of 20
inline constexpr TFieldPos kOwnerName{989, 1052};       // owner name, name of 64
inline constexpr TFieldPos kFlatPrizeMoney{1053, 1061}; // career flat prize money, money 9
inline constexpr TFieldPos kJumpPrizeMoney{1062, 1070}; // career jump prize money, money 9
inline constexpr TFieldPos kFlatAddedMoney{1071, 1079}; // career flat added money, money 9
inline constexpr TFieldPos kJumpAddedMoney{1080, 1088}; // career jump added money, money 9
inline constexpr TFieldPos kFlatEarnings{1089, 1097}; // flat earnings for class (平地収得), money 9
inline constexpr TFieldPos kJumpEarnings{1098, 1106}; // jump earnings for class (障害収得), money 9

inline constexpr int kPlacingPlaces = 6;               // counts per group: 1st .. 5th, 6th or worse
inline constexpr TFieldPos kPlacingCounts{1107, 1592}; // 27 placing-count groups of 18 bytes
// Placing-count group 0..26 whole (TPlacingGroup), 18 bytes, stride 18 from 1107.
constexpr TFieldPos PlacingGroup(int group) noexcept {
    return detail::Repeated(1107, 18, 18, kPlacingGroups, group);
}
// Count of finishes in place 1..6 (6 = 6th or worse) within a group: number of 3 digits.
constexpr TFieldPos PlacingCount(int group, int place) noexcept {
    const TFieldPos g = PlacingGroup(group);
    if (g.empty()) {
        return kNoField;
    }
    return detail::Repeated(g.first, 3, 3, kPlacingPlaces, place - 1);
}

inline constexpr TFieldPos kLineEnd{1608, 1609}; // CR LF

static_assert(detail::AllWithin({kRecordType,
                                 kKindAndDate,
                                 kRegistrationNumber,
                                 kDeregistered,
                                 kDeregistrationDate,
                                 kBirthDate,
                                 kPedigree,
                                 PedigreeEntry(kPedigreeEntries - 1),
                                 PedigreeName(kPedigreeEntries - 1),
                                 kTrainerShortName,
                                 kInvitationRegion,
                                 kBreederName,
                                 kBirthPlace,
                                 kOwnerName,
                                 kFlatPrizeMoney,
                                 kJumpPrizeMoney,
                                 kFlatAddedMoney,
                                 kJumpAddedMoney,
                                 kFlatEarnings,
                                 kJumpEarnings,
                                 kPlacingCounts,
                                 PlacingCount(kPlacingGroups - 1, kPlacingPlaces)},
                                kLengthUM));
} // namespace UM

// ---- RC: course record (501 bytes) ----------------------------------------------------------
namespace RC {
using namespace Header; // RC::kRecordType ...

inline constexpr TFieldPos kIdKind{12, 12};        // record identification kind; stored files "1"
inline constexpr TFieldPos kRaceKey{13, 28};       // key of the race in which the record was set
inline constexpr TFieldPos kYear{13, 16};          // year the record was set; blank/"0000" = none
inline constexpr TFieldPos kMonthDay{17, 20};      // month and day, mmdd
inline constexpr TFieldPos kMonth{17, 18};         // month, number mm
inline constexpr TFieldPos kDay{19, 20};           // day of the month, number dd
inline constexpr TFieldPos kCourseCode{21, 22};    // racecourse code
inline constexpr TFieldPos kMeeting{23, 24};       // meeting number, number shown as stored
inline constexpr TFieldPos kDayOfMeeting{25, 26};  // day of the meeting, number shown as stored
inline constexpr TFieldPos kRaceNumber{27, 28};    // race number, number shown as stored
inline constexpr TFieldPos kRaceTypeCode{94, 95};  // race type code
inline constexpr TFieldPos kDistance{96, 99};      // distance, number in metres
inline constexpr TFieldPos kTrackCode{100, 101};   // track code
inline constexpr TFieldPos kRecordKind{102, 102};  // record kind code (KeibaFunc::RecordKindText)
inline constexpr TFieldPos kRecordTime{103, 106};  // record time, MSSF
inline constexpr TFieldPos kWeatherCode{107, 107}; // weather code

// The record holder (the horse that set the record).
inline constexpr TFieldPos kHolderRegistrationNumber{110, 119}; // registration number, 10 digits
inline constexpr TFieldPos kHolderFoalingYear{110, 113};        // foaling year of the holder
inline constexpr TFieldPos kHolderName{120, 155};               // holder's name, name of 36
inline constexpr TFieldPos kHolderSymbolCode{156, 157};         // holder's horse symbol code
inline constexpr TFieldPos kHolderSexCode{158, 158};            // holder's sex code
inline constexpr TFieldPos kHolderTrainerName{164, 197};        // holder's trainer, name of 34
inline constexpr TFieldPos kHolderWeightCarried{198, 200}; // weight carried, 0.1 kg; "000" none
inline constexpr TFieldPos kHolderJockeyName{206, 239};    // holder's jockey, name of 34
inline constexpr TFieldPos kLineEnd{500, 501};             // CR LF

static_assert(detail::AllWithin({kRecordType, kKindAndDate, kIdKind, kRaceKey, kRaceTypeCode,
                                 kDistance, kTrackCode, kRecordKind, kRecordTime, kWeatherCode,
                                 kHolderRegistrationNumber, kHolderName, kHolderSymbolCode,
                                 kHolderSexCode, kHolderTrainerName, kHolderWeightCarried,
                                 kHolderJockeyName},
                                kLengthRC));
} // namespace RC

} // namespace jvdata
