// Paints one of the four charts (analysis/TrendCharts.h) into any QPainter: the chart widget
// on screen, and later the printed page and picture exports.
//
// LayoutChart places every part in the frame from the chart's data and the fonts' metrics:
// the legend, the name box, the plot area with its axes, each point's mark and its label box;
// PaintChart draws that layout. Values map to pixels through analysis/ChartGeometry.h. The
// coordinates are those of the screen look (fonts in pixels); a caller drawing onto paper
// scales the painter.
#pragma once

#include "analysis/ChartGeometry.h"
#include "analysis/TrendCharts.h"

#include <vector>

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace analysis::ui {

// A point of a point or bar series where it is drawn.
struct TPlacedPoint {
    int series = 0;  // index in the chart's series
    int index = 0;   // the point's index in its series (its slot)
    QPointF centre;  // the value's pixel: slot centre, axis pixel
    QRectF mark;     // the rectangle (point series) or the bar; empty for a label alone
    QColor colour;   // the point's own colour
    QRectF labelBox; // the label box above the mark; empty when the series hides its marks
    QString label;   // the text in the label box
};

// A legend entry: its colour box and its title.
struct TLegendEntry {
    QRectF symbol;
    QRectF text;
    QString title;
    QColor colour;
};

// A value axis as it is drawn.
struct TPlacedAxis {
    bool shown = false;
    analysis::TAxisMap map;
    std::vector<analysis::TAxisTick> ticks;
    QRectF title; // the stacked vertical title; empty when the axis has none
    QString titleText;
};

struct TChartLayout {
    QRectF frame;
    QRectF legend; // around every entry
    std::vector<TLegendEntry> entries;
    QRectF nameBox; // empty for Chart2 and Chart4
    QString name;
    QRectF plot; // the plotting area: the axes' lines are its edges
    TPlacedAxis left;
    TPlacedAxis right;
    int slotCount = 1;
    std::vector<QString> slotLabels; // one per slot, empty texts for an empty chart
    double slotLabelTop = 0;         // the bottom axis labels' upper edge
    QRectF bottomTitle;              // empty when the bottom axis has no title
    QString bottomTitleText;
    // Point and bar series' points within their axis, in series order; a value outside its
    // axis (the fixed value of a missing figure) is not placed, except a shown mark's label
    // ("なし"), which is placed alone without a rectangle.
    std::vector<TPlacedPoint> points;

    // The axis a series is drawn against.
    const TPlacedAxis& AxisOf(const TChartSeries& series) const;
};

// The fonts of the charts: labels, legend and bottom title "ＭＳ Ｐ明朝" 12 px; vertical axis
// titles "ＭＳ ゴシック" 12 px; the name box blue bold "ＭＳ Ｐゴシック" 15 px.
QFont ChartLabelFont();
QFont ChartTitleFont();
QFont ChartNameFont();

TChartLayout LayoutChart(const TChart& chart, const QRectF& frame);

// Draws the chart inside frame; the painter's state is restored afterwards.
void PaintChart(QPainter& painter, const QRectF& frame, const TChart& chart);

} // namespace analysis::ui
