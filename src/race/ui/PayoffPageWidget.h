// The results page "成績結果": seven bet-type blocks from win to trio, each a heading over
// three captioned rows of 3-D text boxes, one column of boxes per entry of the bet type, at
// the places and in the looks of race::PayoffPage. Show writes a race's payoffs into the boxes.
#pragma once

#include "race/PayoffPage.h"
#include "race/PayoffTable.h"
#include "widgets/ui/TLabel3Dj.h"

#include <array>
#include <vector>

#include <QWidget>

namespace race::ui {

class TPayoffPageWidget : public QWidget {
    Q_OBJECT

public:
    explicit TPayoffPageWidget(QWidget* parent = nullptr);

    // The heading of a bet type.
    widgets::TLabel3Dj* Heading(TBetType bet) const;
    // The caption of a row of a bet type.
    widgets::TLabel3Dj* Caption(TBetType bet, PayoffPage::TPayoffLine line) const;
    // The box of entry (0-based, below PayoffEntryCount(bet)) in a row; null outside.
    widgets::TLabel3Dj* Box(TBetType bet, PayoffPage::TPayoffLine line, int entry) const;

    // Blanks every box of every bet type.
    void Clear();
    // Blanks every box, then fills the boxes of race slot s from the day's payoffs.
    void Show(const TPayoffTable& table, int slot);

    QSize sizeHint() const override;

private:
    struct TBlock {
        widgets::TLabel3Dj* heading = nullptr;
        std::array<widgets::TLabel3Dj*, 3> captions{};
        // Boxes by row, then by entry.
        std::array<std::vector<widgets::TLabel3Dj*>, 3> boxes;
    };
    std::array<TBlock, kBetTypeCount> blocks_;
};

} // namespace race::ui
