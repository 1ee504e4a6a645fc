#include "store/RecordRouting.h"
#include "store/StoreTestSeason.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace store;
using namespace keiba::storetest;
using keiba::test::S;
using keiba::test::Show;

// The date cut of "now" 2004-05-10: races after 2004-05-06 count as recent.
constexpr TDateCut kCut = 20040506;

const TRaceId kBefore{"20040501", "05", "02", "03", "01"}; // long run
const TRaceId kOnCut{"20040506", "05", "02", "04", "01"};  // on the cut: not after it
const TRaceId kAfter{"20040508", "05", "02", "05", "01"};  // still to run

// The store path texts of the actions, in order.
std::vector<std::string> Files(const TRouting& routing) {
    std::vector<std::string> files;
    for (const auto& action : routing.actions) {
        files.push_back(action.file.Text());
    }
    return files;
}

std::string Races(const char* base) {
    return "DATA\\" + S(base) + ".jvRA";
}

TEST(Routing, RacesOfCurrentKindsGoToTheRaceDayFileZeroed) {
    for (char kind : {'1', '2', '3', '4', '5', '6'}) {
        const std::string record = MakeRA(kBefore, kind, "20040428");
        const TRouting routing = RouteRecord(record, kCut);
        ASSERT_EQ(routing.actions.size(), 1u) << kind;
        const TStoreAction& action = routing.actions[0];
        EXPECT_EQ(action.file.Text(), Races("2004年05月01日東京"));
        EXPECT_EQ(action.line.size(), 1270u);
        EXPECT_EQ(action.line.substr(0, 11), "RA000000000");
        EXPECT_EQ(action.line.substr(11), record.substr(11, 1259));
        EXPECT_EQ(action.madeFile, S("作成済み:01R/2004年05月01日東京.jvRA"));
    }
}

TEST(Routing, FinalRacesAfterTheCutLandInRacesAndResults) {
    const TRouting after = RouteRecord(MakeRA(kAfter, '7'), kCut);
    EXPECT_EQ(Files(after), (std::vector<std::string>{Races("2004年05月08日東京"),
                                                      "SEIR\\2004\\2004050805.jvSERA"}));
    for (const auto& action : after.actions) {
        EXPECT_EQ(action.line.substr(0, 11), "RA000000000") << action.file.Text();
    }
    EXPECT_EQ(after.actions[1].madeFile, S("作成済み:01R/2004050805.jvSERA"));

    for (const TRaceId& id : {kOnCut, kBefore}) {
        const TRouting old = RouteRecord(MakeRA(id, '7'), kCut);
        ASSERT_EQ(old.actions.size(), 1u) << id.date;
        EXPECT_EQ(old.actions[0].file.kind, TStoreFileKind::Results);
        EXPECT_EQ(old.actions[0].line.substr(0, 11), "RA000000000");
    }
}

TEST(Routing, LetterKindsAreFinalButValueZero) {
    for (char kind : {'A', 'B'}) {
        const TRouting after = RouteRecord(MakeRA(kAfter, kind), kCut);
        ASSERT_EQ(after.actions.size(), 1u) << kind;
        EXPECT_EQ(after.actions[0].file.kind, TStoreFileKind::Results)
            << "a letter's value 0 keeps it out of the races file even after the cut";
    }
    const TRouting c = RouteRecord(MakeRA(kAfter, 'C'), kCut);
    EXPECT_TRUE(c.actions.empty());
    EXPECT_EQ(c.fault, TRecordFault::None);
}

TEST(Routing, DataKindZeroAndOtherDigits) {
    EXPECT_TRUE(RouteRecord(MakeRA(kAfter, '0'), kCut).actions.empty())
        << "an RA of data kind 0 never enters a races file";
    EXPECT_EQ(Files(RouteRecord(MakeRA(kAfter, '9'), kCut)),
              std::vector<std::string>{Races("2004年05月08日東京")});
    EXPECT_TRUE(RouteRecord(MakeRA(kBefore, '9'), kCut).actions.empty());

    const TRouting se0 = RouteRecord(MakeSE(kAfter, "05", "2001104567", '0'), kCut);
    ASSERT_EQ(se0.actions.size(), 1u) << "an SE of kind 0 after the cut takes its slot";
    EXPECT_EQ(se0.actions[0].file.kind, TStoreFileKind::RunnerSlots);
    EXPECT_TRUE(RouteRecord(MakeSE(kBefore, "05", "2001104567", '0'), kCut).actions.empty());
}

TEST(Routing, RaceNumberZeroOrBlankStoresResultsOnly) {
    for (const char* race : {"00", "  "}) {
        TRaceId id = kAfter;
        id.race = race;
        EXPECT_TRUE(RouteRecord(MakeRA(id, '1'), kCut).actions.empty()) << race;
        const TRouting final = RouteRecord(MakeRA(id, '7'), kCut);
        ASSERT_EQ(final.actions.size(), 1u) << race;
        EXPECT_EQ(final.actions[0].file.kind, TStoreFileKind::Results);
        EXPECT_EQ(final.actions[0].madeFile, S("作成済み:") + race + S("R/2004050805.jvSERA"))
            << "the race number as it stands";
        EXPECT_TRUE(RouteRecord(MakeHR(id, '2'), kCut).actions.empty()) << race;
        EXPECT_TRUE(RouteRecord(MakeSE(id, "01", "2001104567", '1'), kCut).actions.empty());
    }
}

