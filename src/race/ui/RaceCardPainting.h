// The painting of the race card grid (StringGrid1): each cell's background and alignment come
// from race::CardLook::CellLook; the header row is painted teal by its own header view, the
// runner rows by an item delegate, so the grid never paints a cell with the style's own looks.
#pragma once

#include "race/RaceCard.h"

#include <vector>

#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTableWidget>

namespace race::ui {

// The colour behind the horse-number column: the platform's tooltip background, or a pale
// yellow where the platform gives none (a tooltip base equal to the plain base colour).
QColor ToolTipBackground(const QPalette& palette);

// Paints one cell of the race card (StringGrid1DrawCell): column 0..10, row 0 the header row,
// rect the cell, text its text, selected whether the row is selected (the grid's own colour
// for a frame outside 1..8). font is the grid's font; the text is drawn in black on one line
// from the top of the cell, left-aligned or centred as the look says.
void StringGrid1DrawCell(QPainter& painter, int column, int row, const QRect& rect,
                         const QString& text, bool selected, const QFont& font,
                         const QPalette& palette);

// Paints the runner rows of the card (grid row = table row + 1).
class TRaceCardCellDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

// The fixed header row of the card: teal, the texts centred in the grid's bold font.
class TRaceCardHeaderView : public QHeaderView {
    Q_OBJECT

public:
    explicit TRaceCardHeaderView(QWidget* parent = nullptr);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};

// Puts the card's painting on a race card grid: the delegate for its rows and the teal header
// view, keeping the header's texts, widths and height.
void InstallRaceCardPainting(QTableWidget& grid);

// Writes the rows of a race into the grid: one row per runner, the cells as given (Shift-JIS,
// converted here), the selection cleared to the first row.
void FillRaceCard(QTableWidget& grid, const std::vector<TCardRow>& rows);

} // namespace race::ui
