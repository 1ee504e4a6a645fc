// The six pages of the race view that show the program's speed figures: the two time tables
// and the four charts with their selectors RadioGroup1 .. RadioGroup4 on the right.
//
// The main window makes this once over its page sheets and hands every shown race to
// ShowRace; a selector click redraws its own chart only. The figures come from the core
// (analysis/TimeTables.h, analysis/TrendCharts.h); this class lays out, fills and forwards.
#pragma once

#include "analysis/TimeTables.h"
#include "analysis/TrendCharts.h"
#include "analysis/ui/TimeTablePage.h"
#include "analysis/ui/TrendChartView.h"
#include "race/TRaceDayData.h"

#include <array>

#include <QButtonGroup>
#include <QGroupBox>
#include <QObject>
#include <QRadioButton>

namespace analysis::ui {

// A chart page: the chart with its selector on the right.
class TChartPage : public QWidget {
    Q_OBJECT

public:
    // groupName is RadioGroup1 .. RadioGroup4.
    TChartPage(TChartId id, const QString& groupName, QWidget* parent = nullptr);

    TTrendChartView* Chart() const { return chart_; }
    QGroupBox* RadioGroup() const { return group_; }
    // Replaces the selector's items (Shift-JIS texts); none is chosen afterwards.
    void SetItems(const std::vector<std::string>& items);
    // Chooses an item without running the click handler.
    void SetItemIndex(int index);
    // The chosen item, -1 for none.
    int ItemIndex() const;
    // The number of items.
    int ItemCount() const { return items_; }
    // The button of item index (for tests and clicks).
    QRadioButton* Item(int index) const;

signals:
    // The user chose an item.
    void Clicked(int index);

private:
    TTrendChartView* chart_;
    QGroupBox* group_;
    QButtonGroup* buttons_;
    std::array<QRadioButton*, race::kRunnerSlots> itemButtons_{};
    int items_ = 0;
};

// The sheets of PageControl1 that these pages fill.
struct TAnalysisSheets {
    QWidget* timeTrend = nullptr;      // 馬番別ﾀｲﾑ推移ｸﾞﾗﾌ: Chart1, RadioGroup1
    QWidget* timeComparison = nullptr; // 各馬ﾀｲﾑ比較ｸﾞﾗﾌ: Chart2, RadioGroup2
    QWidget* times = nullptr;          // 走破ﾀｲﾑ計算表: StaticText3, StringGrid3
    QWidget* last3f = nullptr;         // 上3ﾊﾛﾝﾀｲﾑ計算表: StaticText4, StringGrid2
    QWidget* rankTrend = nullptr;      // 人気・着順推移ｸﾞﾗﾌ: Chart3, RadioGroup3
    QWidget* rankComparison = nullptr; // 人気･着順比較ｸﾞﾗﾌ: Chart4, RadioGroup4
};

class TAnalysisPages : public QObject {
    Q_OBJECT

public:
    // Makes the pages inside the sheets.
    explicit TAnalysisPages(const TAnalysisSheets& sheets, QObject* parent = nullptr);

    // Shows race slot s of the day: the selectors' items, all four charts for the first runner
    // and the most recent earlier run, both tables with their averages and marks. The day is
    // kept for the selectors' clicks and must outlive this object (or the next ShowRace).
    void ShowRace(const race::TRaceDayData& day, int slot);

    // The selectors' handlers: each redraws its own chart for the chosen item.
    void RadioGroup1Click();
    void RadioGroup2Click();
    void RadioGroup3Click();
    void RadioGroup4Click();

    TTimeTablePage* TimesPage() const { return timesPage_; }
    TTimeTablePage* Last3fPage() const { return last3fPage_; }
    TTimeTableGrid* StringGrid3() const { return timesPage_->Grid(); }
    TTimeTableGrid* StringGrid2() const { return last3fPage_->Grid(); }
    // Chart page 1 .. 4.
    TChartPage* ChartPage(TChartId id) const;
    // The race slot shown last, -1 before the first race.
    int Slot() const { return slot_; }

private:
    // Redraws one chart for an item of its selector.
    void Redraw(TChartId id, int item);

    const race::TRaceDayData* day_ = nullptr;
    TTimeTablePage* timesPage_ = nullptr;
    TTimeTablePage* last3fPage_ = nullptr;
    std::array<TChartPage*, 4> chartPages_{};
    // Working space reused by every race and click.
    TTimeTables tables_;
    std::array<TChart, 4> charts_;
    int slot_ = -1;
    int runners_ = 0;
};

} // namespace analysis::ui
