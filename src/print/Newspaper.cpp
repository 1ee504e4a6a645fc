#include "print/Newspaper.h"

#include "jvdata/KeibaFunc.h"
#include "jvdata/RecordLayout.h"
#include "jvdata/SjisText.h"
#include "print/NewspaperText.h"

#include <cstddef>
#include <string>
#include <vector>

namespace print {

namespace {

using KeibaFunc::ShownName;

namespace RA = jvdata::RA;
namespace SE = jvdata::SE;
namespace UM = jvdata::UM;

// The two faces of the page, Shift-JIS: the fixed-pitch Gothic and the proportional one.
const std::string& Gothic() {
    static const std::string face = Sjis::FromUtf8("ＭＳ ゴシック");
    return face;
}

const std::string& PGothic() {
    static const std::string face = Sjis::FromUtf8("ＭＳ Ｐゴシック");
    return face;
}

// Positions on the page, tenths of a millimetre.
constexpr int kLeft = 100;             // left edge of the grid
constexpr int kRight = 1990;           // right edge of the grid
constexpr int kHeaderTop = 310;        // top of the header row of the table
constexpr int kHeaderBottom = 436;     // bottom of the header row
constexpr int kRowHeight = 126;        // one runner row
constexpr int kPastRunTop = 404;       // top of the past-run columns below their caption
constexpr int kPastRunWidth = 220;     // one past-run column
constexpr int kLatestRunText = 1773;   // text left of the most recent run's column
constexpr int kLatestRunFinish = 1957; // finishing position in the most recent run's column
constexpr int kCellPad = 4;            // kept free before the line that ends a column

// The column a text of the page is condensed into: from its left x to the line at right,
// less the pad.
constexpr int ColumnTo(int x, int right) {
    return right - kCellPad - x;
}

// A fixed text of the page, Shift-JIS.
std::string Jp(const char* utf8) {
    return Sjis::FromUtf8(utf8);
}

void Text(IPageCanvas& canvas, int x, int y, std::string_view text) {
    canvas.TextOutAt(x, y, text);
}

// A text that may be longer than the room it has: condensed into the column up to right.
void Text(IPageCanvas& canvas, int x, int y, std::string_view text, int right) {
    canvas.TextOutInColumn(x, y, text, ColumnTo(x, right));
}

void Line(IPageCanvas& canvas, int x1, int y1, int x2, int y2) {
    canvas.MoveToAt(x1, y1);
    canvas.LineToAt(x2, y2);
}

void Font(IPageCanvas& canvas, int size, bool bold) {
    canvas.SetFontSize(size);
    canvas.SetFontBold(bold);
}

// ---- Race header block ------------------------------------------------------------------

void DrawRaceHeader(const race::TRaceDayData& day, int r, IPageCanvas& canvas) {
    const auto slot = static_cast<std::size_t>(r);
    const jvdata::TRecordRA& race = day.Races[slot];

    canvas.SetFontName(Gothic());
    Font(canvas, 14, true);
    canvas.SetFontUnderline(true);
    Text(canvas, 100, 30, Jp("Tomberly＆競馬新聞 for JRA-VAN Data Lab.　出馬表"));

    Font(canvas, 10, true);
    canvas.SetFontUnderline(false);
    Text(canvas, 200, 220, Jp("ﾚｰｽ"));

    Font(canvas, 20, true);
    Text(canvas, 100, 95, KeibaFunc::CourseName(race.CourseCode(), 2).value_or(std::string()));

    // The slot number, white on a black square: the slot's own number, not the page's, so a
    // day with a slot that has no page still numbers its races as the race tabs do.
    canvas.SetPenWidth(10);
    canvas.SetBrushSolid(kBlack);
    canvas.RectangleAt(100, 170, 180, 250);
    canvas.SetFontColour(kWhite);
    Text(canvas, r + 1 < 10 ? 120 : 105, 175, std::to_string(r + 1));

    canvas.SetFontColour(kBlack);
    canvas.SetBrushColour(kWhite);
    Font(canvas, 10, true);
    Text(canvas, 300, 90, NewspaperDateLine(race), kRight);
    Font(canvas, 8, false);
    Text(canvas, 300, 125, NewspaperRaceNameLine(race), kRight);
    Text(canvas, 300, 155, NewspaperConditionsLine(race), kRight);
    const TPrizeTexts prizes = PrizeTexts(race);
    Text(canvas, 300, 185, FirstPrizeLine(prizes), kRight);
    Text(canvas, 300, 215, AddedPrizeLine(prizes), kRight);

    const jvdata::TRecordRC& record = day.CourseRecords[slot];
    if (HasCourseRecordYear(record)) {
        Text(canvas, 300, 245, NewspaperRecordLine(record), kRight);
        Text(canvas, 450, 275, NewspaperRecordRiderLine(record), kRight);
    }
}

// ---- Table grid ---------------------------------------------------------------------------

void DrawTableGrid(int runners, IPageCanvas& canvas) {
    const int bottom = kHeaderBottom + kRowHeight * runners;

    canvas.SetPenWidth(20);
    canvas.SetBrushSolid(kSilver);
    canvas.RectangleAt(kLeft, kHeaderTop, kRight, kHeaderBottom);

    // From here on nothing is filled and texts have no background.
    canvas.SetBrushClear();
    canvas.RectangleAt(kLeft, kHeaderTop, kRight, bottom);

    canvas.SetPenWidth(5);
    for (const int x : {150, 200, 580, 750, 890}) {
        Line(canvas, x, kHeaderTop, x, bottom);
    }
    for (const int x : {1110, 1330, 1550, 1770}) {
        Line(canvas, x, kPastRunTop, x, bottom);
    }
    Line(canvas, 890, kPastRunTop, kRight, kPastRunTop);
}

// ---- Header labels ------------------------------------------------------------------------

// One caption of the header row: the font size it takes (the face changes where `proportional`
// first turns true), its place and its text in Shift-JIS.
struct THeaderLabel {
    bool proportional;
    int size;
    int x;
    int y;
    std::string text;
    int right = 0; // the line that ends its column, for a text that may not fit; 0 for none
};

std::vector<THeaderLabel> MakeHeaderLabels() {
    std::vector<THeaderLabel> labels = {
        {false, 12, 105, 350, Jp("枠")},
        {false, 12, 155, 350, Jp("馬")},
        // The five pedigree captions stand 22 units apart: 6 points (21 units) keeps them
        // apart, where 8 points would print each over the next.
        {false, 6, 205, 312, Jp("父")},
        {false, 6, 205, 334, Jp("馬名")},
        {false, 6, 205, 356, Jp("母")},
        {false, 6, 205, 378, Jp("母父")},
        {false, 6, 205, 400, Jp("母母")},
        {false, 8, 450, 312, Jp("性別･馬齢")},
        {false, 8, 520, 400, Jp("毛色")},
        {false, 8, 585, 312, Jp("本賞金")},
        {false, 8, 585, 339, Jp("付加賞金")},
        {false, 8, 585, 375, Jp("騎手・斤量")},
        {false, 8, 585, 402, Jp("調教師")},
        // 7 points: at 8 the column of "成績累計" reaches the distance captions at 785.
        {false, 7, 755, 312, Jp("成")},
        {false, 7, 755, 337, Jp("績")},
        {false, 7, 755, 362, Jp("累")},
        {false, 7, 755, 387, Jp("計")},
    };
    // Career-count groups, one a line beside the counts.
    const char* distances[] = {"芝･～1600M", "芝･～2200M", "芝･2201M～",
                               "ﾀﾞ･～1600M", "ﾀﾞ･～2200M", "ﾀﾞ･2201M～"};
    for (int i = 0; i < 6; ++i) {
        labels.push_back({true, 5, 785, 312 + 20 * i, Jp(distances[i]), 890});
    }
    // The past-run columns, oldest on the left.
    const char* runs[] = {"前走-5", "前走-4", "前走-3", "前走-2", "前走-1"};
    for (int i = 0; i < 5; ++i) {
        labels.push_back({true, 6, 892 + kPastRunWidth * i, 408, Jp(runs[i])});
    }
    // What the six lines of a past-run cell hold: 3 units below the other captions of the
    // row's top, so that the first line stays clear of the table's thick top border; the
    // fourth still ends above the line at 404.
    labels.push_back({true, 6, 892, 315,
                      Jp("１行目＝開催回次・開催場所・開催日・ｸﾞﾚｰﾄﾞ・条件又は特別名"), kRight});
    labels.push_back(
        {true, 6, 892, 337, Jp("２行目＝頭数・距離・トラック・天候・馬場状態"), kRight});
    labels.push_back({true, 6, 892, 359,
                      Jp("３行目＝騎手・負担重量・ｹﾞｰﾄ・単勝人気　　４行目＝ﾀｲﾑ・ｺｰﾅｰ順位・3Fﾀｲﾑ"),
                      kRight});
    labels.push_back({true, 6, 892, 381,
                      Jp("５行目＝馬体重・獲得本賞金+付加賞金・着順(右端大字)　　"
                         "６行目＝１着馬(当該馬が１着の場合は２着馬)・着差"),
                      kRight});
    return labels;
}

// The captions of the header row. They are drawn again after every runner row; the face they
// leave selected (the proportional one) is the face the next row's frame and horse numbers
// take.
void DrawHeaderLabels(IPageCanvas& canvas) {
    static const std::vector<THeaderLabel> labels = MakeHeaderLabels();
    canvas.SetFontName(Gothic());
    bool proportional = false;
    for (const THeaderLabel& label : labels) {
        if (label.proportional != proportional) {
            proportional = label.proportional;
            canvas.SetFontName(proportional ? PGothic() : Gothic());
        }
        canvas.SetFontSize(label.size);
        if (label.right > 0) {
            Text(canvas, label.x, label.y, label.text, label.right);
        } else {
            Text(canvas, label.x, label.y, label.text);
        }
    }
}

// ---- Runner rows --------------------------------------------------------------------------

// Earlier run s of a runner (0 the most recent) in its column; the most recent run is the
// rightmost column.
void DrawPastRunCell(const jvdata::TRecordSE& run, const jvdata::TRecordRA& race, int s, int top,
                     IPageCanvas& canvas) {
    const TPastRunCell cell = PastRunCell(run, race);
    if (!cell.shown) {
        return;
    }
    const int x = kLatestRunText - kPastRunWidth * s;
    const int finishX = kLatestRunFinish - kPastRunWidth * s;
    // The column ends at the next column's line, 3 units before the next column's text;
    // lines 4 to 6 stand beside the large finishing position and end before it.
    const int cellRight = x - 3 + kPastRunWidth;
    canvas.SetFontSize(6);
    for (int line = 0; line < kPastRunLines; ++line) {
        Text(canvas, x, top + 2 + 20 * line, cell.lines[static_cast<std::size_t>(line)],
             line < 3 ? cellRight : finishX);
    }
    Font(canvas, 8, true);
    Text(canvas, finishX, top + 77, cell.finish, cellRight);
    canvas.SetFontBold(false);
}

// Runner row k (1 for runner slot 0). frames counts the frames begun so far on the page: a
// row whose frame number equals it continues the frame above (a thin separator), any other
// begins a new frame (a thick separator and the boxed frame number).
void DrawRunnerRow(const race::TRaceDayData& day, int r, int k, int& frames, IPageCanvas& canvas) {
    const auto slot = static_cast<std::size_t>(r);
    const auto j = static_cast<std::size_t>(k - 1);
    const jvdata::TRecordSE& runner = day.Runners[slot][j];
    const jvdata::TRecordUM& horse = day.Horses[slot][j];
    const int y = kHeaderTop + kRowHeight * k;

    canvas.SetFontSize(11);
    const int frame = runner.Int(SE::kFrameNumber);
    if (frame == frames) {
        canvas.SetPenWidth(1);
        Line(canvas, 150, y, kRight, y);
    } else {
        Text(canvas, 115, y + 40, std::to_string(frame));
        canvas.SetPenWidth(12);
        Line(canvas, kLeft, y, kRight, y);
        canvas.RectangleAt(110, y + 30, 140, y + 80);
        ++frames;
    }
    Text(canvas, 157, y + 40, KeibaFunc::CircledNumber(runner.Int(SE::kHorseNumber)));

    // Name and pedigree.
    canvas.SetFontName(PGothic());
    canvas.SetFontSize(9);
    // The names column ends at 580; the sire shares its line with sex and age (at 515), the
    // dam's sire and dam with the coat colour (at 505).
    Text(canvas, 205, y + 23, ShownName(runner.Field(SE::kHorseName)), 580);
    canvas.SetFontSize(6);
    Text(canvas, 205, y + 2, ShownName(horse.Field(UM::PedigreeName(UM::kSire))), 515);
    Text(canvas, 205, y + 54, ShownName(horse.Field(UM::PedigreeName(UM::kDam))), 580);
    Text(canvas, 205, y + 76, ShownName(horse.Field(UM::PedigreeName(UM::kDamSire))), 505);
    Text(canvas, 205, y + 96, ShownName(horse.Field(UM::PedigreeName(UM::kDamDam))), 505);

    canvas.SetFontName(Gothic());
    canvas.SetFontSize(7);
    Text(canvas, 505, y + 90, KeibaFunc::CoatColourName(runner.Field(SE::kCoatColourCode)), 580);

    // Career money, sex and age, connections.
    canvas.SetFontSize(6);
    Text(canvas, 585, y + 5, CareerPrizeMoneyText(horse), 750);
    Text(canvas, 585, y + 25, CareerAddedMoneyText(horse), 750);
    Text(canvas, 515, y + 5,
         KeibaFunc::SexName(runner.Field(SE::kSexCode)) +
             KeibaFunc::ZeroSuppress(runner.Field(SE::kAge)),
         580);
    canvas.SetFontSize(7);
    Text(canvas, 585, y + 50,
         std::string(runner.Field(SE::kJockeyShortName)) +
             KeibaFunc::WeightText(runner.Field(SE::kWeightCarried)),
         750);
    Text(canvas, 585, y + 90, runner.Field(SE::kTrainerShortName), 750);

    canvas.SetFontSize(6);
    for (int line = 0; line < kCareerLines; ++line) {
        Text(canvas, 755, y + 2 + 20 * line, CareerCountLine(horse, line), 890);
    }

    canvas.SetFontName(PGothic());
    for (int s = 0; s < race::kPastRunSlots; ++s) {
        const auto entry = static_cast<std::size_t>(s);
        DrawPastRunCell(day.PastRuns[slot][j][entry], day.PastRaces[slot][j][entry], s, y, canvas);
    }

    DrawHeaderLabels(canvas);
}

} // namespace

std::vector<int> NewspaperSlots(const race::TRaceDayData& day) {
    std::vector<int> slots;
    for (int r = 0; r < day.RaceCount && r < race::kRaceSlots; ++r) {
        const auto slot = static_cast<std::size_t>(r);
        const int runners = day.Races[slot].Int(RA::kRegisteredRunners);
        const int firstHorse = day.Runners[slot][0].Int(SE::kHorseNumber);
        if (runners >= 1 && firstHorse >= 1) {
            slots.push_back(r);
        }
    }
    return slots;
}

std::vector<int> DrawNewspaper(const race::TRaceDayData& day, TPageRecorder& pages) {
    pages.BeginDoc();
    const std::vector<int> slots = NewspaperSlots(day);
    for (std::size_t page = 0; page < slots.size(); ++page) {
        if (page > 0) {
            pages.NewPage();
        }
        DrawRacePage(day, slots[page], pages);
    }
    return slots;
}

void DrawRacePage(const race::TRaceDayData& day, int r, IPageCanvas& canvas) {
    if (r < 0 || r >= race::kRaceSlots) {
        return;
    }
    // A race slot holds 18 runners at most: a larger stored count draws the 18 there are.
    const int runners = race::RunnerCount(day.Races[static_cast<std::size_t>(r)]);

    DrawRaceHeader(day, r, canvas);
    DrawTableGrid(runners, canvas);
    int frames = 0;
    for (int k = 1; k <= runners; ++k) {
        DrawRunnerRow(day, r, k, frames, canvas);
    }
}

} // namespace print
