// Record blocks: lengths and type detection, construction from bytes and store lines, field
// reads and writes at the edges of a record, and the unit helpers.
#include "jvdata/RecordUnits.h"
#include "jvdata/Records.h"
#include "support/TestSupport.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <string_view>

namespace {

using namespace jvdata;
using keiba::test::S;
using keiba::test::Show;

std::string RawBlank(std::size_t length) {
    return std::string(length - 2, ' ') + "\r\n";
}

// ---- Lengths and types --------------------------------------------------------------------

TEST(RecordType, LengthsByCode) {
    EXPECT_EQ(RecordLength("RA"), 1272u);
    EXPECT_EQ(RecordLength("SE"), 555u);
    EXPECT_EQ(RecordLength("HR"), 719u);
    EXPECT_EQ(RecordLength("UM"), 1609u);
    EXPECT_EQ(RecordLength("RC"), 501u);
    // Unknown codes, other letter case, wrong sizes.
    for (std::string_view code : {"", "R", "XX", "ra", "  ", "RAX", "H R", "UMA"}) {
        EXPECT_EQ(RecordLength(code), 0u) << '"' << code << '"';
    }
    EXPECT_EQ(RecordLength(TRecordType::Unknown), 0u);
}

TEST(RecordType, BlockSizesAreTheRecordLengths) {
    EXPECT_EQ(sizeof(TRecordRA), 1272u);
    EXPECT_EQ(sizeof(TRecordSE), 555u);
    EXPECT_EQ(sizeof(TRecordHR), 719u);
    EXPECT_EQ(sizeof(TRecordUM), 1609u);
    EXPECT_EQ(sizeof(TRecordRC), 501u);
    EXPECT_EQ(TRecordSE::kDataLength, 553u);
    EXPECT_EQ(TRecordSE::kType, TRecordType::SE);
}

TEST(RecordType, FromTheFirstTwoBytes) {
    EXPECT_EQ(RecordTypeOf("RA7202404280000"), TRecordType::RA);
    EXPECT_EQ(RecordTypeOf("SE"), TRecordType::SE);
    EXPECT_EQ(RecordTypeOf("HR2"), TRecordType::HR);
    EXPECT_EQ(RecordTypeOf("UM1"), TRecordType::UM);
    EXPECT_EQ(RecordTypeOf("RC1"), TRecordType::RC);
    EXPECT_EQ(RecordTypeOf("H1"), TRecordType::Unknown);
    EXPECT_EQ(RecordTypeOf("R"), TRecordType::Unknown);
    EXPECT_EQ(RecordTypeOf(""), TRecordType::Unknown);
    EXPECT_EQ(RecordTypeOf(" RA"), TRecordType::Unknown);
    EXPECT_EQ(RecordTypeCode(TRecordType::UM), "UM");
    EXPECT_EQ(RecordTypeCode(TRecordType::Unknown), "");
}

TEST(RecordCheck, ByTypeLengthAndLineEnd) {
    std::string se = RawBlank(555);
    se.replace(0, 2, "SE");
    EXPECT_EQ(CheckRecord(se), TRecordCheck::Ok);
    EXPECT_EQ(CheckRecord(se.substr(0, 554)), TRecordCheck::WrongLength);
    EXPECT_EQ(CheckRecord(se + " "), TRecordCheck::WrongLength);
    EXPECT_EQ(CheckRecord(se.substr(0, 553)), TRecordCheck::WrongLength) << "CR LF cut off";
    // The length of another type is wrong for this one.
    std::string seAsLongAsRa = RawBlank(1272);
    seAsLongAsRa.replace(0, 2, "SE");
    EXPECT_EQ(CheckRecord(seAsLongAsRa), TRecordCheck::WrongLength);
    std::string noLineEnd = se;
    noLineEnd[553] = ' ';
    EXPECT_EQ(CheckRecord(noLineEnd), TRecordCheck::NoLineEnd);
    std::string lfOnly = se.substr(0, 553) + " \n";
    EXPECT_EQ(CheckRecord(lfOnly), TRecordCheck::NoLineEnd);
    EXPECT_EQ(CheckRecord(RawBlank(555)), TRecordCheck::UnknownType);
    EXPECT_EQ(CheckRecord(""), TRecordCheck::UnknownType);
}

// ---- Construction ------------------------------------------------------------------------

TEST(RecordBlock, DefaultIsBlankWithLineEnd) {
    const TRecordHR hr;
    EXPECT_EQ(hr.view(), RawBlank(719));
    EXPECT_EQ(hr.Line(), std::string(717, ' '));
    EXPECT_TRUE(hr.IsBlank());
    EXPECT_FALSE(hr.HasType());
}

TEST(RecordBlock, BlankRaceReadsAsZerosAndBlanks) {
    const TRecordRA ra;
    EXPECT_EQ(ra.RaceKey(), std::string(16, ' '));
    EXPECT_EQ(ra.Year(), "    ");
    EXPECT_EQ(ra.DataKindValue(), 0);
    for (TFieldPos pos : {RA::kYear, RA::kRaceNumber, RA::kRaceDate, RA::kDistance, RA::kTrackCode,
                          RA::kRegisteredRunners, RA::PrizeMoney(1), RA::AddedMoney(5),
                          RA::kGradeCode, RA::kPostTime}) {
        EXPECT_EQ(ra.Int(pos), 0) << pos.first << "-" << pos.last;
    }
}

TEST(RecordBlock, CreateWritesTheHeader) {
    const TRecordRA ra = TRecordRA::Create('7', "20240428");
    EXPECT_EQ(ra.Field(1, 12), "RA720240428 ");
    EXPECT_TRUE(ra.HasType());
    EXPECT_FALSE(ra.IsBlank());
    EXPECT_EQ(ra.DataKindValue(), 7);
    EXPECT_EQ(ra.CreationDate(), "20240428");
    EXPECT_EQ(ra.Field(RA::kLineEnd), "\r\n");
    EXPECT_EQ(TRecordUM::Create('A', "2024").Field(1, 11), "UMA2024    ");
    EXPECT_EQ(TRecordUM::Create('A', "").DataKindValue(), 0) << "a letter kind has value 0";
}

TEST(RecordBlock, FromBytesTakesOnlyTheExactLengthWithCrLf) {
    std::string raw = RawBlank(501);
    raw.replace(0, 12, "RC1202405011");
    const auto rc = TRecordRC::FromBytes(raw);
    ASSERT_TRUE(rc.has_value());
    EXPECT_EQ(rc->view(), raw);
    EXPECT_EQ(rc->IdKind(), '1');

    EXPECT_FALSE(TRecordRC::FromBytes(raw.substr(0, 500)).has_value());
    EXPECT_FALSE(TRecordRC::FromBytes(raw + "\r\n").has_value());
    EXPECT_FALSE(TRecordRC::FromBytes("").has_value());
    EXPECT_FALSE(TRecordRC::FromBytes(raw.substr(0, 499) + "  ").has_value()) << "no CR LF";
    EXPECT_FALSE(TRecordRC::FromBytes(raw.substr(0, 499) + "\n\r").has_value());
    // The type is the caller's to check: an SE-typed block of RC length is taken, not typed.
    std::string other = raw;
    other.replace(0, 2, "SE");
    const auto odd = TRecordRC::FromBytes(other);
    ASSERT_TRUE(odd.has_value());
    EXPECT_FALSE(odd->HasType());
}

TEST(RecordBlock, StoreLineRoundTrip) {
    TRecordSE se = TRecordSE::Create('7', "20240428");
    se.SetField(SE::kRaceKey, "2024042805020411");
    se.SetField(SE::kHorseNumber, "05");
    const std::string line(se.Line());
    EXPECT_EQ(line.size(), 553u);
    const auto back = TRecordSE::FromLine(line);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, se);
    EXPECT_EQ(back->Field(SE::kLineEnd), "\r\n");
    EXPECT_FALSE(TRecordSE::FromLine(line + "\r\n").has_value()) << "a whole record is no line";
    EXPECT_FALSE(TRecordSE::FromLine(line.substr(0, 552)).has_value());
    // The empty runner slot of a store file: 553 blanks.
    const auto slot = TRecordSE::FromLine(std::string(553, ' '));
    ASSERT_TRUE(slot.has_value());
    EXPECT_TRUE(slot->IsBlank());
    EXPECT_EQ(slot->Int(SE::kHorseNumber), 0);
}

