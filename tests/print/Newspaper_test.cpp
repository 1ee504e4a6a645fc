// The newspaper page of a race slot, drawn into the page recorder: the slot number square and
// which slots get a page, the frame separators, the grid of 18 rows, the past-run cells, the
// course record lines and a runner without a horse master. Expected texts and positions are
// typed from the page's layout.
#include "print/Newspaper.h"
#include "support/RaceDayFixture.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using keiba::test::MakeRace;
using keiba::test::MakeRunner;
using keiba::test::RacePlan;
using keiba::test::S;
using print::TPageOp;
using print::TRecordedPage;

// Every text drawn with its top-left corner at (x, y), in drawing order.
std::vector<const TPageOp*> TextsAt(const TRecordedPage& page, int x, int y) {
    std::vector<const TPageOp*> found;
    for (const TPageOp& op : page) {
        if (op.kind == TPageOp::TKind::Text && op.x1 == x && op.y1 == y) {
            found.push_back(&op);
        }
    }
    return found;
}

std::string TextAt(const TRecordedPage& page, int x, int y) {
    const auto found = TextsAt(page, x, y);
    return found.empty() ? std::string("(none)") : found.front()->text;
}

const TPageOp* Find(const TRecordedPage& page, TPageOp::TKind kind, int x1, int y1, int x2,
                    int y2) {
    for (const TPageOp& op : page) {
        if (op.kind == kind && op.x1 == x1 && op.y1 == y1 && op.x2 == x2 && op.y2 == y2) {
            return &op;
        }
    }
    return nullptr;
}

int RowTop(int k) {
    return 310 + 126 * k;
}

class NewspaperTest : public ::testing::Test {
protected:
    void SetUp() override { day->Clear(); }

    // Race slot r with one runner per frame number given, horse numbers from 1.
    void AddRace(int r, const std::vector<int>& frames, int storedRunners = -1) {
        RacePlan plan;
        plan.number = r + 1;
        plan.runners = storedRunners < 0 ? static_cast<int>(frames.size()) : storedRunners;
        auto& race = day->Races[static_cast<std::size_t>(r)];
        race = MakeRace(plan);
        for (std::size_t j = 0; j < frames.size(); ++j) {
            auto runner = MakeRunner(race, static_cast<int>(j) + 1, "2001100001", S("テスト"));
            runner.SetInt(jvdata::SE::kFrameNumber, frames[j]);
            day->Runners[static_cast<std::size_t>(r)][j] = runner;
        }
        day->RaceCount = std::max(day->RaceCount, r + 1);
    }

    TRecordedPage Draw(int r) {
        print::TPageRecorder pages;
        pages.BeginDoc();
        print::DrawRacePage(*day, r, pages);
        return pages.Pages().front();
    }

    std::unique_ptr<race::TRaceDayData> day = std::make_unique<race::TRaceDayData>();
};

TEST_F(NewspaperTest, SlotsWithoutRunnersGetNoPageAndLaterPagesKeepTheirSlotNumber) {
    for (int r = 0; r < 10; ++r) {
        AddRace(r, {1, 2});
    }
    AddRace(1, {}, 0);                         // no registered runners
    day->Runners[2][0].SetField(29, 30, "00"); // first runner without a horse number
    EXPECT_EQ(print::NewspaperSlots(*day), (std::vector<int>{0, 3, 4, 5, 6, 7, 8, 9}));

    print::TPageRecorder pages;
    EXPECT_EQ(print::DrawNewspaper(*day, pages).size(), 8u);
    ASSERT_EQ(pages.Pages().size(), 8u);
    // Slot 0 prints 1 at x 120; slot 3 prints 4 on the second page; slot 9 prints 10 at 105.
    EXPECT_EQ(TextAt(pages.Pages()[0], 120, 175), "1");
    EXPECT_EQ(TextAt(pages.Pages()[1], 120, 175), "4");
    const auto ten = TextsAt(pages.Pages()[7], 105, 175);
    ASSERT_EQ(ten.size(), 1u);
    EXPECT_EQ(ten[0]->text, "10");
    EXPECT_EQ(ten[0]->state.font,
              (print::TCanvasFont{S("ＭＳ ゴシック"), 20, true, false, print::kWhite}));
}

