// One of the four chart pages' charts (Chart1 .. Chart4): a widget that paints the chart data
// of analysis/TrendCharts.h with the chart painter (analysis/ui/ChartPainter.h).
//
// The chart's series, axes and legend come from its settings once; showing a runner or an
// earlier run only replaces the points and the name box text and repaints.
#pragma once

#include "analysis/TrendCharts.h"

#include <QString>
#include <QWidget>

namespace analysis::ui {

class TTrendChartView : public QWidget {
    Q_OBJECT

public:
    // A chart of the given kind with its series, axes and legend and no points; objectName is
    // "Chart1" .. "Chart4".
    explicit TTrendChartView(TChartId id, QWidget* parent = nullptr);

    // Shows the chart's points and its name box text; the series and axes are kept.
    void Show(const TChart& chart);

    // What is shown.
    const TChart& Shown() const { return shown_; }
    // The text of the name box (StaticText2 on Chart1, StaticText5 on Chart3); empty for the
    // comparisons.
    QString NameText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TChart shown_;
};

} // namespace analysis::ui
