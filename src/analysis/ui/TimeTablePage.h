// The time table pages "走破ﾀｲﾑ計算表" and "上3ﾊﾛﾝﾀｲﾑ計算表": the caption bar (StaticText3,
// StaticText4) over the grid (StringGrid3, StringGrid2) that fills the rest of the page. The
// grid has nine columns and no fixed row or column; its cells are painted by the table's own
// looks (analysis/TimeTableLook.h), never by the style, and selection changes nothing.
#pragma once

#include "analysis/TimeTables.h"

#include <QLabel>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QWidget>

namespace analysis::ui {

// The colour behind the horse-number column: the platform's tooltip background, or a pale
// yellow where it gives none.
QColor InfoBackground(const QPalette& palette);

// Paints one cell of a time table: the background of the column, then the text from the top of
// the cell without margin, centred in columns 0-2 and right-aligned in 3-8.
void TimeTableDrawCell(QPainter& painter, int column, const QRect& rect, const QString& text,
                       const QFont& font, const QPalette& palette);

class TTimeTableCellDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

// StringGrid3 or StringGrid2.
class TTimeTableGrid : public QTableWidget {
    Q_OBJECT

public:
    TTimeTableGrid(const QString& name, QWidget* parent = nullptr);

    // Shows the rows: the grid gets one row per runner and each cell its text.
    void Fill(const TTableRows& rows);
    // The text of a cell as the grid holds it (empty outside the grid).
    QString Cell(int column, int row) const;
};

// One page: the caption bar over the grid.
class TTimeTablePage : public QWidget {
    Q_OBJECT

public:
    // captionName is StaticText3 or StaticText4, gridName StringGrid3 or StringGrid2; caption
    // is the Shift-JIS caption text.
    TTimeTablePage(const QString& captionName, const std::string& caption, const QString& gridName,
                   QWidget* parent = nullptr);

    QLabel* Caption() const { return caption_; }
    TTimeTableGrid* Grid() const { return grid_; }

private:
    QLabel* caption_;
    TTimeTableGrid* grid_;
};

} // namespace analysis::ui
