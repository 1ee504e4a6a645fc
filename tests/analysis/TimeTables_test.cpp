#include "analysis/AnalysisDay.h"
#include "analysis/SpeedFigures.h"
#include "analysis/TimeTableLook.h"
#include "analysis/TimeTables.h"

#include <gtest/gtest.h>

namespace {

using namespace analysis;
using keiba::test::AnalysisDay;
using keiba::test::PastRun;
using keiba::test::S;

// Race times over 1600 m and the cells they give: 945 tenths is 5.90625 s per 100 m.
constexpr const char* k591 = "1345"; // 5.91
constexpr const char* k590 = "1344"; // 5.90
constexpr const char* k600 = "1360"; // 6.00
constexpr const char* k595 = "1352"; // 5.95
constexpr const char* k580 = "1328"; // 5.80

PastRun Timed(const char* time) {
    PastRun run;
    run.time = time;
    return run;
}

TEST(SpeedFigures, ConversionsOfOneRun) {
    AnalysisDay d(1);
    d.Run(0, 0, PastRun{});
    const auto& run = d.day().PastRuns[0][0][0];
    const auto& race = d.day().PastRaces[0][0][0];
    EXPECT_EQ(RaceTimeTenths(run), 945);
    EXPECT_DOUBLE_EQ(TimeFigure(run, race).value(), 5.90625);
    EXPECT_EQ(Last3fTenths(run), 345);
    EXPECT_DOUBLE_EQ(Last3fFigure(run).value(), 5.75);
    // Finished 3rd at 5th favourite in 16: (16 - 3) + (16 - 5).
    EXPECT_EQ(ExpectationValue(run, race), 24);

    // "0000", "000" and 999 are no figures; a blank race record (no distance) loses only the
    // time figure.
    d.Run(0, 1, PastRun{"0000", "000", "01", "01", "1600", "16"});
    d.Run(0, 2, PastRun{"1345", "999", "00", "01", "", ""});
    d.Run(0, 3, PastRun{"1345", "345", "01", "01", "", ""});
    EXPECT_FALSE(TimeFigure(d.day().PastRuns[0][0][1], d.day().PastRaces[0][0][1]));
    EXPECT_FALSE(Last3fFigure(d.day().PastRuns[0][0][1]));
    EXPECT_FALSE(Last3fFigure(d.day().PastRuns[0][0][2]));
    EXPECT_EQ(ExpectationValue(d.day().PastRuns[0][0][2], d.day().PastRaces[0][0][2]), 0);
    EXPECT_FALSE(TimeFigure(d.day().PastRuns[0][0][3], d.day().PastRaces[0][0][3]));
    EXPECT_DOUBLE_EQ(Last3fFigure(d.day().PastRuns[0][0][3]).value(), 5.75);
    // The favourite winning in a field of 16.
    d.Run(0, 4, PastRun{"1345", "345", "01", "01", "1600", "16"});
    EXPECT_EQ(ExpectationValue(d.day().PastRuns[0][0][4], d.day().PastRaces[0][0][4]), 30);
}

TEST(TimeTables, CellTextsRoundHalfAwayFromZero) {
    EXPECT_EQ(FigureText(5.90625), "5.91");
    EXPECT_EQ(FigureText(5.625), "5.63");
    EXPECT_EQ(FigureText(5.875), "5.88");
    EXPECT_EQ(FigureText(0.5), "0.50");
    EXPECT_EQ(FigureText(10.0), "10.00");
    EXPECT_EQ(FigureText(std::nullopt), "");
    EXPECT_EQ(CellHundredths(" 5.91 "), 591);
    EXPECT_FALSE(CellHundredths(""));
    EXPECT_FALSE(CellHundredths("5.9x"));
}

TEST(TimeTables, RowsCellsAndAverages) {
    AnalysisDay d(5);
    // Horse 1: no earlier runs. Horse 2: one run. Horse 3: 5.91, 6.00, 5.95.
    d.Run(1, 0, Timed(k591));
    d.Run(2, 0, Timed(k591));
    d.Run(2, 1, Timed(k600));
    d.Run(2, 2, Timed(k595));
    // Horse 4: the average comes from the cell texts 5.91, 5.91, 5.90 (5.9067), not from the
    // figures (5.9042, which would show 5.90).
    d.Run(3, 0, Timed(k591));
    d.Run(3, 2, Timed(k591));
    d.Run(3, 4, Timed(k590));
    // Horse 5: run 2 without its race record and run 3 with "0000".
    d.Run(4, 1, PastRun{"1345", "345", "01", "01", "", ""});
    d.Run(4, 2, PastRun{"0000", "360", "01", "01", "1600", "16"});
    d.day().Runners[0][4].SetField(28, 28, " ");

    TTimeTables t;
    BuildTimeTables(t, d.day(), 0);
    ASSERT_EQ(t.times.size(), 5u);
    ASSERT_EQ(t.last3f.size(), 5u);
    EXPECT_EQ(t.times[0], (TTableRow{"", "1", "1", "", "", "", "", "", ""}));
    EXPECT_EQ(t.times[1], (TTableRow{S("◎"), "1", "2", "5.91", "", "", "", "", "5.91"}));
    EXPECT_EQ(t.times[2], (TTableRow{S("×"), "2", "3", "5.91", "6.00", "5.95", "", "", "5.95"}));
    EXPECT_EQ(t.times[3], (TTableRow{S("○"), "2", "4", "5.91", "", "5.91", "", "5.90", "5.91"}));
    EXPECT_EQ(t.times[4], (TTableRow{"", "", "5", "", "", "", "", "", ""}));
    EXPECT_EQ(t.last3f[4], (TTableRow{"", "", "5", "", "5.75", "6.00", "", "", "5.88"}));
    EXPECT_EQ(t.last3f[0][8], "");
}

TEST(TimeTables, RankingTiesTwoAveragesAndSlowAverages) {
    // Equal 5.80 in rows 2 and 7: the lower horse number ranks first.
    AnalysisDay d(8);
    for (int k : {1, 6}) {
        d.Run(k, 0, Timed(k580));
    }
    d.Run(4, 0, Timed(k600));
    d.Run(0, 0, Timed(k595));
    TTimeTables t;
    BuildTimeTables(t, d.day(), 0);
    EXPECT_EQ(RankingEntries(t.times),
              (std::vector<std::string>{"5.80-02", "5.80-07", "5.95-01", "6.00-05"}));
    EXPECT_EQ(t.times[1][0], S("◎"));
    EXPECT_EQ(t.times[6][0], S("○"));
    EXPECT_EQ(t.times[0][0], S("×"));
    EXPECT_EQ(t.times[4][0], "");

    // Only two averages: ◎ and ○, no ×.
    AnalysisDay two(3);
    two.Run(0, 0, Timed(k600));
    two.Run(2, 0, Timed(k591));
    TTimeTables u;
    BuildTimeTables(u, two.day(), 0);
    EXPECT_EQ(u.times[2][0], S("◎"));
    EXPECT_EQ(u.times[0][0], S("○"));
    EXPECT_EQ(u.times[1][0], "");

    // 60.0 s over the last 600 m is 10.00: it ranks after 5.75, not before it as text would.
    AnalysisDay slow(2);
    slow.Run(0, 0, PastRun{"1345", "600", "01", "01", "1600", "16"});
    slow.Run(1, 0, PastRun{});
    TTimeTables v;
    BuildTimeTables(v, slow.day(), 0);
    EXPECT_EQ(RankingEntries(v.last3f), (std::vector<std::string>{"5.75-02", "10.00-01"}));
    EXPECT_EQ(v.last3f[1][0], S("◎"));
    EXPECT_EQ(v.last3f[0][0], S("○"));
}

TEST(TimeTables, LooksOfTheCells) {
    using namespace TableLook;
    EXPECT_EQ(TimesCaption(), S("　走破タイム計算表（100m当たり秒数）"));
    EXPECT_EQ(Last3fCaption(), S("　上３ハロンタイム計算表（100m当たり秒数）"));
    EXPECT_EQ(GridHint(),
              S("表示は印、枠番、馬番、前１走、前２走、前３走、前４走、前５走、平均値の順です"));
    EXPECT_EQ(kFontFace, S("ＭＳ ゴシック"));
    EXPECT_EQ(kCaptionFontFace, S("ＭＳ Ｐゴシック"));
    EXPECT_EQ(CellLook(1, "3"), (TCellLook{TCellFill::Colour, 0xFF0000, TCellAlign::Centre}));
    EXPECT_EQ(CellLook(1, "6").colour, 0x00FF00u);
    EXPECT_EQ(CellLook(1, "8").colour, 0xFF00FFu);
    EXPECT_EQ(CellLook(1, "").colour, 0xFFFFFFu);
    EXPECT_EQ(CellLook(1, "9").colour, 0xFFFFFFu);
    EXPECT_EQ(CellLook(2, "4").fill, TCellFill::ToolTip);
    EXPECT_EQ(CellLook(0, S("◎")), (TCellLook{TCellFill::Colour, 0xFFFFFF, TCellAlign::Centre}));
    EXPECT_EQ(CellLook(5, "5.91"), (TCellLook{TCellFill::Colour, 0xFFFFFF, TCellAlign::Right}));
    EXPECT_EQ(CellLook(8, "5.91"), (TCellLook{TCellFill::Colour, 0x00FFFF, TCellAlign::Right}));
}

} // namespace
