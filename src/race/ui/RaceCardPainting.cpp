#include "race/ui/RaceCardPainting.h"

#include "jvdata/SjisText.h"
#include "race/RaceCardLook.h"
#include "widgets/ui/QtConvert.h"

#include <QPainter>

namespace race::ui {

namespace {

using widgets::FromRgb;

} // namespace

QColor ToolTipBackground(const QPalette& palette) {
    const QColor tip = palette.color(QPalette::ToolTipBase);
    if (!tip.isValid() || tip == palette.color(QPalette::Base)) {
        return FromRgb(CardLook::kToolTipFallback);
    }
    return tip;
}

void StringGrid1DrawCell(QPainter& painter, int column, int row, const QRect& rect,
                         const QString& text, bool selected, const QFont& font,
                         const QPalette& palette) {
    const CardLook::TCellLook look =
        CardLook::CellLook(column, row, Sjis::FromUtf8(text.toStdString()));
    QColor background;
    switch (look.fill) {
    case CardLook::TCellFill::Colour:
        background = FromRgb(look.colour);
        break;
    case CardLook::TCellFill::ToolTip:
        background = ToolTipBackground(palette);
        break;
    case CardLook::TCellFill::GridOwn:
        background = palette.color(selected ? QPalette::Highlight : QPalette::Base);
        break;
    }
    painter.save();
    painter.fillRect(rect, background);
    painter.setFont(font);
    painter.setPen(FromRgb(CardLook::kTextColour));
    const Qt::Alignment horizontal =
        look.align == CardLook::TCellAlign::Left ? Qt::AlignLeft : Qt::AlignHCenter;
    painter.setClipRect(rect);
    painter.drawText(rect, static_cast<int>(horizontal | Qt::AlignTop | Qt::TextSingleLine), text);
    painter.restore();
}

void TRaceCardCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    const QWidget* grid = option.widget;
    const QFont font = grid != nullptr ? grid->font() : option.font;
    const QPalette palette = grid != nullptr ? grid->palette() : option.palette;
    StringGrid1DrawCell(*painter, index.column(), index.row() + CardLook::kFixedRows, option.rect,
                        index.data(Qt::DisplayRole).toString(),
                        option.state.testFlag(QStyle::State_Selected), font, palette);
}

TRaceCardHeaderView::TRaceCardHeaderView(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

void TRaceCardHeaderView::paintSection(QPainter* painter, const QRect& rect,
                                       int logicalIndex) const {
    const QString text = model() != nullptr
                             ? model()->headerData(logicalIndex, Qt::Horizontal).toString()
                             : QString();
    StringGrid1DrawCell(*painter, logicalIndex, 0, rect, text, false, font(), palette());
}

void InstallRaceCardPainting(QTableWidget& grid) {
    QHeaderView* old = grid.horizontalHeader();
    auto* header = new TRaceCardHeaderView(&grid);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setMinimumSectionSize(old->minimumSectionSize());
    header->setStretchLastSection(false);
    header->setHighlightSections(false);
    header->setSectionsClickable(false);
    header->setFont(old->font());
    header->setFixedHeight(old->height() > 0 ? old->height() : CardLook::kRowHeight);
    std::vector<int> widths;
    for (int column = 0; column < grid.columnCount(); ++column) {
        widths.push_back(grid.columnWidth(column));
    }
    grid.setHorizontalHeader(header);
    for (int column = 0; column < static_cast<int>(widths.size()); ++column) {
        grid.setColumnWidth(column, widths[static_cast<std::size_t>(column)]);
    }
    grid.setItemDelegate(new TRaceCardCellDelegate(&grid));
    grid.setShowGrid(true);
}

void FillRaceCard(QTableWidget& grid, const std::vector<TCardRow>& rows) {
    grid.clearContents();
    grid.setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        const TCardRow& cells = rows[static_cast<std::size_t>(row)];
        for (int column = 0; column < CardLook::kColumnCount; ++column) {
            grid.setItem(row, column,
                         new QTableWidgetItem(QString::fromStdString(
                             Sjis::ToUtf8(cells[static_cast<std::size_t>(column)]))));
        }
    }
    if (!rows.empty()) {
        grid.setCurrentCell(0, 0);
        grid.selectRow(0);
    }
}

} // namespace race::ui
