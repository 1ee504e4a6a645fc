#include "race/PayoffPage.h"
#include "race/PayoffTable.h"
#include "support/TestSupport.h"

#include <array>
#include <cstddef>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace race {
// Box texts in assertion messages.
void PrintTo(const TPayoffBoxTexts& texts, std::ostream* out) {
    *out << '{' << keiba::test::Show(texts.result) << ", " << keiba::test::Show(texts.popularity)
         << ", " << keiba::test::Show(texts.payout) << '}';
}
} // namespace race

namespace {

using jvdata::TRecordHR;
using keiba::test::S;
using keiba::test::Show;
using race::TBetType;
using race::TPayoffBoxTexts;
using race::TPayoffEntry;
using race::TPayoffTable;
namespace page = race::PayoffPage;

constexpr std::size_t kHRLength = 719;

// An HR record built byte by byte: `fill` in every data byte, the header and a race key, CR LF.
std::string RecordBytes(char fill = ' ') {
    std::string bytes(kHRLength, fill);
    bytes.replace(0, 27, "HR2200404272004050203040111");
    bytes[kHRLength - 2] = '\r';
    bytes[kHRLength - 1] = '\n';
    return bytes;
}

// Writes text at the 1-based byte position.
void Put(std::string& bytes, std::size_t position, std::string_view text) {
    bytes.replace(position - 1, text.size(), text);
}

TRecordHR Record(const std::string& bytes) {
    const auto record = TRecordHR::FromBytes(bytes);
    EXPECT_TRUE(record.has_value());
    return record.value_or(TRecordHR{});
}

TPayoffTable TableWithSlot(int slot, const std::string& bytes) {
    std::array<TRecordHR, race::kRaceSlots> payoffs{};
    payoffs[static_cast<std::size_t>(slot)] = Record(bytes);
    return race::ParsePayoffTable(payoffs);
}

const TPayoffBoxTexts kBlankBoxes{"", "", ""};

// ---- Positions ----------------------------------------------------------------------------

// Every entry of every bet type, typed as its record bytes at its position, with what it reads.
struct TypedEntry {
    std::size_t position;
    std::string_view bytes;
    TBetType bet;
    int index;
    int horse;
    std::string_view combination;
    int popularity;
    int payout;
};
const TypedEntry kEveryEntry[] = {
    // Win, 3 x 13 from 103: horse 2, payout 9, popularity 2.
    {103, "0100000011001", TBetType::Win, 0, 1, "", 1, 110},
    {116, "0200000022002", TBetType::Win, 1, 2, "", 2, 220},
    {129, "0300000033003", TBetType::Win, 2, 3, "", 3, 330},
    // Place, 5 x 13 from 142.
    {142, "0400000010004", TBetType::Place, 0, 4, "", 4, 100},
    {155, "0500000020005", TBetType::Place, 1, 5, "", 5, 200},
    {168, "0600000030006", TBetType::Place, 2, 6, "", 6, 300},
    {181, "0700000040007", TBetType::Place, 3, 7, "", 7, 400},
    {194, "0800000050008", TBetType::Place, 4, 8, "", 8, 500},
    // Bracket quinella, 3 x 13 from 207: frame 1, frame 1, payout 9, popularity 2.
    {207, "1200000060009", TBetType::BracketQuinella, 0, 0, " 1- 2", 9, 600},
    {220, "3400000070010", TBetType::BracketQuinella, 1, 0, " 3- 4", 10, 700},
    {233, "7800000080011", TBetType::BracketQuinella, 2, 0, " 7- 8", 11, 800},
    // Quinella, 3 x 16 from 246: horse 2, horse 2, payout 9, popularity 3.
    {246, "0102000000900012", TBetType::Quinella, 0, 0, " 1- 2", 12, 900},
    {262, "0318000001000013", TBetType::Quinella, 1, 0, " 3-18", 13, 1000},
    {278, "1017000001100014", TBetType::Quinella, 2, 0, "10-17", 14, 1100},
    // Quinella place, 7 x 16 from 294.
    {294, "0102000000120015", TBetType::QuinellaPlace, 0, 0, " 1- 2", 15, 120},
    {310, "0103000000130016", TBetType::QuinellaPlace, 1, 0, " 1- 3", 16, 130},
    {326, "0203000000140017", TBetType::QuinellaPlace, 2, 0, " 2- 3", 17, 140},
    {342, "0405000000150018", TBetType::QuinellaPlace, 3, 0, " 4- 5", 18, 150},
    {358, "0406000000160019", TBetType::QuinellaPlace, 4, 0, " 4- 6", 19, 160},
    {374, "0506000000170020", TBetType::QuinellaPlace, 5, 0, " 5- 6", 20, 170},
    {390, "1112000000180021", TBetType::QuinellaPlace, 6, 0, "11-12", 21, 180},
    // Exacta, 6 x 16 from 454.
    {454, "0201000000190022", TBetType::Exacta, 0, 0, " 2- 1", 22, 190},
    {470, "0302000000200023", TBetType::Exacta, 1, 0, " 3- 2", 23, 200},
    {486, "0403000000210024", TBetType::Exacta, 2, 0, " 4- 3", 24, 210},
    {502, "0504000000220025", TBetType::Exacta, 3, 0, " 5- 4", 25, 220},
    {518, "0605000000230026", TBetType::Exacta, 4, 0, " 6- 5", 26, 230},
    {534, "1609000000240027", TBetType::Exacta, 5, 0, "16- 9", 27, 240},
    // Trio, 3 x 18 from 550: three horses of 2, payout 9, popularity 3.
    {550, "010212000000250028", TBetType::Trio, 0, 0, " 1- 2-12", 28, 250},
    {568, "030405000000260029", TBetType::Trio, 1, 0, " 3- 4- 5", 29, 260},
    {586, "101418000000270030", TBetType::Trio, 2, 0, "10-14-18", 30, 270},
};

TEST(PayoffParse, ReadsEveryEntryOfEveryBetTypeAtItsPosition) {
    // Digits everywhere first, so bytes outside the payoff groups (28-102, 406-453, 604-717)
    // would show up if they were read.
    std::string bytes = RecordBytes('7');
    for (const TypedEntry& typed : kEveryEntry) {
        Put(bytes, typed.position, typed.bytes);
    }
    const race::TRacePayoffs payoffs = race::ParseRacePayoffs(Record(bytes));

    for (const TypedEntry& typed : kEveryEntry) {
        SCOPED_TRACE(typed.position);
        const TPayoffEntry& entry =
            payoffs.Entries(typed.bet)[static_cast<std::size_t>(typed.index)];
        EXPECT_EQ(entry.horse, typed.horse);
        EXPECT_EQ(entry.combination, typed.combination);
        EXPECT_EQ(entry.popularity, typed.popularity);
        EXPECT_EQ(entry.payout, typed.payout);
    }
}

TEST(PayoffParse, EachBetTypeHasItsNumberOfEntriesAndColumns) {
    const std::pair<TBetType, std::size_t> kCounts[] = {
        {TBetType::Win, 3},      {TBetType::Place, 5},         {TBetType::BracketQuinella, 3},
        {TBetType::Quinella, 3}, {TBetType::QuinellaPlace, 7}, {TBetType::Exacta, 6},
        {TBetType::Trio, 3}};
    const TPayoffTable table;
    const race::TRacePayoffs payoffs;
    for (const auto& [bet, count] : kCounts) {
        EXPECT_EQ(payoffs.Entries(bet).size(), count);
        EXPECT_EQ(race::PayoffBoxTexts(table, 0, bet).size(), count);
    }
}

// ---- Texts of the boxes -------------------------------------------------------------------

TEST(PayoffBoxes, FilledEntriesShowNumberPopularityAndPayout) {
    std::string bytes = RecordBytes();
    Put(bytes, 103, "0300000035002"); // win: horse 3, 350 yen, 2nd favourite
    Put(bytes, 246, "0305000001230004");
    Put(bytes, 550, "010212000012345120");
    const TPayoffTable table = TableWithSlot(0, bytes);

    EXPECT_EQ(race::PayoffBoxTexts(table, 0, TBetType::Win)[0],
              (TPayoffBoxTexts{" 3", " 2", "     350"}));
    // A payout of 1230 shows as four blanks and 1230.
    EXPECT_EQ(race::PayoffBoxTexts(table, 0, TBetType::Quinella)[0],
              (TPayoffBoxTexts{" 3- 5", " 4", "    1230"}));
    // Three-digit popularity keeps its digits; five-digit payout right-aligned in eight.
    EXPECT_EQ(race::PayoffBoxTexts(table, 0, TBetType::Trio)[0],
              (TPayoffBoxTexts{" 1- 2-12", "120", "   12345"}));
}

TEST(PayoffBoxes, WidestValuesAreNotCut) {
    std::string bytes = RecordBytes();
    Put(bytes, 103, "1899999999918"); // a payout of nine digits
    Put(bytes, 454, "1817999999999999");
    const TPayoffTable table = TableWithSlot(0, bytes);
    EXPECT_EQ(race::PayoffBoxTexts(table, 0, TBetType::Win)[0],
              (TPayoffBoxTexts{"18", "18", "999999999"}));
    EXPECT_EQ(race::PayoffBoxTexts(table, 0, TBetType::Exacta)[0],
              (TPayoffBoxTexts{"18-17", "999", "999999999"}));
}

TEST(PayoffBoxes, TwoWinAndTwoPlaceEntriesLeaveTheOtherColumnsBlank) {
    std::string bytes = RecordBytes();
    Put(bytes, 103, "0500000041002"); // dead heat for first: two win entries
    Put(bytes, 116, "0800000052003");
    Put(bytes, 142, "0500000015002"); // a small field: two place entries
    Put(bytes, 155, "0800000018003");
    const TPayoffTable table = TableWithSlot(2, bytes);

    const std::vector<TPayoffBoxTexts> win{
        {" 5", " 2", "     410"}, {" 8", " 3", "     520"}, kBlankBoxes};
    EXPECT_EQ(race::PayoffBoxTexts(table, 2, TBetType::Win), win);
    const std::vector<TPayoffBoxTexts> place{
        {" 5", " 2", "     150"}, {" 8", " 3", "     180"}, kBlankBoxes, kBlankBoxes, kBlankBoxes};
    EXPECT_EQ(race::PayoffBoxTexts(table, 2, TBetType::Place), place);
}

TEST(PayoffBoxes, BracketQuinellaFramesAndABlankFrame) {
    std::string bytes = RecordBytes();
    Put(bytes, 207, "3500000098007"); // frames 3 and 5
    Put(bytes, 220, "3 00000045006"); // second frame blank, popularity and payout present
    Put(bytes, 233, " 600000045006"); // first frame blank
    const TPayoffTable table = TableWithSlot(0, bytes);

    const std::vector<TPayoffBoxTexts> expected{
        {" 3- 5", " 7", "     980"}, kBlankBoxes, kBlankBoxes};
    EXPECT_EQ(race::PayoffBoxTexts(table, 0, TBetType::BracketQuinella), expected);
    // The popularity and payout of an entry without a combination are still read.
    const TPayoffEntry& blankFrame = table.Slot(0).bracketQuinella[1];
    EXPECT_EQ(blankFrame.combination, "");
    EXPECT_EQ(blankFrame.popularity, 6);
    EXPECT_EQ(blankFrame.payout, 450);
}

TEST(PayoffBoxes, CombinationNeedsEveryHorseAboveZero) {
    std::string bytes = RecordBytes();
    Put(bytes, 246, "0500000000120001");   // second horse 00
    Put(bytes, 262, " 7 9000000120001");   // blank-padded numbers read as 7 and 9
    Put(bytes, 294, "  05000000120001");   // first horse blank
    Put(bytes, 550, "010200000012000001"); // third horse 00
    Put(bytes, 568, "01  03000012000001"); // second horse blank
    const TPayoffTable table = TableWithSlot(0, bytes);
    const race::TRacePayoffs& payoffs = table.Slot(0);
    EXPECT_EQ(payoffs.quinella[0].combination, "");
    EXPECT_EQ(payoffs.quinella[1].combination, " 7- 9");
    EXPECT_EQ(payoffs.quinellaPlace[0].combination, "");
    EXPECT_EQ(payoffs.trio[0].combination, "");
    EXPECT_EQ(payoffs.trio[1].combination, "");
    EXPECT_EQ(race::PayoffBoxTexts(table, 0, TBetType::Trio)[1], kBlankBoxes);
}

TEST(PayoffBoxes, AWinEntryWithoutHorseIsBlankEvenWithPayout) {
    std::string bytes = RecordBytes();
    Put(bytes, 103, "0000000035002");
    Put(bytes, 116, "  00000035002");
    const TPayoffTable table = TableWithSlot(0, bytes);
    const std::vector<TPayoffBoxTexts> blank(3, kBlankBoxes);
    EXPECT_EQ(race::PayoffBoxTexts(table, 0, TBetType::Win), blank);
}

// ---- Blank slots and damaged records ------------------------------------------------------

TEST(PayoffTable, BlankSlotsAndSlotsOutsideTheDayShowEmptyPages) {
    std::string bytes = RecordBytes();
    Put(bytes, 103, "0300000035002");
    const TPayoffTable table = TableWithSlot(4, bytes);

    EXPECT_EQ(table.Slot(4).win[0].horse, 3);
    for (const int slot : {0, 3, 5, 11, -1, 12}) {
        SCOPED_TRACE(slot);
        EXPECT_EQ(table.Slot(slot), race::TRacePayoffs{});
        for (const TBetType bet : race::kBetTypes) {
            for (const TPayoffBoxTexts& column : race::PayoffBoxTexts(table, slot, bet)) {
                EXPECT_EQ(column, kBlankBoxes);
            }
        }
    }
}

TEST(PayoffTable, EachSlotTakesItsOwnRecord) {
    std::array<TRecordHR, race::kRaceSlots> payoffs{};
    for (std::size_t s = 0; s < payoffs.size(); ++s) {
        std::string bytes = RecordBytes();
        const std::string horse = s + 1 < 10 ? "0" + std::to_string(s + 1) : std::to_string(s + 1);
        Put(bytes, 103, horse + "00000010001");
        payoffs[s] = Record(bytes);
    }
    const TPayoffTable table = race::ParsePayoffTable(payoffs);
    for (int s = 0; s < race::kRaceSlots; ++s) {
        EXPECT_EQ(table.Slot(s).win[0].horse, s + 1);
    }
}

TEST(PayoffTable, DamagedFieldsReadLeniently) {
    std::string bytes = RecordBytes();
    Put(bytes, 103, "0300012a345--"); // payout stops at the letter, popularity none
    Put(bytes, 116,
        "\x82\x60"
        "000000100 3");               // a two-byte character as horse number
    Put(bytes, 207, "A5000000100 1"); // a letter as frame
    Put(bytes, 246, "\x83\x4E\x83\x4E\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40");
    const TPayoffTable table = TableWithSlot(0, bytes);
    const race::TRacePayoffs& payoffs = table.Slot(0);

    EXPECT_EQ(payoffs.win[0], (TPayoffEntry{3, "", 0, 12}));
    EXPECT_EQ(race::PayoffEntryTexts(payoffs.win[0], TBetType::Win),
              (TPayoffBoxTexts{" 3", " 0", "      12"}));
    EXPECT_EQ(payoffs.win[1], (TPayoffEntry{0, "", 3, 100}));
    EXPECT_EQ(payoffs.bracketQuinella[0].combination, "");
    EXPECT_EQ(payoffs.quinella[0], TPayoffEntry{});
}

TEST(PayoffTable, AnHRRecordWithAnEmptyPayoffBlockHasNoEntries) {
    // A record of a race not yet run: header and key, blanks elsewhere.
    const TPayoffTable table = TableWithSlot(0, RecordBytes());
    EXPECT_EQ(table.Slot(0), race::TRacePayoffs{});
}

// ---- Page layout --------------------------------------------------------------------------

TEST(PayoffPage, HeadingsCaptionsAndFont) {
    const std::pair<TBetType, std::string_view> kHeadings[] = {{TBetType::Win, "単勝"},
                                                               {TBetType::Place, "複勝"},
                                                               {TBetType::BracketQuinella, "枠連"},
                                                               {TBetType::Quinella, "馬連"},
                                                               {TBetType::QuinellaPlace, "ﾜｲﾄﾞ"},
                                                               {TBetType::Exacta, "馬単"},
                                                               {TBetType::Trio, "三連複"}};
    for (const auto& [bet, heading] : kHeadings) {
        EXPECT_EQ(page::BetTypeHeading(bet), S(heading)) << Show(page::BetTypeHeading(bet));
    }
    EXPECT_EQ(page::BetTypeHeading(TBetType::QuinellaPlace), "\xDC\xB2\xC4\xDE"); // half-width
    EXPECT_EQ(page::LineCaption(page::TPayoffLine::Result), S("結果："));
    EXPECT_EQ(page::LineCaption(page::TPayoffLine::Popularity), S("人気："));
    EXPECT_EQ(page::LineCaption(page::TPayoffLine::Payout), S("配当："));
    EXPECT_EQ(page::kBoxFontFace, S("ＭＳ ゴシック"));
    EXPECT_EQ(page::kFontPixels, 12);
}

TEST(PayoffPage, BoxesColumnsAndColours) {
    EXPECT_EQ(page::ColumnLeft(0), 49);
    EXPECT_EQ(page::ColumnLeft(1), 113);
    EXPECT_EQ(page::ColumnLeft(6), 433);
    EXPECT_EQ(page::kBoxWidth, 60);
    for (const TBetType bet : race::kBetTypes) {
        const bool taller = bet == TBetType::Exacta || bet == TBetType::Trio;
        EXPECT_EQ(page::BoxHeight(bet), taller ? 15 : 14);
    }
    EXPECT_LE(page::kCaptionLeft + page::kCaptionWidth, page::ColumnLeft(0));

    EXPECT_EQ(page::BoxLook(page::TPayoffLine::Result).textColour, 0x00FFFFu);
    EXPECT_EQ(page::BoxLook(page::TPayoffLine::Popularity).textColour, 0xFFFF00u);
    EXPECT_EQ(page::BoxLook(page::TPayoffLine::Payout).textColour, 0x00FFFFu);
    for (const page::TPayoffLine line : page::kLines) {
        const page::TLabelLook look = page::BoxLook(line);
        EXPECT_TRUE(look.filled && look.box && look.bold);
        EXPECT_EQ(look.background, 0x000000u);
    }
    EXPECT_EQ(page::kHeadingLook.textColour, 0x0000FFu);
    EXPECT_TRUE(page::kHeadingLook.bold && page::kHeadingLook.underline);
    EXPECT_EQ(page::kCaptionLook.textColour, 0x0000FFu);
}

TEST(PayoffPage, BlocksStandTopToBottomWithoutOverlap) {
    int previousBottom = 0;
    for (const TBetType bet : race::kBetTypes) {
        SCOPED_TRACE(static_cast<int>(bet));
        EXPECT_GE(page::BlockTop(bet), previousBottom);
        int rowTop = page::BlockTop(bet) + page::kHeadingHeight;
        for (const page::TPayoffLine line : page::kLines) {
            EXPECT_GE(page::LineTop(bet, line), rowTop);
            rowTop = page::LineTop(bet, line) + page::BoxHeight(bet);
        }
        previousBottom = rowTop;
    }
    EXPECT_GE(page::PageHeight(), previousBottom);
}

} // namespace
