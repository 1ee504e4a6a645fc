#include "analysis/ui/TimeTablePage.h"

#include "analysis/TimeTableLook.h"
#include "jvdata/SjisText.h"
#include "widgets/ui/QtConvert.h"

#include <QHeaderView>
#include <QPainter>
#include <QVBoxLayout>

namespace analysis::ui {

namespace {

using widgets::FromRgb;
using widgets::FromSjis;

} // namespace

QColor InfoBackground(const QPalette& palette) {
    const QColor tip = palette.color(QPalette::ToolTipBase);
    if (!tip.isValid() || tip == palette.color(QPalette::Base)) {
        return FromRgb(TableLook::kToolTipFallback);
    }
    return tip;
}

void TimeTableDrawCell(QPainter& painter, int column, const QRect& rect, const QString& text,
                       const QFont& font, const QPalette& palette) {
    const TableLook::TCellLook look =
        TableLook::CellLook(column, Sjis::FromUtf8(text.toStdString()));
    painter.save();
    painter.fillRect(rect, look.fill == TableLook::TCellFill::ToolTip ? InfoBackground(palette)
                                                                      : FromRgb(look.colour));
    painter.setFont(font);
    painter.setPen(FromRgb(TableLook::kTextColour));
    painter.setClipRect(rect);
    const int horizontal =
        look.align == TableLook::TCellAlign::Right ? Qt::AlignRight : Qt::AlignHCenter;
    painter.drawText(rect, horizontal | Qt::AlignTop | Qt::TextSingleLine, text);
    painter.restore();
}

void TTimeTableCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    const QWidget* grid = option.widget;
    TimeTableDrawCell(*painter, index.column(), option.rect, index.data().toString(),
                      grid != nullptr ? grid->font() : option.font,
                      grid != nullptr ? grid->palette() : option.palette);
}

TTimeTableGrid::TTimeTableGrid(const QString& name, QWidget* parent) : QTableWidget(parent) {
    setObjectName(name);
    QFont font(FromSjis(TableLook::kFontFace));
    font.setPixelSize(TableLook::kFontPixels);
    font.setBold(true);
    setFont(font);
    setToolTip(FromSjis(TableLook::GridHint()));
    setColumnCount(kTableColumns);
    for (int column = 0; column < kTableColumns; ++column) {
        setColumnWidth(column, TableLook::kColumnWidths[static_cast<std::size_t>(column)]);
    }
    horizontalHeader()->setVisible(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setVisible(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(TableLook::kRowHeight);
    setShowGrid(true);
    setWordWrap(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::NoFocus);
    setItemDelegate(new TTimeTableCellDelegate(this));
}

void TTimeTableGrid::Fill(const TTableRows& rows) {
    setUpdatesEnabled(false);
    setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        for (int column = 0; column < kTableColumns; ++column) {
            const QString text =
                FromSjis(rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(column)]);
            if (QTableWidgetItem* cell = item(r, column)) {
                cell->setText(text);
            } else {
                setItem(r, column, new QTableWidgetItem(text));
            }
        }
    }
    setUpdatesEnabled(true);
}

QString TTimeTableGrid::Cell(int column, int row) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell != nullptr ? cell->text() : QString();
}

TTimeTablePage::TTimeTablePage(const QString& captionName, const std::string& caption,
                               const QString& gridName, QWidget* parent)
    : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    caption_ = new QLabel(FromSjis(caption), this);
    caption_->setObjectName(captionName);
    caption_->setFixedHeight(TableLook::kCaptionHeight);
    caption_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    caption_->setLineWidth(1);
    caption_->setMargin(0);
    caption_->setIndent(0);
    caption_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    caption_->setAutoFillBackground(true);
    QPalette colours = caption_->palette();
    colours.setColor(QPalette::Window, FromRgb(TableLook::kCaptionBackground));
    colours.setColor(QPalette::WindowText, FromRgb(TableLook::kCaptionTextColour));
    caption_->setPalette(colours);
    QFont font(FromSjis(TableLook::kCaptionFontFace));
    font.setPixelSize(TableLook::kCaptionFontPixels);
    font.setBold(true);
    caption_->setFont(font);
    layout->addWidget(caption_);

    grid_ = new TTimeTableGrid(gridName, this);
    layout->addWidget(grid_, 1);
}

} // namespace analysis::ui