TEST_F(NewspaperTest, NewFramesGetAThickSeparatorAndABoxedNumberSameFramesAThinOne) {
    AddRace(0, {1, 1, 2, 2, 3, 3});
    const TRecordedPage page = Draw(0);
    for (int k = 1; k <= 6; ++k) {
        const int y = RowTop(k);
        const bool newFrame = k % 2 == 1;
        const TPageOp* thick = Find(page, TPageOp::TKind::Line, 100, y, 1990, y);
        const TPageOp* thin = Find(page, TPageOp::TKind::Line, 150, y, 1990, y);
        ASSERT_EQ(thick != nullptr, newFrame) << "row " << k;
        ASSERT_EQ(thin != nullptr, !newFrame) << "row " << k;
        EXPECT_EQ((newFrame ? thick : thin)->state.penWidth, newFrame ? 12 : 1);
        EXPECT_EQ(Find(page, TPageOp::TKind::Rectangle, 110, y + 30, 140, y + 80) != nullptr,
                  newFrame);
        EXPECT_EQ(TextAt(page, 115, y + 40), newFrame ? std::to_string((k + 1) / 2) : "(none)");
    }

    // The counter counts frames begun, whatever their numbers: 1, 3, 3, 3 begins a frame on
    // rows 1, 2 and 3 and continues one only on row 4.
    AddRace(1, {1, 3, 3, 3});
    const TRecordedPage skipped = Draw(1);
    EXPECT_EQ(TextAt(skipped, 115, RowTop(1) + 40), "1");
    EXPECT_EQ(TextAt(skipped, 115, RowTop(2) + 40), "3");
    EXPECT_EQ(TextAt(skipped, 115, RowTop(3) + 40), "3");
    EXPECT_EQ(TextAt(skipped, 115, RowTop(4) + 40), "(none)");
    EXPECT_NE(Find(skipped, TPageOp::TKind::Line, 150, RowTop(4), 1990, RowTop(4)), nullptr);

    // The first row's numbers are in the fixed-pitch face, later rows' in the face the header
    // labels leave selected.
    const auto first = TextsAt(page, 157, RowTop(1) + 40);
    const auto second = TextsAt(page, 157, RowTop(2) + 40);
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(first[0]->text, S("①"));
    EXPECT_EQ(first[0]->state.font.face, S("ＭＳ ゴシック"));
    EXPECT_EQ(second[0]->state.font.face, S("ＭＳ Ｐゴシック"));
    EXPECT_EQ(second[0]->state.font.size, 11);
    EXPECT_EQ(TextsAt(page, 105, 350).size(), 6u) << "header labels after every row";
}

TEST_F(NewspaperTest, EighteenRowsEndAt2704EvenWhenMoreRunnersAreStored) {
    AddRace(0, std::vector<int>(18, 1), 20);
    const TRecordedPage page = Draw(0);
    const TPageOp* outline = Find(page, TPageOp::TKind::Rectangle, 100, 310, 1990, 2704);
    ASSERT_NE(outline, nullptr);
    EXPECT_EQ(outline->state.penWidth, 20);
    EXPECT_FALSE(outline->state.brush.solid);
    EXPECT_NE(Find(page, TPageOp::TKind::Line, 1770, 404, 1770, 2704), nullptr);
    EXPECT_EQ(TextAt(page, 157, 2618), S("⑱"));
    EXPECT_EQ(TextsAt(page, 155, 350).size(), 18u);
    EXPECT_EQ(TextAt(page, 300, 155).substr(0, 6), S("20頭  ")) << "the count as stored";
}

