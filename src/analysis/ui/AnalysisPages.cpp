#include "analysis/ui/AnalysisPages.h"

#include "analysis/TimeTableLook.h"
#include "jvdata/SjisText.h"
#include "widgets/ui/QtConvert.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace analysis::ui {

namespace {

using widgets::FromSjis;

std::size_t Index(TChartId id) {
    return static_cast<std::size_t>(id) - 1;
}

// A page's contents fill its sheet.
void Fill(QWidget* sheet, QWidget* page) {
    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(page);
}

// Width of the selectors on the right of the charts.
constexpr int kSelectorWidth = 84;

} // namespace

TChartPage::TChartPage(TChartId id, const QString& groupName, QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    chart_ = new TTrendChartView(id, this);
    layout->addWidget(chart_, 1);

    group_ = new QGroupBox(FromSjis(SelectorCaption(id)), this);
    group_->setObjectName(groupName);
    group_->setFixedWidth(kSelectorWidth);
    auto* column = new QVBoxLayout(group_);
    column->setContentsMargins(4, 2, 2, 2);
    column->setSpacing(0);
    buttons_ = new QButtonGroup(group_);
    buttons_->setExclusive(true);
    for (int i = 0; i < race::kRunnerSlots; ++i) {
        auto* button = new QRadioButton(group_);
        button->hide();
        buttons_->addButton(button, i);
        column->addWidget(button);
        itemButtons_[static_cast<std::size_t>(i)] = button;
    }
    column->addStretch(1);
    layout->addWidget(group_);
    connect(buttons_, &QButtonGroup::idClicked, this, &TChartPage::Clicked);
}

void TChartPage::SetItems(const std::vector<std::string>& items) {
    // The buttons are made once; an item list is shown by naming and showing the first ones.
    buttons_->setExclusive(false);
    items_ = std::min(static_cast<int>(items.size()), race::kRunnerSlots);
    for (int i = 0; i < race::kRunnerSlots; ++i) {
        QRadioButton* button = itemButtons_[static_cast<std::size_t>(i)];
        button->setChecked(false);
        if (i < items_) {
            const QString text = FromSjis(items[static_cast<std::size_t>(i)]);
            if (button->text() != text) {
                button->setText(text);
            }
            button->show();
        } else {
            button->hide();
        }
    }
    buttons_->setExclusive(true);
}

void TChartPage::SetItemIndex(int index) {
    if (index >= 0 && index < items_) {
        itemButtons_[static_cast<std::size_t>(index)]->setChecked(true);
    }
}

int TChartPage::ItemIndex() const {
    const int id = buttons_->checkedId();
    return id < items_ ? id : -1;
}

QRadioButton* TChartPage::Item(int index) const {
    return index >= 0 && index < items_ ? itemButtons_[static_cast<std::size_t>(index)] : nullptr;
}

TAnalysisPages::TAnalysisPages(const TAnalysisSheets& sheets, QObject* parent)
    : QObject(parent), charts_{MakeChart(TChartId::Chart1), MakeChart(TChartId::Chart2),
                               MakeChart(TChartId::Chart3), MakeChart(TChartId::Chart4)} {
    timesPage_ = new TTimeTablePage(QStringLiteral("StaticText3"), TableLook::TimesCaption(),
                                    QStringLiteral("StringGrid3"), sheets.times);
    Fill(sheets.times, timesPage_);
    last3fPage_ = new TTimeTablePage(QStringLiteral("StaticText4"), TableLook::Last3fCaption(),
                                     QStringLiteral("StringGrid2"), sheets.last3f);
    Fill(sheets.last3f, last3fPage_);

    const std::array<QWidget*, 4> chartSheets = {sheets.timeTrend, sheets.timeComparison,
                                                 sheets.rankTrend, sheets.rankComparison};
    for (int n = 1; n <= 4; ++n) {
        const auto id = static_cast<TChartId>(n);
        auto* page =
            new TChartPage(id, QStringLiteral("RadioGroup%1").arg(n), chartSheets[Index(id)]);
        Fill(chartSheets[Index(id)], page);
        chartPages_[Index(id)] = page;
        // The comparisons' items never change: "前走-1" .. "前走-5".
        if (id == TChartId::Chart2 || id == TChartId::Chart4) {
            page->SetItems(SelectorItems(id, 0));
        }
    }
    connect(chartPages_[0], &TChartPage::Clicked, this, [this] { RadioGroup1Click(); });
    connect(chartPages_[1], &TChartPage::Clicked, this, [this] { RadioGroup2Click(); });
    connect(chartPages_[2], &TChartPage::Clicked, this, [this] { RadioGroup3Click(); });
    connect(chartPages_[3], &TChartPage::Clicked, this, [this] { RadioGroup4Click(); });
}

TChartPage* TAnalysisPages::ChartPage(TChartId id) const {
    return chartPages_[Index(id)];
}

void TAnalysisPages::Redraw(TChartId id, int item) {
    if (day_ == nullptr || slot_ < 0 || item < 0) {
        return;
    }
    TChart& chart = charts_[Index(id)];
    ShowChart(chart, *day_, slot_, runners_, item);
    chartPages_[Index(id)]->Chart()->Show(chart);
}

void TAnalysisPages::ShowRace(const race::TRaceDayData& day, int slot) {
    if (slot < 0 || slot >= race::kRaceSlots) {
        return;
    }
    day_ = &day;
    slot_ = slot;
    runners_ = race::RunnerCount(day.Races[static_cast<std::size_t>(slot)]);
    TChartPage* page1 = chartPages_[Index(TChartId::Chart1)];
    TChartPage* page2 = chartPages_[Index(TChartId::Chart2)];
    TChartPage* page3 = chartPages_[Index(TChartId::Chart3)];
    TChartPage* page4 = chartPages_[Index(TChartId::Chart4)];

    // The horse selectors get one item per runner, the time trend of horse 1 is drawn, both
    // tables are started, every selector goes back to its first item, and the comparisons,
    // the rank trend and the tables' run columns, averages and marks follow.
    const std::vector<std::string> horses = SelectorItems(TChartId::Chart1, runners_);
    page1->SetItems(horses);
    page3->SetItems(horses);
    Redraw(TChartId::Chart1, 0);
    ResetTimeTables(tables_, day, slot);
    page1->SetItemIndex(0);
    page2->SetItemIndex(0);
    Redraw(TChartId::Chart2, page2->ItemIndex());
    Redraw(TChartId::Chart4, 0);
    page3->SetItemIndex(0);
    Redraw(TChartId::Chart3, page3->ItemIndex());
    page4->SetItemIndex(0);
    for (int entry = 0; entry < race::kPastRunSlots; ++entry) {
        FillTimeTableColumn(tables_, day, slot, runners_, entry);
    }
    FillAveragesAndMarks(tables_);
    timesPage_->Grid()->Fill(tables_.times);
    last3fPage_->Grid()->Fill(tables_.last3f);
}

void TAnalysisPages::RadioGroup1Click() {
    Redraw(TChartId::Chart1, chartPages_[0]->ItemIndex());
}

void TAnalysisPages::RadioGroup2Click() {
    Redraw(TChartId::Chart2, chartPages_[1]->ItemIndex());
}

void TAnalysisPages::RadioGroup3Click() {
    Redraw(TChartId::Chart3, chartPages_[2]->ItemIndex());
}

void TAnalysisPages::RadioGroup4Click() {
    Redraw(TChartId::Chart4, chartPages_[3]->ItemIndex());
}

} // namespace analysis::ui
