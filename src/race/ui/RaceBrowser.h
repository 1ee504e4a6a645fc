// The window half of race browsing: loading the race day chosen in the date list into the
// main window's TRaceDayData (DateComboChange) and showing the race of the chosen race tab
// (TabControl1Change) in the header panel, the race card grid, the horse tabs and the results
// page. The main window owns the widgets and the race day; this class only works them.
#pragma once

#include "race/TRaceDayData.h"
#include "widgets/UserInteraction.h"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <QWidget>

class QTableWidget;

namespace widgets {
class TPrgrsForm;
class TTabControl;
} // namespace widgets

namespace race::ui {

class TPayoffPageWidget;
class TRaceHeaderPanel;

// The main window's parts that race browsing writes.
struct TRaceViews {
    QWidget* panel1 = nullptr;                    // the race area, hidden until a day loads
    widgets::TPrgrsForm* progress = nullptr;      // TPrgrsForm while a day loads; may be null
    widgets::TTabControl* raceTabs = nullptr;     // TabControl1: " 1R" .. "12R"
    race::ui::TRaceHeaderPanel* header = nullptr; // Panel2 with Label1..Label5, Label51
    QTableWidget* card = nullptr;                 // StringGrid1, the race card grid
    widgets::TTabControl* horseTabs = nullptr;    // TabControl2: " 1番" .. "18番"
    TPayoffPageWidget* results = nullptr;         // the page "成績結果"
    // The views below the race card (time tables, charts, horse pages), told the race slot
    // each time a race is shown, after the card and the results; may be empty.
    std::function<void(int slot)> handOver;
};

class TRaceBrowser {
public:
    // day is the main window's race day, which this class overwrites with each successful
    // load. The views must outlive the browser.
    TRaceBrowser(TRaceDayData& day, TRaceViews views, widgets::IUserInteraction& ui);

    // Loads the date list entry (Shift-JIS) from the store under dataRoot into the race day: hides
    // the race area, shows the progress window with its bar of 24 steps and lets it paint once,
    // loads, closes the progress window, then either lists the race tabs, shows the first race and
    // the race area, or, when the day is not complete, beeps and says so (the race area stays
    // hidden and the race day keeps what it held). True when the day was loaded.
    bool DateComboChange(const std::filesystem::path& dataRoot, std::string_view entry);

    // Shows the race of the chosen race tab: the header lines and the panel's colour, the
    // horse tabs, the card rows and the results page, then hands the race over to the views
    // below the card. Nothing without a chosen tab.
    void TabControl1Change();

    // The progress window, when it is made after the browser (null: loads show no progress).
    void SetProgressWindow(widgets::TPrgrsForm* progress) { views_.progress = progress; }

    // The race slot the chosen race tab shows, -1 without one.
    int ChosenSlot() const;
    // The race tabs of the last successful load.
    const std::vector<TRaceTab>& Tabs() const { return tabs_; }

private:
    TRaceDayData& day_;
    TRaceViews views_;
    widgets::IUserInteraction& ui_;
    std::vector<TRaceTab> tabs_;
};

} // namespace race::ui
