// The payoffs of a race day: for each of the 12 race slots, the entries of the seven bet types
// read from the race's HR record, and the texts the results page "成績結果" shows for them.
//
// An entry of win or place is a horse number, a popularity rank and a payout; an entry of the
// other bet types is a combination text (" 3- 5", " 1- 2-12"), a popularity rank and a payout.
// A horse number of 0 or an empty combination marks an absent entry: a blank HR slot (a race
// without payoffs) parses to absent entries only, and its page boxes stay blank. Numbers are
// read leniently, so a damaged field reads as the digits it starts with, or 0.
#pragma once

#include "jvdata/Records.h"

#include <array>
#include <span>
#include <string>
#include <vector>

namespace race {

// Race slots of a day: slot s holds race number s + 1.
inline constexpr int kRaceSlots = 12;

// The seven bet types, in the order of the HR record and of the results page (top to bottom).
enum class TBetType {
    Win,             // 単勝
    Place,           // 複勝
    BracketQuinella, // 枠連
    Quinella,        // 馬連
    QuinellaPlace,   // ワイド
    Exacta,          // 馬単
    Trio,            // 三連複
};
inline constexpr int kBetTypeCount = 7;
inline constexpr std::array<TBetType, kBetTypeCount> kBetTypes = {
    TBetType::Win,      TBetType::Place,         TBetType::BracketQuinella,
    TBetType::Quinella, TBetType::QuinellaPlace, TBetType::Exacta,
    TBetType::Trio};

// Number of entries of a bet type: the record's entries and the page's columns alike.
constexpr int PayoffEntryCount(TBetType bet) noexcept {
    switch (bet) {
    case TBetType::Win:
        return 3;
    case TBetType::Place:
        return 5;
    case TBetType::BracketQuinella:
    case TBetType::Quinella:
        return 3;
    case TBetType::QuinellaPlace:
        return 7;
    case TBetType::Exacta:
        return 6;
    case TBetType::Trio:
        return 3;
    }
    return 0;
}
// The most entries any bet type has (quinella place).
inline constexpr int kMaxPayoffEntries = 7;
// True for win and place, whose entries name one horse; false for the combination bets.
constexpr bool IsSingleHorseBet(TBetType bet) noexcept {
    return bet == TBetType::Win || bet == TBetType::Place;
}

// One payoff entry.
struct TPayoffEntry {
    int horse = 0;           // win and place: horse number; 0 = no entry
    std::string combination; // other bet types: "%2d-%2d" or "%2d-%2d-%2d"; empty = no entry
    int popularity = 0;      // popularity rank, as read (0 when blank)
    int payout = 0;          // payout in yen per 100-yen ticket, as read (0 when blank)

    friend bool operator==(const TPayoffEntry&, const TPayoffEntry&) = default;
};

// The payoff entries of one race, one fixed list per bet type in record order.
struct TRacePayoffs {
    std::array<TPayoffEntry, 3> win;
    std::array<TPayoffEntry, 5> place;
    std::array<TPayoffEntry, 3> bracketQuinella;
    std::array<TPayoffEntry, 3> quinella;
    std::array<TPayoffEntry, 7> quinellaPlace;
    std::array<TPayoffEntry, 6> exacta;
    std::array<TPayoffEntry, 3> trio;

    // The list of a bet type, PayoffEntryCount(bet) entries.
    std::span<const TPayoffEntry> Entries(TBetType bet) const noexcept;
    std::span<TPayoffEntry> Entries(TBetType bet) noexcept;

    friend bool operator==(const TRacePayoffs&, const TRacePayoffs&) = default;
};

// The parsed payoffs of a race day, rebuilt by every day load and read by the results page.
struct TPayoffTable {
    std::array<TRacePayoffs, kRaceSlots> races; // slot s = race number s + 1

    // The payoffs of slot s; a slot outside 0..11 gives a race without entries.
    const TRacePayoffs& Slot(int s) const noexcept;

    friend bool operator==(const TPayoffTable&, const TPayoffTable&) = default;
};

// The entries of one HR record. The record type in bytes 1-2 is not checked: the day load puts
// only records from the day's payoff file into the slots, and a blank slot reads as no entries.
TRacePayoffs ParseRacePayoffs(const jvdata::TRecordHR& record);

// The table of a race day from its 12 payoff slots (slot s of the day's payoffs to slot s).
TPayoffTable ParsePayoffTable(std::span<const jvdata::TRecordHR, kRaceSlots> payoffs);

// ---- Texts of the page's boxes ------------------------------------------------------------

// The three boxes of one entry's column, Shift-JIS; empty texts leave a box blank.
struct TPayoffBoxTexts {
    std::string result;     // "結果：" row: horse number "%2d" or the combination as stored
    std::string popularity; // "人気：" row: popularity rank "%2d"
    std::string payout;     // "配当：" row: payout "%8d"

    friend bool operator==(const TPayoffBoxTexts&, const TPayoffBoxTexts&) = default;
};

// The boxes of one entry of a bet type: filled when the entry is there (win and place: horse
// number not 0; the others: combination not blank once trimmed), all blank otherwise.
TPayoffBoxTexts PayoffEntryTexts(const TPayoffEntry& entry, TBetType bet);

// The boxes of every column of a bet type for race slot s, PayoffEntryCount(bet) of them in
// entry order; all blank for a slot without payoffs or outside 0..11.
std::vector<TPayoffBoxTexts> PayoffBoxTexts(const TPayoffTable& table, int slot, TBetType bet);

} // namespace race
