#include "analysis/ui/TrendChartView.h"

#include "analysis/ui/ChartPainter.h"
#include "widgets/ui/QtConvert.h"

#include <QPainter>

namespace analysis::ui {

namespace {

QString ChartName(TChartId id) {
    return QStringLiteral("Chart%1").arg(static_cast<int>(id));
}

} // namespace

TTrendChartView::TTrendChartView(TChartId id, QWidget* parent)
    : QWidget(parent), shown_(MakeChart(id)) {
    setObjectName(ChartName(id));
    setAttribute(Qt::WA_OpaquePaintEvent); // the chart's background covers every pixel
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TTrendChartView::Show(const TChart& chart) {
    shown_.name = chart.name;
    shown_.added = chart.added;
    for (std::size_t j = 0; j < shown_.series.size() && j < chart.series.size(); ++j) {
        shown_.series[j].points = chart.series[j].points;
    }
    update();
}

QString TTrendChartView::NameText() const {
    return shown_.nameBox.empty() ? QString() : widgets::FromSjis(shown_.name);
}

QSize TTrendChartView::sizeHint() const {
    return QSize(640, 400);
}

QSize TTrendChartView::minimumSizeHint() const {
    return QSize(320, 200);
}

void TTrendChartView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    PaintChart(painter, QRectF(rect()), shown_);
}

} // namespace analysis::ui
