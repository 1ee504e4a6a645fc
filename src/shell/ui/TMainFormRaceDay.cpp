// The main window's race day: the horse tabs and the results page under the race tabs, and
// the handlers that load the day chosen in the date list and show the chosen race.
#include "analysis/ui/AnalysisPages.h"
#include "archive/ArchivePages.h"
#include "horse/ui/HorseView.h"
#include "jvdata/SjisText.h"
#include "race/ui/PayoffPageWidget.h"
#include "race/ui/RaceCardGrid.h"
#include "race/ui/RaceCardPainting.h"
#include "shell/ui/TMainForm.h"
#include "widgets/ui/TabControl.h"

#include <vector>

#include <QScrollArea>
#include <QVBoxLayout>

namespace shell::ui {

namespace {

// The pages of PageControl1 that race browsing fills.
constexpr int kHorsePage = 1;   // 競走馬: the horse tabs over the horse view
constexpr int kResultsPage = 8; // 成績結果

} // namespace

void TMainForm::SetupRaceBrowsing() {
    race::ui::InstallRaceCardPainting(*stringGrid1_);

    // 競走馬: one tab per runner; the horse view fills the client area.
    QWidget* horseSheet = pageControl1_->widget(kHorsePage);
    auto* horseLayout = new QVBoxLayout(horseSheet);
    horseLayout->setContentsMargins(0, 0, 0, 0);
    tabControl2_ = new widgets::TTabControl(horseSheet);
    tabControl2_->setObjectName(QStringLiteral("TabControl2"));
    horseLayout->addWidget(tabControl2_);

    // 成績結果: the seven bet types' boxes, scrolled when the window is low.
    QWidget* resultsSheet = pageControl1_->widget(kResultsPage);
    auto* resultsLayout = new QVBoxLayout(resultsSheet);
    resultsLayout->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea(resultsSheet);
    scroll->setFrameShape(QFrame::NoFrame);
    payoffPage_ = new race::ui::TPayoffPageWidget;
    payoffPage_->setMinimumSize(payoffPage_->sizeHint());
    scroll->setWidget(payoffPage_);
    resultsLayout->addWidget(scroll);

    raceDay_ = std::make_unique<race::TRaceDayData>();
    horseView_ = new horse::ui::THorseView(*raceDay_, *tabControl2_);
    tabControl2_->SetClientWidget(horseView_);
    raceBrowser_ = std::make_unique<race::ui::TRaceBrowser>(
        *raceDay_,
        race::ui::TRaceViews{panel1_, prgrsForm_, tabControl1_, panel2_, stringGrid1_, tabControl2_,
                             payoffPage_, [this](int slot) { ShowRaceViews(slot); }},
        *interaction_);

    // A choice of the user only: rebuilding the list chooses nothing.
    connect(dateCombo_, &QComboBox::activated, this, [this](int) { DateComboChange(); });
    connect(tabControl1_, &widgets::TTabControl::Change, this, [this] { TabControl1Change(); });
}

void TMainForm::DateComboChange() {
    const int index = dateCombo_->currentIndex();
    if (index < 0) {
        return;
    }
    // The list shows the store's Shift-JIS entries, which convert back unchanged.
    const std::string entry = Sjis::FromUtf8(dateCombo_->itemText(index).toStdString());
    raceBrowser_->SetProgressWindow(prgrsForm_);
    // A day that fails to load leaves the race area hidden: no day is on show then.
    shownEntry_ = raceBrowser_->DateComboChange(dataRoot_, entry) ? entry : std::string();
}

bool TMainForm::ShowRun(const archive::TRunPlace& place) {
    const auto listed = [this] {
        std::vector<std::string> entries;
        for (int i = 0; i < dateCombo_->count(); ++i) {
            entries.push_back(Sjis::FromUtf8(dateCombo_->itemText(i).toStdString()));
        }
        return entries;
    };
    std::vector<std::string> entries = listed();
    std::optional<std::size_t> entry = archive::DateEntryOfRun(entries, place);
    if (!entry) {
        // A day acquired since the list was made.
        MakeDataListBtnClick();
        entries = listed();
        entry = archive::DateEntryOfRun(entries, place);
    }
    if (!entry) {
        widgets::BeepAndInform(*interaction_, archive::RunDayMissingText(place));
        return false;
    }
    if (shownEntry_ != entries[*entry] || panel1_->isHidden()) {
        dateCombo_->setCurrentIndex(static_cast<int>(*entry));
        DateComboChange();
        if (shownEntry_.empty()) {
            return false; // the load has said why
        }
    }
    const std::optional<int> tab =
        archive::RaceTabOfRun(*raceDay_, raceBrowser_->Tabs(), place.race);
    if (!tab) {
        widgets::BeepAndInform(*interaction_, archive::RunDayMissingText(place));
        return false;
    }
    if (tabControl1_->TabIndex() != *tab) {
        tabControl1_->SetTabIndex(*tab);
        TabControl1Change();
    }
    const int slot = raceBrowser_->ChosenSlot();
    if (const std::optional<int> horse = archive::HorseTabOfRun(*raceDay_, slot, place.horseNum)) {
        tabControl2_->SetTabIndex(*horse);
        horseView_->ShowRace(slot);
        pageControl1_->setCurrentIndex(kHorsePage);
    }
    if (isMinimized()) {
        showNormal();
    }
    raise();
    activateWindow();
    return true;
}

void TMainForm::ShowRaceViews(int slot) {
    analysisPages_->ShowRace(*raceDay_, slot);
    horseView_->ShowRace(slot);
}

void TMainForm::TabControl1Change() {
    raceBrowser_->TabControl1Change();
}

} // namespace shell::ui
