#include "analysis/ui/ChartPainter.h"

#include "widgets/ui/QtConvert.h"

#include <algorithm>
#include <cmath>

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>

namespace analysis::ui {

namespace {

using widgets::FromRgb;
using widgets::FromSjis;

// Space around the chart's parts.
constexpr double kMargin = 6;
// The legend: padding inside its box, the gap between entries, the colour box's width.
constexpr double kLegendPadding = 4;
constexpr double kLegendGap = 14;
constexpr double kLegendSymbol = 12;
// The name boxes: 209 x 16, 4 px in from the chart's top left corner of the plot.
constexpr double kNameBoxWidth = 209;
constexpr double kNameBoxHeight = 16;
// A tick line's length outside the plot, and the gap between it and its label.
constexpr double kTickLength = 4;
constexpr double kLabelGap = 3;
// A square point mark; the flat marks are this wide and 2 * height + 1 high.
constexpr double kPointSize = 9;
constexpr double kFlatPointWidth = 11;
// The label box of a shown mark: its padding and its distance above the mark.
constexpr double kMarkPadding = 6;
constexpr double kMarkRise = 8;

const QColor kPlotFrame(0x80, 0x80, 0x80);
const QColor kGrid(0xC0, 0xC0, 0xC0);
const QColor kMinorGrid(0xE0, 0xE0, 0xE0);
const QColor kMarkBackground(0xFF, 0xFF, 0xE1);

QSizeF PointSize(const TChartSeries& s) {
    return s.pointHeight > 0 ? QSizeF(kFlatPointWidth, 2.0 * s.pointHeight + 1)
                             : QSizeF(kPointSize, kPointSize);
}

// The widest label text of an axis, 0 for an axis not drawn.
double LabelWidth(const TPlacedAxis& axis, const QFontMetricsF& metrics) {
    double width = 0;
    if (axis.shown) {
        for (const analysis::TAxisTick& tick : axis.ticks) {
            width = std::max(width, metrics.horizontalAdvance(QString::fromStdString(tick.text)));
        }
    }
    return width;
}

void PrepareAxis(TPlacedAxis& axis, const TChart& chart, TAxisSide side) {
    const TChartAxis& look = side == TAxisSide::Left ? chart.left : chart.right;
    axis.shown = analysis::AxisShown(chart, side);
    if (!axis.shown) {
        return;
    }
    axis.map.range = analysis::AxisRange(chart, side);
    axis.map.inverted = look.inverted;
    axis.ticks = analysis::AxisTicks(look, axis.map.range);
    if (look.verticalTitle && !look.title.empty()) {
        axis.titleText = FromSjis(look.title);
    }
}

// The stacked title's column: one character per line, centred on the plot's height.
QRectF StackedTitle(const QString& title, double centreX, const QRectF& plot,
                    const QFontMetricsF& metrics) {
    const double step = metrics.height();
    const double height = step * static_cast<double>(title.size());
    return QRectF(centreX - step / 2, plot.center().y() - height / 2, step, height);
}

} // namespace

QFont ChartLabelFont() {
    QFont font(QStringLiteral(u"ＭＳ Ｐ明朝"));
    font.setPixelSize(12);
    return font;
}

QFont ChartTitleFont() {
    QFont font(QStringLiteral(u"ＭＳ ゴシック"));
    font.setPixelSize(12);
    return font;
}

QFont ChartNameFont() {
    QFont font(QStringLiteral(u"ＭＳ Ｐゴシック"));
    font.setPixelSize(15);
    font.setBold(true);
    return font;
}

const TPlacedAxis& TChartLayout::AxisOf(const TChartSeries& series) const {
    return series.axis == TAxisSide::Right && right.shown ? right : left;
}

TChartLayout LayoutChart(const TChart& chart, const QRectF& frame) {
    TChartLayout layout;
    layout.frame = frame;
    const QFontMetricsF labels(ChartLabelFont());
    const QFontMetricsF titles(ChartTitleFont());
    const double lineHeight = labels.height();

    PrepareAxis(layout.left, chart, TAxisSide::Left);
    PrepareAxis(layout.right, chart, TAxisSide::Right);
    const double titleColumn = titles.height() + 4;
    double plotLeft = frame.left() + kMargin;
    if (!layout.left.titleText.isEmpty()) {
        plotLeft += titleColumn;
    }
    plotLeft += LabelWidth(layout.left, labels) + kLabelGap + kTickLength;
    double plotRight = frame.right() - kMargin;
    if (layout.right.shown) {
        if (!layout.right.titleText.isEmpty()) {
            plotRight -= titleColumn;
        }
        plotRight -= LabelWidth(layout.right, labels) + kLabelGap + kTickLength;
    }

    // The name box sits at the plot's top left; the legend is centred at the top, moved right
    // of the name box when both would meet.
    if (!chart.nameBox.empty()) {
        layout.nameBox = QRectF(plotLeft + 4, frame.top() + 4, kNameBoxWidth, kNameBoxHeight);
        layout.name = FromSjis(chart.name);
    }
    const double legendHeight = lineHeight + 2 * kLegendPadding;
    const double symbolWidth = kLegendSymbol * chart.legendSymbolPercent / 100.0;
    double legendWidth = kLegendPadding;
    for (const TChartSeries& s : chart.series) {
        legendWidth += symbolWidth + 4 + labels.horizontalAdvance(FromSjis(s.title)) + kLegendGap;
    }
    legendWidth += kLegendPadding - kLegendGap;
    double legendLeft = frame.center().x() - legendWidth / 2;
    if (!layout.nameBox.isEmpty()) {
        legendLeft = std::max(legendLeft, layout.nameBox.right() + kMargin);
    }
    layout.legend = QRectF(legendLeft, frame.top() + kMargin, legendWidth, legendHeight);
    double x = legendLeft + kLegendPadding;
    for (const TChartSeries& s : chart.series) {
        TLegendEntry entry;
        entry.title = FromSjis(s.title);
        entry.colour = FromRgb(s.colour);
        const double textWidth = labels.horizontalAdvance(entry.title);
        entry.symbol = QRectF(x, layout.legend.center().y() - kLegendSymbol / 2 + 0.5, symbolWidth,
                              kLegendSymbol - 1);
        entry.text = QRectF(x + symbolWidth + 4, layout.legend.top() + kLegendPadding, textWidth,
                            lineHeight);
        x = entry.text.right() + kLegendGap;
        layout.entries.push_back(entry);
    }

    // The plot's top leaves room for the tallest mark half above the top value and, where a
    // series shows its labels, for the label box of a point at the top: no mark reaches the
    // legend or the name box.
    double markHalf = 0;
    bool labelled = false;
    for (const TChartSeries& s : chart.series) {
        if (s.kind == TSeriesKind::Points) {
            markHalf = std::max(markHalf, PointSize(s).height() / 2);
            labelled = labelled || s.marksVisible;
        }
    }
    double plotTop = std::max(layout.legend.bottom(), layout.nameBox.bottom()) + kMargin;
    plotTop = std::max(plotTop, layout.legend.bottom() + lineHeight / 2 + 2);
    plotTop += markHalf;
    if (labelled) {
        plotTop += kMarkRise + lineHeight + 2;
    }
    double plotBottom = frame.bottom() - kMargin - lineHeight - kTickLength - markHalf;
    if (!chart.bottom.title.empty()) {
        layout.bottomTitleText = FromSjis(chart.bottom.title);
        plotBottom -= lineHeight + 2;
    }
    layout.plot = QRectF(QPointF(plotLeft, plotTop), QPointF(std::max(plotRight, plotLeft + 1),
                                                             std::max(plotBottom, plotTop + 1)));
    const QRectF& plot = layout.plot;
    for (TPlacedAxis* axis : {&layout.left, &layout.right}) {
        axis->map.top = plot.top();
        axis->map.bottom = plot.bottom();
    }
    if (!layout.left.titleText.isEmpty()) {
        layout.left.title = StackedTitle(layout.left.titleText,
                                         frame.left() + kMargin + titleColumn / 2, plot, titles);
    }
    if (layout.right.shown && !layout.right.titleText.isEmpty()) {
        layout.right.title = StackedTitle(layout.right.titleText,
                                          frame.right() - kMargin - titleColumn / 2, plot, titles);
    }

    // The bottom axis: slots labelled by the first series' points, below the lowest marks.
    layout.slotCount = analysis::SlotCount(chart);
    layout.slotLabels.assign(static_cast<std::size_t>(layout.slotCount), QString());
    if (const auto* points = analysis::SlotLabels(chart)) {
        for (std::size_t i = 0; i < points->size(); ++i) {
            layout.slotLabels[i] = FromSjis((*points)[i].label);
        }
    }
    layout.slotLabelTop = plot.bottom() + std::max(kTickLength, markHalf) + 1;
    if (!layout.bottomTitleText.isEmpty()) {
        const double width = labels.horizontalAdvance(layout.bottomTitleText);
        layout.bottomTitle = QRectF(plot.center().x() - width / 2,
                                    layout.slotLabelTop + lineHeight + 2, width, lineHeight);
    }

    // Points and bars inside their axis.
    for (std::size_t j = 0; j < chart.series.size(); ++j) {
        const TChartSeries& s = chart.series[j];
        if (s.kind == TSeriesKind::FastLine) {
            continue;
        }
        const TPlacedAxis& axis = layout.AxisOf(s);
        if (!axis.shown) {
            continue;
        }
        const double slotWidth = plot.width() / layout.slotCount;
        for (std::size_t i = 0; i < s.points.size(); ++i) {
            const TChartPoint& p = s.points[i];
            const bool inside = axis.map.Covers(p.value);
            if (!inside && !(s.kind == TSeriesKind::Points && s.marksVisible)) {
                continue;
            }
            TPlacedPoint placed;
            placed.series = static_cast<int>(j);
            placed.index = static_cast<int>(i);
            placed.centre = QPointF(analysis::SlotCentre(static_cast<int>(i), layout.slotCount,
                                                         plot.left(), plot.right()),
                                    axis.map.Pixel(p.value));
            placed.colour = FromRgb(p.colour);
            if (!inside) {
                // A run without a finishing position ("なし", 20 beyond the last rank): no
                // rectangle, its label inside the plot at the end the value lies beyond.
                placed.label = FromSjis(p.label);
                const double width = labels.horizontalAdvance(placed.label) + kMarkPadding;
                const double top = placed.centre.y() > plot.bottom()
                                       ? plot.bottom() - lineHeight - 4
                                       : plot.top() + 2;
                placed.labelBox = QRectF(placed.centre.x() - width / 2, top, width, lineHeight + 2);
            } else if (s.kind == TSeriesKind::Bars) {
                const double width = slotWidth * s.barWidthPercent / 100.0;
                const double base =
                    axis.map.Pixel(std::clamp(0.0, axis.map.range.low, axis.map.range.high));
                placed.mark = QRectF(QPointF(placed.centre.x() - width / 2, placed.centre.y()),
                                     QPointF(placed.centre.x() + width / 2, base))
                                  .normalized();
            } else {
                const QSizeF size = PointSize(s);
                placed.mark =
                    QRectF(placed.centre.x() - size.width() / 2,
                           placed.centre.y() - size.height() / 2, size.width(), size.height());
                if (s.marksVisible) {
                    placed.label = FromSjis(p.label);
                    const double width = labels.horizontalAdvance(placed.label) + kMarkPadding;
                    placed.labelBox = QRectF(placed.centre.x() - width / 2,
                                             placed.mark.top() - kMarkRise - lineHeight - 2, width,
                                             lineHeight + 2);
                }
            }
            layout.points.push_back(placed);
        }
    }
    return layout;
}

namespace {

void PaintAxis(QPainter& painter, const TChartLayout& layout, const TPlacedAxis& axis,
               const TChartAxis& look, bool onLeft, const QFontMetricsF& labels) {
    const QRectF& plot = layout.plot;
    for (const analysis::TAxisTick& tick : axis.ticks) {
        const double y = axis.map.Pixel(tick.value);
        if (look.grid) {
            painter.setPen(QPen(tick.major ? kGrid : kMinorGrid, 1));
            painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        }
        const double length = tick.major ? kTickLength : kTickLength / 2;
        const double edge = onLeft ? plot.left() : plot.right();
        painter.setPen(QPen(Qt::black, 1));
        painter.drawLine(QPointF(edge, y), QPointF(onLeft ? edge - length : edge + length, y));
        if (!tick.major) {
            continue;
        }
        const QString text = QString::fromStdString(tick.text);
        const double width = labels.horizontalAdvance(text);
        const double left =
            onLeft ? edge - kTickLength - kLabelGap - width : edge + kTickLength + kLabelGap;
        painter.drawText(QRectF(left, y - labels.height() / 2, width, labels.height()),
                         Qt::AlignCenter, text);
    }
    if (!axis.title.isEmpty()) {
        painter.setFont(ChartTitleFont());
        const QFontMetricsF titles(painter.font());
        double y = axis.title.top();
        for (const QChar c : axis.titleText) {
            painter.drawText(QRectF(axis.title.left(), y, axis.title.width(), titles.height()),
                             Qt::AlignCenter, QString(c));
            y += titles.height();
        }
        painter.setFont(ChartLabelFont());
    }
}

void PaintLines(QPainter& painter, const TChartLayout& layout, const TChart& chart) {
    painter.save();
    painter.setClipRect(layout.plot.adjusted(-1, -1, 1, 1));
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const TChartSeries& s : chart.series) {
        if (s.kind != TSeriesKind::FastLine || s.points.size() < 1) {
            continue;
        }
        const TPlacedAxis& axis = layout.AxisOf(s);
        QPainterPath path;
        for (std::size_t i = 0; i < s.points.size(); ++i) {
            const QPointF at(analysis::SlotCentre(static_cast<int>(i), layout.slotCount,
                                                  layout.plot.left(), layout.plot.right()),
                             axis.map.Pixel(s.points[i].value));
            if (i == 0) {
                path.moveTo(at);
            } else {
                path.lineTo(at);
            }
        }
        painter.setPen(QPen(FromRgb(s.colour), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
    }
    painter.restore();
}

} // namespace

void PaintChart(QPainter& painter, const QRectF& frame, const TChart& chart) {
    const TChartLayout layout = LayoutChart(chart, frame);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    // Background: a gradient from white at the top ending in grey; the back wall is clear.
    QLinearGradient background(frame.topLeft(), frame.bottomLeft());
    background.setColorAt(0, Qt::white);
    background.setColorAt(1, QColor(0x80, 0x80, 0x80));
    painter.fillRect(frame, background);

    painter.setFont(ChartLabelFont());
    const QFontMetricsF labels(painter.font());
    const QRectF& plot = layout.plot;
    if (layout.left.shown) {
        PaintAxis(painter, layout, layout.left, chart.left, true, labels);
    }
    if (layout.right.shown) {
        PaintAxis(painter, layout, layout.right, chart.right, false, labels);
    }
    painter.setPen(QPen(kPlotFrame, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);

    // The bottom axis: a tick and a label at each slot's centre; an empty chart has none.
    painter.setPen(QPen(Qt::black, 1));
    const int ticks = analysis::SlotLabels(chart) != nullptr ? layout.slotCount : 0;
    for (int i = 0; i < ticks; ++i) {
        const double x = analysis::SlotCentre(i, layout.slotCount, plot.left(), plot.right());
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + kTickLength));
        const QString& text = layout.slotLabels[static_cast<std::size_t>(i)];
        if (!text.isEmpty()) {
            const double width = labels.horizontalAdvance(text);
            painter.drawText(QRectF(x - width / 2, layout.slotLabelTop, width, labels.height()),
                             Qt::AlignCenter, text);
        }
    }
    if (!layout.bottomTitle.isEmpty()) {
        painter.drawText(layout.bottomTitle, Qt::AlignCenter, layout.bottomTitleText);
    }