TEST_F(NewspaperTest, PastRunCellsHoldSixLinesAndABlankYearLeavesTheCellEmpty) {
    AddRace(0, {1});
    auto& races = day->PastRaces[0][0];
    auto& runs = day->PastRuns[0][0];
    for (std::size_t s : {0u, 2u, 3u}) {
        RacePlan plan;
        plan.date = "20040425";
        plan.meeting = "02";
        plan.runners = 16;
        plan.distance = "2000";
        races[s] = MakeRace(plan);
        runs[s] = MakeRunner(races[s], 5, "2001100001");
    }
    races[0].SetField(615, 615, "A");
    races[0].SetField(605, 610, S("皐月賞"));
    races[0].SetField(888, 890, "11 ");
    runs[0].SetField(307, 314, S("武豊　　"));
    runs[0].SetField(289, 291, "570");
    runs[0].SetField(364, 365, "01");
    runs[0].SetField(339, 342, "1593");
    runs[0].SetField(352, 359, "01020304");
    runs[0].SetField(391, 393, "345");
    runs[0].SetField(325, 327, "480");
    runs[0].SetField(366, 381, "0001500000000010");
    runs[0].SetField(404, 439, S("ライバル　　　　　　　　　　　　　　"));
    runs[0].SetField(532, 535, "-002");
    runs[0].SetField(335, 336, "01");
    // Run 2: not weighed (999), no last three furlongs (999), no time and no position.
    runs[2].SetField(325, 327, "999");
    runs[2].SetField(391, 393, "999");
    // Run 3: last three furlongs 0. Runs 2 and 3 on dirt and over jumps: the dirt going, none.
    runs[3].SetField(391, 393, "000");
    races[2].SetField(706, 707, "24");
    races[2].SetField(888, 890, "214");
    races[3].SetField(706, 707, "51");
    races[3].SetField(888, 890, "311");

    const TRecordedPage page = Draw(0);
    const int y = RowTop(1);
    EXPECT_EQ(TextAt(page, 1773, y + 2), S("2東京 04.25 G1皐月賞"));
    EXPECT_EQ(TextAt(page, 1773, y + 22), S("16頭2000芝左 晴良"));
    EXPECT_EQ(TextAt(page, 1773, y + 42), S("武豊57.0Kg ⑤ 1人"));
    EXPECT_EQ(TextAt(page, 1773, y + 62), S("1593①②③④3F345"));
    EXPECT_EQ(TextAt(page, 1773, y + 82), S("480Kg 1,501千円  "));
    EXPECT_EQ(TextAt(page, 1773, y + 102), S("ライバル- 0.2"));
    const auto finish = TextsAt(page, 1957, y + 77);
    ASSERT_EQ(finish.size(), 1u);
    EXPECT_EQ(finish[0]->text, " 1");
    EXPECT_TRUE(finish[0]->state.font.bold && finish[0]->state.font.size == 8);

    // Entry 1 has a blank year: its column (x 1553 to 1773) stays empty.
    for (const TPageOp& op : page) {
        EXPECT_FALSE(op.kind == TPageOp::TKind::Text && op.x1 >= 1553 && op.x1 < 1773 && op.y1 > y)
            << op.text;
    }

    EXPECT_EQ(TextAt(page, 1333, y + 22), S("16頭2000ダ右 曇不良"));
    EXPECT_EQ(TextAt(page, 1113, y + 22), S("16頭2000障害 雨"));
    EXPECT_EQ(TextAt(page, 1333, y + 62), S("----－－－－3F---"));
    EXPECT_EQ(TextAt(page, 1333, y + 82), S(" 0千円  "));
    EXPECT_EQ(TextAt(page, 1517, y + 77), "-");
    EXPECT_EQ(TextAt(page, 1113, y + 62), S("----－－－－3F---"));
    // Bold ends with the finishing position: the next cell's lines are regular.
    EXPECT_FALSE(TextsAt(page, 1113, y + 2).front()->state.font.bold);
}

TEST_F(NewspaperTest, CourseRecordLinesOnlyForARecordWithAYear) {
    AddRace(0, {1});
    auto& record = day->CourseRecords[0];
    record = keiba::test::MakeCourseRecord("05", "13", "1600", "11", "2003");
    record.SetField(17, 28, "113005050911");
    record.SetField(102, 107, "213211");
    record.SetField(110, 119, "1998100001");
    record.SetField(120, 155, S("レコードホルダー"));
    record.SetField(156, 158, "011");
    record.SetField(164, 197, S("調教師　名"));
    record.SetField(198, 200, "570");
    record.SetField(206, 239, S("騎手名"));
    TRecordedPage page = Draw(0);
    EXPECT_EQ(TextAt(page, 300, 245),
              S("ﾚｺｰﾄﾞ:2003年11月30日東京05回09日11R(ﾚｺｰﾄﾞﾀｲﾑ)1.32.1 晴 レコードホルダー "
                "牡1998年生(抽)"));
    EXPECT_EQ(TextAt(page, 450, 275), S("騎手:騎手名  斤量:57.0kg  調教師:調教師名"));

    record.SetField(198, 200, "000");
    EXPECT_EQ(TextAt(Draw(0), 450, 275), S("騎手:騎手名  斤量:  調教師:調教師名"));

    for (const char* year : {"0000", "    "}) {
        record.SetField(13, 16, year);
        page = Draw(0);
        EXPECT_TRUE(TextsAt(page, 300, 245).empty()) << year;
        EXPECT_TRUE(TextsAt(page, 450, 275).empty()) << year;
    }
}

TEST_F(NewspaperTest, ABlankHorseMasterPrintsNoNamesZeroMoneyAndZeroCounts) {
    AddRace(0, {1});
    const TRecordedPage page = Draw(0);
    const int y = RowTop(1);
    for (const int dy : {2, 54, 76, 96}) {
        EXPECT_EQ(TextAt(page, 205, y + dy), "") << dy;
    }
    EXPECT_EQ(TextAt(page, 585, y + 5), S("        0千円"));
    EXPECT_EQ(TextAt(page, 585, y + 25), S("        0千円"));
    for (int line = 0; line < 6; ++line) {
        EXPECT_EQ(TextAt(page, 755, y + 2 + 20 * line), "0-0-0-0") << line;
    }
}