// ---- Reading at the edges ----------------------------------------------------------------

TEST(RecordField, ReadsAreClippedToTheRecord) {
    TRecordRC rc = TRecordRC::Create('1', "20240501");
    EXPECT_EQ(rc.Field(1, 2), "RC");
    EXPECT_EQ(rc.Field(0, 3), "RC1") << "clipped at the start";
    EXPECT_EQ(rc.Field(-5, -1), "");
    EXPECT_EQ(rc.Field(500, 600), "\r\n") << "clipped at the end";
    EXPECT_EQ(rc.Field(502, 510), "");
    EXPECT_EQ(rc.Field(5, 4), "") << "reversed range";
    EXPECT_EQ(rc.Field(kNoField), "");
    EXPECT_EQ(rc.Int(kNoField), 0);
    EXPECT_EQ(rc.At(1), 'R');
    EXPECT_EQ(rc.At(3), '1');
    EXPECT_EQ(rc.At(501), '\n');
    EXPECT_EQ(rc.At(0), '\0');
    EXPECT_EQ(rc.At(502), '\0');
}

TEST(RecordField, IntegersAreReadLeniently) {
    TRecordSE se;
    const TFieldPos f{325, 331};
    const std::pair<std::string_view, int> cases[] = {
        {"0000486", 486}, {"   486 ", 486}, {"+12    ", 12}, {"-012   ", -12}, {"       ", 0},
        {"-      ", 0},   {"12 34  ", 12},  {"ab12   ", 0},  {" - 5   ", 0},   {"0000000", 0},
    };
    for (const auto& [text, value] : cases) {
        ASSERT_TRUE(se.SetField(f, text));
        EXPECT_EQ(se.Int(f), value) << '"' << text << '"';
        EXPECT_EQ(se.Int(f.first, f.last), value) << '"' << text << '"';
    }
}