    // Bars first (inside the plot), then the lines, then the point marks whole on top, even
    // at an axis end, each in its own colour.
    for (const TPlacedPoint& p : layout.points) {
        // A bar of 0 (no expectation value) has no height and is not drawn.
        if (chart.series[static_cast<std::size_t>(p.series)].kind == TSeriesKind::Bars &&
            p.mark.height() >= 1) {
            painter.setPen(QPen(Qt::black, 1));
            painter.setBrush(p.colour);
            painter.drawRect(p.mark);
        }
    }
    PaintLines(painter, layout, chart);
    for (const TPlacedPoint& p : layout.points) {
        if (chart.series[static_cast<std::size_t>(p.series)].kind != TSeriesKind::Points) {
            continue;
        }
        painter.setPen(QPen(Qt::black, 1));
        if (!p.mark.isEmpty()) {
            painter.setBrush(p.colour);
            painter.drawRect(p.mark);
        }
        if (!p.labelBox.isEmpty()) {
            if (!p.mark.isEmpty()) {
                painter.drawLine(QPointF(p.centre.x(), p.mark.top()),
                                 QPointF(p.centre.x(), p.labelBox.bottom()));
            }
            painter.setBrush(kMarkBackground);
            painter.drawRect(p.labelBox);
            painter.drawText(p.labelBox, Qt::AlignCenter, p.label);
        }
    }

