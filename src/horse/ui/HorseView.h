// The horse area under the main window's page "競走馬", inside the horse tabs TabControl2: the
// name bar StaticText1 over the page control PageControl2 with the two profile pages and the
// five past-run pages. Each page is a scroll box on black holding one-line labels at the
// places of horse::HorseLabels; the texts come from horse::FillHorseTexts.
#pragma once

#include "horse/HorsePages.h"
#include "race/TRaceDayData.h"

#include <array>
#include <string_view>

#include <QLabel>
#include <QScrollArea>
#include <QTabWidget>
#include <QWidget>

namespace widgets {
class TTabControl;
}

namespace horse::ui {

class THorseView : public QWidget {
    Q_OBJECT

public:
    // day is the main window's race day and horseTabs the tabs this view sits in; both must
    // outlive the view. The view follows the user's choice of horse tab by itself.
    THorseView(const race::TRaceDayData& day, widgets::TTabControl& horseTabs,
               QWidget* parent = nullptr);

    // Opening a race: the race slot shown from now on; refills every page for the chosen
    // horse tab (the first, right after the tabs were rebuilt). The shown page stays.
    void ShowRace(int raceSlot);
    // The horse-tab change: the name bar, both profile pages and the five past-run pages of
    // the chosen horse; every label empty when the race has no runners.
    void TabControl2Change();

    QLabel* StaticText1() const { return labels_[0]; }
    QTabWidget* PageControl2() const { return pageControl2_; }
    // The label of a control name of horse::HorseLabels; null for any other name.
    QLabel* Label(std::string_view name) const;
    // The race slot shown, -1 before the first race.
    int RaceSlot() const { return raceSlot_; }

    // The horizontal stretch of the four pedigree lines of "　馬情報１　", in percent: 100 when
    // they fit the page's visible width, less (down to kMinPedigreeStretch) when they would
    // need the scroll bar.
    int PedigreeStretch() const;

    static constexpr int kMinPedigreeStretch = 60;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Fits "　馬情報１　" to its page: the pedigree lines condensed as far as needed to fit the
    // visible width, and the page as wide as its widest line (scrolled only when the lines are
    // wider than the page even so).
    void FitProfilePage();

    const race::TRaceDayData& day_;
    widgets::TTabControl& horseTabs_;
    int raceSlot_ = -1;
    QTabWidget* pageControl2_ = nullptr;
    QScrollArea* profileScroll_ = nullptr; // the scroll box of "　馬情報１　"
    // In horse::HorseLabels order, the name bar first.
    std::array<QLabel*, kHorseLabelCount> labels_{};
    // The texts last written, Shift-JIS; kept so that an unchanged label is not touched.
    THorseTexts texts_;
};

} // namespace horse::ui