TEST(RecordField, WideNumbersIn64Bits) {
    TRecordUM um;
    um.SetField(UM::kFlatPrizeMoney, "999999999");
    um.SetField(UM::kJumpPrizeMoney, "999999999");
    EXPECT_EQ(um.Int64(UM::kFlatPrizeMoney) + um.Int64(UM::kJumpPrizeMoney), 1999999998);
    const TFieldPos twelve{1053, 1064};
    um.SetField(twelve, "123456789012");
    EXPECT_EQ(um.Int64(twelve), 123456789012);
    EXPECT_EQ(um.Int(twelve), std::numeric_limits<std::int32_t>::max()) << "saturates";
}

TEST(RecordField, DataKindValue) {
    TRecordSE se;
    const std::pair<char, int> cases[] = {{'1', 1}, {'6', 6}, {'7', 7}, {'0', 0},
                                          {'A', 0}, {'B', 0}, {' ', 0}};
    for (const auto& [kind, value] : cases) {
        se.SetAt(3, kind);
        EXPECT_EQ(se.DataKind(), kind);
        EXPECT_EQ(se.DataKindValue(), value) << kind;
    }
}

// ---- Writing -------------------------------------------------------------------------------

TEST(RecordField, SetFieldPadsAndCutsWithoutTouchingNeighbours) {
    TRecordSE se;
    se.SetField(SE::kSexCode, "1");
    se.SetField(SE::kHorseSymbolCode, "01");
    ASSERT_TRUE(se.SetField(SE::kHorseName, "ABC"));
    EXPECT_EQ(se.Field(SE::kHorseName), "ABC" + std::string(33, ' '));
    ASSERT_TRUE(se.SetField(SE::kHorseName, std::string(40, 'x')));
    EXPECT_EQ(se.Field(SE::kHorseName), std::string(36, 'x'));
    EXPECT_EQ(se.At(40), ' ');
    EXPECT_EQ(se.Field(SE::kHorseSymbolCode), "01");
    ASSERT_TRUE(se.SetField(SE::kHorseSymbolCode, ""));
    EXPECT_EQ(se.Field(SE::kHorseSymbolCode), "  ") << "an empty text blanks the field";
    EXPECT_EQ(se.Field(SE::kSexCode), "1");
}

TEST(RecordField, FullWidthNamesKeepWholeCharacters) {
    TRecordSE se;
    // 19 full-width characters: only 18 fit the 36 bytes.
    const std::string nineteen = S("アイウエオカキクケコサシスセソタチツテ");
    ASSERT_TRUE(se.SetField(SE::kHorseName, nineteen));
    EXPECT_EQ(se.Field(SE::kHorseName), nineteen.substr(0, 36)) << Show(se.Field(SE::kHorseName));
    // One half-width letter first: the 18th full-width character would straddle the end, so
    // it is dropped whole and a blank fills the last byte.
    const std::string shifted = "A" + S("アイウエオカキクケコサシスセソタチツ");
    ASSERT_TRUE(se.SetField(SE::kHorseName, shifted));
    EXPECT_EQ(se.Field(SE::kHorseName), shifted.substr(0, 35) + " ")
        << Show(se.Field(SE::kHorseName));
    // A name padded with full-width blanks keeps them: they belong to the text.
    const std::string padded = S("ドウデュース　　　");
    ASSERT_TRUE(se.SetField(SE::kOpponentName, padded));
    EXPECT_EQ(se.Field(SE::kOpponentName), padded + std::string(36 - padded.size(), ' '));
}

