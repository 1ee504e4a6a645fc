#include "analysis/ui/TrendChartView.h"

#include "jvdata/SjisText.h"
#include "widgets/ui/QtConvert.h"

#include <algorithm>
#include <cmath>

#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QGraphicsLayout>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QScatterSeries>
#include <QValueAxis>

namespace analysis::ui {

namespace {

using widgets::FromRgb;
using widgets::FromSjis;

// Labels, legend and the bottom axis title: "ＭＳ Ｐ明朝" 12 px.
QFont LabelFont() {
    QFont font(QStringLiteral(u"ＭＳ Ｐ明朝"));
    font.setPixelSize(12);
    return font;
}

// The vertical axis titles: "ＭＳ ゴシック" 12 px.
QFont TitleFont() {
    QFont font(QStringLiteral(u"ＭＳ ゴシック"));
    font.setPixelSize(12);
    return font;
}

// The name boxes: blue bold "ＭＳ Ｐゴシック" 15 px on aqua, sunken, 209 x 16.
constexpr int kNameBoxWidth = 209;
constexpr int kNameBoxHeight = 16;
// Room beside the plot for a vertical axis title; the margin without one.
constexpr int kTitleMargin = 22;
constexpr int kPlainMargin = 6;
// A square point mark; the flat marks are this wide and 2 * height + 1 high.
constexpr int kPointSize = 9;
constexpr int kFlatPointWidth = 11;

const char* ChartName(TChartId id) {
    switch (id) {
    case TChartId::Chart1:
        return "Chart1";
    case TChartId::Chart2:
        return "Chart2";
    case TChartId::Chart3:
        return "Chart3";
    case TChartId::Chart4:
        return "Chart4";
    }
    return "Chart";
}

// A value axis with the chart's settings: fixed range or automatic, inverted, the label step,
// the label pattern, grid. A whole-number pattern with a half step labels the whole numbers and
// puts a minor grid line between them, so no label shows twice.
void Configure(QValueAxis& axis, const TChartAxis& look) {
    axis.setLabelsFont(LabelFont());
    axis.setReverse(look.inverted);
    axis.setGridLineVisible(look.grid);
    axis.setLabelFormat(QString::fromStdString(PrintfFormat(look.labelFormat)));
    if (!look.automatic) {
        axis.setRange(look.minimum, look.maximum);
    }
    if (look.step > 0) {
        const bool whole = PrintfFormat(look.labelFormat) == "%.0f";
        const double interval = whole && look.step < 1 ? 1.0 : look.step;
        axis.setTickType(QValueAxis::TicksDynamic);
        axis.setTickAnchor(look.minimum);
        axis.setTickInterval(interval);
        int minor = look.minorTicks ? 1 : 0;
        if (interval > look.step) {
            minor = static_cast<int>(std::lround(interval / look.step)) - 1;
        }
        axis.setMinorTickCount(minor);
        axis.setMinorGridLineVisible(look.grid && minor > 0);
    }
}

} // namespace

TTrendChartView::TTrendChartView(TChartId id, QWidget* parent)
    // The view owns the chart it is made with; a chart set later would leave the first one
    // to its caller.
    : QChartView(new QChart, parent), shown_(MakeChart(id)) {
    setObjectName(QString::fromLatin1(ChartName(id)));
    setRenderHint(QPainter::Antialiasing, false);
    QChart* chart = this->chart();
    chart->setTitle(QString());
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->setBackgroundRoundness(0);
    QLinearGradient background(0, 0, 0, 1);
    background.setCoordinateMode(QGradient::ObjectBoundingMode);
    background.setColorAt(0, Qt::white);
    background.setColorAt(1, QColor(0x80, 0x80, 0x80));
    chart->setBackgroundBrush(background);
    chart->setPlotAreaBackgroundVisible(false); // the back wall's brush is clear
    QLegend* legend = chart->legend();
    legend->setAlignment(Qt::AlignTop);
    legend->setFont(LabelFont());
    if (shown_.legendColoured) {
        legend->setBackgroundVisible(true);
        legend->setBrush(FromRgb(shown_.legendColour));
        legend->setPen(QPen(QColor(0x80, 0x80, 0x80)));
    }

    SetupAxes();
    SetupSeries();

    if (!shown_.nameBox.empty()) {
        nameBox_ = new QLabel(this);
        nameBox_->setObjectName(QString::fromStdString(shown_.nameBox));
        nameBox_->setGeometry(leftMargin_ + 4, 4, kNameBoxWidth, kNameBoxHeight);
        nameBox_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        nameBox_->setLineWidth(1);
        nameBox_->setAutoFillBackground(true);
        QPalette colours = nameBox_->palette();
        colours.setColor(QPalette::Window, QColor(0x00, 0xFF, 0xFF));
        colours.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0xFF));
        nameBox_->setPalette(colours);
        QFont font(QStringLiteral(u"ＭＳ Ｐゴシック"));
        font.setPixelSize(15);
        font.setBold(true);
        nameBox_->setFont(font);
    }
}

