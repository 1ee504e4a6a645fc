#include "race/ui/RaceCardGrid.h"

#include "jvdata/SjisText.h"
#include "race/RaceCardColumns.h"

#include <QFont>
#include <QHeaderView>
#include <QPalette>

namespace race::ui {

TRaceCardGrid::TRaceCardGrid(QWidget* parent) : QTableWidget(parent) {
    setObjectName(QStringLiteral("StringGrid1"));
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPixelSize(15);
    font.setBold(true);
    setFont(font);

    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::black);
    colours.setColor(QPalette::Window, Qt::black);
    colours.setColor(QPalette::Text, Qt::black);
    setPalette(colours);
    setAutoFillBackground(true);

    setColumnCount(kRaceCardColumnCount);
    setRowCount(0);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setCornerButtonEnabled(false);

    // No fixed column: the row numbers stay hidden.
    verticalHeader()->setVisible(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(kRaceCardRowHeight);
    verticalHeader()->setDefaultSectionSize(kRaceCardRowHeight);

    QHeaderView* header = horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setMinimumSectionSize(1);
    header->setStretchLastSection(false);
    header->setHighlightSections(false);
    header->setSectionsClickable(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setFont(font);
    header->setFixedHeight(kRaceCardRowHeight);
}

void TRaceCardGrid::WriteHeaderRow() {
    const auto& columns = RaceCardColumns();
    for (int column = 0; column < kRaceCardColumnCount; ++column) {
        const TRaceCardColumn& spec = columns[static_cast<std::size_t>(column)];
        setHorizontalHeaderItem(
            column, new QTableWidgetItem(QString::fromStdString(Sjis::ToUtf8(spec.header))));
        setColumnWidth(column, spec.width);
    }
}

} // namespace race::ui
