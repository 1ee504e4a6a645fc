#include "race/PayoffTable.h"

#include "jvdata/KeibaFunc.h"
#include "jvdata/RecordLayout.h"
#include "jvdata/SjisText.h"

#include <cstddef>
#include <cstdio>
#include <iterator>
#include <type_traits>

namespace race {

namespace {

using KeibaFunc::Formatted;

// Where each bet type lies in the HR record, in the order of TBetType.
constexpr const jvdata::TPayoffGroup& GroupOf(TBetType bet) noexcept {
    return jvdata::HR::kPayoffGroups[static_cast<std::size_t>(bet)];
}

static_assert(std::size(jvdata::HR::kPayoffGroups) == kBetTypeCount);
static_assert(GroupOf(TBetType::Win).first == 103 && GroupOf(TBetType::Place).first == 142 &&
              GroupOf(TBetType::BracketQuinella).first == 207 &&
              GroupOf(TBetType::Quinella).first == 246 &&
              GroupOf(TBetType::QuinellaPlace).first == 294 &&
              GroupOf(TBetType::Exacta).first == 454 && GroupOf(TBetType::Trio).first == 550);

// Every bet type's list holds exactly the entries its record group has, and at most three
// numbers make a combination.
constexpr bool ListsMatchRecord() noexcept {
    for (const TBetType bet : kBetTypes) {
        if (GroupOf(bet).entries != PayoffEntryCount(bet) || GroupOf(bet).horses > 3 ||
            PayoffEntryCount(bet) > kMaxPayoffEntries) {
            return false;
        }
    }
    return std::tuple_size_v<decltype(TRacePayoffs::win)> == PayoffEntryCount(TBetType::Win) &&
           std::tuple_size_v<decltype(TRacePayoffs::place)> == PayoffEntryCount(TBetType::Place) &&
           std::tuple_size_v<decltype(TRacePayoffs::bracketQuinella)> ==
               PayoffEntryCount(TBetType::BracketQuinella) &&
           std::tuple_size_v<decltype(TRacePayoffs::quinella)> ==
               PayoffEntryCount(TBetType::Quinella) &&
           std::tuple_size_v<decltype(TRacePayoffs::quinellaPlace)> ==
               PayoffEntryCount(TBetType::QuinellaPlace) &&
           std::tuple_size_v<decltype(TRacePayoffs::exacta)> ==
               PayoffEntryCount(TBetType::Exacta) &&
           std::tuple_size_v<decltype(TRacePayoffs::trio)> == PayoffEntryCount(TBetType::Trio);
}
static_assert(ListsMatchRecord());

// The list of a bet type in a race's payoffs, const or not as the payoffs are.
template <class Payoffs>
auto ListOf(Payoffs& p, TBetType bet) noexcept {
    using Entry = std::conditional_t<std::is_const_v<Payoffs>, const TPayoffEntry, TPayoffEntry>;
    switch (bet) {
    case TBetType::Win:
        return std::span<Entry>(p.win);
    case TBetType::Place:
        return std::span<Entry>(p.place);
    case TBetType::BracketQuinella:
        return std::span<Entry>(p.bracketQuinella);
    case TBetType::Quinella:
        return std::span<Entry>(p.quinella);
    case TBetType::QuinellaPlace:
        return std::span<Entry>(p.quinellaPlace);
    case TBetType::Exacta:
        return std::span<Entry>(p.exacta);
    case TBetType::Trio:
        return std::span<Entry>(p.trio);
    }
    return std::span<Entry>();
}

// The combination text of two or three horse (or frame) numbers: each "%2d", joined by "-"
// (3, 5 -> " 3- 5"; 1, 2, 12 -> " 1- 2-12"); empty unless every number is above 0.
std::string CombinationText(const int* numbers, int count) {
    std::string text;
    for (int k = 0; k < count; ++k) {
        if (numbers[k] <= 0) {
            return {};
        }
        if (k > 0) {
            text += '-';
        }
        text += Formatted("%2d", numbers[k]);
    }
    return text;
}

} // namespace

std::span<const TPayoffEntry> TRacePayoffs::Entries(TBetType bet) const noexcept {
    return ListOf(*this, bet);
}

std::span<TPayoffEntry> TRacePayoffs::Entries(TBetType bet) noexcept {
    return ListOf(*this, bet);
}

const TRacePayoffs& TPayoffTable::Slot(int s) const noexcept {
    static const TRacePayoffs kNoPayoffs;
    return s >= 0 && s < kRaceSlots ? races[static_cast<std::size_t>(s)] : kNoPayoffs;
}

TRacePayoffs ParseRacePayoffs(const jvdata::TRecordHR& record) {
    TRacePayoffs payoffs;
    for (const TBetType bet : kBetTypes) {
        const jvdata::TPayoffGroup& group = GroupOf(bet);
        std::span<TPayoffEntry> entries = payoffs.Entries(bet);
        for (int e = 0; e < group.entries; ++e) {
            TPayoffEntry& entry = entries[static_cast<std::size_t>(e)];
            int numbers[3] = {};
            for (int k = 0; k < group.horses; ++k) {
                numbers[k] = record.Int(group.Horse(e, k));
            }
            if (IsSingleHorseBet(bet)) {
                entry.horse = numbers[0];
            } else {
                entry.combination = CombinationText(numbers, group.horses);
            }
            entry.popularity = record.Int(group.Popularity(e));
            entry.payout = record.Int(group.Payout(e));
        }
    }
    return payoffs;
}

TPayoffTable ParsePayoffTable(std::span<const jvdata::TRecordHR, kRaceSlots> payoffs) {
    TPayoffTable table;
    for (std::size_t s = 0; s < payoffs.size(); ++s) {
        table.races[s] = ParseRacePayoffs(payoffs[s]);
    }
    return table;
}

TPayoffBoxTexts PayoffEntryTexts(const TPayoffEntry& entry, TBetType bet) {
    TPayoffBoxTexts texts;
    if (IsSingleHorseBet(bet)) {
        if (entry.horse == 0) {
            return texts;
        }
        texts.result = Formatted("%2d", entry.horse);
    } else {
        if (Sjis::TrimBlanks(entry.combination).empty()) {
            return texts;
        }
        texts.result = entry.combination;
    }
    texts.popularity = Formatted("%2d", entry.popularity);
    texts.payout = Formatted("%8d", entry.payout);
    return texts;
}

std::vector<TPayoffBoxTexts> PayoffBoxTexts(const TPayoffTable& table, int slot, TBetType bet) {
    std::vector<TPayoffBoxTexts> columns;
    for (const TPayoffEntry& entry : table.Slot(slot).Entries(bet)) {
        columns.push_back(PayoffEntryTexts(entry, bet));
    }
    return columns;
}

} // namespace race
