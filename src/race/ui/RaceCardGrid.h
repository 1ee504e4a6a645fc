// The race card grid (StringGrid1, page "出馬表"): eleven columns under one fixed header row,
// rows 16 pixels high, whole rows selected, black background, bold fixed-pitch 15-pixel text.
//
// The fixed header row is the grid's horizontal header; grid row r (1 for the first runner)
// is table row r - 1. The header row is written when the grid is made.
#pragma once

#include <QTableWidget>

namespace race::ui {

class TRaceCardGrid : public QTableWidget {
    Q_OBJECT

public:
    explicit TRaceCardGrid(QWidget* parent = nullptr);

    // Writes the header row and the column widths of the race card columns.
    void WriteHeaderRow();
};

} // namespace race::ui