void TTrendChartView::SetupAxes() {
    QChart* chart = this->chart();
    left_ = new QValueAxis(chart);
    Configure(*left_, shown_.left);
    chart->addAxis(left_, Qt::AlignLeft);
    leftMargin_ =
        shown_.left.verticalTitle && !shown_.left.title.empty() ? kTitleMargin : kPlainMargin;
    if (shown_.right.visible) {
        right_ = new QValueAxis(chart);
        Configure(*right_, shown_.right);
        if (shown_.right.automatic) {
            right_->setRange(0, 1);
        }
        chart->addAxis(right_, Qt::AlignRight);
    }
    rightMargin_ = right_ != nullptr && shown_.right.verticalTitle && !shown_.right.title.empty()
                       ? kTitleMargin
                       : kPlainMargin;
    bottom_ = new QCategoryAxis(chart);
    bottom_->setLabelsFont(LabelFont());
    bottom_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    bottom_->setGridLineVisible(false);
    bottom_->setRange(-0.5, 0.5);
    if (!shown_.bottom.title.empty()) {
        bottom_->setTitleText(FromSjis(shown_.bottom.title));
        bottom_->setTitleFont(LabelFont());
    }
    chart->addAxis(bottom_, Qt::AlignBottom);
    chart->setMargins(QMargins(leftMargin_, kPlainMargin, rightMargin_, kPlainMargin));
}

QValueAxis* TTrendChartView::AxisOf(const TChartSeries& series) const {
    return series.axis == TAxisSide::Right && right_ != nullptr ? right_ : left_;
}

void TTrendChartView::SetupSeries() {
    QChart* chart = this->chart();
    for (const TChartSeries& look : shown_.series) {
        const QColor colour = FromRgb(look.colour);
        QAbstractSeries* series = nullptr;
        switch (look.kind) {
        case TSeriesKind::FastLine: {
            auto* line = new QLineSeries(chart);
            line->setPen(QPen(colour, 2));
            series = line;
            break;
        }
        case TSeriesKind::Points: {
            // The marks are drawn by the view in each point's colour; the toolkit's own stay
            // invisible, so that none is half cut off at an axis end.
            auto* points = new QScatterSeries(chart);
            points->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
            points->setMarkerSize(kPointSize);
            points->setColor(Qt::transparent);
            points->setBorderColor(Qt::transparent);
            series = points;
            break;
        }
        case TSeriesKind::Bars: {
            auto* bars = new QBarSeries(chart);
            bars->setBarWidth(look.barWidthPercent / 100.0);
            bars_ = new QBarSet(FromSjis(look.title));
            bars_->setColor(colour);
            bars_->setBorderColor(Qt::black);
            bars_->setSelectedColor(FromRgb(kChartGrey));
            bars->append(bars_);
            series = bars;
            break;
        }
        }
        series->setName(FromSjis(look.title));
        series->setObjectName(QString::fromStdString(look.name));
        chart->addSeries(series);
        series->attachAxis(bottom_);
        series->attachAxis(AxisOf(look));
        for (QLegendMarker* marker : chart->legend()->markers(series)) {
            marker->setFont(LabelFont());
            marker->setBrush(colour);
            marker->setPen(QPen(Qt::black));
        }
        series_.push_back(series);
    }
}

QAbstractSeries* TTrendChartView::SeriesAt(int i) const {
    return i >= 0 && i < static_cast<int>(series_.size()) ? series_[static_cast<std::size_t>(i)]
                                                          : nullptr;
}

