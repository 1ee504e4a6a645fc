#include "race/ui/RaceCardGrid.h"

#include "jvdata/SjisText.h"
#include "race/RaceCardLook.h"

#include <QFont>
#include <QHeaderView>
#include <QPalette>

namespace race::ui {

TRaceCardGrid::TRaceCardGrid(QWidget* parent) : QTableWidget(parent) {
    setObjectName(QStringLiteral("StringGrid1"));
    QFont font(QString::fromStdString(Sjis::ToUtf8(CardLook::kFontFace)));
    font.setPixelSize(CardLook::kFontPixels);
    font.setBold(CardLook::kFontBold);
    setFont(font);

    QPalette colours = palette();
    colours.setColor(QPalette::Base, QColor::fromRgb(CardLook::kGridBackground));
    colours.setColor(QPalette::Window, QColor::fromRgb(CardLook::kGridBackground));
    colours.setColor(QPalette::Text, QColor::fromRgb(CardLook::kTextColour));
    setPalette(colours);
    setAutoFillBackground(true);

    setColumnCount(CardLook::kColumnCount);
    setRowCount(0);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setCornerButtonEnabled(false);

    // No fixed column: the row numbers stay hidden.
    verticalHeader()->setVisible(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(CardLook::kRowHeight);
    verticalHeader()->setDefaultSectionSize(CardLook::kRowHeight);

    QHeaderView* header = horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setMinimumSectionSize(1);
    header->setStretchLastSection(false);
    header->setHighlightSections(false);
    header->setSectionsClickable(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setFont(font);
    header->setFixedHeight(CardLook::kRowHeight);
}

void TRaceCardGrid::WriteHeaderRow() {
    for (int column = 0; column < CardLook::kColumnCount; ++column) {
        setHorizontalHeaderItem(column, new QTableWidgetItem(QString::fromStdString(
                                            Sjis::ToUtf8(CardLook::ColumnHeader(column)))));
        setColumnWidth(column, CardLook::kColumnWidths[static_cast<std::size_t>(column)]);
    }
}

} // namespace race::ui
