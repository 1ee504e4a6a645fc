// The main window's CSV export of the shown race: its card, its results with the payoffs and
// its time tables, each as the core's table of what the page shows.
#include "analysis/TimeTableExport.h"
#include "race/RaceTables.h"
#include "shell/ui/TMainForm.h"
#include "widgets/ui/CsvSave.h"
#include "widgets/ui/QtConvert.h"

namespace shell::ui {

namespace {

enum class TRaceCsv { Card, Results, Times };

files::TTextTable TableOf(TRaceCsv what, const race::TRaceDayData& day, int slot) {
    switch (what) {
    case TRaceCsv::Card:
        return race::CardTable(day, slot);
    case TRaceCsv::Results:
        return race::ResultsTable(day, slot);
    case TRaceCsv::Times:
        break;
    }
    return analysis::TimeTablesTable(day, slot);
}

// The end of the proposed file name: "出馬表", "成績" or "タイム計算表", Shift-JIS.
std::string NameOf(TRaceCsv what) {
    switch (what) {
    case TRaceCsv::Card:
        return Sjis::FromUtf8("出馬表");
    case TRaceCsv::Results:
        return Sjis::FromUtf8("成績");
    case TRaceCsv::Times:
        break;
    }
    return Sjis::FromUtf8("タイム計算表");
}

} // namespace

void TMainForm::UpdateCsvItems() {
    const bool shown = raceBrowser_ && raceBrowser_->ChosenSlot() >= 0;
    for (QAction* item : {csvCardItem_, csvResultsItem_, csvTimesItem_}) {
        item->setEnabled(shown);
    }
}

void TMainForm::CsvCardItemClick() {
    SaveRaceCsv(static_cast<int>(TRaceCsv::Card));
}

void TMainForm::CsvResultsItemClick() {
    SaveRaceCsv(static_cast<int>(TRaceCsv::Results));
}

void TMainForm::CsvTimesItemClick() {
    SaveRaceCsv(static_cast<int>(TRaceCsv::Times));
}

void TMainForm::SaveRaceCsv(int table) {
    const int slot = raceBrowser_ ? raceBrowser_->ChosenSlot() : -1;
    if (slot < 0) {
        return;
    }
    const auto what = static_cast<TRaceCsv>(table);
    const files::TTextTable csv = TableOf(what, *raceDay_, slot);
    const QString name = widgets::FromSjis(race::RaceCsvFileName(*raceDay_, slot, NameOf(what)));
    widgets::SaveTableAsCsv(this, csv, name, *interaction_);
}

} // namespace shell::ui