    // The legend: a box (light grey on Chart1) with a colour box and the title per series.
    if (chart.legendColoured) {
        painter.setPen(QPen(kPlotFrame, 1));
        painter.setBrush(FromRgb(chart.legendColour));
        painter.drawRect(layout.legend);
    }
    for (const TLegendEntry& entry : layout.entries) {
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(entry.colour);
        painter.drawRect(entry.symbol);
        painter.drawText(entry.text, Qt::AlignLeft | Qt::AlignVCenter, entry.title);
    }

    // The name box: sunken, aqua, the runner's name in blue bold.
    if (!layout.nameBox.isEmpty()) {
        const QRectF& box = layout.nameBox;
        painter.fillRect(box, QColor(0x00, 0xFF, 0xFF));
        painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
        painter.drawLine(box.topLeft(), box.topRight());
        painter.drawLine(box.topLeft(), box.bottomLeft());
        painter.setPen(QPen(Qt::white, 1));
        painter.drawLine(box.bottomLeft(), box.bottomRight());
        painter.drawLine(box.topRight(), box.bottomRight());
        painter.setFont(ChartNameFont());
        painter.setPen(QColor(0x00, 0x00, 0xFF));
        painter.drawText(box.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, layout.name);
    }
    painter.restore();
}

} // namespace analysis::ui