TEST(RecordField, WritesOutsideTheDataBytesChangeNothing) {
    TRecordHR hr = TRecordHR::Create('2', "20240428");
    const TRecordHR before = hr;
    EXPECT_FALSE(hr.SetField(718, 719, "xx")) << "the CR LF is not a field";
    EXPECT_FALSE(hr.SetField(717, 718, "xx")) << "straddles the CR LF";
    EXPECT_FALSE(hr.SetField(0, 2, "xx"));
    EXPECT_FALSE(hr.SetField(5, 4, "x"));
    EXPECT_FALSE(hr.SetField(kNoField, "x"));
    EXPECT_FALSE(hr.SetField(HR::kTrio.Payout(3), "1"));
    EXPECT_FALSE(hr.SetAt(718, 'x'));
    EXPECT_FALSE(hr.SetAt(0, 'x'));
    EXPECT_FALSE(hr.SetInt(HR::kLineEnd, 1));
    EXPECT_EQ(hr, before);
    // The last data byte is writable.
    EXPECT_TRUE(hr.SetAt(717, 'z'));
    EXPECT_TRUE(hr.SetField(716, 717, "yz"));
    EXPECT_EQ(hr.Field(714, 719), "  yz\r\n");
}

TEST(RecordField, SetIntZeroPadsToTheWidth) {
    TRecordSE se;
    ASSERT_TRUE(se.SetInt(SE::kWeightCarried, 550));
    EXPECT_EQ(se.Field(SE::kWeightCarried), "550");
    ASSERT_TRUE(se.SetInt(SE::kHorseNumber, 5));
    EXPECT_EQ(se.Field(SE::kHorseNumber), "05");
    ASSERT_TRUE(se.SetInt(SE::kPrizeMoney, 0));
    EXPECT_EQ(se.Field(SE::kPrizeMoney), "00000000");
    ASSERT_TRUE(se.SetInt(SE::kTimeDiff, -12));
    EXPECT_EQ(se.Field(SE::kTimeDiff), "-012");
    EXPECT_EQ(se.Int(SE::kTimeDiff), -12);
    // Too wide for the field: the field keeps what it had.
    EXPECT_FALSE(se.SetInt(SE::kWeightCarried, 1000));
    EXPECT_EQ(se.Field(SE::kWeightCarried), "550");
    EXPECT_FALSE(se.SetInt(SE::kFrameNumber, -1)) << "no room for sign and digit";
    EXPECT_FALSE(se.SetInt(SE::kTimeDiff, -1000));
    EXPECT_EQ(se.Field(SE::kTimeDiff), "-012");
    // The extremes of the value range.
    const TFieldPos wide{41, 60};
    ASSERT_TRUE(se.SetInt(wide, std::numeric_limits<std::int64_t>::min()));
    EXPECT_EQ(se.Field(wide), "-9223372036854775808");
    ASSERT_TRUE(se.SetInt(wide, std::numeric_limits<std::int64_t>::max()));
    EXPECT_EQ(se.Field(wide), "09223372036854775807");
}

// ---- Units and surfaces --------------------------------------------------------------------

TEST(RecordUnits, Times) {
    EXPECT_EQ(TimeMssfTenths("1345"), 945);
    EXPECT_EQ(TimeMssfTenths("1234"), 834);
    EXPECT_EQ(TimeMssfTenths("0582"), 582);
    EXPECT_EQ(TimeMssfTenths("3161"), 1961);
    EXPECT_EQ(TimeMssfTenths("0000"), 0);
    EXPECT_EQ(TimeMssfTenths("    "), 0);
    EXPECT_EQ(TimeMssfTenths("134"), 0) << "too short to be a time";
    EXPECT_EQ(TimeSsfTenths("355"), 355);
    EXPECT_EQ(TimeSsfTenths("000"), 0);
    EXPECT_EQ(TimeSsfTenths("   "), 0);
    EXPECT_EQ(TimeSsfTenths("999"), 999);
    EXPECT_EQ(TimeSsfTenths("35"), 0);
}

TEST(RecordUnits, MoneyAndWeight) {
    EXPECT_EQ(ThousandYen(12345), 1234);
    EXPECT_EQ(ThousandYen(9), 0);
    EXPECT_EQ(ThousandYen(0), 0);
    TRecordRC rc;
    rc.SetField(RC::kHolderWeightCarried, "550");
    EXPECT_DOUBLE_EQ(WeightKg(rc.Int(RC::kHolderWeightCarried)), 55.0);
    rc.SetField(RC::kHolderWeightCarried, "000");
    EXPECT_EQ(rc.Int(RC::kHolderWeightCarried), 0) << "no weight";
}

TEST(RecordUnits, SurfaceOfTrack) {
    const std::pair<std::string_view, TSurface> cases[] = {
        {"10", TSurface::Turf},  {"17", TSurface::Turf},  {"22", TSurface::Turf},
        {"23", TSurface::Dirt},  {"24", TSurface::Dirt},  {"29", TSurface::Dirt},
        {"30", TSurface::Other}, {"51", TSurface::Other}, {"  ", TSurface::Turf},
    };
    for (const auto& [code, surface] : cases) {
        EXPECT_EQ(SurfaceOfTrack(code), surface) << '"' << code << '"';
    }
}

} // namespace
