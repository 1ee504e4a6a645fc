// Race browsing through the window: a race day chosen in the date list loads with its progress
// window, its race tabs, header lines, card grid (texts and painted colours), horse tabs and
// results boxes; a day that is not complete says so and leaves the race area hidden.
#include "jvdata/RecordLayout.h"
#include "race/PayoffPage.h"
#include "race/TRaceDayData.h"
#include "race/ui/PayoffPageWidget.h"
#include "race/ui/RaceBrowser.h"
#include "race/ui/RaceCardGrid.h"
#include "race/ui/RaceCardPainting.h"
#include "race/ui/RaceHeaderPanel.h"
#include "support/RaceDayFixture.h"
#include "support/ScriptedInteraction.h"
#include "support/TestSupport.h"
#include "widgets/ui/TPrgrsForm.h"
#include "widgets/ui/TabControl.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <memory>

#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

using keiba::test::MakePayoff;
using keiba::test::MakeRace;
using keiba::test::MakeRunner;
using keiba::test::RaceDayStore;
using keiba::test::RacePlan;
using keiba::test::S;
using keiba::test::TempDir;
using race::TBetType;
using race::PayoffPage::TPayoffLine;

QString Q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// The race area of the main window as the browser sees it, with a scripted user.
struct TWindow {
    explicit TWindow(const std::filesystem::path& dataRoot)
        : root(dataRoot), day(std::make_unique<race::TRaceDayData>()) {
        top.resize(900, 700);
        auto* layout = new QVBoxLayout(&top);
        panel1 = new QWidget(&top);
        layout->addWidget(panel1);
        auto* area = new QVBoxLayout(panel1);
        header = new race::ui::TRaceHeaderPanel(panel1);
        raceTabs = new widgets::TTabControl(panel1);
        card = new race::ui::TRaceCardGrid(panel1);
        card->WriteHeaderRow();
        race::ui::InstallRaceCardPainting(*card);
        horseTabs = new widgets::TTabControl(panel1);
        results = new race::ui::TPayoffPageWidget(panel1);
        area->addWidget(header);
        area->addWidget(raceTabs);
        area->addWidget(card, 1);
        area->addWidget(horseTabs);
        area->addWidget(results);
        panel1->hide();
        top.show();
        browser = std::make_unique<race::ui::TRaceBrowser>(
            *day,
            race::ui::TRaceViews{panel1, &progress, raceTabs, header, card, horseTabs, results, {}},
            ui);
    }

    QStringList TabTexts(widgets::TTabControl* tabs) const {
        QStringList texts;
        for (int i = 0; i < tabs->Tabs()->count(); ++i) {
            texts << tabs->Tabs()->tabText(i);
        }
        return texts;
    }

    QString Box(TBetType bet, TPayoffLine line, int entry) const {
        return results->Box(bet, line, entry)->Caption();
    }

    std::filesystem::path root;
    QWidget top;
    QWidget* panel1 = nullptr;
    widgets::TPrgrsForm progress;
    widgets::TTabControl* raceTabs = nullptr;
    race::ui::TRaceHeaderPanel* header = nullptr;
    race::ui::TRaceCardGrid* card = nullptr;
    widgets::TTabControl* horseTabs = nullptr;
    race::ui::TPayoffPageWidget* results = nullptr;
    keiba::test::ScriptedInteraction ui;
    std::unique_ptr<race::TRaceDayData> day;
    std::unique_ptr<race::ui::TRaceBrowser> browser;
};

const char* const kEntry = "2004年05月01日東京";

// A two-race day at 東京: race 1 on turf with three runners and a payoff, race 2 on dirt
// (track 24) with two runners and no payoff.
void WriteDay(const RaceDayStore& store) {
    RacePlan first;
    first.number = 1;
    first.runners = 3;
    first.track = "11";
    first.name = S("ＮＨＫマイルカップ");
    jvdata::TRecordRA race1 = MakeRace(first);
    race1.SetField(jvdata::RA::kWeekdayCode, "1");
    race1.SetField(jvdata::RA::kPostTime, "1540");
    RacePlan second = first;
    second.number = 2;
    second.runners = 2;
    second.track = "24";
    second.name = S("ダート特別");
    jvdata::TRecordRA race2 = MakeRace(second);

    std::vector<jvdata::TRecordSE> runners;
    const char* const names[] = {"キング　カメハメハ", "コスモバルク", "ダイワメジャー"};
    const char* const frames[] = {"1", "3", "9"}; // the last is no frame number
    for (int horse = 1; horse <= 3; ++horse) {
        jvdata::TRecordSE runner =
            MakeRunner(race1, horse, "200110000" + std::to_string(horse), S(names[horse - 1]));
        runner.SetField(jvdata::SE::kFrameNumber, frames[horse - 1]);
        runner.SetField(jvdata::SE::kJockeyShortName, S("安藤勝己"));
        runners.push_back(runner);
    }
    runners.push_back(MakeRunner(race2, 1, "2001200001", S("アドマイヤドン")));
    runners.push_back(MakeRunner(race2, 2, "2001200002", S("タイムパラドックス")));

    store.WriteRaces(S(kEntry), {race1, race2});
    store.WriteRunnerSlots(S(kEntry), runners);
    store.WritePayoffs(S(kEntry), {MakePayoff(race1, 3, 1230, 2)});
}