TEST(Routing, RunnerSlotKeepsTheRecordsOwnHeader) {
    TRaceId id = kBefore;
    id.race = "03";
    const std::string record = MakeSE(id, "05", "2001104567", '2', "20040427");
    const TRouting routing = RouteRecord(record, kCut);
    ASSERT_EQ(routing.actions.size(), 1u);
    const TStoreAction& slot = routing.actions[0];
    EXPECT_EQ(slot.file.Text(), "DATA\\" + S("2004年05月01日東京.jvSEr"));
    EXPECT_EQ(slot.slot, 2u * 18 + 4);
    EXPECT_EQ(slot.line, record.substr(0, 553));
    EXPECT_EQ(slot.madeFile, S("作成済み:03R/05番/2004年05月01日東京.jvSEr"));
}

TEST(Routing, FinalRunnerAfterTheCutTakesItsSlotAsIsAndItsHistoryZeroed) {
    const std::string record = MakeSE(kAfter, "12", "2001104567", '7', "20040509");
    const TRouting routing = RouteRecord(record, kCut);
    ASSERT_EQ(routing.actions.size(), 2u);
    EXPECT_EQ(routing.actions[0].file.kind, TStoreFileKind::RunnerSlots);
    EXPECT_EQ(routing.actions[0].line.substr(0, 11), "SE720040509");
    EXPECT_EQ(routing.actions[1].file.Text(), "SEI\\2001\\2001104567.jvSEI");
    EXPECT_EQ(routing.actions[1].line.substr(0, 11), "SE000000000");
    EXPECT_EQ(routing.actions[1].line.substr(11), record.substr(11, 542));
    EXPECT_EQ(routing.actions[1].madeFile, S("作成済み:2004年05月08日東京01R/2001104567.jvSEI"));

    const TRouting old = RouteRecord(MakeSE(kBefore, "12", "2001104567", 'B'), kCut);
    ASSERT_EQ(old.actions.size(), 1u) << "a long-run race only grows the history";
    EXPECT_EQ(old.actions[0].file.kind, TStoreFileKind::HorseHistory);
}

TEST(Routing, RunnersBeyondTheSlotsKeepTheirHistory) {
    TRaceId race13 = kAfter;
    race13.race = "13";
    const TRouting late = RouteRecord(MakeSE(race13, "01", "2001104567", '7'), kCut);
    EXPECT_TRUE(late.slotless);
    ASSERT_EQ(late.actions.size(), 1u);
    EXPECT_EQ(late.actions[0].file.kind, TStoreFileKind::HorseHistory);

    const TRouting wide = RouteRecord(MakeSE(kAfter, "19", "2001104567", '7'), kCut);
    EXPECT_TRUE(wide.slotless);
    ASSERT_EQ(wide.actions.size(), 1u);

    const TRouting card = RouteRecord(MakeSE(race13, "01", "2001104567", '1'), kCut);
    EXPECT_TRUE(card.slotless);
    EXPECT_TRUE(card.actions.empty());

    const TRouting horse0 = RouteRecord(MakeSE(kAfter, "00", "2001104567", '1'), kCut);
    EXPECT_FALSE(horse0.slotless) << "horse number 0 fails the test itself";
    EXPECT_TRUE(horse0.actions.empty());
}

TEST(Routing, PayoffsMastersAndCourseRecords) {
    const std::string hr = MakeHR(kBefore, '1', "20040502");
    const TRouting payoffs = RouteRecord(hr, kCut);
    ASSERT_EQ(payoffs.actions.size(), 1u) << "payoffs have no kind or date test";
    EXPECT_EQ(payoffs.actions[0].file.Text(), "DATA\\" + S("2004年05月01日東京.jvHR"));
    EXPECT_EQ(payoffs.actions[0].line.size(), 717u);
    EXPECT_EQ(payoffs.actions[0].line.substr(0, 11), "HR000000000");
    EXPECT_EQ(payoffs.actions[0].madeFile, S("作成済み:01R/2004年05月01日東京.jvHR"));

    const std::string um = MakeUM("2001104567", 3, '2', "20040427");
    const TRouting master = RouteRecord(um, kCut);
    ASSERT_EQ(master.actions.size(), 1u);
    EXPECT_EQ(master.actions[0].file.Text(), "UM2\\2001\\2001104567.jvUM2");
    EXPECT_EQ(master.actions[0].line, um.substr(0, 1607)) << "masters keep bytes 3-11";
    EXPECT_EQ(master.actions[0].madeFile, S("作成済み:2001104567.jvUM2"));

    const std::string rc = MakeRC("05", "13", "1600", "11");
    const TRouting course = RouteRecord(rc, kCut);
    ASSERT_EQ(course.actions.size(), 1u);
    EXPECT_EQ(course.actions[0].file.Text(), "REC\\10513160011.jvRC");
    EXPECT_EQ(course.actions[0].line, rc.substr(0, 499));
    EXPECT_EQ(course.actions[0].madeFile, S("作成済み:10513160011.jvRC"));
}