// The right edge of a text: condensed into its column when it has one, else its natural set
// from the byte widths (exact in the fixed-pitch face, at most the proportional one's).
double RightEdge(const TPageOp* op) {
    const double natural = print::NaturalTextWidth(op->text, op->state.font.size);
    return op->x1 + (op->width > 0 ? std::min<double>(natural, op->width) : natural);
}

TEST_F(NewspaperTest, EveryTextStaysInItsColumnAndHeaderLabelsApart) {
    // The widest page: 18 runners, names as long as names go, 18th gate and popularity.
    AddRace(0, std::vector<int>(18, 8));
    const std::string name = S("ジェネラーレウーノサクラバクシンオ");
    for (std::size_t j = 0; j < 18; ++j) {
        day->Runners[0][j].SetField(41, 76, name);
        day->Horses[0][j].SetField(215, 250, name);
        day->Horses[0][j].SetField(445, 480, name);
        for (std::size_t s = 0; s < 5; ++s) {
            auto& race = day->PastRaces[0][j][s] = MakeRace({.runners = 18, .name = {}});
            race.SetField(605, 610, S("有馬記"));
            auto& run = day->PastRuns[0][j][s] = MakeRunner(race, 18, "2001100001");
            run.SetField(307, 314, S("横山典弘"));
            run.SetField(352, 381, "181818180000181899999999999999");
            run.SetField(404, 439, name);
        }
    }
    const TRecordedPage page = Draw(0);
    std::vector<const TPageOp*> labels;
    for (const TPageOp& op : page) {
        int end = 1990; // the grid's next line right of the text; the past-run lines from 404
        for (const int line : {1770, 1550, 1330, 1110, 890, 750, 580, 200, 150}) {
            end = op.y1 >= 310 && line > op.x1 && (line <= 890 || op.y1 >= 404) ? line : end;
        }
        EXPECT_TRUE(op.kind != TPageOp::TKind::Text || RightEdge(&op) < end)
            << op.x1 << ":" << op.y1;
        if (op.kind == TPageOp::TKind::Text && op.y1 >= 310 && op.y1 < 436) {
            labels.push_back(&op);
        }
    }
    // Lines 4 to 6 of a past run end before the large finishing position beside them.
    for (const int dy : {62, 82, 102}) {
        EXPECT_LE(RightEdge(TextsAt(page, 1773, RowTop(1) + dy).at(0)), 1957) << dy;
    }
    // The header labels (drawn after every row) share at most the 2 units a glyph keeps blank
    // above it; they stand below the thick top border and, right of 890, above the line at 404.
    labels.resize(labels.size() / 18);
    for (const TPageOp* p : labels) {
        const double bottom = p->y1 + print::TextHeight(p->state.font.size);
        EXPECT_TRUE(p->y1 >= 312 && (p->x1 < 890 || p->y1 > 404 || bottom <= 403)) << p->y1;
        for (const TPageOp* q : labels) {
            EXPECT_TRUE(p == q || std::min(RightEdge(p), RightEdge(q)) <= std::max(p->x1, q->x1) ||
                        bottom - 2 <= q->y1 ||
                        q->y1 + print::TextHeight(q->state.font.size) - 2 <= p->y1)
                << p->x1 << ":" << p->y1;
        }
    }
}

TEST_F(NewspaperTest, HeaderBlockLinesAndPrizeLists) {
    AddRace(0, {1});
    auto& race = day->Races[0];
    race.SetField(12, 27, "2004053005030401");
    race.SetField(28, 28, "2");
    race.SetField(874, 877, "1005");
    race.SetField(612, 614, "075");
    race.SetField(714, 769, "00120000000480000003000000018000000120000000000000000000");
    const TRecordedPage page = Draw(0);
    EXPECT_EQ(TextAt(page, 300, 90), S("2004年05月30日(日)東京03回04日 1R 10.05発走"));
    EXPECT_EQ(TextAt(page, 300, 125).substr(0, 8), S("第 75回 "));
    EXPECT_EQ(TextAt(page, 300, 185),
              S("【 賞　金 】1着:12,000  2着:4,800  3着:3,000  4着:1,800  5着:1,200  6着:0  "
                "7着:0   (単位:千円)"));
    EXPECT_EQ(TextAt(page, 300, 215),
              S("【付加賞金】1着:0  2着:0  3着:0  4着:0  5着:0   (単位:千円)"));
}

} // namespace