TEST(RaceBrowser, LoadsADayIntoTabsHeaderCardAndResults) {
    TempDir root;
    WriteDay(RaceDayStore(root.path()));
    TWindow window(root.path());

    ASSERT_TRUE(window.browser->DateComboChange(window.root, S(kEntry)));
    EXPECT_TRUE(window.ui.Events().empty()) << "no box for a complete day";
    EXPECT_EQ(window.ui.ProcessEventsCount(), 1) << "the progress window paints once";
    EXPECT_FALSE(window.progress.isVisible());
    EXPECT_EQ(window.progress.ProgressBar1()->maximum(), 24);
    EXPECT_EQ(window.progress.ProgressBar1()->value(), 14) << "2 races read + 12 slots";
    EXPECT_EQ(window.progress.StaticText1()->text(), Q(kEntry));
    EXPECT_TRUE(window.panel1->isVisible());
    EXPECT_TRUE(window.raceTabs->isVisible());

    EXPECT_EQ(window.TabTexts(window.raceTabs), (QStringList{Q(" 1R"), Q(" 2R")}));
    EXPECT_EQ(window.raceTabs->TabIndex(), 0);
    EXPECT_EQ(window.TabTexts(window.horseTabs), (QStringList{Q(" 1番"), Q(" 2番"), Q(" 3番")}));

    EXPECT_EQ(window.header->Line(0)->text(), Q("2004年05月01日(土)東京02回03日 1R  15.40発走"));
    EXPECT_EQ(window.header->Line(1)->text(),
              Q("ＮＨＫマイルカップ") + QString(42, QLatin1Char(' ')));
    EXPECT_TRUE(window.header->Line(4)->text().isEmpty()) << "no course record";
    EXPECT_TRUE(window.header->Line(5)->text().isEmpty());
    EXPECT_EQ(window.header->Colour(), QColor(0, 128, 0));

    ASSERT_EQ(window.card->rowCount(), 3);
    EXPECT_EQ(window.card->item(0, 0)->text(), Q("1"));
    EXPECT_EQ(window.card->item(0, 1)->text(), Q(" 1"));
    EXPECT_EQ(window.card->item(0, 3)->text(), Q("キングカメハメハ")) << "wide blank removed";
    EXPECT_EQ(window.card->item(0, 4)->text(), Q("安藤勝己"));
    EXPECT_EQ(window.card->item(2, 3)->text(), Q("ダイワメジャー"));
    EXPECT_TRUE(window.card->item(1, 2)->text().isEmpty()) << "no earlier race: no 連闘";

    EXPECT_EQ(window.Box(TBetType::Win, TPayoffLine::Result, 0), Q(" 3"));
    EXPECT_EQ(window.Box(TBetType::Win, TPayoffLine::Popularity, 0), Q(" 2"));
    EXPECT_EQ(window.Box(TBetType::Win, TPayoffLine::Payout, 0), Q("    1230"));
    EXPECT_TRUE(window.Box(TBetType::Win, TPayoffLine::Result, 1).isEmpty());
    EXPECT_TRUE(window.Box(TBetType::Place, TPayoffLine::Payout, 0).isEmpty());

    // The second race: dirt 24 turns the panel maroon; its card, horse tabs and empty results.
    window.raceTabs->SetTabIndex(1);
    window.browser->TabControl1Change();
    EXPECT_EQ(window.header->Colour(), QColor(128, 0, 0));
    EXPECT_TRUE(window.header->Line(0)->text().contains(Q("東京02回03日 2R  ")));
    EXPECT_EQ(window.TabTexts(window.horseTabs), (QStringList{Q(" 1番"), Q(" 2番")}));
    ASSERT_EQ(window.card->rowCount(), 2);
    EXPECT_EQ(window.card->item(1, 3)->text(), Q("タイムパラドックス"));
    for (const TBetType bet : race::kBetTypes) {
        for (int entry = 0; entry < race::PayoffEntryCount(bet); ++entry) {
            EXPECT_TRUE(window.Box(bet, TPayoffLine::Result, entry).isEmpty())
                << "race 2 has no payoffs; the boxes of race 1 are gone";
        }
    }
}

