#include "race/ui/RaceBrowser.h"

#include "archive/StoreIndex.h"
#include "jvdata/SjisText.h"
#include "race/DayLoad.h"
#include "race/RaceCard.h"
#include "race/ui/PayoffPageWidget.h"
#include "race/ui/RaceCardPainting.h"
#include "race/ui/RaceHeaderPanel.h"
#include "widgets/ui/QtConvert.h"
#include "widgets/ui/TPrgrsForm.h"
#include "widgets/ui/TabControl.h"

#include <utility>

#include <QLabel>
#include <QProgressBar>
#include <QTableWidget>

namespace race::ui {

namespace {

using widgets::FromRgb;
using widgets::FromSjis;

} // namespace

TRaceBrowser::TRaceBrowser(TRaceDayData& day, TRaceViews views, widgets::IUserInteraction& ui)
    : day_(day), views_(views), ui_(ui) {}

bool TRaceBrowser::DateComboChange(const std::filesystem::path& dataRoot, std::string_view entry) {
    views_.panel1->hide();
    widgets::TPrgrsForm* progress = views_.progress;
    if (progress != nullptr) {
        progress->Start(entry, kDayLoadProgressMaximum);
    }
    // The one yield of the load: the progress window paints before the reading starts. A key
    // or click meanwhile (the next day chosen) waits for the load to end.
    ui_.PaintPending();

    const auto advance = [progress](int position) {
        if (progress == nullptr) {
            return;
        }
        QProgressBar* bar = progress->ProgressBar1();
        while (bar->value() < position && bar->value() < bar->maximum()) {
            progress->StepIt();
        }
    };
    // A day shown from results finds its horses through the store's index when there is one.
    const TDayLoadResult result =
        LoadRaceDay(dataRoot, entry, day_, advance, archive::IndexedDayRunners(dataRoot));
    // Closed before any message, which the always-on-top window would otherwise cover.
    if (progress != nullptr) {
        progress->Finish();
    }

    if (!result.loaded()) {
        views_.raceTabs->hide();
        if (result.status == TDayLoadStatus::ReadFailed) {
            ui_.ErrorBox(result.message);
        } else {
            widgets::BeepAndInform(ui_, result.message);
        }
        return false;
    }

    tabs_ = result.tabs;
    views_.raceTabs->ClearTabs();
    for (const TRaceTab& tab : tabs_) {
        views_.raceTabs->AddTab(tab.label);
    }
    views_.raceTabs->SetTabIndex(0);
    views_.raceTabs->show();
    TabControl1Change();
    views_.panel1->show();
    return true;
}

int TRaceBrowser::ChosenSlot() const {
    const int index = views_.raceTabs->TabIndex();
    if (index < 0 || index >= static_cast<int>(tabs_.size())) {
        return -1;
    }
    return tabs_[static_cast<std::size_t>(index)].slot;
}

void TRaceBrowser::TabControl1Change() {
    const int slot = ChosenSlot();
    if (slot < 0) {
        return;
    }

    views_.horseTabs->ClearTabs();
    for (const std::string& label : HorseTabLabels(day_, slot)) {
        views_.horseTabs->AddTab(label);
    }

    const TRaceHeader header = RaceHeader(day_, slot);
    const std::string* lines[] = {&header.label1, &header.label2, &header.label3,
                                  &header.label4, &header.label5, &header.label51};
    for (int line = 0; line < 6; ++line) {
        views_.header->Line(line)->setText(FromSjis(*lines[line]));
    }
    views_.header->SetColour(FromRgb(header.panelColour));

    views_.results->Show(day_.PayoffTable, slot);
    FillRaceCard(*views_.card, CardRows(day_, slot));
    if (views_.handOver) {
        views_.handOver(slot);
    }
}

} // namespace race::ui