TEST(Routing, OtherRecordTypesAreDropped) {
    std::string other = MakeRA(kAfter, '1');
    other[0] = 'O';
    other[1] = '1';
    const TRouting routing = RouteRecord(other, kCut);
    EXPECT_EQ(routing.type, jvdata::TRecordType::Unknown);
    EXPECT_EQ(routing.fault, TRecordFault::None);
    EXPECT_TRUE(routing.actions.empty());
    EXPECT_EQ(RouteRecord("", kCut).type, jvdata::TRecordType::Unknown);
}

// ---- Refused records ----------------------------------------------------------------------

TEST(Refusal, RecordsOfTheWrongLength) {
    const std::string ra = MakeRA(kAfter, '1');
    const std::string cases[] = {
        ra.substr(0, 636) + "\r\n",                             // cut short
        ra.substr(0, 1270) + "XX\r\n",                          // too long
        ra.substr(0, 1270) + "\n\r",                            // line end the wrong way round
        ra.substr(0, 1271) + " ",                               // no line end
        ra + ra,                                                // two records in one buffer
        MakeSE(kAfter, "01", "2001104567", '1').substr(0, 553), // no CR LF at all
    };
    for (const auto& record : cases) {
        const TRouting routing = RouteRecord(record, kCut);
        EXPECT_EQ(routing.fault, TRecordFault::Length) << record.size();
        EXPECT_TRUE(routing.actions.empty());
    }
}

TEST(Refusal, BytesThatAreNoText) {
    const std::string good = MakeSE(kAfter, "01", "2001104567", '7');
    EXPECT_EQ(CheckRecordBytes(good, jvdata::TRecordType::SE), TRecordFault::None);
    for (char odd : {'\x00', '\x01', '\t', '\r', '\n', '\x1F', '\x7F', '\x80', '\xA0', '\xFD',
                     '\xFE', '\xFF'}) {
        std::string record = good;
        record[300] = odd;
        const TRouting routing = RouteRecord(record, kCut);
        EXPECT_EQ(routing.fault, TRecordFault::Bytes) << static_cast<int>(odd & 0xFF);
        EXPECT_TRUE(routing.actions.empty());
    }
    std::string loneLead = good;
    loneLead[300] = '\x82';
    loneLead[301] = ' ';
    EXPECT_EQ(RouteRecord(loneLead, kCut).fault, TRecordFault::Bytes);

    std::string cutInsideCharacter = good;
    cutInsideCharacter[552] = '\x93'; // the last data byte is a lead byte: its trail is lost
    EXPECT_EQ(RouteRecord(cutInsideCharacter, kCut).fault, TRecordFault::Bytes);

    std::string kana = good;
    kana[300] = '\xB1'; // half-width katakana
    kana[301] = '\x93'; // a two-byte character whose trail looks like ASCII
    kana[302] = '\x5C';
    EXPECT_EQ(RouteRecord(kana, kCut).fault, TRecordFault::None);
}

TEST(Refusal, NameFieldsThatCouldLeaveTheirFolder) {
    const TRouting climb = RouteRecord(MakeSE(kAfter, "01", "..\\..\\..\\", '7'), kCut);
    EXPECT_EQ(climb.fault, TRecordFault::NameField);
    EXPECT_TRUE(climb.actions.empty()) << "no slot either: a refused record is refused whole";

    TRaceId slashed = kAfter;
    slashed.date = "../..\\..";
    EXPECT_EQ(RouteRecord(MakeRA(slashed, '1'), kCut).fault, TRecordFault::NameField);
    EXPECT_EQ(RouteRecord(MakeHR(slashed, '1'), kCut).fault, TRecordFault::NameField);
    TRaceId blankCourse = kAfter;
    blankCourse.course = "  ";
    EXPECT_EQ(RouteRecord(MakeRA(blankCourse, '7'), kCut).fault, TRecordFault::NameField);

    EXPECT_EQ(RouteRecord(MakeUM("2001 04567"), kCut).fault, TRecordFault::NameField);
    EXPECT_EQ(RouteRecord(MakeUM("..\\..\\abc"), kCut).fault, TRecordFault::NameField);
    EXPECT_EQ(RouteRecord(MakeRC("05", "13", "    ", "11"), kCut).fault, TRecordFault::NameField);
    EXPECT_EQ(RouteRecord(MakeRC("/.", "13", "1600", "11"), kCut).fault, TRecordFault::NameField);

    // A field that names no file of the record is not a name field for it.
    const TRouting card = RouteRecord(MakeSE(kAfter, "01", "..\\..\\..\\", '1'), kCut);
    EXPECT_EQ(card.fault, TRecordFault::None);
    ASSERT_EQ(card.actions.size(), 1u);
    EXPECT_EQ(card.actions[0].file.kind, TStoreFileKind::RunnerSlots);
}

} // namespace