TEST(RaceBrowser, IncompleteDayBeepsSaysSoAndKeepsTheRaceAreaHidden) {
    TempDir root;
    const RaceDayStore store(root.path());
    WriteDay(store);
    // Races but no runner slot file for the second entry.
    RacePlan kyoto;
    kyoto.date = "20040502";
    kyoto.course = "08";
    store.WriteRaces(S("2004年05月02日京都"), {MakeRace(kyoto)});
    TWindow window(root.path());

    for (const char* entry : {"2004年05月08日東京", "2004年05月02日京都"}) {
        window.ui.ClearEvents();
        EXPECT_FALSE(window.browser->DateComboChange(window.root, S(entry))) << entry;
        EXPECT_EQ(window.ui.BeepCount(), 1) << entry;
        EXPECT_EQ(window.ui.Texts(), std::vector<std::string>{S("データ作成が未完了のようです。")});
        ASSERT_EQ(window.ui.Events().size(), 2u);
        EXPECT_EQ(window.ui.Events()[0].kind, keiba::test::TInteractionEvent::Kind::Beep);
        EXPECT_EQ(window.ui.Events()[1].kind, keiba::test::TInteractionEvent::Kind::Information);
        EXPECT_FALSE(window.panel1->isVisible()) << entry;
        EXPECT_FALSE(window.progress.isVisible()) << entry;
    }

    // A loaded day, then a failing choice: the area hides, the day's data stay as they were.
    ASSERT_TRUE(window.browser->DateComboChange(window.root, S(kEntry)));
    const std::string race1(window.day->Races[0].view());
    EXPECT_FALSE(window.browser->DateComboChange(window.root, S("2004年05月08日東京")));
    EXPECT_FALSE(window.panel1->isVisible());
    EXPECT_FALSE(window.raceTabs->isVisible());
    EXPECT_EQ(std::string(window.day->Races[0].view()), race1);
    EXPECT_EQ(window.day->RaceCount, 2);
}

// The colour most pixels of a cell have: its background, whatever its text covers.
QColor CellColour(const QImage& image, const QRect& cell) {
    std::map<QRgb, int> counts;
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
        for (int x = cell.left(); x <= cell.right(); ++x) {
            ++counts[image.pixel(x, y)];
        }
    }
    const auto most = std::max_element(counts.begin(), counts.end(),
                                       [](auto& a, auto& b) { return a.second < b.second; });
    return most == counts.end() ? QColor() : QColor(most->first);
}

TEST(RaceBrowser, CardPaintsFrameColoursTooltipColumnWhiteCellsAndTealHeader) {
    TempDir root;
    WriteDay(RaceDayStore(root.path()));
    TWindow window(root.path());
    ASSERT_TRUE(window.browser->DateComboChange(window.root, S(kEntry)));
    window.card->clearSelection(); // the grid's own colour, not the selection's, under frame 9

    const QImage rows = window.card->viewport()->grab().toImage();
    ASSERT_FALSE(rows.isNull());
    auto cell = [&](int row, int column) {
        QRect rect = window.card->visualRect(window.card->model()->index(row, column));
        const qreal scale = rows.devicePixelRatio();
        return QRect(rect.topLeft() * scale, rect.size() * scale);
    };
    EXPECT_EQ(window.card->rowHeight(0), 16);
    EXPECT_EQ(CellColour(rows, cell(0, 0)), QColor(255, 255, 255)) << "frame 1 white";
    EXPECT_EQ(CellColour(rows, cell(1, 0)), QColor(255, 0, 0)) << "frame 3 red";
    EXPECT_EQ(CellColour(rows, cell(2, 0)), window.card->palette().color(QPalette::Base))
        << "frame 9: the grid's own background";
    const QColor tip = race::ui::ToolTipBackground(window.card->palette());
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(CellColour(rows, cell(row, 1)), tip) << "row " << row;
        for (int column = 2; column < 11; ++column) {
            EXPECT_EQ(CellColour(rows, cell(row, column)), QColor(255, 255, 255))
                << "row " << row << " column " << column;
        }
    }
    // Some black text is drawn in the name cell, from its left edge.
    const QRect name = cell(0, 3);
    bool dark = false;
    for (int x = name.left(); x < name.left() + 20 && !dark; ++x) {
        for (int y = name.top(); y < name.bottom() && !dark; ++y) {
            dark = rows.pixelColor(x, y).lightness() < 60;
        }
    }
    EXPECT_TRUE(dark) << "the horse name is drawn left-aligned";

    QHeaderView* header = window.card->horizontalHeader();
    const QImage head = header->grab().toImage();
    for (int column = 0; column < 11; ++column) {
        const QRect section(header->sectionViewportPosition(column), 0, header->sectionSize(column),
                            header->height());
        EXPECT_EQ(CellColour(head, section), QColor(0, 128, 128)) << "header column " << column;
    }
    EXPECT_EQ(window.card->model()->headerData(3, Qt::Horizontal).toString(), Q("馬名"));
}