void TTrendChartView::Show(const TChart& chart) {
    shown_.name = chart.name;
    shown_.added = chart.added;
    std::size_t columns = 0;
    double highest = 0;
    for (std::size_t j = 0; j < shown_.series.size() && j < chart.series.size(); ++j) {
        const std::vector<TChartPoint>& points = chart.series[j].points;
        shown_.series[j].points = points;
        columns = std::max(columns, points.size());
        if (shown_.series[j].kind == TSeriesKind::Bars) {
            QList<qreal> values;
            values.reserve(static_cast<qsizetype>(points.size()));
            for (const TChartPoint& p : points) {
                values.append(p.value);
                highest = std::max(highest, p.value);
            }
            bars_->deselectAllBars();
            bars_->remove(0, bars_->count());
            bars_->append(values);
            QList<int> grey;
            for (std::size_t i = 0; i < points.size(); ++i) {
                if (points[i].colour != shown_.series[j].colour) {
                    grey.append(static_cast<int>(i));
                }
            }
            bars_->selectBars(grey);
            continue;
        }
        QList<QPointF> xy;
        xy.reserve(static_cast<qsizetype>(points.size()));
        for (std::size_t i = 0; i < points.size(); ++i) {
            xy.append(QPointF(static_cast<qreal>(i), points[i].value));
        }
        static_cast<QXYSeries*>(series_[j])->replace(xy);
    }

    // The bottom axis: one slot per point, labelled by the first series' point labels.
    for (const QString& label : bottom_->categoriesLabels()) {
        bottom_->remove(label);
    }
    const std::vector<TChartPoint>* labels = nullptr;
    for (const TChartSeries& s : shown_.series) {
        if (!s.points.empty()) {
            labels = &s.points;
            break;
        }
    }
    if (labels != nullptr) {
        for (std::size_t i = 0; i < labels->size(); ++i) {
            bottom_->append(FromSjis((*labels)[i].label), static_cast<qreal>(i));
        }
    }
    bottom_->setStartValue(-0.5);
    bottom_->setRange(-0.5, static_cast<qreal>(std::max<std::size_t>(columns, 1)) - 0.5);

    if (right_ != nullptr && shown_.right.automatic) {
        right_->setRange(0, std::max(1.0, highest));
        right_->applyNiceNumbers();
    }
    if (nameBox_ != nullptr) {
        nameBox_->setText(FromSjis(shown_.name));
    }
    viewport()->update();
}

void TTrendChartView::DrawVerticalTitle(QPainter& painter, const TChartAxis& axis,
                                        qreal centreX) const {
    const QString title = FromSjis(axis.title);
    const QFontMetrics metrics(painter.font());
    const qreal step = metrics.height();
    const QRectF plot = chart()->mapRectToScene(chart()->plotArea());
    qreal y = plot.center().y() - step * title.size() / 2.0;
    for (const QChar c : title) {
        painter.drawText(QRectF(centreX - step / 2.0, y, step, step), Qt::AlignCenter, QString(c));
        y += step;
    }
}

void TTrendChartView::drawForeground(QPainter* painter, const QRectF& rect) {
    QChartView::drawForeground(painter, rect);
    QChart* chart = this->chart();
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);

    // Vertical axis titles, in the room beside the axes' labels.
    painter->setFont(TitleFont());
    painter->setPen(Qt::black);
    const QRectF frame = chart->mapRectToScene(chart->rect());
    if (shown_.left.verticalTitle && !shown_.left.title.empty()) {
        DrawVerticalTitle(*painter, shown_.left, frame.left() + leftMargin_ / 2.0 + 1);
    }
    if (right_ != nullptr && shown_.right.verticalTitle && !shown_.right.title.empty()) {
        DrawVerticalTitle(*painter, shown_.right, frame.right() - rightMargin_ / 2.0 - 1);
    }

    // Point marks of the point series, each in its own colour, whole even on an axis end;
    // values outside the axis (the fixed values of a missing figure) are not drawn.
    painter->setFont(LabelFont());
    const QFontMetrics metrics(painter->font());
    for (std::size_t j = 0; j < shown_.series.size(); ++j) {
        const TChartSeries& s = shown_.series[j];
        if (s.kind != TSeriesKind::Points) {
            continue;
        }
        const QValueAxis* axis = AxisOf(s);
        const qreal low = std::min(axis->min(), axis->max());
        const qreal high = std::max(axis->min(), axis->max());
        const int width = s.pointHeight > 0 ? kFlatPointWidth : kPointSize;
        const int height = s.pointHeight > 0 ? 2 * s.pointHeight + 1 : kPointSize;
        for (std::size_t i = 0; i < s.points.size(); ++i) {
            const TChartPoint& p = s.points[i];
            if (p.value < low - 1e-9 || p.value > high + 1e-9) {
                continue;
            }
            const QPointF at = chart->mapToScene(
                chart->mapToPosition(QPointF(static_cast<qreal>(i), p.value), series_[j]));
            const QRectF mark(at.x() - width / 2.0, at.y() - height / 2.0, width, height);
            painter->setPen(QPen(Qt::black, 1));
            painter->setBrush(FromRgb(p.colour));
            painter->drawRect(mark);
            if (s.marksVisible) {
                // The mark: the point's label in a small box above it.
                const QString text = FromSjis(p.label);
                const int textWidth = metrics.horizontalAdvance(text) + 6;
                const QRectF box(at.x() - textWidth / 2.0, mark.top() - metrics.height() - 8,
                                 textWidth, metrics.height() + 2);
                painter->drawLine(QPointF(at.x(), mark.top()), QPointF(at.x(), box.bottom()));
                painter->setBrush(QColor(0xFF, 0xFF, 0xE1));
                painter->drawRect(box);
                painter->drawText(box, Qt::AlignCenter, text);
            }
        }
    }
    painter->restore();
}

} // namespace analysis::ui