TEST(PayoffPageWidget, BoxesAtTheirColumnsWithTheirSizesAndColours) {
    race::ui::TPayoffPageWidget page;
    for (const TBetType bet : race::kBetTypes) {
        const int height = bet == TBetType::Exacta || bet == TBetType::Trio ? 15 : 14;
        for (const TPayoffLine line : race::PayoffPage::kLines) {
            for (int entry = 0; entry < race::PayoffEntryCount(bet); ++entry) {
                const widgets::TLabel3Dj* box = page.Box(bet, line, entry);
                ASSERT_NE(box, nullptr);
                EXPECT_EQ(box->geometry().left(), 49 + 64 * entry);
                EXPECT_EQ(box->geometry().size(), QSize(60, height));
                EXPECT_EQ(box->Color(), QColor(0, 0, 0));
                EXPECT_EQ(box->FontColor(), line == TPayoffLine::Popularity ? QColor(255, 255, 0)
                                                                            : QColor(0, 255, 255));
                EXPECT_EQ(box->font().pixelSize(), 12);
                EXPECT_TRUE(box->font().bold());
                EXPECT_EQ(box->Alignment(), widgets::TAlignment::taCenter);
            }
            EXPECT_EQ(page.Box(bet, line, race::PayoffEntryCount(bet)), nullptr);
        }
        EXPECT_EQ(page.Heading(bet)->FontColor(), QColor(0, 0, 255));
        EXPECT_TRUE(page.Heading(bet)->font().underline());
    }
    const QStringList headings{Q("単勝"), Q("複勝"), Q("枠連"),  Q("馬連"),
                               Q("ﾜｲﾄﾞ"), Q("馬単"), Q("三連複")};
    for (int i = 0; i < race::kBetTypeCount; ++i) {
        EXPECT_EQ(page.Heading(race::kBetTypes[static_cast<std::size_t>(i)])->Caption(),
                  headings[i]);
    }
    EXPECT_EQ(page.Caption(TBetType::Trio, TPayoffLine::Payout)->Caption(), Q("配当："));
    // Blocks follow each other from top to bottom without overlapping.
    for (int i = 1; i < race::kBetTypeCount; ++i) {
        const auto above = race::kBetTypes[static_cast<std::size_t>(i - 1)];
        const auto below = race::kBetTypes[static_cast<std::size_t>(i)];
        EXPECT_LT(page.Box(above, TPayoffLine::Payout, 0)->geometry().bottom(),
                  page.Heading(below)->geometry().top());
    }
}

TEST(PayoffPageWidget, ShowFillsOneRaceAndClearsThePrevious) {
    race::TPayoffTable table;
    table.races[0].win[0] = {3, {}, 2, 1230};
    table.races[0].win[1] = {5, {}, 1, 980}; // a dead heat: two winners
    table.races[0].bracketQuinella[0] = {0, " 3- 5", 4, 2450};
    table.races[0].trio[0] = {0, " 1- 2-12", 10, 123450};
    table.races[1].place[4] = {7, {}, 9, 310};

    race::ui::TPayoffPageWidget page;
    page.Show(table, 0);
    EXPECT_EQ(page.Box(TBetType::Win, TPayoffLine::Result, 1)->Caption(), Q(" 5"));
    EXPECT_EQ(page.Box(TBetType::Win, TPayoffLine::Payout, 1)->Caption(), Q("     980"));
    EXPECT_TRUE(page.Box(TBetType::Win, TPayoffLine::Result, 2)->Caption().isEmpty());
    EXPECT_EQ(page.Box(TBetType::BracketQuinella, TPayoffLine::Result, 0)->Caption(), Q(" 3- 5"));
    EXPECT_EQ(page.Box(TBetType::BracketQuinella, TPayoffLine::Popularity, 0)->Caption(), Q(" 4"));
    EXPECT_EQ(page.Box(TBetType::Trio, TPayoffLine::Result, 0)->Caption(), Q(" 1- 2-12"));
    EXPECT_EQ(page.Box(TBetType::Trio, TPayoffLine::Payout, 0)->Caption(), Q("  123450"));

    page.Show(table, 1);
    EXPECT_TRUE(page.Box(TBetType::Win, TPayoffLine::Result, 0)->Caption().isEmpty());
    EXPECT_TRUE(page.Box(TBetType::Trio, TPayoffLine::Payout, 0)->Caption().isEmpty());
    EXPECT_EQ(page.Box(TBetType::Place, TPayoffLine::Result, 4)->Caption(), Q(" 7"));

    page.Show(table, 12); // outside the day: all blank
    EXPECT_TRUE(page.Box(TBetType::Place, TPayoffLine::Result, 4)->Caption().isEmpty());
}

} // namespace
